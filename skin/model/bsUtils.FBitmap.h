// TbsFBitmap: a 24-bit top-down copy of a bitmap's pixels in a DIB section,
// with a table of row pointers. Rows are padded to a multiple of 4 bytes.
#pragma once

#include "platform/core/Objects.h"
#include "platform/gdi/Gdi.h"

#include <vector>

class TbsFBitmap : public TObject {
public:
    // An invalid or empty handle gives an empty copy: no section, no rows.
    explicit TbsFBitmap(HBITMAP HBmp);
    ~TbsFBitmap() override;
    TbsFBitmap(const TbsFBitmap&) = delete;
    TbsFBitmap& operator=(const TbsFBitmap&) = delete;

    BYTE* Bits = nullptr;
    std::vector<BYTE*> Pixels;
    int Gap = 0;
    int RowInc = 0;
    int Size = 0;
    int Width = 0;
    int Height = 0;
    HBITMAP Handle = 0;
    HDC hDC = 0;
    BITMAPINFO bmInfo{};
    BITMAPINFOHEADER bmHeader{};

private:
    HGDIOBJ FOldBitmap = 0;
};
