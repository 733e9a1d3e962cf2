// Proves the GUI main and the install step: the application object runs on
// the offscreen platform and the fonts the skins rely on are installed.
#include <QFontDatabase>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(GuiMain, RunsOffscreenWithTheProgramsFonts) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
    const QStringList families = QFontDatabase::families();
    EXPECT_TRUE(families.contains("WenQuanYi Micro Hei")) << "fonts-wqy-microhei missing";
    EXPECT_TRUE(families.contains("Liberation Sans")) << "fonts-liberation2 missing";
}
