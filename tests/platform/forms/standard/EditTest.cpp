// The edit control and its wrappers: typing, selection by keys and mouse,
// undo, the clipboard, limits and styles, painting and multi-line scrolling.
#include "platform/forms/Edits.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

#include <utility>

namespace {

std::pair<int, int> Sel(HWND Wnd) {
    DWORD Start = 0, End = 0;
    SendMessage(Wnd, EM_GETSEL, WPARAM(&Start), LPARAM(&End));
    return {int(Start), int(End)};
}

} // namespace

class EditTest : public TStandardTest {
protected:
    TEdit* MakeEdit(int Width = 150) {
        auto* E = Add<TEdit>(Bounds(10, 10, Width, 24));
        E->OnChange = [this](TObject*) { ++Changes; };
        ShowForm();
        E->SetFocus();
        Pump();
        return E;
    }
    int Changes = 0;
};

TEST_F(EditTest, TypingReplacesTheSelectionAndUndoTogglesTheLastChange) {
    TEdit* E = MakeEdit();
    Type("abc");
    EXPECT_EQ(Changes, 3);
    Key(VK_LEFT);
    Key(VK_LEFT);
    KeyWith(VK_SHIFT, VK_RIGHT);
    EXPECT_EQ(Sel(E->Handle()), std::make_pair(1, 2));
    Type("X");
    EXPECT_EQ(E->Text(), "aXc");
    EXPECT_EQ(Sel(E->Handle()), std::make_pair(2, 2));
    EXPECT_EQ(Changes, 4);

    // One level: undo, then undo again redoes.
    EXPECT_TRUE(E->CanUndo());
    E->Undo();
    EXPECT_EQ(E->Text(), "abc");
    E->Undo();
    EXPECT_EQ(E->Text(), "aXc");
    // Ctrl+Z as a character does the same.
    Headless.KeyDown(VK_CONTROL);
    Key('Z', "\x1A");
    Headless.KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(E->Text(), "abc");

    EXPECT_TRUE(E->Modified());
    E->SetText("fresh");
    EXPECT_FALSE(E->CanUndo());
    EXPECT_FALSE(E->Modified());
    EXPECT_EQ(Changes, 8);
}

TEST_F(EditTest, PositionsCountBytesAndStayOnCharacterBoundaries) {
    TEdit* E = MakeEdit();
    E->SetText("打开视频文件");
    HWND W = E->Handle();
    SendMessage(W, EM_SETSEL, 6, 6);
    KeyWith(VK_SHIFT, VK_RIGHT);
    KeyWith(VK_SHIFT, VK_RIGHT);
    EXPECT_EQ(Sel(W), std::make_pair(6, 12));
    EXPECT_EQ(E->SelText(), "视频");
    SendMessage(W, WM_CUT, 0, 0);
    EXPECT_EQ(E->Text(), "打开文件");
    EXPECT_EQ(Headless.Clipboard(), "视频");
    Key(VK_END);
    SendMessage(W, WM_PASTE, 0, 0);
    EXPECT_EQ(E->Text(), "打开文件视频");
    EXPECT_EQ(Sel(W), std::make_pair(18, 18));

    // Inside a character a position moves to the character's start.
    E->SetText("打开");
    SendMessage(W, EM_SETSEL, 2, 2);
    EXPECT_EQ(Sel(W), std::make_pair(0, 0));
    SendMessage(W, EM_SETSEL, 4, 5);
    EXPECT_EQ(Sel(W), std::make_pair(3, 3));
    Key(VK_BACK, "\b");
    EXPECT_EQ(E->Text(), "开");

    // Select all and delete; -1 as start removes the selection only.
    E->SetText("abc");
    SendMessage(W, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(W), std::make_pair(0, 3));
    SendMessage(W, EM_SETSEL, WPARAM(-1), 0);
    EXPECT_EQ(Sel(W).first, Sel(W).second);
    SendMessage(W, EM_SETSEL, 0, -1);
    Key(VK_DELETE);
    EXPECT_EQ(E->Text(), "");

    // Invalid UTF-8 never reaches the text.
    E->SetText("a\xFF"
               "b");
    EXPECT_EQ(E->Text(), "a\xEF\xBF\xBD"
                         "b");
}

