// The skinned tree and list views: their external bars kept in step with the
// hidden native scroll information, bar-to-view scrolling, the skin's font
// and colours, and the subclassed column header.
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

namespace {

class TViewsTest : public TButtonsTest {
protected:
    TbsSkinListView* MakeReport(int Rows, int Height = 0) {
        auto* V = new TbsSkinListView(Form);
        V->SetParent(Form);
        V->SetViewStyle(vsReport);
        for (const char* C : {"Name", "Size", "State"}) {
            TListColumn* Col = V->Columns()->Add();
            Col->SetCaption(C);
            Col->SetWidth(80);
        }
        for (int I = 0; I < Rows; ++I)
            V->Items()->Add()->SetCaption("row " + std::to_string(I));
        VBar = new TbsSkinScrollBar(Form);
        VBar->SetParent(Form);
        VBar->SetKind(sbVertical);
        VBar->SetBounds(300, 10, 19, 200);
        HBar = new TbsSkinScrollBar(Form);
        HBar->SetParent(Form);
        HBar->SetBounds(10, 300, 280, 19);
        V->SetBounds(10, 10, 280, 100);
        Pump();
        // Ten rows fit when the height is the header plus ten rows.
        const int Row = RowHeight(V);
        V->SetHeight(Height ? Height : HeaderHeight(V) + 10 * Row + Row / 2);
        V->SetVScrollBar(VBar);
        V->SetHScrollBar(HBar);
        Pump();
        return V;
    }
    static int RowHeight(TbsSkinListView* V) {
        TRect R{};
        R.Left = LVIR_BOUNDS;
        SendMessage(V->Handle(), LVM_GETITEMRECT, 0, LPARAM(&R));
        return R.Height();
    }
    static int HeaderHeight(TbsSkinListView* V) {
        TRect R{};
        GetClientRect(V->HeaderHandle(), &R);
        return R.Height();
    }
    TbsSkinScrollBar* VBar = nullptr;
    TbsSkinScrollBar* HBar = nullptr;
};

TEST_F(TViewsTest, ReportViewShowsItsVerticalBarWithTheNativeRange) {
    auto* V = MakeReport(30);
    ASSERT_EQ(SendMessage(V->Handle(), LVM_GETCOUNTPERPAGE, 0, 0), 10);
    EXPECT_TRUE(VBar->Visible());
    EXPECT_EQ(VBar->Min(), 0);
    EXPECT_EQ(VBar->Max(), 29);
    EXPECT_EQ(VBar->PageSize(), 10);
    EXPECT_EQ(VBar->SmallChange(), 1);
    EXPECT_EQ(VBar->LargeChange(), 10);
    // The horizontal bar leaves the corner to the vertical one.
    EXPECT_TRUE(HBar->Both());
}

TEST_F(TViewsTest, NativeScrollReachesTheBarAtTheNextPaintWithoutItsEvent) {
    auto* V = MakeReport(30);
    int Changes = 0;
    const TNotifyEvent Handler = VBar->OnChange;
    VBar->OnChange = [&](TObject* S) {
        ++Changes;
        Handler(S);
    };
    V->Scroll(0, 5 * RowHeight(V));
    V->Invalidate();
    Pump();
    EXPECT_EQ(VBar->Position(), 5);
    EXPECT_EQ(Changes, 0);
}

TEST_F(TViewsTest, BarDragScrollsTheViewOnceByWholeRows) {
    auto* V = MakeReport(30);
    const int Row = RowHeight(V);
    int Scrolls = 0, Pixels = 0;
    V->WindowProc = [V, Old = V->WindowProc, &Scrolls, &Pixels](TMessage& M) mutable {
        if (M.Msg == LVM_SCROLL) {
            ++Scrolls;
            Pixels += int(M.LParam);
        }
        Old(M);
    };
    VBar->SetPosition(3);
    EXPECT_EQ(Scrolls, 1);
    EXPECT_EQ(Pixels, 3 * Row);
    EXPECT_EQ(GetScrollPos(V->Handle(), SB_VERT), 3);
}

// Icon view: the bars step by half an item's height and move the view by
// pixels, once per move.
TEST_F(TViewsTest, IconViewStepsByHalfAnItemAndScrollsByPixels) {
    auto* V = MakeReport(0, 150);
    V->SetViewStyle(vsIcon);
    for (int I = 0; I < 80; ++I)
        V->Items()->Add()->SetCaption("icon " + std::to_string(I));
    V->Invalidate();
    Pump();
    ASSERT_TRUE(VBar->Visible());
    const int Item = RowHeight(V);
    ASSERT_GT(Item, 1);
    EXPECT_EQ(VBar->SmallChange(), Item / 2);
    EXPECT_EQ(VBar->LargeChange(), Item / 2);
    int Scrolls = 0, Pixels = 0;
    V->WindowProc = [V, Old = V->WindowProc, &Scrolls, &Pixels](TMessage& M) mutable {
        if (M.Msg == LVM_SCROLL) {
            ++Scrolls;
            Pixels += int(M.LParam);
        }
        Old(M);
    };
    VBar->SetPosition(VBar->Position() + 37);
    EXPECT_EQ(Scrolls, 1);
    EXPECT_EQ(Pixels, 37);
}

TEST_F(TViewsTest, VerticalBarComesAndGoesWithTheContentAndBothFollows) {
    auto* V = MakeReport(5);
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Both());
    for (int I = 0; I < 25; ++I)
        V->Items()->Add()->SetCaption("more");
    Pump();
    EXPECT_TRUE(VBar->Visible());
    EXPECT_TRUE(HBar->Both());
    V->Items()->Clear();
    V->Invalidate();
    Pump();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Both());
}

