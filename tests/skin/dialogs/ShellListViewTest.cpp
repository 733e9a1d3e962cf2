// The shell list: masks and object types, report columns and detail texts,
// column sorting (and a sort that meets a vanished file), navigation keys,
// type-ahead, renames, refresh and the selected files, over a folder "d"
// and files "a.AVI", "b.mpg", "c.txt" of 3, 1 and 2 KB.
#include "platform/core/Exceptions.h"
#include "platform/core/StringLists.h"
#include "skin/dialogs/bsShellViews.h"
#include "tests/skin/dialogs/ShellViewsTestSupport.h"

#include <vector>

namespace {

class ShellListViewTest : public TShellViewsTest {
protected:
    void SetUp() override {
        TShellViewsTest::SetUp();
        L = Work + "/l";
        ForceDirectories(L + "/d");
        Touch(L + "/a.AVI", std::string(3 * 1024, 'a'));
        Touch(L + "/b.mpg", std::string(1 * 1024, 'b'));
        Touch(L + "/c.txt", std::string(2 * 1024, 'c'));
        Form = MakeForm();
        List = new TbsSkinFileListView(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 380, 250);
        Form->Show();
        Pump();
        List->SetPath(L);
    }

    std::vector<std::string> Names() {
        std::vector<std::string> Result;
        for (int I = 0; I < List->FolderCount(); ++I)
            Result.push_back(List->Folders(I)->DisplayName());
        return Result;
    }
    using TNames = std::vector<std::string>;

