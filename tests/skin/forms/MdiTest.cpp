// The skinned MDI main form and its children: the free area, tile and
// cascade, the window states of all children, the window-menu entries and
// maximized children fitted to the free area.
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/forms/SkinForm.MdiTabs.h"
#include "skin/forms/bsSkinMenus.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

class SkinFormMdi : public SkinFormFixture {
protected:
    // The application's main form, MDI, with a client area of W x H.
    TForm* MakeMain(int W, int H, TbsSkinData* Skin = nullptr, bool WithWindowMenu = true) {
        Main = Application->CreateForm<TForm>();
        Main->SetName("Main");
        Main->SetCaption("Main");
        Main->SetFormStyle(fsMDIForm);
        Main->SetBounds(50, 50, W + 100, H + 100);
        auto* C = new TbsSkinForm(Main);
        if (Skin)
            C->SetSkinData(Skin);
        if (WithWindowMenu) {
            Menu = new TMainMenu(Main);
            WindowItem = new TMenuItem(Menu);
            WindowItem->SetCaption("Window");
            Menu->Items()->Add(WindowItem);
            Main->SetWindowMenu(WindowItem);
        }
        Main->Show();
        Main->SetClientWidth(W);
        Main->SetClientHeight(H);
        Application->ProcessMessages();
        return Main;
    }

    TForm* MakeChild(const std::string& Name, TbsSkinData* Skin = nullptr) {
        auto* F = new TForm(Application);
        F->SetName(Name);
        F->SetCaption(Name);
        F->SetFormStyle(fsMDIChild);
        F->SetBounds(10, 10, 200, 150);
        auto* C = new TbsSkinForm(F);
        if (Skin)
            C->SetSkinData(Skin);
        F->Show();
        Application->ProcessMessages();
        Children.push_back(F);
        return F;
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> Names;
        for (int I = 0; I < WindowItem->Count(); ++I)
            Names.push_back(WindowItem->Items(I)->Name() + "=" + WindowItem->Items(I)->Caption() +
                            (WindowItem->Items(I)->Checked() ? "*" : ""));
        return Names;
    }

    TForm* Main = nullptr;
    TMainMenu* Menu = nullptr;
    TMenuItem* WindowItem = nullptr;
    std::vector<TForm*> Children;
};

TEST_F(SkinFormMdi, TileFillsColumnsFromTheBottomRight) {
    struct Case {
        int Count;
        std::vector<TRect> Want;
    };
    const Case Cases[] = {
        {5,
         {{0, 0, 400, 300},
          {0, 300, 400, 600},
          {400, 0, 800, 200},
          {400, 200, 800, 400},
          {400, 400, 800, 600}}},
        {1, {{0, 0, 800, 600}}},
        {0, {}},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Count);
        MakeMain(800, 600);
        for (int I = 0; I < K.Count; ++I)
            MakeChild("Doc" + std::to_string(I));
        // The form's own list is in z-order, the active child first.
        std::vector<TCustomForm*> Order;
        for (int I = 0; I < Main->MDIChildCount(); ++I)
            Order.push_back(Main->MDIChildren(I));
        Component(Main)->Tile();
        for (int I = 0; I < K.Count; ++I)
            EXPECT_EQ(Order[I]->BoundsRect(), K.Want[I]) << I;
        for (TForm* F : Children)
            delete F;
        Children.clear();
        delete Main;
    }
}

