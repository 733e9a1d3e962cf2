// The list box and TCustomListBox: searching, scroll information without
// bars, owner draw, events of the user and of code, the incremental search,
// sorting and re-creation.
#include "platform/forms/ListBoxes.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

#include <vector>

class ListBoxTest : public TStandardTest {
protected:
    TListBox* MakeList(TRect Bounds, std::vector<std::string> Items) {
        auto* L = Add<TListBox>(Bounds);
        L->SetBorderStyle(bsNone);
        for (const std::string& S : Items)
            L->Items()->Add(S);
        return L;
    }
    void Scroll(HWND Wnd, int Bar, int Code, int Pos = 0) {
        SendMessage(Wnd, Bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                    MAKEWPARAM(unsigned(Code), unsigned(Pos)), 0);
    }
    // The skinned list's way: no bars, no frame.
    void StripBars(HWND Wnd) {
        SetWindowLong(Wnd, GWL_STYLE,
                      GetWindowLong(Wnd, GWL_STYLE) & ~LONG_PTR(WS_VSCROLL | WS_HSCROLL));
        SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    SCROLLINFO Info(HWND Wnd, int Bar) {
        SCROLLINFO SI;
        SI.fMask = SIF_ALL;
        GetScrollInfo(Wnd, Bar, &SI);
        return SI;
    }
};

TEST_F(ListBoxTest, FindStringMatchesPrefixesWithoutCaseAfterTheStartAndWraps) {
    TListBox* L = MakeList(Bounds(10, 10, 120, 100), {"Beta", "alpha", "Alpha2", "beta2"});
    HWND W = L->Handle();
    struct {
        int After;
        const char* Text;
        UINT Msg;
        LRESULT Expected;
    } Cases[] = {
        {0, "b", LB_FINDSTRING, 3},          {3, "b", LB_FINDSTRING, 0},
        {-1, "ALP", LB_FINDSTRING, 1},       {-1, "alpha", LB_FINDSTRINGEXACT, 1},
        {1, "alpha", LB_FINDSTRINGEXACT, 1}, {-1, "gamma", LB_FINDSTRING, LB_ERR},
        {99, "beta", LB_FINDSTRING, 0},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(SendMessage(W, C.Msg, WPARAM(C.After), LPARAM(C.Text)), C.Expected)
            << C.Text << " after " << C.After;
    // Errors answer LB_ERR and change nothing.
    EXPECT_EQ(SendMessage(W, LB_DELETESTRING, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessage(W, LB_GETTEXTLEN, WPARAM(-1), 0), LB_ERR);
    EXPECT_EQ(L->Count(), 4);
    EXPECT_THROW(L->Items()->Strings(4), EListError);
    EXPECT_THROW(L->Selected(7), EListError);
}

TEST_F(ListBoxTest, ScrollInformationIsPublishedWithoutScrollBars) {
    auto* L = Add<TListBox>(Bounds(10, 10, 120, 100));
    L->SetBorderStyle(bsNone);
    L->SetStyle(lbOwnerDrawFixed);
    L->SetItemHeight(20);
    HWND W = L->Handle();
    StripBars(W);
    L->Items()->Add("only");
    SCROLLINFO SI = Info(W, SB_VERT);
    EXPECT_EQ(SI.nMin, 0);
    EXPECT_EQ(SI.nMax, 0);
    for (int I = 1; I < 20; ++I)
        L->Items()->Add("item " + std::to_string(I));
    SI = Info(W, SB_VERT);
    EXPECT_EQ(SI.nMax, 19);
    EXPECT_EQ(SI.nPage, 5u);
    EXPECT_EQ(SI.nPos, 0);
    Scroll(W, SB_VERT, SB_THUMBPOSITION, 7);
    EXPECT_EQ(L->TopIndex(), 7);
    EXPECT_EQ(Info(W, SB_VERT).nPos, 7);
    Scroll(W, SB_VERT, SB_LINEUP);
    EXPECT_EQ(L->TopIndex(), 6);
    Scroll(W, SB_VERT, SB_BOTTOM);
    EXPECT_EQ(L->TopIndex(), 15);
    L->SetTopIndex(2);
    EXPECT_EQ(Info(W, SB_VERT).nPos, 2);
    TRect Client;
    GetClientRect(W, &Client);
    EXPECT_EQ(Client, (TRect{0, 0, 120, 100}));
    EXPECT_FALSE(GetWindowLong(W, GWL_STYLE) & WS_VSCROLL);
    // Item rectangles and hits in client coordinates.
    TRect R = L->ItemRect(3);
    EXPECT_EQ(R, (TRect{0, 20, 120, 40}));
    EXPECT_EQ(L->ItemAtPos({5, 25}, true), 3);
    EXPECT_EQ(L->ItemAtPos({5, 150}, true), -1);
    EXPECT_EQ(L->ItemAtPos({5, 150}, false), 20);
    EXPECT_EQ(LOWORD(SendMessage(W, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 45))), 4);
}

TEST_F(ListBoxTest, MultiColumnScrollInformationCountsColumns) {
    auto* L = Add<TListBox>(Bounds(10, 10, 200, 200));
    L->SetBorderStyle(bsNone);
    L->SetStyle(lbOwnerDrawFixed);
    L->SetItemHeight(20);
    L->SetColumns(2);
    HWND W = L->Handle();
    StripBars(W);
    for (int I = 0; I < 30; ++I)
        L->Items()->Add("item " + std::to_string(I));
    SCROLLINFO SI = Info(W, SB_HORZ);
    EXPECT_EQ(SI.nMin, 0);
    EXPECT_EQ(SI.nMax, 2);
    EXPECT_EQ(SI.nPage, 2u);
    EXPECT_EQ(L->ItemRect(12), (TRect{100, 40, 200, 60}));
    Scroll(W, SB_HORZ, SB_LINERIGHT);
    EXPECT_EQ(Info(W, SB_HORZ).nPos, 1);
    EXPECT_EQ(L->TopIndex(), 10);
}

TEST_F(ListBoxTest, OwnerDrawItemsAreDrawnWithTheirState) {
    auto* L = Add<TListBox>(Bounds(10, 10, 120, 100));
    L->SetStyle(lbOwnerDrawFixed);
    for (const char* S : {"a", "b", "c"})
        L->Items()->Add(S);
    struct TDrawn {
        int Index;
        TOwnerDrawState State;
    };
    std::vector<TDrawn> Drawn;
    L->OnDrawItem = [&](TWinControl*, int Index, TRect, TOwnerDrawState State) {
        Drawn.push_back({Index, State});
    };
    ShowForm();
    L->SetFocus();
    L->SetItemIndex(0);
    Pump();
    Drawn.clear();
    Key(VK_DOWN);
    ASSERT_EQ(L->ItemIndex(), 1);
    bool OldPlain = false, NewSelected = false;
    for (const TDrawn& D : Drawn) {
        if (D.Index == 0)
            OldPlain = !D.State.Contains(odSelected) && !D.State.Contains(odFocused);
        if (D.Index == 1)
            NewSelected = D.State == TOwnerDrawState{odSelected, odFocused};
    }
    EXPECT_TRUE(OldPlain);
    EXPECT_TRUE(NewSelected);
}

TEST_F(ListBoxTest, ClicksComeFromTheUserOnly) {
    TListBox* L = MakeList(Bounds(10, 10, 120, 100), {"a", "b", "c", "d", "e"});
    int Clicks = 0, DoubleClicks = 0;
    L->OnClick = [&](TObject*) { ++Clicks; };
    L->OnDblClick = [&](TObject*) { ++DoubleClicks; };
    ShowForm();
    L->SetItemIndex(2);
    EXPECT_EQ(Clicks, 0);
    TRect R = L->ItemRect(3);
    Click(L, 5, R.Top + 2);
    EXPECT_EQ(L->ItemIndex(), 3);
    EXPECT_EQ(Clicks, 1);
    // The same item again: no change, no click.
    Click(L, 5, R.Top + 2);
    EXPECT_EQ(Clicks, 1);
    TPoint P = ScreenOf(L, 5, R.Top + 2);
    Clock.Advance(1000);
    Headless.DoubleClick(P.X, P.Y);
    Pump();
    EXPECT_EQ(DoubleClicks, 1);
    Key(VK_END);
    EXPECT_EQ(L->ItemIndex(), 4);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(ListBoxTest, AutoCompleteBuildsAPrefixWhileKeysComeQuickly) {
    TListBox* L = MakeList(Bounds(10, 10, 120, 100), {"Beta", "alpha", "Alpha2", "beta2", "best"});
    int Clicks = 0;
    L->OnClick = [&](TObject*) { ++Clicks; };
    ShowForm();
    L->SetFocus();
    Pump();
    Type("b");
    EXPECT_EQ(L->ItemIndex(), 0);
    Clock.Advance(100);
    Type("e");
    EXPECT_EQ(L->ItemIndex(), 0);
    Clock.Advance(100);
    Type("s");
    EXPECT_EQ(L->Items()->Strings(L->ItemIndex()), "best");
    EXPECT_EQ(Clicks, 3);
    // A pause starts a new prefix, searched after the current item.
    L->SetItemIndex(0);
    Clock.Advance(600);
    Type("b");
    EXPECT_EQ(L->ItemIndex(), 3);
}

TEST_F(ListBoxTest, WithoutAWindowTheSelectionFollowsTheWindowsRules) {
    // A list whose window is not made yet (a hidden drop-down) answers as
    // its window would: nothing chosen outside the items or after a reset.
    TListBox Detached(nullptr);
    for (const char* S : {"a", "b", "c"})
        Detached.Items()->Add(S);
    ASSERT_FALSE(Detached.HandleAllocated());
    const struct { int Set, Expected; } Rows[] = {{1, 1}, {7, -1}, {2, 2}, {-5, -1}, {3, -1}};
    for (auto Row : Rows) {
        Detached.SetItemIndex(Row.Set);
        EXPECT_EQ(Detached.ItemIndex(), Row.Expected) << Row.Set;
    }
    Detached.SetItemIndex(1);
    Detached.Items()->Clear();
    EXPECT_EQ(Detached.ItemIndex(), -1);
    Detached.Items()->Add("x");
    EXPECT_EQ(Detached.ItemIndex(), -1);
}

TEST_F(ListBoxTest, SortingRecreatesTheWindowAndKeepsTheItems) {
    TObject Tag;
    TListBox* L = MakeList(Bounds(10, 10, 120, 100), {"delta", "Charlie", "bravo", "Alpha"});
    L->Items()->SetObjects(1, &Tag);
    ShowForm();
    HWND Before = L->Handle();
    L->SetItemIndex(1);
    L->SetSorted(true);
    EXPECT_NE(L->Handle(), Before);
    EXPECT_TRUE(GetWindowLong(L->Handle(), GWL_STYLE) & LBS_SORT);
    ASSERT_EQ(L->Count(), 4);
    EXPECT_EQ(L->Items()->Text(), "Alpha\r\nbravo\r\nCharlie\r\ndelta\r\n");
    EXPECT_EQ(L->Items()->Objects(2), &Tag);
    EXPECT_EQ(L->ItemIndex(), 2);
    L->Items()->Add("bz");
    EXPECT_EQ(L->Items()->IndexOf("bz"), 2);

    // Extended selection survives as items; Selected and SelCount follow.
    L->SetMultiSelect(true);
    L->SetSelected(0, true);
    L->SetSelected(3, true);
    EXPECT_EQ(L->SelCount(), 2);
    EXPECT_TRUE(L->Selected(3));
    EXPECT_EQ(L->Count(), 5);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndCtrl) {
    TListBox* L = MakeList(Bounds(10, 10, 120, 150), {"a", "b", "c", "d", "e", "f"});
    L->SetMultiSelect(true);
    ShowForm();
    int H = L->ItemRect(0).Height();
    Click(L, 5, H / 2);
    Headless.KeyDown(VK_SHIFT);
    Click(L, 5, 3 * H + H / 2);
    Headless.KeyUp(VK_SHIFT);
    EXPECT_EQ(L->SelCount(), 4);
    Headless.KeyDown(VK_CONTROL);
    Click(L, 5, H + H / 2);
    Click(L, 5, 5 * H + H / 2);
    Headless.KeyUp(VK_CONTROL);
    Pump();
    EXPECT_FALSE(L->Selected(1));
    EXPECT_TRUE(L->Selected(5));
    EXPECT_EQ(L->SelCount(), 4);
}

TEST_F(ListBoxTest, AParentThatWantsTheKeysDecidesWhatTheyDo) {
    TListBox* L = MakeList(Bounds(10, 10, 120, 100), {"a", "b", "c", "d", "e"});
    ShowForm();
    HWND W = L->Handle();
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | LBS_WANTKEYBOARDINPUT));
    L->SetFocus();
    L->SetItemIndex(1);
    LRESULT Answer = -1;
    std::vector<std::pair<int, int>> Asked; // key, caret
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == WM_VKEYTOITEM && HWND(M.LParam) == W) {
            Asked.emplace_back(LOWORD(M.WParam), HIWORD(M.WParam));
            M.Result = Answer;
            return;
        }
        Old(M);
    };
    struct TCase {
        LRESULT Answer;
        int Expected; // ItemIndex after Down from 1
    } const Cases[] = {{-1, 2}, {-2, 1}, {4, 4}, {99, 1}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Answer);
        L->SetItemIndex(1);
        Asked.clear();
        Answer = C.Answer;
        Key(VK_DOWN);
        EXPECT_EQ(Asked, (std::vector<std::pair<int, int>>{{VK_DOWN, 1}}));
        EXPECT_EQ(L->ItemIndex(), C.Expected);
    }
}

