#include "platform/gdi/Icons.h"

#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace gdi {

struct TIconObj : TGdiObject {
    TIconObj() : TGdiObject(TKind::Icon) {}
    std::vector<TArgbImage> Images;
};

} // namespace gdi

using namespace gdi;

HBITMAP ArgbToBitmap(const TArgbImage& Image) {
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = Image.Width;
    Info.bmiHeader.biHeight = -Image.Height;
    Info.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    HBITMAP B = CreateDIBSection(0, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (B)
        std::memcpy(Bits, Image.Pixels.data(), Image.Pixels.size() * 4);
    return B;
}

TArgbImage BitmapToArgb(HBITMAP Bitmap) {
    TArgbImage Out;
    BITMAP Bm;
    if (!GetObject(ToObj(Bitmap), sizeof(Bm), &Bm))
        return Out;
    HDC DC = CreateCompatibleDC(0);
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = Bm.bmWidth;
    Info.bmiHeader.biHeight = -Bm.bmHeight;
    Info.bmiHeader.biBitCount = 32;
    Out.Width = Bm.bmWidth;
    Out.Height = Bm.bmHeight;
    Out.Pixels.assign(std::size_t(Out.Width) * std::size_t(Out.Height), 0);
    GetDIBits(DC, Bitmap, 0, UINT(Out.Height), Out.Pixels.data(), &Info, DIB_RGB_COLORS);
    DeleteDC(DC);
    if (Bm.bmBitsPixel != 32)
        for (std::uint32_t& P : Out.Pixels)
            P |= 0xFF000000u;
    return Out;
}

TArgbImage ScaleArgb(const TArgbImage& Image, int Width, int Height) {
    if (Width == Image.Width && Height == Image.Height)
        return Image;
    TArgbImage Out;
    Out.Width = Width;
    Out.Height = Height;
    Out.Pixels.resize(std::size_t(std::max(0, Width)) * std::size_t(std::max(0, Height)));
    for (int Y = 0; Y < Height; ++Y) {
        const int SY = int((2 * std::int64_t(Y) + 1) * Image.Height / (2 * std::int64_t(Height)));
        for (int X = 0; X < Width; ++X) {
            const int SX = int((2 * std::int64_t(X) + 1) * Image.Width / (2 * std::int64_t(Width)));
            Out.At(X, Y) = Image.At(SX, SY);
        }
    }
    return Out;
}

void DrawArgbImage(HDC DC, const TRect& R, const TArgbImage& Image) {
    if (Image.Empty())
        return;
    HBITMAP B = ArgbToBitmap(Image);
    HDC Source = CreateCompatibleDC(0);
    HGDIOBJ Old = SelectObject(Source, ToObj(B));
    DrawStraightAlpha(DC, R, Source, Image.Width, Image.Height);
    SelectObject(Source, Old);
    DeleteDC(Source);
    DeleteObject(ToObj(B));
}

int MainIconImage(const std::vector<TArgbImage>& Images) {
    int Best = -1;
    for (std::size_t i = 0; i < Images.size(); ++i) {
        if (Images[i].Width == 32 && Images[i].Height == 32)
            return int(i);
        if (Best < 0 || Images[i].Width * Images[i].Height >
                            Images[std::size_t(Best)].Width * Images[std::size_t(Best)].Height)
            Best = int(i);
    }
    return Best;
}

HICON CreateIconFromImages(std::vector<TArgbImage> Images) {
    if (Images.empty())
        return 0;
    auto Obj = std::make_shared<TIconObj>();
    Obj->Images = std::move(Images);
    return MakeHandle<HICON>(Obj);
}

const std::vector<TArgbImage>* IconImages(HICON Icon, std::vector<TArgbImage>& Storage) {
    auto Obj = Lookup<TIconObj>(Icon, TKind::Icon);
    if (!Obj)
        return nullptr;
    Storage = Obj->Images;
    return &Storage;
}

HICON CreateIconIndirect(const ICONINFO* Info) {
    if (!Info || !Info->hbmColor)
        return 0;
    TArgbImage Color = BitmapToArgb(Info->hbmColor);
    if (Color.Empty())
        return 0;
    BITMAP Bm;
    GetObject(ToObj(Info->hbmColor), sizeof(Bm), &Bm);
    bool HasAlpha =
        Bm.bmBitsPixel == 32 && std::any_of(Color.Pixels.begin(), Color.Pixels.end(),
                                            [](std::uint32_t P) { return (P >> 24) != 0; });
    TArgbImage Mask = Info->hbmMask ? BitmapToArgb(Info->hbmMask) : TArgbImage{};
    if (!HasAlpha) {
        for (int Y = 0; Y < Color.Height; ++Y)
            for (int X = 0; X < Color.Width; ++X) {
                const bool Clear = !Mask.Empty() && X < Mask.Width && Y < Mask.Height &&
                                   (Mask.At(X, Y) & 0xFFFFFF) != 0;
                Color.At(X, Y) = (Color.At(X, Y) & 0xFFFFFF) | (Clear ? 0u : 0xFF000000u);
            }
    }
    return CreateIconFromImages({Color});
}

BOOL GetIconInfo(HICON Icon, ICONINFO* Info) {
    std::vector<TArgbImage> Storage;
    const auto* Images = IconImages(Icon, Storage);
    if (!Images || !Info)
        return FALSE;
    const TArgbImage& Main = (*Images)[std::size_t(MainIconImage(*Images))];
    *Info = {};
    Info->fIcon = TRUE;
    Info->xHotspot = DWORD(Main.Width / 2);
    Info->yHotspot = DWORD(Main.Height / 2);
    Info->hbmColor = ArgbToBitmap(Main);
    BITMAPINFO M{};
    M.bmiHeader.biWidth = Main.Width;
    M.bmiHeader.biHeight = -Main.Height;
    M.bmiHeader.biBitCount = 1;
    M.bmiColors[1] = {255, 255, 255, 0};
    void* Bits = nullptr;
    Info->hbmMask = CreateDIBSection(0, &M, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (Bits) {
        const int Stride = ((Main.Width + 31) / 32) * 4;
        auto* P = static_cast<std::uint8_t*>(Bits);
        for (int Y = 0; Y < Main.Height; ++Y)
            for (int X = 0; X < Main.Width; ++X)
                if ((Main.At(X, Y) >> 24) == 0)
                    P[Y * Stride + X / 8] |= std::uint8_t(0x80 >> (X % 8));
    }
    return TRUE;
}

BOOL DestroyIcon(HICON Icon) {
    auto Obj = Lookup<TIconObj>(Icon, TKind::Icon);
    if (!Obj || Obj->Stock)
        return Obj ? TRUE : FALSE;
    return Unregister(Icon) ? TRUE : FALSE;
}

BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int CX, int CY, UINT StepIfAniCur,
                HBRUSH FlickerFreeDraw, UINT Flags) {
    (void)StepIfAniCur;
    (void)FlickerFreeDraw;
    (void)Flags;
    auto Obj = Lookup<TIconObj>(Icon, TKind::Icon);
    if (!Obj || !LookupDC(DC))
        return FALSE;
    const TArgbImage& Main = Obj->Images[std::size_t(MainIconImage(Obj->Images))];
    const int W = CX ? CX : Main.Width, H = CY ? CY : Main.Height;
    // An image of exactly the asked size is drawn unscaled.
    const TArgbImage* Use = &Main;
    for (const TArgbImage& I : Obj->Images)
        if (I.Width == W && I.Height == H)
            Use = &I;
    DrawArgbImage(DC, Bounds(X, Y, W, H), *Use);
    return TRUE;
}

HICON CopyImage(HICON Icon, UINT Type, int CX, int CY, UINT Flags) {
    (void)Flags;
    auto Obj = Lookup<TIconObj>(Icon, TKind::Icon);
    if (!Obj || Type != IMAGE_ICON)
        return 0;
    const TArgbImage& Main = Obj->Images[std::size_t(MainIconImage(Obj->Images))];
    const int W = CX ? CX : Main.Width, H = CY ? CY : Main.Height;
    for (const TArgbImage& I : Obj->Images)
        if (I.Width == W && I.Height == H)
            return CreateIconFromImages({I});
    return CreateIconFromImages({ScaleArgb(Main, W, H)});
}

std::vector<TArgbImage> StockIconImages(std::uintptr_t Id);

HICON LoadIcon(HINSTANCE Instance, std::uintptr_t Id) {
    if (Instance)
        return 0;
    static std::mutex Lock;
    static std::map<std::uintptr_t, HICON> Loaded;
    std::lock_guard Guard(Lock);
    auto It = Loaded.find(Id);
    if (It != Loaded.end())
        return It->second;
    std::vector<TArgbImage> Images = StockIconImages(Id);
    if (Images.empty())
        return 0;
    HICON Icon = CreateIconFromImages(std::move(Images));
    Lookup<TIconObj>(Icon, TKind::Icon)->Stock = true;
    Loaded[Id] = Icon;
    return Icon;
}

// ---------------------------------------------------------------- TIcon

TIcon::~TIcon() {
    ReleaseHandle();
}

void TIcon::ReleaseHandle() {
    if (FHandle)
        DestroyIcon(FHandle);
    FHandle = 0;
}

int TIcon::Width() const {
    return FImages.empty() ? 0 : FImages[std::size_t(MainIconImage(FImages))].Width;
}
int TIcon::Height() const {
    return FImages.empty() ? 0 : FImages[std::size_t(MainIconImage(FImages))].Height;
}

HICON TIcon::Handle() {
    if (!FHandle && !FImages.empty())
        FHandle = CreateIconFromImages(FImages);
    return FHandle;
}

void TIcon::SetHandle(HICON Value) {
    std::vector<TArgbImage> Storage;
    const auto* Images = IconImages(Value, Storage);
    SetImages(Images ? *Images : std::vector<TArgbImage>{});
}

void TIcon::SetImages(std::vector<TArgbImage> Images) {
    ReleaseHandle();
    FImages = std::move(Images);
    Changed();
}

void TIcon::Draw(TCanvas* Canvas, const TRect& R) {
    if (Empty())
        return;
    const TArgbImage& Main = FImages[std::size_t(MainIconImage(FImages))];
    const TArgbImage* Use = &Main;
    for (const TArgbImage& I : FImages)
        if (I.Width == R.Width() && I.Height == R.Height())
            Use = &I;
    DrawArgbImage(Canvas->Handle(), R, *Use);
}

void TIcon::LoadFromStream(TStream* Stream) {
    SetImages(ReadIco(*Stream));
}

void TIcon::SaveToStream(TStream* Stream) {
    if (Empty())
        throw EInvalidGraphic("Icon image is not valid: the icon is empty");
    WriteIco(*Stream, FImages[std::size_t(MainIconImage(FImages))]);
}

void TIcon::Assign(TPersistent* Source) {
    if (!Source) {
        SetImages({});
        return;
    }
    if (auto* I = dynamic_cast<TIcon*>(Source)) {
        SetImages(I->FImages);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        Assign(P->Graphic());
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::AssignTo(TPersistent* Dest) {
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        if (Empty()) {
            B->Assign(nullptr);
            return;
        }
        const TArgbImage& Main = FImages[std::size_t(MainIconImage(FImages))];
        B->LoadPixels(Main.Width, Main.Height, pf32bit, Main.Pixels.data(), {});
        B->SetAlphaFormat(afDefined);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Dest)) {
        P->SetGraphic(this);
        return;
    }
    TGraphic::AssignTo(Dest);
}
