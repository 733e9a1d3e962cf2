// The tree view and TCustomTreeView: children on demand, rows and scroll
// information (beyond 16 bits too), right-click selection, the image list
// through the control's procedure, label editing, keys and re-creation.
#include "platform/core/Threads.h"
#include "platform/forms/TreeViews.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

#include <vector>

class TreeViewTest : public TStandardTest {
protected:
    TTreeView* MakeTree() { return Add<TTreeView>(Bounds(10, 10, 200, 200)); }
    void StripBars(HWND Wnd) {
        SetWindowLong(Wnd, GWL_STYLE,
                      GetWindowLong(Wnd, GWL_STYLE) & ~LONG_PTR(WS_VSCROLL | WS_HSCROLL));
        SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    int RowHeight(TTreeView* T) { return T->Items()->GetFirstNode()->DisplayRect(false).Height(); }
    SCROLLINFO Info(HWND Wnd, int Bar) {
        SCROLLINFO SI;
        SI.fMask = SIF_ALL;
        GetScrollInfo(Wnd, Bar, &SI);
        return SI;
    }
};

TEST_F(TreeViewTest, ChildrenAreAddedOnDemandWhenANodeExpands) {
    TTreeView* T = MakeTree();
    TTreeNode* Root = T->Items()->Add(nullptr, "根");
    Root->SetHasChildren(true);
    TTreeNode* Empty = T->Items()->Add(nullptr, "空");
    Empty->SetHasChildren(true);
    std::vector<std::string> Events;
    T->OnExpanding = [&](TObject*, TTreeNode* Node, bool&) {
        Events.push_back("expanding " + Node->Text());
        if (Node == Root)
            for (const char* S : {"a", "b", "c"})
                T->Items()->AddChild(Node, S);
    };
    T->OnExpanded = [&](TObject*, TTreeNode* Node) {
        Events.push_back("expanded " + Node->Text());
    };
    ShowForm();
    Root->Expand(false);
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0], "expanding 根");
    EXPECT_EQ(Events[1], "expanded 根");
    EXPECT_TRUE(Root->Expanded());
    EXPECT_EQ(Root->Count(), 3);
    EXPECT_EQ(Root->GetNextVisible(), Root->Item(0));
    EXPECT_TRUE(Root->Item(2)->IsVisible());

    // An expanding that brings nothing leaves no button.
    Events.clear();
    EXPECT_TRUE(Empty->HasChildren());
    Empty->Expand(false);
    EXPECT_EQ(Events, std::vector<std::string>{"expanding 空"});
    EXPECT_FALSE(Empty->HasChildren());
    EXPECT_FALSE(Empty->Expanded());
    TRect R = Empty->DisplayRect(false);
    TVHITTESTINFO Hit;
    Hit.pt = {T->Indent() / 2, R.Top + 2};
    SendMessage(T->Handle(), TVM_HITTEST, 0, LPARAM(&Hit));
    EXPECT_FALSE(Hit.flags & TVHT_ONITEMBUTTON);
    Hit.pt = {T->Indent() / 2, Root->DisplayRect(false).Top + 2};
    SendMessage(T->Handle(), TVM_HITTEST, 0, LPARAM(&Hit));
    EXPECT_TRUE(Hit.flags & TVHT_ONITEMBUTTON);

    // A click on the button collapses; tree order and levels.
    TPoint P = ScreenOf(T, Hit.pt.X, Hit.pt.Y);
    Clock.Advance(1000);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_FALSE(Root->Expanded());
    EXPECT_EQ(T->Items()->Count(), 5);
    EXPECT_EQ(T->Items()->Item(3)->Text(), "c");
    EXPECT_EQ(T->Items()->Item(3)->Level(), 1);
    EXPECT_EQ(T->Items()->Item(3)->AbsoluteIndex(), 3);
    EXPECT_THROW(T->Items()->Item(5), EListError);
}

