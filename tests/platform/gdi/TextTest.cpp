#include "GdiTestSupport.h"
#include "platform/gdi/FontEngine.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

namespace {

// A surface with a font of the given face and height selected.
class TTextSurface : public TTestSurface {
public:
    TTextSurface(int W, int H, const char* Face = "Arial", LONG Height = -11,
                 LONG Weight = FW_NORMAL)
        : TTestSurface(W, H) {
        LOGFONT F;
        F.lfHeight = Height;
        F.lfWeight = Weight;
        F.lfFaceName = Face;
        FFont = CreateFontIndirect(&F);
        SelectObject(DC(), ToObj(FFont));
        SetBkMode(DC(), TRANSPARENT);
    }
    ~TTextSurface() {
        SelectObject(DC(), GetStockObject(DEFAULT_GUI_FONT));
        DeleteObject(ToObj(FFont));
    }

    int Width(std::string_view Text) {
        TSize S;
        GetTextExtentPoint32(DC(), Text, &S);
        return S.cx;
    }
    TEXTMETRIC Metrics() {
        TEXTMETRIC M;
        GetTextMetrics(DC(), &M);
        return M;
    }
    // The bounding box of non-white pixels.
    TRect Inked(int W, int H) {
        TRect B{W, H, -1, -1};
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if (PixelAt(X, Y) != RGB(255, 255, 255)) {
                    B.Left = std::min(B.Left, X);
                    B.Top = std::min(B.Top, Y);
                    B.Right = std::max(B.Right, X + 1);
                    B.Bottom = std::max(B.Bottom, Y + 1);
                }
        return B;
    }

private:
    HFONT FFont = 0;
};

} // namespace

TEST(Text, MetricsFollowTheLogicalHeight) {
    TTextSurface Em(8, 8, "MS Sans Serif", -11);
    const TEXTMETRIC M = Em.Metrics();
    EXPECT_EQ(M.tmHeight - M.tmInternalLeading, 11);
    EXPECT_EQ(M.tmHeight, M.tmAscent + M.tmDescent);
    EXPECT_GT(M.tmAveCharWidth, 0);

    TTextSurface Cell(8, 8, "Arial", 14);
    EXPECT_NEAR(Cell.Metrics().tmHeight, 14, 1);

    TTextSurface Bold(8, 8, "Arial", -11, FW_BOLD);
    EXPECT_GT(Bold.Width("Graphics layer"), Em.Width("Graphics layer"));
    EXPECT_EQ(Bold.Metrics().tmWeight, FW_BOLD);

    EXPECT_EQ(Em.Width("ab"), Em.Width("a") + Em.Width("b"));
    EXPECT_EQ(Em.Width(""), 0);
}

TEST(Text, CellHeightsTakeTheEmSizeWhoseCellComesClosest) {
    for (const char* Face : {"Arial", "宋体"}) {
        LOGFONT Log;
        Log.lfFaceName = Face;
        auto CellOf = [Log](int Em) mutable {
            Log.lfHeight = -Em;
            return TEngineFont::Create(Log)->Metrics().Height;
        };
        // Every em size in turn, the larger on a tie, up to the first whose
        // cell is too tall.
        auto Closest = [&](int Height) {
            int Best = 1, BestDiff = INT_MAX;
            for (int Em = 1;; ++Em) {
                const int Cell = CellOf(Em);
                if (std::abs(Cell - Height) <= BestDiff) {
                    BestDiff = std::abs(Cell - Height);
                    Best = Em;
                }
                if (Cell > Height)
                    return Best;
            }
        };
        for (int Height : {1, 2, 3, 7, 11, 14, 15, 16, 23, 40, 97}) {
            Log.lfHeight = Height;
            EXPECT_EQ(TEngineFont::Create(Log)->Metrics().EmSize, Closest(Height))
                << Face << " " << Height;
        }
    }
}

