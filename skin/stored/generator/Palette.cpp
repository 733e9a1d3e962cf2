#include "skin/stored/generator/Palette.h"

#include "skin/model/bsEffects.EffectBmp.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace skingen {

namespace {

constexpr double Pi = 3.14159265358979323846;

struct TLab {
    double L, A, B;
};

TLab ToLab(const TLch& C) {
    const double H = C.H * Pi / 180.0;
    return {C.L, C.C * std::cos(H), C.C * std::sin(H)};
}

TLch ToLch(const TLab& Lab) {
    double H = std::atan2(Lab.B, Lab.A) * 180.0 / Pi;
    if (H < 0)
        H += 360.0;
    return {Lab.L, std::sqrt(Lab.A * Lab.A + Lab.B * Lab.B), H};
}

void LabToLinear(const TLab& Lab, double Rgb[3]) {
    const double L_ = Lab.L + 0.3963377774 * Lab.A + 0.2158037573 * Lab.B;
    const double M_ = Lab.L - 0.1055613458 * Lab.A - 0.0638541728 * Lab.B;
    const double S_ = Lab.L - 0.0894841775 * Lab.A - 1.2914855480 * Lab.B;
    const double L = L_ * L_ * L_, M = M_ * M_ * M_, S = S_ * S_ * S_;
    Rgb[0] = 4.0767416621 * L - 3.3077115913 * M + 0.2309699292 * S;
    Rgb[1] = -1.2684380046 * L + 2.6097574011 * M - 0.3413193965 * S;
    Rgb[2] = -0.0041960863 * L - 0.7034186147 * M + 1.7076147010 * S;
}

TLab LinearToLab(const double Rgb[3]) {
    const double L = 0.4122214708 * Rgb[0] + 0.5363325363 * Rgb[1] + 0.0514459929 * Rgb[2];
    const double M = 0.2119034982 * Rgb[0] + 0.6806995451 * Rgb[1] + 0.1073969566 * Rgb[2];
    const double S = 0.0883024619 * Rgb[0] + 0.2817188376 * Rgb[1] + 0.6299787005 * Rgb[2];
    const double L_ = std::cbrt(L), M_ = std::cbrt(M), S_ = std::cbrt(S);
    return {0.2104542553 * L_ + 0.7936177850 * M_ - 0.0040720468 * S_,
            1.9779984951 * L_ - 2.4285922050 * M_ + 0.4505937099 * S_,
            0.0259040371 * L_ + 0.7827717662 * M_ - 0.8086757660 * S_};
}

bool InGamut(const double Rgb[3]) {
    constexpr double Eps = 1e-7;
    return std::all_of(Rgb, Rgb + 3, [](double V) { return V >= -Eps && V <= 1 + Eps; });
}

int Encode(double Linear) {
    Linear = std::clamp(Linear, 0.0, 1.0);
    const double V =
        Linear <= 0.0031308 ? 12.92 * Linear : 1.055 * std::pow(Linear, 1 / 2.4) - 0.055;
    return std::clamp(int(std::lround(V * 255.0)), 0, 255);
}

double Decode(int Channel) {
    const double C = Channel / 255.0;
    return C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
}

void Channels(TRgb C, double Rgb[3]) {
    Rgb[0] = Decode(int((C >> 16) & 0xFF));
    Rgb[1] = Decode(int((C >> 8) & 0xFF));
    Rgb[2] = Decode(int(C & 0xFF));
}

double Luminance(TRgb C) {
    double Rgb[3];
    Channels(C, Rgb);
    return 0.2126 * Rgb[0] + 0.7152 * Rgb[1] + 0.0722 * Rgb[2];
}

TLch Lch(double L, double C, double H) {
    return {std::clamp(L, 0.0, 1.0), C, H};
}

TLch Shifted(const TLch& C, double DL) {
    return Lch(C.L + DL, C.C, C.H);
}

constexpr int CaptionHeight = 30;

bool Readable(TRgb Text, const TFill& Fill, int Rows) {
    for (int Y = 0; Y < Rows; ++Y)
        if (ContrastRatio(Text, Fill.Row(Y, Rows)) < 4.5)
            return false;
    return true;
}

// The first of Choices readable on every row of the fill; when none is,
// white when it is readable, else near-black at the fill's hue.
TRgb TextOn(const TFill& Fill, int Rows, std::initializer_list<TRgb> Choices = {}) {
    for (TRgb C : Choices)
        if (Readable(C, Fill, Rows))
            return C;
    if (Readable(0xFFFFFF, Fill, Rows))
        return 0xFFFFFF;
    return LchToRgb(Lch(0.20, 0.02, Fill.Base.H));
}

// Keeps every row of a fill that carries text on the side of the text's
// threshold: at most 0.57 under light text, at least 0.70 under dark text.
void KeepTextSide(TFill& Fill) {
    const double Mid = (Fill.MinL() + Fill.MaxL()) / 2;
    if (Mid <= 0.635) {
        const double Over = Fill.MaxL() - 0.57;
        if (Over > 0)
            Fill.Base.L -= Over;
    } else {
        const double Under = 0.70 - Fill.MinL();
        if (Under > 0)
            Fill.Base.L += Under;
    }
}

TFill StyledFill(const TLch& Base, TSurfaceStyle Style) {
    TFill F;
    F.Base = Base;
    F.Style = Style;
    F.Spread = Style == TSurfaceStyle::Soft ? 0.03 : Style == TSurfaceStyle::Glossy ? 0.03 : 0;
    return F;
}

bool ReadableAfter(TbsInActiveEffect Effect, TRgb Text, const TFill& Fill) {
    // Column 0 the bar, column 1 the text.
    std::vector<TRgb> Strip;
    for (int Y = 0; Y < CaptionHeight; ++Y) {
        Strip.push_back(Fill.Row(Y, CaptionHeight));
        Strip.push_back(Text);
    }
    ApplyInActiveEffect(Strip, 2, CaptionHeight, Effect);
    for (int Y = 0; Y < CaptionHeight; ++Y)
        if (ContrastRatio(Strip[std::size_t(Y) * 2], Strip[1]) < 4.5)
            return false;
    return true;
}

} // namespace

