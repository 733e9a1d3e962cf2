// The open and save dialog driven through its modal run: what a cancelled
// run keeps, the start folder, the accept rules of open and save mode,
// paths typed into the name box, the history, new folders, the overwrite
// question and a start folder that cannot be shown.
#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/dialogs/bsSkinOpenDlg.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "tests/skin/dialogs/ShellViewsTestSupport.h"

#include <vector>

namespace {

class OpenDialogTest : public TShellViewsTest {
protected:
    void SetUp() override {
        TShellViewsTest::SetUp();
        F0 = Work + "/f";
        ForceDirectories(F0 + "/sub");
        Touch(F0 + "/clip.avi", "a");
        Touch(F0 + "/clip", "b");
        Touch(F0 + "/two.avi", "c");
        Touch(F0 + "/notes.txt", "d");
        Dialog = std::make_unique<TbsSkinOpenDialog>(nullptr);
        Dialog->Filter = "Videos|*.avi|All|*.*";
        Dialog->InitialDir = F0;
    }
    void TearDown() override {
        Dialog.reset();
        TShellViewsTest::TearDown();
    }
    TbsOpenDlgForm* F() const { return Dialog->Form(); }
    TbsSkinFileListView* List() const { return F()->FileListView; }
    // Runs the dialog with the steps, then ends a run still open with Cancel.
    bool Run(std::deque<std::function<void()>> Steps) {
        Steps.push_back([this] {
            if (F()->ModalResult() == mrNone)
                F()->SetModalResult(mrCancel);
        });
        TIdleScript Script(std::move(Steps));
        return Dialog->Execute();
    }
    void Type(const std::string& Text) { F()->FileNameEdit->SetText(Text); }
    void Open() { F()->OpenButtonClick(nullptr); }
    void Enter() {
        unsigned Key = VK_RETURN;
        F()->EditKeyPress(nullptr, Key);
    }
    int IndexOf(const std::string& Name) {
        for (int I = 0; I < List()->FolderCount(); ++I)
            if (List()->Folders(I)->DisplayName() == Name)
                return I;
        return -1;
    }

