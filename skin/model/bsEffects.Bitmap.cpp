#include "skin/model/bsEffects.Bitmap.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/forms/Clipbrd.h"
#include "skin/model/bsUtils.Platform.h"
#include "skin/model/bsUtils.StreamText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

std::vector<TbsBitmap*>& List() {
    static std::vector<TbsBitmap*> L;
    return L;
}

void Unlist(TbsBitmap* Bitmap) {
    auto& L = List();
    L.erase(std::remove(L.begin(), L.end(), Bitmap), L.end());
}

void ListOnce(TbsBitmap* Bitmap) {
    auto& L = List();
    if (std::find(L.begin(), L.end(), Bitmap) == L.end())
        L.push_back(Bitmap);
}

// The graphics layer cannot make a DIB section beyond this.
constexpr std::int64_t MaxDibSide = 32767;

[[noreturn]] void RaiseStreamRead() {
    throw EReadError("Stream read error");
}

int RoundToInt(double V) {
    return int(Round(V));
}

} // namespace

// ---------------------------------------------------------------- colours

TbsColor PackPixel(int R, int G, int B, int A) {
    auto Clamp = [](int V) { return TbsColor(std::clamp(V, 0, 255)); };
    return (TbsColor(A & 0xFF) << 24) | (Clamp(R) << 16) | (Clamp(G) << 8) | Clamp(B);
}

void RGBToHSL(TbsColor Pixel, float& H, float& S, float& L) {
    const float R = float((Pixel >> 16) & 0xFF) / 255.0f;
    const float G = float((Pixel >> 8) & 0xFF) / 255.0f;
    const float B = float(Pixel & 0xFF) / 255.0f;
    const float Mx = std::max({R, G, B});
    const float Mn = std::min({R, G, B});
    L = (Mx + Mn) / 2.0f;
    if (Mx == Mn) {
        H = 0;
        S = 0;
        return;
    }
    const float D = Mx - Mn;
    S = L < 0.5f ? D / (Mx + Mn) : D / (2.0f - Mx - Mn);
    if (Mx == R)
        H = (G - B) / D;
    else if (Mx != G)
        H = (R - G) / D + 4.0f;
    else
        H = (B - R) / D + 2.0f;
    H = H / 6.0f;
    if (H < 0)
        H += 1.0f;
}

int HueToRGB(float P, float Q, float H) {
    H = H - std::floor(H);
    float V;
    if (6.0f * H < 1.0f)
        V = P + (Q - P) * 6.0f * H;
    else if (2.0f * H < 1.0f)
        V = Q;
    else if (3.0f * H < 2.0f)
        V = P + (Q - P) * (2.0f / 3.0f - H) * 6.0f;
    else
        V = P;
    return RoundToInt(double(V) * 255.0);
}

TbsColor HSLToRGB(float L, float S, float H) {
    if (S == 0) {
        const int V = RoundToInt(double(L) * 255.0);
        return PackPixel(V, V, V, 255);
    }
    const float Q = L <= 0.5f ? L * (1.0f + S) : L + S - L * S;
    const float P = 2.0f * L - Q;
    return PackPixel(HueToRGB(P, Q, H + 1.0f / 3.0f), HueToRGB(P, Q, H),
                     HueToRGB(P, Q, H - 1.0f / 3.0f), 255);
}

// ---------------------------------------------------------------- list

const std::vector<TbsBitmap*>& BitmapList() {
    return List();
}

TbsBitmap* FindBitmapByDC(HDC DC) {
    if (!DC)
        return nullptr;
    for (TbsBitmap* B : List())
        if (B->DC() == DC)
            return B;
    return nullptr;
}

// ---------------------------------------------------------------- life

