#include "skin/dialogs/bsSkinPictureDialogs.h"

#include "platform/core/Paths.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Splitter.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.ResStr.h"

namespace {

const char* const StretchHint = "Stretch Picture";

} // namespace

// ---------------------------------------------------------------- the form

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode,
                                             TbsSkinData* ACtrlSkinData,
                                             bool AToolButtonsTransparent)
    : TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, TFrameOnly{}) {
    // The pane and its splitter come first, so that the tool bar and the
    // bottom row span the whole width above and below them.
    ImagePanel = new TbsSkinPanel(this);
    ImagePanel->SetParent(this);
    ImagePanel->SetLeft(1000);
    ImagePanel->SetAlign(alRight);
    ImagePanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    ImagePanel->SetWidth(200);
    Splitter = new TbsSkinSplitter(this);
    Splitter->SetParent(this);
    // Left of the pane: the aligning orders right-aligned controls by
    // their right edges.
    Splitter->SetLeft(ImagePanel->Left() - 10);
    Splitter->SetAlign(alRight);
    Splitter->SetDefaultSize(10);
    Splitter->SetWidth(10);
    Splitter->SetBeveled(false);

    SBVScrollBar = new TbsSkinScrollBar(this);
    SBVScrollBar->SetKind(sbVertical);
    SBVScrollBar->SetParent(ImagePanel);
    SBVScrollBar->SetAlign(alRight);
    SBVScrollBar->SetDefaultWidth(19);
    SBVScrollBar->SetSkinDataName("vscrollbar");
    SBHScrollBar = new TbsSkinScrollBar(this);
    SBHScrollBar->SetParent(ImagePanel);
    SBHScrollBar->SetAlign(alBottom);
    SBHScrollBar->SetDefaultHeight(19);
    SBHScrollBar->SetBothMarkerWidth(19);
    SBHScrollBar->SetSkinDataName("hscrollbar");
    ScrollBox = new TbsSkinScrollBox(this);
    ScrollBox->SetParent(ImagePanel);
    ScrollBox->SetAlign(alClient);
    ScrollBox->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    ScrollBox->SetVScrollBar(SBVScrollBar);
    ScrollBox->SetHScrollBar(SBHScrollBar);
    Image = new TImage(this);
    Image->SetParent(ScrollBox);
    Image->SetBounds(0, 0, 0, 0);

    BuildToolBar(AToolButtonsTransparent);
    StretchButton =
        AddToolButton("BS_STRETCH", Text("MSG_BTN_STRETCH_HINT"), AToolButtonsTransparent);
    if (!CtrlSD || !CtrlSD->ResourceStrData())
        StretchButton->SetHint(StretchHint);
    StretchButton->SetGroupIndex(2);
    StretchButton->SetAllowAllUp(true);
    StretchButton->OnClick = [this](TObject* S) { StretchButtonClick(S); };
    BuildBottomPanel(true);
    BuildFileList();
    FinishBuilding();
}

TbsOpenPictureDlgForm::~TbsOpenPictureDlgForm() = default;

void TbsOpenPictureDlgForm::TakePictureSize() {
    FPreviewCleared = false;
    if (StretchButton->Down()) {
        if (Image->Align() != alClient)
            FitImage();
        return;
    }
    Image->SetBounds(Image->Left(), Image->Top(), Image->Picture()->Width(),
                     Image->Picture()->Height());
    ScrollBox->UpDateScrollRange();
}

void TbsOpenPictureDlgForm::LoadPreview(const std::string& Path) {
    try {
        Image->Picture()->LoadFromFile(Path);
    } catch (...) {
        TakePictureSize();
        throw;
    }
    TakePictureSize();
}

void TbsOpenPictureDlgForm::FitImage() {
    Image->SetVisible(false);
    if (FPreviewCleared) {
        Image->SetAlign(alNone);
        Image->SetBounds(0, 0, 0, 0);
        Image->SetStretch(StretchButton->Down());
    } else if (StretchButton->Down()) {
        Image->SetStretch(true);
        Image->SetAlign(alClient);
    } else {
        Image->SetAlign(alNone);
        Image->SetBounds(0, 0, Image->Picture()->Width(), Image->Picture()->Height());
        Image->SetStretch(false);
    }
    ScrollBox->UpDateScrollRange();
    Image->SetVisible(true);
}

void TbsOpenPictureDlgForm::FLVChange(TObject*, TListItem*, TItemChange) {
    FileNameEdit->SetText(ExtractFileName(FileListView->GetSelectedFile()));
    const std::string Name = FileNameEdit->Text();
    if (!Name.empty()) {
        LoadPreview(Folder() + Name);
        return;
    }
    // The picture is kept (a failed load shows it again), but nothing of it
    // stays in view, also when stretched, where it would fill the box.
    FPreviewCleared = true;
    Image->SetAlign(alNone);
    Image->SetBounds(0, 0, 0, 0);
    ScrollBox->UpDateScrollRange();
}

void TbsOpenPictureDlgForm::StretchButtonClick(TObject*) {
    FitImage();
}

// ---------------------------------------------------------------- the components

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(TComponent* AOwner)
    : TbsCustomOpenDialog(AOwner, "Open picture") {
    AlphaBlendValue = 200;
    Filter = "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|"
             "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
}

TbsSkinOpenPictureDialog::~TbsSkinOpenPictureDialog() = default;

TbsOpenPictureDlgForm* TbsSkinOpenPictureDialog::PictureForm() const {
    return static_cast<TbsOpenPictureDlgForm*>(Form());
}

TbsOpenDlgForm* TbsSkinOpenPictureDialog::CreateForm() {
    return new TbsOpenPictureDlgForm(Application, SaveMode, CtrlSkinData(), ToolButtonsTransparent);
}

void TbsSkinOpenPictureDialog::FilterChosen(TbsOpenDlgForm* Form) {
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
    F->ImagePanel->SetWidth(FPaneWidth);
    F->ImagePanel->SetSkinData(CtrlSkinData());
    F->ScrollBox->SetSkinData(CtrlSkinData());
    F->SBVScrollBar->SetSkinData(CtrlSkinData());
    F->SBHScrollBar->SetSkinData(CtrlSkinData());
    F->StretchButton->SetSkinData(CtrlSkinData());
    F->Splitter->SetSkinData(CtrlSkinData());
    F->FilterComboBox->SetFilter(Filter);
    F->FilterComboBox->SetItemIndex(FilterIndex - 1);
}

void TbsSkinOpenPictureDialog::Sized(TbsOpenDlgForm* Form) {
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
    if (StretchPicture || FStretched) {
        F->StretchButton->SetDown(true);
        F->FitImage();
    }
}

void TbsSkinOpenPictureDialog::FirstItemFocused(TbsOpenDlgForm* Form) {
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
    // A bare name is looked for in the shown folder, never in the
    // process's current folder.
    const std::string Path = ExtractFilePath(FFileName).empty() && !FFileName.empty()
                                 ? F->Folder() + FFileName
                                 : FFileName;
    if (!Path.empty() && FileExists(Path) && !DirectoryExists(Path))
        F->LoadPreview(Path);
}

void TbsSkinOpenPictureDialog::KeepState(TbsOpenDlgForm* Form) {
    TbsCustomOpenDialog::KeepState(Form);
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
    FStretched = F->StretchButton->Down();
    FPaneWidth = F->ImagePanel->Width();
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(TComponent* AOwner)
    : TbsSkinOpenPictureDialog(AOwner) {
    SetTitle("Save file");
    SaveMode = true;
}
