// The native edit control: text, caret and selection, one-level undo, the
// clipboard, single-line scrolling and multi-line layout with word wrap.
#include "platform/forms/Edits.h"

#include "platform/core/Strings.h"
#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace StdCtrl;

namespace {

constexpr const char* EditProp = "Ostrela.Edit";
constexpr UINT_PTR DragTimer = 1;
constexpr UINT DragInterval = 100;
constexpr std::size_t DefaultLimit = 0x7FFFFFFE;

struct TLine {
    std::size_t Start = 0;
    std::size_t Length = 0; // without the break
    std::size_t Break = 0;  // 2 after a hard CR LF, 0 after a soft wrap or at the end
    int Width = 0;          // measured only where lines do not wrap
};

bool IsContinuation(unsigned char C) {
    return (C & 0xC0) == 0x80;
}

std::size_t PrevChar(const std::string& Text, std::size_t Pos) {
    if (Pos == 0)
        return 0;
    --Pos;
    while (Pos > 0 && IsContinuation(static_cast<unsigned char>(Text[Pos])))
        --Pos;
    // CR LF counts as one step.
    if (Pos > 0 && Text[Pos] == '\n' && Text[Pos - 1] == '\r')
        --Pos;
    return Pos;
}

std::size_t NextChar(const std::string& Text, std::size_t Pos) {
    if (Pos >= Text.size())
        return Text.size();
    if (Text[Pos] == '\r' && Pos + 1 < Text.size() && Text[Pos + 1] == '\n')
        return Pos + 2;
    Utf8Next(Text, Pos);
    return Pos;
}

// A position inside a character (or between CR and LF) moves to its start.
std::size_t Boundary(const std::string& Text, std::size_t Pos) {
    Pos = std::min(Pos, Text.size());
    while (Pos > 0 && Pos < Text.size() && IsContinuation(static_cast<unsigned char>(Text[Pos])))
        --Pos;
    if (Pos > 0 && Pos < Text.size() && Text[Pos] == '\n' && Text[Pos - 1] == '\r')
        --Pos;
    return Pos;
}

bool IsWordChar(const std::string& Text, std::size_t Pos) {
    std::size_t P = Pos;
    char32_t C = Utf8Next(Text, P);
    if (C <= ' ')
        return false;
    static const std::u32string Breaks =
        U".,;:!?()[]{}<>\"'/\\|-+=*&^%$#@~`，。、；：！？（）《》【】“”";
    return Breaks.find(C) == std::u32string::npos;
}

// Line breaks as CR LF, invalid UTF-8 replaced.
std::string NormalizeBreaks(std::string_view In) {
    std::string Text = SanitizeUtf8(In);
    std::string Out;
    Out.reserve(Text.size() + 16);
    for (std::size_t I = 0; I < Text.size(); ++I) {
        char C = Text[I];
        if (C == '\r') {
            Out += "\r\n";
            if (I + 1 < Text.size() && Text[I + 1] == '\n')
                ++I;
        } else if (C == '\n') {
            Out += "\r\n";
        } else {
            Out += C;
        }
    }
    return Out;
}

class TEditControl {
public:
    // One empty line from the start: messages may come before WM_CREATE.
    explicit TEditControl(HWND Wnd) : FWnd(Wnd), FLines{TLine{}} { FMeasure.SetFont(nullptr); }

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    // ---- state
    DWORD Style() const { return StyleOf(FWnd); }
    bool Multi() const { return Style() & ES_MULTILINE; }
    bool ReadOnly() const { return Style() & ES_READONLY; }
    bool Wraps() const { return Multi() && !(Style() & ES_AUTOHSCROLL); }
    std::size_t SelMin() const { return std::min(FAnchor, FCaret); }
    std::size_t SelMax() const { return std::max(FAnchor, FCaret); }

    // ---- layout
    TRect TextRect();
    void Layout();
    // After the text from From to OldTo became the text from From to NewTo.
    void LayoutChange(std::size_t From, std::size_t OldTo, std::size_t NewTo);
    void LayoutParagraphs(std::size_t Start, std::size_t End, std::vector<TLine>& Into);
    void WrapParagraph(std::size_t Start, std::size_t End, std::vector<TLine>& Into);
    void MeasureWidths(std::vector<TLine>::iterator First, std::vector<TLine>::iterator Last);
    std::size_t LineOf(std::size_t Pos) const;
    std::string Shown(std::size_t From, std::size_t To) const;
    int XOf(std::size_t Pos);
    int LineWidth(const TLine& L) { return FMeasure.Width(Shown(L.Start, L.Start + L.Length)); }
    std::size_t PosAt(TPoint P);
    int VisibleLines();
    int LineIndent(const TLine& L, const TRect& R);