TbsBitmap::TbsBitmap() {
    FBitmapInfo.bmiHeader.biSize = 40;
    FBitmapInfo.bmiHeader.biPlanes = 1;
    FBitmapInfo.bmiHeader.biBitCount = 32;
    FBitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TbsBitmap::~TbsBitmap() {
    Unlist(this);
    if (FCanvas)
        FCanvas->SetHandle(0);
    FreeSurface();
}

void TbsBitmap::FreeSurface() {
    if (FDC) {
        if (FCanvas)
            FCanvas->SetHandle(0);
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FHandle)
        DeleteObject(ToObj(FHandle));
    FDC = 0;
    FHandle = 0;
    FOldBitmap = 0;
    FBits = nullptr;
    FWidth = 0;
    FHeight = 0;
    Unlist(this);
}

TCanvas* TbsBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FDC);
    }
    return FCanvas.get();
}

void TbsBitmap::SetSize(int AWidth, int AHeight) {
    // In 64 bits, so that the smallest integer has a magnitude too.
    const std::int64_t W = std::llabs(std::int64_t(AWidth));
    const std::int64_t H = std::llabs(std::int64_t(AHeight));
    if (W == 0 || H == 0 || (W == FWidth && H == FHeight))
        return;
    FreeSurface();
    if (W > MaxDibSide || H > MaxDibSide)
        throw Exception("Can't allocate the DIB handle");
    FBitmapInfo.bmiHeader.biWidth = LONG(W);
    FBitmapInfo.bmiHeader.biHeight = -LONG(H);
    void* Bits = nullptr;
    const HBITMAP Handle = CreateDIBSection(0, &FBitmapInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Handle || !Bits)
        throw Exception("Can't allocate the DIB handle");
    const HDC DC = CreateCompatibleDC(0);
    if (!DC) {
        DeleteObject(ToObj(Handle));
        throw Exception("Can't create compatible DC");
    }
    const HGDIOBJ Old = SelectObject(DC, ToObj(Handle));
    if (!Old) {
        DeleteDC(DC);
        DeleteObject(ToObj(Handle));
        throw Exception("Can't bslect an object into DC");
    }
    FHandle = Handle;
    FDC = DC;
    FOldBitmap = Old;
    FBits = static_cast<PbsColorArray>(Bits);
    ListOnce(this);
    if (FCanvas)
        FCanvas->SetHandle(FDC);
    FWidth = int(W);
    FHeight = int(H);
}

void TbsBitmap::Clear(TbsColor Color) {
    if (FBits)
        PixelKernels().FillLongword(FBits, FWidth * FHeight, Color);
}

void TbsBitmap::SetPixel(int X, int Y, TbsColor Color) {
    if (FBits && X >= 0 && X < FWidth && Y >= 0 && Y < FHeight)
        *PixelPtr(X, Y) = Color;
}

// ---------------------------------------------------------------- assign