// Counts the synchronisations a view runs.
class TCountingListView : public TbsSkinListView {
public:
    using TbsSkinListView::TbsSkinListView;
    int Syncs = 0;
    void UpDateScrollBars() override {
        ++Syncs;
        TbsSkinListView::UpDateScrollBars();
    }
};

// A resized report view synchronises at once only when it has items; an
// empty one waits for its next paint.
TEST_F(TViewsTest, EmptyReportViewSynchronisesAtItsNextPaintOnly) {
    for (int Rows : {5, 0}) {
        SCOPED_TRACE(Rows);
        auto* V = new TCountingListView(Form);
        V->SetParent(Form);
        V->SetViewStyle(vsReport);
        V->Columns()->Add()->SetCaption("Name");
        for (int I = 0; I < Rows; ++I)
            V->Items()->Add()->SetCaption("row");
        V->SetBounds(10, 10, 200, 100);
        Pump();
        V->Syncs = 0;
        V->SetBounds(10, 10, 220, 120);
        EXPECT_EQ(V->Syncs > 0, Rows > 0);
        Pump();
        EXPECT_GT(V->Syncs, 0);
        delete V;
    }
}

TEST_F(TViewsTest, TinyViewLeavesItsBarsAlone) {
    auto* V = MakeReport(30);
    ASSERT_TRUE(VBar->Visible());
    VBar->SetRange(0, 7, 0, 1);
    for (int H : {5, 4}) {
        V->SetHeight(H);
        V->Invalidate();
        Pump();
        EXPECT_EQ(VBar->Max(), 7) << H;
    }
}

TEST_F(TViewsTest, HiddenViewHidesItsBarsAndShowingRestoresThem) {
    auto* V = MakeReport(30);
    V->Hide();
    Pump();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Visible());
    V->Show();
    Pump();
    EXPECT_TRUE(VBar->Visible());
}

TEST_F(TViewsTest, FreedBarAndSkinDataAreForgotten) {
    auto* SD = LoadSkin(testskin::StandardTestSkin());
    auto* V = MakeReport(30);
    V->SetSkinData(SD);
    delete VBar;
    delete SD;
    EXPECT_EQ(V->VScrollBar(), nullptr);
    EXPECT_EQ(V->SkinData(), nullptr);
    V->Invalidate();
    Pump();
}

