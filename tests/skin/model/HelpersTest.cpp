// The drawing helpers: rectangles, versions, text and the ellipsis rule,
// button-face layout, default glyphs, the focus rectangle, parent
// backgrounds, 24-bit copies, monitors, stream strings and rectangle text.
#include "skin/model/bsUtils.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <functional>

TEST(RectHelpersTest, EdgesAndContainment) {
    const TRect R{10, 20, 30, 40};
    EXPECT_TRUE(PointInRect(R, {30, 40}));
    EXPECT_FALSE(PtInRect(&R, {30, 40}));
    EXPECT_FALSE(PointInRect(R, {31, 40}));
    EXPECT_FALSE(RectInRect(R, R));
    EXPECT_TRUE(RectInRect({10, 20, 29, 39}, R));
    EXPECT_TRUE(IsNullPoint({0, 7}));
    EXPECT_TRUE(IsNullPoint({7, 0}));
    EXPECT_FALSE(IsNullPoint({1, 1}));
    EXPECT_EQ(RectWidth({5, 0, 2, 0}), -3);
    EXPECT_TRUE(IsNullRect({0, 0, 5, 0}));
    EXPECT_TRUE(RectVertOverlaps({0, 25, 5, 50}, R));
    EXPECT_TRUE(RectVertOverlaps({0, 0, 5, 39}, R));
    EXPECT_FALSE(RectVertOverlaps({0, 40, 5, 50}, R));
}

TEST(PlatformHelpersTest, VersionRules) {
    struct TCase {
        int Major, Minor;
        bool XP, Layered, Vista;
    } Cases[] = {
        {5, 2, false, true, false},
        {5, 1, true, true, false},
        {6, 0, true, true, true},
        {4, 9, false, false, false},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(IsXPOrLaterVersion(C.Major, C.Minor), C.XP) << C.Major << "." << C.Minor;
        EXPECT_EQ(IsLayeredWindowVersion(C.Major, C.Minor), C.Layered) << C.Major << "." << C.Minor;
        EXPECT_EQ(IsVistaOrLaterVersion(C.Major, C.Minor), C.Vista) << C.Major << "." << C.Minor;
    }
    int Major = 0, Minor = 0;
    GetWinVersion(Major, Minor);
    EXPECT_EQ(Major, 6);
    EXPECT_EQ(Minor, 1);
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_TRUE(IsXPOrLater());
    EXPECT_TRUE(IsLayeredWindowVersion(Major, Minor));
    EXPECT_FALSE(LoadMsimg32());
}

TEST(StreamTextTest, StreamStringsAreCountedUtf16) {
    struct TCase {
        std::string Text;
        std::vector<BYTE> Bytes;
    } Cases[] = {
        {"abc", {3, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0}},
        {"视频", {2, 0, 0, 0, 0xC6, 0x89, 0x91, 0x98}},
        {"", {0, 0, 0, 0}},
    };
    for (const TCase& C : Cases) {
        TMemoryStream S;
        WriteStreamString(&S, C.Text);
        std::vector<BYTE> Bytes(std::size_t(S.Size()));
        S.SetPosition(0);
        S.ReadBuffer(Bytes.data(), S.Size());
        EXPECT_EQ(Bytes, C.Bytes) << C.Text;
        S.SetPosition(0);
        std::string Back = "old";
        ReadStreamString(&S, Back);
        EXPECT_EQ(Back, C.Text);
    }
}

TEST(StreamTextTest, DamagedCountsRaiseBeforeAllocating) {
    for (std::int32_t N : {-1, 1 << 30}) {
        TMemoryStream S;
        S.WriteBuffer(&N, 4);
        const std::vector<BYTE> Ten(10, 0x41);
        S.WriteBuffer(Ten.data(), 10);
        S.SetPosition(0);
        std::string Text = "kept";
        EXPECT_THROW(ReadStreamString(&S, Text), EReadError) << N;
        EXPECT_EQ(Text, "kept");
    }
}

TEST(StreamTextTest, RectangleTexts) {
    struct TCase {
        const char* Text;
        TRect Expect;
    } Cases[] = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"10 20 30 40", {10, 20, 30, 40}},
        {"10 , 20, 30, 40", {}},
        {"1,2,3", {}},
        {"1,2,3,4,5", {1, 2, 3, 4}},
        {"(2,3,20,21)", {2, 3, 20, 21}},
        {"(2;3:4=5)", {2, 3, 4, 5}},
        {"1,2,x,4", {}},
        {"", {}},
    };
    for (const TCase& C : Cases) {
        TRect R{9, 9, 9, 9};
        ReadRectFromString(C.Text, R);
        EXPECT_EQ(R, C.Expect) << C.Text;
    }
    std::string Long(300, '7');
    TRect R{9, 9, 9, 9};
    ReadRectFromString(Long + ",1,2,3", R);
    EXPECT_EQ(R, TRect{}) << "an overlong token never converts";
}

