// The skinned message box: texts, layout, default and cancel buttons, the
// show-again box, positions, pictures, help, and the form's end in every case.
#include "platform/core/Exceptions.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/forms/SkinForm.h"
#include "tests/skin/dialogs/SkinDialogsTestSupport.h"

#include <functional>

using namespace skindlg;

namespace {

const std::string Notice = "请先选择您需要删除的项目！";

// What a test reads of the dialog while it runs.
struct TSeen {
    std::string Caption;
    TRect Client;
    TRect Bounds;
    TRect Label;
    std::string LabelText;
    struct TButtonSeen {
        std::string Name, Caption;
        TRect Bounds;
        int Result;
        bool Default, Cancel;
    };
    std::vector<TButtonSeen> Buttons;
    bool HasCheckBox = false;
    bool Checked = false;
    TRect CheckBox;
    bool HasImage = false;
    TRect Image;
    bool ImageEmpty = true;
};

TSeen Read(TbsMessageForm* Form) {
    TSeen S;
    S.Caption = Form->Caption();
    S.Client = Form->ClientRect();
    S.Bounds = Form->BoundsRect();
    S.Label = Form->Message->BoundsRect();
    S.LabelText = Form->Message->Caption();
    for (int I = 0; I < Form->ComponentCount(); ++I) {
        TComponent* C = Form->Components(I);
        if (auto* B = dynamic_cast<TbsSkinButton*>(C))
            S.Buttons.push_back({B->Name(), B->Caption(), B->BoundsRect(), B->ModalResult(),
                                 B->Default(), B->Cancel()});
        if (auto* Image = dynamic_cast<TImage*>(C); Image && Image->Name() == "Image") {
            S.HasImage = true;
            S.Image = Image->BoundsRect();
            S.ImageEmpty =
                Image->Picture()->Graphic() == nullptr || Image->Picture()->Graphic()->Empty();
        }
    }
    if (Form->DisplayCheckBox) {
        S.HasCheckBox = true;
        S.Checked = Form->DisplayCheckBox->Checked();
        S.CheckBox = Form->DisplayCheckBox->BoundsRect();
    }
    return S;
}

class SkinMessageTest : public TSkinDialogsTest {
protected:
    void SetUp() override {
        TSkinDialogsTest::SetUp();
        Box = std::make_unique<TbsSkinMessage>(nullptr);
    }
    void TearDown() override {
        Box.reset();
        TSkinDialogsTest::TearDown();
    }

    static TbsMessageForm* Form() {
        return dynamic_cast<TbsMessageForm*>(TModalScript::ModalForm());
    }
    // Reads the dialog, then ends it with End (by default: modal result 2).
    std::function<void()> ReadThen(TSeen& Seen, std::function<void()> End = {}) {
        return [this, &Seen, End] {
            Pump();
            Seen = Read(Form());
            if (End)
                End();
            else
                Form()->SetModalResult(2);
        };
    }
    // The button of the running dialog named Name.
    static TbsSkinButton* Button(const std::string& Name) {
        return Part<TbsSkinButton>(Form(), Name);
    }

