// The chain: the order of a choice, the submenu delay, a second chain and
// popups with nothing to show.
#include "tests/skin/forms/menus/MenusFixture.h"

namespace menus {
namespace {

class ChainTest : public MenusFixture {
protected:
    // A root menu "&Open", "&Save", "&More" (submenu "Inner 1", "Inner 2").
    TPopupMenu* Menu() {
        TPopupMenu* M = MakeMenu({"&Open", "&Save", "&More"});
        TMenuItem* More = M->Items()->Items(2);
        AddItem(More, "Inner 1");
        AddItem(More, "Inner 2");
        return M;
    }
    TRect At(int X, int Y) { return {X, Y, X, Y}; }
};

struct TChooseCase {
    const char* Name;
    int How; // 0 click, 1 Enter on the first item, 2 mnemonic of the second item
    const char* Clicked;
};

class ChooseOrderTest : public ChainTest, public testing::WithParamInterface<TChooseCase> {};

TEST_P(ChooseOrderTest, ClosesTellsAndRunsTheCommandInOrder) {
    TPopupMenu* M = Menu();
    auto* Ctrl = new TRecordingControl(Form, &Log, "ctrl");
    Ctrl->SetParent(Form);
    Ctrl->SetBounds(10, 10, 50, 20);
    Chain->Popup(Ctrl, nullptr, 0, At(300, 300), M->Items(), false);
    Chain->OnMenuClose = [this](TObject*) { Log.push_back("menuclose"); };
    ASSERT_EQ(Chain->PopupCount(), 1);
    TbsSkinPopupWindow* W = Window();
    switch (GetParam().How) {
    case 0:
        ClickAt(CentreOf(W, 1));
        break;
    case 1:
        W->PopupKeyDown(VK_RETURN);
        break;
    default:
        W->PopupKeyDown('S');
        break;
    }
    const std::string Click = std::string("click ") + GetParam().Clicked;
    EXPECT_EQ(Log, (TLog{"ctrl:1228", "menuclose", "form:1228", Click, "ctrl:1229"}));
    EXPECT_FALSE(Chain->Visible());
    EXPECT_EQ(Chain->PopupCount(), 0);
    // The closed windows go with the posted message; nothing more is said.
    Pump();
    RunFor(200);
    EXPECT_EQ(Log.size(), 5u);
}

TEST_P(ChooseOrderTest, AnItemThatClosesItsFormLeavesNothingBehind) {
    TPopupMenu* M = Menu();
    Form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    for (int i = 0; i < 2; ++i)
        M->Items()->Items(i)->OnClick = [this](TObject*) { Form->Close(); };
    auto* Ctrl = new TRecordingControl(Form, &Log, "ctrl");
    Ctrl->SetParent(Form);
    Chain->Popup(Ctrl, nullptr, 0, At(300, 300), M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    switch (GetParam().How) {
    case 0:
        ClickAt(CentreOf(W, 1));
        break;
    case 1:
        W->PopupKeyDown(VK_RETURN);
        break;
    default:
        W->PopupKeyDown('S');
        break;
    }
    // The form, its chain and the chain's windows go with the posted steps.
    Pump();
    RunFor(200);
    EXPECT_EQ(Screen->FormCount(), 0);
    EXPECT_EQ(Log, (TLog{"ctrl:1228", "form:1228", "ctrl:1229"}));
    Form = nullptr;
    Chain = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Ways, ChooseOrderTest,
                         testing::Values(TChooseCase{"Click", 0, "&Save"},
                                         TChooseCase{"Enter", 1, "&Open"},
                                         TChooseCase{"Mnemonic", 2, "&Save"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ChainTest, ClosingWithoutAChoiceSendsNoAfterCommand) {
    TPopupMenu* M = Menu();
    auto* Ctrl = new TRecordingControl(Form, &Log, "ctrl");
    Ctrl->SetParent(Form);
    Chain->Popup(Ctrl, nullptr, 0, At(300, 300), M->Items(), false);
    Window()->PopupKeyDown(VK_ESCAPE);
    Pump();
    EXPECT_EQ(Log, TLog{"ctrl:1228"});
    EXPECT_FALSE(Chain->Visible());
}

TEST_F(ChainTest, HoveredSubmenuOpensAfterTheDelayUnlessLeft) {
    TPopupMenu* M = Menu();
    Chain->Popup(nullptr, nullptr, 0, At(300, 300), M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    MoveTo(CentreOf(W, 2));
    RunFor(60); // the window's pointer timer sees the item
    const std::uint32_t Entered = Clock.Now();
    ASSERT_EQ(W->ActiveItem, 2);
    Headless.RunUntil(Entered + 440);
    EXPECT_EQ(Chain->PopupCount(), 1);
    RunFor(120);
    EXPECT_EQ(Chain->PopupCount(), 2);

    // Entering another item of the root closes the submenu; leaving the
    // submenu item before the delay keeps it closed.
    MoveTo(CentreOf(W, 0));
    RunFor(60);
    EXPECT_EQ(Chain->PopupCount(), 1);
    MoveTo(CentreOf(W, 2));
    RunFor(300);
    MoveTo(CentreOf(W, 1));
    RunFor(1000);
    EXPECT_EQ(Chain->PopupCount(), 1);
}

TEST_F(ChainTest, DelayIsFiveHundredMillisecondsFromEntering) {
    TPopupMenu* M = Menu();
    Chain->Popup(nullptr, nullptr, 0, At(300, 300), M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    W->Item(2)->MouseEnter(false);
    const std::uint32_t Entered = Clock.Now();
    Headless.RunUntil(Entered + 499);
    EXPECT_EQ(Chain->PopupCount(), 1);
    Headless.RunUntil(Entered + 500);
    EXPECT_EQ(Chain->PopupCount(), 2);
    EXPECT_TRUE(W->Item(2)->Down);
}

TEST_F(ChainTest, ClickingASubmenuItemRunsItsClickBeforeTheSubmenuOpens) {
    TPopupMenu* M = Menu();
    TMenuItem* More = M->Items()->Items(2);
    More->OnClick = [this](TObject*) {
        Log.push_back("click More, windows " + std::to_string(Chain->PopupCount()));
    };
    Chain->Popup(nullptr, nullptr, 0, At(300, 300), M->Items(), false);
    ClickAt(CentreOf(Window(), 2));
    EXPECT_EQ(Log, TLog{"click More, windows 1"});
    ASSERT_EQ(Chain->PopupCount(), 2);
    // Beside the parent item, its first item level with it.
    TbsSkinPopupWindow* Sub = Window(1);
    EXPECT_EQ(Sub->Left(), Window()->Left() + Window()->Item(2)->ObjectRect.Right + 1);
    EXPECT_EQ(Sub->Top() + Sub->NewItemsRect.Top,
              Window()->Top() + Window()->Item(2)->ObjectRect.Top);
}

TEST_F(ChainTest, SecondPopupClosesTheFirstChainAndTellsItsControl) {
    TPopupMenu* M = Menu();
    auto* A = new TRecordingControl(Form, &Log, "a");
    auto* B = new TRecordingControl(Form, &Log, "b");
    A->SetParent(Form);
    B->SetParent(Form);
    Chain->Popup(A, nullptr, 0, At(300, 300), M->Items(), false);
    Chain->OnMenuClose = [this](TObject*) { Log.push_back("close a"); };
    Chain->Popup(B, nullptr, 0, At(400, 300), M->Items(), false);
    EXPECT_EQ(Log, (TLog{"a:1228", "close a"}));
    EXPECT_TRUE(Chain->Visible());
    EXPECT_FALSE(Chain->First());
    ASSERT_EQ(Chain->PopupCount(), 1);
    EXPECT_EQ(Window()->Left(), 400);
}

TEST_F(ChainTest, PopupWithNothingToShowClosesTheOpenChain) {
    TPopupMenu* M = Menu();
    TPopupMenu* Empty = MakeMenu({});
    struct TCase {
        TMenuItem* Item;
        int Start;
    };
    for (const TCase& C : {TCase{Empty->Items(), 0}, TCase{M->Items(), 3}, TCase{M->Items(), 9}}) {
        Chain->Popup(nullptr, nullptr, 0, At(300, 300), M->Items(), false);
        ASSERT_TRUE(Chain->Visible());
        Chain->Popup(nullptr, nullptr, C.Start, At(300, 300), C.Item, false);
        EXPECT_FALSE(Chain->Visible());
        EXPECT_EQ(Chain->PopupCount(), 0);
    }
}

TEST_F(ChainTest, WindowsNeverTakeTheFormsActivation) {
    TPopupMenu* M = Menu();
    ASSERT_EQ(GetActiveWindow(), Form->Handle());
    Chain->Popup(nullptr, nullptr, 0, At(300, 300), M->Items(), false);
    ClickAt(CentreOf(Window(), 2));
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    EXPECT_EQ(Chain->PopupCount(), 2);
}

} // namespace
} // namespace menus
