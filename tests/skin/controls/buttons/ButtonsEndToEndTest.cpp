// The buttons family's demonstration on a virtual X screen, photographed:
// the left half in the plain looks, the right half in the standard test
// skin. Skipped when the tools are missing; every step has a time limit.
#include "platform/gdi/Gdi.h"
#include "tests/fixtures/skins/TestSkin.h"
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
    if (!Available("xvfb-run") || !Available("xauth") || !Available("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    const int Server = 1000 + int((long(getpid()) * 89 + long(std::time(nullptr))) % 50000);
    const std::string Command = "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(Dir.Path()) +
                                " timeout 300 xvfb-run -a -n " + std::to_string(Server) + " -e " +
                                Quote(Dir.File("xvfb-errors.txt")) +
                                " -s '-screen 0 1280x800x24' " + Quote(SKIN_DEMO_SCRIPT) + " " +
                                Quote(SKIN_DEMO) + " " + Quote(OSTRELA_BIN_DIR "/screenshot") +
                                " " + Quote(Dir.Path()) + " </dev/null >" +
                                Quote(Dir.File("xvfb.txt")) + " 2>&1";
    ASSERT_EQ(std::system(Command.c_str()), 0) << ReadFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadFile(Dir.File("output.txt")), "ready\n");
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");

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
    }
}
