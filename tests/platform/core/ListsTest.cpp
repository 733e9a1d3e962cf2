#include "platform/core/Lists.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::string ListError(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const EListError& E) {
        return E.Message();
    }
    return "no error";
}

TEST(ListsTest, TListKeepsOrderAndOwnsNothing) {
    int A = 1, B = 2, C = 3;
    TList<int> List;
    EXPECT_EQ(List.Add(&A), 0);
    EXPECT_EQ(List.Add(&C), 1);
    List.Insert(1, &B);
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.First(), &A);
    EXPECT_EQ(List.Last(), &C);
    EXPECT_EQ(List.IndexOf(&B), 1);

    List.Move(0, 2); // B C A
    EXPECT_EQ(List.Items(0), &B);
    EXPECT_EQ(List.Items(2), &A);
    List.Exchange(0, 1); // C B A
    EXPECT_EQ(List.Items(0), &C);
    List.SetItems(2, &C);
    EXPECT_EQ(List.Remove(&C), 0); // first occurrence
    EXPECT_EQ(List.Remove(&A), -1);
    EXPECT_EQ(List.Count(), 2);

    std::vector<int*> Seen(List.begin(), List.end());
    EXPECT_EQ(Seen, (std::vector<int*>{&B, &C}));
    List.Delete(0);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(A + B + C, 6); // untouched by Clear
}

