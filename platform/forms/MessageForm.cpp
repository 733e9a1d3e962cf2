// The plain message form of MessageBox and ShowException.
#include "platform/forms/Forms.h"

int TApplication::MessageBox(const std::string&, const std::string&, UINT) {
    return IDOK;
}
