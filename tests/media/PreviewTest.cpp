// Post hooks: the bitmap event and the preview window, on the headless
// backend. The test's main thread is the user-interface thread; "workers"
// are threads of the test or real jobs whose turns hand over frames.
#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/MessageRecorder.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "tests/media/HookTestEngine.h"

#include <thread>

namespace {

template <class TPredicate> void ServeUntil(TPredicate APredicate) {
    while (!APredicate())
        CheckSynchronize(10);
}

class PreviewTest : public HookEngineTest {
protected:
    THeadlessBackend Headless;
    TManualClock Ticks{1000};
    AVCodecContext* Enc = nullptr;
    std::vector<TFramePtr> Frames;

    void SetUp() override {
        SetBackend(&Headless);
        Headless.UseManualClock(&Ticks);
        InitApplication();
        HookEngineTest::SetUp();
        Enc = avcodec::avcodec_alloc_context3(nullptr);
        UseEncoder(Enc, 64, 48);
    }

    void TearDown() override {
        avcodec::avcodec_free_context(&Enc);
        Frames.clear();
        HookEngineTest::TearDown();
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }

    // Frames in milliseconds, BGR24 pictures of that size.
    static void UseEncoder(AVCodecContext* AEnc, int AWidth, int AHeight) {
        AEnc->pix_fmt = AV_PIX_FMT_BGR24;
        AEnc->width = AWidth;
        AEnc->height = AHeight;
        AEnc->time_base = {1, 1000};
    }

    // A picture whose pixel (X, Y) is 0xRRGGBB = (X, Y, ASeed), for X < 256.
    AVFrame* Picture(int AWidth, int AHeight, int ASeed) {
        Frames.push_back(MakeFrame(AV_PIX_FMT_BGR24, AWidth, AHeight, [=](int, int X, int Y) {
            const int Channel = X % 3;
            return Channel == 0 ? ASeed : Channel == 1 ? Y : X / 3;
        }));
        return Frames.back().get();
    }

    // The encoder took a frame of pts AMs while the engine's clock read AClockMs.
    void Deliver(THookEngine& AEngine, AVFrame* AFrame, std::int64_t AMs, std::int64_t AClockMs) {
        AEngine.Clock = AClockMs * 1000;
        AFrame->pts = AMs;
        AEngine.RunPostHooks(AFrame, Enc);
    }
    void Deliver(std::int64_t AMs) { Deliver(*Hooked, Picture(64, 48, 9), AMs, AMs); }

    static HWND WindowOf(THookEngine& AEngine) {
        std::lock_guard Guard(PostHookLock());
        return AEngine.FPostContext.Previewer ? AEngine.FPostContext.Previewer->FormHandle()
                                              : nullptr;
    }
    static bool HasPreviewer(THookEngine& AEngine) {
        std::lock_guard Guard(PostHookLock());
        return AEngine.FPostContext.Previewer != nullptr;
    }

    std::uint32_t ClientPixel(HWND AWnd, int X, int Y) {
        Application->ProcessMessages();
        FlushPresents();
        TPoint P{X, Y};
        ClientToScreen(AWnd, &P);
        return Headless.ScreenPixel(P.X, P.Y);
    }

