#include "tests/skin/forms/menus/MenusFixture.h"

#include <filesystem>

namespace menus {

TRecordingForm::TRecordingForm(TLog* ALog, std::string AName)
    : TForm(nullptr), FLog(ALog), FName(std::move(AName)) {}

void TRecordingForm::WndProc(TMessage& Message) {
    if (Message.Msg == WM_CLOSESKINMENU || Message.Msg == WM_AFTERSKINMENUCOMMAND)
        FLog->push_back(FName + ":" + std::to_string(Message.Msg));
    TForm::WndProc(Message);
}

TRecordingControl::TRecordingControl(TComponent* AOwner, TLog* ALog, std::string AName)
    : TCustomControl(AOwner), FLog(ALog), FName(std::move(AName)) {}

void TRecordingControl::WndProc(TMessage& Message) {
    if (Message.Msg == WM_CLOSESKINMENU || Message.Msg == WM_AFTERSKINMENUCOMMAND)
        FLog->push_back(FName + ":" + std::to_string(Message.Msg));
    TCustomControl::WndProc(Message);
}

void MenusFixture::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    Headless.SetScreens({{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}, true}});
    InitApplication();
    Form = new TRecordingForm(&Log, "form");
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
    Chain = new TbsSkinMenu(Form, Form);
    Pump();
}

void MenusFixture::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

TMenuItem* MenusFixture::AddItem(TMenuItem* Parent, const std::string& Caption) {
    auto* I = new TMenuItem(Parent->Owner() ? Parent->Owner() : Form);
    I->SetCaption(Caption);
    I->OnClick = [this, Caption](TObject*) { Log.push_back("click " + Caption); };
    Parent->Add(I);
    return I;
}

TPopupMenu* MenusFixture::MakeMenu(const std::vector<std::string>& Captions) {
    auto* M = new TPopupMenu(Form);
    for (const auto& C : Captions)
        AddItem(M->Items(), C);
    return M;
}

TbsSkinData* MenusFixture::LoadSkin(const testskin::TTestSkin& Skin) {
    const std::string Folder = Dir.File("skin" + std::to_string(SkinCount++));
    std::filesystem::create_directories(Folder);
    auto* SD = new TbsSkinData(Form);
    SD->LoadFromFile(Skin.WriteFolder(Folder));
    EXPECT_FALSE(SD->Empty);
    return SD;
}

void MenusFixture::Pump() {
    Application->ProcessMessages();
}

void MenusFixture::RunFor(std::uint32_t Milliseconds) {
    Headless.RunUntil(Clock.Now() + Milliseconds);
}

TbsSkinPopupWindow* MenusFixture::Window(int Index) const {
    return Index < Chain->PopupCount() ? Chain->PopupWindow(Index) : nullptr;
}

TPoint MenusFixture::CentreOf(TbsSkinPopupWindow* W, int Item) const {
    const TRect& R = W->Item(Item)->ObjectRect;
    return {W->Left() + (R.Left + R.Right) / 2, W->Top() + (R.Top + R.Bottom) / 2};
}

void MenusFixture::MoveTo(TPoint P) {
    Headless.MovePointer(P.X, P.Y);
    Pump();
}

void MenusFixture::ClickAt(TPoint P) {
    MoveTo(P);
    Headless.Press(0);
    Pump();
    Headless.Release(0);
    Pump();
}

std::unique_ptr<TBitmap> MenusFixture::Paint(TbsSkinPopupWindow* W) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(W->Width(), W->Height());
    W->PaintMenu(B->Canvas()->Handle());
    return B;
}

std::uint32_t MenusFixture::Pixel(TBitmap* B, int X, int Y) {
    return Rgb(B->Canvas()->Pixels(X, Y));
}

std::uint32_t Rgb(TColor C) {
    const COLORREF V = COLORREF(ColorToRGB(C));
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}

} // namespace menus
