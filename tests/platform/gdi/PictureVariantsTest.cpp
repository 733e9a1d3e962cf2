// Files in the less common forms the readers must accept, written here with
// the libraries themselves.
#include "platform/gdi/Graphics.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/PngImage.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdio>

namespace {

struct TPngOut {
    std::vector<std::uint8_t> Bytes;
};

void Append(png_structp Png, png_bytep Data, png_size_t Size) {
    auto* Out = static_cast<TPngOut*>(png_get_io_ptr(Png));
    Out->Bytes.insert(Out->Bytes.end(), Data, Data + Size);
}

// Writes a PNG of the given type; Rows are in the file's own sample layout.
std::vector<std::uint8_t> WritePng(int W, int H, int Depth, int Type, bool Interlaced,
                                   std::vector<std::vector<std::uint8_t>> Rows,
                                   const std::vector<png_color>& Palette = {},
                                   const std::vector<png_byte>& Trans = {}) {
    TPngOut Out;
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    png_set_write_fn(Png, &Out, Append, nullptr);
    png_set_IHDR(Png, Info, png_uint_32(W), png_uint_32(H), Depth, Type,
                 Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!Palette.empty())
        png_set_PLTE(Png, Info, Palette.data(), int(Palette.size()));
    if (!Trans.empty())
        png_set_tRNS(Png, Info, Trans.data(), int(Trans.size()), nullptr);
    png_write_info(Png, Info);
    std::vector<png_bytep> Pointers;
    for (auto& R : Rows)
        Pointers.push_back(R.data());
    png_write_image(Png, Pointers.data());
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return Out.Bytes;
}

void Read(TGraphic& G, const std::vector<std::uint8_t>& Bytes, TBitmap& B) {
    TMemoryStream M;
    M.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
    M.SetPosition(0);
    G.LoadFromStream(&M);
    B.Assign(&G);
}

std::uint32_t Argb(TBitmap& B, int X, int Y) {
    if (B.PixelFormat() == pf32bit)
        return static_cast<std::uint32_t*>(B.ScanLine(Y))[X];
    const COLORREF C = COLORREF(B.Canvas()->Pixels(X, Y));
    return 0xFF000000u | (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) |
           GetBValue(C);
}

} // namespace

TEST(PngVariants, GreyAlpha16BitInterlacedAndPaletteWithTransparency) {
    // 16-bit grey with alpha, interlaced: 3 x 9 rows so every pass has rows.
    std::vector<std::vector<std::uint8_t>> Rows;
    for (int Y = 0; Y < 9; ++Y) {
        std::vector<std::uint8_t> R;
        for (int X = 0; X < 3; ++X) {
            const std::uint8_t V = std::uint8_t(Y * 20 + X);
            R.insert(R.end(), {V, 0x7F, std::uint8_t(X == 1 ? 0 : 255), 0xFF}); // grey, alpha
        }
        Rows.push_back(R);
    }
    TPngImage P;
    TBitmap B;
    Read(P, WritePng(3, 9, 16, PNG_COLOR_TYPE_GRAY_ALPHA, true, Rows), B);
    EXPECT_EQ(B.PixelFormat(), pf32bit);
    EXPECT_EQ(B.AlphaFormat(), afDefined);
    EXPECT_EQ(Argb(B, 2, 8), 0xFFA2A2A2u); // 16 bits reduced to 8, grey to RGB
    EXPECT_EQ(Argb(B, 1, 4) >> 24, 0u);

    // A 4-bit palette whose entry 1 is transparent by tRNS.
    const std::vector<png_color> Pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    Rows = {{0x01, 0x20}};
    Read(P, WritePng(3, 1, 4, PNG_COLOR_TYPE_PALETTE, false, Rows, Pal, {255, 0}), B);
    EXPECT_EQ(B.PixelFormat(), pf32bit);
    EXPECT_EQ(Argb(B, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Argb(B, 1, 0) >> 24, 0u);
    EXPECT_EQ(Argb(B, 2, 0), 0xFF0000FFu);

    // Plain 8-bit grey becomes 24-bit.
    Rows = {{0, 128, 255}};
    Read(P, WritePng(3, 1, 8, PNG_COLOR_TYPE_GRAY, false, Rows), B);
    EXPECT_EQ(B.PixelFormat(), pf24bit);
    EXPECT_EQ(Argb(B, 1, 0), 0xFF808080u);
}

TEST(JpegVariants, GreyPicturesReadAsColour) {
    const int W = 16, H = 8;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    jpeg_compress_struct Info;
    jpeg_error_mgr Error;
    Info.err = jpeg_std_error(&Error);
    jpeg_create_compress(&Info);
    jpeg_mem_dest(&Info, &Buffer, &Size);
    Info.image_width = W;
    Info.image_height = H;
    Info.input_components = 1;
    Info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, 95, TRUE);
    jpeg_simple_progression(&Info);
    jpeg_start_compress(&Info, TRUE);
    std::vector<JSAMPLE> Row(W, 100);
    while (Info.next_scanline < Info.image_height) {
        JSAMPROW P = Row.data();
        jpeg_write_scanlines(&Info, &P, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    std::vector<std::uint8_t> Bytes(Buffer, Buffer + Size);
    std::free(Buffer);

    TJPEGImage J;
    TBitmap B;
    Read(J, Bytes, B);
    EXPECT_EQ(B.Width(), W);
    EXPECT_EQ(B.PixelFormat(), pf24bit);
    const std::uint32_t P = Argb(B, 5, 5);
    for (int Shift : {0, 8, 16})
        EXPECT_NEAR(int((P >> Shift) & 0xFF), 100, 2);
}
