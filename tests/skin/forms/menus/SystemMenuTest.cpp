// The form side: the system and tray menus of the skinned form component, the
// popup menu component, and keys reaching the open chain through the form's
// menu mode.
#include "platform/forms/Edits.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinImagesMenu.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "tests/skin/forms/menus/MenusFixture.h"

#include <algorithm>

namespace menus {
namespace {

class SystemMenuTest : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        Component = new TbsSkinForm(Form);
        Pump();
    }
    // Captions (with the shortcut text after a tab) of a menu item list.
    static std::vector<std::string> Captions(TMenuItem* Items) {
        std::vector<std::string> S;
        for (int i = 0; i < Items->Count(); ++i) {
            TMenuItem* I = Items->Items(i);
            S.push_back(I->Caption() +
                        (I->ShortCut() ? "\t" + ShortCutToText(I->ShortCut()) : std::string()));
        }
        return S;
    }

    TbsSkinForm* Component = nullptr;
};

using BI = TbsBorderIcon;

struct TSysCase {
    const char* Name;
    TbsBorderIcons Icons;
    TWindowState State;
    bool RolledUp;
    std::vector<std::string> Expect;
};

class SystemMenuItemsTest : public SystemMenuTest, public testing::WithParamInterface<TSysCase> {};

TEST_P(SystemMenuItemsTest, FollowBorderIconsAndState) {
    const TSysCase& C = GetParam();
    Component->SetBorderIcons(C.Icons);
    Component->SetWindowState(C.State);
    if (C.RolledUp)
        Component->SetRollUpState(true);
    EXPECT_EQ(Captions(Component->GetSystemMenuItems()), C.Expect);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SystemMenuItemsTest,
    testing::Values(
        TSysCase{"MinimizeOnly",
                 TbsBorderIcons{BI::biMinimize},
                 wsNormal,
                 false,
                 {"Mi&nimize", "-", "&Close\tAlt+F4"}},
        TSysCase{"Minimized",
                 TbsBorderIcons{BI::biMinimize},
                 wsMinimized,
                 false,
                 {"&Restore", "-", "&Close\tAlt+F4"}},
        TSysCase{"AllIcons",
                 TbsBorderIcons{BI::biMinimize, BI::biMaximize, BI::biRollUp, BI::biMinimizeToTray},
                 wsNormal,
                 false,
                 {"Mi&nimize", "Ma&ximize", "Ro&llUp", "Minimize to &Tray", "-", "&Close\tAlt+F4"}},
        TSysCase{"RolledUp",
                 TbsBorderIcons{BI::biRollUp},
                 wsNormal,
                 true,
                 {"&Restore", "-", "&Close\tAlt+F4"}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SystemMenuTest, UserMenuGetsExactlyOneSetOfSystemItems) {
    auto* User = MakeMenu({"A", "B"});
    Component->SetSystemMenu(User);
    Component->SetBorderIcons({BI::biMinimize, BI::biMaximize, BI::biRollUp, BI::biMinimizeToTray});
    Component->GetSystemMenuItems();
    TMenuItem* Items = Component->GetSystemMenuItems();
    EXPECT_EQ(Captions(Items),
              (std::vector<std::string>{"Mi&nimize", "Ma&ximize", "Ro&llUp", "Minimize to &Tray",
                                        "A", "B", "&Close\tAlt+F4"}));
}

TEST_F(SystemMenuTest, OpeningTheSystemMenuTwiceFromTheKeyboardKeepsOneChain) {
    Component->PopupSystemMenuFromKeyboard();
    ASSERT_TRUE(Component->SkinMenu->Visible());
    TbsSkinPopupWindow* First = Component->SkinMenu->PopupWindow(0);
    // Under the plain look's system-menu caption button.
    EXPECT_GE(First->Left(), Form->Left());
    EXPECT_LT(First->Left(), Form->Left() + 30);
    EXPECT_GT(First->Top(), Form->Top());
    EXPECT_LT(First->Top(), Form->Top() + 40);
    Component->PopupSystemMenuFromKeyboard();
    EXPECT_TRUE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 1);
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->ItemCount(), 5);
    Pump();
}

