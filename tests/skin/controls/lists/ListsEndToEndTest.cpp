// The lists demonstration on a virtual X screen with the test skin and two
// stored skins, photographed: the chosen list rows (the skinned one in the
// skin's own row colour), the caption buttons, the office header, the open
// drop-down under its combo and the combo buttons reach the screen in both
// columns. Skipped when xvfb-run, xauth or xdotool is missing; the
// photographs stay in the build folder.
#include "platform/gdi/Gdi.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualScreen.h"

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

namespace {

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

struct TSkinCase {
    const char* Name;
    const char* Skin; // the demo's skin argument; empty: the test skin
};

class SkinListsEndToEnd : public testing::TestWithParam<TSkinCase> {};

TEST_P(SkinListsEndToEnd, ListsAndCombosReachTheScreenInBothLooks) {
    if (!ToolAvailable("xvfb-run") || !ToolAvailable("xauth") || !ToolAvailable("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    std::ofstream(Dir.File("skin-argument")) << GetParam().Skin;
    ASSERT_EQ(RunDemoOnVirtualScreen(LISTS_DEMO_SCRIPT, LISTS_DEMO, OSTRELA_BIN_DIR "/screenshot",
                                     Dir.Path(), "1920x1080x24"),
              0)
        << ReadTextFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadTextFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadTextFile(Dir.File("output.txt")), "ready\n");
    EXPECT_EQ(ReadTextFile(Dir.File("status.txt")), "0\n");

    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"),
                               OSTRELA_BUILD_DIR "/skin-lists-" + std::string(GetParam().Name) +
                                   ".png",
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
    std::ifstream Colours(Dir.File("colours.txt"));
    int R = -1, G = -1, B = -1;
    Colours >> Name >> R >> G >> B;
    ASSERT_EQ(Name, "skinned.selectedrow");
    const COLORREF SkinnedRow = RGB(R, G, B);
    for (auto [Look, Colour] :
         {std::pair{"plain.", Highlight}, std::pair{"skinned.", SkinnedRow}}) {
        SCOPED_TRACE(Look);
        const std::string L = Look;
        const QRect Row = Layout[L + "selectedrow"];
        EXPECT_GT(CountOf(Shot, Row, Colour), Row.width() * Row.height() / 3);
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

INSTANTIATE_TEST_SUITE_P(Skins, SkinListsEndToEnd,
                         testing::Values(TSkinCase{"test-skin", ""},
                                         TSkinCase{"stored0", "stored:0"},
                                         TSkinCase{"stored6", "stored:6"}),
                         [](const auto& Info) {
                             std::string N = Info.param.Name;
                             N.erase(std::remove(N.begin(), N.end(), '-'), N.end());
                             return N;
                         });

} // namespace
