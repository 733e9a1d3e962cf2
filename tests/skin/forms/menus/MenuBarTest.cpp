// The main menu bar: layout and overflow, merging, looks, and the bar driven
// by the pointer and by real keys through the form's menu mode.
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/model/bsUtils.Text.h"
#include "tests/skin/forms/menus/MenusFixture.h"

namespace menus {
namespace {

class MenuBarTest : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        Component = new TbsSkinForm(Form);
        Menu = new TMainMenu(Form);
        for (const char* C : {"&File", "&Edit", "&Action", "&Help"})
            AddItem(Menu->Items(), C);
        AddItem(Item("&File"), "&Open")->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
        AddItem(Item("&File"), "E&xit");
        AddItem(Item("&Edit"), "Cu&t");
        AddItem(Item("&Help"), "&About");
        Bar = new TbsSkinMainMenuBar(Form);
        Bar->SetParent(Form);
        Bar->SetSkinForm(Component);
        Component->SetMainMenuBar(Bar);
        Bar->SetMainMenu(Menu);
        Pump();
        Paint();
    }
    TMenuItem* Item(const std::string& Caption) const { return Menu->Items()->Find(Caption); }
    std::unique_ptr<TBitmap> Paint() {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(Bar->Width(), Bar->Height());
        Bar->PaintBar(B->Canvas()->Handle());
        return B;
    }
    TPoint CentreOfItem(int I) const {
        const TRect& R = Bar->Item(I)->ObjectRect;
        return Bar->ClientToScreen({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
    }
    void Hover(TPoint P) {
        MoveTo(P);
        RunFor(60);
    }
    void Press(TPoint P) {
        Hover(P);
        Headless.Press(0);
        Pump();
        Headless.Release(0);
        Pump();
    }
    void Key(int VK, TShiftState Shift = {}) {
        if (Shift.Contains(ssCtrl))
            Headless.KeyDown(VK_CONTROL);
        if (Shift.Contains(ssAlt))
            Headless.KeyDown(VK_MENU);
        Headless.KeyDown(VK);
        Headless.KeyUp(VK);
        if (Shift.Contains(ssAlt))
            Headless.KeyUp(VK_MENU);
        if (Shift.Contains(ssCtrl))
            Headless.KeyUp(VK_CONTROL);
        Pump();
    }
    // Indexes of the highlighted and the pressed item, -1 for none.
    int ActiveItem() const {
        for (int i = 0; i < Bar->ItemCount(); ++i)
            if (Bar->Item(i)->Active)
                return i;
        return -1;
    }
    int DownItem() const {
        for (int i = 0; i < Bar->ItemCount(); ++i)
            if (Bar->Item(i)->FDown)
                return i;
        return -1;
    }
    // The first item caption of the chain's root window, or "".
    std::string OpenMenu() const {
        TbsSkinMenu* C = Component->SkinMenu;
        return C->PopupCount() ? C->PopupWindow(0)->Item(0)->MenuItem->Caption() : std::string();
    }
    int CaptionWidth(const std::string& S) const {
        TBitmap M;
        M.SetSize(1, 1);
        M.Canvas()->Font()->Assign(Bar->DefItemFont());
        TRect R{0, 0, 0, 0};
        DrawWideText(M.Canvas(), S, R, DT_CALCRECT | DT_CENTER);
        return R.Right - R.Left;
    }

    TbsSkinForm* Component = nullptr;
    TMainMenu* Menu = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
};

TEST_F(MenuBarTest, PlainItemsLineUpAtTheirCaptionWidths) {
    ASSERT_EQ(Bar->ItemCount(), 4);
    EXPECT_EQ(Bar->Height(), 22);
    EXPECT_EQ(Bar->Width(), Form->ClientWidth());
    int Left = 2;
    for (int i = 0; i < 4; ++i) {
        const TRect R = Bar->Item(i)->ObjectRect;
        EXPECT_EQ(R.Left, Left) << i;
        EXPECT_EQ(R.Right - R.Left, CaptionWidth(Bar->Item(i)->MenuItem->Caption()) + 12) << i;
        EXPECT_EQ(R.Top, 2);
        EXPECT_EQ(R.Bottom, 20);
        Left = R.Right;
    }
}

TEST_F(MenuBarTest, PlainLooksOfNormalHoveredAndPressedItems) {
    TbsSkinMainMenuBarItem* I = Bar->Item(1);
    const TRect R = I->ObjectRect;
    struct TCase {
        bool MouseIn, Down;
        std::uint32_t Corner, Inside;
    };
    const TCase Cases[] = {{false, false, Rgb(clBtnFace), Rgb(clBtnFace)},
                           {true, false, 0x000080, 0xB6BDD2},
                           {false, true, 0x000080, 0x8593B5}};
    for (const TCase& C : Cases) {
        I->FMouseIn = C.MouseIn;
        I->FDown = C.Down;
        auto B = Paint();
        EXPECT_EQ(Pixel(B.get(), R.Left, R.Top), C.Corner);
        EXPECT_EQ(Pixel(B.get(), R.Left + 2, R.Top + 2), C.Inside);
        // The caption is drawn in dark text somewhere in the middle row.
        bool Dark = false;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                Dark = Dark || (Pixel(B.get(), X, Y) & 0xC0C0C0) == 0;
        EXPECT_TRUE(Dark);
    }
    I->FDown = false;
}

TEST_F(MenuBarTest, ItemsThatDoNotFitAreHiddenBehindTheScrollArrow) {
    const int LastRight = Bar->Item(3)->ObjectRect.Right;
    Bar->SetAlign(alNone);
    // The last item's right edge 3 pixels inside the items area.
    for (bool ScrollMenu : {true, false}) {
        Bar->SetScrollMenu(ScrollMenu);
        Bar->SetBounds(0, 0, LastRight + 2 + 3, 22);
        auto B = Paint();
        EXPECT_EQ(Bar->Item(3)->Visible, !ScrollMenu);
        // The arrow in clBtnShadow (the pointer is not on it).
        const TRect A = Bar->ScrollArrowRect();
        int Arrow = 0;
        for (int X = A.Left; X < A.Right; ++X)
            for (int Y = A.Top; Y < A.Bottom; ++Y)
                Arrow += Pixel(B.get(), X, Y) == Rgb(clBtnShadow);
        EXPECT_EQ(Arrow > 0, ScrollMenu);
        EXPECT_EQ(Bar->Item(3)->Enabled, !ScrollMenu);
        EXPECT_EQ(Bar->Scroll, ScrollMenu);
    }
    // A disabled item hidden for lack of room comes back disabled.
    Bar->SetScrollMenu(true);
    Item("&Help")->SetEnabled(false);
    Bar->UpDateEnabledItems();
    Paint();
    EXPECT_FALSE(Bar->Item(3)->Visible);
    Bar->SetBounds(0, 0, 600, 22);
    Paint();
    EXPECT_TRUE(Bar->Item(3)->Visible);
    EXPECT_FALSE(Bar->Item(3)->Enabled);
    EXPECT_FALSE(Bar->Scroll);
}

TEST_F(MenuBarTest, ScrollArrowListsTheHiddenItems) {
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 0, Bar->Item(2)->ObjectRect.Right + 10, 22);
    Paint();
    ASSERT_TRUE(Bar->Scroll);
    ASSERT_FALSE(Bar->Item(3)->Visible);
    const TRect A = Bar->ScrollArrowRect();
    Press(Bar->ClientToScreen({A.Left + 2, (A.Top + A.Bottom) / 2}));
    ASSERT_EQ(Component->SkinMenu->PopupCount(), 1);
    TbsSkinPopupWindow* W = Component->SkinMenu->PopupWindow(0);
    ASSERT_EQ(W->ItemCount(), 1);
    EXPECT_EQ(W->Item(0)->MenuItem->Caption(), "&Help");
    EXPECT_FALSE(Bar->MenuActive);
}

TEST_F(MenuBarTest, MergingTakesTheChildsGroups) {
    const int Groups[] = {0, 1, 2};
    for (int i = 0; i < 3; ++i)
        Menu->Items()->Items(i)->SetGroupIndex(Groups[i]);
    Menu->Items()->Delete(3);
    auto* Child = new TMainMenu(Form);
    AddItem(Child->Items(), "Child1")->SetGroupIndex(1);
    AddItem(Child->Items(), "Child5")->SetGroupIndex(5);
    Bar->Merge(Child);
    std::vector<std::string> Captions;
    for (int i = 0; i < Bar->ItemCount(); ++i)
        Captions.push_back(Bar->Item(i)->MenuItem->Caption());
    EXPECT_EQ(Captions, (std::vector<std::string>{"&File", "Child1", "&Action", "Child5"}));
    Bar->UnMerge();
    EXPECT_EQ(Bar->ItemCount(), 3);
}

TEST_F(MenuBarTest, PressingAnItemOpensItsMenuAndMovingSwitchesMenus) {
    Press(CentreOfItem(0));
    EXPECT_EQ(DownItem(), 0);
    EXPECT_EQ(OpenMenu(), "&Open");
    EXPECT_TRUE(Component->InMainMenu);
    // Onto the next item without a click.
    Hover(CentreOfItem(1));
    EXPECT_EQ(DownItem(), 1);
    EXPECT_EQ(OpenMenu(), "Cu&t");
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 1);
    // Off the bar: the item stays pressed and lit.
    Hover(Form->ClientToScreen({250, 300}));
    EXPECT_EQ(DownItem(), 1);
    EXPECT_EQ(OpenMenu(), "Cu&t");
    // Choosing from it ends main menu mode.
    ClickAt(CentreOf(Component->SkinMenu->PopupWindow(0), 0));
    Pump();
    EXPECT_EQ(Log.back(), "click Cu&t");
    EXPECT_FALSE(Component->InMainMenu);
    EXPECT_FALSE(Component->InMenu);
    EXPECT_EQ(DownItem(), -1);
    EXPECT_FALSE(Bar->MenuActive);
}

