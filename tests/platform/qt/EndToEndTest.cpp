// The real program and the controls demo on a virtual X screen: each test
// starts its own xvfb-run and is skipped when the tools are missing.
#include "platform/gdi/Gdi.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// Runs Driver with Program, the screenshot helper and the output folder on a
// virtual 1920 x 1080 screen. Parallel runs start their display search at
// different numbers so that they do not race for the same one.
void RunOnVirtualScreen(const std::string& Driver, const std::string& Program, const TTempDir& Dir,
                        const std::string& Mode = "") {
    static std::atomic<int> Runs{0};
    int Server =
        1000 + int((long(getpid()) * 97 + long(std::time(nullptr)) + Runs++ * 7919) % 50000);
    std::string Command = "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(Dir.Path()) +
                          " HOME=" + Quote(Dir.Path()) + " timeout 300 xvfb-run -a -n " +
                          std::to_string(Server) + " -e " + Quote(Dir.File("xvfb-errors.txt")) +
                          " -s '-screen 0 1920x1080x24' " + Quote(Driver) + " " + Quote(Program) +
                          " " + Quote(OSTRELA_BIN_DIR "/screenshot") + " " + Quote(Dir.Path()) +
                          " " + Mode + " </dev/null >" + Quote(Dir.File("xvfb.txt")) + " 2>&1";
    int Result = std::system(Command.c_str());
    // xvfb-run fails its own clean-up when the test stopped the server.
    if (Mode.empty()) {
        ASSERT_EQ(Result, 0) << ReadFile(Dir.File("xvfb.txt"));
    }
}

// A copy of the program in a folder of Dir's own, so that the option.ini it
// writes beside itself (and the default folders under HOME) are the test's.
std::string ProgramCopy(const TTempDir& Dir) {
    const std::string Folder = Dir.File("program");
    std::filesystem::create_directories(Folder);
    std::filesystem::copy_file(OSTRELA_BIN_DIR "/ostrela", Folder + "/ostrela",
                               std::filesystem::copy_options::overwrite_existing);
    return Folder + "/ostrela";
}

#define SKIP_WITHOUT_VIRTUAL_SCREEN()                                                              \
    if (!Available("xvfb-run") || !Available("xdotool") || !Available("xauth"))                    \
    GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed"

bool SameColour(QRgb A, QRgb B) {
    return (A & 0xFFFFFF) == (B & 0xFFFFFF);
}

QRgb Rgb(COLORREF C) {
    return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

// Without a usable display the program says so in one line and fails.
TEST(QtEndToEnd, ProgramWithoutADisplayExplainsAndExitsWithStatusOne) {
    struct TCase {
        const char* Environment;
        const char* Message;
    };
    const TCase Cases[] = {
        {"env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM",
         "ostrela: no X display; set DISPLAY or start it under xvfb-run\n"},
        {"env -u QT_QPA_PLATFORM DISPLAY=:59999",
         "ostrela: cannot open the X display :59999; set DISPLAY or start it under xvfb-run\n"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Environment);
        TTempDir Dir;
        std::string Command = std::string(C.Environment) + " timeout 60 " +
                              Quote(OSTRELA_BIN_DIR "/ostrela") + " </dev/null >" +
                              Quote(Dir.File("out.txt")) + " 2>" + Quote(Dir.File("err.txt"));
        int Result = std::system(Command.c_str());
        ASSERT_TRUE(WIFEXITED(Result));
        EXPECT_EQ(WEXITSTATUS(Result), 1);
        EXPECT_EQ(ReadFile(Dir.File("err.txt")), C.Message);
        EXPECT_EQ(ReadFile(Dir.File("out.txt")), "");
    }
}

TEST(QtEndToEnd, ProgramShowsItsCentredTitledWindowAndClosesOnAltF4) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-program.sh", ProgramCopy(Dir), Dir);
    EXPECT_FALSE(ReadFile(Dir.File("window.txt")).empty()) << "no window named Ostrela";
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");
    EXPECT_EQ(ReadFile(Dir.File("stderr.txt")), "");

    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"), OSTRELA_BUILD_DIR "/qt-ostrela-screen.png",
                               std::filesystem::copy_options::overwrite_existing);

    // The window is what differs from the empty screen.
    QRgb Empty = Shot.pixel(0, 0);
    int Left = 1920, Top = 1080, Right = -1, Bottom = -1;
    for (int Y = 0; Y < 1080; ++Y)
        for (int X = 0; X < 1920; ++X)
            if (!SameColour(Shot.pixel(X, Y), Empty)) {
                Left = std::min(Left, X);
                Right = std::max(Right, X);
                Top = std::min(Top, Y);
                Bottom = std::max(Bottom, Y);
            }
    ASSERT_GE(Right, Left) << "nothing on the screen";
    int Width = Right - Left + 1, Height = Bottom - Top + 1;
    EXPECT_NEAR(Left, (1920 - Width) / 2, 1);
    EXPECT_NEAR(Top, (1080 - Height) / 2, 1);

    // A frame of equal width on the sides and at the bottom, a caption band
    // above a client area of 804 x 541 that shows the converter's window.
    int Frame = (Width - 804) / 2;
    ASSERT_GT(Frame, 0);
    ASSERT_LE(Frame, 8);
    EXPECT_EQ(Width, 804 + 2 * Frame);
    int Caption = Height - 541 - 2 * Frame;
    ASSERT_GE(Caption, 12);
    int ClientLeft = Left + Frame, ClientTop = Top + Frame + Caption;
    QRgb Face = Rgb(GetSysColor(COLOR_BTNFACE));
    int Off = 0;
    for (int Y = ClientTop; Y < ClientTop + 541; ++Y)
        for (int X = ClientLeft; X < ClientLeft + 804; ++X)
            Off += !SameColour(Shot.pixel(X, Y), Face);
    EXPECT_GT(Off, 804 * 541 / 10) << "the client area is an empty form";
    // The first start wrote its settings beside the program.
    EXPECT_EQ(ReadFile(Dir.File("program/option.ini")).rfind("[OutPath]", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(Dir.File("Ostrela视频软件/输出")));

    // The caption text: pixels that differ from the caption's own colour in
    // the band's left part.
    QRgb Band = Shot.pixel(ClientLeft + 400, Top + Frame + Caption / 2);
    int Text = 0;
    for (int Y = Top + Frame; Y < Top + Frame + Caption; ++Y)
        for (int X = ClientLeft; X < ClientLeft + 200; ++X)
            Text += !SameColour(Shot.pixel(X, Y), Band);
    EXPECT_GT(Text, 20) << "no caption text";
}

