#include "GdiTestSupport.h"
#include "platform/gdi/Graphics.h"

#include <gtest/gtest.h>

namespace {

HBRUSH Stock(int Index) {
    return FromObj<HBRUSH>(GetStockObject(Index));
}

} // namespace

TEST(Draw, LinesLeaveOutTheirEndPoint) {
    struct Row {
        TPoint From, To;
        std::string Expected;
    };
    const Row Rows_[] = {
        {{1, 2}, {5, 2}, Rows({"......", "......", ".####.", "......", "......", "......"})},
        {{5, 2}, {1, 2}, Rows({"......", "......", "..####", "......", "......", "......"})},
        {{2, 0}, {2, 4}, Rows({"..#...", "..#...", "..#...", "..#...", "......", "......"})},
        {{2, 4}, {2, 0}, Rows({"......", "..#...", "..#...", "..#...", "..#...", "......"})},
        {{0, 0}, {4, 4}, Rows({"#.....", ".#....", "..#...", "...#..", "......", "......"})},
        {{4, 4}, {0, 0}, Rows({"......", ".#....", "..#...", "...#..", "....#.", "......"})},
        {{0, 4}, {4, 0}, Rows({"......", "...#..", "..#...", ".#....", "#.....", "......"})},
        {{4, 0}, {0, 4}, Rows({"....#.", "...#..", "..#...", ".#....", "......", "......"})},
        {{3, 3}, {4, 3}, Rows({"......", "......", "......", "...#..", "......", "......"})},
        {{3, 3}, {3, 3}, Rows({"......", "......", "......", "......", "......", "......"})},
    };
    for (const Row& R : Rows_) {
        TTestSurface S(6, 6);
        MoveToEx(S.DC(), R.From.X, R.From.Y, nullptr);
        LineTo(S.DC(), R.To.X, R.To.Y);
        EXPECT_EQ(S.Picture(), R.Expected) << R.From.X << "," << R.From.Y;
        TPoint Pos;
        GetCurrentPositionEx(S.DC(), &Pos);
        EXPECT_EQ(Pos, R.To);
    }
    TTestSurface S(6, 6);
    SetROP2(S.DC(), R2_XORPEN); // a corner drawn twice would come back white
    SelectObject(S.DC(), GetStockObject(WHITE_PEN));
    const TPoint Square[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, 1}};
    Polyline(S.DC(), Square, 5);
    EXPECT_EQ(S.Picture(), Rows({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
}

TEST(Draw, RectanglesFollowThePixelRules) {
    const std::map<COLORREF, char> Legend{{RGB(255, 0, 0), 'r'}};
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    {
        TTestSurface S(7, 6);
        SelectObject(S.DC(), ToObj(Red));
        Rectangle(S.DC(), 0, 0, 5, 4);
        EXPECT_EQ(S.Picture(Legend),
                  Rows({"#####..", "#rrr#..", "#rrr#..", "#####..", ".......", "......."}));
        SelectObject(S.DC(), GetStockObject(NULL_BRUSH));
        S.Fill(RGB(255, 255, 255));
        Rectangle(S.DC(), 0, 0, 5, 4);
        EXPECT_EQ(S.Picture(Legend),
                  Rows({"#####..", "#...#..", "#...#..", "#####..", ".......", "......."}));
        SelectObject(S.DC(), ToObj(Red));
        SelectObject(S.DC(), GetStockObject(NULL_PEN));
        S.Fill(RGB(255, 255, 255));
        Rectangle(S.DC(), 0, 0, 5, 4);
        EXPECT_EQ(S.Picture(Legend),
                  Rows({"rrrr...", "rrrr...", "rrrr...", ".......", ".......", "......."}));
    }
    TTestSurface S(6, 5);
    const TRect R{1, 1, 5, 4};
    FillRect(S.DC(), &R, Red);
    FrameRect(S.DC(), &R, Stock(BLACK_BRUSH));
    EXPECT_EQ(S.Picture(Legend), Rows({"......", ".####.", ".#rr#.", ".####.", "......"}));
    // A system colour index + 1 stands for its brush.
    const TRect Dot{0, 0, 1, 1};
    FillRect(S.DC(), &Dot, reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_3DDKSHADOW + 1)));
    EXPECT_EQ(S.PixelAt(0, 0), RGB(64, 64, 64));
    FillRect(S.DC(), &Dot, Stock(WHITE_BRUSH));
    const std::string Before = S.Picture(Legend);
    InvertRect(S.DC(), &R);
    EXPECT_NE(S.Picture(Legend), Before);
    InvertRect(S.DC(), &R);
    EXPECT_EQ(S.Picture(Legend), Before);
    DeleteObject(ToObj(Red));
}