TEST(Text, DamagedHeightsAreDrawnAtTheLargestHeight) {
    TTextSurface Largest(8, 8, "Arial", MaxFontHeight);
    const TEXTMETRIC Limit = Largest.Metrics();
    EXPECT_LE(Limit.tmHeight, MaxFontHeight + 1);
    for (LONG Height : {LONG(20000), LONG(INT_MAX), LONG(-20000), LONG(INT_MIN)}) {
        TTextSurface S(40, 40, "Arial", Height);
        const TEXTMETRIC M = S.Metrics();
        if (Height > 0)
            EXPECT_EQ(M.tmHeight, Limit.tmHeight) << Height;
        else
            EXPECT_EQ(M.tmHeight - M.tmInternalLeading, MaxFontHeight) << Height;
        // Drawing measures and renders a glyph at that size.
        EXPECT_GT(S.Width("W"), 0) << Height;
        TextOut(S.DC(), -10, -10, "W");
    }
}

TEST(Text, FaceNamesResolveToInstalledFamilies) {
    for (const char* Face : {"MS Sans Serif", "Tahoma", "Arial", ""}) {
        TTextSurface A(8, 8, Face), B(8, 8, "Liberation Sans");
        EXPECT_EQ(A.Width("Hello, world"), B.Width("Hello, world")) << Face;
    }
}

TEST(Text, RedTextOnBlackIsAntialiasedCoverage) {
    TTextSurface S(40, 20, "Arial", 14);
    S.Fill(0);
    SetTextColor(S.DC(), RGB(255, 0, 0));
    TextOut(S.DC(), 2, 2, "Aa");
    int Partial = 0, Full = 0;
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 40; ++X) {
            const COLORREF C = S.PixelAt(X, Y);
            EXPECT_EQ(GetGValue(C), 0);
            EXPECT_EQ(GetBValue(C), 0);
            Partial += GetRValue(C) > 0 && GetRValue(C) < 255;
            Full = std::max(Full, int(GetRValue(C)));
            EXPECT_EQ(S.Raw(X, Y) >> 24, 0u); // drawing writes alpha 0
        }
    EXPECT_GT(Partial, 0);
    EXPECT_GT(Full, 200) << "the stems are nearly solid";
}

TEST(Text, ChineseFallsBackToAFaceThatHasIt) {
    TTextSurface S(60, 20, "Arial", 14);
    TextOut(S.DC(), 0, 0, "视频转换");
    const TRect Ink = S.Inked(60, 20);
    EXPECT_GT(Ink.Width(), 20);
    EXPECT_GT(S.Width("视频"), 2 * S.Metrics().tmAveCharWidth);
}

TEST(Text, OpaqueAndTransparentBackgrounds) {
    TTextSurface S(40, 20);
    SetBkColor(S.DC(), RGB(0, 0, 255));
    SetBkMode(S.DC(), OPAQUE);
    TextOut(S.DC(), 0, 0, "ab");
    const int W = S.Width("ab"), H = S.Metrics().tmHeight;
    EXPECT_EQ(S.PixelAt(W - 1, H - 1), RGB(0, 0, 255));
    EXPECT_EQ(S.PixelAt(W, 0), RGB(255, 255, 255));
    EXPECT_EQ(S.PixelAt(0, H), RGB(255, 255, 255));
    S.Fill(RGB(255, 255, 255));
    SetBkMode(S.DC(), TRANSPARENT);
    TextOut(S.DC(), 0, 0, "ab");
    EXPECT_EQ(S.PixelAt(W - 1, H - 1), RGB(255, 255, 255));
}