TEST(QtEndToEnd, ProgramLosingItsDisplayReportsItAndExitsWithStatusOne) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-program.sh", ProgramCopy(Dir), Dir, "lose-display");
    EXPECT_FALSE(ReadFile(Dir.File("window.txt")).empty()) << "no window named Ostrela";
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "1\n");
    EXPECT_NE(ReadFile(Dir.File("stderr.txt")).find("X11 connection broke"), std::string::npos)
        << ReadFile(Dir.File("stderr.txt"));
}

TEST(QtEndToEnd, DemoFormReachesTheScreenAsPaintedItsPopupTakesNoFocusAndItsCaptionDrags) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-demo.sh", QT_DEMO_FORM, Dir);
    EXPECT_EQ(ReadFile(Dir.File("stderr.txt")), "");
    EXPECT_EQ(ReadFile(Dir.File("output.txt")),
              "ready\npopup clicked; form has the X input focus: yes; form active: yes\n"
              "form moved by 100 50\n");
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");

    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"), OSTRELA_BUILD_DIR "/qt-demo-screen.png",
                               std::filesystem::copy_options::overwrite_existing);

    std::map<std::string, QRect> Layout;
    QRgb Background = 0;
    std::ifstream In(Dir.File("layout.txt"));
    std::string Name;
    while (In >> Name) {
        if (Name == "background") {
            In >> std::hex >> Background >> std::dec;
            continue;
        }
        int X, Y, W, H;
        In >> X >> Y >> W >> H;
        Layout[Name] = QRect(X, Y, W, H);
    }
    ASSERT_EQ(Layout.size(), 11u);
    Layout.erase("form");

    // Xvfb runs no compositor: the per-pixel-alpha disc shows as its shape,
    // red inside and the form around it, never a dark square.
    QRect Disc = Layout["disc"];
    Layout.erase("disc");
    EXPECT_TRUE(SameColour(Shot.pixel(Disc.center()), qRgb(255, 0, 0)));
    for (QPoint Corner : {Disc.topLeft(), Disc.topRight(), Disc.bottomLeft(), Disc.bottomRight()})
        EXPECT_TRUE(SameColour(Shot.pixel(Corner), Background)) << Corner.x() << "," << Corner.y();

    // Every control drew something of its own on the form's colour.
    for (const auto& [Control, R] : Layout) {
        SCOPED_TRACE(Control);
        int Drawn = 0;
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                Drawn += !SameColour(Shot.pixel(X, Y), Background);
        EXPECT_GT(Drawn, 10);
    }

    // The label on the screen is the graphics layer's text, pixel for pixel.
    QImage Label(QString::fromStdString(Dir.File("label.bmp")));
    QRect R = Layout["label"];
    ASSERT_EQ(Label.size(), R.size());
    int Differ = 0;
    for (int Y = 0; Y < R.height(); ++Y)
        for (int X = 0; X < R.width(); ++X)
            Differ += !SameColour(Shot.pixel(R.left() + X, R.top() + Y), Label.pixel(X, Y));
    EXPECT_EQ(Differ, 0);
}

