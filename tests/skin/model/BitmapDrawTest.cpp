// Drawing skin bitmaps onto other skin bitmaps, memory DCs and window DCs;
// tiles, merging, pictures, fills and reflections; bitmap links.
#include "skin/model/bsUtils.StreamText.h"
#include "tests/skin/model/DrawTestSupport.h"

namespace {

TbsColor Blend(TbsColor F, TbsColor B) {
    return PixelKernels().BlendPixel(F, B);
}

// 0x00RRGGBB, as window read-backs give it.
std::uint32_t Rgb(TbsColor C) {
    return C & 0x00FFFFFF;
}

} // namespace

TEST(BitmapDrawTest, DrawOnAnotherBitmapsCanvasHonoursItsWindowOrigin) {
    TbsBitmap Src, Dst;
    FillBitmap(Src, 4, 4, 0x80FFFFFF);
    Src.SetAlphaBlend(true);
    FillBitmap(Dst, 40, 40, 0xFF000000);
    SetWindowOrgEx(Dst.Canvas()->Handle(), 10, 20, nullptr);
    Src.Draw(Dst.Canvas(), 15, 25);
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 40; ++X) {
            const bool Inside = X >= 5 && X < 9 && Y >= 5 && Y < 9;
            ASSERT_EQ(*Dst.PixelPtr(X, Y), Inside ? Blend(0x80FFFFFF, 0xFF000000) : 0xFF000000u)
                << X << "," << Y;
        }
}

TEST(BitmapDrawTest, OpaqueDrawOnADCStretchesByNearestPixel) {
    TbsBitmap Src;
    NumberPixels(Src, 2, 1);
    TDibSurface Target(4, 1, false);
    Target.Fill(0);
    Src.Draw(Target.DC(), TRect{0, 0, 4, 1});
    EXPECT_EQ(Target.At(0, 0), Numbered(0, 0));
    EXPECT_EQ(Target.At(1, 0), Numbered(0, 0));
    EXPECT_EQ(Target.At(2, 0), Numbered(1, 0));
    EXPECT_EQ(Target.At(3, 0), Numbered(1, 0));
}

TEST(BitmapDrawTest, TilesRepeatAndTheLastOneIsCutFromTheLeft) {
    TbsBitmap Src, Dst;
    NumberPixels(Src, 10, 10);
    FillBitmap(Dst, 30, 12, 0x11111111);
    Src.Tile(&Dst, TRect{0, 0, 25, 10}, TRect{0, 0, 10, 10});
    for (int Y = 0; Y < 12; ++Y)
        for (int X = 0; X < 30; ++X) {
            const TbsColor Expect = (X < 25 && Y < 10) ? Numbered(X % 10, Y) : 0x11111111;
            ASSERT_EQ(*Dst.PixelPtr(X, Y), Expect) << X << "," << Y;
        }
}

TEST(BitmapDrawTest, DirectDibTilesMatchTheBitmapTarget) {
    TbsBitmap Src, Ref;
    NumberPixels(Src, 7, 5);
    FillBitmap(Ref, 30, 20, 0xFF000000);
    const TRect DstRect{3, 4, 27, 19};
    const TRect SrcRect{1, 1, 6, 4};
    Src.Tile(&Ref, DstRect, SrcRect);

    TDibSurface Dib(30, 20);
    Dib.Fill(0xFF000000);
    SetWindowOrgEx(Dib.DC(), 3, 4, nullptr);
    // The direct path writes pixels without GDI: a clip of the DC does not hold.
    IntersectClipRect(Dib.DC(), 0, 0, 1, 1);
    Src.Tile(Dib.DC(), DstRect, SrcRect);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 30; ++X) {
            const TbsColor Expect =
                (X + 3 < 30 && Y + 4 < 20) ? *Ref.PixelPtr(X + 3, Y + 4) : 0xFF000000u;
            ASSERT_EQ(Dib.At(X, Y), Expect) << X << "," << Y;
        }
}

TEST(BitmapDrawTest, TileClipDrawsOnlyTilesMeetingTheClip) {
    TbsBitmap Src;
    NumberPixels(Src, 4, 4);
    for (bool Narrow : {false, true}) {
        TbsBitmap Dst;
        FillBitmap(Dst, 12, 4, 0);
        const TRect Clip = Narrow ? TRect{5, 1, 6, 2} : TRect{};
        Src.TileClip(&Dst, TRect{0, 0, 12, 4}, Clip, TRect{0, 0, 4, 4});
        for (int X = 0; X < 12; ++X) {
            const bool Drawn = !Narrow || (X >= 4 && X < 8);
            EXPECT_EQ(*Dst.PixelPtr(X, 2), Drawn ? Numbered(X % 4, 2) : 0u) << Narrow << " " << X;
        }
    }
}