TEST_F(EditTest, TheMouseSelectsWordsAndDragsPastTheEdge) {
    TEdit* E = MakeEdit(80);
    E->SetText("one two three four five six seven");
    HWND W = E->Handle();
    LRESULT At = SendMessage(W, EM_POSFROMCHAR, 5, 0);
    TPoint P = ScreenOf(E, GET_X_LPARAM(At) + 1, 8);
    Clock.Advance(1000);
    Headless.DoubleClick(P.X, P.Y);
    Pump();
    EXPECT_EQ(E->SelText(), "two");

    // Press in the text, drag out to the right: the text scrolls and the
    // selection reaches the end while the button is held.
    SendMessage(W, EM_SETSEL, 0, 0);
    Clock.Advance(1000);
    TPoint Start = ScreenOf(E, 3, 8);
    Headless.MovePointer(Start.X, Start.Y);
    Headless.Press();
    Pump();
    TPoint Out = ScreenOf(E, E->ClientWidth() + 20, 8);
    Headless.MovePointer(Out.X, Out.Y);
    Pump();
    Headless.RunUntil(Clock.Now() + 10000);
    Headless.Release();
    Pump();
    EXPECT_EQ(Sel(W).first, 0);
    EXPECT_EQ(Sel(W).second, E->GetTextLen());
    // Scrolled: the first character is left of the client area.
    EXPECT_LT(GET_X_LPARAM(SendMessage(W, EM_POSFROMCHAR, 0, 0)), 0);
}

TEST_F(EditTest, PasswordReadOnlyLimitAndNumberStylesRefuseWhatTheyMust) {
    TEdit* E = MakeEdit();
    HWND W = E->Handle();
    // Password: shown as '*', never copied.
    E->SetPasswordChar('*');
    E->SetText("secret");
    Headless.SetClipboardText("before");
    E->SelectAll();
    SendMessage(W, WM_COPY, 0, 0);
    SendMessage(W, WM_CUT, 0, 0);
    EXPECT_EQ(Headless.Clipboard(), "before");
    EXPECT_EQ(E->Text(), "secret");
    EXPECT_EQ(SendMessage(W, EM_GETPASSWORDCHAR, 0, 0), '*');
    E->SetPasswordChar(0);

    // Read-only: no change, but the caret moves and copying works.
    E->SetText("keep");
    E->SetReadOnly(true);
    SendMessage(W, EM_SETSEL, 0, 0);
    Type("zz");
    SendMessage(W, WM_PASTE, 0, 0);
    Key(VK_DELETE);
    EXPECT_EQ(E->Text(), "keep");
    KeyWith(VK_SHIFT, VK_END);
    SendMessage(W, WM_COPY, 0, 0);
    EXPECT_EQ(Headless.Clipboard(), "keep");
    E->SetReadOnly(false);

    // The limit refuses typing beyond it and says so.
    int MaxText = 0;
    TEdit* Probe = E;
    E->SetText("");
    E->SetMaxLength(3);
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == WM_COMMAND && HIWORD(M.WParam) == EN_MAXTEXT &&
            HWND(M.LParam) == Probe->Handle())
            ++MaxText;
        Old(M);
    };
    Type("abcd");
    EXPECT_EQ(E->Text(), "abc");
    EXPECT_EQ(MaxText, 1);

    // ES_NUMBER refuses other characters with a beep.
    E->SetMaxLength(0);
    E->SetText("");
    SetWindowLong(W, GWL_STYLE, GetWindowLong(W, GWL_STYLE) | ES_NUMBER);
    std::size_t Beeps = Headless.Beeps().size();
    Type("1a2");
    EXPECT_EQ(E->Text(), "12");
    EXPECT_EQ(Headless.Beeps().size(), Beeps + 1);
}

