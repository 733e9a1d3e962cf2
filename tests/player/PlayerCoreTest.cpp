// The playback core: stream choice, open failures, queue limits, seeking,
// pausing and stepping, stream switching, stalled inputs and stopping.
#include "tests/player/PlayerTestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <random>
#include <thread>

namespace {

std::string ReadAll(const std::string& AName) {
    std::ifstream Stream(AName, std::ios::binary);
    return {std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>()};
}

// A loopback server that sends the first part of a clip and then holds the
// connection until the client closes it.
class TStallingServer {
public:
    TStallingServer(const std::string& AContent, std::size_t ALength) {
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(FListener, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
        socklen_t Size = sizeof Address;
        getsockname(FListener, reinterpret_cast<sockaddr*>(&Address), &Size);
        FPort = ntohs(Address.sin_port);
        listen(FListener, 1);
        FThread = std::thread([this, AContent, ALength] {
            const int Client = accept(FListener, nullptr, nullptr);
            if (Client < 0)
                return;
            std::size_t Sent = 0;
            while (Sent < ALength) {
                const ssize_t N =
                    send(Client, AContent.data() + Sent, ALength - Sent, MSG_NOSIGNAL);
                if (N <= 0)
                    break;
                Sent += std::size_t(N);
            }
            SentAll = true;
            char Byte;
            while (recv(Client, &Byte, 1, 0) > 0) {
            }
            Closed = true;
            close(Client);
        });
    }
    ~TStallingServer() {
        shutdown(FListener, SHUT_RDWR);
        close(FListener);
        if (FThread.joinable())
            FThread.join();
    }
    std::string Url() const { return "tcp://127.0.0.1:" + std::to_string(FPort); }

    std::atomic<bool> SentAll{false};
    std::atomic<bool> Closed{false};

private:
    int FListener = -1;
    int FPort = 0;
    std::thread FThread;
};

} // namespace

TEST_F(PlayerTest, TheWantedAudioStreamIsTheNthOfItsKind) {
    Player->Setwanted_audio_stream(1);
    ASSERT_TRUE(OpenClip("two_audio.mkv", true));
    EXPECT_EQ(Player->AudioStreamIndex(), 2);
    EXPECT_EQ(Player->VideoStreamIndex(), 0);
    Player->Stop(true);
}

TEST_F(PlayerTest, AnAudioDecoderThatWillNotOpen) {
    ASSERT_TRUE(OpenClip("badaudio.mkv", false)) << Player->LastErrMsg();
    EXPECT_EQ(Player->AudioStreamIndex(), -1);
    EXPECT_EQ(Player->VideoStreamIndex(), 0);
    EXPECT_TRUE(LoggedLine(llError, "avcodec_open() failed."));
    EXPECT_TRUE(WaitForState(psEnd));
    Player->Stop(true);

    EXPECT_FALSE(OpenClip("badonly.mkv", false));
    EXPECT_EQ(Player->LastErrMsg(),
              Clip("badonly.mkv") + ": could not open codecs, no stream to play.");
    EXPECT_EQ(Player->State(), nullptr);
}

TEST_F(PlayerTest, InputsThatCannotOpenFailWithFFmpegsTextAndFreeSDL) {
    const std::string Garbage = Temp.File("garbage.bin");
    {
        std::mt19937 Random(7);
        std::ofstream Out(Garbage, std::ios::binary);
        for (int I = 0; I < 4096; ++I)
            Out.put(char(Random()));
    }
    const struct {
        std::string Name;
        int Code;
    } Rows[] = {{Temp.File("missing.mp4"), AVERROR(ENOENT)}, {Garbage, AVERROR_INVALIDDATA}};
    for (const auto& Row : Rows) {
        Logged.clear();
        EXPECT_FALSE(Player->Open(Row.Name, Host, false));
        EXPECT_EQ(Player->LastErrMsg(), FormatAVError(Row.Name, Row.Code));
        EXPECT_FALSE(LoggedLine(llError, Player->LastErrMsg()));
        EXPECT_EQ(Player->State(), nullptr);
        EXPECT_EQ(Player->Channel(), nullptr);
        EXPECT_EQ(SDLHolder(), 0u);
    }
    // Nothing was left behind: the next open works.
    EXPECT_TRUE(OpenClip("av.mp4", true));
    Player->Stop(true);
}

TEST_F(PlayerTest, ReadingStopsAtTheQueueLimits) {
    ASSERT_TRUE(OpenClip("pcm_long.nut", true));
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->WaitingForRoom.load(); }));
    // One pcm packet of this clip is 4096 bytes.
    EXPECT_LE(is->audioq.size, 327680 + 4096 + PacketNodeSize);
    EXPECT_GE(is->videoq.nb_packets, 6);
    EXPECT_LE(is->audioq.size + is->videoq.size + is->subtitleq.size, 15728640);
    Player->Stop(true);
}

