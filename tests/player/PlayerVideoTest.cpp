// The video path: pictures queued, timed, converted into the surface and
// copied into the host window; the snapshot of the picture on show.
#include "tests/fixtures/PatternFrames.h"
#include "tests/player/PlayerTestSupport.h"

#include <algorithm>
#include <cmath>

namespace {

SDL_Rect ShownRect(TVideoState* is) {
    std::lock_guard Lock(is->Shown.Lock);
    return is->Shown.Generation ? is->Shown.Rect : SDL_Rect{};
}

bool SameRect(const SDL_Rect& A, const SDL_Rect& B) {
    return A.x == B.x && A.y == B.y && A.w == B.w && A.h == B.h;
}

bool SameBitmaps(TBitmap* A, TBitmap* B) {
    if (A->Width() != B->Width() || A->Height() != B->Height())
        return false;
    for (int Y = 0; Y < A->Height(); ++Y)
        if (std::memcmp(A->ScanLine(Y), B->ScanLine(Y), std::size_t(A->Width()) * 3) != 0)
            return false;
    return true;
}

} // namespace

TEST_F(PlayerTest, APausedOpenShowsItsPictureInTheHostAndTheSnapshotIsThatPicture) {
    DestroyWindow(Host);
    Host = MakeHost(320, 240, 0);
    ASSERT_TRUE(OpenClip("av.mp4", true)) << Player->LastErrMsg();
    ASSERT_TRUE(WaitForState(psPause));
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
    EXPECT_TRUE(SameRect(ShownRect(is), SDL_Rect{0, 0, 320, 240}));

    // The snapshot is the picture on show, decoded the same way by the prober.
    std::int64_t PTS = 0;
    TBitmap* Frame = Player->CurrentFrame(PTS);
    TAVProbe Probe(nullptr);
    ASSERT_TRUE(Probe.LoadFile(Clip("av.mp4")));
    bool Found = false;
    while (!Found && Probe.Decode() && Probe.FrameInfo().PTS <= PTS) {
        if (Probe.FrameInfo().PTS != PTS)
            continue;
        TBitmap Expected;
        ASSERT_TRUE(Probe.CopyToBitmap(&Expected));
        EXPECT_TRUE(SameBitmaps(Frame, &Expected));
        Found = true;
    }
    EXPECT_TRUE(Found) << PTS;

    // Surface, screen copy and host agree, and the picture is not black.
    SDL_Surface* Surface = Player->Surface();
    ASSERT_NE(Surface, nullptr);
    ASSERT_TRUE(ServeUntil([&] { return Player->Screen().Width() == 320; }));
    const auto Copy = Player->Screen().Pixels();
    for (int Y = 0; Y < 240; ++Y)
        ASSERT_EQ(std::memcmp(&Copy[std::size_t(Y) * 320],
                              static_cast<std::uint8_t*>(Surface->pixels) + Y * Surface->pitch,
                              320 * 4),
                  0)
            << Y;
    // The scaler fills the fourth byte; the window shows colour only.
    auto Colours = Copy;
    for (std::uint32_t& Pixel : Colours)
        Pixel &= 0x00FFFFFF;
    EXPECT_EQ(PresentedHost(Host, 320, 240), Colours);
    EXPECT_NE(std::count(Colours.begin(), Colours.end(), 0u), std::ptrdiff_t(Colours.size()));
    Player->Stop(true);
}

TEST_F(PlayerTest, AspectRatioPlacesThePictureInTheHost) {
    DestroyWindow(Host);
    Host = MakeHost(500, 300, 0);
    ASSERT_TRUE(OpenClip("sar.mp4", true)) << Player->LastErrMsg();
    TVideoState* is = Player->State();
    const struct {
        float Aspect;
        SDL_Rect Rect;
    } Rows[] = {{0, {50, 0, 400, 300}},
                {-1, {0, 0, 500, 300}},
                {1.0f, {100, 0, 300, 300}},
                {2.0f, {0, 25, 500, 250}}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Aspect);
        Player->SetAspectRatio(Row.Aspect);
        // The rectangle is recorded before the picture reaches the screen copy.
        ASSERT_TRUE(ServeUntil([&] {
            const auto Copy = Player->Screen().Pixels();
            return SameRect(ShownRect(is), Row.Rect) && Copy.size() == 500u * 300 &&
                   (Copy[150 * 500 + 250] & 0x00FFFFFF) != 0;
        }));
        // Outside the picture the host is black (a new surface starts black).
        const auto Presented = PresentedHost(Host, 500, 300);
        if (Row.Rect.x > 0) {
            EXPECT_EQ(Presented[150 * 500 + Row.Rect.x - 1], 0u);
        }
        if (Row.Rect.y > 0) {
            EXPECT_EQ(Presented[(Row.Rect.y - 1) * 500 + 250], 0u);
        }
        EXPECT_NE(Presented[150 * 500 + 250], 0u);
    }
    Player->Stop(true);
}