TEST_F(SystemMenuTest, ChoosingMinimizeMinimizesTheForm) {
    Component->PopupSystemMenuAt(300, 300);
    TbsSkinPopupWindow* W = Component->SkinMenu->PopupWindow(0);
    ASSERT_EQ(W->ActiveItem, 0);
    W->PopupKeyDown(VK_RETURN);
    Pump();
    EXPECT_EQ(Component->WindowState(), wsMinimized);
    EXPECT_FALSE(Component->SkinMenu->Visible());
}

TEST_F(SystemMenuTest, SettingsReachTheChainAndBadValuesAreIgnored) {
    Component->SetDefMenuItemHeight(24);
    Component->SetDefMenuItemHeight(0);
    Component->SetMaxMenuItemsInWindow(7);
    Component->SetMaxMenuItemsInWindow(-1);
    EXPECT_EQ(Component->SkinMenu->DefaultMenuItemHeight(), 24);
    EXPECT_EQ(Component->DefMenuItemHeight(), 24);
    EXPECT_EQ(Component->SkinMenu->MaxMenuItemsInWindow, 7);
    EXPECT_EQ(Component->MaxMenuItemsInWindow(), 7);
}

TEST_F(SystemMenuTest, KeysReachTheDeepestPopupNotTheFocusedEdit) {
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 100, 24);
    Edit->SetFocus();
    Pump();
    Component->PopupSystemMenuAt(300, 300);
    TbsSkinPopupWindow* W = Component->SkinMenu->PopupWindow(0);
    ASSERT_EQ(W->ActiveItem, 0);
    Headless.KeyDown(VK_DOWN);
    Headless.KeyUp(VK_DOWN);
    Pump();
    EXPECT_EQ(W->ActiveItem, 1);
    Headless.KeyDown('X', "x");
    Headless.KeyUp('X');
    Pump();
    EXPECT_EQ(Edit->Text(), "");
    Headless.KeyDown(VK_ESCAPE);
    Headless.KeyUp(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Component->SkinMenu->Visible());
    // Menu mode is over: keys reach the edit again.
    Headless.KeyDown('Y', "y");
    Headless.KeyUp('Y');
    Pump();
    EXPECT_EQ(Edit->Text(), "y");
    EXPECT_EQ(Screen->ActiveControl(), Edit);
}

TEST_F(SystemMenuTest, PopupMenuComponentFindsItsFormsChain) {
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "One");
    int Popups = 0;
    M->OnPopup = [&Popups](TObject*) { ++Popups; };
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    Component->SetMenusSkinData(SD);
    M->Popup(200, 250);
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(M->SkinData(), SD); // taken from the component and kept
    ASSERT_TRUE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), 200);
    EXPECT_EQ(M->PopupPoint(), (TPoint{200, 250}));

    // A right click on a plain button whose popup menu it is.
    Component->SkinMenu->Hide();
    auto* B = new TButton(Form);
    B->SetParent(Form);
    B->SetBounds(50, 60, 80, 30);
    B->SetPopupMenu(M);
    Pump();
    const TPoint P = B->ClientToScreen({10, 10});
    Headless.MovePointer(P.X, P.Y);
    Headless.Press(1);
    Headless.Release(1);
    Pump();
    ASSERT_TRUE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), P.X);
}