TEST_F(MenuBarTest, AnItemWithoutSubitemsRunsOnPressAndEndsMainMenuMode) {
    Key(VK_F10);
    ASSERT_TRUE(Component->InMainMenu);
    MoveTo(CentreOfItem(2));
    Headless.Press(0);
    Pump();
    EXPECT_EQ(Log.back(), "click &Action"); // before the release
    EXPECT_FALSE(Component->InMainMenu);
    Headless.Release(0);
    Pump();
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click &Action"), 1);
}

TEST_F(MenuBarTest, KeyboardModeMovesWrapsSkipsAndOpens) {
    Item("&Edit")->SetEnabled(false);
    Bar->UpDateEnabledItems();
    Key(VK_F10);
    ASSERT_TRUE(Component->InMainMenu);
    EXPECT_EQ(ActiveItem(), 0);
    Key(VK_RIGHT); // the disabled item is skipped
    EXPECT_EQ(ActiveItem(), 2);
    Key(VK_RIGHT);
    EXPECT_EQ(ActiveItem(), 3);
    Key(VK_RIGHT); // wraps
    EXPECT_EQ(ActiveItem(), 0);
    Key(VK_LEFT); // wraps back
    EXPECT_EQ(ActiveItem(), 3);
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 0);
    Key(VK_DOWN);
    EXPECT_EQ(DownItem(), 3);
    EXPECT_EQ(OpenMenu(), "&About");
    // With the menu open, Right moves the menu along.
    Key(VK_RIGHT);
    EXPECT_EQ(DownItem(), 0);
    EXPECT_EQ(OpenMenu(), "&Open");
    // Escape closes the menu and keeps the item lit; again leaves the mode.
    Key(VK_ESCAPE);
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 0);
    EXPECT_EQ(DownItem(), -1);
    EXPECT_EQ(ActiveItem(), 0);
    EXPECT_TRUE(Component->InMainMenu);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Component->InMainMenu);
    EXPECT_EQ(ActiveItem(), -1);
}

