// The skin bitmap: sizes and the bitmap list, Assign and AssignTo, the
// stream format, PCX and resource pictures, the checks, alpha and colour
// transforms, and damaged input.
#include "platform/forms/Clipbrd.h"
#include "platform/gdi/PngImage.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/model/bsUtils.StreamText.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

bool Listed(TbsBitmap* B) {
    const auto& L = BitmapList();
    return std::count(L.begin(), L.end(), B) == 1;
}

std::vector<TbsColor> PixelsOf(const TbsBitmap& B) {
    return std::vector<TbsColor>(B.Bits(), B.Bits() + B.Width() * B.Height());
}

void WriteInt(TStream& S, std::int32_t V) {
    S.WriteBuffer(&V, 4);
}

// A stream in the skin bitmap's format, written by hand.
TMemoryStream BitmapStream(const std::string& Name, std::int32_t W, std::int32_t H,
                           const std::vector<TbsColor>& Pixels) {
    TMemoryStream S;
    WriteStreamString(&S, Name);
    WriteInt(S, W);
    WriteInt(S, H);
    if (!Pixels.empty())
        S.WriteBuffer(Pixels.data(), std::int64_t(Pixels.size() * 4));
    S.SetPosition(0);
    return S;
}

// An 8-bit PCX picture: header, Data as given, then the 769-byte palette.
std::vector<BYTE> Pcx(BYTE Version, BYTE Encoding, int W, int H, int BytesPerLine,
                      const std::vector<BYTE>& Data, const std::vector<BYTE>& PaletteTriples) {
    std::vector<BYTE> Out(128 + Data.size() + 769, 0);
    Out[0] = 10;
    Out[1] = Version;
    Out[2] = Encoding;
    Out[3] = 8;
    auto Word = [&](int At, int V) {
        Out[std::size_t(At)] = BYTE(V & 0xFF);
        Out[std::size_t(At + 1)] = BYTE(V >> 8);
    };
    Word(4, 0);
    Word(6, 0);
    Word(8, W - 1);
    Word(10, H - 1);
    Out[65] = 1;
    Word(66, BytesPerLine);
    std::copy(Data.begin(), Data.end(), Out.begin() + 128);
    Out[128 + Data.size()] = 12;
    std::copy(PaletteTriples.begin(), PaletteTriples.end(),
              Out.begin() + 129 + std::ptrdiff_t(Data.size()));
    return Out;
}

void LoadPcx(TbsBitmap& B, const std::vector<BYTE>& Bytes) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
    S.SetPosition(0);
    B.LoadFromPcxStream(&S);
}

} // namespace

TEST(SkinBitmapTest, SizesAreMagnitudesAndRepeatsChangeNothing) {
    TbsBitmap B;
    EXPECT_TRUE(B.Empty());
    B.SetSize(-10, 5);
    EXPECT_EQ(B.Width(), 10);
    EXPECT_EQ(B.Height(), 5);
    EXPECT_EQ(PixelsOf(B), std::vector<TbsColor>(50, 0)) << "a fresh bitmap is black, alpha 0";
    B.SetPixel(3, 4, 0x12345678);
    B.SetPixel(10, 0, 1);
    B.SetPixel(-1, 0, 1);
    B.SetSize(0, 5);
    B.SetSize(10, 5);
    B.SetSize(10, -5);
    EXPECT_EQ(B.Width(), 10);
    EXPECT_EQ(*B.PixelPtr(3, 4), 0x12345678u);
    EXPECT_EQ(std::count(B.Bits(), B.Bits() + 50, 0u), 49);
}

TEST(SkinBitmapTest, ListedOnceWhileItOwnsADC) {
    HDC DC = 0;
    {
        TbsBitmap B;
        EXPECT_EQ(FindBitmapByDC(B.DC()), nullptr);
        B.SetSize(4, 4);
        B.SetSize(6, 2);
        EXPECT_TRUE(Listed(&B));
        DC = B.DC();
        EXPECT_EQ(FindBitmapByDC(DC), &B);
        EXPECT_EQ(B.Canvas()->Handle(), DC);
    }
    EXPECT_EQ(FindBitmapByDC(DC), nullptr);
    EXPECT_EQ(FindBitmapByDC(0), nullptr);
}

