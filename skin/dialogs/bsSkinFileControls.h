// The skinned file controls: a drive combo box (the mounted file systems), a
// filter combo box (description|mask pairs), a folder list box showing the
// path down to a folder and its subfolders, and a file list box. Linked, they
// make a small file browser: drive combo -> folder list -> file list <-
// filter combo, with an optional label showing the folder.
//
// The links are pairs of plain references kept consistent by the setters on
// both sides; each side asks to be told when the other goes. No control
// here changes the process's current folder (the conversion threads share
// it): a folder is "entered" by checking that it can be, and Directory is
// the folder's real path.
#pragma once

#include "platform/forms/Sets.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/dialogs/bsSkinFilePaths.h"

#include <memory>
#include <string>
#include <vector>

class TbsSkinDirectoryListBox;
class TbsSkinFileListBox;
class TbsSkinStdLabel;

enum TbsFileAttr {
    bsftReadOnly,
    bsftHidden,
    bsftSystem,
    bsftVolumeID,
    bsftDirectory,
    bsftArchive,
    bsftNormal
};
using TbsFileType = TSet<TbsFileAttr>;

// ---------------------------------------------------------------- drive combo

class TbsSkinDriveComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinDriveComboBox(TComponent* AOwner);
    ~TbsSkinDriveComboBox() override;

    // The chosen item's mount point; empty for none.
    const std::string& Drive() const { return FDrive; }
    // Selects the item whose mount point is exactly NewDrive ("" selects
    // none), tells a linked folder list, and runs Change.
    void SetDrive(const std::string& NewDrive);
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TbsSkinDirectoryListBox* Value);

    // Refills the items from the mounted file systems.
    virtual void BuildList();
    // The painter of the drop-down rows and of the closed box.
    void DrawDriveItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect,
                       TOwnerDrawState State);
    // The internal OnChange: a user's pick becomes the drive.
    void DriveSelected(TObject* Sender);
    // The mount point of item Index.
    std::string ItemMountPoint(int Index) const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    std::unique_ptr<TBitmap> FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;

protected:
    void CreateWnd() override;

private:
    friend class TbsSkinDirectoryListBox;
    TbsSkinDirectoryListBox* FDirList = nullptr;
    std::string FDrive;
    TTextCase FTextCase = tcLowerCase;
    // Parallel to the items: a mount point may hold blanks, so the item
    // text cannot be split back into it.
    std::vector<std::string> FMountPoints;
};

// ---------------------------------------------------------------- filter combo

class TbsSkinFilterComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinFilterComboBox(TComponent* AOwner);
    ~TbsSkinFilterComboBox() override;

    const std::string& Filter() const { return FFilterText; }
    // A text differing ignoring case is stored, rebuilt into the items when
    // the window exists, and Change runs.
    void SetFilter(const std::string& Value);
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);
    // The mask of the chosen item; selects the last item when none is
    // chosen; "*.*" without items.
    std::string Mask() { return GetMask(); }
    std::string GetMask();

    virtual void BuildList();
    // Hands the mask to a linked file list, then the base hook.
    void Change() override;
    void Click() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TStringList* MaskList() const { return FMaskList.get(); }

protected:
    void CreateWnd() override;

private:
    friend class TbsSkinFileListBox;
    // The filter text (the base class has a search text of that name).
    std::string FFilterText = "All files (*.*)|*.*";
    TbsSkinFileListBox* FFileList = nullptr;
    std::unique_ptr<TStringList> FMaskList;
};

// ---------------------------------------------------------------- folder list

class TbsSkinDirectoryListBox : public TbsSkinListBox {
public:
    explicit TbsSkinDirectoryListBox(TComponent* AOwner);
    ~TbsSkinDirectoryListBox() override;

    const std::string& Directory() const { return FDirectory; }
    // Enters the folder (raising EInOutError when it cannot be entered, the
    // rows and Directory kept), rebuilds and runs Change.
    void SetDirectory(const std::string& NewDirectory);
    // The mount point holding Directory.
    std::string Drive() const;
    void SetDrive(const std::string& MountPoint);
    bool PreserveCase() const { return FPreserveCase; }
    bool CaseSensitive() const { return FCaseSensitive; }
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);
    TbsSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TbsSkinStdLabel* Value);

    // Opens the folder of the selected row; nothing without one.
    void OpenCurrent();
    // Rebuilds the rows and runs Change. Not named Update: the control's
    // own Update repaints, and the list's scroll-bar code calls it.
    void UpdateList();
    std::string DisplayCase(const std::string& S) const;
    int FileCompareText(const std::string& A, const std::string& B) const;
    // The folder row Index stands for; empty outside the rows.
    std::string GetItemPath(int Index);
    // Called by a linked drive combo box when its drive changes.
    void DriveChange(const std::string& NewDrive);

    virtual void BuildList();
    virtual void Change();
    virtual void ReadBitmaps();
    // The indent of row Index.
    int ItemIndent(int Index);

    int GetItemWidth(int Index, TCanvas* Cnvs) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(unsigned& Key) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawDirItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect,
                     TOwnerDrawState State);

    TNotifyEvent OnChange;
    std::unique_ptr<TBitmap> ClosedBMP, OpenedBMP, CurrentBMP;

protected:
    void CreateWnd() override;

private:
    friend class TbsSkinDriveComboBox;
    friend class TbsSkinFileListBox;
    void SetDir(const std::string& DirPart);
    void SetDirLabelCaption();

    TbsSkinFileListBox* FFileList = nullptr;
    TbsSkinDriveComboBox* FDriveCombo = nullptr;
    TbsSkinStdLabel* FDirLabel = nullptr;
    bool FInSetDir = false;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    std::string FDirectory;
};

// ---------------------------------------------------------------- file list

class TbsSkinFileListBox : public TbsSkinListBox {
public:
    explicit TbsSkinFileListBox(TComponent* AOwner);
    ~TbsSkinFileListBox() override;

    const std::string& Directory() const { return FDirectory; }
    // Enters the folder (raising EInOutError when it cannot be entered) and
    // reads it.
    void SetDirectory(const std::string& NewDirectory);
    std::string Drive() const;
    void SetDrive(const std::string& MountPoint);
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& Value);
    TbsFileType FileType() const { return FFileType; }
    void SetFileType(TbsFileType Value);
    TWinControl* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TWinControl* Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    TbsSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }

    // The selected row's text; empty without one.
    std::string GetFileName();
    std::string GetFilePath();
    std::string FileName() { return GetFilePath(); }
    void SetFileName(const std::string& Name);
    // A path, a folder, a "[sub]" row or a pattern typed by the user.
    void ApplyFilePath(const std::string& EditText);
    // Reads the folder again (not Update, which repaints).
    void UpdateList();

    virtual void Change();
    virtual void ReadFileNames();
    void ListBoxClick() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;

private:
    friend class TbsSkinDirectoryListBox;
    friend class TbsSkinFilterComboBox;
    bool SameName(const std::string& A, const std::string& B) const;

    std::string FDirectory;
    std::string FMask = "*.*";
    TbsFileType FFileType{bsftNormal};
    TWinControl* FFileEdit = nullptr;
    TbsSkinDirectoryListBox* FDirList = nullptr;
    TbsSkinFilterComboBox* FFilterCombo = nullptr;
    int FLastSel = -1;
};
