// The rules of IOfficeComboList and ITextComboList that the catalogue's
// handlers rely on, as typed test suites. Each test program that has an
// implementation includes this header in exactly one file and instantiates
// the suites with a harness type: default-constructible, owning whatever the
// control needs, with Combo() returning the control under test.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(CatalogueFakes, CatalogueOfficeComboContract, TOfficeHarnesses);
#pragma once

#include "catalogue/CatalogueControls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

template <typename THarness> class CatalogueOfficeComboContract : public ::testing::Test {
protected:
    // Records the ItemIndex seen by each OnChange.
    void Watch() {
        Harness.Combo().SetOnChange(
            [this](TObject*) { Seen.push_back(Harness.Combo().ItemIndex()); });
    }
    void AddThree() {
        Harness.Combo().AddItem("T0", "C0", 0);
        Harness.Combo().AddItem("T1", "C1", 1);
        Harness.Combo().AddItem("T2", "C2", 0);
    }

    THarness Harness;
    std::vector<int> Seen;
};

TYPED_TEST_SUITE_P(CatalogueOfficeComboContract);

TYPED_TEST_P(CatalogueOfficeComboContract, EveryAssignmentFiresAfterStoring) {
    this->AddThree();
    this->Watch();
    IOfficeComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(1);
    Combo.SetItemIndex(1);
    Combo.SetItemIndex(2);
    EXPECT_EQ(this->Seen, (std::vector<int>{1, 1, 2}));
}

TYPED_TEST_P(CatalogueOfficeComboContract, ClearAndAddFireNothingAndKeepTheIndex) {
    this->AddThree();
    IOfficeComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(2);
    this->Watch();
    Combo.ClearItems();
    EXPECT_EQ(Combo.ItemCount(), 0);
    EXPECT_EQ(Combo.ItemIndex(), 2);
    Combo.AddItem("A", "B", 1);
    EXPECT_EQ(Combo.ItemCount(), 1);
    EXPECT_EQ(Combo.ItemIndex(), 2);
    EXPECT_TRUE(this->Seen.empty());
}

TYPED_TEST_P(CatalogueOfficeComboContract, IndexIsNotRangeChecked) {
    this->AddThree();
    this->Watch();
    IOfficeComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(17);
    EXPECT_EQ(Combo.ItemIndex(), 17);
    Combo.SetItemIndex(-1);
    EXPECT_EQ(Combo.ItemIndex(), -1);
    EXPECT_EQ(this->Seen, (std::vector<int>{17, -1}));
}

TYPED_TEST_P(CatalogueOfficeComboContract, ItemsKeepTitleCaptionAndPicture) {
    this->AddThree();
    IOfficeComboList& Combo = this->Harness.Combo();
    ASSERT_EQ(Combo.ItemCount(), 3);
    EXPECT_EQ(Combo.ItemTitle(1), "T1");
    EXPECT_EQ(Combo.ItemCaption(2), "C2");
    EXPECT_EQ(Combo.ItemImageIndex(1), 1);
}

REGISTER_TYPED_TEST_SUITE_P(CatalogueOfficeComboContract, EveryAssignmentFiresAfterStoring,
                            ClearAndAddFireNothingAndKeepTheIndex, IndexIsNotRangeChecked,
                            ItemsKeepTitleCaptionAndPicture);

template <typename THarness> class CatalogueTextComboContract : public ::testing::Test {
protected:
    // Records the displayed text and selection seen by each OnChange.
    void Watch() {
        Harness.Combo().SetOnChange([this](TObject*) {
            ITextComboList& Combo = Harness.Combo();
            Seen.push_back(Combo.Text() + "@" + std::to_string(Combo.ItemIndex()));
        });
    }
    void Fill(std::initializer_list<const char*> Items) {
        for (const char* Item : Items)
            Harness.Combo().AddItem(Item);
    }

    THarness Harness;
    std::vector<std::string> Seen;
};

TYPED_TEST_SUITE_P(CatalogueTextComboContract);

TYPED_TEST_P(CatalogueTextComboContract, FiresOnlyWhenTheTextChangesBeforeReturning) {
    this->Fill({"25.00", "29.97", "30.00", "29.97 "});
    this->Watch();
    ITextComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(1);
    // The handler has run by the time the setter returns.
    ASSERT_EQ(this->Seen, (std::vector<std::string>{"29.97@1"}));
    Combo.SetItemIndex(1);
    Combo.SetItemIndex(3);
    Combo.SetItemIndex(0);
    EXPECT_EQ(this->Seen, (std::vector<std::string>{"29.97@1", "29.97 @3", "25.00@0"}));
}

TYPED_TEST_P(CatalogueTextComboContract, SameTextAtAnotherPositionFiresNothing) {
    this->Fill({"a", "b"});
    ITextComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(1);
    Combo.ClearItems();
    this->Fill({"b", "c", "d"});
    this->Watch();
    Combo.SetItemIndex(0);
    EXPECT_TRUE(this->Seen.empty());
    EXPECT_EQ(Combo.ItemIndex(), 0);
    EXPECT_EQ(Combo.Text(), "b");
}

TYPED_TEST_P(CatalogueTextComboContract, ClearKeepsTheTextAndSelectsNothing) {
    this->Fill({"a", "b"});
    ITextComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(1);
    this->Watch();
    Combo.ClearItems();
    EXPECT_EQ(Combo.ItemCount(), 0);
    EXPECT_EQ(Combo.ItemIndex(), -1);
    EXPECT_EQ(Combo.Text(), "b");
    Combo.AddItem("x");
    EXPECT_EQ(Combo.ItemIndex(), -1);
    EXPECT_EQ(Combo.Text(), "b");
    EXPECT_EQ(Combo.Item(0), "x");
    EXPECT_TRUE(this->Seen.empty());
}

TYPED_TEST_P(CatalogueTextComboContract, PositionOutsideTheItemsLeavesTheText) {
    this->Fill({"a", "b"});
    ITextComboList& Combo = this->Harness.Combo();
    Combo.SetItemIndex(0);
    this->Watch();
    for (int Position : {2, 99, -1}) {
        Combo.SetItemIndex(Position);
        EXPECT_EQ(Combo.ItemIndex(), -1) << Position;
        EXPECT_EQ(Combo.Text(), "a") << Position;
    }
    EXPECT_TRUE(this->Seen.empty());
}

TYPED_TEST_P(CatalogueTextComboContract, EnablingFiresNothing) {
    this->Fill({"a"});
    this->Watch();
    ITextComboList& Combo = this->Harness.Combo();
    EXPECT_TRUE(Combo.Enabled());
    Combo.SetEnabled(false);
    EXPECT_FALSE(Combo.Enabled());
    Combo.SetEnabled(true);
    EXPECT_TRUE(Combo.Enabled());
    EXPECT_TRUE(this->Seen.empty());
}

REGISTER_TYPED_TEST_SUITE_P(CatalogueTextComboContract, FiresOnlyWhenTheTextChangesBeforeReturning,
                            SameTextAtAnotherPositionFiresNothing,
                            ClearKeepsTheTextAndSelectsNothing,
                            PositionOutsideTheItemsLeavesTheText, EnablingFiresNothing);