TEST_F(PlayerTest, EveryPictureIsShownDroppedOrSkipped) {
    Player->Setframedrop(1);
    ASSERT_TRUE(OpenClip("bframes.mp4", false));
    ASSERT_TRUE(WaitForState(psEnd));
    TVideoState* is = Player->State();
    // The decoder is drained at the end, so none of the 50 is lost.
    ASSERT_TRUE(ServeUntil(
        [&] { return is->PicturesShown + is->PicturesDropped + is->PicturesSkipped >= 50; }));
    EXPECT_EQ(is->PicturesShown + is->PicturesDropped + is->PicturesSkipped, 50);
    Player->Stop(true);
}

// The snapshot against the prober's decoding of the same frame: an odd size
// is cut to even (64 x 48, the top-left of the frame, never reading past the
// planes), and VerticalFlip turns the planes upside down before conversion.
TEST_F(PlayerTest, SnapshotsOfOddSizesAndFlippedPictures) {
    const struct {
        const char* Clip;
        bool Flip;
        int Width, Height;
    } Rows[] = {{"odd.mkv", false, 64, 48}, {"av.mp4", true, 320, 240}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Clip);
        Player->SetVerticalFlip(Row.Flip);
        ASSERT_TRUE(OpenClip(Row.Clip, true)) << Player->LastErrMsg();
        ASSERT_TRUE(WaitForState(psPause));
        TVideoState* is = Player->State();
        ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
        std::int64_t PTS = 0;
        TBitmap* Frame = Player->CurrentFrame(PTS);
        EXPECT_EQ(Frame->Width(), Row.Width);
        EXPECT_EQ(Frame->Height(), Row.Height);

        TAVProbe Probe(nullptr);
        ASSERT_TRUE(Probe.LoadFile(Clip(Row.Clip)));
        while (Probe.Decode() && Probe.FrameInfo().PTS < PTS) {
        }
        const TFrameInfo& Info = Probe.FrameInfo();
        ASSERT_EQ(Info.PTS, PTS);
        ASSERT_EQ(Info.PixFmt, AV_PIX_FMT_YUV420P);
        TAVPicture Planes = Info.Picture;
        if (Row.Flip)
            for (int I = 0; I < 3; ++I) {
                const int Rows = I == 0 ? Info.Height : (Info.Height + 1) / 2;
                Planes.data[I] += std::ptrdiff_t(Rows - 1) * Planes.linesize[I];
                Planes.linesize[I] = -Planes.linesize[I];
            }
        TRGBConvertContext Context;
        ASSERT_TRUE(PictureToBitmap(Context, Planes, AV_PIX_FMT_YUV420P, Row.Width, Row.Height));
        EXPECT_TRUE(SameBitmaps(Frame, Context.Bitmap.get()));
        Player->Stop(true);
    }
}

