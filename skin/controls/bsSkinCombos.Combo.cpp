#include "skin/controls/bsSkinCombos.h"

#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinComboBase(AOwner) {
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TbsPopupListBox(this);
    FListBox->SetVisible(false);
    if (!Designing())
        FListBox->SetParent(this);
    FListBox->ListBox->SetTabStop(false);
    FListBox->ListBox->OnMouseMove =
        TMouseMoveEvent(this, &TbsSkinCustomComboBox::ListBoxMouseMoveHook);
    FListBoxWindowProc = FListBox->ListBox->WindowProc;
    FListBox->ListBox->WindowProc = TWndMethod(this, &TbsSkinCustomComboBox::ListBoxWindowProcHook);
    FListBox->OnCheckButtonClick =
        TNotifyEvent(this, &TbsSkinCustomComboBox::ListBoxCheckButtonClick);
    CalcRects();
    FLastTime = 0;
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
    // A fade running inside DropDown stops at its next message pass.
    *FAlive = false;
    if (HandleAllocated())
        KillTimer(Handle(), 1);
    delete FEdit;
    FEdit = nullptr;
    if (FListBox) {
        FListBox->ListBox->WindowProc = FListBoxWindowProc;
        FListBox->ListBox->OnMouseMove = nullptr;
        delete FListBox;
        FListBox = nullptr;
    }
}

// ---------------------------------------------------------------- properties

void TbsSkinCustomComboBox::SetDropDownCount(int Value) {
    if (Value > 0)
        FDropDownCount = Value;
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) {
        Invalidate();
        if (FEdit)
            FEdit->SetColor(Value);
    }
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
    if (FToolButtonStyle == Value)
        return;
    FToolButtonStyle = Value;
    if (Value) {
        SetStyle(bscbFixedStyle);
        FUseSkinSize = false;
    }
    Repaint();
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value) {
    FListBox->SetImages(Value);
    Repaint();
}

void TbsSkinCustomComboBox::SetImageIndex(int Value) {
    FListBox->SetImageIndex(Value);
    Repaint();
}

void TbsSkinCustomComboBox::SetTabWidths(TStrings* Value) {
    if (FListBox)
        FListBox->SetTabWidths(Value);
}

void TbsSkinCustomComboBox::Invalidate() {
    TbsSkinComboBase::Invalidate();
    if (FIndex != -1 && FEdit)
        FEdit->Invalidate();
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinComboBase::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox && AComponent == FListBox->Images())
        FListBox->SetImages(nullptr);
}

void TbsSkinCustomComboBox::Change() {}

// ---------------------------------------------------------------- selection

void TbsSkinCustomComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    const int Index = FListBox->ItemIndex();
    if (Items()->Count() > 0 && Index != -1)
        SetText(Items()->Strings(Index));
    FOldItemIndex = Index;
    if (!FEdit)
        Repaint();
    if (Designing() || ComponentState().Contains(csLoading))
        return;
    if (OnClick)
        OnClick(this);
    Change();
}

void TbsSkinCustomComboBox::TextChanged() {
    if (FEdit && !FromEdit)
        FEdit->SetText(Text());
    if (OnChange)
        OnChange(this);
    if (FromEdit)
        Change();
}

void TbsSkinCustomComboBox::FindListItem(const std::string& C) {
    std::string S;
    if (FAutoComplete) {
        const std::uint32_t Now = GetTickCount();
        if (std::uint32_t(Now - FLastTime) >= 500)
            FFilter.clear();
        FLastTime = Now;
        FFilter += C;
        S = FFilter;
    } else {
        S = C;
    }
    if (S.empty())
        return;
    const WPARAM Start = Utf8Length(S) == 1 ? WPARAM(ItemIndex()) : WPARAM(-1);
    const int Row =
        int(SendMessage(FListBox->ListBox->Handle(), LB_FINDSTRING, Start, LPARAM(S.c_str())));
    if (Row >= 0)
        SetItemIndex(Row);
}

void TbsSkinCustomComboBox::StepKey(WORD Key) {
    const int Index = ItemIndex();
    switch (Key) {
    case VK_PRIOR:
        SetItemIndex(std::max(0, Index - FDropDownCount - 1));
        break;
    case VK_NEXT:
        SetItemIndex(std::min(Items()->Count() - 1, Index + FDropDownCount - 1));
        break;
    case VK_UP:
    case VK_LEFT:
        if (Index > 0)
            SetItemIndex(Index - 1);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (Index < Items()->Count() - 1)
            SetItemIndex(Index + 1);
        break;
    default:
        break;
    }
}

void TbsSkinCustomComboBox::KeyPress(unsigned& Key) {
    TbsSkinComboBase::KeyPress(Key);
    if (Key < ' ')
        return;
    std::string C;
    AppendUtf8(C, char32_t(Key));
    FindListItem(C);
}

// ---------------------------------------------------------------- messages

void TbsSkinCustomComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (FEdit) {
            FEdit->SetFocus();
            if (FIndex != -1 && !IsNullRect(ActiveSkinRect)) {
                SetEditFontColor(ActiveFontColor);
                Invalidate();
            }
            return;
        }
        break;
    case WM_KILLFOCUS:
        TbsSkinComboBase::Dispatch(Message);
        if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect)) {
            SetEditFontColor(FontColor);
            Invalidate();
        }
        return;
    case CM_TEXTCHANGED:
        TbsSkinComboBase::Dispatch(Message);
        TextChanged();
        return;
    case WM_MOUSEWHEEL: {
        TbsSkinComboBase::Dispatch(Message);
        const bool Forward = std::int32_t(Message.WParam) > 0;
        const int Index = ItemIndex();
        if (IsPopupVisible()) {
            if (Forward && Index > 0)
                FListBox->SetItemIndex(Index - 1);
            else if (!Forward && Index < Items()->Count() - 1)
                FListBox->SetItemIndex(Index + 1);
        } else if (Forward && Index > 0) {
            SetItemIndex(Index - 1);
        } else if (!Forward && Index < Items()->Count() - 1) {
            SetItemIndex(Index + 1);
        }
        Message.Result = 1;
        return;
    }
    default:
        break;
    }
    TbsSkinComboBase::Dispatch(Message);
}

void TbsSkinCustomComboBox::EnabledChanged() {
    if (!FEdit)
        return;
    if (!Enabled())
        SetEditFontColor(GetDisabledFontColor());
    else
        SetEditFontColor(FIndex == -1 ? DefaultFont()->Color() : FontColor);
}

void TbsSkinCustomComboBox::HoverChanged() {
    if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect) && !FEdit->Focused())
        SetEditFontColor(FMouseIn ? ActiveFontColor : FontColor);
}

// ---------------------------------------------------------------- skin

void TbsSkinCustomComboBox::ChangeSkinData() {
    TbsSkinComboBase::ChangeSkinData();
    CalcRects();
    Repaint();
    FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : std::string());
    FListBox->SetSkinData(SkinData());
    FListBox->UpDateScrollBar();
    CalcRects();
    if (FEdit) {
        ApplyEditFont();
        if (FIndex != -1) {
            int W = FWidth, H = FHeight;
            CalcSkinSize(W, H);
            if (W != FWidth || H != FHeight)
                SetBounds(Left(), Top(), W, H);
        }
    }
}
