// The player component: libraries, drivers, the host window and the screen
// copy, one SDL per process.
#include "tests/player/PlayerTestSupport.h"

#include <sys/wait.h>

#include <filesystem>
#include <vector>

namespace {

// The surface of a test, laid out as SDL lays out a 32-bit surface.
struct TFakeSurface {
    SDL_PixelFormat Format{};
    SDL_Surface Surface{};
    std::vector<std::uint32_t> Pixels;

    TFakeSurface(int AWidth, int AHeight) : Pixels(std::size_t(AWidth) * AHeight) {
        Format.BitsPerPixel = 32;
        Format.BytesPerPixel = 4;
        Surface.format = &Format;
        Surface.w = AWidth;
        Surface.h = AHeight;
        Surface.pitch = Uint16(AWidth * 4);
        Surface.pixels = Pixels.data();
    }
};

} // namespace

// Runs in a process of its own (started by the next case), so no earlier
// case has loaded the libraries.
TEST(PlayerWithoutLibraries, OpenAndFormatFailWithTheirText) {
    if (GetEnvironmentVariable("OSTRELA_PLAYER_NO_LIBS") != "1")
        GTEST_SKIP() << "runs in a child process of PlayerComponent.WithoutLibraries";
    THeadlessBackend Headless;
    SetBackend(&Headless);
    WNDCLASS Class;
    Class.lpfnWndProc = DefWindowProc;
    Class.lpszClassName = "NoLibsHost";
    RegisterClass(&Class);
    HWND Top = CreateWindow("NoLibsHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 124, nullptr,
                            nullptr, nullptr, nullptr);
    HWND Host = CreateWindow("NoLibsHost", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 124, Top, nullptr,
                             nullptr, nullptr);
    std::vector<std::string> Lines;
    TTestPlayer Player(nullptr);
    GetFFLogger()->SetTriggerEventInMainThread(false);
    GetFFLogger()->OnLog = [&](TObject* ASender, TThreadID, TLogLevel ALevel,
                               const std::string& AMsg) {
        if (ASender == &Player && ALevel == llError)
            Lines.push_back(AMsg);
    };
    EXPECT_FALSE(Player.AVLibLoaded());
    EXPECT_FALSE(Player.Open(Clip("av.mp4"), Host, true));
    EXPECT_EQ(Player.LastErrMsg(), "libav or libsdl not loaded.");
    EXPECT_EQ(Lines, std::vector<std::string>{"libav or libsdl not loaded."});
    EXPECT_EQ(Player.State(), nullptr);
    EXPECT_EQ(Player.Channel(), nullptr);
    DWORD_PTR Data = 0;
    EXPECT_FALSE(GetWindowSubclass(Host, nullptr, 0, &Data));
    EXPECT_EQ(Player.ScreenHandle(), nullptr);

    Player.SetFormat("nosuchfmt");
    EXPECT_EQ(Player.LastErrMsg(), "libav or libsdl not loaded.");
    GetFFLogger()->OnLog = nullptr;
    ResetWindowSystem();
    SetBackend(nullptr);
}

