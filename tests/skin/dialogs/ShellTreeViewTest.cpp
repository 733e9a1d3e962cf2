// The shell tree: selecting paths, roots, filtering, refreshing with open
// branches kept, image lists, renames and deletes, automatic refresh and
// window re-creation, over a temporary folder tree "t/a/b/c".
#include "platform/core/Exceptions.h"
#include "platform/shell/ChangeNotify.h"
#include "skin/dialogs/bsShellViews.h"
#include "tests/skin/dialogs/ShellViewsTestSupport.h"

#include <chrono>
#include <vector>

namespace {

class ShellTreeViewTest : public TShellViewsTest {
protected:
    void SetUp() override {
        TShellViewsTest::SetUp();
        T = Work + "/t";
        ForceDirectories(T + "/a/b/c");
        ForceDirectories(T + "/a/b2");
        ForceDirectories(T + "/d");
        Form = MakeForm();
        Tree = new TbsSkinDirTreeView(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 300, 250);
        Form->Show();
        Pump();
    }

    static std::vector<std::string> ChildTexts(TTreeNode* Node) {
        std::vector<std::string> Result;
        for (int I = 0; Node && I < Node->Count(); ++I)
            Result.push_back(Node->Item(I)->Text());
        return Result;
    }
    TTreeNode* NodeAt(const std::string& Path) {
        Tree->SetPath(Path);
        return Tree->Selected();
    }

    std::string T;
    TForm* Form = nullptr;
    TbsSkinDirTreeView* Tree = nullptr;
};

TEST_F(ShellTreeViewTest, APathOpensEveryAncestorAndReadsBack) {
    TTreeNode* Root = Tree->Items()->GetFirstNode();
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Text(), "Desktop");
    EXPECT_EQ(ChildTexts(Root), (std::vector<std::string>{"Computer", "Home"}));

    Tree->SetPath(T + "/a/b/c");
    ASSERT_NE(Tree->Selected(), nullptr);
    EXPECT_EQ(Tree->Selected()->Text(), "c");
    EXPECT_EQ(Tree->Path(), T + "/a/b/c");
    for (TTreeNode* Node = Tree->Selected()->Parent(); Node; Node = Node->Parent())
        EXPECT_TRUE(Node->Expanded()) << Node->Text();
    EXPECT_EQ(ChildTexts(Tree->Selected()->Parent()->Parent()),
              (std::vector<std::string>{"b", "b2"}));
}

TEST_F(ShellTreeViewTest, ExpandMyComputerOpensDesktopAndComputer) {
    Tree->ExpandMyComputer();
    ASSERT_NE(Tree->Selected(), nullptr);
    EXPECT_EQ(Tree->Selected()->Text(), "Computer");
    EXPECT_TRUE(Tree->Selected()->Expanded());
    EXPECT_TRUE(Tree->Items()->GetFirstNode()->Expanded());
    EXPECT_EQ(Tree->Path(), "Computer");
}