// With no window manager nothing iconifies the form: the minimize button
// leaves it as it was, answering keys, and Alt+F4 still ends the program.
// Under a window manager the same click iconifies it, which shows that the
// click is on the button; xdotool brings it back.
TEST(QtEndToEnd, ProgramMinimizedWithoutAWindowManagerStaysUsable) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-program.sh", ProgramCopy(Dir), Dir, "minimize");
    ASSERT_FALSE(ReadFile(Dir.File("window.txt")).empty()) << "no window named Ostrela";
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");
    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    // The window lies over the screen's centre; the bare screen is black.
    EXPECT_FALSE(SameColour(Shot.pixel(960, 560), qRgb(0, 0, 0)))
        << "the form is still on the screen after the click";
    std::filesystem::copy_file(Dir.File("screen.png"),
                               OSTRELA_BUILD_DIR "/qt-ostrela-minimized-screen.png",
                               std::filesystem::copy_options::overwrite_existing);

    if (!Available("openbox") || !Available("xprop"))
        GTEST_SKIP() << "openbox or xprop is not installed: the window-manager half is left out";
    TTempDir Wm;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-program.sh", ProgramCopy(Wm), Wm, "minimize-wm");
    if (std::filesystem::exists(Wm.File("unavailable.txt")))
        GTEST_SKIP() << "the window manager did not start";
    EXPECT_NE(ReadFile(Wm.File("minimized.txt")).find("Iconic"), std::string::npos)
        << ReadFile(Wm.File("minimized.txt"));
    EXPECT_NE(ReadFile(Wm.File("restored.txt")).find("Normal"), std::string::npos)
        << ReadFile(Wm.File("restored.txt"));
    EXPECT_EQ(ReadFile(Wm.File("status.txt")), "0\n");
}

// Under a compositor the see-through middle of a layered window, per-pixel
// alpha 0 or the colour key, passes a click to the window of another program
// below it.
TEST(QtEndToEnd, ACompositedLayeredWindowPassesClicksThroughItsSeeThroughPixels) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    if (!Available("xcompmgr"))
        GTEST_SKIP() << "xcompmgr is not installed";
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-states.sh", QT_WINDOW_STATES, Dir, "layered");
    if (std::filesystem::exists(Dir.File("unavailable.txt")))
        GTEST_SKIP() << "the compositor did not start";
    EXPECT_EQ(ReadFile(Dir.File("plain.txt")), "ready\nclick 200 150\nclick 200 150\n")
        << "each click in the middle reached the window below";
    for (const char* Variant : {"holed", "keyed"}) {
        SCOPED_TRACE(Variant);
        EXPECT_EQ(ReadFile(Dir.File(std::string(Variant) + ".txt")),
                  "ready compositor yes\nclick 20 20\n");
        QImage Shot(QString::fromStdString(Dir.File(std::string(Variant) + ".png")));
        ASSERT_EQ(Shot.size(), QSize(1920, 1080));
        EXPECT_TRUE(SameColour(Shot.pixel(300, 250), qRgb(160, 160, 160))) << "the window below";
        EXPECT_TRUE(SameColour(Shot.pixel(120, 120), qRgb(128, 0, 0))) << "the layered window";
    }
    std::filesystem::copy_file(Dir.File("holed.png"), OSTRELA_BUILD_DIR "/qt-layered-screen.png",
                               std::filesystem::copy_options::overwrite_existing);
}