    // ---- changes
    void SetText(std::string_view Value);
    // Replaces the selection; answers false when nothing could change.
    bool ReplaceSel(std::string_view Value, bool User, bool Typing);
    void SaveUndo();
    void DoUndo();
    void Changed();
    void Changed(std::size_t From, std::size_t OldTo, std::size_t NewTo);
    void AfterChange();
    void SetSel(std::size_t Anchor, std::size_t Caret);
    void MoveCaret(std::size_t Pos, bool Extend);
    void Copy();
    void Cut();
    void Paste();
    void Clear();

    // ---- view
    void EnsureCaretVisible();
    void UpdateCaret();
    void UpdateScrollInfo();
    void Redraw();
    void ScrollLines(int Delta);
    void Paint(HDC Given);

    // ---- input
    void KeyDown(WPARAM Key);
    void Char(char32_t C);
    void MouseDown(TPoint P, bool Double);
    void MouseMove(TPoint P);
    void DragStep();
    std::size_t WordStart(std::size_t Pos) const;
    std::size_t WordEnd(std::size_t Pos) const;

    HWND FWnd;
    std::string FText;
    std::size_t FAnchor = 0;
    std::size_t FCaret = 0;
    HFONT FFont = nullptr;
    TMeasure FMeasure;
    int FLeftMargin = 1;
    int FRightMargin = 1;
    bool FHasRect = false;
    TRect FRect;
    int FScrollX = 0;
    int FFirstLine = 0;
    bool FRedraw = true;
    bool FModified = false;
    std::size_t FLimit = DefaultLimit;
    char32_t FPasswordChar = '*';
    std::vector<TLine> FLines;
    int FWidest = 0;
    bool FFocused = false;
    bool FTracking = false;
    TPoint FDragPoint;
    // One-level undo: the text and selection before the last change.
    bool FCanUndo = false;
    std::string FUndoText;
    std::size_t FUndoAnchor = 0;
    std::size_t FUndoCaret = 0;
    bool FTypingRun = false;
    std::size_t FTypingEnd = 0;
};

// ---------------------------------------------------------------- layout

TRect TEditControl::TextRect() {
    TRect R;
    if (FHasRect) {
        R = FRect;
    } else {
        GetClientRect(FWnd, &R);
    }
    R.Left += FLeftMargin;
    R.Right -= FRightMargin;
    if (R.Right < R.Left)
        R.Right = R.Left;
    return R;
}

std::string TEditControl::Shown(std::size_t From, std::size_t To) const {
    std::string_view Part(FText.data() + From, To - From);
    if (!(Style() & ES_PASSWORD) || FPasswordChar == 0)
        return std::string(Part);
    std::string Out;
    std::size_t N = Utf8Length(Part);
    std::string One;
    AppendUtf8(One, FPasswordChar);
    for (std::size_t I = 0; I < N; ++I)
        Out += One;
    return Out;
}

void TEditControl::Layout() {
    FLines.clear();
    if (!Multi())
        FLines.push_back({0, FText.size(), 0});
    else
        LayoutParagraphs(0, FText.size(), FLines);
    MeasureWidths(FLines.begin(), FLines.end());
}

// A change lays out again only the paragraphs it touches: appending a line to
// a long log measures that line, not the whole text.
void TEditControl::LayoutChange(std::size_t From, std::size_t OldTo, std::size_t NewTo) {
    if (!Multi()) {
        Layout();
        return;
    }
    std::size_t First = LineOf(From);
    while (First > 0 && FLines[First - 1].Break == 0)
        --First;
    std::size_t Last = LineOf(OldTo);
    while (Last + 1 < FLines.size() && FLines[Last].Break == 0)
        ++Last;
    const std::size_t Start = FLines[First].Start;
    const std::size_t End = FLines[Last].Start + FLines[Last].Length + NewTo - OldTo;
    const std::size_t EndBreak = FLines[Last].Break;
    std::vector<TLine> Fresh;
    LayoutParagraphs(Start, End, Fresh);
    Fresh.back().Break = EndBreak;
    const auto Erased = FLines.erase(FLines.begin() + std::ptrdiff_t(First),
                                     FLines.begin() + std::ptrdiff_t(Last + 1));
    const auto Inserted = FLines.insert(Erased, Fresh.begin(), Fresh.end());
    const auto After = Inserted + std::ptrdiff_t(Fresh.size());
    for (auto It = After; It != FLines.end(); ++It)
        It->Start = It->Start + NewTo - OldTo;
    MeasureWidths(Inserted, After);
}

// Lines of the paragraphs from Start to End (End is a paragraph's end); the
// last line gets no break.
void TEditControl::LayoutParagraphs(std::size_t Start, std::size_t End, std::vector<TLine>& Into) {
    while (true) {
        const std::size_t Break = FText.find("\r\n", Start);
        const bool Final = Break == std::string::npos || Break >= End;
        const std::size_t Stop = Final ? End : Break;
        if (Wraps())
            WrapParagraph(Start, Stop, Into);
        else
            Into.push_back({Start, Stop - Start, 0});
        if (Final)
            return;
        Into.back().Break = 2;
        Start = Break + 2;
    }
}

// Measures the lines First to Last and sets the widest of all lines.
void TEditControl::MeasureWidths(std::vector<TLine>::iterator First,
                                 std::vector<TLine>::iterator Last) {
    if (Wraps()) {
        FWidest = TextRect().Width();
        return;
    }
    FWidest = 0;
    if (!Multi())
        return;
    for (auto It = First; It != Last; ++It)
        It->Width = LineWidth(*It);
    for (const TLine& L : FLines)
        FWidest = std::max(FWidest, L.Width);
}

void TEditControl::WrapParagraph(std::size_t Start, std::size_t End, std::vector<TLine>& Into) {
    int Width = std::max(1, TextRect().Width());
    std::size_t LineStart = Start;
    while (true) {
        if (FMeasure.Width(Shown(LineStart, End)) <= Width) {
            Into.push_back({LineStart, End - LineStart, 0});
            return;
        }
        // The longest prefix that fits, then back to the last blank in it.
        std::size_t Fit = NextChar(FText, LineStart);
        for (std::size_t P = Fit; P < End;) {
            std::size_t Next = NextChar(FText, P);
            if (FMeasure.Width(Shown(LineStart, Next)) > Width)
                break;
            Fit = P = Next;
        }
        std::size_t Cut = Fit;
        for (std::size_t P = Fit; P > LineStart; --P)
            if (FText[P - 1] == ' ') {
                Cut = P;
                break;
            }
        Into.push_back({LineStart, Cut - LineStart, 0});
        LineStart = Cut;
    }
}

std::size_t TEditControl::LineOf(std::size_t Pos) const {
    auto It = std::upper_bound(FLines.begin(), FLines.end(), Pos,
                               [](std::size_t P, const TLine& L) { return P < L.Start; });
    return It == FLines.begin() ? 0 : std::size_t(It - FLines.begin() - 1);
}

int TEditControl::LineIndent(const TLine& L, const TRect& R) {
    DWORD Align = Style() & (ES_CENTER | ES_RIGHT);
    if (Align == ES_LEFT || (!Multi() && FMeasure.Width(Shown(0, FText.size())) > R.Width()))
        return 0;
    // One pixel stays free at the right for the caret after the last character.
    int Free = R.Width() - LineWidth(L) - 1;
    if (Free <= 0)
        return 0;
    return Align == ES_CENTER ? Free / 2 : Free;
}

int TEditControl::XOf(std::size_t Pos) {
    TRect R = TextRect();
    const TLine& L = FLines[LineOf(Pos)];
    std::size_t P = std::clamp(Pos, L.Start, L.Start + L.Length);
    return R.Left - FScrollX + LineIndent(L, R) + FMeasure.Width(Shown(L.Start, P));
}

std::size_t TEditControl::PosAt(TPoint P) {
    TRect R = TextRect();
    int Line = 0;
    if (Multi()) {
        int Row = (P.Y - R.Top) / FMeasure.LineHeight();
        if (P.Y < R.Top)
            Row = -1 + (P.Y - R.Top + 1) / FMeasure.LineHeight();
        Line = std::clamp(FFirstLine + Row, 0, int(FLines.size()) - 1);
    }
    const TLine& L = FLines[std::size_t(Line)];
    int X = P.X - (R.Left - FScrollX + LineIndent(L, R));
    // The boundary nearest to X.
    std::size_t Best = L.Start;
    int BestDistance = std::abs(X);
    for (std::size_t Q = L.Start; Q < L.Start + L.Length;) {
        Q = NextChar(FText, Q);
        int D = std::abs(FMeasure.Width(Shown(L.Start, Q)) - X);
        if (D < BestDistance) {
            Best = Q;
            BestDistance = D;
        } else if (FMeasure.Width(Shown(L.Start, Q)) > X) {
            break;
        }
    }
    return Best;
}

int TEditControl::VisibleLines() {
    return std::max(1, TextRect().Height() / FMeasure.LineHeight());
}

// ---------------------------------------------------------------- changes

void TEditControl::SetText(std::string_view Value) {
    FText = Multi() ? NormalizeBreaks(Value) : SanitizeUtf8(Value);
    if (Style() & ES_UPPERCASE)
        FText = UpperCase(FText);
    else if (Style() & ES_LOWERCASE)
        FText = LowerCase(FText);
    FAnchor = FCaret = 0;
    FScrollX = 0;
    FFirstLine = 0;
    FCanUndo = false;
    FTypingRun = false;
    FModified = false;
    Layout();
    EnsureCaretVisible();
    Redraw();
}

void TEditControl::SaveUndo() {
    FUndoText = FText;
    FUndoAnchor = FAnchor;
    FUndoCaret = FCaret;
    FCanUndo = true;
}

bool TEditControl::ReplaceSel(std::string_view Value, bool User, bool Typing) {
    std::string Insert = Multi() ? NormalizeBreaks(Value) : SanitizeUtf8(Value);
    if (!Multi()) {
        // A single line keeps only the first line of what comes in.
        std::size_t Cut = Insert.find_first_of("\r\n");
        if (Cut != std::string::npos)
            Insert.resize(Cut);
    }
    if (Style() & ES_UPPERCASE)
        Insert = UpperCase(Insert);
    else if (Style() & ES_LOWERCASE)
        Insert = LowerCase(Insert);
    std::size_t From = SelMin(), To = SelMax();
    if (User) {
        std::size_t Room =
            FText.size() - (To - From) >= FLimit ? 0 : FLimit - (FText.size() - (To - From));
        if (Insert.size() > Room) {
            Insert.resize(Boundary(Insert, Room));
            NotifyCommand(FWnd, EN_MAXTEXT);
            if (Insert.empty() && From == To)
                return false;
        }
    }
    if (Insert.empty() && From == To)
        return false;
    bool ContinuesRun = Typing && FTypingRun && From == To && From == FTypingEnd;
    if (!ContinuesRun)
        SaveUndo();
    FText.replace(From, To - From, Insert);
    FAnchor = FCaret = From + Insert.size();
    FTypingRun = Typing;
    FTypingEnd = FCaret;
    FModified = true;
    Changed(From, To, FCaret);
    return true;
}

void TEditControl::DoUndo() {
    if (!FCanUndo)
        return;
    std::string Text = FText;
    std::size_t Anchor = FAnchor, Caret = FCaret;
    FText = FUndoText;
    FAnchor = FUndoAnchor;
    FCaret = FUndoCaret;
    // Undoing again redoes.
    FUndoText = std::move(Text);
    FUndoAnchor = Anchor;
    FUndoCaret = Caret;
    FTypingRun = false;
    FModified = true;
    Changed();
}

void TEditControl::Changed() {
    Layout();
    AfterChange();
}

void TEditControl::Changed(std::size_t From, std::size_t OldTo, std::size_t NewTo) {
    LayoutChange(From, OldTo, NewTo);
    AfterChange();
}

void TEditControl::AfterChange() {
    EnsureCaretVisible();
    NotifyCommand(FWnd, EN_UPDATE);
    Redraw();
    NotifyCommand(FWnd, EN_CHANGE);
}

void TEditControl::SetSel(std::size_t Anchor, std::size_t Caret) {
    FAnchor = Boundary(FText, Anchor);
    FCaret = Boundary(FText, Caret);
    FTypingRun = false;
    EnsureCaretVisible();
    Redraw();
}

void TEditControl::MoveCaret(std::size_t Pos, bool Extend) {
    SetSel(Extend ? FAnchor : Pos, Pos);
}

void TEditControl::Copy() {
    if (SelMin() == SelMax() || (Style() & ES_PASSWORD))
        return;
    std::string Part = FText.substr(SelMin(), SelMax() - SelMin());
    if (!OpenClipboard(FWnd))
        return;
    EmptyClipboard();
    HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, Part.size() + 1);
    if (auto* Bytes = static_cast<char*>(GlobalLock(Block))) {
        std::memcpy(Bytes, Part.c_str(), Part.size() + 1);
        GlobalUnlock(Block);
        if (!SetClipboardData(CF_TEXT, Block))
            GlobalFree(Block);
    }
    CloseClipboard();
}

