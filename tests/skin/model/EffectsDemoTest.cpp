// The effects demonstration on a virtual X screen, without and with a
// compositor: the shaped window keeps its rounded corners cut out, and the
// glow layer shows only where translucency can be seen. Skipped without
// xvfb-run, xauth or xdotool; the compositor half is skipped when xcompmgr
// cannot start.
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
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

void RunDemo(const TTempDir& Dir, const std::string& Mode) {
    static std::atomic<int> Runs{0};
    const int Server =
        2000 + int((long(getpid()) * 89 + long(std::time(nullptr)) + Runs++ * 7907) % 50000);
    const std::string Command =
        "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(Dir.Path()) +
        " timeout 300 xvfb-run -a -n " + std::to_string(Server) +
        " -s '-screen 0 1920x1080x24 +extension Composite' " +
        Quote(SKIN_E2E_DIR "/e2e-effects.sh") + " " + Quote(SKIN_EFFECTS_DEMO) + " " +
        Quote(OSTRELA_BIN_DIR "/screenshot") + " " + Quote(Dir.Path()) + " " + Mode +
        " </dev/null >" + Quote(Dir.File("xvfb.txt")) + " 2>&1";
    ASSERT_EQ(std::system(Command.c_str()), 0) << ReadFile(Dir.File("xvfb.txt"));
}

bool Near(QRgb P, int R, int G, int B) {
    return std::abs(qRed(P) - R) <= 8 && std::abs(qGreen(P) - G) <= 8 &&
           std::abs(qBlue(P) - B) <= 8;
}

// The shaped window (1300, 100, 300 x 200) and the glow layer's middle (750, 380).
const QPoint ShapedCorner{1300, 100}, ShapedMiddle{1450, 200}, GlowMiddle{750, 380};

} // namespace

TEST(SkinEffectsEndToEnd, WithoutACompositorNoLayerIsShown) {
    if (!Available("xvfb-run") || !Available("xdotool") || !Available("xauth"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    TTempDir Dir;
    RunDemo(Dir, "");
    EXPECT_EQ(ReadFile(Dir.File("output.txt")), "layered windows: no\nready\n");
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");
    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"), OSTRELA_BUILD_DIR "/skin-effects-screen.png",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(Near(Shot.pixel(ShapedMiddle), 30, 90, 200));
    EXPECT_FALSE(Near(Shot.pixel(ShapedCorner), 30, 90, 200)) << "the rounded corner is cut out";
    EXPECT_TRUE(Near(Shot.pixel(GlowMiddle), 255, 255, 255)) << "no layer, no opaque band";
}

TEST(SkinEffectsEndToEnd, WithACompositorTheGlowIsTranslucent) {
    if (!Available("xvfb-run") || !Available("xdotool") || !Available("xauth"))
        GTEST_SKIP() << "xvfb-run, xauth or xdotool is not installed";
    if (!Available("xcompmgr"))
        GTEST_SKIP() << "xcompmgr is not installed";
    TTempDir Dir;
    RunDemo(Dir, "compositor");
    if (ReadFile(Dir.File("compositor.txt")) != "compositor\n")
        GTEST_SKIP() << "the compositor did not start: " << ReadFile(Dir.File("xcompmgr.txt"));
    EXPECT_EQ(ReadFile(Dir.File("output.txt")), "layered windows: yes\nready\n");
    EXPECT_EQ(ReadFile(Dir.File("status.txt")), "0\n");
    QImage Shot(QString::fromStdString(Dir.File("screen.png")));
    ASSERT_EQ(Shot.size(), QSize(1920, 1080));
    std::filesystem::copy_file(Dir.File("screen.png"),
                               OSTRELA_BUILD_DIR "/skin-effects-screen-composited.png",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(Near(Shot.pixel(ShapedMiddle), 30, 90, 200));
    EXPECT_FALSE(Near(Shot.pixel(ShapedCorner), 30, 90, 200));
    // The layer's blue over the white form: neither cut out nor opaque.
    const QRgb Glow = Shot.pixel(GlowMiddle);
    EXPECT_GT(qBlue(Glow), 200);
    EXPECT_LT(qRed(Glow), 200);
    EXPECT_GT(qRed(Glow), 0);
}
