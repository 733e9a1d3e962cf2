#include "media/FFUtils.h"
#include "media/FFmpegLoader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A BGR24 picture whose every byte tells its row, column and channel, with a
// chosen line size (the bytes past the row are filled with 0xEE).
struct TTestPicture {
    std::vector<std::uint8_t> Bytes;
    TAVPicture Picture;

    TTestPicture(int AWidth, int AHeight, int ALineSize)
        : Bytes(std::size_t(ALineSize) * AHeight, 0xEE) {
        for (int Y = 0; Y < AHeight; ++Y)
            for (int X = 0; X < AWidth * 3; ++X)
                Bytes[std::size_t(Y) * ALineSize + X] = static_cast<std::uint8_t>(Y * 7 + X * 3);
        Picture.data[0] = Bytes.data();
        Picture.linesize[0] = ALineSize;
    }
};

// Compares the bitmap's pixels (not its row padding) with the picture's.
void ExpectSamePixels(TBitmap& ABitmap, const TTestPicture& APicture, int AWidth, int AHeight) {
    ASSERT_EQ(ABitmap.Width(), AWidth);
    ASSERT_EQ(ABitmap.Height(), AHeight);
    ASSERT_EQ(ABitmap.PixelFormat(), pf24bit);
    for (int Y = 0; Y < AHeight; ++Y) {
        const auto* Row = static_cast<const std::uint8_t*>(ABitmap.ScanLine(Y));
        const std::uint8_t* Source = APicture.Picture.data[0] + Y * APicture.Picture.linesize[0];
        for (int X = 0; X < AWidth * 3; ++X)
            ASSERT_EQ(Row[X], Source[X]) << "row " << Y << " byte " << X;
    }
}

class FFUtilsBitmapTest : public testing::Test {
protected:
    TRGBConvertContext Context;

    void SetUp() override { ASSERT_TRUE(FFLoader().Load(ProbeLibs)) << FFLoader().LastErrMsg(); }
    void TearDown() override {
        ResetRGBContext(Context);
        FFLoader().Unload(ProbeLibs);
    }
};

} // namespace

TEST_F(FFUtilsBitmapTest, ARowLaidOutAsTheBitmapsIsCopiedWithoutTheScaler) {
    TTestPicture Picture(64, 48, 64 * 3);
    ASSERT_TRUE(PictureToBitmap(Context, Picture.Picture, AV_PIX_FMT_BGR24, 64, 48));
    EXPECT_EQ(Context.RGBPictureRef, &Picture.Picture);
    EXPECT_EQ(Context.toRGB_convert_ctx, nullptr);
    EXPECT_EQ(Context.RGBBuf, nullptr);
    ExpectSamePixels(*Context.Bitmap, Picture, 64, 48);
}