// Paused, so that the first picture after the seek stays on show. The end
// of a short clip may release the waiting Seek before that picture (the
// read thread sets the picture event at the end of input), so the case also
// waits for the picture to be shown.
TEST_F(PlayerTest, AWaitingSeekReturnsAndItsFirstPictureIsAtTheNewPosition) {
    ASSERT_TRUE(OpenClip("two_audio.mkv", true));
    ASSERT_TRUE(WaitForState(psPause));
    TVideoState* is = Player->State();
    // The paused open's pictures are on show first; after that only the
    // seek's pictures are shown.
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
    const std::uint64_t Before = [&] {
        std::lock_guard Lock(is->Shown.Lock);
        return is->Shown.Generation;
    }();
    Player->Seek(std::int64_t(1000000), {}, true);
    // The position moves when the new picture is shown (just after it is
    // drawn); pictures the decoder held from before the seek may be shown
    // first.
    ASSERT_TRUE(ServeUntil([&] {
        std::lock_guard Lock(is->Shown.Lock);
        return !Player->Seeking() && is->pictq_size == 0 && is->Shown.Generation > Before &&
               std::abs(Player->CurrentPTS() - 1000000) <= 480000;
    })) << Player->CurrentPTS();
    EXPECT_TRUE(Player->Paused());
    Player->Stop(true);
}

TEST_F(PlayerTest, ASeekThatFailsIsLoggedAndReleasesTheWaitingCaller) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::string Fifo = Temp.File("av.fifo");
    ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
    const std::string Content = ReadAll(Clip("av.ts"));
    std::thread Writer([&] {
        const int Fd = open(Fifo.c_str(), O_WRONLY);
        if (Fd < 0)
            return;
        for (std::size_t Done = 0; Done < Content.size();) {
            const ssize_t N = write(Fd, Content.data() + Done, Content.size() - Done);
            if (N <= 0)
                break;
            Done += std::size_t(N);
        }
        close(Fd);
    });
    ASSERT_TRUE(Player->Open(Fifo, Host, false)) << Player->LastErrMsg();
    ASSERT_TRUE(WaitForState(psPlay));
    Player->Seek(std::int64_t(1000000), {}, true);
    EXPECT_TRUE(LoggedLine(llError, Fifo + ": error while seeking"));
    EXPECT_NE(Player->State(), nullptr);
    EXPECT_TRUE(WaitForState(psEnd));
    Player->Stop(true);
    Writer.join();
}

TEST_F(PlayerTest, PauseResumeToggleAndAStepOfOnePicture) {
    ASSERT_TRUE(OpenClip("two_audio.mkv", true));
    ASSERT_TRUE(WaitForState(psPause));
    TVideoState* is = Player->State();
    // The paused open's two pictures are on show (or dropped as late).
    ASSERT_TRUE(ServeUntil([&] { return is->PicturesShown + is->PicturesDropped >= 2; }));
    std::int64_t Before = 0, After = 0;
    Player->CurrentFrame(Before);
    const int Shown = is->PicturesShown;
    const int Skipped = is->PicturesSkipped;
    Player->StepToNextFrame();
    ASSERT_TRUE(WaitForState(psStep));
    ASSERT_TRUE(ServeUntil([&] { return Player->Paused() && is->PicturesShown > Shown; }));
    EXPECT_EQ(is->PicturesShown, Shown + 1);
    Player->CurrentFrame(After);
    // One frame on, or more when a picture late against the clock was
    // skipped at decoding (the skip rule runs while paused too).
    EXPECT_EQ(After - Before, 40000 * (1 + is->PicturesSkipped - Skipped));

    Player->Resume();
    EXPECT_FALSE(Player->Paused());
    Player->Pause();
    EXPECT_TRUE(Player->Paused());
    Player->Pause();
    Player->TogglePause();
    EXPECT_FALSE(Player->Paused());
    Player->TogglePause();
    EXPECT_TRUE(Player->Paused());
    Player->Stop(true);
    EXPECT_EQ(Player->StatesSet(), (std::vector<TPlayState>{psPlay, psPause, psStep, psResume,
                                                            psPause, psResume, psPause, psStop}));
}

TEST_F(PlayerTest, AfterTheLastPacketEmptyPacketsKeepComingAndTheEndIsReportedOnce) {
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(WaitForState(psEnd));
    // Paused, the decoder takes nothing, so the markers pile up.
    Player->Pause();
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return is->videoq.nb_packets >= 10; }));
    EXPECT_EQ(is->videoq.size, is->videoq.nb_packets * PacketNodeSize);
    const auto States = DeliveredStates();
    EXPECT_EQ(std::count(States.begin(), States.end(), psEnd), 1);
    Player->Stop(true);
}

