#include "skin/model/bsUtils.FBitmap.h"

#include "platform/win/Windows.h"

TbsFBitmap::TbsFBitmap(HBITMAP HBmp) {
    BITMAP Bm;
    if (!HBmp || GetObject(ToObj(HBmp), sizeof(BITMAP), &Bm) == 0 || Bm.bmWidth <= 0 ||
        Bm.bmHeight <= 0)
        return;
    bmHeader.biSize = 40;
    bmHeader.biWidth = Bm.bmWidth;
    bmHeader.biHeight = -Bm.bmHeight;
    bmHeader.biPlanes = 1;
    bmHeader.biBitCount = 24;
    bmHeader.biCompression = BI_RGB;
    bmInfo.bmiHeader = bmHeader;
    void* SectionBits = nullptr;
    const HDC Screen = GetDC(nullptr);
    Handle = CreateDIBSection(Screen, &bmInfo, DIB_RGB_COLORS, &SectionBits, nullptr, 0);
    if (!Handle) {
        ReleaseDC(nullptr, Screen);
        return;
    }
    GetDIBits(Screen, HBmp, 0, UINT(Bm.bmHeight), SectionBits, &bmInfo, DIB_RGB_COLORS);
    ReleaseDC(nullptr, Screen);
    Bits = static_cast<BYTE*>(SectionBits);
    Width = Bm.bmWidth;
    Height = Bm.bmHeight;
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = RowInc * Height;
    Pixels.resize(std::size_t(Height));
    for (int I = 0; I < Height; ++I)
        Pixels[std::size_t(I)] = Bits + std::size_t(I) * std::size_t(RowInc);
    hDC = CreateCompatibleDC(0);
    FOldBitmap = SelectObject(hDC, ToObj(Handle));
}

TbsFBitmap::~TbsFBitmap() {
    if (hDC) {
        SelectObject(hDC, FOldBitmap);
        DeleteDC(hDC);
    }
    if (Handle)
        DeleteObject(ToObj(Handle));
}