TEST_F(MenuBarTest, AcceleratorsOpenTheirMenuAndOtherKeysGoToThePopup) {
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 100, 100, 24);
    Edit->SetFocus();
    Pump();
    Key('E', TShiftState{ssAlt});
    EXPECT_EQ(DownItem(), 1);
    EXPECT_EQ(OpenMenu(), "Cu&t");
    Key('H'); // in main menu mode a bare letter is an accelerator too
    EXPECT_EQ(DownItem(), 3);
    EXPECT_EQ(OpenMenu(), "&About");
    Key('Q'); // no item: the popup gets it, the edit does not
    EXPECT_EQ(DownItem(), 3);
    EXPECT_EQ(Edit->Text(), "");
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Component->InMainMenu);
    Headless.KeyDown('Y', "y");
    Headless.KeyUp('Y');
    Pump();
    EXPECT_EQ(Edit->Text(), "y");
    EXPECT_EQ(Screen->ActiveControl(), Edit);
}

TEST_F(MenuBarTest, HighlightAndPressReachTheScreen) {
    const auto ScreenAt = [this](int Item) {
        FlushPresents();
        const TRect R = Bar->Item(Item)->ObjectRect;
        const TPoint P = Bar->ClientToScreen({R.Left + 2, R.Top + 2});
        return Headless.ScreenPixel(P.X, P.Y) & 0xFFFFFF;
    };
    Key(VK_F10);
    EXPECT_EQ(ScreenAt(0), 0xB6BDD2u);
    Key(VK_DOWN);
    EXPECT_EQ(ScreenAt(0), 0x8593B5u);
    Key(VK_RIGHT);
    EXPECT_EQ(ScreenAt(0), Rgb(clBtnFace));
    EXPECT_EQ(ScreenAt(1), 0x8593B5u);
}

