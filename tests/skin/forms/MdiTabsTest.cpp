// The MDI tab bar: layout, hover, drag, close buttons and its looks.
#include "platform/win/Windows.h"
#include "skin/forms/SkinForm.MdiTabs.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

class SkinFormMdiTabs : public SkinFormFixture {
protected:
    // A bar of Width x 21 on a plain form, with Count child forms.
    void MakeBar(int Width, int Count) {
        Host = MakeForm(Width + 40, 200);
        Bar = new TbsSkinMDITabsBar(Host);
        Bar->SetParent(Host);
        Bar->SetBounds(0, 0, Width, 21);
        for (int I = 0; I < Count; ++I) {
            auto* C = new TForm(nullptr);
            C->SetCaption("Doc" + std::to_string(I));
            Children.push_back(C);
            Bar->AddTab(C);
        }
        Application->ProcessMessages();
    }

    void TearDown() override {
        for (TForm* C : Children)
            delete C;
        SkinFormFixture::TearDown();
    }

    void Mouse(UINT Msg, int X, int Y) { Bar->Perform(Msg, 0, MAKELPARAM(X, Y)); }

    std::vector<int> Lefts() {
        Bar->CalcTabRects();
        std::vector<int> L;
        for (int I = 0; I < Bar->TabCount(); ++I)
            L.push_back(Bar->Tab(I)->ObjectRect.Left);
        return L;
    }

    std::vector<std::string> Order() {
        std::vector<std::string> O;
        for (int I = 0; I < Bar->TabCount(); ++I)
            O.push_back(Bar->Tab(I)->Child->Caption());
        return O;
    }

    TForm* Host = nullptr;
    TbsSkinMDITabsBar* Bar = nullptr;
    std::vector<TForm*> Children;
};

TEST_F(SkinFormMdiTabs, TabsShareTheBarUpToTheirWidths) {
    MakeBar(500, 7);
    EXPECT_EQ(Lefts(), (std::vector<int>{15, 84, 153, 222, 291, 360, 429}));
    EXPECT_EQ(Bar->Tab(6)->ObjectRect.Right, 500);
    EXPECT_EQ(Bar->InVisibleCount(), 0);

    Bar->SetMinTabWidth(80);
    Bar->CalcTabRects();
    EXPECT_EQ(Bar->InVisibleCount(), 2);
    for (int I = 0; I < 7; ++I) {
        EXPECT_EQ(Bar->Tab(I)->Visible, I < 5) << I;
        if (I < 5) {
            EXPECT_EQ(Bar->Tab(I)->ObjectRect, (TRect{15 + 80 * I, 0, 95 + 80 * I, 21}));
        }
    }
}

TEST_F(SkinFormMdiTabs, TwoTabsKeepTheirWidthAndBoundariesGoLeft) {
    MakeBar(500, 2);
    Bar->CalcTabRects();
    EXPECT_EQ(Bar->Tab(0)->ObjectRect, (TRect{15, 0, 115, 21}));
    EXPECT_EQ(Bar->Tab(1)->ObjectRect, (TRect{115, 0, 215, 21}));
    EXPECT_EQ(Bar->GetTabIndex(115, 10), 0);
    EXPECT_EQ(Bar->GetTabIndex(116, 10), 1);
    EXPECT_EQ(Bar->GetTabIndex(300, 10), -1);
}

TEST_F(SkinFormMdiTabs, DraggingATabReordersAtTheCentres) {
    struct Row {
        int To;
        std::vector<std::string> Order;
    };
    for (const Row& R : {Row{180, {"Doc1", "Doc0", "Doc2"}}, Row{280, {"Doc1", "Doc2", "Doc0"}},
                         Row{60, {"Doc0", "Doc1", "Doc2"}}}) {
        SCOPED_TRACE(R.To);
        MakeBar(500, 3);
        Bar->CalcTabRects();
        Mouse(WM_LBUTTONDOWN, 50, 10);
        Mouse(WM_MOUSEMOVE, R.To, 10);
        EXPECT_TRUE(Bar->IsDrag);
        Mouse(WM_LBUTTONUP, R.To, 10);
        EXPECT_EQ(Order(), R.Order);
        EXPECT_EQ(Bar->DragIndex, -1);
        for (TForm* C : Children)
            delete C;
        Children.clear();
        delete Host;
    }
}

TEST_F(SkinFormMdiTabs, TheDropIndicatorStandsAtTheTargetsEdge) {
    MakeBar(500, 3);
    Bar->CalcTabRects();
    Mouse(WM_LBUTTONDOWN, 50, 10);
    Mouse(WM_MOUSEMOVE, 180, 10);
    Bar->CalcTabRects();
    ASSERT_EQ(Bar->GetDropIndex(), 1);
    TBitmap B;
    B.SetSize(500, 21);
    Bar->CreateControlDefaultImage(&B);
    // The second tab's right edge at 215: inverted lines over the bar.
    const std::uint32_t Face = Rgb(clBtnFace);
    EXPECT_EQ(PixelOf(&B, 215, 1), (~Face) & 0xFFFFFF);
    EXPECT_EQ(PixelOf(&B, 300, 1), Face);
    Mouse(WM_LBUTTONUP, 180, 10);
}

