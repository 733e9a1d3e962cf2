#include "app/ExternalActions.h"

bool TExternalActions::Open(const std::string& Target, std::string& Error) {
    // Like the shell's own call: a result above 32 means it was started.
    const std::intptr_t Result =
        ShellExecute(FOwner, nullptr, Target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (Result > 32)
        return true;
    Error = "Cannot open " + Target;
    return false;
}

bool TExternalActions::PowerOff(std::string& Error) {
    Error = "Shutting the computer down is not available";
    return false;
}

bool TExternalActions::PlaySound(const std::string& WaveFile, std::string& Error) {
    Error = "Cannot play " + WaveFile;
    return false;
}
