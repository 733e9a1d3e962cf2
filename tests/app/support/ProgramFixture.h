// The program's forms on the headless backend, created as RunProgram
// creates them, with the recording stand-ins of AppFakes.h, a private
// program folder (where option.ini is written) and a private HOME.
// TProgramEnvironment is that set-up without the test framework, for the
// benchmarks; TProgramFixture is the test fixture over it.
#pragma once

#include "platform/core/Clock.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "tests/app/support/AppFakes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

class TCustomForm;
class TControl;

// The headless window system on a manual clock, the application, the
// stand-ins as the program's services, and private program and home folders
// (HOME points at the latter while open).
class TProgramEnvironment {
public:
    void OpenEnvironment();
    // Frees the forms still there and undoes OpenEnvironment.
    void CloseEnvironment();

    std::string ProgramFolder() const { return Folder.Path() + "/program/"; }
    std::string HomeFolder() const { return Folder.Path() + "/home"; }
    std::string OptionPath() const { return ProgramFolder() + "option.ini"; }
    void WriteOptionFile(const std::string& Text) const;

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Folder;
    TFakeJobQueue Queue;
    TFakePreviewPlayer Player;
    TRecordedActions Actions;

private:
    std::optional<std::string> FSavedHome;
};

class TProgramFixture : public testing::Test, public TProgramEnvironment {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the forms; a test prepares option.ini first when it needs to.
    void Start();
    // Closes the main window as the user would and frees the forms.
    void Stop();
    // Frees the forms and resets the application, ready for Start again.
    void DestroyProgramFormsForRestart();
    void Pump();

    std::string OptionText() const;
    // A key's stored value, or nothing when it is absent.
    std::optional<std::string> Stored(const std::string& Section, const std::string& Key) const;

    // The top left pixel of a control's client area on the screen, plus X, Y.
    std::uint32_t PixelOf(TControl* Control, int X, int Y);

    bool Started = false;
};

// Runs Action on the next form that shows modally, then checks at its
// destruction that one did show.
class TScriptNextModal {
public:
    explicit TScriptNextModal(std::function<void(TCustomForm&)> Action);
    ~TScriptNextModal();
    bool Ran() const { return FRan; }

private:
    std::function<void(TCustomForm&)> FAction;
    bool FRan = false;
};