TEST_F(SkinFormMdi, CascadeStepsByTheCaptionAndNeverByZero) {
    // Plain: the caption height plus 3; a skin whose client starts at the
    // top edge still steps by one pixel.
    TbsSkinData* NoTop = LoadSkin(FrameSkin(TFrameSkinOptions{}.WithFormInfo(
        {"clientrect=5,0,295,195", "lefttoppoint=5,0", "righttoppoint=295,0"})));
    for (TbsSkinData* Skin : {static_cast<TbsSkinData*>(nullptr), NoTop}) {
        SCOPED_TRACE(Skin ? "skin without top frame" : "plain");
        MakeMain(1000, 700, Skin);
        TbsSkinForm* C = Component(Main);
        const int Step = Skin ? 1 : C->GetDefCaptionHeight() + 3;
        if (!Skin) {
            EXPECT_EQ(Step, 22);
        }
        for (int I = 0; I < 3; ++I)
            MakeChild("Doc" + std::to_string(I));
        std::vector<TCustomForm*> Order;
        for (int I = 0; I < Main->MDIChildCount(); ++I)
            Order.push_back(Main->MDIChildren(I));
        C->Cascade();
        for (int I = 0; I < 3; ++I) {
            const int Offset = (2 - I) * Step;
            EXPECT_EQ(Order[I]->BoundsRect(),
                      (TRect{Offset, Offset, Offset + 1000 - 2 * Step, Offset + 700 - 2 * Step}))
                << I;
        }
        for (TForm* F : Children)
            delete F;
        Children.clear();
        delete Main;
    }
}

class TBar : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

TEST_F(SkinFormMdi, TheFreeAreaLeavesOutVisibleAlignedControls) {
    MakeMain(800, 600);
    auto Add = [&](TAlign A, int Size) {
        auto* B = new TBar(Main);
        B->SetBounds(0, 0, Size, Size);
        B->SetAlign(A);
        B->SetParent(Main);
        return B;
    };
    Add(alLeft, 100);
    Add(alTop, 30);
    Add(alBottom, 20);
    TBar* Hidden = Add(alRight, 50);
    Hidden->SetVisible(false);
    Application->ProcessMessages();
    const TRect R = Component(Main)->GetMDIWorkArea();
    EXPECT_EQ(R.Width(), 700);
    EXPECT_EQ(R.Height(), 550);

    // A maximized child is fitted to it again when it changes.
    TForm* Child = MakeChild("Doc1");
    Component(Child)->SetWindowState(wsMaximized);
    EXPECT_EQ(Child->BoundsRect(), (TRect{0, 0, 700, 550}));
    Hidden->SetVisible(true);
    Main->Perform(WM_SIZE, 0, 0);
    Component(Main)->UpdateMDIChildren();
    EXPECT_EQ(Child->BoundsRect(), (TRect{0, 0, 650, 550}));
    EXPECT_EQ(Component(Main)->FindMaximizedChild(), Child);
}

TEST_F(SkinFormMdi, WindowMenuEntriesFollowTheChild) {
    MakeMain(800, 600);
    TForm* Doc1 = MakeChild("Doc1");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Doc1_BSFCHILDITEM=Doc1*"}));
    Doc1->SetCaption("Report");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Doc1_BSFCHILDITEM=Report*"}));
    TForm* Doc2 = MakeChild("Doc2");
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"Doc1_BSFCHILDITEM=Report", "Doc2_BSFCHILDITEM=Doc2*"}));
    Main->Next();
    Application->ProcessMessages();
    ASSERT_EQ(Main->ActiveMDIChild(), Doc1);
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"Doc1_BSFCHILDITEM=Report*", "Doc2_BSFCHILDITEM=Doc2"}));
    Doc2->Hide();
    Application->ProcessMessages();
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Doc1_BSFCHILDITEM=Report*"}));

    // Chosen while minimized: back to normal and shown.
    Component(Doc1)->SetWindowState(wsMinimized);
    WindowItem->Items(0)->Click();
    EXPECT_EQ(Component(Doc1)->WindowState(), wsNormal);
    EXPECT_TRUE(Doc1->Visible());

    delete Doc2;
    delete Doc1;
    Children.clear();
    Application->ProcessMessages();
    EXPECT_TRUE(Entries().empty()) << "an entry is owned by its child's component";
}

TEST_F(SkinFormMdi, WithoutAWindowMenuNothingIsEntered) {
    MakeMain(800, 600, nullptr, false);
    bool Asked = false;
    TForm* Doc1 = new TForm(Application);
    Doc1->SetName("Doc1");
    Doc1->SetFormStyle(fsMDIChild);
    auto* C = new TbsSkinForm(Doc1);
    C->OnAcceptToMDITabsBar = [&](bool& Accept) {
        Asked = true;
        Accept = false;
    };
    Doc1->Show();
    Doc1->SetCaption("Other");
    Doc1->Hide();
    Application->ProcessMessages();
    EXPECT_TRUE(Asked);
    EXPECT_EQ(Main->WindowMenu(), nullptr);
    delete Doc1;
}

