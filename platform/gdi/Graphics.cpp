#include "platform/gdi/Graphics.h"

#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/gdi/BmpCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace {

COLORREF ToColorRef(TColor C) {
    return COLORREF(ColorToRGB(C)) & 0xFFFFFF;
}

// A temporary 32-bit top-down bitmap in its own memory DC.
struct TScratch {
    HDC DC = 0;
    HBITMAP Bitmap = 0;
    HGDIOBJ Old = 0;
    std::uint32_t* Bits = nullptr;
    int Width = 0, Height = 0;

    TScratch(int W, int H) : Width(W), Height(H) {
        BITMAPINFO Info{};
        Info.bmiHeader.biWidth = W;
        Info.bmiHeader.biHeight = -H;
        Info.bmiHeader.biBitCount = 32;
        void* P = nullptr;
        Bitmap = CreateDIBSection(0, &Info, DIB_RGB_COLORS, &P, nullptr, 0);
        Bits = static_cast<std::uint32_t*>(P);
        DC = CreateCompatibleDC(0);
        Old = SelectObject(DC, ToObj(Bitmap));
    }
    ~TScratch() {
        SelectObject(DC, Old);
        DeleteDC(DC);
        DeleteObject(ToObj(Bitmap));
    }
    bool Valid() const { return Bits != nullptr; }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
};

} // namespace

void DrawKeyed(HDC Dest, const TRect& R, HDC Source, int SW, int SH, COLORREF Key) {
    const int W = R.Width(), H = R.Height();
    if (W <= 0 || H <= 0)
        return;
    TScratch Back(W, H), Front(W, H);
    if (!Back.Valid() || !Front.Valid())
        return;
    BitBlt(Back.DC, 0, 0, W, H, Dest, R.Left, R.Top, SRCCOPY);
    StretchBlt(Front.DC, 0, 0, W, H, Source, 0, 0, SW, SH, SRCCOPY);
    const std::uint32_t K = (std::uint32_t(GetRValue(Key)) << 16) |
                            (std::uint32_t(GetGValue(Key)) << 8) | GetBValue(Key);
    for (int i = 0; i < W * H; ++i)
        if ((Front.Bits[i] & 0xFFFFFF) != K)
            Back.Bits[i] = Front.Bits[i] & 0xFFFFFF;
    BitBlt(Dest, R.Left, R.Top, W, H, Back.DC, 0, 0, SRCCOPY);
}

