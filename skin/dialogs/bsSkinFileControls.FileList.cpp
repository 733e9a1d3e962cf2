#include "skin/dialogs/bsSkinFileControls.h"

#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"

namespace {

// The search attributes of the first six kinds, in their bit order.
int AttributesOf(TbsFileType Type) {
    int A = 0;
    for (int K = bsftReadOnly; K <= bsftArchive; ++K)
        if (Type.Contains(TbsFileAttr(K)))
            A |= 1 << K;
    return A;
}

std::vector<std::string> PatternsOf(const std::string& Mask) {
    std::vector<std::string> Patterns;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t End = Mask.find(';', Start);
        const std::string P = Trim(Mask.substr(Start, End - Start));
        if (!P.empty())
            Patterns.push_back(P);
        if (End == std::string::npos)
            return Patterns;
        Start = End + 1;
    }
}

} // namespace

TbsSkinFileListBox::TbsSkinFileListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
    SetWidth(145);
    FDirectory = EnterableFolder(GetCurrentDir());
    SetMultiSelect(false);
    SetSorted(true);
}

TbsSkinFileListBox::~TbsSkinFileListBox() = default;

void TbsSkinFileListBox::CreateWnd() {
    TbsSkinListBox::CreateWnd();
    ReadFileNames();
}

std::string TbsSkinFileListBox::Drive() const {
    return MountPointOf(FDirectory);
}

void TbsSkinFileListBox::SetDrive(const std::string& MountPoint) {
    if (MountPoint != Drive())
        ApplyFilePath(MountPoint);
}

bool TbsSkinFileListBox::SameName(const std::string& A, const std::string& B) const {
    bool PreserveCase = true, CaseSensitive = true;
    GetVolumeCaseFlags(FDirectory, PreserveCase, CaseSensitive);
    return CaseSensitive ? A == B : AnsiCompareText(A, B) == 0;
}

void TbsSkinFileListBox::SetMask(const std::string& Value) {
    if (Value == FMask)
        return;
    FMask = Value;
    ReadFileNames();
}

void TbsSkinFileListBox::SetFileType(TbsFileType Value) {
    if (Value == FFileType)
        return;
    FFileType = Value;
    ReadFileNames();
}

void TbsSkinFileListBox::SetDirectory(const std::string& NewDirectory) {
    if (SameName(NewDirectory, FDirectory))
        return;
    FDirectory = EnterableFolder(NewDirectory);
    ReadFileNames();
}

void TbsSkinFileListBox::UpdateList() {
    ReadFileNames();
}

void TbsSkinFileListBox::ReadFileNames() {
    if (!HandleAllocated())
        return;
    const int A = AttributesOf(FFileType);
    EnterableFolder(FDirectory);
    Items()->Clear();
    {
        // The cursor comes back before Change, also when the read raises.
        struct TCursorBack {
            TCursor Saved;
            ~TCursorBack() {
                if (Screen)
                    Screen->SetCursor(Saved);
            }
        } CursorBack{Screen ? Screen->Cursor() : crDefault};
        // One repaint and one scroll-bar update for the whole read.
        struct TBatch {
            TbsSkinFileListBox* List;
            ~TBatch() {
                List->Items()->EndUpdate();
                List->UpDateScrollBar();
            }
        } Batch{this};
        Items()->BeginUpdate();
        for (const std::string& Pattern : PatternsOf(FMask)) {
            TSearchRec Rec;
            for (int R = FindFirst(JoinFolderAndName(FDirectory, Pattern), A, Rec); R == 0;
                 R = FindNext(Rec)) {
                if (!FFileType.Contains(bsftNormal) && (Rec.Attr & A) == 0)
                    continue;
                const bool Folder = (Rec.Attr & faDirectory) != 0;
                Items()->Add(Folder ? "[" + Rec.Name + "]" : Rec.Name);
                // A long read shows the hourglass. Counted by rows, not by
                // where a row lands: in the sorted list a read may never
                // put a row at one given index.
                if (Items()->Count() == 101 && Screen)
                    Screen->SetCursor(crHourGlass);
            }
            FindClose(Rec);
        }
    }
    Change();
}

std::string TbsSkinFileListBox::GetFileName() {
    const int Row = ItemIndex();
    return Row >= 0 && Row < Items()->Count() ? Items()->Strings(Row) : std::string();
}

std::string TbsSkinFileListBox::GetFilePath() {
    const std::string Name = GetFileName();
    return Name.empty() ? std::string() : JoinFolderAndName(FDirectory, Name);
}

void TbsSkinFileListBox::SetFileName(const std::string& Name) {
    if (SameName(Name, GetFileName()))
        return;
    int Found = -1;
    for (int I = 0; I < Items()->Count() && Found < 0; ++I)
        if (SameName(Items()->Strings(I), Name))
            Found = I;
    SetItemIndex(Found);
    Change();
}

void TbsSkinFileListBox::Change() {
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const std::string Name = GetFileName();
        FFileEdit->SetText(Name.empty() ? FMask : Name);
        if (auto* Edit = dynamic_cast<TCustomEdit*>(FFileEdit))
            Edit->SelectAll();
    }
    if (OnChange)
        OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick() {
    TbsSkinListBox::ListBoxClick();
    if (ItemIndex() != FLastSel)
        Change();
}

void TbsSkinFileListBox::ApplyFilePath(const std::string& EditText) {
    if (EditText.empty() || SameName(EditText, GetFilePath()))
        return;
    std::string NewDrive, DirPart, FilePart;
    SplitFileSpec(EditText, FDirectory, NewDrive, DirPart, FilePart);
    if (FDirList)
        FDirList->SetDirectory(DirPart);
    else
        SetDirectory(DirPart);
    if (FilePart.find_first_of("*?") != std::string::npos) {
        SetMask(FilePart);
    } else if (!FilePart.empty()) {
        SetFileName(FilePart);
        if (FileExists(JoinFolderAndName(FDirectory, FilePart)) && ItemIndex() < 0) {
            SetMask(FilePart);
            SetFileName(FilePart);
        }
    }
}

void TbsSkinFileListBox::SetFileEdit(TWinControl* Value) {
    if (FFileEdit)
        FFileEdit->RemoveFreeNotification(this);
    FFileEdit = Value;
    if (FFileEdit) {
        FFileEdit->FreeNotification(this);
        const std::string Name = GetFileName();
        FFileEdit->SetText(Name.empty() ? FMask : Name);
    }
}

void TbsSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FFileEdit)
        FFileEdit = nullptr;
    if (AComponent == FDirList)
        FDirList = nullptr;
    if (AComponent == FFilterCombo)
        FFilterCombo = nullptr;
}
