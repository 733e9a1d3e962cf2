// The skin chooser. TbsSelectSkinDialog::Execute builds a
// TbsSelectSkinDlgForm: the skins' names on the left, a live preview on the
// right (a small disabled child form whose frame and sample button are drawn
// by a skin model of its own), OK and Cancel. The dialog changes nothing
// itself; on OK the caller applies the chosen skin.
//
// List mode offers the items of a stored skin list and answers an index;
// component mode offers the stored-skin components of the dialog's owner and
// answers the component. The result is the skin the preview last loaded.
#pragma once

#include "platform/core/Lists.h"
#include "platform/core/Objects.h"
#include "platform/forms/Forms.h"

#include <memory>
#include <string>

class TbsCompressedSkinList;
class TbsCompressedStoredSkin;
class TbsSkinButton;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinListBox;
class TFont;

class TbsSelectSkinDlgForm : public TForm {
public:
    // List mode over ASkinList, starting at row ASkinIndex.
    static TbsSelectSkinDlgForm* CreateEx2(TComponent* AOwner, TbsCompressedSkinList* ASkinList,
                                           int ASkinIndex, TbsSkinData* ACtrlSkinData);
    // Component mode over the stored-skin components AForm owns, starting at
    // ADefaultSkin (the first when it is not among them). Raises the list's
    // index error when AForm owns none.
    static TbsSelectSkinDlgForm* CreateEx(TComponent* AOwner, TComponent* AForm,
                                          TbsCompressedStoredSkin* ADefaultSkin,
                                          TbsSkinData* ACtrlSkinData);
    explicit TbsSelectSkinDlgForm(TComponent* AOwner);
    ~TbsSelectSkinDlgForm() override;

    void SLBOnChange(TObject* Sender);
    void SLBOnDblClick(TObject* Sender);
    // The stored skin the preview model holds (component mode).
    TbsCompressedStoredSkin* GetSelectedSkin();

    TbsCompressedSkinList* FCSkinList = nullptr;
    int FCSkinIndex = -1;
    TbsSkinForm* BSF = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TForm* PreviewForm = nullptr;
    TbsSkinForm* PreviewBSF = nullptr;
    TbsSkinData* PreviewSkinData = nullptr;
    TbsSkinButton* PreviewButton = nullptr;
    TbsSkinListBox* SkinsListBox = nullptr;
    // Component mode only: the stored-skin components, one per row.
    std::unique_ptr<TList<TbsCompressedStoredSkin>> SkinList;

private:
    // Steps shared by both modes, before and after the list is filled.
    void BuildParts(TbsSkinData* ACtrlSkinData);
    void ShowPreview();
    void FillFromList(TbsCompressedSkinList* ASkinList, int ASkinIndex);
    void FillFromComponents(TComponent* AForm, TbsCompressedStoredSkin* ADefaultSkin);
};

class TbsSelectSkinDialog : public TComponent {
public:
    explicit TbsSelectSkinDialog(TComponent* AOwner);
    ~TbsSelectSkinDialog() override;

    // List mode: false at once without a SkinList; true on OK, with
    // SelectedSkinIndex the chosen item.
    bool Execute(int SkinIndex);
    // Component mode: true on OK, with SelectedSkin the chosen component.
    bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);

    TbsCompressedStoredSkin* SelectedSkin() const { return FSelectedSkin; }
    int SelectedSkinIndex() const { return FSelectedSkinIndex; }
    // The form while a dialog runs, else nullptr.
    TbsSelectSkinDlgForm* DlgFrm() const { return FDlgFrm; }

    // ---- properties
    TbsCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TbsCompressedSkinList* Value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Steps 3 to 8 of both modes, for a built form; ListMode sets the index.
    bool Run(std::unique_ptr<TbsSelectSkinDlgForm> Form, bool ListMode);

    TbsCompressedSkinList* FSkinList = nullptr;
    bool FAlphaBlend = false;
    BYTE FAlphaBlendValue = 200;
    bool FAlphaBlendAnimation = false;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    std::string FTitle = "Select skin";
    TbsCompressedStoredSkin* FSelectedSkin = nullptr;
    int FSelectedSkinIndex = -1;
    TbsSelectSkinDlgForm* FDlgFrm = nullptr;
};
