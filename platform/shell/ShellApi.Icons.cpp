#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/gdi/Graphics.h"
#include "platform/shell/ShellInternal.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <string_view>

namespace {

constexpr TColor KeyColour = clFuchsia;

// Draws one picture on a Size x Size canvas; coordinates are given on a
// 16-pixel grid and scaled.
class TIconPainter {
public:
    TIconPainter(TCanvas* Canvas, int Size) : FCanvas(Canvas), FScale(Size / 16) {}

    void Box(int L, int T, int R, int B, TColor Fill, TColor Line = clBlack) {
        FCanvas->Pen()->SetColor(Line);
        FCanvas->Brush()->SetColor(Fill);
        FCanvas->Rectangle(L * FScale, T * FScale, R * FScale, B * FScale);
    }
    void Disc(int L, int T, int R, int B, TColor Fill, TColor Line = clBlack) {
        FCanvas->Pen()->SetColor(Line);
        FCanvas->Brush()->SetColor(Fill);
        FCanvas->Ellipse(L * FScale, T * FScale, R * FScale, B * FScale);
    }
    void Shape(std::initializer_list<TPoint> Points, TColor Fill) {
        std::vector<TPoint> Scaled;
        for (TPoint P : Points)
            Scaled.push_back({P.X * FScale, P.Y * FScale});
        FCanvas->Pen()->SetColor(clBlack);
        FCanvas->Brush()->SetColor(Fill);
        FCanvas->Polygon(Scaled);
    }
    void Page(TColor Fill = clWhite) { Shape({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, Fill); }
    void Folder(bool Open) {
        Shape({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 14}, {1, 14}}, TColor(0x40C0F0));
        if (Open)
            Shape({{3, 8}, {15, 8}, {13, 14}, {1, 14}}, TColor(0x80E0FF));
    }

private:
    TCanvas* FCanvas;
    int FScale;
};

void PaintIcon(TIconPainter& P, TShellIcon Icon) {
    switch (Icon) {
    case siDocument:
        P.Page();
        break;
    case siFolder:
        P.Folder(false);
        break;
    case siOpenFolder:
        P.Folder(true);
        break;
    case siDesktop:
        P.Box(1, 2, 15, 12, TColor(0xC08040));
        P.Box(6, 12, 10, 15, clGray);
        break;
    case siComputer:
        P.Box(2, 1, 14, 10, clSilver);
        P.Box(3, 2, 13, 9, TColor(0x804000));
        P.Box(1, 11, 15, 15, clSilver);
        break;
    case siHome:
        P.Shape({{8, 1}, {15, 8}, {1, 8}}, TColor(0x2040C0));
        P.Box(3, 8, 13, 15, TColor(0xC0E0F0));
        P.Box(7, 10, 10, 15, TColor(0x204080));
        break;
    case siHardDisk:
        P.Box(1, 5, 15, 12, clSilver);
        P.Box(11, 8, 13, 10, clLime);
        break;
    case siRemovable:
        P.Box(4, 1, 12, 15, TColor(0x808080));
        P.Box(6, 1, 10, 4, clSilver);
        break;
    case siOptical:
        P.Disc(1, 1, 15, 15, TColor(0xE0E0E0));
        P.Disc(6, 6, 10, 10, KeyColour);
        break;
    case siNetwork:
        P.Box(1, 3, 15, 9, clSilver);
        P.Box(7, 9, 9, 13, clBlack);
        P.Box(2, 13, 14, 15, clBlack);
        break;
    case siVideo:
        P.Page();
        P.Box(5, 6, 11, 12, TColor(0x800000));
        break;
    case siAudio:
        P.Page();
        P.Disc(5, 9, 9, 13, TColor(0x008000));
        P.Box(8, 4, 9, 11, TColor(0x008000));
        break;
    case siPicture:
        P.Page();
        P.Box(5, 5, 11, 12, TColor(0x00C0FF));
        P.Shape({{5, 12}, {8, 8}, {11, 12}}, TColor(0x008000));
        break;
    }
}

// The two system image lists, drawn once on first use.
class TShellImages {
public:
    TShellImages() : FSmall(nullptr), FLarge(nullptr) {
        Fill(FSmall, 16);
        Fill(FLarge, 32);
    }
    TCustomImageList* List(bool Large) { return Large ? &FLarge : &FSmall; }

private:
    static void Fill(TImageList& List, int Size) {
        List.SetWidth(Size);
        List.SetHeight(Size);
        for (int Icon = siDocument; Icon <= siPicture; ++Icon) {
            TBitmap Picture;
            Picture.SetSize(Size, Size);
            Picture.Canvas()->Brush()->SetColor(KeyColour);
            Picture.Canvas()->FillRect({0, 0, Size, Size});
            TIconPainter Painter(Picture.Canvas(), Size);
            PaintIcon(Painter, static_cast<TShellIcon>(Icon));
            List.AddMasked(&Picture, KeyColour);
        }
    }

