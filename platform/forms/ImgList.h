// The image-list component: equally sized pictures drawn by index, with a
// greyed look for disabled items and change links so that controls using a
// list repaint when it changes.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/Icons.h"

#include <vector>

class TCustomImageList;

constexpr TColor CLR_NONE = TColor(0xFFFFFFFF);

// A control that shows pictures of a list holds a change link to it.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* Value) { FSender = Value; }
    virtual void Change();
    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Count() const { return static_cast<int>(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value) { FBkColor = Value; }
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value) { FMasked = Value; }
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value; }
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }

    // Each answers the new picture's index. A picture larger than the list's
    // size is cut into Width-wide pieces, one item each. Mask: 1 = transparent.
    int Add(TBitmap* Image, TBitmap* Mask);
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Image);
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void Delete(int Index);
    void Clear();
    void Move(int CurIndex, int NewIndex);
    // Disabled: the picture in grey, its transparency kept.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // Fills Image with the picture on BkColor (clBtnFace when none).
    void GetBitmap(int Index, TBitmap* Image);
    void GetIcon(int Index, TIcon* Image);
    const TArgbImage& Image(int Index) const;

    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    void CheckIndex(int Index) const;
    std::vector<TArgbImage> Split(TBitmap* Image, TBitmap* Mask, TColor MaskColor, bool UseColor);

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = CLR_NONE;
    bool FMasked = true;
    int FAllocBy = 4;
    bool FShareImages = false;
    std::vector<TArgbImage> FImages;
    std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