// Runs the cases AFilter of this program in a child process with AVariable=1.
int RunChild(const std::string& AVariable, const std::string& AFilter) {
    const std::string Command =
        AVariable + "=1 '" + GetAppFileName() + "' --gtest_filter=" + AFilter + " >/dev/null 2>&1";
    const int Status = std::system(Command.c_str());
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

TEST(PlayerComponent, WithoutLibraries) {
    EXPECT_EQ(RunChild("OSTRELA_PLAYER_NO_LIBS", "PlayerWithoutLibraries.*"), 0);
}

// The default driver restores what the process had before the first
// change, so the case gets a process of its own.
TEST(PlayerComponent, AudioDriverNames) {
    EXPECT_EQ(RunChild("OSTRELA_PLAYER_DRIVERS", "PlayerTest.AudioDriverNames*"), 0);
}

TEST(PlayerComponent, LoadAVLibAndTheFormatSetter) {
    TTestPlayer Player(nullptr);
    EXPECT_TRUE(Player.LoadAVLib(""));
    EXPECT_TRUE(Player.AVLibLoaded());
    EXPECT_EQ(Player.Version(), "2.3");
    try {
        Player.SetFormat("nosuchfmt");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Unknown input format: nosuchfmt");
    }
    Player.SetFormat("mpegts");
    EXPECT_EQ(Player.Format(), "mpegts");
    Player.UnloadAVLib();
}

TEST_F(PlayerTest, AudioDriverNamesReachSDLAndVideoIsAlwaysDummy) {
    if (GetEnvironmentVariable("OSTRELA_PLAYER_DRIVERS") != "1")
        GTEST_SKIP() << "runs in a child process of PlayerComponent.AudioDriverNames";
    const struct {
        TAudioDriver Driver;
        const char* Variable;
    } Rows[] = {{adDirectSound, "pulse"}, {adWaveOut, "alsa"}, {adDefault, "dummy"}};
    for (const auto& Row : Rows) {
        Player->SetAudioDriver(Row.Driver);
        ASSERT_TRUE(OpenClip("av.mp4", true)) << Row.Variable << ": " << Player->LastErrMsg();
        EXPECT_EQ(GetEnvironmentVariable("SDL_AUDIODRIVER"), Row.Variable);
        EXPECT_EQ(GetEnvironmentVariable("SDL_VIDEODRIVER"), "dummy");
        Player->Stop(true);
    }
}

TEST_F(PlayerTest, WithoutAnAudioDeviceTheVideoPlaysAloneAndNoDecoderLeaks) {
    SetEnvironmentVariable("SDL_AUDIODRIVER", "nosuchdriver");
    ASSERT_TRUE(OpenClip("av.mp4", false)) << Player->LastErrMsg();
    EXPECT_EQ(Player->AudioStreamIndex(), -1);
    EXPECT_EQ(Player->VideoStreamIndex(), 0);
    EXPECT_TRUE(LoggedLine(llError, "SDL_OpenAudio() failed: No available audio device"));
    EXPECT_EQ(Player->State()->OpenDecoders, 1);
    ASSERT_TRUE(WaitForState(psEnd));
    Player->Stop(true);
}

TEST_F(PlayerTest, ScreenCopyFollowsWhatWasPresentedAndTheHostPaintsFromIt) {
    TPlayerScreen Screen;
    ASSERT_TRUE(Screen.Attach(Host));
    TFakeSurface Fake(120, 80);
    Screen.Replace(&Fake.Surface);
    for (std::size_t I = 0; I < Fake.Pixels.size(); ++I)
        Fake.Pixels[I] = 0x00102030 + std::uint32_t(I % 200);
    // Only the presented rectangle reaches the copy.
    Screen.PresentRect(&Fake.Surface, SDL_Rect{10, 20, 30, 15});
    const auto Copy = Screen.Pixels();
    ASSERT_EQ(Copy.size(), Fake.Pixels.size());
    for (int Y = 0; Y < 80; ++Y)
        for (int X = 0; X < 120; ++X) {
            const bool Inside = X >= 10 && X < 40 && Y >= 20 && Y < 35;
            ASSERT_EQ(Copy[Y * 120 + X], Inside ? Fake.Pixels[Y * 120 + X] : 0u) << X << "," << Y;
        }
    // A rectangle reaching past the surface is cut to it.
    Screen.PresentRect(&Fake.Surface, SDL_Rect{100, 70, 60, 60});
    EXPECT_EQ(Screen.Pixels()[79 * 120 + 119], Fake.Pixels[79 * 120 + 119]);

    // The host shows the copy at its top-left and black around it.
    const auto Presented = PresentedHost(Host, 200, 124);
    const auto Now = Screen.Pixels();
    for (int Y = 0; Y < 124; ++Y)
        for (int X = 0; X < 200; ++X) {
            const std::uint32_t Expected = X < 120 && Y < 80 ? Now[Y * 120 + X] : 0u;
            ASSERT_EQ(Presented[Y * 200 + X], Expected) << X << "," << Y;
        }
    // Without a surface the host paints itself again.
    Screen.Replace(nullptr);
    InvalidateRect(Host, nullptr, TRUE);
    EXPECT_EQ(PresentedHost(Host, 200, 124)[0], HostColour);
    Screen.Detach();
}

// Paused, so that nothing draws while the three are compared.
TEST_F(PlayerTest, SurfaceScreenCopyAndHostAgreeThroughResizeCloseClickAndStop) {
    ASSERT_TRUE(OpenClip("av.mp4", true)) << Player->LastErrMsg();
    DWORD_PTR Data = 0;
    EXPECT_TRUE(GetWindowSubclass(Host, nullptr, 0, &Data) || Player->Screen().Active());
    ASSERT_TRUE(WaitForState(psPause));
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
    Player->ToggleAudioDisplay(); // fills the display area black
    SDL_Surface* Surface = Player->Surface();
    ASSERT_NE(Surface, nullptr);
    EXPECT_EQ(Surface->w, 200);
    EXPECT_EQ(Surface->h, 124);
    EXPECT_EQ(Surface->format->BitsPerPixel, 32);
    auto Agree = [&](int AWidth, int AHeight) {
        // The audio display redraws while paused (the same picture, but
        // black first): the play thread is held off while the two are read.
        ASSERT_TRUE(Player->LockData(5000));
        SDL_Surface* S = Player->Surface();
        const auto Copy = Player->Screen().Pixels();
        std::vector<int> Differing;
        for (int Y = 0; Y < AHeight && Copy.size() == std::size_t(AWidth) * AHeight; ++Y)
            if (std::memcmp(&Copy[std::size_t(Y) * AWidth],
                            static_cast<std::uint8_t*>(S->pixels) + Y * S->pitch,
                            std::size_t(AWidth) * 4) != 0)
                Differing.push_back(Y);
        Player->UnlockData();
        ASSERT_EQ(Copy.size(), std::size_t(AWidth) * AHeight);
        ASSERT_EQ(Differing, std::vector<int>{});
        auto Colours = Copy; // the scaler fills the fourth byte of pictures
        for (std::uint32_t& Pixel : Colours)
            Pixel &= 0x00FFFFFF;
        EXPECT_EQ(PresentedHost(Host, AWidth, AHeight), Colours);
    };
    {
        SCOPED_TRACE("200 x 124, black after the fill");
        Agree(200, 124);
        const auto Black = Player->Screen().Pixels();
        EXPECT_EQ(std::count(Black.begin(), Black.end(), 0u), 200 * 124);
    }

    // A resize makes a new, black surface. (With the audio display chosen by
    // the toggle, the paused redraw would draw the sound, not the picture.)
    MoveWindow(Host, 0, 0, 300, 200, TRUE);
    ASSERT_TRUE(ServeUntil([&] {
        return Player->Surface() && Player->Surface()->w == 300 && Player->Screen().Width() == 300;
    }));
    EXPECT_EQ(Player->Surface()->h, 200);
    EXPECT_EQ(Player->Surface()->format->BitsPerPixel, 32);
    EXPECT_EQ(Player->ScreenWidth(), 300);
    EXPECT_EQ(Player->ScreenHeight(), 200);
    {
        SCOPED_TRACE("300 x 200");
        Agree(300, 200);
    }

    SendMessage(Host, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(Host));
    SetFocus(Top);
    SendMessage(Host, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(GetFocus(), Host);

    Player->Stop(true);
    InvalidateRect(Host, nullptr, TRUE);
    EXPECT_EQ(PresentedHost(Host, 300, 200)[0], HostColour);
    SendMessage(Host, WM_CLOSE, 0, 0);
    EXPECT_FALSE(Player->Screen().Active());
}

TEST_F(PlayerTest, TwoPlayersOnTwoHostsAndAHostDestroyedWhilePlaying) {
    HWND Second = MakeHost(200, 124, 300);
    TTestPlayer Other(nullptr);
    ASSERT_TRUE(OpenClip("av.mp4", false));
    Player->SetAspectRatio(2);
    ASSERT_TRUE(ServeUntil([&] { return Player->Surface() != nullptr; }));
    // SDL belongs to one playback at a time.
    EXPECT_FALSE(Other.Open(Clip("av.mp4"), Second, false));
    EXPECT_EQ(Other.LastErrMsg(), "SDL is in use by another player.");
    EXPECT_TRUE(LoggedLine(llError, "SDL is in use by another player."));
    EXPECT_NE(Player->State(), nullptr);
    Player->Stop(true);

    ASSERT_TRUE(Other.Open(Clip("av.mp4"), Second, false)) << Other.LastErrMsg();
    Other.SetAspectRatio(2);
    ASSERT_TRUE(ServeUntil([&] { return Other.Surface() != nullptr; }));
    Other.Stop(true);
    for (HWND H : {Host, Second}) {
        InvalidateRect(H, nullptr, TRUE);
        EXPECT_EQ(PresentedHost(H, 200, 124)[0], HostColour);
    }

    ASSERT_TRUE(OpenClip("av.mp4", false));
    Player->SetAspectRatio(1);
    ASSERT_TRUE(ServeUntil([&] { return Player->Surface() != nullptr; }));
    DestroyWindow(Host);
    EXPECT_FALSE(Player->Screen().Active());
    Player->ToggleAudioDisplay(); // presents into nothing
    Player->Stop(true);
    EXPECT_EQ(Player->State(), nullptr);
}

TEST_F(PlayerTest, ALongPathOpensAndComesBackWhole) {
    std::string Folder = Temp.Path();
    while (Folder.size() < 1600)
        Folder += "/" + std::string(200, 'd');
    std::filesystem::create_directories(Folder);
    const std::string Path = Folder + "/clip.mp4";
    std::filesystem::copy_file(Clip("av.mp4"), Path);
    ASSERT_TRUE(Player->Open(Path, Host, false)) << Player->LastErrMsg();
    EXPECT_EQ(Player->FileName(), Path);
    EXPECT_TRUE(WaitForState(psEnd));
    Player->Stop(true);
}

TEST_F(PlayerTest, FileOpenReportsDurationPictureSizeAndTakesTheScreenSize) {
    const struct {
        const char* Clip;
        std::int64_t Duration;
        int Width, Height;
        int ScreenWidth; // what the handler reports; 0 leaves the host's size
    } Rows[] = {{"av.mp4", 2000000, 320, 240, 0}, {"audio.mp3", -2, -1, -1, 320}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Clip);
        std::int64_t Duration = 0;
        int Width = 0, Height = 0;
        TThreadID Thread = 0;
        Player->SetScreenWidth(0);
        Player->SetScreenHeight(0);
        Player->OnFileOpen = [&](TObject*, std::int64_t ADuration, int AWidth, int AHeight,
                                 int& AScreenWidth, int& AScreenHeight) {
            Duration = ADuration;
            Width = AWidth;
            Height = AHeight;
            Thread = GetCurrentThreadId();
            AScreenWidth = Row.ScreenWidth;
            AScreenHeight = Row.ScreenWidth ? 100 : 0;
        };
        ASSERT_TRUE(OpenClip(Row.Clip, true)) << Player->LastErrMsg();
        if (Row.Duration > 0)
            EXPECT_EQ(Duration, Row.Duration);
        else
            EXPECT_GT(Duration, 1900000); // the MP3's duration as FFmpeg estimates it
        EXPECT_EQ(Width, Row.Width);
        EXPECT_EQ(Height, Row.Height);
        EXPECT_EQ(Thread, MainThreadID());
        EXPECT_EQ(Player->ScreenWidth(), Row.ScreenWidth ? Row.ScreenWidth : 200);
        EXPECT_EQ(Player->ScreenHeight(), Row.ScreenWidth ? 100 : 124);
        Player->Stop(true);
    }
}
