// The drop-down protocol of both combos: size and place of the list, the
// press-drag-release rule, drag scrolling, the ways the list closes, focus
// and activation kept by the form, and the fade (with its guard when the
// list or the form goes during it).
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "tests/skin/controls/lists/ListsTestSupport.h"

namespace {

using namespace liststest;
using Strings = std::vector<std::string>;

Strings Numbered(int N) {
    Strings S;
    for (int I = 0; I < N; ++I)
        S.push_back("row" + std::to_string(I));
    return S;
}

class TDropDownTest : public TListsTest {
protected:
    TbsSkinComboBox* MakeCombo(int Count, int X = 20, int Y = 20) {
        auto* C = new TbsSkinComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(X, Y, 120, 20);
        for (const std::string& S : Numbered(Count))
            C->Items()->Add(S);
        C->OnChange = Log.Note("OnChange");
        C->OnClick = Log.Note("OnClick");
        C->OnCloseUp = Log.Note("OnCloseUp");
        Pump();
        return C;
    }
    TbsSkinOfficeComboBox* MakeOffice(int Count) {
        auto* C = new TbsSkinOfficeComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(200, 20, 120, 41);
        for (const std::string& S : Numbered(Count))
            C->Items()->Add()->SetCaption(S);
        C->OnChange = Log.Note("OnChange");
        C->OnClick = Log.Note("OnClick");
        C->OnCloseUp = Log.Note("OnCloseUp");
        Pump();
        return C;
    }
    // The centre of a row of the open list, in the inner list's coordinates.
    TPoint RowCentre(TbsSkinComboBox* C, int Row) {
        const TRect R = C->FListBox->ListBox->ItemRect(Row);
        return {R.Left + 5, (R.Top + R.Bottom) / 2};
    }
    TEventLog Log;
};

TEST_F(TDropDownTest, ListIsAsHighAsItsRowsUpToTheDropDownCount) {
    for (auto [Count, Rows] : {std::pair{3, 3}, std::pair{20, 8}}) {
        TbsSkinComboBox* C = MakeCombo(Count);
        C->DropDown();
        EXPECT_EQ(C->FListBox->RowCount(), Rows) << Count;
        EXPECT_EQ(C->FListBox->Height(), C->FListBox->CalcHeight(Rows)) << Count;
        C->CloseUp(false);
        delete C;
    }
}

TEST_F(TDropDownTest, ListOpensBelowOrAboveTheCombo) {
    Headless.SetScreens({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true}});
    TbsSkinComboBox* C = MakeCombo(20);
    const TPoint Bottom = C->ClientToScreen({0, C->Height()});
    C->DropDown();
    EXPECT_EQ(C->FListBox->Left(), Bottom.X);
    EXPECT_EQ(C->FListBox->Top(), Bottom.Y);
    C->CloseUp(false);

    // 50 px above the work area's bottom: directly above the combo.
    Form->SetTop(Form->Top() + 990 - Bottom.Y);
    Pump();
    const TPoint Top = C->ClientToScreen({0, 0});
    C->DropDown();
    EXPECT_EQ(C->FListBox->Top() + C->FListBox->Height(), Top.Y);
    C->CloseUp(false);

    // Fitting neither way, it still opens above, past the top edge.
    Headless.SetScreens({{{0, 0, 800, 200}, {0, 0, 800, 160}, true}});
    Form->SetTop(0);
    Pump();
    const TPoint NearTop = C->ClientToScreen({0, 0});
    C->DropDown();
    EXPECT_EQ(C->FListBox->Top(), NearTop.Y - C->FListBox->Height());
    EXPECT_LT(C->FListBox->Top(), 0);
}

TEST_F(TDropDownTest, WiderListExtendsRightForTextAndLeftForOffice) {
    TbsSkinComboBox* C = MakeCombo(3);
    TbsSkinOfficeComboBox* O = MakeOffice(3);
    C->SetListBoxWidth(200);
    O->SetListBoxWidth(200);
    C->DropDown();
    EXPECT_EQ(C->FListBox->Left(), C->ClientToScreen({0, 0}).X);
    EXPECT_EQ(C->FListBox->Width(), 200);
    C->CloseUp(false);
    O->DropDown();
    EXPECT_EQ(O->FListBox->Left(), O->ClientToScreen({0, 0}).X - 80);
}

TEST_F(TDropDownTest, OpeningOnRowZeroKeepsItSelectedAndOnTop) {
    TbsSkinComboBox* C = MakeCombo(20);
    C->SetItemIndex(0);
    C->DropDown();
    EXPECT_EQ(C->FListBox->ItemIndex(), 0);
    EXPECT_EQ(C->FListBox->TopIndex(), 0);
}

