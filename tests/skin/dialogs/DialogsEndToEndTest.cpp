// The dialogs demonstration on a virtual X screen in three looks (plain,
// the test skin, stored skin 4), photographed, and areas of the photographs
// checked against the layout the demonstration wrote: the message box's
// picture equals the stock icon, its label holds text and its buttons their
// face; a click on the chooser's sixth row repaints the preview's sample
// button in that skin; the folder list shows a folder picture at every
// whole row's indent and text after it. Skipped when xvfb-run, xauth or xdotool is
// missing; the photographs stay in the build folder.
#include "platform/gdi/Graphics.h"
#include "platform/gdi/Icons.h"
#include "platform/win/Windows.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualScreen.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

using TLayout = std::map<std::string, QRect>;

TLayout ReadLayout(const std::string& Path) {
    TLayout Layout;
    std::ifstream In(Path);
    std::string Name;
    int X, Y, W, H;
    while (In >> Name >> X >> Y >> W >> H)
        Layout[Name] = QRect(X, Y, W, H);
    return Layout;
}

std::uint32_t RgbAt(const QImage& Shot, int X, int Y) {
    return Shot.pixel(X, Y) & 0xFFFFFF;
}

int CountOf(const QImage& Shot, const QRect& Area, std::uint32_t Colour) {
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            Count += RgbAt(Shot, X, Y) == Colour ? 1 : 0;
    return Count;
}

// Pixels far from the area's commonest colour: the ink of its text.
int InkIn(const QImage& Shot, const QRect& Area) {
    std::map<std::uint32_t, int> Counts;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            ++Counts[RgbAt(Shot, X, Y)];
    std::uint32_t Ground = 0;
    int Most = 0;
    for (auto [Colour, N] : Counts)
        if (N > Most)
            Ground = Colour, Most = N;
    int Ink = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X) {
            const std::uint32_t P = RgbAt(Shot, X, Y);
            int D = 0;
            for (int Shift : {0, 8, 16})
                D += std::abs(int((P >> Shift) & 0xFF) - int((Ground >> Shift) & 0xFF));
            Ink += D > 150 ? 1 : 0;
        }
    return Ink;
}

// The stock information icon's opaque pixels (those that do not change
// with the ground it is drawn on), as 0x00RRGGBB by position.
std::map<std::pair<int, int>, std::uint32_t> OpaqueIconPixels() {
    TBitmap On[2];
    const TColor Grounds[2] = {TColor(0xFF00FF), TColor(0x00FF00)};
    for (int I = 0; I < 2; ++I) {
        On[I].SetSize(32, 32);
        On[I].Canvas()->Brush()->SetColor(Grounds[I]);
        On[I].Canvas()->FillRect({0, 0, 32, 32});
        DrawIconEx(On[I].Canvas()->Handle(), 0, 0, LoadIcon(nullptr, IDI_ASTERISK), 32, 32, 0,
                   nullptr, DI_NORMAL);
    }
    std::map<std::pair<int, int>, std::uint32_t> Opaque;
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X) {
            const COLORREF A = ColorToRGB(On[0].Canvas()->Pixels(X, Y));
            if (A == COLORREF(ColorToRGB(On[1].Canvas()->Pixels(X, Y))))
                Opaque[{X, Y}] =
                    (GetRValue(A) << 16) | (GetGValue(A) << 8) | std::uint32_t(GetBValue(A));
        }
    return Opaque;
}

struct TLook {
    const char* Name;
    const char* Arguments;
    bool TestSkin;
    bool Stored;
};

class SkinDialogsEndToEnd : public testing::TestWithParam<TLook> {};

