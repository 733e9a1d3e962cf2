// The buttons family's demonstration on a virtual X screen, photographed:
// the left half in the plain looks, the right half in the standard test
// skin. Skipped when the tools are missing; every step has a time limit.
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

std::uint32_t System(int Index) {
    const COLORREF C = GetSysColor(Index);
    return (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
}

int CountOf(const QImage& Shot, QRect Area, std::uint32_t Colour) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            Count += (Shot.pixel(X, Y) & 0xFFFFFF) == Colour;
    return Count;
}

} // namespace

TEST(SkinButtonsEndToEnd, PlainAndSkinnedHalvesReachTheScreen) {
    if (!ToolAvailable("xvfb-run") || !ToolAvailable("xauth") || !ToolAvailable("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    ASSERT_EQ(RunDemoOnVirtualScreen(SKIN_DEMO_SCRIPT, SKIN_DEMO, OSTRELA_BIN_DIR "/screenshot",
                                     Dir.Path(), "1280x800x24"),
              0)
        << ReadTextFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadTextFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadTextFile(Dir.File("output.txt")), "ready\nready\n");
    EXPECT_EQ(ReadTextFile(Dir.File("status.txt")), "0\n");

    QImage Shot;
    ASSERT_TRUE(Shot.load(QString::fromStdString(Dir.File("screen.png"))));
    std::filesystem::copy_file(Dir.File("screen.png"), OSTRELA_BUILD_DIR "/skin-buttons-test.png",
                               std::filesystem::copy_options::overwrite_existing);
    std::map<std::string, QRect> Layout;
    std::ifstream In(Dir.File("layout.txt"));
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        Layout[Name] = QRect(X, Y, W, H);
    ASSERT_GT(Layout.size(), 30u);
    auto At = [&](int PX, int PY) { return Shot.pixel(PX, PY) & 0xFFFFFF; };
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    auto Face = [&](const std::string& Region) {
        return Skin.Picture("controls.bmp").ColourOf(Region);
    };
    const std::uint32_t BtnFace = System(COLOR_BTNFACE), Shadow = System(COLOR_BTNSHADOW);
    constexpr std::uint32_t Navy = 0x000080, HotFill = 0xB6BDD2, DownFill = 0x8593B5;

    // ---- the plain half.
    {
        const QRect B = Layout["L.button"];
        EXPECT_EQ(At(B.left(), B.top()), Shadow);
        EXPECT_EQ(At(B.left() + 2, B.top() + 2), BtnFace);
        const QRect D = Layout["L.default"];
        EXPECT_EQ(At(D.left(), D.top()), Navy);
        EXPECT_EQ(At(D.left() + 2, D.top() + 2), HotFill);
        const QRect G = Layout["L.groupdown"];
        EXPECT_EQ(At(G.left(), G.top()), Navy);
        EXPECT_EQ(At(G.left() + 2, G.top() + 2), DownFill);
        // The plain bar: buttons at its ends, the thumb in the middle.
        const QRect HB = Layout["L.hbar"];
        EXPECT_EQ(At(HB.left() + 1, HB.top() + 1), Shadow);
        EXPECT_EQ(At(HB.left() + 92, HB.top() + 1), Shadow);
        EXPECT_EQ(At(HB.left() + 60, HB.top() + 9), BtnFace);
        const QRect U = Layout["L.hupdown"];
        EXPECT_EQ(At(U.left(), U.top()), Shadow);
        EXPECT_GT(CountOf(Shot, U, 0x000000), 4);
    }
    // ---- both halves: the pictures of the glyph and image-list buttons and
    // of the tool bar's speed buttons (from the bar's lists; the disabled
    // one from its disabled list).
    for (const char* Half : {"L.", "R."}) {
        SCOPED_TRACE(Half);
        auto Area = [&](const char* Name) { return Layout[std::string(Half) + Name]; };
        EXPECT_GT(CountOf(Shot, Area("glyph"), 0x008000), 60);
        EXPECT_GT(CountOf(Shot, Area("imagebutton"), 0x0000FF), 60);
        EXPECT_GT(CountOf(Shot, Area("tool0"), 0xFF0000), 60);
        EXPECT_GT(CountOf(Shot, Area("tool1"), 0x00FF00), 60);
        EXPECT_GT(CountOf(Shot, Area("tool2"), 0x808080), 60);
        EXPECT_EQ(CountOf(Shot, Area("tool2"), 0x0000FF), 0);
    }
    // ---- the skinned half.
    {
        const QRect B = Layout["R.button"];
        EXPECT_EQ(At(B.left() + 1, B.top() + 1), Face("button.normal"));
        EXPECT_EQ(At(Layout["R.disabled"].left() + 1, Layout["R.disabled"].top() + 1),
                  Face("button.disabled"));
        EXPECT_EQ(At(Layout["R.groupdown"].left() + 1, Layout["R.groupdown"].top() + 1),
                  Face("button.down"));
        EXPECT_EQ(At(Layout["R.default"].left() + 1, Layout["R.default"].top() + 1),
                  Face("button.active"));
        const QRect HB = Layout["R.hbar"];
        EXPECT_EQ(At(HB.left() + 1, HB.top() + 1), Face("hscrollbar.face"));
        const QRect V = Layout["R.lvvbar"];
        EXPECT_EQ(At(V.left() + 1, V.top() + 1), Face("vscrollbar.face"));
        const QRect LV = Layout["R.listview"];
        EXPECT_EQ(At(LV.left() + 2, LV.top() + 2), Face("resizetoolbutton.normal"));
        const QRect P = Layout["R.pages"];
        EXPECT_EQ(At(P.left() + 1, P.bottom() - 1), Face("tab.face"));
        const QRect U = Layout["R.hupdown"];
        EXPECT_EQ(At(U.left() + 1, U.top() + 1), Face("hupdown.up"));
        // The pointer rests on this one.
        const QRect Hot = Layout["R.hot"];
        EXPECT_EQ(At(Hot.left() + 1, Hot.top() + 1), Face("button.active"));
    }

    // ---- the right half in the program's first stored skin: check marks,
    // bar thumbs and slider thumbs show, and nothing kept the test skin.
    QImage Stored;
    ASSERT_TRUE(Stored.load(QString::fromStdString(Dir.File("screen-stored.png"))));
    std::filesystem::copy_file(Dir.File("screen-stored.png"),
                               OSTRELA_BUILD_DIR "/skin-buttons-stored.png",
                               std::filesystem::copy_options::overwrite_existing);
    auto StoredAt = [&](int PX, int PY) { return Stored.pixel(PX, PY) & 0xFFFFFF; };
    // Pixels that differ between two equally sized areas at A and B.
    auto Differing = [&](QPoint A, QPoint B, int W, int H) {
        int N = 0;
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                N += StoredAt(A.x() + X, A.y() + Y) != StoredAt(B.x() + X, B.y() + Y) ? 1 : 0;
        return N;
    };
    // Every skinned control looks different in the stored skin.
    for (const auto& [Control, Area] : Layout) {
        if (Control.rfind("R.", 0) != 0)
            continue;
        int Changed = 0;
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
            for (int X = Area.left(); X <= Area.right(); ++X)
                Changed += StoredAt(X, Y) != At(X, Y) ? 1 : 0;
        EXPECT_GT(Changed, Area.width() * Area.height() / 10) << Control;
    }
    {
        const QRect B = Layout["R.button"];
        EXPECT_NE(StoredAt(B.left() + 1, B.top() + 1), Face("button.normal"));
        // The check mark and the grayed mark are two different pictures, and
        // the checked one is more than its frame.
        const QRect Checked = Layout["R.checked"], Grayed = Layout["R.grayed"];
        const int MidC = Checked.top() + Checked.height() / 2;
        const int MidG = Grayed.top() + Grayed.height() / 2;
        EXPECT_GT(Differing({Checked.left(), MidC - 8}, {Grayed.left(), MidG - 8}, 20, 16), 10);
        int Ink = 0;
        const std::uint32_t Ground = StoredAt(Checked.right() - 2, MidC);
        for (int Y = MidC - 8; Y < MidC + 8; ++Y)
            for (int X = Checked.left(); X < Checked.left() + 20; ++X)
                Ink += StoredAt(X, Y) != Ground ? 1 : 0;
        EXPECT_GT(Ink, 20);
        // The bar's thumb sits in the middle of its track (position 50).
        const QRect HB = Layout["R.hbar"];
        const int BarMid = HB.top() + HB.height() / 2;
        EXPECT_NE(StoredAt(HB.left() + HB.width() / 2, BarMid),
                  StoredAt(HB.left() + HB.width() / 4, BarMid));
        // The two sliders differ where their thumbs are (values 0 and 30).
        const QRect S0 = Layout["R.slider"], S30 = Layout["R.slider30"];
        EXPECT_GT(Differing(S0.topLeft(), S30.topLeft(), S0.width(), S0.height()), 50);
        // The views took the skin's field colour, not black.
        const QRect LV = Layout["R.listview"];
        EXPECT_NE(StoredAt(LV.left() + LV.width() / 2, LV.bottom() - 10), 0x000000u);
    }
}
