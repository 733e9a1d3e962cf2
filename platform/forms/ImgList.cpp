#include "platform/forms/ImgList.h"

#include "platform/core/Exceptions.h"

#include <algorithm>

TChangeLink::~TChangeLink() {
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange)
        OnChange(FSender);
}

TCustomImageList::~TCustomImageList() {
    auto Clients = FClients;
    for (TChangeLink* Link : Clients)
        Link->SetSender(nullptr);
}

void TCustomImageList::SetWidth(int Value) {
    if (Value == FWidth || Value <= 0)
        return;
    FWidth = Value;
    Clear();
}

void TCustomImageList::SetHeight(int Value) {
    if (Value == FHeight || Value <= 0)
        return;
    FHeight = Value;
    Clear();
}

void TCustomImageList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(Format("Invalid image list index %d", {Index}));
}

const TArgbImage& TCustomImageList::Image(int Index) const {
    CheckIndex(Index);
    return FImages[Index];
}

// Cuts a picture into items of the list's size. Transparency comes from the
// mask (1 = transparent), from a mask colour, or from the bitmap's alpha
// when it has one.
std::vector<TArgbImage> TCustomImageList::Split(TBitmap* Image, TBitmap* Mask, TColor MaskColor,
                                                bool UseColor) {
    std::vector<TArgbImage> Result;
    if (!Image || Image->Empty())
        return Result;
    TArgbImage Whole = BitmapToArgb(Image->Handle());
    TArgbImage MaskImage;
    if (Mask && !Mask->Empty())
        MaskImage = BitmapToArgb(Mask->Handle());
    bool HasAlpha = false;
    if (Image->PixelFormat() == pf32bit && !Mask && !UseColor)
        HasAlpha = std::any_of(Whole.Pixels.begin(), Whole.Pixels.end(),
                               [](std::uint32_t P) { return (P >> 24) != 0; });
    COLORREF Key = COLORREF(ColorToRGB(MaskColor));
    std::uint32_t KeyArgb = (std::uint32_t(GetRValue(Key)) << 16) |
                            (std::uint32_t(GetGValue(Key)) << 8) | GetBValue(Key);
    int Pieces = std::max(1, Whole.Width / FWidth);
    for (int N = 0; N < Pieces; ++N) {
        TArgbImage Item;
        Item.Width = FWidth;
        Item.Height = FHeight;
        Item.Pixels.assign(std::size_t(FWidth) * std::size_t(FHeight), 0);
        for (int Y = 0; Y < FHeight && Y < Whole.Height; ++Y)
            for (int X = 0; X < FWidth && N * FWidth + X < Whole.Width; ++X) {
                std::uint32_t P = Whole.At(N * FWidth + X, Y);
                bool Transparent = false;
                if (!MaskImage.Empty() && N * FWidth + X < MaskImage.Width && Y < MaskImage.Height)
                    Transparent = (MaskImage.At(N * FWidth + X, Y) & 0xFFFFFF) != 0;
                else if (UseColor)
                    Transparent = (P & 0xFFFFFF) == KeyArgb;
                if (HasAlpha)
                    Item.At(X, Y) = P;
                else
                    Item.At(X, Y) = Transparent ? 0 : (P | 0xFF000000u);
            }
        Result.push_back(std::move(Item));
    }
    return Result;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    auto Items = Split(Image, Mask, clNone, false);
    if (Items.empty())
        return -1;
    int First = Count();
    for (auto& Item : Items)
        FImages.push_back(std::move(Item));
    Change();
    return First;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    auto Items = Split(Image, nullptr, MaskColor, true);
    if (Items.empty())
        return -1;
    int First = Count();
    for (auto& Item : Items)
        FImages.push_back(std::move(Item));
    Change();
    return First;
}

int TCustomImageList::AddIcon(TIcon* Image) {
    if (!Image || Image->Empty())
        return -1;
    const auto& Images = Image->Images();
    const TArgbImage& Best = Images[MainIconImage(Images)];
    FImages.push_back(ScaleArgb(Best, FWidth, FHeight));
    Change();
    return Count() - 1;
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask) {
    if (Index < 0 || Index > Count())
        throw EInvalidOperation(Format("Invalid image list index %d", {Index}));
    auto Items = Split(Image, Mask, clNone, false);
    FImages.insert(FImages.begin() + Index, Items.begin(), Items.end());
    Change();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    CheckIndex(Index);
    auto Items = Split(Image, Mask, clNone, false);
    if (Items.empty())
        return;
    FImages[Index] = std::move(Items.front());
    Change();
}

void TCustomImageList::Delete(int Index) {
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Clear() {
    if (FImages.empty())
        return;
    FImages.clear();
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    TArgbImage Item = std::move(FImages[CurIndex]);
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, std::move(Item));
    Change();
}

namespace {

// The disabled look: each pixel's brightness as grey, lightened, alpha kept.
TArgbImage Greyed(const TArgbImage& Source) {
    TArgbImage Result = Source;
    for (std::uint32_t& P : Result.Pixels) {
        unsigned R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
        unsigned Grey = (R * 30 + G * 59 + B * 11) / 100;
        Grey = 128 + Grey / 2;
        P = (P & 0xFF000000u) | (Grey << 16) | (Grey << 8) | Grey;
    }
    return Result;
}

} // namespace

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    const TArgbImage& Item = FImages[Index];
    TRect R = Bounds(X, Y, Item.Width, Item.Height);
    if (FBkColor != CLR_NONE) {
        Canvas->Brush()->SetColor(FBkColor);
        Canvas->FillRect(R);
    }
    DrawArgbImage(Canvas->Handle(), R, Enabled ? Item : Greyed(Item));
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
    CheckIndex(Index);
    Image->SetSize(FWidth, FHeight);
    Image->Canvas()->Brush()->SetColor(FBkColor == CLR_NONE ? clBtnFace : FBkColor);
    Image->Canvas()->FillRect(Bounds(0, 0, FWidth, FHeight));
    DrawArgbImage(Image->Canvas()->Handle(), Bounds(0, 0, FWidth, FHeight), FImages[Index]);
}

void TCustomImageList::GetIcon(int Index, TIcon* Image) {
    CheckIndex(Index);
    Image->SetImages({FImages[Index]});
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
    Value->SetSender(this);
    FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
    if (Value->Sender() == this)
        Value->SetSender(nullptr);
}

void TCustomImageList::Change() {
    auto Clients = FClients;
    for (TChangeLink* Link : Clients)
        Link->Change();
    if (OnChange)
        OnChange(this);
}