void TEditControl::Cut() {
    if (Style() & ES_PASSWORD || ReadOnly() || SelMin() == SelMax())
        return;
    Copy();
    ReplaceSel("", false, false);
}

void TEditControl::Paste() {
    if (ReadOnly() || !OpenClipboard(FWnd))
        return;
    std::string Text;
    if (HANDLE Block = GetClipboardData(CF_TEXT)) {
        if (const auto* Bytes = static_cast<const char*>(GlobalLock(Block))) {
            Text.assign(Bytes, strnlen(Bytes, GlobalSize(Block)));
            GlobalUnlock(Block);
        }
    }
    CloseClipboard();
    if (!Text.empty())
        ReplaceSel(Text, true, false);
}

void TEditControl::Clear() {
    if (!ReadOnly())
        ReplaceSel("", false, false);
}

// ---------------------------------------------------------------- view

void TEditControl::EnsureCaretVisible() {
    TRect R = TextRect();
    if (Multi()) {
        int Line = int(LineOf(FCaret));
        int Visible = VisibleLines();
        int First = FFirstLine;
        if (Line < First)
            First = Line;
        else if (Line >= First + Visible)
            First = Line - Visible + 1;
        First = std::clamp(First, 0, std::max(0, int(FLines.size()) - 1));
        if (First != FFirstLine) {
            FFirstLine = First;
            NotifyCommand(FWnd, EN_VSCROLL);
        }
    }
    if (!Wraps()) {
        const TLine& L = FLines[LineOf(FCaret)];
        int X = FMeasure.Width(Shown(L.Start, std::clamp(FCaret, L.Start, L.Start + L.Length))) +
                LineIndent(L, R);
        int Scroll = FScrollX;
        int Width = R.Width();
        if (X < Scroll)
            Scroll = std::max(0, X - Width / 4);
        else if (X > Scroll + Width - 1)
            Scroll = X - Width + 1 + Width / 4;
        if (!Multi()) {
            // Never show empty room after the text's end.
            int Total = FMeasure.Width(Shown(0, FText.size()));
            Scroll = std::clamp(Scroll, 0, std::max(0, Total - Width + 1));
            Scroll = std::min(Scroll, std::max(0, X));
        }
        if (Scroll != FScrollX) {
            FScrollX = std::max(0, Scroll);
            NotifyCommand(FWnd, EN_HSCROLL);
        }
    } else {
        FScrollX = 0;
    }
    UpdateCaret();
    UpdateScrollInfo();
}