void DrawStraightAlpha(HDC Dest, const TRect& R, HDC Source, int SW, int SH) {
    if (SW <= 0 || SH <= 0)
        return;
    TScratch Pre(SW, SH);
    if (!Pre.Valid())
        return;
    BitBlt(Pre.DC, 0, 0, SW, SH, Source, 0, 0, SRCCOPY);
    for (int i = 0; i < SW * SH; ++i) {
        const std::uint32_t P = Pre.Bits[i], A = P >> 24;
        auto Mul = [A](std::uint32_t V) { return (V * A + 127) / 255; };
        Pre.Bits[i] =
            (A << 24) | (Mul((P >> 16) & 0xFF) << 16) | (Mul((P >> 8) & 0xFF) << 8) | Mul(P & 0xFF);
    }
    AlphaBlend(Dest, R.Left, R.Top, R.Width(), R.Height(), Pre.DC, 0, 0, SW, SH,
               BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
}

// ---------------------------------------------------------------- resources

namespace {

struct TResources {
    std::mutex Lock;
    std::map<std::string, std::vector<std::uint8_t>> Items;
};

TResources& Resources() {
    static TResources R;
    return R;
}

} // namespace

void RegisterResource(const std::string& Name, std::vector<std::uint8_t> Bytes) {
    std::lock_guard Guard(Resources().Lock);
    Resources().Items[UpperCase(Name)] = std::move(Bytes);
}

const std::vector<std::uint8_t>* FindResource(const std::string& Name) {
    std::lock_guard Guard(Resources().Lock);
    auto It = Resources().Items.find(UpperCase(Name));
    return It == Resources().Items.end() ? nullptr : &It->second;
}

// ---------------------------------------------------------------- objects

void TGraphicsObject::Changed() {
    if (OnChange)
        OnChange(this);
}

TFont::TFont() = default;

TFont::~TFont() {
    if (FHandle)
        DeleteObject(ToObj(FHandle));
}

// The canvases using the old handle let go of it on Changed; only then can
// it be deleted.
void TFont::Modify() {
    const HFONT Old = std::exchange(FHandle, HFONT(0));
    Changed();
    if (Old)
        DeleteObject(ToObj(Old));
}

void TFont::SetName(const std::string& Value) {
    if (Value != FName) {
        FName = Value;
        Modify();
    }
}
void TFont::SetHeight(int Value) {
    if (Value != FHeight) {
        FHeight = Value;
        Modify();
    }
}
int TFont::Size() const {
    return -int(std::lround(FHeight * 72.0 / 96.0));
}
void TFont::SetSize(int Value) {
    SetHeight(-int(std::lround(Value * 96.0 / 72.0)));
}
void TFont::SetStyle(TFontStyles Value) {
    if (!(Value == FStyle)) {
        FStyle = Value;
        Modify();
    }
}
void TFont::SetColor(TColor Value) {
    if (Value != FColor) {
        FColor = Value;
        Changed();
    }
}
void TFont::SetCharset(TFontCharset Value) {
    if (Value != FCharset) {
        FCharset = Value;
        Modify();
    }
}

HFONT TFont::Handle() {
    if (!FHandle) {
        LOGFONT L;
        L.lfHeight = FHeight;
        L.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        L.lfItalic = FStyle.Contains(fsItalic);
        L.lfUnderline = FStyle.Contains(fsUnderline);
        L.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        L.lfCharSet = FCharset;
        L.lfFaceName = FName;
        FHandle = CreateFontIndirect(&L);
    }
    return FHandle;
}

void TFont::Assign(TPersistent* Source) {
    if (auto* F = dynamic_cast<TFont*>(Source)) {
        FName = F->FName;
        FHeight = F->FHeight;
        FStyle = F->FStyle;
        FColor = F->FColor;
        FCharset = F->FCharset;
        Modify();
        return;
    }
    TPersistent::Assign(Source);
}

TPen::~TPen() {
    if (FHandle)
        DeleteObject(ToObj(FHandle));
}
void TPen::Modify() {
    const HPEN Old = std::exchange(FHandle, HPEN(0));
    Changed();
    if (Old)
        DeleteObject(ToObj(Old));
}
void TPen::SetColor(TColor Value) {
    if (Value != FColor) {
        FColor = Value;
        Modify();
    }
}
void TPen::SetWidth(int Value) {
    if (Value != FWidth && Value >= 0) {
        FWidth = Value;
        Modify();
    }
}
void TPen::SetStyle(TPenStyle Value) {
    if (Value != FStyle) {
        FStyle = Value;
        Modify();
    }
}
void TPen::SetMode(TPenMode Value) {
    if (Value != FMode) {
        FMode = Value;
        Changed();
    }
}
HPEN TPen::Handle() {
    if (!FHandle) {
        static const int Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_NULL};
        FHandle = CreatePen(Styles[FStyle], FWidth, ToColorRef(FColor));
    }
    return FHandle;
}
void TPen::Assign(TPersistent* Source) {
    if (auto* P = dynamic_cast<TPen*>(Source)) {
        FColor = P->FColor;
        FWidth = P->FWidth;
        FStyle = P->FStyle;
        FMode = P->FMode;
        Modify();
        return;
    }
    TPersistent::Assign(Source);
}