TEST_F(TViewsTest, ListStyleScrollsSidewaysByColumns) {
    auto* V = MakeReport(100);
    V->SetViewStyle(vsList);
    V->Invalidate();
    Pump();
    EXPECT_FALSE(VBar->Visible());
    ASSERT_TRUE(HBar->Visible());
    EXPECT_EQ(HBar->SmallChange(), 1);
    EXPECT_EQ(HBar->LargeChange(), 1);
    std::vector<WPARAM> Codes;
    V->WindowProc = [Old = V->WindowProc, &Codes](TMessage& M) mutable {
        if (M.Msg == WM_HSCROLL)
            Codes.push_back(M.WParam);
        Old(M);
    };
    HBar->SetPosition(HBar->Position() + 2);
    EXPECT_EQ(Codes, (std::vector<WPARAM>{SB_LINERIGHT, SB_LINERIGHT}));
}

TEST_F(TViewsTest, SkinFontAndColoursOrTheDefaults) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    Skin.AddControl(
        "listview", "fontview",
        {"fontname=Tahoma", "fontheight=17", "fontstyle=fsbold", "fontcolor=255", "bgcolor=65280"});
    auto* SD = LoadSkin(Skin);
    auto* V = MakeReport(3);
    V->SetSkinDataName("fontview");
    V->SetSkinData(SD);
    EXPECT_EQ(V->Font()->Name(), "Tahoma");
    EXPECT_EQ(V->Font()->Height(), 17);
    EXPECT_EQ(V->Font()->Color(), 255);
    EXPECT_EQ(V->Color(), 65280);
    V->SetUseSkinFont(false);
    V->ChangeSkinData();
    EXPECT_EQ(V->Font()->Name(), "Arial");
    EXPECT_EQ(V->Font()->Color(), 255);
    V->SetSkinDataName("nothing");
    V->SetDefaultColor(clInfoBk);
    V->ChangeSkinData();
    EXPECT_EQ(V->Color(), clInfoBk);
    EXPECT_EQ(V->Font()->Height(), 14);
}

TEST_F(TViewsTest, HeaderIsWiderAndPaintsThroughTheMessages) {
    auto* V = MakeReport(3);
    ASSERT_NE(V->HeaderHandle(), nullptr);
    TRect R{};
    GetWindowRect(V->HeaderHandle(), &R);
    EXPECT_EQ(R.Width(), V->ClientWidth() + 25);
    EXPECT_EQ(V->Perform(WM_NCPAINTTODC, 0, 0), 12851);

    TBitmap B;
    B.SetSize(400, 30);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 400, 30});
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    // Plain sections: a button-shadow outline on button face.
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(0, 0)), Rgb(clBtnShadow));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(40, 2)), Rgb(clBtnFace));
}

TEST_F(TViewsTest, PressedSectionAndDividerPress) {
    auto* V = MakeReport(3);
    const HWND H = V->HeaderHandle();
    SendMessage(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
    TBitmap B;
    B.SetSize(400, 30);
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(0, 0)), 0x000080u);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(40, 2)), 0x8593B5u);
    SendMessage(H, WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(40, 2)), Rgb(clBtnFace));
    // On the divider between the first two sections nothing looks pressed.
    SendMessage(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 5));
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(40, 2)), Rgb(clBtnFace));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(120, 2)), Rgb(clBtnFace));
    SendMessage(H, WM_LBUTTONUP, 0, MAKELPARAM(80, 5));
}

// Right of the last section the header is closed by a face of its own whose
// right edge lies just past the header, so no right border shows.
TEST_F(TViewsTest, HeaderRestRightOfTheLastSection) {
    auto* V = MakeReport(3);
    const int W = V->ClientWidth() + 25, Mid = HeaderHeight(V) / 2;
    TBitmap B;
    B.SetSize(W, 30);
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(240, Mid)), Rgb(clBtnShadow));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(250, 0)), Rgb(clBtnShadow));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(250, Mid)), Rgb(clBtnFace));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(W - 1, Mid)), Rgb(clBtnFace));

    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& Pic = Skin.Picture("controls.bmp");
    V->SetSkinData(LoadSkin(Skin));
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(Pic.RegionAt(Rgb(B.Canvas()->Pixels(250, Mid))), "resizetoolbutton.normal");
    EXPECT_EQ(Pic.RegionAt(Rgb(B.Canvas()->Pixels(W - 1, Mid))), "resizetoolbutton.normal");
}