void TEditControl::UpdateCaret() {
    if (!FFocused)
        return;
    TRect R = TextRect();
    int Row = int(LineOf(FCaret)) - FFirstLine;
    SetCaretPos(XOf(FCaret), R.Top + Row * FMeasure.LineHeight());
}

void TEditControl::UpdateScrollInfo() {
    if (!FRedraw || !Multi())
        return;
    PublishScroll(FWnd, SB_VERT, 0, int(FLines.size()) - 1, VisibleLines(), FFirstLine);
    PublishScroll(FWnd, SB_HORZ, 0, std::max(0, FWidest - 1), TextRect().Width(), FScrollX);
}

void TEditControl::Redraw() {
    if (FRedraw)
        InvalidateRect(FWnd, nullptr, TRUE);
}

void TEditControl::ScrollLines(int Delta) {
    int Max = std::max(0, int(FLines.size()) - VisibleLines());
    int First = std::clamp(FFirstLine + Delta, 0, std::max(Max, FFirstLine));
    First = std::clamp(First, 0, std::max(0, int(FLines.size()) - 1));
    if (First == FFirstLine)
        return;
    FFirstLine = First;
    UpdateCaret();
    UpdateScrollInfo();
    Redraw();
}

void TEditControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    bool Disabled = !IsWindowEnabled(FWnd);
    UINT Ask = ReadOnly() || Disabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HBRUSH Brush = AskColors(FWnd, DC, Ask, Disabled);
    TRect Client;
    GetClientRect(FWnd, &Client);
    if (!IsNullBrush(Brush))
        FillRect(DC, &Client, Brush);
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    TRect R = TextRect();
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    bool ShowSel = SelMin() != SelMax() && (FFocused || (Style() & ES_NOHIDESEL));
    int Height = FMeasure.LineHeight();
    int Rows = Multi() ? VisibleLines() + 1 : 1;
    for (int Row = 0; Row < Rows; ++Row) {
        std::size_t Index = std::size_t(FFirstLine + Row);
        if (Index >= FLines.size())
            break;
        const TLine& L = FLines[Index];
        int Y = R.Top + Row * Height;
        int X0 = R.Left - FScrollX + LineIndent(L, R);
        std::size_t End = L.Start + L.Length;
        TextOut(DC, X0, Y, Shown(L.Start, End));
        if (!ShowSel)
            continue;
        std::size_t A = std::clamp(SelMin(), L.Start, End), B = std::clamp(SelMax(), L.Start, End);
        if (A == B)
            continue;
        int SaveSel = SaveDC(DC);
        SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(DC, GetSysColor(COLOR_HIGHLIGHT));
        SetBkMode(DC, OPAQUE);
        TextOut(DC, X0 + FMeasure.Width(Shown(L.Start, A)), Y, Shown(A, B));
        RestoreDC(DC, SaveSel);
    }
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

