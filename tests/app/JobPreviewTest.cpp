// The preview panel and snapshots against the recording player: the player's
// events, the seek slider, the transport buttons, and pictures saved from
// the frame on display.
#include "app/Unit1.h"
#include "platform/core/Paths.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinOpenDlg.h"
#include "skin/dialogs/bsSkinPictureDialogs.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "tests/app/support/JobFlowFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

class JobPreview : public JobFlow {
protected:
    void OpenTenSeconds() {
        int Width = 0, Height = 0;
        Player.OnFileOpen(nullptr, 10'000'000, 320, 240, Width, Height);
    }
    void Release(int Value) {
        Form1->bsSkinSlider1->SetValue(Value);
        Form1->bsSkinSlider1MouseUp(nullptr, mbLeft, {}, 0, 0);
    }
    std::vector<std::string> CallsSince(std::size_t From) const {
        return {Player.Calls.begin() + static_cast<std::ptrdiff_t>(From), Player.Calls.end()};
    }
    static std::vector<std::string> ItemsOf(TComboBox* Box) {
        std::vector<std::string> Items;
        for (int I = 0; I < Box->Items()->Count(); ++I)
            Items.push_back(Box->Items()->Strings(I));
        return Items;
    }
};

// ---------------------------------------------------------------- player events

TEST_F(JobPreview, TheFileOpenEventLogsSetsTheLabelsTheSliderAndTheStreamLists) {
    StartWindow();
    Player.InfoText = "Input #0, mov";
    Player.StreamKinds = {'v', 'a', 'a', 's'};
    Player.VideoIndex = 0;
    Player.AudioIndex = 1;
    Player.SubtitleIndex = -1;
    int Width = 0, Height = 0;
    Player.OnFileOpen(nullptr, 10'000'000, 320, 240, Width, Height);

    const auto Lines = MemoLines();
    ASSERT_GE(Lines.size(), 2u);
    EXPECT_EQ(Lines[Lines.size() - 2], "Input #0, mov");
    EXPECT_EQ(Lines.back(), "duration: 10.00, frame size: 320x240");
    // The screen named by the screen list: Panel6 is no direct child found
    // by that name until the first open, so the desktop's size is reported.
    EXPECT_GT(Width, 0);
    EXPECT_GT(Height, 0);
    EXPECT_EQ(Form1->FDuration, 10'000'000);
    EXPECT_EQ(Form1->Label2->Caption(), "10.00");
    EXPECT_EQ(Form1->Label3->Caption(), "0.0");
    EXPECT_EQ(Form1->bsSkinSlider1->Increment(), 5);
    EXPECT_EQ(Form1->bsSkinSlider1->MaxValue(), Form1->bsSkinSlider1->Width());
    EXPECT_EQ(ItemsOf(Form1->cboVideo), std::vector<std::string>{"Video#0"});
    EXPECT_FALSE(Form1->cboVideo->Enabled());
    EXPECT_EQ(ItemsOf(Form1->cboAudio), (std::vector<std::string>{"Audio#1", "Audio#2"}));
    EXPECT_TRUE(Form1->cboAudio->Enabled());
    EXPECT_EQ(Form1->cboAudio->Text(), "Audio#1");
    EXPECT_EQ(ItemsOf(Form1->cboSubtitle), (std::vector<std::string>{"Subtitle#-1", "Subtitle#3"}));
    EXPECT_TRUE(Form1->cboSubtitle->Enabled());
    EXPECT_EQ(Form1->cboSubtitle->Text(), "Subtitle#-1");
}

TEST_F(JobPreview, OpeningPassesTheDriversAndHostAndReportsTheHostsSize) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    Form1->cboVideoDriver->SetItemIndex(2);
    Form1->cboAudioDriver->SetItemIndex(1);
    Form1->cboScreens->SetItemIndex(Form1->cboScreens->Items()->IndexOf("Panel6"));
    Form1->Button31Click(nullptr);
    EXPECT_EQ(Player.Video, vdGDI);
    EXPECT_EQ(Player.Audio, adDirectSound);
    EXPECT_EQ(Player.Screen, Form1->Panel6->Handle());
    int Width = 0, Height = 0;
    Player.OnFileOpen(nullptr, 1'000'000, 320, 240, Width, Height);
    EXPECT_EQ(Width, Form1->Panel6->Width());
    EXPECT_EQ(Height, Form1->Panel6->Height());

    // A player whose libraries cannot load logs why and opens nothing.
    Player.Loaded = false;
    Player.ErrorText = "no SDL";
    Player.Calls.clear();
    Form1->Button31Click(nullptr);
    EXPECT_EQ(Player.Calls, std::vector<std::string>{"LoadAVLib(" + ProgramFolder() + "LibAV)"});
    EXPECT_EQ(MemoLines().back(), "no SDL");
}