TEST_F(PlayerTest, StreamSwitchesAndTheirRefusals) {
    ASSERT_TRUE(OpenClip("two_audio.mkv", false));
    TVideoState* is = Player->State();
    AVCodecContext* Decoder = is->audio_dec;
    EXPECT_TRUE(SwitchStream(is, AVMEDIA_TYPE_AUDIO, 1));
    EXPECT_EQ(is->audio_dec, Decoder);
    EXPECT_FALSE(SwitchStream(is, AVMEDIA_TYPE_AUDIO, 0));
    EXPECT_EQ(Player->LastErrMsg(), "the stream type is not matched.");
    EXPECT_FALSE(SwitchStream(is, AVMEDIA_TYPE_AUDIO, 99));
    EXPECT_EQ(Player->LastErrMsg(), "the stream index is not valid.");
    EXPECT_EQ(Player->AudioStreamIndex(), 1);

    // Back and forth while the read thread routes packets to the queues.
    for (int I = 0; I < 50; ++I) {
        const int Next = I % 2 ? 1 : 2;
        Player->SetAudioStreamIndex(Next);
        ASSERT_EQ(Player->AudioStreamIndex(), Next);
    }
    EXPECT_EQ(is->OpenDecoders, 2);
    EXPECT_TRUE(WaitForState(psEnd));
    Player->Stop(true);
}

TEST_F(PlayerTest, StopInterruptsAStalledInput) {
    const std::string Content = ReadAll(Clip("av.ts"));
    for (bool DropQuits : {false, true}) {
        SCOPED_TRACE(DropQuits ? "forced" : "normal");
        TStallingServer Server(Content, Content.size() * 6 / 10);
        Player->SetFormat("mpegts");
        Player->DropQuitEvents = DropQuits;
        Delivered.clear();
        ASSERT_TRUE(Player->Open(Server.Url(), Host, false)) << Player->LastErrMsg();
        TVideoState* is = Player->State();
        ASSERT_TRUE(ServeUntil([&] { return Server.SentAll && is->Reading && is->ReachEOF == 0; }));
        Player->Stop(true);
        EXPECT_EQ(Player->State(), nullptr);
        if (DropQuits) {
            EXPECT_EQ(Player->StopCycles(), 10);
        }
        EXPECT_TRUE(WasDelivered(psStop));
        EXPECT_TRUE(ServeUntil([&] { return Server.Closed.load(); }));
    }
}

TEST_F(PlayerTest, AWaitingStopServesTheLogLineThatTheReadThreadWaitsIn) {
    // As in the program: a log line reaches its handler on the main thread
    // while the thread that logged it waits.
    GetFFLogger()->SetTriggerEventInMainThread(true);
    ASSERT_TRUE(OpenClip("av.mp4", false));
    TVideoState* is = Player->State();
    // Nothing served: the read thread reaches the end of the file and waits
    // in its line about it.
    const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!is->ErrorEOF && std::chrono::steady_clock::now() < Until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(is->ErrorEOF);
    Player->Stop(true);
    EXPECT_EQ(Player->State(), nullptr);
    // The stop ended in its first round; it used to leave the line waiting
    // until the round was over and then ask the playback to quit again.
    EXPECT_EQ(Player->StopCycles(), 0);
    EXPECT_TRUE(LoggedLine(llInfo, "reach end of file: " + Clip("av.mp4")));
}

TEST_F(PlayerTest, ForcedStopOfAnIdleReaderComesOnTheTwentiethCycle) {
    Player->DropQuitEvents = true;
    ASSERT_TRUE(OpenClip("bframes.mp4", true));
    ASSERT_TRUE(WaitForState(psPause));
    Player->Stop(true);
    EXPECT_EQ(Player->StopCycles(), 20);
    EXPECT_EQ(Player->State(), nullptr);
    EXPECT_TRUE(WasDelivered(psStop));
}

TEST_F(PlayerTest, OpenStopReopenRounds) {
    Player->SetOnState(nullptr);
    Player->SetOnPosition(nullptr);
    for (int Round = 0; Round < 200; ++Round) {
        ASSERT_TRUE(OpenClip("av.mp4", true)) << Round << ": " << Player->LastErrMsg();
        Player->Stop(false);
        Player->SetAspectRatio(float(Round % 3));
        Player->Stop(true);
        ASSERT_EQ(Player->State(), nullptr) << Round;
    }
}