// ---------------------------------------------------------------- input

std::size_t TEditControl::WordStart(std::size_t Pos) const {
    while (Pos > 0 && !IsWordChar(FText, PrevChar(FText, Pos)))
        Pos = PrevChar(FText, Pos);
    while (Pos > 0 && IsWordChar(FText, PrevChar(FText, Pos)))
        Pos = PrevChar(FText, Pos);
    return Pos;
}

std::size_t TEditControl::WordEnd(std::size_t Pos) const {
    while (Pos < FText.size() && IsWordChar(FText, Pos))
        Pos = NextChar(FText, Pos);
    while (Pos < FText.size() && !IsWordChar(FText, Pos))
        Pos = NextChar(FText, Pos);
    return Pos;
}

void TEditControl::KeyDown(WPARAM Key) {
    bool Shift = StdCtrl::KeyDown(VK_SHIFT);
    bool Ctrl = StdCtrl::KeyDown(VK_CONTROL);
    const TLine& L = FLines[LineOf(FCaret)];
    switch (Key) {
    case VK_LEFT:
        if (!Shift && SelMin() != SelMax())
            MoveCaret(SelMin(), false);
        else
            MoveCaret(Ctrl ? WordStart(FCaret) : PrevChar(FText, FCaret), Shift);
        break;
    case VK_RIGHT:
        if (!Shift && SelMin() != SelMax())
            MoveCaret(SelMax(), false);
        else
            MoveCaret(Ctrl ? WordEnd(FCaret) : NextChar(FText, FCaret), Shift);
        break;
    case VK_HOME:
        MoveCaret(Ctrl || !Multi() ? 0 : L.Start, Shift);
        break;
    case VK_END:
        MoveCaret(Ctrl || !Multi() ? FText.size() : L.Start + L.Length, Shift);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!Multi()) {
            if (Key == VK_UP)
                MoveCaret(PrevChar(FText, FCaret), Shift);
            else if (Key == VK_DOWN)
                MoveCaret(NextChar(FText, FCaret), Shift);
            break;
        }
        int Step = Key == VK_UP      ? -1
                   : Key == VK_DOWN  ? 1
                   : Key == VK_PRIOR ? -VisibleLines()
                                     : VisibleLines();
        int Line = std::clamp(int(LineOf(FCaret)) + Step, 0, int(FLines.size()) - 1);
        TRect R = TextRect();
        TPoint P{XOf(FCaret), R.Top + (Line - FFirstLine) * FMeasure.LineHeight()};
        if (Key == VK_PRIOR || Key == VK_NEXT)
            ScrollLines(Step);
        P.Y = R.Top + (Line - FFirstLine) * FMeasure.LineHeight();
        MoveCaret(PosAt(P), Shift);
        break;
    }
    case VK_DELETE:
        if (ReadOnly())
            break;
        if (Shift) {
            Cut();
        } else {
            if (SelMin() == SelMax())
                FCaret = NextChar(FText, FCaret);
            ReplaceSel("", false, false);
        }
        break;
    case VK_INSERT:
        if (Ctrl)
            Copy();
        else if (Shift)
            Paste();
        break;
    default:
        break;
    }
}

