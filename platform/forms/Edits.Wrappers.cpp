// The class-library edits: TCustomEdit, TCustomMemo and the memo's lines.
#include "platform/forms/Edits.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <algorithm>

// ---------------------------------------------------------------- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = 25;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush.SetColor(clWindow);
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    FAutoSize = true;
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    RegisterEditClass();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "EDIT");
    Params.Style |= ES_AUTOHSCROLL;
    if (FReadOnly)
        Params.Style |= ES_READONLY;
    if (!FHideSelection)
        Params.Style |= ES_NOHIDESEL;
    if (FOEMConvert)
        Params.Style |= ES_OEMCONVERT;
    if (FCharCase == ecUpperCase)
        Params.Style |= ES_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        Params.Style |= ES_LOWERCASE;
    if (FPasswordChar != 0)
        Params.Style |= ES_PASSWORD;
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    HWND Wnd = FHandle;
    SendMessage(Wnd, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
    if (FPasswordChar != 0)
        SendMessage(Wnd, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar), 0);
    if (FHasSavedState) {
        SendMessage(Wnd, EM_SETSEL, WPARAM(FSavedSelStart), LPARAM(FSavedSelEnd));
        SendMessage(Wnd, EM_SETMODIFY, FSavedModified, 0);
        FHasSavedState = false;
    }
}

void TCustomEdit::DestroyWnd() {
    DWORD Start = 0, End = 0;
    SendMessage(FHandle, EM_GETSEL, WPARAM(&Start), LPARAM(&End));
    FSavedSelStart = int(Start);
    FSavedSelEnd = int(End);
    FSavedModified = SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
    FHasSavedState = true;
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    if (HandleAllocated())
        SendMessage(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool Value) {
    FReadOnly = Value;
    if (HandleAllocated())
        SendMessage(FHandle, EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
    if (Value == FPasswordChar)
        return;
    FPasswordChar = Value;
    if (HandleAllocated()) {
        SendMessage(FHandle, EM_SETPASSWORDCHAR, WPARAM(Value), 0);
        Invalidate();
    }
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (Value == FCharCase)
        return;
    FCharCase = Value;
    if (Value != ecNormal) {
        std::string T = Text();
        SetText(Value == ecUpperCase ? UpperCase(T) : LowerCase(T));
    }
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (Value == FHideSelection)
        return;
    FHideSelection = Value;
    RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool Value) {
    if (Value == FOEMConvert)
        return;
    FOEMConvert = Value;
    RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
    AdjustSize();
}

void TCustomEdit::SetAutoSize(bool Value) {
    TWinControl::SetAutoSize(Value);
    if (Value)
        AdjustSize();
}

void TCustomEdit::AdjustSize() {
    if (!FAutoSize || dynamic_cast<TCustomMemo*>(this))
        return;
    // The font's line height plus the frame and a little room.
    HDC DC = CreateCompatibleDC(nullptr);
    SelectObject(DC, ToObj(FFont.Handle()));
    TEXTMETRIC TM;
    GetTextMetrics(DC, &TM);
    DeleteDC(DC);
    int Frame = FBorderStyle == bsSingle ? 2 * GetSystemMetrics(SM_CYEDGE) : 0;
    int H = TM.tmHeight + Frame + 4;
    if (H != FHeight)
        SetBounds(FLeft, FTop, FWidth, H);
}

int TCustomEdit::SelStart() {
    DWORD Start = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&Start), 0);
    return int(Start);
}

void TCustomEdit::SetSelStart(int Value) {
    SendMessage(Handle(), EM_SETSEL, WPARAM(Value), LPARAM(Value));
}

int TCustomEdit::SelLength() {
    DWORD Start = 0, End = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
    return int(End - Start);
}

void TCustomEdit::SetSelLength(int Value) {
    DWORD Start = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&Start), 0);
    SendMessage(Handle(), EM_SETSEL, WPARAM(Start), LPARAM(int(Start) + Value));
}

