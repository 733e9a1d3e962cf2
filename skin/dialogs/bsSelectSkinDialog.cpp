#include "skin/dialogs/bsSelectSkinDialog.h"

#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsSkinData.h"

#include <algorithm>

namespace {

// The dialog's words: the word table's text when the control skin has a
// table (empty for a missing key), else the built-in English.
struct TWords {
    TbsResourceStrData* Table = nullptr;
    std::string Text(const char* Key, const char* BuiltIn) const {
        return Table ? Table->GetResStr(Key) : BuiltIn;
    }
};

constexpr int ClientW = 420;
constexpr int ClientH = 240;

void SetArialFont(TFont* F) {
    F->SetName("Arial");
    F->SetHeight(14);
    F->SetStyle({});
}

} // namespace

// ---------------------------------------------------------------- TbsSelectSkinDlgForm

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner) : TForm(AOwner) {
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSingle);
}

TbsSelectSkinDlgForm::~TbsSelectSkinDlgForm() {
    if (SkinList)
        SkinList->Clear();
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx2(TComponent* AOwner,
                                                      TbsCompressedSkinList* ASkinList,
                                                      int ASkinIndex, TbsSkinData* ACtrlSkinData) {
    // Freed here when a step raises.
    std::unique_ptr<TbsSelectSkinDlgForm> Form(new TbsSelectSkinDlgForm(AOwner));
    Form->FCSkinList = ASkinList;
    Form->FCSkinIndex = ASkinIndex;
    Form->BuildParts(ACtrlSkinData);
    Form->FillFromList(ASkinList, ASkinIndex);
    Form->ShowPreview();
    return Form.release();
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx(TComponent* AOwner, TComponent* AForm,
                                                     TbsCompressedStoredSkin* ADefaultSkin,
                                                     TbsSkinData* ACtrlSkinData) {
    std::unique_ptr<TbsSelectSkinDlgForm> Form(new TbsSelectSkinDlgForm(AOwner));
    Form->FCSkinList = nullptr;
    Form->FCSkinIndex = -1;
    Form->SkinList = std::make_unique<TList<TbsCompressedStoredSkin>>();
    Form->BuildParts(ACtrlSkinData);
    Form->FillFromComponents(AForm, ADefaultSkin);
    Form->ShowPreview();
    return Form.release();
}

void TbsSelectSkinDlgForm::BuildParts(TbsSkinData* ACtrlSkinData) {
    const TWords Words{ACtrlSkinData ? ACtrlSkinData->ResourceStrData() : nullptr};
    BSF = new TbsSkinForm(this);

    // The preview: a disabled child window, so it takes no input.
    PreviewForm = new TForm(this);
    PreviewForm->SetParent(this);
    PreviewForm->SetCaption(Words.Text("MSG_PREVIEWSKIN", "Preview"));
    PreviewForm->SetEnabled(false);
    PreviewForm->SetBounds(0, 0, 220, 170);

    PreviewSkinData = new TbsSkinData(this);
    if (Words.Table)
        PreviewSkinData->SetResourceStrData(Words.Table);

    PreviewButton = new TbsSkinButton(this);
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetWidth(100);
    PreviewButton->SetCaption(Words.Text("MSG_PREVIEWBUTTON", "Button"));
    PreviewButton->SetLeft(20);
    PreviewButton->SetTop(20);
    PreviewButton->SetSkinData(PreviewSkinData);

    PreviewBSF = new TbsSkinForm(PreviewForm);
    PreviewBSF->SetSkinData(PreviewSkinData);
    PreviewBSF->PreviewMode = true;

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetName("OpenButton");
    OpenButton->SetParent(this);
    OpenButton->SetDefault(true);
    OpenButton->SetCaption(Words.Text("MSG_BTN_OK", "OK"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetBounds(260, 200, 70, 25);
    OpenButton->SetModalResult(1);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetParent(this);
    CancelButton->SetCaption(Words.Text("MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetBounds(340, 200, 70, 25);
    CancelButton->SetModalResult(2);
    CancelButton->SetCancel(true);

    SkinsListBox = new TbsSkinListBox(this);
    SkinsListBox->SetName("SkinsListBox");
    SkinsListBox->SetParent(this);
    SkinsListBox->SetBounds(10, 10, 170, 170);
    SkinsListBox->OnListBoxClick = TNotifyEvent(this, &TbsSelectSkinDlgForm::SLBOnChange);
    SkinsListBox->OnListBoxDblClick = TNotifyEvent(this, &TbsSelectSkinDlgForm::SLBOnDblClick);
}

void TbsSelectSkinDlgForm::FillFromList(TbsCompressedSkinList* ASkinList, int ASkinIndex) {
    TbsSkinListItems* Items = ASkinList->Skins();
    for (int I = 0; I < Items->Count(); ++I) {
        TbsSkinListItem* Item = Items->Items(I);
        SkinsListBox->Items()->Add(Item->Description().empty() ? Item->Name()
                                                               : Item->Description());
    }
    // The index before the list, so the stored skin loads once, when the
    // list is set.
    SkinsListBox->SetItemIndex(ASkinIndex);
    PreviewSkinData->SetSkinIndex(ASkinIndex);
    PreviewSkinData->SetSkinList(ASkinList);
}

void TbsSelectSkinDlgForm::FillFromComponents(TComponent* AForm,
                                              TbsCompressedStoredSkin* ADefaultSkin) {
    int StartRow = 0;
    for (int I = 0; AForm && I < AForm->ComponentCount(); ++I) {
        auto* Stored = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(I));
        if (!Stored)
            continue;
        if (Stored == ADefaultSkin)
            StartRow = SkinList->Count();
        SkinList->Add(Stored);
        SkinsListBox->Items()->Add(Stored->Description().empty() ? Stored->Name()
                                                                 : Stored->Description());
    }
    SkinsListBox->SetItemIndex(StartRow);
    // Raises the list's index error when the owner holds no stored skin.
    PreviewSkinData->SetCompressedStoredSkin(SkinList->Items(SkinsListBox->ItemIndex()));
}

void TbsSelectSkinDlgForm::ShowPreview() {
    PreviewForm->SetLeft(190);
    PreviewForm->SetTop(10);
    PreviewForm->Show();
    SetActiveControl(SkinsListBox->ListBox);
}

void TbsSelectSkinDlgForm::SLBOnChange(TObject*) {
    if (FCSkinList) {
        // The model ignores an unchanged or out-of-range index.
        PreviewSkinData->SetSkinIndex(SkinsListBox->ItemIndex());
        return;
    }
    if (SkinList && SkinsListBox->ItemIndex() >= 0 && SkinsListBox->ItemIndex() < SkinList->Count())
        PreviewSkinData->SetCompressedStoredSkin(SkinList->Items(SkinsListBox->ItemIndex()));
}

void TbsSelectSkinDlgForm::SLBOnDblClick(TObject*) {
    SetModalResult(1);
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() {
    return PreviewSkinData->CompressedStoredSkin();
}

// ---------------------------------------------------------------- TbsSelectSkinDialog

TbsSelectSkinDialog::TbsSelectSkinDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    SetArialFont(FDefaultFont.get());
}

TbsSelectSkinDialog::~TbsSelectSkinDialog() = default;

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* Value) {
    if (FSkinList)
        FSkinList->RemoveFreeNotification(this);
    FSkinList = Value;
    if (FSkinList)
        FSkinList->FreeNotification(this);
}

void TbsSelectSkinDialog::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

void TbsSelectSkinDialog::SetCtrlSkinData(TbsSkinData* Value) {
    if (FCtrlSD)
        FCtrlSD->RemoveFreeNotification(this);
    FCtrlSD = Value;
    if (FCtrlSD)
        FCtrlSD->FreeNotification(this);
}

void TbsSelectSkinDialog::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSelectSkinDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSkinList)
        FSkinList = nullptr;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FCtrlSD)
        FCtrlSD = nullptr;
}

bool TbsSelectSkinDialog::Execute(int SkinIndex) {
    if (!FSkinList)
        return false;
    return Run(std::unique_ptr<TbsSelectSkinDlgForm>(
                   TbsSelectSkinDlgForm::CreateEx2(Application, FSkinList, SkinIndex, FCtrlSD)),
               true);
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin) {
    return Run(std::unique_ptr<TbsSelectSkinDlgForm>(TbsSelectSkinDlgForm::CreateEx(
                   Application, Owner(), DefaultCompressedSkin, FCtrlSD)),
               false);
}

bool TbsSelectSkinDialog::Run(std::unique_ptr<TbsSelectSkinDlgForm> Form, bool ListMode) {
    FDlgFrm = Form.get();
    // Cleared in every case, also when the run raises; the form goes first.
    struct TClear {
        TbsSelectSkinDlgForm*& Field;
        std::unique_ptr<TbsSelectSkinDlgForm>& Form;
        ~TClear() {
            Form.reset();
            Field = nullptr;
        }
    } Clear{FDlgFrm, Form};

    Form->SetCaption(FTitle);
    Form->BSF->SetBorderIcons({});
    Form->BSF->SetSkinData(FSD);
    Form->BSF->SetMenusSkinData(FCtrlSD);
    Form->BSF->SetAlphaBlend(FAlphaBlend);
    Form->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    Form->BSF->SetAlphaBlendValue(FAlphaBlendValue);
    for (TbsSkinCustomControl* Control : {static_cast<TbsSkinCustomControl*>(Form->OpenButton),
                                          static_cast<TbsSkinCustomControl*>(Form->CancelButton),
                                          static_cast<TbsSkinCustomControl*>(Form->SkinsListBox)}) {
        Control->SetDefaultFont(FDefaultFont.get());
        Control->SetSkinData(FCtrlSD);
    }
    if (!FSD || FSD->Empty) {
        Form->SetClientWidth(ClientW);
        Form->SetClientHeight(ClientH);
    } else {
        Form->SetClientWidth(std::max(ClientW, Form->BSF->GetMinWidth()));
        Form->SetClientHeight(std::max(ClientH, Form->BSF->GetMinHeight()));
    }

    FSelectedSkin = nullptr;
    if (ListMode)
        FSelectedSkinIndex = -1;
    if (Form->ShowModal() != 1)
        return false;
    if (ListMode)
        FSelectedSkinIndex = Form->PreviewSkinData->SkinIndex();
    else
        FSelectedSkin = Form->GetSelectedSkin();
    return true;
}