TEST_F(TDropDownTest, ClickThenEscapeFiresNothing) {
    TbsSkinComboBox* C = MakeCombo(5);
    C->SetItemIndex(1);
    Log.Names.clear();
    ClickAt(C, 60, 10);
    ASSERT_TRUE(C->IsPopupVisible());
    Key(VK_ESCAPE);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_TRUE(Log.Names.empty());
    EXPECT_EQ(C->ItemIndex(), 1);
}

TEST_F(TDropDownTest, FormKeepsActivationAndFocusWhileTheListOpensAndCloses) {
    TbsSkinComboBox* C = MakeCombo(5);
    ClickAt(C, 60, 10);
    ASSERT_TRUE(C->IsPopupVisible());
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    EXPECT_TRUE(C->Focused());
    const TPoint P = RowCentre(C, 2);
    ClickAt(C->FListBox->ListBox, P.X, P.Y);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 2);
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    EXPECT_TRUE(C->Focused());
    EXPECT_EQ(Screen->ActiveForm(), Form);
}

TEST_F(TDropDownTest, PressDragReleaseOnARowTakesIt) {
    TbsSkinComboBox* C = MakeCombo(10);
    PressAt(C, 60, 10);
    const TPoint P = RowCentre(C, 4);
    MoveTo(C->FListBox->ListBox, P.X, P.Y);
    EXPECT_EQ(C->FListBox->ItemIndex(), 4);
    ReleaseAt(C->FListBox->ListBox, P.X, P.Y);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 4);
    EXPECT_EQ(Log.Names, (Strings{"OnChange", "OnClick", "OnCloseUp"}));
}

// Only a release over the rows takes one: over the drop-down's scroll bar or
// its caption the drag is cancelled and the index before opening stays.
TEST_F(TDropDownTest, ReleaseOverTheListsScrollBarOrCaptionCancels) {
    for (const bool OnCaption : {false, true}) {
        TbsSkinComboBox* C = MakeCombo(20);
        C->SetListBoxCaptionMode(OnCaption);
        C->SetItemIndex(1);
        Log.Names.clear();
        PressAt(C, 60, 10);
        const TPoint P = RowCentre(C, 4);
        MoveTo(C->FListBox->ListBox, P.X, P.Y);
        ASSERT_EQ(C->FListBox->ItemIndex(), 4);
        ASSERT_NE(C->FListBox->ScrollBar, nullptr);
        ASSERT_EQ(C->FListBox->ListBox->Top() > 2, OnCaption);
        if (OnCaption)
            ReleaseAt(C->FListBox, 10, C->FListBox->ListBox->Top() / 2);
        else
            ReleaseAt(C->FListBox->ScrollBar, 5, 30);
        EXPECT_FALSE(C->IsPopupVisible()) << OnCaption;
        EXPECT_EQ(C->ItemIndex(), 1) << OnCaption;
        EXPECT_TRUE(Log.Names.empty()) << OnCaption;
        delete C;
    }
}

TEST_F(TDropDownTest, DraggingBelowTheListScrollsOneRowPerTick) {
    TbsSkinComboBox* C = MakeCombo(20);
    PressAt(C, 60, 10);
    TbsListBox* L = C->FListBox->ListBox;
    const TPoint P = RowCentre(C, 7);
    MoveTo(L, P.X, P.Y);
    ASSERT_EQ(C->FListBox->ItemIndex(), 7);
    MoveTo(L, P.X, L->Height() + 30);
    for (int Expected : {8, 9, 10}) {
        RunFor(25);
        EXPECT_EQ(C->FListBox->ItemIndex(), Expected);
    }
    MoveTo(L, P.X, RowCentre(C, 5).Y);
    EXPECT_EQ(C->TimerMode, 0);
    const int Now = C->FListBox->ItemIndex();
    RunFor(100);
    EXPECT_EQ(C->FListBox->ItemIndex(), Now);
}

TEST_F(TDropDownTest, ClickOnAnotherControlClosesCancellingButTheListsOwnBarDoesNot) {
    TbsSkinComboBox* C = MakeCombo(20);
    auto* Other = new TbsSkinListBox(Form);
    Other->SetParent(Form);
    Other->SetBounds(300, 250, 120, 100);
    C->SetItemIndex(3);
    Log.Names.clear();
    ClickAt(C, 60, 10);
    ASSERT_NE(C->FListBox->ScrollBar, nullptr);
    ClickAt(C->FListBox->ScrollBar, 5, 40);
    EXPECT_TRUE(C->IsPopupVisible());
    ClickAt(Other, 50, 50);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 3);
    EXPECT_TRUE(Log.Names.empty());
}

TEST_F(TDropDownTest, CancelModeWithoutASenderCloses) {
    TbsSkinComboBox* C = MakeCombo(5);
    TbsSkinOfficeComboBox* O = MakeOffice(5);
    C->DropDown();
    C->Perform(CM_CANCELMODE, 0, 0);
    EXPECT_FALSE(C->IsPopupVisible());
    O->DropDown();
    O->Perform(CM_CANCELMODE, 0, 0);
    EXPECT_FALSE(O->IsPopupVisible());
    EXPECT_TRUE(Log.Names.empty());
}

