#include "skin/stored/generator/ContactSheet.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PngImage.h"
#include "skin/stored/generator/Generator.h"
#include "skin/stored/generator/Themes.h"
#include "skin/stored/sheet/MockUp.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace skingen {

namespace {

void SavePng(TBitmap& B, const std::string& Path) {
    TPngImage Png;
    Png.Assign(&B);
    Png.SaveToFile(Path);
    std::printf("%s\n", Path.c_str());
}

constexpr TColor SheetGrey = TColor(0x808080);

// The window as the desktop shows it: what its region leaves out is the
// desktop behind it.
std::unique_ptr<TBitmap> Shaped(TbsSkinData& Skin, std::unique_ptr<TBitmap> Window) {
    HRGN Rgn = MakeFrameRegion(Skin, Window->Width(), Window->Height());
    if (!Rgn)
        return Window;
    TCanvas* C = Window->Canvas();
    for (int Y = 0; Y < Window->Height(); ++Y)
        for (int X = 0; X < Window->Width(); ++X)
            if (!PtInRegion(Rgn, X, Y))
                C->SetPixels(X, Y, SheetGrey);
    DeleteObject(ToObj(Rgn));
    return Window;
}

std::unique_ptr<TBitmap> Sheet(TbsSkinData& Skin) {
    auto Main = Shaped(Skin, DrawMainWindow(Skin, true));
    auto States = DrawStates(Skin, true);
    auto Out = std::make_unique<TBitmap>();
    Out->SetPixelFormat(pf24bit);
    const int W = std::max(Main->Width(), States->Width()) + 20;
    Out->SetSize(W, Main->Height() + States->Height() + 30);
    Out->Canvas()->Brush()->SetStyle(bsSolid);
    Out->Canvas()->Brush()->SetColor(SheetGrey);
    Out->Canvas()->FillRect({0, 0, Out->Width(), Out->Height()});
    Out->Canvas()->Draw(10, 10, Main.get());
    Out->Canvas()->Draw(10, Main->Height() + 20, States.get());
    return Out;
}

} // namespace

int WriteContactSheets(const char* Argv0, const std::string& Folder) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int Argc = 1;
    char* Argv[] = {const_cast<char*>(Argv0), nullptr};
    QGuiApplication App(Argc, Argv);
    std::filesystem::create_directories(Folder);
    const int Count = int(Themes().size());
    constexpr int Columns = 4, ThumbW = 420, ThumbH = 300;
    TBitmap Overview;
    Overview.SetPixelFormat(pf24bit);
    Overview.SetSize(Columns * (ThumbW + 10) + 10,
                     ((Count + Columns - 1) / Columns) * (ThumbH + 10) + 10);
    Overview.Canvas()->Brush()->SetColor(SheetGrey);
    Overview.Canvas()->FillRect({0, 0, Overview.Width(), Overview.Height()});
    for (int i = 0; i < Count; ++i) {
        auto Skin = MakeSkin(i);
        auto Picture = Sheet(*Skin);
        SavePng(*Picture, Folder + "/skin-" + std::to_string(i) + ".png");
        auto Main = Shaped(*Skin, DrawMainWindow(*Skin, true));
        const int X = 10 + (i % Columns) * (ThumbW + 10), Y = 10 + (i / Columns) * (ThumbH + 10);
        const int H = Main->Height() * ThumbW / Main->Width();
        Overview.Canvas()->StretchDraw({X, Y, X + ThumbW, Y + H}, Main.get());
    }
    SavePng(Overview, Folder + "/overview.png");
    return 0;
}

} // namespace skingen
