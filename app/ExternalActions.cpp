#include "app/ExternalActions.h"

#include "platform/core/Environment.h"
#include "platform/core/Processes.h"

TExternalActions::TExternalActions(std::vector<std::string> PowerOffCommand,
                                   std::string SoundProgram)
    : FPowerOffCommand(std::move(PowerOffCommand)), FSoundProgram(std::move(SoundProgram)) {}

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
    return Start(FPowerOffCommand, "PowerOff", Error);
}

bool TExternalActions::PlaySound(const std::string& WaveFile, std::string& Error) {
    const std::string Program = FSoundProgram.empty() ? GetAppFileName() : FSoundProgram;
    return Start({Program, "--play-sound", WaveFile}, "PlaySound", Error);
}

void TExternalActions::Failed(const std::string& Action, const std::string& Text) const {
    if (*FOnFailure)
        (*FOnFailure)(Action, Text);
}

bool TExternalActions::Start(const std::vector<std::string>& Argv, const std::string& Action,
                             std::string& Error) {
    // The event is read when the command ends, so a later SetOnFailure
    // (or clearing it at close) is what counts; once the service is gone
    // nothing is reported.
    std::weak_ptr<TFailureEvent> Event = FOnFailure;
    return StartProcess(
        Argv,
        [Event, Action](int Status, const std::string& Output) {
            const std::shared_ptr<TFailureEvent> OnFailure = Event.lock();
            if (Status != 0 && OnFailure && *OnFailure) {
                std::string Text = Output;
                while (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r'))
                    Text.pop_back();
                if (Text.empty())
                    Text = "exit status " + std::to_string(Status);
                (*OnFailure)(Action, Text);
            }
        },
        Error);
}
