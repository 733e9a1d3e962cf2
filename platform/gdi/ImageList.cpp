#include "platform/gdi/ImageList.h"

#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>

namespace gdi {

struct TImageListObj : TGdiObject {
    TImageListObj() : TGdiObject(TKind::ImageList) {}
    TCustomImageList* List = nullptr;
};

} // namespace gdi

using namespace gdi;

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {
    auto Obj = std::make_shared<TImageListObj>();
    Obj->List = this;
    FHandle = MakeHandle<HIMAGELIST>(Obj);
}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* Link : FLinks)
        Link->FSender = nullptr;
    FLinks.clear();
    Unregister(FHandle);
}

TChangeLink::~TChangeLink() {
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange)
        OnChange(FSender);
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
    if (!Link || Link->FSender == this)
        return;
    if (Link->FSender)
        Link->FSender->UnRegisterChanges(Link);
    FLinks.push_back(Link);
    Link->FSender = this;
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
    if (!Link)
        return;
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Link), FLinks.end());
    if (Link->FSender == this)
        Link->FSender = nullptr;
}

void TCustomImageList::Changed() {
    // A link's handler may unregister links, its own included.
    const std::vector<TChangeLink*> Links = FLinks;
    for (TChangeLink* Link : Links)
        if (std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end())
            Link->Change();
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(Format("Invalid image list index (%d)", {Index}));
}

void TCustomImageList::SetMasked(bool Value) {
    if (Value != FMasked) {
        FMasked = Value;
        Changed();
    }
}

void TCustomImageList::SetWidth(int Value) {
    if (Value > 0 && Value != FWidth) {
        FWidth = Value;
        Clear();
    }
}

void TCustomImageList::SetHeight(int Value) {
    if (Value > 0 && Value != FHeight) {
        FHeight = Value;
        Clear();
    }
}

void TCustomImageList::SetBkColor(TColor Value) {
    if (Value != FBkColor) {
        FBkColor = Value;
        Changed();
    }
}

std::vector<TArgbImage> TCustomImageList::Split(TBitmap* Image, TBitmap* Mask, TColor MaskColor) {
    std::vector<TArgbImage> Out;
    if (!Image || Image->Empty())
        return Out;
    TArgbImage All = BitmapToArgb(Image->Handle());
    const bool Alpha = Image->PixelFormat() == pf32bit && Image->AlphaFormat() == afDefined;
    TArgbImage M = Mask && !Mask->Empty() ? BitmapToArgb(Mask->Handle()) : TArgbImage{};
    const std::uint32_t Key = MaskColor == clNone
                                  ? 0xFFFFFFFFu
                                  : std::uint32_t(ArgbFromColor(COLORREF(ColorToRGB(MaskColor))));
    for (int Y = 0; Y < All.Height; ++Y)
        for (int X = 0; X < All.Width; ++X) {
            std::uint32_t& P = All.At(X, Y);
            if (!Alpha)
                P |= 0xFF000000u;
            const bool Masked =
                !M.Empty() && X < M.Width && Y < M.Height && (M.At(X, Y) & 0xFFFFFF);
            if (Masked || (P & 0xFFFFFF) == Key)
                P &= 0x00FFFFFF;
        }
    const int Pieces = std::max(1, All.Width / FWidth);
    for (int i = 0; i < Pieces; ++i) {
        TArgbImage Piece;
        Piece.Width = FWidth;
        Piece.Height = FHeight;
        Piece.Pixels.assign(std::size_t(FWidth) * std::size_t(FHeight), 0);
        for (int Y = 0; Y < FHeight && Y < All.Height; ++Y)
            for (int X = 0; X < FWidth && i * FWidth + X < All.Width; ++X)
                Piece.At(X, Y) = All.At(i * FWidth + X, Y);
        Out.push_back(std::move(Piece));
    }
    return Out;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    std::vector<TArgbImage> New = Split(Image, Mask, clNone);
    if (New.empty())
        return -1;
    const int First = Count();
    FImages.insert(FImages.end(), New.begin(), New.end());
    Changed();
    return First;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    std::vector<TArgbImage> New = Split(Image, nullptr, MaskColor);
    if (New.empty())
        return -1;
    const int First = Count();
    FImages.insert(FImages.end(), New.begin(), New.end());
    Changed();
    return First;
}

