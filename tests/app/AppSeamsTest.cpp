// The main window's outside services: the real task queue, player and
// desktop actions behind their seams, and the program folder.
#include "app/ExternalActions.h"
#include "app/JobQueue.h"
#include "app/PreviewPlayer.h"
#include "app/ProgramServices.h"
#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "tests/app/support/AppFakes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

namespace {

// One second of 8 kHz mono 16-bit silence as a WAV file.
void WriteWave(const std::string& Path) {
    const std::uint32_t Rate = 8000, Bytes = Rate * 2;
    std::ofstream Out(Path, std::ios::binary);
    auto U32 = [&](std::uint32_t V) { Out.write(reinterpret_cast<const char*>(&V), 4); };
    auto U16 = [&](std::uint16_t V) { Out.write(reinterpret_cast<const char*>(&V), 2); };
    Out.write("RIFF", 4);
    U32(36 + Bytes);
    Out.write("WAVEfmt ", 8);
    U32(16);
    U16(1);
    U16(1);
    U32(Rate);
    U32(Rate * 2);
    U16(2);
    U16(16);
    Out.write("data", 4);
    U32(Bytes);
    std::string Silence(Bytes, '\0');
    Out.write(Silence.data(), Silence.size());
}

} // namespace

TEST(AppSeams, TheRealQueueProbesAndRefusesWhileWorking) {
    TFFmpegQueue Component(nullptr);
    TFFmpegJobQueue Queue(Component);
    ASSERT_TRUE(Queue.LoadAVLib("")) << Queue.LastErrMsg();
    EXPECT_TRUE(Queue.AVLibLoaded());

    TTempDir Folder;
    TJobProbe Missing = Queue.ProbeFile(Folder.File("none.avi"));
    EXPECT_FALSE(Missing.Loaded);
    EXPECT_FALSE(Missing.ErrorText.empty());

    WriteWave(Folder.File("tone.wav"));
    TJobProbe Tone = Queue.ProbeFile(Folder.File("tone.wav"));
    ASSERT_TRUE(Tone.Loaded) << Tone.ErrorText;
    EXPECT_EQ(Tone.FileSize, 44 + 16000);
    EXPECT_NEAR(static_cast<double>(Tone.Duration), 1e6, 1e4);
    EXPECT_NE(Tone.InfoText.find("tone.wav"), std::string::npos);

    Queue.SetPreview(true);
    EXPECT_TRUE(Component.Preview());
    Queue.SetThreadPriority(tpLower);
    EXPECT_EQ(Component.ThreadPriority(), tpLower);

    Queue.Start(1);
    EXPECT_TRUE(Queue.Working());
    try {
        Queue.AddTask(Folder.File("tone.wav"), nullptr);
        FAIL() << "no refusal";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.what(), "Cannot AddTask while working.");
    }
    Queue.Stop(true);
    Queue.ClearTasks();
    EXPECT_FALSE(Queue.Working());
}

TEST(AppSeams, ThePlayerSeamReachesTheComponent) {
    TRIVavova Component(nullptr);
    TRIVavovaPlayer Player(Component);
    int Positions = 0;
    TPositionEvent OnPosition = [&](TObject*, std::int64_t) { ++Positions; };
    Player.SetOnPosition(OnPosition);
    EXPECT_TRUE(Component.OnPosition() == OnPosition);
    Player.SetOnPosition(nullptr);
    EXPECT_TRUE(Component.OnPosition() == nullptr);
    Player.SetAudioVolume(40);
    Player.SetMute(true);
    EXPECT_EQ(Component.AudioVolume(), 40);
    EXPECT_TRUE(Component.Mute());
    EXPECT_LE(Player.StreamCount(), 0);
    EXPECT_EQ(Player.ScreenHandle(), nullptr);
}

TEST(AppSeams, ProgramFolderAndOpening) {
    EXPECT_EQ(ProgramFolder(), GetAppPath());
    SetProgramServices({nullptr, nullptr, nullptr, "/tmp/ostrela-test"});
    EXPECT_EQ(ProgramFolder(), "/tmp/ostrela-test/");
    SetProgramServices({});

    THeadlessBackend Headless;
    SetBackend(&Headless);
    TExternalActions Actions;
    std::string Error;
    EXPECT_TRUE(Actions.Open("/tmp/some folder/视频", Error)) << Error;
    EXPECT_EQ(Headless.Opened(), std::vector<std::string>{"/tmp/some folder/视频"});
    SetBackend(nullptr);

    TRecordedActions Recorded;
    Recorded.Succeeds = false;
    EXPECT_FALSE(Recorded.Open("x", Error));
    EXPECT_EQ(Error, "refused");
    EXPECT_EQ(Recorded.Calls, std::vector<std::string>{"Open x"});
}
