// The shell-item tests of the dialogs: a home folder and its trash inside a
// temporary folder, and the unit state released after every test.
#pragma once

#include "platform/core/Paths.h"
#include "platform/shell/ShellApi.h"
#include "skin/dialogs/bsShellFolders.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

class TShellItemsTest : public testing::Test {
protected:
    void SetUp() override {
        Home = Dir.File("home");
        Work = Home + "/work";
        ForceDirectories(Work);
        TShellEnvironment Env;
        Env.Home = Home;
        Env.ConfigHome = Home + "/.config";
        Env.DataHome = Home + "/.local/share";
        Env.UserDirsFile = Env.ConfigHome + "/user-dirs.dirs";
        SetShellEnvironment(Env);
    }
    void TearDown() override {
        DoneShellControls();
        SetShellEnvironment(DefaultShellEnvironment());
    }

    static void Touch(const std::string& FileName, const std::string& Text = "") {
        std::ofstream(FileName, std::ios::binary) << Text;
    }

    TTempDir Dir;
    std::string Home, Work;
};
