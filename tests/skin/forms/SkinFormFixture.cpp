#include "tests/skin/forms/SkinFormFixture.h"

#include "platform/core/Paths.h"
#include "platform/win/Windows.h"

namespace skinform {

using namespace testskin;

std::uint32_t Rgb(TColor C) {
    const COLORREF R = ColorToRGB(C);
    return (GetRValue(R) << 16) | (GetGValue(R) << 8) | GetBValue(R);
}

TTestSkin FrameSkin(const TFrameSkinOptions& Options) {
    TTestSkin Skin;
    Skin.SetColourOffset(Options.Variant * 37);
    Skin.SetVersion({"skinname=Frame " + std::to_string(Options.Variant)});
    auto Paint = [](TTestPicture& P, const std::string& Prefix) {
        P.AddRegion(Prefix + "caption", {0, 0, 300, 30});
        P.AddRegion(Prefix + "left", {0, 30, 5, 195});
        P.AddRegion(Prefix + "right", {295, 30, 300, 195});
        P.AddRegion(Prefix + "bottom", {0, 195, 300, 200});
        P.AddRegion(Prefix + "client", {5, 30, 295, 195});
    };
    Paint(Skin.SetFramePicture("frame.bmp", 300, 200, 24), "");
    if (Options.Inactive)
        Paint(Skin.SetInactivePicture("inactive.bmp", 300, 200, 24), "inactive.");
    if (Options.Mask)
        Skin.SetMask("mask.bmp", 300, 200).RoundCorners(8);

    TTestPicture& Objects = Skin.AddPicture("objects.bmp", 160, 64, 24);
    Objects.AddRegion("button", {0, 48, 8, 56});
    Skin.AddControl("button", "button", NinePartKeys(Objects, 0, "button", 2));
    if (!Options.NoObjects) {
        Objects.AddRegion("activecaption", {0, 0, 160, 20});
        Skin.AddObject("caption", "caption",
                       {"skinrect=40,5,200,25", "textrect=4,2,150,18", "fontname=Arial",
                        "fontheight=14", "fontcolor=0", "activefontcolor=16777215"});
        const std::pair<const char*, const char*> Buttons[] = {
            {"closebutton", "cmclose"},         {"maxbutton", "cmmaximize"},
            {"minbutton", "cmminimize"},        {"rollupbutton", "cmrollup"},
            {"traybutton", "cmminimizetotray"}, {"sysmenubutton", "cmsysmenu"}};
        int X = 0;
        for (const auto& [Name, Command] : Buttons) {
            const std::string N = Name;
            Objects.AddRegion(N + ".normal", {X, 20, X + 16, 32});
            Objects.AddRegion(N + ".active", {X, 32, X + 16, 44});
            Skin.AddObject("stdbutton", N,
                           {"skinrect=" + RectText(Objects.Region(N + ".normal")),
                            "activeskinrect=" + RectText(Objects.Region(N + ".active")),
                            "skinrectinapicture=1", "activepictureindex=0",
                            std::string("command=") + Command});
            X += 16;
        }
    }
    TKeys Info{"lefttoppoint=5,30",
               "righttoppoint=295,30",
               "leftbottompoint=5,195",
               "rightbottompoint=295,195",
               "clientrect=5,30,295,195",
               "maskrectarea=8,8,292,192",
               "hittestlefttoppoint=8,8",
               "hittestrighttoppoint=292,8",
               "hittestleftbottompoint=8,192",
               "hittestrightbottompoint=292,192",
               "captionrect=40,5,200,25",
               "buttonsrect=200,7,295,23",
               "buttonsoffset=2",
               "borderwidth=4"};
    // An option replaces the key of the same name.
    for (const std::string& Key : Options.FormInfo) {
        const std::string Name = Key.substr(0, Key.find('='));
        bool Replaced = false;
        for (std::string& Old : Info)
            if (Old.substr(0, Old.find('=')) == Name) {
                Old = Key;
                Replaced = true;
            }
        if (!Replaced)
            Info.push_back(Key);
    }
    Skin.SetFormInfo(Info);
    return Skin;
}

void SkinFormFixture::SetUp() {
    TSkinWindowTest::SetUp();
    Headless.SetScreens({{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}, true}});
    Headless.SetHasCompositor(true);
}

void SkinFormFixture::TearDown() {
    TSkinWindowTest::TearDown();
    Skins.clear();
}

TbsSkinData* SkinFormFixture::LoadSkin(const TTestSkin& Skin) {
    LastSkin = Skin;
    const std::string Folder = Dir.File("skin" + std::to_string(SkinCount++));
    CreateDir(Folder);
    auto Data = std::make_unique<TbsSkinData>(nullptr);
    Data->LoadFromFile(Skin.WriteFolder(Folder));
    EXPECT_FALSE(Data->Empty);
    Skins.push_back(std::move(Data));
    return Skins.back().get();
}

TForm* SkinFormFixture::MakeForm(int W, int H, TFormBorderStyle Style, TbsSkinData* Skin,
                                 const std::string& Caption) {
    auto* F = new TForm(nullptr);
    F->SetBorderStyle(Style);
    F->SetCaption(Caption);
    F->SetBounds(100, 100, W, H);
    auto* C = new TbsSkinForm(F);
    if (Skin)
        C->SetSkinData(Skin);
    F->Show();
    return F;
}

std::unique_ptr<TBitmap> SkinFormFixture::PaintFrame(TForm* F, TColor Marker) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(F->Width(), F->Height());
    B->Canvas()->Brush()->SetColor(Marker);
    B->Canvas()->FillRect(TRect{0, 0, F->Width(), F->Height()});
    EXPECT_EQ(F->Perform(WM_NCPAINTTODC, WPARAM(B->Canvas()->Handle()), 0), NCPAINTTODC_ANSWER);
    return B;
}

std::uint32_t SkinFormFixture::PixelOf(TBitmap* B, int X, int Y) {
    return Rgb(B->Canvas()->Pixels(X, Y));
}

std::uint32_t SkinFormFixture::Region(const std::string& Name) const {
    return LastSkin.FramePicture()->ColourOf(Name);
}

} // namespace skinform