// A window manager iconifies and restores the window and learns of its
// maximized state; its own maximize reaches the window system.
TEST(QtEndToEnd, WindowStatesAreSharedWithAWindowManager) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    if (!Available("openbox") || !Available("xprop"))
        GTEST_SKIP() << "openbox or xprop is not installed";
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-states.sh", QT_WINDOW_STATES, Dir, "wm");
    if (std::filesystem::exists(Dir.File("unavailable.txt")))
        GTEST_SKIP() << "the window manager did not start";
    // What the window heard, without the repeats of a state.
    std::vector<std::string> States;
    std::istringstream Lines(ReadFile(Dir.File("states.txt")));
    for (std::string Line; std::getline(Lines, Line);) {
        std::string State = Line.substr(0, Line.find(' ', 5));
        if (States.empty() || States.back() != State)
            States.push_back(State);
    }
    EXPECT_EQ(States,
              (std::vector<std::string>{"size restored", "size minimized", "size restored",
                                        "size maximized", "size restored", "size maximized"}));
    EXPECT_NE(ReadFile(Dir.File("minimized.txt")).find("_NET_WM_STATE_HIDDEN"), std::string::npos);
    std::string Maximized = ReadFile(Dir.File("maximized.txt"));
    EXPECT_NE(Maximized.find("_NET_WM_STATE_MAXIMIZED_VERT"), std::string::npos) << Maximized;
    EXPECT_NE(Maximized.find("_NET_WM_STATE_MAXIMIZED_HORZ"), std::string::npos) << Maximized;
    std::string Restored = ReadFile(Dir.File("restored.txt"));
    EXPECT_EQ(Restored.find("MAXIMIZED"), std::string::npos) << Restored;
    EXPECT_TRUE(std::filesystem::exists(Dir.File("maximized-by-desktop.txt")));
    if (std::filesystem::exists(Dir.File("maximized.png")))
        std::filesystem::copy_file(Dir.File("maximized.png"),
                                   OSTRELA_BUILD_DIR "/qt-maximized-screen.png",
                                   std::filesystem::copy_options::overwrite_existing);
}

// A notification icon docked by a tray host on the virtual screen: its
// picture at the host's place, the callbacks of a click and a double click,
// the host going away and coming back; and no icon without a host.
TEST(QtEndToEnd, NotificationIconDocksInATrayHostAndHearsItsClicks) {
    SKIP_WITHOUT_VIRTUAL_SCREEN();
    TTempDir Dir;
    RunOnVirtualScreen(QT_E2E_DIR "/e2e-tray.sh", QT_TRAY_DEMO, Dir, Quote(QT_TRAY_HOST));
    ASSERT_TRUE(std::filesystem::exists(Dir.File("done.txt"))) << ReadFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadFile(Dir.File("nohost.txt")), "add refused\n");
    EXPECT_EQ(ReadFile(Dir.File("host.txt")), "ready\ndocked\n");
    EXPECT_EQ(ReadFile(Dir.File("host2.txt")), "ready\ndocked\n") << "docked again";

    // What the program heard, without the pointer's moves and the poll's
    // news of the new host, which may come before or after its message.
    std::vector<std::string> Heard;
    int Moves = 0;
    std::istringstream Lines(ReadFile(Dir.File("demo.txt")));
    for (std::string Line; std::getline(Lines, Line);) {
        if (Line.rfind("WM_MOUSEMOVE", 0) == 0)
            ++Moves;
        else if (Line != "area available")
            Heard.push_back(Line);
    }
    EXPECT_GT(Moves, 0);
    EXPECT_EQ(Heard,
              (std::vector<std::string>{"added", "WM_LBUTTONDOWN 112 112", "WM_LBUTTONUP 112 112",
                                        "WM_LBUTTONDOWN 112 112", "WM_LBUTTONUP 112 112",
                                        "WM_LBUTTONDBLCLK 112 112", "WM_LBUTTONUP 112 112",
                                        "area unavailable", "TaskbarCreated", "added"}));

    // The host's 24 x 24 place at (100, 100): the icon's two halves, on the
    // host's own visual and then on the 32-bit one the second host offers.
    for (const char* Photo : {"docked.png", "redocked.png"}) {
        SCOPED_TRACE(Photo);
        QImage Shot(QString::fromStdString(Dir.File(Photo)));
        ASSERT_EQ(Shot.size(), QSize(1920, 1080));
        for (int Y : {101, 112, 122}) {
            EXPECT_TRUE(SameColour(Shot.pixel(101, Y), qRgb(255, 0, 0))) << Y;
            EXPECT_TRUE(SameColour(Shot.pixel(110, Y), qRgb(255, 0, 0))) << Y;
            EXPECT_TRUE(SameColour(Shot.pixel(113, Y), qRgb(0, 0, 255))) << Y;
            EXPECT_TRUE(SameColour(Shot.pixel(122, Y), qRgb(0, 0, 255))) << Y;
        }
    }
    std::filesystem::copy_file(Dir.File("docked.png"), OSTRELA_BUILD_DIR "/qt-tray-screen.png",
                               std::filesystem::copy_options::overwrite_existing);
}

} // namespace