TRgb LchToRgb(const TLch& Colour) {
    double Lo = 0, Hi = Colour.C;
    double Rgb[3];
    LabToLinear(ToLab(Colour), Rgb);
    if (!InGamut(Rgb)) {
        for (int i = 0; i < 40; ++i) {
            const double Mid = (Lo + Hi) / 2;
            LabToLinear(ToLab({Colour.L, Mid, Colour.H}), Rgb);
            (InGamut(Rgb) ? Lo : Hi) = Mid;
        }
        LabToLinear(ToLab({Colour.L, Lo, Colour.H}), Rgb);
    }
    return TRgb(Encode(Rgb[0]) << 16 | Encode(Rgb[1]) << 8 | Encode(Rgb[2]));
}

TLch RgbToLch(TRgb Colour) {
    double Rgb[3];
    Channels(Colour, Rgb);
    return ToLch(LinearToLab(Rgb));
}

TLch MixLch(const TLch& A, const TLch& B, double T) {
    const TLab X = ToLab(A), Y = ToLab(B);
    return ToLch({X.L + (Y.L - X.L) * T, X.A + (Y.A - X.A) * T, X.B + (Y.B - X.B) * T});
}

double OklabDistance(TRgb A, TRgb B) {
    double RA[3], RB[3];
    Channels(A, RA);
    Channels(B, RB);
    const TLab X = LinearToLab(RA), Y = LinearToLab(RB);
    return std::sqrt((X.L - Y.L) * (X.L - Y.L) + (X.A - Y.A) * (X.A - Y.A) +
                     (X.B - Y.B) * (X.B - Y.B));
}

