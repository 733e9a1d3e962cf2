// Text: measuring with the font engine's integer advances, laying out lines
// as DrawText does, and composing glyph coverage into any surface.
#include "platform/core/Strings.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/GdiInternal.h"

#include <algorithm>

namespace gdi {

namespace {

struct TChar {
    char32_t C;
    bool Underline = false;
};
using TLine = std::vector<TChar>;

std::vector<char32_t> Decode(std::string_view Text) {
    std::vector<char32_t> Out;
    std::size_t Pos = 0;
    while (Pos < Text.size())
        Out.push_back(Utf8Next(Text, Pos));
    return Out;
}

TLine ToLine(const std::vector<char32_t>& Chars) {
    TLine L;
    for (char32_t C : Chars)
        L.push_back({C});
    return L;
}

std::shared_ptr<TEngineFont> EngineOf(TFontObj& F) {
    std::lock_guard Guard(F.EngineLock);
    if (!F.Engine)
        F.Engine = TEngineFont::Create(F.Log);
    return F.Engine;
}

struct TTextContext {
    std::shared_ptr<TFontObj> FontObj;
    std::shared_ptr<TEngineFont> Font;
    TFontMetricsInfo M;
    bool ExpandTabs = false;
    // Tab stops for TabbedTextOut; empty means none given.
    const int* TabStops = nullptr;
    int TabCount = 0;
    int TabOrigin = 0;
    bool TabbedMode = false;
};

bool MakeContext(TDcObj& Dc, TTextContext& Ctx) {
    Ctx.FontObj = SelectedFont(Dc);
    if (!Ctx.FontObj)
        return false;
    Ctx.Font = EngineOf(*Ctx.FontObj);
    Ctx.M = Ctx.Font->Metrics();
    return true;
}

// The x where a tab at X (relative to the line's start) moves to.
int NextTab(const TTextContext& Ctx, int X) {
    const int Eight = std::max(1, 8 * Ctx.M.AveCharWidth);
    if (Ctx.TabbedMode) {
        const int Pos = X - Ctx.TabOrigin;
        if (Ctx.TabCount <= 0 || !Ctx.TabStops)
            return Ctx.TabOrigin + (Pos / Eight + 1) * Eight;
        if (Ctx.TabCount == 1) {
            const int Step = std::max(1, Ctx.TabStops[0]);
            return Ctx.TabOrigin + (Pos / Step + 1) * Step;
        }
        for (int i = 0; i < Ctx.TabCount; ++i)
            if (Ctx.TabStops[i] > Pos)
                return Ctx.TabOrigin + Ctx.TabStops[i];
        return Ctx.TabOrigin + (Pos / Eight + 1) * Eight;
    }
    return (X / Eight + 1) * Eight;
}

bool IsTabbed(const TTextContext& Ctx) {
    return Ctx.ExpandTabs || Ctx.TabbedMode;
}

int CharWidth(TTextContext& Ctx, char32_t C, int X) {
    if (C == U'\t' && IsTabbed(Ctx))
        return NextTab(Ctx, X) - X;
    return Ctx.Font->Advance(C);
}

// Plain tabs take no room in DrawText without DT_EXPANDTABS.
bool Invisible(const TTextContext& Ctx, char32_t C, bool InDrawText) {
    return InDrawText && C == U'\t' && !IsTabbed(Ctx);
}

int LineWidth(TTextContext& Ctx, const TLine& L, bool InDrawText, int StartX = 0) {
    int X = StartX;
    for (const TChar& Ch : L)
        if (!Invisible(Ctx, Ch.C, InDrawText))
            X += CharWidth(Ctx, Ch.C, X);
    return X - StartX;
}

// Composes a glyph's coverage in Color at surface position (X, Y).
void Compose(const TTarget& T, const TGlyphMask& G, int X, int Y, TArgb Color, const TRect* Clip) {
    const int X0 = X + G.Left, Y0 = Y + G.Top;
    const std::uint32_t CR = (Color >> 16) & 0xFF, CG = (Color >> 8) & 0xFF, CB = Color & 0xFF;
    for (int GY = 0; GY < G.Height; ++GY) {
        const int SY = Y0 + GY;
        if (SY < 0 || SY >= T.Pixels.Height)
            continue;
        for (int GX = 0; GX < G.Width; ++GX) {
            const std::uint32_t A =
                G.Coverage[std::size_t(GY) * std::size_t(G.Width) + std::size_t(GX)];
            const int SX = X0 + GX;
            if (!A || !T.Visible(SX, SY))
                continue;
            if (Clip &&
                (SX < Clip->Left || SX >= Clip->Right || SY < Clip->Top || SY >= Clip->Bottom))
                continue;
            const TArgb D = ReadPixel(T.Pixels, SX, SY);
            auto Mix = [A](std::uint32_t S, std::uint32_t D) {
                return (S * A + D * (255 - A) + 127) / 255;
            };
            const TArgb Out = (Mix(CR, (D >> 16) & 0xFF) << 16) | (Mix(CG, (D >> 8) & 0xFF) << 8) |
                              Mix(CB, D & 0xFF);
            WritePixel(T.Pixels, SX, SY, Out);
        }
    }
}

void FillClipped(const TTarget& T, TRect R, TArgb Color, const TRect* Clip) {
    if (Clip)
        IntersectRect(&R, &R, Clip);
    if (IsRectEmpty(&R))
        return;
    ForEachSpan(T, R, [&](int X, int Y, int N) { FillSpan(T.Pixels, X, Y, N, Color & 0xFFFFFF); });
}

// Draws one line with its cell's top-left at surface (X, Y).
void DrawLine(const TTarget& T, TTextContext& Ctx, const TLine& L, int X, int Y, bool InDrawText,
              const TRect* Clip) {
    if (!T.Draws)
        return;
    const TDcState& S = T.Dc->State;
    const TArgb Color = ArgbFromColor(S.TextColor);
    // Tab positions count from the line's own start.
    const int Width = LineWidth(Ctx, L, InDrawText);
    if (S.BkMode == OPAQUE)
        FillClipped(T, {X, Y, X + Width, Y + Ctx.M.Height}, ArgbFromColor(S.BkColor), Clip);
    const LOGFONT& Log = Ctx.FontObj->Log;
    const int Baseline = Y + Ctx.M.Ascent;
    int PX = X;
    for (const TChar& Ch : L) {
        if (Invisible(Ctx, Ch.C, InDrawText))
            continue;
        const int Adv = CharWidth(Ctx, Ch.C, PX - X);
        if (Ch.C != U'\t' && Ch.C != U' ')
            Compose(T, Ctx.Font->Glyph(Ch.C), PX, Y, Color, Clip);
        if (Ch.Underline && !Log.lfUnderline)
            FillClipped(T,
                        {PX, Baseline + Ctx.M.UnderlinePos, PX + Adv,
                         Baseline + Ctx.M.UnderlinePos + Ctx.M.LineWidth},
                        Color, Clip);
        PX += Adv;
    }
    if (Log.lfUnderline)
        FillClipped(
            T,
            {X, Baseline + Ctx.M.UnderlinePos, PX, Baseline + Ctx.M.UnderlinePos + Ctx.M.LineWidth},
            Color, Clip);
    if (Log.lfStrikeOut)
        FillClipped(
            T,
            {X, Baseline - Ctx.M.StrikeOutPos, PX, Baseline - Ctx.M.StrikeOutPos + Ctx.M.LineWidth},
            Color, Clip);
}

// ---------------------------------------------------------------- DrawText layout

std::vector<TLine> SplitLines(const std::vector<char32_t>& Chars, bool Single) {
    std::vector<TLine> Lines(1);
    for (std::size_t i = 0; i < Chars.size(); ++i) {
        const char32_t C = Chars[i];
        if (C != U'\r' && C != U'\n') {
            Lines.back().push_back({C});
            continue;
        }
        if (Single)
            continue;
        // CR LF and LF CR are one break each.
        if (i + 1 < Chars.size() && (Chars[i + 1] == U'\r' || Chars[i + 1] == U'\n') &&
            Chars[i + 1] != C)
            ++i;
        Lines.emplace_back();
    }
    return Lines;
}

TLine ApplyPrefix(const TLine& In) {
    TLine Out;
    for (std::size_t i = 0; i < In.size(); ++i) {
        if (In[i].C != U'&') {
            Out.push_back(In[i]);
            continue;
        }
        if (i + 1 >= In.size())
            break; // a lone "&" at the end is dropped
        ++i;
        Out.push_back({In[i].C, In[i].C != U'&'});
    }
    return Out;
}

bool IsBlank(char32_t C) {
    return C == U' ' || C == U'\t';
}

bool IsCJK(char32_t C) {
    return (C >= 0x2E80 && C <= 0x9FFF) || (C >= 0xAC00 && C <= 0xD7AF) ||
           (C >= 0xF900 && C <= 0xFAFF) || (C >= 0xFE30 && C <= 0xFE4F) ||
           (C >= 0xFF00 && C <= 0xFFEF) || (C >= 0x20000 && C <= 0x3FFFF);
}

// Greedy breaking after blanks and between two CJK characters; blanks at a
// break are dropped, and a word wider than the width stays whole.
std::vector<TLine> WrapLine(TTextContext& Ctx, const TLine& L, int MaxWidth) {
    struct TUnit {
        std::size_t Begin, WordEnd, End;
    };
    std::vector<TUnit> Units;
    std::size_t i = 0;
    while (i < L.size()) {
        TUnit U{i, i, i};
        while (i < L.size() && !IsBlank(L[i].C)) {
            ++i;
            if (i < L.size() && IsCJK(L[i - 1].C) && IsCJK(L[i].C))
                break;
        }
        U.WordEnd = i;
        if (U.WordEnd == U.Begin || i >= L.size() || IsBlank(L[i].C))
            while (i < L.size() && IsBlank(L[i].C))
                ++i;
        U.End = i;
        Units.push_back(U);
    }
    std::vector<TLine> Out;
    TLine Current;
    std::size_t CurrentWordEnd = 0; // Current's length without its trailing blanks
    for (const TUnit& U : Units) {
        TLine Word(L.begin() + std::ptrdiff_t(U.Begin), L.begin() + std::ptrdiff_t(U.WordEnd));
        TLine Probe(Current.begin(), Current.end());
        Probe.insert(Probe.end(), Word.begin(), Word.end());
        if (CurrentWordEnd > 0 && U.WordEnd > U.Begin && LineWidth(Ctx, Probe, true) > MaxWidth) {
            Current.resize(CurrentWordEnd);
            Out.push_back(Current);
            Current.clear();
            CurrentWordEnd = 0;
        }
        Current.insert(Current.end(), L.begin() + std::ptrdiff_t(U.Begin),
                       L.begin() + std::ptrdiff_t(U.End));
        if (U.WordEnd > U.Begin)
            CurrentWordEnd = Current.size() - (U.End - U.WordEnd);
    }
    if (!Current.empty() || Out.empty()) {
        if (!Out.empty() && CurrentWordEnd > 0)
            Current.resize(CurrentWordEnd);
        Out.push_back(Current);
    }
    return Out;
}

TLine Dots() {
    return {{U'.'}, {U'.'}, {U'.'}};
}

TLine EndEllipsis(TTextContext& Ctx, const TLine& L, int MaxWidth) {
    if (LineWidth(Ctx, L, true) <= MaxWidth)
        return L;
    TLine Head = L;
    while (!Head.empty()) {
        Head.pop_back();
        TLine Probe = Head;
        for (const TChar& D : Dots())
            Probe.push_back(D);
        if (LineWidth(Ctx, Probe, true) <= MaxWidth)
            return Probe;
    }
    return Dots();
}

TLine PathEllipsis(TTextContext& Ctx, const TLine& L, int MaxWidth) {
    if (LineWidth(Ctx, L, true) <= MaxWidth)
        return L;
    std::size_t Sep = L.size();
    for (std::size_t i = L.size(); i-- > 0;)
        if (L[i].C == U'/' || L[i].C == U'\\') {
            Sep = i;
            break;
        }
    if (Sep == L.size())
        return EndEllipsis(Ctx, L, MaxWidth);
    const TLine Tail(L.begin() + std::ptrdiff_t(Sep), L.end());
    for (std::size_t Keep = Sep;; --Keep) {
        TLine Probe(L.begin(), L.begin() + std::ptrdiff_t(Keep));
        for (const TChar& D : Dots())
            Probe.push_back(D);
        Probe.insert(Probe.end(), Tail.begin(), Tail.end());
        if (LineWidth(Ctx, Probe, true) <= MaxWidth)
            return Probe;
        if (Keep == 0)
            break;
    }
    TLine Last = Dots();
    Last.insert(Last.end(), Tail.begin(), Tail.end());
    return EndEllipsis(Ctx, Last, MaxWidth);
}

} // namespace

} // namespace gdi

