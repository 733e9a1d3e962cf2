// The tests of the shell views and dialogs: the headless window system with
// the standard test skin (from the skinned controls' support), a home
// folder and trash inside a temporary folder, a mount table holding only
// "/", and a script of steps run while a modal dialog waits.
#pragma once

#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "platform/shell/ShellApi.h"
#include "skin/dialogs/bsShellFolders.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>

// Runs one step each time the application goes idle, so that a test acts
// inside a modal run.
class TIdleScript {
public:
    explicit TIdleScript(std::deque<std::function<void()>> Steps) : FSteps(std::move(Steps)) {
        Application->OnIdle = [this](TObject*, bool& Done) {
            if (!FSteps.empty()) {
                auto Step = std::move(FSteps.front());
                FSteps.pop_front();
                Step();
            }
            Done = FSteps.empty();
        };
    }
    ~TIdleScript() { Application->OnIdle = nullptr; }
    TIdleScript(const TIdleScript&) = delete;
    TIdleScript& operator=(const TIdleScript&) = delete;
    bool Done() const { return FSteps.empty(); }

private:
    std::deque<std::function<void()>> FSteps;
};

class TShellViewsTest : public skinctl::TSkinControlsTest {
protected:
    void SetUp() override {
        skinctl::TSkinControlsTest::SetUp();
        Home = Dir.File("home");
        Work = Home + "/work";
        ForceDirectories(Work);
        TShellEnvironment Env;
        Env.Home = Home;
        Env.ConfigHome = Home + "/.config";
        Env.DataHome = Home + "/.local/share";
        Env.UserDirsFile = Env.ConfigHome + "/user-dirs.dirs";
        SetShellEnvironment(Env);
        const std::string Mounts = Dir.File("mounts");
        std::ofstream(Mounts) << "/dev/sda1 / ext4 rw 0 0\n";
        TDriveEnvironment Drives;
        Drives.MountTable = Mounts;
        Drives.LabelFolder = Dir.File("labels");
        Drives.BlockFolder = Dir.File("block");
        SetDriveEnvironment(Drives);
    }
    void TearDown() override {
        skinctl::TSkinControlsTest::TearDown();
        DoneShellControls();
        SetShellEnvironment(DefaultShellEnvironment());
        SetDriveEnvironment(TDriveEnvironment{});
    }

    static void Touch(const std::string& FileName, const std::string& Text = "") {
        std::ofstream(FileName, std::ios::binary) << Text;
    }

    std::string Home, Work;
};
