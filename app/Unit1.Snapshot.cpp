// Snapshots of the preview: the picture on display saved into the snapshot
// folder under the next free numbered name, in the type the snapshot menu
// ticks, and the menu's folder commands.
#include "app/Unit1.h"

#include "app/ExternalActions.h"
#include "app/OptionFile.h"
#include "app/PreviewPlayer.h"
#include "app/ProgramServices.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/GifImage.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/PngImage.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/forms/bsSkinMenus.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

namespace {

TOptionFile Options() {
    return TOptionFile(ProgramFolder());
}

// A copy of the picture the player shows; 0 wide when there is none.
std::unique_ptr<TBitmap> CopyOfCurrentFrame(IPreviewPlayer& Player) {
    auto Copy = std::make_unique<TBitmap>();
    if (TBitmap* Frame = Player.CurrentFrame())
        Copy->Assign(Frame);
    return Copy;
}

std::string LowerCase(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
    return Text;
}

void SaveAsJpeg(TBitmap& Picture, const std::string& FileName) {
    TJPEGImage Image;
    Image.Assign(&Picture);
    Image.SaveToFile(FileName);
}

// Type is "BMP", "JPG", "GIF" or "PNG".
void SavePicture(TBitmap& Picture, const std::string& Type, const std::string& FileName) {
    if (Type == "JPG") {
        SaveAsJpeg(Picture, FileName);
    } else if (Type == "GIF") {
        TGIFImage Image;
        Image.Assign(&Picture);
        Image.SaveToFile(FileName);
    } else if (Type == "PNG") {
        TPngImage Image;
        Image.Assign(&Picture);
        Image.SaveToFile(FileName);
    } else {
        Picture.SaveToFile(FileName);
    }
}

} // namespace

void TForm1::BindSnapshotCommands() {
    bsSkinButton22->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton22Click);
    bsSkinButton23->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton23Click);
    bsSkinButton23->OnMouseDown = TMouseEvent(this, &TForm1::bsSkinButton23MouseDown);
    bsSkinButton23->SetPopupMenu(bsSkinPopupMenu2);
    MenuItem1->OnClick = TNotifyEvent(this, &TForm1::MenuItem1Click);
    MenuItem2->OnClick = TNotifyEvent(this, &TForm1::MenuItem2Click);
    BMP1->OnClick = TNotifyEvent(this, &TForm1::BMP1Click);
    JPG1->OnClick = TNotifyEvent(this, &TForm1::JPG1Click);
    GIF1->OnClick = TNotifyEvent(this, &TForm1::GIF1Click);
    PNG1->OnClick = TNotifyEvent(this, &TForm1::PNG1Click);
    btnCapture->OnClick = TNotifyEvent(this, &TForm1::btnCaptureClick);
}

std::string TForm1::SnapshotFolder() {
    return ReadSnapshotFolder(Options());
}

std::string TForm1::SnapshotType() {
    const std::string Type = ReadSnapshotPicture(Options());
    TMenuItem* Entry = Type == "JPG" ? JPG1 : Type == "GIF" ? GIF1 : Type == "PNG" ? PNG1 : BMP1;
    Entry->SetChecked(true);
    return Type;
}

// ---------------------------------------------------------------- snapshot

void TForm1::bsSkinButton22Click(TObject*) {
    const std::unique_ptr<TBitmap> Picture = CopyOfCurrentFrame(Player());
    const std::string Folder = IncludeTrailingPathDelimiter(SnapshotFolder());
    const std::string Type = SnapshotType();
    // No video on display: there is nothing to keep.
    if (Picture->Width() == 0)
        return;
    const std::string Base = ChangeFileExt(ExtractFileName(T_Movie_PLayer_FileName), "");
    const std::string Extension = "." + LowerCase(Type);
    std::string FileName;
    for (int Number = 1;; ++Number) {
        FileName = Folder + Base + "_" + IntToStr(Number) + Extension;
        if (!FileExists(FileName))
            break;
    }
    SavePicture(*Picture, Type, FileName);
}

void TForm1::btnCaptureClick(TObject*) {
    const std::unique_ptr<TBitmap> Picture = CopyOfCurrentFrame(Player());
    std::string FileName;
    if (Picture->Width() == 0 || !ExecuteSnapshotDialog(FileName))
        return;
    if (LowerCase(ExtractFileExt(FileName)) == ".bmp")
        Picture->SaveToFile(FileName);
    else
        SaveAsJpeg(*Picture, FileName);
}

// ---------------------------------------------------------------- settings menu

void TForm1::bsSkinButton23MouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
    if (Button != mbLeft)
        return;
    TPoint At{};
    GetCursorPos(&At);
    bsSkinPopupMenu2->Popup(At.X, At.Y);
}

void TForm1::bsSkinButton23Click(TObject*) {
    SnapshotType();
}

void TForm1::MenuItem1Click(TObject*) {
    // Whether the desktop could open it is not examined.
    std::string Error;
    Actions().Open(SnapshotFolder(), Error);
}

void TForm1::MenuItem2Click(TObject*) {
    // Only a confirmed choice changes the folder: a cancelled dialog still
    // holds the folder last chosen for another purpose.
    std::string Folder;
    if (ExecuteOutputFolderDialog(Folder) && !Folder.empty())
        WriteSnapshotFolder(Options(), Folder);
}

namespace {

void ChooseType(TMenuItem* Entry, const char* Type) {
    WriteSnapshotPicture(Options(), Type);
    Entry->SetChecked(true);
}

} // namespace

void TForm1::BMP1Click(TObject*) {
    ChooseType(BMP1, "BMP");
}

void TForm1::JPG1Click(TObject*) {
    ChooseType(JPG1, "JPG");
}

void TForm1::GIF1Click(TObject*) {
    ChooseType(GIF1, "GIF");
}

void TForm1::PNG1Click(TObject*) {
    ChooseType(PNG1, "PNG");
}
