// Icons: the platform's icon functions, the stock icons and the TIcon
// picture class. An icon keeps every image its file had; each image is
// 32-bit with straight alpha (a 1-bit mask becomes alpha 0 or 255), so
// every icon is drawn the same way: blended by its alpha.
#pragma once

#include "platform/gdi/Graphics.h"

#include <cstdint>
#include <vector>

// Pixels as 0xAARRGGBB with straight alpha, rows top-down.
struct TArgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    std::uint32_t& At(int X, int Y) {
        return Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)];
    }
    std::uint32_t At(int X, int Y) const {
        return Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)];
    }
};

// Blends the image stretched into R of a DC (nearest pixel by centres).
void DrawArgbImage(HDC DC, const TRect& R, const TArgbImage& Image);
// The image as a new 32-bit top-down DIB section (straight alpha kept).
HBITMAP ArgbToBitmap(const TArgbImage& Image);
// Any bitmap read as 32 bits; alpha as stored in a 32-bit one, else 255.
TArgbImage BitmapToArgb(HBITMAP Bitmap);
// Nearest-pixel scaling.
TArgbImage ScaleArgb(const TArgbImage& Image, int Width, int Height);

struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    HBITMAP hbmMask = 0;
    HBITMAP hbmColor = 0;
};

constexpr UINT DI_NORMAL = 3;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT LR_COPYFROMRESOURCE = 0x4000;

constexpr std::uintptr_t IDI_APPLICATION = 32512;
constexpr std::uintptr_t IDI_HAND = 32513;
constexpr std::uintptr_t IDI_ERROR = IDI_HAND;
constexpr std::uintptr_t IDI_QUESTION = 32514;
constexpr std::uintptr_t IDI_EXCLAMATION = 32515;
constexpr std::uintptr_t IDI_WARNING = IDI_EXCLAMATION;
constexpr std::uintptr_t IDI_ASTERISK = 32516;
constexpr std::uintptr_t IDI_INFORMATION = IDI_ASTERISK;

// The colour bitmap's pixels; where its alpha is all zero (or it is not
// 32-bit), the mask decides: mask bit 1 is transparent.
HICON CreateIconIndirect(const ICONINFO* Info);
// Copies of the colour (32-bit) and mask (1-bit) bitmaps; the caller deletes them.
BOOL GetIconInfo(HICON Icon, ICONINFO* Info);
BOOL DestroyIcon(HICON Icon);
// At the icon's own size when CX and CY are 0, scaled otherwise.
BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int CX, int CY, UINT StepIfAniCur,
                HBRUSH FlickerFreeDraw, UINT Flags);
// The image of that size when the icon has one, else a scaled copy.
HICON CopyImage(HICON Icon, UINT Type, int CX, int CY, UINT Flags);
// Only the stock icons (Instance 0); shared, never destroyed.
HICON LoadIcon(HINSTANCE Instance, std::uintptr_t Id);

// Internal to the layer: an icon from its images and the images of an icon.
HICON CreateIconFromImages(std::vector<TArgbImage> Images);
const std::vector<TArgbImage>* IconImages(HICON Icon, std::vector<TArgbImage>& Storage);
// The image drawn by default: the 32 x 32 one, else the largest.
int MainIconImage(const std::vector<TArgbImage>& Images);

// ICO files. Raises EInvalidGraphic "Icon image is not valid: ...".
std::vector<TArgbImage> ReadIco(TStream& Stream);
void WriteIco(TStream& Stream, const TArgbImage& Image);

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TIcon>(); }
    bool Empty() const override { return FImages.empty(); }
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool Transparent() const override { return true; }
    // Made on demand; owned by the icon.
    HICON Handle();
    // Takes a copy of the icon's images.
    void SetHandle(HICON Value);
    const std::vector<TArgbImage>& Images() const { return FImages; }
    void SetImages(std::vector<TArgbImage> Images);

    void Draw(TCanvas* Canvas, const TRect& R) override;
    void LoadFromStream(TStream* Stream) override;
    // One 32-bit image with its mask: the one drawn by default.
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;
    void AssignTo(TPersistent* Dest) override;

private:
    void ReleaseHandle();
    std::vector<TArgbImage> FImages;
    HICON FHandle = 0;
};
