// The real program on a virtual X screen, driven by e2e-main.sh with keys
// and clicks: a private copy of the program with its own HOME and option.ini,
// recording stand-ins of xdg-open and systemctl first in PATH, and places to
// click taken from the same forms made on the headless backend.
// Each test is skipped when xvfb-run, xauth or xdotool is missing.
#pragma once

#include "app/Unit1.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "tests/app/support/ProgramFixture.h"
#include "tests/support/DominantColour.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualScreen.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct TPlace {
    int X = 0, Y = 0;
};

// An area of a window, in the window's own coordinates.
struct TArea {
    std::string Name;
    TRect Rect;
};

inline std::string Hex(std::uint32_t C) {
    std::ostringstream S;
    S << std::hex << C;
    return S.str();
}

// The X=, Y=, WIDTH=, HEIGHT= lines xdotool writes.
inline std::map<std::string, int> Geometry(const std::string& Path) {
    std::map<std::string, int> Out;
    std::istringstream In(ReadTextFile(Path));
    std::string Line;
    while (std::getline(In, Line))
        if (auto Eq = Line.find('='); Eq != std::string::npos)
            Out[Line.substr(0, Eq)] = std::atoi(Line.c_str() + Eq + 1);
    return Out;
}

class MainWindowOnScreen : public TProgramFixture {
protected:
    void SetUp() override {
        if (!ToolAvailable("xvfb-run") || !ToolAvailable("xdotool") || !ToolAvailable("xauth"))
            GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
        TProgramFixture::SetUp();
        std::filesystem::create_directories(Run.File("program"));
        std::filesystem::create_directories(Run.File("home"));
        std::filesystem::create_directories(Run.File("stubs"));
        std::filesystem::copy_file(OSTRELA_PROGRAM, ProgramCopy());
        // Nothing is opened or powered off: the stubs only write down their
        // arguments.
        for (const char* Stub : {"xdg-open", "systemctl"}) {
            const std::string Path = Run.File(std::string("stubs/") + Stub);
            std::ofstream(Path) << "#!/bin/sh\necho \"" << Stub << " $*\" >>'"
                                << Run.File("actions.txt") << "'\n";
            std::filesystem::permissions(Path, std::filesystem::perms::owner_all);
        }
        // Qt wants its runtime folder private.
        chmod(Run.Path().c_str(), 0700);
    }

    std::string ProgramCopy() const { return Run.File("program/ostrela"); }
    std::string RealOptionPath() const { return Run.File("program/option.ini"); }
    std::string RealHome() const { return Run.File("home"); }

    // Plays the steps; every run ends with the program gone.
    void Play(const std::string& Steps) {
        std::ofstream(Run.File("steps.txt")) << Steps;
        const int Status = RunDemoOnVirtualScreen(OSTRELA_E2E_DRIVER, ProgramCopy(),
                                                  OSTRELA_SCREENSHOT, Run.Path(), "1920x1080x24");
        KeepPhotographs();
        ASSERT_EQ(Status, 0) << ReadTextFile(Run.File("xvfb.txt"));
        ASSERT_EQ(ReadTextFile(Run.File("driver.txt")), "");
    }

    // The photographs stay in the build folder, one folder a test, to be
    // looked at.
    void KeepPhotographs() const {
        const std::string Keep = std::string(OSTRELA_E2E_PICTURES "/") +
                                 testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(Keep);
        for (const auto& Entry : std::filesystem::directory_iterator(Run.Path()))
            if (Entry.path().extension() == ".png" || Entry.path().extension() == ".txt")
                std::filesystem::copy_file(Entry.path(),
                                           std::filesystem::path(Keep) / Entry.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
    }

    // A control's centre in its form's window.
    static TPlace CentreOf(TControl* Control) {
        const TPoint P = Control->ClientToScreen({Control->Width() / 2, Control->Height() / 2});
        TCustomForm* Form = GetParentForm(Control);
        return {P.X - Form->Left(), P.Y - Form->Top()};
    }

    // A control's rectangle in the main window.
    TRect AreaOf(TControl* Control, int Height = -1) const {
        const TPoint P = Control->ClientToScreen({0, 0});
        const int L = P.X - Form1->Left(), T = P.Y - Form1->Top();
        return {L, T, L + Control->Width(), T + (Height < 0 ? Control->Height() : Height)};
    }

    // The main window's areas that a skin colours: caption band, menu bar,
    // tool bar, cover picture and the two group boxes' caption bands.
    std::vector<TArea> SkinnedAreas() const {
        const TPoint Client = Form1->ClientToScreen({0, 0});
        const int Caption = Client.Y - Form1->Top();
        return {
            {"caption", {8, 2, Form1->Width() - 80, Caption - 2}},
            {"menu bar", AreaOf(Form1->bsSkinMainMenuBar1)},
            {"tool bar", AreaOf(Form1->bsSkinToolBar2)},
            {"cover", AreaOf(Form1->Image1)},
            {"presets caption", AreaOf(Form1->bsSkinPanel4, 16)},
            {"preview caption", AreaOf(Form1->bsSkinPanel3, 16)},
        };
    }

    // The dominant colour of each area as the headless forms paint it.
    std::map<std::string, std::uint32_t> ReferenceColours() {
        Pump();
        FlushPresents();
        std::map<std::string, std::uint32_t> Out;
        for (const TArea& Area : SkinnedAreas())
            Out[Area.Name] = DominantColour(
                [&](int X, int Y) {
                    return Headless.ScreenPixel(Form1->Left() + X, Form1->Top() + Y);
                },
                Area.Rect);
        return Out;
    }

    // The same from a photograph of the real window at Window's place.
    std::map<std::string, std::uint32_t> ScreenColours(const std::string& Shot,
                                                       const std::map<std::string, int>& Window) {
        QImage Image(QString::fromStdString(Run.File(Shot)));
        EXPECT_FALSE(Image.isNull()) << Shot;
        std::map<std::string, std::uint32_t> Out;
        if (Image.isNull())
            return Out;
        for (const TArea& Area : SkinnedAreas())
            Out[Area.Name] = DominantColour(
                [&](int X, int Y) {
                    return std::uint32_t(Image.pixel(Window.at("X") + X, Window.at("Y") + Y));
                },
                Area.Rect);
        return Out;
    }

    void ExpectSameColours(const std::map<std::string, std::uint32_t>& Screen,
                           const std::map<std::string, std::uint32_t>& Reference,
                           const std::string& Shot) {
        for (auto [Name, Colour] : Reference)
            EXPECT_EQ(Hex(Screen.count(Name) ? Screen.at(Name) : 0), Hex(Colour))
                << Name << " in " << Shot;
    }

    // The headless program in another skin, changed as the skin command does.
    void UseSkin(int Skin) {
        if (!Started)
            Start();
        Form1->bsSkinData1->SetSkinIndex(Skin);
        Pump();
    }

    static std::string Step(const std::string& Name, TPlace P) {
        return Name + " " + std::to_string(P.X) + " " + std::to_string(P.Y) + "\n";
    }
    static std::string Step(const std::string& Name, const std::string& Window, TPlace P) {
        return Name + " " + Window + " " + std::to_string(P.X) + " " + std::to_string(P.Y) + "\n";
    }

    TTempDir Run;
};
