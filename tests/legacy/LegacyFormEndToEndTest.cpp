// The legacy settings form on a virtual X screen, photographed in six
// states: each region shows its skin's colours and text, the drop-downs open
// under their combos, and the stored skins and the plain look replace the test
// skin's faces. Skipped when the tools are missing; every step has a limit.
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
#include <set>
#include <sstream>

namespace {

std::uint32_t Rgb(QRgb P) {
    return P & 0xFFFFFF;
}

using TLayout = std::map<std::string, QRect>;

struct TPicture {
    QImage Shot;
    TLayout Layout;

    int Count(const std::string& Region, std::uint32_t Colour) const {
        const QRect Area = Layout.at(Region);
        int N = 0;
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
            for (int X = Area.left(); X <= Area.right(); ++X)
                N += Rgb(Shot.pixel(X, Y)) == Colour;
        return N;
    }
    // Pixels clearly darker than the region's faces: the text and lines.
    int Dark(const std::string& Region) const {
        const QRect Area = Layout.at(Region);
        int N = 0;
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
            for (int X = Area.left(); X <= Area.right(); ++X)
                N += qGray(Shot.pixel(X, Y)) < 80;
        return N;
    }
    std::set<std::uint32_t> Colours(const std::string& Region) const {
        const QRect Area = Layout.at(Region);
        std::set<std::uint32_t> Seen;
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
            for (int X = Area.left(); X <= Area.right(); ++X)
                Seen.insert(Rgb(Shot.pixel(X, Y)));
        return Seen;
    }
    int Area(const std::string& Region) const {
        return Layout.at(Region).width() * Layout.at(Region).height();
    }
};

const char* const Regions[] = {"panel", "category", "profile", "pages", "list1", "list2",
                               "list3", "list4",    "list5",   "list6", "ok",    "cancel"};

std::uint32_t System(int Index) {
    const COLORREF C = GetSysColor(Index);
    return (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
}

} // namespace

TEST(LegacyFormEndToEnd, SixStatesReachTheScreenInTheirSkins) {
    if (!ToolAvailable("xvfb-run") || !ToolAvailable("xauth"))
        GTEST_SKIP() << "xvfb-run or xauth is not installed";
    TTempDir Dir;
    ASSERT_EQ(RunDemoOnVirtualScreen(LEGACY_DEMO_SCRIPT, LEGACY_DEMO, OSTRELA_BIN_DIR "/screenshot",
                                     Dir.Path(), "1280x800x24", 400),
              0)
        << ReadTextFile(Dir.File("xvfb.txt"));
    EXPECT_EQ(ReadTextFile(Dir.File("stderr.txt")), "");
    ASSERT_EQ(ReadTextFile(Dir.File("output.txt")), "ready\nready\nready\nready\nready\nready\n");
    EXPECT_EQ(ReadTextFile(Dir.File("status.txt")), "0\n");

    std::vector<TPicture> Pictures(6);
    for (int State = 0; State < 6; ++State) {
        const std::string Png = Dir.File("screen-" + std::to_string(State) + ".png");
        ASSERT_TRUE(Pictures[State].Shot.load(QString::fromStdString(Png))) << State;
        std::filesystem::copy_file(
            Png, OSTRELA_BUILD_DIR "/legacy-form-" + std::to_string(State) + ".png",
            std::filesystem::copy_options::overwrite_existing);
        std::ifstream In(Dir.File("layout-" + std::to_string(State) + ".txt"));
        std::string Name;
        int X, Y, W, H;
        while (In >> Name >> X >> Y >> W >> H)
            Pictures[State].Layout[Name] = QRect(X, Y, W, H);
        for (const char* Region : Regions)
            ASSERT_TRUE(Pictures[State].Layout.count(Region)) << State << ' ' << Region;
    }

    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    auto Face = [&](const std::string& Region) {
        return Skin.Picture("controls.bmp").ColourOf(Region);
    };

    // ---- the test skin: every region in its element's face, with text.
    {
        const TPicture& P = Pictures[0];
        EXPECT_GT(P.Count("panel", Face("panel.face")), P.Area("panel") / 3);
        EXPECT_GT(P.Count("pages", Face("tab.face")), 0);
        for (const char* Region :
             {"category", "profile", "list1", "list2", "list3", "list4", "list5", "list6"}) {
            SCOPED_TRACE(Region);
            EXPECT_GT(P.Count(Region, Face("combobox.face")), P.Area(Region) / 4);
            EXPECT_GT(P.Dark(Region), 10);
        }
        for (const char* Region : {"ok", "cancel"}) {
            SCOPED_TRACE(Region);
            EXPECT_GT(P.Count(Region, Face("button.normal")), P.Area(Region) / 4);
            EXPECT_GT(P.Dark(Region), 10);
        }
    }
    // ---- the drop-downs open right under their combos, with content.
    for (auto [State, Combo] : {std::pair{1, "category"}, {2, "profile"}}) {
        SCOPED_TRACE(Combo);
        const TPicture& P = Pictures[State];
        ASSERT_TRUE(P.Layout.count("dropdown"));
        const QRect Down = P.Layout.at("dropdown"), Under = P.Layout.at(Combo);
        EXPECT_NEAR(Down.top(), Under.bottom() + 1, 2);
        // Narrower or wider, a drop-down lines up with its combo's right edge.
        EXPECT_NEAR(Down.right(), Under.right(), 2);
        EXPECT_GT(Down.height(), 100);
        EXPECT_GT(P.Colours("dropdown").size(), 4u);
        EXPECT_GT(P.Dark("dropdown"), 50);
        // Nothing was open in the first picture.
        EXPECT_FALSE(Pictures[0].Layout.count("dropdown"));
    }
    // ---- the stored skins: no region keeps a test-skin face, each has
    // several colours, and the two skins differ.
    for (int State : {3, 4}) {
        SCOPED_TRACE(State);
        const TPicture& P = Pictures[State];
        EXPECT_EQ(P.Count("panel", Face("panel.face")), 0);
        for (const char* Region : Regions) {
            SCOPED_TRACE(Region);
            EXPECT_EQ(P.Count(Region, Face("combobox.face")), 0);
            EXPECT_EQ(P.Count(Region, Face("button.normal")), 0);
            EXPECT_GT(P.Colours(Region).size(), 2u);
        }
        EXPECT_GT(P.Dark("list1") + P.Dark("ok"), 10);
    }
    EXPECT_NE(Pictures[3].Colours("panel"), Pictures[4].Colours("panel"));
    // ---- the plain look: the system's button face.
    {
        const TPicture& P = Pictures[5];
        EXPECT_GT(P.Count("panel", System(COLOR_BTNFACE)), P.Area("panel") / 3);
        EXPECT_GT(P.Count("ok", System(COLOR_BTNFACE)), P.Area("ok") / 3);
        EXPECT_GT(P.Dark("ok"), 10);
    }
}
