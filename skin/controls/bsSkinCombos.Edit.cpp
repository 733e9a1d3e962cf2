// The text combo's edit style: the inner edit over the item area, its key,
// wheel and focus hooks, and the completion of typed text from the items.
//
// The inner edit paints its own text: skinned it is transparent, so the
// combo's face painted under it shows through and the text is drawn once,
// by the edit, over it. The combo never draws the item in this style.
#include "skin/controls/bsSkinCombos.h"

#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

namespace {

constexpr unsigned EditSearchPause = 200;

bool WideCharset(TFontCharset C) {
    return C == SHIFTJIS_CHARSET || C == GB2312_CHARSET || C == CHINESEBIG5_CHARSET;
}

} // namespace

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value) {
    FStyle = Value;
    if (Value == bscbEditStyle) {
        if (!FEdit) {
            CreateEditControl();
            const bool HadTabStop = TabStop();
            if (HadTabStop)
                SetTabStop(false);
            FEdit->SetTabStop(HadTabStop);
            FEdit->SetText(Text());
            if (Focused())
                FEdit->SetFocus();
        }
    } else if (FEdit) {
        // The combo is reachable by Tab again when its edit was.
        if (FEdit->TabStop())
            SetTabStop(true);
        FEdit->SetVisible(false);
        delete FEdit;
        FEdit = nullptr;
    }
    CalcRects();
    if (HandleAllocated())
        RecreateWnd();
    Repaint();
}

void TbsSkinCustomComboBox::CreateEditControl() {
    FEdit = FNumEdit ? new TbsSkinNumEdit(this) : new TbsCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetVisible(true);
    FEdit->OnChange = TNotifyEvent(this, &TbsSkinCustomComboBox::EditChange);
    FEditWindowProc = FEdit->WindowProc;
    FEdit->WindowProc = TWndMethod(this, &TbsSkinCustomComboBox::EditWindowProcHook);
    FEdit->OnEditCancelMode = TbsOnEditCancelMode(this, &TbsSkinCustomComboBox::EditCancelMode);
    FEdit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyDown)
            OnKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](TObject*, unsigned& Key) {
        if (OnKeyPress)
            OnKeyPress(this, Key);
    };
    FEdit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyUp)
            OnKeyUp(this, Key, Shift);
    };
    FEdit->SetCharCase(FCharCase);
    TFont* F = FEdit->Font();
    if (FIndex == -1) {
        F->SetName(Font()->Name());
        F->SetStyle(Font()->Style());
        F->SetColor(Font()->Color());
        F->SetHeight(Font()->Height());
    } else {
        F->SetStyle(FontStyle);
        F->SetColor(FontColor);
        F->SetHeight(FontHeight);
        F->SetName(FontName);
    }
    FEdit->SetEditTransparent(FIndex != -1);
    CalcRects();
}

void TbsSkinCustomComboBox::AdjustEditHeight() {
    TBitmap B;
    B.SetSize(1, 1);
    B.Canvas()->Font()->Assign(FEdit->Font());
    FEdit->SetHeight(B.Canvas()->TextHeight("Wg"));
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    if (FEdit)
        FEdit->SetCharCase(Value);
}

int TbsSkinCustomComboBox::SelStart() {
    return FEdit ? FEdit->SelStart() : 0;
}

void TbsSkinCustomComboBox::SetSelStart(int Value) {
    if (FEdit)
        FEdit->SetSelStart(Value);
}

int TbsSkinCustomComboBox::SelLength() {
    return FEdit ? FEdit->SelLength() : 0;
}

void TbsSkinCustomComboBox::SetSelLength(int Value) {
    if (FEdit)
        FEdit->SetSelLength(Value);
}

TFontCharset TbsSkinCustomComboBox::InputCharset() {
    if (FSD && FSD->ResourceStrData())
        return FSD->ResourceStrData()->CharSet();
    return DefaultFont()->Charset();
}

void TbsSkinCustomComboBox::SetEditFontColor(TColor Value) {
    if (!FEdit)
        return;
    FEdit->Font()->SetColor(Value);
    FEdit->Invalidate();
}

void TbsSkinCustomComboBox::ApplyEditFont() {
    if (!FEdit)
        return;
    TFont* F = FEdit->Font();
    if (FIndex != -1 && FUseSkinFont) {
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
        F->SetName(FontName);
        F->SetColor(FontColor);
    } else {
        F->Assign(DefaultFont());
        if (FIndex != -1)
            F->SetColor(FontColor);
    }
    if (FIndex != -1 && !IsNullRect(ActiveSkinRect) && (FEdit->Focused() || FMouseIn))
        F->SetColor(ActiveFontColor);
    F->SetCharset(InputCharset());
    if (FEdit->EditTransparent() != (FIndex != -1))
        FEdit->SetEditTransparent(FIndex != -1);
    if (!Enabled())
        F->SetColor(GetDisabledFontColor());
}

