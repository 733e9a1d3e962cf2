// The look-in combo box and the links between the three shell views: the
// root list with the drives, the chain of folders to the folder shown, the
// moves a pick or an opened folder makes in the linked views (each once),
// link setters and their clearing, and the entries' drawing.
#include "skin/dialogs/bsShellViews.h"
#include "tests/skin/dialogs/ShellViewsTestSupport.h"

#include <vector>

namespace {

class ShellComboBoxTest : public TShellViewsTest {
protected:
    void SetUp() override {
        TShellViewsTest::SetUp();
        T = Work + "/t";
        ForceDirectories(T + "/a/b");
        ForceDirectories(T + "/d");
        Form = MakeForm();
        Combo = new TbsSkinShellComboBox(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(0, 0, 300, 22);
        Form->Show();
        Pump();
    }
    // "indent caption" of every entry.
    std::vector<std::string> Entries() {
        std::vector<std::string> Result;
        for (int I = 0; I < Combo->ItemsEx()->Count(); ++I) {
            TbsItemEx* Item = Combo->ItemsEx()->Items(I);
            Result.push_back(std::to_string(Item->Indent) + " " + Item->Caption);
        }
        return Result;
    }
    TbsSkinDirTreeView* MakeTree() {
        auto* Tree = new TbsSkinDirTreeView(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 30, 150, 200);
        Tree->HandleNeeded();
        return Tree;
    }
    TbsSkinFileListView* MakeList() {
        auto* List = new TbsSkinFileListView(Form);
        List->SetParent(Form);
        List->SetBounds(160, 30, 200, 200);
        List->HandleNeeded();
        return List;
    }
    using TNames = std::vector<std::string>;

    std::string T;
    TForm* Form = nullptr;
    TbsSkinShellComboBox* Combo = nullptr;
};

TEST_F(ShellComboBoxTest, TheDesktopRootListsItsFoldersAndTheDrives) {
    EXPECT_EQ(Entries(), (TNames{"0 Desktop", "1 Computer", "2 File System (/)", "1 Home"}));
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(Combo->Items()->Count(), 4);

    // Another spelling of the root name is the same root but lists no drives.
    Combo->SetRoot(T);
    EXPECT_EQ(Entries(), (TNames{"0 t", "1 a", "1 d"}));
    Combo->SetRoot("RFDESKTOP");
    EXPECT_EQ(Entries(), (TNames{"0 Desktop", "1 Computer", "1 Home"}));
}

TEST_F(ShellComboBoxTest, TheChainToTheShownFolderIsInsertedOnce) {
    Combo->SetPath(T + "/a/b");
    const TNames Entries1 = Entries();
    // Computer, "/", then one entry per component down to b.
    ASSERT_GE(Entries1.size(), 6u);
    EXPECT_EQ(Combo->Path(), T + "/a/b");
    EXPECT_EQ(Combo->ItemsEx()->Items(Combo->ItemIndex())->Caption, "b");
    const int B = Combo->ItemIndex();
    EXPECT_EQ(Combo->ItemsEx()->Items(B - 1)->Caption, "a");
    EXPECT_EQ(Combo->ItemsEx()->Items(B)->Indent, Combo->ItemsEx()->Items(B - 1)->Indent + 1);

    Combo->SetPath(T + "/d");
    EXPECT_EQ(Combo->ItemsEx()->Items(Combo->ItemIndex())->Caption, "d");
    for (const std::string& Entry : Entries()) {
        EXPECT_EQ(Entry.find(" a"), std::string::npos) << Entry;
        EXPECT_EQ(Entry.find(" b"), std::string::npos) << Entry;
    }
    EXPECT_EQ(Entries().size(), Entries1.size() - 1);
}

TEST_F(ShellComboBoxTest, AnEmptyListHasNoFolderOfItem) {
    Combo->ItemsEx()->Clear();
    EXPECT_EQ(Combo->FolderOfItem(0), nullptr);
    EXPECT_EQ(Combo->FolderOfItem(5), nullptr);
}

TEST_F(ShellComboBoxTest, LinksAreKeptOnBothSidesAndClearedWhenAViewGoes) {
    TbsSkinDirTreeView* Tree = MakeTree();
    TbsSkinFileListView* List = MakeList();
    List->SetRoot(T);
    Tree->SetShellListView(List);
    EXPECT_EQ(List->ShellTreeView(), Tree);
    EXPECT_EQ(List->Root(), "rfDesktop");
    Tree->SetShellComboBox(Combo);
    List->SetShellComboBox(Combo);
    EXPECT_EQ(Combo->ShellTreeView(), Tree);
    EXPECT_EQ(Combo->ShellListView(), List);
    delete Combo;
    Combo = nullptr;
    EXPECT_EQ(Tree->ShellComboBox(), nullptr);
    EXPECT_EQ(List->ShellComboBox(), nullptr);
    Tree->SetShellListView(nullptr);
    EXPECT_EQ(List->ShellTreeView(), nullptr);
}

TEST_F(ShellComboBoxTest, AnOpenedFolderMovesTheLinkedViewsWithoutEcho) {
    TbsSkinDirTreeView* Tree = MakeTree();
    TbsSkinFileListView* List = MakeList();
    List->SetShellTreeView(Tree);
    List->SetShellComboBox(Combo);
    int ListMoves = 0;
    List->OnPathChanged = [&](TObject*) { ++ListMoves; };

    List->SetPath(T + "/a");
    EXPECT_EQ(ListMoves, 1);
    EXPECT_EQ(Tree->Path(), T + "/a");
    EXPECT_EQ(Combo->Path(), T + "/a");

    // A pick in the combo box moves list and tree once; the list does not
    // move the combo box back. Showing a path in the box moves nobody.
    Combo->SetPath(T + "/d");
    EXPECT_EQ(ListMoves, 1);
    EXPECT_EQ(List->Path(), T + "/a");
    Combo->SetItemIndex(Combo->ItemIndex() - 1);
    EXPECT_EQ(Combo->Path(), T);
    EXPECT_EQ(List->Path(), T);
    EXPECT_EQ(Tree->Path(), T);
    EXPECT_EQ(ListMoves, 2);

    // A file node in a tree showing files shows its folder in the others.
    Touch(T + "/d/clip.avi");
    Tree->SetObjectTypes(TShellObjectTypes{otFolders, otNonFolders});
    Tree->SetPath(T + "/d/clip.avi");
    EXPECT_EQ(List->Path(), T + "/d");
    EXPECT_EQ(Combo->Path(), T + "/d");
}

TEST_F(ShellComboBoxTest, WithoutShellImagesEntriesHaveNoIcon) {
    EXPECT_GE(Combo->ItemsEx()->Items(0)->ImageIndex, 0);
    Combo->SetUseShellImages(false);
    EXPECT_EQ(Combo->ItemsEx()->Items(0)->ImageIndex, -1);
    EXPECT_EQ(Combo->ImageWidth(), 16);
    EXPECT_EQ(Combo->ImageHeight(), 16);
}

TEST_F(ShellComboBoxTest, TheFaceDrawsIconAtTheLeftAndTextAfterIt) {
    TBitmap B;
    B.SetSize(200, 24);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 200, 24});
    ASSERT_NE(Combo->OnComboBoxDrawItem, nullptr);
    Combo->OnComboBoxDrawItem(B.Canvas(), 0, 200, 24, TRect{0, 0, 200, 24}, TOwnerDrawState{});
    auto Inked = [&](int X0, int X1) {
        for (int X = X0; X < X1; ++X)
            for (int Y = 0; Y < 24; ++Y)
                if ((B.Canvas()->Pixels(X, Y) & 0xFFFFFF) != 0xFFFFFF)
                    return true;
        return false;
    };
    EXPECT_TRUE(Inked(0, 16));
    EXPECT_TRUE(Inked(20, 80));
    // A drop-down line of indent 2 starts its icon 16 pixels in.
    B.Canvas()->Brush()->SetStyle(bsSolid);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 200, 24});
    EXPECT_FALSE(Inked(0, 200));
    Combo->OnListBoxDrawItem()(B.Canvas(), 2, 200, 24, TRect{0, 0, 200, 24}, TOwnerDrawState{});
    EXPECT_EQ(Combo->ItemsEx()->Items(2)->Indent, 2);
    EXPECT_FALSE(Inked(0, 16));
    EXPECT_TRUE(Inked(16, 32));
}

} // namespace
