// The skinned page control: geometry hooks, close buttons and their image
// widening, closing, the wheel, painting of plain tabs, hidden tabs and the
// skinned up-down that scrolls the tabs.
#include "skin/controls/bsSkinTabs.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

#include <algorithm>

namespace {

class TPageControlTest : public TButtonsTest {
protected:
    TbsSkinPageControl* MakePages(int Count, int W = 400, int H = 200) {
        auto* P = new TbsSkinPageControl(Form);
        P->SetParent(Form);
        P->SetBounds(10, 10, W, H);
        for (int I = 0; I < Count; ++I) {
            auto* S = new TbsSkinTabSheet(Form);
            S->SetPageControl(P);
            S->SetCaption("Page " + std::to_string(I));
        }
        P->SetActivePageIndex(0);
        Pump();
        return P;
    }
    TCustomImageList* MakeImages(int Size) {
        auto* L = new TCustomImageList(Form);
        L->SetWidth(Size);
        L->SetHeight(Size);
        TBitmap B;
        B.SetSize(Size, Size);
        L->Add(&B, nullptr);
        return L;
    }
};

TEST_F(TPageControlTest, CentredTabsNeedAWidthAndShiftClicks) {
    auto* P = MakePages(3);
    P->SetTabsInCenter(true);
    EXPECT_FALSE(P->TabsInCenter());

    P->SetTabWidth(80);
    P->SetTabsInCenter(true);
    Pump();
    EXPECT_TRUE(P->TabsInCenter());
    EXPECT_EQ(P->TabStripOffset(), 80);
    EXPECT_EQ(P->TabItemRect(0).Left, 80 - 2 + 1);
    int SeenX = -1;
    P->WindowProc = [Old = P->WindowProc, &SeenX](TMessage& M) mutable {
        Old(M);
        if (M.Msg == WM_LBUTTONDOWN)
            SeenX = short(LOWORD(M.LParam));
    };
    // The hook runs before the native control sees the message.
    TMessage M{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(85, 5), 0};
    P->WindowProc(M);
    SendMessage(P->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(85, 5));
    EXPECT_EQ(SeenX, 5);
}

TEST_F(TPageControlTest, DisplayRectangleFollowsTheAdjustTable) {
    struct TRow {
        TTabPosition Pos;
        bool Skinned;
    };
    auto* SD = LoadSkin(testskin::StandardTestSkin());
    for (TRow R : {TRow{tpTop, false}, TRow{tpBottom, false}, TRow{tpLeft, false},
                   TRow{tpRight, false}, TRow{tpTop, true}, TRow{tpBottom, true}}) {
        SCOPED_TRACE(int(R.Pos) * 10 + R.Skinned);
        auto* P = MakePages(2);
        P->SetTabPosition(R.Pos);
        if (R.Skinned)
            P->SetSkinData(SD);
        Pump();
        TRect D = P->DisplayRect();
        const int CW = P->ClientWidth(), CH = P->ClientHeight();
        if (!R.Skinned) {
            if (R.Pos == tpTop || R.Pos == tpBottom) {
                EXPECT_EQ(D.Left, 1);
                EXPECT_EQ(D.Right, CW - 1);
            }
            if (R.Pos != tpBottom) {
                EXPECT_EQ(D.Bottom, CH - 1);
            }
            if (R.Pos == tpBottom) {
                EXPECT_EQ(D.Top, 1);
            }
        } else {
            ASSERT_NE(P->SkinIndex(), -1);
            EXPECT_EQ(D.Left, P->ClRect.Left);
            EXPECT_EQ(D.Right, CW - (P->SkinRect.Width() - P->ClRect.Right));
        }
        P->HideBorderAndTabs();
        EXPECT_EQ(P->DisplayRect(), (TRect{0, -2, P->Width(), P->Height()}));
        P->ShowBorderAndTabs();
        EXPECT_NE(P->DisplayRect(), (TRect{0, -2, P->Width(), P->Height()}));
        delete P;
    }
}

TEST_F(TPageControlTest, CloseButtonsAndImagesWidenTheTabs) {
    auto* P = MakePages(2);
    P->SetImages(MakeImages(16));
    P->SetShowCloseButtons(true);
    EXPECT_EQ(P->TempImages()->Width(), 31);
    P->SetShowCloseButtons(false);
    EXPECT_EQ(P->TempImages()->Width(), 17);

    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& Pic = Skin.AddPicture("tabs.bmp", 60, 40, 24);
    Pic.AddRegion("frame", {0, 0, 30, 30});
    Pic.AddRegion("tab", {30, 0, 50, 20});
    Pic.AddRegion("close", {30, 20, 50, 40});
    using testskin::RectText;
    Skin.AddControl("tab", "closetab",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("tabs.bmp")),
                     "skinrect=0,0,30,30", "clientrect=5,5,25,25", "lefttoppoint=5,5",
                     "righttoppoint=25,5", "leftbottompoint=5,25", "rightbottompoint=25,25",
                     "tabrect=" + RectText(Pic.Region("tab")),
                     "closebuttonrect=" + RectText(Pic.Region("close"))});
    auto* SD = LoadSkin(Skin);
    P->SetShowCloseButtons(true);
    const int Before = P->TabItemRect(0).Width();
    P->SetSkinDataName("closetab");
    P->SetSkinData(SD);
    Pump();
    EXPECT_EQ(P->CloseSize(), 20);
    EXPECT_EQ(P->TempImages()->Width(), 1 + 16 + 20);
    EXPECT_EQ(P->TabItemRect(0).Width(), Before + 6);
}

