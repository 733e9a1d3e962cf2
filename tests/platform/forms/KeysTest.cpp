// Focus, tab order walks, dialog keys, key preview, shortcuts, accelerators.
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

namespace {

// A focusable control that records the keys it sees and, when told, wants
// the arrows.
class TKeyProbe : public TCustomControl {
public:
    explicit TKeyProbe(TComponent* AOwner) : TCustomControl(AOwner) {
        FTabStop = true;
        FControlStyle.Include(csAcceptsControls);
    }
    std::vector<WORD> Keys;
    std::vector<unsigned> Chars;
    bool WantArrows = false;
    void KeyDown(WORD& Key, TShiftState Shift) override {
        TCustomControl::KeyDown(Key, Shift);
        Keys.push_back(Key);
    }
    void KeyPress(unsigned& Key) override {
        TCustomControl::KeyPress(Key);
        Chars.push_back(Key);
    }
    void CMWantSpecialKey(TMessage& Message) override {
        WORD Key = WORD(Message.WParam);
        if (WantArrows && Key >= VK_LEFT && Key <= VK_DOWN)
            Message.Result = 1;
    }
};

template <class T> T* Make(TWinControl* Parent, const std::string& Name, TRect Bounds) {
    auto* C = new T(GetParentForm(Parent) ? static_cast<TComponent*>(GetParentForm(Parent))
                                          : static_cast<TComponent*>(Parent));
    C->SetName(Name);
    C->SetBoundsRect(Bounds);
    C->SetParent(Parent);
    return C;
}

} // namespace

class KeysTest : public TFormsTest {
protected:
    TForm* Form = nullptr;
    void SetUp() override {
        TFormsTest::SetUp();
        Form = MakeForm();
        Form->SetName("F");
    }
    void ShowForm() {
        Form->Show();
        Pump();
    }
    void Key(int VK, std::string Text = {}) {
        Headless.KeyDown(VK, std::move(Text));
        Headless.KeyUp(VK);
        Pump();
    }
    void Chord(int Modifier, int VK, std::string Text = {}) {
        Headless.KeyDown(Modifier);
        Headless.KeyDown(VK, std::move(Text));
        Headless.KeyUp(VK);
        Headless.KeyUp(Modifier);
        Pump();
    }
};