// The tree's image lists take the view's colour at every skin change.
TEST_F(TViewsTest, TreeImageListsTakeTheSkinnedColour) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    Skin.AddControl("treeview", "greentree", {"bgcolor=65280"});
    auto* SD = LoadSkin(Skin);
    auto* T = new TbsSkinCustomTreeView(Form);
    T->SetParent(Form);
    T->SetBounds(10, 10, 200, 100);
    auto* Images = new TCustomImageList(Form);
    auto* States = new TCustomImageList(Form);
    T->SetImages(Images);
    T->SetStateImages(States);
    T->SetSkinDataName("greentree");
    T->SetSkinData(SD);
    EXPECT_EQ(T->Color(), 65280);
    EXPECT_EQ(Images->BkColor(), 65280);
    EXPECT_EQ(States->BkColor(), 65280);
    T->SetSkinDataName("nothing");
    T->SetDefaultColor(clInfoBk);
    T->ChangeSkinData();
    EXPECT_EQ(Images->BkColor(), clInfoBk);
    EXPECT_EQ(States->BkColor(), clInfoBk);
}

// Section images come from the view's small images: at the text's left in
// a left-aligned section, moved along with the text in a right-aligned one.
TEST_F(TViewsTest, HeaderSectionImagesFollowTheAlignment) {
    auto* V = MakeReport(3);
    auto* Images = new TCustomImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    TBitmap Red;
    Red.SetSize(16, 16);
    Red.Canvas()->Brush()->SetColor(clRed);
    Red.Canvas()->FillRect({0, 0, 16, 16});
    Images->Add(&Red, nullptr);
    V->SetSmallImages(Images);
    V->Column(0)->SetImageIndex(0);
    V->Column(1)->SetImageIndex(0);
    V->Column(1)->SetAlignment(taRightJustify);
    V->Column(2)->SetImageIndex(5);
    TBitmap B;
    B.SetSize(400, 30);
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    const int Mid = HeaderHeight(V) / 2;
    auto FirstRed = [&](int From, int To) {
        for (int X = From; X < To; ++X)
            if (Rgb(B.Canvas()->Pixels(X, Mid)) == 0xFF0000u)
                return X;
        return -1;
    };
    EXPECT_EQ(FirstRed(0, 80), 5);
    EXPECT_GT(FirstRed(80, 160), 80 + 20);
    // An index past the list draws no image.
    EXPECT_EQ(FirstRed(160, 240), -1);
}

TEST_F(TViewsTest, DrawHeaderSectionEventDrawsEverything) {
    auto* V = MakeReport(3);
    std::vector<std::string> Seen;
    V->OnDrawHeaderSection = [&](TCanvas* C, TListColumn* Column, bool Pressed, TRect& R) {
        Seen.push_back(Column->Caption() + (Pressed ? "!" : "") + " " + std::to_string(R.Left) +
                       "," + std::to_string(R.Top));
        C->Brush()->SetColor(clRed);
        C->FillRect(R);
    };
    TBitmap B;
    B.SetSize(400, 30);
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(Seen, (std::vector<std::string>{"Name 0,0", "Size 0,0", "State 0,0"}));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(0, 0)), Rgb(clRed));
}

TEST_F(TViewsTest, FullDragPaintsEachVisualPlaceWithTheColumnOfItsIndex) {
    auto* V = MakeReport(3);
    V->SetFullDrag(true);
    const int Widths[] = {50, 70, 90};
    for (int I = 0; I < 3; ++I)
        V->Column(I)->SetWidth(Widths[I]);
    Pump();
    const HWND Header = V->HeaderHandle();
    ASSERT_NE(Header, nullptr);
    int Order[] = {2, 0, 1};
    SendMessage(Header, HDM_SETORDERARRAY, 3, LPARAM(Order));
    std::vector<std::string> Seen;
    V->OnDrawHeaderSection = [&](TCanvas*, TListColumn* Column, bool, TRect& R) {
        Seen.push_back(Column->Caption() + " " + std::to_string(R.Width()));
    };
    TBitmap B;
    B.SetSize(400, 30);
    V->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    // Place i is the rectangle of item Order[i], drawn with column i.
    EXPECT_EQ(Seen, (std::vector<std::string>{"Name 90", "Size 50", "State 70"}));
}