TEST_F(TPageControlTest, CloseButtonAsksThePageAndHidesOrFreesIt) {
    auto* P = MakePages(3);
    P->SetShowCloseButtons(true);
    Pump();
    TObject* Asked = nullptr;
    bool Allow = false;
    int After = 0;
    P->OnClose = [&](TObject* Sender, bool& CanClose) {
        Asked = Sender;
        CanClose = Allow;
    };
    P->OnAfterClose = [&](TObject*) { ++After; };
    auto* Sheet = static_cast<TbsSkinCustomTabSheet*>(P->ActivePage());
    const TRect T = P->TabItemRect(0);
    const TPoint C{T.Left + Sheet->ButtonRect.Left + 3, T.Top + Sheet->ButtonRect.Top + 3};
    ASSERT_GT(Sheet->ButtonRect.Width(), 0);
    ClickAt(P, C.X, C.Y);
    EXPECT_EQ(Asked, Sheet);
    EXPECT_TRUE(Sheet->TabVisible());
    EXPECT_EQ(After, 0);
    Allow = true;
    ClickAt(P, C.X, C.Y);
    EXPECT_FALSE(Sheet->TabVisible());
    EXPECT_EQ(After, 1);

    P->SetFreeOnClose(true);
    P->SetActivePageIndex(1);
    Pump();
    const int Pages = P->PageCount();
    auto* Next = static_cast<TbsSkinCustomTabSheet*>(P->ActivePage());
    const TRect T2 = P->TabItemRect(0);
    ClickAt(P, T2.Left + Next->ButtonRect.Left + 3, T2.Top + Next->ButtonRect.Top + 3);
    EXPECT_EQ(P->PageCount(), Pages - 1);
}

TEST_F(TPageControlTest, WheelStepsOverHiddenTabsAndStopsAtTheEnds) {
    auto* P = MakePages(3);
    P->SetMouseWheelSupport(true);
    P->Pages(1)->SetTabVisible(false);
    P->SetActivePageIndex(0);
    P->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, unsigned(-120) & 0xFFFF), 0);
    EXPECT_EQ(P->ActivePageIndex(), 2);
    P->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, unsigned(-120) & 0xFFFF), 0);
    EXPECT_EQ(P->ActivePageIndex(), 2);
    P->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(P->ActivePageIndex(), 0);
}

