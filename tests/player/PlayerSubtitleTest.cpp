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

namespace {

// Where sub.mkv's white rectangle lies, and how far from it a picture must
// be untouched.
bool InsideRectangle(int X, int Y) {
    return X >= 34 && X < 46 && Y >= 26 && Y < 30; // 2 pixels in from its edge
}
bool FarFromRectangle(int X, int Y) {
    return X < 28 || X >= 52 || Y < 20 || Y >= 36; // more than 4 pixels away
}

const std::uint8_t* Pixel(TBitmap* ABitmap, int X, int Y) {
    return static_cast<const std::uint8_t*>(ABitmap->ScanLine(Y)) + X * 3;
}

} // namespace

class PlayerSubtitlePlayback : public PlayerTest {
protected:
    std::unique_ptr<TBitmap> Reference; // pattern.mkv's picture at the same time

    void SetUp() override {
        PlayerTest::SetUp();
        DestroyWindow(Host);
        Host = MakeHost(64, 48, 0);
    }
    // Opens paused, waits for the paused open's pictures, and returns the
    // snapshot's time.
    std::int64_t OpenPaused(const char* AClip) {
        EXPECT_TRUE(OpenClip(AClip, true)) << Player->LastErrMsg();
        EXPECT_TRUE(WaitForState(psPause));
        TVideoState* is = Player->State();
        EXPECT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
        std::int64_t PTS = 0;
        Player->CurrentFrame(PTS);
        return PTS;
    }
    std::uint64_t Generation() {
        TVideoState* is = Player->State();
        std::lock_guard Guard(is->Shown.Lock);
        return is->Shown.Generation;
    }
    // The picture on show drawn again (a new surface), and its snapshot.
    TBitmap* Redrawn() {
        const std::uint64_t Before = Generation();
        Player->SetAspectRatio(Player->AspectRatio() == 0 ? -1 : 0);
        EXPECT_TRUE(ServeUntil([&] { return Generation() > Before; }));
        std::int64_t PTS = 0;
        return Player->CurrentFrame(PTS);
    }
    // The next picture while paused, and its snapshot.
    TBitmap* Stepped() {
        TVideoState* is = Player->State();
        const int Shown = is->PicturesShown;
        Player->StepToNextFrame();
        EXPECT_TRUE(ServeUntil([&] { return Player->Paused() && is->PicturesShown > Shown; }));
        std::int64_t PTS = 0;
        TBitmap* Frame = Player->CurrentFrame(PTS);
        Reference = Snapshot(PTS);
        return Frame;
    }
    // pattern.mkv's picture at APTS as the player shows it.
    std::unique_ptr<TBitmap> Snapshot(std::int64_t APTS) {
        TAVProbe Probe(nullptr);
        EXPECT_TRUE(Probe.LoadFile(Clip("pattern.mkv")));
        while (Probe.Decode() && Probe.FrameInfo().PTS < APTS) {
        }
        auto Bitmap = NewFrameBitmap(0, 0, pf24bit);
        EXPECT_EQ(Probe.FrameInfo().PTS, APTS);
        Probe.CopyToBitmap(Bitmap.get());
        return Bitmap;
    }
    void ExpectRectangle(TBitmap* AFrame, bool AShown) {
        ASSERT_TRUE(Reference);
        for (int Y = 0; Y < 48; ++Y)
            for (int X = 0; X < 64; ++X) {
                const std::uint8_t* P = Pixel(AFrame, X, Y);
                if (AShown && InsideRectangle(X, Y)) {
                    for (int C = 0; C < 3; ++C)
                        ASSERT_GE(P[C], 254) << X << "," << Y;
                } else if (!AShown || FarFromRectangle(X, Y)) {
                    ASSERT_EQ(std::memcmp(P, Pixel(Reference.get(), X, Y), 3), 0) << X << "," << Y;
                }
            }
    }
};

TEST_F(PlayerSubtitlePlayback, ABitmapSubtitleIsBlendedIntoThePictureAndTheHost) {
    const std::int64_t PTS = OpenPaused("sub.mkv");
    EXPECT_EQ(PTS, 40000);
    TVideoState* is = Player->State();
    // The subtitle may be decoded after the paused pictures were shown; a
    // redraw of the picture on show then carries it.
    ASSERT_TRUE(ServeUntil([&] { return is->SubtitlesQueued > 0; }));
    TBitmap* Frame = Redrawn();
    Reference = Snapshot(40000);
    ExpectRectangle(Frame, true);
    // The host shows the same, within 1.
    const auto Presented = PresentedHost(Host, 64, 48);
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X) {
            const std::uint32_t Shown = Presented[std::size_t(Y) * 64 + X];
            const std::uint8_t* P = Pixel(Frame, X, Y);
            ASSERT_LE(std::abs(int(Shown & 0xFF) - P[0]), 1) << X << "," << Y;
            ASSERT_LE(std::abs(int((Shown >> 16) & 0xFF) - P[2]), 1) << X << "," << Y;
        }

    // Switched off, the next picture comes without it; switched back on, the
    // subtitle queued before the switch is not shown again.
    Player->SetSubtitleStreamIndex(-1);
    ExpectRectangle(Stepped(), false);
    Player->SetSubtitleStreamIndex(1);
    ExpectRectangle(Stepped(), false);
    Player->Stop(true);
}

TEST_F(PlayerSubtitlePlayback, TextSubtitlesAreNeverQueued) {
    ASSERT_TRUE(OpenClip("text_sub.mkv", false)) << Player->LastErrMsg();
    TVideoState* is = Player->State();
    ASSERT_GE(is->subtitle_stream, 0);
    ASSERT_TRUE(WaitForState(psEnd));
    EXPECT_EQ(is->SubtitlesQueued, 0);
    std::int64_t PTS = 0;
    TBitmap* Frame = Player->CurrentFrame(PTS);
    Reference = Snapshot(PTS);
    ExpectRectangle(Frame, false);
    Player->Stop(true);
}