TEST(SkinBitmapTest, HugeOrSmallestSizesFailAndLeaveTheBitmapEmpty) {
    TbsBitmap B;
    B.SetSize(4, 4);
    B.Canvas();
    try {
        B.SetSize(INT_MIN, 5);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Width(), 0);
    EXPECT_EQ(B.Bits(), nullptr);
    EXPECT_FALSE(Listed(&B));
    B.Clear(1);
    B.SetAlpha(3);
    B.FlipVert();
    B.SetSize(2, 2);
    EXPECT_EQ(B.Canvas()->Handle(), B.DC()) << "the canvas follows the new DC";
}

TEST(SkinBitmapTest, AssignFromPicturesOfTheClassLibrary) {
    // A 24-bit bitmap: its pixels, alpha 255.
    TBitmap Rgb;
    Rgb.SetPixelFormat(pf24bit);
    Rgb.SetSize(3, 2);
    Rgb.Canvas()->Brush()->SetColor(clRed);
    Rgb.Canvas()->FillRect({0, 0, 3, 2});
    TbsBitmap B;
    B.Assign(&Rgb);
    EXPECT_EQ(PixelsOf(B), std::vector<TbsColor>(6, 0xFFFF0000));
    EXPECT_FALSE(B.AlphaBlend());

    // A 32-bit DIB: every value kept, alpha included, and AlphaBlend found.
    TBitmap Argb;
    Argb.SetPixelFormat(pf32bit);
    Argb.SetSize(3, 1);
    auto* Row = static_cast<TbsColor*>(Argb.ScanLine(0));
    Row[0] = 0x00102030;
    Row[1] = 0x80405060;
    Row[2] = 0xFF708090;
    B.Assign(&Argb);
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{0x00102030, 0x80405060, 0xFF708090}));
    EXPECT_TRUE(B.AlphaBlend());

    // A picture holding a PNG: drawn, alpha 255; the flags stay.
    TPngImage Png;
    Png.Assign(&Rgb);
    TPicture Picture;
    Picture.SetGraphic(&Png);
    B.Assign(&Picture);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(PixelsOf(B), std::vector<TbsColor>(6, 0xFFFF0000));
    EXPECT_TRUE(B.AlphaBlend());
}

TEST(SkinBitmapTest, AssignBetweenSkinBitmapsAndTheAssignError) {
    TbsBitmap Src, B;
    NumberPixels(Src, 3, 2);
    Src.SetName("按钮");
    Src.SetTransparent(true);
    Src.SetAlphaBlend(true);
    B.Assign(&Src);
    EXPECT_EQ(PixelsOf(B), PixelsOf(Src));
    EXPECT_EQ(B.Name(), "按钮");
    EXPECT_TRUE(B.Transparent());
    EXPECT_TRUE(B.AlphaBlend());

    TbsBitmap Empty;
    B.Assign(&Empty);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(B.Name(), "按钮");

    TFont Font;
    EXPECT_THROW(B.Assign(&Font), EConvertError);
    EXPECT_THROW(B.AssignTo(&Font), EConvertError);
}

TEST(SkinBitmapTest, AssignToABitmapDrawsIntoA32BitOne) {
    TbsBitmap B;
    NumberPixels(B, 4, 3);
    TBitmap Target;
    Target.SetPixelFormat(pf8bit);
    Target.Assign(&B);
    EXPECT_EQ(Target.PixelFormat(), pf32bit);
    EXPECT_EQ(Target.Width(), 4);
    EXPECT_EQ(Target.Height(), 3);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(static_cast<TbsColor*>(Target.ScanLine(Y))[X] & 0xFFFFFF,
                      Numbered(X, Y) & 0xFFFFFF);
    TPicture Picture;
    Picture.Assign(&B);
    ASSERT_NE(Picture.Graphic(), nullptr);
    EXPECT_EQ(Picture.Width(), 4);
}