// ---------------------------------------------------------------- text

TEST(TextHelpersTest, EllipsisKeepsTheLongestPrefixThatFits) {
    auto B = WhiteCanvas(10, 10);
    TCanvas* C = B->Canvas();
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-14);
    std::string Fits = "Tools";
    CorrectWideTextByWidth(C, Fits, GetWideTextWidth(C, Fits));
    EXPECT_EQ(Fits, "Tools");

    std::string Narrow = "视频转换软件";
    CorrectWideTextByWidth(C, Narrow, 1);
    EXPECT_EQ(Narrow, "...");

    const int Width = GetWideTextWidth(C, "视频转...");
    ASSERT_LT(Width, GetWideTextWidth(C, "视频转换..."));
    for (auto Correct : {CorrectWideTextByWidth, CorrectTextByWidth}) {
        std::string S = "视频转换软件";
        Correct(C, S, Width);
        EXPECT_EQ(S, "视频转...");
    }
    EXPECT_GT(GetWideTextHeight(C, "视频"), 10);
}

TEST(TextHelpersTest, GlyphLayoutTable) {
    const TRect R{10, 20, 110, 60}; // centre (60, 40)
    struct TCase {
        TbsButtonLayout Layout;
        int Margin, GW, GH;
        TbsGlyphLayout Expect;
    } Cases[] = {
        // Glyph 16 x 12, text 30 x 10, spacing 4: W = 25, H = 13.
        {blGlyphLeft, -1, 16, 12, {35, 34, 55, 35}},
        {blGlyphRight, -1, 16, 12, {69, 34, 35, 35}},
        {blGlyphTop, -1, 16, 12, {52, 27, 45, 43}},
        {blGlyphBottom, -1, 16, 12, {52, 41, 45, 27}},
        {blGlyphLeft, 3, 16, 12, {13, 34, 33, 35}},
        {blGlyphRight, 3, 16, 12, {91, 34, 57, 35}},
        {blGlyphTop, 3, 16, 12, {52, 23, 45, 39}},
        {blGlyphBottom, 3, 16, 12, {52, 45, 45, 31}},
        // No glyph: spacing counts 0, so centred text lands at (45, 35) in every layout.
        {blGlyphLeft, -1, 0, 0, {45, 40, 45, 35}},
        {blGlyphRight, -1, 0, 0, {75, 40, 45, 35}},
        {blGlyphTop, -1, 0, 0, {60, 35, 45, 35}},
        {blGlyphBottom, -1, 0, 0, {60, 45, 45, 35}},
        {blGlyphLeft, 3, 0, 0, {13, 40, 13, 35}},
        {blGlyphRight, 3, 0, 0, {107, 40, 77, 35}},
        {blGlyphTop, 3, 0, 0, {60, 23, 45, 23}},
        {blGlyphBottom, 3, 0, 0, {60, 57, 45, 47}},
    };
    for (const TCase& C : Cases) {
        const TbsGlyphLayout L = CalcGlyphLayout(C.Layout, R, C.GW, C.GH, 30, 10, 4, C.Margin);
        EXPECT_EQ(
            std::vector<int>({L.GlyphX, L.GlyphY, L.TextX, L.TextY}),
            std::vector<int>({C.Expect.GlyphX, C.Expect.GlyphY, C.Expect.TextX, C.Expect.TextY}))
            << "layout " << C.Layout << " margin " << C.Margin << " glyph " << C.GW;
    }
}

TEST(TextHelpersTest, ImageIndexBeyondTheListDrawsAsWithoutImage) {
    TCustomImageList Images(nullptr);
    Images.SetWidth(8);
    Images.SetHeight(8);
    TBitmap Red;
    Red.SetSize(8, 8);
    Red.Canvas()->Brush()->SetColor(clRed);
    Red.Canvas()->FillRect({0, 0, 8, 8});
    Images.Add(&Red, nullptr);
    auto Draw = [&](TCustomImageList* List, int Index) {
        auto B = WhiteCanvas(80, 24);
        B->Canvas()->Font()->SetName("Arial");
        B->Canvas()->Font()->SetHeight(-12);
        DrawImageAndText(B->Canvas(), {0, 0, 80, 24}, -1, clBlue, true, true, false, List, Index,
                         "Go", blGlyphLeft, 4);
        return Picture(B.get(), clBlack);
    };
    EXPECT_EQ(Draw(&Images, 5), Draw(nullptr, 0));
    EXPECT_NE(Draw(&Images, 0), Draw(nullptr, 0));
}