TEST_F(EditTest, InputMethodTextIsOneUndoStep) {
    TEdit* E = MakeEdit();
    Type("ab");
    Key(VK_LEFT);
    Headless.CommitText("视频");
    Pump();
    EXPECT_EQ(E->Text(), "a视频b");
    EXPECT_EQ(E->SelStart(), 7);
    E->Undo();
    EXPECT_EQ(E->Text(), "ab");
}

TEST_F(EditTest, MarginsAndTheFormattingRectanglePlaceAndClipTheText) {
    TEdit* E = MakeEdit(100);
    E->SetBorderStyle(bsNone);
    E->SetText("WWWWWWWWWWWWWWWWWWWW");
    HWND W = E->Handle();
    Pump();
    SendMessage(W, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
    Pump();
    // EM_SETRECTNP changes the layout without asking for a paint.
    TRect NoUpdate;
    TRect Rect{20, 0, 80, 20};
    SendMessage(W, EM_SETRECTNP, 0, LPARAM(&Rect));
    EXPECT_FALSE(GetUpdateRect(W, &NoUpdate, FALSE));
    TRect Got;
    SendMessage(W, EM_GETRECT, 0, LPARAM(&Got));
    EXPECT_EQ(Got, (TRect{22, 0, 80, 20}));

    TTestBitmap Bitmap(100, 24, RGB(255, 255, 255));
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    int Leftmost = -1, Rightmost = -1;
    for (int X = 0; X < 100; ++X)
        for (int Y = 0; Y < 20; ++Y)
            if (Bitmap.Pixel(X, Y) != 0xFFFFFF) {
                if (Leftmost < 0)
                    Leftmost = X;
                Rightmost = X;
            }
    EXPECT_GE(Leftmost, 22);
    EXPECT_LE(Leftmost, 24);
    EXPECT_EQ(Rightmost, 79);
}

TEST_F(EditTest, ANullBrushFromTheParentLeavesTheBackgroundAlone) {
    TEdit* E = MakeEdit(100);
    E->SetText("Hello");
    HWND W = E->Handle();
    int Asked = 0;
    UINT AskedMsg = 0;
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if ((M.Msg == WM_CTLCOLOREDIT || M.Msg == WM_CTLCOLORSTATIC) && HWND(M.LParam) == W) {
            ++Asked;
            AskedMsg = M.Msg;
            auto DC = reinterpret_cast<HDC>(M.WParam);
            SetBkMode(DC, TRANSPARENT);
            SetTextColor(DC, RGB(0, 0, 255));
            M.Result = LRESULT(GetStockObject(NULL_BRUSH));
            return;
        }
        Old(M);
    };
    TTestBitmap Bitmap(100, 24, RGB(255, 0, 0));
    SendMessage(W, EM_SETSEL, WPARAM(-1), 0);
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(AskedMsg, UINT(WM_CTLCOLOREDIT));
    int Red = 0, Blue = 0, Other = 0;
    for (int X = 0; X < 100; ++X)
        for (int Y = 0; Y < 20; ++Y) {
            std::uint32_t P = Bitmap.Pixel(X, Y);
            if (P == 0xFF0000)
                ++Red;
            else if ((P & 0xFF) > (P >> 16))
                ++Blue;
            else
                ++Other;
        }
    EXPECT_GT(Red, 1500);
    EXPECT_GT(Blue, 10);

    // Read-only asks for the static colours.
    E->SetReadOnly(true);
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    EXPECT_EQ(AskedMsg, UINT(WM_CTLCOLORSTATIC));
}

