// The catalogue's rules for its drop-down lists, on the real skinned combos
// in the main window's settings, once plain and once with the test skin.
// The adapters are the few forwarding lines the main window will hold.
#include "platform/forms/Forms.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "tests/catalogue/CatalogueControlsContract.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <filesystem>

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
