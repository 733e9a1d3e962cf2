#include "skin/dialogs/bsSkinSelDirDlg.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "skin/controls/bsSkinCtrls.Bevel.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellGlyphs.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinFilePaths.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.ResStr.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

// The built-in texts, used when the control skin has no word table.
const std::pair<const char*, const char*> BuiltInTexts[] = {
    {"MSG_BTN_NEWFOLDER_HINT", "Create New Folder"},
    {"MSG_BTN_OK", "OK"},
    {"MSG_BTN_CANCEL", "Cancel"},
    {"MSG_NEWFOLDER", "New Folder"},
};

std::string DialogText(TbsSkinData* CtrlSD, const std::string& Key) {
    if (CtrlSD && CtrlSD->ResourceStrData())
        return CtrlSD->ResourceStrData()->GetResStr(Key);
    for (const auto& [Name, Value] : BuiltInTexts)
        if (Key == Name)
            return Value;
    return {};
}

// The path edit keeps Enter for itself, so typing a path and Enter moves
// the tree instead of pressing the default OK button.
class TbsDirPathEdit : public TbsSkinEdit {
public:
    TbsDirPathEdit(TComponent* AOwner, TbsSelDirDlgForm* Dialog)
        : TbsSkinEdit(AOwner), FDialog(Dialog) {}

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_CHAR && Message.WParam == VK_RETURN) {
            FDialog->DirEditEnter();
            return;
        }
        TbsSkinEdit::Dispatch(Message);
    }

private:
    TbsSelDirDlgForm* FDialog;
};

} // namespace

// ---------------------------------------------------------------- the form

TbsSelDirDlgForm::TbsSelDirDlgForm(TComponent* AOwner, bool AToolButtonsTransparent,
                                   bool AShowToolBar, TbsSkinData* ACtrlSkinData)
    : TForm(AOwner), CtrlSD(ACtrlSkinData), ShowToolBar(AShowToolBar) {
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    BSF = new TbsSkinForm(this);

    if (ShowToolBar) {
        ToolPanel = new TbsSkinPanel(this);
        ToolPanel->SetParent(this);
        ToolPanel->SetAlign(alTop);
        ToolPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
        ToolPanel->SetDefaultHeight(25);
        ToolPanel->SetSkinDataName("toolpanel");

        NewFolderToolButton = new TbsSkinSpeedButton(this);
        NewFolderToolButton->SetParent(ToolPanel);
        NewFolderToolButton->SetAlign(alRight);
        NewFolderToolButton->SetSkinDataName("toolbutton");
        NewFolderToolButton->SetDefaultWidth(27);
        NewFolderToolButton->SetDefaultHeight(25);
        NewFolderToolButton->SetWidth(27);
        std::unique_ptr<TBitmap> Glyph = LoadShellGlyph("BS_NEWFOLDER");
        NewFolderToolButton->SetGlyph(Glyph.get());
        NewFolderToolButton->SetHint(DialogText(CtrlSD, "MSG_BTN_NEWFOLDER_HINT"));
        NewFolderToolButton->SetShowHint(true);
        NewFolderToolButton->SetFlat(AToolButtonsTransparent);
        NewFolderToolButton->OnClick = [this](TObject* Sender) {
            NewFolderToolButtonClick(Sender);
        };

        auto* Spacer = new TbsSkinBevel(this);
        Spacer->SetParent(ToolPanel);
        Spacer->SetAlign(alRight);
        Spacer->SetShape(bsSpacer);
        Spacer->SetWidth(5);
        Spacer->SetLeft(0);

        DirEdit = new TbsDirPathEdit(this, this);
        DirEdit->SetParent(ToolPanel);
        DirEdit->SetAlign(alClient);
        DirEdit->SetDefaultHeight(25);
        DirEdit->SetSkinDataName("edit");
    }

    DirTreeViewPanel = new TbsSkinPanel(this);
    DirTreeViewPanel->SetParent(this);
    DirTreeViewPanel->SetAlign(alClient);
    DirTreeViewPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);

    VScrollBar = new TbsSkinScrollBar(this);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetParent(DirTreeViewPanel);
    VScrollBar->SetAlign(alRight);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetSkinDataName("vscrollbar");

    HScrollBar = new TbsSkinScrollBar(this);
    HScrollBar->SetParent(DirTreeViewPanel);
    HScrollBar->SetAlign(alBottom);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName("hscrollbar");

    DirTreeView = new TbsSkinDirTreeView(this);
    DirTreeView->SetParent(DirTreeViewPanel);
    DirTreeView->SetAlign(alClient);
    DirTreeView->SetVScrollBar(VScrollBar);
    DirTreeView->SetHScrollBar(HScrollBar);
    DirTreeView->SetObjectTypes(TShellObjectTypes{otFolders, otHidden});
    DirTreeView->SetHideSelection(false);
    DirTreeView->OnChange = [this](TObject* Sender, TTreeNode* Node) {
        DirTreeViewChange(Sender, Node);
    };

    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(50);

    OkButton = new TbsSkinButton(this);
    OkButton->SetParent(BottomPanel);
    OkButton->SetDefaultHeight(25);
    OkButton->SetBounds(20, 15, 70, 25);
    OkButton->SetCanFocused(true);
    OkButton->SetAnchors(TAnchors{});
    OkButton->SetCaption(DialogText(CtrlSD, "MSG_BTN_OK"));
    OkButton->SetDefault(true);
    OkButton->SetModalResult(mrOk);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetBounds(100, 15, 70, 25);
    CancelButton->SetCanFocused(true);
    CancelButton->SetAnchors(TAnchors{});
    CancelButton->SetCaption(DialogText(CtrlSD, "MSG_BTN_CANCEL"));
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
}