TEST_F(TPageControlTest, PlainTabsByState) {
    auto* P = MakePages(3);
    const TRect Active = P->TabItemRect(0), Normal = P->TabItemRect(2), Hot = P->TabItemRect(1);
    MoveTo(P, Hot.Left + 4, Hot.Top + 4);
    EXPECT_EQ(PixelOf(P, Hot.Left + 3, Hot.Top + 3), 0xB6BDD2u);
    EXPECT_EQ(PixelOf(P, Normal.Left + 3, Normal.Top + 3), Rgb(clBtnFace));
    EXPECT_EQ(PixelOf(P, Active.Right - 1, (Active.Top + Active.Bottom) / 2), 0x000080u);
    EXPECT_EQ(PixelOf(P, Active.Left + 3, Active.Top + 3), 0xB6BDD2u);
    P->SetFocus();
    EXPECT_EQ(PixelOf(P, Active.Left + 3, Active.Top + 3), 0x8593B5u);
    EXPECT_EQ(P->Perform(WM_NCPAINTTODC, 0, 0), 12851);
    EXPECT_EQ(P->ActivePage()->Perform(WM_NCPAINTTODC, 0, 0), 12851);
}

TEST_F(TPageControlTest, DrawSkinTabEventDrawsTheContent) {
    auto* P = MakePages(2);
    std::vector<int> Tabs;
    P->OnDrawSkinTab = [&](int Index, const TRect&, bool, bool, TCanvas*) {
        Tabs.push_back(Index);
    };
    P->Invalidate();
    Pump();
    EXPECT_EQ(Tabs, (std::vector<int>{0, 1}));
}

TEST_F(TPageControlTest, HideAndShowTabs) {
    auto* P = MakePages(2);
    const int Height = P->TabItemRect(0).Height();
    P->HideTabs();
    EXPECT_EQ(P->TabHeight(), 1);
    P->ShowTabs();
    EXPECT_EQ(P->TabHeight(), 0);
    EXPECT_EQ(P->TabItemRect(0).Height(), Height);
}

TEST_F(TPageControlTest, NarrowControlScrollsItsTabsWithTheSkinnedUpDown) {
    auto* P = MakePages(8);
    P->SetWidth(150);
    Pump();
    TbsSkinUpDown* U = P->SkinUpDown();
    ASSERT_NE(U, nullptr);
    EXPECT_EQ(U->Left(), P->Width() - U->Width());
    EXPECT_EQ(U->Top(), 0);
    EXPECT_GT(U->Max(), 0);
    EXPECT_EQ(U->Position(), 0);
    for (HWND C = GetWindow(P->Handle(), GW_CHILD); C; C = GetWindow(C, GW_HWNDNEXT)) {
        char Name[80] = {};
        GetClassName(C, Name, sizeof(Name));
        EXPECT_STRNE(Name, "msctls_updown32");
    }
    U->SetPosition(2);
    Pump();
    EXPECT_LE(P->TabItemRect(1).Right, 0);
    P->SetWidth(1200);
    Pump();
    EXPECT_EQ(P->SkinUpDown(), nullptr);
}

} // namespace