std::string TCustomEdit::SelText() {
    DWORD Start = 0, End = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
    return Text().substr(Start, End - Start);
}

void TCustomEdit::SetSelText(const std::string& Value) {
    SendMessage(Handle(), EM_REPLACESEL, 0, LPARAM(Value.c_str()));
}

void TCustomEdit::SelectAll() {
    SendMessage(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() {
    SendMessage(Handle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
    SendMessage(Handle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
    SendMessage(Handle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    SendMessage(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Undo() {
    SendMessage(Handle(), WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
    SendMessage(Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

bool TCustomEdit::CanUndo() {
    return HandleAllocated() && SendMessage(FHandle, EM_CANUNDO, 0, 0) != 0;
}

bool TCustomEdit::Modified() {
    return HandleAllocated() ? SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0 : FSavedModified;
}

void TCustomEdit::SetModified(bool Value) {
    if (HandleAllocated())
        SendMessage(FHandle, EM_SETMODIFY, Value, 0);
    else
        FSavedModified = Value;
}

void TCustomEdit::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::CNCommand(TMessage& Message) {
    if (HIWORD(Message.WParam) == EN_CHANGE && !FControlState.Contains(csCreating))
        Change();
}

void TCustomEdit::CMEnter(TMessage& Message) {
    // Entered by Tab or by code, not by a press that places the caret.
    if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0 &&
        !(GetWindowLong(FHandle, GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::CMEnter(Message);
}

void TCustomEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        CNCommand(Message);
        return;
    }
    TWinControl::Dispatch(Message);
    if (Message.Msg == CM_FONTCHANGED)
        AdjustSize();
}

// ---------------------------------------------------------------- TMemoStrings

namespace {

// Calls Visit(Start, Length) for each line of Text: CR LF, CR and LF each end
// one, and a break at the very end starts no line of its own.
template <class TVisit> void ForEachLine(const std::string& Text, TVisit Visit) {
    if (Text.empty())
        return;
    std::size_t Start = 0;
    while (true) {
        std::size_t Break = Text.find_first_of("\r\n", Start);
        if (Break == std::string::npos) {
            Visit(Start, Text.size() - Start);
            break;
        }
        Visit(Start, Break - Start);
        Start =
            Break +
            ((Text[Break] == '\r' && Break + 1 < Text.size() && Text[Break + 1] == '\n') ? 2 : 1);
        if (Start >= Text.size())
            break;
    }
}

} // namespace

std::vector<std::string> TMemoStrings::Split() const {
    const std::string Text = FMemo->Text();
    std::vector<std::string> Lines;
    ForEachLine(Text, [&](std::size_t Start, std::size_t Length) {
        Lines.push_back(Text.substr(Start, Length));
    });
    return Lines;
}

void TMemoStrings::Join(const std::vector<std::string>& Lines) {
    std::string Text;
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        if (I > 0)
            Text += "\r\n";
        Text += Lines[I];
    }
    FMemo->SetText(Text);
}

int TMemoStrings::Count() const {
    int N = 0;
    ForEachLine(FMemo->Text(), [&](std::size_t, std::size_t) { ++N; });
    return N;
}

std::string TMemoStrings::Strings(int Index) const {
    std::vector<std::string> Lines = Split();
    if (Index < 0 || Index >= int(Lines.size()))
        Error("List index out of bounds (%d)", Index);
    return Lines[std::size_t(Index)];
}

void TMemoStrings::SetStrings(int Index, const std::string& S) {
    std::vector<std::string> Lines = Split();
    if (Index < 0 || Index >= int(Lines.size()))
        Error("List index out of bounds (%d)", Index);
    Lines[std::size_t(Index)] = S;
    Join(Lines);
}

void TMemoStrings::Insert(int Index, const std::string& S) {
    const int N = Count();
    if (Index < 0 || Index > N)
        Error("List index out of bounds (%d)", Index);
    const bool Appended = Index == N;
    if (Appended && FMemo->HandleAllocated()) {
        AppendToWindow(S);
        return;
    }
    if (Appended) {
        // Appending goes after the text as it stands: an empty line added
        // last is a line break at the end, which the next line keeps.
        const std::string Text = FMemo->Text();
        FMemo->SetText(Text.empty() ? S : Text + "\r\n" + S);
    } else {
        std::vector<std::string> Lines = Split();
        Lines.insert(Lines.begin() + Index, S);
        Join(Lines);
    }
}

// The line goes in after the text's end as the edit's own change, so only
// that line is laid out again (a log grows by a line at a time). The caret
// stays at the end, so a log scrolls with it; appending is no user edit, so
// neither undo nor the modified flag changes.
void TMemoStrings::AppendToWindow(const std::string& S) {
    const HWND Wnd = FMemo->Handle();
    const int End = FMemo->GetTextLen();
    const LRESULT Modified = SendMessage(Wnd, EM_GETMODIFY, 0, 0);
    const std::string Piece = End == 0 ? S : "\r\n" + S;
    SendMessage(Wnd, EM_SETSEL, WPARAM(End), LPARAM(End));
    SendMessage(Wnd, EM_REPLACESEL, FALSE, LPARAM(Piece.c_str()));
    SendMessage(Wnd, EM_SETMODIFY, WPARAM(Modified), 0);
    // The view shows the lines from their start again, as a whole new text
    // would, then follows the caret.
    SendMessage(Wnd, WM_HSCROLL, SB_TOP, 0);
    SendMessage(Wnd, EM_SCROLLCARET, 0, 0);
}

void TMemoStrings::Delete(int Index) {
    std::vector<std::string> Lines = Split();
    if (Index < 0 || Index >= int(Lines.size()))
        Error("List index out of bounds (%d)", Index);
    Lines.erase(Lines.begin() + Index);
    Join(Lines);
}

void TMemoStrings::Clear() {
    FMemo->SetText("");
}

void TMemoStrings::SetText(std::string_view Value) {
    FMemo->SetText(std::string(Value));
}

// ---------------------------------------------------------------- TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
    FWidth = 185;
    FHeight = 89;
    FAutoSize = false;
    FControlStyle.Exclude(csFixedHeight);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style &= ~DWORD(ES_AUTOHSCROLL);
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (!FWordWrap || FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        Params.Style |= ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        Params.Style |= WS_HSCROLL;
    if (FWantReturns)
        Params.Style |= ES_WANTRETURN;
    if (FAlignment == taCenter)
        Params.Style |= ES_CENTER;
    else if (FAlignment == taRightJustify)
        Params.Style |= ES_RIGHT;
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment Value) {
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    RecreateWnd();
}

TPoint TCustomMemo::CaretPos() {
    DWORD Start = 0, End = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
    int Line = int(SendMessage(FHandle, EM_LINEFROMCHAR, WPARAM(End), 0));
    int LineStart = int(SendMessage(FHandle, EM_LINEINDEX, WPARAM(Line), 0));
    return {int(End) - LineStart, Line};
}

void TCustomMemo::SetCaretPos(TPoint Value) {
    int LineStart = int(SendMessage(Handle(), EM_LINEINDEX, WPARAM(Value.Y), 0));
    if (LineStart < 0)
        return;
    int Pos = LineStart + Value.X;
    SendMessage(FHandle, EM_SETSEL, WPARAM(Pos), LPARAM(Pos));
}

void TCustomMemo::Dispatch(TMessage& Message) {
    TCustomEdit::Dispatch(Message);
    if (Message.Msg == WM_GETDLGCODE) {
        // The dialog keys decide: Tab and Enter only when the memo wants them.
        Message.Result &= ~LRESULT(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        if (FWantTabs)
            Message.Result |= DLGC_WANTTAB;
        if (FWantReturns)
            Message.Result |= DLGC_WANTALLKEYS;
    }
}

void TCustomMemo::KeyPress(unsigned& Key) {
    TCustomEdit::KeyPress(Key);
    if ((Key == '\r' && !FWantReturns) || (Key == '\t' && !FWantTabs))
        Key = 0;
}
