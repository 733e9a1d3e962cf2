#include "tests/skin/controls/lists/ListsTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace liststest {

void TListsTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
    Pump();
}

void TListsTest::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

TbsSkinData* TListsTest::LoadSkin(const testskin::TTestSkin& Skin) {
    const std::string Folder = Dir.File("skin" + std::to_string(SkinCount++));
    std::filesystem::create_directories(Folder);
    const std::string Ini = Skin.WriteFolder(Folder);
    auto* SD = new TbsSkinData(Form);
    SD->LoadFromFile(Ini);
    EXPECT_FALSE(SD->Empty);
    return SD;
}

void TListsTest::Pump() {
    Application->ProcessMessages();
}

void TListsTest::RunFor(std::uint32_t Milliseconds) {
    Headless.RunUntil(Clock.Now() + Milliseconds);
}

std::uint32_t TListsTest::PixelOf(TControl* Control, int X, int Y) {
    Pump();
    FlushPresents();
    const TPoint P = Control->ClientToScreen({X, Y});
    return Headless.ScreenPixel(P.X, P.Y) & 0xFFFFFF;
}

bool TListsTest::TextInkIs(TControl* Control, const TRect& R, std::uint32_t Text) {
    std::map<std::uint32_t, int> Counts;
    std::vector<std::uint32_t> Pixels;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
            Pixels.push_back(PixelOf(Control, X, Y));
            ++Counts[Pixels.back()];
        }
    if (Pixels.empty())
        return false;
    const std::uint32_t Back = std::max_element(Counts.begin(), Counts.end(), [](auto& A, auto& B) {
                                   return A.second < B.second;
                               })->first;
    const auto Channel = [](std::uint32_t C, int I) { return int((C >> (8 * I)) & 0xFF); };
    const auto Distance = [&](std::uint32_t A, std::uint32_t B) {
        int D = 0;
        for (int I = 0; I < 3; ++I)
            D += std::abs(Channel(A, I) - Channel(B, I));
        return D;
    };
    const std::uint32_t Ink = *std::max_element(Pixels.begin(), Pixels.end(), [&](auto A, auto B) {
        return Distance(A, Back) < Distance(B, Back);
    });
    for (int I = 0; I < 3; ++I) {
        const int Want = Channel(Text, I) - Channel(Back, I);
        const int Got = Channel(Ink, I) - Channel(Back, I);
        if (std::abs(Want) <= 16) {
            if (std::abs(Got) > 24)
                return false;
        } else if (Got * Want <= 0 || std::abs(Got) * 2 < std::abs(Want) ||
                   std::abs(Got) * 10 > std::abs(Want) * 11) {
            return false;
        }
    }
    return Ink != Back;
}

void TListsTest::MoveTo(TControl* Control, int X, int Y) {
    const TPoint P = Control->ClientToScreen({X, Y});
    Headless.MovePointer(P.X, P.Y);
    Pump();
}

void TListsTest::PressAt(TControl* Control, int X, int Y) {
    MoveTo(Control, X, Y);
    Headless.Press(0);
    Pump();
}

void TListsTest::ReleaseAt(TControl* Control, int X, int Y) {
    MoveTo(Control, X, Y);
    Headless.Release(0);
    Pump();
}

void TListsTest::ClickAt(TControl* Control, int X, int Y) {
    PressAt(Control, X, Y);
    Headless.Release(0);
    Pump();
}

void TListsTest::Key(int VirtualKey, bool Alt) {
    if (Alt)
        Headless.KeyDown(VK_MENU);
    Headless.KeyDown(VirtualKey);
    Headless.KeyUp(VirtualKey);
    if (Alt)
        Headless.KeyUp(VK_MENU);
    Pump();
}

void TListsTest::Type(const std::string& Text) {
    Headless.TypeText(Text);
    Pump();
}

void TListsTest::Wheel(bool Forward) {
    Headless.Wheel(Forward ? 120 : -120);
    Pump();
}

void TListsTest::Focus(TWinControl* Control) {
    Control->SetFocus();
    Pump();
}

std::uint32_t Rgb(TColor C) {
    const COLORREF V = COLORREF(ColorToRGB(C));
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}

TCustomImageList* FlatImages(TComponent* Owner, int Size, const std::vector<TColor>& Colours) {
    auto* Images = new TCustomImageList(Owner);
    Images->SetWidth(Size);
    Images->SetHeight(Size);
    for (TColor Colour : Colours) {
        TBitmap B;
        B.SetSize(Size, Size);
        B.Canvas()->Brush()->SetColor(Colour);
        B.Canvas()->FillRect({0, 0, Size, Size});
        Images->Add(&B, nullptr);
    }
    return Images;
}

int TEventLog::Count(const std::string& Name) const {
    return int(std::count(Names.begin(), Names.end(), Name));
}

TLoggedCombo::TLoggedCombo(TComponent* AOwner, TEventLog& ALog)
    : TbsSkinComboBox(AOwner), Log(ALog) {}

void TLoggedCombo::Change() {
    Log.Names.push_back("Change");
}

} // namespace liststest
