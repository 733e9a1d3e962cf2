// The skinned controls demo on a virtual X screen, photographed: the left
// half in the plain look, the right half in the standard test skin. Skipped
// when the tools are missing; every step has a time limit.
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

std::uint32_t Rgb(QRgb P) {
    return P & 0xFFFFFF;
}

std::uint32_t System(int Index) {
    const COLORREF C = GetSysColor(Index);
    return (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
}

int CountOf(const QImage& Shot, QRect Area, std::uint32_t Colour) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            Count += Rgb(Shot.pixel(X, Y)) == Colour;
    return Count;
}

int Brightness(std::uint32_t C) {
    return int((C >> 16) & 0xFF) + int((C >> 8) & 0xFF) + int(C & 0xFF);
}

class SkinControlsEndToEnd : public testing::Test {
protected:
    QImage Shot;
    std::map<std::string, QRect> Layout;
    testskin::TTestSkin Skin = testskin::StandardTestSkin();

    std::uint32_t At(int X, int Y) { return Rgb(Shot.pixel(X, Y)); }
    std::uint32_t Face(const std::string& Region) {
        return Skin.Picture("controls.bmp").ColourOf(Region);
    }
};

} // namespace

TEST_F(SkinControlsEndToEnd, PlainAndSkinnedHalvesReachTheScreen) {
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

    ASSERT_TRUE(Shot.load(QString::fromStdString(Dir.File("screen.png"))));
    std::filesystem::copy_file(Dir.File("screen.png"),
                               OSTRELA_BUILD_DIR "/skin-controls-plain-and-test.png",
                               std::filesystem::copy_options::overwrite_existing);
    std::ifstream In(Dir.File("layout.txt"));
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        Layout[Name] = QRect(X, Y, W, H);
    ASSERT_GT(Layout.size(), 20u);

    const std::uint32_t BtnFace = System(COLOR_BTNFACE), Shadow = System(COLOR_BTNSHADOW),
                        Light = System(COLOR_BTNHIGHLIGHT);
    // ---- the plain half: clBtnFace and the frames the looks put there.
    {
        const QRect R = Layout["L.raised"];
        EXPECT_EQ(At(R.center().x(), R.top()), Light);
        EXPECT_EQ(At(R.center().x(), R.bottom()), Shadow);
        EXPECT_EQ(At(R.center().x(), R.center().y()), BtnFace);
        const QRect L = Layout["L.lowered"];
        EXPECT_EQ(At(L.center().x(), L.top()), Shadow);
        EXPECT_EQ(At(L.center().x(), L.bottom()), Light);
        const QRect C = Layout["L.covered"];
        EXPECT_EQ(CountOf(Shot, C, BtnFace), C.width() * C.height());
        const QRect S = Layout["L.statusbar"];
        const QRect Grip(S.right() - 18, S.top(), 19, 19);
        EXPECT_GT(CountOf(Shot, Grip, Shadow), 10);
        EXPECT_GT(CountOf(Shot, Grip, Light), 10);
    }
    // ---- the skinned half: the element faces of the test skin.
    {
        for (const char* Panel : {"R.raised", "R.lowered", "R.covered", "R.leftpane"}) {
            SCOPED_TRACE(Panel);
            const QRect R = Layout[Panel];
            EXPECT_EQ(At(R.left(), R.top()), Face("panel.face"));
            EXPECT_EQ(At(R.right(), R.bottom()), Face("panel.face"));
        }
        const QRect G = Layout["R.checkgroup"];
        EXPECT_EQ(At(G.left(), G.bottom()), Face("groupbox.face"));
        EXPECT_EQ(At(G.right(), G.bottom()), Face("groupbox.face"));
        const QRect T = Layout["R.toolbar"];
        EXPECT_EQ(At(T.left() + 1, T.center().y()), Face("resizebutton.normal"));
        EXPECT_EQ(At(T.right() - 1, T.center().y()), Face("resizebutton.normal"));
        const QRect S = Layout["R.statusbar"];
        EXPECT_EQ(At(S.left() + 2, S.center().y()), Face("statusbar.face"));
        // The element has no gripper picture: the grip in the skin's colours.
        const QRect Grip(S.right() - 18, S.top(), 19, 19);
        EXPECT_GT(CountOf(Shot, Grip, 0x808080), 10);
        EXPECT_GT(CountOf(Shot, Grip, 0xF0F0F0), 10);
        const QRect Sp = Layout["R.splitter"];
        EXPECT_EQ(At(Sp.center().x(), Sp.top() + 2), Face("vsplitter.face"));
    }
    // ---- the stored skin: every control that draws a face of the test skin
    // draws the stored skin's instead, and none falls back to the plain look.
    // Labels, bevel lines and transparent controls show the form behind them,
    // which stays plain in this demo; the coloured panel keeps the colour the
    // program gave it, and the transparent group box shows that colour.
    {
        QImage Stored;
        ASSERT_TRUE(Stored.load(QString::fromStdString(Dir.File("screen-stored.png"))));
        std::filesystem::copy_file(Dir.File("screen-stored.png"),
                                   OSTRELA_BUILD_DIR "/skin-controls-stored.png",
                                   std::filesystem::copy_options::overwrite_existing);
        const QImage First = Shot.convertToFormat(QImage::Format_RGB32);
        const QImage Second = Stored.convertToFormat(QImage::Format_RGB32);
        int Faces = 0;
        for (const auto& [Name, R] : Layout) {
            if (Name.rfind("R.", 0) != 0 || R.width() < 4 || R.height() < 4)
                continue;
            int Changed = 0, Plain = 0, Skinned = 0, Total = 0;
            for (int Y = R.top(); Y <= R.bottom(); ++Y)
                for (int X = R.left(); X <= R.right(); ++X) {
                    const std::uint32_t Before = First.pixel(X, Y) & 0xFFFFFF;
                    const std::uint32_t After = Second.pixel(X, Y) & 0xFFFFFF;
                    Skinned += Before != BtnFace;
                    Changed += After != Before;
                    Plain += After == BtnFace;
                    ++Total;
                }
            if (Skinned < Total * 3 / 4 || Name == "R.coloured" || Name == "R.transparent" ||
                Name == "R.divider")
                continue;
            SCOPED_TRACE(Name);
            ++Faces;
            EXPECT_GT(Changed, Total / 2);
            EXPECT_LT(Plain, Total / 4);
        }
        EXPECT_GE(Faces, 8);
    }
    // ---- labels: text inside their rectangles; the disabled one embossed.
    for (const char* Side : {"L.", "R."}) {
        SCOPED_TRACE(Side);
        const QRect E = Layout[std::string(Side) + "ellipsis"];
        const std::uint32_t Back = At(E.left() - 1, E.top() - 1);
        EXPECT_GT(E.width() * E.height() - CountOf(Shot, E, Back), 30);
        const QRect D = Layout[std::string(Side) + "disabled"];
        const std::uint32_t DBack = At(D.left() - 1, D.top() - 1);
        int Lighter = 0, Darker = 0;
        for (int Y = D.top(); Y <= D.bottom(); ++Y)
            for (int X = D.left(); X <= D.right(); ++X) {
                const int B = Brightness(At(X, Y));
                Lighter += B > Brightness(DBack) + 60;
                Darker += B + 120 < Brightness(DBack);
            }
        EXPECT_GT(Lighter, 10);
        EXPECT_GT(Darker, 10);
    }
}
