// The checks every generated skin passes before it is written: every
// element the program's forms look up exists with its kind, every
// rectangle lies in the picture it names, every nine-part geometry is
// valid, and every text and meaningful glyph is readable (WCAG 2 contrast,
// measured against every pixel it can stand on). A failure names the skin,
// the element, the state and the numbers.
#pragma once

#include "skin/model/bsSkinData.h"
#include "skin/stored/generator/Themes.h"

#include <string>
#include <vector>

namespace skingen {

struct TCheckFailure {
    std::string Skin;
    std::string Element;
    std::string State;
    std::string What;
    std::string Text() const;
};

// Every failure of the skin; none for a good skin.
std::vector<TCheckFailure> CheckSkin(TbsSkinData& Skin, const TTheme& Theme);

// The thresholds.
constexpr double TextContrast = 4.5;
constexpr double DisabledTextContrast = 2.5;
constexpr double GlyphContrast = 3.0;

} // namespace skingen
