// The inner edit window and its numeric variant.
#include "skin/controls/bsSkinEdits.h"

#include "platform/core/Conversions.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Gdi.h"
#include "skin/model/bsMessages.h"

#include <cstring>

bool WheelDeltaPositive(WPARAM wParam) {
    return static_cast<short>(HIWORD(wParam)) > 0;
}

// ---------------------------------------------------------------- TbsCustomEdit

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    FControlStyle.Include(csOpaque);
}

TbsCustomEdit::~TbsCustomEdit() = default;

TbsEditMenus& EditMenus() {
    static TbsEditMenus Menus;
    return Menus;
}

namespace {

bool ClipboardHoldsText() {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(nullptr))
        return false;
    bool Holds = false;
    if (HANDLE Block = GetClipboardData(CF_TEXT)) {
        if (const auto* Bytes = static_cast<const char*>(GlobalLock(Block))) {
            Holds = strnlen(Bytes, GlobalSize(Block)) > 0;
            GlobalUnlock(Block);
        }
    }
    CloseClipboard();
    return Holds;
}

} // namespace

void TbsCustomEdit::FreeSysPopupMenu() {
    delete FSysPopupMenu;
    FSysPopupMenu = nullptr;
}

void TbsCustomEdit::CreateSysPopupMenu() {
    FreeSysPopupMenu();
    TbsEditMenus& Menus = EditMenus();
    TCustomForm* Form = GetParentForm(this);
    if (!Menus.CreatePopupMenu || !Form)
        return;
    TCustomForm* MenuForm = Form;
    if (auto* F = dynamic_cast<TForm*>(Form);
        F && F->FormStyle() == fsMDIChild && Application && Application->MainForm())
        MenuForm = Application->MainForm();
    FSysPopupMenu = Menus.CreatePopupMenu(this, MenuForm);
    if (!FSysPopupMenu)
        return;

    TbsResourceStrData* Words = nullptr;
    if (Menus.FormSkinData)
        if (TbsSkinData* SD = Menus.FormSkinData(Form))
            Words = SD->ResourceStrData();
    auto Caption = [Words](const char* Key, const char* BuiltIn) {
        return Words ? Words->GetResStr(Key) : std::string(BuiltIn);
    };
    DWORD SelFrom = 0, SelTo = 0;
    SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&SelFrom),
                reinterpret_cast<LPARAM>(&SelTo));
    const bool Selection = SelFrom < SelTo;
    const bool All = SelFrom == 0 && SelTo == Text().size();
    auto Add = [this](const std::string& Text, bool Enabled, UINT Command) {
        auto* Item = new TMenuItem(FSysPopupMenu);
        Item->SetCaption(Text);
        Item->SetEnabled(Enabled);
        if (Command == EM_SETSEL)
            Item->OnClick = [this](TObject*) { SendMessage(Handle(), EM_SETSEL, 0, -1); };
        else if (Command != 0)
            Item->OnClick = [this, Command](TObject*) { SendMessage(Handle(), Command, 0, 0); };
        FSysPopupMenu->Items()->Add(Item);
    };
    Add(Caption("EDIT_UNDO", "Undo"), SendMessage(Handle(), EM_CANUNDO, 0, 0) != 0, WM_UNDO);
    Add("-", true, 0);
    Add(Caption("EDIT_CUT", "Cut"), Selection && !FReadOnly, WM_CUT);
    Add(Caption("EDIT_COPY", "Copy"), Selection, WM_COPY);
    Add(Caption("EDIT_PASTE", "Paste"), ClipboardHoldsText() && !FReadOnly, WM_PASTE);
    Add(Caption("EDIT_DELETE", "Delete"), Selection && !FReadOnly, WM_CLEAR);
    Add("-", true, 0);
    Add(Caption("EDIT_SELECTALL", "Select All"), !All, EM_SETSEL);
}

void TbsCustomEdit::SetEditTransparent(bool Value) {
    FEditTransparent = Value;
    // The window's extended style depends on it.
    if (HandleAllocated())
        RecreateWnd();
}

