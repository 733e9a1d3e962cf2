// Conversions in the real program on a virtual X screen: a clip added
// through the open dialog, started, paused and resumed, stopped, and the
// window closed while converting. The outputs are read back with ffprobe.
#include "app/Unit1.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "tests/app/support/MediaFiles.h"
#include "tests/app/support/OnScreen.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The clips of tests/fixtures/make_media.sh, made once into the build
// folder's cache beside the pictures' folder.
std::string Clip(const std::string& Name) {
    const fs::path Fixtures = fs::path(OSTRELA_E2E_DRIVER).parent_path().parent_path() / "fixtures";
    const fs::path Cache = fs::path(OSTRELA_E2E_PICTURES).parent_path() / "media_clips";
    return CachedClip(Fixtures.string(), Cache.string(), Name);
}

// A file URL as the folder-opening action hands it on.
std::string FileUrl(const std::string& Path) {
    static const char* Digits = "0123456789ABCDEF";
    std::string Url = "file://";
    for (unsigned char C : Path)
        if (std::isalnum(C) || std::strchr("/-._~", C))
            Url += char(C);
        else
            Url += std::string("%") + Digits[C >> 4] + Digits[C & 15];
    return Url;
}

class JobFlowOnScreen : public MainWindowOnScreen {
protected:
    // The preview's player and the sound child write their sound to a file
    // of the run instead of a sound card.
    void SetUp() override {
        MainWindowOnScreen::SetUp();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", Run.File("sound.raw").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        MainWindowOnScreen::TearDown();
    }

    // The first start's output folder in the run's home.
    std::string Output() const { return RealHome() + "/Ostrela视频软件/输出"; }

    // The program's error output but for SDL's notice that it writes its
    // sound to a file.
    std::string ErrorOutput() const {
        std::istringstream In(ReadTextFile(Run.File("stderr.txt")));
        std::string Line, Out;
        while (std::getline(In, Line))
            if (Line.rfind("WARNING: You are using the SDL disk writer", 0) != 0 &&
                Line.rfind(" Writing to file [", 0) != 0)
                Out += Line + "\n";
        return Out;
    }

    std::vector<std::string> OutputFiles() const {
        std::vector<std::string> Names;
        if (fs::is_directory(Output()))
            for (const auto& Entry : fs::directory_iterator(Output()))
                Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }

    // Steps adding NAME, a copy of the clip beside the program (the open
    // dialog's first folder), through "添加" → "添加一个文件": the name
    // typed into the dialog's file-name box, then its "Open" button. The
    // dialog's box and button are at fixed places of its 458 × 324 window.
    std::string AddThroughTheOpenDialog(const std::string& ClipName, const std::string& Name) {
        fs::copy_file(Clip(ClipName), Run.File("program/" + Name));
        if (!Started)
            Start();
        return Step("click", CentreOf(Form1->bsSkinMenuSpeedButton1)) + "key Return\nother open\n" +
               Step("click-other", "open", {218, 260}) + "type " + Name + "\n" +
               Step("click-other", "open", {408, 262}) + "gone open\nsleep 1\n";
    }

    void ExpectOpenDialogSize() const {
        const auto Dialog = Geometry(Run.File("open.txt"));
        EXPECT_EQ(Dialog.at("WIDTH"), 458);
        EXPECT_EQ(Dialog.at("HEIGHT"), 324);
    }

    std::string StartStep() const { return Step("click", CentreOf(Form1->bsSkinButton2)); }
    std::string WaitForFile(const std::string& Name) const {
        return "wait-file " + Output() + "/" + Name + "\n";
    }

    // Whether any process still runs the run's copy of the program.
    bool ProgramStillRunning() const {
        for (const auto& Entry : fs::directory_iterator("/proc")) {
            std::error_code Error;
            const fs::path Exe = fs::read_symlink(Entry.path() / "exe", Error);
            if (!Error && Exe == fs::path(ProgramCopy()))
                return true;
        }
        return false;
    }
};