TEST_F(JobPreview, TheSliderFollowsThePositionAndSeeksWhereItIsReleased) {
    StartWindow();
    TbsSkinSlider* Slider = Form1->bsSkinSlider1;
    ASSERT_EQ(Slider->Width(), 200);
    OpenTenSeconds();
    Player.OnPosition(nullptr, 2'500'000);
    EXPECT_EQ(Slider->Value(), 50);
    EXPECT_EQ(Form1->Label3->Caption(), "2.50");

    // Held: positions leave the thumb where it is dragged.
    Form1->bsSkinSlider1MouseDown(nullptr, mbLeft, {}, 0, 0);
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "Down");
    Slider->SetValue(150);
    Player.OnPosition(nullptr, 3'000'000);
    EXPECT_EQ(Slider->Value(), 150);
    const std::size_t From = Player.Calls.size();
    Release(150);
    EXPECT_EQ(CallsSince(From), (std::vector<std::string>{"Pause", "Seek(7500000,0)", "Resume"}));
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");

    // A negative position does not move it.
    Player.OnPosition(nullptr, -40'000);
    EXPECT_EQ(Slider->Value(), 150);

    // Without a duration it never moves and a release seeks to the start.
    int Width = 0, Height = 0;
    Player.OnFileOpen(nullptr, 0, 320, 240, Width, Height);
    Slider->SetValue(80);
    Player.OnPosition(nullptr, 1'000'000);
    EXPECT_EQ(Slider->Value(), 80);
    Release(80);
    EXPECT_EQ(Player.Calls[Player.Calls.size() - 2], "Seek(0,0)");

    // A slider without range seeks to the start instead of dividing by 0.
    OpenTenSeconds();
    Slider->SetMaxValue(0);
    Release(0);
    EXPECT_EQ(Player.Calls[Player.Calls.size() - 2], "Seek(0,0)");
}

TEST_F(JobPreview, AClickOnTheSliderTrackMovesTheThumbThereAndSeeks) {
    StartWindow();
    TbsSkinSlider* Slider = Form1->bsSkinSlider1;
    OpenTenSeconds();
    Player.OnPosition(nullptr, 2'500'000);
    ASSERT_EQ(Slider->Value(), 50);
    const int Half = (Slider->ThumbRect().Right - Slider->ThumbRect().Left) / 2;
    const int Y = Slider->RulerOrg().Y + 1;
    struct Row {
        int Value;
        const char* Seek;
    };
    // Ahead of the thumb, then back behind it.
    for (const Row& R : {Row{150, "Seek(7500000,0)"}, Row{40, "Seek(2000000,0)"}}) {
        const std::size_t From = Player.Calls.size();
        const TPoint At = Slider->ClientToScreen({Slider->ValueToPos(R.Value) + Half, Y});
        Headless.Click(At.X, At.Y);
        Pump();
        EXPECT_EQ(Slider->Value(), R.Value);
        EXPECT_EQ(CallsSince(From), (std::vector<std::string>{"Pause", "Pause", R.Seek, "Resume"}));
        EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");
    }
    // Playing on from there, the thumb follows the player again.
    Player.OnPosition(nullptr, 2'100'000);
    EXPECT_EQ(Slider->Value(), 42);
}