TEST_F(MenuBarTest, AltTapEntersAndLeavesMainMenuMode) {
    Key(VK_MENU);
    EXPECT_TRUE(Component->InMainMenu);
    EXPECT_EQ(ActiveItem(), 0);
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 0);
    Key(VK_MENU);
    EXPECT_FALSE(Component->InMainMenu);
    EXPECT_EQ(ActiveItem(), -1);
}

TEST_F(MenuBarTest, ShortcutsOfTheBarsMenuRunTheirItem) {
    Key('O', TShiftState{ssCtrl});
    EXPECT_EQ(Log.back(), "click &Open");
    EXPECT_FALSE(Component->InMainMenu);
}

TEST_F(MenuBarTest, WithoutAFormComponentNothingOpens) {
    Bar->SetSkinForm(nullptr);
    Press(CentreOfItem(0));
    EXPECT_EQ(DownItem(), -1);
    EXPECT_FALSE(Component->SkinMenu->Visible());
    EXPECT_FALSE(Bar->FindHotKeyItem('F'));
    EXPECT_FALSE(Bar->CheckReturnKey());
}

TEST_F(MenuBarTest, MaximizedMdiChildGetsItsButtonsInTheBar) {
    TForm* Main = Application->CreateForm<TForm>();
    Application->SetMainForm(Main);
    Main->SetBounds(50, 50, 600, 400);
    Main->SetFormStyle(fsMDIForm);
    auto* MainComponent = new TbsSkinForm(Main);
    auto* MainBar = new TbsSkinMainMenuBar(Main);
    MainBar->SetParent(Main);
    MainBar->SetSkinForm(MainComponent);
    MainComponent->SetMainMenuBar(MainBar);
    auto* M = new TMainMenu(Main);
    AddItem(M->Items(), "&File");
    MainBar->SetMainMenu(M);
    Main->Show();
    Pump();
    auto* Child = new TForm(Main);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(0, 0, 200, 150);
    auto* ChildComponent = new TbsSkinForm(Child);
    ChildComponent->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMaximize});
    Child->Show();
    Pump();
    ChildComponent->SetWindowState(wsMaximized);
    Pump();
    ASSERT_TRUE(MainBar->MDIChildMax());
    ASSERT_EQ(MainBar->ButtonsCount, 4);
    std::vector<std::pair<TbsStdCommand, bool>> Buttons;
    for (int i = 0; i < 4; ++i) {
        auto* B = static_cast<TbsSkinMainMenuBarButton*>(MainBar->Object(i));
        Buttons.emplace_back(B->Command, B->Enabled);
    }
    EXPECT_EQ(Buttons,
              (std::vector<std::pair<TbsStdCommand, bool>>{
                  {cmSysMenu, true}, {cmClose, true}, {cmMaximize, true}, {cmMinimize, false}}));
    EXPECT_EQ(MainBar->Item(0)->MenuItem->Caption(), "&File");
    // The restore button gives the child back its size and the bar its items.
    TBitmap B;
    B.SetSize(MainBar->Width(), MainBar->Height());
    MainBar->PaintBar(B.Canvas()->Handle());
    const TRect R = MainBar->Object(2)->ObjectRect;
    const TPoint P = MainBar->ClientToScreen({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
    MoveTo(P);
    RunFor(60);
    Headless.Press(0);
    Pump();
    Headless.Release(0);
    Pump();
    EXPECT_EQ(ChildComponent->WindowState(), wsNormal);
    EXPECT_FALSE(MainBar->MDIChildMax());
    EXPECT_EQ(MainBar->ButtonsCount, 0);
    EXPECT_EQ(MainBar->ItemCount(), 1);
    // Maximized again, a double click on the system-menu button closes it.
    int Closes = 0;
    Child->OnClose = [&Closes](TObject*, TCloseAction& Action) {
        ++Closes;
        Action = caFree;
    };
    ChildComponent->SetWindowState(wsMaximized);
    Pump();
    ASSERT_EQ(MainBar->ButtonsCount, 4);
    MainBar->PaintBar(B.Canvas()->Handle());
    const TRect S = MainBar->Object(0)->ObjectRect;
    const TPoint Q = MainBar->ClientToScreen({(S.Left + S.Right) / 2, (S.Top + S.Bottom) / 2});
    MoveTo(Q);
    RunFor(60);
    Headless.DoubleClick(Q.X, Q.Y);
    Pump();
    RunFor(100);
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Main->MDIChildCount(), 0);
    EXPECT_FALSE(MainComponent->InMenu);
}