TEST_F(SystemMenuTest, DoPopupMenuShowsAnyPopupMenuInTheFormsOwnSkin) {
    TbsSkinData* Own = LoadSkin(testskin::StandardTestSkin());
    TbsSkinData* ForMenus = LoadSkin(testskin::StandardTestSkin());
    Component->SetSkinData(Own);
    Component->SetMenusSkinData(ForMenus);
    TPopupMenu* First = MakeMenu({"A", "B"});
    TPopupMenu* Second = MakeMenu({"C"});
    std::vector<TObject*> Senders;
    First->OnPopup = [&Senders](TObject* S) { Senders.push_back(S); };

    Component->DoPopupMenu(First, 300, 200);
    EXPECT_EQ(Senders, std::vector<TObject*>{Component});
    ASSERT_TRUE(Component->SkinMenu->Visible());
    EXPECT_TRUE(Component->InMenu);
    EXPECT_EQ(Component->SkinMenu->SkinData, Own);
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), 300);
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Top(), 200);

    // A second menu while the first is open replaces it.
    Component->DoPopupMenu(Second, 320, 220);
    ASSERT_EQ(Component->SkinMenu->PopupCount(), 1);
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), 320);
    ClickAt(CentreOf(Component->SkinMenu->PopupWindow(0), 0));
    EXPECT_NE(std::find(Log.begin(), Log.end(), "click C"), Log.end());
    EXPECT_FALSE(Component->SkinMenu->Visible());
    EXPECT_FALSE(Component->InMenu);

    // No menu, or one without items, opens nothing and leaves no menu mode.
    Component->DoPopupMenu(nullptr, 10, 10);
    Component->DoPopupMenu(MakeMenu({}), 10, 10);
    EXPECT_FALSE(Component->SkinMenu->Visible());
    EXPECT_FALSE(Component->InMenu);
}

TEST_F(SystemMenuTest, AnEditsContextMenuIsASkinnedPopupMenuOfItsForm) {
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    Component->SetMenusSkinData(SD);
    auto* Edit = new TbsCustomEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 120, 22);
    Edit->SetText("some text");
    Edit->SetFocus();
    Pump();

    const TPoint P = Edit->ClientToScreen({20, 8});
    SendMessage(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
                MAKELPARAM(P.X, P.Y));
    Pump();
    auto* Menu = dynamic_cast<TbsSkinPopupMenu*>(Edit->SysPopupMenu());
    ASSERT_NE(Menu, nullptr);
    ASSERT_TRUE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), P.X);
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Top(), P.Y);
    Component->SkinMenu->Hide();
    Pump();
}

TEST_F(SystemMenuTest, AMenuButtonOpensItsMenusAndComesUpWhenTheyClose) {
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    Component->SetMenusSkinData(SD);
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "One");
    auto* Button = new TbsSkinMenuSpeedButton(Form);
    Button->SetParent(Form);
    Button->SetBounds(50, 60, 80, 30);
    Button->SetSkinPopupMenu(M);
    int Shown = 0, Hidden = 0;
    Button->OnShowTrackMenu = [&Shown](TObject*) { ++Shown; };
    Button->OnHideTrackMenu = [&Hidden](TObject*) { ++Hidden; };
    Pump();

    // A press opens the popup menu under the button; the release keeps it.
    const TPoint P = Button->ClientToScreen({10, 10});
    Headless.MovePointer(P.X, P.Y);
    Pump();
    Headless.Press(0);
    Headless.Release(0);
    Pump();
    ASSERT_TRUE(Component->SkinMenu->Visible());
    const TPoint Corner = Button->ClientToScreen({0, Button->Height()});
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), Corner.X);
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Top(), Corner.Y);
    EXPECT_TRUE(Button->MenuTracked());
    EXPECT_EQ(Shown, 1);
    // Closing the menu brings the button up.
    Component->SkinMenu->Hide();
    Pump();
    EXPECT_FALSE(Button->MenuTracked());
    EXPECT_FALSE(Button->Down());
    EXPECT_EQ(Hidden, 1);

    // An image grid: open while it has images, up again when it closes; an
    // empty grid never opens and the button comes up at once.
    auto* Grid = new TbsSkinImagesMenu(Form);
    auto* Images = new TCustomImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    Grid->SetImages(Images);
    Button->SetSkinPopupMenu(nullptr);
    Button->SetSkinImagesMenu(Grid);
    Button->TrackMenu();
    EXPECT_EQ(Grid->PopupWindow(), nullptr);
    EXPECT_FALSE(Button->MenuTracked());
    EXPECT_EQ(Hidden, 2);
    TBitmap Picture;
    Picture.SetSize(16, 16);
    Images->AddMasked(&Picture, clFuchsia);
    Grid->ImagesItems()->Add()->SetImageIndex(0);
    Headless.MovePointer(P.X, P.Y);
    Pump();
    Headless.Press(0);
    Headless.Release(0);
    Pump();
    ASSERT_NE(Grid->PopupWindow(), nullptr);
    EXPECT_TRUE(Button->MenuTracked());
    ClickAt({900, 900});
    Pump();
    EXPECT_EQ(Grid->PopupWindow(), nullptr);
    EXPECT_FALSE(Button->MenuTracked());
    EXPECT_EQ(Hidden, 3);
}

