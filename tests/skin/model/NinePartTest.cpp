// The nine-part painters on a fixture picture whose every part is a named
// flat-colour region, so each output pixel names the part it came from.
#include "skin/model/bsUtils.NinePart.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <sstream>

namespace {

using testskin::TTestPicture;

// A 30 x 24 skin rectangle at (7, 3) of a 50 x 32 picture. The top and
// bottom edges and the client are cut into halves or quarters, so tiles
// and stretches show which part of the source they took.
class NinePartTest : public testing::Test {
protected:
    NinePartTest() : Pic("frame.bmp", 50, 32, 24, testskin::White, nullptr) {
        const struct {
            const char* Name;
            TRect R;
        } Parts[] = {
            {"c1", {0, 0, 8, 4}},     {"c2", {0, 4, 5, 6}},     {"c3", {22, 0, 30, 4}},
            {"c4", {25, 4, 30, 6}},   {"c5", {0, 18, 5, 24}},   {"c6", {5, 20, 8, 24}},
            {"c7", {22, 20, 30, 24}}, {"c8", {25, 18, 30, 20}}, {"ta", {8, 0, 15, 4}},
            {"tb", {15, 0, 22, 4}},   {"ba", {8, 20, 15, 24}},  {"bb", {15, 20, 22, 24}},
            {"L", {0, 6, 5, 18}},     {"R", {25, 6, 30, 18}},   {"q1", {5, 4, 15, 12}},
            {"q2", {15, 4, 25, 12}},  {"q3", {5, 12, 15, 20}},  {"q4", {15, 12, 25, 20}},
        };
        for (const auto& P : Parts)
            Pic.AddRegion(P.Name, {P.R.Left + 7, P.R.Top + 3, P.R.Right + 7, P.R.Bottom + 3});
        const std::string Bytes = Pic.BmpBytes();
        TMemoryStream S;
        S.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
        S.SetPosition(0);
        Picture.LoadFromStream(&S);
    }

    // The region a pixel came from; "-" for pixels as a new bitmap has them.
    std::string Name(TBitmap& D, int X, int Y) {
        const COLORREF C = COLORREF(D.Canvas()->Pixels(X, Y));
        const testskin::TRgb Rgb = (testskin::TRgb(GetRValue(C)) << 16) |
                                   (testskin::TRgb(GetGValue(C)) << 8) | GetBValue(C);
        if (Rgb == Fresh)
            return "-";
        const std::string N = Pic.RegionAt(Rgb);
        return N.empty() ? "?" : N;
    }
    // Runs of region names along row Y (or column X): "c1:8 ta:7 ...".
    std::string Runs(TBitmap& D, int Fixed, bool Row) {
        std::ostringstream Out;
        const int N = Row ? D.Width() : D.Height();
        std::string Last;
        int Count = 0;
        for (int I = 0; I <= N; ++I) {
            const std::string Cur = I < N ? (Row ? Name(D, I, Fixed) : Name(D, Fixed, I)) : "";
            if (Cur == Last) {
                ++Count;
                continue;
            }
            if (Count)
                Out << (Out.tellp() ? " " : "") << Last << ":" << Count;
            Last = Cur;
            Count = 1;
        }
        return Out.str();
    }
    std::string Row(TBitmap& D, int Y) { return Runs(D, Y, true); }
    std::string Column(TBitmap& D, int X) { return Runs(D, X, false); }

    struct TOptions {
        bool DrawClient = true;
        bool SidesStretch = false;
        bool TopStretch = false;
        bool StretchEffect = false;
        TbsStretchType Type = bsstFull;
        TPoint RT{22, 6};
        TRect Cl{5, 4, 25, 20};
    };
    // The painter at W x H with the corner points kept at their skin size.
    void Make(TBitmap& D, int W, int H, const TOptions& O,
              decltype(&MakeNinePartBitmap) Painter = &MakeNinePartBitmap) {
        const int DW = W - 30, DH = H - 24;
        const TPoint LT{8, 6}, LB{8, 18}, RB{22, 18};
        Painter(LT, O.RT, LB, RB, O.Cl, LT, {O.RT.X + DW, O.RT.Y}, {LB.X, LB.Y + DH},
                {RB.X + DW, RB.Y + DH}, {O.Cl.Left, O.Cl.Top, O.Cl.Right + DW, O.Cl.Bottom + DH},
                &D, &Picture, Skin, W, H, O.DrawClient, O.SidesStretch,
                O.SidesStretch || O.TopStretch, O.SidesStretch, O.SidesStretch, O.StretchEffect,
                O.Type);
    }

