// The handle table, stock objects and the selection of objects into DCs.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace gdi {

namespace {

struct TTable {
    std::mutex Lock;
    std::unordered_map<std::uintptr_t, std::shared_ptr<TGdiObject>> Objects;
    // Handles are never reused, so a stale one can never reach a new object.
    std::uintptr_t Next = 0x10000;
};

TTable& Table() {
    static TTable* T = new TTable; // outlives every static that may still hold handles
    return *T;
}

} // namespace

std::uintptr_t Register(std::shared_ptr<TGdiObject> Obj) {
    TTable& T = Table();
    std::lock_guard Guard(T.Lock);
    const std::uintptr_t Id = (T.Next += 4);
    T.Objects.emplace(Id, std::move(Obj));
    return Id;
}

std::shared_ptr<TGdiObject> Find(const void* Handle) {
    if (!Handle)
        return nullptr;
    TTable& T = Table();
    std::lock_guard Guard(T.Lock);
    auto It = T.Objects.find(reinterpret_cast<std::uintptr_t>(Handle));
    return It == T.Objects.end() ? nullptr : It->second;
}

bool Unregister(const void* Handle) {
    TTable& T = Table();
    std::shared_ptr<TGdiObject> Doomed; // destroyed outside the lock
    std::lock_guard Guard(T.Lock);
    auto It = T.Objects.find(reinterpret_cast<std::uintptr_t>(Handle));
    if (It == T.Objects.end())
        return false;
    Doomed = std::move(It->second);
    T.Objects.erase(It);
    return true;
}

std::shared_ptr<TDcObj> LookupDC(HDC DC) {
    std::shared_ptr<TGdiObject> Obj = Find(DC);
    if (!Obj || (Obj->Kind != TKind::DC && Obj->Kind != TKind::MemDC))
        return nullptr;
    return std::static_pointer_cast<TDcObj>(Obj);
}

namespace {

struct TStock {
    HGDIOBJ Objects[18] = {};
    HBITMAP MonoBitmap = 0;
    HBRUSH SysBrushes[31] = {};
};

template <class T> HGDIOBJ MakeStock(std::shared_ptr<T> Obj) {
    Obj->Stock = true;
    return reinterpret_cast<HGDIOBJ>(Register(std::move(Obj)));
}

HGDIOBJ StockBrush(COLORREF Color, UINT Style = BS_SOLID) {
    auto B = std::make_shared<TBrushObj>();
    B->Log.lbColor = Color;
    B->Log.lbStyle = Style;
    return MakeStock(B);
}

HGDIOBJ StockPen(COLORREF Color, int Style = PS_SOLID) {
    auto P = std::make_shared<TPenObj>();
    P->Log.lopnColor = Color;
    P->Log.lopnStyle = UINT(Style);
    P->Log.lopnWidth = {1, 0};
    return MakeStock(P);
}

const TStock& Stock() {
    static const TStock* S = [] {
        auto* S = new TStock;
        S->Objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
        S->Objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
        S->Objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
        S->Objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
        S->Objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
        S->Objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
        S->Objects[WHITE_PEN] = StockPen(RGB(255, 255, 255));
        S->Objects[BLACK_PEN] = StockPen(RGB(0, 0, 0));
        S->Objects[NULL_PEN] = StockPen(0, PS_NULL);
        auto Font = [] {
            auto F = std::make_shared<TFontObj>();
            F->Log.lfHeight = -11;
            F->Log.lfFaceName = "MS Sans Serif";
            return MakeStock(F);
        };
        S->Objects[SYSTEM_FONT] = Font();
        S->Objects[DEFAULT_GUI_FONT] = Font();
        auto Pal = std::make_shared<TPaletteObj>();
        Pal->Colors = DefaultTable(4);
        S->Objects[DEFAULT_PALETTE] = MakeStock(Pal);
        auto Mono = std::make_shared<TBitmapObj>();
        Mono->Table = DefaultTable(1);
        Mono->Storage.assign(4, 0);
        Mono->Pixels = {Mono->Storage.data(), 1, 1, 4, 1, false, &Mono->Table};
        Mono->Header.biWidth = 1;
        Mono->Header.biHeight = -1;
        Mono->Header.biBitCount = 1;
        S->MonoBitmap = reinterpret_cast<HBITMAP>(MakeStock(Mono));
        for (int i = 0; i < 31; ++i)
            S->SysBrushes[i] = reinterpret_cast<HBRUSH>(StockBrush(GetSysColor(i)));
        return S;
    }();
    return *S;
}

} // namespace