TEST_F(SkinFormMdiTabs, ACloseButtonClosesOnlyWhenReleasedOnIt) {
    MakeBar(500, 2);
    Bar->SetShowCloseButtons(true);
    int Closed = 0;
    Children[0]->OnClose = [&](TObject*, TCloseAction& A) {
        ++Closed;
        A = caNone;
    };
    TBitmap B;
    B.SetSize(500, 21);
    Bar->CreateControlDefaultImage(&B);
    TbsMDITab* T = Bar->Tab(0);
    const TPoint Cross{T->ObjectRect.Left + T->ButtonRect.Left + 7,
                       T->ObjectRect.Top + T->ButtonRect.Top + 7};
    Mouse(WM_LBUTTONDOWN, Cross.X, Cross.Y);
    EXPECT_TRUE(T->ButtonMouseDown);
    EXPECT_FALSE(Bar->FDown) << "no drag from a close button";
    Mouse(WM_LBUTTONUP, 300, 10);
    EXPECT_EQ(Closed, 0);
    EXPECT_FALSE(T->ButtonMouseDown);
    EXPECT_FALSE(T->ButtonMouseIn);
    Mouse(WM_LBUTTONDOWN, Cross.X, Cross.Y);
    Mouse(WM_LBUTTONUP, Cross.X, Cross.Y);
    EXPECT_EQ(Closed, 1);
}

TEST_F(SkinFormMdiTabs, ThePlainLook) {
    MakeBar(500, 3);
    Bar->SetShowCloseButtons(true);
    Bar->Tab(1)->Active = true;
    Bar->Tab(2)->MouseIn = true;
    Bar->Tab(2)->ButtonMouseIn = true;
    TBitmap B;
    B.SetSize(500, 21);
    Bar->CreateControlDefaultImage(&B);
    EXPECT_EQ(PixelOf(&B, 17, 1), Rgb(clBtnFace));
    EXPECT_EQ(PixelOf(&B, 117, 1), 0x8593B5u) << "active";
    EXPECT_EQ(PixelOf(&B, 217, 1), 0xB6BDD2u) << "under the mouse";
    // The crosses: white over the hovered button, black elsewhere.
    auto HasColour = [&](const TRect& R, std::uint32_t C) {
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (PixelOf(&B, X, Y) == C)
                    return true;
        return false;
    };
    auto Button = [&](int I) {
        TRect R = Bar->Tab(I)->ButtonRect;
        OffsetRect(&R, Bar->Tab(I)->ObjectRect.Left, Bar->Tab(I)->ObjectRect.Top);
        return R;
    };
    EXPECT_TRUE(HasColour(Button(2), 0xFFFFFF));
    EXPECT_TRUE(HasColour(Button(0), 0x000000));
    EXPECT_FALSE(HasColour(Button(0), 0xFFFFFF));
}

TEST_F(SkinFormMdiTabs, ASkinnedTabFromItsElementAndABackgroundWithoutWidth) {
    testskin::TTestSkin Skin = FrameSkin();
    testskin::TTestPicture& P = Skin.AddPicture("tabs.bmp", 120, 40, 24);
    P.AddRegion("tab", {0, 0, 60, 20});
    P.AddRegion("hot", {60, 0, 120, 20});
    Skin.AddControl("tab", "tab",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("tabs.bmp")),
                     "tabrect=0,0,60,20", "mouseintabrect=60,0,120,20", "tabsbgrect=0,20,0,40",
                     "fontcolor=0", "mouseinfontcolor=255"});
    TbsSkinData* Data = LoadSkin(Skin);
    MakeBar(500, 2);
    Bar->SetSkinData(Data);
    Bar->Tab(0)->Active = true;
    Bar->Tab(1)->MouseIn = true;
    TBitmap B;
    B.SetSize(500, 21);
    B.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
    B.Canvas()->FillRect(TRect{0, 0, 500, 21});
    Bar->GetSkinData();
    ASSERT_NE(Bar->FIndex, -1);
    Bar->CreateControlSkinImage(&B);
    EXPECT_EQ(PixelOf(&B, 5, 5), 0x010203u) << "the background left as filled";
    EXPECT_EQ(PixelOf(&B, 17, 1), P.ColourOf("tab")) << "active from the tab picture";
    EXPECT_EQ(PixelOf(&B, 117, 1), P.ColourOf("hot"));
}