    TTestPicture Pic;
    TBitmap Picture;
    const TRect Skin{7, 3, 37, 27};
    const testskin::TRgb Fresh = [] {
        TBitmap B;
        B.SetSize(1, 1);
        const COLORREF C = COLORREF(B.Canvas()->Pixels(0, 0));
        return (testskin::TRgb(GetRValue(C)) << 16) | (testskin::TRgb(GetGValue(C)) << 8) |
               GetBValue(C);
    }();
};

} // namespace

TEST_F(NinePartTest, SkinSizeGivesTheSkinRectangle) {
    for (bool Stretch : {false, true})
        for (bool Client : {true, false}) {
            TBitmap D;
            TOptions O;
            O.SidesStretch = O.StretchEffect = Stretch;
            O.DrawClient = Client;
            Make(D, 30, 24, O);
            for (int Y = 0; Y < 24; ++Y)
                for (int X = 0; X < 30; ++X) {
                    const bool InClient = X >= 5 && X < 25 && Y >= 4 && Y < 20;
                    const std::string Expect =
                        !Client && InClient ? "-" : Pic.RegionAt(Pic.Pixel(X + 7, Y + 3));
                    ASSERT_EQ(Name(D, X, Y), Expect) << X << "," << Y << " " << Stretch << Client;
                }
        }
}

TEST_F(NinePartTest, TiledEdgesRepeatFromTheirLeftPart) {
    TBitmap D;
    Make(D, 55, 24, {});
    // Top edge from 8 to 47 in tiles of 14; the last cut to 4 pixels.
    EXPECT_EQ(Row(D, 1), "c1:8 ta:7 tb:7 ta:7 tb:7 ta:7 tb:4 c3:8");
    EXPECT_EQ(Row(D, 22), "c5:5 c6:3 ba:7 bb:7 ba:7 bb:7 ba:7 bb:4 c7:8");
    EXPECT_EQ(Row(D, 10), "L:5 q1:10 q2:10 q1:10 q2:10 q1:5 R:5");
    // Exactly two tiles: the third has width 0.
    TBitmap Exact;
    Make(Exact, 44, 24, {});
    EXPECT_EQ(Row(Exact, 1), "c1:8 ta:7 tb:7 ta:7 tb:7 c3:8");
}

TEST_F(NinePartTest, StretchedTopEdgeTakesTheNearestPixel) {
    TBitmap D;
    TOptions O;
    O.TopStretch = true;
    Make(D, 55, 24, O);
    // 14 pixels over 39: the halves meet where (x + 0.5) * 14 / 39 reaches 7.
    EXPECT_EQ(Row(D, 1), "c1:8 ta:19 tb:20 c3:8");
}

TEST_F(NinePartTest, ClientLayouts) {
    // New client 45 x 32 from a client of 20 x 16 in quarters of 10 x 8; row
    // 10 crosses the left edge, the client and the right edge, column 20 the
    // top edge, the client and the bottom edge.
    struct TCase {
        bool StretchEffect;
        TbsStretchType Type;
        const char *Row, *Column;
    } Cases[] = {
        {false, bsstFull, "L:5 q1:10 q2:10 q1:10 q2:10 q1:5 R:5", "tb:4 q2:8 q4:8 q2:8 q4:8 bb:4"},
        {true, bsstFull, "L:5 q1:22 q2:23 R:5", "tb:4 q1:16 q3:16 bb:4"},
        {true, bsstHorz, "L:5 q1:10 q2:10 q1:10 q2:10 q1:5 R:5", "tb:4 q2:16 q4:16 bb:4"},
        {true, bsstVert, "L:5 q1:22 q2:23 R:5", "tb:4 q1:8 q3:8 q1:8 q3:8 bb:4"},
    };
    for (const TCase& C : Cases) {
        TBitmap D;
        TOptions O;
        O.StretchEffect = C.StretchEffect;
        O.Type = C.Type;
        Make(D, 55, 40, O);
        EXPECT_EQ(Row(D, 10), C.Row) << C.StretchEffect << " " << C.Type;
        EXPECT_EQ(Column(D, 20), C.Column) << C.StretchEffect << " " << C.Type;
        // The client never leaves its rectangle (the clip of the repeating layouts).
        for (int Y = 0; Y < 40; ++Y)
            for (int X = 0; X < 55; ++X)
                if (!(X >= 5 && X < 50 && Y >= 4 && Y < 36)) {
                    ASSERT_NE(Name(D, X, Y)[0], 'q') << X << "," << Y;
                }
    }
}

