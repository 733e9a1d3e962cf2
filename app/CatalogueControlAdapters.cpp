#include "app/CatalogueControlAdapters.h"

#include "platform/forms/ListViews.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinLists.h"

// ---------------------------------------------------------------- office combo

int TOfficeComboListAdapter::ItemIndex() const {
    return FCombo.ItemIndex();
}

void TOfficeComboListAdapter::SetItemIndex(int Value) {
    FCombo.SetItemIndex(Value);
}

void TOfficeComboListAdapter::ClearItems() {
    // Emptying the list must not lose the index the handlers read next.
    const int Kept = FCombo.ItemIndex();
    FCombo.Items()->Clear();
    if (FCombo.ItemIndex() != Kept)
        FCombo.FListBox->SetItemIndex(Kept);
    FCombo.Invalidate();
}

void TOfficeComboListAdapter::AddItem(std::string_view Title, std::string_view Caption,
                                      int ImageIndex) {
    const int Kept = FCombo.ItemIndex();
    TbsSkinOfficeItem* Item = FCombo.Items()->Add();
    Item->SetTitle(std::string(Title));
    Item->SetCaption(std::string(Caption));
    Item->SetImageIndex(ImageIndex);
    if (FCombo.ItemIndex() != Kept)
        FCombo.FListBox->SetItemIndex(Kept);
    FCombo.Invalidate();
}

int TOfficeComboListAdapter::ItemCount() const {
    return FCombo.Items()->Count();
}

std::string TOfficeComboListAdapter::ItemTitle(int Index) const {
    return FCombo.Items()->Items(Index)->Title();
}

std::string TOfficeComboListAdapter::ItemCaption(int Index) const {
    return FCombo.Items()->Items(Index)->Caption();
}

int TOfficeComboListAdapter::ItemImageIndex(int Index) const {
    return FCombo.Items()->Items(Index)->ImageIndex();
}

void TOfficeComboListAdapter::SetOnChange(TNotifyEvent Value) {
    FCombo.OnChange = Value;
}

// ---------------------------------------------------------------- text combo

void TTextComboListAdapter::ClearItems() {
    FCombo.Items()->Clear();
}

void TTextComboListAdapter::AddItem(std::string_view Text) {
    FCombo.Items()->Add(std::string(Text));
}

int TTextComboListAdapter::ItemIndex() const {
    return FCombo.ItemIndex();
}

void TTextComboListAdapter::SetItemIndex(int Position) {
    // A position outside the items selects nothing and keeps the text.
    if (Position < 0 || Position >= FCombo.Items()->Count())
        Position = -1;
    FCombo.SetItemIndex(Position);
}

std::string TTextComboListAdapter::Text() const {
    return FCombo.Text();
}

void TTextComboListAdapter::SetEnabled(bool Value) {
    FCombo.SetEnabled(Value);
}

bool TTextComboListAdapter::Enabled() const {
    return FCombo.Enabled();
}

int TTextComboListAdapter::ItemCount() const {
    return FCombo.Items()->Count();
}

std::string TTextComboListAdapter::Item(int Index) const {
    return FCombo.Items()->Strings(Index);
}

void TTextComboListAdapter::SetOnChange(TNotifyEvent Value) {
    FCombo.OnChange = Value;
}

// ---------------------------------------------------------------- job table

bool TJobRowTableAdapter::HasSelectedRow() const {
    return FTable.Selected() != nullptr;
}

std::string TJobRowTableAdapter::SubItem(int Index) const {
    TListItem* Row = FTable.Selected();
    if (!Row || Index < 0 || Index >= Row->SubItems()->Count())
        return {};
    return Row->SubItems()->Strings(Index);
}

void TJobRowTableAdapter::SetSubItem(int Index, std::string_view Text) {
    TListItem* Row = FTable.Selected();
    if (!Row || Index < 0)
        return;
    TStrings* Cells = Row->SubItems();
    while (Cells->Count() <= Index)
        Cells->Add("");
    Cells->SetStrings(Index, std::string(Text));
}

void TJobRowTableAdapter::FocusTable() {
    if (FTable.CanFocus())
        FTable.SetFocus();
}