TEST_F(KeysTest, TabWalksDepthFirstSkippingWhatCannotTakeTheFocus) {
    auto* P1 = Make<TPanel>(Form, "P1", Bounds(0, 0, 200, 100));
    auto* A = Make<TKeyProbe>(P1, "A", Bounds(5, 5, 20, 20));
    auto* Disabled = Make<TKeyProbe>(P1, "Disabled", Bounds(30, 5, 20, 20));
    Disabled->SetEnabled(false);
    auto* P2 = Make<TPanel>(P1, "P2", Bounds(5, 40, 150, 50));
    auto* Hidden = Make<TKeyProbe>(P2, "Hidden", Bounds(5, 5, 20, 20));
    Hidden->Hide();
    auto* NoStop = Make<TKeyProbe>(P2, "NoStop", Bounds(30, 5, 20, 20));
    NoStop->SetTabStop(false);
    auto* B = Make<TKeyProbe>(P2, "B", Bounds(60, 5, 20, 20));
    ShowForm();
    A->SetFocus();
    Pump();
    Key(VK_TAB);
    EXPECT_TRUE(B->Focused());
    EXPECT_EQ(Form->ActiveControl(), B);
    Key(VK_TAB);
    EXPECT_TRUE(A->Focused());
    Chord(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(B->Focused());
    // Tab never reaches the control as a key.
    EXPECT_TRUE(std::find(B->Keys.begin(), B->Keys.end(), VK_TAB) == B->Keys.end());
}

TEST_F(KeysTest, AFocusChangeExitsAndEntersAlongTheTree) {
    auto* P = Make<TPanel>(Form, "P", Bounds(0, 0, 100, 100));
    auto* E = Make<TKeyProbe>(P, "E", Bounds(5, 5, 20, 20));
    auto* Q = Make<TPanel>(Form, "Q", Bounds(100, 0, 100, 100));
    auto* B = Make<TKeyProbe>(Q, "B", Bounds(5, 5, 20, 20));
    auto* G = new TLabel(Form);
    G->SetParent(Q);
    ShowForm();
    E->SetFocus();
    Pump();
    std::vector<std::string> Log;
    bool ExitFired = false;
    E->OnExit = [&](TObject*) { ExitFired = true; };
    std::vector<TControl*> All{Form, P, E, Q, B, G};
    std::vector<TWndMethod> Saved;
    for (TControl* C : All) {
        Saved.push_back(C->WindowProc);
        TWndMethod Old = C->WindowProc;
        C->WindowProc = [C, Old, &Log](TMessage& M) {
            if (M.Msg == CM_ENTER)
                Log.push_back("enter " + C->Name());
            else if (M.Msg == CM_EXIT)
                Log.push_back("exit " + C->Name());
            else if (M.Msg == CM_FOCUSCHANGED)
                Log.push_back("changed " + C->Name() + " " +
                              reinterpret_cast<TControl*>(M.LParam)->Name());
            Old(M);
        };
    }
    G->SetName("G");
    B->SetFocus();
    Pump();
    for (std::size_t I = 0; I < All.size(); ++I)
        All[I]->WindowProc = Saved[I];
    std::vector<std::string> Expected = {"exit E",      "exit P",      "enter Q",     "enter B",
                                         "changed F B", "changed P B", "changed E B", "changed Q B",
                                         "changed B B", "changed G B"};
    EXPECT_EQ(Log, Expected) << Join(Log);
    EXPECT_TRUE(ExitFired);
}

// A handler that sends the focus on (a field refusing to be entered, a
// panel passing it to its first edit) wins: the walk towards the first
// control stops where the handler took over.
TEST_F(KeysTest, AnEnterOrExitHandlerThatMovesTheFocusOnWins) {
    auto* P = Make<TPanel>(Form, "P", Bounds(0, 0, 100, 100));
    auto* E = Make<TKeyProbe>(P, "E", Bounds(5, 5, 20, 20));
    auto* Q = Make<TPanel>(Form, "Q", Bounds(100, 0, 100, 100));
    auto* B = Make<TKeyProbe>(Q, "B", Bounds(5, 5, 20, 20));
    auto* C = Make<TKeyProbe>(Form, "C", Bounds(5, 120, 20, 20));
    ShowForm();
    struct TCase {
        const char* Name;
        TWinControl* Hooked;
        bool OnExit;
        TWinControl* Target;
        TWinControl* Goes;
    };
    const TCase Cases[] = {
        {"the control entered sends it back", B, false, B, E},
        {"the panel on the way sends it elsewhere", Q, false, B, C},
        {"the control left keeps it from going", E, true, B, C},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        E->SetFocus();
        Pump();
        ASSERT_EQ(Form->ActiveControl(), E);
        bool Moved = false;
        auto Move = [&](TObject*) {
            if (!Moved) {
                Moved = true;
                Case.Goes->SetFocus();
            }
        };
        if (Case.OnExit)
            Case.Hooked->OnExit = Move;
        else
            Case.Hooked->OnEnter = Move;
        Case.Target->SetFocus();
        Pump();
        Case.Hooked->OnExit = nullptr;
        Case.Hooked->OnEnter = nullptr;
        EXPECT_TRUE(Moved);
        EXPECT_EQ(Form->ActiveControl(), Case.Goes);
        EXPECT_TRUE(Case.Goes->Focused());
    }
}

TEST_F(KeysTest, AHiddenOrDisabledFocusedControlGivesTheFocusBack) {
    auto* A = Make<TKeyProbe>(Form, "A", Bounds(5, 5, 20, 20));
    ShowForm();
    A->SetFocus();
    Pump();
    A->Hide();
    Pump();
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    EXPECT_EQ(GetFocus(), Form->Handle());

    A->Show();
    A->SetFocus();
    A->SetEnabled(false);
    Pump();
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    try {
        A->SetFocus();
        FAIL() << "a disabled control took the focus";
    } catch (const EInvalidOperation& E) {
        EXPECT_STREQ(E.what(), "Cannot focus a disabled or invisible window");
    }
}

TEST_F(KeysTest, EnterClicksTheDefaultButtonUnlessAnotherButtonIsFocused) {
    auto* Edit = Make<TKeyProbe>(Form, "Edit", Bounds(5, 5, 80, 20));
    auto* Ok = Make<TButton>(Form, "Ok", Bounds(5, 40, 75, 25));
    Ok->SetDefault(true);
    auto* Other = Make<TButton>(Form, "Other", Bounds(90, 40, 75, 25));
    int OkClicks = 0, OtherClicks = 0;
    Ok->OnClick = [&](TObject*) { ++OkClicks; };
    Other->OnClick = [&](TObject*) { ++OtherClicks; };
    ShowForm();
    Edit->SetFocus();
    Pump();
    Key(VK_RETURN, "\r");
    EXPECT_EQ(OkClicks, 1);
    EXPECT_TRUE(std::find(Edit->Keys.begin(), Edit->Keys.end(), VK_RETURN) == Edit->Keys.end());

    Other->SetFocus();
    Pump();
    Key(VK_RETURN, "\r");
    EXPECT_EQ(OtherClicks, 1);
    EXPECT_EQ(OkClicks, 1);
    // Space clicks the focused button on release.
    Key(VK_SPACE, " ");
    EXPECT_EQ(OtherClicks, 2);
}

TEST_F(KeysTest, EscapeOnAModalFormClicksTheCancelButton) {
    auto* Cancel = Make<TButton>(Form, "Cancel", Bounds(5, 40, 75, 25));
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    auto* Edit = Make<TKeyProbe>(Form, "Edit", Bounds(5, 5, 80, 20));
    Form->SetActiveControl(Edit);
    Headless.KeyDown(VK_ESCAPE);
    Headless.KeyUp(VK_ESCAPE);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    EXPECT_FALSE(Form->Visible());
}

TEST_F(KeysTest, AControlThatWantsArrowsGetsThemButNotTab) {
    auto* A = Make<TKeyProbe>(Form, "A", Bounds(5, 5, 20, 20));
    A->WantArrows = true;
    auto* B = Make<TKeyProbe>(Form, "B", Bounds(30, 5, 20, 20));
    ShowForm();
    A->SetFocus();
    Pump();
    Key(VK_DOWN);
    Key(VK_LEFT);
    EXPECT_EQ(A->Keys, (std::vector<WORD>{VK_DOWN, VK_LEFT}));
    EXPECT_TRUE(A->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(B->Focused());
    // B does not want them: an arrow moves the focus among its siblings.
    Key(VK_RIGHT);
    EXPECT_TRUE(A->Focused());
    EXPECT_TRUE(B->Keys.empty());
}

TEST_F(KeysTest, KeyPreviewLetsTheFormSwallowAKey) {
    auto* A = Make<TKeyProbe>(Form, "A", Bounds(5, 5, 20, 20));
    Form->SetKeyPreview(true);
    std::vector<WORD> FormKeys;
    Form->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
        FormKeys.push_back(Key);
        if (Key == VK_F1 + 4)
            Key = 0;
    };
    ShowForm();
    A->SetFocus();
    Pump();
    Key(VK_F1 + 4);
    Key('Q', "q");
    EXPECT_EQ(FormKeys, (std::vector<WORD>{VK_F1 + 4, 'Q'}));
    EXPECT_EQ(A->Keys, std::vector<WORD>{'Q'});
}

TEST_F(KeysTest, FormShortcutsAndMenuShortcutsComeBeforeTheControl) {
    auto* A = Make<TKeyProbe>(Form, "A", Bounds(5, 5, 20, 20));
    auto* Menu = new TMainMenu(Form);
    auto* File = NewItem(Form, "&File", 0, false, true, nullptr, "File");
    Menu->Items()->Add(File);
    int Opened = 0;
    auto* Open = NewItem(
        Form, "&Open", ShortCut('O', {ssCtrl}), false, true, [&](TObject*) { ++Opened; }, "Open");
    File->Add(Open);
    Form->SetMenu(Menu);
    int AltX = 0;
    Form->OnShortCut = [&](TWMKey& Msg, bool& Handled) {
        if (Msg.CharCode == 'X' && KeyDataToShiftState(Msg.KeyData).Contains(ssAlt)) {
            ++AltX;
            Handled = true;
        }
    };
    ShowForm();
    A->SetFocus();
    Pump();
    Chord(VK_CONTROL, 'O');
    Chord(VK_MENU, 'X', "x");
    EXPECT_EQ(Opened, 1);
    EXPECT_EQ(AltX, 1);
    EXPECT_EQ(std::count(A->Keys.begin(), A->Keys.end(), WORD('O')), 0);
    EXPECT_EQ(std::count(A->Keys.begin(), A->Keys.end(), WORD('X')), 0);
    // A disabled item's shortcut does nothing.
    Open->SetEnabled(false);
    Chord(VK_CONTROL, 'O');
    EXPECT_EQ(Opened, 1);
}

TEST_F(KeysTest, AltAndTheAcceleratorClicksTheButton) {
    auto* A = Make<TKeyProbe>(Form, "A", Bounds(5, 5, 20, 20));
    auto* Save = Make<TButton>(Form, "Save", Bounds(5, 40, 75, 25));
    Save->SetCaption("&Save");
    auto* Amp = Make<TButton>(Form, "Amp", Bounds(90, 40, 75, 25));
    Amp->SetCaption("&&Tom");
    int Saved = 0, AmpClicks = 0;
    Save->OnClick = [&](TObject*) { ++Saved; };
    Amp->OnClick = [&](TObject*) { ++AmpClicks; };
    ShowForm();
    A->SetFocus();
    Pump();
    Chord(VK_MENU, 'S', "s");
    EXPECT_EQ(Saved, 1);
    Chord(VK_MENU, 'T', "t");
    EXPECT_EQ(AmpClicks, 0);
    EXPECT_FALSE(IsAccel('&', "&&Tom"));
    EXPECT_TRUE(IsAccel('s', "&Save"));
}

TEST_F(KeysTest, FocusingAControlOfAnInactiveFormActivatesItsForm) {
    auto* A = Make<TKeyProbe>(Form, "A", Bounds(5, 5, 20, 20));
    TForm* Other = MakeForm("Other");
    Other->SetLeft(600);
    auto* B = Make<TKeyProbe>(Other, "B", Bounds(5, 5, 20, 20));
    ShowForm();
    Other->Show();
    Pump();
    A->SetFocus();
    Pump();
    EXPECT_TRUE(Form->Active());
    EXPECT_FALSE(Other->Active());
    B->SetFocus();
    Pump();
    EXPECT_TRUE(Other->Active());
    EXPECT_FALSE(Form->Active());
    EXPECT_TRUE(B->Focused());
    EXPECT_EQ(Screen->ActiveForm(), Other);
    EXPECT_EQ(Screen->ActiveControl(), B);
}