void TbsSelDirDlgForm::DirEditEnter() {
    if (!DirEdit)
        return;
    const std::string Typed = DirEdit->Text();
    if (!Typed.empty() && IsFolderPath(Typed))
        DirTreeView->SetPath(Typed);
}

void TbsSelDirDlgForm::DirTreeViewChange(TObject*, TTreeNode*) {
    if (DirEdit)
        DirEdit->SetText(DirTreeView->Path());
}

void TbsSelDirDlgForm::NewFolderToolButtonClick(TObject*) {
    const std::string Current = DirTreeView->Path();
    const std::string Folder =
        IncludeTrailingPathDelimiter(Current) + DialogText(CtrlSD, "MSG_NEWFOLDER");
    // Only a file-system folder can hold a new folder: a virtual folder's
    // parsing name ("Computer") is no absolute path.
    if (!DirTreeView->Selected() || IsFolderPath(Folder) || Current.empty() || Current[0] != '/')
        return;
    if (!CreateDir(Folder))
        throw EInOutError(errno);
    DirTreeView->Refresh(DirTreeView->Selected());
}

// ---------------------------------------------------------------- the component

TbsSkinSelectDirectoryDialog::TbsSkinSelectDirectoryDialog(TComponent* AOwner)
    : TComponent(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(TFontStyles{});
}

TbsSkinSelectDirectoryDialog::~TbsSkinSelectDirectoryDialog() = default;

void TbsSkinSelectDirectoryDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FCtrlFSD)
        FCtrlFSD = nullptr;
}

void TbsSkinSelectDirectoryDialog::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetCtrlSkinData(TbsSkinData* Value) {
    FCtrlFSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

bool TbsSkinSelectDirectoryDialog::Execute() {
    if (OnShow)
        OnShow(this);
    bool Result = false;
    FForm = new TbsSelDirDlgForm(Application, ToolButtonsTransparent, ShowToolBar, FCtrlFSD);
    try {
        TbsSelDirDlgForm* F = FForm;
        F->SetCaption(FTitle);
        F->BSF->SetBorderIcons(TbsBorderIcons{});
        F->BSF->SetSkinData(FSD);
        F->BSF->SetMenusSkinData(FCtrlFSD);
        F->BSF->SetMinWidth(DialogMinWidth);
        F->BSF->SetMinHeight(DialogMinHeight);
        F->BSF->SetAlphaBlend(AlphaBlend);
        F->BSF->SetAlphaBlendValue(AlphaBlendValue);
        F->BSF->SetAlphaBlendAnimation(AlphaBlendAnimation);

        // The tree builds its nodes in its window, which must exist before
        // the start folder is chosen.
        F->HandleNeeded();
        F->DirTreeView->HandleNeeded();
        F->DirTreeViewPanel->SetSkinData(FCtrlFSD);
        F->DirTreeView->SetSkinData(FCtrlFSD);
        F->DirTreeView->SetDefaultFont(&FDefaultFont);
        if (!Directory.empty() && IsFolderPath(Directory))
            F->DirTreeView->SetPath(Directory);
        else
            F->DirTreeView->ExpandMyComputer();

        F->VScrollBar->SetSkinData(FCtrlFSD);
        F->HScrollBar->SetSkinData(FCtrlFSD);
        F->OkButton->SetSkinData(FCtrlFSD);
        F->OkButton->SetDefaultFont(&FDefaultFont);
        F->CancelButton->SetSkinData(FCtrlFSD);
        F->CancelButton->SetDefaultFont(&FDefaultFont);
        F->BottomPanel->SetSkinData(FCtrlFSD);
        if (F->ToolPanel) {
            F->ToolPanel->SetSkinData(FCtrlFSD);
            F->NewFolderToolButton->SetSkinData(FCtrlFSD);
            F->DirEdit->SetSkinData(FCtrlFSD);
        }

        int W = DialogWidth > 0 ? DialogWidth : 280;
        int H = DialogHeight > 0 ? DialogHeight : 280;
        if (FSD && !FSD->Empty) {
            W = std::max(W, F->BSF->GetMinWidth());
            H = std::max(H, F->BSF->GetMinHeight());
        }
        F->SetClientWidth(W);
        F->SetClientHeight(H);
        F->SetActiveControl(F->DirTreeView);

        Result = F->ShowModal() == mrOk;
        DialogWidth = F->ClientWidth();
        DialogHeight = F->ClientHeight();
        if (Result) {
            Directory = F->DirTreeView->Path();
            if (OnChange)
                OnChange(this);
        }
    } catch (...) {
        if (OnClose)
            OnClose(this);
        delete FForm;
        FForm = nullptr;
        throw;
    }
    if (OnClose)
        OnClose(this);
    delete FForm;
    FForm = nullptr;
    return Result;
}