TEST_F(NinePartTest, SizesBelowTheCornersAndUnpaintableGeometry) {
    TBitmap Small;
    Make(Small, 10, 24, {});
    // The right corner pieces, drawn later, cover the left ones.
    EXPECT_EQ(Row(Small, 1), "c1:2 c3:8");
    EXPECT_EQ(Row(Small, 22), "c5:2 c7:8");

    TBitmap Flat;
    TOptions O;
    O.RT = {8, 6};
    // RTPt.X = LTPt.X: the top edge has nothing to tile; the rest as usual.
    Make(Flat, 40, 24, O);
    EXPECT_EQ(Flat.Width(), 40);
    // Corner 3 now starts at RTPt.X = 8, so it carries the top edge's colours.
    EXPECT_EQ(Row(Flat, 1), "c1:8 -:10 ta:7 tb:7 c3:8");
    EXPECT_EQ(Row(Flat, 22), "c5:5 c6:3 ba:7 bb:7 ba:7 bb:3 c7:8");

    // RBPt.X = LTPt.X or an empty picture: sized, unpainted.
    TBitmap None;
    MakeNinePartBitmap({8, 6}, {22, 6}, {8, 18}, {8, 18}, {5, 4, 25, 20}, {8, 6}, {22, 6}, {8, 18},
                       {8, 18}, {5, 4, 25, 20}, &None, &Picture, Skin, 30, 24, true, false, false,
                       false, false, false, bsstFull);
    EXPECT_EQ(None.Width(), 30);
    EXPECT_EQ(Row(None, 10), "-:30");
    TBitmap EmptyPicture, Unpainted;
    MakeNinePartBitmap({8, 6}, {22, 6}, {8, 18}, {22, 18}, {5, 4, 25, 20}, {8, 6}, {22, 6}, {8, 18},
                       {22, 18}, {5, 4, 25, 20}, &Unpainted, &EmptyPicture, Skin, 30, 24, true,
                       false, false, false, false, false, bsstFull);
    EXPECT_EQ(Unpainted.Height(), 24);
}

TEST_F(NinePartTest, ZeroLengthClientIsSkipped) {
    for (bool StretchEffect : {false, true}) {
        TBitmap D;
        TOptions O;
        O.Cl = {5, 4, 5, 20};
        O.StretchEffect = StretchEffect;
        O.Type = bsstHorz;
        Make(D, 40, 24, O);
        // The client is x 5..15 of the new size; the right border starts there.
        EXPECT_EQ(Row(D, 10).substr(0, 9), "L:5 -:10 ") << StretchEffect;
    }
}

TEST_F(NinePartTest, ByClientRectangleAndWithoutRightColumn) {
    TBitmap D;
    D.SetSize(60, 48);
    MakeNinePartBitmapByClRect(&D, &Picture, Skin, {0, 0, 30, 24}, true);
    for (int Y = 0; Y < 48; Y += 3)
        for (int X = 0; X < 60; X += 3)
            ASSERT_EQ(Name(D, X, Y), Pic.RegionAt(Pic.Pixel(X / 2 + 7, Y / 2 + 3)))
                << X << "," << Y;

    TBitmap N;
    Make(N, 60, 24, {}, &MakeNinePartBitmapNoRight);
    EXPECT_EQ(Row(N, 1), "c1:8 ta:7 tb:7 ta:7 tb:7 ta:7 tb:7 ta:7 tb:3");
    EXPECT_EQ(Row(N, 10), "L:5 q1:10 q2:10 q1:10 q2:10 q1:10 q2:5");
    EXPECT_EQ(Row(N, 5), "c2:5 q1:10 q2:10 q1:10 q2:10 q1:10 q2:5");
    EXPECT_EQ(Row(N, 22), "c5:5 c6:3 ba:7 bb:7 ba:7 bb:7 ba:7 bb:7 ba:7 bb:3");
}

