// The inner edit: Enter and Escape to the form, the read-only filter,
// transparent mode, styles and margins, cancel mode; the numeric filter.
#include "platform/core/Conversions.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"
#include "tests/skin/controls/edits/EditsTestSupport.h"

namespace skinctl {
namespace {

class InnerEditTest : public TEditsTest {
protected:
    // A form with a default and a cancel button and one focused inner edit
    // holding "abc", caret at the end.
    template <class T = TbsCustomEdit> T* FocusedEdit() {
        ShownForm();
        OK = new TButton(Form);
        OK->SetParent(Form);
        OK->SetBounds(10, 200, 80, 25);
        OK->SetDefault(true);
        OK->OnClick = [this](TObject*) { ++OKClicks; };
        Cancel = new TButton(Form);
        Cancel->SetParent(Form);
        Cancel->SetBounds(100, 200, 80, 25);
        Cancel->SetCancel(true);
        Cancel->OnClick = [this](TObject*) { ++CancelClicks; };
        auto* E = new T(Form);
        E->SetParent(Form);
        E->SetBounds(10, 10, 120, 22);
        E->SetText("abc");
        E->OnKeyPress = [this](TObject*, unsigned& K) {
            Pressed.push_back(K);
            K = 'z';
        };
        E->OnChange = [this](TObject*) { ++Changes; };
        E->SetFocus();
        E->SetSelStart(3);
        Pump();
        Changes = 0;
        return E;
    }