// A parent that leaves the question to the default procedure lets the list
// box act on the key itself, rather than jump to the first item.
TEST_F(ListBoxTest, AParentThatIgnoresTheKeysLetsTheListBoxAct) {
    TListBox* L = MakeList(Bounds(10, 10, 120, 100), {"a", "b", "c", "d", "e"});
    ShowForm();
    HWND W = L->Handle();
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | LBS_WANTKEYBOARDINPUT));
    L->SetFocus();
    L->SetItemIndex(1);
    Key(VK_DOWN);
    EXPECT_EQ(L->ItemIndex(), 2);
}

TEST_F(ListBoxTest, AnOwnerDrawnListWithoutStringsAsksTheParentForTypedCharacters) {
    auto* L = Add<TListBox>(Bounds(10, 10, 120, 100));
    L->SetStyle(lbOwnerDrawFixed);
    for (const char* S : {"a", "b", "c"})
        L->Items()->Add(S);
    ShowForm();
    HWND W = L->Handle();
    SetWindowLong(W, GWL_STYLE,
                  LONG((GetWindowLong(W, GWL_STYLE) | LBS_WANTKEYBOARDINPUT) & ~LBS_HASSTRINGS));
    L->SetFocus();
    std::vector<int> Chars;
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == WM_CHARTOITEM && HWND(M.LParam) == W) {
            Chars.push_back(LOWORD(M.WParam));
            M.Result = 2;
            return;
        }
        if (M.Msg == WM_VKEYTOITEM) {
            M.Result = -1;
            return;
        }
        Old(M);
    };
    Type("x");
    EXPECT_EQ(Chars, std::vector<int>{'x'});
    EXPECT_EQ(L->ItemIndex(), 2);
}

