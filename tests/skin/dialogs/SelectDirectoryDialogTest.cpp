// The select-folder dialog driven through its modal run: the start folder,
// the answers of OK and Cancel, the remembered size, the path edit and the
// new-folder button.
#include "platform/forms/Forms.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "tests/skin/dialogs/ShellViewsTestSupport.h"

#include <vector>

namespace {

class SelectDirectoryDialogTest : public TShellViewsTest {
protected:
    void SetUp() override {
        TShellViewsTest::SetUp();
        Dialog = std::make_unique<TbsSkinSelectDirectoryDialog>(nullptr);
    }
    void TearDown() override {
        Dialog.reset();
        TShellViewsTest::TearDown();
    }
    TbsSelDirDlgForm* F() const { return Dialog->Form(); }
    TbsSkinDirTreeView* Tree() const { return F()->DirTreeView; }
    // Runs the dialog with the steps, then a last step that ends it with
    // Result.
    bool Run(std::deque<std::function<void()>> Steps, TModalResult Result) {
        Steps.push_back([this, Result] { F()->SetModalResult(Result); });
        TIdleScript Script(std::move(Steps));
        return Dialog->Execute();
    }

    std::unique_ptr<TbsSkinSelectDirectoryDialog> Dialog;
};

TEST_F(SelectDirectoryDialogTest, WithoutAUsableDirectoryTheComputerIsSelected) {
    for (const std::string& Start : {std::string(), Dir.File("missing")}) {
        Dialog->Directory = Start;
        std::string Selected;
        bool Expanded = false;
        EXPECT_FALSE(Run({[&] {
                             Selected = Tree()->Path();
                             Expanded = Tree()->Selected()->Expanded();
                         }},
                         mrCancel));
        EXPECT_EQ(Selected, "Computer") << Start;
        EXPECT_TRUE(Expanded) << Start;
        EXPECT_EQ(Dialog->Directory, Start);
    }
}

TEST_F(SelectDirectoryDialogTest, OkAnswersTheSelectedFolderAndFiresBothEvents) {
    std::vector<std::string> Events;
    Dialog->OnShow = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Dialog.get());
        Events.push_back("show");
    };
    Dialog->OnClose = [&](TObject*) { Events.push_back("close"); };
    Dialog->SetTitle("Pick one");
    Dialog->Directory = Work;
    std::string Caption;
    EXPECT_TRUE(Run({[&] { Caption = F()->Caption(); }}, mrOk));
    EXPECT_EQ(Dialog->Directory, Work);
    EXPECT_EQ(Caption, "Pick one");
    EXPECT_EQ(Events, (std::vector<std::string>{"show", "close"}));
    EXPECT_EQ(Dialog->Form(), nullptr);

    // A virtual folder answers its parsing name; no selection answers "".
    EXPECT_TRUE(Run({[&] { Tree()->ExpandMyComputer(); }}, mrOk));
    EXPECT_EQ(Dialog->Directory, "Computer");
    EXPECT_TRUE(Run({[&] { Tree()->SetSelected(nullptr); }}, mrOk));
    EXPECT_EQ(Dialog->Directory, "");
}

TEST_F(SelectDirectoryDialogTest, CancelKeepsTheDirectoryAndOkButtonAndEnterAccept) {
    ForceDirectories(Work + "/other");
    Dialog->Directory = Work;
    EXPECT_FALSE(Run({[&] { Tree()->SetPath(Work + "/other"); }}, mrCancel));
    EXPECT_EQ(Dialog->Directory, Work);

    // Enter presses the default OK button; a click on Cancel cancels.
    {
        TIdleScript Script({[&] { Tree()->SetPath(Work + "/other"); },
                            [&] {
                                Tree()->SetFocus();
                                Headless.KeyDown(VK_RETURN, "\r");
                                Headless.KeyUp(VK_RETURN);
                            }});
        EXPECT_TRUE(Dialog->Execute());
    }
    EXPECT_EQ(Dialog->Directory, Work + "/other");
    {
        TIdleScript Script({[&] { Tree()->SetPath(Work); },
                            [&] {
                                const TPoint P = F()->CancelButton->ClientToScreen({5, 5});
                                Headless.Click(P.X, P.Y);
                            }});
        EXPECT_FALSE(Dialog->Execute());
    }
    EXPECT_EQ(Dialog->Directory, Work + "/other");
}

TEST_F(SelectDirectoryDialogTest, TheSizeStartsAt280AndIsRemembered) {
    int W = 0, H = 0;
    Run({[&] {
            W = F()->ClientWidth();
            H = F()->ClientHeight();
            F()->SetClientWidth(400);
            F()->SetClientHeight(350);
        }},
        mrCancel);
    EXPECT_EQ(W, 280);
    EXPECT_EQ(H, 280);
    EXPECT_EQ(Dialog->DialogWidth, 400);
    EXPECT_EQ(Dialog->DialogHeight, 350);
    Run({[&] {
            W = F()->ClientWidth();
            H = F()->ClientHeight();
        }},
        mrCancel);
    EXPECT_EQ(W, 400);
    EXPECT_EQ(H, 350);
}

