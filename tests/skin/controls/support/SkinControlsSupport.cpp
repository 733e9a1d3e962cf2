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

// ---------------------------------------------------------------- the nine-part skin

testskin::TTestSkin NineSkin(int Variant) {
    testskin::TTestSkin S = testskin::Variant(Variant);
    testskin::TTestPicture& P = S.AddPicture("nine.bmp", 40, 20, 24);
    P.AddRegion("lt", {0, 0, 10, 5});
    P.AddRegion("top", {10, 0, 30, 5});
    P.AddRegion("rt", {30, 0, 40, 5});
    P.AddRegion("left", {0, 5, 10, 15});
    P.AddRegion("client", {10, 5, 30, 15});
    P.AddRegion("right", {30, 5, 40, 15});
    P.AddRegion("lb", {0, 15, 10, 20});
    P.AddRegion("bottom", {10, 15, 30, 20});
    P.AddRegion("rb", {30, 15, 40, 20});
    testskin::TTestPicture& M = S.AddPicture("ninemask.bmp", 40, 20, 1);
    M.Fill({0, 0, 40, 20}, testskin::Black);
    M.RoundCorners(4);
    testskin::TTestPicture& B = S.AddPicture("bar.bmp", 40, 34, 24);
    B.AddRegion("bar.l", {0, 0, 4, 34});
    B.AddRegion("bar.m", {4, 0, 36, 34});
    B.AddRegion("bar.r", {36, 0, 40, 34});
    return S;
}

void AddNineElement(testskin::TTestSkin& Skin, const std::string& Kind, const std::string& Name,
                    const testskin::TKeys& More) {
    testskin::TKeys Keys{"pictureindex=" + std::to_string(NinePicture),
                         "skinrect=0,0,40,20",
                         "lefttoppoint=10,5",
                         "righttoppoint=30,5",
                         "leftbottompoint=10,15",
                         "rightbottompoint=30,15",
                         "clientrect=10,5,30,15"};
    Keys.insert(Keys.end(), More.begin(), More.end());
    Skin.AddControl(Kind, Name, Keys);
}

void AddBarElement(testskin::TTestSkin& Skin, const std::string& Name,
                   const testskin::TKeys& More) {
    testskin::TKeys Keys{"pictureindex=" + std::to_string(BarPicture), "skinrect=0,0,40,34",
                         "lefttoppoint=4,0", "righttoppoint=36,0", "clientrect=4,4,36,30"};
    Keys.insert(Keys.end(), More.begin(), More.end());
    Skin.AddControl("panel", Name, Keys);
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

void TSkinControlsTest::UseSkin(const testskin::TTestSkin& S) {
    Skin = S;
    LoadSkin(*Data, Skin);
}

std::uint32_t TSkinControlsTest::NineColour(const std::string& Region) const {
    return Skin.Picture("nine.bmp").ColourOf(Region);
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