TEST_F(EditTest, AMultiLineEditWrapsAndPublishesItsLinesAsScrollInformation) {
    auto* M = Add<TMemo>(Bounds(10, 10, 200, 100));
    M->SetBorderStyle(bsNone);
    ShowForm();
    HWND W = M->Handle();
    SendMessage(W, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    int LineHeight = HIWORD(SendMessage(W, EM_POSFROMCHAR, 0, 0));
    (void)LineHeight;
    std::string Text;
    for (int I = 0; I < 30; ++I)
        Text += "line " + std::to_string(I) + (I < 29 ? "\n" : "");
    M->SetText(Text);
    EXPECT_EQ(M->Lines()->Count(), 30);
    EXPECT_EQ(M->Lines()->Strings(1), "line 1");
    EXPECT_EQ(M->Text().substr(0, 8), "line 0\r\n");
    EXPECT_EQ(SendMessage(W, EM_GETLINECOUNT, 0, 0), 30);
    EXPECT_EQ(SendMessage(W, EM_LINEINDEX, 1, 0), 8);
    EXPECT_EQ(SendMessage(W, EM_LINEINDEX, 99, 0), -1);

    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    GetScrollInfo(W, SB_VERT, &SI);
    EXPECT_EQ(SI.nMin, 0);
    EXPECT_EQ(SI.nMax, 29);
    int Page = int(SI.nPage);
    EXPECT_GT(Page, 3);
    EXPECT_LT(Page, 30);
    SendMessage(W, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    EXPECT_EQ(SendMessage(W, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    EXPECT_EQ(GetScrollPos(W, SB_VERT), 5);
    SendMessage(W, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(W, SB_VERT), 6);

    // Word wrap at the rectangle's width: a long paragraph takes several lines.
    M->SetText("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm nnnn");
    int Lines = int(SendMessage(W, EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(Lines, 1);
    EXPECT_EQ(M->Lines()->Count(), 1);
    GetScrollInfo(W, SB_VERT, &SI);
    EXPECT_EQ(SI.nMax, Lines - 1);
    // The caret moves to the end and the view follows it.
    M->SetText(Text);
    SendMessage(W, EM_SETSEL, WPARAM(M->GetTextLen()), LPARAM(M->GetTextLen()));
    SendMessage(W, EM_SCROLLCARET, 0, 0);
    EXPECT_EQ(SendMessage(W, EM_GETFIRSTVISIBLELINE, 0, 0), 30 - Page);
    EXPECT_EQ(M->CaretPos(), (TPoint{7, 29}));
}

namespace {

// What a multi-line edit shows: its lines as starts and lengths, its
// scrolling, and its painted pixels.
struct TMemoView {
    std::vector<std::pair<int, int>> Lines;
    int First = 0, VMax = 0, HMax = 0;
    std::vector<std::uint32_t> Pixels;
    bool operator==(const TMemoView&) const = default;
};

TMemoView ViewOf(TMemo* M) {
    const HWND W = M->Handle();
    TMemoView V;
    const int Count = int(SendMessage(W, EM_GETLINECOUNT, 0, 0));
    for (int I = 0; I < Count; ++I) {
        const int Start = int(SendMessage(W, EM_LINEINDEX, WPARAM(I), 0));
        V.Lines.emplace_back(Start, int(SendMessage(W, EM_LINELENGTH, WPARAM(Start), 0)));
    }
    V.First = int(SendMessage(W, EM_GETFIRSTVISIBLELINE, 0, 0));
    SCROLLINFO SI{};
    SI.fMask = SIF_ALL;
    GetScrollInfo(W, SB_VERT, &SI);
    V.VMax = SI.nMax;
    GetScrollInfo(W, SB_HORZ, &SI);
    V.HMax = SI.nMax;
    TTestBitmap Picture(M->ClientWidth(), M->ClientHeight(), RGB(1, 2, 3));
    SendMessage(W, WM_PAINT, WPARAM(Picture.DC()), 0);
    for (int Y = 0; Y < M->ClientHeight(); ++Y)
        for (int X = 0; X < M->ClientWidth(); ++X)
            V.Pixels.push_back(Picture.Pixel(X, Y));
    return V;
}

} // namespace

// Lines added one by one, and edits inside the text, leave a memo showing
// what the same text set at once shows: wrapped or not, scrolled to the end.
TEST_F(EditTest, AMemoChangedPieceByPieceShowsWhatTheWholeTextShows) {
    for (const TScrollStyle Bars : {ssNone, ssBoth}) {
        SCOPED_TRACE(Bars == ssNone ? "wrapping" : "not wrapping");
        auto* Built = Add<TMemo>(Bounds(10, 10, 160, 90));
        auto* Fresh = Add<TMemo>(Bounds(10, 110, 160, 90));
        Built->SetScrollBars(Bars);
        Fresh->SetScrollBars(Bars);
        ShowForm();
        // Added lines leave the caret at the end; after an edit both views
        // are compared from the top.
        const auto SameAsFresh = [&](const std::string& Step, bool FromTop = false) {
            Fresh->SetText(Built->Text());
            const int At = FromTop ? 0 : Fresh->GetTextLen();
            for (TMemo* M : {Fresh, FromTop ? Built : Fresh}) {
                SendMessage(M->Handle(), EM_SETSEL, WPARAM(At), LPARAM(At));
                SendMessage(M->Handle(), EM_SCROLLCARET, 0, 0);
            }
            EXPECT_TRUE(ViewOf(Built) == ViewOf(Fresh)) << Step << ": " << Built->Text();
        };
        const std::string Long = "a long line of words that is far wider than the memo is";
        for (int I = 0; I < 12; ++I) {
            Built->Lines()->Add(I == 5 ? Long : "#1.32: line " + std::to_string(I));
            SameAsFresh("add " + std::to_string(I));
        }
        EXPECT_EQ(Built->Lines()->Count(), 12);
        EXPECT_EQ(Built->Lines()->Strings(11), "#1.32: line 11");
        // The last line is on view.
        EXPECT_GT(SendMessage(Built->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        // Adding is no user edit.
        EXPECT_FALSE(Built->Modified());
        EXPECT_FALSE(Built->CanUndo());

        struct Edit {
            const char* Name;
            std::string Find;
            int Length;
            std::string With;
        };
        const Edit Edits[] = {
            {"a break inside the long line", "wider", 0, "\r\n"},
            {"joining two lines", "line 2", 8, ""},
            {"the widest line shortened", "a long", int(Long.find(" wider")) + 2, "short"},
            {"a line put first", "#1.32: line 0", 0, "first\r\n"},
            {"the end cut off", "line 10", 99, ""},
        };
        for (const Edit& E : Edits) {
            const std::size_t At = Built->Text().find(E.Find);
            ASSERT_NE(At, std::string::npos) << E.Name;
            SendMessage(Built->Handle(), EM_SETSEL, WPARAM(At), LPARAM(At + E.Length));
            SendMessage(Built->Handle(), EM_REPLACESEL, TRUE, LPARAM(E.With.c_str()));
            SameAsFresh(E.Name, true);
        }
        // A second round after clearing.
        Built->Lines()->Clear();
        Built->Lines()->Add("again");
        Built->Lines()->Add(Long);
        SameAsFresh("after clearing");
        delete Built;
        delete Fresh;
    }
}

TEST_F(EditTest, MemoKeepsAnEmptyLineAddedLastOnceTheNextLineFollows) {
    auto* M = new TMemo(Form);
    M->SetParent(Form);
    M->Lines()->Add("one");
    M->Lines()->Add("");
    // A line break at the end is no line of its own yet.
    EXPECT_EQ(M->Lines()->Count(), 1);
    M->Lines()->Add("two");
    EXPECT_EQ(M->Text(), "one\r\n\r\ntwo");
    EXPECT_EQ(M->Lines()->Count(), 3);
    EXPECT_EQ(M->Lines()->Strings(1), "");
}

TEST_F(EditTest, MemoLinesWorkBeforeTheWindowAndSurviveRecreation) {
    auto* M = new TMemo(Form);
    M->Lines()->Add("one");
    M->Lines()->Add("两");
    M->Lines()->Add("three");
    EXPECT_EQ(M->Lines()->Count(), 3);
    M->SetBounds(10, 10, 200, 100);
    M->SetParent(Form);
    ShowForm();
    EXPECT_EQ(M->Lines()->Count(), 3);
    EXPECT_EQ(M->Text(), "one\r\n两\r\nthree");
    M->Lines()->Delete(0);
    M->Lines()->Insert(1, "mid");
    EXPECT_EQ(M->Text(), "两\r\nmid\r\nthree");
    EXPECT_THROW(M->Lines()->Strings(5), EListError);

    SendMessage(M->Handle(), EM_SETSEL, 3, 5);
    M->SetScrollBars(ssBoth);
    EXPECT_EQ(M->Text(), "两\r\nmid\r\nthree");
    EXPECT_TRUE(GetWindowLong(M->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(M->Lines()->Count(), 3);
    EXPECT_EQ(Sel(M->Handle()), std::make_pair(3, 5));

    // Enter reaches a memo that wants it and breaks the line there.
    M->SetFocus();
    Pump();
    SendMessage(M->Handle(), EM_SETSEL, 3, 3);
    Key(VK_RETURN, "\r");
    EXPECT_EQ(M->Text(), "两\r\n\r\nmid\r\nthree");
    EXPECT_EQ(M->CaretPos(), (TPoint{0, 1}));
}

TEST_F(EditTest, AutoSelectOnEntryByKeyboardAndDialogCodes) {
    auto* First = Add<TEdit>(Bounds(10, 10, 100, 24));
    auto* Second = Add<TEdit>(Bounds(10, 50, 100, 24));
    Second->SetText("select me");
    ShowForm();
    First->SetFocus();
    Pump();
    Key(VK_TAB);
    EXPECT_TRUE(Second->Focused());
    EXPECT_EQ(Second->SelLength(), 9);
    EXPECT_EQ(SendMessage(Second->Handle(), WM_GETDLGCODE, 0, 0),
              DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    // Shift+Insert pastes and Ctrl+Insert copies.
    Headless.SetClipboardText("pasted");
    KeyWith(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(Second->Text(), "pasted");
}

TEST_F(EditTest, RightAndCentredSingleLineEditsPlaceTheirTextAndFollowTheCaret) {
    struct TCase {
        DWORD Align;
        const char* Name;
    } const Cases[] = {{ES_RIGHT, "right"}, {ES_CENTER, "centre"}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TEdit* E = MakeEdit(120);
        HWND W = E->Handle();
        SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | C.Align));
        E->SetText("abc");
        TRect R;
        SendMessage(W, EM_GETRECT, 0, LPARAM(&R));
        auto X = [&](int Pos) {
            return int(short(LOWORD(SendMessage(W, EM_POSFROMCHAR, Pos, 0))));
        };
        int Width = X(3) - X(0);
        ASSERT_GT(Width, 0);
        if (C.Align == ES_RIGHT) {
            // The end stays inside the rectangle, where the caret can be seen.
            EXPECT_LE(X(3), R.Right - 1);
            EXPECT_GE(X(3), R.Right - 2);
        } else {
            EXPECT_NEAR(X(0) - R.Left, R.Right - X(3), 2);
        }
        // A click left of the text goes to its start, right of it to its end.
        Click(E, R.Left + 1, R.Top + 3);
        EXPECT_EQ(Sel(W), std::make_pair(0, 0));
        Click(E, R.Right - 1, R.Top + 3);
        EXPECT_EQ(Sel(W), std::make_pair(3, 3));
        // Typing keeps the text's end in place (right) or its middle (centre).
        int End = X(3), Middle = (X(0) + X(3)) / 2;
        Type("d");
        if (C.Align == ES_RIGHT) {
            EXPECT_EQ(X(4), End);
        } else {
            EXPECT_NEAR((X(0) + X(4)) / 2, Middle, 3);
        }

        // Text wider than the rectangle: the caret's end of it is shown.
        E->SetText(std::string(60, 'w'));
        Key(VK_END);
        EXPECT_LE(X(60), R.Right);
        EXPECT_GE(X(60), R.Left);
        Key(VK_HOME);
        EXPECT_EQ(X(0), R.Left);
        delete E;
    }
}
