// The list view, its header and TCustomListView: the job table's layout and
// scroll information, the header's divider zones and limits, selection
// events, owner data, label editing, scrolling, the list view style, the
// header's creation and sorting.
#include "platform/forms/ListViews.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

#include <set>
#include <vector>

class ListViewTest : public TStandardTest {
protected:
    TListView* MakeView(TViewStyle Style) {
        auto* V = Add<TListView>(Bounds(10, 10, 300, 200));
        V->SetViewStyle(Style);
        return V;
    }
    // The skinned views' way: no bars.
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
    int RowHeight(HWND Wnd) {
        TRect R;
        R.Left = LVIR_BOUNDS;
        SendMessage(Wnd, LVM_GETITEMRECT, 0, LPARAM(&R));
        return R.Height();
    }
    int HeaderHeight(HWND Wnd) {
        TRect R;
        GetWindowRect(HWND(SendMessage(Wnd, LVM_GETHEADER, 0, 0)), &R);
        return R.Height();
    }
    // The job table: 25 columns, the last 17 hidden with maximum width 1,
    // and 30 rows of which 10 fit.
    TListView* MakeJobTable() {
        TListView* V = MakeView(vsReport);
        const int Widths[] = {80, 70, 70, 80, 70, 0, 80, 80};
        for (int I = 0; I < 25; ++I) {
            TListColumn* C = V->Columns()->Add();
            C->SetCaption("列" + std::to_string(I));
            C->SetWidth(I < 8 ? Widths[I] : 0);
            if (I == 5 || I >= 8)
                C->SetMaxWidth(1);
        }
        for (int I = 0; I < 30; ++I) {
            TListItem* Item = V->Items()->Add();
            Item->SetCaption("文件" + std::to_string(I));
            for (int S = 1; S < 25; ++S)
                Item->SubItems()->Add("r" + std::to_string(I) + "c" + std::to_string(S));
        }
        HWND W = V->Handle();
        StripBars(W);
        V->SetClientSize(600, HeaderHeight(W) + 10 * RowHeight(W) + RowHeight(W) / 2);
        return V;
    }
};