TEST(Text, DrawTextMeasuresAndBreaksLines) {
    TTextSurface S(200, 100);
    const int H = S.Metrics().tmHeight;
    TRect R{0, 0, 0, 0};
    EXPECT_EQ(DrawText(S.DC(), "Hello world", -1, &R, DT_CALCRECT | DT_SINGLELINE), H);
    EXPECT_EQ(R, Rect(0, 0, S.Width("Hello world"), H));

    // "aaa bbb" fits, "aaa bbb ccc" does not: two lines.
    const int Fit = S.Width("aaa bbb") + 2;
    R = {0, 0, Fit, 0};
    EXPECT_EQ(DrawText(S.DC(), "aaa bbb ccc", -1, &R, DT_CALCRECT | DT_WORDBREAK), 2 * H);
    EXPECT_EQ(R.Right, S.Width("aaa bbb"));

    // A word wider than the rectangle stays whole and widens the result.
    R = {0, 0, 10, 0};
    DrawText(S.DC(), "unbreakable x", -1, &R, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(R.Right, S.Width("unbreakable"));
    EXPECT_EQ(R.Bottom, 2 * H);

    // Chinese breaks between characters.
    R = {0, 0, S.Width("视频转"), 0};
    DrawText(S.DC(), "视频转换工具", -1, &R, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(R.Bottom, 2 * H);
    EXPECT_EQ(R.Right, S.Width("视频转"));

    // CR LF, LF CR, lone CR and lone LF are one break each.
    for (const char* Text : {"a\r\nb", "a\n\rb", "a\rb", "a\nb"}) {
        R = {0, 0, 100, 0};
        EXPECT_EQ(DrawText(S.DC(), Text, -1, &R, DT_CALCRECT), 2 * H) << Text;
    }
    R = {0, 0, 100, 0};
    EXPECT_EQ(DrawText(S.DC(), "a\r\n\r\nb", -1, &R, DT_CALCRECT), 3 * H);

    // An empty text measures 0 x 0.
    R = {5, 6, 50, 60};
    EXPECT_EQ(DrawText(S.DC(), "", -1, &R, DT_CALCRECT), 0);
    EXPECT_EQ(R, Rect(5, 6, 5, 6));

    // Tabs expand to multiples of 8 average widths only when asked.
    const int Ave = S.Metrics().tmAveCharWidth;
    R = {0, 0, 200, 0};
    DrawText(S.DC(), "a\tb", -1, &R, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(R.Right, 8 * Ave + S.Width("b"));
    R = {0, 0, 200, 0};
    DrawText(S.DC(), "a\tb", -1, &R, DT_CALCRECT);
    EXPECT_EQ(R.Right, S.Width("ab"));
    // Drawn, the tab counts from the line's start wherever the line is.
    SetBkMode(S.DC(), OPAQUE);
    SetBkColor(S.DC(), 0);
    R = {13, 0, 200, 40};
    DrawText(S.DC(), "a\tb", -1, &R, DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_EQ(S.Inked(200, 100).Right, 13 + 8 * Ave + S.Width("b"));
    SetBkMode(S.DC(), TRANSPARENT);
}

TEST(Text, DrawTextPositionsAndClips) {
    TTextSurface S(100, 40);
    const int H = S.Metrics().tmHeight, W = S.Width("Ab");
    struct Row {
        UINT Flags;
        int Left;
    };
    for (const Row& Case :
         {Row{DT_LEFT, 10}, Row{DT_CENTER, 10 + (80 - W) / 2}, Row{DT_RIGHT, 90 - W}}) {
        S.Fill(RGB(255, 255, 255));
        SetBkMode(S.DC(), OPAQUE);
        SetBkColor(S.DC(), 0);
        TRect R{10, 0, 90, 40};
        DrawText(S.DC(), "Ab", -1, &R, Case.Flags | DT_SINGLELINE);
        EXPECT_EQ(S.Inked(100, 40), Rect(Case.Left, 0, Case.Left + W, H)) << Case.Flags;
    }
    // DT_VCENTER needs DT_SINGLELINE; the answer is the bottom of the text.
    TRect R{0, 0, 100, 40};
    const int Top = (40 - H) / 2;
    EXPECT_EQ(DrawText(S.DC(), "Ab", -1, &R, DT_VCENTER | DT_SINGLELINE), Top + H);
    EXPECT_EQ(DrawText(S.DC(), "Ab", -1, &R, DT_VCENTER), H);

    // Nothing lands outside the rectangle without DT_NOCLIP.
    S.Fill(RGB(255, 255, 255));
    R = {0, 0, 6, 5};
    DrawText(S.DC(), "WWWW", -1, &R, DT_SINGLELINE);
    const TRect Ink = S.Inked(100, 40);
    EXPECT_LE(Ink.Right, 6);
    EXPECT_LE(Ink.Bottom, 5);
    R = {0, 0, 6, 5};
    DrawText(S.DC(), "WWWW", -1, &R, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(S.Inked(100, 40).Right, 6);
}

TEST(Text, EllipsisKeepsTheTextWithinTheRectangle) {
    TTextSurface S(300, 20);
    SetBkMode(S.DC(), OPAQUE);
    SetBkColor(S.DC(), 0);
    const std::string Path = "/home/user/videos/clip.avi";
    const int Limit = S.Width("/home/...") + S.Width("/clip.avi");
    TRect R{0, 0, Limit, 20};
    DrawText(S.DC(), Path, -1, &R, DT_SINGLELINE | DT_PATH_ELLIPSIS);
    // The opaque cell shows the drawn width: "/home/.../clip.avi" exactly.
    EXPECT_EQ(S.Inked(300, 20).Right, S.Width("/home/.../clip.avi"));

    S.Fill(RGB(255, 255, 255));
    const int EndLimit = S.Width("Graphics...") + 1;
    R = {0, 0, EndLimit, 20};
    DrawText(S.DC(), "Graphics layer", -1, &R, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(S.Inked(300, 20).Right, S.Width("Graphics..."));
}

TEST(Text, PrefixesUnderlineOneCharacter) {
    TTextSurface S(100, 20);
    const int H = S.Metrics().tmHeight;
    TRect R{0, 0, 100, 20};
    DrawText(S.DC(), "&File", -1, &R, DT_SINGLELINE);
    const int FW = S.Width("F");
    // The underline row: ink under "F" only.
    int Row = -1;
    for (int Y = S.Metrics().tmAscent + 1; Y < H && Row < 0; ++Y) {
        bool All = true;
        for (int X = 0; X < FW; ++X)
            All = All && S.PixelAt(X, Y) == 0;
        if (All)
            Row = Y;
    }
    ASSERT_GE(Row, 0);
    for (int X = FW; X < 100; ++X)
        EXPECT_EQ(S.PixelAt(X, Row), RGB(255, 255, 255)) << X;

    R = {0, 0, 100, 0};
    DrawText(S.DC(), "a&&b", -1, &R, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(R.Right, S.Width("a&b"));
    R = {0, 0, 100, 0};
    DrawText(S.DC(), "a&&b", -1, &R, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(R.Right, S.Width("a&&b"));
    R = {0, 0, 100, 0};
    DrawText(S.DC(), "ab&", -1, &R, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(R.Right, S.Width("ab"));
}

TEST(Text, TabbedTextOutUsesItsStops) {
    TTextSurface S(300, 20);
    const int Ave = S.Metrics().tmAveCharWidth, H = S.Metrics().tmHeight;
    const int Stops[] = {50, 120};
    auto Width = [&](const char* Text, int Count, const int* TabStops) {
        const LONG R = TabbedTextOut(S.DC(), 0, 0, Text, Count, TabStops, 0);
        EXPECT_EQ(R >> 16, H);
        return int(R & 0xFFFF);
    };
    EXPECT_EQ(Width("a\tb\tc", 2, Stops), 120 + S.Width("c"));
    EXPECT_EQ(Width("a\tb\tc\td", 2, Stops),
              ((120 + S.Width("c")) / (8 * Ave) + 1) * 8 * Ave + S.Width("d"));
    const int One[] = {30};
    EXPECT_EQ(Width("a\tb\tc", 1, One), 60 + S.Width("c"));
    EXPECT_EQ(Width("a\tb", 0, nullptr), 8 * Ave + S.Width("b"));
}

TEST(Text, ScreenDcMeasuresAndThreadsDrawAlike) {
    HDC Screen = CreateDC("DISPLAY");
    TSize Size;
    ASSERT_TRUE(GetTextExtentPoint32(Screen, "Hello", &Size));
    TEXTMETRIC M;
    ASSERT_TRUE(GetTextMetrics(Screen, &M));
    EXPECT_EQ(Size.cy, M.tmHeight);
    EXPECT_GT(Size.cx, 0);
    TRect R{0, 0, 100, 20};
    EXPECT_EQ(DrawText(Screen, "Hello", -1, &R, DT_SINGLELINE), M.tmHeight);
    DeleteDC(Screen);

    // Canvases of different threads draw the same text the same way.
    auto Draw = [] {
        TTextSurface S(120, 20, "Tahoma", -13);
        TextOut(S.DC(), 0, 0, "图形层 Graphics");
        return S.Picture();
    };
    const std::string Expected = Draw();
    std::vector<std::string> Results(4);
    std::vector<std::thread> Threads;
    for (std::size_t i = 0; i < Results.size(); ++i)
        Threads.emplace_back([&, i] {
            for (int k = 0; k < 5; ++k)
                Results[i] = Draw();
        });
    for (std::thread& T : Threads)
        T.join();
    for (const std::string& R2 : Results)
        EXPECT_EQ(R2, Expected);
}
