// The picture dialogs: the open and save dialogs with a preview pane at the
// right of the file list. The pane shows the selected file as a picture,
// either at its own size with scroll bars or stretched to the pane by a
// toggle button; a splitter lets the user widen or narrow it. The pane's
// width and the stretch state are kept between runs.
#pragma once

#include "skin/dialogs/bsSkinOpenDlg.h"

class TbsSkinSplitter;
class TbsSkinScrollBox;
class TImage;

class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
public:
    TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                          bool AToolButtonsTransparent);
    ~TbsOpenPictureDlgForm() override;

    TbsSkinPanel* ImagePanel = nullptr;
    TbsSkinSplitter* Splitter = nullptr;
    TbsSkinScrollBox* ScrollBox = nullptr;
    TbsSkinScrollBar* SBVScrollBar = nullptr;
    TbsSkinScrollBar* SBHScrollBar = nullptr;
    TImage* Image = nullptr;
    TbsSkinSpeedButton* StretchButton = nullptr;

    // Loads the file into the preview. Whether or not that succeeds, an
    // unstretched picture then takes its own size; a failure passes the
    // graphics layer's error on with the previous picture kept.
    void LoadPreview(const std::string& Path);
    // Lays the picture out for the stretch button's state.
    void FitImage();

    void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change) override;
    void StretchButtonClick(TObject* Sender);

private:
    void TakePictureSize();
    // No file is selected: the image stays 0 x 0 whatever the stretch state.
    bool FPreviewCleared = false;
};

class TbsSkinOpenPictureDialog : public TbsCustomOpenDialog {
public:
    explicit TbsSkinOpenPictureDialog(TComponent* AOwner);
    ~TbsSkinOpenPictureDialog() override;

    // Every run starts with the preview stretched to its pane.
    bool StretchPicture = false;

    TbsOpenPictureDlgForm* PictureForm() const;
    // The pane's width and the stretch button's state the next run opens with.
    int PaneWidth() const { return FPaneWidth; }
    bool Stretched() const { return FStretched; }

protected:
    TbsOpenDlgForm* CreateForm() override;
    void FilterChosen(TbsOpenDlgForm* F) override;
    int DefaultClientWidth() const override { return 550; }
    void Sized(TbsOpenDlgForm* F) override;
    void FirstItemFocused(TbsOpenDlgForm* F) override;
    void KeepState(TbsOpenDlgForm* F) override;

private:
    int FPaneWidth = 190;
    bool FStretched = false;
};

// The picture dialog in save mode: a typed name without an extension gets
// the selected filter's, and an existing file can be confirmed through the
// overwrite question (OverwritePromt).
class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
public:
    explicit TbsSkinSavePictureDialog(TComponent* AOwner);
};
