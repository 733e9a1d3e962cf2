#include "skin/stored/generator/Themes.h"

namespace skingen {

namespace {
using M = TThemeMode;
using S = TSurfaceStyle;
using C = TCaptionStyle;
} // namespace

const std::vector<TTheme>& Themes() {
    // ieBrightness is never the inactive effect: the effect is applied to the
    // caption strip after its text is drawn, and brightening by half would
    // wash that text out.
    static const std::vector<TTheme> Table = {
        {"Clear Sky", "晴空", M::Light, 240, 0.08, 0.55, 4, S::Soft, C::Plain, false, false,
         ieGrayScale, 24, "Calm light theme with a soft sky-blue accent"},
        {"Cinnabar", "朱砂", M::Light, 32, 0.17, 0.55, 3, S::Glossy, C::Accent, true, true,
         ieGrayScale, 24, "Strong light theme with a cinnabar-red caption bar"},
        {"Bamboo", "竹青", M::Light, 155, 0.11, 0.55, 6, S::Flat, C::Tinted, true, false,
         ieGrayScale, 24, "Light theme with a bamboo-green tint"},
        {"Deep Sea", "深海", M::Dark, 250, 0.12, 0.74, 4, S::Flat, C::Plain, true, true,
         ieGrayScale, 24, "Dark theme with a deep-sea blue accent"},
        {"Lilac", "丁香", M::Light, 305, 0.10, 0.55, 8, S::Soft, C::Tinted, true, true, ieGrayScale,
         24, "Light theme with lilac tints and round corners"},
        {"Amber", "琥珀", M::Dark, 70, 0.13, 0.76, 2, S::Soft, C::Gradient, false, false,
         ieDarkness, 24, "Dark theme with an amber caption gradient"},
        {"Lake", "碧波", M::Light, 200, 0.10, 0.55, 0, S::Flat, C::Accent, false, true, ieGrayScale,
         24, "Light square-cornered theme with a lake-blue caption bar"},
        {"Graphite", "石墨", M::Dark, 210, 0.06, 0.74, 3, S::Flat, C::Plain, true, false,
         ieDarkness, 24, "Quiet dark graphite theme"},
        {"Rice Paper", "宣纸", M::Light, 80, 0.07, 0.55, 4, S::Soft, C::Plain, false, false,
         ieGrayScale, 24, "Warm light theme in the colours of rice paper"},
        {"Dusk Cherry", "暮樱", M::Dark, 355, 0.13, 0.74, 6, S::Glossy, C::Gradient, true, true,
         ieGrayScale, 24, "Dark theme with a cherry-pink caption gradient"},
        {"Ink", "墨白", M::Light, 260, 0.01, 0.28, 0, S::Flat, C::Accent, false, false, ieGrayScale,
         8, "Black-and-white ink theme with square corners"},
    };
    return Table;
}

} // namespace skingen
