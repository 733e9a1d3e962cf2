// The picture dialogs driven through their modal run: the pane's layout,
// the preview of each picture format at its own size and stretched, what
// clears it, a file that is no picture, the remembered pane width and
// stretch state, and the save dialog's names and overwrite question.
#include "platform/core/Exceptions.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/GraphicErrors.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Splitter.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/dialogs/bsSkinPictureDialogs.h"
#include "tests/skin/dialogs/ShellViewsTestSupport.h"

#include <vector>

namespace {

// 300 x 200: the left half red, the right half blue.
void WritePicture(const std::string& FileName) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(300, 200);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 150, 200));
    B.Canvas()->Brush()->SetColor(clBlue);
    B.Canvas()->FillRect(Rect(150, 0, 300, 200));
    std::unique_ptr<TGraphic> G = CreateGraphicForExtension(ExtractFileExt(FileName));
    G->Assign(&B);
    G->SaveToFile(FileName);
}

class PictureDialogTest : public TShellViewsTest {
protected:
    void SetUp() override {
        TShellViewsTest::SetUp();
        F0 = Work + "/p";
        ForceDirectories(F0 + "/sub");
        for (const char* Name : {"a.png", "b.jpg", "c.gif", "d.bmp"})
            WritePicture(F0 + "/" + Name);
        Touch(F0 + "/notes.txt", "text");
        Dialog = std::make_unique<TbsSkinOpenPictureDialog>(nullptr);
        Dialog->Filter = "All|*.*";
        Dialog->InitialDir = F0;
    }
    void TearDown() override {
        Application->OnException = nullptr;
        Dialog.reset();
        TShellViewsTest::TearDown();
    }
    TbsOpenPictureDlgForm* F() const { return Dialog->PictureForm(); }
    TbsSkinFileListView* List() const { return F()->FileListView; }
    bool Run(std::deque<std::function<void()>> Steps) {
        Steps.push_back([this] {
            if (F()->ModalResult() == mrNone)
                F()->SetModalResult(mrCancel);
        });
        TIdleScript Script(std::move(Steps));
        return Dialog->Execute();
    }
    int IndexOf(const std::string& Name) {
        for (int I = 0; I < List()->FolderCount(); ++I)
            if (List()->Folders(I)->DisplayName() == Name)
                return I;
        return -1;
    }
    void Select(const std::string& Name) { List()->SetItemIndex(IndexOf(Name)); }
    void Type(const std::string& Text) { F()->FileNameEdit->SetText(Text); }
    void Open() { F()->OpenButtonClick(nullptr); }
    void PressStretch() {
        F()->StretchButton->SetDown(!F()->StretchButton->Down());
        F()->StretchButtonClick(nullptr);
    }
    bool Near(std::uint32_t Pixel, TColor Colour) {
        return skinctl::ColourDistance(Pixel, skinctl::Rgb(Colour)) < 40;
    }

    std::string F0;
    std::unique_ptr<TbsSkinOpenPictureDialog> Dialog;
};

TEST_F(PictureDialogTest, ThePaneSitsAtTheRightAndTheBottomRowKeepsItsPlace) {
    struct TSeen {
        int ClientW, ClientH, PaneLeft, PaneW, SplitterLeft, SplitterW, EditLeft, OpenLeft,
            StretchLeft, StyleLeft;
    };
    std::vector<TSeen> Seen;
    auto Look = [&] {
        Seen.push_back({F()->ClientWidth(), F()->ClientHeight(), F()->ImagePanel->Left(),
                        F()->ImagePanel->Width(), F()->Splitter->Left(), F()->Splitter->Width(),
                        F()->FileNameEdit->Left(), F()->OpenButton->Left(),
                        F()->StretchButton->Left(), F()->StyleToolButton->Left()});
    };
    Run({Look, [&] { F()->SetClientWidth(800); }, Look});
    ASSERT_EQ(Seen.size(), 2u);
    for (const TSeen& S : Seen) {
        EXPECT_EQ(S.ClientH, 290);
        EXPECT_EQ(S.PaneW, 190);
        EXPECT_EQ(S.PaneLeft + S.PaneW, S.ClientW);
        EXPECT_EQ(S.SplitterW, 10);
        EXPECT_EQ(S.SplitterLeft + 10, S.PaneLeft);
        EXPECT_EQ(S.EditLeft, 70);
        EXPECT_EQ(S.OpenLeft, 370);
        EXPECT_GT(S.StretchLeft, S.StyleLeft);
    }
    EXPECT_EQ(Seen[0].ClientW, 550);
    EXPECT_EQ(Seen[1].ClientW, 800);
}

