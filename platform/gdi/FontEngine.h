// Fonts, metrics and glyph coverage from Qt's font engine. The only unit of
// this layer that includes Qt; everything else sees integer metrics and
// 8-bit coverage masks that it composes itself.
#pragma once

#include "platform/gdi/Gdi.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TFontMetricsInfo {
    int Ascent = 0;
    int Descent = 0;
    int Height = 0; // ascent + descent
    int EmSize = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int UnderlinePos = 0; // pixels below the baseline
    int StrikeOutPos = 0; // pixels above the baseline
    int LineWidth = 1;
};

// Coverage of one character, placed relative to its pen position on the
// cell's top edge.
struct TGlyphMask {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
};

class TEngineFont {
public:
    // Raises EInvalidOperation when Qt's application object does not exist.
    static std::shared_ptr<TEngineFont> Create(const LOGFONT& Font);
    ~TEngineFont();

    const TFontMetricsInfo& Metrics() const { return FMetrics; }
    const std::string& Family() const { return FFamily; }
    int Advance(char32_t C);
    // The mask stays valid as long as the font.
    const TGlyphMask& Glyph(char32_t C);

private:
    TEngineFont() = default;
    static std::shared_ptr<TEngineFont> Build(const std::string& Family, const LOGFONT& Font);
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    TFontMetricsInfo FMetrics;
    std::string FFamily;
    std::unordered_map<char32_t, int> FAdvances;
    std::unordered_map<char32_t, std::unique_ptr<TGlyphMask>> FGlyphs;
};

// The largest font height, either way, that text is measured and drawn at.
// Only damaged data asks for more; such fonts are made at this height, so a
// glyph's bitmap and the size search stay bounded.
constexpr int MaxFontHeight = 1000;

// The installed family a face name maps to.
std::string ResolveFaceName(std::string_view Face);
// Raises EInvalidOperation when text cannot be measured or drawn.
void RequireFontEngine();
