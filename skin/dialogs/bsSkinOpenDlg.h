// The open and save dialogs: a component whose Execute builds a skinned
// form in code (look-in box, back, up, new-folder and view buttons, the
// file list, a name edit and a file-type filter), runs it modally, copies
// the accepted file and the selected files back and frees the form, also
// when an exception passes through. In save mode the accept button reads
// "&Save", a typed name is accepted whether or not it exists and an
// existing file can be confirmed through an overwrite question.
//
// The form's building steps and the run's steps are shared with the
// picture dialogs (bsSkinPictureDialogs.h), which add a preview pane: a
// descendant form builds the same parts in its own order, and a descendant
// of TbsCustomOpenDialog changes single steps of Execute.
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
    // The shown folder with a trailing "/".
    std::string Folder();
    // A typed name as a path: a full path stays, anything else is taken
    // inside the shown folder.
    std::string TypedPath(const std::string& Typed);

    void FLVKeyPress(TObject* Sender, unsigned& Key);
    virtual void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change);
    virtual void FLVPathChange(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void EditKeyPress(TObject* Sender, unsigned& Key);
    void FCBChange(TObject* Sender);
    void OpenButtonClick(TObject* Sender);
    void BackToolButtonClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void NewFolderToolButtonClick(TObject* Sender);

protected:
    // Makes the form and its skin frame only; the descendant then runs the
    // building steps below in its own order.
    struct TFrameOnly {};
    TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData, TFrameOnly);
    // The tool bar with the look-in box, the tool buttons and the view menu.
    void BuildToolBar(bool Flat);
    // A speed button at the right end of the tool bar.
    TbsSkinSpeedButton* AddToolButton(const char* Glyph, const std::string& Hint, bool Flat);
    // Names, filter, accept and cancel; with FixedPositions nothing follows
    // the form's width.
    void BuildBottomPanel(bool FixedPositions);
    // The file list filling what is left, with its bars and its handlers.
    void BuildFileList();
    void FinishBuilding();
    std::string Text(const std::string& Key) const;

private:
    bool AskOverwrite(const std::string& Name);
    // A typed folder moves the list there; a typed path whose folder is
    // missing is reported. True when either happened: the text is then no
    // name to accept.
    bool GoToTypedFolder(const std::string& Typed);
    void ReportMissingFolder(const std::string& Path);
};

// What the open dialog and the picture dialogs share: the properties, the
// remembered state and the steps of Execute. A descendant changes single
// steps through the hooks.
class TbsCustomOpenDialog : public TComponent {
public:
    ~TbsCustomOpenDialog() override;

    // True when the user accepted a file: FileName and Files then hold it.
    virtual bool Execute();

    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
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
    virtual void SetFileName(const std::string& Value) { FFileName = Value; }
    TStringList* Files() { return &FFiles; }
    TbsOpenDlgForm* Form() const { return FForm; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    TNotifyEvent OnChange;

protected:
    TbsCustomOpenDialog(TComponent* AOwner, std::string ATitle);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The steps of Execute a descendant changes.
    virtual TbsOpenDlgForm* CreateForm();
    // Step 2: the settings the form takes besides the common ones.
    virtual void CopyIntoForm(TbsOpenDlgForm*) {}
    // After the filter entry is chosen.
    virtual void FilterChosen(TbsOpenDlgForm*) {}
    virtual int DefaultClientWidth() const { return 450; }
    // After the client size is set.
    virtual void Sized(TbsOpenDlgForm*) {}
    // After the first item of the list is focused.
    virtual void FirstItemFocused(TbsOpenDlgForm*) {}
    // What every run keeps, OK or not.
    virtual void KeepState(TbsOpenDlgForm* F);
    // On OK: FileName (the mask extension added in save mode) and Files.
    virtual void TakeResult(TbsOpenDlgForm* F);

    std::string FFileName;

private:
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    TFont FDefaultFont;
    std::string FTitle;
    TStringList FFiles;
    TbsOpenDlgForm* FForm = nullptr;
};

class TbsSkinOpenDialog : public TbsCustomOpenDialog {
public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    // While Execute runs, the file selected in the list; else empty.
    std::string GetSelectedFile();
    // While the form exists, the name also goes into its edit.
    void SetFileName(const std::string& Value) override;

    std::string DefaultExt;
    TNotifyEvent OnFolderChange;

protected:
    void CopyIntoForm(TbsOpenDlgForm* F) override;
    void TakeResult(TbsOpenDlgForm* F) override;
};