TEST_P(SkinDialogsEndToEnd, ScenesShowTheirPartsInTheLook) {
    if (!ToolAvailable("xvfb-run") || !ToolAvailable("xauth") || !ToolAvailable("xdotool"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    const TLook& Look = GetParam();
    TTempDir Dir;
    std::ofstream(Dir.File("look")) << Look.Arguments << '\n';
    ASSERT_EQ(RunDemoOnVirtualScreen(DIALOGS_DEMO_SCRIPT, DIALOGS_DEMO,
                                     OSTRELA_BIN_DIR "/screenshot", Dir.Path(), "640x400x24"),
              0)
        << ReadTextFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadTextFile(Dir.File("status.txt")), "0\n") << ReadTextFile(Dir.File("stderr.txt"));
    const std::string Keep = OSTRELA_BUILD_DIR "/tests/skin-dialogs-e2e/" + std::string(Look.Name);
    std::filesystem::create_directories(Keep);
    for (const char* Scene : {"notice", "question", "select-skin", "select-skin-row5", "browser"}) {
        const std::string Png = Dir.File(std::string(Scene) + ".png");
        ASSERT_TRUE(std::filesystem::exists(Png)) << Scene;
        std::filesystem::copy_file(Png, Keep + "/" + Scene + ".png",
                                   std::filesystem::copy_options::overwrite_existing);
    }

    const testskin::TTestSkin Standard = testskin::StandardTestSkin();
    const std::uint32_t SkinButton = Standard.Picture("controls.bmp").ColourOf("button.normal");
    const std::uint32_t SkinActiveButton =
        Standard.Picture("controls.bmp").ColourOf("button.active");
    const auto Opaque = OpaqueIconPixels();
    ASSERT_GT(Opaque.size(), 200u);
    for (const char* Scene : {"notice", "question"}) {
        SCOPED_TRACE(Scene);
        const QImage Shot(QString::fromStdString(Dir.File(std::string(Scene) + ".png")));
        const TLayout L = ReadLayout(Dir.File(std::string(Scene) + ".layout"));
        ASSERT_TRUE(L.count("icon") && L.count("label") && L.count("button0"));
        // The notice's picture: every opaque pixel of the stock icon.
        if (std::string(Scene) == "notice") {
            const QRect Icon = L.at("icon");
            int Differ = 0;
            for (const auto& [At, Colour] : Opaque)
                Differ += RgbAt(Shot, Icon.left() + At.first, Icon.top() + At.second) != Colour;
            EXPECT_EQ(Differ, 0);
        }
        EXPECT_GT(InkIn(Shot, L.at("label")), 20);
        for (const std::string B : {"button0", "button1"}) {
            if (!L.count(B))
                continue;
            const QRect R = L.at(B);
            EXPECT_GT(InkIn(Shot, R), 5) << B;
            if (Look.TestSkin) {
                // The focused button shows the element's active face.
                EXPECT_GT(CountOf(Shot, R, SkinButton) + CountOf(Shot, R, SkinActiveButton),
                          R.width() * R.height() / 3)
                    << B;
            }
        }
        EXPECT_EQ(L.count("button1") == 1, std::string(Scene) == "question");
    }

    // The chooser: the preview's sample button before and after row 5.
    {
        const TLayout L = ReadLayout(Dir.File("select-skin.layout"));
        ASSERT_TRUE(L.count("previewbutton"));
        const QRect R = L.at("previewbutton");
        const QImage Before(QString::fromStdString(Dir.File("select-skin.png")));
        const QImage After(QString::fromStdString(Dir.File("select-skin-row5.png")));
        if (!Look.Stored) {
            const auto ButtonOf = [](int N) {
                return testskin::Variant(N).Picture("controls.bmp").ColourOf("button.normal");
            };
            EXPECT_GT(CountOf(Before, R, ButtonOf(2)), R.width() * R.height() / 3);
            EXPECT_GT(CountOf(After, R, ButtonOf(5)), R.width() * R.height() / 3);
        } else {
            int Changed = 0;
            for (int Y = R.top(); Y <= R.bottom(); ++Y)
                for (int X = R.left(); X <= R.right(); ++X)
                    Changed += RgbAt(Before, X, Y) != RgbAt(After, X, Y);
            EXPECT_GT(Changed, R.width() * R.height() / 3);
        }
    }

    // The browser: a folder picture (its yellow or orange body) at each row's
    // indent, and the folder's name after it.
    {
        const QImage Shot(QString::fromStdString(Dir.File("browser.png")));
        const TLayout L = ReadLayout(Dir.File("browser.layout"));
        int Rows = 0;
        for (; L.count("dirpicture" + std::to_string(Rows)); ++Rows) {
            SCOPED_TRACE(Rows);
            const QRect P = L.at("dirpicture" + std::to_string(Rows));
            EXPECT_GT(CountOf(Shot, P, 0xFFC000) + CountOf(Shot, P, 0xFF8000), 25);
            EXPECT_GT(InkIn(Shot, L.at("dirtext" + std::to_string(Rows))), 5);
        }
        // The root, the tree's folders down to "videos", and its three
        // subfolders.
        EXPECT_GE(Rows, 5);
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, SkinDialogsEndToEnd,
                         testing::Values(TLook{"plain", "--plain", false, false},
                                         TLook{"test-skin", "--test-skin", true, false},
                                         TLook{"stored4", "--stored 4", false, true}),
                         [](const auto& Info) {
                             std::string N = Info.param.Name;
                             N.erase(std::remove(N.begin(), N.end(), '-'), N.end());
                             return N;
                         });

} // namespace
