// The skin chooser over a stored list of eleven generator skins, each with
// its own "button" colour: the start row, the live preview, OK, Cancel and
// double click, sizes, texts, component mode and its error.
#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/dialogs/bsSelectSkinDialog.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsSkinData.Stored.h"
#include "tests/skin/dialogs/SkinDialogsTestSupport.h"

using namespace skindlg;

namespace {

class SelectSkinDialogTest : public TSkinDialogsTest {
protected:
    void SetUp() override {
        TSkinDialogsTest::SetUp();
        std::vector<testskin::TTestSkin> Skins;
        for (int N = 0; N <= 10; ++N)
            Skins.push_back(testskin::Variant(N));
        List.reset(testskin::MakeStoredSkinList(nullptr, Skins));
        Dialog = std::make_unique<TbsSelectSkinDialog>(Main);
        Dialog->SetSkinList(List.get());
    }
    void TearDown() override {
        Dialog.reset();
        List.reset();
        TSkinDialogsTest::TearDown();
    }

    static TbsSelectSkinDlgForm* Form() {
        return dynamic_cast<TbsSelectSkinDlgForm*>(TModalScript::ModalForm());
    }
    // The colour of skin N's normal button face.
    static std::uint32_t ButtonColour(int N) {
        return testskin::Variant(N).Picture("controls.bmp").ColourOf("button.normal");
    }
    std::uint32_t PreviewButtonPixel() {
        TbsSkinButton* B = Form()->PreviewButton;
        return PixelOf(B, B->Width() / 2, B->Height() / 2);
    }
    void ClickRow(int Row, bool Double = false) {
        TbsListBox* Inner = Form()->SkinsListBox->ListBox;
        TRect R = Inner->ItemRect(Row);
        TPoint P = Inner->ClientToScreen({R.Left + 5, (R.Top + R.Bottom) / 2});
        if (Double)
            Headless.DoubleClick(P.X, P.Y);
        else
            Headless.Click(P.X, P.Y);
        Pump();
    }

    std::unique_ptr<TbsCompressedSkinList> List;
    std::unique_ptr<TbsSelectSkinDialog> Dialog;
};

TEST_F(SelectSkinDialogTest, OkAtOnceAnswersTheStartRowWithItsSkinInThePreview) {
    int Row = -1;
    std::uint32_t Preview = 0;
    TModalScript Script({[&] {
        Row = Form()->SkinsListBox->ItemIndex();
        Preview = PreviewButtonPixel();
        Press(VK_RETURN, "\r");
    }});
    EXPECT_TRUE(Dialog->Execute(2));
    EXPECT_EQ(Row, 2);
    EXPECT_EQ(Preview, ButtonColour(2));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 2);
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 1);
}

// The preview has a skin model of its own: choosing a row re-skins the
// preview and nothing else, and Cancel answers nothing.
TEST_F(SelectSkinDialogTest, AClickedRowReskinsOnlyThePreviewAndCancelAnswersNothing) {
    auto* MainFrame = new TbsSkinForm(Main);
    MainFrame->SetSkinData(Data.get());
    Pump();
    auto FramePixel = [&] {
        Pump();
        FlushPresents();
        return Headless.ScreenPixel(Main->Left() + 30, Main->Top() + 5);
    };
    std::uint32_t FrameBefore = 0, FrameAfter = 0, Preview = 0;
    TModalScript Script({[&] {
        FrameBefore = FramePixel();
        ClickRow(5);
        Preview = PreviewButtonPixel();
        FrameAfter = FramePixel();
        ClickAt(Form()->CancelButton, 10, 10);
    }});
    EXPECT_FALSE(Dialog->Execute(0));
    EXPECT_EQ(Preview, ButtonColour(5));
    EXPECT_EQ(FrameAfter, FrameBefore);
    EXPECT_EQ(Dialog->SelectedSkinIndex(), -1);
}

TEST_F(SelectSkinDialogTest, ADoubleClickedRowClosesAsOk) {
    TModalScript Script({[&] { ClickRow(7, true); }});
    EXPECT_TRUE(Dialog->Execute(0));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 7);
}

TEST_F(SelectSkinDialogTest, TheClientSizeIsFixedUnlessTheFrameSkinAsksForMore) {
    testskin::TTestSkin Wide = testskin::StandardTestSkin();
    testskin::TKeys Keys = Wide.FormInfoKeys();
    for (std::string& Key : Keys)
        if (Key.starts_with("formminwidth="))
            Key = "formminwidth=500";
    Wide.SetFormInfo(Keys);
    TbsSkinData WideData(nullptr);
    LoadSkin(WideData, Wide);
    struct TCase {
        TbsSkinData* Frame;
        int W, H;
    } Cases[] = {{nullptr, 420, 240}, {&WideData, 500, 240}};
    for (const TCase& C : Cases) {
        Dialog->SetSkinData(C.Frame);
        TRect Client;
        TModalScript Script({[&] {
            Client = Form()->ClientRect();
            Form()->SetModalResult(2);
        }});
        Dialog->Execute(0);
        EXPECT_EQ(Client.Width(), C.W);
        EXPECT_GE(Client.Height(), C.H);
        if (!C.Frame) {
            EXPECT_EQ(Client.Height(), C.H);
        }
    }
    Dialog->SetSkinData(nullptr);
}

