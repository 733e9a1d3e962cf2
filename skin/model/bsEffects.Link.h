// TbsBitmapLink: a named rectangle of a TbsBitmap, drawn on its own,
// streamed, and examined for see-through pixels in its corners, edge bands
// and middle. The link refers to the bitmap and never owns it.
#pragma once

#include "skin/model/bsEffects.Bitmap.h"

// Never counts as see-through, whatever its alpha.
constexpr TbsColor NoMaskPixel = 0x33333333;

class TbsBitmapLink : public TPersistent {
public:
    TbsBitmapLink() = default;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    int Left() const { return FRect.Left; }
    void SetLeft(int Value) { FRect.Left = Value; }
    int Top() const { return FRect.Top; }
    void SetTop(int Value) { FRect.Top = Value; }
    int Right() const { return FRect.Right; }
    void SetRight(int Value) { FRect.Right = Value; }
    int Bottom() const { return FRect.Bottom; }
    void SetBottom(int Value) { FRect.Bottom = Value; }
    TbsBitmap* Image() const { return FImage; }
    void SetImage(TbsBitmap* Value) { FImage = Value; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& Value) { FRect = Value; }
    bool Masked() const { return FMasked; }
    bool MaskedBorder() const { return FMaskedBorder; }
    bool MaskedAngles() const { return FMaskedAngles; }
    // An image and a rectangle of positive area.
    bool Assigned() const;

    void Assign(TPersistent* Source) override;
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    void Draw(TCanvas* Canvas, int X, int Y);
    void Draw(TbsBitmap* Bitmap, int X, int Y);

    // Margins are band widths measured inward from the rectangle's sides;
    // with no margins any see-through pixel sets Masked. Outside the image
    // counts as see-through.
    void CheckingMasked();
    void CheckingMasked(const TRect& Margin);

private:
    bool SeeThrough(int X, int Y) const;

    TbsBitmap* FImage = nullptr;
    TRect FRect;
    std::string FName;
    bool FMaskedBorder = false;
    bool FMaskedAngles = false;
    bool FMasked = false;
};
