#include "app/StartupErrors.h"

#include "platform/forms/Forms.h"

namespace {

bool GStartupErrorShown = false;

} // namespace

void ShowStartupError(const std::exception& E) {
    if (GStartupErrorShown)
        return;
    GStartupErrorShown = true;
    Application->ShowException(E);
}

void ResetStartupErrors() {
    GStartupErrorShown = false;
}