namespace {

TEST_F(TPageControlTest, BuiltBeforeItsFormShowsTheScrollerOnlyWhenTheTabsDoNotFit) {
    // The window made with the form, or before the sheets came.
    for (auto [Count, EarlyWindow] : {std::pair{4, false}, {20, false}, {4, true}, {20, true}}) {
        SCOPED_TRACE(std::to_string(Count) + (EarlyWindow ? " early" : ""));
        auto* Hidden = new TForm(nullptr);
        Hidden->SetBounds(50, 50, 500, 300);
        auto* P = new TbsSkinPageControl(Hidden);
        P->SetParent(Hidden);
        P->SetBounds(10, 10, 480, 150);
        if (EarlyWindow)
            P->HandleNeeded();
        for (int I = 0; I < Count; ++I) {
            auto* S = new TbsSkinTabSheet(Hidden);
            S->SetPageControl(P);
            S->SetCaption("Tab " + std::to_string(I));
        }
        P->SetActivePageIndex(0);
        P->SetShowCloseButtons(true);
        Hidden->Show();
        Pump();
        if (Count == 4) {
            EXPECT_EQ(P->SkinUpDown(), nullptr);
        } else {
            ASSERT_NE(P->SkinUpDown(), nullptr);
            EXPECT_GT(P->SkinUpDown()->Max(), 0);
        }
        delete Hidden;
    }
}

TEST_F(TPageControlTest, SheetBackgroundsWallpaperOrButtonFace) {
    auto* P = MakePages(2);
    auto* Sheet = static_cast<TbsSkinTabSheet*>(P->ActivePage());
    EXPECT_EQ(PixelOf(Sheet, 5, 5), Rgb(clBtnFace));
    TBitmap W;
    W.SetSize(4, 4);
    W.Canvas()->Brush()->SetColor(clRed);
    W.Canvas()->FillRect({0, 0, 4, 4});
    Sheet->SetWallPaper(&W);
    Sheet->Invalidate();
    EXPECT_EQ(PixelOf(Sheet, 5, 5), Rgb(clRed));
    EXPECT_EQ(PixelOf(Sheet, 37, 21), Rgb(clRed));
}

// A child window that counts the background checks it is asked for.
class TBackgroundChild : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Checks = 0;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_CHECKPARENTBG)
            ++Checks;
        TCustomControl::Dispatch(Message);
    }
};

// Skinned sheets: the element's client part tiled, or the skin's background
// picture; with StretchEffect the client part is stretched over the whole
// control and a resized sheet asks its child windows to check their
// backgrounds.
TEST_F(TPageControlTest, SkinnedSheetBackgroundsAndStretchNotifications) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& Pic = Skin.AddPicture("sheets.bmp", 60, 40, 24);
    Pic.AddRegion("frame", {0, 0, 30, 30});
    Pic.AddRegion("client.a", {5, 5, 15, 25});
    Pic.AddRegion("client.b", {15, 5, 25, 25});
    Pic.AddRegion("tab", {30, 0, 60, 20});
    testskin::TTestPicture& Wall = Skin.AddPicture("wall.bmp", 8, 8, 24);
    Wall.AddRegion("wall", {0, 0, 8, 8});
    const testskin::TKeys Keys{"pictureindex=" + std::to_string(Skin.PictureIndex("sheets.bmp")),
                               "skinrect=0,0,30,30",
                               "clientrect=5,5,25,25",
                               "lefttoppoint=5,5",
                               "righttoppoint=25,5",
                               "leftbottompoint=5,25",
                               "rightbottompoint=25,25",
                               "tabrect=30,0,60,20"};
    using testskin::operator+;
    Skin.AddControl("tab", "tiled", Keys);
    Skin.AddControl("tab", "stretched", Keys + testskin::TKeys{"stretcheffect=1"});
    Skin.AddControl(
        "tab", "walled",
        Keys + testskin::TKeys{"bgpictureindex=" + std::to_string(Skin.PictureIndex("wall.bmp"))});
    auto* SD = LoadSkin(Skin);
    struct TRow {
        const char* Element;
        // Regions at the sheet's (2, 2) and (12, 2).
        const char* At2;
        const char* At12;
        bool Notified;
    };
    const TRow Rows[] = {{"tiled", "client.a", "client.b", false},
                         {"walled", "wall", "wall", false},
                         {"stretched", "client.a", "client.a", true}};
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Element);
        auto* P = MakePages(2);
        P->SetSkinDataName(R.Element);
        P->SetSkinData(SD);
        auto* Sheet = P->ActivePage();
        auto* Child = new TBackgroundChild(Form);
        Child->SetParent(Sheet);
        Child->SetBounds(100, 100, 20, 20);
        Pump();
        auto RegionAt = [&](int X, int Y) {
            const std::uint32_t C = PixelOf(Sheet, X, Y);
            return Pic.RegionAt(C).empty() ? Wall.RegionAt(C) : Pic.RegionAt(C);
        };
        EXPECT_EQ(RegionAt(2, 2), R.At2);
        EXPECT_EQ(RegionAt(12, 2), R.At12);
        Child->Checks = 0;
        P->SetBounds(10, 10, 300, 150);
        Pump();
        EXPECT_EQ(Child->Checks > 0, R.Notified);
        delete P;
    }
}