TEST_F(SystemMenuTest, PopupMenuComponentWithoutSkinOrComponent) {
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "One");
    int Popups = 0;
    M->OnPopup = [&Popups](TObject*) { ++Popups; };
    // Popup2 needs a skin: none on the component, nothing shown.
    M->Popup2(nullptr, 100, 100);
    EXPECT_EQ(Popups, 1);
    EXPECT_FALSE(Component->SkinMenu->Visible());

    auto* Other = new TForm(nullptr);
    auto* N = new TbsSkinPopupMenu(Other);
    AddItem(N->Items(), "One");
    N->OnPopup = [&Popups](TObject*) { ++Popups; };
    N->Popup(100, 100);
    EXPECT_EQ(Popups, 2);
    EXPECT_FALSE(Component->SkinMenu->Visible());
}

TEST_F(SystemMenuTest, TrayMenuHasItsThreeBuiltInItems) {
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    Component->SetSkinData(SD);
    // The chain is reached through the component's own tray menu.
    Component->PopupSystemMenuAt(10, 10);
    Component->SkinMenu->Hide();
    auto Names = [&] {
        std::vector<std::string> S;
        TbsSkinPopupMenu* Tray = nullptr;
        for (int i = 0; i < Component->ComponentCount(); ++i)
            if (auto* P = dynamic_cast<TbsSkinPopupMenu*>(Component->Components(i)))
                Tray = P;
        if (Tray)
            for (int i = 0; i < Tray->Items()->Count(); ++i)
                S.push_back(Tray->Items()->Items(i)->Caption());
        return S;
    };
    EXPECT_EQ(Names(), (std::vector<std::string>{"&Restore", "-", "&Close"}));
}

// A form that counts the wheel messages reaching it or its children.
class TWheelForm : public TForm {
public:
    TWheelForm() : TForm(nullptr) {}
    int Wheels = 0;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_MOUSEWHEEL)
            ++Wheels;
        TForm::WndProc(Message);
    }
};

TEST_F(SystemMenuTest, ClosingMessagesCloseTheOpenMenuAndOthersDoNot) {
    struct TCase {
        UINT Msg;
        WPARAM WParam;
        bool Closes;
    };
    const LPARAM P = MAKELPARAM(5, 5);
    const TCase Cases[] = {{WM_MOVE, 0, true},
                           {WM_SIZE, 0, true},
                           {WM_ACTIVATE, WA_INACTIVE, true},
                           {WM_KILLFOCUS, 0, true},
                           {31 /* cancel mode */, 0, true},
                           {WM_MOUSEACTIVATE, 0, true},
                           {WM_NCLBUTTONDOWN, HTNOWHERE, true},
                           {WM_NCRBUTTONDOWN, HTNOWHERE, true},
                           {WM_NCMBUTTONDOWN, HTNOWHERE, true},
                           {WM_LBUTTONDOWN, 0, true},
                           {WM_RBUTTONDOWN, 0, true},
                           {WM_MBUTTONDOWN, 0, true},
                           {WM_PARENTNOTIFY, WM_LBUTTONDOWN, true},
                           {WM_SYSKEYDOWN, VK_MENU, false},
                           {WM_MOUSEMOVE, 0, false},
                           {WM_SETCURSOR, 0, false}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Msg);
        Component->PopupSystemMenuAt(300, 300);
        ASSERT_TRUE(Component->SkinMenu->Visible());
        SendMessage(Form->Handle(), C.Msg, C.WParam, P);
        Pump();
        EXPECT_EQ(Component->SkinMenu->Visible(), !C.Closes);
        EXPECT_EQ(Component->SkinMenu->PopupCount(), C.Closes ? 0 : 1);
        Component->SkinMenu->Hide();
        Pump();
    }
}