    std::unique_ptr<TbsSkinMessage> Box;
};

TEST_F(SkinMessageTest, TheNoticeHasOneOkButtonThatEnterAndEscBothAnswer) {
    for (WORD Key : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
        TSeen Seen;
        std::vector<std::uint32_t> Shown;
        TModalScript Script({[&] {
            Pump();
            Seen = Read(Form());
            if (Key == VK_RETURN) {
                auto* Image = Part<TImage>(Form(), "Image");
                PixelOf(Image, 0, 0);
                for (int Y = 0; Y < 32; ++Y)
                    for (int X = 0; X < 32; ++X)
                        Shown.push_back(ScreenAt(Image, X, Y));
            }
            Press(Key, Key == VK_RETURN ? "\r" : "");
        }});
        EXPECT_EQ(Box->MessageDlg2(Notice, "提示", mtInformation, {mbOK}, 0), 1);
        EXPECT_EQ(Seen.Caption, "提示");
        ASSERT_EQ(Seen.Buttons.size(), 1u);
        EXPECT_EQ(Seen.Buttons[0].Caption, "OK");
        EXPECT_EQ(Seen.Buttons[0].Result, 1);
        EXPECT_TRUE(Seen.Buttons[0].Default && Seen.Buttons[0].Cancel);
        EXPECT_EQ(Seen.LabelText, Notice);
        // The stock information icon, drawn on the plain form's face.
        EXPECT_EQ(Seen.Image.TopLeft(), TPoint(5, std::max(10, 15 + Seen.Label.Height() / 2 - 16)));
        if (Key == VK_RETURN) {
            TBitmap Expected;
            Expected.SetSize(32, 32);
            Expected.Canvas()->Brush()->SetColor(clBtnFace);
            Expected.Canvas()->FillRect(Rect(0, 0, 32, 32));
            DrawIconEx(Expected.Canvas()->Handle(), 0, 0, LoadIcon(nullptr, IDI_ASTERISK), 32, 32,
                       0, nullptr, DI_NORMAL);
            std::vector<std::uint32_t> Want;
            for (int Y = 0; Y < 32; ++Y)
                for (int X = 0; X < 32; ++X)
                    Want.push_back(skinctl::Rgb(Expected.Canvas()->Pixels(X, Y)));
            EXPECT_EQ(Shown, Want);
        }
    }
    EXPECT_EQ(Screen->FormCount(), 1) << "the dialog is freed";
}

// The button height comes from the control skin's button element when it is
// one, else 25; the layout follows it.
TEST_F(SkinMessageTest, TheLayoutFollowsTheLabelAndTheButtonHeight) {
    const int SkinnedH = Data->CtrlList[Data->GetControlIndex("button")]->SkinRect.Height();
    // A control skin whose "button" element is 30 pixels high.
    testskin::TTestSkin TallSkin;
    TallSkin.SetVersion({"skinname=Tall buttons"});
    testskin::TTestPicture& P = TallSkin.AddPicture("tall.bmp", 48, 32, 24);
    P.AddRegion("button", {0, 0, 40, 30});
    TallSkin.SetFormInfo({"clientrect=0,0,48,32"});
    TallSkin.AddControl("button", "button", testskin::NinePartKeys(P, 0, "button", 3));
    TbsSkinData Tall(nullptr);
    LoadSkin(Tall, TallSkin);
    struct TCase {
        const char* Name;
        TbsSkinData* Ctrl;
        std::string ButtonElement;
        int H;
    } Cases[] = {
        {"plain", nullptr, "button", 25},
        {"skinned", Data.get(), "button", SkinnedH},
        {"button element 30 high", &Tall, "button", 30},
        {"not a button element", Data.get(), "checkbox", 25},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Box->SetCtrlSkinData(C.Ctrl);
        Box->SetButtonSkinDataName(C.ButtonElement);
        TSeen Seen;
        TModalScript Script({ReadThen(Seen)});
        EXPECT_EQ(
            Box->MessageDlg("Convert the selected files now?", mtConfirmation, {mbOK, mbCancel}, 0),
            2);
        EXPECT_EQ(Seen.Label.TopLeft(), TPoint(50, 15));
        const int W = std::max(150, Seen.Label.Right) + 40;
        EXPECT_EQ(Seen.Client.Width(), W);
        EXPECT_EQ(Seen.Client.Height(), C.H + Seen.Label.Height() + 50);
        ASSERT_EQ(Seen.Buttons.size(), 2u);
        EXPECT_EQ(Seen.Buttons[0].Name, "OK");
        EXPECT_EQ(Seen.Buttons[0].Bounds,
                  Bounds((W - 150) / 2, Seen.Client.Height() - C.H - 10, 70, C.H));
        EXPECT_EQ(Seen.Buttons[1].Bounds.Left, (W - 150) / 2 + 80);
    }
    Box->SetCtrlSkinData(nullptr);
}

TEST_F(SkinMessageTest, DefaultAndCancelButtonsFollowTheButtonSet) {
    // Each key answers with the button it stands for; 99: it did nothing.
    struct TCase {
        TMsgDlgButtons Buttons;
        const char* Default;
        const char* Cancel;
        int Enter, Esc;
    } Cases[] = {
        {{mbYes, mbNo}, "Yes", "No", 6, 7},
        {{mbAbort, mbIgnore}, "", "", 99, 99},
        {{mbOK, mbCancel}, "OK", "Cancel", 1, 2},
    };
    for (const TCase& C : Cases) {
        for (WORD Key : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
            TSeen Seen;
            TModalScript Script({ReadThen(Seen, [&] {
                // The form itself holds the focus: a focused button would
                // take Enter as its own click.
                ::SetFocus(Form()->Handle());
                Press(Key, Key == VK_RETURN ? "\r" : "");
                Pump();
                if (Form()->ModalResult() == 0)
                    Form()->SetModalResult(99);
            })});
            int Result = Box->MessageDlg("?", mtConfirmation, C.Buttons, 0);
            std::string Default, Cancel;
            for (auto& B : Seen.Buttons) {
                if (B.Default)
                    Default += B.Name;
                if (B.Cancel)
                    Cancel += B.Name;
            }
            EXPECT_EQ(Default, C.Default);
            EXPECT_EQ(Cancel, C.Cancel);
            EXPECT_EQ(Result, Key == VK_RETURN ? C.Enter : C.Esc) << C.Default << " " << Key;
        }
    }
    TSeen Seen;
    TModalScript Script({ReadThen(Seen)});
    Box->MessageDlg("No buttons at all", mtWarning, {}, 0);
    EXPECT_TRUE(Seen.Buttons.empty());
    EXPECT_EQ(Seen.Client.Width(), Seen.Label.Right + 40);
}

TEST_F(SkinMessageTest, TheShowAgainBoxStartsTickedAndItsStateComesBack) {
    Box->SetShowAgainFlag(true);
    for (bool Untick : {false, true}) {
        Box->SetShowAgainFlagValue(false);
        TSeen Seen;
        TModalScript Script({ReadThen(Seen, [&] {
            if (Untick)
                Form()->DisplayCheckBox->SetChecked(false);
            Form()->SetModalResult(1);
        })});
        Box->MessageDlg("Hi", mtInformation, {mbOK}, 0);
        EXPECT_TRUE(Seen.HasCheckBox && Seen.Checked);
        EXPECT_EQ(Box->ShowAgainFlagValue(), Untick);
        // A short message: the box's text decides the width.
        const int Wbox = Seen.CheckBox.Width() - 55;
        EXPECT_EQ(Seen.CheckBox, Bounds(5, Seen.Client.Height() - 25 - 50, Wbox + 55, 30));
        EXPECT_EQ(Seen.Client.Width(), Wbox + 60);
        EXPECT_EQ(Seen.Client.Height(), 25 + Seen.Label.Height() + 50 + 40);
    }
}

TEST_F(SkinMessageTest, PositionsCentreOrPlaceAndTheOwnerMayMoveThem) {
    TSeen Centred, Placed, Moved;
    {
        TModalScript Script({ReadThen(Centred)});
        Box->MessageDlgPos("Centred", mtWarning, {mbOK}, 0, -10001, -10001);
    }
    {
        TModalScript Script({ReadThen(Placed)});
        Box->MessageDlgPos("Placed", mtWarning, {mbOK}, 0, -10000, 40);
    }
    Box->OnSetShowPos = [](int& AX, int& AY, int, int) {
        AX += 20;
        AY += 30;
    };
    {
        TModalScript Script({ReadThen(Moved)});
        Box->MessageDlgPos("Moved", mtWarning, {mbOK}, 0, 100, 120);
    }
    TRect Work = Screen->WorkAreaRect();
    const int CentreX = Centred.Bounds.Left + Centred.Bounds.Width() / 2;
    EXPECT_NEAR(CentreX, Work.Left + Work.Width() / 2, 1);
    EXPECT_EQ(Placed.Bounds.Left, -10000);
    EXPECT_EQ(Moved.Bounds.TopLeft(), TPoint(120, 150));
}

TEST_F(SkinMessageTest, WordsComeFromTheWordTableAndMissingKeysGiveEmptyCaptions) {
    auto* Words = std::make_unique<TbsSkinData>(nullptr).release();
    std::unique_ptr<TbsSkinData> Owned(Words);
    Words->SetResourceStrData(
        WordTable({"MSG_BTN_CANCEL=取消", "MSG_CAP_WARNING=警告", "MSG_BTN_CLOSE=关闭"}));
    Box->SetCtrlSkinData(Words);
    Box->SetShowAgainFlag(true);
    TSeen Seen;
    TModalScript Script({ReadThen(Seen, [&] {
        Seen.LabelText = Form()->DisplayCheckBox->Caption();
        Form()->SetModalResult(2);
    })});
    Box->MessageDlg("Words", mtWarning, {mbOK, mbCancel, mbClose}, 0);
    EXPECT_EQ(Seen.Caption, "警告");
    ASSERT_EQ(Seen.Buttons.size(), 3u);
    EXPECT_EQ(Seen.Buttons[0].Caption, "");
    EXPECT_EQ(Seen.Buttons[1].Caption, "取消");
    EXPECT_EQ(Seen.Buttons[2].Caption, "Close");
    EXPECT_EQ(Seen.Buttons[2].Result, 11);
    EXPECT_EQ(Seen.LabelText, "Do not display this message again");
}

TEST_F(SkinMessageTest, PicturesByTypeOrFromTheImageList) {
    Application->SetTitle("Ostrela");
    TSeen Custom;
    {
        TModalScript Script({ReadThen(Custom)});
        Box->MessageDlg("Custom", mtCustom, {mbOK}, 0);
    }
    EXPECT_EQ(Custom.Caption, "Ostrela");
    EXPECT_TRUE(Custom.HasImage);
    EXPECT_TRUE(Custom.ImageEmpty);
    EXPECT_EQ(Custom.Image.Width(), 32);

    TCustomImageList Images(nullptr);
    Images.SetWidth(24);
    Images.SetHeight(20);
    TBitmap Face;
    Face.SetSize(24, 20);
    for (int I = 0; I < 3; ++I)
        Images.Add(&Face, nullptr);
    TSeen Outside, Inside;
    {
        TModalScript Script({ReadThen(Outside)});
        Box->CustomMessageDlg("Outside", "Pic", &Images, 5, {mbOK}, 0);
    }
    EXPECT_FALSE(Outside.HasImage);
    EXPECT_EQ(Outside.Label.Left, 50);
    {
        TModalScript Script({ReadThen(Inside)});
        Box->CustomMessageDlg("Inside", "Pic", &Images, 2, {mbOK}, 0);
    }
    EXPECT_TRUE(Inside.HasImage);
    EXPECT_EQ(Inside.Image, Bounds(5, 15 + Inside.Label.Height() / 2 - 16, 24, 20));
}

TEST_F(SkinMessageTest, TheHelpButtonAsksForHelpAndClosesNothing) {
    bool StillOpen = false;
    TModalScript Script({[&] {
                             Pump();
                             TbsSkinButton* Help = Button("Help");
                             ASSERT_NE(Help, nullptr);
                             EXPECT_EQ(Help->ModalResult(), 0);
                             ClickAt(Help, 10, 10);
                         },
                         [&] {
                             StillOpen = Form() != nullptr;
                             Form()->SetModalResult(1);
                         }});
    Box->MessageDlgHelp("Help?", mtConfirmation, {mbOK, mbHelp}, 7, "help2.chm");
    EXPECT_TRUE(StillOpen);
    ASSERT_FALSE(Headless.Opened().empty());
    EXPECT_NE(Headless.Opened().back().find("help2.chm"), std::string::npos);
}

TEST_F(SkinMessageTest, TheWideCallShowsNoCheckBox) {
    Box->SetShowAgainFlag(true);
    Box->SetShowAgainFlagValue(true);
    TSeen Seen;
    TModalScript Script({ReadThen(Seen)});
    Box->WideMessageDlg(u"视频转换完成", mtInformation, {mbOK}, 0);
    EXPECT_FALSE(Seen.HasCheckBox);
    EXPECT_TRUE(Box->ShowAgainFlagValue());
    EXPECT_EQ(Seen.LabelText, "视频转换完成");
}

TEST_F(SkinMessageTest, ALongMessageStopsAtTheMaximumWidth) {
    Headless.SetScreens({{Rect(0, 0, 600, 480), Rect(0, 0, 600, 480), true}});
    TSeen Seen;
    TModalScript Script({ReadThen(Seen)});
    Box->MessageDlg(std::string(300, 'W'), mtInformation, {mbOK}, 0);
    EXPECT_EQ(Seen.Bounds.Width(), 600);
}

TEST_F(SkinMessageTest, AnExceptionOutOfTheRunStillFreesTheFormAndReadsTheBox) {
    Box->SetShowAgainFlag(true);
    Box->SetShowAgainFlagValue(false);
    TModalScript Script({[&] {
        Form()->DisplayCheckBox->SetChecked(false);
        Form()->OnCloseQuery = [](TObject*, bool&) { throw Exception("closing failed"); };
        Form()->SetModalResult(1);
    }});
    EXPECT_THROW(Box->MessageDlg("Boom", mtError, {mbOK}, 0), Exception);
    EXPECT_TRUE(Box->ShowAgainFlagValue());
    EXPECT_EQ(Screen->FormCount(), 1);
}

} // namespace