void TbsCustomEdit::Invalidate() {
    if (!FEditTransparent) {
        TCustomMaskEdit::Invalidate();
        return;
    }
    TWinControl* P = Parent();
    if (!P || !HandleAllocated() || !P->HandleAllocated())
        return;
    // What shows through is the parent's: repaint that part of it first.
    TRect R;
    GetClientRect(Handle(), &R);
    TPoint TL = P->ScreenToClient(ClientToScreen({R.Left, R.Top}));
    TPoint BR = P->ScreenToClient(ClientToScreen({R.Right, R.Bottom}));
    TRect InParent{TL.X, TL.Y, BR.X, BR.Y};
    InvalidateRect(P->Handle(), &InParent, TRUE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TbsCustomEdit::InvalidateIfTransparent() {
    if (FEditTransparent)
        Invalidate();
}

void TbsCustomEdit::Change() {
    TCustomMaskEdit::Change();
    InvalidateIfTransparent();
}

void TbsCustomEdit::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    Params.Style &= ~WS_BORDER;
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (FEditTransparent)
        Params.ExStyle |= WS_EX_TRANSPARENT;
    if (PasswordChar() != 0)
        Params.Style |= ES_PASSWORD;
    else
        Params.Style |= ES_MULTILINE;
}

void TbsCustomEdit::EditChar(TMessage& Message) {
    const unsigned Key = unsigned(Message.WParam);
    if (Key == 27 || Key == 13) {
        unsigned Copy = Key;
        if (OnKeyPress)
            OnKeyPress(this, Copy);
        // The multi-line window never sees Enter: the form's buttons act.
        if (TCustomForm* Form = GetParentForm(this))
            Form->Perform(CM_DIALOGKEY, Key, Message.LParam);
        return;
    }
    if (FReadOnly)
        return;
    TCustomMaskEdit::Dispatch(Message);
}

void TbsCustomEdit::EditContextMenu(TMessage& Message) {
    if (PopupMenu()) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    CreateSysPopupMenu();
    if (!FSysPopupMenu || !EditMenus().Popup)
        return;
    TPoint At{static_cast<short>(LOWORD(Message.LParam)),
              static_cast<short>(HIWORD(Message.LParam))};
    // The menu key and Shift+F10 give no point: the middle of the edit.
    if (At.X < 0 || At.Y < 0) {
        const TPoint Origin = ClientToScreen({0, 0});
        At = {Origin.X + Width() / 2, Origin.Y + Height() / 2};
    }
    EditMenus().Popup(FSysPopupMenu, this, At.X, At.Y);
}

void TbsCustomEdit::AfterMenuCommand() {
    // The chain has run the chosen entry and let go of its items.
    FreeSysPopupMenu();
}

void TbsCustomEdit::EditCtlColor(TMessage& Message) {
    if (!FEditTransparent) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void TbsCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFONT:
        TCustomMaskEdit::Dispatch(Message);
        SendMessage(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
        return;
    case WM_CHAR:
        EditChar(Message);
        return;
    case WM_KEYDOWN:
        if (FReadOnly && Message.WParam == VK_DELETE)
            return;
        TCustomMaskEdit::Dispatch(Message);
        InvalidateIfTransparent();
        return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (FReadOnly)
            return;
        TCustomMaskEdit::Dispatch(Message);
        InvalidateIfTransparent();
        return;
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_KILLFOCUS:
        TCustomMaskEdit::Dispatch(Message);
        InvalidateIfTransparent();
        return;
    case WM_ERASEBKGND:
        if (FEditTransparent) {
            Invalidate();
            return;
        }
        TCustomMaskEdit::Dispatch(Message);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        EditCtlColor(Message);
        return;
    case WM_LBUTTONDOWN:
        TCustomMaskEdit::Dispatch(Message);
        FDown = true;
        InvalidateIfTransparent();
        return;
    case WM_LBUTTONUP:
        TCustomMaskEdit::Dispatch(Message);
        FDown = false;
        return;
    case WM_MOUSEMOVE:
        TCustomMaskEdit::Dispatch(Message);
        if (FDown)
            InvalidateIfTransparent();
        return;
    case WM_SETFOCUS:
        TCustomMaskEdit::Dispatch(Message);
        InvalidateIfTransparent();
        if (AutoSelect() && !FRecreating)
            SelectAll();
        return;
    case CM_RECREATEWND: {
        FRecreating = true;
        struct TClear {
            bool& Flag;
            ~TClear() { Flag = false; }
        } Clear{FRecreating};
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    case WM_CONTEXTMENU:
        EditContextMenu(Message);
        return;
    case WM_AFTERSKINMENUCOMMAND:
        AfterMenuCommand();
        return;
    case CM_CANCELMODE:
        TCustomMaskEdit::Dispatch(Message);
        if (OnEditCancelMode)
            OnEditCancelMode(reinterpret_cast<TControl*>(Message.LParam));
        return;
    default:
        TCustomMaskEdit::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- TbsSkinNumEdit

bool TbsSkinNumEdit::IsValidChar(unsigned Key) {
    const unsigned Separator = static_cast<unsigned char>(FormatSettings.DecimalSeparator);
    const bool Control = Key < 32 && Key != 13;
    const bool Digit = Key >= '0' && Key <= '9';
    bool Valid = Key == '-' || Digit || Control || (Float && Key <= 255 && Key == Separator);
    if (!FEditorEnabled && Valid && (Key >= 32 || Key == 8 || Key == '.'))
        Valid = false;
    const std::string T = Text();
    if (Float && Key == Separator && T.find(char(Separator)) != std::string::npos)
        return false;
    if (Key == '-' && T.find('-') != std::string::npos)
        return false;
    return Valid;
}

void TbsSkinNumEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP) {
        if (OnUpClick)
            OnUpClick(this);
        return;
    }
    if (Key == VK_DOWN) {
        if (OnDownClick)
            OnDownClick(this);
        return;
    }
    TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::KeyPress(unsigned& Key) {
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0)
        TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEWHEEL:
        if (WheelDeltaPositive(Message.WParam)) {
            if (OnDownClick)
                OnDownClick(this);
        } else if (OnUpClick)
            OnUpClick(this);
        return;
    case CM_MOUSEENTER:
        TbsCustomEdit::Dispatch(Message);
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TbsCustomEdit::Dispatch(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    default:
        TbsCustomEdit::Dispatch(Message);
    }
}