double ContrastRatio(TRgb A, TRgb B) {
    const double YA = Luminance(A), YB = Luminance(B);
    return (std::max(YA, YB) + 0.05) / (std::min(YA, YB) + 0.05);
}

std::uint32_t ToColor(TRgb Colour) {
    return ((Colour & 0xFF) << 16) | (Colour & 0xFF00) | ((Colour >> 16) & 0xFF);
}

TRgb FromColor(std::uint32_t Color) {
    return ((Color & 0xFF) << 16) | (Color & 0xFF00) | ((Color >> 16) & 0xFF);
}

TRgb TFill::Row(int Y, int Height) const {
    if (Style == TSurfaceStyle::Flat || Height <= 1)
        return LchToRgb(Base);
    if (Style == TSurfaceStyle::Glossy)
        return LchToRgb(Y < Height / 2 ? Shifted(Base, Spread) : Base);
    const double T = double(Y) / double(Height - 1);
    return LchToRgb(Shifted(Base, Spread / 2 - Spread * T));
}

double TFill::MinL() const {
    return Style == TSurfaceStyle::Soft ? Base.L - Spread / 2 : Base.L;
}

double TFill::MaxL() const {
    return Style == TSurfaceStyle::Flat   ? Base.L
           : Style == TSurfaceStyle::Soft ? Base.L + Spread / 2
                                          : Base.L + Spread;
}