TEST_F(TreeViewTest, ScrollInformationCountsExpandedRowsAndReadsPositionsBeyondSixteenBits) {
    TTreeView* T = MakeTree();
    HWND W = T->Handle();
    StripBars(W);
    TTreeNode* Hidden = T->Items()->Add(nullptr, "hidden parent");
    for (int I = 0; I < 5; ++I)
        T->Items()->AddChild(Hidden, "child");
    T->Items()->BeginUpdate();
    for (int I = 0; I < 99; ++I)
        T->Items()->Add(nullptr, "row " + std::to_string(I));
    T->Items()->EndUpdate();
    T->SetClientSize(200, 20 * RowHeight(T) + RowHeight(T) / 2);
    SCROLLINFO SI = Info(W, SB_VERT);
    EXPECT_EQ(SI.nMax, 99);
    EXPECT_EQ(SI.nPage, 20u);
    EXPECT_EQ(SendMessage(W, TVM_GETVISIBLECOUNT, 0, 0), 20);
    EXPECT_EQ(SendMessage(W, TVM_GETCOUNT, 0, 0), 105);

    T->Items()->BeginUpdate();
    for (int I = 0; I < 70000 - 100; ++I)
        T->Items()->Add(nullptr, "more");
    T->Items()->EndUpdate();
    EXPECT_EQ(Info(W, SB_VERT).nMax, 69999);
    SCROLLINFO Pos;
    Pos.fMask = SIF_POS;
    Pos.nPos = 68000;
    SetScrollInfo(W, SB_VERT, &Pos, TRUE);
    SendMessage(W, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 68000 & 0xFFFF), 0);
    TTreeNode* Top = T->TopItem();
    ASSERT_TRUE(Top);
    EXPECT_EQ(Top->AbsoluteIndex() - 5, 68000);
    EXPECT_EQ(Info(W, SB_VERT).nPos, 68000);
}

TEST_F(TreeViewTest, ARightPressSelectsTheNodeThenAsksForTheContextMenu) {
    TTreeView* T = MakeTree();
    T->SetRightClickSelect(true);
    T->Items()->Add(nullptr, "one");
    TTreeNode* Two = T->Items()->Add(nullptr, "two");
    std::vector<std::string> Events;
    T->OnChange = [&](TObject*, TTreeNode* Node) { Events.push_back("change " + Node->Text()); };
    T->OnContextPopup = [&](TObject*, TPoint, bool&) { Events.push_back("popup"); };
    ShowForm();
    TRect R = Two->DisplayRect(true);
    TPoint P = ScreenOf(T, R.Left + 3, R.Top + 3);
    Clock.Advance(1000);
    Headless.Click(P.X, P.Y, 1);
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string>{"change two", "popup"}));
    EXPECT_EQ(T->Selected(), Two);
}

namespace {

// Replaces every image list it is given, as a shell tree does.
class TInterceptingTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    HIMAGELIST Replacement = nullptr;

    void WndProc(TMessage& Message) override {
        if (Message.Msg == TVM_SETIMAGELIST && Message.WParam == TVSIL_NORMAL)
            Message.LParam = LPARAM(Replacement);
        TTreeView::WndProc(Message);
    }
};

} // namespace

