// The real program on a virtual X screen, driven by e2e-main.sh with keys
// and clicks. Where to click and what the screen should show come from the
// same forms made on the headless backend in the same skin: a control's
// place in its window, and the colour that fills each area of the window.
// Each test is skipped when xvfb-run, xauth or xdotool is missing.
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/model/bsSkinData.Component.h"
#include "tests/app/support/OnScreen.h"
#include "tests/support/DominantColour.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualScreen.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST_F(MainWindowOnScreen, FirstStartIsPhotographedInTheFirstSkinAndEndsFromTheFileMenu) {
    Start();
    const std::map<std::string, std::uint32_t> Reference = ReferenceColours();
    // The file menu by keys: F10 takes the bar, Down opens "文件" on its
    // first entry, three more reach "退出" past the separator.
    Play("start\nshot first\nkey F10\nkey Down\nkey Down Down Down\nshot exit\nkey Return\n"
         "wait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ReadTextFile(Run.File("stderr.txt")), "");
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "");
    // The window: "Ostrela", the headless form's size around an 804 x 541
    // client area.
    const auto Window = Geometry(Run.File("main.txt"));
    EXPECT_EQ(Form1->ClientWidth(), 804);
    EXPECT_EQ(Form1->ClientHeight(), 541);
    EXPECT_EQ(Window.at("WIDTH"), Form1->Width());
    EXPECT_EQ(Window.at("HEIGHT"), Form1->Height());
    ExpectSameColours(ScreenColours("first.png", Window), Reference, "first.png");

    // The first start's file, as the headless first start wrote it but for
    // the home folder; the default output folder made.
    std::string Expected = OptionText();
    const std::string FixtureHome = HomeFolder();
    Expected.replace(Expected.find(FixtureHome), FixtureHome.size(), RealHome());
    EXPECT_EQ(ReadTextFile(RealOptionPath()), Expected);
    EXPECT_NE(Expected.find("OutPath=" + RealHome() + "/Ostrela视频软件/输出"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(RealHome() + "/Ostrela视频软件/输出"));
}