TEST_F(SystemMenuTest, TheWheelDoesNothingAnywhereWhileTheMenuIsOpen) {
    auto* Other = new TWheelForm;
    Other->SetBounds(700, 100, 300, 200);
    Other->Show();
    Pump();
    Headless.Wheel(120);
    Pump();
    ASSERT_EQ(Other->Wheels, 1);
    Component->PopupSystemMenuAt(300, 300);
    const int Start = Component->SkinMenu->PopupWindow(0)->VisibleStartIndex;
    Headless.Wheel(-120);
    Pump();
    EXPECT_EQ(Other->Wheels, 1);
    EXPECT_TRUE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->VisibleStartIndex, Start);
    Component->SkinMenu->Hide();
    Pump();
    Headless.Wheel(120);
    Pump();
    EXPECT_EQ(Other->Wheels, 2);
}

TEST_F(SystemMenuTest, WordTableNamesTheSystemItemsButNeverTheTrayMenus) {
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    auto* Words = new TbsResourceStrData(Form);
    TStringList Lines;
    Lines.Add("MI_MINCAPTION=最小化");
    Lines.Add("MI_CLOSECAPTION=关闭");
    Words->SetResStrings(&Lines);
    SD->SetResourceStrData(Words);
    Component->SetSkinData(SD);
    Component->SetBorderIcons({BI::biMinimize, BI::biRollUp});
    // A word missing from the table leaves its item without a caption.
    EXPECT_EQ(Captions(Component->GetSystemMenuItems()),
              (std::vector<std::string>{"最小化", "", "-", "关闭\tAlt+F4"}));
    TbsSkinPopupMenu* Tray = nullptr;
    for (int i = 0; i < Component->ComponentCount(); ++i)
        if (auto* M = dynamic_cast<TbsSkinPopupMenu*>(Component->Components(i)))
            Tray = M;
    ASSERT_NE(Tray, nullptr);
    EXPECT_EQ(Captions(Tray->Items()),
              (std::vector<std::string>{"&Restore", "-", "&Close\tAlt+F4"}));
}

TEST_F(SystemMenuTest, RightClickOnTheCaptionOpensTheSystemMenuUnlessDisabled) {
    for (bool Disabled : {false, true}) {
        SCOPED_TRACE(Disabled);
        Component->SetDisableSystemMenu(Disabled);
        const TPoint P{Form->Left() + Form->Width() / 2, Form->Top() + 8};
        ASSERT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)), HTCAPTION);
        Headless.MovePointer(P.X, P.Y);
        Headless.Press(1);
        Headless.Release(1);
        Pump();
        ASSERT_EQ(Component->SkinMenu->Visible(), !Disabled);
        if (!Disabled) {
            EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Left(), P.X);
            EXPECT_EQ(Component->SkinMenu->PopupWindow(0)->Top(), P.Y);
            Component->SkinMenu->Hide();
            Pump();
        }
    }
}

TEST_F(SystemMenuTest, MenusAlphaSettingsReachTheOpenedWindows) {
    // The chain exists from the component's creation: later settings reach it.
    Component->SetMenusAlphaBlend(true);
    for (int Value : {150, 90}) {
        SCOPED_TRACE(Value);
        Component->SetMenusAlphaBlendValue(BYTE(Value));
        Component->PopupSystemMenuAt(300, 300);
        const THeadlessSurface* S = nullptr;
        for (TSurfaceId Id : Headless.Surfaces())
            if (const THeadlessSurface* T = Headless.Surface(Id);
                T && T->Visible && T->Bounds == Component->SkinMenu->PopupWindow(0)->BoundsRect())
                S = T;
        ASSERT_NE(S, nullptr);
        EXPECT_EQ(S->Alpha, std::optional<BYTE>(BYTE(Value)));
        Component->SkinMenu->Hide();
        Pump();
    }
}