TEST_F(NinePartTest, Strips) {
    TBitmap Three, Two, Middle, Vert;
    MakeHorzThreePartBitmap(0, 0, &Three, &Picture, Skin, 70, 0, false);
    EXPECT_EQ(Three.Height(), 24);
    EXPECT_EQ(Row(Three, 1), "c1:8 ta:7 tb:7 c3:8 c1:8 ta:7 tb:7 c3:8 c1:8 ta:2");
    MakeHorzTwoPartBitmap(8, 8, &Two, &Picture, Skin, 40, 0, false);
    EXPECT_EQ(Row(Two, 1), "c1:8 ta:7 tb:7 ta:7 tb:7 ta:4");
    MakeHorzMiddleBitmap(8, 8, &Middle, &Picture, Skin, 20, 0, false);
    EXPECT_EQ(Row(Middle, 1), "ta:7 tb:7 ta:6");
    MakeHorzThreePartBitmap(8, 8, &Three, &Picture, Skin, 44, 0, true);
    EXPECT_EQ(Row(Three, 1), "c1:8 ta:14 tb:14 c3:8");
    MakeVertThreePartBitmap(6, 6, &Vert, &Picture, Skin, 0, 40, false);
    EXPECT_EQ(Vert.Width(), 30);
    EXPECT_EQ(Column(Vert, 1), "c1:4 c2:2 L:28 c5:6");
}

TEST_F(NinePartTest, FrameBorderPiecesTileFromTheirOwnOrigin) {
    TBitmap Left, Top, Right, Bottom;
    const int W = 60, H = 50, DW = W - 30, DH = H - 24;
    const TPoint LT{8, 6}, RT{22, 6}, LB{8, 18}, RB{22, 18};
    const TRect Cl{5, 4, 25, 20};
    MakeFrameBorderBitmaps(LT, RT, LB, RB, Cl, LT, {RT.X + DW, RT.Y}, {LB.X, LB.Y + DH},
                           {RB.X + DW, RB.Y + DH}, {5, 4, 25 + DW, 20 + DH}, &Left, &Top, &Right,
                           &Bottom, &Picture, Skin, W, H, false, false, false, false);
    EXPECT_EQ(Top.Width(), 60);
    EXPECT_EQ(Top.Height(), 4);
    EXPECT_EQ(Bottom.Height(), 4);
    EXPECT_EQ(Left.Width(), 5);
    EXPECT_EQ(Left.Height(), 42);
    EXPECT_EQ(Right.Width(), 5);
    EXPECT_EQ(Right.Height(), 42);
    // Tiles start at x 0, so column 8 shows the tile's second half.
    EXPECT_EQ(Row(Top, 1), "c1:8 tb:6 ta:7 tb:7 ta:7 tb:7 ta:7 tb:3 c3:8");
    // Left piece: row 0 stands for picture row ClRect.Top; corner rows over the tiles.
    EXPECT_EQ(Column(Left, 1), "c2:2 L:38 c5:2");
    EXPECT_EQ(Column(Right, 1), "c4:2 R:38 c8:2");

    // A piece whose condition fails stays empty.
    TBitmap L2, T2, R2, B2;
    MakeFrameBorderBitmaps(LT, {8, 6}, LB, RB, Cl, LT, {8 + DW, 6}, {LB.X, LB.Y + DH},
                           {RB.X + DW, RB.Y + DH}, {5, 4, 25 + DW, 20 + DH}, &L2, &T2, &R2, &B2,
                           &Picture, Skin, W, H, false, false, false, false);
    EXPECT_TRUE(T2.Empty());
    EXPECT_FALSE(B2.Empty());
}
