#include "platform/core/Lists.h"

#include "platform/core/Exceptions.h"

void RaiseListIndexError(int Index) {
    throw EListError("List index out of bounds (%d)", {Index});
}

void RaiseAssignError(const TPersistent* Source, const TPersistent* Dest) {
    throw EConvertError("Cannot assign a %s to a %s",
                        {Source ? Source->ClassName() : "nil", Dest ? Dest->ClassName() : "nil"});
}

// ---------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* ACollection) {
    SetCollection(ACollection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == FCollection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection)
        return -1;
    const auto& Items = FCollection->FItems;
    return static_cast<int>(std::find(Items.begin(), Items.end(), this) - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    int CurIndex = Index();
    if (CurIndex < 0 || CurIndex == Value)
        return;
    FCollection->MoveItem(CurIndex, Value);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() {
    return FCollection;
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TItemFactory ItemFactory, TPersistent* AOwner)
    : FItemFactory(std::move(ItemFactory)), FOwner(AOwner) {}

TCollection::~TCollection() {
    // No reports while the collection goes: Update's override is gone already.
    FUpdateCount = 1;
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem* TCollection::Add() {
    // The item joins this collection in its constructor.
    TCollectionItem* Item = FItemFactory(this);
    if (Item && Item->Collection() != this)
        Item->SetCollection(this);
    return Item;
}

TCollectionItem* TCollection::Insert(int Index) {
    if (Index < 0 || Index > Count())
        RaiseListIndexError(Index);
    TCollectionItem* Item = Add();
    Item->SetIndex(Index);
    return Item;
}

void TCollection::Delete(int Index) {
    delete Items(Index);
}

void TCollection::Clear() {
    if (FItems.empty())
        return;
    BeginUpdate();
    try {
        while (!FItems.empty())
            delete FItems.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TCollection*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* Item : Other->FItems)
            Add()->Assign(Item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    if (It != FItems.end())
        FItems.erase(It);
    Item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(int CurIndex, int NewIndex) {
    if (NewIndex < 0 || NewIndex >= Count())
        RaiseListIndexError(NewIndex);
    TCollectionItem* Item = FItems[static_cast<std::size_t>(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, Item);
}
