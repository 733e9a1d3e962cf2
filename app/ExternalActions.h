// What the program asks of the desktop outside its own windows: opening a
// folder, document or web address, shutting the computer down, playing a
// sound file. Tests put a recorder in its place through ProgramServices.
#pragma once

#include "platform/win/Windows.h"

#include <string>

class TExternalActions {
public:
    virtual ~TExternalActions() = default;

    // Opens Target with the desktop's handler for it; Owner is the window
    // asking. False with the reason in Error when nothing could be started.
    virtual bool Open(const std::string& Target, std::string& Error);
    virtual bool PowerOff(std::string& Error);
    virtual bool PlaySound(const std::string& WaveFile, std::string& Error);

    void SetOwner(HWND Owner) { FOwner = Owner; }

private:
    HWND FOwner = nullptr;
};