class SkinBitmapClipboardTest : public testing::Test {
protected:
    void SetUp() override { SetBackend(&Headless); }
    void TearDown() override {
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    THeadlessBackend Headless;
};

TEST_F(SkinBitmapClipboardTest, PicturesGoThroughTheClipboardWithTheirAlpha) {
    Headless.SetClipboardText("text before");
    for (int Width : {3, 5}) {
        TbsBitmap Src;
        NumberPixels(Src, Width, 2);
        Src.SetPixel(1, 1, 0x80402010);
        Src.AssignTo(Clipboard());
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "the picture replaced the text";
        EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));

        TbsBitmap Back;
        Back.Assign(Clipboard());
        EXPECT_EQ(Back.Width(), Width);
        EXPECT_EQ(Back.Height(), 2);
        EXPECT_EQ(PixelsOf(Back), PixelsOf(Src));
        EXPECT_TRUE(Back.AlphaBlend()) << "a partly see-through pixel came back";
    }

    // Text replaces the picture: reading raises and changes nothing, and the
    // clipboard is not left open.
    Headless.SetClipboardText("text after");
    TbsBitmap Kept;
    NumberPixels(Kept, 2, 2);
    EXPECT_THROW(Kept.Assign(Clipboard()), EClipboardException);
    EXPECT_EQ(Kept.Width(), 2);
    EXPECT_EQ(Kept.Bits()[3], Numbered(1, 1));
    ASSERT_TRUE(OpenClipboard(nullptr));
    CloseClipboard();
    EXPECT_EQ(Headless.Clipboard(), "text after");
}

TEST(SkinBitmapTest, StreamRoundTripAndStoredLayouts) {
    TbsBitmap A, B;
    NumberPixels(A, 3, 2);
    A.SetName("视频按钮");
    TMemoryStream S;
    A.SaveToStream(&S);
    EXPECT_EQ(S.Size(), 4 + 8 + 8 + 24);
    S.SetPosition(0);
    B.LoadFromStream(&S);
    EXPECT_EQ(B.Name(), "视频按钮");
    EXPECT_EQ(PixelsOf(B), PixelsOf(A));
    EXPECT_EQ(S.Position(), S.Size());

    // A negative height stores the rows bottom-up.
    TMemoryStream Up = BitmapStream("u", 2, -2, {1, 2, 3, 4});
    B.LoadFromStream(&Up);
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{3, 4, 1, 2}));

    // Height 0 takes the name and reads no pixel bytes.
    TMemoryStream Flat = BitmapStream("平", 3, 0, {0xAAAAAAAA});
    B.LoadFromStream(&Flat);
    EXPECT_EQ(B.Name(), "平");
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{3, 4, 1, 2}));
    EXPECT_EQ(Flat.Position(), 12 + 2);
}

TEST(SkinBitmapTest, DamagedStreamHeadersRaiseAndChangeNothing) {
    struct TCase {
        const char* What;
        std::int32_t W, H;
        std::size_t PixelBytes;
    } Cases[] = {
        {"negative width", -5, 2, 40},
        {"smallest height", 2, INT_MIN, 40},
        {"width beyond the DIB limit", 100000, 1, 40},
        {"pixels missing", 10, 10, 30},
    };
    for (const TCase& C : Cases) {
        TbsBitmap B;
        NumberPixels(B, 2, 2);
        B.SetName("keep");
        TMemoryStream S;
        WriteStreamString(&S, "new");
        WriteInt(S, C.W);
        WriteInt(S, C.H);
        const std::vector<BYTE> Bytes(C.PixelBytes, 0xEE);
        S.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
        S.SetPosition(0);
        EXPECT_THROW(B.LoadFromStream(&S), EReadError) << C.What;
        EXPECT_EQ(B.Name(), "keep") << C.What;
        EXPECT_EQ(B.Width(), 2) << C.What;
        EXPECT_EQ(*B.PixelPtr(1, 1), Numbered(1, 1)) << C.What;
        EXPECT_EQ(S.Position(), 4 + 6 + 8) << C.What;
    }
}