TEST_F(PictureDialogTest, EveryFormatShowsAtItsOwnSizeThenStretched) {
    for (const char* Name : {"a.png", "b.jpg", "c.gif", "d.bmp"}) {
        SCOPED_TRACE(Name);
        int W = 0, H = 0;
        bool Bars = false, BarsStretched = true;
        std::uint32_t TopLeft = 0, Middle = 0, MiddleStretched = 0;
        Run({[&] { Select(Name); },
             [&] {
                 W = F()->Image->Width();
                 H = F()->Image->Height();
                 Bars = F()->SBVScrollBar->Visible() && F()->SBHScrollBar->Visible();
                 TopLeft = PixelOf(F()->ScrollBox, 2, 2);
                 Middle = PixelOf(F()->ScrollBox, 120, 2);
                 PressStretch();
             },
             [&] {
                 BarsStretched = F()->SBVScrollBar->Visible() || F()->SBHScrollBar->Visible();
                 MiddleStretched = PixelOf(F()->ScrollBox, 120, 2);
                 PressStretch();
             }});
        EXPECT_EQ(W, 300);
        EXPECT_EQ(H, 200);
        EXPECT_TRUE(Bars);
        EXPECT_TRUE(Near(TopLeft, clRed)) << std::hex << TopLeft;
        // At its own size the picture is red up to x 150; scaled into the
        // pane (some 170 pixels wide) the blue half begins before x 120.
        EXPECT_TRUE(Near(Middle, clRed)) << std::hex << Middle;
        EXPECT_FALSE(BarsStretched);
        EXPECT_TRUE(Near(MiddleStretched, clBlue)) << std::hex << MiddleStretched;
    }
}

TEST_F(PictureDialogTest, AFolderOrNoSelectionEmptiesTheNameAndHidesThePreview) {
    // Stretched too: there the picture would otherwise fill the pane.
    for (bool Stretch : {false, true}) {
        SCOPED_TRACE(Stretch);
        Dialog->StretchPicture = Stretch;
        std::vector<std::string> Names;
        std::vector<bool> Shown;
        auto Look = [&] {
            Names.push_back(F()->FileNameEdit->Text());
            Shown.push_back(F()->Image->Width() > 0 && F()->Image->Height() > 0);
        };
        Run({[&] { Select("a.png"); }, Look, [&] { Select("sub"); }, Look, [&] { Select("a.png"); },
             [&] { List()->SetItemIndex(-1); }, Look, [&] { Select("b.jpg"); }, Look});
        EXPECT_EQ(Names, (std::vector<std::string>{"a.png", "", "", "b.jpg"}));
        EXPECT_EQ(Shown, (std::vector<bool>{true, false, false, true}));
    }
}

TEST_F(PictureDialogTest, AFileThatIsNoPictureReachesTheApplicationAndKeepsTheDialogOpen) {
    std::string Error;
    Application->OnException = [&](TObject*, const std::exception& E) { Error = E.what(); };
    int W = 0;
    bool Open = false;
    Run({[&] { Select("a.png"); }, [&] { Select("notes.txt"); },
         [&] {
             W = F()->Image->Picture()->Width();
             Open = F()->ModalResult() == mrNone;
         }});
    EXPECT_EQ(Error, "Unknown picture file extension (.txt)");
    EXPECT_EQ(W, 300);
    EXPECT_TRUE(Open);
}

