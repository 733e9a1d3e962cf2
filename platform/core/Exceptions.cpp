#include "platform/core/Exceptions.h"

#include <cstring>

EInOutError::EInOutError(int Code) : Exception(SysErrorMessage(Code)), FErrorCode(Code) {}

std::string SysErrorMessage(int Code) {
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not live in buffer.
    return strerror_r(Code, buffer, sizeof buffer);
}

void Assert(bool Condition, std::string_view Text, std::source_location Where) {
    if (Condition)
        return;
    std::string message = Text.empty() ? std::string("Assertion failure") : std::string(Text);
    message +=
        " (" + std::string(Where.file_name()) + ", line " + std::to_string(Where.line()) + ")";
    throw EAssertionFailed(message);
}
