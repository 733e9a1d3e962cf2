// Conversions in the real program on a virtual X screen: a clip added
// through the open dialog, started, paused and resumed, stopped, and the
// window closed while converting. The outputs are read back with ffprobe.
#include "app/Unit1.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "tests/app/support/MediaFiles.h"
#include "tests/app/support/OnScreen.h"

#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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

    // Steps adding NAME, a copy of the clip in a folder of the run other
    // than the dialog's first one, through "添加" → "添加一个文件": its full
    // path typed into the dialog's file-name box (at a fixed place of its
    // 458 × 324 window), then Enter.
    std::string AddThroughTheOpenDialog(const std::string& ClipName, const std::string& Name) {
        fs::create_directories(Run.File("inputs"));
        const std::string Input = Run.File("inputs/" + Name);
        fs::copy_file(Clip(ClipName), Input);
        if (!Started)
            Start();
        return Step("click", CentreOf(Form1->bsSkinMenuSpeedButton1)) + "key Return\nother open\n" +
               Step("click-other", "open", {218, 260}) + "type " + Input +
               "\nkey Return\ngone open\nsleep 1\n";
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

    // Steps choosing the profile Title as a user does: a click on a
    // drop-down opens its list and an arrow key takes the next entry, once a
    // step (taking an entry puts the focus back on the job table, which
    // closes the list). The counts come from the same lists on the
    // headless screen.
    std::string ChooseProfileSteps(const std::string& Title) {
        if (!Started)
            Start();
        auto* Categories = Form1->bsSkinOfficeComboBox2;
        auto* Profiles = Form1->bsSkinOfficeComboBox1;
        const auto Walk = [](TbsSkinOfficeComboBox* Combo, int From, int To) {
            std::string Steps;
            for (int I = From; I != To; I += To > From ? 1 : -1)
                Steps += Step("click", CentreOf(Combo)) + (To > From ? "key Down\n" : "key Up\n");
            return Steps;
        };
        const int FirstCategory = Categories->ItemIndex();
        for (int C = 0; C < Categories->Items()->Count(); ++C) {
            Categories->SetItemIndex(C);
            const int FirstProfile = Profiles->ItemIndex();
            for (int P = 0; P < Profiles->Items()->Count(); ++P)
                if (Profiles->Items()->Items(P)->Title() == Title)
                    return Walk(Categories, FirstCategory, C) + Walk(Profiles, FirstProfile, P);
        }
        ADD_FAILURE() << "no profile " << Title;
        return "";
    }

    // How many pixels of the job table's cell (row 0, column Column) in the
    // photograph differ from Text as the graphics layer draws it there: the
    // font the table itself holds and its colours in the first stored skin,
    // the cell's margin of 6 pixels, centred from top to bottom. The grid
    // lines along the cell's right and bottom edges are left out. Both
    // pictures are kept beside the photographs.
    int CellDiffers(const std::string& Shot, int Column, const std::string& Text) {
        if (!Started)
            Start();
        TbsSkinListView* View = Form1->lvFiles;
        if (View->Items()->Count() == 0)
            View->Items()->Add();
        TRect Cell{LVIR_BOUNDS, Column, 0, 0};
        SendMessage(View->Handle(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&Cell));
        const int W = Cell.Width() - 1, H = Cell.Height() - 1;
        TBitmap Drawn;
        Drawn.SetPixelFormat(pf24bit);
        Drawn.SetSize(Cell.Width(), Cell.Height());
        TCanvas* C = Drawn.Canvas();
        C->Brush()->SetColor(View->Color());
        C->FillRect(Rect(0, 0, Cell.Width(), Cell.Height()));
        HDC DC = C->Handle();
        SelectObject(DC, reinterpret_cast<HGDIOBJ>(SendMessage(View->Handle(), WM_GETFONT, 0, 0)));
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, COLORREF(ColorToRGB(View->Font()->Color())));
        TRect Inner{6, 0, Cell.Width() - 6, Cell.Height()};
        DrawText(DC, Text, -1, &Inner,
                 DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER | DT_LEFT);

        QImage Image(QString::fromStdString(Run.File(Shot)));
        if (Image.isNull())
            return -1;
        const auto Window = Geometry(Run.File("main.txt"));
        const TPoint Origin = View->ClientToScreen({Cell.Left, Cell.Top});
        const int Left = Window.at("X") + Origin.X - Form1->Left();
        const int Top = Window.at("Y") + Origin.Y - Form1->Top();
        QImage Want(W, H, QImage::Format_RGB32), Got(W, H, QImage::Format_RGB32);
        int Differ = 0;
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const auto Rgb = static_cast<std::uint32_t>(ColorToRGB(C->Pixels(X, Y)));
                Want.setPixel(X, Y, qRgb(GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb)));
                Got.setPixel(X, Y, Image.pixel(Left + X, Top + Y));
                Differ += Want.pixel(X, Y) != Got.pixel(X, Y);
            }
        const std::string Name = Shot.substr(0, Shot.rfind('.')) + "-cell";
        Want.save(QString::fromStdString(Run.File(Name + "-drawn.png")));
        Got.save(QString::fromStdString(Run.File(Name + "-shown.png")));
        KeepPhotographs();
        return Differ;
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
    // A quick profile in place of the first one: MPEG-4 video, MP3 audio.
    Play("start\n" + Add + ChooseProfileSteps("MP4 - MPEG-4视频格式(*.mp4)") + "shot added\n" +
         StartStep() + WaitForFile("a.mp4") + "sleep 1\nshot done\nkey alt+F4\nwait-exit status\n");

    ExpectOpenDialogSize();
    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"a.mp4"});
    const std::string Probed = Probe(Output() + "/a.mp4");
    EXPECT_NE(Probed.find("mp4"), std::string::npos) << Probed;
    EXPECT_NE(Probed.find("mpeg4"), std::string::npos) << Probed;
    EXPECT_NE(Probed.find("mp3"), std::string::npos) << Probed;
    // Within one frame of the clip's 25 a second.
    EXPECT_NEAR(ProbedDuration(Output() + "/a.mp4"), 2.0, 1.0 / 25);
    EXPECT_EQ(CellDiffers("done.png", 4, "100%"), 0);
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "xdg-open " + FileUrl(Output()) + "\n");
}