TEST(BitmapDrawTest, MergeDrawFillsSeeThroughPixelsFromBelow) {
    TbsBitmap Top, Below;
    Top.SetSize(5, 1);
    const TbsColor In[5] = {0x00010101, 0x80FF0000, 0xFF00FF00, 0x00020202, 0x01030303};
    std::copy(In, In + 5, Top.Bits());
    NumberPixels(Below, 6, 1);
    // Left -1: the picture moves one pixel right and starts at its column 0.
    Top.MergeDraw(&Below, 0, 0, TRect{-1, 0, 6, 1});
    EXPECT_EQ(Top.Bits()[0], 0x00010101u);
    EXPECT_EQ(Top.Bits()[1], Blend(0x80FF0000, Numbered(0, 0)));
    EXPECT_EQ(Top.Bits()[2], 0xFF00FF00u);
    EXPECT_EQ(Top.Bits()[3], Numbered(2, 0));
    EXPECT_EQ(Top.Bits()[4], Blend(0x01030303, Numbered(3, 0)));
}

TEST(BitmapDrawTest, DrawGraphicLeavesFuchsiaPixelsAlone) {
    TBitmap G;
    G.SetPixelFormat(pf24bit);
    G.SetSize(3, 1);
    G.Canvas()->SetPixels(0, 0, clFuchsia);
    G.Canvas()->SetPixels(1, 0, clLime);
    G.Canvas()->SetPixels(2, 0, clBlue);
    TbsBitmap B;
    FillBitmap(B, 4, 1, 0xFF112233);
    B.DrawGraphic(&G, TRect{0, 0, 3, 1});
    EXPECT_EQ(B.Bits()[0], 0xFF112233u);
    EXPECT_EQ(Rgb(B.Bits()[1]), 0x00FF00u);
    EXPECT_EQ(Rgb(B.Bits()[2]), 0x0000FFu);
    EXPECT_EQ(B.Bits()[3], 0xFF112233u) << "outside DstRect";
}

TEST(BitmapDrawTest, FillRectBlendsOrWritesByTheAlphaFlag) {
    TbsBitmap B;
    FillBitmap(B, 4, 4, 0xFF102030);
    B.SetAlphaBlend(true);
    B.FillRect(TRect{-5, -5, 10, 10}, 0x00FFFFFF);
    EXPECT_EQ(B.Bits()[5], 0xFF102030u);
    B.FillRect(TRect{1, 1, 3, 2}, 0x80FFFFFF);
    EXPECT_EQ(*B.PixelPtr(1, 1), Blend(0x80FFFFFF, 0xFF102030));
    EXPECT_EQ(*B.PixelPtr(3, 1), 0xFF102030u);
    B.SetAlphaBlend(false);
    B.FillRect(TRect{2, 2, 9, 9}, 0x00ABCDEF);
    EXPECT_EQ(*B.PixelPtr(3, 3), 0x00ABCDEFu);
    EXPECT_EQ(*B.PixelPtr(1, 3), 0xFF102030u);
}

TEST(BitmapDrawTest, ReflectionsFadeTheMirroredRows) {
    struct TCase {
        void (TbsBitmap::*Reflect)();
        TbsColor Alphas[4];
    } Cases[] = {
        // Factors 1, 0.5, 0, -0.5 on alpha 255: round(127.5) is 128.
        {&TbsBitmap::Reflection, {85, 42, 0, 0}},
        {&TbsBitmap::Reflection2, {63, 32, 0, 0}},
        {&TbsBitmap::Reflection3, {127, 64, 0, 0}},
    };
    for (const TCase& C : Cases) {
        TbsBitmap B;
        NumberPixels(B, 2, 4);
        B.SetPixel(1, 3, 0x00123456);
        (B.*C.Reflect)();
        for (int Y = 0; Y < 4; ++Y) {
            EXPECT_EQ(*B.PixelPtr(0, Y) >> 24, C.Alphas[Y]) << "row " << Y;
            EXPECT_EQ(Rgb(*B.PixelPtr(0, Y)), Rgb(Numbered(0, 3 - Y))) << "rows mirrored";
        }
        EXPECT_EQ(*B.PixelPtr(1, 0), 0x00123456u) << "alpha 0 stays 0";
    }
}

// ---------------------------------------------------------------- window DCs

class BitmapWindowDrawTest : public TDrawWindowTest {};

