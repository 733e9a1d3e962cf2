// Lists of the class library: TList<T>, a typed list of pointers that owns
// nothing, and TCollection, which owns its TCollectionItems.
//
// A collection reports every change through Update(Item): the item for a
// change of one item, none for structural changes. Inside BeginUpdate /
// EndUpdate nothing is reported, and one Update(nullptr) follows the final
// EndUpdate.
#pragma once

#include "platform/core/Objects.h"

#include <algorithm>
#include <functional>
#include <vector>

template <class T> class TList : public TObject {
public:
    // Answers the new item's index.
    int Add(T* Item) {
        FList.push_back(Item);
        return Count() - 1;
    }
    // Index may be Count() (appends).
    void Insert(int Index, T* Item) {
        if (Index < 0 || Index > Count())
            RaiseListIndexError(Index);
        FList.insert(FList.begin() + Index, Item);
    }
    void Delete(int Index) {
        CheckIndex(Index);
        FList.erase(FList.begin() + Index);
    }
    // Removes the first occurrence; answers its old index, or -1.
    int Remove(const T* Item) {
        int Index = IndexOf(Item);
        if (Index >= 0)
            Delete(Index);
        return Index;
    }
    int IndexOf(const T* Item) const {
        auto It = std::find(FList.begin(), FList.end(), Item);
        return It == FList.end() ? -1 : static_cast<int>(It - FList.begin());
    }
    void Exchange(int Index1, int Index2) {
        CheckIndex(Index1);
        CheckIndex(Index2);
        std::swap(FList[Index1], FList[Index2]);
    }
    // Takes the item at CurIndex out and puts it back at NewIndex.
    void Move(int CurIndex, int NewIndex) {
        CheckIndex(CurIndex);
        CheckIndex(NewIndex);
        T* Item = FList[CurIndex];
        FList.erase(FList.begin() + CurIndex);
        FList.insert(FList.begin() + NewIndex, Item);
    }
    void Clear() { FList.clear(); }
    int Count() const { return static_cast<int>(FList.size()); }
    T* Items(int Index) const {
        CheckIndex(Index);
        return FList[Index];
    }
    void SetItems(int Index, T* Item) {
        CheckIndex(Index);
        FList[Index] = Item;
    }
    T* First() const { return Items(0); }
    T* Last() const { return Items(Count() - 1); }

    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }

private:
    void CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count())
            RaiseListIndexError(Index);
    }

    std::vector<T*> FList;
};

class TCollection;

// An item of a collection. Constructed with a collection, it joins it;
// destroyed, it leaves it.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* ACollection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item from its collection into another (or none).
    void SetCollection(TCollection* Value);
    // -1 when the item is in no collection.
    int Index() const;
    // Moves the item to Value; an index outside the collection raises.
    void SetIndex(int Value);
    // The class name unless a derived class knows better.
    virtual std::string GetDisplayName() const { return ClassName(); }
    TPersistent* GetOwner() override;

protected:
    // Reports a change of this item (AllItems false) or of the whole
    // collection (true) through the collection's Update.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
public:
    using TItemFactory = std::function<TCollectionItem*(TCollection* Collection)>;

    // The factory makes one item constructed with the given collection.
    explicit TCollection(TItemFactory ItemFactory, TPersistent* AOwner = nullptr);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    // The factory for items of class TItem (constructed from a TCollection*).
    template <class TItem> static TItemFactory ItemClass() {
        return [](TCollection* Collection) -> TCollectionItem* { return new TItem(Collection); };
    }

    TCollectionItem* Add();
    // A new item placed at Index (0..Count()).
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int Index) const;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Clears, then adds one item per item of Source and assigns it.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() override { return FOwner; }

protected:
    // Called after every change outside BeginUpdate/EndUpdate: with the item
    // for a change of one item, with none otherwise.
    virtual void Update(TCollectionItem* Item) { (void)Item; }
    // Update(nullptr) unless an update is open.
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(int CurIndex, int NewIndex);

    TItemFactory FItemFactory;
    TPersistent* FOwner = nullptr;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
};

// A collection of one item class, with typed access.
template <class TItem> class TCollectionOf : public TCollection {
public:
    explicit TCollectionOf(TPersistent* AOwner = nullptr)
        : TCollection(ItemClass<TItem>(), AOwner) {}

    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    TItem* Insert(int Index) { return static_cast<TItem*>(TCollection::Insert(Index)); }
    TItem* Items(int Index) const { return static_cast<TItem*>(TCollection::Items(Index)); }
};