    TButton* OK = nullptr;
    TButton* Cancel = nullptr;
    int OKClicks = 0, CancelClicks = 0, Changes = 0;
    std::vector<unsigned> Pressed;
};

TEST_F(InnerEditTest, EnterAndEscapeGoToTheFormsButtonsAndNeverIntoTheText) {
    struct {
        int VirtualKey;
        const char* Text;
        unsigned Char;
        int OK, Cancel;
    } Cases[] = {{VK_RETURN, "\r", 13, 1, 0}, {VK_ESCAPE, "\x1b", 27, 0, 1}};
    for (const auto& C : Cases) {
        TbsCustomEdit* E = FocusedEdit();
        Key(C.VirtualKey, C.Text);
        EXPECT_EQ(OKClicks, C.OK) << C.Char;
        EXPECT_EQ(CancelClicks, C.Cancel) << C.Char;
        EXPECT_EQ(E->Text(), "abc");
        EXPECT_EQ(Pressed, std::vector<unsigned>{C.Char});
        delete Form;
        OKClicks = CancelClicks = 0;
        Pressed.clear();
    }
}

TEST_F(InnerEditTest, ReadOnlyRefusesTypingButTheCaretAndSelectionMove) {
    TbsCustomEdit* E = FocusedEdit();
    E->SetReadOnly(true);
    Type("x");
    Key(VK_BACK, "\b");
    E->SetSelStart(1);
    Key(VK_DELETE);
    EXPECT_EQ(E->Text(), "abc");
    EXPECT_EQ(Changes, 0);
    Headless.KeyDown(VK_SHIFT);
    Key(VK_RIGHT);
    Headless.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(E->SelStart(), 1);
    EXPECT_EQ(E->SelLength(), 1);
    EXPECT_FALSE(GetWindowLong(E->Handle(), GWL_STYLE) & ES_READONLY)
        << "the native edit stays writable";
}

TEST_F(InnerEditTest, EditMessagesAreDroppedOnlyWhileReadOnly) {
    struct {
        UINT Msg;
        const char* Writable;
    } Cases[] = {{WM_CUT, "ac"}, {WM_PASTE, "azzc"}, {WM_CLEAR, "ac"}, {WM_UNDO, "abc"}};
    for (bool RO : {true, false})
        for (const auto& C : Cases) {
            TbsCustomEdit* E = FocusedEdit();
            E->SetReadOnly(RO);
            Headless.SetClipboardText("zz");
            if (C.Msg == WM_UNDO) {
                // Something to undo: a typed character, then "b" selected.
                E->SetSelStart(3);
                Type("d");
                E->SetReadOnly(RO);
            }
            E->SetSelStart(1);
            E->SetSelLength(1);
            SendMessage(E->Handle(), C.Msg, 0, 0);
            EXPECT_EQ(E->Text(), RO ? "abc" : C.Writable) << "message " << C.Msg << " ro " << RO;
            delete Form;
        }
}

TEST_F(InnerEditTest, CopyWorksWhileReadOnly) {
    TbsCustomEdit* E = FocusedEdit();
    E->SetReadOnly(true);
    E->SetSelStart(1);
    E->SetSelLength(1);
    SendMessage(E->Handle(), WM_COPY, 0, 0);
    EXPECT_EQ(Headless.Clipboard(), "b");
}

TEST_F(InnerEditTest, StylesMarginsAndRecreationForTransparency) {
    TbsCustomEdit* E = FocusedEdit();
    const DWORD Style = DWORD(GetWindowLong(E->Handle(), GWL_STYLE));
    const DWORD Ex = DWORD(GetWindowLong(E->Handle(), GWL_EXSTYLE));
    EXPECT_FALSE(Style & WS_BORDER);
    EXPECT_FALSE(Ex & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Style & ES_MULTILINE);
    EXPECT_FALSE(Style & ES_PASSWORD);
    LRESULT Margins = SendMessage(E->Handle(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(LOWORD(Margins), 2);
    EXPECT_EQ(HIWORD(Margins), 0);

    E->SetSelStart(1);
    E->SetSelLength(2);
    for (bool On : {true, false, true}) {
        HWND Before = E->Handle();
        E->SetEditTransparent(On);
        EXPECT_NE(E->Handle(), Before);
        EXPECT_EQ((GetWindowLong(E->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, On);
        EXPECT_EQ(E->Text(), "abc");
        EXPECT_EQ(E->SelStart(), 1);
        EXPECT_EQ(E->SelLength(), 2);
    }

    auto* Password = new TbsCustomEdit(Form);
    Password->SetPasswordChar('*');
    Password->SetParent(Form);
    const DWORD PasswordStyle = DWORD(GetWindowLong(Password->Handle(), GWL_STYLE));
    EXPECT_TRUE(PasswordStyle & ES_PASSWORD);
    EXPECT_FALSE(PasswordStyle & ES_MULTILINE);
}

TEST_F(InnerEditTest, PressingAnotherControlTellsTheCancelModeHandler) {
    TbsCustomEdit* E = FocusedEdit();
    std::vector<TControl*> Seen;
    E->OnEditCancelMode = [&](TControl* C) { Seen.push_back(C); };
    TPoint P = ScreenOf(OK, 5, 5);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Seen, std::vector<TControl*>{OK});
}

// A parent whose erase paints red and blue stripes 4 pixels wide.
class TStripes : public TWinControl {
public:
    explicit TStripes(TComponent* AOwner) : TWinControl(AOwner) {
        FControlStyle.Include(csAcceptsControls);
    }

protected:
    void Dispatch(TMessage& M) override {
        if (M.Msg != WM_ERASEBKGND) {
            TWinControl::Dispatch(M);
            return;
        }
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        HBRUSH A = CreateSolidBrush(RGB(255, 0, 0)), B = CreateSolidBrush(RGB(0, 0, 255));
        for (int X = 0; X < Width(); X += 4) {
            TRect S{X, 0, X + 4, Height()};
            FillRect(DC, &S, (X / 4) % 2 ? B : A);
        }
        DeleteObject(ToObj(A));
        DeleteObject(ToObj(B));
        M.Result = 1;
    }
};

TEST_F(InnerEditTest, TransparentEditLeavesNoTraceOfRemovedText) {
    ShownForm();
    auto* Parent = new TStripes(Form);
    Parent->SetParent(Form);
    Parent->SetBounds(0, 0, 200, 60);
    auto* E = new TbsCustomEdit(Form);
    E->SetParent(Parent);
    E->SetBounds(10, 10, 120, 22);
    E->Font()->SetColor(clBlack);
    E->SetEditTransparent(true);
    E->SetFocus();
    Pump();
    auto Stripe = [](int XInParent) -> std::uint32_t {
        return (XInParent / 4) % 2 ? 0x0000FF : 0xFF0000;
    };
    // The caret is not part of the comparison.
    HideCaret(E->Handle());
    Type("a");
    PixelOf(E, 0, 0);
    // Every pixel of the client area is the pattern with "a" written over it
    // once in the edit's font and colour: a second drawing, or an opaque box
    // behind the text, would differ.
    TRect TextR;
    SendMessage(E->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&TextR));
    const int W = E->ClientWidth(), H = E->ClientHeight();
    const TPoint Origin = Parent->ScreenToClient(E->ClientToScreen({0, 0}));
    TBitmap Reference;
    Reference.SetSize(W, H);
    for (int X = 0; X < W; ++X) {
        Reference.Canvas()->Brush()->SetColor(Stripe(X + Origin.X) == 0xFF0000 ? clRed : clBlue);
        Reference.Canvas()->FillRect({X, 0, X + 1, H});
    }
    HDC DC = Reference.Canvas()->Handle();
    SelectObject(DC, ToObj(HFONT(SendMessage(E->Handle(), WM_GETFONT, 0, 0))));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(E->Font()->Color()));
    DrawText(DC, "a", -1, &TextR, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    int Differ = 0, Ink = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const std::uint32_t P = ScreenAt(E, X, Y);
            Differ += P != Rgb(Reference.Canvas()->Pixels(X, Y));
            Ink += P != Stripe(X + Origin.X);
        }
    EXPECT_GT(Ink, 4) << "the typed text is drawn over the pattern";
    EXPECT_EQ(Differ, 0);
    Key(VK_BACK, "\b");
    for (int X : {3, 5, 6, 9, 40})
        for (int Y : {2, 8, 14})
            EXPECT_EQ(PixelOf(E, X, Y), Stripe(X + 10)) << X << "," << Y;
}

// ---------------------------------------------------------------- numeric edit

class NumEditTest : public InnerEditTest {
protected:
    TbsSkinNumEdit* NumEdit(const std::string& Text) {
        auto* E = FocusedEdit<TbsSkinNumEdit>();
        E->OnKeyPress = nullptr;
        E->SetText(Text);
        E->SetSelStart(int(Text.size()));
        BeepBase = Headless.Beeps().size();
        return E;
    }
    int NewBeeps() const { return int(Headless.Beeps().size() - BeepBase); }
    std::size_t BeepBase = 0;
};

TEST_F(NumEditTest, TheFilterTakesDigitsOneMinusAndOneSeparator) {
    const char Saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    struct {
        bool Float;
        bool EditorEnabled;
        const char* Start;
        const char* Typed;
        const char* Result;
        int Beeps;
    } Cases[] = {
        {false, true, "", "12-3", "12-3", 0}, {false, true, "12-3", "-", "12-3", 1},
        {false, true, "", "a", "", 1},        {false, false, "1", "5", "1", 1},
        {false, false, "1", "\b", "1", 1},    {false, false, "1", ".", "1", 1},
        {true, true, "1", ",", "1,", 0},      {true, true, "1,", ",", "1,", 1},
        {true, true, "1", ".", "1", 1},       {false, true, "5", "\x03", "5", 0},
    };
    for (const auto& C : Cases) {
        TbsSkinNumEdit* E = NumEdit(C.Start);
        E->Float = C.Float;
        E->SetEditorEnabled(C.EditorEnabled);
        Type(C.Typed);
        EXPECT_EQ(E->Text(), C.Result) << C.Start << " + " << C.Typed;
        EXPECT_EQ(NewBeeps(), C.Beeps) << C.Start << " + " << C.Typed;
        delete Form;
    }
    FormatSettings.DecimalSeparator = Saved;
}

TEST_F(NumEditTest, EnterStillReachesTheDefaultButton) {
    NumEdit("12");
    Key(VK_RETURN, "\r");
    EXPECT_EQ(OKClicks, 1);
    EXPECT_EQ(NewBeeps(), 0);
}

TEST_F(NumEditTest, UpDownKeysAndTheWheelFireTheEventsAndLeaveTheCaret) {
    TbsSkinNumEdit* E = NumEdit("123");
    E->SetSelStart(1);
    std::vector<std::string> Log;
    E->OnUpClick = [&](TObject* S) { Log.push_back(S == E ? "up" : "?"); };
    E->OnDownClick = [&](TObject* S) { Log.push_back(S == E ? "down" : "?"); };
    Key(VK_UP);
    Key(VK_DOWN);
    EXPECT_EQ(E->SelStart(), 1);
    Headless.Wheel(120);
    Pump();
    Headless.Wheel(-120);
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"up", "down", "down", "up"}));
}

} // namespace
} // namespace skinctl