TEST(SkinBitmapTest, CheckingTransparentKeysNearColours) {
    TbsBitmap B;
    B.SetSize(5, 1);
    const TbsColor In[5] = {0xFFFF00FF, 0xFFFA05FA, 0x00FB00FF, 0xFFF900FF, 0xFFFF06FF};
    std::copy(In, In + 5, B.Bits());
    B.CheckingTransparent(0x00FF00FF);
    EXPECT_TRUE(B.Transparent());
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{TransparentKey, TransparentKey, TransparentKey,
                                                  0xFFF900FF, 0xFFFF06FF}));
    B.CheckingTransparent(0x00000001);
    EXPECT_FALSE(B.Transparent()) << "nothing near: the flag is cleared";
}

TEST(SkinBitmapTest, CheckingAlphaBlendLooksForPartialAlpha) {
    TbsBitmap B;
    B.SetSize(2, 1);
    B.Bits()[0] = 0x00000000;
    B.Bits()[1] = 0xFF000000;
    B.SetAlphaBlend(true);
    B.CheckingAlphaBlend();
    EXPECT_FALSE(B.AlphaBlend());
    B.Bits()[1] = 0x11000000;
    B.CheckingAlphaBlend(TRect{0, 0, 1, 1});
    EXPECT_TRUE(B.AlphaBlend()) << "the rectangle is not used";
}

TEST(SkinBitmapTest, SetAlphaInsideTheClippedRectangleOnly) {
    TbsBitmap B;
    FillBitmap(B, 4, 3, 0xFF112233);
    B.SetAlpha(100, TRect{-2, 1, 2, 9});
    B.SetAlpha(7, TRect{1, 0, 1, 3});
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(*B.PixelPtr(X, Y), (X < 2 && Y >= 1) ? 0x64112233u : 0xFF112233u)
                << X << "," << Y;
}

TEST(SkinBitmapTest, ColourTransformsKeepAlphaAndSkipSeeThroughPixels) {
    TbsBitmap B;
    B.SetSize(2, 1);
    B.Bits()[0] = 0x00FA0A00;
    B.Bits()[1] = 0x09FA0A00;
    B.ChangeBitmapBrightness(30);
    EXPECT_EQ(B.Bits()[0], 0x00FA0A00u);
    EXPECT_EQ(B.Bits()[1], 0x09FF281Eu);

    // Saturation 255 steps plus 1 wraps to 1 step: pure red becomes almost grey.
    B.Bits()[1] = 0x4DFF0000;
    B.ChangeBitmapSat(1);
    EXPECT_EQ(B.Bits()[1], 0x4D807F7Fu);

    // A hue pushed to 256 steps equals a hue of 1 step.
    TbsBitmap A, C;
    FillBitmap(A, 1, 1, 0x4DFF0000);
    FillBitmap(C, 1, 1, 0x4DFF0000);
    A.ChangeBitmapHue(256);
    C.ChangeBitmapHue(1);
    EXPECT_EQ(A.Bits()[0], C.Bits()[0]);
    EXPECT_EQ(A.Bits()[0], 0x4DFF0600u);

    A.SetBitmapHue(300);
    EXPECT_EQ(A.Bits()[0], 0x4DFF0000u) << "hue clamped to 255, which is red again";
}

TEST(SkinBitmapTest, HslRoundTripOfPrimariesAndGreys) {
    for (TbsColor C : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFF00u,
                       0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xFF7F7F7Fu}) {
        float H, S, L;
        RGBToHSL(C, H, S, L);
        EXPECT_EQ(HSLToRGB(L, S, H), C) << std::hex << C;
    }
    EXPECT_EQ(PackPixel(-5, 300, 7, 0x80), 0x8000FF07u);
}

TEST(SkinBitmapTest, FlipVertReversesRows) {
    TbsBitmap B;
    for (int H : {3, 4}) {
        NumberPixels(B, 2, H);
        B.FlipVert();
        for (int Y = 0; Y < H; ++Y)
            EXPECT_EQ(*B.PixelPtr(1, Y), Numbered(1, H - 1 - Y)) << H << " rows, row " << Y;
    }
}

