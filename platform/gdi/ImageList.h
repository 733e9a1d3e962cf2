// Image lists: rows of equally sized images, each kept as 32-bit pixels with
// straight alpha, drawn enabled (blended, or over BkColor) or disabled (an
// embossed silhouette in the 3-D colours).
#pragma once

#include "platform/core/Objects.h"
#include "platform/gdi/Icons.h"

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr UINT ILD_NORMAL = 0;
constexpr UINT ILD_TRANSPARENT = 1;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Count() const { return int(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    HIMAGELIST Handle() const { return FHandle; }

    // Each adds as many images as the picture holds side by side and answers
    // the index of the first; -1 when nothing was added.
    int Add(TBitmap* Image, TBitmap* Mask); // mask pixels that are not black are transparent
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Icon);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void Delete(int Index);
    void Clear();

    // An index outside the list draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void DrawTo(HDC DC, int X, int Y, int Index, bool Enabled, COLORREF Background);
    void GetBitmap(int Index, TBitmap* Image);
    void GetIcon(int Index, TIcon* Icon);
    const TArgbImage* Image(int Index) const;

    TNotifyEvent OnChange;

private:
    std::vector<TArgbImage> Split(TBitmap* Image, TBitmap* Mask, TColor MaskColor);
    void Changed();

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    std::vector<TArgbImage> FImages;
    HIMAGELIST FHandle = 0;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC DC, int X, int Y, int DX, int DY,
                      COLORREF Background, COLORREF Foreground, UINT Style);
BOOL ImageList_GetIconSize(HIMAGELIST List, int* CX, int* CY);