TEST_F(PictureDialogTest, PaneWidthAndStretchAreKeptAfterCancel) {
    Run({[&] {
             F()->Show();
             const TPoint P = F()->Splitter->ClientToScreen({5, 50});
             Headless.MovePointer(P.X, P.Y);
             Headless.Press();
             Headless.MovePointer(P.X - 60, P.Y);
             Headless.Release();
             PressStretch();
         },
         [] {}});
    EXPECT_EQ(Dialog->PaneWidth(), 250);
    EXPECT_TRUE(Dialog->Stretched());
    int Pane = 0;
    bool Down = false, Fills = false;
    Run({[&] {
             Pane = F()->ImagePanel->Width();
             Down = F()->StretchButton->Down();
             Select("a.png");
         },
         [&] {
             Fills = F()->Image->Stretch() &&
                     F()->Image->Width() == F()->ScrollBox->ClientWidth() &&
                     F()->Image->Height() == F()->ScrollBox->ClientHeight();
         }});
    EXPECT_EQ(Pane, 250);
    EXPECT_TRUE(Down);
    EXPECT_TRUE(Fills);

    // Left up, but the property forces a stretched start.
    Run({[&] { PressStretch(); }});
    EXPECT_FALSE(Dialog->Stretched());
    Dialog->StretchPicture = true;
    Run({[&] { Down = F()->StretchButton->Down(); }});
    EXPECT_TRUE(Down);
}

TEST_F(PictureDialogTest, AFileNameGivenAtTheStartIsPreviewedAndOneThatIsNoPictureRaises) {
    Dialog->SetFileName(F0 + "/a.png");
    int W = 0;
    Run({[&] { W = F()->Image->Width(); }});
    EXPECT_EQ(W, 300);

    int Closes = 0;
    Dialog->OnClose = [&](TObject*) { ++Closes; };
    Dialog->SetFileName(F0 + "/notes.txt");
    EXPECT_THROW(Dialog->Execute(), EInvalidGraphic);
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Dialog->Form(), nullptr);
}

class SavePictureDialogTest : public PictureDialogTest {
protected:
    void SetUp() override {
        PictureDialogTest::SetUp();
        Dialog = std::make_unique<TbsSkinSavePictureDialog>(nullptr);
        Dialog->InitialDir = F0;
        Dialog->CheckFileExists = false;
        Dialog->Filter = "BMP|*.bmp|JPEG|*.jpg|All|*.*";
    }
    // The message box asking the question, once it is the active form.
    TCustomForm* Question() {
        TCustomForm* Active = Screen->ActiveForm();
        return Active && Active != F() ? Active : nullptr;
    }
};

TEST_F(SavePictureDialogTest, ATypedNameTakesTheFilterExtension) {
    EXPECT_EQ(Dialog->Title(), "Save file");
    struct TCase {
        int FilterIndex;
        const char* Typed;
        const char* Returned;
    } Cases[] = {{1, "photo", "photo.bmp"},
                 {2, "photo", "photo.jpg"},
                 {3, "photo", "photo"},
                 {1, "photo.png", "photo.png"}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Typed + std::string(" ") + std::to_string(C.FilterIndex));
        Dialog->FilterIndex = C.FilterIndex;
        EXPECT_TRUE(Run({[&] {
            Type(C.Typed);
            Open();
        }}));
        EXPECT_EQ(Dialog->FileName(), F0 + "/" + C.Returned);
    }
}

TEST_F(SavePictureDialogTest, TheOverwriteQuestionGuardsTheFileThatIsReturned) {
    Dialog->OverwritePromt = true;
    WritePicture(F0 + "/photo.bmp");
    // Cancel in the question keeps the dialog open; OK returns the file.
    bool Asked = false, StillOpen = false;
    EXPECT_TRUE(Run({[&] {
                         Type("photo");
                         Open();
                     },
                     [&] {
                         if (TCustomForm* Q = Question()) {
                             Asked = true;
                             Q->SetModalResult(mrCancel);
                         }
                     },
                     [&] {
                         StillOpen = F()->ModalResult() == mrNone;
                         Open();
                     },
                     [&] {
                         if (TCustomForm* Q = Question())
                             Q->SetModalResult(mrOk);
                     }}));
    EXPECT_TRUE(Asked);
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(Dialog->FileName(), F0 + "/photo.bmp");
    // A name that exists only with another extension asks nothing.
    Asked = false;
    Dialog->FilterIndex = 2;
    EXPECT_TRUE(Run({[&] {
        Type("photo");
        Open();
        Asked = Question() != nullptr;
    }}));
    EXPECT_FALSE(Asked);
    EXPECT_EQ(Dialog->FileName(), F0 + "/photo.jpg");
}

} // namespace
