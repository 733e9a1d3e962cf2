// The edits demonstration on a virtual X screen, photographed: the plain
// edit's frame rings and fill, the skinned edits' faces, the scroll box with
// its bars and scrolled content, and the hovered plain link in blue.
// Skipped when xvfb-run, xauth or xdotool is missing.
#include "platform/gdi/Gdi.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualScreen.h"

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

bool Is(const QImage& Shot, int X, int Y, COLORREF Colour) {
    const QRgb P = Shot.pixel(X, Y);
    return qRed(P) == GetRValue(Colour) && qGreen(P) == GetGValue(Colour) &&
           qBlue(P) == GetBValue(Colour);
}

int CountOf(const QImage& Shot, QRect Area, COLORREF Colour) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            Count += Is(Shot, X, Y, Colour) ? 1 : 0;
    return Count;
}

TEST(SkinEditsEndToEnd, EditsScrollBoxAndLinksReachTheScreenInBothLooks) {
    if (!ToolAvailable("xvfb-run") || !ToolAvailable("xauth") || !ToolAvailable("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    ASSERT_EQ(RunDemoOnVirtualScreen(EDITS_DEMO_SCRIPT, EDITS_DEMO, OSTRELA_BIN_DIR "/screenshot",
                                     Dir.Path(), "1920x1080x24"),
              0)
        << ReadTextFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadTextFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadTextFile(Dir.File("output.txt")), "ready\n");
    EXPECT_EQ(ReadTextFile(Dir.File("status.txt")), "0\n");

    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"), OSTRELA_BUILD_DIR "/skin-edits-screen.png",
                               std::filesystem::copy_options::overwrite_existing);

    std::map<std::string, QRect> Layout;
    std::ifstream In(Dir.File("layout.txt"));
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        Layout[Name] = QRect(X, Y, W, H);
    ASSERT_EQ(Layout.size(), 14u);

    const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF Face = GetSysColor(COLOR_BTNFACE);
    const COLORREF Window = GetSysColor(COLOR_WINDOW);
    // Plain edit: shadow ring, face ring, window fill.
    const QRect E = Layout["plain.edit"];
    const int Mid = E.top() + E.height() / 2;
    EXPECT_TRUE(Is(Shot, E.left(), Mid, Shadow));
    EXPECT_TRUE(Is(Shot, E.left() + 1, Mid, Face));
    EXPECT_TRUE(Is(Shot, E.right() - 3, Mid, Window));
    // Skinned edits: the face is not the plain look's.
    const QRect S = Layout["skinned.edit"];
    EXPECT_FALSE(Is(Shot, S.left(), S.top() + S.height() / 2, Shadow) &&
                 Is(Shot, S.left() + 1, S.top() + S.height() / 2, Face));
    // Against the test skin: the skinned edits' face is the "edit" element's
    // region, the focused one's the same (the element has no active face).
    {
        const std::uint32_t F =
            testskin::StandardTestSkin().Picture("controls.bmp").ColourOf("edit.face");
        const COLORREF SkinFace = RGB(F >> 16, (F >> 8) & 0xFF, F & 0xFF);
        for (const char* Name : {"skinned.edit", "skinned.focused"}) {
            const QRect R = Layout[Name];
            EXPECT_TRUE(Is(Shot, R.left() + 1, R.top() + 1, SkinFace)) << Name;
        }
    }
    // The pointer rests on the plain button edit's frame button: navy frame,
    // hot fill.
    {
        const QRect B = Layout["plain.button"];
        const int Left = B.right() + 1 - B.height();
        EXPECT_TRUE(Is(Shot, Left, B.top(), RGB(0, 0, 128)));
        EXPECT_TRUE(Is(Shot, Left + 3, B.top() + 3, RGB(182, 189, 210)));
    }
    // Both scroll boxes show both bars and content scrolled away from the
    // picture's first tile.
    for (const char* Look : {"plain.", "skinned."}) {
        SCOPED_TRACE(Look);
        const std::string L = Look;
        for (const char* Bar : {"vbar", "hbar"}) {
            const QRect B = Layout[L + Bar];
            EXPECT_GT(B.width(), 0) << Bar;
            EXPECT_LT(CountOf(Shot, B, Face), B.width() * B.height()) << Bar;
        }
        const QRect Box = Layout[L + "box"];
        // The picture's first tile (RGB 40, 200, 90) is scrolled out of view.
        EXPECT_EQ(CountOf(Shot, Box, RGB(40, 200, 90)), 0);
    }
    // The hovered plain link is written in blue (smoothed glyph edges
    // included).
    const QRect Link = Layout["plain.link"];
    int Blue = 0;
    for (int Y = Link.top(); Y <= Link.bottom(); ++Y)
        for (int X = Link.left(); X <= Link.right(); ++X) {
            const QRgb P = Shot.pixel(X, Y);
            Blue += qBlue(P) > 150 && qRed(P) < 100 && qGreen(P) < 100 ? 1 : 0;
        }
    EXPECT_GT(Blue, 10);
}

} // namespace