TEST_F(JobPreview, PlayStatesSetTheWindowStyleAndTheEndRewindsAndPauses) {
    StartWindow();
    Form1->chkStayOnTop->SetChecked(true);
    Player.OnState(nullptr, psPlay);
    EXPECT_EQ(Form1->FormStyle(), fsStayOnTop);
    Player.OnState(nullptr, psPause);
    EXPECT_EQ(Form1->FormStyle(), fsNormal);
    Player.OnState(nullptr, psResume);
    EXPECT_EQ(Form1->FormStyle(), fsStayOnTop);
    Player.Screen = Form1->Panel6->Handle();
    Player.OnState(nullptr, psStop);
    EXPECT_EQ(Form1->FormStyle(), fsNormal);
    Pump();
    const std::size_t From = Player.Calls.size();
    Player.OnState(nullptr, psEnd);
    EXPECT_EQ(CallsSince(From), (std::vector<std::string>{"Seek(0,0)", "Pause"}));
    const auto Lines = MemoLines();
    EXPECT_EQ(std::vector<std::string>(Lines.end() - 4, Lines.end()),
              (std::vector<std::string>{"Pause", "Resume", "Stop", "End"}));
}

// A stopped player leaves its last picture in the host until the host
// paints itself again.
TEST_F(JobPreview, AStopRepaintsThePlayersHost) {
    StartWindow();
    ASSERT_EQ(Form1->FormStyle(), fsNormal); // no repaint from a style change
    const HWND Host = Form1->Panel6->Handle();
    Player.Screen = Host;
    const std::uint32_t Own = PixelOf(Form1->Panel6, 4, 4);
    HDC DC = GetDC(Host);
    HBRUSH Brush = CreateSolidBrush(Own == RGB(255, 0, 0) ? RGB(0, 0, 255) : RGB(255, 0, 0));
    const TRect Picture{0, 0, 16, 16};
    FillRect(DC, &Picture, Brush);
    DeleteObject(ToObj(Brush));
    ReleaseDC(Host, DC);
    ASSERT_NE(PixelOf(Form1->Panel6, 4, 4), Own);

    Player.OnState(nullptr, psStop);
    MSG Posted;
    EXPECT_TRUE(PeekMessage(&Posted, Host, CM_INVALIDATE, CM_INVALIDATE, PM_NOREMOVE));
    EXPECT_EQ(PixelOf(Form1->Panel6, 4, 4), Own);
}

TEST_F(JobPreview, TransportButtonsMuteAndVolume) {
    StartWindow();
    // Stop without a row does nothing.
    std::size_t From = Player.Calls.size();
    Form1->bsSkinButton15->ButtonClick();
    EXPECT_EQ(CallsSince(From), std::vector<std::string>{});
    AddFiles({MakeInput("a.mp4")});
    From = Player.Calls.size();
    Form1->bsSkinButton15->ButtonClick();
    EXPECT_EQ(CallsSince(From),
              (std::vector<std::string>{"Stop(1)", "Open(" + Inputs() + "/a.mp4,1)"}));
    From = Player.Calls.size();
    Form1->bsSkinButton14->ButtonClick();
    Form1->bsSkinButton13->ButtonClick();
    EXPECT_EQ(CallsSince(From), (std::vector<std::string>{"Pause", "Resume"}));

    Form1->bsSkinButton16->ButtonClick();
    EXPECT_TRUE(Player.Muted);
    EXPECT_FALSE(Form1->bsSkinButton16->Visible());
    EXPECT_TRUE(Form1->bsSkinButton20->Visible());
    Form1->bsSkinButton20->ButtonClick();
    EXPECT_FALSE(Player.Muted);
    EXPECT_TRUE(Form1->bsSkinButton16->Visible());
    EXPECT_FALSE(Form1->bsSkinButton20->Visible());

    Form1->TrackBar2->SetPosition(64);
    EXPECT_EQ(Player.Volume, 64);
}

// ---------------------------------------------------------------- snapshots

