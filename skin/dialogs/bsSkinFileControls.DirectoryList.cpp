#include "skin/dialogs/bsSkinFileControls.h"

#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/dialogs/bsDialogResources.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

// The subfolders of Folder that a user would browse ("." and ".." and
// hidden folders left out), sorted ignoring case.
std::vector<std::string> SubfoldersOf(const std::string& Folder) {
    std::vector<std::string> Names;
    TSearchRec Rec;
    for (int R = FindFirst(JoinFolderAndName(Folder, "*"), faDirectory, Rec); R == 0;
         R = FindNext(Rec))
        if ((Rec.Attr & faDirectory) && Rec.Name != "." && Rec.Name != "..")
            Names.push_back(Rec.Name);
    FindClose(Rec);
    std::stable_sort(Names.begin(), Names.end(), [](const std::string& A, const std::string& B) {
        return AnsiCompareText(A, B) < 0;
    });
    return Names;
}

} // namespace

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
    OnDrawItem = TbsDrawSkinItemEvent(this, &TbsSkinDirectoryListBox::DrawDirItem);
    SetWidth(145);
    SetSorted(false);
    ReadBitmaps();
    FDirectory = EnterableFolder(GetCurrentDir());
}

TbsSkinDirectoryListBox::~TbsSkinDirectoryListBox() {
    // The pictures are the rows' objects: no row may draw them afterwards.
    OnDrawItem = nullptr;
}

void TbsSkinDirectoryListBox::ReadBitmaps() {
    OpenedBMP = LoadDialogPicture("BS_OPENFOLDER");
    ClosedBMP = LoadDialogPicture("BS_CLOSEDFOLDER");
    CurrentBMP = LoadDialogPicture("BS_CURRENTFOLDER");
}

void TbsSkinDirectoryListBox::CreateWnd() {
    TbsSkinListBox::CreateWnd();
    BuildList();
}

std::string TbsSkinDirectoryListBox::Drive() const {
    return MountPointOf(FDirectory);
}

void TbsSkinDirectoryListBox::SetDrive(const std::string& MountPoint) {
    if (MountPoint != Drive())
        SetDirectory(MountPoint);
}

void TbsSkinDirectoryListBox::BuildList() {
    FStopUpDateHScrollBar = true;
    Items()->BeginUpdate();
    Items()->Clear();
    GetVolumeCaseFlags(FDirectory, FPreserveCase, FCaseSensitive);
    // The path down to the folder: "/" and each folder on the way.
    std::vector<std::string> Levels{"/"};
    for (std::size_t Start = 1; Start < FDirectory.size();) {
        std::size_t End = FDirectory.find(PathDelim, Start);
        if (End == std::string::npos)
            End = FDirectory.size();
        if (End > Start)
            Levels.push_back(FDirectory.substr(Start, End - Start));
        Start = End + 1;
    }
    for (std::size_t I = 0; I < Levels.size(); ++I)
        Items()->AddObject(Levels[I], I + 1 == Levels.size() ? CurrentBMP.get() : OpenedBMP.get());
    const int CurrentRow = Items()->Count() - 1;
    for (const std::string& Name : SubfoldersOf(FDirectory))
        Items()->AddObject(Name, ClosedBMP.get());
    Items()->EndUpdate();
    FStopUpDateHScrollBar = false;
    if (HandleAllocated()) {
        SetItemIndex(CurrentRow);
        UpDateScrollBar();
    }
}

std::string TbsSkinDirectoryListBox::GetItemPath(int Index) {
    if (Index < 0 || Index >= Items()->Count())
        return {};
    TObject* Picture = Items()->Objects(Index);
    if (Picture == ClosedBMP.get())
        return JoinFolderAndName(FDirectory, Items()->Strings(Index));
    if (Picture == CurrentBMP.get())
        return FDirectory;
    // A level of the path: the text up to the delimiter that ends it.
    int Count = 0;
    for (std::size_t I = 0; I < FDirectory.size(); ++I)
        if (FDirectory[I] == PathDelim && ++Count == Index + 1)
            return I == 0 ? std::string("/") : FDirectory.substr(0, I);
    return FDirectory;
}

void TbsSkinDirectoryListBox::SetDirectory(const std::string& NewDirectory) {
    if (NewDirectory.empty() || FileCompareText(NewDirectory, FDirectory) == 0)
        return;
    std::string NewDrive, DirPart, FilePart;
    SplitFileSpec(NewDirectory, FDirectory, NewDrive, DirPart, FilePart);
    if (NewDrive != Drive()) {
        struct TInSetDir {
            bool& Flag;
            ~TInSetDir() { Flag = false; }
        } Guard{FInSetDir};
        FInSetDir = true;
        if (FDriveCombo)
            FDriveCombo->SetDrive(NewDrive);
        else
            DriveChange(NewDrive);
    }
    SetDir(DirPart);
}

