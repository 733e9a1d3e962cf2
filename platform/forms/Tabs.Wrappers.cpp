// TPageControl and TTabSheet.
#include "platform/forms/Tabs.h"

#include "platform/core/Exceptions.h"
#include "platform/forms/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    // Not opaque: the sheet paints nothing itself, its background is the erase.
    FControlStyle = {csAcceptsControls, csSetCaption};
    FVisible = false;
    FParentColor = true;
    FColor = clBtnFace;
    FBrush.SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
    SetPageControl(nullptr);
}

void TTabSheet::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WindowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    if (Value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    SetParent(Value);
    if (Value)
        Value->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl)
        return -1;
    auto& Pages = FPageControl->FPages;
    return int(std::find(Pages.begin(), Pages.end(), this) - Pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
    if (!FPageControl)
        return;
    auto& Pages = FPageControl->FPages;
    Value = std::clamp(Value, 0, int(Pages.size()) - 1);
    Pages.erase(std::find(Pages.begin(), Pages.end(), this));
    Pages.insert(Pages.begin() + Value, this);
    FPageControl->UpdateTabs();
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible)
        return -1;
    int Index = 0;
    for (TTabSheet* Page : FPageControl->FPages) {
        if (Page == this)
            return Index;
        if (Page->FTabVisible)
            ++Index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
    if (Value == FTabVisible)
        return;
    FTabVisible = Value;
    if (FPageControl)
        FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int Value) {
    FImageIndex = Value;
    if (FPageControl)
        FPageControl->UpdateTabs();
}

void TTabSheet::SetHighlighted(bool Value) {
    FHighlighted = Value;
    int Tab = TabIndex();
    if (FPageControl && FPageControl->HandleAllocated() && Tab >= 0)
        SendMessage(FPageControl->Handle(), TCM_HIGHLIGHTITEM, WPARAM(Tab), MAKELPARAM(Value, 0));
}

void TTabSheet::Dispatch(TMessage& Message) {
    TWinControl::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED && FPageControl)
        FPageControl->UpdateTabs();
    else if (Message.Msg == CM_SHOWINGCHANGED) {
        if (Showing() && OnShow)
            OnShow(this);
        else if (!Showing() && OnHide)
            OnHide(this);
    }
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
    FControlStyle = {csAcceptsControls, csDoubleClicks, csOpaque};
    FParentColor = false;
    FColor = clBtnFace;
    FBrush.SetColor(clBtnFace);
    FImageChangeLink.OnChange = [this](TObject*) {
        if (HandleAllocated()) {
            Perform(TCM_SETIMAGELIST, 0, LPARAM(FImages ? FImages->Handle() : nullptr));
            ShowActivePage();
        }
    };
}

TPageControl::~TPageControl() {
    if (FImages)
        UnRegisterChanges(FImages, &FImageChangeLink);
    for (TTabSheet* Page : FPages)
        Page->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount())
        throw EListError("List index out of bounds (%d)", {Index});
    return FPages[std::size_t(Index)];
}

void TPageControl::CreateParams(TCreateParams& Params) {
    RegisterTabControlClass();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "SysTabControl32");
    Params.Style |= WS_CLIPCHILDREN;
    if (FMultiLine)
        Params.Style |= TCS_MULTILINE;
    if (FTabPosition == tpBottom)
        Params.Style |= TCS_BOTTOM;
    else if (FTabPosition == tpLeft || FTabPosition == tpRight)
        Params.Style |= TCS_VERTICAL | TCS_MULTILINE | (FTabPosition == tpRight ? TCS_RIGHT : 0);
    if (FStyle == tsButtons)
        Params.Style |= TCS_BUTTONS;
    else if (FStyle == tsFlatButtons)
        Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FTabWidth > 0)
        Params.Style |= TCS_FIXEDWIDTH;
    if (FHotTrack)
        Params.Style |= TCS_HOTTRACK;
    if (FRaggedRight)
        Params.Style |= TCS_RAGGEDRIGHT;
    if (FScrollOpposite)
        Params.Style |= TCS_SCROLLOPPOSITE;
}

void TPageControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (FImages)
        Perform(TCM_SETIMAGELIST, 0, LPARAM(FImages->Handle()));
    if (FTabWidth > 0 || FTabHeight > 0)
        Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(unsigned(FTabWidth), unsigned(FTabHeight)));
    UpdateTabs();
}

void TPageControl::UpdateTabs() {
    if (!HandleAllocated())
        return;
    HWND Wnd = FHandle;
    SendMessage(Wnd, TCM_DELETEALLITEMS, 0, 0);
    int Index = 0;
    for (TTabSheet* Page : FPages) {
        if (!Page->FTabVisible)
            continue;
        std::string Text = Page->Caption();
        TCITEM Item;
        Item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        Item.pszText = Text.data();
        Item.iImage = Page->FImageIndex;
        Item.lParam = LPARAM(Page);
        SendMessage(Wnd, TCM_INSERTITEM, WPARAM(Index), LPARAM(&Item));
        if (Page->FHighlighted)
            SendMessage(Wnd, TCM_HIGHLIGHTITEM, WPARAM(Index), MAKELPARAM(TRUE, 0));
        ++Index;
    }
    int Tab = FActivePage ? FActivePage->TabIndex() : -1;
    if (Tab >= 0)
        SendMessage(Wnd, TCM_SETCURSEL, WPARAM(Tab), 0);
    Realign();
}

void TPageControl::InsertPage(TTabSheet* Page) {
    FPages.push_back(Page);
    Page->FPageControl = this;
    UpdateTabs();
    if (!FActivePage)
        SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
    TTabSheet* Next = Page == FActivePage ? FindNextPage(Page, true, true) : FActivePage;
    if (Next == Page)
        Next = nullptr;
    auto It = std::find(FPages.begin(), FPages.end(), Page);
    if (It != FPages.end())
        FPages.erase(It);
    Page->FPageControl = nullptr;
    if (Page == FActivePage) {
        FActivePage = nullptr;
        SetActivePage(Next);
    }
    UpdateTabs();
}

TTabSheet* TPageControl::SheetOfTab(int TabIndex) const {
    for (TTabSheet* Page : FPages)
        if (Page->TabIndex() == TabIndex && TabIndex >= 0)
            return Page;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && Value->FPageControl != this)
        return;
    FActivePage = Value;
    if (HandleAllocated()) {
        int Tab = Value ? Value->TabIndex() : -1;
        if (Tab >= 0)
            SendMessage(FHandle, TCM_SETCURSEL, WPARAM(Tab), 0);
    }
    ShowActivePage();
}

void TPageControl::ShowActivePage() {
    if (FActivePage) {
        FActivePage->SetBoundsRect(DisplayRect());
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
    for (TTabSheet* Page : FPages)
        if (Page != FActivePage)
            Page->SetVisible(false);
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[std::size_t(Value)] : nullptr);
}

int TPageControl::TabIndex() {
    return HandleAllocated() ? int(SendMessage(FHandle, TCM_GETCURSEL, 0, 0))
                             : (FActivePage ? FActivePage->TabIndex() : -1);
}

void TPageControl::SetTabIndex(int Value) {
    SetActivePage(SheetOfTab(Value));
}

void TPageControl::SetTabPosition(TTabPosition Value) {
    if (Value == FTabPosition)
        return;
    FTabPosition = Value;
    RecreateWnd();
}

void TPageControl::SetMultiLine(bool Value) {
    if (Value == FMultiLine)
        return;
    FMultiLine = Value;
    RecreateWnd();
}

void TPageControl::SetTabHeight(int Value) {
    FTabHeight = std::max(0, Value);
    if (HandleAllocated()) {
        Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(unsigned(FTabWidth), unsigned(FTabHeight)));
        Realign();
        ShowActivePage();
    }
}

void TPageControl::SetTabWidth(int Value) {
    bool Switch = (Value > 0) != (FTabWidth > 0);
    FTabWidth = std::max(0, Value);
    if (Switch)
        RecreateWnd();
    else if (HandleAllocated())
        Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(unsigned(FTabWidth), unsigned(FTabHeight)));
}

