// TCustomListBox and its items.
#include "platform/forms/ListBoxes.h"

#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <algorithm>

namespace {

constexpr DWORD AutoCompleteDelay = 500;

} // namespace

// ---------------------------------------------------------------- TListBoxStrings

void TListBoxStrings::Check(int Index, bool AllowEnd) const {
    if (Index < 0 || Index > Count() - (AllowEnd ? 0 : 1))
        FListBox->IndexError(Index);
}

int TListBoxStrings::Count() const {
    if (!FListBox->HandleAllocated())
        return FListBox->FSaved.Count();
    return int(SendMessage(FListBox->FHandle, LB_GETCOUNT, 0, 0));
}

std::string TListBoxStrings::Strings(int Index) const {
    Check(Index);
    if (!FListBox->HandleAllocated())
        return FListBox->FSaved.Strings(Index);
    HWND Wnd = FListBox->FHandle;
    std::string S(std::size_t(SendMessage(Wnd, LB_GETTEXTLEN, WPARAM(Index), 0)) + 1, '\0');
    SendMessage(Wnd, LB_GETTEXT, WPARAM(Index), LPARAM(S.data()));
    S.resize(S.size() - 1);
    return S;
}

TObject* TListBoxStrings::Objects(int Index) const {
    Check(Index);
    if (!FListBox->HandleAllocated())
        return FListBox->FSaved.Objects(Index);
    return reinterpret_cast<TObject*>(
        SendMessage(FListBox->FHandle, LB_GETITEMDATA, WPARAM(Index), 0));
}

void TListBoxStrings::SetObjects(int Index, TObject* AObject) {
    Check(Index);
    if (!FListBox->HandleAllocated())
        FListBox->FSaved.SetObjects(Index, AObject);
    else
        SendMessage(FListBox->FHandle, LB_SETITEMDATA, WPARAM(Index), LPARAM(AObject));
}

void TListBoxStrings::SetStrings(int Index, const std::string& S) {
    Check(Index);
    TObject* Object = Objects(Index);
    int Cur = FListBox->ItemIndex();
    Delete(Index);
    InsertObject(Index, S, Object);
    if (Cur == Index)
        FListBox->SetItemIndex(Index);
}

int TListBoxStrings::Add(const std::string& S) {
    return AddObject(S, nullptr);
}

int TListBoxStrings::AddObject(const std::string& S, TObject* AObject) {
    if (!FListBox->HandleAllocated()) {
        // Before the window a sorted box sorts its list the same way.
        if (!FListBox->FSorted)
            return FListBox->FSaved.AddObject(S, AObject);
        int Index = 0;
        while (Index < FListBox->FSaved.Count() &&
               AnsiCompareText(FListBox->FSaved.Strings(Index), S) <= 0)
            ++Index;
        FListBox->FSaved.InsertObject(Index, S, AObject);
        return Index;
    }
    HWND Wnd = FListBox->FHandle;
    int Index = int(SendMessage(Wnd, LB_ADDSTRING, 0, LPARAM(S.c_str())));
    if (Index < 0)
        throw EListError("List index out of bounds (%d)", {Index});
    SendMessage(Wnd, LB_SETITEMDATA, WPARAM(Index), LPARAM(AObject));
    return Index;
}

void TListBoxStrings::Insert(int Index, const std::string& S) {
    InsertObject(Index, S, nullptr);
}

void TListBoxStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
    Check(Index, true);
    if (!FListBox->HandleAllocated()) {
        FListBox->FSaved.InsertObject(Index, S, AObject);
        return;
    }
    HWND Wnd = FListBox->FHandle;
    int At = int(SendMessage(Wnd, LB_INSERTSTRING, WPARAM(Index), LPARAM(S.c_str())));
    if (At >= 0)
        SendMessage(Wnd, LB_SETITEMDATA, WPARAM(At), LPARAM(AObject));
}

