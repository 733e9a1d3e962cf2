// The catalogue's view of the main window's skinned controls: the category
// and profile lists (office combos), the six parameter lists (text combos)
// and the job table's selected row. Each adapter keeps the moments at which
// the catalogue's handlers expect OnChange to fire.
#pragma once

#include "catalogue/CatalogueControls.h"

class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TCustomListView;

class TOfficeComboListAdapter : public IOfficeComboList {
public:
    explicit TOfficeComboListAdapter(TbsSkinOfficeComboBox& Combo) : FCombo(Combo) {}

    int ItemIndex() const override;
    void SetItemIndex(int Value) override;
    void ClearItems() override;
    void AddItem(std::string_view Title, std::string_view Caption, int ImageIndex) override;
    int ItemCount() const override;
    std::string ItemTitle(int Index) const override;
    std::string ItemCaption(int Index) const override;
    int ItemImageIndex(int Index) const override;
    void SetOnChange(TNotifyEvent Value) override;

private:
    TbsSkinOfficeComboBox& FCombo;
};

class TTextComboListAdapter : public ITextComboList {
public:
    explicit TTextComboListAdapter(TbsSkinComboBox& Combo) : FCombo(Combo) {}

    void ClearItems() override;
    void AddItem(std::string_view Text) override;
    int ItemIndex() const override;
    void SetItemIndex(int Position) override;
    std::string Text() const override;
    void SetEnabled(bool Value) override;
    bool Enabled() const override;
    int ItemCount() const override;
    std::string Item(int Index) const override;
    void SetOnChange(TNotifyEvent Value) override;

private:
    TbsSkinComboBox& FCombo;
};

class TJobRowTableAdapter : public IJobRowTable {
public:
    explicit TJobRowTableAdapter(TCustomListView& Table) : FTable(Table) {}

    bool HasSelectedRow() const override;
    std::string SubItem(int Index) const override;
    void SetSubItem(int Index, std::string_view Text) override;
    void FocusTable() override;

private:
    TCustomListView& FTable;
};