TEST_F(SkinFormMdi, AllChildrenChangeStateThroughTheirComponents) {
    MakeMain(800, 600);
    for (int I = 0; I < 3; ++I)
        MakeChild("Doc" + std::to_string(I));
    TbsSkinForm* C = Component(Main);
    C->MinimizeAll();
    for (TForm* F : Children)
        EXPECT_EQ(Component(F)->WindowState(), wsMinimized) << F->Name();
    // Minimized strips in a row along the bottom of the free area.
    const int W = Component(Children[0])->GetMinWidth();
    const int H = Component(Children[0])->GetMinHeight();
    std::vector<TPoint> Places;
    for (TForm* F : Children)
        Places.push_back(TPoint{F->Left(), F->Top()});
    std::sort(Places.begin(), Places.end(), [](TPoint A, TPoint B) { return A.X < B.X; });
    EXPECT_EQ(Places, (std::vector<TPoint>{{0, 600 - H}, {W, 600 - H}, {2 * W, 600 - H}}));
    Children[1]->SetBounds(300, 300, W, H);
    C->ArrangeMinimizedChildren();
    EXPECT_EQ(Children[1]->Top(), 600 - H);

    C->MaximizeAll();
    for (TForm* F : Children)
        EXPECT_EQ(Component(F)->WindowState(), wsMaximized) << F->Name();
    Component(Children[2])->SetWindowState(wsNormal);
    Component(Children[2])->SetRollUpState(true);
    C->RestoreAll();
    for (TForm* F : Children) {
        EXPECT_EQ(Component(F)->WindowState(), wsNormal) << F->Name();
        EXPECT_FALSE(Component(F)->RollUpState()) << F->Name();
    }

    std::vector<std::string> Closed;
    for (TForm* F : Children)
        F->OnClose = [&Closed, F](TObject*, TCloseAction& Action) {
            Closed.push_back(F->Name());
            Action = caHide;
        };
    std::vector<std::string> Expected;
    for (int I = Main->MDIChildCount() - 1; I >= 0; --I)
        Expected.push_back(Main->MDIChildren(I)->Name());
    C->CloseAll();
    EXPECT_EQ(Closed, Expected);
}

} // namespace
} // namespace skinform

namespace skinform {
namespace {

TEST_F(SkinFormMdi, AChildsActivationIsPassedOnAndFollowed) {
    MakeMain(800, 600);
    TForm* Doc1 = MakeChild("Doc1");
    TForm* Doc2 = MakeChild("Doc2");
    TbsSkinForm* C1 = Component(Doc1);
    TbsSkinForm* C2 = Component(Doc2);
    EXPECT_TRUE(C2->GetFormActive());
    EXPECT_FALSE(C1->GetFormActive());
    // A press in the child activates it within the client.
    Doc1->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20));
    Doc1->Perform(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Application->ProcessMessages();
    EXPECT_TRUE(C1->GetFormActive());
    EXPECT_FALSE(C2->GetFormActive());
    // The platform's own activation state follows too: passed on.
    EXPECT_EQ(Main->ActiveMDIChild(), Doc1);
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"Doc1_BSFCHILDITEM=Doc1*", "Doc2_BSFCHILDITEM=Doc2"}));
    // The next child and a shown one take the activation from the other.
    Main->Next();
    Application->ProcessMessages();
    EXPECT_TRUE(C2->GetFormActive());
    EXPECT_FALSE(C1->GetFormActive());
    Doc1->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(C1->GetFormActive());
    EXPECT_FALSE(C2->GetFormActive());
}