TEST(TextHelpersTest, GlyphFromStripTakesItsCellKeyedByTheBottomLeftPixel) {
    TBitmap Strip;
    Strip.SetSize(48, 4);
    Strip.Canvas()->Brush()->SetColor(clRed);
    Strip.Canvas()->FillRect({0, 0, 48, 4});
    Strip.Canvas()->Brush()->SetColor(clBlack);
    Strip.Canvas()->FillRect({16, 0, 32, 4});
    Strip.Canvas()->Brush()->SetColor(clLime);
    Strip.Canvas()->FillRect({16, 3, 18, 4}); // the key, from (16, 3)
    Strip.Canvas()->FillRect({20, 1, 21, 2});
    auto B = WhiteCanvas(20, 5);
    DrawGlyphFromStrip(B->Canvas(), 1, 1, &Strip, 3, 2);
    EXPECT_EQ(Picture(B.get(), clBlack), Rows({
                                             "....................",
                                             ".################...",
                                             ".####.###########...",
                                             ".################...",
                                             "...##############...",
                                         }));
    auto None = WhiteCanvas(20, 5);
    DrawGlyphFromStrip(None->Canvas(), 1, 1, &Strip, 0, 1);
    DrawGlyphAndText(None->Canvas(), {0, 0, 20, 5}, -1, clBlue, false, false, 1, 0, &Strip, "",
                     blGlyphLeft, 2);
    EXPECT_EQ(Picture(None.get(), clBlack), Picture(WhiteCanvas(20, 5).get(), clBlack))
        << "no cells: no glyph";
}

TEST(GlyphHelpersTest, ArrowsTickAndRadioDot) {
    using TDraw = std::function<void(TCanvas*)>;
    const TRect Cell{0, 0, 9, 9};
    struct TCase {
        const char* Name;
        TDraw Draw;
        std::string Expect;
    } Cases[] = {
        {"left", [&](TCanvas* C) { DrawArrowImage(C, Cell, clBlack, 1); },
         Rows({".........", ".....#...", "....##...", "...###...", "..####...", "...###...",
               "....##...", ".....#...", "........."})},
        {"right", [&](TCanvas* C) { DrawArrowImage(C, Cell, clBlack, 2); },
         Rows({".........", "...#.....", "...##....", "...###...", "...####..", "...###...",
               "...##....", "...#.....", "........."})},
        {"up", [&](TCanvas* C) { DrawArrowImage(C, Cell, clBlack, 3); },
         Rows({".........", ".........", "....#....", "...###...", "..#####..", ".#######.",
               ".........", ".........", "........."})},
        {"down", [&](TCanvas* C) { DrawArrowImage(C, Cell, clBlack, 4); },
         Rows({".........", ".........", ".........", ".#######.", "..#####..", "...###...",
               "....#....", ".........", "........."})},
        {"code 0", [&](TCanvas* C) { DrawArrowImage(C, Cell, clBlack, 0); },
         Rows({".........", ".........", ".........", ".........", ".........", ".........",
               ".........", ".........", "........."})},
        {"drop-down", [&](TCanvas* C) { DrawDropDownArrow(C, Cell, clBlack); },
         Rows({".........", ".........", ".........", ".........", "..#####..", "...###...",
               "....#....", ".........", "........."})},
        {"tick", [&](TCanvas* C) { DrawCheckImage(C, 1, 1, clBlack); },
         Rows({".........", ".........", ".......#.", "......##.", ".#...###.", ".##.###..",
               ".#####...", "..###....", "...#....."})},
        {"radio", [&](TCanvas* C) { DrawRadioImage(C, 1, 1, clBlack); },
         Rows({".........", ".######..", ".######..", ".######..", ".######..", ".######..",
               ".######..", ".........", "........."})},
    };
    for (const TCase& C : Cases) {
        auto B = WhiteCanvas(9, 9);
        C.Draw(B->Canvas());
        EXPECT_EQ(Picture(B.get(), clBlack), C.Expect) << C.Name;
    }
    auto B = WhiteCanvas(9, 9);
    DrawArrowImage(B->Canvas(), Cell, clBlack, 5);
    EXPECT_EQ(Picture(B.get(), clBlack), Picture(WhiteCanvas(9, 9).get(), clBlack));
}

