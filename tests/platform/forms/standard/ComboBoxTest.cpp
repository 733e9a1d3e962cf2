// The plain combo box: the drop-down in a popup that never takes the focus,
// choosing by keys and by the mouse, events of the user only, the edit face
// and what is left when the combo goes while open.
#include "platform/forms/ListBoxes.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

class ComboBoxTest : public TStandardTest {
protected:
    TComboBox* MakeCombo(TComboBoxStyle Style) {
        auto* C = Add<TComboBox>(Bounds(10, 10, 150, 24));
        C->SetStyle(Style);
        for (const char* S : {"a", "b", "c"})
            C->Items()->Add(S);
        C->OnChange = [this](TObject*) { ++Changes; };
        C->OnClick = [this](TObject*) { ++Clicks; };
        C->OnCloseUp = [this](TObject*) { ++CloseUps; };
        ShowForm();
        return C;
    }
    int Changes = 0, Clicks = 0, CloseUps = 0;
};

TEST_F(ComboBoxTest, KeysOpenChooseAndCloseTheDropDownWithoutTakingTheFocus) {
    TComboBox* C = MakeCombo(csDropDownList);
    C->SetItemIndex(0);
    EXPECT_EQ(Changes + Clicks, 0);
    EXPECT_EQ(C->Text(), "a");
    C->SetFocus();
    Pump();
    HWND List = ComboDropDownList(C->Handle());
    ASSERT_TRUE(List);

    Key(VK_F4);
    EXPECT_TRUE(C->DroppedDown());
    EXPECT_TRUE(IsWindowVisible(List));
    const THeadlessSurface* S = Headless.Surface(WindowSurface(List));
    ASSERT_TRUE(S);
    EXPECT_EQ(S->Kind, TSurfaceKind::Popup);
    EXPECT_EQ(GetFocus(), C->Handle());
    EXPECT_EQ(Headless.Focused(), WindowSurface(Form->Handle()));

    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_FALSE(IsWindowVisible(List));
    EXPECT_EQ(C->Text(), "b");
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(CloseUps, 1);

    // Closed: Up and Down still change the selection; Escape in the open
    // list puts the old one back.
    Key(VK_UP);
    EXPECT_EQ(C->ItemIndex(), 0);
    Key(VK_F4);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_ESCAPE);
    EXPECT_EQ(C->ItemIndex(), 0);
    EXPECT_FALSE(C->DroppedDown());
}

TEST_F(ComboBoxTest, TheMouseOpensChoosesAndCancels) {
    TComboBox* C = MakeCombo(csDropDownList);
    Click(C, 20, 10);
    ASSERT_TRUE(C->DroppedDown());
    HWND List = ComboDropDownList(C->Handle());
    TRect Item;
    SendMessage(List, LB_GETITEMRECT, 2, LPARAM(&Item));
    TPoint P{Item.Left + 5, Item.Top + 2};
    ClientToScreen(List, &P);
    Clock.Advance(1000);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), "c");
    EXPECT_EQ(Clicks, 1);

    // A press elsewhere closes without a choice.
    Click(C, 20, 10);
    ASSERT_TRUE(C->DroppedDown());
    Click(Form, 300, 300);
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), "c");
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ComboBoxTest, TheEditFaceTypesAndTheItemsSurviveRecreation) {
    TComboBox* C = MakeCombo(csDropDown);
    C->SetFocus();
    Pump();
    Type("xy");
    EXPECT_EQ(C->Text(), "xy");
    EXPECT_EQ(Changes, 2);
    C->SetItemIndex(2);
    EXPECT_EQ(C->Text(), "c");
    C->Items()->Insert(0, "Zed");
    C->SetSorted(true);
    EXPECT_EQ(C->Items()->Text(), "a\r\nb\r\nc\r\nZed\r\n");
    EXPECT_EQ(C->Text(), "c");
    EXPECT_THROW(C->Items()->Strings(4), EListError);
}

TEST_F(ComboBoxTest, AComboDestroyedWhileOpenLeavesNothingBehind) {
    TComboBox* C = MakeCombo(csDropDownList);
    C->SetFocus();
    Pump();
    C->SetDroppedDown(true);
    HWND List = ComboDropDownList(C->Handle());
    ASSERT_TRUE(IsWindowVisible(List));
    delete C;
    Pump();
    EXPECT_FALSE(IsWindow(List));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, TheFaceHasNoScrollBarAndTheOpenListShowsItsChoiceAsActive) {
    TComboBox* C = MakeCombo(csDropDownList);
    EXPECT_EQ(GetWindowLong(C->Handle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    TRect Window, Client;
    GetWindowRect(C->Handle(), &Window);
    GetClientRect(C->Handle(), &Client);
    EXPECT_EQ(Client.Width(), Window.Width() - 4) << "room was kept for a bar";

    C->SetItemIndex(1);
    C->SetFocus();
    C->SetDroppedDown(true);
    HWND List = ComboDropDownList(C->Handle());
    // Three items fit: the open list has no bar; more than fit bring it.
    EXPECT_EQ(GetWindowLong(List, GWL_STYLE) & WS_VSCROLL, 0);
    TRect Item;
    SendMessage(List, LB_GETITEMRECT, 1, LPARAM(&Item));
    TRect ListClient;
    GetClientRect(List, &ListClient);
    TTestBitmap Bitmap(ListClient.Width(), ListClient.Height(), RGB(255, 0, 0));
    SendMessage(List, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    EXPECT_EQ(Bitmap.Pixel(Item.Right - 2, Item.Top + 1), RgbOf(GetSysColor(COLOR_HIGHLIGHT)));
    C->SetDroppedDown(false);
    for (int I = 0; I < 10; ++I)
        C->Items()->Add("more");
    C->SetDroppedDown(true);
    EXPECT_NE(GetWindowLong(List, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(ComboBoxTest, TheDropDownOpensUpwardsWhenTheScreenEndsBelow) {
    Headless.SetScreens({{Rect(0, 0, 800, 600), Rect(0, 0, 800, 560), true}});
    struct TCase {
        int FormTop;
        bool Above;
    } const Cases[] = {{100, false}, {500, true}};
    TComboBox* C = MakeCombo(csDropDownList);
    HWND List = ComboDropDownList(C->Handle());
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.FormTop);
        Form->SetTop(Case.FormTop);
        Pump();
        C->SetDroppedDown(true);
        TRect Face, Drop;
        GetWindowRect(C->Handle(), &Face);
        GetWindowRect(List, &Drop);
        if (Case.Above) {
            EXPECT_EQ(Drop.Bottom, Face.Top);
        } else {
            EXPECT_EQ(Drop.Top, Face.Bottom);
        }
        EXPECT_LE(Drop.Bottom, 560);
        C->SetDroppedDown(false);
    }
}