// The tab bar's list buttons and menus, and a child's system menu opened by a
// right click on its tab.
TEST_F(SkinFormMdi, TheTabBarsListsAndAChildsMenu) {
    MakeMain(800, 600);
    auto* Bar = new TbsSkinMDITabsBar(Main);
    Bar->SetParent(Main);
    Bar->SetAlign(alTop);
    TbsSkinForm* MainComponent = Component(Main);
    MainComponent->SetMDITabsBar(Bar);
    EXPECT_EQ(Bar->FListButton, nullptr);
    TForm* Doc1 = MakeChild("Doc1");
    MakeChild("Doc2");
    MakeChild("Doc3");
    ASSERT_EQ(Bar->TabCount(), 3);
    ASSERT_NE(Bar->FListButton, nullptr);
    EXPECT_EQ(Bar->FListButton->Align(), alLeft);
    EXPECT_EQ(Bar->FListButton->Width(), 15);
    EXPECT_EQ(Bar->FListButton->StandardArrowKind(), 4);
    EXPECT_EQ(Bar->FHideListButton, nullptr);

    auto Listed = [](TbsSkinPopupMenu* M) {
        std::vector<std::string> L;
        for (int I = 0; I < M->Items()->Count(); ++I) {
            TMenuItem* Item = M->Items()->Items(I);
            L.push_back(Item->Name() + "=" + Item->Caption() + (Item->Checked() ? "*" : "") +
                        (Item->RadioItem() ? "" : " (not radio)"));
        }
        return L;
    };
    // Filled as the button opens its menu, twice without doubling.
    for (int Twice = 0; Twice < 2; ++Twice)
        Bar->FListButton->OnShowTrackMenu(Bar->FListButton);
    EXPECT_EQ(Listed(Bar->FListMenu),
              (std::vector<std::string>{"Doc1_BSFCHILDITEMBAR=Doc1", "Doc2_BSFCHILDITEMBAR=Doc2",
                                        "Doc3_BSFCHILDITEMBAR=Doc3*"}));
    // Choosing a minimized child restores and shows it.
    Component(Doc1)->SetWindowState(wsMinimized);
    Bar->FListMenu->Items()->Items(0)->Click();
    EXPECT_EQ(Component(Doc1)->WindowState(), wsNormal);
    EXPECT_EQ(Main->ActiveMDIChild(), Doc1);
    // Children without names of their own are told apart by their entries.
    TForm* Doc2 = Children[1];
    TForm* Doc3 = Children[2];
    Doc2->SetName("");
    Doc3->SetName("");
    for (TForm* Chosen : {Doc2, Doc3, Doc2}) {
        Bar->FListButton->OnShowTrackMenu(Bar->FListButton);
        Bar->FListMenu->Items()->Items(Chosen == Doc2 ? 1 : 2)->Click();
        EXPECT_EQ(Main->ActiveMDIChild(), Chosen);
    }
    Doc2->SetName("Doc2");
    Doc3->SetName("Doc3");

    // Tabs that do not fit: the hidden-list button lists them, and goes when
    // every tab fits again.
    Bar->SetMinTabWidth(Bar->Width() / 2);
    Bar->Repaint();
    ASSERT_NE(Bar->FHideListButton, nullptr);
    EXPECT_EQ(Bar->FHideListButton->Align(), alRight);
    EXPECT_EQ(Bar->FHideListButton->StandardArrowKind(), 2);
    Bar->FHideListButton->OnShowTrackMenu(Bar->FHideListButton);
    EXPECT_EQ(Listed(Bar->FHideListMenu),
              (std::vector<std::string>{"Doc2_BSFCHILDITEMBARHIDE=Doc2*",
                                        "Doc3_BSFCHILDITEMBARHIDE=Doc3"}));
    Bar->SetMinTabWidth(0);
    Bar->Repaint();
    EXPECT_EQ(Bar->FHideListButton, nullptr);

    // A right click opens the child's system menu in the main form's menu,
    // then tells the bar's handler.
    std::vector<std::string> Log;
    Bar->OnTabMouseDown = [&](TMouseButton, TShiftState, TbsMDITab* Tab) {
        Log.push_back(Tab->Child->Name() +
                      (MainComponent->SkinMenu->PopupCount() ? " menu open" : " no menu"));
    };
    Bar->CalcTabRects();
    const TRect& Second = Bar->Tab(1)->ObjectRect;
    const LPARAM At = MAKELPARAM(Second.Left + 5, Second.Top + 5);
    Bar->Perform(WM_RBUTTONDOWN, 0, At);
    Bar->Perform(WM_RBUTTONUP, 0, At);
    ASSERT_EQ(MainComponent->SkinMenu->PopupCount(), 1);
    TbsSkinPopupWindow* Menu = MainComponent->SkinMenu->PopupWindow(0);
    ASSERT_GT(Menu->ItemCount(), 0);
    EXPECT_EQ(Menu->Item(0)->MenuItem->Parent(),
              FindSkinFormComponent(Bar->Tab(1)->Child)->GetSystemMenuItems());
    MainComponent->HideSkinMenu();
    Application->ProcessMessages();

    // Without its form's component the bar opens and restores nothing.
    Bar->SetSkinForm(nullptr);
    Bar->Perform(WM_RBUTTONDOWN, 0, At);
    Bar->Perform(WM_RBUTTONUP, 0, At);
    EXPECT_EQ(MainComponent->SkinMenu->PopupCount(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{Bar->Tab(1)->Child->Name() + " menu open",
                                             Bar->Tab(1)->Child->Name() + " no menu"}));
    Component(Doc1)->SetWindowState(wsMinimized);
    Bar->FListButton->OnShowTrackMenu(Bar->FListButton);
    Bar->FListMenu->Items()->Items(0)->Click();
    EXPECT_EQ(Component(Doc1)->WindowState(), wsMinimized);

    // The list button goes with the last tab.
    for (TForm* C : Children)
        delete C;
    Children.clear();
    Application->ProcessMessages();
    EXPECT_EQ(Bar->TabCount(), 0);
    EXPECT_EQ(Bar->FListButton, nullptr);
}