using namespace gdi;

BOOL GetTextMetrics(HDC DC, TEXTMETRIC* Metrics) {
    auto D = LookupDC(DC);
    if (!D || !Metrics)
        return FALSE;
    TTextContext Ctx;
    if (!MakeContext(*D, Ctx))
        return FALSE;
    const LOGFONT& Log = Ctx.FontObj->Log;
    *Metrics = {};
    Metrics->tmHeight = Ctx.M.Height;
    Metrics->tmAscent = Ctx.M.Ascent;
    Metrics->tmDescent = Ctx.M.Descent;
    Metrics->tmInternalLeading = Ctx.M.Height - Ctx.M.EmSize;
    Metrics->tmExternalLeading = Ctx.M.ExternalLeading;
    Metrics->tmAveCharWidth = Ctx.M.AveCharWidth;
    Metrics->tmMaxCharWidth = Ctx.M.MaxCharWidth;
    Metrics->tmWeight = Log.lfWeight >= 600 ? FW_BOLD : FW_NORMAL;
    Metrics->tmItalic = Log.lfItalic ? 1 : 0;
    Metrics->tmUnderlined = Log.lfUnderline ? 1 : 0;
    Metrics->tmStruckOut = Log.lfStrikeOut ? 1 : 0;
    Metrics->tmCharSet = Log.lfCharSet;
    Metrics->tmPitchAndFamily = 0x06; // variable pitch, TrueType
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC DC, std::string_view Text, TSize* Size) {
    auto D = LookupDC(DC);
    if (!D || !Size)
        return FALSE;
    TTextContext Ctx;
    if (!MakeContext(*D, Ctx))
        return FALSE;
    int W = 0;
    for (char32_t C : Decode(Text))
        W += Ctx.Font->Advance(C);
    *Size = {W, Ctx.M.Height};
    return TRUE;
}