class JobSnapshot : public JobPreview {
protected:
    void SetUp() override {
        JobPreview::SetUp();
        Frame.SetPixelFormat(pf24bit);
        Frame.SetSize(64, 48);
        Frame.Canvas()->Brush()->SetColor(clRed);
        Frame.Canvas()->FillRect(TRect(0, 0, 64, 48));
        Player.Frame = &Frame;
        std::filesystem::create_directories(Shots());
    }
    std::string Shots() const { return Folder.Path() + "/shots"; }
    void StartWith(const std::string& Picture) {
        WriteOptionFile("[SnapShot]\nDir=" + Shots() + "\nPicture=" + Picture + "\n");
        StartWindow();
        Form1->T_Movie_PLayer_FileName = Inputs() + "/clip.mp4";
    }
    static std::string Magic(const std::string& Path) {
        std::ifstream In(Path, std::ios::binary);
        std::array<char, 4> Bytes{};
        In.read(Bytes.data(), Bytes.size());
        return std::string(Bytes.data(), static_cast<std::size_t>(In.gcount()));
    }
    // "width,height" as ffprobe reads the picture, or "" when it cannot.
    static std::string ProbedSize(const std::string& Path) {
        const std::string Command =
            "ffprobe -v error -show_entries stream=width,height -of csv=p=0 \"" + Path +
            "\" 2>/dev/null";
        std::string Text;
        if (FILE* Pipe = popen(Command.c_str(), "r")) {
            std::array<char, 128> Buffer{};
            while (fgets(Buffer.data(), Buffer.size(), Pipe))
                Text += Buffer.data();
            if (pclose(Pipe) != 0)
                return "";
        }
        while (!Text.empty() && (Text.back() == '\n' || Text.back() == ','))
            Text.pop_back();
        return Text;
    }
    static void Touch(const std::string& Path) { std::ofstream(Path) << "x"; }

    TBitmap Frame;
};

TEST_F(JobSnapshot, TheNextSnapshotTakesTheFirstFreeNumberOfItsOwnType) {
    struct TCase {
        std::vector<const char*> Existing;
        const char* Expected;
    } Cases[] = {{{"clip_1.bmp", "clip_2.bmp"}, "clip_3.bmp"},
                 {{"clip_2.bmp"}, "clip_1.bmp"},
                 {{"clip_1.jpg"}, "clip_1.bmp"}};
    StartWith("BMP");
    for (const TCase& Case : Cases) {
        std::filesystem::remove_all(Shots());
        std::filesystem::create_directories(Shots());
        for (const char* Name : Case.Existing)
            Touch(Shots() + "/" + Name);
        Form1->bsSkinButton22->ButtonClick();
        EXPECT_EQ(Magic(Shots() + "/" + Case.Expected).substr(0, 2), "BM") << Case.Expected;
    }
}

TEST_F(JobSnapshot, EachTypeIsWrittenAsThatKindOfPicture) {
    struct TCase {
        const char* Type;
        TMenuItem* TForm1::*Entry;
        const char* File;
        std::string Magic;
    } Cases[] = {{"BMP", &TForm1::BMP1, "clip_1.bmp", "BM"},
                 {"JPG", &TForm1::JPG1, "clip_1.jpg", "\xFF\xD8\xFF"},
                 {"GIF", &TForm1::GIF1, "clip_1.gif", "GIF8"},
                 {"PNG", &TForm1::PNG1, "clip_1.png", "\x89PNG"}};
    StartWith("BMP");
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Type);
        (Form1->*Case.Entry)->Click();
        EXPECT_TRUE((Form1->*Case.Entry)->Checked());
        EXPECT_EQ(Stored("SnapShot", "Picture"), Case.Type);
        Form1->bsSkinButton22->ButtonClick();
        const std::string Path = Shots() + "/" + Case.File;
        EXPECT_EQ(Magic(Path).substr(0, Case.Magic.size()), Case.Magic);
        EXPECT_EQ(ProbedSize(Path), "64,48");
    }
}

TEST_F(JobSnapshot, AnUnknownStoredTypeBecomesBmp) {
    for (const char* Value : {"", "Error", "TIFF"}) {
        SCOPED_TRACE(Value);
        StartWith(Value);
        Form1->PNG1->SetChecked(true);
        Form1->bsSkinButton23->ButtonClick();
        EXPECT_TRUE(Form1->BMP1->Checked());
        EXPECT_EQ(Stored("SnapShot", "Picture"), "BMP");
        Stop();
        DestroyProgramFormsForRestart();
    }
}

TEST_F(JobSnapshot, WithoutOptionFileTheDefaultFolderIsMadeAndWritten) {
    StartWindow();
    Form1->T_Movie_PLayer_FileName = Inputs() + "/clip.mp4";
    std::filesystem::remove(OptionPath());
    Form1->bsSkinButton22->ButtonClick();
    const std::string Default = HomeFolder() + "/Ostrela视频软件/快照";
    EXPECT_EQ(Stored("SnapShot", "Dir"), Default);
    EXPECT_EQ(Stored("SnapShot", "Picture"), "BMP");
    EXPECT_TRUE(Form1->BMP1->Checked());
    EXPECT_EQ(Magic(Default + "/clip_1.bmp").substr(0, 2), "BM");
}

