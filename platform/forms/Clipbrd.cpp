#include "platform/forms/Clipbrd.h"

#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Holds the clipboard open for one exchange.
class TClipboardOpen {
public:
    TClipboardOpen() {
        if (!OpenClipboard(nullptr))
            throw EClipboardException("Cannot open clipboard");
    }
    ~TClipboardOpen() { CloseClipboard(); }
    TClipboardOpen(const TClipboardOpen&) = delete;
    TClipboardOpen& operator=(const TClipboardOpen&) = delete;
};

} // namespace

void TClipboard::Assign(TPersistent* Source) {
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        SetBitmap(B);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source); P && P->Graphic()) {
        TBitmap B;
        B.Assign(P);
        SetBitmap(&B);
        return;
    }
    TPersistent::Assign(Source);
}

void TClipboard::AssignTo(TPersistent* Dest) {
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        GetBitmap(B);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Dest)) {
        // Read first: a clipboard without a picture leaves the picture alone.
        TBitmap B;
        GetBitmap(&B);
        P->Bitmap()->Assign(&B);
        return;
    }
    TPersistent::AssignTo(Dest);
}

bool TClipboard::HasFormat(unsigned Format) const {
    return IsClipboardFormatAvailable(Format);
}

void TClipboard::SetBitmap(TBitmap* Bitmap) {
    TBitmap Copy;
    Copy.Assign(Bitmap);
    Copy.SetPixelFormat(pf32bit);
    BITMAPINFOHEADER H;
    H.biWidth = Copy.Width();
    H.biHeight = -Copy.Height();
    H.biBitCount = 32;
    const std::size_t Row = std::size_t(Copy.Width()) * 4;
    H.biSizeImage = DWORD(Row * std::size_t(Copy.Height()));
    HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, sizeof H + H.biSizeImage);
    auto* Bytes = static_cast<char*>(GlobalLock(Block));
    std::memcpy(Bytes, &H, sizeof H);
    for (int Y = 0; Y < Copy.Height(); ++Y)
        std::memcpy(Bytes + sizeof H + Row * std::size_t(Y), Copy.ScanLine(Y), Row);
    GlobalUnlock(Block);
    TClipboardOpen Open;
    EmptyClipboard();
    // The clipboard owns the block only once it took it.
    if (!SetClipboardData(CF_DIB, Block)) {
        GlobalFree(Block);
        throw EClipboardException("Cannot put the picture on the clipboard");
    }
}

void TClipboard::GetBitmap(TBitmap* Bitmap) {
    TClipboardOpen Open;
    HANDLE Block = GetClipboardData(CF_DIB);
    const auto* Bytes = Block ? static_cast<const char*>(GlobalLock(Block)) : nullptr;
    if (!Bytes)
        throw EClipboardException("The clipboard holds no picture");
    // The clipboard hands out top-down 32-bit pictures only.
    BITMAPINFOHEADER H;
    std::memcpy(&H, Bytes, sizeof H);
    Bitmap->LoadPixels(H.biWidth, -H.biHeight, pf32bit, Bytes + H.biSize, {});
    GlobalUnlock(Block);
}

TClipboard* Clipboard() {
    static TClipboard Instance;
    return &Instance;
}