TEST_F(SystemMenuTest, AClickQueuedBeforeAFadingMenuOpensClosesItSafely) {
    Component->SetMenusAlphaBlend(true);
    Component->SetMenusAlphaBlendAnimation(true);
    // The click is still in the queue when the menu starts to open; the
    // opening lets it through before the fade, and it closes the menu.
    const TPoint Inside = Form->ClientToScreen({20, 20});
    Headless.MovePointer(Inside.X, Inside.Y);
    Headless.Press(0);
    Headless.Release(0);
    TSteppingClock Stepping(2, Clock.Now());
    SetTickSource(Stepping.Source());
    Component->PopupSystemMenuAt(300, 300);
    SetTickSource(Clock.Source());
    EXPECT_FALSE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 0);
    Pump();
    RunFor(200);
    // The next menu opens and fades in as usual.
    TSteppingClock Stepping2(2, Clock.Now());
    SetTickSource(Stepping2.Source());
    Component->PopupSystemMenuAt(300, 300);
    SetTickSource(Clock.Source());
    EXPECT_TRUE(Component->SkinMenu->Visible());
    Component->SkinMenu->Hide();
    Pump();
}

TEST_F(SystemMenuTest, PopupMenuOfAnMdiChildOpensInTheMainFormsChain) {
    TForm* Main = Application->CreateForm<TForm>();
    Application->SetMainForm(Main);
    Main->SetBounds(50, 50, 600, 400);
    Main->SetFormStyle(fsMDIForm);
    auto* MainComponent = new TbsSkinForm(Main);
    Main->Show();
    Pump();
    auto* Child = new TForm(Main);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(0, 0, 200, 150);
    auto* ChildComponent = new TbsSkinForm(Child);
    Child->Show();
    Pump();
    auto* M = new TbsSkinPopupMenu(Child);
    AddItem(M->Items(), "One");
    M->Popup(200, 220);
    ASSERT_TRUE(MainComponent->SkinMenu->Visible());
    EXPECT_FALSE(ChildComponent->SkinMenu->Visible());
    EXPECT_EQ(MainComponent->SkinMenu->PopupWindow(0)->Left(), 200);
    // Its keys go through the main form's menu mode.
    MainComponent->SkinMenu->PopupWindow(0)->PopupKeyDown(VK_RETURN);
    Pump();
    EXPECT_EQ(Log.back(), "click One");
    EXPECT_FALSE(MainComponent->SkinMenu->Visible());
}

TEST_F(SystemMenuTest, AltSpaceTwiceOpensOneFreshSystemMenu) {
    const auto AltSpace = [this] {
        Headless.KeyDown(VK_MENU);
        Headless.KeyDown(VK_SPACE, " ");
        Headless.KeyUp(VK_SPACE);
        Headless.KeyUp(VK_MENU);
        Pump();
    };
    AltSpace();
    ASSERT_TRUE(Component->SkinMenu->Visible());
    ASSERT_EQ(Component->SkinMenu->PopupCount(), 1);
    TbsSkinPopupWindow* W = Component->SkinMenu->PopupWindow(0);
    EXPECT_GE(W->Left(), Form->Left());
    EXPECT_LT(W->Top(), Form->Top() + 40);
    // Again while it is open: the items it shows are rebuilt only after it
    // closed, and one menu is open afterwards.
    AltSpace();
    RunFor(100);
    ASSERT_TRUE(Component->SkinMenu->Visible());
    EXPECT_EQ(Component->SkinMenu->PopupCount(), 1);
    W = Component->SkinMenu->PopupWindow(0);
    ASSERT_EQ(W->ActiveItem, 0);
    EXPECT_EQ(W->Item(0)->MenuItem->Name(), "BSF_MINITEM");
    Headless.KeyDown(VK_ESCAPE);
    Headless.KeyUp(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Component->SkinMenu->Visible());
}

TEST_F(SystemMenuTest, AChosenItemMayCloseItsSkinnedFormForGood) {
    Form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "Quit")->OnClick = [this](TObject*) { Form->Close(); };
    M->Popup(200, 250);
    ASSERT_TRUE(Component->SkinMenu->Visible());
    Component->SkinMenu->PopupWindow(0)->PopupKeyDown(VK_RETURN);
    // The form, its component, chain and windows all go with the posted steps.
    Pump();
    RunFor(200);
    EXPECT_EQ(Screen->FormCount(), 0);
    Form = nullptr;
    Chain = nullptr;
}

} // namespace
} // namespace menus
