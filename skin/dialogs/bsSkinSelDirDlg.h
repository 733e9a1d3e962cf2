// The select-folder dialog: a component whose Execute builds a skinned form
// in code around a folder tree (optionally with a path edit and a
// new-folder button), runs it modally, copies the chosen folder back and
// frees the form, also when an exception passes through.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/gdi/Graphics.h"

#include <memory>
#include <string>

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinDirTreeView;
class TbsSkinScrollBar;
class TbsSkinButton;
class TbsSkinSpeedButton;
class TbsSkinEdit;
class TTreeNode;

class TbsSelDirDlgForm : public TForm {
public:
    TbsSelDirDlgForm(TComponent* AOwner, bool AToolButtonsTransparent, bool AShowToolBar,
                     TbsSkinData* ACtrlSkinData);

    TbsSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;
    TbsSkinForm* BSF = nullptr;
    TbsSkinPanel* DirTreeViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinDirTreeView* DirTreeView = nullptr;
    TbsSkinScrollBar* VScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsSkinButton* OkButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinPanel* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinEdit* DirEdit = nullptr;

    // Enter in the path edit: moves the tree to an existing folder.
    void DirEditEnter();
    void DirTreeViewChange(TObject* Sender, TTreeNode* Node);
    void NewFolderToolButtonClick(TObject* Sender);
};

class TbsSkinSelectDirectoryDialog : public TComponent {
public:
    explicit TbsSkinSelectDirectoryDialog(TComponent* AOwner);
    ~TbsSkinSelectDirectoryDialog() override;

    // True when the user accepted; Directory then holds the chosen folder
    // (a parsing name such as "Computer" for a virtual folder).
    bool Execute();

    bool ToolButtonsTransparent = false;
    int DialogWidth = 0;
    int DialogHeight = 0;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    std::string Directory;
    bool ShowToolBar = false;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    // The form while Execute runs, else null.
    TbsSelDirDlgForm* Form() const { return FForm; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    // Runs after an accepted run; no published event sets it.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    TFont FDefaultFont;
    std::string FTitle = "Select folder";
    TbsSelDirDlgForm* FForm = nullptr;
};
