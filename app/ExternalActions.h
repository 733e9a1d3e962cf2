// What the program asks of the desktop outside its own windows: opening a
// folder, document or web address, shutting the computer down, playing a
// sound file. Tests put a recorder in its place through ProgramServices.
#pragma once

#include "platform/win/Windows.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TExternalActions {
public:
    // A failure known only when a started command ends: the action
    // ("PowerOff", "PlaySound") and what the command printed.
    using TFailureEvent = std::function<void(const std::string& Action, const std::string& Text)>;

    // The power-off command and the program that plays sounds (started with
    // "--play-sound FILE") are arguments so that tests can give others.
    explicit TExternalActions(std::vector<std::string> PowerOffCommand = {"systemctl", "poweroff"},
                              std::string SoundProgram = {});
    virtual ~TExternalActions() = default;

    // Opens Target with the desktop's handler for it; Owner is the window
    // asking. False with the reason in Error when nothing could be started.
    virtual bool Open(const std::string& Target, std::string& Error);
    // Asks the system to power off, never forcing it: the login manager
    // honours other programs' inhibitors and the user's permission. False
    // with Error when the command cannot start; a command that ends with a
    // failure is reported through the failure event.
    virtual bool PowerOff(std::string& Error);
    // Plays the file in a child process of the program and returns at once;
    // a child that fails is reported through the failure event.
    virtual bool PlaySound(const std::string& WaveFile, std::string& Error);

    void SetOwner(HWND Owner) { FOwner = Owner; }
    void SetOnFailure(TFailureEvent Value) { *FOnFailure = std::move(Value); }

protected:
    void Failed(const std::string& Action, const std::string& Text) const;

private:
    bool Start(const std::vector<std::string>& Argv, const std::string& Action, std::string& Error);

    HWND FOwner = nullptr;
    std::vector<std::string> FPowerOffCommand;
    std::string FSoundProgram;
    // Shared with the commands still running, which report only while the
    // service lives.
    std::shared_ptr<TFailureEvent> FOnFailure = std::make_shared<TFailureEvent>();
};