// Same format, same size: the scaler only moves the rows, so the pixels come
// through exactly.
TEST_F(FFUtilsBitmapTest, OtherLayoutsGoThroughTheScalerAndKeepTheirPixels) {
    struct TCase {
        int Width, Height, LineSize;
        const char* Why;
    };
    const TCase Cases[] = {
        {65, 48, 65 * 3, "odd width"},
        {66, 48, 66 * 3, "row that the bitmap pads to 200 bytes"},
        {64, 47, 64 * 3, "odd height"},
        {64, 48, 64 * 3 + 8, "picture with a wider line size"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        TTestPicture Picture(Case.Width, Case.Height, Case.LineSize);
        ASSERT_TRUE(
            PictureToBitmap(Context, Picture.Picture, AV_PIX_FMT_BGR24, Case.Width, Case.Height));
        EXPECT_EQ(Context.RGBPictureRef, &Context.RGBPicture);
        EXPECT_NE(Context.toRGB_convert_ctx, nullptr);
        ExpectSamePixels(*Context.Bitmap, Picture, Case.Width, Case.Height);
    }
}

TEST_F(FFUtilsBitmapTest, TheBufferGrowsButNeverShrinks) {
    TTestPicture Large(66, 48, 66 * 3);
    ASSERT_TRUE(PictureToBitmap(Context, Large.Picture, AV_PIX_FMT_BGR24, 66, 48));
    const int LargeSize = Context.RGBBufSize;
    EXPECT_EQ(LargeSize, 66 * 3 * 48);
    const std::uint8_t* Buffer = Context.RGBBuf;

    TTestPicture Small(33, 20, 33 * 3);
    ASSERT_TRUE(PictureToBitmap(Context, Small.Picture, AV_PIX_FMT_BGR24, 33, 20));
    EXPECT_EQ(Context.RGBBufSize, LargeSize);
    EXPECT_EQ(Context.RGBBuf, Buffer);
    ExpectSamePixels(*Context.Bitmap, Small, 33, 20);

    TTestPicture Direct(64, 48, 64 * 3);
    ASSERT_TRUE(PictureToBitmap(Context, Direct.Picture, AV_PIX_FMT_BGR24, 64, 48));
    EXPECT_EQ(Context.RGBBufSize, LargeSize);
    ExpectSamePixels(*Context.Bitmap, Direct, 64, 48);
}

TEST_F(FFUtilsBitmapTest, YUVPicturesAreConverted) {
    // Limited-range black and white halves.
    const int Width = 16, Height = 16;
    std::vector<std::uint8_t> Y(Width * Height), U(Width * Height / 4, 128), V(U);
    for (int Row = 0; Row < Height; ++Row)
        for (int X = 0; X < Width; ++X)
            Y[Row * Width + X] = X < Width / 2 ? 16 : 235;
    TAVPicture Picture;
    Picture.data[0] = Y.data();
    Picture.data[1] = U.data();
    Picture.data[2] = V.data();
    Picture.linesize[0] = Width;
    Picture.linesize[1] = Picture.linesize[2] = Width / 2;
    ASSERT_TRUE(PictureToBitmap(Context, Picture, AV_PIX_FMT_YUV420P, Width, Height));
    const auto* Row = static_cast<const std::uint8_t*>(Context.Bitmap->ScanLine(5));
    for (int Channel = 0; Channel < 3; ++Channel) {
        EXPECT_LE(Row[1 * 3 + Channel], 2);
        EXPECT_GE(Row[14 * 3 + Channel], 253);
    }
}

TEST_F(FFUtilsBitmapTest, AFormatTheScalerRefusesFailsWithTheBitmapSized) {
    TTestPicture Picture(64, 48, 64 * 3);
    EXPECT_FALSE(PictureToBitmap(Context, Picture.Picture, AV_PIX_FMT_VAAPI, 64, 48));
    ASSERT_NE(Context.Bitmap, nullptr);
    EXPECT_EQ(Context.Bitmap->Width(), 64);
    EXPECT_EQ(Context.Bitmap->Height(), 48);
    EXPECT_EQ(Context.toRGB_convert_ctx, nullptr);

    // An empty size or a picture without memory is refused before anything
    // is touched.
    EXPECT_FALSE(PictureToBitmap(Context, Picture.Picture, AV_PIX_FMT_BGR24, 0, 48));
    EXPECT_FALSE(PictureToBitmap(Context, TAVPicture{}, AV_PIX_FMT_BGR24, 64, 48));
}

TEST_F(FFUtilsBitmapTest, ResetReleasesEverythingAndPutsBGR24Back) {
    TTestPicture Picture(65, 48, 65 * 3);
    ASSERT_TRUE(PictureToBitmap(Context, Picture.Picture, AV_PIX_FMT_BGR24, 65, 48));
    Context.RGBPixFmt = AV_PIX_FMT_RGB24;
    Context.BMPPixFmt = pf32bit;
    ResetRGBContext(Context);
    EXPECT_EQ(Context.Bitmap, nullptr);
    EXPECT_EQ(Context.RGBBuf, nullptr);
    EXPECT_EQ(Context.RGBBufSize, 0);
    EXPECT_EQ(Context.RGBPicture.data[0], nullptr);
    EXPECT_EQ(Context.RGBPicture.linesize[0], 0);
    EXPECT_EQ(Context.RGBPictureRef, nullptr);
    EXPECT_EQ(Context.toRGB_convert_ctx, nullptr);
    EXPECT_EQ(Context.RGBPixFmt, AV_PIX_FMT_BGR24);
    EXPECT_EQ(Context.BMPPixFmt, pf24bit);
}

TEST_F(FFUtilsBitmapTest, NewFrameBitmapDrawsNoBackground) {
    const auto Bitmap = NewFrameBitmap(10, 6, pf24bit);
    EXPECT_EQ(Bitmap->Width(), 10);
    EXPECT_EQ(Bitmap->Height(), 6);
    EXPECT_EQ(Bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(Bitmap->Canvas()->Brush()->Style(), bsClear);
}