HBITMAP StockMonoBitmap() {
    return Stock().MonoBitmap;
}

namespace {

// The platform lets a system colour index + 1 stand for its brush.
int SysColorBrushIndex(HBRUSH Brush) {
    const auto Value = reinterpret_cast<std::uintptr_t>(Brush);
    return Value >= 1 && Value <= 31 ? int(Value) - 1 : -1;
}

} // namespace

bool ValidBrush(HBRUSH Brush) {
    return SysColorBrushIndex(Brush) >= 0 || Lookup<TBrushObj>(Brush, TKind::Brush) != nullptr;
}

COLORREF BrushColor(HBRUSH Brush, bool* Hollow) {
    if (const int Index = SysColorBrushIndex(Brush); Index >= 0) {
        *Hollow = false;
        return GetSysColor(Index);
    }
    auto B = Lookup<TBrushObj>(Brush, TKind::Brush);
    if (!B || B->Log.lbStyle == BS_NULL) {
        *Hollow = true;
        return 0;
    }
    *Hollow = false;
    return B->Log.lbColor;
}

std::shared_ptr<TFontObj> SelectedFont(const TDcObj& Dc) {
    auto F = Lookup<TFontObj>(Dc.State.Font, TKind::Font);
    if (!F)
        F = Lookup<TFontObj>(Stock().Objects[DEFAULT_GUI_FONT], TKind::Font);
    return F;
}

void InitDcState(TDcState& S) {
    S = TDcState{};
    S.Pen = reinterpret_cast<HPEN>(Stock().Objects[BLACK_PEN]);
    S.Brush = reinterpret_cast<HBRUSH>(Stock().Objects[WHITE_BRUSH]);
    S.Font = reinterpret_cast<HFONT>(Stock().Objects[DEFAULT_GUI_FONT]);
    S.Palette = reinterpret_cast<HPALETTE>(Stock().Objects[DEFAULT_PALETTE]);
}

void CountSelection(const TDcState& State, int Delta) {
    for (const void* H :
         {static_cast<const void*>(State.Pen), static_cast<const void*>(State.Brush),
          static_cast<const void*>(State.Font), static_cast<const void*>(State.Palette)})
        if (auto Obj = Find(H))
            Obj->SelectCount += Delta;
}

} // namespace gdi

using namespace gdi;

int GetObjectType(HGDIOBJ Obj) {
    auto O = Find(Obj);
    if (!O || O->Kind == TKind::Icon || O->Kind == TKind::ImageList)
        return 0;
    return int(O->Kind);
}

HGDIOBJ GetStockObject(int Index) {
    if (Index < 0 || Index >= 18)
        return 0;
    return Stock().Objects[Index];
}

HBRUSH GetSysColorBrush(int Index) {
    if (Index < 0 || Index >= 31)
        return 0;
    return Stock().SysBrushes[Index];
}

HPEN CreatePen(int Style, int Width, COLORREF Color) {
    if (Style != PS_SOLID && Style != PS_DASH && Style != PS_DOT && Style != PS_NULL)
        Style = PS_SOLID;
    auto P = std::make_shared<TPenObj>();
    P->Log.lopnStyle = UINT(Style);
    P->Log.lopnWidth = {std::max(Width, 0), 0};
    P->Log.lopnColor = Color & 0xFFFFFF;
    return MakeHandle<HPEN>(P);
}

