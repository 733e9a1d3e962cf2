// Subtitles: palettes turned into YUV, rectangles blended into pictures, and
// bitmap subtitles shown over the playing clip.
#include "tests/player/PlayerTestSupport.h"

#include <cstring>

TEST(PlayerSubtitles, PaletteEntriesBecomeStudioRangeYUVWithTheirAlpha) {
    const struct {
        std::uint32_t ARGB, AYUV;
    } Rows[] = {{0xFFFFFFFF, 0xFFEB8080},
                {0xFF000000, 0xFF108080},
                // Y (263 x 255 + 16896) >> 10; U and V with an arithmetic shift.
                {0x80FF0000, 0x80515AF0}};
    for (const auto& Row : Rows)
        EXPECT_EQ(PaletteEntryToYUVA(Row.ARGB), Row.AYUV) << std::hex << Row.ARGB;
}

namespace {

// A 6 x 4 picture of Y 100, U 120, V 140, each plane with guard bytes to its
// right and a guard line below that a blend must never touch.
struct TSmallPicture {
    static constexpr int W = 6, H = 4, Guard = 4, Sentinel = 0xA5;
    std::vector<std::uint8_t> Store[3];
    std::uint8_t* Planes[3];
    int LineSizes[3];

    TSmallPicture() {
        const std::uint8_t Values[3] = {100, 120, 140};
        for (int I = 0; I < 3; ++I) {
            const int Width = I ? W / 2 : W, Height = I ? H / 2 : H;
            LineSizes[I] = Width + Guard;
            Store[I].assign(std::size_t(LineSizes[I]) * (Height + 1), Sentinel);
            for (int Y = 0; Y < Height; ++Y)
                std::memset(&Store[I][std::size_t(Y) * LineSizes[I]], Values[I],
                            std::size_t(Width));
            Planes[I] = Store[I].data();
        }
    }
    int At(int APlane, int X, int Y) const {
        return Store[APlane][std::size_t(Y) * LineSizes[APlane] + X];
    }
    bool GuardsKept() const {
        for (int I = 0; I < 3; ++I) {
            const int Width = I ? W / 2 : W, Height = I ? H / 2 : H;
            for (int Y = 0; Y <= Height; ++Y)
                for (int X = Y == Height ? 0 : Width; X < LineSizes[I]; ++X)
                    if (At(I, X, Y) != Sentinel)
                        return false;
        }
        return true;
    }
};

} // namespace

// Expected values worked out by hand from the blend ((o << s) x (255 - a) +
// n x a) / (255 << s): luma per pixel; chroma per 2 x 2 block with the
// covered pixels' values summed, their alphas summed and shifted right by 2,
// and s 2, 1 or 0 for four, two or one covered pixels.
TEST(PlayerSubtitles, BlendSubRectTable) {
    struct TExpect {
        int Plane, X, Y, Value;
    };
    const struct {
        const char* Name;
        int X, Y, W, H;
        std::uint8_t Alpha;
        std::vector<TExpect> Expect;
    } Rows[] = {
        {"odd corner pixel",
         1,
         1,
         1,
         1,
         255,
         {{0, 1, 1, 200}, {0, 0, 1, 100}, {0, 1, 0, 100}, {1, 0, 0, 102}, {2, 0, 0, 120}}},
        {"full block, half alpha",
         2,
         2,
         2,
         2,
         128,
         {{0, 2, 2, 150}, {0, 3, 3, 150}, {1, 1, 1, 84}, {2, 1, 1, 99}, {1, 1, 0, 120}}},
        {"clear", 0, 0, 6, 4, 0, {{0, 0, 0, 100}, {0, 5, 3, 100}, {1, 2, 1, 120}, {2, 0, 0, 140}}},
        {"odd width: a pair and a single",
         0,
         0,
         3,
         1,
         255,
         {{0, 0, 0, 200},
          {0, 2, 0, 200},
          {0, 3, 0, 100},
          {1, 0, 0, 85},
          {1, 1, 0, 102},
          {2, 0, 0, 100},
          {2, 1, 0, 120},
          {1, 2, 0, 120}}},
        {"partly outside: moved in",
         5,
         3,
         2,
         2,
         255,
         {{0, 4, 2, 200}, {0, 5, 3, 200}, {0, 3, 2, 100}, {1, 2, 1, 50}, {2, 2, 1, 60}}},
        {"larger than the picture: cut",
         -3,
         -3,
         10,
         10,
         255,
         {{0, 0, 0, 200}, {0, 5, 3, 200}, {1, 0, 0, 50}, {2, 2, 1, 60}}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TSmallPicture Picture;
        // Index 1 is Y 200, U 50, V 60 at the row's alpha; the bitmap is
        // padded to show that its line size is honoured.
        std::uint32_t Palette[2] = {0,
                                    std::uint32_t(Row.Alpha) << 24 | 200u << 16 | 50u << 8 | 60u};
        const int Pitch = Row.W + 3;
        std::vector<std::uint8_t> Bitmap(std::size_t(Pitch) * Row.H, 0);
        for (int Y = 0; Y < Row.H; ++Y)
            std::memset(&Bitmap[std::size_t(Y) * Pitch], 1, std::size_t(Row.W));
        AVSubtitleRect Rect{};
        Rect.x = Row.X;
        Rect.y = Row.Y;
        Rect.w = Row.W;
        Rect.h = Row.H;
        Rect.nb_colors = 2;
        Rect.data[0] = Bitmap.data();
        Rect.linesize[0] = Pitch;
        Rect.data[1] = reinterpret_cast<std::uint8_t*>(Palette);
        BlendSubRect(Picture.Planes, Picture.LineSizes, Rect, TSmallPicture::W, TSmallPicture::H);
        for (const TExpect& E : Row.Expect)
            EXPECT_EQ(Picture.At(E.Plane, E.X, E.Y), E.Value)
                << "plane " << E.Plane << " at " << E.X << "," << E.Y;
        EXPECT_TRUE(Picture.GuardsKept());
    }
}

TEST(PlayerSubtitles, IndicesPastThePaletteAreClear) {
    TSmallPicture Picture;
    std::uint32_t Palette[2] = {0, 0xFFC83237};
    std::uint8_t Bitmap[2] = {7, 1};
    AVSubtitleRect Rect{};
    Rect.w = 2;
    Rect.h = 1;
    Rect.nb_colors = 2;
    Rect.data[0] = Bitmap;
    Rect.linesize[0] = 2;
    Rect.data[1] = reinterpret_cast<std::uint8_t*>(Palette);
    BlendSubRect(Picture.Planes, Picture.LineSizes, Rect, TSmallPicture::W, TSmallPicture::H);
    EXPECT_EQ(Picture.At(0, 0, 0), 100);
    EXPECT_EQ(Picture.At(0, 1, 0), 200);
}