TEST_F(TViewsTest, RecreatedHeaderIsSubclassedAndTheOldOneReleased) {
    auto* V = MakeReport(3);
    const HWND First = V->HeaderHandle();
    const LONG_PTR Ours = GetWindowLong(First, GWL_WNDPROC);
    V->SetViewStyle(vsIcon);
    V->SetViewStyle(vsReport);
    Pump();
    const HWND Second = V->HeaderHandle();
    ASSERT_NE(Second, nullptr);
    EXPECT_EQ(GetWindowLong(Second, GWL_WNDPROC), Ours);
    if (IsWindow(First) && First != Second) {
        EXPECT_NE(GetWindowLong(First, GWL_WNDPROC), Ours);
    }
}

TEST_F(TViewsTest, TreeBarsFollowRowsAndReachRowsBeyondSixteenBits) {
    auto* T = new TbsSkinCustomTreeView(Form);
    T->SetParent(Form);
    T->SetBounds(10, 10, 200, 100);
    auto* Bar = new TbsSkinScrollBar(Form);
    Bar->SetParent(Form);
    Bar->SetKind(sbVertical);
    Bar->SetBounds(220, 10, 19, 100);
    T->SetVScrollBar(Bar);
    Pump();
    EXPECT_FALSE(Bar->Visible());
    T->Items()->BeginUpdate();
    for (int I = 0; I < 70000; ++I)
        T->Items()->Add(nullptr, "node");
    T->Items()->EndUpdate();
    T->Invalidate();
    Pump();
    ASSERT_TRUE(Bar->Visible());
    EXPECT_EQ(Bar->Max(), 69999);
    Bar->SetPosition(68000);
    EXPECT_EQ(T->TopItem()->AbsoluteIndex(), 68000);
    EXPECT_EQ(T->Perform(WM_NCPAINTTODC, 0, 0), 12851);
}

} // namespace

namespace {

TEST_F(TViewsTest, TreeBarRangeAndPageFromTheNativeTree) {
    auto* T = new TbsSkinCustomTreeView(Form);
    T->SetParent(Form);
    T->SetBounds(10, 10, 200, 100);
    auto* Bar = new TbsSkinScrollBar(Form);
    Bar->SetParent(Form);
    Bar->SetKind(sbVertical);
    Bar->SetBounds(220, 10, 19, 100);
    T->SetVScrollBar(Bar);
    for (int I = 0; I < 5; ++I)
        T->Items()->Add(nullptr, "node");
    T->Invalidate();
    Pump();
    EXPECT_FALSE(Bar->Visible());
    for (int I = 0; I < 95; ++I)
        T->Items()->Add(nullptr, "node");
    T->Invalidate();
    Pump();
    const int Page = int(SendMessage(T->Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    ASSERT_TRUE(Bar->Visible());
    EXPECT_EQ(Bar->Min(), 0);
    EXPECT_EQ(Bar->Max(), 99);
    EXPECT_EQ(Bar->PageSize(), Page);
}

TEST_F(TViewsTest, AlignedViewRealignsItsParentWhenABarAppears) {
    auto* Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 0, 300, 200);
    auto* VB = new TbsSkinScrollBar(Form);
    VB->SetParent(Panel);
    VB->SetKind(sbVertical);
    VB->SetWidth(19);
    VB->SetAlign(alRight);
    auto* V = new TbsSkinListView(Form);
    V->SetParent(Panel);
    V->SetViewStyle(vsReport);
    V->Columns()->Add()->SetWidth(80);
    V->SetAlign(alClient);
    V->SetVScrollBar(VB);
    Pump();
    const int Before = V->Width();
    for (int I = 0; I < 50; ++I)
        V->Items()->Add()->SetCaption("row");
    V->Invalidate();
    Pump();
    ASSERT_TRUE(VB->Visible());
    EXPECT_EQ(V->Width(), Before - 19);
}

} // namespace
