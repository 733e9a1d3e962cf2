#include "tests/skin/controls/support/SkinControlsSupport.h"

#include "skin/model/bsMessages.h"

#include <algorithm>
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
    testskin::TTestPicture& C = S.AddPicture("cap.bmp", 60, 60, 24);
    C.AddRegion("cap.top", {0, 0, 60, 20});
    C.AddRegion("cap.body", {0, 20, 60, 40});
    C.AddRegion("cap.frame", {0, 40, 30, 50});
    C.AddRegion("cap.check", {30, 40, 40, 50});
    C.AddRegion("cap.uncheck", {40, 40, 50, 50});
    C.AddRegion("cap.mark", {50, 40, 60, 50});
    // The check pictures are drawn keyed by their bottom-left pixel.
    C.Fill({30, 49, 31, 50}, 0xFF00FF);
    C.Fill({40, 49, 41, 50}, 0xFF00FF);
    testskin::TTestPicture& Split = S.AddPicture("split.bmp", 30, 40, 24);
    Split.AddRegion("split.strip", {0, 0, 10, 40});
    Split.AddRegion("split.grip", {10, 0, 16, 20});
    Split.Fill({12, 5, 13, 6}, 0x00FF00);
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

std::uint32_t TSkinControlsTest::ScreenAt(TControl* Control, int X, int Y) {
    TPoint P = Control->ClientToScreen({X, Y});
    return Headless.ScreenPixel(P.X, P.Y);
}

TRect TSkinControlsTest::InkBox(TControl* Control, const TRect& R, std::uint32_t Background) {
    Pump();
    FlushPresents();
    TRect Box{R.Right, R.Bottom, R.Left, R.Top};
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (ScreenAt(Control, X, Y) != Background) {
                Box.Left = std::min(Box.Left, X);
                Box.Top = std::min(Box.Top, Y);
                Box.Right = std::max(Box.Right, X + 1);
                Box.Bottom = std::max(Box.Bottom, Y + 1);
            }
    return Box.Left < Box.Right ? Box : TRect{};
}

bool TSkinControlsTest::AnyPixel(TControl* Control, const TRect& R, std::uint32_t Colour) {
    Pump();
    FlushPresents();
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (ScreenAt(Control, X, Y) == Colour)
                return true;
    return false;
}

std::uint32_t TSkinControlsTest::StrongestInk(TControl* Control, const TRect& R,
                                              std::uint32_t Background) {
    Pump();
    FlushPresents();
    std::uint32_t Best = Background;
    int BestDistance = -1;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
            const std::uint32_t C = ScreenAt(Control, X, Y);
            const int D = ColourDistance(C, Background);
            if (D > BestDistance) {
                BestDistance = D;
                Best = C;
            }
        }
    return Best;
}

int ColourDistance(std::uint32_t A, std::uint32_t B) {
    int Sum = 0;
    for (int Shift : {0, 8, 16}) {
        const int D = int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF);
        Sum += D * D;
    }
    return Sum;
}

bool InkLeansTo(std::uint32_t Ink, std::uint32_t Background, std::uint32_t Colour) {
    return ColourDistance(Ink, Colour) < ColourDistance(Background, Colour);
}

std::string TSkinControlsTest::RegionOf(TControl* Control, int X, int Y) {
    return Skin.RegionAt(PixelOf(Control, X, Y));
}

std::uint32_t TSkinControlsTest::FaceColour(const std::string& Region) const {
    return Skin.Picture("controls.bmp").ColourOf(Region);
}

} // namespace skinctl
