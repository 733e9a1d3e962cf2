// The lists demonstration on a virtual X screen, photographed: the chosen
// list rows, the caption buttons, the office header, the open drop-down
// under its combo and the combo buttons reach the screen in both columns.
// Skipped when xvfb-run, xauth or xdotool is missing.
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

int CountOf(const QImage& Shot, QRect Area, COLORREF Colour) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X) {
            const QRgb P = Shot.pixel(X, Y);
            Count += qRed(P) == GetRValue(Colour) && qGreen(P) == GetGValue(Colour) &&
                     qBlue(P) == GetBValue(Colour);
        }
    return Count;
}

TEST(SkinListsEndToEnd, ListsAndCombosReachTheScreenInBothLooks) {
    if (!Available("xvfb-run") || !Available("xauth") || !Available("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    const int Server = 1000 + int((long(getpid()) * 61 + long(std::time(nullptr))) % 50000);
    const std::string Command = "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(Dir.Path()) +
                                " timeout 300 xvfb-run -a -n " + std::to_string(Server) + " -e " +
                                Quote(Dir.File("xvfb-errors.txt")) +
                                " -s '-screen 0 1920x1080x24' " + Quote(LISTS_DEMO_SCRIPT) + " " +
                                Quote(LISTS_DEMO) + " " + Quote(OSTRELA_BIN_DIR "/screenshot") +
                                " " + Quote(Dir.Path()) + " </dev/null >" +
                                Quote(Dir.File("xvfb.txt")) + " 2>&1";
    ASSERT_EQ(std::system(Command.c_str()), 0) << ReadFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadFile(Dir.File("output.txt")), "ready\n");
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");

    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"), OSTRELA_BUILD_DIR "/skin-lists-screen.png",
                               std::filesystem::copy_options::overwrite_existing);

    std::map<std::string, QRect> Layout;
    std::ifstream In(Dir.File("layout.txt"));
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        Layout[Name] = QRect(X, Y, W, H);
    ASSERT_EQ(Layout.size(), 19u);

    const COLORREF Highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF Face = GetSysColor(COLOR_BTNFACE);
    const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
    for (const char* Look : {"plain.", "skinned."}) {
        SCOPED_TRACE(Look);
        const std::string L = Look;
        const QRect Row = Layout[L + "selectedrow"];
        EXPECT_GT(CountOf(Shot, Row, Highlight), Row.width() * Row.height() / 3);
    }
    // Plain caption buttons: face-coloured with a black glyph each, right
    // to left in the caption strip.
    for (int I = 0; I < 3; ++I) {
        SCOPED_TRACE(I);
        const QRect B = Layout["plain.button" + std::to_string(I)];
        EXPECT_GT(CountOf(Shot, B, Face), B.width() * B.height() / 3);
        EXPECT_GT(CountOf(Shot, B, RGB(0, 0, 0)), 3);
        if (I > 0) {
            EXPECT_EQ(B.right() + 1, Layout["plain.button" + std::to_string(I - 1)].left());
        }
    }
    const QRect Header = Layout["plain.header"];
    EXPECT_GT(CountOf(Shot, Header, Shadow), Header.width() * Header.height() / 2);
    // The open drop-down hangs under its combo and shows the chosen row.
    EXPECT_EQ(Layout["dropdown"].top(), Layout["plain.combo"].bottom() + 1);
    EXPECT_EQ(Layout["dropdown"].left(), Layout["plain.combo"].left());
    EXPECT_GT(CountOf(Shot, Layout["dropdown"], Highlight), 200);
    // The edit-style combos show their item's text in both looks: ink in
    // the item area that is neither the face nor the window colour.
    for (const char* Look : {"plain.", "skinned."}) {
        SCOPED_TRACE(Look);
        const QRect E = Layout[std::string(Look) + "editcombo"];
        const QRect Item(E.left() + 3, E.top() + 3, E.width() / 2, E.height() - 6);
        const QRgb Ground = Shot.pixel(Item.right(), Item.top());
        int Ink = 0;
        for (int Y = Item.top(); Y <= Item.bottom(); ++Y)
            for (int X = Item.left(); X <= Item.right(); ++X)
                Ink += Shot.pixel(X, Y) != Ground ? 1 : 0;
        EXPECT_GT(Ink, 20);
    }
    const QRect Button = Layout["plain.combobutton"];
    EXPECT_GT(CountOf(Shot, Button, Face), Button.width() * Button.height() / 3);
    EXPECT_GT(CountOf(Shot, Button, Shadow), Button.width());
}

} // namespace