TEST_F(SelectSkinDialogTest, RowsShowTheDescriptionElseTheName) {
    List->Skins()->Items(3)->SetDescription("");
    std::string Row3, Row4;
    TModalScript Script({[&] {
        Row3 = Form()->SkinsListBox->Items()->Strings(3);
        Row4 = Form()->SkinsListBox->Items()->Strings(4);
        Form()->SetModalResult(2);
    }});
    Dialog->Execute(0);
    EXPECT_EQ(Row3, "bsSkin3");
    EXPECT_EQ(Row4, "Standard test skin 4");
}

TEST_F(SelectSkinDialogTest, WithoutASkinListNothingIsShown) {
    Dialog->SetSkinList(nullptr);
    EXPECT_FALSE(Dialog->Execute(0));
    EXPECT_EQ(Screen->FormCount(), 1);
    // The list's removal clears the link too.
    Dialog->SetSkinList(List.get());
    List.reset();
    EXPECT_EQ(Dialog->SkinList(), nullptr);
}

TEST_F(SelectSkinDialogTest, ComponentModeOffersTheOwnersStoredSkins) {
    std::vector<TbsCompressedStoredSkin*> Stored;
    for (int N : {1, 4, 9}) {
        auto* S = new TbsCompressedStoredSkin(Main);
        S->SetName("Stored" + std::to_string(N));
        TStringStream Frame(testskin::Variant(N).Frame());
        S->LoadFromCompressStream(Frame);
        Stored.push_back(S);
    }
    Stored[0]->SetDescription("First");
    int Row = -1;
    std::string Row0, Row1;
    std::uint32_t Preview = 0;
    TModalScript Script({[&] {
        Row = Form()->SkinsListBox->ItemIndex();
        Row0 = Form()->SkinsListBox->Items()->Strings(0);
        Row1 = Form()->SkinsListBox->Items()->Strings(1);
        Preview = PreviewButtonPixel();
        Form()->SetModalResult(1);
    }});
    EXPECT_TRUE(Dialog->Execute(Stored[1]));
    EXPECT_EQ(Row, 1);
    EXPECT_EQ(Row0, "First");
    EXPECT_EQ(Row1, "Stored4");
    EXPECT_EQ(Preview, ButtonColour(4));
    EXPECT_EQ(Dialog->SelectedSkin(), Stored[1]);
}

TEST_F(SelectSkinDialogTest, ComponentModeWithoutStoredSkinsRaisesAndLeavesNothing) {
    TbsSelectSkinDialog Lonely(nullptr);
    EXPECT_THROW(Lonely.Execute(static_cast<TbsCompressedStoredSkin*>(nullptr)), EListError);
    EXPECT_EQ(Lonely.DlgFrm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 1);
}

TEST_F(SelectSkinDialogTest, WordsComeFromTheControlSkinsWordTable) {
    TbsSkinData Words(nullptr);
    Words.SetResourceStrData(WordTable({"MSG_PREVIEWSKIN=预览", "MSG_BTN_OK=确定"}));
    Dialog->SetCtrlSkinData(&Words);
    std::string Preview, Ok, Cancel, Sample;
    TModalScript Script({[&] {
        Preview = Form()->PreviewForm->Caption();
        Ok = Form()->OpenButton->Caption();
        Cancel = Form()->CancelButton->Caption();
        Sample = Form()->PreviewButton->Caption();
        Form()->SetModalResult(2);
    }});
    Dialog->Execute(0);
    Dialog->SetCtrlSkinData(nullptr);
    EXPECT_EQ(Preview, "预览");
    EXPECT_EQ(Ok, "确定");
    EXPECT_EQ(Cancel, "");
    EXPECT_EQ(Sample, "");
}

TEST_F(SelectSkinDialogTest, ThePreviewTakesNoInput) {
    int Clicks = 0;
    bool StillOpen = false;
    TModalScript Script({[&] {
                             Pump();
                             Form()->PreviewButton->OnClick = [&](TObject*) { ++Clicks; };
                             ClickAt(Form()->PreviewButton, 10, 10);
                         },
                         [&] {
                             StillOpen = Form() != nullptr;
                             Form()->SetModalResult(2);
                         }});
    Dialog->Execute(0);
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(Clicks, 0);
}

} // namespace