// The tab element's three other looks, each with the element's pictures in
// flat colours: the button look from "resizebutton" (pressed picture for the
// active tab, hot picture under the mouse), the nine-part look when the bar
// does not take the skin's size, and the close buttons of a skin without
// close-button pictures from "resizetoolbutton". OnTabGetDrawParamsEvent
// reaches every look but the one drawn at the skin's size.
TEST_F(SkinFormMdiTabs, TheButtonResizeAndToolButtonLooks) {
    testskin::TTestSkin Skin = FrameSkin();
    testskin::TTestPicture& P = Skin.AddPicture("tabs.bmp", 240, 40, 24);
    const int Index = Skin.PictureIndex("tabs.bmp");
    P.AddRegion("tab", {0, 0, 60, 20});
    P.AddRegion("active", {60, 0, 120, 24});
    P.AddRegion("hot", {120, 0, 180, 20});
    const std::vector<std::pair<std::string, TRect>> Cells = {
        {"btn", {0, 24, 20, 40}},       {"btn.hot", {20, 24, 40, 40}},
        {"btn.down", {40, 24, 60, 40}}, {"btn.off", {60, 24, 80, 40}},
        {"tool", {80, 24, 96, 40}},     {"tool.hot", {96, 24, 112, 40}}};
    testskin::TTestPicture& Q = Skin.AddPicture("buttons.bmp", 120, 40, 24);
    for (const auto& [Name, R] : Cells)
        Q.AddRegion(Name, R);
    const int Buttons = Skin.PictureIndex("buttons.bmp");
    Skin.AddControl("tab", "tab",
                    {"pictureindex=" + std::to_string(Index), "tabrect=0,0,60,20",
                     "activetabrect=60,0,120,24", "mouseintabrect=120,0,180,20",
                     "tabsbgrect=0,20,0,40", "fontcolor=0"});
    Skin.AddControl("button", "resizebutton",
                    testskin::ButtonKeys(Q, Buttons, "btn", "btn.hot", "btn.down", "btn.off", 3));
    Skin.AddControl("button", "resizetoolbutton",
                    testskin::ButtonKeys(Q, Buttons, "tool", "tool.hot", "tool", "tool", 3));
    TbsSkinData* Data = LoadSkin(Skin);
    MakeBar(500, 3);
    Bar->SetSkinData(Data);
    Bar->GetSkinData();
    ASSERT_NE(Bar->FIndex, -1);
    Bar->Tab(0)->Active = true;
    Bar->Tab(1)->MouseIn = true;
    int Events = 0;
    Bar->OnTabGetDrawParamsEvent = [&](TbsMDITab*, TCanvas*) { ++Events; };
    auto Paint = [&] {
        Events = 0;
        TBitmap B;
        B.SetSize(500, Bar->Height());
        Bar->CalcTabRects();
        for (int I = 0; I < Bar->TabCount(); ++I)
            Bar->Tab(I)->Draw(B.Canvas());
        return std::vector<std::uint32_t>{PixelOf(&B, 17, 1), PixelOf(&B, 117, 1),
                                          PixelOf(&B, 217, 1)};
    };
    struct Row {
        const char* Look;
        TbsSkinMDITabKind Kind;
        bool UseSkinSize;
        std::vector<std::uint32_t> Colours; // active, hovered, other
        int Events;
    };
    const Row Rows[] = {
        {"at the skin's size",
         bstkTab,
         true,
         {P.ColourOf("active"), P.ColourOf("hot"), P.ColourOf("tab")},
         0},
        {"stretched nine-part",
         bstkTab,
         false,
         {P.ColourOf("active"), P.ColourOf("hot"), P.ColourOf("tab")},
         3},
        {"buttons",
         bstkButton,
         true,
         {Q.ColourOf("btn.down"), Q.ColourOf("btn.hot"), Q.ColourOf("btn")},
         3},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Look);
        Bar->SetTabKind(R.Kind);
        Bar->SetUseSkinSize(R.UseSkinSize);
        EXPECT_EQ(Paint(), R.Colours);
        EXPECT_EQ(Events, R.Events);
    }

    // Close buttons from the tool button: its own picture, hot under the mouse.
    Bar->SetTabKind(bstkTab);
    Bar->SetUseSkinSize(true);
    Bar->SetShowCloseButtons(true);
    Bar->ChangeSkinData();
    Bar->Tab(2)->ButtonMouseIn = true;
    TBitmap B;
    B.SetSize(500, Bar->Height());
    Bar->CalcTabRects();
    for (int I = 0; I < Bar->TabCount(); ++I)
        Bar->Tab(I)->Draw(B.Canvas());
    for (int I : {1, 2}) {
        const TbsMDITab* T = Bar->Tab(I);
        ASSERT_EQ(T->ButtonRect.Width(), Bar->FCloseSize);
        EXPECT_EQ(PixelOf(&B, T->ObjectRect.Left + T->ButtonRect.Left + 1,
                          T->ObjectRect.Top + T->ButtonRect.Top + 1),
                  Q.ColourOf(I == 2 ? "tool.hot" : "tool"));
    }
}

} // namespace
} // namespace skinform