// OnHook draws on every picture, on the video thread; what it draws goes
// back into the picture (one conversion to RGB and back either way, so the
// reference run has a hook that draws nothing). A raising hook leaves the
// picture as decoded.
TEST_F(PlayerTest, TheFrameHookDrawsOnThePictures) {
    enum TDraw { Nothing, WhiteSquare, Raise, NoHook };
    std::atomic<TThreadID> HookThread{0};
    auto Snapshot = [&](TDraw ADraw) {
        Player->SetHook(ADraw != NoHook);
        Player->SetOnHook([&, ADraw](TObject*, TBitmap* ABitmap, std::int64_t) {
            HookThread = GetCurrentThreadId();
            if (ADraw == Raise)
                throw Exception("hook");
            if (ADraw == WhiteSquare) {
                ABitmap->Canvas()->Brush()->SetStyle(bsSolid);
                ABitmap->Canvas()->Brush()->SetColor(clWhite);
                ABitmap->Canvas()->FillRect(Rect(40, 16, 56, 32));
            }
        });
        EXPECT_TRUE(OpenClip("av.mp4", true));
        EXPECT_TRUE(WaitForState(psPause));
        TVideoState* is = Player->State();
        EXPECT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
        std::int64_t PTS = 0;
        auto Copy = NewFrameBitmap(0, 0, pf24bit);
        Copy->Assign(Player->CurrentFrame(PTS));
        Player->Stop(true);
        Delivered.clear();
        return Copy;
    };
    const auto Plain = Snapshot(Nothing);
    const auto Drawn = Snapshot(WhiteSquare);
    EXPECT_NE(HookThread.load(), MainThreadID());
    ASSERT_EQ(Drawn->Width(), 320);
    auto Pixel = [](TBitmap* B, int X, int Y) {
        return static_cast<const std::uint8_t*>(B->ScanLine(Y)) + X * 3;
    };
    for (int Y = 0; Y < 240; ++Y)
        for (int X = 0; X < 320; ++X) {
            // Four pixels in from the square's edge it is white, within 1.
            const bool Inside = X >= 44 && X < 52 && Y >= 20 && Y < 28;
            const bool Far = X < 36 || X >= 60 || Y < 12 || Y >= 36;
            if (Inside) {
                for (int C = 0; C < 3; ++C)
                    ASSERT_GE(Pixel(Drawn.get(), X, Y)[C], 254) << X << "," << Y;
            } else if (Far) {
                ASSERT_EQ(std::memcmp(Pixel(Drawn.get(), X, Y), Pixel(Plain.get(), X, Y), 3), 0)
                    << X << "," << Y;
            }
        }

    const auto Raised = Snapshot(Raise);
    EXPECT_TRUE(LoggedLine(llError, "Error occurs OnHook: hook"));
    const auto Decoded = Snapshot(NoHook);
    EXPECT_TRUE(SameBitmaps(Raised.get(), Decoded.get()));
}

namespace {

// Frame N of the pattern clip as CurrentFrame must give it, or mirrored left
// to right, or turned upside down (its planes, before the conversion).
std::unique_ptr<TBitmap> PatternBitmap(int N, bool AMirror = false, bool AFlip = false) {
    std::vector<std::uint8_t> Planes[3];
    const int W = pattern::Width, H = pattern::Height;
    auto Column = [AMirror](int X, int AWidth) { return AMirror ? AWidth - 1 - X : X; };
    auto Row = [AFlip](int Y, int AHeight) { return AFlip ? AHeight - 1 - Y : Y; };
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Planes[0].push_back(pattern::Y(N, Column(X, W), Row(Y, H)));
    for (int Y = 0; Y < H / 2; ++Y)
        for (int X = 0; X < W / 2; ++X) {
            Planes[1].push_back(pattern::U(N, Column(X, W / 2), Row(Y, H / 2)));
            Planes[2].push_back(pattern::V(N, Column(X, W / 2), Row(Y, H / 2)));
        }
    TAVPicture Picture;
    for (int I = 0; I < 3; ++I) {
        Picture.data[I] = Planes[I].data();
        Picture.linesize[I] = I ? W / 2 : W;
    }
    TRGBConvertContext Context;
    if (!PictureToBitmap(Context, Picture, AV_PIX_FMT_YUV420P, W, H))
        return nullptr;
    return std::move(Context.Bitmap);
}

} // namespace

TEST_F(PlayerTest, PatternPausedOpenShowsFrameOneInTheHostAndTheSnapshot) {
    DestroyWindow(Host);
    Host = MakeHost(pattern::Width, pattern::Height, 0);
    ASSERT_TRUE(OpenClip("pattern.mkv", true)) << Player->LastErrMsg();
    ASSERT_TRUE(WaitForState(psPause));
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
    std::int64_t PTS = 0;
    TBitmap* Frame = Player->CurrentFrame(PTS);
    EXPECT_EQ(PTS, 40000);
    const auto Expected = PatternBitmap(1);
    ASSERT_TRUE(Expected);
    EXPECT_TRUE(SameBitmaps(Frame, Expected.get()));
    // The flat block's inside is white, as a studio-range conversion gives it.
    const auto* Block = static_cast<const std::uint8_t*>(Frame->ScanLine(8)) + 8 * 3;
    EXPECT_EQ(Block[0], 255);
    EXPECT_EQ(Block[1], 255);
    EXPECT_EQ(Block[2], 255);
    // The host shows the scaler's conversion, within 1 of the snapshot.
    ASSERT_TRUE(ServeUntil([&] { return Player->Screen().Width() == pattern::Width; }));
    const auto Presented = PresentedHost(Host, pattern::Width, pattern::Height);
    for (int Y = 0; Y < pattern::Height; ++Y)
        for (int X = 0; X < pattern::Width; ++X) {
            const auto* P = static_cast<const std::uint8_t*>(Expected->ScanLine(Y)) + X * 3;
            const std::uint32_t Shown = Presented[Y * pattern::Width + X];
            const int Blue = int(Shown & 0xFF), Green = int((Shown >> 8) & 0xFF),
                      Red = int((Shown >> 16) & 0xFF);
            ASSERT_LE(std::abs(Blue - P[0]), 1) << X << "," << Y;
            ASSERT_LE(std::abs(Green - P[1]), 1) << X << "," << Y;
            ASSERT_LE(std::abs(Red - P[2]), 1) << X << "," << Y;
        }
    Player->Stop(true);
}

