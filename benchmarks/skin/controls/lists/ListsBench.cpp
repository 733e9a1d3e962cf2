// Speed of the skinned lists and combos on the headless backend: a skinned
// list box of 10,000 items painted and paged, the horizontal range measured
// over them, an office list of 200 rows with 32 x 32 pictures, opening a
// drop-down with and without its fade, the road of one category choice
// through the catalogue's handlers, and a skin change of a form of ten
// lists and combos.
#include "catalogue/CatalogueHandlers.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TForm* Form = nullptr;
    TbsSkinData* Data = nullptr;
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(50, 50, 900, 700);
        Form->Show();
        const std::string Folder = Dir.File("skin");
        std::filesystem::create_directories(Folder);
        Data = new TbsSkinData(Form);
        Data->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
        Application->ProcessMessages();
    }
    ~TSession() {
        while (Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
};

void Flush(TWinControl* C) {
    RedrawWindow(C->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushPresents();
}

TbsSkinListBox* BigList(TSession& S) {
    auto* L = new TbsSkinListBox(S.Form);
    L->SetParent(S.Form);
    L->SetBounds(10, 10, 300, 400);
    L->Items()->BeginUpdate();
    for (int I = 0; I < 10000; ++I)
        L->Items()->Add("item number " + std::to_string(I));
    L->Items()->EndUpdate();
    L->SetSkinData(S.Data);
    Application->ProcessMessages();
    return L;
}

void BM_SkinnedListBoxPaint(benchmark::State& State) {
    TSession S;
    TbsSkinListBox* L = BigList(S);
    for (auto _ : State)
        Flush(L);
}
BENCHMARK(BM_SkinnedListBoxPaint)->Unit(benchmark::kMicrosecond);

void BM_SkinnedListBoxPageDown(benchmark::State& State) {
    TSession S;
    TbsSkinListBox* L = BigList(S);
    L->SetItemIndex(0);
    L->ListBox->SetFocus();
    int Step = 0;
    for (auto _ : State) {
        if (++Step % 400 == 0)
            L->SetItemIndex(0);
        S.Headless.KeyDown(VK_NEXT);
        Application->ProcessMessages();
        FlushPresents();
    }
}
BENCHMARK(BM_SkinnedListBoxPageDown)->Unit(benchmark::kMicrosecond);

void BM_HorizontalExtentUpdate(benchmark::State& State) {
    TSession S;
    TbsSkinListBox* L = BigList(S);
    L->SetHorizontalExtent(true);
    for (auto _ : State)
        L->UpDateScrollBar();
}
BENCHMARK(BM_HorizontalExtentUpdate)->Unit(benchmark::kMillisecond);

void BM_OfficeListPaint(benchmark::State& State) {
    TSession S;
    auto* Images = new TImageList(S.Form);
    Images->SetWidth(32);
    Images->SetHeight(32);
    TBitmap P;
    P.SetSize(32, 32);
    P.Canvas()->Brush()->SetColor(clRed);
    P.Canvas()->FillRect({4, 4, 28, 28});
    for (int I = 0; I < 4; ++I)
        Images->Add(&P, nullptr);
    auto* L = new TbsSkinOfficeListBox(S.Form);
    L->SetParent(S.Form);
    L->SetBounds(10, 10, 340, 600);
    L->SetImages(Images);
    L->SetShowLines(true);
    L->SetItemHeight(60);
    for (int I = 0; I < 200; ++I) {
        TbsSkinOfficeItem* Item = L->Items()->Add();
        Item->SetTitle("Profile " + std::to_string(I));
        Item->SetCaption("A profile with a caption of two lines at most");
        Item->SetImageIndex(I % 4);
    }
    if (State.range(0) != 0)
        L->SetSkinData(S.Data);
    Application->ProcessMessages();
    for (auto _ : State)
        Flush(L);
}
BENCHMARK(BM_OfficeListPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OpenDropDown(benchmark::State& State) {
    TSession S;
    auto* C = new TbsSkinComboBox(S.Form);
    C->SetParent(S.Form);
    C->SetBounds(10, 10, 160, 20);
    for (int I = 0; I < 20; ++I)
        C->Items()->Add("row " + std::to_string(I));
    C->SetSkinData(S.Data);
    const bool Fade = State.range(0) != 0;
    C->SetAlphaBlend(Fade);
    C->SetAlphaBlendAnimation(Fade);
    C->SetAlphaBlendValue(200);
    TSteppingClock Stepping(6, 5000);
    if (Fade)
        SetTickSource(Stepping.Source());
    for (auto _ : State) {
        C->DropDown();
        Application->ProcessMessages();
        FlushPresents();
        C->CloseUp(false);
    }
    S.Headless.UseManualClock(&S.Clock);
}
BENCHMARK(BM_OpenDropDown)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The catalogue's lists over the real controls, as the main window binds
// them.
class TOfficeAdapter : public IOfficeComboList {
public:
    explicit TOfficeAdapter(TbsSkinOfficeComboBox* C) : FC(C) {}
    int ItemIndex() const override { return FC->ItemIndex(); }
    void SetItemIndex(int Value) override { FC->SetItemIndex(Value); }
    void ClearItems() override { FC->Items()->Clear(); }
    void AddItem(std::string_view T, std::string_view Caption, int Image) override {
        TbsSkinOfficeItem* Item = FC->Items()->Add();
        Item->SetTitle(std::string(T));
        Item->SetCaption(std::string(Caption));
        Item->SetImageIndex(Image);
    }
    int ItemCount() const override { return FC->Items()->Count(); }
    std::string ItemTitle(int I) const override { return FC->Items()->Items(I)->Title(); }
    std::string ItemCaption(int I) const override { return FC->Items()->Items(I)->Caption(); }
    int ItemImageIndex(int I) const override { return FC->Items()->Items(I)->ImageIndex(); }
    void SetOnChange(TNotifyEvent Value) override { FC->OnChange = Value; }

private:
    TbsSkinOfficeComboBox* FC;
};

class TTextAdapter : public ITextComboList {
public:
    explicit TTextAdapter(TbsSkinComboBox* C) : FC(C) {}
    void ClearItems() override { FC->Items()->Clear(); }
    void AddItem(std::string_view Text) override { FC->Items()->Add(std::string(Text)); }
    int ItemIndex() const override { return FC->ItemIndex(); }
    void SetItemIndex(int Position) override { FC->SetItemIndex(Position); }
    std::string Text() const override { return FC->Text(); }
    void SetEnabled(bool Value) override { FC->SetEnabled(Value); }
    bool Enabled() const override { return FC->Enabled(); }
    int ItemCount() const override { return FC->Items()->Count(); }
    std::string Item(int I) const override { return FC->Items()->Strings(I); }
    void SetOnChange(TNotifyEvent Value) override { FC->OnChange = Value; }

private:
    TbsSkinComboBox* FC;
};

class TNoJobs : public IJobRowTable {
public:
    bool HasSelectedRow() const override { return false; }
    std::string SubItem(int) const override { return {}; }
    void SetSubItem(int, std::string_view) override {}
    void FocusTable() override {}
};

void BM_RoadOfOneChoice(benchmark::State& State) {
    TSession S;
    auto MakeOffice = [&](int Left, int Width) {
        auto* C = new TbsSkinOfficeComboBox(S.Form);
        C->SetParent(S.Form);
        C->SetToolButtonStyle(true);
        C->SetDropDownCount(4);
        C->SetBounds(Left, 10, Width, 51);
        C->SetSkinData(S.Data);
        return C;
    };
    TbsSkinOfficeComboBox* Cats = MakeOffice(10, 119);
    TbsSkinOfficeComboBox* Profs = MakeOffice(140, 341);
    std::vector<std::unique_ptr<TTextAdapter>> Six;
    for (int I = 0; I < 6; ++I) {
        auto* C = new TbsSkinComboBox(S.Form);
        C->SetParent(S.Form);
        C->SetBounds(10 + 170 * (I % 3), 100 + 30 * (I / 3), 160, 20);
        C->SetSkinData(S.Data);
        Six.push_back(std::make_unique<TTextAdapter>(C));
    }
    TOfficeAdapter CatList(Cats), ProfList(Profs);
    for (int I = 0; I < 17; ++I)
        CatList.AddItem("", "Category " + std::to_string(I), I);
    TNoJobs Jobs;
    TCatalogueHandlers Handlers(
        CatList, ProfList, *Six[0], *Six[1], *Six[2], *Six[3], *Six[4], *Six[5], Jobs,
        [] { return std::string("/tmp"); }, [] { return false; });
    Handlers.ConnectHandlers();
    int Category = 0;
    for (auto _ : State) {
        Category = (Category + 1) % 17;
        Cats->DropDown();
        Cats->FListBox->SetItemIndex(Category);
        Cats->CloseUp(true);
        Application->ProcessMessages();
        FlushPresents();
    }
}
BENCHMARK(BM_RoadOfOneChoice)->Unit(benchmark::kMicrosecond);

void BM_SkinChangeOfTenListsAndCombos(benchmark::State& State) {
    TSession S;
    std::vector<TbsSkinControl*> Controls;
    for (int I = 0; I < 6; ++I) {
        auto* C = new TbsSkinComboBox(S.Form);
        C->SetParent(S.Form);
        C->SetBounds(10, 10 + 30 * I, 160, 20);
        for (int J = 0; J < 10; ++J)
            C->Items()->Add("value " + std::to_string(J));
        Controls.push_back(C);
    }
    for (int I = 0; I < 2; ++I) {
        auto* C = new TbsSkinOfficeComboBox(S.Form);
        C->SetParent(S.Form);
        C->SetBounds(200 + 200 * I, 10, 180, 51);
        Controls.push_back(C);
    }
    for (int I = 0; I < 2; ++I) {
        auto* L = new TbsSkinListBox(S.Form);
        L->SetParent(S.Form);
        L->SetBounds(200 + 200 * I, 80, 180, 200);
        for (int J = 0; J < 50; ++J)
            L->Items()->Add("line " + std::to_string(J));
        Controls.push_back(L);
    }
    bool Skinned = false;
    for (auto _ : State) {
        Skinned = !Skinned;
        for (TbsSkinControl* C : Controls) {
            C->SetSkinData(Skinned ? S.Data : nullptr);
            if (!Skinned)
                C->ChangeSkinData();
        }
        Flush(S.Form);
    }
}
BENCHMARK(BM_SkinChangeOfTenListsAndCombos)->Unit(benchmark::kMicrosecond);

} // namespace