// Skinned tabs by state: the active page's tab from its picture, the
// others from the normal one, the tab under the pointer from the hot one.
TEST_F(TPageControlTest, SkinnedTabsByState) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& Pic = Skin.AddPicture("states.bmp", 120, 40, 24);
    Pic.AddRegion("frame", {0, 0, 30, 30});
    Pic.AddRegion("tab.normal", {30, 0, 60, 20});
    Pic.AddRegion("tab.active", {60, 0, 90, 20});
    Pic.AddRegion("tab.hot", {90, 0, 120, 20});
    using testskin::RectText;
    Skin.AddControl("tab", "statetab",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("states.bmp")),
                     "skinrect=0,0,30,30", "clientrect=5,5,25,25", "lefttoppoint=5,5",
                     "righttoppoint=25,5", "leftbottompoint=5,25", "rightbottompoint=25,25",
                     "tabrect=" + RectText(Pic.Region("tab.normal")),
                     "activetabrect=" + RectText(Pic.Region("tab.active")),
                     "mouseintabrect=" + RectText(Pic.Region("tab.hot"))});
    auto* SD = LoadSkin(Skin);
    auto* P = MakePages(3);
    for (int I = 0; I < 3; ++I)
        P->Pages(I)->SetCaption("");
    P->SetSkinDataName("statetab");
    P->SetSkinData(SD);
    Pump();
    auto RegionOfTab = [&](int I) {
        const TRect T = P->TabItemRect(I);
        return Pic.RegionAt(PixelOf(P, T.Left + 3, T.Top + 3));
    };
    EXPECT_EQ(RegionOfTab(0), "tab.active");
    EXPECT_EQ(RegionOfTab(1), "tab.normal");
    EXPECT_EQ(RegionOfTab(2), "tab.normal");
    const TRect T2 = P->TabItemRect(2);
    MoveTo(P, (T2.Left + T2.Right) / 2, (T2.Top + T2.Bottom) / 2);
    EXPECT_EQ(RegionOfTab(2), "tab.hot");
    EXPECT_EQ(RegionOfTab(1), "tab.normal");
    P->SetActivePageIndex(1);
    MoveTo(P, 300, 150);
    EXPECT_EQ(RegionOfTab(1), "tab.active");
    EXPECT_EQ(RegionOfTab(0), "tab.normal");
    EXPECT_EQ(RegionOfTab(2), "tab.normal");
}

// A taller active picture reaches down into the frame, over the border the
// other tabs leave showing; a focused control shows its focus picture.
TEST_F(TPageControlTest, TallerActiveTabReachesIntoTheFrameAndShowsFocus) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& Pic = Skin.AddPicture("tall.bmp", 120, 40, 24);
    Pic.AddRegion("frame", {0, 0, 30, 30});
    Pic.AddRegion("tab.normal", {30, 0, 60, 20});
    Pic.AddRegion("tab.active", {60, 0, 90, 24});
    Pic.AddRegion("tab.focus", {90, 0, 120, 24});
    using testskin::RectText;
    Skin.AddControl("tab", "talltab",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("tall.bmp")),
                     "skinrect=0,0,30,30", "clientrect=5,5,25,25", "lefttoppoint=5,5",
                     "righttoppoint=25,5", "leftbottompoint=5,25", "rightbottompoint=25,25",
                     "tabrect=" + RectText(Pic.Region("tab.normal")),
                     "activetabrect=" + RectText(Pic.Region("tab.active")),
                     "focustabrect=" + RectText(Pic.Region("tab.focus"))});
    auto* SD = LoadSkin(Skin);
    auto* P = MakePages(3);
    for (int I = 0; I < 3; ++I)
        P->Pages(I)->SetCaption("");
    P->SetSkinDataName("talltab");
    P->SetSkinData(SD);
    P->SetTabStop(true);
    Pump();
    const TRect A = P->TabItemRect(0), N = P->TabItemRect(1);
    const int Below = A.Bottom + 2;
    ASSERT_LT(Below, A.Top + 24);
    EXPECT_EQ(Pic.RegionAt(PixelOf(P, (A.Left + A.Right) / 2, Below)), "tab.active");
    EXPECT_EQ(Pic.RegionAt(PixelOf(P, (N.Left + N.Right) / 2, Below)), "frame");
    EXPECT_EQ(Pic.RegionAt(PixelOf(P, (N.Left + N.Right) / 2, N.Top + 3)), "tab.normal");
    P->SetFocus();
    Pump();
    EXPECT_EQ(Pic.RegionAt(PixelOf(P, (A.Left + A.Right) / 2, Below)), "tab.focus");
}