// ---------------------------------------------------------------- typing and completion

void TbsSkinCustomComboBox::EditChange(TObject*) {
    FromEdit = true;
    const std::string S = FEdit->Text();
    if (!S.empty()) {
        HWND List = FListBox->ListBox->Handle();
        const LRESULT Row = SendMessage(List, LB_FINDSTRING, WPARAM(-1), LPARAM(S.c_str()));
        if (Row >= 0)
            SendMessage(List, FAutoComplete ? LB_SETCURSEL : LB_SETTOPINDEX, WPARAM(Row), 0);
    }
    SetText(S);
    FromEdit = false;
}

void TbsSkinCustomComboBox::FindListItemFromEdit() {
    const std::uint32_t Now = GetTickCount();
    if (std::uint32_t(Now - FLastTime) <= EditSearchPause)
        return;
    FLastTime = Now;
    const std::string Typed = Text();
    if (Typed.empty())
        return;
    const WPARAM Start = Utf8Length(Typed) == 1 ? WPARAM(ItemIndex()) : WPARAM(-1);
    const int Row =
        int(SendMessage(FListBox->ListBox->Handle(), LB_FINDSTRING, Start, LPARAM(Typed.c_str())));
    if (Row < 0)
        return;
    SetItemIndex(Row);
    if (!FEdit)
        return;
    FEdit->SetSelStart(int(Typed.size()));
    FEdit->SetSelLength(int(Text().size()) - int(Typed.size()));
}

void TbsSkinCustomComboBox::EditStepUp(bool WithChange) {
    const int Index = ItemIndex();
    if (Index <= 0)
        return;
    if (!WithChange) {
        FListBox->SetItemIndex(Index - 1);
        return;
    }
    SetItemIndex(Index - 1);
    SetText(Items()->Strings(ItemIndex()));
    FEdit->SelectAll();
    if (OnClick)
        OnClick(this);
}

void TbsSkinCustomComboBox::EditStepDown(bool WithChange) {
    const int Index = ItemIndex();
    if (Index >= Items()->Count() - 1)
        return;
    FListBox->SetItemIndex(Index + 1);
    if (!WithChange)
        return;
    SetText(Items()->Strings(ItemIndex()));
    FEdit->SelectAll();
    if (OnClick)
        OnClick(this);
}

void TbsSkinCustomComboBox::EditKeyUp(TMessage& Message) {
    const WPARAM Key = Message.WParam;
    if (WideCharset(InputCharset())) {
        if (Key == VK_DELETE || Key == VK_BACK) {
            FEditWindowProc(Message);
            return;
        }
        FEdit->ClearSelection();
        FEditWindowProc(Message);
    } else {
        if (Message.Msg != WM_KEYUP || Key < 48) {
            FEditWindowProc(Message);
            return;
        }
        FEditWindowProc(Message);
    }
    if (FAutoComplete)
        FindListItemFromEdit();
}

void TbsSkinCustomComboBox::EditCancelMode(TControl* Sender) {
    const bool Own =
        Sender && (Sender == this || Sender == FListBox || Sender == FListBox->ScrollBar ||
                   Sender == FListBox->HScrollBar || Sender == FListBox->ListBox);
    if (!Own)
        CloseUp(false);
}

void TbsSkinCustomComboBox::EditWindowProcHook(TMessage& Message) {
    const bool ActiveLook = FIndex != -1 && !IsNullRect(ActiveSkinRect);
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (ActiveLook)
            SetEditFontColor(ActiveFontColor);
        break;
    case WM_KILLFOCUS:
        if (IsPopupVisible())
            CloseUp(false);
        if (ActiveLook)
            SetEditFontColor(FontColor);
        break;
    case WM_KEYDOWN:
        switch (Message.WParam) {
        case VK_RETURN:
            if (IsPopupVisible())
                CloseUp(true);
            break;
        case VK_ESCAPE:
            if (IsPopupVisible())
                CloseUp(false);
            break;
        case VK_PRIOR:
            if (IsPopupVisible())
                FListBox->SetItemIndex(std::max(0, ItemIndex() - FDropDownCount - 1));
            break;
        case VK_NEXT:
            if (IsPopupVisible())
                FListBox->SetItemIndex(
                    std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1));
            break;
        case VK_UP:
            EditStepUp(true);
            return;
        case VK_DOWN:
            EditStepDown(true);
            return;
        default:
            break;
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        EditKeyUp(Message);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (IsPopupVisible())
            CloseUp(false);
        break;
    case WM_MOUSEWHEEL:
        if (WheelDeltaPositive(Message.WParam))
            EditStepUp(!IsPopupVisible());
        else
            EditStepDown(!IsPopupVisible());
        break;
    default:
        break;
    }
    FEditWindowProc(Message);
}