TEST_F(TreeViewTest, TheImageListGoesThroughTheControlsOwnProcedure) {
    auto* T = Add<TInterceptingTree>(Bounds(10, 10, 200, 200));
    TImageList Mine(nullptr), Theirs(nullptr);
    T->Replacement = Theirs.Handle();
    T->HandleNeeded();
    T->SetImages(&Mine);
    EXPECT_EQ(HIMAGELIST(SendMessage(T->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
              Theirs.Handle());
    T->SetImages(nullptr);
}

TEST_F(TreeViewTest, LabelEditingReportsAndKeepsTheNewText) {
    TTreeView* T = MakeTree();
    TTreeNode* Node = T->Items()->Add(nullptr, "old");
    T->Items()->Add(nullptr, "other");
    int Editing = 0;
    std::string Edited;
    T->OnEditing = [&](TObject*, TTreeNode*, bool&) { ++Editing; };
    T->OnEdited = [&](TObject*, TTreeNode*, std::string& S) {
        Edited = S;
        S += "!";
    };
    ShowForm();
    ASSERT_TRUE(Node->EditText());
    EXPECT_TRUE(T->IsEditing());
    Type("new");
    Key(VK_RETURN, "\r");
    EXPECT_EQ(Editing, 1);
    EXPECT_EQ(Edited, "new");
    EXPECT_EQ(Node->Text(), "new!");
    EXPECT_FALSE(T->IsEditing());

    Node->EditText();
    Type("no");
    Key(VK_ESCAPE, "\x1B");
    EXPECT_EQ(Node->Text(), "new!");
    // The node deleted while edited: nothing is left.
    Node->EditText();
    HWND Editor = HWND(SendMessage(T->Handle(), TVM_GETEDITCONTROL, 0, 0));
    Node->Delete();
    EXPECT_FALSE(IsWindow(Editor));
    EXPECT_EQ(T->Items()->Count(), 1);
}

TEST_F(TreeViewTest, KeysMoveExpandAndSearchAndNodesSurviveRecreation) {
    TTreeView* T = MakeTree();
    TTreeNode* A = T->Items()->Add(nullptr, "alpha");
    T->Items()->AddChild(A, "apple");
    T->Items()->AddChild(A, "banana");
    TTreeNode* B = T->Items()->Add(nullptr, "beta");
    std::vector<std::string> Changes;
    T->OnChange = [&](TObject*, TTreeNode* Node) { Changes.push_back(Node->Text()); };
    ShowForm();
    T->SetFocus();
    T->SetSelected(A);
    Key(VK_RIGHT);
    EXPECT_TRUE(A->Expanded());
    Key(VK_DOWN);
    EXPECT_EQ(T->Selected()->Text(), "apple");
    Type("b");
    EXPECT_EQ(T->Selected()->Text(), "banana");
    Clock.Advance(100);
    Type("e");
    EXPECT_EQ(T->Selected(), B);
    Key(VK_HOME);
    EXPECT_EQ(T->Selected(), A);
    EXPECT_EQ(Changes, (std::vector<std::string>{"alpha", "apple", "banana", "beta", "alpha"}));

    // Re-created: nodes, expansion and selection come back, quietly.
    T->SetSelected(A->Item(1));
    Changes.clear();
    HWND Before = T->Handle();
    T->RecreateWnd();
    EXPECT_NE(T->Handle(), Before);
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(SendMessage(T->Handle(), TVM_GETCOUNT, 0, 0), 4);
    EXPECT_TRUE(A->Expanded());
    EXPECT_EQ(T->Selected(), A->Item(1));
    EXPECT_EQ(A->Item(1)->Text(), "banana");
}

TEST_F(TreeViewTest, AChangeDelayReportsTheSelectionOnceItRests) {
    TTreeView* T = MakeTree();
    T->SetChangeDelay(200);
    TTreeNode* A = T->Items()->Add(nullptr, "a");
    TTreeNode* B = T->Items()->Add(nullptr, "b");
    std::vector<std::string> Changes;
    T->OnChange = [&](TObject*, TTreeNode* Node) { Changes.push_back(Node->Text()); };
    ShowForm();
    T->SetSelected(A);
    T->SetSelected(B);
    Pump();
    EXPECT_TRUE(Changes.empty());
    Headless.RunUntil(Clock.Now() + 300);
    EXPECT_EQ(Changes, std::vector<std::string>{"b"});
}

TEST_F(TreeViewTest, ImagesAreAskedForWhenTheTreeIsDrawn) {
    TTreeView* T = MakeTree();
    TImageList Images(nullptr);
    T->SetImages(&Images);
    TTreeNode* Folder = T->Items()->Add(nullptr, "folder");
    Folder->SetImageIndex(3);
    std::vector<std::string> Asked;
    T->OnGetImageIndex = [&](TObject*, TTreeNode* Node) {
        Asked.push_back(Node->Text());
        Node->SetImageIndex(5);
    };
    T->OnGetSelectedIndex = [&](TObject*, TTreeNode* Node) { Node->SetSelectedIndex(6); };
    ShowForm();
    EXPECT_FALSE(Asked.empty());
    EXPECT_EQ(Folder->ImageIndex(), 5);
    T->SetSelected(Folder);
    Pump();
    EXPECT_EQ(Folder->SelectedIndex(), 6);
    T->SetImages(nullptr);
}

TEST_F(TreeViewTest, StateImagesStandBeforeTheLabelAndCheckBoxesToggle) {
    TTreeView* T = MakeTree();
    TImageList States(nullptr);
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(16, 16);
    Picture.Canvas()->Brush()->SetColor(clLime);
    Picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    States.Add(&Picture, nullptr);
    T->SetStateImages(&States);
    TTreeNode* A = T->Items()->Add(nullptr, "甲");
    TTreeNode* B = T->Items()->Add(nullptr, "乙");
    A->SetStateIndex(0);
    ShowForm();
    B->SetStateIndex(0);
    HWND W = T->Handle();
    TRect Client;
    GetClientRect(W, &Client);
    TTestBitmap Bitmap(Client.Width(), Client.Height(), RGB(255, 255, 255));
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    for (TTreeNode* Node : {A, B}) {
        SCOPED_TRACE(Node->Text());
        EXPECT_EQ(Node->StateIndex(), 0);
        TRect Label = Node->DisplayRect(true);
        TPoint Icon{Label.Left - 8, (Label.Top + Label.Bottom) / 2};
        EXPECT_EQ(Bitmap.Pixel(Icon.X, Icon.Y), 0x00FF00u);
        TVHITTESTINFO Hit;
        Hit.pt = Icon;
        EXPECT_EQ(HTREEITEM(SendMessage(W, TVM_HITTEST, 0, LPARAM(&Hit))), Node->ItemId());
        EXPECT_EQ(Hit.flags, TVHT_ONITEMSTATEICON);
    }
    T->SetStateImages(nullptr);

    // Check boxes of the control's own: a click on the box and Space toggle.
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | TVS_CHECKBOXES));
    B->SetStateIndex(-1);
    TRect Label = B->DisplayRect(true);
    Click(T, Label.Left - 8, (Label.Top + Label.Bottom) / 2);
    EXPECT_EQ(B->StateIndex(), 1) << "checked";
    T->SetSelected(B);
    Key(VK_SPACE);
    EXPECT_EQ(B->StateIndex(), 0) << "unchecked";
}