// While a child is maximized the main form's caption names it: "Main -
// [Child]" in the plain look (drawn like a form with that caption) and in a
// skin's caption object; restored, the main form's own caption again.
TEST_F(SkinFormMdi, AMaximizedChildIsNamedInTheMainCaption) {
    MakeMain(800, 600);
    TForm* Doc1 = MakeChild("Doc1");
    TForm* Named = MakeForm(Main->Width(), Main->Height(), bsSizeable, nullptr, "Main - [Doc1]");
    TForm* Plain = MakeForm(Main->Width(), Main->Height(), bsSizeable, nullptr, "Main");
    // Both compared while inactive.
    TForm* Elsewhere = MakeForm(100, 100);
    auto SameCaption = [&](TForm* Other) {
        TbsSkinForm* C = Component(Main);
        Elsewhere->SetFocus();
        Application->ProcessMessages();
        EXPECT_FALSE(C->GetFormActive());
        EXPECT_FALSE(Component(Other)->GetFormActive());
        auto Mine = PaintFrame(Main);
        auto Theirs = PaintFrame(Other);
        const TRect& R = C->NewDefCaptionRect;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (PixelOf(Mine.get(), X, Y) != PixelOf(Theirs.get(), X, Y))
                    return false;
        return true;
    };
    Component(Doc1)->SetWindowState(wsMaximized);
    Application->ProcessMessages();
    EXPECT_TRUE(SameCaption(Named));
    EXPECT_FALSE(SameCaption(Plain));
    Component(Doc1)->SetWindowState(wsNormal);
    Application->ProcessMessages();
    EXPECT_TRUE(SameCaption(Plain));

    TbsSkinData* Skin = LoadSkin(FrameSkin());
    Component(Main)->SetSkinData(Skin);
    Component(Doc1)->SetSkinData(Skin);
    Component(Doc1)->SetWindowState(wsMaximized);
    Application->ProcessMessages();
    TbsSkinCaptionObject* Caption = nullptr;
    for (int I = 0; I < Component(Main)->ObjectCount() && !Caption; ++I)
        Caption = dynamic_cast<TbsSkinCaptionObject*>(Component(Main)->Object(I));
    ASSERT_NE(Caption, nullptr);
    TBitmap B;
    B.SetSize(10, 10);
    EXPECT_EQ(Caption->CaptionText(B.Canvas()), "Main - [Doc1]");
    Component(Doc1)->SetWindowState(wsNormal);
    Application->ProcessMessages();
    EXPECT_EQ(Caption->CaptionText(B.Canvas()), "Main");
}

} // namespace
} // namespace skinform