    std::string F0;
    std::unique_ptr<TbsSkinOpenDialog> Dialog;
};

TEST_F(OpenDialogTest, CancelKeepsTheFileButRemembersFilterSizeAndView) {
    Dialog->SetFileName(F0 + "/clip.avi");
    EXPECT_FALSE(Run({[&] {
        F()->FilterComboBox->SetItemIndex(1);
        F()->SetViewStyle(vsReport);
        F()->SetClientWidth(500);
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/clip.avi");
    EXPECT_EQ(Dialog->FilterIndex, 2);
    EXPECT_EQ(Dialog->DialogWidth, 500);
    EXPECT_EQ(Dialog->LVViewStyle, vsReport);
    int Width = 0;
    TViewStyle Style = vsIcon;
    std::string Mask;
    Run({[&] {
        Width = F()->ClientWidth();
        Style = List()->ViewStyle();
        Mask = List()->Mask();
    }});
    EXPECT_EQ(Width, 500);
    EXPECT_EQ(Style, vsReport);
    EXPECT_EQ(Mask, "*.*");
}

TEST_F(OpenDialogTest, TheStartFolderComesFromTheFileNameThenInitialDirThenTheProgram) {
    std::string Path;
    Dialog->SetFileName(F0 + "/sub/x.avi");
    Run({[&] { Path = List()->Path(); }});
    EXPECT_EQ(Path, F0 + "/sub");
    Dialog->SetFileName("");
    Run({[&] { Path = List()->Path(); }});
    EXPECT_EQ(Path, F0);
    Dialog->InitialDir = Dir.File("missing");
    Run({[&] { Path = List()->Path(); }});
    EXPECT_EQ(IncludeTrailingPathDelimiter(Path), IncludeTrailingPathDelimiter(GetAppPath()));
}

TEST_F(OpenDialogTest, ATypedNameTakesTheFilterExtensionWhenItHasNone) {
    EXPECT_TRUE(Run({[&] {
        Type("clip");
        Open();
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/clip.avi");
    Dialog->FilterIndex = 2;
    EXPECT_TRUE(Run({[&] {
        Type("clip");
        Open();
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/clip");
    // A name that names nothing keeps the dialog open.
    EXPECT_FALSE(Run({[&] {
        Type("none");
        Open();
    }}));
}

TEST_F(OpenDialogTest, WithoutTheExistenceCheckAMaskIsAcceptedByOpenAndFiltersOnEnter) {
    Dialog->CheckFileExists = false;
    Dialog->FilterIndex = 2;
    int Count = 0;
    EXPECT_FALSE(Run({[&] {
        Type("*.txt");
        Enter();
        Count = List()->FolderCount();
    }}));
    EXPECT_EQ(Count, 2); // sub, notes.txt
    EXPECT_TRUE(Run({[&] {
        Type("*.avi");
        Open();
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/*.avi");
}

TEST_F(OpenDialogTest, AFolderPathAndEnterMoveTheList) {
    std::string Path;
    Run({[&] {
        Type(F0 + "/sub");
        Enter();
        Path = List()->Path();
    }});
    EXPECT_EQ(Path, F0 + "/sub");
}

// What a text typed into the name box does, by Enter (a real key press) or
// by the accept button: full and relative paths to files are accepted,
// folders are shown, a missing folder is reported and changes nothing.
TEST_F(OpenDialogTest, TypedPathsAreAcceptedShownOrReported) {
    ForceDirectories(F0 + "/sub");
    Touch(F0 + "/sub/deep.avi", "e");
    const std::string Missing = Dir.File("missing");
    enum TBy { ByEnter, ByOpen };
    struct TCase {
        std::string Typed;
        TBy By;
        std::string Accepted; // empty: the dialog stays open
        std::string Shown;    // the list's folder while it stays open
        bool Reported;        // a message box told about a missing folder
        std::string EditAfter;
    };
    const TCase Cases[] = {
        {"clip", ByEnter, F0 + "/clip.avi", "", false, ""},
        {F0 + "/sub/deep.avi", ByEnter, F0 + "/sub/deep.avi", "", false, ""},
        {F0 + "/sub/deep.avi", ByOpen, F0 + "/sub/deep.avi", "", false, ""},
        {F0 + "/sub/deep", ByEnter, F0 + "/sub/deep.avi", "", false, ""},
        {"sub/deep.avi", ByOpen, F0 + "/sub/deep.avi", "", false, ""},
        {F0 + "/sub", ByEnter, "", F0 + "/sub", false, ""},
        {F0 + "/sub/../sub/", ByEnter, "", F0 + "/sub", false, ""},
        {"sub", ByOpen, "", F0 + "/sub", false, ""},
        {"sub", ByEnter, "", F0 + "/sub", false, ""},
        {Missing + "/x.avi", ByEnter, "", F0, true, Missing + "/x.avi"},
        {Missing + "/", ByOpen, "", F0, true, Missing + "/"},
        {"nothere/x.avi", ByOpen, "", F0, true, "nothere/x.avi"},
        // A file that is missing from an existing folder is refused quietly.
        {F0 + "/sub/none.avi", ByEnter, "", F0, false, F0 + "/sub/none.avi"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Typed + (C.By == ByEnter ? " + Enter" : " + Open"));
        Dialog->SetFileName(""); // every run starts in F0
        std::string Shown, EditAfter, Reported;
        const bool Accepted = Run({[&] {
                                       Type(C.Typed);
                                       if (C.By == ByOpen) {
                                           F()->OpenButton->Click();
                                           return;
                                       }
                                       F()->FileNameEdit->SetFocus();
                                       Headless.KeyDown(VK_RETURN, "\r");
                                       Headless.KeyUp(VK_RETURN);
                                   },
                                   [&] {
                                       TCustomForm* Active = Screen->ActiveForm();
                                       if (Active && Active != F()) {
                                           Reported = Active->ClassName();
                                           Active->SetModalResult(mrOk);
                                       }
                                   },
                                   [&] {
                                       Shown = List()->Path();
                                       EditAfter = F()->FileNameEdit->Text();
                                   }});
        EXPECT_EQ(Accepted, !C.Accepted.empty());
        if (Accepted) {
            EXPECT_EQ(Dialog->FileName(), C.Accepted);
            continue;
        }
        EXPECT_EQ(Shown, C.Shown);
        EXPECT_EQ(EditAfter, C.EditAfter);
        EXPECT_EQ(!Reported.empty(), C.Reported);
    }
}

TEST_F(OpenDialogTest, SelectedFilesWinAndFoldersAreSkipped) {
    Dialog->MultiSelection = true;
    Dialog->FilterIndex = 2;
    EXPECT_TRUE(Run({[&] {
        // Each selection change copies the first selected file's name into
        // the edit; a folder selected last changes nothing there.
        for (const char* Name : {"clip.avi", "two.avi", "sub"})
            List()->Items()->Item(IndexOf(Name))->SetSelected(true);
        Open();
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/clip.avi");
    ASSERT_EQ(Dialog->Files()->Count(), 2);
    EXPECT_EQ(Dialog->Files()->Strings(0), F0 + "/clip.avi");
    EXPECT_EQ(Dialog->Files()->Strings(1), F0 + "/two.avi");
}

TEST_F(OpenDialogTest, BackWalksTheHistoryAndUpIsRecorded) {
    ForceDirectories(F0 + "/a/b");
    ForceDirectories(F0 + "/d");
    std::vector<std::string> Paths;
    auto Back = [&] {
        F()->BackToolButtonClick(nullptr);
        Paths.push_back(List()->Path());
    };
    Run({[&] {
        List()->SetPath(F0 + "/a");
        List()->SetPath(F0 + "/a/b");
        Back();
        Back();
        Back();
        List()->SetPath(F0 + "/d");
        F()->UpToolButtonClick(nullptr);
        Back();
    }});
    EXPECT_EQ(Paths, (std::vector<std::string>{F0 + "/a", F0, F0, F0 + "/d"}));
}

TEST_F(OpenDialogTest, NewFoldersAreNumberedByClick) {
    ForceDirectories(F0 + "/sub/New Folder");
    std::vector<bool> Made;
    Run({[&] {
        List()->SetPath(F0 + "/sub");
        for (int I = 0; I < 3; ++I)
            F()->NewFolderToolButtonClick(nullptr);
    }});
    EXPECT_TRUE(DirectoryExists(F0 + "/sub/New Folder(2)"));
    EXPECT_TRUE(DirectoryExists(F0 + "/sub/New Folder(3)"));
    EXPECT_FALSE(DirectoryExists(F0 + "/sub/New Folder(4)"));
}

TEST_F(OpenDialogTest, AStartFolderThatCannotBeShownRaisesAfterOnClose) {
    int Closes = 0;
    Dialog->OnClose = [&](TObject*) { ++Closes; };
    Dialog->SetFileName(Dir.File("missing") + "/x.avi");
    try {
        Dialog->Execute();
        FAIL() << "no exception";
    } catch (const EInvalidPath& E) {
        EXPECT_EQ(E.Message(), "Error setting path: \"" + Dir.File("missing") + "/\"");
    }
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Dialog->Form(), nullptr);
    EXPECT_EQ(Dialog->FilterIndex, 1);
}

class SaveDialogTest : public OpenDialogTest {
protected:
    void SetUp() override {
        OpenDialogTest::SetUp();
        Dialog->SaveMode = true;
        Dialog->CheckFileExists = false;
        Dialog->OverwritePromt = true;
        Dialog->DefaultExt = "bmp";
        Dialog->Filter = "Bitmaps|*.bmp|JPEG|*.jpg|All|*.*";
        Dialog->FilterIndex = 2;
    }
};

TEST_F(SaveDialogTest, TheQuestionNamesTheFileThatIsReturned) {
    Touch(F0 + "/a.bmp");
    EXPECT_TRUE(Run({[&] {
        Type("a");
        Open();
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/a.jpg");

    Touch(F0 + "/a.jpg");
    std::string Question;
    EXPECT_FALSE(Run({[&] {
                          Type("a");
                          Open();
                      },
                      [&] {
                          if (Screen->ActiveForm() && Screen->ActiveForm() != F()) {
                              Question = Screen->ActiveForm()->ClassName();
                              Screen->ActiveForm()->SetModalResult(mrCancel);
                          }
                      }}));
    EXPECT_FALSE(Question.empty());
}

TEST_F(SaveDialogTest, AFullPathIsSavedInItsFolderAndAMissingFolderIsReported) {
    EXPECT_TRUE(Run({[&] {
        Type(F0 + "/sub/out");
        Open();
    }}));
    EXPECT_EQ(Dialog->FileName(), F0 + "/sub/out.jpg");
    std::string Reported;
    EXPECT_FALSE(Run({[&] {
                          Type(Dir.File("missing") + "/out");
                          Open();
                      },
                      [&] {
                          TCustomForm* Active = Screen->ActiveForm();
                          if (Active && Active != F()) {
                              Reported = Active->ClassName();
                              Active->SetModalResult(mrOk);
                          }
                      }}));
    EXPECT_FALSE(Reported.empty());
}

TEST_F(SaveDialogTest, AnotherFilterChangesTheTypedExtension) {
    std::vector<std::string> Names;
    Dialog->FilterIndex = 1;
    Run({[&] {
        Type("photo.bmp");
        F()->FilterComboBox->SetItemIndex(1);
        Names.push_back(F()->FileNameEdit->Text());
        Type("photo");
        F()->FilterComboBox->SetItemIndex(0);
        Names.push_back(F()->FileNameEdit->Text());
        F()->FilterComboBox->SetItemIndex(2);
        Names.push_back(F()->FileNameEdit->Text());
    }});
    EXPECT_EQ(Names, (std::vector<std::string>{"photo.jpg", "photo.bmp", "photo.bmp"}));
}

TEST_F(OpenDialogTest, TheWordTableNamesTheAcceptButton) {
    std::string Caption;
    Run({[&] { Caption = F()->OpenButton->Caption(); }});
    EXPECT_EQ(Caption, "&Open");
    // A table that lacks the key gives the empty text, not the built-in one.
    TbsResourceStrData Words(nullptr);
    TStringList Lines;
    Lines.Add("MSG_BTN_CANCEL=取消");
    Words.SetResStrings(&Lines);
    Data->SetResourceStrData(&Words);
    Dialog->SetCtrlSkinData(Data.get());
    std::string Cancel;
    Run({[&] {
        Caption = F()->OpenButton->Caption();
        Cancel = F()->CancelButton->Caption();
    }});
    EXPECT_EQ(Caption, "");
    EXPECT_EQ(Cancel, "取消");
    Dialog->SetCtrlSkinData(nullptr);
    Data->SetResourceStrData(nullptr);
}

} // namespace