TEST(ListsTest, TListIndexErrorsNameTheIndex) {
    int A = 0;
    TList<int> List;
    List.Add(&A);
    struct TCase {
        std::function<void()> Action;
        const char* Text;
    } Cases[] = {
        {[&] { List.Items(1); }, "List index out of bounds (1)"},
        {[&] { List.Items(-1); }, "List index out of bounds (-1)"},
        {[&] { List.Delete(5); }, "List index out of bounds (5)"},
        {[&] { List.Insert(2, &A); }, "List index out of bounds (2)"},
        {[&] { List.Move(0, 1); }, "List index out of bounds (1)"},
        {[&] { List.Exchange(0, 3); }, "List index out of bounds (3)"},
        {[&] { TList<int>().First(); }, "List index out of bounds (0)"},
        {[&] { TList<int>().Last(); }, "List index out of bounds (-1)"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(ListError(Case.Action), Case.Text);
}

// Records the collection's reports: "item <name>" or "all".
class TRecordingCollection : public TCollection {
public:
    using TCollection::TCollection;
    std::vector<std::string> Updates;

protected:
    void Update(TCollectionItem* Item) override;
};

class TNamedItem : public TCollectionItem {
public:
    explicit TNamedItem(TCollection* ACollection) : TCollectionItem(ACollection) {
        // Items are named after their index when they are made.
        ItemName = "Item" + std::to_string(Index());
    }
    std::string ItemName;
    int Value = 0;

    void SetValue(int AValue) {
        Value = AValue;
        Changed(false);
    }
    void Refresh() { Changed(true); }
    std::string GetDisplayName() const override { return ItemName; }
    void Assign(TPersistent* Source) override {
        if (auto* Other = dynamic_cast<TNamedItem*>(Source)) {
            ItemName = Other->ItemName;
            Value = Other->Value;
            return;
        }
        TCollectionItem::Assign(Source);
    }
};

void TRecordingCollection::Update(TCollectionItem* Item) {
    Updates.push_back(Item ? "item " + Item->GetDisplayName() : "all");
}

class CollectionTest : public ::testing::Test {
protected:
    TRecordingCollection Collection{TCollection::ItemClass<TNamedItem>()};

    TNamedItem* Item(int Index) { return static_cast<TNamedItem*>(Collection.Items(Index)); }
    std::vector<std::string> Names() {
        std::vector<std::string> Result;
        for (int I = 0; I < Collection.Count(); ++I)
            Result.push_back(Item(I)->ItemName);
        return Result;
    }
};

TEST_F(CollectionTest, ItemsJoinLeaveAndMove) {
    for (int I = 0; I < 3; ++I)
        Collection.Add();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Item0", "Item1", "Item2"}));
    EXPECT_EQ(Item(1)->Collection(), &Collection);
    EXPECT_EQ(Item(1)->GetOwner(), &Collection);

    Item(0)->SetIndex(2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Item1", "Item2", "Item0"}));
    EXPECT_EQ(Item(2)->Index(), 2);
    EXPECT_EQ(ListError([&] { Item(0)->SetIndex(3); }), "List index out of bounds (3)");

    auto* Inserted = static_cast<TNamedItem*>(Collection.Insert(0));
    EXPECT_EQ(Inserted->Index(), 0);
    EXPECT_EQ(Collection.Count(), 4);

    delete Item(1); // a destroyed item leaves its collection
    EXPECT_EQ(Names(), (std::vector<std::string>{"Item3", "Item2", "Item0"}));
    Collection.Delete(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Item2", "Item0"}));

    TRecordingCollection Other{TCollection::ItemClass<TNamedItem>()};
    TNamedItem* Moved = Item(0);
    Moved->SetCollection(&Other);
    EXPECT_EQ(Collection.Count(), 1);
    EXPECT_EQ(Other.Items(0), Moved);

    EXPECT_EQ(ListError([&] { Collection.Items(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ListError([&] { Collection.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ListError([&] { Collection.Insert(5); }), "List index out of bounds (5)");
    Collection.Clear();
    EXPECT_EQ(Collection.Count(), 0);
}

TEST_F(CollectionTest, UpdateReportsItemOrWholeAndWaitsForTheLastEndUpdate) {
    Collection.Add();
    Collection.Add();
    Collection.Updates.clear();

    Item(1)->SetValue(5);
    Item(1)->Refresh();
    Collection.Add();
    EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"item Item1", "all", "all"}));

    Collection.Updates.clear();
    Collection.BeginUpdate();
    Collection.BeginUpdate();
    Item(0)->SetValue(1);
    Collection.Add();
    Collection.Delete(0);
    Collection.EndUpdate();
    EXPECT_TRUE(Collection.Updates.empty());
    Collection.EndUpdate();
    EXPECT_EQ(Collection.Updates, std::vector<std::string>{"all"});

    Collection.Updates.clear();
    Collection.Clear();
    EXPECT_EQ(Collection.Updates, std::vector<std::string>{"all"});
}

TEST_F(CollectionTest, AssignCopiesItemByItem) {
    TRecordingCollection Source{TCollection::ItemClass<TNamedItem>()};
    for (int V : {10, 20}) {
        auto* Made = static_cast<TNamedItem*>(Source.Add());
        Made->Value = V;
        Made->ItemName = "Src" + std::to_string(V);
    }
    Collection.Add();
    Collection.Add();
    Collection.Add();
    Collection.Updates.clear();

    Collection.Assign(&Source);
    ASSERT_EQ(Collection.Count(), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Src10", "Src20"}));
    EXPECT_EQ(Item(1)->Value, 20);
    EXPECT_NE(Collection.Items(0), Source.Items(0));
    EXPECT_EQ(Collection.Updates, std::vector<std::string>{"all"});

    TNamedItem Loose(nullptr);
    EXPECT_THROW(Collection.Assign(&Loose), EConvertError);
}

TEST(ListsTest, TypedCollectionAndOwner) {
    TCollectionItem Owner(nullptr);
    TCollectionOf<TNamedItem> Items(&Owner);
    TNamedItem* First = Items.Add();
    EXPECT_EQ(Items.Items(0), First);
    EXPECT_EQ(Items.GetOwner(), &Owner);
    EXPECT_EQ(First->GetDisplayName(), "Item0");
    EXPECT_EQ(Owner.GetDisplayName(), "TCollectionItem");
    EXPECT_EQ(Owner.Index(), -1);
}

} // namespace
