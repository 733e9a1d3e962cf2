#include "skin/model/bsEffects.Link.h"

#include "skin/model/bsUtils.StreamText.h"

#include <cstdint>

bool TbsBitmapLink::Assigned() const {
    return FImage && std::int64_t(FRect.Width()) * FRect.Height() > 0;
}

void TbsBitmapLink::Assign(TPersistent* Source) {
    auto* L = dynamic_cast<TbsBitmapLink*>(Source);
    if (!L) {
        TPersistent::Assign(Source);
        return;
    }
    FImage = L->FImage;
    FRect = L->FRect;
    FName = L->FName;
    FMaskedBorder = L->FMaskedBorder;
    FMaskedAngles = L->FMaskedAngles;
    FMasked = L->FMasked;
}

void TbsBitmapLink::LoadFromStream(TStream* Stream) {
    std::string NewName;
    ReadStreamString(Stream, NewName);
    std::int32_t Sides[4];
    Stream->ReadBuffer(Sides, sizeof(Sides));
    FName = NewName;
    FRect = {Sides[0], Sides[1], Sides[2], Sides[3]};
}

void TbsBitmapLink::SaveToStream(TStream* Stream) {
    WriteStreamString(Stream, FName);
    const std::int32_t Sides[4] = {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom};
    Stream->WriteBuffer(Sides, sizeof(Sides));
}

void TbsBitmapLink::Draw(TCanvas* Canvas, int X, int Y) {
    if (FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0)
        FImage->Draw(Canvas, X, Y, FRect);
}

void TbsBitmapLink::Draw(TbsBitmap* Bitmap, int X, int Y) {
    if (FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0)
        FImage->Draw(Bitmap, X, Y, FRect);
}

bool TbsBitmapLink::SeeThrough(int X, int Y) const {
    TbsColor P = 0;
    if (FImage && FImage->Bits() && X >= 0 && Y >= 0 && X < FImage->Width() && Y < FImage->Height())
        P = *FImage->PixelPtr(X, Y);
    if (P == NoMaskPixel)
        return false;
    return P == TransparentKey || (P >> 24) < 255;
}

void TbsBitmapLink::CheckingMasked() {
    CheckingMasked(TRect{});
}

void TbsBitmapLink::CheckingMasked(const TRect& Margin) {
    FMasked = FMaskedBorder = FMaskedAngles = false;
    const int W = FRect.Width();
    const int H = FRect.Height();
    const bool NoMargins =
        Margin.Left == 0 && Margin.Top == 0 && Margin.Right == 0 && Margin.Bottom == 0;
    const TRect Angles[4] = {{0, 0, Margin.Left, Margin.Top},
                             {W - Margin.Right, 0, W, Margin.Top},
                             {W - Margin.Right, H - Margin.Bottom, W, H},
                             {0, H - Margin.Bottom, Margin.Left, H}};
    const TRect Borders[4] = {{Margin.Left, 0, W - Margin.Right, Margin.Top},
                              {Margin.Left, H - Margin.Bottom, W - Margin.Right, H},
                              {0, Margin.Top, Margin.Left, H - Margin.Bottom},
                              {W - Margin.Right, Margin.Top, W, H - Margin.Bottom}};
    const TRect Middle{Margin.Left, Margin.Top, W - Margin.Right, H - Margin.Bottom};
    for (int X = 0; X < W; ++X) {
        for (int Y = 0; Y < H; ++Y) {
            if (!SeeThrough(FRect.Left + X, FRect.Top + Y))
                continue;
            if (NoMargins) {
                FMasked = true;
                return;
            }
            const TPoint P{X, Y};
            for (const TRect& R : Angles)
                FMaskedAngles = FMaskedAngles || PtInRect(&R, P);
            for (const TRect& R : Borders)
                FMaskedBorder = FMaskedBorder || PtInRect(&R, P);
            FMasked = FMasked || PtInRect(&Middle, P);
        }
    }
}

std::unique_ptr<TbsBitmapLink> TbsBitmap::GetBitmapLink(const TRect& Rect) {
    auto Link = std::make_unique<TbsBitmapLink>();
    Link->SetImage(this);
    Link->SetName(FName);
    Link->SetRect(Rect);
    return Link;
}

std::unique_ptr<TbsBitmapLink> TbsBitmap::GetBitmapLink(const std::string& Rect) {
    TRect R;
    ReadRectFromString(Rect, R);
    return GetBitmapLink(R);
}