TEST_F(MenuBarTest, WhileTheLeftButtonHoldsAnMdiButtonNoOtherObjectLightsUp) {
    TForm* Main = Application->CreateForm<TForm>();
    Application->SetMainForm(Main);
    Main->SetBounds(50, 50, 600, 400);
    Main->SetFormStyle(fsMDIForm);
    auto* MainComponent = new TbsSkinForm(Main);
    auto* MainBar = new TbsSkinMainMenuBar(Main);
    MainBar->SetParent(Main);
    MainBar->SetSkinForm(MainComponent);
    MainComponent->SetMainMenuBar(MainBar);
    auto* M = new TMainMenu(Main);
    AddItem(M->Items(), "&File");
    MainBar->SetMainMenu(M);
    Main->Show();
    Pump();
    auto* Child = new TForm(Main);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(0, 0, 200, 150);
    auto* ChildComponent = new TbsSkinForm(Child);
    Child->Show();
    Pump();
    ChildComponent->SetWindowState(wsMaximized);
    Pump();
    ASSERT_EQ(MainBar->ButtonsCount, 4);
    TBitmap B;
    B.SetSize(MainBar->Width(), MainBar->Height());
    MainBar->PaintBar(B.Canvas()->Handle());
    const auto Centre = [MainBar](int I) {
        const TRect R = MainBar->Object(I)->ObjectRect;
        return MainBar->ClientToScreen({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
    };
    const int FileItem = MainBar->ButtonsCount;
    ASSERT_EQ(MainBar->Item(0)->MenuItem->Caption(), "&File");
    // Held on the restore button, then over the item: the item stays dark
    // and no menu opens; released there, nothing is restored.
    MoveTo(Centre(2));
    RunFor(60);
    Headless.Press(0);
    Pump();
    MoveTo(Centre(FileItem));
    RunFor(120);
    EXPECT_FALSE(MainBar->Item(0)->Active);
    EXPECT_NE(MainBar->ActiveObject, FileItem);
    EXPECT_FALSE(MainComponent->SkinMenu->Visible());
    Headless.Release(0);
    Pump();
    EXPECT_EQ(ChildComponent->WindowState(), wsMaximized);
    EXPECT_FALSE(MainComponent->SkinMenu->Visible());
    // Free again, the pointer lights the item up.
    const TPoint Again = Centre(FileItem);
    MoveTo({Again.X + 1, Again.Y});
    RunFor(120);
    EXPECT_TRUE(MainBar->Item(0)->Active);
}

// ---------------------------------------------------------------- skinned

class SkinnedMenuBarTest : public MenuBarTest {
protected:
    void SetUp() override {
        MenuBarTest::SetUp();
        testskin::TTestSkin S = testskin::MinimalLoadableSkin();
        testskin::TTestPicture& P = S.AddPicture("bar.bmp", 256, 64, 24);
        P.AddRegion("bar", {0, 0, 200, 22});
        P.AddRegion("item", {0, 24, 60, 44});
        P.AddRegion("item.active", {64, 24, 124, 44});
        P.AddRegion("item.down", {128, 24, 188, 44});
        const std::string Index = std::to_string(S.PictureIndex("bar.bmp"));
        S.AddControl("mainmenubar", "mainmenubar",
                     {"pictureindex=" + Index, "skinrect=0,0,200,22", "itemsrect=10,2,180,20",
                      "menubaritem=mbitem", "trackmarkcolor=255", "trackmarkactivecolor=65280"});
        S.AddObject("mainmenubaritem", "mbitem",
                    {"activepictureindex=" + Index, "skinrect=0,24,60,44",
                     "activeskinrect=64,24,124,44", "downrect=128,24,188,44", "textrect=10,2,50,18",
                     "fontname=Arial", "fontheight=14", "fontcolor=16711680",
                     "activefontcolor=65535", "downfontcolor=16776960", "unenabledfontColor=65280",
                     "itemleftoffset=4", "itemrightoffset=4"});
        Skin = S;
        SD = LoadSkin(Skin);
        Bar->SetAlign(alNone);
        Bar->SetBounds(0, 0, 800, 30);
        Bar->SetSkinData(SD);
        Pump();
    }
    bool HasColour(TBitmap* B, const TRect& R, std::uint32_t C) const {
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                if (Pixel(B, X, Y) == C)
                    return true;
        return false;
    }
    testskin::TTestSkin Skin;
    TbsSkinData* SD = nullptr;
};

TEST_F(SkinnedMenuBarTest, ItemsAreaAndItemWidthsFollowTheElement) {
    ASSERT_TRUE(Bar->SkinSupport());
    EXPECT_EQ(Bar->Height(), 22);
    Paint();
    EXPECT_EQ(Bar->NewItemsRect, (TRect{10, 2, 780, 20}));
    TBitmap M;
    M.SetSize(1, 1);
    M.Canvas()->Font()->SetName("Arial");
    M.Canvas()->Font()->SetHeight(14);
    TRect T{0, 0, 0, 0};
    DrawWideText(M.Canvas(), "&File", T, DT_CALCRECT | DT_CENTER);
    const TRect R = Bar->Item(0)->ObjectRect;
    EXPECT_EQ(R.Left, 10);
    EXPECT_EQ(R.Right - R.Left, 60 - 40 + (T.Right - T.Left) + 2);
    EXPECT_EQ(R.Bottom - R.Top, 20);
}

TEST_F(SkinnedMenuBarTest, LooksByRegionColour) {
    const testskin::TTestPicture& P = Skin.Picture("bar.bmp");
    TbsSkinMainMenuBarItem* I = Bar->Item(0);
    auto B = Paint();
    const TRect R = I->ObjectRect;
    EXPECT_EQ(Pixel(B.get(), R.Left + 1, R.Top + 1), P.ColourOf("item"));
    EXPECT_EQ(Pixel(B.get(), 2, 1), P.ColourOf("bar"));
    EXPECT_TRUE(HasColour(B.get(), R, 0x0000FF)); // fontcolor (BGR 16711680)
    I->Active = true;
    B = Paint();
    EXPECT_EQ(Pixel(B.get(), R.Left + 1, R.Top + 1), P.ColourOf("item.active"));
    EXPECT_TRUE(HasColour(B.get(), R, 0xFFFF00));
    I->FDown = true;
    B = Paint();
    EXPECT_EQ(Pixel(B.get(), R.Left + 1, R.Top + 1), P.ColourOf("item.down"));
    I->FDown = I->Active = false;
    // Disabled by the application: greyed without a rebuild.
    Item("&File")->SetEnabled(false);
    Bar->UpDateEnabledItems();
    EXPECT_EQ(Bar->Item(0), I);
    B = Paint();
    EXPECT_TRUE(HasColour(B.get(), R, 0x00FF00));
    EXPECT_FALSE(HasColour(B.get(), R, 0x0000FF));
}

TEST_F(SkinnedMenuBarTest, ATransparentBarShowsItsParentsBackground) {
    auto* Back = new TPanel(Form);
    Back->SetParent(Form);
    Back->SetBevelOuter(bvNone);
    Back->SetColor(TColor(RGB(10, 200, 30)));
    Back->SetBounds(0, 0, 480, 40);
    Bar->SetParent(Back);
    Bar->SetBounds(0, 0, 480, 30);
    Pump();
    SD->MainMenuBarTransparent = true;
    auto B = Paint();
    const testskin::TTestPicture& P = Skin.Picture("bar.bmp");
    EXPECT_EQ(Pixel(B.get(), 2, 1), 0x0AC81Eu);
    EXPECT_EQ(Pixel(B.get(), Bar->Width() - 3, Bar->Height() - 2), 0x0AC81Eu);
    // The items keep their own element.
    const TRect R = Bar->Item(0)->ObjectRect;
    EXPECT_EQ(Pixel(B.get(), R.Left + 1, R.Top + 1), P.ColourOf("item"));
    SD->MainMenuBarTransparent = false;
    B = Paint();
    EXPECT_EQ(Pixel(B.get(), 2, 1), P.ColourOf("bar"));
}

} // namespace
} // namespace menus
