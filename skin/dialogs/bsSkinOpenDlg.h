// The open and save dialogs: a component whose Execute builds a skinned
// form in code (look-in box, back, up, new-folder and view buttons, the
// file list, a name edit and a file-type filter), runs it modally, copies
// the accepted file and the selected files back and frees the form, also
// when an exception passes through. In save mode the accept button reads
// "&Save", a typed name is accepted whether or not it exists and an
// existing file can be confirmed through an overwrite question.
#pragma once

#include "platform/core/StringLists.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListViews.h"
#include "platform/gdi/Graphics.h"
#include "skin/dialogs/bsShellFolders.h"

#include <memory>
#include <string>
#include <vector>

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinToolBar;
class TbsSkinStdLabel;
class TbsSkinShellComboBox;
class TbsSkinSpeedButton;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TbsSkinFileListView;
class TbsSkinScrollBar;
class TbsSkinEdit;
class TbsSkinFilterComboBox;
class TbsSkinButton;
class TMenuItem;
class TListItem;

class TbsOpenDlgForm : public TForm {
public:
    TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                   bool AToolButtonsTransparent);
    ~TbsOpenDlgForm() override;

    bool SaveMode = false;
    bool OverwritePromt = false;
    bool CheckFileExists = true;
    std::string DefaultExt;
    std::string FileName;
    TNotifyEvent OnFolderChange;
    TbsSkinData* CtrlSD = nullptr;
    // The frame skin, for the overwrite question.
    TbsSkinData* FrameSD = nullptr;
    std::vector<PItemIDList> FolderHistory;
    bool StopAddToHistory = false;
    int NewFolderCount = 0;

    TbsSkinForm* BSF = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinStdLabel* Drivelabel = nullptr;
    TbsSkinShellComboBox* ShellBox = nullptr;
    TbsSkinSpeedButton* BackToolButton = nullptr;
    TbsSkinSpeedButton* UpToolButton = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinMenuSpeedButton* StyleToolButton = nullptr;
    TbsSkinPopupMenu* StylePopupMenu = nullptr;
    TMenuItem* IconMenuItem = nullptr;
    TMenuItem* SmallIconMenuItem = nullptr;
    TMenuItem* ListMenuItem = nullptr;
    TMenuItem* ReportMenuItem = nullptr;
    TbsSkinPanel* FileListViewPanel = nullptr;
    TbsSkinFileListView* FileListView = nullptr;
    TbsSkinScrollBar* FLVHScrollBar = nullptr;
    TbsSkinScrollBar* FLVVScrollBar = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinStdLabel* OpenFileLabel = nullptr;
    TbsSkinStdLabel* FileTypeLabel = nullptr;
    TbsSkinEdit* FileNameEdit = nullptr;
    TbsSkinFilterComboBox* FilterComboBox = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;

    // The extension of the selected filter's mask (".avi" from
    // "*.avi;*.mpg"); empty when the mask holds ".*".
    std::string MaskExtension();
    // "." + DefaultExt, else the mask extension.
    std::string DefaultExtension();
    void InitHistory();
    void SetViewStyle(TViewStyle Style);

    void FLVKeyPress(TObject* Sender, unsigned& Key);
    void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void FLVPathChange(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void EditKeyPress(TObject* Sender, unsigned& Key);
    void FCBChange(TObject* Sender);
    void OpenButtonClick(TObject* Sender);
    void BackToolButtonClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void NewFolderToolButtonClick(TObject* Sender);

private:
    std::string Folder();
    bool AskOverwrite(const std::string& Name);
};

class TbsSkinOpenDialog : public TComponent {
public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    // True when the user accepted a file: FileName and Files then hold it.
    virtual bool Execute();
    // While Execute runs, the file selected in the list; else empty.
    std::string GetSelectedFile();

    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
    std::string DefaultExt;
    int DialogWidth = 0;
    int DialogHeight = 0;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    BYTE CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    std::string LVHeaderSkinDataName = "resizebutton";
    std::string InitialDir;
    std::string Filter = "All files|*.*";
    int FilterIndex = 1;
    // Set by a descendant before Execute for a save dialog.
    bool SaveMode = false;
    // The file list's view style, kept between runs.
    TViewStyle LVViewStyle = vsList;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value);
    TStringList* Files() { return &FFiles; }
    TbsOpenDlgForm* Form() const { return FForm; }

    TNotifyEvent OnFolderChange;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    TFont FDefaultFont;
    std::string FTitle = "Open file";
    std::string FFileName;
    TStringList FFiles;
    TbsOpenDlgForm* FForm = nullptr;
};