TEST_F(TDropDownTest, CaptionCheckButtonAccepts) {
    TbsSkinComboBox* C = MakeCombo(5);
    C->SetListBoxCaptionMode(true);
    C->SetItemIndex(1);
    Log.Names.clear();
    C->DropDown();
    Pump();
    const TRect R = C->FListBox->Buttons[2].R;
    ClickAt(C->FListBox, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(Log.Names, (Strings{"OnClick", "OnCloseUp"}));
}

TEST_F(TDropDownTest, EmptyComboOpensNothing) {
    TbsSkinComboBox* C = MakeCombo(0);
    TbsSkinOfficeComboBox* O = MakeOffice(0);
    C->OnDropDown = Log.Note("OnDropDown");
    ClickAt(C, 60, 10);
    ClickAt(O, 60, 10);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_FALSE(O->IsPopupVisible());
    EXPECT_TRUE(Log.Names.empty());
}

TEST_F(TDropDownTest, RightmostPixelColumnOfTheInnerListHitsTheRow) {
    TbsSkinComboBox* C = MakeCombo(20);
    ClickAt(C, 60, 10);
    TbsListBox* L = C->FListBox->ListBox;
    ClickAt(L, L->Width() - 1, RowCentre(C, 3).Y);
    EXPECT_EQ(C->ItemIndex(), 3);
}

// ---------------------------------------------------------------- fade

class TFadeTest : public TDropDownTest {
protected:
    void UseSteppingClock() { SetTickSource(Stepping.Source()); }
    TSteppingClock Stepping{6, 5000};
};

TEST_F(TFadeTest, FadesInStepsOfAFifteenthAndSetsTheLayeredStyle) {
    for (auto [Value, Expected] :
         {std::pair{200, std::vector<int>{0, 13, 26, 39, 52, 65, 78, 91, 104, 117, 130, 143, 156,
                                          169, 182, 195, 200}},
          std::pair{10, std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}}) {
        TbsSkinComboBox* C = MakeCombo(5);
        C->SetAlphaBlend(true);
        C->SetAlphaBlendAnimation(true);
        C->SetAlphaBlendValue(BYTE(Value));
        Headless.Opacities.clear();
        UseSteppingClock();
        C->DropDown();
        Headless.UseManualClock(&Clock);
        EXPECT_EQ(Headless.Opacities, Expected) << Value;
        EXPECT_TRUE(GetWindowLong(C->FListBox->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
        C->CloseUp(false);
        delete C;
    }
}

TEST_F(TFadeTest, WithoutACompositorTheListShowsAtOnceAndOpaque) {
    Headless.SetHasCompositor(false);
    TbsSkinOfficeComboBox* O = MakeOffice(5);
    O->SetAlphaBlend(true);
    O->SetAlphaBlendAnimation(true);
    O->SetAlphaBlendValue(200);
    Headless.Opacities.clear();
    O->DropDown();
    EXPECT_TRUE(O->IsPopupVisible());
    EXPECT_TRUE(Headless.Opacities.empty());
    EXPECT_FALSE(GetWindowLong(O->FListBox->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

// A form that runs an action when a posted message reaches it, during the
// fade's message passes.
class TActionForm : public TForm {
public:
    explicit TActionForm(TComponent* AOwner) : TForm(AOwner) {}
    std::function<void()> Action;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_USER + 7 && Action) {
            auto A = std::move(Action);
            A();
            return;
        }
        TForm::Dispatch(Message);
    }
};

TEST_F(TFadeTest, ClosingTheListDuringTheFadeEndsIt) {
    auto* Helper = new TActionForm(nullptr);
    TbsSkinComboBox* C = MakeCombo(5);
    C->SetAlphaBlend(true);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(200);
    int Steps = 0;
    Helper->Action = [&] {
        Steps = int(Headless.Opacities.size());
        C->CloseUp(false);
    };
    Headless.Opacities.clear();
    PostMessage(Helper->Handle(), WM_USER + 7, 0, 0);
    UseSteppingClock();
    C->DropDown();
    Headless.UseManualClock(&Clock);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(int(Headless.Opacities.size()), Steps);
    EXPECT_LT(Headless.Opacities.back(), 200);
    delete Helper;
}

TEST_F(TFadeTest, FreeingTheFormDuringTheFadeEndsIt) {
    auto* Helper = new TActionForm(nullptr);
    TbsSkinComboBox* C = MakeCombo(5);
    C->SetAlphaBlend(true);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(200);
    Helper->Action = [this] {
        delete Form;
        Form = nullptr;
    };
    PostMessage(Helper->Handle(), WM_USER + 7, 0, 0);
    UseSteppingClock();
    C->DropDown();
    Headless.UseManualClock(&Clock);
    EXPECT_EQ(Form, nullptr);
    delete Helper;
}

} // namespace
