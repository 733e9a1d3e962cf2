// The menus demo on a virtual X screen, one run per look and scene, driven by
// real keys and clicks and photographed; areas of each photograph are checked
// against the windows' places the demo reports. Skipped without xvfb-run,
// xauth or xdotool; every step has a time limit.
#include "platform/gdi/Gdi.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#ifndef TRAY_HOST
#define TRAY_HOST ""
#endif

namespace {

bool Available(const std::string& Tool) {
    return std::system(("command -v " + Tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadFile(const std::string& Path) {
    std::ifstream In(Path);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

std::string Quote(const std::string& Text) {
    return "'" + Text + "'";
}

std::uint32_t System(int Index) {
    const COLORREF C = GetSysColor(Index);
    return (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
}

using TPlaces = std::map<std::string, QRect>;

TPlaces ReadPlaces(const std::string& File) {
    TPlaces P;
    std::ifstream In(File);
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        P[Name] = QRect(X, Y, W, H);
    return P;
}

class SkinMenusEndToEnd : public testing::Test {
protected:
    // Runs one scene; false when the run itself failed.
    bool Run(const std::string& Look, const std::string& Scene) {
        std::string Name = Look + "-" + Scene;
        std::replace(Name.begin(), Name.end(), ' ', '-');
        Out = Dir.File(Name);
        std::filesystem::create_directories(Out);
        const int Server =
            1000 + int((std::size_t(getpid()) * 97 + std::size_t(std::time(nullptr)) +
                        std::hash<std::string>{}(Look + Scene)) %
                       50000);
        const std::string Command =
            "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(Dir.Path()) +
            " TRAY_HOST=" + Quote(TRAY_HOST) + " timeout 200 xvfb-run -a -n " +
            std::to_string(Server) + " -e " + Quote(Out + "/xvfb-errors.txt") +
            " -s '-screen 0 1024x768x24' " + Quote(MENUS_DEMO_SCRIPT) + " " + Quote(MENUS_DEMO) +
            " " + Quote(OSTRELA_BIN_DIR "/screenshot") + " " + Quote(Out) + " --" + Look + " " +
            Scene + " </dev/null >" + Quote(Out + "/xvfb.txt") + " 2>&1";
        if (std::system(Command.c_str()) != 0 || ReadFile(Out + "/status.txt") != "0\n")
            return false;
        if (!Shot.load(QString::fromStdString(Out + "/" + Scene + ".png")))
            return false;
        const std::string Keep = OSTRELA_BUILD_DIR "/skin-menus-e2e/" + Name + ".png";
        std::filesystem::create_directories(OSTRELA_BUILD_DIR "/skin-menus-e2e");
        std::filesystem::copy_file(Out + "/" + Scene + ".png", Keep,
                                   std::filesystem::copy_options::overwrite_existing);
        Layout = ReadPlaces(Out + "/layout.txt");
        State = ReadPlaces(Out + "/state.txt");
        return true;
    }
    std::uint32_t At(int X, int Y) const { return Shot.pixel(X, Y) & 0xFFFFFF; }
    int Value(const std::string& Name) { return State.count(Name) ? State[Name].x() : -1; }
    // Dark text pixels inside R.
    int DarkIn(const QRect& R) const {
        int N = 0;
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                N += (At(X, Y) & 0xC0C0C0) == 0;
        return N;
    }
    void SetUp() override {
        if (!Available("xvfb-run") || !Available("xauth") || !Available("xdotool"))
            GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    }

    TTempDir Dir;
    std::string Out;
    QImage Shot;
    TPlaces Layout, State;
    const std::uint32_t Shadow = System(COLOR_BTNSHADOW), Face = System(COLOR_BTNFACE);
};

} // namespace

TEST_F(SkinMenusEndToEnd, PlainMenuBarByKeysAndTheFocusStaysInTheEdit) {
    ASSERT_TRUE(Run("plain", "bar")) << ReadFile(Out + "/xvfb.txt");
    const TPlaces Open = ReadPlaces(Out + "/state-open.txt");
    ASSERT_TRUE(Open.count("popup0"));
    // F10, Down, Right: the second menu open under its pressed bar item.
    EXPECT_EQ(Open.at("bardown").x(), 1);
    const QRect Item = Layout["baritem1"];
    EXPECT_EQ(At(Item.left() + 2, Item.top() + 2), 0x8593B5u);
    EXPECT_EQ(At(Item.left(), Item.top()), 0x000080u);
    EXPECT_GT(DarkIn(Item), 5);
    const QRect P = Open.at("popup0");
    EXPECT_EQ(P.top(), Item.bottom() + 1);
    EXPECT_EQ(At(P.left(), P.top()), Shadow);
    EXPECT_EQ(At(P.right(), P.bottom()), Shadow);
    // Its first item is disabled: the second one is highlighted.
    EXPECT_EQ(Open.at("popup0active").x(), 1);
    const QRect Hot = Open.at("popup0item1");
    EXPECT_EQ(At(Hot.left(), Hot.top()), 0x000080u);
    EXPECT_EQ(At(Hot.center().x(), Hot.top() + 2), 0xB6BDD2u);
    const QRect Cold = Open.at("popup0item0");
    EXPECT_EQ(At(Cold.left() + 2, Cold.center().y()), Face); // image column
    EXPECT_GT(DarkIn(Hot), 5);
    EXPECT_EQ(Open.at("focus").x(), 1);
    // Escape twice: no menu, and the edit still has the focus.
    EXPECT_FALSE(State.count("popup0"));
    EXPECT_EQ(Value("bardown"), -1);
    EXPECT_EQ(Value("focus"), 1);
}

TEST_F(SkinMenusEndToEnd, PlainPopupHintImagesAndSystemMenu) {
    ASSERT_TRUE(Run("plain", "popup")) << ReadFile(Out + "/xvfb.txt");
    {
        ASSERT_TRUE(State.count("popup0"));
        const QRect P = State["popup0"];
        const QRect B = Layout["popupbutton"]; // clicked at its middle
        EXPECT_EQ(P.topLeft(), QPoint(B.x() + B.width() / 2, B.y() + B.height() / 2));
        EXPECT_EQ(At(P.left(), P.top()), Shadow);
        EXPECT_GT(DarkIn(State["popup0item0"]), 5);
        EXPECT_EQ(Value("focus"), 1);
    }
    ASSERT_TRUE(Run("plain", "hint")) << ReadFile(Out + "/xvfb.txt");
    {
        ASSERT_TRUE(State.count("hint"));
        const QRect H = State["hint"];
        EXPECT_EQ(At(H.left(), H.top()), Shadow);
        EXPECT_EQ(At(H.right() - 2, H.bottom() - 2), System(COLOR_INFOBK));
        EXPECT_GT(DarkIn(H), 20);
    }
    ASSERT_TRUE(Run("plain", "images")) << ReadFile(Out + "/xvfb.txt");
    {
        ASSERT_TRUE(State.count("images"));
        const QRect I = State["images"];
        EXPECT_EQ(I.top(), Layout["imagesbutton"].bottom() + 1);
        EXPECT_EQ(At(I.left(), I.top()), Shadow);
        EXPECT_EQ(At(I.right() - 2, I.top() + 2), System(COLOR_WINDOW));
    }
    ASSERT_TRUE(Run("plain", "sysmenu")) << ReadFile(Out + "/xvfb.txt");
    {
        ASSERT_TRUE(State.count("popup0"));
        EXPECT_EQ(At(State["popup0"].left(), State["popup0"].top()), Shadow);
        EXPECT_GT(DarkIn(State["popup0item0"]), 5);
    }
}

TEST_F(SkinMenusEndToEnd, TrayWithoutANotificationAreaKeepsTheFormReachable) {
    ASSERT_TRUE(Run("plain", "tray")) << ReadFile(Out + "/xvfb.txt");
    EXPECT_EQ(Value("trayarea"), 0);
    EXPECT_EQ(Value("formvisible"), 1);
}

TEST_F(SkinMenusEndToEnd, TestSkinPopupsDrawFromTheSkin) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& Objects = Skin.Picture("objects.bmp");
    ASSERT_TRUE(Run("test-skin", "bar")) << ReadFile(Out + "/xvfb.txt");
    const TPlaces Open = ReadPlaces(Out + "/state-open.txt");
    ASSERT_TRUE(Open.count("popup0"));
    const QRect Hot = Open.at("popup0item1");
    EXPECT_EQ(At(Hot.left() + 1, Hot.top() + 1), Objects.ColourOf("menuitem.active"));
    const QRect P = Open.at("popup0");
    EXPECT_EQ(At(P.left(), P.top()), Skin.Picture("controls.bmp").Pixel(0, 0));
    ASSERT_TRUE(Run("test-skin", "popup")) << ReadFile(Out + "/xvfb.txt");
    ASSERT_TRUE(State.count("popup0"));
    const QRect First = State["popup0item0"];
    EXPECT_EQ(At(First.left() + 1, First.top() + 1), Objects.ColourOf("menuitem.active"));
    const QRect Second = State["popup0item1"];
    EXPECT_EQ(At(Second.left() + 1, Second.top() + 1), Objects.ColourOf("menuitem.normal"));
}

TEST_F(SkinMenusEndToEnd, TrayIconInATrayHostOpensItsMenuAndBringsTheFormBack) {
    if (std::string(TRAY_HOST).empty() || !std::filesystem::exists(TRAY_HOST))
        GTEST_SKIP() << "the tray host is not built";
    ASSERT_TRUE(Run("plain", "trayhost")) << ReadFile(Out + "/xvfb.txt");
    const TPlaces Open = ReadPlaces(Out + "/state-open.txt");
    // Minimised to the docked icon: the form is hidden.
    ASSERT_TRUE(Open.count("trayarea"));
    EXPECT_EQ(Open.at("trayarea").x(), 1);
    EXPECT_EQ(Open.at("trayicon").x(), 1);
    EXPECT_EQ(Open.at("formvisible").x(), 0);
    QImage Docked;
    ASSERT_TRUE(Docked.load(QString::fromStdString(Out + "/docked.png")));
    int Lit = 0;
    for (int Y = 100; Y < 124; ++Y)
        for (int X = 100; X < 124; ++X)
            Lit += (Docked.pixel(X, Y) & 0xFFFFFF) != 0;
    EXPECT_GT(Lit, 50);
    // The right click opened the tray menu at the pointer.
    ASSERT_TRUE(Open.count("popup0"));
    const QRect P = Open.at("popup0");
    EXPECT_EQ(P.topLeft(), QPoint(112, 112));
    EXPECT_TRUE(Open.count("popup0item2"));
    EXPECT_EQ(At(P.left(), P.top()), Shadow);
    EXPECT_GT(DarkIn(Open.at("popup0item0")), 5);
    // Its Restore item brought the form back and took the icon away.
    EXPECT_FALSE(State.count("popup0"));
    EXPECT_EQ(Value("formvisible"), 1);
    EXPECT_EQ(Value("trayicon"), 0);
}

TEST_F(SkinMenusEndToEnd, StoredSkinsOpenTheMenuBarByKeys) {
    for (const char* Skin : {"0", "6"}) {
        SCOPED_TRACE(Skin);
        ASSERT_TRUE(Run(std::string("stored ") + Skin, "bar")) << ReadFile(Out + "/xvfb.txt");
        const TPlaces Open = ReadPlaces(Out + "/state-open.txt");
        ASSERT_TRUE(Open.count("popup0"));
        EXPECT_EQ(Open.at("bardown").x(), 1);
        const QRect Item = Layout["baritem1"];
        const QRect P = Open.at("popup0");
        EXPECT_EQ(P.top(), Item.bottom() + 1);
        EXPECT_EQ(Open.at("popup0active").x(), 1);
        EXPECT_EQ(Open.at("focus").x(), 1);
        // The highlighted item is drawn unlike the (disabled) first one.
        const QRect Hot = Open.at("popup0item1"), Cold = Open.at("popup0item0");
        int Differ = 0;
        for (int Y = 0; Y < std::min(Hot.height(), Cold.height()); ++Y)
            Differ += At(Hot.left() + 2, Hot.top() + Y) != At(Cold.left() + 2, Cold.top() + Y);
        EXPECT_GT(Differ, Hot.height() / 2);
        EXPECT_FALSE(State.count("popup0"));
        EXPECT_EQ(Value("focus"), 1);
    }
}