TEST(GlyphHelpersTest, CaptionButtonGlyphs) {
    using TDraw = void (*)(TCanvas*, int, int, TColor);
    struct TCase {
        const char* Name;
        TDraw Draw;
        std::string Expect;
    } Cases[] = {
        {"close", DrawCloseImage,
         Rows({"............", ".##.....##..", "..##...##...", "...##.##....", "....###.....",
               "....###.....", "...##.##....", "..##...##...", ".##.....##..", "............",
               "............"})},
        {"system menu", DrawSysMenuImage,
         Rows({"............", "............", "............", ".########...", ".#......#...",
               ".########...", "............", "............", "............", "............",
               "............"})},
        {"minimise", DrawMinimizeImage,
         Rows({"............", "............", "............", "............", "............",
               "............", "............", "............", ".########...", ".########...",
               "............"})},
        {"maximise", DrawMaximizeImage,
         Rows({"###########.", "###########.", "#.........#.", "#.........#.", "#.........#.",
               "#.........#.", "#.........#.", "#.........#.", "#.........#.", "###########.",
               "............"})},
        {"restore", DrawRestoreImage,
         Rows({"..########..", "..########..", "..#......#..", "..#......#..", "#######..#..",
               "##########..", "#.....#.....", "#.....#.....", "#.....#.....", "#######.....",
               "............"})},
        {"roll down", DrawRollDownImage,
         Rows({"............", "............", ".########...", "..######....", "...####.....",
               "....##......", "............", "............", "............", "............",
               "............"})},
        {"roll up", DrawRollUpImage,
         Rows({"............", "............", "............", "....##......", "...####.....",
               "..######....", ".########...", "............", "............", "............",
               "............"})},
        {"tray", DrawTrayImage,
         Rows({"............", "............", "..#####.....", "..#####.....", "..#####.....",
               "..#####.....", "..#####.....", "............", "............", "............",
               "............"})},
    };
    for (const TCase& C : Cases) {
        auto B = WhiteCanvas(12, 11);
        B->Canvas()->Brush()->SetColor(clRed);
        C.Draw(B->Canvas(), 0, 0, clBlack);
        EXPECT_EQ(Picture(B.get(), clBlack), C.Expect) << C.Name;
    }
    for (TDraw Draw : {DrawSysMenuImage, DrawMaximizeImage}) {
        auto B = WhiteCanvas(12, 11);
        Draw(B->Canvas(), 0, 0, clBlack);
        EXPECT_EQ(B->Canvas()->Brush()->Style(), bsClear);
    }
}

TEST(GlyphHelpersTest, FocusRectangleDotsAlternateAroundCorners) {
    struct TCase {
        TRect R;
        std::string Expect;
    } Cases[] = {
        {{0, 0, 5, 3}, Rows({".#.#..", "#...#.", ".#.#..", "......"})},
        {{0, 0, 4, 4}, Rows({"#.#...", "...#..", "#.....", ".#.#..", "......", "......"})},
        {{0, 0, 1, 1}, Rows({"..", ".."})},
    };
    for (const TCase& C : Cases) {
        const int W = C.Expect.find('\n');
        const int H = int(C.Expect.size()) / (W + 1);
        auto B = WhiteCanvas(W, H);
        B->Canvas()->Font()->SetColor(clBlack);
        DrawFocusRectangle(B->Canvas(), C.R);
        EXPECT_EQ(Picture(B.get(), clBlack), C.Expect) << C.R.Right << "x" << C.R.Bottom;
    }
}

TEST(FBitmapTest, RowsArePaddedTopDownCopies) {
    TBitmap Src;
    Src.SetSize(5, 2);
    Src.Canvas()->SetPixels(0, 0, RGB(1, 2, 3));
    Src.Canvas()->SetPixels(4, 1, RGB(7, 8, 9));
    TbsFBitmap F(Src.Handle());
    EXPECT_EQ(F.Width, 5);
    EXPECT_EQ(F.Height, 2);
    EXPECT_EQ(F.Gap, 1);
    EXPECT_EQ(F.RowInc, 16);
    EXPECT_EQ(F.Size, 32);
    ASSERT_EQ(F.Pixels.size(), 2u);
    EXPECT_EQ(F.Pixels[1], F.Bits + 16);
    EXPECT_EQ(std::vector<BYTE>(F.Pixels[0], F.Pixels[0] + 3), (std::vector<BYTE>{3, 2, 1}));
    EXPECT_EQ(std::vector<BYTE>(F.Pixels[1] + 12, F.Pixels[1] + 15), (std::vector<BYTE>{9, 8, 7}));
    EXPECT_NE(F.hDC, nullptr);

    TbsFBitmap Bad(reinterpret_cast<HBITMAP>(std::uintptr_t(0x1234)));
    EXPECT_EQ(Bad.Width, 0);
    EXPECT_TRUE(Bad.Pixels.empty());
    EXPECT_EQ(Bad.Handle, nullptr);
    TbsFBitmap None(nullptr);
    EXPECT_EQ(None.Height, 0);
}

