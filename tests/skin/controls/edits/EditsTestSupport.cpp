#include "tests/skin/controls/edits/EditsTestSupport.h"

#include "platform/win/Windows.h"

namespace skinctl {

testskin::TTestSkin EditSkin(const testskin::TKeys& More) {
    return EditSkinOn(testskin::StandardTestSkin(), More);
}

testskin::TTestSkin EditSkinOn(testskin::TTestSkin S, const testskin::TKeys& More) {
    const int Index = int(S.Pictures().size());
    testskin::TTestPicture& P = S.AddPicture("edits.bmp", 100, 40, 24);
    P.AddRegion("n.frame", {0, 0, 40, 20});
    P.AddRegion("n.client", {5, 4, 35, 16});
    P.AddRegion("a.frame", {0, 20, 40, 40});
    P.AddRegion("a.client", {5, 24, 35, 36});
    P.AddRegion("btn.hot", {40, 0, 45, 20});
    P.AddRegion("btn.down", {45, 0, 50, 20});
    P.AddRegion("btn.off", {50, 0, 55, 20});
    testskin::TKeys Keys{"pictureindex=" + std::to_string(Index),
                         "skinrect=0,0,40,20",
                         "activeskinrect=0,20,40,40",
                         "lefttoppoint=5,4",
                         "righttoppoint=35,4",
                         "leftbottompoint=5,16",
                         "rightbottompoint=35,16",
                         "clientrect=5,4,35,16",
                         "fontname=Arial",
                         "fontheight=11",
                         "fontcolor=" + std::to_string(EditFontColor),
                         "activefontcolor=" + std::to_string(EditActiveFontColor),
                         "disabledfontcolor=" + std::to_string(EditDisabledFontColor),
                         "buttonrect=35,0,40,20",
                         "activebuttonrect=40,0,45,20",
                         "downbuttonrect=45,0,50,20",
                         "unenabledbuttonrect=50,0,55,20"};
    // A key of More replaces the default of the same name.
    for (const std::string& K : More) {
        const std::string Name = K.substr(0, K.find('=') + 1);
        std::erase_if(Keys, [&](const std::string& Old) { return Old.rfind(Name, 0) == 0; });
        Keys.push_back(K);
    }
    S.AddControl("edit", EditElement, Keys);
    return S;
}

void TEditsTest::SetUp() {
    TSkinControlsTest::SetUp();
    UseSkin(EditSkin());
}

TSkinChangeForm* TEditsTest::ShownForm() {
    Form = MakeForm();
    Form->Show();
    Pump();
    return Form;
}

TbsSkinEdit* TEditsTest::MakeEdit(TWinControl* Parent, int W, int H) {
    auto* E = new TbsSkinEdit(Parent);
    E->SetParent(Parent);
    E->SetBounds(10, 10, W, H);
    return E;
}

void TEditsTest::Type(const std::string& Text) {
    Headless.TypeText(Text);
    Pump();
}

void TEditsTest::Key(int VirtualKey, const std::string& Text) {
    Headless.KeyDown(VirtualKey, Text);
    Headless.KeyUp(VirtualKey);
    Pump();
}

std::uint32_t TEditsTest::WindowPixel(TWinControl* C, int X, int Y) {
    Pump();
    FlushPresents();
    TRect R;
    GetWindowRect(C->Handle(), &R);
    return Headless.ScreenPixel(R.Left + X, R.Top + Y);
}

std::string TEditsTest::EditRegion(TWinControl* C, int X, int Y) {
    return Skin.RegionAt(WindowPixel(C, X, Y));
}

} // namespace skinctl