    TImageList FSmall;
    TImageList FLarge;
};

bool HasExtension(std::string_view Ext, std::initializer_list<std::string_view> List) {
    return std::find(List.begin(), List.end(), Ext) != List.end();
}

TShellIcon FileIcon(const std::string& Name) {
    const std::string Ext = LowerCase(ExtractFileExt(Name));
    const std::string_view Bare =
        Ext.empty() ? std::string_view() : std::string_view(Ext).substr(1);
    if (HasExtension(Bare, {"avi", "mp4", "m4v",  "mkv",  "mov", "mpg", "mpeg", "vob",
                            "wmv", "asf", "flv",  "swf",  "3gp", "3g2", "rm",   "rmvb",
                            "ts",  "mts", "m2ts", "webm", "ogv", "dat"}))
        return siVideo;
    if (HasExtension(Bare, {"mp3", "wav", "wma", "aac", "m4a", "ogg", "flac", "ac3", "aiff", "aif",
                            "mp2", "amr", "ra", "ape"}))
        return siAudio;
    if (HasExtension(Bare, {"bmp", "jpg", "jpeg", "png", "gif", "ico"}))
        return siPicture;
    return siDocument;
}

std::uintptr_t FileInfoOf(const shell_detail::TPlace& Place, SHFILEINFO* Info, UINT Flags) {
    const bool Large = !(Flags & SHGFI_SMALLICON);
    if (Info && (Flags & SHGFI_SYSICONINDEX))
        Info->iIcon = shell_detail::IconOf(Place, Flags & SHGFI_OPENICON);
    if (Flags & SHGFI_SYSICONINDEX)
        return reinterpret_cast<std::uintptr_t>(ShellImageList(Large)->Handle());
    return 1;
}

} // namespace

TCustomImageList* ShellImageList(bool Large) {
    static std::once_flag Once;
    static TShellImages* Images = nullptr;
    // Kept for the life of the process: controls hold the lists' handles.
    std::call_once(Once, [] { Images = new TShellImages; });
    return Images->List(Large);
}

namespace shell_detail {

int IconOf(const TPlace& Place, bool Open) {
    switch (Place.Kind) {
    case pkDesktop:
        return siDesktop;
    case pkComputer:
        return siComputer;
    case pkHome:
        return siHome;
    case pkMount: {
        const std::optional<TDriveInfo> Drive = DriveOf(Place.Path);
        const TDriveType Type = Drive ? Drive->Type : dtFixed;
        return Type == dtCDROM       ? siOptical
               : Type == dtRemote    ? siNetwork
               : Type == dtRemovable ? siRemovable
                                     : siHardDisk;
    }
    case pkEntry:
        break;
    }
    if (IsFolderPlace(Place))
        return Open ? siOpenFolder : siFolder;
    return FileIcon(Place.Items.back().Name);
}

} // namespace shell_detail

std::uintptr_t SHGetFileInfo(const std::string& Path, DWORD, SHFILEINFO* Info, UINT, UINT Flags) {
    const std::optional<shell_detail::TPlace> Place = shell_detail::ParsePath(Path);
    if (!Place)
        return 0;
    return FileInfoOf(*Place, Info, Flags);
}

std::uintptr_t SHGetFileInfo(const ITEMIDLIST* ID, DWORD, SHFILEINFO* Info, UINT, UINT Flags) {
    const std::optional<std::vector<shell_detail::TItem>> Items = shell_detail::DecodeList(ID);
    shell_detail::TPlace Place;
    if (!Items || !shell_detail::Walk(shell_detail::TPlace{}, *Items, Place))
        return 0;
    return FileInfoOf(Place, Info, Flags);
}