TEST_F(ListBoxTest, OwnerDrawingIsToldWhetherTheSelectionTheFocusOrEverythingChanged) {
    auto* L = Add<TListBox>(Bounds(10, 10, 120, 100));
    L->SetStyle(lbOwnerDrawFixed);
    for (const char* S : {"a", "b", "c"})
        L->Items()->Add(S);
    auto* Other = Add<TListBox>(Bounds(200, 10, 120, 100));
    struct TDrawn {
        UINT Item, Action, State;
        bool operator==(const TDrawn&) const = default;
    };
    std::vector<TDrawn> Drawn;
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == WM_DRAWITEM) {
            auto* DIS = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
            if (DIS->hwndItem == L->Handle())
                Drawn.push_back({DIS->itemID, DIS->itemAction, DIS->itemState});
        }
        Old(M);
    };
    ShowForm();
    L->SetFocus();
    L->SetItemIndex(0);
    Pump();

    Drawn.clear();
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(Drawn,
              (std::vector<TDrawn>{{0, ODA_SELECT, 0}, {1, ODA_SELECT, ODS_SELECTED | ODS_FOCUS}}));

    Drawn.clear();
    Other->SetFocus();
    Pump();
    EXPECT_EQ(Drawn, (std::vector<TDrawn>{{1, ODA_FOCUS, ODS_SELECTED}}));

    Drawn.clear();
    InvalidateRect(L->Handle(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(Drawn, (std::vector<TDrawn>{{0, ODA_DRAWENTIRE, 0},
                                          {1, ODA_DRAWENTIRE, ODS_SELECTED},
                                          {2, ODA_DRAWENTIRE, 0}}));
}