HBRUSH CreateSolidBrush(COLORREF Color) {
    auto B = std::make_shared<TBrushObj>();
    B->Log.lbColor = Color & 0xFFFFFF;
    return MakeHandle<HBRUSH>(B);
}

HFONT CreateFontIndirect(const LOGFONT* Font) {
    if (!Font || Font->lfWidth != 0 || Font->lfEscapement != 0 || Font->lfOrientation != 0)
        return 0;
    auto F = std::make_shared<TFontObj>();
    F->Log = *Font;
    if (F->Log.lfHeight == 0)
        F->Log.lfHeight = -11;
    return MakeHandle<HFONT>(F);
}

HPALETTE CreatePalette(const LOGPALETTE* Palette) {
    if (!Palette || Palette->palVersion != 0x300 || Palette->palNumEntries > 256)
        return 0;
    auto P = std::make_shared<TPaletteObj>();
    for (int i = 0; i < Palette->palNumEntries; ++i) {
        const PALETTEENTRY& E = Palette->palPalEntry[i];
        P->Colors.push_back({E.peBlue, E.peGreen, E.peRed, 0});
    }
    return MakeHandle<HPALETTE>(P);
}

BOOL SetBitmapPalette(HBITMAP Bitmap, HPALETTE Palette) {
    auto B = Lookup<TBitmapObj>(Bitmap, TKind::Bitmap);
    auto P = Lookup<TPaletteObj>(Palette, TKind::Palette);
    if (!B || !P || B->Pixels.BitCount > 8 || B->Stock)
        return FALSE;
    const std::size_t Size = std::size_t(1) << B->Pixels.BitCount;
    for (std::size_t i = 0; i < Size && i < P->Colors.size(); ++i) {
        if (i >= B->Table.size())
            B->Table.push_back(P->Colors[i]);
        else
            B->Table[i] = P->Colors[i];
    }
    return TRUE;
}

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Obj) {
    auto D = LookupDC(DC);
    auto O = Find(Obj);
    if (!D || !O)
        return 0;
    TDcState& S = D->State;
    switch (O->Kind) {
    case TKind::Pen:
        return reinterpret_cast<HGDIOBJ>(Reselect(S.Pen, reinterpret_cast<HPEN>(Obj)));
    case TKind::Brush:
        return reinterpret_cast<HGDIOBJ>(Reselect(S.Brush, reinterpret_cast<HBRUSH>(Obj)));
    case TKind::Font:
        return reinterpret_cast<HGDIOBJ>(Reselect(S.Font, reinterpret_cast<HFONT>(Obj)));
    case TKind::Region: {
        // As the platform does: selecting a region sets the clip and answers its kind.
        return reinterpret_cast<HGDIOBJ>(
            std::intptr_t(SelectClipRgn(DC, reinterpret_cast<HRGN>(Obj))));
    }
    case TKind::Palette: {
        auto P = std::static_pointer_cast<TPaletteObj>(O);
        const HPALETTE Old = Reselect(S.Palette, reinterpret_cast<HPALETTE>(Obj));
        if (D->Type == TDcObj::dcMemory)
            SetBitmapPalette(S.Bitmap, reinterpret_cast<HPALETTE>(Obj));
        return reinterpret_cast<HGDIOBJ>(Old);
    }
    case TKind::Bitmap: {
        if (D->Type != TDcObj::dcMemory)
            return 0;
        auto B = std::static_pointer_cast<TBitmapObj>(O);
        const HBITMAP New = reinterpret_cast<HBITMAP>(Obj);
        if (New == S.Bitmap)
            return Obj;
        if (B->SelectedInto && !B->Stock && LookupDC(B->SelectedInto))
            return 0; // one DC at a time
        if (auto OldB = Lookup<TBitmapObj>(S.Bitmap, TKind::Bitmap))
            OldB->SelectedInto = 0;
        if (!B->Stock)
            B->SelectedInto = DC;
        return reinterpret_cast<HGDIOBJ>(std::exchange(S.Bitmap, New));
    }
    default:
        return 0;
    }
}