TEST_F(JobFlowOnScreen, AProfileWithoutEncoderShowsTheFailureInItsBoxAndRow) {
    const std::string Add = AddThroughTheOpenDialog("clip2s.mp4", "a.mp4");
    // The system's libraries have no AMR-NB encoder: the job fails when it
    // starts, its box shows the libraries' message and Enter closes it.
    Play("start\n" + Add + ChooseProfileSteps("AMR-手机音频格式(*.amr)") + StartStep() +
         "other box\nshot failed\nkey Return\ngone box\nsleep 1\nshot closed\n"
         "key alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    const auto Box = Geometry(Run.File("box.txt"));
    EXPECT_GT(Box.at("WIDTH"), 100);
    EXPECT_EQ(CellDiffers("closed.png", 4, "失败"), 0);
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
}

TEST_F(JobFlowOnScreen, TheChimeChosenForTheEndIsPlayedByTheSoundChild) {
    const std::string Chime = Clip("tone.wav");
    std::filesystem::create_directories(Run.File("program/sounds"));
    fs::copy_file(Chime, Run.File("program/sounds/ring001.wav"));
    std::ofstream(RealOptionPath()) << "[Options]\nAfter_Done=2\n";
    // A clip without sound: the preview opens no sound device, so the child
    // is the only writer of the disk file.
    const std::string Add = AddThroughTheOpenDialog("clip25.mp4", "a.mp4");
    Play("start\n" + Add + StartStep() + WaitForFile("a.avi") + "wait-child " +
         Run.File("program/sounds/ring001.wav") + "\nkey alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"a.avi"});
    EXPECT_EQ(ReadTextFile(Run.File("actions.txt")), "");
    // The child writes the chime's samples as they are: its device takes
    // the file's own format.
    const std::string Wave = ReadTextFile(Chime);
    const std::size_t Data = Wave.find("data");
    ASSERT_NE(Data, std::string::npos);
    const std::string Samples = Wave.substr(Data + 8);
    ASSERT_FALSE(Samples.empty());
    EXPECT_NE(ReadTextFile(Run.File("sound.raw")).find(Samples), std::string::npos);
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
    // thread, at most one may catch it running (a repaint, the preview's
    // turn; up to three on a busy machine, where a thread waiting for a core
    // counts as running); an encoding worker runs in all of them. Only "R"
    // counts as running: a thread waiting on the disk is not.
    std::istringstream States(ReadTextFile(Run.File("paused.txt")));
    std::string Looks;
    int Threads = 0;
    while (std::getline(States, Looks)) {
        ++Threads;
        EXPECT_EQ(Looks.size(), 5u) << Looks;
        EXPECT_LE(std::count(Looks.begin(), Looks.end(), 'R'), 3) << Looks;
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

TEST_F(JobFlowOnScreen, AStartAfterAStopConvertsTheClipAgain) {
    const std::string Add = AddThroughTheOpenDialog("clip20s.mp4", "long.mp4");
    // The stopped run's work keeps its partial name, so the new run takes
    // the next free one.
    Play("start\n" + Add + StartStep() + WaitForFile("long.part.avi") +
         Step("click", CentreOf(Form1->bsSkinButton10)) + "sleep 2\n" + StartStep() +
         WaitForFile("long_1.avi") + "sleep 1\nshot restarted\nkey alt+F4\nwait-exit status\n");

    EXPECT_EQ(ReadTextFile(Run.File("status.txt")), "0\n");
    EXPECT_EQ(ErrorOutput(), "");
    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"long.part.avi", "long_1.avi"}));
    EXPECT_NEAR(ProbedDuration(Output() + "/long_1.avi"), 20.0, 0.1);
    EXPECT_EQ(CellDiffers("restarted.png", 4, "100%"), 0);
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
