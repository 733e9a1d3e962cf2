#include "skin/dialogs/bsSkinFileControls.h"

#include "platform/core/Strings.h"

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner)
    : TbsSkinComboBox(AOwner), FMaskList(std::make_unique<TStringList>()) {}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox() {
    if (FFileList)
        FFileList->FFilterCombo = nullptr;
}

void TbsSkinFilterComboBox::CreateWnd() {
    TbsSkinComboBox::CreateWnd();
    BuildList();
}

void TbsSkinFilterComboBox::BuildList() {
    Items()->Clear();
    FMaskList->Clear();
    std::string T = FFilterText;
    // description|mask pairs; a last description without a mask is dropped.
    for (std::size_t Bar = T.find('|'); Bar != std::string::npos; Bar = T.find('|')) {
        const std::string Description = T.substr(0, Bar);
        T.erase(0, Bar + 1);
        std::string MaskText;
        if (const std::size_t Next = T.find('|'); Next != std::string::npos) {
            MaskText = T.substr(0, Next);
            T.erase(0, Next + 1);
        } else {
            MaskText = T;
            T.clear();
        }
        Items()->Add(Description);
        FMaskList->Add(MaskText);
    }
    SetItemIndex(0);
}

std::string TbsSkinFilterComboBox::GetMask() {
    if (ItemIndex() == -1)
        SetItemIndex(Items()->Count() - 1);
    if (ItemIndex() == -1)
        return "*.*";
    return FMaskList->Strings(ItemIndex());
}

void TbsSkinFilterComboBox::SetFilter(const std::string& Value) {
    if (AnsiCompareText(Value, FFilterText) == 0)
        return;
    FFilterText = Value;
    if (HandleAllocated())
        BuildList();
    Change();
}

void TbsSkinFilterComboBox::Change() {
    if (FFileList)
        FFileList->SetMask(GetMask());
    TbsSkinComboBox::Change();
}

void TbsSkinFilterComboBox::Click() {
    TbsSkinComboBox::Click();
    Change();
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* Value) {
    if (FFileList == Value)
        return;
    if (FFileList) {
        FFileList->FFilterCombo = nullptr;
        FFileList->RemoveFreeNotification(this);
    }
    FFileList = Value;
    if (FFileList) {
        FFileList->FFilterCombo = this;
        FFileList->FreeNotification(this);
    }
}

void TbsSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileList)
        FFileList = nullptr;
}