void TEditControl::Char(char32_t C) {
    switch (C) {
    case 3:
        Copy();
        return;
    case 24:
        Cut();
        return;
    case 22:
        Paste();
        return;
    case 26:
        if (!ReadOnly())
            DoUndo();
        return;
    case 8:
        if (ReadOnly()) {
            MessageBeep(0);
            return;
        }
        if (SelMin() == SelMax())
            FAnchor = PrevChar(FText, FCaret);
        ReplaceSel("", false, false);
        return;
    default:
        break;
    }
    bool Break = C == '\r' || C == '\n';
    if ((C < ' ' && !(Multi() && (Break || C == '\t'))) || C == 127)
        return;
    if (ReadOnly() || ((Style() & ES_NUMBER) && !(C >= '0' && C <= '9'))) {
        MessageBeep(0);
        return;
    }
    std::string Insert;
    if (Break)
        Insert = "\r\n";
    else
        AppendUtf8(Insert, C);
    ReplaceSel(Insert, true, !Break);
}

void TEditControl::MouseDown(TPoint P, bool Double) {
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    std::size_t Pos = PosAt(P);
    if (Double) {
        std::size_t Start = Pos, End = Pos;
        while (Start > 0 && IsWordChar(FText, PrevChar(FText, Start)))
            Start = PrevChar(FText, Start);
        while (End < FText.size() && IsWordChar(FText, End))
            End = NextChar(FText, End);
        SetSel(Start, End);
        return;
    }
    MoveCaret(Pos, StdCtrl::KeyDown(VK_SHIFT));
    FTracking = true;
    SetCapture(FWnd);
}

void TEditControl::MouseMove(TPoint P) {
    if (!FTracking)
        return;
    FDragPoint = P;
    MoveCaret(PosAt(P), true);
    TRect R = TextRect();
    // Outside the text the selection goes on growing while the button is held.
    if (P.X < R.Left || P.X >= R.Right || (Multi() && (P.Y < R.Top || P.Y >= R.Bottom)))
        SetTimer(FWnd, DragTimer, DragInterval, nullptr);
    else
        KillTimer(FWnd, DragTimer);
}

void TEditControl::DragStep() {
    if (!FTracking) {
        KillTimer(FWnd, DragTimer);
        return;
    }
    TRect R = TextRect();
    std::size_t Pos = FCaret;
    if (Multi() && FDragPoint.Y >= R.Bottom)
        ScrollLines(1);
    else if (Multi() && FDragPoint.Y < R.Top)
        ScrollLines(-1);
    if (FDragPoint.X >= R.Right)
        Pos = NextChar(FText, FCaret);
    else if (FDragPoint.X < R.Left)
        Pos = PrevChar(FText, FCaret);
    else
        Pos = PosAt(FDragPoint);
    MoveCaret(Pos, true);
}

// ---------------------------------------------------------------- messages

