// Image lists: rows of equally sized images, each kept as 32-bit pixels with
// straight alpha, drawn enabled (blended, or over BkColor) or disabled (an
// embossed silhouette in the 3-D colours).
//
// Whoever shows a list's pictures (a control, a menu) holds a change link
// registered with the list: the links hear of every change before the
// list's own OnChange, and a freed list leaves its links with no sender.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/gdi/Icons.h"

#include <vector>

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr UINT ILD_NORMAL = 0;
constexpr UINT ILD_TRANSPARENT = 1;

class TCustomImageList;

// Freeing a link unregisters it.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TCustomImageList* Sender() const { return FSender; }
    // Fires OnChange with the list.
    virtual void Change();
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
};

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
    // Without a mask the images draw opaque, their see-through pixels in
    // the colours they were added with.
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value);
    // How many images the list grows by; kept for the callers that set it.
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value > 0 ? Value : 1; }
    // Kept only: the handle is the list's own and always goes with it, so no
    // control can draw through a handle of a freed list.
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }

    // A link registered with another list moves to this one.
    void RegisterChanges(TChangeLink* Link);
    void UnRegisterChanges(TChangeLink* Link);

    // Each adds as many images as the picture holds side by side and answers
    // the index of the first; -1 when nothing was added.
    int Add(TBitmap* Image, TBitmap* Mask); // mask pixels that are not black are transparent
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Icon);
    // Inserts the images of the picture before Index (Count appends).
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    // The image at CurIndex takes the place NewIndex; the others close up.
    void Move(int CurIndex, int NewIndex);
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
    void CheckIndex(int Index) const;
    void Changed();

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    std::vector<TArgbImage> FImages;
    HIMAGELIST FHandle = 0;
    bool FMasked = true;
    int FAllocBy = 4;
    bool FShareImages = false;
    std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC DC, int X, int Y, int DX, int DY,
                      COLORREF Background, COLORREF Foreground, UINT Style);
BOOL ImageList_GetIconSize(HIMAGELIST List, int* CX, int* CY);