// ---------------------------------------------------------------- windows

class WindowHelpersTest : public TDrawWindowTest {};

TEST_F(WindowHelpersTest, MonitorWorkAreas) {
    HWND Wnd = MakeFilledWindow({2000, 100, 2100, 200}, 0);
    TRect Screen, Monitor;
    GetScreenWorkArea(true, Screen);
    GetMonitorWorkArea(Wnd, true, Monitor);
    EXPECT_FALSE(IsMultiMonitorAvailable());
    EXPECT_EQ(Monitor, Screen);
    GetScreenWorkArea(false, Screen);
    EXPECT_EQ(Screen, (TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));

    Headless.SetScreens({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true},
                         {{1920, 0, 3200, 1024}, {1920, 30, 3200, 1024}, false}});
    EXPECT_TRUE(IsMultiMonitorAvailable());
    GetMonitorWorkArea(Wnd, true, Monitor);
    EXPECT_EQ(Monitor, (TRect{1920, 30, 3200, 1024}));
    GetMonitorWorkArea(Wnd, false, Monitor);
    EXPECT_EQ(Monitor, (TRect{1920, 0, 3200, 1024}));
}

TEST_F(WindowHelpersTest, LayeredAlphaReachesTheWindow) {
    HWND Wnd = MakeFilledWindow({0, 0, 10, 10}, 0, WS_EX_LAYERED);
    ASSERT_NE(Wnd, nullptr);
    SetLayeredAlpha(Wnd, 128);
    BYTE Alpha = 0;
    DWORD Flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Wnd, nullptr, &Alpha, &Flags));
    EXPECT_EQ(Alpha, 128);
    EXPECT_EQ(Flags, LWA_ALPHA);
}

namespace {

class TFilledParent : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool Fail = false;

protected:
    void Paint() override {
        if (Fail)
            throw Exception("paint failed");
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect({0, 0, Width(), Height()});
    }
};

class TFilledGraphic : public TGraphicControl {
public:
    TFilledGraphic(TComponent* Owner, TColor Color) : TGraphicControl(Owner), FColor(Color) {}

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect({0, 0, Width(), Height()});
    }

private:
    TColor FColor;
};

} // namespace

TEST_F(WindowHelpersTest, ParentBackgroundShowsParentAndSiblingsBelow) {
    TFilledParent Parent(nullptr);
    Parent.SetBounds(0, 0, 60, 60);
    TFilledGraphic Below(nullptr, clBlue), Control(nullptr, clWhite), Above(nullptr, clLime);
    Below.SetBounds(5, 5, 10, 10);
    Control.SetBounds(10, 10, 20, 20);
    Above.SetBounds(12, 12, 10, 10);
    Below.SetParent(&Parent);
    Control.SetParent(&Parent);
    Above.SetParent(&Parent);

    auto B = WhiteCanvas(20, 20);
    DrawParentBackground(&Control, B->Canvas());
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 20; ++X)
            ASSERT_EQ(B->Canvas()->Pixels(X, Y), (X < 5 && Y < 5) ? clBlue : clRed)
                << X << "," << Y;
    EXPECT_FALSE(Parent.ControlState().Contains(csPaintCopy));

    // A part of the control: its (4, 4) lands at the canvas origin.
    auto Part = WhiteCanvas(4, 4);
    DrawParentBackgroundRect(&Control, {3, 3, 7, 7}, Part->Canvas());
    EXPECT_EQ(Part->Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(Part->Canvas()->Pixels(2, 2), clRed);

    Parent.Fail = true;
    EXPECT_THROW(DrawParentBackground(&Control, B->Canvas()), Exception);
    EXPECT_FALSE(Parent.ControlState().Contains(csPaintCopy));
    Below.SetParent(nullptr);
    Control.SetParent(nullptr);
    Above.SetParent(nullptr);
}