TEST_F(JobSnapshot, NoPictureOnDisplaySavesNothingButStillRepairsTheSettings) {
    StartWith("TIFF");
    TBitmap Empty;
    Player.Frame = &Empty;
    Form1->bsSkinButton22->ButtonClick();
    EXPECT_TRUE(std::filesystem::is_empty(Shots()));
    EXPECT_EQ(Stored("SnapShot", "Picture"), "BMP");
    Player.Frame = nullptr;
    Form1->bsSkinButton22->ButtonClick();
    EXPECT_TRUE(std::filesystem::is_empty(Shots()));
}

TEST_F(JobSnapshot, TheFolderCommandsOpenAndSetOnlyAConfirmedFolder) {
    StartWith("BMP");
    Form1->MenuItem1->Click();
    EXPECT_EQ(Actions.Calls, std::vector<std::string>{"Open " + Shots()});

    // The shared dialog last confirmed the output folder; a cancel keeps the
    // snapshot folder.
    Form1->bsSkinSelectDirectoryDialog2->Directory = Output();
    {
        TScriptNextModal Script([](TCustomForm& Shown) {
            auto* Dialog = dynamic_cast<TbsSelDirDlgForm*>(&Shown);
            ASSERT_NE(Dialog, nullptr);
            Dialog->CancelButton->ButtonClick();
        });
        Form1->MenuItem2->Click();
    }
    EXPECT_EQ(Stored("SnapShot", "Dir"), Shots());

    const std::string Chosen = Folder.Path() + "/新快照";
    std::filesystem::create_directories(Chosen);
    {
        TScriptNextModal Script([&](TCustomForm& Shown) {
            auto* Dialog = dynamic_cast<TbsSelDirDlgForm*>(&Shown);
            ASSERT_NE(Dialog, nullptr);
            Dialog->DirTreeView->SetPath(Chosen);
            Dialog->OkButton->ButtonClick();
        });
        Form1->MenuItem2->Click();
    }
    EXPECT_EQ(Stored("SnapShot", "Dir"), Chosen);
}

TEST_F(JobSnapshot, TheCaptureCommandSavesBmpByExtensionAndJpegOtherwise) {
    StartWith("BMP");
    std::string Answer;
    Form1->SnapshotDialogRunner = [&](std::string& FileName) {
        FileName = Answer;
        return !Answer.empty();
    };
    Answer = Shots() + "/a.BMP";
    Form1->btnCaptureClick(nullptr);
    EXPECT_EQ(Magic(Answer).substr(0, 2), "BM");
    Answer = Shots() + "/b.png";
    Form1->btnCaptureClick(nullptr);
    EXPECT_EQ(Magic(Answer).substr(0, 3), "\xFF\xD8\xFF");
    Answer.clear();
    Form1->btnCaptureClick(nullptr);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Shots()), {}), 2);
}

TEST_F(JobSnapshot, TheCaptureDialogIsSetUpForBitmapsAndJpegsAndItsNameIsUsed) {
    StartWith("BMP");
    TbsSkinSavePictureDialog* Dialog = Form1->SavePictureDialog1;
    ASSERT_NE(Dialog, nullptr);
    EXPECT_EQ(Dialog->Filter, "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
    EXPECT_TRUE(Dialog->OverwritePromt);
    EXPECT_FALSE(Dialog->CheckFileExists);
    Dialog->InitialDir = Shots();
    {
        TScriptNextModal Script([](TCustomForm& Shown) {
            auto* Form = dynamic_cast<TbsOpenDlgForm*>(&Shown);
            ASSERT_NE(Form, nullptr);
            Form->FileNameEdit->SetText("capture");
            Form->OpenButtonClick(nullptr);
        });
        Form1->btnCapture->Click();
    }
    // A name typed without extension takes the first filter's.
    EXPECT_EQ(Magic(Shots() + "/capture.bmp").substr(0, 2), "BM");
}

} // namespace