TEST(Draw, Frame3DGivesTheCornersToTheBottomColour) {
    const std::map<COLORREF, char> Legend{{RGB(255, 0, 0), 't'}, {RGB(0, 0, 255), 'b'}};
    TTestSurface S(6, 6);
    TRect R{0, 0, 6, 6};
    Frame3D(S.DC(), R, TColor(RGB(255, 0, 0)), TColor(RGB(0, 0, 255)), 2);
    EXPECT_EQ(R, Rect(2, 2, 4, 4));
    EXPECT_EQ(S.Picture(Legend),
              Rows({"tttttb", "ttttbb", "tt..bb", "tt..bb", "tbbbbb", "bbbbbb"}));
}

TEST(Draw, DrawEdgeUsesTheThreeDColours) {
    const std::map<COLORREF, char> Legend{
        {RGB(212, 208, 200), 'l'}, {RGB(64, 64, 64), 'd'}, {RGB(128, 128, 128), 's'}};
    TTestSurface S(6, 6, RGB(1, 1, 1));
    TRect R{0, 0, 6, 6};
    DrawEdge(S.DC(), &R, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
    EXPECT_EQ(R, Rect(2, 2, 4, 4));
    // Outer: 3-D light / dark shadow; inner: highlight (white) / shadow; middle: face.
    EXPECT_EQ(S.Picture(Legend),
              Rows({"llllld", "l...sd", "l.llsd", "l.llsd", "lssssd", "dddddd"}));
    S.Fill(RGB(1, 1, 1));
    R = {0, 0, 4, 4};
    DrawEdge(S.DC(), &R, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(S.Picture(Legend).substr(0, 28), Rows({"sss.??", "sdl.??", "sll.??", "....??"}));
}

TEST(Draw, FocusRectangleAndPenModesUndoThemselves) {
    TTestSurface S(6, 4);
    const TRect R{0, 0, 6, 4};
    DrawFocusRect(S.DC(), &R);
    EXPECT_EQ(S.Picture(), Rows({"#.#.#.", ".....#", "#.....", ".#.#.#"}));
    DrawFocusRect(S.DC(), &R);
    EXPECT_EQ(S.Picture(), Rows({"......", "......", "......", "......"}));

    HPEN Red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(S.DC(), ToObj(Red));
    SetROP2(S.DC(), R2_NOT); // inverts whatever the pen colour
    MoveToEx(S.DC(), 0, 0, nullptr);
    LineTo(S.DC(), 3, 0);
    EXPECT_EQ(S.Picture().substr(0, 7), "###...\n");
    SetROP2(S.DC(), R2_XORPEN);
    MoveToEx(S.DC(), 0, 1, nullptr);
    LineTo(S.DC(), 6, 1);
    EXPECT_EQ(S.PixelAt(0, 1), RGB(0, 255, 255));
    MoveToEx(S.DC(), 0, 1, nullptr);
    LineTo(S.DC(), 6, 1);
    EXPECT_EQ(S.PixelAt(0, 1), RGB(255, 255, 255));
    SetROP2(S.DC(), R2_COPYPEN);
    HPEN Dot = CreatePen(PS_DOT, 1, 0);
    SelectObject(S.DC(), ToObj(Dot));
    MoveToEx(S.DC(), 0, 3, nullptr);
    LineTo(S.DC(), 6, 3);
    EXPECT_EQ(S.Picture().substr(21, 7), "#.#.#.\n");
    SelectObject(S.DC(), GetStockObject(BLACK_PEN));
    DeleteObject(ToObj(Red));
    DeleteObject(ToObj(Dot));
}

TEST(Draw, EllipseIsSymmetricWithEmptyCorners) {
    const std::map<COLORREF, char> Legend{{RGB(255, 0, 0), 'r'}};
    TTestSurface S(6, 6);
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(S.DC(), ToObj(Red));
    Ellipse(S.DC(), 0, 0, 6, 6);
    const std::string P = S.Picture(Legend);
    EXPECT_EQ(P, Rows({".####.", "#rrrr#", "#rrrr#", "#rrrr#", "#rrrr#", ".####."}));
    SelectObject(S.DC(), GetStockObject(WHITE_BRUSH));
    DeleteObject(ToObj(Red));
}

TEST(Draw, CaptionGlyphsLandOnTheirCoordinates) {
    // The default caption glyphs, drawn through a canvas as the skin draws them.
    struct TLine {
        int X1, Y1, X2, Y2;
    };
    struct Row {
        const char* Name;
        std::vector<TLine> Lines;
        std::vector<TRect> Frames;
        std::string Expected;
    };
    const Row Glyphs[] = {
        {"close",
         {{1, 1, 9, 9}, {9, 1, 1, 9}, {2, 1, 10, 9}, {8, 1, 0, 9}},
         {},
         Rows({"...........", ".##.....##.", "..##...##..", "...##.##...", "....###....",
               "....###....", "...##.##...", "..##...##..", ".##.....##.", "..........."})},
        {"minimise",
         {{1, 8, 9, 8}, {1, 9, 9, 9}},
         {},
         Rows({"...........", "...........", "...........", "...........", "...........",
               "...........", "...........", "...........", ".########..", ".########.."})},
        {"maximise",
         {},
         {{0, 0, 11, 10}, {0, 0, 11, 2}},
         Rows({"###########", "###########", "#.........#", "#.........#", "#.........#",
               "#.........#", "#.........#", "#.........#", "#.........#", "###########"})},
        {"roll down",
         {{5, 6, 5, 6}, {4, 5, 6, 5}, {3, 4, 7, 4}, {2, 3, 8, 3}, {1, 2, 9, 2}},
         {},
         Rows({"...........", "...........", ".########..", "..######...", "...####....",
               "....##.....", "...........", "...........", "...........", "..........."})},
    };
    for (const Row& G : Glyphs) {
        TTestSurface S(11, 10);
        TCanvas C;
        C.SetHandle(S.DC());
        C.Pen()->SetColor(clBlack);
        C.Brush()->SetStyle(bsClear);
        for (const TLine& L : G.Lines) {
            C.MoveTo(L.X1, L.Y1);
            C.LineTo(L.X2, L.Y2);
        }
        for (const TRect& F : G.Frames)
            C.Rectangle(F);
        C.SetHandle(0);
        EXPECT_EQ(S.Picture(), G.Expected) << G.Name;
    }
}

TEST(Draw, ShapesFarOutsideTheSurfaceCostNothingAndTouchOnlyIt) {
    // Lines and shapes of two billion pixels, of which only the visible part is walked.
    TTestSurface S(8, 8);
    MoveToEx(S.DC(), -2000000000, 3, nullptr);
    LineTo(S.DC(), 2000000000, 3);
    MoveToEx(S.DC(), -1000000000, -1000000000, nullptr);
    LineTo(S.DC(), 1000000000, 1000000000);
    SelectObject(S.DC(), GetStockObject(NULL_BRUSH));
    Rectangle(S.DC(), -2000000000, 5, 2000000000, 7);
    Ellipse(S.DC(), -2000000000, -2000000000, 2000000000, 2000000000);
    const TPoint Triangle[] = {{-2000000000, 0}, {2000000000, 0}, {0, 2000000000}};
    Polygon(S.DC(), Triangle, 3);
    SelectObject(S.DC(), GetStockObject(WHITE_BRUSH));
    TTestSurface Filled(4, 4);
    SelectObject(Filled.DC(), GetStockObject(BLACK_BRUSH));
    Polygon(Filled.DC(), Triangle, 3);
    SelectObject(Filled.DC(), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(Filled.Picture(), Rows({"####", "####", "####", "####"}));
    // Row 0 is the triangle's top edge; rows 5 and 6 the rectangle's.
    EXPECT_EQ(S.Picture(), Rows({"########", ".#......", "..#.....", "########", "....#...",
                                 "########", "########", ".......#"}));

    // A dotted line keeps its rhythm where it enters the surface.
    TTestSurface D(8, 1);
    HPEN Dot = CreatePen(PS_DOT, 1, 0);
    SelectObject(D.DC(), ToObj(Dot));
    MoveToEx(D.DC(), -1000001, 0, nullptr);
    LineTo(D.DC(), 8, 0);
    EXPECT_EQ(D.Picture(), ".#.#.#.#\n");
    SelectObject(D.DC(), GetStockObject(BLACK_PEN));
    DeleteObject(ToObj(Dot));
}