TEST_F(MainWindowOnScreen, SkinChosenInTheDialogRepaintsTheWindowAndIsStored) {
    UseSkin(7);
    const std::map<std::string, std::uint32_t> Skin7 = ReferenceColours();
    UseSkin(3);
    const std::map<std::string, std::uint32_t> Skin3 = ReferenceColours();
    ASSERT_NE(Skin3.at("caption"), Skin7.at("caption")) << "the two skins must look different";
    std::ofstream(RealOptionPath()) << "[Skin]\nSetSkin=3\n";

    // The select-skin dialog opens on the current skin; four rows down is 7.
    Play("start\nshot skin3\n" + Step("click", CentreOf(Form1->bsSkinButton9)) +
         "other dialog\nshot dialog\nkey Down Down Down Down\nkey Return\ngone dialog\n"
         "sleep 1\nshot skin7\nkey alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    const auto Window = Geometry(Run.File("main.txt"));
    ExpectSameColours(ScreenColours("skin3.png", Window), Skin3, "skin3.png");
    ExpectSameColours(ScreenColours("skin7.png", Window), Skin7, "skin7.png");
    EXPECT_NE(ReadTextFile(RealOptionPath()).find("SetSkin=7\r\n"), std::string::npos)
        << ReadTextFile(RealOptionPath());
}

TEST_F(MainWindowOnScreen, OptionsChosenInTheDialogAreStoredAndShownAtTheNextStart) {
    Start();
    const TPlace OptionsButton = CentreOf(Form1->bsSkinButton19);
    Form5->Show();
    Pump();
    const TPlace Nothing = CentreOf(Form5->bsSkinCheckRadioBox5);
    const TPlace Threads = CentreOf(Form5->bsSkinComboBox2);
    const TPlace Ok = CentreOf(Form5->bsSkinButton6);
    const TPlace Cancel = CentreOf(Form5->bsSkinButton1);
    const TRect Combo{Threads.X - Form5->bsSkinComboBox2->Width() / 2 + 2, Threads.Y - 6,
                      Threads.X + Form5->bsSkinComboBox2->Width() / 2 - 20, Threads.Y + 6};
    Form5->Hide();

    // The dialog opens with the focus in the thread count's box: three steps
    // down from "1" give 4; then a click on "不进行任何操作" and "确定".
    Play("start\n" + Step("click", OptionsButton) +
         "other options\nshot options\nkey Down Down Down\nshot counted\n" +
         Step("click-other", "options", Nothing) + Step("click-other", "options", Ok) +
         "gone options\nkey alt+F4\nwait-exit status1\n"
         "start\n" +
         Step("click", OptionsButton) + "other again\nshot again\n" +
         Step("click-other", "again", Cancel) + "gone again\nkey alt+F4\nwait-exit status2\n");

    EXPECT_EQ(ReadTextFile(Run.File("status1.txt")), "0\n");
    EXPECT_EQ(ReadTextFile(Run.File("status2.txt")), "0\n");
    const std::string Stored = ReadTextFile(RealOptionPath());
    EXPECT_NE(Stored.find("After_Done=3\r\n"), std::string::npos) << Stored;
    EXPECT_NE(Stored.find("Thread_Count=4\r\n"), std::string::npos) << Stored;

    // The second start's dialog opens with the count chosen in the first
    // (stored as 4 above), not the first start's "1": the two pictures of
    // the freshly opened dialog differ in the count's box and nowhere else
    // in the dialog's groups above it.
    const auto First = Geometry(Run.File("options.txt"));
    const auto Second = Geometry(Run.File("again.txt"));
    QImage Before(QString::fromStdString(Run.File("options.png")));
    QImage Again(QString::fromStdString(Run.File("again.png")));
    ASSERT_FALSE(Before.isNull() || Again.isNull());
    auto Differing = [&](const TRect& R) {
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                N += Before.pixel(First.at("X") + X, First.at("Y") + Y) !=
                     Again.pixel(Second.at("X") + X, Second.at("Y") + Y);
        return N;
    };
    EXPECT_GT(Differing(Combo), 0);
    EXPECT_EQ(Differing({Combo.Left, Combo.Top - 40, Combo.Right, Combo.Top - 10}), 0);
}

TEST_F(MainWindowOnScreen, HelpMenuShowsTheNoticeTheAboutBoxAndOpensTheWebSite) {
    // F1 without a help file; then, through the menu bar from its last
    // menu (Left from "文件" wraps to "帮助"), "关于软件" and "官方网站".
    Play("start\nkey F1\nother notice\nshot notice\nkey Return\ngone notice\nshot after\n"
         "key F10\nkey Left\nkey Down\nkey Down Down\nkey Return\nother about\nshot about\n"
         "key Return\ngone about\n"
         "key F10\nkey Left\nkey Down\nkey Down\nkey Return\nsleep 1\n"
         "key alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "xdg-open https://www.example.com/ostrela/\n");
    // The notice showed over the window, and is gone.
    const auto Notice = Geometry(Run.File("notice.txt"));
    const auto Window = Geometry(Run.File("main.txt"));
    QImage Shot(QString::fromStdString(Run.File("notice.png")));
    QImage After(QString::fromStdString(Run.File("after.png")));
    ASSERT_FALSE(Shot.isNull() || After.isNull());
    int Covered = 0;
    for (int Y = Notice.at("Y"); Y < Notice.at("Y") + Notice.at("HEIGHT"); Y += 4)
        for (int X = Notice.at("X"); X < Notice.at("X") + Notice.at("WIDTH"); X += 4)
            Covered += Shot.pixel(X, Y) != After.pixel(X, Y);
    EXPECT_GT(Covered, Notice.at("WIDTH") * Notice.at("HEIGHT") / 16 / 4);
    EXPECT_GT(Window.at("WIDTH"), Notice.at("WIDTH"));
    // The about box is its own window, smaller than the main one.
    const auto About = Geometry(Run.File("about.txt"));
    EXPECT_GT(Window.at("WIDTH"), About.at("WIDTH"));
}

} // namespace