void TListBoxStrings::Delete(int Index) {
    Check(Index);
    if (!FListBox->HandleAllocated())
        FListBox->FSaved.Delete(Index);
    else
        SendMessage(FListBox->FHandle, LB_DELETESTRING, WPARAM(Index), 0);
}

void TListBoxStrings::Clear() {
    if (!FListBox->HandleAllocated()) {
        // As the window's reset does: no item is left to be chosen.
        FListBox->FSaved.Clear();
        FListBox->FSavedItemIndex = -1;
        FListBox->FSavedTopIndex = 0;
    } else
        SendMessage(FListBox->FHandle, LB_RESETCONTENT, 0, 0);
}

int TListBoxStrings::IndexOf(const std::string& S) const {
    if (!FListBox->HandleAllocated())
        return FListBox->FSaved.IndexOf(S);
    return int(SendMessage(FListBox->FHandle, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(S.c_str())));
}

void TListBoxStrings::SetUpdateState(bool Updating) {
    if (FListBox->HandleAllocated()) {
        SendMessage(FListBox->FHandle, WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
        if (!Updating)
            FListBox->Invalidate();
    }
}

// ---------------------------------------------------------------- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TListBoxStrings>(this)) {
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush.SetColor(clWindow);
    // Clicks come from the box's own selection change, not from the mouse.
    FControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
    FCanvas.SetControl(this);
}

TCustomListBox::~TCustomListBox() {
    FCanvas.SetControl(nullptr);
}

void TCustomListBox::IndexError(int Index) const {
    throw EListError("List index out of bounds (%d)", {Index});
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
    RegisterListBoxClass();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "LISTBOX");
    static const DWORD Styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
    Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | Styles[FStyle];
    if (FSorted)
        Params.Style |= LBS_SORT;
    if (FMultiSelect)
        Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FColumns > 0)
        Params.Style |= LBS_MULTICOLUMN;
    if (!FIntegralHeight)
        Params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FTabWidth != 0)
        Params.Style |= LBS_USETABSTOPS;
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    HWND Wnd = FHandle;
    if (FStyle != lbStandard)
        SendMessage(Wnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(unsigned(FItemHeight), 0));
    if (FColumns > 0)
        SendMessage(Wnd, LB_SETCOLUMNWIDTH, WPARAM(std::max(1, FWidth / FColumns)), 0);
    if (FTabWidth != 0)
        SendMessage(Wnd, LB_SETTABSTOPS, 1, LPARAM(&FTabWidth));
    if (FScrollWidth > 0)
        SendMessage(Wnd, LB_SETHORIZONTALEXTENT, WPARAM(FScrollWidth), 0);
    // The items come back in one go.
    if (FSaved.Count() > 0) {
        SendMessage(Wnd, WM_SETREDRAW, FALSE, 0);
        for (int I = 0; I < FSaved.Count(); ++I) {
            int At = int(SendMessage(Wnd, LB_ADDSTRING, 0, LPARAM(FSaved.Strings(I).c_str())));
            SendMessage(Wnd, LB_SETITEMDATA, WPARAM(At), LPARAM(FSaved.Objects(I)));
        }
        SendMessage(Wnd, WM_SETREDRAW, TRUE, 0);
        FSaved.Clear();
    }
    if (FSavedItemIndex >= 0) {
        // Sorting may have moved the chosen item; it is found by its text.
        int Found =
            int(SendMessage(Wnd, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(FSavedItemText.c_str())));
        int Index = FSavedItemIndex;
        FSavedItemIndex = -1;
        SetItemIndex(Found >= 0 ? Found : Index);
    }
    SendMessage(Wnd, LB_SETTOPINDEX, WPARAM(FSavedTopIndex), 0);
    FSavedItemIndex = -1;
    FSavedTopIndex = 0;
}

