#include "skin/dialogs/bsSkinFileControls.h"

#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "skin/dialogs/bsDialogResources.h"

TbsSkinDriveComboBox::TbsSkinDriveComboBox(TComponent* AOwner) : TbsSkinComboBox(AOwner) {
    OnChange = TNotifyEvent(this, &TbsSkinDriveComboBox::DriveSelected);
    OnListBoxDrawItem() = TbsDrawSkinItemEvent(this, &TbsSkinDriveComboBox::DrawDriveItem);
    OnComboBoxDrawItem = TbsDrawSkinItemEvent(this, &TbsSkinDriveComboBox::DrawDriveItem);
    FloppyBMP = LoadDialogPicture("BS_FLOPPY");
    FixedBMP = LoadDialogPicture("BS_HARD");
    NetworkBMP = LoadDialogPicture("BS_NETWORK");
    CDROMBMP = LoadDialogPicture("BS_CDROM");
    RAMBMP = LoadDialogPicture("BS_RAM");
    FDrive = MountPointOf(GetCurrentDir());
}

TbsSkinDriveComboBox::~TbsSkinDriveComboBox() {
    // The pictures are the items' objects: no row may draw them afterwards.
    OnComboBoxDrawItem = nullptr;
    OnListBoxDrawItem() = nullptr;
}

void TbsSkinDriveComboBox::CreateWnd() {
    TbsSkinComboBox::CreateWnd();
    BuildList();
    const std::string Old = FDrive;
    FDrive.clear();
    SetDrive(Old);
}

void TbsSkinDriveComboBox::BuildList() {
    Items()->Clear();
    FMountPoints.clear();
    for (const TDriveInfo& D : GetDrives()) {
        TBitmap* Picture = nullptr;
        std::string Text = D.MountPoint;
        // The case applies to the label or network part only: another case
        // of a path names another folder.
        switch (D.Type) {
        case dtRemovable:
            Picture = FloppyBMP.get();
            break;
        case dtFixed:
            Picture = FixedBMP.get();
            Text += " " + GetVolumeLabelText(D.MountPoint, FTextCase);
            break;
        case dtCDROM:
            Picture = CDROMBMP.get();
            Text += " " + GetVolumeLabelText(D.MountPoint, FTextCase);
            break;
        case dtRAMDisk:
            Picture = RAMBMP.get();
            Text += " " + GetVolumeLabelText(D.MountPoint, FTextCase);
            break;
        case dtRemote:
            Picture = NetworkBMP.get();
            Text += " " + GetNetworkVolumeText(D.MountPoint, FTextCase);
            break;
        default:
            continue;
        }
        Items()->AddObject(Text, Picture);
        FMountPoints.push_back(D.MountPoint);
    }
}

std::string TbsSkinDriveComboBox::ItemMountPoint(int Index) const {
    return Index >= 0 && Index < int(FMountPoints.size()) ? FMountPoints[std::size_t(Index)]
                                                          : std::string();
}

void TbsSkinDriveComboBox::SetDrive(const std::string& NewDrive) {
    if (ItemIndex() != -1 && NewDrive == FDrive)
        return;
    FDrive = NewDrive;
    int Found = -1;
    for (int I = 0; !NewDrive.empty() && I < int(FMountPoints.size()); ++I)
        if (FMountPoints[std::size_t(I)] == NewDrive) {
            Found = I;
            break;
        }
    SetItemIndex(Found);
    if (FDirList)
        FDirList->DriveChange(FDrive);
    Change();
}

void TbsSkinDriveComboBox::SetTextCase(TTextCase Value) {
    FTextCase = Value;
    const std::string Old = FDrive;
    BuildList();
    FDrive.clear();
    SetDrive(Old);
}

void TbsSkinDriveComboBox::DriveSelected(TObject*) {
    if (ItemIndex() >= 0)
        SetDrive(ItemMountPoint(ItemIndex()));
}

void TbsSkinDriveComboBox::SetDirList(TbsSkinDirectoryListBox* Value) {
    if (FDirList == Value)
        return;
    if (FDirList) {
        FDirList->FDriveCombo = nullptr;
        FDirList->RemoveFreeNotification(this);
    }
    FDirList = Value;
    if (FDirList) {
        FDirList->FDriveCombo = this;
        FDirList->FreeNotification(this);
    }
}

void TbsSkinDriveComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDirList)
        FDirList = nullptr;
}

void TbsSkinDriveComboBox::DrawDriveItem(TCanvas* Cnvs, int Index, int, int, TRect TxtRect,
                                         TOwnerDrawState) {
    if (Index < 0 || Index >= Items()->Count())
        return;
    auto* Picture = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    int W = 0;
    if (Picture) {
        const int Top = (TxtRect.Top + TxtRect.Bottom - Picture->Height()) / 2;
        DrawKeyed(Cnvs->Handle(), Bounds(TxtRect.Left, Top, Picture->Width(), Picture->Height()),
                  Picture->Canvas()->Handle(), Picture->Width(), Picture->Height(),
                  ColorToRGB(Picture->Canvas()->Pixels(0, Picture->Height() - 1)));
        W = Picture->Width();
    }
    Cnvs->Brush()->SetStyle(bsClear);
    Cnvs->TextOut(TxtRect.Left + W + 6,
                  TxtRect.Top + TxtRect.Height() / 2 - Cnvs->TextHeight("Wg") / 2,
                  Items()->Strings(Index));
}
