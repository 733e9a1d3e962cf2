// The standard controls demo on a virtual X screen, photographed: each
// control reaches the screen in its plain look. Skipped when the tools are
// missing; every step has a time limit.
#include "platform/gdi/Gdi.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

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

bool SameColour(QRgb A, COLORREF B) {
    return qRed(A) == GetRValue(B) && qGreen(A) == GetGValue(B) && qBlue(A) == GetBValue(B);
}

// Text pixels: dark in every channel, whatever the smoothing did to them.
int DarkIn(const QImage& Shot, QRect Area) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X) {
            QRgb P = Shot.pixel(X, Y);
            Count += qRed(P) < 96 && qGreen(P) < 96 && qBlue(P) < 96;
        }
    return Count;
}

int CountOf(const QImage& Shot, QRect Area, COLORREF Colour) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            Count += SameColour(Shot.pixel(X, Y), Colour);
    return Count;
}

TEST(StandardControlsEndToEnd, EveryControlReachesTheScreenInItsPlainLookWithChineseContent) {
    if (!Available("xvfb-run") || !Available("xauth") || !Available("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    // Parallel runs start their display search at different numbers.
    int Server = 1000 + int((long(getpid()) * 97 + long(std::time(nullptr))) % 50000);
    std::string Command = "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(Dir.Path()) +
                          " timeout 300 xvfb-run -a -n " + std::to_string(Server) + " -e " +
                          Quote(Dir.File("xvfb-errors.txt")) + " -s '-screen 0 1920x1080x24' " +
                          Quote(STANDARD_DEMO_SCRIPT) + " " + Quote(STANDARD_DEMO) + " " +
                          Quote(OSTRELA_BIN_DIR "/screenshot") + " " + Quote(Dir.Path()) +
                          " </dev/null >" + Quote(Dir.File("xvfb.txt")) + " 2>&1";
    ASSERT_EQ(std::system(Command.c_str()), 0) << ReadFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadFile(Dir.File("output.txt")), "ready\n");
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");

    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"),
                               OSTRELA_BUILD_DIR "/standard-controls-screen.png",
                               std::filesystem::copy_options::overwrite_existing);

    std::map<std::string, QRect> Layout;
    std::ifstream In(Dir.File("layout.txt"));
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        Layout[Name] = QRect(X, Y, W, H);
    ASSERT_EQ(Layout.size(), 8u);

    COLORREF Window = GetSysColor(COLOR_WINDOW);
    for (const char* Control :
         {"edit", "memo", "list", "combo", "view", "tree", "pages", "dropdown"}) {
        SCOPED_TRACE(Control);
        QRect Area = Layout[Control];
        ASSERT_TRUE(QRect(0, 0, 1920, 1080).contains(Area));
        // Chinese text takes many pixels; a control that drew nothing has none.
        EXPECT_GT(DarkIn(Shot, Area), 40);
    }
    for (const char* Control : {"edit", "memo", "list", "view", "tree", "dropdown"}) {
        SCOPED_TRACE(Control);
        QRect Area = Layout[Control];
        EXPECT_GT(CountOf(Shot, Area, Window), Area.width() * Area.height() / 4);
    }

    // The edit keeps showing its selection without the focus, as asked.
    EXPECT_GT(CountOf(Shot, Layout["edit"], GetSysColor(COLOR_HIGHLIGHT)), 50);
    // The open drop-down hangs below the combo box and shows its chosen item.
    EXPECT_GE(Layout["dropdown"].top(), Layout["combo"].bottom());
    EXPECT_GT(CountOf(Shot, Layout["dropdown"], GetSysColor(COLOR_HIGHLIGHT)), 50);
    // The expanded branch shows the folder and file pictures of the image list.
    EXPECT_GT(CountOf(Shot, Layout["tree"], RGB(230, 190, 40)), 50);
    EXPECT_GT(CountOf(Shot, Layout["tree"], RGB(40, 90, 200)), 50);
    // The header and the tabs are drawn in the button face colour.
    EXPECT_GT(CountOf(Shot, Layout["view"], GetSysColor(COLOR_BTNFACE)), 200);
    EXPECT_GT(CountOf(Shot, Layout["pages"], GetSysColor(COLOR_BTNFACE)), 200);
}

} // namespace