LRESULT TEditControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
    case WM_CREATE: {
        const auto* CS = reinterpret_cast<const CREATESTRUCT*>(LParam);
        if (CS && CS->lpszName)
            SetText(CS->lpszName);
        else
            Layout();
        return 0;
    }
    case WM_SETTEXT:
        SetText(LParam ? reinterpret_cast<const char*>(LParam) : "");
        NotifyCommand(FWnd, EN_CHANGE);
        return TRUE;
    case WM_GETTEXTLENGTH:
        return LRESULT(FText.size());
    case WM_GETTEXT: {
        if (WParam == 0 || !LParam)
            return 0;
        std::size_t N = Boundary(FText, std::min<std::size_t>(FText.size(), WParam - 1));
        std::memcpy(reinterpret_cast<char*>(LParam), FText.data(), N);
        reinterpret_cast<char*>(LParam)[N] = 0;
        return LRESULT(N);
    }
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
        Layout();
        if (FFocused) {
            CreateCaret(FWnd, nullptr, 1, FMeasure.LineHeight());
            ShowCaret(FWnd);
        }
        EnsureCaretVisible();
        if (LParam)
            Redraw();
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    case WM_SIZE:
        Layout();
        EnsureCaretVisible();
        return 0;
    case WM_SETREDRAW:
        FRedraw = WParam != 0;
        if (FRedraw) {
            UpdateScrollInfo();
            InvalidateRect(FWnd, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT:
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (Multi() ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
        FFocused = true;
        CreateCaret(FWnd, nullptr, 1, FMeasure.LineHeight());
        UpdateCaret();
        ShowCaret(FWnd);
        Redraw();
        NotifyCommand(FWnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        FFocused = false;
        FTracking = false;
        DestroyCaret();
        Redraw();
        NotifyCommand(FWnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_CHAR:
        Char(char32_t(WParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(LParamToPoint(LParam), Msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(LParamToPoint(LParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (FTracking) {
            FTracking = false;
            KillTimer(FWnd, DragTimer);
            if (Msg == WM_LBUTTONUP && GetCapture() == FWnd)
                ReleaseCapture();
        }
        return 0;
    case WM_TIMER:
        if (WParam == DragTimer)
            DragStep();
        return 0;
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (!FCanUndo || ReadOnly())
            return FALSE;
        DoUndo();
        return TRUE;
    case EM_CANUNDO:
        return FCanUndo;
    case EM_EMPTYUNDOBUFFER:
        FCanUndo = false;
        FTypingRun = false;
        return 0;
    case EM_GETSEL: {
        if (WParam)
            *reinterpret_cast<DWORD*>(WParam) = DWORD(SelMin());
        if (LParam)
            *reinterpret_cast<DWORD*>(LParam) = DWORD(SelMax());
        return MAKELRESULT(unsigned(std::min<std::size_t>(SelMin(), 0xFFFF)),
                           unsigned(std::min<std::size_t>(SelMax(), 0xFFFF)));
    }
    case EM_SETSEL: {
        auto Start = std::intptr_t(int(WParam)), End = std::intptr_t(int(LParam));
        if (Start == -1) {
            SetSel(FCaret, FCaret);
            return 0;
        }
        auto Clamp = [&](std::intptr_t V) {
            return V < 0 ? FText.size() : std::min<std::size_t>(std::size_t(V), FText.size());
        };
        SetSel(Clamp(Start), Clamp(End));
        return 0;
    }
    case EM_REPLACESEL:
        if (!ReplaceSel(LParam ? reinterpret_cast<const char*>(LParam) : "", false, false))
            return 0;
        if (!WParam)
            FCanUndo = false;
        return 0;
    case EM_GETRECT:
        if (LParam)
            *reinterpret_cast<TRect*>(LParam) = TextRect();
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (LParam) {
            FRect = *reinterpret_cast<const TRect*>(LParam);
            FHasRect = true;
        } else {
            FHasRect = false;
        }
        Layout();
        EnsureCaretVisible();
        if (Msg == EM_SETRECT)
            Redraw();
        return 0;
    case EM_SETMARGINS:
        if (WParam & EC_LEFTMARGIN)
            FLeftMargin = LOWORD(LParam) == EC_USEFONTINFO ? FMeasure.AveCharWidth() / 2
                                                           : int(LOWORD(LParam));
        if (WParam & EC_RIGHTMARGIN)
            FRightMargin = HIWORD(LParam) == EC_USEFONTINFO ? FMeasure.AveCharWidth() / 2
                                                            : int(HIWORD(LParam));
        Layout();
        EnsureCaretVisible();
        Redraw();
        return 0;
    case EM_GETMARGINS:
        return MAKELRESULT(unsigned(FLeftMargin), unsigned(FRightMargin));
    case EM_SCROLL:
        if (!Multi())
            return FALSE;
        ScrollLines(LOWORD(WParam) == SB_LINEUP     ? -1
                    : LOWORD(WParam) == SB_LINEDOWN ? 1
                    : LOWORD(WParam) == SB_PAGEUP   ? -VisibleLines()
                    : LOWORD(WParam) == SB_PAGEDOWN ? VisibleLines()
                                                    : 0);
        return MAKELRESULT(1, 0);
    case EM_LINESCROLL:
        if (!Multi())
            return FALSE;
        ScrollLines(int(LParam));
        if (int(WParam) != 0 && !Wraps()) {
            FScrollX = std::max(0, FScrollX + int(WParam) * FMeasure.AveCharWidth());
            UpdateCaret();
            UpdateScrollInfo();
            Redraw();
        }
        return TRUE;
    case EM_SCROLLCARET:
        EnsureCaretVisible();
        Redraw();
        return TRUE;
    case EM_GETMODIFY:
        return FModified;
    case EM_SETMODIFY:
        FModified = WParam != 0;
        return 0;
    case EM_GETLINECOUNT:
        return LRESULT(FLines.size());
    case EM_LINEINDEX: {
        int Line = int(WParam);
        if (Line == -1)
            return LRESULT(FLines[LineOf(FCaret)].Start);
        if (Line < 0 || std::size_t(Line) >= FLines.size())
            return -1;
        return LRESULT(FLines[std::size_t(Line)].Start);
    }
    case EM_LINELENGTH: {
        int Pos = int(WParam);
        if (Pos < 0)
            return LRESULT(FLines[LineOf(FCaret)].Length);
        return LRESULT(
            FLines[LineOf(std::min<std::size_t>(std::size_t(Pos), FText.size()))].Length);
    }
    case EM_LINEFROMCHAR: {
        int Pos = int(WParam);
        return LRESULT(
            LineOf(Pos < 0 ? FCaret : std::min<std::size_t>(std::size_t(Pos), FText.size())));
    }
    case EM_GETLINE: {
        if (WParam >= FLines.size() || !LParam)
            return 0;
        const TLine& L = FLines[WParam];
        auto* Buffer = reinterpret_cast<char*>(LParam);
        WORD Size = 0;
        std::memcpy(&Size, Buffer, sizeof(WORD));
        std::size_t N = Boundary(FText, L.Start + std::min<std::size_t>(L.Length, Size)) - L.Start;
        std::memcpy(Buffer, FText.data() + L.Start, N);
        return LRESULT(N);
    }
    case EM_LIMITTEXT:
        FLimit = WParam == 0 ? DefaultLimit : std::size_t(WParam);
        return 0;
    case EM_GETLIMITTEXT:
        return LRESULT(FLimit);
    case EM_SETPASSWORDCHAR:
        FPasswordChar = char32_t(WParam);
        SetWindowLong(FWnd, GWL_STYLE,
                      LONG_PTR(WParam ? (Style() | ES_PASSWORD) : (Style() & ~ES_PASSWORD)));
        Layout();
        EnsureCaretVisible();
        Redraw();
        return 0;
    case EM_GETPASSWORDCHAR:
        return (Style() & ES_PASSWORD) ? LRESULT(FPasswordChar) : 0;
    case EM_SETREADONLY:
        SetWindowLong(FWnd, GWL_STYLE,
                      LONG_PTR(WParam ? (Style() | ES_READONLY) : (Style() & ~ES_READONLY)));
        Redraw();
        return TRUE;
    case EM_GETFIRSTVISIBLELINE:
        return FFirstLine;
    case EM_POSFROMCHAR: {
        if (WParam > FText.size())
            return -1;
        TRect R = TextRect();
        std::size_t Pos = Boundary(FText, WParam);
        int Row = int(LineOf(Pos)) - FFirstLine;
        return MAKELRESULT(unsigned(XOf(Pos) & 0xFFFF),
                           unsigned((R.Top + Row * FMeasure.LineHeight()) & 0xFFFF));
    }
    case EM_CHARFROMPOS: {
        TPoint P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
        std::size_t Pos = PosAt(P);
        return MAKELRESULT(unsigned(Pos & 0xFFFF), unsigned(LineOf(Pos) & 0xFFFF));
    }
    case WM_VSCROLL:
        if (Multi())
            ScrollLines(ScrollTarget(FWnd, SB_VERT, WParam, FFirstLine, int(FLines.size()),
                                     VisibleLines()) -
                        FFirstLine);
        return 0;
    case WM_HSCROLL: {
        if (!Multi() || Wraps())
            return 0;
        int Target = PixelScrollTarget(WParam, FScrollX, FMeasure.AveCharWidth(),
                                       TextRect().Width(), FWidest);
        if (Target != FScrollX) {
            FScrollX = Target;
            UpdateCaret();
            UpdateScrollInfo();
            Redraw();
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        if (Multi())
            ScrollLines(-GET_WHEEL_DELTA_WPARAM(WParam) * WheelLines() / WHEEL_DELTA);
        return 0;
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<TEditControl>(Wnd, Msg, WParam, LParam, EditProp, true);
}

} // namespace

void RegisterEditClass() {
    RegisterNativeClass("EDIT", EditWndProc, IDC_IBEAM);
}
