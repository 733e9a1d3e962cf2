// The catalogue's rules for its drop-down lists, on the real skinned combos
// in the main window's settings, once plain and once with the test skin.
// The adapters are the few forwarding lines the main window will hold. Last,
// the road of one choice: the handlers over the real controls, chosen with
// the pointer, end as they end over the fakes.
#include "catalogue/CatalogueHandlers.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "tests/catalogue/CatalogueControlsContract.h"
#include "tests/catalogue/CatalogueFakes.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <array>
#include <filesystem>
#include <memory>

namespace {

class TOfficeComboAdapter : public IOfficeComboList {
public:
    explicit TOfficeComboAdapter(TbsSkinOfficeComboBox* C) : FC(C) {}
    int ItemIndex() const override { return FC->ItemIndex(); }
    void SetItemIndex(int Value) override { FC->SetItemIndex(Value); }
    void ClearItems() override { FC->Items()->Clear(); }
    void AddItem(std::string_view Title, std::string_view Caption, int ImageIndex) override {
        TbsSkinOfficeItem* Item = FC->Items()->Add();
        Item->SetTitle(std::string(Title));
        Item->SetCaption(std::string(Caption));
        Item->SetImageIndex(ImageIndex);
    }
    int ItemCount() const override { return FC->Items()->Count(); }
    std::string ItemTitle(int Index) const override { return FC->Items()->Items(Index)->Title(); }
    std::string ItemCaption(int Index) const override {
        return FC->Items()->Items(Index)->Caption();
    }
    int ItemImageIndex(int Index) const override { return FC->Items()->Items(Index)->ImageIndex(); }
    void SetOnChange(TNotifyEvent Value) override { FC->OnChange = Value; }

private:
    TbsSkinOfficeComboBox* FC;
};

class TTextComboAdapter : public ITextComboList {
public:
    explicit TTextComboAdapter(TbsSkinComboBox* C) : FC(C) {}
    void ClearItems() override { FC->Items()->Clear(); }
    void AddItem(std::string_view Text) override { FC->Items()->Add(std::string(Text)); }
    int ItemIndex() const override { return FC->ItemIndex(); }
    void SetItemIndex(int Position) override { FC->SetItemIndex(Position); }
    std::string Text() const override { return FC->Text(); }
    void SetEnabled(bool Value) override { FC->SetEnabled(Value); }
    bool Enabled() const override { return FC->Enabled(); }
    int ItemCount() const override { return FC->Items()->Count(); }
    std::string Item(int Index) const override { return FC->Items()->Strings(Index); }
    void SetOnChange(TNotifyEvent Value) override { FC->OnChange = Value; }

private:
    TbsSkinComboBox* FC;
};

// A headless application with one shown form, skinned or not.
class TFormHost {
public:
    explicit TFormHost(bool Skinned) {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 500, 400);
        Form->Show();
        if (Skinned) {
            const std::string Folder = Dir.File("skin");
            std::filesystem::create_directories(Folder);
            SkinData = new TbsSkinData(Form);
            SkinData->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
        }
    }
    ~TFormHost() {
        delete Form;
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TForm* Form = nullptr;
    TbsSkinData* SkinData = nullptr;
};

template <bool Skinned> struct TOfficeHarness {
    TOfficeHarness() {
        auto* C = new TbsSkinOfficeComboBox(Host.Form);
        C->SetParent(Host.Form);
        // The profile list's settings.
        C->SetToolButtonStyle(true);
        C->SetUseSkinSize(false);
        C->SetDropDownCount(4);
        C->SetBounds(10, 10, 341, 51);
        C->SetListBoxSkinDataName("listbox");
        C->SetListBoxShowItemTitles(true);
        C->SetListBoxShowLines(true);
        C->SetListBoxItemHeight(60);
        C->SetAlphaBlendAnimation(true);
        C->SetAlphaBlendValue(200);
        C->SetSkinData(Host.SkinData);
        Adapter = std::make_unique<TOfficeComboAdapter>(C);
    }
    IOfficeComboList& Combo() { return *Adapter; }
    TFormHost Host{Skinned};
    std::unique_ptr<TOfficeComboAdapter> Adapter;
};

template <bool Skinned> struct TTextHarness {
    TTextHarness() {
        auto* C = new TbsSkinComboBox(Host.Form);
        C->SetParent(Host.Form);
        // A parameter list's settings.
        C->SetStyle(bscbFixedStyle);
        C->SetUseSkinSize(true);
        C->SetAutoComplete(true);
        C->SetDropDownCount(8);
        C->SetBounds(10, 10, 120, 20);
        C->SetSkinData(Host.SkinData);
        Adapter = std::make_unique<TTextComboAdapter>(C);
    }
    ITextComboList& Combo() { return *Adapter; }
    TFormHost Host{Skinned};
    std::unique_ptr<TTextComboAdapter> Adapter;
};

using TOfficeHarnesses = testing::Types<TOfficeHarness<false>, TOfficeHarness<true>>;
using TTextHarnesses = testing::Types<TTextHarness<false>, TTextHarness<true>>;

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(SkinnedCombos, CatalogueOfficeComboContract, TOfficeHarnesses);
INSTANTIATE_TYPED_TEST_SUITE_P(SkinnedCombos, CatalogueTextComboContract, TTextHarnesses);

// ---------------------------------------------------------------- the road of one choice

namespace {

// Counts the change events a list fires, whatever list it wraps.
class TCountingOffice : public IOfficeComboList {
public:
    explicit TCountingOffice(IOfficeComboList& In) : FIn(In) {}
    int ItemIndex() const override { return FIn.ItemIndex(); }
    void SetItemIndex(int Value) override { FIn.SetItemIndex(Value); }
    void ClearItems() override { FIn.ClearItems(); }
    void AddItem(std::string_view T, std::string_view C, int I) override { FIn.AddItem(T, C, I); }
    int ItemCount() const override { return FIn.ItemCount(); }
    std::string ItemTitle(int Index) const override { return FIn.ItemTitle(Index); }
    std::string ItemCaption(int Index) const override { return FIn.ItemCaption(Index); }
    int ItemImageIndex(int Index) const override { return FIn.ItemImageIndex(Index); }
    void SetOnChange(TNotifyEvent Value) override {
        FIn.SetOnChange([this, Value](TObject* Sender) {
            ++Changes;
            if (Value)
                Value(Sender);
        });
    }
    int Changes = 0;

private:
    IOfficeComboList& FIn;
};

class TCountingText : public ITextComboList {
public:
    explicit TCountingText(ITextComboList& In) : FIn(In) {}
    void ClearItems() override { FIn.ClearItems(); }
    void AddItem(std::string_view Text) override { FIn.AddItem(Text); }
    int ItemIndex() const override { return FIn.ItemIndex(); }
    void SetItemIndex(int Position) override { FIn.SetItemIndex(Position); }
    std::string Text() const override { return FIn.Text(); }
    void SetEnabled(bool Value) override { FIn.SetEnabled(Value); }
    bool Enabled() const override { return FIn.Enabled(); }
    int ItemCount() const override { return FIn.ItemCount(); }
    std::string Item(int Index) const override { return FIn.Item(Index); }
    void SetOnChange(TNotifyEvent Value) override {
        FIn.SetOnChange([this, Value](TObject* Sender) {
            ++Changes;
            if (Value)
                Value(Sender);
        });
    }
    int Changes = 0;

private:
    ITextComboList& FIn;
};

// The handlers over eight lists, wrapped for counting.
struct TRoad {
    TRoad(IOfficeComboList& Categories, IOfficeComboList& Profiles,
          std::array<ITextComboList*, 6> Lists)
        : Cat(Categories), Prof(Profiles), Six{TCountingText(*Lists[0]), TCountingText(*Lists[1]),
                                               TCountingText(*Lists[2]), TCountingText(*Lists[3]),
                                               TCountingText(*Lists[4]), TCountingText(*Lists[5])},
          Handlers(
              Cat, Prof, Six[0], Six[1], Six[2], Six[3], Six[4], Six[5], Jobs,
              [] { return std::string("/tmp"); }, [] { return false; }) {
        Handlers.ConnectHandlers();
    }
    void ResetCounts() {
        Cat.Changes = Prof.Changes = 0;
        for (TCountingText& L : Six)
            L.Changes = 0;
    }
    std::vector<std::string> State() const {
        std::vector<std::string> S{std::to_string(Prof.ItemIndex()) + "/" +
                                   std::to_string(Prof.ItemCount()) + "/" +
                                   std::to_string(Prof.Changes)};
        for (int I = 0; I < Prof.ItemCount(); ++I)
            S.push_back(Prof.ItemTitle(I));
        for (const TCountingText& L : Six) {
            std::string Line = L.Text() + "@" + std::to_string(L.ItemIndex()) + " x" +
                               std::to_string(L.Changes) + ":";
            for (int I = 0; I < L.ItemCount(); ++I)
                Line += L.Item(I) + ",";
            S.push_back(Line);
        }
        return S;
    }
    TCountingOffice Cat, Prof;
    std::array<TCountingText, 6> Six;
    TFakeJobTable Jobs;
    TCatalogueHandlers Handlers;
};

TEST(CatalogueOnSkinnedCombos, ChoosingACategoryByClicksFillsTheListsAsOnTheFakes) {
    constexpr int Category = 2;
    // The fakes' road.
    TFakeOfficeCombo FakeCats, FakeProfs;
    std::array<TFakeTextCombo, 6> FakeLists;
    for (int I = 0; I < 17; ++I)
        FakeCats.AddItem("", "Category " + std::to_string(I), I);
    TRoad Fake(
        FakeCats, FakeProfs,
        {&FakeLists[0], &FakeLists[1], &FakeLists[2], &FakeLists[3], &FakeLists[4], &FakeLists[5]});
    FakeCats.LoadItemIndex(0);
    Fake.Handlers.Button2Click(nullptr);
    Fake.ResetCounts();
    Fake.Cat.SetItemIndex(Category);

    // The same on the real controls, chosen with the pointer.
    TFormHost Host(false);
    auto MakeOffice = [&](int Left, int Width) {
        auto* C = new TbsSkinOfficeComboBox(Host.Form);
        C->SetParent(Host.Form);
        C->SetToolButtonStyle(true);
        C->SetDropDownCount(4);
        C->SetBounds(Left, 10, Width, 51);
        return C;
    };
    TbsSkinOfficeComboBox* Cats = MakeOffice(10, 119);
    TbsSkinOfficeComboBox* Profs = MakeOffice(140, 341);
    Cats->SetListBoxItemHeight(50);
    Cats->SetListBoxShowItemTitles(false);
    std::vector<std::unique_ptr<TTextComboAdapter>> Adapters;
    std::array<ITextComboList*, 6> Six{};
    for (int I = 0; I < 6; ++I) {
        auto* C = new TbsSkinComboBox(Host.Form);
        C->SetParent(Host.Form);
        C->SetBounds(10 + 130 * (I % 3), 100 + 30 * (I / 3), 120, 20);
        C->SetDropDownCount(8);
        Adapters.push_back(std::make_unique<TTextComboAdapter>(C));
        Six[std::size_t(I)] = Adapters.back().get();
    }
    TOfficeComboAdapter CatList(Cats), ProfList(Profs);
    for (int I = 0; I < 17; ++I)
        CatList.AddItem("", "Category " + std::to_string(I), I);
    TRoad Real(CatList, ProfList, Six);
    Host.Form->BeginLoading();
    Cats->SetItemIndex(0);
    Host.Form->EndLoading();
    Real.Handlers.Button2Click(nullptr);
    Real.ResetCounts();

    auto Click = [&](TControl* Control, int X, int Y) {
        const TPoint P = Control->ClientToScreen({X, Y});
        Host.Headless.MovePointer(P.X, P.Y);
        Application->ProcessMessages();
        Host.Headless.Press(0);
        Application->ProcessMessages();
        Host.Headless.Release(0);
        Application->ProcessMessages();
    };
    Click(Cats, 50, 25);
    ASSERT_TRUE(Cats->IsPopupVisible());
    const TRect Row = Cats->FListBox->Items()->Items(Category)->ItemRect;
    Click(Cats->FListBox, Row.Left + 5, (Row.Top + Row.Bottom) / 2);
    EXPECT_FALSE(Cats->IsPopupVisible());
    EXPECT_EQ(Cats->ItemIndex(), Category);
    EXPECT_EQ(Real.Cat.Changes, 1);
    EXPECT_EQ(ProfList.ItemIndex(), 0);
    EXPECT_EQ(Real.State(), Fake.State());
}

} // namespace
