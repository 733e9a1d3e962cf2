#include "tests/skin/controls/support/SkinControlsSupport.h"

#include "skin/model/bsMessages.h"

#include <filesystem>

namespace skinctl {

std::uint32_t Rgb(TColor C) {
    COLORREF V = COLORREF(ColorToRGB(C));
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}

// ---------------------------------------------------------------- the skin-change form

namespace {

template <class F> void Walk(TControl* AControl, F&& Test) {
    Test(AControl);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl))
        for (int I = 0; I < Win->ControlCount(); ++I) {
            TControl* Child = Win->Controls(I);
            if (dynamic_cast<TWinControl*>(Child))
                Walk(Child, Test);
            else
                Test(Child);
        }
}

bool Bound(TbsSkinData* Control, TbsSkinData* ASkinData) {
    return ASkinData == nullptr || Control == ASkinData;
}

} // namespace

void TSkinChangeForm::BeforeChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl) {
    Walk(AControl, [ASkinData](TControl* C) {
        if (auto* S = dynamic_cast<TbsSkinControl*>(C); S && Bound(S->SkinData(), ASkinData))
            S->BeforeChangeSkinData();
    });
}

void TSkinChangeForm::ChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl) {
    Walk(AControl, [ASkinData](TControl* C) {
        if (auto* S = dynamic_cast<TbsSkinControl*>(C)) {
            if (Bound(S->SkinData(), ASkinData))
                S->ChangeSkinData();
        } else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(C)) {
            if (Bound(G->SkinData(), ASkinData))
                G->ChangeSkinData();
        } else if (auto* L = dynamic_cast<TbsSkinStdLabel*>(C)) {
            if (Bound(L->SkinData(), ASkinData))
                L->ChangeSkinData();
        } else if (auto* T = dynamic_cast<TbsSkinTextLabel*>(C)) {
            if (Bound(T->SkinData(), ASkinData))
                T->ChangeSkinData();
        } else if (auto* B = dynamic_cast<TbsSkinBevel*>(C)) {
            if (Bound(B->SkinData(), ASkinData))
                B->ChangeSkinData();
        } else if (auto* Sp = dynamic_cast<TbsSkinSplitter*>(C)) {
            if (Bound(Sp->SkinData(), ASkinData))
                Sp->ChangeSkinData();
        }
    });
}

void TSkinChangeForm::Dispatch(TMessage& Message) {
    auto* Sender = reinterpret_cast<TbsSkinData*>(Message.WParam);
    if (Message.Msg == WM_BEFORECHANGESKINDATA || Message.Msg == WM_CHANGESKINDATA) {
        if (Message.Msg == WM_BEFORECHANGESKINDATA)
            BeforeChangeControlsSkinData(Sender, this);
        else
            ChangeControlsSkinData(Sender, this);
        if (AfterWalk)
            AfterWalk(Message.Msg);
    }
    TForm::Dispatch(Message);
}

// ---------------------------------------------------------------- probes

TProbeControl::TProbeControl(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FControlStyle.Include(csAcceptsControls);
}

void TProbeControl::CheckParentBackground() {
    ++CheckCalls;
}

void TProbeControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_CHECKPARENTBG)
        ++CheckMessages;
    TbsSkinCustomControl::Dispatch(Message);
}

void TProbeControl::Paint() {
    ++Paints;
    if (OnPaintStart)
        OnPaintStart();
    TbsSkinCustomControl::Paint();
}

void TGraphicProbe::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_CHECKPARENTBG)
        ++CheckMessages;
    TbsGraphicSkinCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------- the fixture

void TSkinControlsTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    Skin = testskin::StandardTestSkin();
    Data = std::make_unique<TbsSkinData>(nullptr);
    LoadSkin(*Data, Skin);
}

void TSkinControlsTest::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    Data.reset();
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

TSkinChangeForm* TSkinControlsTest::MakeForm() {
    auto* Form = new TSkinChangeForm(nullptr);
    Form->SetBounds(100, 100, 400, 300);
    return Form;
}

void TSkinControlsTest::LoadSkin(TbsSkinData& Target, const testskin::TTestSkin& S) {
    static int Count = 0;
    const std::string Folder = Dir.File("skin" + std::to_string(++Count));
    std::filesystem::create_directories(Folder);
    Target.LoadFromFile(S.WriteFolder(Folder));
}

void TSkinControlsTest::Pump() {
    Application->ProcessMessages();
}

std::uint32_t TSkinControlsTest::PixelOf(TControl* Control, int X, int Y) {
    Pump();
    FlushPresents();
    TPoint P = Control->ClientToScreen({X, Y});
    return Headless.ScreenPixel(P.X, P.Y);
}

std::string TSkinControlsTest::RegionOf(TControl* Control, int X, int Y) {
    return Skin.RegionAt(PixelOf(Control, X, Y));
}

std::uint32_t TSkinControlsTest::FaceColour(const std::string& Region) const {
    return Skin.Picture("controls.bmp").ColourOf(Region);
}

} // namespace skinctl