TEST_F(SelectDirectoryDialogTest, AFrameSkinThatNeedsMoreWidthWidensTheDefaultSize) {
    testskin::TTestSkin Wide = testskin::StandardTestSkin();
    testskin::TKeys Keys = Wide.FormInfoKeys();
    for (std::string& Key : Keys)
        if (Key.starts_with("formminwidth="))
            Key = "formminwidth=320";
    Wide.SetFormInfo(Keys);
    TbsSkinData WideData(nullptr);
    LoadSkin(WideData, Wide);
    Dialog->SetSkinData(&WideData);
    int W = 0;
    Run({[&] { W = F()->ClientWidth(); }}, mrCancel);
    EXPECT_EQ(W, 320);
    Dialog->SetSkinData(nullptr);
}

TEST_F(SelectDirectoryDialogTest, WithoutToolBarThereIsNoEditAndNoNewFolderButton) {
    bool NoEdit = false, NoButton = false;
    int TreeBottom = 0, BottomTop = 0;
    Run({[&] {
            NoEdit = F()->DirEdit == nullptr;
            NoButton = F()->NewFolderToolButton == nullptr;
            TreeBottom = F()->DirTreeViewPanel->Top() + F()->DirTreeViewPanel->Height();
            BottomTop = F()->BottomPanel->Top();
        }},
        mrCancel);
    EXPECT_TRUE(NoEdit);
    EXPECT_TRUE(NoButton);
    EXPECT_EQ(TreeBottom, BottomTop);
}

TEST_F(SelectDirectoryDialogTest, ATypedPathAndEnterMoveTheTree) {
    ForceDirectories(Work + "/typed");
    Dialog->ShowToolBar = true;
    Dialog->Directory = Home;
    std::vector<std::string> Paths;
    bool Running = false;
    auto TypeAndEnter = [&](const std::string& Text) {
        F()->DirEdit->SetText(Text);
        F()->DirEdit->SetFocus();
        Headless.KeyDown(VK_RETURN, "\r");
        Headless.KeyUp(VK_RETURN);
    };
    EXPECT_FALSE(
        Run({[&] { TypeAndEnter(Work + "/typed"); },
             [&] {
                 Paths.push_back(Tree()->Path());
                 Running = F()->ModalResult() == mrNone;
             },
             [&] { TypeAndEnter(Dir.File("missing")); }, [&] { Paths.push_back(Tree()->Path()); },
             [&] { TypeAndEnter(""); }, [&] { Paths.push_back(Tree()->Path()); }},
            mrCancel));
    EXPECT_TRUE(Running);
    EXPECT_EQ(Paths, (std::vector<std::string>(3, Work + "/typed")));
}

TEST_F(SelectDirectoryDialogTest, NewFolderIsMadeOnceUnderTheSelectedFileSystemFolder) {
    Dialog->ShowToolBar = true;
    Dialog->Directory = Work;
    std::vector<std::string> Children;
    std::string Selected, EditText;
    Run({[&] { EditText = F()->DirEdit->Text(); }, [&] { F()->NewFolderToolButton->Click(); },
         [&] { F()->NewFolderToolButton->Click(); },
         [&] {
             TTreeNode* Node = Tree()->Selected();
             Selected = Tree()->Path();
             for (int I = 0; I < Node->Count(); ++I)
                 Children.push_back(Node->Item(I)->Text());
         },
         [&] { Tree()->ExpandMyComputer(); }, [&] { F()->NewFolderToolButton->Click(); }},
        mrCancel);
    EXPECT_EQ(EditText, Work);
    EXPECT_TRUE(DirectoryExists(Work + "/New Folder"));
    EXPECT_EQ(Children, (std::vector<std::string>{"New Folder"}));
    EXPECT_EQ(Selected, Work);
    EXPECT_FALSE(DirectoryExists("Computer/New Folder"));
}

TEST_F(SelectDirectoryDialogTest, TheControlSkinsWordTableNamesTheButtons) {
    std::string Ok, Cancel;
    TbsResourceStrData Words(nullptr);
    TStringList Lines;
    Lines.Add("MSG_BTN_OK=好");
    Words.SetResStrings(&Lines);
    Data->SetResourceStrData(&Words);
    Dialog->SetCtrlSkinData(Data.get());
    Dialog->SetSkinData(Data.get());
    Run({[&] {
            Ok = F()->OkButton->Caption();
            Cancel = F()->CancelButton->Caption();
        }},
        mrCancel);
    // A table that lacks a key gives the empty text.
    EXPECT_EQ(Ok, "好");
    EXPECT_EQ(Cancel, "");
    Data->SetResourceStrData(nullptr);
    Dialog->SetCtrlSkinData(nullptr);
    Run({[&] { Ok = F()->OkButton->Caption(); }}, mrCancel);
    EXPECT_EQ(Ok, "OK");
}

} // namespace