void TbsSkinDirectoryListBox::SetDir(const std::string& DirPart) {
    FDirectory = EnterableFolder(DirPart);
    BuildList();
    Change();
}

void TbsSkinDirectoryListBox::DriveChange(const std::string& NewDrive) {
    if (NewDrive == Drive())
        return;
    // Linux keeps no current folder per drive: the mount point itself.
    if (!NewDrive.empty()) {
        try {
            FDirectory = EnterableFolder(NewDrive);
        } catch (const EInOutError&) {
            // The list is rebuilt for the old folder.
        }
    }
    if (!FInSetDir) {
        BuildList();
        Change();
    }
}

void TbsSkinDirectoryListBox::Change() {
    if (FFileList)
        FFileList->SetDirectory(FDirectory);
    SetDirLabelCaption();
    if (OnChange)
        OnChange(this);
}

void TbsSkinDirectoryListBox::UpdateList() {
    BuildList();
    Change();
}

void TbsSkinDirectoryListBox::SetDirLabelCaption() {
    if (!FDirLabel)
        return;
    const int W = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(FitPathToWidth(FDirectory, FDirLabel->Canvas(), W));
}

void TbsSkinDirectoryListBox::OpenCurrent() {
    SetDirectory(GetItemPath(ItemIndex()));
}

void TbsSkinDirectoryListBox::ListBoxDblClick() {
    TbsSkinListBox::ListBoxDblClick();
    OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(unsigned& Key) {
    TbsSkinListBox::ListBoxKeyPress(Key);
    if (Key == 13)
        OpenCurrent();
}

std::string TbsSkinDirectoryListBox::DisplayCase(const std::string& S) const {
    return FPreserveCase || FCaseSensitive ? S : LowerCase(S);
}

int TbsSkinDirectoryListBox::FileCompareText(const std::string& A, const std::string& B) const {
    return FCaseSensitive ? A.compare(B) : AnsiCompareText(A, B);
}

void TbsSkinDirectoryListBox::SetFileList(TbsSkinFileListBox* Value) {
    if (FFileList == Value)
        return;
    if (FFileList) {
        FFileList->FDirList = nullptr;
        FFileList->RemoveFreeNotification(this);
    }
    FFileList = Value;
    if (FFileList) {
        FFileList->FDirList = this;
        FFileList->FreeNotification(this);
    }
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* Value) {
    if (FDirLabel)
        FDirLabel->RemoveFreeNotification(this);
    FDirLabel = Value;
    if (FDirLabel)
        FDirLabel->FreeNotification(this);
    SetDirLabelCaption();
}

void TbsSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FFileList)
        FFileList = nullptr;
    if (AComponent == FDriveCombo)
        FDriveCombo = nullptr;
    if (AComponent == FDirLabel)
        FDirLabel = nullptr;
}

int TbsSkinDirectoryListBox::ItemIndent(int Index) {
    if (Index >= 0 && Index < Items()->Count() && Items()->Objects(Index) == ClosedBMP.get())
        return CountBackslashes(FDirectory) * 4 + 6;
    return Index * 4 + 2;
}

void TbsSkinDirectoryListBox::DrawDirItem(TCanvas* Cnvs, int Index, int, int, TRect TxtRect,
                                          TOwnerDrawState) {
    if (Index < 0 || Index >= Items()->Count())
        return;
    const int I = ItemIndent(Index);
    const int X = ListBox->FHorizontalExtentValue;
    auto* Picture = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    int P = 16;
    if (Picture) {
        const int Top = (TxtRect.Top + TxtRect.Bottom - Picture->Height()) / 2;
        DrawKeyed(Cnvs->Handle(),
                  Bounds(TxtRect.Left + I - X, Top, Picture->Width(), Picture->Height()),
                  Picture->Canvas()->Handle(), Picture->Width(), Picture->Height(),
                  ColorToRGB(Picture->Canvas()->Pixels(0, Picture->Height() - 1)));
        P = Picture->Width();
    }
    Cnvs->Brush()->SetStyle(bsClear);
    DrawTextCenterYOffset(Cnvs, Items()->Strings(Index), TxtRect, P + I - X + 4);
}

int TbsSkinDirectoryListBox::GetItemWidth(int Index, TCanvas* Cnvs) {
    const int I = ItemIndent(Index);
    auto* Picture = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    const int P = Picture ? Picture->Width() : 16;
    return Cnvs->TextWidth(Items()->Strings(Index)) + I + P + 4;
}