// The tab picture is composed for top tabs, flipped for bottom ones and
// turned for side ones; the caption stays horizontal on request.
TEST_F(TPageControlTest, TabPicturesFollowThePosition) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& Pic = Skin.AddPicture("turn.bmp", 80, 40, 24);
    Pic.AddRegion("frame", {0, 0, 30, 30});
    Pic.AddRegion("tab.top", {30, 0, 80, 10});
    Pic.AddRegion("tab.bottom", {30, 10, 80, 20});
    Skin.AddControl("tab", "turntab",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("turn.bmp")),
                     "skinrect=0,0,30,30", "clientrect=5,5,25,25", "lefttoppoint=5,5",
                     "righttoppoint=25,5", "leftbottompoint=5,25", "rightbottompoint=25,25",
                     "tabrect=30,0,80,20", "activetabrect=30,0,80,20", "fontcolor=65280"});
    auto* SD = LoadSkin(Skin);
    // Where the picture's top and bottom halves land, 4 and 15 pixels in
    // from the tab's top (top and bottom tabs) or left (side tabs); the
    // frame covers the two columns of a side tab next to the pages.
    struct TRow {
        TTabPosition Pos;
        const char* Near;
        const char* Far;
    };
    const TRow Rows[] = {{tpTop, "tab.top", "tab.bottom"},
                         {tpBottom, "tab.bottom", "tab.top"},
                         {tpLeft, "tab.top", "tab.bottom"},
                         {tpRight, "tab.bottom", "tab.top"}};
    for (const TRow& R : Rows) {
        SCOPED_TRACE(int(R.Pos));
        auto* P = MakePages(2);
        // No caption over the picture.
        for (int I = 0; I < 2; ++I)
            P->Pages(I)->SetCaption("");
        P->SetSkinDataName("turntab");
        P->SetSkinData(SD);
        P->SetTabPosition(R.Pos);
        Pump();
        const TRect T = P->TabItemRect(1);
        const bool Across = R.Pos == tpLeft || R.Pos == tpRight;
        ASSERT_GT(Across ? T.Width() : T.Height(), 16);
        const int MidX = (T.Left + T.Right) / 2, MidY = (T.Top + T.Bottom) / 2;
        auto At = [&](int In) {
            return Pic.RegionAt(Across ? PixelOf(P, T.Left + In, MidY)
                                       : PixelOf(P, MidX, T.Top + In));
        };
        EXPECT_EQ(At(4), R.Near);
        EXPECT_EQ(At(15), R.Far);
        delete P;
    }

    // A side tab's caption runs down the tab unless TextInHorizontal.
    for (bool Horizontal : {false, true}) {
        SCOPED_TRACE(Horizontal);
        auto* P = MakePages(2);
        P->Pages(1)->SetCaption("WWWWWW");
        P->SetSkinDataName("turntab");
        P->SetSkinData(SD);
        P->SetTabPosition(tpLeft);
        P->SetTextInHorizontal(Horizontal);
        Pump();
        const TRect T = P->TabItemRect(1);
        TRect Text{1000, 1000, -1, -1};
        for (int Y = T.Top; Y < T.Bottom; ++Y)
            for (int X = T.Left; X < T.Right; ++X)
                if (IsGreenish(PixelOf(P, X, Y)))
                    Text = {std::min(Text.Left, X), std::min(Text.Top, Y),
                            std::max(Text.Right, X + 1), std::max(Text.Bottom, Y + 1)};
        ASSERT_GT(Text.Right, Text.Left) << "no caption found";
        if (Horizontal)
            EXPECT_GT(Text.Width(), Text.Height());
        else
            EXPECT_GT(Text.Height(), 2 * Text.Width());
        delete P;
    }
}

} // namespace

