#include "skin/controls/bsSkinCombos.h"

#include "skin/model/bsUtils.Rects.h"

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner)
    : TbsSkinComboBase(AOwner) {
    FDropDownCount = 7;
    FUseSkinSize = false;
    FListBox = new TbsPopupOfficeListBox(this);
    SetBounds(Left(), Top(), 120, 41);
    FListBoxWindowProc = FListBox->WindowProc;
    FListBox->WindowProc = TWndMethod(this, &TbsSkinCustomOfficeComboBox::ListBoxWindowProcHook);
    FListBox->SetVisible(false);
    FListBox->SetMouseMoveChangeIndex(true);
    if (!Designing())
        FListBox->SetParent(this);
    CalcRects();
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() {
    *FAlive = false;
    if (HandleAllocated())
        KillTimer(Handle(), 1);
    if (FListBox) {
        FListBox->WindowProc = FListBoxWindowProc;
        delete FListBox;
        FListBox = nullptr;
    }
}

// ---------------------------------------------------------------- properties

void TbsSkinCustomOfficeComboBox::SetDropDownCount(int Value) {
    if (Value >= 0)
        FDropDownCount = Value;
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value) {
    if (FShowItemTitle == Value)
        return;
    FShowItemTitle = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value) {
    if (FShowItemImage == Value)
        return;
    FShowItemImage = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value) {
    if (FShowItemText == Value)
        return;
    FShowItemText = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value) {
    if (FToolButtonStyle == Value)
        return;
    FToolButtonStyle = Value;
    if (Value)
        FUseSkinSize = false;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetListBoxSkinDataName(const std::string& Value) {
    FListBoxSkinDataName = Value;
    GetSkinData();
    if (FIndex != -1 || !FSD || FSD->Empty)
        FListBox->SetSkinDataName(Value);
}

void TbsSkinCustomOfficeComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinComboBase::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox && AComponent == FListBox->Images())
        FListBox->SetImages(nullptr);
}

void TbsSkinCustomOfficeComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- selection

void TbsSkinCustomOfficeComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Repaint();
    if (Designing() || ComponentState().Contains(csLoading))
        return;
    if (OnClick)
        OnClick(this);
    Change();
}

void TbsSkinCustomOfficeComboBox::TakeListIndex() {
    SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::StepKey(WORD Key) {
    switch (Key) {
    case VK_PRIOR:
        FListBox->FindPageUp();
        break;
    case VK_NEXT:
        FListBox->FindPageDown();
        break;
    case VK_UP:
    case VK_LEFT:
        FListBox->FindUp();
        break;
    case VK_DOWN:
    case VK_RIGHT:
        FListBox->FindDown();
        break;
    default:
        return;
    }
    TakeListIndex();
}

// ---------------------------------------------------------------- messages

void TbsSkinCustomOfficeComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEWHEEL: {
        TbsSkinComboBase::Dispatch(Message);
        const bool Forward = std::int32_t(Message.WParam) > 0;
        if (Forward)
            FListBox->FindUp();
        else
            FListBox->FindDown();
        if (!IsPopupVisible())
            TakeListIndex();
        Message.Result = 1;
        return;
    }
    default:
        break;
    }
    TbsSkinComboBase::Dispatch(Message);
}

// ---------------------------------------------------------------- skin

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
    TbsSkinComboBase::ChangeSkinData();
    CalcRects();
    Repaint();
    // The configured name survives an unskinned spell.
    FListBox->SetSkinDataName(FIndex == -1 ? std::string() : FListBoxSkinDataName);
    FListBox->SetSkinData(SkinData());
    CalcRects();
}