TEST_F(ListViewTest, TheJobTableLaysOutItsColumnsAndPublishesScrollInformation) {
    TListView* V = MakeJobTable();
    HWND W = V->Handle();
    HWND Header = HWND(SendMessage(W, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(Header);
    EXPECT_EQ(SendMessage(Header, HDM_GETITEMCOUNT, 0, 0), 25);
    const int Lefts[] = {0, 80, 150, 220, 300, 370, 370, 450, 530};
    for (int I = 0; I < 9; ++I) {
        TRect R;
        SendMessage(Header, HDM_GETITEMRECT, WPARAM(I), LPARAM(&R));
        EXPECT_EQ(R.Left, Lefts[I]) << "column " << I;
    }
    EXPECT_EQ(SendMessage(W, LVM_GETCOUNTPERPAGE, 0, 0), 10);
    SCROLLINFO SI = Info(W, SB_VERT);
    EXPECT_EQ(SI.nMin, 0);
    EXPECT_EQ(SI.nMax, 29);
    EXPECT_EQ(SI.nPage, 10u);
    SI = Info(W, SB_HORZ);
    EXPECT_EQ(SI.nMax, 529);
    // The page is the client width, kept within the range by the window system.
    EXPECT_EQ(SI.nPage, 530u);

    // Bad indices answer the error values and change nothing.
    TRect R;
    R.Left = LVIR_BOUNDS;
    EXPECT_FALSE(SendMessage(W, LVM_GETITEMRECT, 30, LPARAM(&R)));
    EXPECT_FALSE(SendMessage(W, LVM_DELETEITEM, WPARAM(-1), 0));
    EXPECT_FALSE(SendMessage(W, LVM_DELETECOLUMN, 25, 0));
    EXPECT_THROW(V->Items()->Item(30), EListError);
    EXPECT_EQ(V->Items()->Count(), 30);

    // The items, columns and selection survive re-creation.
    V->Items()->Item(4)->SetSelected(true);
    V->SetGridLines(true);
    V->SetShowColumnHeaders(false);
    V->SetShowColumnHeaders(true);
    EXPECT_EQ(V->Items()->Count(), 30);
    EXPECT_EQ(V->Columns()->Count(), 25);
    EXPECT_EQ(SendMessage(V->Handle(), LVM_GETCOLUMNWIDTH, 3, 0), 80);
    EXPECT_EQ(V->Selected(), V->Items()->Item(4));
    EXPECT_EQ(V->Items()->Item(7)->SubItems()->Strings(2), "r7c3");
}

TEST_F(ListViewTest, HeaderHitTestingFindsDividersAndZeroWidthColumns) {
    TListView* V = MakeJobTable();
    HWND Header = HWND(SendMessage(V->Handle(), LVM_GETHEADER, 0, 0));
    struct {
        int X;
        UINT Flags;
        int Item;
    } Cases[] = {
        {76, HHT_ONDIVIDER, 0},  {84, HHT_ONDIVIDER, 0},    {115, HHT_ONHEADER, 1},
        {367, HHT_ONDIVIDER, 4}, {373, HHT_ONDIVOPENED, 5}, {500, HHT_ONHEADER, 7},
        {580, HHT_NOWHERE, -1},
    };
    for (const auto& C : Cases) {
        HDHITTESTINFO Hit;
        Hit.pt = {C.X, 5};
        EXPECT_EQ(SendMessage(Header, HDM_HITTEST, 0, LPARAM(&Hit)), C.Item) << "x " << C.X;
        EXPECT_EQ(Hit.flags, C.Flags) << "x " << C.X;
    }

    // Dragging the divider of hidden column 5 cannot open it beyond its limit.
    ShowForm();
    TPoint P{373, 5};
    ClientToScreen(Header, &P);
    Headless.MovePointer(P.X, P.Y);
    Headless.Press();
    Pump();
    Headless.MovePointer(P.X + 50, P.Y);
    Pump();
    Headless.Release();
    Pump();
    EXPECT_LE(V->Column(5)->Width(), 1);
    EXPECT_LE(SendMessage(V->Handle(), LVM_GETCOLUMNWIDTH, 5, 0), 1);
    // An ordinary column follows the drag.
    TPoint Q{150, 5};
    ClientToScreen(Header, &Q);
    Headless.MovePointer(Q.X - 2, Q.Y);
    Headless.Press();
    Pump();
    Headless.MovePointer(Q.X + 18, Q.Y);
    Pump();
    Headless.Release();
    Pump();
    EXPECT_EQ(V->Column(1)->Width(), 90);
    EXPECT_EQ(Info(V->Handle(), SB_HORZ).nMax, 549 + V->Column(5)->Width());

    // With drag and drop of sections, column 0 dragged behind column 2.
    SendMessage(V->Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP,
                LVS_EX_HEADERDRAGDROP);
    TPoint From{40, 5}, To{200, 5};
    ClientToScreen(Header, &From);
    ClientToScreen(Header, &To);
    Clock.Advance(1000);
    Headless.MovePointer(From.X, From.Y);
    Headless.Press();
    Pump();
    Headless.MovePointer(To.X, To.Y);
    Pump();
    Headless.Release();
    Pump();
    std::vector<int> Order(25);
    SendMessage(V->Handle(), LVM_GETCOLUMNORDERARRAY, 25, LPARAM(Order.data()));
    EXPECT_EQ(std::vector<int>(Order.begin(), Order.begin() + 4), (std::vector<int>{1, 2, 0, 3}));
    TRect Moved;
    SendMessage(Header, HDM_GETITEMRECT, 0, LPARAM(&Moved));
    EXPECT_EQ(Moved.Left, 160);
}

TEST_F(ListViewTest, SelectionInCodeReportsTheItemLosingAndTheItemGaining) {
    TListView* V = MakeJobTable();
    V->Items()->Item(2)->SetSelected(true);
    std::vector<std::pair<int, bool>> Selects;
    int Changes = 0;
    V->OnSelectItem = [&](TObject*, TListItem* Item, bool Selected) {
        Selects.push_back({Item->Index(), Selected});
    };
    V->OnChange = [&](TObject*, TListItem*, TItemChange) { ++Changes; };
    V->SetSelected(V->Items()->Item(5));
    ASSERT_EQ(Selects.size(), 2u);
    EXPECT_EQ(Selects[0], std::make_pair(2, false));
    EXPECT_EQ(Selects[1], std::make_pair(5, true));
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(V->ItemIndex(), 5);

    // A sub-item changed later shows in its cell; the other cells stay.
    V->Items()->Item(5)->SubItems()->SetStrings(3, "45%");
    char Buffer[64];
    LVITEM LV;
    LV.pszText = Buffer;
    LV.cchTextMax = 64;
    for (int S = 1; S < 25; ++S) {
        LV.iSubItem = S;
        SendMessage(V->Handle(), LVM_GETITEMTEXT, 5, LPARAM(&LV));
        EXPECT_EQ(std::string(Buffer), S == 4 ? "45%" : "r5c" + std::to_string(S));
    }
}

TEST_F(ListViewTest, OwnerDataAsksOnlyForWhatIsShownAndFindsThroughTheParent) {
    TListView* V = MakeView(vsReport);
    V->Columns()->Add()->SetWidth(100);
    V->Columns()->Add()->SetWidth(100);
    V->SetOwnerData(true);
    std::set<int> Asked;
    V->OnData = [&](TObject*, TListItem* Item) {
        Asked.insert(Item->Index());
        Item->SetCaption("item " + std::to_string(Item->Index()));
        Item->SubItems()->Add("sub");
    };
    V->Items()->SetCount(100000);
    ShowForm();
    EXPECT_EQ(V->Items()->Count(), 100000);
    ASSERT_FALSE(Asked.empty());
    int PerPage = V->VisibleRowCount();
    EXPECT_LE(int(Asked.size()), PerPage + 1);
    EXPECT_LE(*Asked.rbegin(), PerPage);
    EXPECT_EQ(V->Items()->Item(77)->Caption(), "item 77");

    // Type-ahead goes to the parent's find with the prefix and start.
    struct TFind {
        TItemFind Find;
        std::string Text;
        int Start;
        bool Wrap;
    };
    std::vector<TFind> Finds;
    V->OnDataFind = [&](TObject*, TItemFind Find, const std::string& S, const TPoint&, void*,
                        int Start, TSearchDirection, bool Wrap, int& Index) {
        Finds.push_back({Find, S, Start, Wrap});
        Index = S == "ab" ? 42 : -1;
    };
    V->SetFocus();
    V->Items()->Item(10)->SetFocused(true);
    Pump();
    Type("a");
    Clock.Advance(100);
    Type("b");
    ASSERT_EQ(Finds.size(), 2u);
    EXPECT_EQ(Finds[1].Find, ifPartialString);
    EXPECT_EQ(Finds[1].Text, "ab");
    EXPECT_EQ(Finds[1].Start, 10);
    EXPECT_TRUE(Finds[1].Wrap);
    EXPECT_EQ(SendMessage(V->Handle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 42);
}

TEST_F(ListViewTest, LabelEditingAcceptsCancelsAndAcceptsOnFocusLoss) {
    TListView* V = MakeView(vsReport);
    V->Columns()->Add()->SetWidth(150);
    for (int I = 0; I < 5; ++I)
        V->Items()->Add()->SetCaption("item" + std::to_string(I));
    auto* Other = Add<TListView>(Bounds(10, 250, 100, 50));
    int Editing = 0;
    std::vector<std::string> Edited;
    V->OnEditing = [&](TObject*, TListItem*, bool&) { ++Editing; };
    V->OnEdited = [&](TObject*, TListItem*, std::string& S) { Edited.push_back(S); };
    ShowForm();
    HWND W = V->Handle();

    HWND Editor = HWND(SendMessage(W, LVM_EDITLABEL, 3, 0));
    ASSERT_TRUE(Editor);
    EXPECT_EQ(HWND(SendMessage(W, LVM_GETEDITCONTROL, 0, 0)), Editor);
    EXPECT_EQ(GetFocus(), Editor);
    TRect Label, EditorRect;
    Label.Left = LVIR_LABEL;
    SendMessage(W, LVM_GETITEMRECT, 3, LPARAM(&Label));
    GetWindowRect(Editor, &EditorRect);
    TPoint LabelTop = Label.TopLeft();
    ClientToScreen(W, &LabelTop);
    EXPECT_EQ(EditorRect.Top, LabelTop.Y);
    Type("new");
    Key(VK_RETURN, "\r");
    EXPECT_EQ(Editing, 1);
    ASSERT_EQ(Edited.size(), 1u);
    EXPECT_EQ(Edited[0], "new");
    EXPECT_EQ(V->Items()->Item(3)->Caption(), "new");
    EXPECT_FALSE(V->IsEditing());

    V->Items()->Item(3)->EditCaption();
    Type("gone");
    Key(VK_ESCAPE, "\x1B");
    EXPECT_EQ(V->Items()->Item(3)->Caption(), "new");
    EXPECT_EQ(Edited.size(), 1u);

    V->Items()->Item(3)->EditCaption();
    Type("kept");
    Other->SetFocus();
    Pump();
    EXPECT_EQ(V->Items()->Item(3)->Caption(), "kept");

    // The edited item deleted meanwhile: the edit ends as cancelled.
    V->Items()->Item(2)->EditCaption();
    HWND Gone = HWND(SendMessage(W, LVM_GETEDITCONTROL, 0, 0));
    V->Items()->Delete(2);
    EXPECT_FALSE(IsWindow(Gone));
    EXPECT_FALSE(V->IsEditing());
    EXPECT_EQ(V->Items()->Count(), 4);

    // A view freed while editing takes its editor with it.
    V->Items()->Item(0)->EditCaption();
    HWND Last = HWND(SendMessage(W, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(Last);
    delete V;
    Pump();
    EXPECT_FALSE(IsWindow(Last));
    EXPECT_FALSE(IsWindow(W));
}

TEST_F(ListViewTest, ScrollingRoundsToRowsAndTheListStyleScrollsByColumns) {
    TListView* V = MakeJobTable();
    HWND W = V->Handle();
    int Row = RowHeight(W);
    V->Scroll(0, 2 * Row + Row / 4);
    EXPECT_EQ(SendMessage(W, LVM_GETTOPINDEX, 0, 0), 2);
    EXPECT_EQ(Info(W, SB_VERT).nPos, 2);
    SendMessage(W, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
    EXPECT_EQ(V->TopItem(), V->Items()->Item(12));
    SendMessage(W, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessage(W, LVM_GETTOPINDEX, 0, 0), 20);

    // The list style: 30 items in columns of 6 rows make 5 columns, 2 fit.
    V->SetViewStyle(vsList);
    SendMessage(W, LVM_SETCOLUMNWIDTH, 0, 100);
    int ListRow = RowHeight(W);
    V->SetClientSize(250, 6 * ListRow + ListRow / 2);
    SCROLLINFO SI = Info(W, SB_HORZ);
    EXPECT_EQ(SI.nMax, 4);
    EXPECT_EQ(SI.nPage, 2u);
    EXPECT_EQ(SendMessage(W, LVM_GETCOUNTPERPAGE, 0, 0), 12);
    SendMessage(W, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(Info(W, SB_HORZ).nPos, 1);
    EXPECT_EQ(SendMessage(W, LVM_GETTOPINDEX, 0, 0), 6);
    EXPECT_FALSE(IsWindowVisible(HWND(SendMessage(W, LVM_GETHEADER, 0, 0))));
}

namespace {

LRESULT WidenHeader(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR) {
    if (Msg == WM_WINDOWPOSCHANGING) {
        auto* Pos = reinterpret_cast<WINDOWPOS*>(LParam);
        if (!(Pos->flags & SWP_NOSIZE))
            Pos->cx += 25;
    }
    return DefSubclassProc(Wnd, Msg, WParam, LParam);
}

class THeaderWatchingView : public TListView {
public:
    using TListView::TListView;
    std::vector<std::string> Created;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_PARENTNOTIFY && LOWORD(Message.WParam) == WM_CREATE) {
            auto Child = HWND(Message.LParam);
            char Name[64] = {};
            GetClassName(Child, Name, 64);
            Created.push_back(Name);
            if (std::string(Name) == "SysHeader32")
                SetWindowSubclass(Child, WidenHeader, 1, 0);
        }
        TListView::Dispatch(Message);
    }
};

} // namespace

TEST_F(ListViewTest, TheHeaderIsAChildThatASubclassCanPlace) {
    auto* V = Add<THeaderWatchingView>(Bounds(10, 10, 300, 200));
    V->SetViewStyle(vsReport);
    V->Columns()->Add()->SetWidth(100);
    HWND W = V->Handle();
    ASSERT_EQ(V->Created.size(), 1u);
    EXPECT_EQ(V->Created[0], "SysHeader32");
    HWND Header = HWND(SendMessage(W, LVM_GETHEADER, 0, 0));
    SetWindowPos(W, nullptr, 0, 0, 320, 200, SWP_NOMOVE | SWP_NOZORDER);
    TRect Client, HeaderRect;
    GetClientRect(W, &Client);
    GetWindowRect(Header, &HeaderRect);
    EXPECT_EQ(HeaderRect.Width(), Client.Width() + 25);

    // A view made in another style gets its header when switched to report.
    auto* Icons = Add<THeaderWatchingView>(Bounds(10, 220, 200, 100));
    Icons->HandleNeeded();
    EXPECT_TRUE(Icons->Created.empty());
    Icons->SetViewStyle(vsReport);
    ASSERT_EQ(Icons->Created.size(), 1u);
}

TEST_F(ListViewTest, AColumnClickIsReportedAndCustomSortOrdersTheRows) {
    TListView* V = MakeView(vsReport);
    V->Columns()->Add()->SetWidth(100);
    V->Columns()->Add()->SetWidth(100);
    for (int I = 0; I < 4; ++I) {
        TListItem* Item = V->Items()->Add();
        Item->SetCaption("row" + std::to_string(I));
        Item->SetData(reinterpret_cast<void*>(std::intptr_t(I)));
    }
    TListColumn* Clicked = nullptr;
    V->OnColumnClick = [&](TObject*, TListColumn* Column) { Clicked = Column; };
    ShowForm();
    HWND Header = HWND(SendMessage(V->Handle(), LVM_GETHEADER, 0, 0));
    TPoint P{150, 5};
    ClientToScreen(Header, &P);
    Clock.Advance(1000);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Clicked, V->Column(1));

    V->CustomSort(
        [](LPARAM A, LPARAM B, LPARAM) {
            auto X = std::intptr_t(reinterpret_cast<TListItem*>(A)->Data());
            auto Y = std::intptr_t(reinterpret_cast<TListItem*>(B)->Data());
            return int(Y - X);
        },
        0);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(V->Items()->Item(I)->Caption(), "row" + std::to_string(3 - I));
    char Buffer[32];
    LVITEM LV;
    LV.pszText = Buffer;
    LV.cchTextMax = 32;
    SendMessage(V->Handle(), LVM_GETITEMTEXT, 0, LPARAM(&LV));
    EXPECT_EQ(std::string(Buffer), "row3");

    // Clicks select; Shift extends in a multiple-selection view.
    V->SetMultiSelect(true);
    V->SetFocus();
    TRect R;
    R.Left = LVIR_LABEL;
    SendMessage(V->Handle(), LVM_GETITEMRECT, 1, LPARAM(&R));
    Click(V, R.Left + 5, R.Top + 2);
    Headless.KeyDown(VK_SHIFT);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Headless.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(V->SelCount(), 3);
}

namespace {

// A list of one 16 x 16 image of a single colour.
void FillOne(TImageList& Images, TColor Colour) {
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(16, 16);
    Picture.Canvas()->Brush()->SetColor(Colour);
    Picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    Images.Add(&Picture, nullptr);
}

} // namespace

TEST_F(ListViewTest, StateAndSubItemImagesAreDrawnBeforeTheIconAndInTheirCells) {
    TImageList Small(nullptr), States(nullptr);
    FillOne(Small, clRed);
    FillOne(Small, clBlue);
    FillOne(States, clLime);
    TListView* V = MakeView(vsReport);
    V->SetSmallImages(&Small);
    V->SetStateImages(&States);
    for (int W : {100, 100}) {
        TListColumn* C = V->Columns()->Add();
        C->SetWidth(W);
    }
    // The first row gets its images before the window exists, the second after.
    std::vector<TListItem*> Rows;
    for (const char* S : {"甲", "乙"}) {
        TListItem* Item = V->Items()->Add();
        Item->SetCaption(S);
        Item->SubItems()->Add("x");
        Item->SetImageIndex(0);
        Rows.push_back(Item);
    }
    Rows[0]->SetStateIndex(0);
    Rows[0]->SetSubItemImages(0, 1);
    ShowForm();
    Rows[1]->SetStateIndex(0);
    Rows[1]->SetSubItemImages(0, 1);

    HWND W = V->Handle();
    TRect Client;
    GetClientRect(W, &Client);
    TTestBitmap Bitmap(Client.Width(), Client.Height(), RGB(255, 255, 255));
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    for (int Row = 0; Row < 2; ++Row) {
        SCOPED_TRACE(Row);
        TRect Icon = Rows[std::size_t(Row)]->DisplayRect(drIcon);
        int Y = (Icon.Top + Icon.Bottom) / 2;
        EXPECT_EQ(Icon.Left, 2 + 16) << "no room for the state image";
        EXPECT_EQ(Bitmap.Pixel(Icon.Left - 8, Y), 0x00FF00u) << "state image";
        EXPECT_EQ(Bitmap.Pixel(Icon.Left + 8, Y), 0xFF0000u) << "icon";
        EXPECT_EQ(Bitmap.Pixel(100 + 2 + 8, Y), 0x0000FFu) << "sub-item image";
    }
    V->SetSmallImages(nullptr);
    V->SetStateImages(nullptr);
}

TEST_F(ListViewTest, ADividerDoubleClickAndAutoSizeFitAColumnToItsTextsWithinItsLimits) {
    TListView* V = MakeView(vsReport);
    for (int I = 0; I < 3; ++I) {
        TListColumn* C = V->Columns()->Add();
        C->SetCaption("列");
        C->SetWidth(I < 2 ? 40 : 0);
        if (I == 2)
            C->SetMaxWidth(1);
    }
    const std::string Long = "一个很长很长的视频文件名称.mp4";
    for (const std::string& S : {std::string("短"), Long}) {
        TListItem* Item = V->Items()->Add();
        Item->SetCaption(S);
        Item->SubItems()->Add(S + S);
        Item->SubItems()->Add(S);
    }
    ShowForm();
    HWND W = V->Handle();
    HWND Header = HWND(SendMessage(W, LVM_GETHEADER, 0, 0));
    auto TextWidth = [&](const std::string& S) {
        return int(SendMessage(W, LVM_GETSTRINGWIDTH, 0, LPARAM(S.c_str())));
    };

    SendMessage(Header, WM_LBUTTONDBLCLK, 0, MAKELPARAM(38, 5));
    EXPECT_GE(V->Column(0)->Width(), TextWidth(Long));
    EXPECT_LT(V->Column(0)->Width(), TextWidth(Long) + 40);
    EXPECT_EQ(V->Column(1)->Width(), 40);

    // The divider after column 1 opens the hidden column 2 on its right half:
    // its maximum width holds.
    int Right = V->Column(0)->Width() + 40;
    SendMessage(Header, WM_LBUTTONDBLCLK, 0, MAKELPARAM(Right + 3, 5));
    EXPECT_LE(V->Column(2)->Width(), 1);

    V->Column(1)->SetAutoSize(true);
    EXPECT_GE(V->Column(1)->Width(), TextWidth(Long + Long));
}

TEST_F(ListViewTest, HotTrackingShowsTheItemUnderThePointerAndChoosesItWhenItRests) {
    TListView* V = MakeView(vsReport);
    V->SetHotTrack(true);
    V->Columns()->Add()->SetWidth(200);
    for (const char* S : {"甲", "乙", "丙"})
        V->Items()->Add()->SetCaption(S);
    std::vector<std::string> Chosen;
    V->OnSelectItem = [&](TObject*, TListItem* Item, bool Selected) {
        if (Selected)
            Chosen.push_back(Item->Caption());
    };
    ShowForm();
    HWND W = V->Handle();
    TRect Label = V->Items()->Item(1)->DisplayRect(drLabel);
    auto MoveTo = [&](int X, int Y) {
        TPoint P = ScreenOf(V, X, Y);
        Headless.MovePointer(P.X, P.Y);
        Pump();
    };
    MoveTo(Label.Left + 4, (Label.Top + Label.Bottom) / 2);

    TRect Client;
    GetClientRect(W, &Client);
    TTestBitmap Bitmap(Client.Width(), Client.Height(), RGB(255, 255, 255));
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    int Hot = 0;
    for (int Y = Label.Top; Y < Label.Bottom; ++Y)
        for (int X = Label.Left; X < Label.Right; ++X) {
            std::uint32_t C = Bitmap.Pixel(X, Y);
            Hot += int(C & 0xFF) > int(C >> 16) + 60;
        }
    EXPECT_GT(Hot, 5) << "the hot item's text is not in the hot colour";

    EXPECT_TRUE(Chosen.empty());
    Headless.RunUntil(Clock.Now() + 500);
    EXPECT_EQ(Chosen, std::vector<std::string>{"乙"});
    // Leaving before the time is up chooses nothing.
    Label = V->Items()->Item(2)->DisplayRect(drLabel);
    MoveTo(Label.Left + 4, Label.Top + 4);
    MoveTo(-50, -50);
    Headless.RunUntil(Clock.Now() + 500);
    EXPECT_EQ(Chosen, std::vector<std::string>{"乙"});
}