BOOL ExtTextOut(HDC DC, int X, int Y, UINT Options, const TRect* R, std::string_view Text,
                const int* DX) {
    (void)DX;
    TTarget T;
    if (!ResolveTarget(DC, T))
        return FALSE;
    TTextContext Ctx;
    if (!MakeContext(*T.Dc, Ctx))
        return FALSE;
    TRect Clip;
    const bool Clipped = R && (Options & ETO_CLIPPED);
    if (R)
        Clip = T.ToSurface(*R);
    if (R && (Options & ETO_OPAQUE) && T.Draws)
        FillClipped(T, Clip, ArgbFromColor(T.Dc->State.BkColor), nullptr);
    const TLine L = ToLine(Decode(Text));
    DrawLine(T, Ctx, L, T.SX(X), T.SY(Y), false, Clipped ? &Clip : nullptr);
    return TRUE;
}

BOOL TextOut(HDC DC, int X, int Y, std::string_view Text) {
    return ExtTextOut(DC, X, Y, 0, nullptr, Text);
}

LONG TabbedTextOut(HDC DC, int X, int Y, std::string_view Text, int TabCount, const int* TabStops,
                   int TabOrigin) {
    TTarget T;
    if (!ResolveTarget(DC, T))
        return 0;
    TTextContext Ctx;
    if (!MakeContext(*T.Dc, Ctx))
        return 0;
    Ctx.TabbedMode = true;
    Ctx.TabStops = TabStops;
    Ctx.TabCount = TabCount;
    // Stops count from TabOrigin in logical units; lines are measured from X.
    Ctx.TabOrigin = TabOrigin - X;
    const TLine L = ToLine(Decode(Text));
    const int Width = LineWidth(Ctx, L, false);
    DrawLine(T, Ctx, L, T.SX(X), T.SY(Y), false, nullptr);
    return LONG((std::uint32_t(Ctx.M.Height) << 16) | (std::uint32_t(Width) & 0xFFFF));
}