namespace {

TEST_F(TPageControlTest, ItemRectanglesAreAdjustedPerTabPosition) {
    struct TRow {
        TTabPosition Pos;
        int DL, DT, DR, DB;
    };
    const TRow Rows[] = {{tpTop, -2, -2, -2, -2},
                         {tpBottom, -2, 2, -2, 2},
                         {tpLeft, -2, 0, -2, 0},
                         {tpRight, 2, 0, 2, 0}};
    for (const TRow& R : Rows) {
        SCOPED_TRACE(int(R.Pos));
        auto* P = MakePages(3);
        P->SetTabPosition(R.Pos);
        Pump();
        TRect Native{}, Ours{};
        CallWindowProc(P->DefWndProc(), P->Handle(), TCM_GETITEMRECT, 1, LPARAM(&Native));
        SendMessage(P->Handle(), TCM_GETITEMRECT, 1, LPARAM(&Ours));
        EXPECT_EQ(Ours, (TRect{Native.Left + R.DL, Native.Top + R.DT, Native.Right + R.DR,
                               Native.Bottom + R.DB}));
        delete P;
    }
    auto* P = MakePages(3);
    P->SetTabWidth(80);
    P->SetTabsInCenter(true);
    Pump();
    TRect Native{}, Ours{};
    CallWindowProc(P->DefWndProc(), P->Handle(), TCM_GETITEMRECT, 0, LPARAM(&Native));
    SendMessage(P->Handle(), TCM_GETITEMRECT, 0, LPARAM(&Ours));
    EXPECT_EQ(Ours.Left, Native.Left - 2 + 80);
}

TEST_F(TPageControlTest, CloseButtonWithoutAPictureUsesTheResizeToolButton) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& Tabs = Skin.AddPicture("plaintabs.bmp", 60, 40, 24);
    Tabs.AddRegion("frame", {0, 0, 30, 30});
    Tabs.AddRegion("tab", {30, 0, 60, 20});
    Skin.AddControl("tab", "plaintab",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("plaintabs.bmp")),
                     "skinrect=0,0,30,30", "clientrect=5,5,25,25", "lefttoppoint=5,5",
                     "righttoppoint=25,5", "leftbottompoint=5,25", "rightbottompoint=25,25",
                     "tabrect=30,0,60,20"});
    const testskin::TTestPicture& Pic = Skin.Picture("controls.bmp");
    auto* SD = LoadSkin(Skin);
    auto* P = MakePages(2);
    P->SetShowCloseButtons(true);
    P->SetSkinDataName("plaintab");
    P->SetSkinData(SD);
    Pump();
    ASSERT_NE(P->SkinIndex(), -1);
    auto* Sheet = static_cast<TbsSkinCustomTabSheet*>(P->Pages(1));
    const TRect T = P->TabItemRect(1);
    const TRect B = Sheet->ButtonRect;
    ASSERT_EQ(B.Width(), 14);
    EXPECT_EQ(Pic.RegionAt(PixelOf(P, T.Left + B.Left + 1, T.Top + B.Top + 1)),
              "resizetoolbutton.normal");
}

} // namespace