void TPageControl::SetStyle(TTabStyle Value) {
    if (Value == FStyle)
        return;
    FStyle = Value;
    RecreateWnd();
}

void TPageControl::SetImages(TCustomImageList* Value) {
    if (FImages) {
        UnRegisterChanges(FImages, &FImageChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = Value;
    if (Value) {
        RegisterChanges(Value, &FImageChangeLink);
        Value->FreeNotification(this);
    }
    if (HandleAllocated()) {
        Perform(TCM_SETIMAGELIST, 0, LPARAM(Value ? Value->Handle() : nullptr));
        ShowActivePage();
    }
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TPageControl::SetHotTrack(bool Value) {
    if (Value != FHotTrack) {
        FHotTrack = Value;
        RecreateWnd();
    }
}

void TPageControl::SetRaggedRight(bool Value) {
    if (Value != FRaggedRight) {
        FRaggedRight = Value;
        RecreateWnd();
    }
}

void TPageControl::SetScrollOpposite(bool Value) {
    if (Value != FScrollOpposite) {
        FScrollOpposite = Value;
        RecreateWnd();
    }
}

TRect TPageControl::DisplayRect() {
    TRect R = ClientRect();
    if (HandleAllocated())
        Perform(TCM_ADJUSTRECT, FALSE, LPARAM(&R));
    return R;
}

void TPageControl::AdjustClientRect(TRect& Rect) {
    Rect = DisplayRect();
}

int TPageControl::IndexOfTabAt(int X, int Y) {
    TCHITTESTINFO Info;
    Info.pt = {X, Y};
    return int(Perform(TCM_HITTEST, 0, LPARAM(&Info)));
}

TRect TPageControl::TabRect(int Index) {
    TRect R;
    Perform(TCM_GETITEMRECT, WPARAM(Index), LPARAM(&R));
    return R;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
    int N = PageCount();
    if (N == 0)
        return nullptr;
    auto It = std::find(FPages.begin(), FPages.end(), CurPage);
    int Start = It == FPages.end() ? (GoForward ? N - 1 : 0) : int(It - FPages.begin());
    int I = Start;
    for (int K = 0; K < N; ++K) {
        I = GoForward ? (I + 1) % N : (I + N - 1) % N;
        TTabSheet* Page = FPages[std::size_t(I)];
        if (!CheckTabVisible || Page->FTabVisible)
            return Page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
    TTabSheet* Page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (Page && Page != FActivePage && CanChange()) {
        SetActivePage(Page);
        Change();
    }
}

bool TPageControl::CanChange() {
    bool Allow = true;
    if (OnChanging)
        OnChanging(this, Allow);
    return Allow;
}

void TPageControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TPageControl::CMDialogKey(TMessage& Message) {
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the focused form's control.
    WORD Key = WORD(Message.WParam);
    if (Key == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        TCustomForm* Form = GetParentForm(this);
        TWinControl* Active = Form ? Form->ActiveControl() : nullptr;
        if (Active == this || (Active && ContainsControl(Active))) {
            SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
            Message.Result = 1;
            return;
        }
    }
    TWinControl::CMDialogKey(Message);
}

void TPageControl::CNNotify(TMessage& Message) {
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    Message.Result = 0;
    switch (H->code) {
    case TCN_SELCHANGING:
        Message.Result = CanChange() ? 0 : 1;
        break;
    case TCN_SELCHANGE:
        FActivePage = SheetOfTab(int(SendMessage(FHandle, TCM_GETCURSEL, 0, 0)));
        ShowActivePage();
        Change();
        break;
    default:
        break;
    }
}

void TPageControl::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        CNNotify(Message);
        return;
    }
    TWinControl::Dispatch(Message);
    // A tab chosen by message, without notifications, still shows its page.
    if (Message.Msg == TCM_SETCURSEL && HandleAllocated()) {
        TTabSheet* Page = SheetOfTab(int(SendMessage(FHandle, TCM_GETCURSEL, 0, 0)));
        if (Page && Page != FActivePage) {
            FActivePage = Page;
            ShowActivePage();
        }
    }
    if (Message.Msg == WM_SIZE || Message.Msg == CM_FONTCHANGED)
        ShowActivePage();
}