TEST_F(ShellTreeViewTest, BadPathsAndRootsKeepWhatWasThere) {
    Tree->SetPath(T + "/a");
    try {
        Tree->SetPath(Dir.File("missing"));
        FAIL() << "no exception";
    } catch (const EInvalidPath& E) {
        EXPECT_EQ(E.Message(), "Error setting path: \"" + Dir.File("missing") + "\"");
    }
    EXPECT_EQ(Tree->Path(), T + "/a");

    Tree->SetRoot(T);
    EXPECT_EQ(Tree->Items()->GetFirstNode()->Text(), "t");
    EXPECT_THROW(Tree->SetRoot("nonsense"), Exception);
    EXPECT_EQ(Tree->Root(), T);
    ASSERT_NE(Tree->Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(Tree->Items()->GetFirstNode()->Text(), "t");
    EXPECT_EQ(ChildTexts(Tree->Items()->GetFirstNode()), (std::vector<std::string>{"a", "d"}));

    // A root given again in other letters is the same root; a path is not.
    Tree->SetRoot("RFDESKTOP");
    Tree->SetRoot("rfDesktop");
    EXPECT_EQ(Tree->Root(), "RFDESKTOP");
}

TEST_F(ShellTreeViewTest, AFolderRefusedByTheHandlerIsLeftOut) {
    ForceDirectories(T + "/x/b1");
    ForceDirectories(T + "/x/b2");
    ForceDirectories(T + "/x/b3");
    Tree->OnAddFolder = [](TObject*, TbsShellFolder* Folder, bool& CanAdd) {
        CanAdd = Folder->DisplayName() != "b2";
    };
    TTreeNode* X = NodeAt(T + "/x");
    X->Expand(false);
    EXPECT_EQ(ChildTexts(X), (std::vector<std::string>{"b1", "b3"}));
}

TEST_F(ShellTreeViewTest, RefreshKeepsOpenBranchesSelectionAndTop) {
    Tree->SetBounds(0, 0, 300, 60);
    TTreeNode* B = NodeAt(T + "/a/b");
    ASSERT_NE(B, nullptr);
    Tree->SetTopItem(B->Parent());
    TTreeNode* TNode = B->Parent()->Parent();
    ForceDirectories(T + "/a0");
    Tree->Refresh(TNode);

    TTreeNode* NewT = Tree->Selected()->Parent()->Parent();
    EXPECT_EQ(ChildTexts(NewT), (std::vector<std::string>{"a", "a0", "d"}));
    EXPECT_EQ(Tree->Selected()->Text(), "b");
    EXPECT_EQ(Tree->Path(), T + "/a/b");
    EXPECT_TRUE(Tree->Selected()->Parent()->Expanded());
    EXPECT_TRUE(Tree->Selected()->Expanded());
    ASSERT_NE(Tree->TopItem(), nullptr);
    EXPECT_EQ(Tree->TopItem()->Text(), "a");
}

TEST_F(ShellTreeViewTest, TheTreeKeepsTheSystemImageList) {
    const LRESULT System = SendMessage(Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0);
    ASSERT_NE(System, 0);
    TImageList Foreign(nullptr);
    Foreign.SetWidth(16);
    Foreign.SetHeight(16);
    SendMessage(Tree->Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(Foreign.Handle()));
    EXPECT_EQ(SendMessage(Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), System);
    Tree->SetUseShellImages(false);
    EXPECT_EQ(SendMessage(Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

TEST_F(ShellTreeViewTest, LabelEditsRenameOnlyToAFreeName) {
    TTreeNode* B2 = NodeAt(T + "/a/b2");
    ASSERT_TRUE(B2->EditText());
    HWND Edit = HWND(SendMessage(Tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(Edit, nullptr);
    SetWindowText(Edit, "bb");
    B2->EndEdit(false);
    EXPECT_TRUE(DirectoryExists(T + "/a/bb"));
    EXPECT_FALSE(DirectoryExists(T + "/a/b2"));
    EXPECT_EQ(ChildTexts(NodeAt(T + "/a")), (std::vector<std::string>{"b", "bb"}));

    TTreeNode* BB = NodeAt(T + "/a/bb");
    ASSERT_TRUE(BB->EditText());
    Edit = HWND(SendMessage(Tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    SetWindowText(Edit, "b");
    // The refusal leaves the window procedure for the application's handler.
    std::string Refusal;
    Application->OnException = [&](TObject*, const std::exception& E) { Refusal = E.what(); };
    BB->EndEdit(false);
    Application->OnException = nullptr;
    EXPECT_EQ(Refusal, "Rename to b failed");
    EXPECT_TRUE(DirectoryExists(T + "/a/bb"));
    EXPECT_TRUE(DirectoryExists(T + "/a/b/c"));
    EXPECT_EQ(Tree->Selected()->Text(), "bb");
}

TEST_F(ShellTreeViewTest, ADeleteCommandMovesTheFolderToTheTrashAndDropsItsNode) {
    TTreeNode* C = NodeAt(T + "/a/b/c");
    TTreeNode* B = C->Parent();
    InvokeShellVerb(Tree->SelectedFolder(), "delete");
    Tree->CommandCompleted("delete", true);
    EXPECT_FALSE(DirectoryExists(T + "/a/b/c"));
    EXPECT_TRUE(DirectoryExists(Home + "/.local/share/Trash/files/c"));
    EXPECT_EQ(B->Count(), 0);
    // A command that failed leaves the node alone.
    TTreeNode* D = NodeAt(T + "/d");
    Tree->CommandCompleted("delete", false);
    EXPECT_EQ(Tree->Selected(), D);
}

TEST_F(ShellTreeViewTest, DeleteChosenInTheContextMenuTrashesTheFolder) {
    TTreeNode* C = NodeAt(T + "/a/b/c");
    TTreeNode* B = C->Parent();
    Pump();
    const TRect R = C->DisplayRect(true);
    const TPoint P = Tree->ClientToScreen({R.Left + 3, (R.Top + R.Bottom) / 2});
    // The menu reads Open, Rename, Delete, Properties; the keys wait in the
    // queue until its own loop runs.
    Headless.Click(P.X, P.Y, 1);
    for (int I = 0; I < 3; ++I) {
        Headless.KeyDown(VK_DOWN);
        Headless.KeyUp(VK_DOWN);
    }
    Headless.KeyDown(VK_RETURN);
    Headless.KeyUp(VK_RETURN);
    Pump();
    EXPECT_FALSE(DirectoryExists(T + "/a/b/c"));
    EXPECT_TRUE(DirectoryExists(Home + "/.local/share/Trash/files/c"));
    EXPECT_EQ(B->Count(), 0);
}

TEST_F(ShellTreeViewTest, AutoRefreshShowsANewFolderOfTheSelectedFolder) {
    Tree->SetAutoRefresh(true);
    TTreeNode* A = NodeAt(T + "/a");
    A->Expand(false);
    ASSERT_NE(Tree->Notifier(), nullptr);
    EXPECT_EQ(Tree->Notifier()->Root(), T + "/a");
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int Probe = 0;
    while (ChildTexts(Tree->Selected()).size() < 3 && std::chrono::steady_clock::now() < Deadline) {
        // The worker may start watching after the first folder was made.
        if (Probe < 50)
            ForceDirectories(T + "/a/n" + std::to_string(Probe++));
        CheckSynchronize(20);
    }
    EXPECT_GE(ChildTexts(Tree->Selected()).size(), 3u);
    EXPECT_EQ(Tree->Selected()->Text(), "a");
    Tree->SetAutoRefresh(false);
    EXPECT_EQ(Tree->Notifier(), nullptr);
}

TEST_F(ShellTreeViewTest, ARecreatedWindowRebuildsTheNodesAndThePath) {
    Tree->SetPath(T + "/a/b");
    Tree->RecreateWnd();
    Tree->HandleNeeded();
    ASSERT_NE(Tree->Selected(), nullptr);
    EXPECT_EQ(Tree->Path(), T + "/a/b");
}

TEST_F(ShellTreeViewTest, AFileNodeOpensWithTheDesktopInsteadOfExpanding) {
    Touch(T + "/d/clip.avi", "x");
    Tree->SetObjectTypes(TShellObjectTypes{otFolders, otNonFolders});
    TTreeNode* D = NodeAt(T + "/d");
    D->Expand(false);
    ASSERT_EQ(ChildTexts(D), (std::vector<std::string>{"clip.avi"}));
    TTreeNode* Clip = D->Item(0);
    Clip->SetHasChildren(true);
    Clip->Expand(false);
    ASSERT_FALSE(Headless.Opened().empty());
    EXPECT_EQ(Headless.Opened().back(), T + "/d/clip.avi");
    EXPECT_FALSE(Clip->Expanded());
}

} // namespace