void TbsBitmap::AssignGdiBitmap(TBitmap* Source) {
    SetSize(Source->Width(), Source->Height());
    if (Empty())
        return;
    BitBlt(FDC, 0, 0, FWidth, FHeight, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
    SetAlpha(255);
}

void TbsBitmap::AssignGraphic(TGraphic* Source) {
    SetSize(Source->Width(), Source->Height());
    if (Empty())
        return;
    DrawGraphic(Source, {0, 0, FWidth, FHeight});
    SetAlpha(255);
}

void TbsBitmap::Assign(TPersistent* Source) {
    if (auto* B = dynamic_cast<TbsBitmap*>(Source)) {
        if (B == this || B->Empty())
            return;
        SetSize(B->Width(), B->Height());
        PixelKernels().MoveLongword(B->Bits(), FBits, FWidth * FHeight);
        FName = B->Name();
        FTransparent = B->Transparent();
        FAlphaBlend = B->AlphaBlend();
        return;
    }
    if (auto* Bmp = dynamic_cast<TBitmap*>(Source)) {
        if (Bmp->PixelFormat() == pf32bit && Bmp->HandleType() == bmDIB) {
            SetSize(Bmp->Width(), Bmp->Height());
            if (Empty())
                return;
            for (int Y = 0; Y < FHeight; ++Y)
                PixelKernels().MoveLongword(static_cast<const TbsColor*>(Bmp->ScanLine(Y)),
                                            ScanLine(Y), FWidth);
            CheckingAlphaBlend();
            return;
        }
        AssignGdiBitmap(Bmp);
        return;
    }
    if (auto* G = dynamic_cast<TGraphic*>(Source)) {
        AssignGraphic(G);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        if (!P->Graphic())
            return;
        if (auto* PB = dynamic_cast<TBitmap*>(P->Graphic()))
            AssignGdiBitmap(PB);
        else
            AssignGraphic(P->Graphic());
        return;
    }
    if (auto* Clip = dynamic_cast<TClipboard*>(Source)) {
        // Read whole before anything changes: an empty clipboard raises and
        // leaves this bitmap as it was.
        TBitmap Picture;
        Clip->AssignTo(&Picture);
        Assign(&Picture);
        return;
    }
    TPersistent::Assign(Source);
}

void TbsBitmap::AssignTo(TPersistent* Dest) {
    if (auto* Clip = dynamic_cast<TClipboard*>(Dest)) {
        TBitmap Picture;
        AssignTo(&Picture);
        Clip->Assign(&Picture);
        return;
    }
    TBitmap* Target = dynamic_cast<TBitmap*>(Dest);
    if (auto* P = dynamic_cast<TPicture*>(Dest))
        Target = P->Bitmap();
    if (!Target) {
        TPersistent::AssignTo(Dest);
        return;
    }
    Target->SetPixelFormat(pf32bit);
    Target->SetSize(FWidth, FHeight);
    if (!Empty())
        Draw(Target->Canvas(), 0, 0);
}

// ---------------------------------------------------------------- streams

void TbsBitmap::SaveToStream(TStream* Stream) {
    WriteStreamString(Stream, FName);
    const std::int32_t W = FWidth;
    const std::int32_t H = FHeight;
    Stream->WriteBuffer(&W, 4);
    Stream->WriteBuffer(&H, 4);
    if (FBits)
        Stream->WriteBuffer(FBits, std::int64_t(FWidth) * FHeight * 4);
}

void TbsBitmap::LoadFromStream(TStream* Stream) {
    std::string NewName;
    ReadStreamString(Stream, NewName);
    std::int32_t W = 0;
    std::int32_t H = 0;
    Stream->ReadBuffer(&W, 4);
    Stream->ReadBuffer(&H, 4);
    // A damaged header must neither misalign the stream nor reach SetSize.
    const std::int64_t AbsH = std::llabs(std::int64_t(H));
    if (W < 0 || W > MaxDibSide || AbsH > MaxDibSide ||
        std::int64_t(W) * AbsH * 4 > Stream->Size() - Stream->Position())
        RaiseStreamRead();
    FName = NewName;
    SetSize(W, int(AbsH));
    if (FWidth != W || FHeight != AbsH)
        return;
    if (FBits)
        Stream->ReadBuffer(FBits, std::int64_t(W) * AbsH * 4);
    if (H < 0)
        FlipVert();
}

void TbsBitmap::LoadFromResource(const std::string& /*ResFileName*/, const std::string& ResName) {
    if (!FindResource(ResName))
        return;
    TBitmap Bmp;
    Bmp.LoadFromResourceName(nullptr, ResName);
    Assign(&Bmp);
}

// ---------------------------------------------------------------- PCX

namespace {

#pragma pack(push, 1)
struct TPcxHeader {
    BYTE Manufacturer;
    BYTE Version;
    BYTE Encoding;
    BYTE BitsPerPixel;
    WORD XMin, YMin, XMax, YMax;
    WORD HDpi, VDpi;
    BYTE ColorMap[48];
    BYTE Reserved;
    BYTE Planes;
    WORD BytesPerLine;
    WORD PaletteInfo;
    BYTE Filler[58];
};
#pragma pack(pop)
static_assert(sizeof(TPcxHeader) == 128);

constexpr std::int64_t PcxPaletteSize = 769;

HPALETTE MakePcxPalette(const BYTE* Triples) {
    LOGPALETTE P;
    P.palVersion = 0x300;
    P.palNumEntries = 256;
    for (int I = 0; I < 256; ++I)
        P.palPalEntry[I] = {Triples[I * 3], Triples[I * 3 + 1], Triples[I * 3 + 2], 0};
    return CreatePalette(&P);
}

std::vector<BYTE> DecodePcxRle(const std::vector<BYTE>& In, std::size_t Wanted) {
    std::vector<BYTE> Out;
    Out.reserve(Wanted);
    std::size_t I = 0;
    while (Out.size() < Wanted) {
        if (I >= In.size())
            RaiseStreamRead();
        const BYTE B = In[I++];
        if (B < 192) {
            Out.push_back(B);
            continue;
        }
        if (I >= In.size())
            RaiseStreamRead();
        const BYTE V = In[I++];
        const std::size_t Count = std::min<std::size_t>(B & 63, Wanted - Out.size());
        Out.insert(Out.end(), Count, V);
    }
    return Out;
}

} // namespace

void TbsBitmap::LoadFromPcxStream(TStream* Stream) {
    const std::int64_t Start = Stream->Position();
    if (Stream->Size() - Start < std::int64_t(sizeof(TPcxHeader)))
        RaiseStreamRead();
    TPcxHeader Header;
    Stream->ReadBuffer(&Header, sizeof(Header));
    if (Header.Manufacturer != 10 && Header.Manufacturer != 205)
        return;
    if (Header.XMax < Header.XMin || Header.YMax < Header.YMin)
        RaiseStreamRead();
    const int W = Header.XMax - Header.XMin + 1;
    const int H = Header.YMax - Header.YMin + 1;
    const int RowBytes = int(Header.Planes) * int(Header.BytesPerLine);
    if (RowBytes <= 0 || RowBytes < W)
        RaiseStreamRead();

    HPALETTE Palette = 0;
    if (Header.Version == 3) {
        Palette = FromObj<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    } else {
        const std::int64_t At = Stream->Size() - PcxPaletteSize;
        if (At < Start + std::int64_t(sizeof(TPcxHeader)))
            RaiseStreamRead();
        std::vector<BYTE> Tail(static_cast<std::size_t>(PcxPaletteSize));
        const std::int64_t Here = Stream->Position();
        Stream->SetPosition(At);
        Stream->ReadBuffer(Tail.data(), PcxPaletteSize);
        Stream->SetPosition(Here);
        Palette = MakePcxPalette(Tail.data() + 1);
    }
    struct TPaletteGuard {
        HPALETTE P;
        bool Owned;
        ~TPaletteGuard() {
            if (Owned && P)
                DeleteObject(ToObj(P));
        }
    } Guard{Palette, Header.Version != 3};

    std::vector<BYTE> Rest(std::size_t(Stream->Size() - Stream->Position()));
    if (!Rest.empty())
        Stream->ReadBuffer(Rest.data(), std::int64_t(Rest.size()));
    const std::size_t Wanted = std::size_t(H) * std::size_t(RowBytes);
    std::vector<BYTE> Data;
    if (Header.Encoding == 1) {
        Data = DecodePcxRle(Rest, Wanted);
    } else {
        if (Rest.size() < Wanted)
            RaiseStreamRead();
        Data = std::move(Rest);
    }

    TBitmap Bmp;
    Bmp.SetPixelFormat(pf8bit);
    Bmp.SetSize(W, H);
    Bmp.SetPalette(Palette);
    for (int Y = 0; Y < H; ++Y)
        std::copy_n(Data.data() + std::size_t(Y) * std::size_t(RowBytes), W,
                    static_cast<BYTE*>(Bmp.ScanLine(Y)));
    AssignGdiBitmap(&Bmp);
}

// ---------------------------------------------------------------- checks

void TbsBitmap::CheckingAlphaBlend() {
    bool Mixed = false;
    for (int I = 0, N = FWidth * FHeight; I < N && !Mixed; ++I) {
        const TbsColor A = FBits[I] >> 24;
        Mixed = A != 0 && A != 255;
    }
    FAlphaBlend = Mixed;
}

void TbsBitmap::CheckingAlphaBlend(const TRect& /*ARect*/) {
    CheckingAlphaBlend();
}

void TbsBitmap::CheckingTransparent(TbsColor Color) {
    if (Empty())
        return;
    FTransparent = false;
    const int R = int((Color >> 16) & 0xFF);
    const int G = int((Color >> 8) & 0xFF);
    const int B = int(Color & 0xFF);
    for (int I = 0, N = FWidth * FHeight; I < N; ++I) {
        const TbsColor P = FBits[I];
        if (std::abs(int((P >> 16) & 0xFF) - R) < 6 && std::abs(int((P >> 8) & 0xFF) - G) < 6 &&
            std::abs(int(P & 0xFF) - B) < 6) {
            FBits[I] = TransparentKey;
            FTransparent = true;
        }
    }
}

void TbsBitmap::CheckingTransparent(const TRect& /*ARect*/, TbsColor Color) {
    CheckingTransparent(Color);
}

void TbsBitmap::SetAlpha(BYTE Alpha) {
    if (FBits)
        PixelKernels().FillAlpha(FBits, FWidth * FHeight, Alpha);
}

void TbsBitmap::SetAlpha(BYTE Alpha, const TRect& Rect) {
    if (!FBits || Rect.Width() == 0 || Rect.Height() == 0)
        return;
    TRect R;
    const TRect Bounds{0, 0, FWidth, FHeight};
    if (!IntersectRect(&R, &Rect, &Bounds))
        return;
    PixelKernels().FillAlphaRect(FBits, FWidth, FHeight, R.Left, R.Top, R.Right - 1, R.Bottom - 1,
                                 Alpha);
}

// ---------------------------------------------------------------- colour transforms

template <class Transform> void TbsBitmap::TransformColors(Transform F) {
    for (int I = 0, N = FWidth * FHeight; I < N; ++I) {
        const TbsColor P = FBits[I];
        if ((P >> 24) == 0)
            continue;
        FBits[I] = (F(P) & 0x00FFFFFF) | (P & 0xFF000000);
    }
}

namespace {

// One HSL component stepped by Delta in 1/255 units, wrapping at the ends.
float StepComponent(float Component, int Delta) {
    int V = RoundToInt(double(Component) * 255.0) + Delta;
    if (V >= 256)
        V -= 255;
    else if (V < 0)
        V += 255;
    return float(V) / 255.0f;
}

} // namespace

void TbsBitmap::ChangeBitmapBrightness(int DeltaBrightness) {
    if (DeltaBrightness == 0)
        return;
    TransformColors([DeltaBrightness](TbsColor P) {
        return PackPixel(int((P >> 16) & 0xFF) + DeltaBrightness,
                         int((P >> 8) & 0xFF) + DeltaBrightness, int(P & 0xFF) + DeltaBrightness,
                         0);
    });
}

void TbsBitmap::SetBitmapHue(int Hue) {
    const float NewHue = float(std::clamp(Hue, 0, 255)) / 255.0f;
    TransformColors([NewHue](TbsColor P) {
        float H, S, L;
        RGBToHSL(P, H, S, L);
        return HSLToRGB(L, S, NewHue);
    });
}

void TbsBitmap::ChangeBitmapSat(int DeltaSat) {
    if (DeltaSat == 0)
        return;
    TransformColors([DeltaSat](TbsColor P) {
        float H, S, L;
        RGBToHSL(P, H, S, L);
        return HSLToRGB(L, StepComponent(S, DeltaSat), H);
    });
}

void TbsBitmap::ChangeBitmapHue(int DeltaHue) {
    if (DeltaHue == 0)
        return;
    TransformColors([DeltaHue](TbsColor P) {
        float H, S, L;
        RGBToHSL(P, H, S, L);
        return HSLToRGB(L, S, StepComponent(H, DeltaHue));
    });
}

void TbsBitmap::FlipVert() {
    if (!FBits)
        return;
    std::vector<TbsColor> Row(static_cast<std::size_t>(FWidth));
    for (int I = 0; I < FHeight / 2; ++I) {
        TbsColor* A = ScanLine(I);
        TbsColor* B = ScanLine(FHeight - 1 - I);
        std::copy_n(A, FWidth, Row.data());
        std::copy_n(B, FWidth, A);
        std::copy_n(Row.data(), FWidth, B);
    }
}