    // Presses at a client point, moves by (30, 20) and lets go.
    void Drag(HWND AWnd) {
        TPoint P{10, 10};
        ClientToScreen(AWnd, &P);
        Headless.MovePointer(P.X, P.Y);
        Headless.Press();
        Headless.MovePointer(P.X + 30, P.Y + 20);
        Headless.Release();
        Application->ProcessMessages();
        Ticks.Advance(GetDoubleClickTime() + 1);
    }
    static TPoint Origin(HWND AWnd) {
        TRect R;
        GetWindowRect(AWnd, &R);
        return {R.Left, R.Top};
    }
};

TEST_F(PreviewTest, APictureIsDueOnlyWhenMoreThanTheIntervalHasPassed) {
    struct TCase {
        int Step; // ms between frames, on the engine's clock
        std::vector<std::int64_t> Delivered;
    };
    for (const TCase& Case : {TCase{40, {0, 120, 240, 360}}, TCase{100, {0, 200, 400}}}) {
        SCOPED_TRACE(Case.Step);
        Engine->ResetJob();
        std::vector<std::int64_t> Got;
        Engine->SetOnPreviewBitmap([&](TObject* Sender, TBitmap* ABitmap, int, std::int64_t APTS) {
            EXPECT_EQ(Sender, Engine.get());
            EXPECT_EQ(ABitmap->Width(), 64);
            Got.push_back(APTS / 1000);
        });
        Engine->SetPostHooks({phBitmap});
        for (int Ms = 0; Ms <= 400; Ms += Case.Step)
            Deliver(Ms);
        EXPECT_EQ(Got, Case.Delivered);
    }
}

TEST_F(PreviewTest, TheBitmapEventTakesPrecedenceOverTheWindow) {
    int Events = 0;
    Engine->SetPostHooks({phPreview, phBitmap});
    Engine->SetOnPreviewBitmap([&](TObject*, TBitmap*, int, std::int64_t) { ++Events; });
    Deliver(0);
    EXPECT_EQ(Events, 1);
    EXPECT_FALSE(HasPreviewer(*Hooked));

    Engine->SetOnPreviewBitmap(nullptr);
    Deliver(200);
    EXPECT_EQ(Events, 1);
    EXPECT_TRUE(IsWindowVisible(WindowOf(*Hooked)));
}

TEST_F(PreviewTest, AnExceptionFromTheBitmapHandlerReachesTheJobWithNoLockHeld) {
    Engine->SetPostHooks({phBitmap});
    Engine->SetOnPreviewBitmap(
        [](TObject*, TBitmap*, int, std::int64_t) { throw EConvertError("no room"); });
    EXPECT_THROW(Deliver(0), EConvertError);
    std::thread Other([] {
        EXPECT_TRUE(PostHookLock().try_lock());
        PostHookLock().unlock();
    });
    Other.join();
    EXPECT_FALSE(Hooked->FInDelivery);
    EXPECT_EQ(Engine->PostHooks(), TPostHooks({phBitmap}));
}

TEST_F(PreviewTest, APictureTheConversionRefusesDropsTheHookThatWasToServeIt) {
    for (TPostHook Hook : {phBitmap, phPreview}) {
        SCOPED_TRACE(int(Hook));
        Engine->ResetJob();
        ClearAll();
        int Events = 0;
        Engine->SetOnPreviewBitmap([&](TObject*, TBitmap*, int, std::int64_t) { ++Events; });
        if (Hook == phPreview)
            Engine->SetOnPreviewBitmap(nullptr);
        Engine->SetPostHooks({Hook, phHBITMAP});
        Enc->pix_fmt = AV_PIX_FMT_VAAPI;
        Deliver(0);
        Deliver(200);
        EXPECT_EQ(CountAll(llError, "Cannot initialize the toRGB conversion context"), 1);
        EXPECT_EQ(Engine->PostHooks(), TPostHooks({phHBITMAP}));
        EXPECT_EQ(Events, 0);
        EXPECT_FALSE(HasPreviewer(*Hooked));
        Enc->pix_fmt = AV_PIX_FMT_BGR24;
    }
}

TEST_F(PreviewTest, TheWindowOpensCentredOnTopWithThePictureAndItsTime) {
    Engine->SetPostHooks({phPreview});
    UseEncoder(Enc, 160, 120);
    Deliver(*Hooked, Picture(160, 120, 200), 1200, 0);
    const HWND W = WindowOf(*Hooked);
    ASSERT_TRUE(IsWindowVisible(W));
    // Owned by no form: at most by the application's own window.
    EXPECT_TRUE(GetWindow(W, GW_OWNER) == nullptr ||
                GetWindow(W, GW_OWNER) == Application->Handle());
    const LONG_PTR Style = GetWindowLong(W, GWL_STYLE);
    const LONG_PTR ExStyle = GetWindowLong(W, GWL_EXSTYLE);
    EXPECT_TRUE(ExStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(ExStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(Style & WS_SYSMENU);
    EXPECT_FALSE(Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(GetWindowText(W), "00:00:01.200");

    TRect Client, Window;
    GetClientRect(W, &Client);
    GetWindowRect(W, &Window);
    EXPECT_EQ(Client.Width(), 160);
    EXPECT_EQ(Client.Height(), 120);
    MONITORINFO Info;
    GetMonitorInfo(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &Info);
    EXPECT_EQ(Window.Left, Info.rcWork.Left + (Info.rcWork.Width() - Window.Width()) / 2);
    EXPECT_EQ(Window.Top, Info.rcWork.Top + (Info.rcWork.Height() - Window.Height()) / 2);
    for (TPoint P : {TPoint{0, 0}, TPoint{159, 0}, TPoint{17, 29}, TPoint{84, 119}})
        EXPECT_EQ(ClientPixel(W, P.X, P.Y), std::uint32_t(P.X << 16 | P.Y << 8 | 200));

    // The next picture goes to the screen with its caption and nothing else:
    // no cleared client is sent before the picture covers it.
    const THeadlessSurface* Screen = Headless.Surface(WindowSurface(W));
    ASSERT_NE(Screen, nullptr);
    const int PresentsBefore = Screen->PresentCount;
    Deliver(*Hooked, Picture(160, 120, 50), 1240, 200);
    EXPECT_EQ(GetWindowText(W), "00:00:01.240");
    EXPECT_LE(Screen->PresentCount - PresentsBefore, 2);
    EXPECT_EQ(ClientPixel(W, 84, 119), std::uint32_t(84 << 16 | 119 << 8 | 50));

    // A smaller picture is drawn as it is at the top left; the window stays.
    UseEncoder(Enc, 32, 24);
    Deliver(*Hooked, Picture(32, 24, 100), 1280, 400);
    GetClientRect(W, &Client);
    EXPECT_EQ(Client.Width(), 160);
    EXPECT_EQ(GetWindowText(W), "00:00:01.280");
    EXPECT_EQ(ClientPixel(W, 31, 23), std::uint32_t(31 << 16 | 23 << 8 | 100));
    // What it leaves uncovered is the window's own, not the last picture.
    EXPECT_NE(ClientPixel(W, 84, 100), std::uint32_t(84 << 16 | 100 << 8 | 50));
    EXPECT_EQ(ClientPixel(W, 84, 100), ClientPixel(W, 159, 23));
}

TEST_F(PreviewTest, APressAnywhereInTheWindowDragsIt) {
    Engine->SetPostHooks({phPreview});
    Deliver(0);
    const HWND W = WindowOf(*Hooked);
    const TPoint Before = Origin(W);
    TMessageRecorder Recorder;
    Drag(W);
    EXPECT_EQ(Origin(W).X, Before.X + 30);
    EXPECT_EQ(Origin(W).Y, Before.Y + 20);
    EXPECT_EQ(Recorder.Count(W, WM_LBUTTONDOWN), 0);
}

TEST_F(PreviewTest, APausedJobsWindowGoesAtOnceWhenThePreviewIsSwitchedOff) {
    Engine->SetPostHooks({phPreview, phBitmap});
    Deliver(0);
    const HWND W = WindowOf(*Hooked);
    ASSERT_TRUE(IsWindow(W));
    Engine->SetPostHooks({phBitmap});
    EXPECT_FALSE(IsWindow(W));
    EXPECT_FALSE(HasPreviewer(*Hooked));
}

// A worker waits in the paint while the user-interface thread switches the
// preview off: the switch must not wait, and the window may go only once
// the frame is shown.
TEST_F(PreviewTest, SwitchingThePreviewOffDuringAPaintNeitherWaitsNorFreesTheWindowUnderIt) {
    Engine->SetPostHooks({phPreview});
    TMessageRecorder Recorder;
    std::atomic<bool> Done{false};
    std::thread Worker([&] {
        Deliver(0);
        Done = true;
    });
    const auto InDelivery = [&] {
        std::lock_guard Guard(PostHookLock());
        return Hooked->FInDelivery;
    };
    while (!InDelivery())
        std::this_thread::yield();
    Engine->SetPostHooks({});
    EXPECT_EQ(Engine->PostHooks(), TPostHooks());
    EXPECT_TRUE(HasPreviewer(*Hooked));
    ServeUntil([&] { return Done.load(); });
    Worker.join();
    EXPECT_FALSE(HasPreviewer(*Hooked));

    // The window was painted, then destroyed.
    HWND Painted = nullptr;
    bool DestroyedAfterPaint = false;
    for (const TRecordedMessage& M : Recorder.Messages()) {
        if (M.Msg == WM_PAINT && !Painted)
            Painted = M.Wnd;
        DestroyedAfterPaint |= Painted && M.Wnd == Painted && M.Msg == WM_DESTROY;
    }
    EXPECT_TRUE(DestroyedAfterPaint);
    EXPECT_FALSE(IsWindow(Painted));
}

TEST_F(PreviewTest, WindowsFreedInEitherOrderLeaveTheOthersDragging) {
    for (bool FirstGoesFirst : {true, false}) {
        SCOPED_TRACE(FirstGoesFirst);
        THookEngine Other(1);
        Other.ResetJob();
        Engine->ResetJob();
        Engine->SetPostHooks({phPreview});
        Other.SetPostHooks({phPreview});
        Deliver(0);
        Deliver(Other, Picture(64, 48, 50), 0, 0);
        THookEngine& Gone = FirstGoesFirst ? *Hooked : Other;
        THookEngine& Kept = FirstGoesFirst ? Other : *Hooked;
        Gone.SetPostHooks({});
        const HWND W = WindowOf(Kept);
        const TPoint Before = Origin(W);
        Drag(W);
        EXPECT_EQ(Origin(W).X, Before.X + 30);
        Kept.SetPostHooks({});
        EXPECT_FALSE(IsWindow(W));
    }
}

// ---- Through real jobs ----------------------------------------------------------------

class PreviewJobTest : public PreviewTest {
protected:
    // A job whose turns run ATurn(turn number) on its worker until it answers false.
    void RunJob(const std::function<bool(int)>& ATurn) {
        Engine->PlaceInput(OpenInput(Clip("clip25.mp4")));
        Engine->PlaceOutput(OpenOutput(Temp.File("out.ts")));
        int Turn = 0;
        Hooked->Turn = [&] { return ATurn(++Turn); };
        TThread* Worker = Engine->StartConvert(true);
        ASSERT_NE(Worker, nullptr);
        Worker->Start();
        ServeUntil([&] { return Engine->Terminated(); });
    }
};

TEST_F(PreviewJobTest, AWindowTheUserClosesStopsPaintingAndGoesAtTheNextDueFrame) {
    Engine->SetPostHooks({phPreview});
    std::atomic<HWND> W{nullptr};
    std::atomic<bool> Closed{false};
    RunJob([&](int ATurn) {
        if (ATurn == 1) {
            Deliver(0);
            W = WindowOf(*Hooked);
            CallInMainThread([&] {
                // The close button of the tool window's caption.
                TRect R;
                GetWindowRect(W, &R);
                for (int X = R.Right - 1; X > R.Left && !Closed; --X)
                    if (SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(X, R.Top + 8)) == HTCLOSE) {
                        Headless.Click(X, R.Top + 8);
                        Application->ProcessMessages();
                        Closed = true;
                    }
            });
            return true;
        }
        if (ATurn == 2) {
            // Closed and hidden; the next due frame is not painted.
            EXPECT_TRUE(Hooked->FPostContext.Previewer->Closed());
            EXPECT_FALSE(IsWindowVisible(W));
            Deliver(200);
            EXPECT_FALSE(HasPreviewer(*Hooked));
            EXPECT_EQ(Engine->PostHooks(), TPostHooks());
            return true;
        }
        return false;
    });
    EXPECT_TRUE(Closed);
    EXPECT_FALSE(IsWindow(W));
    EXPECT_TRUE(Engine->Finished());
}

TEST_F(PreviewJobTest, TheJobsEndFreesItsWindowAndItsMessageHook) {
    Engine->SetPostHooks({phPreview});
    std::atomic<HWND> W{nullptr};
    RunJob([&](int ATurn) {
        Deliver(ATurn * 200);
        W = WindowOf(*Hooked);
        return ATurn < 3;
    });
    EXPECT_TRUE(Engine->Finished());
    EXPECT_FALSE(IsWindow(W));
    EXPECT_FALSE(HasPreviewer(*Hooked));

    // A press in a plain form reaches it and drags nothing.
    auto* Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 200, 150);
    Form->Show();
    const TPoint Before = Origin(Form->Handle());
    TMessageRecorder Recorder;
    Drag(Form->Handle());
    EXPECT_EQ(Origin(Form->Handle()).X, Before.X);
    EXPECT_EQ(Recorder.Count(Form->Handle(), WM_LBUTTONDOWN), 1);
    delete Form;
}

} // namespace