int TCustomImageList::AddIcon(TIcon* Icon) {
    if (!Icon || Icon->Empty())
        return -1;
    const auto& Images = Icon->Images();
    const TArgbImage* Use = &Images[std::size_t(MainIconImage(Images))];
    for (const TArgbImage& I : Images)
        if (I.Width == FWidth && I.Height == FHeight)
            Use = &I;
    FImages.push_back(ScaleArgb(*Use, FWidth, FHeight));
    Changed();
    return Count() - 1;
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask) {
    if (Index != Count())
        CheckIndex(Index);
    std::vector<TArgbImage> New = Split(Image, Mask, clNone);
    if (New.empty())
        return;
    FImages.insert(FImages.begin() + Index, New.begin(), New.end());
    Changed();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex)
        return;
    TArgbImage Moving = std::move(FImages[std::size_t(CurIndex)]);
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, std::move(Moving));
    Changed();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    CheckIndex(Index);
    std::vector<TArgbImage> New = Split(Image, Mask, clNone);
    if (New.empty())
        return;
    FImages[std::size_t(Index)] = New.front();
    Changed();
}

void TCustomImageList::Delete(int Index) {
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Changed();
}

void TCustomImageList::Clear() {
    FImages.clear();
    Changed();
}

const TArgbImage* TCustomImageList::Image(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return &FImages[std::size_t(Index)];
}

void TCustomImageList::DrawTo(HDC DC, int X, int Y, int Index, bool Enabled, COLORREF Background) {
    const TArgbImage* I = Image(Index);
    if (!I)
        return;
    const TRect R = Bounds(X, Y, I->Width, I->Height);
    if (!Enabled) {
        // The class library's greyed look: an embossed silhouette of every
        // pixel that is neither transparent nor pure white.
        auto Silhouette = [&](TColor Color) {
            TArgbImage S = *I;
            const std::uint32_t C = ArgbFromColor(COLORREF(ColorToRGB(Color)));
            for (std::uint32_t& P : S.Pixels)
                P = ((P >> 24) != 0 && (P & 0xFFFFFF) != 0xFFFFFF) ? (0xFF000000u | C) : 0;
            return S;
        };
        DrawArgbImage(DC, Bounds(X + 1, Y + 1, I->Width, I->Height), Silhouette(clBtnHighlight));
        DrawArgbImage(DC, R, Silhouette(clBtnShadow));
        return;
    }
    if (Background != CLR_NONE) {
        HBRUSH B = CreateSolidBrush(Background);
        FillRect(DC, &R, B);
        DeleteObject(ToObj(B));
    }
    if (!FMasked) {
        TArgbImage Opaque = *I;
        for (std::uint32_t& P : Opaque.Pixels)
            P |= 0xFF000000u;
        DrawArgbImage(DC, R, Opaque);
        return;
    }
    DrawArgbImage(DC, R, *I);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
    if (!Canvas || !Image(Index))
        return;
    const COLORREF Bk = FBkColor == clNone ? CLR_NONE : COLORREF(ColorToRGB(FBkColor));
    DrawTo(Canvas->Handle(), X, Y, Index, Enabled, Bk);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
    const TArgbImage* I = this->Image(Index);
    if (!I || !Image)
        return;
    Image->LoadPixels(I->Width, I->Height, pf32bit, I->Pixels.data(), {});
    Image->SetAlphaFormat(afDefined);
}

void TCustomImageList::GetIcon(int Index, TIcon* Icon) {
    const TArgbImage* I = Image(Index);
    if (!I || !Icon)
        return;
    Icon->SetImages({*I});
}

namespace {

TCustomImageList* ListOf(HIMAGELIST Handle) {
    auto Obj = Lookup<TImageListObj>(Handle, TKind::ImageList);
    return Obj ? Obj->List : nullptr;
}

} // namespace

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC DC, int X, int Y, int DX, int DY,
                      COLORREF Background, COLORREF Foreground, UINT Style) {
    (void)Foreground;
    TCustomImageList* L = ListOf(List);
    if (!L || !L->Image(Index) || !LookupDC(DC))
        return FALSE;
    COLORREF Bk = Background;
    if (Bk == CLR_DEFAULT)
        Bk = L->BkColor() == clNone ? CLR_NONE : COLORREF(ColorToRGB(L->BkColor()));
    if (Style & ILD_TRANSPARENT)
        Bk = CLR_NONE;
    // DX and DY choose how much of the image, from its top-left, is drawn.
    const int W = DX > 0 ? std::min(DX, L->Width()) : L->Width();
    const int H = DY > 0 ? std::min(DY, L->Height()) : L->Height();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, X, Y, X + W, Y + H);
    L->DrawTo(DC, X, Y, Index, true, Bk);
    RestoreDC(DC, Saved);
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST List, int* CX, int* CY) {
    TCustomImageList* L = ListOf(List);
    if (!L || !CX || !CY)
        return FALSE;
    *CX = L->Width();
    *CY = L->Height();
    return TRUE;
}
