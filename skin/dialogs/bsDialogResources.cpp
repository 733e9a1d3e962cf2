#include "skin/dialogs/bsDialogResources.h"

#include "platform/core/Streams.h"
#include "platform/gdi/Graphics.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace {

constexpr TColor Key = TColor(0xFF00FF);

// The BMP file image of a picture drawn by Paint on a keyed background.
std::vector<std::uint8_t> Drawn(int W, int H, const std::function<void(TCanvas*)>& Paint) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(Key);
    C->FillRect(Rect(0, 0, W, H));
    Paint(C);
    TMemoryStream S;
    B.SaveToStream(&S);
    const auto* Bytes = static_cast<const std::uint8_t*>(S.Memory());
    return {Bytes, Bytes + S.Size()};
}

void Box(TCanvas* C, const TRect& R, TColor Fill, TColor Edge) {
    C->Brush()->SetColor(Fill);
    C->Pen()->SetColor(Edge);
    C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
}

// A drive's body: a flat box with a light at the right.
void DriveBody(TCanvas* C, int Top, TColor Light) {
    Box(C, Rect(1, Top, 15, Top + 6), TColor(0xC0C0C0), TColor(0x404040));
    C->SetPixels(12, Top + 3, Light);
    C->SetPixels(11, Top + 3, Light);
}

void Folder(TCanvas* C, bool Open, TColor Fill) {
    Box(C, Rect(1, 2, 7, 5), Fill, TColor(0x004080));
    Box(C, Rect(1, 4, 15, 14), Fill, TColor(0x004080));
    if (Open)
        Box(C, Rect(3, 7, 16, 14), TColor(0x80FFFF), TColor(0x004080));
}

} // namespace

void RegisterDialogResources() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        RegisterResource("BS_FLOPPY", Drawn(16, 16, [](TCanvas* C) {
                             Box(C, Rect(2, 1, 14, 15), TColor(0x802000), TColor(0x400000));
                             Box(C, Rect(4, 1, 12, 6), TColor(0xE0E0E0), TColor(0x808080));
                             Box(C, Rect(4, 9, 12, 15), TColor(0xFFFFFF), TColor(0x808080));
                         }));
        RegisterResource("BS_HARD",
                         Drawn(16, 16, [](TCanvas* C) { DriveBody(C, 6, TColor(0x00C000)); }));
        RegisterResource("BS_NETWORK", Drawn(16, 16, [](TCanvas* C) {
                             DriveBody(C, 2, TColor(0x00C000));
                             Box(C, Rect(7, 8, 9, 13), TColor(0x404040), TColor(0x404040));
                             Box(C, Rect(2, 13, 14, 15), TColor(0x404040), TColor(0x404040));
                         }));
        RegisterResource("BS_CDROM", Drawn(16, 16, [](TCanvas* C) {
                             C->Brush()->SetColor(TColor(0xE0E0E0));
                             C->Pen()->SetColor(TColor(0x606060));
                             C->Ellipse(1, 1, 15, 15);
                             C->Brush()->SetColor(TColor(0x808080));
                             C->Ellipse(6, 6, 10, 10);
                         }));
        RegisterResource("BS_RAM", Drawn(16, 11, [](TCanvas* C) {
                             Box(C, Rect(0, 1, 16, 9), TColor(0x008000), TColor(0x004000));
                             for (int X = 2; X < 14; X += 4)
                                 Box(C, Rect(X, 3, X + 3, 7), TColor(0x202020), TColor(0x202020));
                         }));
        RegisterResource("BS_CLOSEDFOLDER",
                         Drawn(16, 15, [](TCanvas* C) { Folder(C, false, TColor(0x00C0FF)); }));
        RegisterResource("BS_OPENFOLDER",
                         Drawn(16, 15, [](TCanvas* C) { Folder(C, true, TColor(0x00C0FF)); }));
        RegisterResource("BS_CURRENTFOLDER",
                         Drawn(16, 15, [](TCanvas* C) { Folder(C, true, TColor(0x0080FF)); }));
    });
}

std::unique_ptr<TBitmap> LoadDialogPicture(const std::string& Name) {
    RegisterDialogResources();
    auto B = std::make_unique<TBitmap>();
    B->LoadFromResourceName(nullptr, Name);
    B->SetTransparent(true);
    return B;
}