TEST_F(BitmapWindowDrawTest, AlphaDrawOnAWindowComposesWithItsPixels) {
    HWND Wnd = MakeFilledWindow({100, 50, 140, 80}, RGB(0, 0, 255));
    TbsBitmap Src;
    FillBitmap(Src, 4, 4, 0x80FFFFFF);
    Src.SetPixel(0, 0, 0x00FFFFFF);
    Src.SetAlphaBlend(true);
    HDC DC = GetDC(Wnd);
    Src.Draw(DC, 10, 5);
    TDCSurfaceInfo Info;
    ASSERT_TRUE(GetDCSurfaceInfo(DC, &Info, false));
    auto Back = [&](int X, int Y) {
        const auto* Row = static_cast<const BYTE*>(Info.Bits) + (Info.Offset.Y + Y) * Info.Stride;
        return reinterpret_cast<const TbsColor*>(Row)[Info.Offset.X + X];
    };
    ReleaseDC(Wnd, DC);
    // White at 128 over blue: (255 * 128 + 255 * 128) >> 8 and (255 * 128) >> 8.
    EXPECT_EQ(Rgb(Back(11, 6)), 0x7F7FFFu);
    EXPECT_EQ(Rgb(Back(10, 5)), 0x0000FFu) << "alpha 0 leaves the window";
    EXPECT_EQ(Rgb(Back(14, 6)), 0x0000FFu);
    FlushPresents();
    const TSurfaceId S = WindowSurface(Wnd);
    EXPECT_EQ(Headless.SurfacePixel(S, 11, 6) & 0xFFFFFF, 0x7F7FFFu);
    EXPECT_EQ(Headless.SurfacePixel(S, 9, 6) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(BitmapWindowDrawTest, TransparentDrawOnAWindowLeavesKeyPixels) {
    HWND Wnd = MakeFilledWindow({0, 0, 20, 20}, RGB(0, 128, 0));
    TbsBitmap Src;
    FillBitmap(Src, 2, 1, 0xFFFF0000);
    Src.SetPixel(1, 0, TransparentKey);
    Src.SetTransparent(true);
    HDC DC = GetDC(Wnd);
    Src.Draw(DC, 3, 3);
    ReleaseDC(Wnd, DC);
    FlushPresents();
    const TSurfaceId S = WindowSurface(Wnd);
    EXPECT_EQ(Headless.SurfacePixel(S, 3, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Headless.SurfacePixel(S, 4, 3) & 0xFFFFFF, 0x008000u);
}

// ---------------------------------------------------------------- links

TEST(BitmapLinkTest, EmptyLinksDrawNothing) {
    TbsBitmap Img, Dst;
    NumberPixels(Img, 8, 8);
    FillBitmap(Dst, 8, 8, 0);
    auto Link = Img.GetBitmapLink(TRect{2, 2, 2, 6});
    EXPECT_FALSE(Link->Assigned());
    Link->Draw(&Dst, 0, 0);
    EXPECT_EQ(Dst.Bits()[0], 0u);
    Link->SetRight(5);
    EXPECT_TRUE(Link->Assigned());
    Link->Draw(&Dst, 1, 1);
    EXPECT_EQ(*Dst.PixelPtr(1, 1), Numbered(2, 2));
    EXPECT_EQ(*Dst.PixelPtr(3, 4), Numbered(4, 5));
    EXPECT_EQ(*Dst.PixelPtr(4, 1), 0u);
}

TEST(BitmapLinkTest, MaskedFlagsByWhereTheSeeThroughPixelsLie) {
    TbsBitmap Img;
    FillBitmap(Img, 30, 30, 0xFF808080);
    auto Link = Img.GetBitmapLink(TRect{5, 5, 25, 25});
    const TRect Margins{4, 4, 4, 4};

    Img.SetPixel(5, 5, TransparentKey);
    Link->CheckingMasked(Margins);
    EXPECT_TRUE(Link->MaskedAngles());
    EXPECT_FALSE(Link->MaskedBorder());
    EXPECT_FALSE(Link->Masked());

    Img.SetPixel(5, 5, NoMaskPixel);
    Link->CheckingMasked(Margins);
    EXPECT_FALSE(Link->MaskedAngles() || Link->MaskedBorder() || Link->Masked());

    Img.SetPixel(14, 5, 0x10FFFFFF);
    Img.SetPixel(14, 14, 0xFEFFFFFF);
    Link->CheckingMasked(Margins);
    EXPECT_FALSE(Link->MaskedAngles());
    EXPECT_TRUE(Link->MaskedBorder());
    EXPECT_TRUE(Link->Masked());

    // Without margins: anywhere, and outside the image counts.
    FillBitmap(Img, 30, 30, 0xFF808080);
    Link->CheckingMasked();
    EXPECT_FALSE(Link->Masked());
    Link->SetRect({20, 20, 31, 25});
    Link->CheckingMasked();
    EXPECT_TRUE(Link->Masked());
    EXPECT_FALSE(Link->MaskedAngles());
}

TEST(BitmapLinkTest, StreamRoundTripAndRectangleText) {
    TbsBitmap Img;
    Img.SetName("边框");
    auto Link = Img.GetBitmapLink("(2,3,20,21)");
    EXPECT_EQ(Link->Rect(), (TRect{2, 3, 20, 21}));
    EXPECT_EQ(Link->Name(), "边框");
    EXPECT_EQ(Link->Image(), &Img);
    TMemoryStream S;
    Link->SaveToStream(&S);
    EXPECT_EQ(S.Size(), 4 + 4 + 16);
    S.SetPosition(0);
    TbsBitmapLink Copy;
    Copy.LoadFromStream(&S);
    EXPECT_EQ(Copy.Name(), "边框");
    EXPECT_EQ(Copy.Rect(), Link->Rect());
    TbsBitmapLink Other;
    Other.Assign(Link.get());
    EXPECT_EQ(Other.Image(), &Img);
    TFont Font;
    EXPECT_THROW(Other.Assign(&Font), EConvertError);
    EXPECT_EQ(Img.GetBitmapLink("2,3,x,4")->Rect(), TRect{});
}