TPalette MakePalette(const TTheme& Theme, const TPaletteRule& Rule) {
    const bool Light = Theme.Mode == TThemeMode::Light;
    const double H = Theme.AccentHue;
    TPalette P;
    P.Mode = Theme.Mode;
    P.AccentLch = Lch(Theme.AccentL, Theme.AccentChroma, H);
    const TLch Surface = Light ? Lch(0.965, 0.006, H) : Lch(0.25, 0.012, H);
    const TLch Field = Light ? Lch(0.995, 0.003, H) : Lch(0.20, 0.010, H);
    const TLch Border = Light ? Lch(0.80, 0.015, H) : Lch(0.42, 0.02, H);
    P.Surface = LchToRgb(Surface);
    P.Field = LchToRgb(Field);
    P.Border = LchToRgb(Border);
    P.Accent = LchToRgb(P.AccentLch);
    P.AccentHot = LchToRgb(Shifted(P.AccentLch, Light ? -0.03 : 0.04));
    P.AccentDown = LchToRgb(Shifted(P.AccentLch, Light ? -0.07 : -0.04));
    P.StrongBorder = P.Accent;
    P.Text = LchToRgb(Light ? Lch(Rule.LightTextL, 0.02, H) : Lch(Rule.DarkTextL, 0.01, H));
    P.DisabledText = LchToRgb(Light ? Lch(0.63, 0.01, H) : Lch(0.56, 0.01, H));
    P.Face = StyledFill(Light ? Lch(0.975, 0.006, H) : Lch(0.33, 0.012, H), Theme.Surface);
    P.FaceHot = StyledFill(Light ? Lch(0.935, 0.03, H) : Lch(0.38, 0.04, H), Theme.Surface);
    P.FaceDown = StyledFill(Light ? Lch(0.87, 0.05, H) : Lch(0.23, 0.012, H), TSurfaceStyle::Flat);
    TFill AccentFill;
    AccentFill.Base = P.AccentLch;
    P.TextOnAccent = TextOn(AccentFill, 1);
    const double Mix = Light ? 0.15 : 0.25;
    P.MenuBg = P.Field;
    P.MenuHot = LchToRgb(MixLch(Field, P.AccentLch, Mix));
    P.HintBg = LchToRgb(Light ? Lch(0.97, 0.02, H) : Lch(0.30, 0.03, H));
    P.HintText = P.Text;
    P.BtnHighLight = LchToRgb(Shifted(Surface, Light ? 0.03 : 0.08));
    P.BtnShadow = LchToRgb(Light ? Shifted(Border, -0.15) : Shifted(Surface, -0.08));
    P.CloseHot = LchToRgb(Lch(0.55, 0.19, 27));
    P.CloseGlyph = 0xFFFFFF;
    P.ThumbNormal = LchToRgb(MixLch(Border, P.AccentLch, Light ? 0.25 : 0.35));

    switch (Theme.Caption) {
    case TCaptionStyle::Plain:
        P.Caption = StyledFill(Surface, Theme.Surface);
        break;
    case TCaptionStyle::Tinted:
        P.Caption = StyledFill(MixLch(Surface, P.AccentLch, 0.12), Theme.Surface);
        break;
    case TCaptionStyle::Accent:
        P.Caption = StyledFill(P.AccentLch, Theme.Surface);
        KeepTextSide(P.Caption);
        break;
    case TCaptionStyle::Gradient:
        P.Caption.Base = P.AccentLch;
        P.Caption.Style = TSurfaceStyle::Soft;
        P.Caption.Spread = 0.08;
        KeepTextSide(P.Caption);
        break;
    }
    const bool OnAccent =
        Theme.Caption == TCaptionStyle::Accent || Theme.Caption == TCaptionStyle::Gradient;
    P.CaptionText = OnAccent ? TextOn(P.Caption, CaptionHeight) : P.Text;
    // An inactive effect is applied to the caption strip with its text on
    // it; a bar under dark text is lifted until the text stays readable
    // after the effect.
    if (!Theme.InActivePicture)
        for (int Step = 0;
             Step < 30 && !ReadableAfter(Theme.InActiveEffect, P.CaptionText, P.Caption); ++Step) {
            const double DL = P.Caption.MinL() >= 0.5 ? 0.01 : -0.01;
            P.Caption.Base.L += DL;
            if (OnAccent)
                P.CaptionText = TextOn(P.Caption, CaptionHeight);
        }
    // The inactive caption: desaturated and moved toward the surface.
    P.InActiveCaption = P.Caption;
    P.InActiveCaption.Base = MixLch(Lch(P.Caption.Base.L, P.Caption.Base.C * 0.3, H), Surface, 0.5);
    // Its text is softened toward the surface where that stays readable.
    P.InActiveCaptionText =
        TextOn(P.InActiveCaption, CaptionHeight,
               {LchToRgb(MixLch(RgbToLch(P.Text), Surface, 0.25)), P.Text, P.TextOnAccent});
    return P;
}

void ApplyInActiveEffect(std::vector<TRgb>& Pixels, int Width, int Height,
                         TbsInActiveEffect Effect) {
    if (Width <= 0 || Height <= 0)
        return;
    TbsEffectBmp E(Width, Height);
    const int Stride = Width * 3 + Width % 4;
    auto At = [&](int X, int Y) { return E.Bits + std::ptrdiff_t(Y) * Stride + X * 3; };
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const TRgb C = Pixels[std::size_t(Y) * Width + X];
            BYTE* P = At(X, Y);
            P[0] = BYTE(C & 0xFF);
            P[1] = BYTE((C >> 8) & 0xFF);
            P[2] = BYTE((C >> 16) & 0xFF);
        }
    switch (Effect) {
    case ieBrightness:
        E.ChangeBrightness(0.5);
        break;
    case ieDarkness:
        E.ChangeDarkness(0.3);
        break;
    case ieGrayScale:
        E.GrayScale();
        break;
    case ieNoise:
        E.AddMonoNoise(50);
        break;
    case ieSplitBlur:
        E.SplitBlur(1);
        break;
    case ieInvert:
        E.Invert();
        break;
    }
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const BYTE* P = At(X, Y);
            Pixels[std::size_t(Y) * Width + X] = TRgb(P[2]) << 16 | TRgb(P[1]) << 8 | P[0];
        }
}

} // namespace skingen
