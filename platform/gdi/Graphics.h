// The class library's graphics objects over the graphics interface: fonts,
// pens, brushes, the canvas, and the picture classes.
//
// A canvas selects its font, pen and brush into its DC before each
// operation; attached to a foreign DC it puts the DC's own objects back when
// it lets go of it. A bitmap is always a DIB section; its canvas is a memory
// DC made on first use.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Objects.h"
#include "platform/core/Streams.h"
#include "platform/core/SyncObjects.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GraphicErrors.h"

#include <memory>
#include <string>
#include <vector>

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Points at PixelsPerInch: Height = -round(Size * 96 / 72).
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    int PixelsPerInch() const { return 96; }
    // Made on demand; owned by the font.
    HFONT Handle();
    void Assign(TPersistent* Source) override;

private:
    void Modify();
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = DEFAULT_CHARSET;
    HFONT FHandle = 0;
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    ~TPen() override;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);
    HPEN Handle();
    void Assign(TPersistent* Source) override;

private:
    void Modify();
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    HPEN FHandle = 0;
};

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid.
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    HBRUSH Handle();
    void Assign(TPersistent* Source) override;

private:
    void Modify();
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    HBRUSH FHandle = 0;
};

class TGraphic;

constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;
constexpr TCopyMode cmPatCopy = PATCOPY;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The DC; a canvas attached with SetHandle does not own it.
    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != 0; }

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value);
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    // The clip box in logical coordinates.
    TRect ClipRect();

    // A recursive lock for drawing from more than one thread.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return FLockCount; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    // Drops the selected objects from the DC (they are selected again on use).
    void Refresh();

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void DrawFocusRect(const TRect& R);
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);

    void TextOut(int X, int Y, const std::string& Text);
    void TextRect(const TRect& R, int X, int Y, const std::string& Text);
    int TextWidth(const std::string& Text);
    int TextHeight(const std::string& Text);
    TSize TextExtent(const std::string& Text);

    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

protected:
    virtual void CreateHandle() {}
    // Puts back the objects the DC had before this canvas selected its own.
    void DeselectHandles();
    void Changing();
    void Changed();
    // The DC with the canvas's font, pen and brush selected.
    HDC RequiredState(bool NeedFont, bool NeedPen, bool NeedBrush);

    HDC FHandle = 0;

private:
    void ObjectChanged(TObject* Sender);

    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    HGDIOBJ FOldFont = 0, FOldPen = 0, FOldBrush = 0;
    bool FFontSelected = false, FPenSelected = false, FBrushSelected = false;
    // Whether the DC's text background was made transparent for a clear brush.
    bool FClearTextBackground = false;
    TCriticalSection FLock;
    int FLockCount = 0;
};

// Frame3D of the class library on a canvas.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width);

class TGraphic : public TPersistent {
public:
    // A new, empty graphic of the same class.
    virtual std::unique_ptr<TGraphic> NewInstance() const = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    // Draws the picture stretched into R of the canvas.
    virtual void Draw(TCanvas* Canvas, const TRect& R) = 0;
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    bool FTransparent = false;
    bool FModified = false;
};

class TBitmapCanvas;

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBitmap>(); }
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int Value) override { SetSize(Value, FHeight); }
    void SetHeight(int Value) override { SetSize(FWidth, Value); }
    // Keeps the overlapping top-left part and fills the new part with the
    // canvas's brush (nothing when it is clear).
    void SetSize(int NewWidth, int NewHeight);
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    TBitmapHandleType HandleType() const { return bmDIB; }
    HBITMAP Handle();
    TCanvas* Canvas();
    // Row Y from the top; raises EInvalidGraphic outside the bitmap.
    void* ScanLine(int Y);
    int RowSize() const;
    // 8 bits and below: the colour table as a palette (owned by the bitmap).
    HPALETTE Palette();
    void SetPalette(HPALETTE Value);
    const std::vector<RGBQUAD>& ColorTable() const { return FTable; }
    void SetColorTable(const std::vector<RGBQUAD>& Table);

    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);
    // tmAuto: the bottom-left pixel's colour.
    TColor TransparentColor();
    void SetTransparentColor(TColor Value);
    TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
    void SetAlphaFormat(TAlphaFormat Value);

    void Assign(TPersistent* Source) override;
    void AssignTo(TPersistent* Dest) override;
    void Draw(TCanvas* Canvas, const TRect& R) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const std::string& Name);

    // Makes a bitmap of the given size and format with the given pixels, rows
    // top-down and padded to 4 bytes; used by the picture readers.
    void LoadPixels(int Width, int Height, TPixelFormat Format, const void* Rows,
                    const std::vector<RGBQUAD>& Table);

private:
    friend class TBitmapCanvas;
    void Reallocate(int NewWidth, int NewHeight, TPixelFormat Format, bool KeepPixels,
                    bool FillNew);
    void FreeImage();
    HDC MemoryDC();

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pf32bit;
    HBITMAP FHandle = 0;
    void* FBits = nullptr;
    std::vector<RGBQUAD> FTable;
    HPALETTE FPalette = 0;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    TAlphaFormat FAlphaFormat = afIgnored;
};

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes a copy of Value's content (null empties the picture).
    void SetGraphic(TGraphic* Value);
    // Makes the graphic a TBitmap when it is not one.
    TBitmap* Bitmap();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    // The format follows the extension; on failure the picture keeps its graphic.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    void Changed(TObject* Sender);
    void Take(std::unique_ptr<TGraphic> Graphic);
    std::unique_ptr<TGraphic> FGraphic;
};

// A graphic of the class that reads files of this extension (".bmp", any
// case); raises EInvalidGraphic for metafiles and unknown extensions.
std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& Extension);

// Draws Source (SW x SH pixels from its (0,0)) stretched into R of Dest,
// leaving out the pixels of colour Key.
void DrawKeyed(HDC Dest, const TRect& R, HDC Source, int SW, int SH, COLORREF Key);
// Draws a 32-bit source with straight alpha, blended, stretched into R.
void DrawStraightAlpha(HDC Dest, const TRect& R, HDC Source, int SW, int SH);

// Pictures compiled into the program, registered by name.
void RegisterResource(const std::string& Name, std::vector<std::uint8_t> Bytes);
// Null when no resource has that name.
const std::vector<std::uint8_t>* FindResource(const std::string& Name);