void TCustomListBox::DestroyWnd() {
    HWND Wnd = FHandle;
    int N = int(SendMessage(Wnd, LB_GETCOUNT, 0, 0));
    FSavedItemIndex = ItemIndex();
    FSavedItemText = FSavedItemIndex >= 0 && FSavedItemIndex < N ? FItems->Strings(FSavedItemIndex)
                                                                 : std::string();
    FSavedTopIndex = int(SendMessage(Wnd, LB_GETTOPINDEX, 0, 0));
    FSaved.Clear();
    for (int I = 0; I < N; ++I)
        FSaved.AddObject(FItems->Strings(I), FItems->Objects(I));
    TWinControl::DestroyWnd();
}

void TCustomListBox::FreeDeviceContexts() {
    FCanvas.FreeHandle();
}

int TCustomListBox::ItemIndex() {
    if (!HandleAllocated())
        return FSavedItemIndex;
    if (FMultiSelect)
        return int(SendMessage(FHandle, LB_GETCARETINDEX, 0, 0));
    return int(SendMessage(FHandle, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value) {
    if (!HandleAllocated()) {
        // As the window does: a position outside the items selects nothing.
        FSavedItemIndex = Value >= 0 && Value < FSaved.Count() ? Value : -1;
        return;
    }
    if (ItemIndex() == Value)
        return;
    if (FMultiSelect)
        SendMessage(FHandle, LB_SETCARETINDEX, WPARAM(Value), 0);
    else
        SendMessage(FHandle, LB_SETCURSEL, WPARAM(Value), 0);
}

int TCustomListBox::TopIndex() {
    return HandleAllocated() ? int(SendMessage(FHandle, LB_GETTOPINDEX, 0, 0)) : FSavedTopIndex;
}

void TCustomListBox::SetTopIndex(int Value) {
    if (HandleAllocated())
        SendMessage(FHandle, LB_SETTOPINDEX, WPARAM(Value), 0);
    else
        FSavedTopIndex = Value;
}

int TCustomListBox::ItemHeight() {
    if (HandleAllocated() && FStyle == lbStandard)
        return int(SendMessage(FHandle, LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value) {
    if (Value <= 0 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (Value == FStyle)
        return;
    FStyle = Value;
    RecreateWnd();
}

void TCustomListBox::SetColumns(int Value) {
    if (Value == FColumns)
        return;
    bool Switch = (Value == 0) != (FColumns == 0);
    FColumns = std::max(0, Value);
    if (Switch)
        RecreateWnd();
    else if (HandleAllocated() && FColumns > 0)
        SendMessage(FHandle, LB_SETCOLUMNWIDTH, WPARAM(std::max(1, FWidth / FColumns)), 0);
}

void TCustomListBox::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    FSorted = Value;
    if (HandleAllocated()) {
        RecreateWnd();
    } else if (Value) {
        FSaved.CustomSort([](TStringList* L, int A, int B) {
            return AnsiCompareText(L->Strings(A), L->Strings(B));
        });
    }
}

void TCustomListBox::SetMultiSelect(bool Value) {
    if (Value == FMultiSelect)
        return;
    FMultiSelect = Value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
    if (Value == FExtendedSelect)
        return;
    FExtendedSelect = Value;
    RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
    if (Value == FIntegralHeight)
        return;
    FIntegralHeight = Value;
    RecreateWnd();
}

void TCustomListBox::SetTabWidth(int Value) {
    if (Value == FTabWidth)
        return;
    FTabWidth = std::max(0, Value);
    RecreateWnd();
}

int TCustomListBox::ScrollWidth() {
    return HandleAllocated() ? int(SendMessage(FHandle, LB_GETHORIZONTALEXTENT, 0, 0))
                             : FScrollWidth;
}

void TCustomListBox::SetScrollWidth(int Value) {
    FScrollWidth = std::max(0, Value);
    if (HandleAllocated())
        SendMessage(FHandle, LB_SETHORIZONTALEXTENT, WPARAM(FScrollWidth), 0);
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

int TCustomListBox::SelCount() {
    if (!FMultiSelect)
        return ItemIndex() >= 0 ? 1 : 0;
    return int(SendMessage(Handle(), LB_GETSELCOUNT, 0, 0));
}

bool TCustomListBox::Selected(int Index) {
    LRESULT R = SendMessage(Handle(), LB_GETSEL, WPARAM(Index), 0);
    if (R < 0)
        IndexError(Index);
    return R != 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    if (FMultiSelect)
        SendMessage(Handle(), LB_SETSEL, Value, LPARAM(Index));
    else if (Value)
        SetItemIndex(Index);
    else if (ItemIndex() == Index)
        SetItemIndex(-1);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
    TRect Client = ClientRect();
    if (PtInRect(&Client, Pos)) {
        for (int I = TopIndex(); I < Count(); ++I) {
            TRect R = ItemRect(I);
            if (R.Top >= Client.Bottom && FColumns == 0)
                break;
            if (PtInRect(&R, Pos))
                return I;
        }
    }
    return Existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(int Index) {
    TRect R;
    int N = Count();
    if (Index == 0 || Index < N) {
        if (SendMessage(Handle(), LB_GETITEMRECT, WPARAM(Index), LPARAM(&R)) != LB_ERR)
            return R;
    }
    if (Index == N) {
        // The place an item appended now would take.
        if (N > 0 && SendMessage(Handle(), LB_GETITEMRECT, WPARAM(N - 1), LPARAM(&R)) != LB_ERR) {
            OffsetRect(&R, 0, R.Height());
            return R;
        }
        return {0, 0, ClientWidth(), ItemHeight()};
    }
    IndexError(Index);
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    FCanvas.FillRect(Rect);
    if (Index < Count())
        FCanvas.TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNCommand(TMessage& Message) {
    switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE:
        Click();
        break;
    case LBN_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
    auto* DIS = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    TOwnerDrawState State = OwnerDrawStateOf(DIS->itemState);
    FCanvas.SetHandle(DIS->hDC);
    FCanvas.Font()->Assign(&FFont);
    FCanvas.Brush()->Assign(&FBrush);
    if (State.Contains(odSelected)) {
        FCanvas.Brush()->SetColor(clHighlight);
        FCanvas.Font()->SetColor(clHighlightText);
    }
    if (int(DIS->itemID) >= 0)
        DrawItem(int(DIS->itemID), DIS->rcItem, State);
    else
        FCanvas.FillRect(DIS->rcItem);
    if (State.Contains(odFocused))
        DrawFocusRect(DIS->hDC, &DIS->rcItem);
    FCanvas.SetHandle(nullptr);
    Message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
    auto* MIS = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    int Height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable)
        MeasureItem(int(MIS->itemID), Height);
    MIS->itemHeight = UINT(std::max(1, Height));
    Message.Result = 1;
}

void TCustomListBox::KeyPress(unsigned& Key) {
    TWinControl::KeyPress(Key);
    if (!FAutoComplete || Key < ' ')
        return;
    DWORD Now = GetTickCount();
    if (Now - FLastTime >= AutoCompleteDelay)
        FFilter.clear();
    FLastTime = Now;
    AppendUtf8(FFilter, char32_t(Key));
    // One character searches after the current item, a longer prefix from the start.
    WPARAM Start =
        FFilter.size() == 1 || Utf8Length(FFilter) == 1 ? WPARAM(ItemIndex()) : WPARAM(-1);
    int Found = int(SendMessage(Handle(), LB_FINDSTRING, Start, LPARAM(FFilter.c_str())));
    if (Found >= 0) {
        SetItemIndex(Found);
        Click();
        Key = 0;
    }
}

void TCustomListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        CNCommand(Message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(Message);
        return;
    case CN_MEASUREITEM:
        CNMeasureItem(Message);
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE && FColumns > 0 && HandleAllocated())
        SendMessage(FHandle, LB_SETCOLUMNWIDTH, WPARAM(std::max(1, FWidth / FColumns)), 0);
}