int DrawText(HDC DC, std::string_view Text, int Count, TRect* R, UINT Format) {
    TTarget T;
    if (!R || !ResolveTarget(DC, T))
        return 0;
    if (Count >= 0 && std::size_t(Count) < Text.size())
        Text = Text.substr(0, std::size_t(Count));
    const bool Calc = (Format & DT_CALCRECT) != 0;
    if (Text.empty()) {
        if (Calc) {
            R->Right = R->Left;
            R->Bottom = R->Top;
        }
        return 0;
    }
    TTextContext Ctx;
    if (!MakeContext(*T.Dc, Ctx))
        return 0;
    Ctx.ExpandTabs = (Format & DT_EXPANDTABS) != 0;
    const bool Single = (Format & DT_SINGLELINE) != 0;
    const int RectWidth = R->Width();

    std::vector<TLine> Lines;
    for (TLine& L : SplitLines(Decode(Text), Single)) {
        if (!(Format & DT_NOPREFIX))
            L = ApplyPrefix(L);
        if ((Format & DT_WORDBREAK) && !Single) {
            for (TLine& W : WrapLine(Ctx, L, RectWidth))
                Lines.push_back(std::move(W));
        } else {
            Lines.push_back(std::move(L));
        }
    }
    for (TLine& L : Lines) {
        if (Format & DT_PATH_ELLIPSIS)
            L = PathEllipsis(Ctx, L, RectWidth);
        else if (Format & DT_END_ELLIPSIS)
            L = EndEllipsis(Ctx, L, RectWidth);
    }
    std::vector<int> Widths;
    int MaxWidth = 0;
    for (const TLine& L : Lines) {
        Widths.push_back(LineWidth(Ctx, L, true));
        MaxWidth = std::max(MaxWidth, Widths.back());
    }
    const int LineHeight = Ctx.M.Height;
    const int TotalHeight = LineHeight * int(Lines.size());
    if (Calc) {
        R->Right = R->Left + MaxWidth;
        R->Bottom = R->Top + TotalHeight;
        return TotalHeight;
    }
    int Top = R->Top;
    if (Single && (Format & DT_VCENTER))
        Top = R->Top + (R->Height() - LineHeight) / 2;
    else if (Single && (Format & DT_BOTTOM))
        Top = R->Bottom - LineHeight;
    const TRect Clip = T.ToSurface(*R);
    const bool NoClip = (Format & DT_NOCLIP) != 0;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        int Left = R->Left;
        if (Format & DT_CENTER)
            Left = R->Left + (RectWidth - Widths[i]) / 2;
        else if (Format & DT_RIGHT)
            Left = R->Right - Widths[i];
        DrawLine(T, Ctx, Lines[i], T.SX(Left), T.SY(Top + int(i) * LineHeight), true,
                 NoClip ? nullptr : &Clip);
    }
    if (Single && (Format & (DT_VCENTER | DT_BOTTOM)))
        return Top - R->Top + LineHeight;
    return TotalHeight;
}

int DrawTextEx(HDC DC, std::string_view Text, int Count, TRect* R, UINT Format,
               DRAWTEXTPARAMS* Params) {
    (void)Params;
    return DrawText(DC, Text, Count, R, Format);
}