TEST_F(JobFlowOnScreen, AClipAddedThroughTheOpenDialogIsConvertedAndTheFolderOpened) {
    const std::string Add = AddThroughTheOpenDialog("clip2s.mp4", "a.mp4");
    // The first profile, "高清AVI视频格式(*.avi)": MPEG-4 video, MP3 audio.
    Play("start\n" + Add + "shot added\n" + StartStep() + WaitForFile("a.avi") +
         "sleep 1\nshot done\nkey alt+F4\nwait-exit status\n");

    ExpectOpenDialogSize();
    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"a.avi"});
    const std::string Probed = Probe(Output() + "/a.avi");
    EXPECT_NE(Probed.find("avi"), std::string::npos) << Probed;
    EXPECT_NE(Probed.find("mpeg4"), std::string::npos) << Probed;
    EXPECT_NE(Probed.find("mp3"), std::string::npos) << Probed;
    // The AVI's MP3 track runs a little past the picture's end.
    EXPECT_NEAR(ProbedDuration(Output() + "/a.avi"), 2.0, 0.1);
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "xdg-open " + FileUrl(Output()) + "\n");
}

TEST_F(JobFlowOnScreen, APausedConversionSleepsAndEndsWhenResumed) {
    const std::string Add = AddThroughTheOpenDialog("clip20s.mp4", "long.mp4");
    // "继续" takes the place of "暂停" while paused.
    const std::string Pause = Step("click", CentreOf(Form1->bsSkinButton11));
    Play("start\n" + Add + StartStep() + WaitForFile("long.part.avi") + Pause +
         "sleep 2\nthreads paused\nshot paused\n" + Pause + WaitForFile("long.avi") +
         "sleep 1\nshot resumed\nkey alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    // While paused nothing of the program keeps running: the worker is
    // parked and the window waits for events. Of five looks at each
    // thread, at most one may catch it running (a repaint, the sound
    // thread's turn; two on a busy machine); an encoding worker runs in all
    // of them. Only "R" counts as running: a thread waiting on the disk is not.
    std::istringstream States(ReadTextFile(Run.File("paused.txt")));
    std::string Looks;
    int Threads = 0;
    while (std::getline(States, Looks)) {
        ++Threads;
        EXPECT_EQ(Looks.size(), 5u) << Looks;
        EXPECT_LE(std::count(Looks.begin(), Looks.end(), 'R'), 2) << Looks;
    }
    EXPECT_GT(Threads, 1);
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"long.avi"});
    EXPECT_NEAR(ProbedDuration(Output() + "/long.avi"), 20.0, 0.1);
}

TEST_F(JobFlowOnScreen, AStoppedConversionKeepsItsPartialFileOnly) {
    const std::string Add = AddThroughTheOpenDialog("clip20s.mp4", "long.mp4");
    Play("start\n" + Add + StartStep() + WaitForFile("long.part.avi") +
         Step("click", CentreOf(Form1->bsSkinButton10)) +
         "sleep 2\nshot stopped\nkey alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"long.part.avi"});
    const double Kept = ProbedDuration(Output() + "/long.part.avi");
    EXPECT_GT(Kept, 0);
    EXPECT_LT(Kept, 20.0);
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "");
}

TEST_F(JobFlowOnScreen, ClosingTheWindowWhileConvertingStopsTheJobAndEndsCleanly) {
    const std::string Add = AddThroughTheOpenDialog("clip20s.mp4", "long.mp4");
    // The close follows the partial file's appearance at once: the clip
    // takes only seconds to convert.
    Play("start\n" + Add + StartStep() + WaitForFile("long.part.avi") +
         "key alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    EXPECT_FALSE(ProgramStillRunning());
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"long.part.avi"});
    const double Kept = ProbedDuration(Output() + "/long.part.avi");
    EXPECT_GT(Kept, 0);
    EXPECT_LT(Kept, 20.0);
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "");
}

} // namespace