BOOL DeleteObject(HGDIOBJ Obj) {
    auto O = Find(Obj);
    if (!O || O->Kind == TKind::DC || O->Kind == TKind::MemDC || O->Kind == TKind::Icon ||
        O->Kind == TKind::ImageList)
        return FALSE;
    if (O->Stock)
        return TRUE;
    if (O->SelectCount > 0)
        return FALSE;
    if (O->Kind == TKind::Bitmap) {
        auto B = std::static_pointer_cast<TBitmapObj>(O);
        if (B->SelectedInto) {
            auto D = LookupDC(B->SelectedInto);
            if (D && D->State.Bitmap == reinterpret_cast<HBITMAP>(Obj))
                return FALSE;
        }
    }
    return Unregister(Obj) ? TRUE : FALSE;
}

HGDIOBJ GetCurrentObject(HDC DC, int Kind) {
    auto D = LookupDC(DC);
    if (!D)
        return 0;
    switch (Kind) {
    case OBJ_PEN:
        return reinterpret_cast<HGDIOBJ>(D->State.Pen);
    case OBJ_BRUSH:
        return reinterpret_cast<HGDIOBJ>(D->State.Brush);
    case OBJ_FONT:
        return reinterpret_cast<HGDIOBJ>(D->State.Font);
    case OBJ_PAL:
        return reinterpret_cast<HGDIOBJ>(D->State.Palette);
    case OBJ_BITMAP:
        return D->Type == TDcObj::dcMemory ? reinterpret_cast<HGDIOBJ>(D->State.Bitmap) : 0;
    default:
        return 0;
    }
}

int GetObject(HGDIOBJ Obj, int Size, void* Buffer) {
    auto O = Find(Obj);
    if (!O)
        return 0;
    auto Answer = [&](const auto& Record) -> int {
        if (!Buffer)
            return int(sizeof(Record));
        if (Size < int(sizeof(Record)))
            return 0;
        std::memcpy(Buffer, &Record, sizeof(Record));
        return int(sizeof(Record));
    };
    switch (O->Kind) {
    case TKind::Bitmap: {
        auto B = std::static_pointer_cast<TBitmapObj>(O);
        BITMAP Bm;
        Bm.bmWidth = B->Pixels.Width;
        Bm.bmHeight = B->Pixels.Height;
        Bm.bmWidthBytes = B->Pixels.Stride;
        Bm.bmBitsPixel = WORD(B->Pixels.BitCount);
        Bm.bmBits = B->DibSection ? B->Pixels.Bits : nullptr;
        if (Buffer && Size >= int(sizeof(DIBSECTION))) {
            if (!B->DibSection)
                return 0;
            DIBSECTION Ds;
            Ds.dsBm = Bm;
            Ds.dsBmih = B->Header;
            if (B->Header.biCompression == BI_BITFIELDS) {
                Ds.dsBitfields[0] = 0xFF0000;
                Ds.dsBitfields[1] = 0xFF00;
                Ds.dsBitfields[2] = 0xFF;
            }
            std::memcpy(Buffer, &Ds, sizeof(Ds));
            return int(sizeof(Ds));
        }
        return Answer(Bm);
    }
    case TKind::Pen:
        return Answer(std::static_pointer_cast<TPenObj>(O)->Log);
    case TKind::Brush:
        return Answer(std::static_pointer_cast<TBrushObj>(O)->Log);
    case TKind::Palette: {
        const WORD Count = WORD(std::static_pointer_cast<TPaletteObj>(O)->Colors.size());
        return Answer(Count);
    }
    default:
        return 0;
    }
}

int GetObject(HGDIOBJ Obj, LOGFONT* Font) {
    auto F = Lookup<TFontObj>(Obj, TKind::Font);
    if (!F || !Font)
        return 0;
    *Font = F->Log;
    return int(sizeof(LOGFONT));
}