TEST_F(TreeViewTest, SingleExpandOpensTheChosenBranchAndClosesTheOneLeft) {
    TTreeView* T = MakeTree();
    TTreeNode* A = T->Items()->Add(nullptr, "A");
    T->Items()->AddChild(A, "A1");
    TTreeNode* B = T->Items()->Add(nullptr, "B");
    TTreeNode* B1 = T->Items()->AddChild(B, "B1");
    ShowForm();
    HWND W = T->Handle();
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | TVS_SINGLEEXPAND));
    auto ClickOn = [&](TTreeNode* Node) {
        TRect R = Node->DisplayRect(true);
        Click(T, R.Left + 2, (R.Top + R.Bottom) / 2);
    };
    ClickOn(A);
    EXPECT_TRUE(A->Expanded());
    ClickOn(B);
    EXPECT_FALSE(A->Expanded());
    EXPECT_TRUE(B->Expanded());
    // Into the open branch: it stays open.
    Key(VK_DOWN);
    EXPECT_EQ(T->Selected(), B1);
    EXPECT_TRUE(B->Expanded());
    // A choice in code opens nothing.
    T->SetSelected(A);
    EXPECT_FALSE(A->Expanded());
}

TEST_F(TreeViewTest, TrackSelectShowsTheItemUnderThePointerInTheHotColour) {
    TTreeView* T = MakeTree();
    TTreeNode* A = T->Items()->Add(nullptr, "视频文件");
    ShowForm();
    HWND W = T->Handle();
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | TVS_TRACKSELECT));
    TRect Label = A->DisplayRect(true);
    auto HotPixels = [&] {
        TRect Client;
        GetClientRect(W, &Client);
        TTestBitmap Bitmap(Client.Width(), Client.Height(), RGB(255, 255, 255));
        SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
        int N = 0;
        for (int Y = Label.Top; Y < Label.Bottom; ++Y)
            for (int X = Label.Left; X < Label.Right; ++X) {
                std::uint32_t C = Bitmap.Pixel(X, Y);
                N += int(C & 0xFF) > int(C >> 16) + 60;
            }
        return N;
    };
    EXPECT_EQ(HotPixels(), 0);
    TPoint P = ScreenOf(T, Label.Left + 4, (Label.Top + Label.Bottom) / 2);
    Headless.MovePointer(P.X, P.Y);
    Pump();
    EXPECT_GT(HotPixels(), 5);
    P = ScreenOf(T, -50, -50);
    Headless.MovePointer(P.X, P.Y);
    Pump();
    EXPECT_EQ(HotPixels(), 0);
}