// A step while paused shows exactly one more picture, the next frame, and
// pauses again; VerticalFlip turns both pictures upside down.
TEST_F(PlayerTest, AStepWhilePausedShowsTheNextFrameFlippedOrNot) {
    for (const bool Flip : {false, true}) {
        SCOPED_TRACE(Flip);
        Player->SetVerticalFlip(Flip);
        ASSERT_TRUE(OpenClip("pattern.mkv", true)) << Player->LastErrMsg();
        ASSERT_TRUE(WaitForState(psPause));
        TVideoState* is = Player->State();
        ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
        std::int64_t PTS = 0;
        TBitmap* Frame = Player->CurrentFrame(PTS);
        EXPECT_EQ(PTS, 40000);
        EXPECT_TRUE(SameBitmaps(Frame, PatternBitmap(1, false, Flip).get()));

        const int Shown = is->PicturesShown;
        Player->StepToNextFrame();
        ASSERT_TRUE(WaitForState(psStep));
        ASSERT_TRUE(ServeUntil([&] { return Player->Paused() && is->PicturesShown > Shown; }));
        // Nothing more comes while paused.
        for (int I = 0; I < 20; ++I) {
            CheckSynchronize(5);
            PumpMessages();
        }
        EXPECT_EQ(is->PicturesShown, Shown + 1);
        Frame = Player->CurrentFrame(PTS);
        EXPECT_EQ(PTS, 80000);
        EXPECT_TRUE(SameBitmaps(Frame, PatternBitmap(2, false, Flip).get()));
        EXPECT_TRUE(Player->Paused());
        Player->Stop(true);
        std::lock_guard Guard(Lock);
        Delivered.clear();
    }
}

// Changing AspectRatio while playing re-opens the surface, and the pictures
// from then on take the new rectangle, black around it.
TEST_F(PlayerTest, AnAspectRatioChangedWhilePlayingTakesEffectAtTheReopen) {
    DestroyWindow(Host);
    Host = MakeHost(500, 300, 0);
    ASSERT_TRUE(OpenClip("av10.mp4", false)) << Player->LastErrMsg();
    TVideoState* is = Player->State();
    const SDL_Rect Before{50, 0, 400, 300}, After{0, 25, 500, 250};
    ASSERT_TRUE(ServeUntil([&] { return SameRect(ShownRect(is), Before); }));
    ASSERT_EQ(Player->PlayState(), psPlay);
    const int Reopens = Player->ReopenEvents;
    Player->SetAspectRatio(2.0f);
    ASSERT_TRUE(ServeUntil([&] { return Player->ReopenEvents > Reopens; }));
    // The re-open draws the picture on show again, in the new rectangle.
    EXPECT_TRUE(SameRect(ShownRect(is), After));
    const int Shown = is->PicturesShown;
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown >= Shown + 3; }));
    EXPECT_TRUE(SameRect(ShownRect(is), After));
    EXPECT_EQ(Player->ReopenEvents, Reopens + 1);
    EXPECT_FALSE(Player->Paused());
    ASSERT_TRUE(ServeUntil([&] { return Player->Screen().Height() == 300; }));
    const auto Presented = PresentedHost(Host, 500, 300);
    for (const int Y : {0, 24, 275, 299})
        EXPECT_EQ(Presented[std::size_t(Y) * 500 + 250], 0u) << Y;
    EXPECT_GT(std::count_if(Presented.begin() + 25 * 500, Presented.begin() + 275 * 500,
                            [](std::uint32_t P) { return P != 0; }),
              0);
    Player->Stop(true);
}

// The video thread writes one slot while the play thread shows the other
// and the main thread copies the shown picture: no snapshot mixes two frames.
TEST_F(PlayerTest, SnapshotsWhilePlayingAreWholeFrames) {
    std::vector<std::unique_ptr<TBitmap>> Frames;
    for (int N = 0; N < pattern::Frames; ++N)
        Frames.push_back(PatternBitmap(N));
    ASSERT_TRUE(OpenClip("pattern.mkv", false));
    int Checked = 0;
    for (int I = 0; I < 500; ++I) {
        std::int64_t PTS = -1;
        TBitmap* Frame = Player->CurrentFrame(PTS);
        if (PTS >= 0) {
            ASSERT_EQ(PTS % 40000, 0) << PTS;
            const std::size_t N = std::size_t(PTS / 40000);
            ASSERT_LT(N, Frames.size());
            ASSERT_TRUE(SameBitmaps(Frame, Frames[N].get())) << "frame " << N;
            ++Checked;
        }
        CheckSynchronize(2);
        PumpMessages();
    }
    EXPECT_GT(Checked, 0);
    Player->Stop(true);
}

