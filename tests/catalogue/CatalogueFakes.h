// In-memory stand-ins for the main window's category and profile lists, the
// six parameter lists and the job table, behaving as CatalogueControls.h
// states; the contract suite checks that they do.
#pragma once

#include "catalogue/CatalogueControls.h"

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TFakeOfficeCombo : public IOfficeComboList {
public:
    struct TItem {
        std::string Title;
        std::string Caption;
        int ImageIndex;
    };

    int ItemIndex() const override { return FItemIndex; }
    void SetItemIndex(int Value) override {
        FItemIndex = Value;
        if (FOnChange != nullptr)
            FOnChange(nullptr);
    }
    void ClearItems() override { FItems.clear(); }
    void AddItem(std::string_view Title, std::string_view Caption, int ImageIndex) override {
        FItems.push_back({std::string(Title), std::string(Caption), ImageIndex});
    }
    int ItemCount() const override { return static_cast<int>(FItems.size()); }
    std::string ItemTitle(int Index) const override { return FItems.at(Index).Title; }
    std::string ItemCaption(int Index) const override { return FItems.at(Index).Caption; }
    int ItemImageIndex(int Index) const override { return FItems.at(Index).ImageIndex; }
    void SetOnChange(TNotifyEvent Value) override { FOnChange = std::move(Value); }

    // Stores an index without firing, as the form does when it is loaded.
    void LoadItemIndex(int Value) { FItemIndex = Value; }

private:
    std::vector<TItem> FItems;
    int FItemIndex = 0;
    TNotifyEvent FOnChange;
};

class TFakeTextCombo : public ITextComboList {
public:
    void ClearItems() override {
        FItems.clear();
        FItemIndex = -1;
    }
    void AddItem(std::string_view Text) override { FItems.emplace_back(Text); }
    int ItemIndex() const override { return FItemIndex; }
    void SetItemIndex(int Position) override {
        if (Position < 0 || Position >= ItemCount()) {
            FItemIndex = -1;
            return;
        }
        FItemIndex = Position;
        if (FItems[Position] == FText)
            return;
        FText = FItems[Position];
        if (FOnChange != nullptr)
            FOnChange(nullptr);
    }
    std::string Text() const override { return FText; }
    void SetEnabled(bool Value) override { FEnabled = Value; }
    bool Enabled() const override { return FEnabled; }
    int ItemCount() const override { return static_cast<int>(FItems.size()); }
    std::string Item(int Index) const override { return FItems.at(Index); }
    void SetOnChange(TNotifyEvent Value) override { FOnChange = std::move(Value); }

    const std::vector<std::string>& Items() const { return FItems; }

private:
    std::vector<std::string> FItems;
    int FItemIndex = -1;
    std::string FText;
    bool FEnabled = true;
    TNotifyEvent FOnChange;
};

// One job row that is either selected or not; every write and focus is
// recorded, also writes made while no row is selected (which are faults).
class TFakeJobTable : public IJobRowTable {
public:
    static constexpr int SubItemCount = 24;

    bool HasSelectedRow() const override { return FSelected; }
    std::string SubItem(int Index) const override { return FRow.at(Index); }
    void SetSubItem(int Index, std::string_view Text) override {
        Writes.emplace_back(Index, std::string(Text));
        FRow.at(Index) = Text;
        if (OnWrite)
            OnWrite(Index, Text);
    }
    void FocusTable() override { ++FocusCount; }

    void Select(bool Value) { FSelected = Value; }
    // Sets a sub-item without recording it, as the add commands do.
    void Put(int Index, std::string Text) { FRow.at(Index) = std::move(Text); }
    const std::array<std::string, SubItemCount>& Row() const { return FRow; }

    std::vector<std::pair<int, std::string>> Writes;
    int FocusCount = 0;
    std::function<void(int, std::string_view)> OnWrite;

private:
    bool FSelected = false;
    std::array<std::string, SubItemCount> FRow;
};