TEST(SkinBitmapTest, PcxPicturesWithTheirPalettes) {
    // Rows 1 2 3 (pad 0) and 3 3 3 (pad 0), run-length coded.
    const std::vector<BYTE> Rle = {1, 2, 3, 0, 0xC3, 3, 0};
    const std::vector<BYTE> Palette = {0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    TbsBitmap B;
    LoadPcx(B, Pcx(5, 1, 3, 2, 4, Rle, Palette));
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{0xFF0A141E, 0xFF28323C, 0xFF46505A, //
                                                  0xFF46505A, 0xFF46505A, 0xFF46505A}));

    // Version 3 uses the 16-colour system palette, not the stream's tail.
    const std::vector<BYTE> Raw = {1, 12, 9, 0};
    LoadPcx(B, Pcx(3, 0, 3, 1, 4, Raw, std::vector<BYTE>(768, 0x11)));
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{0xFF800000, 0xFF0000FF, 0xFFFF0000}));

    // Not a PCX picture: silently nothing.
    std::vector<BYTE> Wrong = Pcx(5, 1, 3, 2, 4, Rle, Palette);
    Wrong[0] = 11;
    LoadPcx(B, Wrong);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(B.Height(), 1);
}

TEST(SkinBitmapTest, DamagedPcxRaisesAndChangesNothing) {
    const std::vector<BYTE> Palette(768, 0x40);
    struct TCase {
        const char* What;
        std::vector<BYTE> Bytes;
    } Cases[] = {
        {"shorter than a header", std::vector<BYTE>(100, 10)},
        {"row shorter than the width", Pcx(5, 0, 10, 1, 4, std::vector<BYTE>(4, 1), Palette)},
        {"run-length data ending early", Pcx(5, 1, 4, 3, 4, {0xC4, 1, 0xC4, 1}, {})},
        {"raw data one row short", Pcx(5, 0, 4, 3, 4, std::vector<BYTE>(8, 1), {})},
    };
    // Without its palette tail the picture is short of its data as well.
    Cases[2].Bytes.resize(128 + 4);
    Cases[3].Bytes.resize(128 + 8);
    Cases[3].Bytes[1] = 3;
    Cases[2].Bytes[1] = 3;
    for (const TCase& C : Cases) {
        TbsBitmap B;
        NumberPixels(B, 2, 2);
        EXPECT_THROW(LoadPcx(B, C.Bytes), EReadError) << C.What;
        EXPECT_EQ(B.Width(), 2) << C.What;
        EXPECT_EQ(*B.PixelPtr(1, 1), Numbered(1, 1)) << C.What;
    }
    // A palette that would start inside the header.
    std::vector<BYTE> Short = Pcx(5, 0, 1, 1, 2, {1, 1}, {});
    Short.resize(128 + 300);
    TbsBitmap B;
    EXPECT_THROW(LoadPcx(B, Short), EReadError);
    EXPECT_TRUE(B.Empty());
}

TEST(SkinBitmapTest, ResourcePicturesKeepTheirAlpha) {
    TBitmap Argb;
    Argb.SetPixelFormat(pf32bit);
    Argb.SetSize(2, 1);
    auto* Row = static_cast<TbsColor*>(Argb.ScanLine(0));
    Row[0] = 0x40102030;
    Row[1] = 0xFF405060;
    TMemoryStream S;
    Argb.SaveToStream(&S);
    std::vector<std::uint8_t> Bytes(std::size_t(S.Size()));
    S.SetPosition(0);
    S.ReadBuffer(Bytes.data(), S.Size());
    RegisterResource("SKINBITMAPTEST32", Bytes);

    TbsBitmap B;
    B.LoadFromResource("skin.dll", "SKINBITMAPTEST32");
    EXPECT_EQ(PixelsOf(B), (std::vector<TbsColor>{0x40102030, 0xFF405060}));
    EXPECT_TRUE(B.AlphaBlend());
    B.LoadFromResource("skin.dll", "NO_SUCH_PICTURE");
    EXPECT_EQ(B.Width(), 2);
}