TBrush::~TBrush() {
    if (FHandle)
        DeleteObject(ToObj(FHandle));
}
void TBrush::Modify() {
    const HBRUSH Old = std::exchange(FHandle, HBRUSH(0));
    Changed();
    if (Old)
        DeleteObject(ToObj(Old));
}
void TBrush::SetColor(TColor Value) {
    if (Value != FColor || FStyle == bsClear) {
        FColor = Value;
        FStyle = bsSolid;
        Modify();
    }
}
void TBrush::SetStyle(TBrushStyle Value) {
    if (Value != FStyle) {
        FStyle = Value;
        Modify();
    }
}
HBRUSH TBrush::Handle() {
    if (!FHandle)
        FHandle = FStyle == bsClear ? FromObj<HBRUSH>(GetStockObject(NULL_BRUSH))
                                    : CreateSolidBrush(ToColorRef(FColor));
    return FHandle;
}
void TBrush::Assign(TPersistent* Source) {
    if (auto* B = dynamic_cast<TBrush*>(Source)) {
        FColor = B->FColor;
        FStyle = B->FStyle;
        Modify();
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------- canvas

TCanvas::TCanvas() {
    FFont.OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
    FPen.OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
    FBrush.OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
}

TCanvas::~TCanvas() {
    DeselectHandles();
}

void TCanvas::ObjectChanged(TObject* Sender) {
    if (!FHandle)
        return;
    // The changed object's old handle is gone: put the DC's own back now.
    if (Sender == &FFont && FFontSelected) {
        SelectObject(FHandle, FOldFont);
        FFontSelected = false;
    } else if (Sender == &FPen && FPenSelected) {
        SelectObject(FHandle, FOldPen);
        FPenSelected = false;
    } else if (Sender == &FBrush && FBrushSelected) {
        SelectObject(FHandle, FOldBrush);
        FBrushSelected = false;
    }
}

void TCanvas::DeselectHandles() {
    if (!FHandle)
        return;
    if (FFontSelected)
        SelectObject(FHandle, FOldFont);
    if (FPenSelected)
        SelectObject(FHandle, FOldPen);
    if (FBrushSelected)
        SelectObject(FHandle, FOldBrush);
    FFontSelected = FPenSelected = FBrushSelected = false;
}

HDC TCanvas::Handle() {
    if (!FHandle)
        CreateHandle();
    // Text drawn on the DC follows the brush: none of a background box with
    // a clear brush, as the canvas's own text calls do.
    if (FHandle) {
        const bool Clear = FBrush.Style() == bsClear;
        if (Clear != FClearTextBackground) {
            SetBkMode(FHandle, Clear ? TRANSPARENT : OPAQUE);
            FClearTextBackground = Clear;
        }
    }
    return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
    if (Value == FHandle)
        return;
    DeselectHandles();
    FHandle = Value;
    FClearTextBackground = false;
}

void TCanvas::Refresh() {
    DeselectHandles();
}

HDC TCanvas::RequiredState(bool NeedFont, bool NeedPen, bool NeedBrush) {
    const HDC DC = Handle();
    if (!DC)
        throw EInvalidOperation("Canvas does not allow drawing");
    if (NeedFont) {
        if (!FFontSelected) {
            FOldFont = SelectObject(DC, ToObj(FFont.Handle()));
            FFontSelected = true;
        }
        SetTextColor(DC, ToColorRef(FFont.Color()));
    }
    if (NeedPen) {
        if (!FPenSelected) {
            FOldPen = SelectObject(DC, ToObj(FPen.Handle()));
            FPenSelected = true;
        }
        static const int Modes[] = {R2_COPYPEN, R2_NOT, R2_XORPEN};
        SetROP2(DC, Modes[FPen.Mode()]);
    }
    if (NeedBrush && !FBrushSelected) {
        FOldBrush = SelectObject(DC, ToObj(FBrush.Handle()));
        FBrushSelected = true;
    }
    return DC;
}

void TCanvas::Changing() {
    if (OnChanging)
        OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange)
        OnChange(this);
}

void TCanvas::SetPenPos(TPoint Value) {
    MoveToEx(RequiredState(false, true, false), Value.X, Value.Y, nullptr);
    FPenPos = Value;
}

TRect TCanvas::ClipRect() {
    TRect R;
    GetClipBox(Handle(), &R);
    return R;
}

void TCanvas::Lock() {
    FLock.Enter();
    ++FLockCount;
}
void TCanvas::Unlock() {
    --FLockCount;
    FLock.Leave();
}
bool TCanvas::TryLock() {
    if (!FLock.TryEnter())
        return false;
    ++FLockCount;
    return true;
}

void TCanvas::MoveTo(int X, int Y) {
    SetPenPos({X, Y});
}

void TCanvas::LineTo(int X, int Y) {
    const HDC DC = RequiredState(false, true, true);
    Changing();
    MoveToEx(DC, FPenPos.X, FPenPos.Y, nullptr);
    ::LineTo(DC, X, Y);
    FPenPos = {X, Y};
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
    const HDC DC = RequiredState(false, true, true);
    Changing();
    ::Polyline(DC, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
    const HDC DC = RequiredState(false, true, true);
    Changing();
    ::Polygon(DC, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    const HDC DC = RequiredState(false, true, true);
    Changing();
    ::Rectangle(DC, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    const HDC DC = RequiredState(false, true, true);
    Changing();
    ::RoundRect(DC, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    const HDC DC = RequiredState(false, true, true);
    Changing();
    ::Ellipse(DC, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::FillRect(const TRect& R) {
    const HDC DC = RequiredState(false, false, true);
    Changing();
    ::FillRect(DC, &R, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& R) {
    const HDC DC = RequiredState(false, false, true);
    Changing();
    ::FrameRect(DC, &R, FBrush.Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
    const HDC DC = RequiredState(false, false, true);
    Changing();
    ::DrawFocusRect(DC, &R);
    Changed();
}

TColor TCanvas::Pixels(int X, int Y) {
    const COLORREF C = GetPixel(Handle(), X, Y);
    return C == CLR_INVALID ? TColor(-1) : TColor(C);
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
    const HDC DC = RequiredState(false, true, false);
    Changing();
    SetPixel(DC, X, Y, ToColorRef(Value));
    Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
    const HDC DC = RequiredState(true, false, true);
    Changing();
    if (FBrush.Style() == bsClear) {
        SetBkMode(DC, TRANSPARENT);
    } else {
        SetBkMode(DC, OPAQUE);
        SetBkColor(DC, ToColorRef(FBrush.Color()));
    }
    ::TextOut(DC, X, Y, Text);
    FPenPos = {X + TextWidth(Text), Y};
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
    const HDC DC = RequiredState(true, false, true);
    Changing();
    UINT Options = ETO_CLIPPED;
    if (FBrush.Style() == bsClear) {
        SetBkMode(DC, TRANSPARENT);
    } else {
        SetBkMode(DC, OPAQUE);
        SetBkColor(DC, ToColorRef(FBrush.Color()));
        Options |= ETO_OPAQUE;
    }
    ExtTextOut(DC, X, Y, Options, &R, Text);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& Text) {
    TSize S;
    GetTextExtentPoint32(RequiredState(true, false, false), Text, &S);
    return S;
}
int TCanvas::TextWidth(const std::string& Text) {
    return TextExtent(Text).cx;
}
int TCanvas::TextHeight(const std::string& Text) {
    return TextExtent(Text).cy;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty())
        return;
    StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty())
        return;
    RequiredState(false, false, false);
    Changing();
    Graphic->Draw(this, R);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    if (!Canvas)
        return;
    const HDC DC = RequiredState(false, false, true);
    const HDC From = Canvas->Handle();
    Changing();
    StretchBlt(DC, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), From, Source.Left, Source.Top,
               Source.Width(), Source.Height(), FCopyMode);
    Changed();
}

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width) {
    Frame3D(Canvas->Handle(), R, TopColor, BottomColor, Width);
}

// ---------------------------------------------------------------- graphic

void TGraphic::SetTransparent(bool Value) {
    if (Value != FTransparent) {
        FTransparent = Value;
        Changed();
    }
}

void TGraphic::SetModified(bool Value) {
    if (Value)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed() {
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
    TFileStream Stream(FileName, fmOpenRead);
    LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
    TFileStream Stream(FileName, fmCreate);
    SaveToStream(&Stream);
}

// ---------------------------------------------------------------- bitmap

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Owner) : FOwner(Owner) {}
    ~TBitmapCanvas() override { SetHandle(0); }

protected:
    void CreateHandle() override { FHandle = FOwner->MemoryDC(); }

private:
    TBitmap* FOwner;
};

namespace {

// The standard table of a depth, as GetDIBits reports it for a true-colour bitmap.
std::vector<RGBQUAD> StandardTable(int Depth) {
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = 1;
    Info.bmiHeader.biHeight = 1;
    Info.bmiHeader.biBitCount = WORD(Depth);
    std::uint8_t Row[4];
    HDC DC = CreateCompatibleDC(0);
    HBITMAP Probe = CreateCompatibleBitmap(DC, 1, 1);
    GetDIBits(DC, Probe, 0, 1, Row, &Info, DIB_RGB_COLORS);
    DeleteObject(ToObj(Probe));
    DeleteDC(DC);
    return {Info.bmiColors, Info.bmiColors + (std::size_t(1) << Depth)};
}

// One memory DC per bitmap, shared by its canvas and by its own blits.
struct TBitmapDCs {
    std::mutex Lock;
    std::map<const TBitmap*, HDC> Map;
};

TBitmapDCs& BitmapDCs() {
    static TBitmapDCs D;
    return D;
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    FCanvas.reset();
    FreeImage();
    HDC DC = 0;
    {
        std::lock_guard Guard(BitmapDCs().Lock);
        auto It = BitmapDCs().Map.find(this);
        if (It != BitmapDCs().Map.end()) {
            DC = It->second;
            BitmapDCs().Map.erase(It);
        }
    }
    if (DC)
        DeleteDC(DC);
    if (FPalette)
        DeleteObject(ToObj(FPalette));
}

HDC TBitmap::MemoryDC() {
    std::lock_guard Guard(BitmapDCs().Lock);
    HDC& DC = BitmapDCs().Map[this];
    if (!DC) {
        DC = CreateCompatibleDC(0);
        if (FHandle)
            SelectObject(DC, ToObj(FHandle));
    }
    return DC;
}

void TBitmap::FreeImage() {
    if (!FHandle)
        return;
    {
        std::lock_guard Guard(BitmapDCs().Lock);
        auto It = BitmapDCs().Map.find(this);
        if (It != BitmapDCs().Map.end()) {
            // The stock 1 x 1 bitmap takes the place of ours.
            HDC Probe = CreateCompatibleDC(0);
            SelectObject(It->second, GetCurrentObject(Probe, OBJ_BITMAP));
            DeleteDC(Probe);
        }
    }
    DeleteObject(ToObj(FHandle));
    FHandle = 0;
    FBits = nullptr;
    FWidth = FHeight = 0;
}

void TBitmap::Reallocate(int NewWidth, int NewHeight, TPixelFormat PF, bool KeepPixels,
                         bool FillNew) {
    if (PF == pfDevice)
        PF = pf32bit;
    if (NewWidth <= 0 || NewHeight <= 0) {
        FreeImage();
        FPixelFormat = PF;
        Changed();
        return;
    }
    const int Depth = PixelFormatBits(PF);
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = NewWidth;
    Info.bmiHeader.biHeight = -NewHeight;
    Info.bmiHeader.biBitCount = WORD(Depth);
    if (Depth <= 8) {
        std::vector<RGBQUAD> Table = FTable;
        const std::size_t Full = std::size_t(1) << Depth;
        if (Table.size() != Full)
            Table = StandardTable(Depth);
        std::copy(Table.begin(), Table.end(), Info.bmiColors);
        FTable = Table;
    } else {
        FTable.clear();
    }
    void* Bits = nullptr;
    HBITMAP New = CreateDIBSection(0, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!New)
        throw EInvalidGraphic(
            Format("Cannot make a bitmap of %d x %d pixels", {NewWidth, NewHeight}));
    HDC NewDC = CreateCompatibleDC(0);
    HGDIOBJ Old = SelectObject(NewDC, ToObj(New));
    if (FillNew && Canvas()->Brush()->Style() == bsSolid) {
        const TRect All{0, 0, NewWidth, NewHeight};
        HBRUSH B = CreateSolidBrush(COLORREF(ColorToRGB(Canvas()->Brush()->Color())));
        FillRect(NewDC, &All, B);
        DeleteObject(ToObj(B));
    }
    if (KeepPixels && FHandle) {
        const int W = std::min(FWidth, NewWidth), H = std::min(FHeight, NewHeight);
        if (Depth == PixelFormatBits(FPixelFormat)) {
            const int Row = (W * Depth + 7) / 8;
            const int OldStride = RowSize(), NewStride = ((NewWidth * Depth + 31) / 32) * 4;
            for (int Y = 0; Y < H; ++Y)
                std::memcpy(static_cast<std::uint8_t*>(Bits) + std::size_t(Y) * NewStride,
                            static_cast<std::uint8_t*>(FBits) + std::size_t(Y) * OldStride,
                            std::size_t(Row));
        } else {
            BitBlt(NewDC, 0, 0, W, H, MemoryDC(), 0, 0, SRCCOPY);
        }
    }
    SelectObject(NewDC, Old);
    DeleteDC(NewDC);
    const HDC Mine = MemoryDC();
    if (FCanvas)
        FCanvas->Refresh();
    SelectObject(Mine, ToObj(New));
    if (FHandle)
        DeleteObject(ToObj(FHandle));
    FHandle = New;
    FBits = Bits;
    FWidth = NewWidth;
    FHeight = NewHeight;
    FPixelFormat = PF;
    Changed();
}

void TBitmap::SetSize(int NewWidth, int NewHeight) {
    if (NewWidth == FWidth && NewHeight == FHeight)
        return;
    Reallocate(NewWidth, NewHeight, FPixelFormat, true, true);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == pfDevice)
        Value = pf32bit;
    if (Value == FPixelFormat)
        return;
    if (Empty()) {
        FPixelFormat = Value;
        FTable.clear();
        return;
    }
    if (PixelFormatBits(Value) != PixelFormatBits(FPixelFormat))
        FTable.clear();
    Reallocate(FWidth, FHeight, Value, true, false);
}

HBITMAP TBitmap::Handle() {
    return FHandle;
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

int TBitmap::RowSize() const {
    return ((FWidth * PixelFormatBits(FPixelFormat) + 31) / 32) * 4;
}

void* TBitmap::ScanLine(int Y) {
    if (!FBits || Y < 0 || Y >= FHeight)
        throw EInvalidGraphic(Format("Scan line index out of range (%d)", {Y}));
    return static_cast<std::uint8_t*>(FBits) + std::size_t(Y) * std::size_t(RowSize());
}

void TBitmap::SetColorTable(const std::vector<RGBQUAD>& Table) {
    const int Depth = PixelFormatBits(FPixelFormat);
    if (Depth > 8)
        return;
    const std::size_t Full = std::size_t(1) << Depth;
    FTable = Table;
    FTable.resize(Full, RGBQUAD{0, 0, 0, 0});
    if (FHandle)
        SetDIBColorTable(MemoryDC(), 0, UINT(Full), FTable.data());
    Changed();
}

HPALETTE TBitmap::Palette() {
    if (FTable.empty())
        return 0;
    if (FPalette)
        DeleteObject(ToObj(FPalette));
    LOGPALETTE L;
    L.palNumEntries = WORD(FTable.size());
    for (std::size_t i = 0; i < FTable.size(); ++i)
        L.palPalEntry[i] = {FTable[i].rgbRed, FTable[i].rgbGreen, FTable[i].rgbBlue, 0};
    FPalette = CreatePalette(&L);
    return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value) {
    if (!FHandle || PixelFormatBits(FPixelFormat) > 8 || !SetBitmapPalette(FHandle, Value))
        return;
    FTable.assign(std::size_t(1) << PixelFormatBits(FPixelFormat), RGBQUAD{0, 0, 0, 0});
    GetDIBColorTable(MemoryDC(), 0, UINT(FTable.size()), FTable.data());
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (Value != FTransparentMode) {
        FTransparentMode = Value;
        Changed();
    }
}

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    return TColor(GetPixel(MemoryDC(), 0, FHeight - 1) & 0xFFFFFF);
}

void TBitmap::SetTransparentColor(TColor Value) {
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
    if (Value != FAlphaFormat) {
        FAlphaFormat = Value;
        Changed();
    }
}

void TBitmap::Draw(TCanvas* Canvas, const TRect& R) {
    if (Empty())
        return;
    const HDC Dest = Canvas->Handle();
    if (FAlphaFormat == afDefined && FPixelFormat == pf32bit)
        DrawStraightAlpha(Dest, R, MemoryDC(), FWidth, FHeight);
    else if (Transparent())
        DrawKeyed(Dest, R, MemoryDC(), FWidth, FHeight, COLORREF(ColorToRGB(TransparentColor())));
    else
        StretchBlt(Dest, R.Left, R.Top, R.Width(), R.Height(), MemoryDC(), 0, 0, FWidth, FHeight,
                   Canvas->CopyMode());
}

void TBitmap::LoadPixels(int Width, int Height, TPixelFormat PF, const void* Rows,
                         const std::vector<RGBQUAD>& Table) {
    // The current picture goes only once the new one could be made.
    const std::vector<RGBQUAD> OldTable = FTable;
    FTable = Table;
    try {
        Reallocate(Width, Height, PF, false, false);
    } catch (...) {
        FTable = OldTable;
        throw;
    }
    if (!FHandle)
        return;
    if (!Table.empty())
        SetColorTable(Table);
    std::memcpy(FBits, Rows, std::size_t(RowSize()) * std::size_t(FHeight));
    Changed();
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        FreeImage();
        Changed();
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        if (B == this)
            return;
        if (B->Empty()) {
            FreeImage();
            FPixelFormat = B->FPixelFormat;
        } else {
            LoadPixels(B->FWidth, B->FHeight, B->FPixelFormat, B->FBits, B->FTable);
        }
        FTransparent = B->FTransparent;
        FTransparentMode = B->FTransparentMode;
        FTransparentColor = B->FTransparentColor;
        FAlphaFormat = B->FAlphaFormat;
        Changed();
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        Assign(P->Graphic());
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::AssignTo(TPersistent* Dest) {
    if (auto* P = dynamic_cast<TPicture*>(Dest)) {
        P->SetGraphic(this);
        return;
    }
    TGraphic::AssignTo(Dest);
}

void TBitmap::LoadFromStream(TStream* Stream) {
    TBmpImage Image = ReadBmp(*Stream);
    // Only a whole, valid picture replaces the current one.
    LoadPixels(Image.Width, Image.Height, Image.Format, Image.Pixels.data(), Image.Table);
}

void TBitmap::SaveToStream(TStream* Stream) {
    if (Empty())
        throw EInvalidGraphic("Bitmap image is not valid: the bitmap is empty");
    TBmpImage Image;
    Image.Width = FWidth;
    Image.Height = FHeight;
    Image.Format = FPixelFormat;
    Image.Table = FTable;
    Image.Pixels.assign(static_cast<std::uint8_t*>(FBits),
                        static_cast<std::uint8_t*>(FBits) + std::size_t(RowSize()) * FHeight);
    WriteBmp(*Stream, Image);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& Name) {
    (void)Instance;
    const std::vector<std::uint8_t>* Bytes = FindResource(Name);
    if (!Bytes)
        throw EResNotFound(Format("Resource %s not found", {Name}));
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes->data(), std::int64_t(Bytes->size()));
    Stream.SetPosition(0);
    LoadFromStream(&Stream);
}

// ---------------------------------------------------------------- picture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
    if (OnChange)
        OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> Graphic) {
    FGraphic = std::move(Graphic);
    if (FGraphic)
        FGraphic->OnChange = TNotifyEvent(this, &TPicture::Changed);
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (!Value) {
        Take(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> Copy = Value->NewInstance();
    Copy->Assign(Value);
    Take(std::move(Copy));
}

TBitmap* TPicture::Bitmap() {
    if (auto* B = dynamic_cast<TBitmap*>(FGraphic.get()))
        return B;
    auto B = std::make_unique<TBitmap>();
    if (FGraphic)
        B->Assign(FGraphic.get());
    TBitmap* Result = B.get();
    Take(std::move(B));
    return Result;
}

void TPicture::LoadFromFile(const std::string& FileName) {
    std::unique_ptr<TGraphic> G = CreateGraphicForExtension(ExtractFileExt(FileName));
    G->LoadFromFile(FileName);
    Take(std::move(G));
}

void TPicture::SaveToFile(const std::string& FileName) {
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) {
        SetGraphic(nullptr);
    } else if (auto* P = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(P->Graphic());
    } else if (auto* G = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(G);
    } else {
        TPersistent::Assign(Source);
    }
}