// The user's filters sit between the decoder and the pictures: what they make
// is what is shown and snapped, at the size they give.
TEST_F(PlayerTest, VideoFiltersShapeThePicturesOnShow) {
    DestroyWindow(Host);
    Host = MakeHost(pattern::Width, pattern::Height, 0);
    const struct {
        const char* Filters;
        bool Mirror;
        int Width, Height;
    } Rows[] = {{"hflip", true, 64, 48}, {"scale=32:24", false, 32, 24}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Filters);
        Player->SetVideoFilters(Row.Filters);
        ASSERT_TRUE(OpenClip("pattern.mkv", true)) << Player->LastErrMsg();
        ASSERT_TRUE(WaitForState(psPause));
        TVideoState* is = Player->State();
        ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
        std::int64_t PTS = 0;
        TBitmap* Frame = Player->CurrentFrame(PTS);
        EXPECT_EQ(PTS, 40000);
        EXPECT_EQ(Frame->Width(), Row.Width);
        EXPECT_EQ(Frame->Height(), Row.Height);
        EXPECT_EQ(is->pictq[0].width, Row.Width);
        if (Row.Mirror) {
            const auto Expected = PatternBitmap(1, true);
            EXPECT_TRUE(SameBitmaps(Frame, Expected.get()));
        }
        Player->Stop(true);
        Delivered.clear();
    }
}

// fps=10 gives the sink a time base of 1/10: pictures are timed in it.
TEST_F(PlayerTest, PicturesAreTimedInTheFiltersTimeBase) {
    Player->SetVideoFilters("fps=10");
    ASSERT_TRUE(OpenClip("pattern.mkv", false)) << Player->LastErrMsg();
    ASSERT_TRUE(WaitForState(psEnd));
    TVideoState* is = Player->State();
    std::lock_guard Lock(is->SyncLock);
    ASSERT_GE(is->SyncRing.size(), 5u);
    for (const auto& [PTS, Master] : is->SyncRing)
        EXPECT_NEAR(PTS * 10, std::round(PTS * 10), 1e-6) << PTS;
    EXPECT_GT(std::max_element(is->SyncRing.begin(), is->SyncRing.end())->first, 1.5);
}

// A graph that cannot be built ends the video thread alone: no picture, the
// sound plays on, and the playback stops as usual.
TEST_F(PlayerTest, AFilterThatDoesNotExistShowsNoPictureAndTheSoundGoesOn) {
    Player->SetVideoFilters("nosuchfilter");
    ASSERT_TRUE(OpenClip("pattern.mkv", false)) << Player->LastErrMsg();
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->VideoThreadDone && is->audio_clock > 0.5; }));
    EXPECT_EQ(is->PicturesShown, 0);
    EXPECT_TRUE(LoggedLine(llError, "No such filter"));
    Player->Stop(true);
    EXPECT_EQ(Player->PlayState(), psStop);
}

// Every frame of the pattern clip is a key frame, so a seek to 1 s while
// paused shows frame 25, and the snapshot is that picture, not one from
// before the seek.
TEST_F(PlayerTest, AfterASeekWhilePausedTheSnapshotIsAtTheNewPosition) {
    ASSERT_TRUE(OpenClip("pattern.mkv", true));
    ASSERT_TRUE(WaitForState(psPause));
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
    const std::uint64_t Before = [&] {
        std::lock_guard Lock(is->Shown.Lock);
        return is->Shown.Generation;
    }();
    Player->Seek(std::int64_t(1000000), {}, true);
    ASSERT_TRUE(ServeUntil([&] {
        std::lock_guard Lock(is->Shown.Lock);
        return !Player->Seeking() && is->pictq_size == 0 && is->Shown.Generation > Before;
    }));
    std::int64_t PTS = 0;
    TBitmap* Frame = Player->CurrentFrame(PTS);
    EXPECT_EQ(PTS, 1000000);
    const auto Expected = PatternBitmap(25);
    EXPECT_TRUE(SameBitmaps(Frame, Expected.get()));
    EXPECT_TRUE(Player->Paused());
    Player->Stop(true);
}