    std::string L;
    TForm* Form = nullptr;
    TbsSkinFileListView* List = nullptr;
};

TEST_F(ShellListViewTest, MasksFilterFilesOnly) {
    EXPECT_EQ(Names(), (TNames{"d", "a.AVI", "b.mpg", "c.txt"}));
    EXPECT_EQ(List->Items()->Count(), 4);
    const std::pair<std::string, TNames> Cases[] = {
        {"*.avi;*.mpg", {"d", "a.AVI", "b.mpg"}},
        {"*", {"d", "a.AVI", "b.mpg", "c.txt"}},
        {"abc", {"d"}},
        {"Videos|*.avi", {"d", "a.AVI"}},
    };
    for (const auto& [Mask, Expected] : Cases) {
        List->SetMask(Mask);
        EXPECT_EQ(Names(), Expected) << Mask;
    }
    try {
        List->SetMask("[a.avi");
        FAIL() << "no exception";
    } catch (const EMaskException& E) {
        EXPECT_NE(E.Message().find("'[a.avi' is an invalid mask at ("), std::string::npos);
    }
    List->SetMask("*");
    List->SetObjectTypes(TShellObjectTypes{otFolders});
    EXPECT_EQ(Names(), (TNames{"d"}));
}

TEST_F(ShellListViewTest, ReportViewShowsTheDetailColumns) {
    List->SetViewStyle(vsReport);
    ASSERT_EQ(List->Columns()->Count(), 4);
    TNames Captions;
    for (int I = 0; I < 4; ++I)
        Captions.push_back(List->Column(I)->Caption());
    EXPECT_EQ(Captions, (TNames{"Name", "Size", "Type", "Modified"}));
    EXPECT_EQ(List->Column(1)->Alignment(), taRightJustify);
    TListItem* A = List->Items()->Item(1);
    ASSERT_NE(A, nullptr);
    EXPECT_EQ(A->Caption(), "a.AVI");
    ASSERT_EQ(A->SubItems()->Count(), 3);
    EXPECT_EQ(A->SubItems()->Strings(0), "3 KB");
    EXPECT_EQ(A->SubItems()->Strings(1), "AVI File");
    EXPECT_NE(A->SubItems()->Strings(2).find(':'), std::string::npos);

    // Computer has no detail interface: one default column.
    List->SetPath("::{Computer}");
    ASSERT_EQ(List->Columns()->Count(), 1);
    EXPECT_EQ(List->Column(0)->Caption(), "Name");
}

TEST_F(ShellListViewTest, SizeColumnSortsUpThenDownWithFoldersLastTheSecondTime) {
    List->SetViewStyle(vsReport);
    auto Click = [&](int Column) {
        NMLISTVIEW N{};
        N.hdr.hwndFrom = List->Handle();
        N.hdr.code = LVN_COLUMNCLICK;
        N.iSubItem = Column;
        List->Perform(CN_NOTIFY, 0, LPARAM(&N));
    };
    Click(1);
    EXPECT_EQ(Names(), (TNames{"d", "b.mpg", "c.txt", "a.AVI"}));
    Click(1);
    EXPECT_EQ(Names(), (TNames{"a.AVI", "c.txt", "b.mpg", "d"}));
    EXPECT_TRUE(List->SortDescending());

    // A file that vanished since the listing: the sort raises, nothing is
    // lost and the sort state is cleared.
    DeleteFile(L + "/c.txt");
    EXPECT_THROW(Click(3), EInvalidPath);
    EXPECT_EQ(List->FolderCount(), 4);
    EXPECT_EQ(Names().size(), 4u);
    List->SetViewStyle(vsList);
    List->SetMask("*.*");
    EXPECT_EQ(List->FolderCount(), 3);
}

TEST_F(ShellListViewTest, TwoColumnsSortOnlyByTheFirst) {
    List->SetViewStyle(vsReport);
    List->Columns()->Clear();
    List->Columns()->Add()->SetCaption("Name");
    List->Columns()->Add()->SetCaption("Other");
    const TNames Before = Names();
    NMLISTVIEW N{};
    N.hdr.hwndFrom = List->Handle();
    N.hdr.code = LVN_COLUMNCLICK;
    N.iSubItem = 1;
    List->Perform(CN_NOTIFY, 0, LPARAM(&N));
    EXPECT_EQ(Names(), Before);
    EXPECT_EQ(List->SortColumn(), -1);
}

TEST_F(ShellListViewTest, NavigationKeysAndRefresh) {
    int Moves = 0;
    List->OnPathChanged = [&](TObject*) { ++Moves; };
    List->SetItemIndex(0);
    List->Perform(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(List->Path(), L + "/d");
    EXPECT_EQ(Moves, 1);
    List->Perform(WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(List->Path(), L);
    EXPECT_EQ(Moves, 2);
    // Enter on a file does nothing of the list's own.
    List->SetItemIndex(2);
    List->Perform(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(List->Path(), L);

    // The last item stays selected across a refresh.
    Touch(L + "/e.avi");
    List->SetItemIndex(3);
    List->Refresh();
    EXPECT_EQ(List->FolderCount(), 5);
    EXPECT_EQ(List->ItemIndex(), 3);

    // Backspace at the desktop stays there.
    List->SetPath("::{Desktop}");
    const int Before = Moves;
    List->Perform(WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(List->Path(), "Desktop");
    EXPECT_EQ(Moves, Before);
}

TEST_F(ShellListViewTest, AltEnterShowsThePropertiesWindowOfTheSelectedFile) {
    List->SetItemIndex(1);
    List->SetFocus();
    Pump();
    std::string Caption;
    Application->OnIdle = [&](TObject*, bool& Done) {
        TCustomForm* Active = Screen->ActiveForm();
        if (Active && Active != Form && Caption.empty()) {
            Caption = Active->Caption();
            Active->SetModalResult(mrOk);
        }
        Done = true;
    };
    Headless.KeyDown(VK_MENU);
    Headless.KeyDown(VK_RETURN);
    Headless.KeyUp(VK_RETURN);
    Headless.KeyUp(VK_MENU);
    Pump();
    Application->OnIdle = nullptr;
    EXPECT_EQ(Caption, "a.AVI Properties");
    // Closing the window leaves the list where it was.
    EXPECT_EQ(List->Path(), L);
}

TEST_F(ShellListViewTest, ReportViewDrawsItsHeaderSectionsFromTheSkin) {
    List->SetSkinData(Data.get());
    List->SetHeaderSkinDataName("resizebutton");
    List->SetViewStyle(vsReport);
    Pump();
    for (int I = 0, Left = 0; I < List->Columns()->Count(); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(RegionOf(List, Left + 2, 2), "controls.bmp/resizebutton.normal");
        Left += List->Column(I)->Width();
    }
}

TEST_F(ShellListViewTest, TypeAheadFindsPrefixesAndWraps) {
    LVFINDINFO Find{};
    Find.flags = LVFI_PARTIAL | LVFI_STRING;
    std::string Text = "B";
    Find.psz = Text.c_str();
    EXPECT_EQ(SendMessage(List->Handle(), LVM_FINDITEM, WPARAM(0), LPARAM(&Find)), 2);
    Text = "Z";
    Find.psz = Text.c_str();
    Find.flags |= LVFI_WRAP;
    EXPECT_EQ(SendMessage(List->Handle(), LVM_FINDITEM, WPARAM(0), LPARAM(&Find)), -1);
}

TEST_F(ShellListViewTest, LabelEditsRenameOnlyToAFreeName) {
    auto Rename = [&](int Index, const std::string& Text) {
        std::string Copy = Text;
        LVITEM Item{};
        Item.iItem = Index;
        Item.pszText = Copy.data();
        NMLVDISPINFO N{};
        N.hdr.hwndFrom = List->Handle();
        N.hdr.code = LVN_ENDLABELEDIT;
        N.item = Item;
        List->Perform(CN_NOTIFY, 0, LPARAM(&N));
    };
    Rename(1, "x.avi");
    EXPECT_TRUE(FileExists(L + "/x.avi"));
    EXPECT_FALSE(FileExists(L + "/a.AVI"));
    EXPECT_EQ(List->Folders(1)->DisplayName(), "x.avi");
    try {
        Rename(1, "b.mpg");
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Rename to b.mpg failed");
    }
    EXPECT_TRUE(FileExists(L + "/x.avi"));
    EXPECT_TRUE(FileExists(L + "/b.mpg"));
}

TEST_F(ShellListViewTest, SelectedFilesLeaveFoldersOut) {
    List->SetMultiSelect(true);
    for (int I : {0, 1, 3})
        List->Items()->Item(I)->SetSelected(true);
    TStringList Files;
    List->GetSelectedFiles(&Files);
    ASSERT_EQ(Files.Count(), 2);
    EXPECT_EQ(Files.Strings(0), L + "/a.AVI");
    EXPECT_EQ(Files.Strings(1), L + "/c.txt");
}

} // namespace