TEST_F(TreeViewTest, ALabelCutOffAtTheEdgeIsShownWholeInATipThatTakesNoFocus) {
    auto* T = Add<TTreeView>(Bounds(10, 10, 90, 100));
    TTreeNode* Short = T->Items()->Add(nullptr, "短");
    TTreeNode* Long = T->Items()->Add(nullptr, "一个很长很长的视频文件名称.mp4");
    ShowForm();
    HWND W = T->Handle();
    auto Tip = [&]() -> HWND {
        HWND Found = nullptr;
        EnumThreadWindows(
            DWORD(GetCurrentThreadId()),
            [&](HWND H, LPARAM) {
                char Name[64] = {};
                GetClassName(H, Name, int(sizeof(Name)));
                if (std::string(Name) == "OstrelaTreeLabelTip" && IsWindowVisible(H))
                    Found = H;
                return TRUE;
            },
            0);
        return Found;
    };
    auto PointAt = [&](TTreeNode* Node) {
        TRect R = Node->DisplayRect(true);
        TPoint P = ScreenOf(T, R.Left + 4, (R.Top + R.Bottom) / 2);
        Headless.MovePointer(P.X, P.Y);
        Pump();
    };
    PointAt(Short);
    EXPECT_EQ(Tip(), nullptr);
    PointAt(Long);
    HWND Shown = Tip();
    ASSERT_TRUE(Shown);
    EXPECT_EQ(GetWindowText(Shown), Long->Text());
    TRect R;
    GetWindowRect(Shown, &R);
    EXPECT_GT(R.Right, ScreenOf(T, T->ClientWidth(), 0).X) << "the tip is no wider than the tree";
    EXPECT_EQ(GetFocus(), W);

    // Leaving the tree hides it; without tooltips it never comes.
    TPoint Away = ScreenOf(T, -50, -50);
    Headless.MovePointer(Away.X, Away.Y);
    Pump();
    EXPECT_EQ(Tip(), nullptr);
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | TVS_NOTOOLTIPS));
    PointAt(Long);
    EXPECT_EQ(Tip(), nullptr);

    // A tree freed while its tip shows leaves no tip behind.
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) & ~TVS_NOTOOLTIPS));
    Headless.MovePointer(Away.X, Away.Y);
    Pump();
    PointAt(Long);
    ASSERT_TRUE(Tip());
    HWND Left = Tip();
    delete T;
    Pump();
    EXPECT_FALSE(IsWindow(Left));
}
