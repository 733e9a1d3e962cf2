#include "skin/dialogs/bsSkinMessage.h"

#include "platform/core/Strings.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsSkinData.h"

#include <algorithm>
#include <array>

namespace {

struct TButtonKind {
    const char* Name;
    // Empty: the kind has no word-table key.
    const char* Key;
    const char* Caption;
    int ModalResult;
};

// In TMsgDlgBtn order.
constexpr std::array<TButtonKind, 12> ButtonKinds{{
    {"Yes", "MSG_BTN_YES", "&Yes", 6},
    {"No", "MSG_BTN_NO", "&No", 7},
    {"OK", "MSG_BTN_OK", "OK", 1},
    {"Cancel", "MSG_BTN_CANCEL", "Cancel", 2},
    {"Abort", "MSG_BTN_ABORT", "&Abort", 3},
    {"Retry", "MSG_BTN_RETRY", "&Retry", 4},
    {"Ignore", "MSG_BTN_IGNORE", "&Ignore", 5},
    {"All", "MSG_BTN_ALL", "&All", 8},
    {"NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", 9},
    {"YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", 10},
    {"Help", "MSG_BTN_HELP", "&Help", 0},
    {"Close", "", "Close", 11},
}};

struct TTypeKind {
    const char* Key;
    const char* Caption;
    std::uintptr_t Icon;
};

// In TMsgDlgType order; mtCustom has neither key nor icon.
constexpr std::array<TTypeKind, 5> TypeKinds{{
    {"MSG_CAP_WARNING", "Warning", IDI_EXCLAMATION},
    {"MSG_CAP_ERROR", "Error", IDI_HAND},
    {"MSG_CAP_INFORMATION", "Information", IDI_ASTERISK},
    {"MSG_CAP_CONFIRM", "Confirm", IDI_QUESTION},
    {"", "", 0},
}};

constexpr const char* ShowFlagKey = "MSG_CAP_SHOWFLAG";
constexpr const char* ShowFlagText = "Do not display this message again";

constexpr int ButtonWidth = 70;
constexpr int ButtonStep = 80;
constexpr int LabelLeft = 50;
constexpr int LabelTop = 15;
// Position values below this centre the form.
constexpr int CentreBelow = -10000;
constexpr int NoPosition = -10001;

TbsResourceStrData* WordTable(TbsSkinData* SD) {
    return SD ? SD->ResourceStrData() : nullptr;
}

// The table's text when there is a table, else the built-in one.
std::string Word(TbsSkinData* SD, const char* Key, const char* BuiltIn) {
    if (TbsResourceStrData* Table = WordTable(SD); Table && *Key)
        return Table->GetResStr(Key);
    return BuiltIn;
}

void SetArialFont(TFont* F) {
    F->SetName("Arial");
    F->SetHeight(14);
    F->SetStyle({});
}

int CountButtons(TMsgDlgButtons Buttons) {
    int N = 0;
    for (int K = 0; K < int(ButtonKinds.size()); ++K)
        if (Buttons.Contains(TMsgDlgBtn(K)))
            ++N;
    return N;
}

} // namespace

// ---------------------------------------------------------------- texts

std::string GetMsgButtonCaption(TMsgDlgBtn Kind, TbsSkinData* CtrlSkinData) {
    const TButtonKind& K = ButtonKinds.at(std::size_t(Kind));
    return Word(CtrlSkinData, K.Key, K.Caption);
}

std::string GetMsgDialogCaption(TMsgDlgType Type, TbsSkinData* CtrlSkinData) {
    const TTypeKind& K = TypeKinds.at(std::size_t(Type));
    return Word(CtrlSkinData, K.Key, K.Caption);
}

int GetMsgButtonModalResult(TMsgDlgBtn Kind) {
    return ButtonKinds.at(std::size_t(Kind)).ModalResult;
}

// ---------------------------------------------------------------- TbsMessageForm

TbsMessageForm::TbsMessageForm(TComponent* AOwner, int X, int Y) : TForm(AOwner) {
    SetBorderStyle(bsDialog);
    if (X < CentreBelow) {
        SetPosition(poScreenCenter);
    } else {
        SetLeft(X);
        SetTop(Y);
    }
    BSF = new TbsSkinForm(this);
    BSF->SetBorderIcons({});
}

TbsMessageForm* TbsMessageForm::CreateEx(TComponent* AOwner, int X, int Y) {
    return new TbsMessageForm(AOwner, X, Y);
}

void TbsMessageForm::HelpButtonClick(TObject*) {
    if (Application)
        Application->HelpContext(HelpContext());
}

// ---------------------------------------------------------------- TbsSkinMessage

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()),
      FDefaultButtonFont(std::make_unique<TFont>()) {
    SetArialFont(FDefaultFont.get());
    SetArialFont(FDefaultButtonFont.get());
}

TbsSkinMessage::~TbsSkinMessage() = default;

void TbsSkinMessage::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* Value) {
    if (FCtrlSD)
        FCtrlSD->RemoveFreeNotification(this);
    FCtrlSD = Value;
    if (FCtrlSD)
        FCtrlSD->FreeNotification(this);
}

void TbsSkinMessage::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSkinMessage::SetDefaultButtonFont(TFont* Value) {
    FDefaultButtonFont->Assign(Value);
}

void TbsSkinMessage::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FCtrlSD)
        FCtrlSD = nullptr;
}

int TbsSkinMessage::ButtonHeight() const {
    if (!FCtrlSD || FCtrlSD->Empty)
        return 25;
    int Index = FCtrlSD->GetControlIndex(FButtonSkinDataName);
    if (Index < 0)
        return 25;
    auto* Element = dynamic_cast<TbsDataSkinButtonControl*>(FCtrlSD->CtrlList[Index].get());
    return Element ? Element->SkinRect.Height() : 25;
}

// ---- the builders

TbsMessageForm* TbsSkinMessage::BuildMessageForm(const std::string& Msg, TMsgDlgType DlgType,
                                                 TMsgDlgButtons Buttons, int X, int Y) {
    std::string Caption =
        DlgType == mtCustom ? Application->Title() : GetMsgDialogCaption(DlgType, FCtrlSD);
    return Build({Msg, Caption, DlgType}, Buttons, X, Y);
}

TbsMessageForm* TbsSkinMessage::BuildMessageForm2(const std::string& Msg,
                                                  const std::string& ACaption, TMsgDlgType DlgType,
                                                  TMsgDlgButtons Buttons, int X, int Y) {
    return Build({Msg, ACaption, DlgType}, Buttons, X, Y);
}

TbsMessageForm* TbsSkinMessage::BuildCustomMessageForm(const std::string& Msg,
                                                       const std::string& ACaption,
                                                       TCustomImageList* AImages, int AImageIndex,
                                                       TMsgDlgButtons Buttons, int X, int Y) {
    TFormRecipe Recipe{Msg, ACaption, mtCustom};
    Recipe.Custom = true;
    Recipe.Images = AImages;
    Recipe.ImageIndex = AImageIndex;
    return Build(Recipe, Buttons, X, Y);
}

TbsMessageForm* TbsSkinMessage::BuildWideMessageForm(const std::u16string& Msg, TMsgDlgType DlgType,
                                                     TMsgDlgButtons Buttons, int X, int Y) {
    std::string Caption =
        DlgType == mtCustom ? Application->Title() : GetMsgDialogCaption(DlgType, FCtrlSD);
    TFormRecipe Recipe{Utf16ToUtf8(Msg), Caption, DlgType};
    Recipe.CheckBoxAllowed = false;
    return Build(Recipe, Buttons, X, Y);
}

TbsMessageForm* TbsSkinMessage::Build(const TFormRecipe& Recipe, TMsgDlgButtons Buttons, int X,
                                      int Y) {
    // Freed here when a step raises; the caller owns it once built.
    std::unique_ptr<TbsMessageForm> Form(TbsMessageForm::CreateEx(Application, X, Y));
    Form->BSF->SetSkinData(FSD);
    Form->BSF->SetMenusSkinData(FCtrlSD);
    Form->BSF->SetAlphaBlend(FAlphaBlend);
    Form->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    Form->BSF->SetAlphaBlendValue(FAlphaBlendValue);

    const int H = ButtonHeight();
    const int N = CountButtons(Buttons);
    const int RowWidth = N > 0 ? N * ButtonWidth + (N - 1) * (ButtonStep - ButtonWidth) : 0;
    Form->SetCaption(Recipe.Caption);

    auto* Label = new TbsSkinStdLabel(Form.get());
    Form->Message = Label;
    Label->Font()->Assign(FDefaultFont.get());
    Label->SetDefaultFont(FDefaultFont.get());
    Label->SetUseSkinFont(FUseSkinFont);
    Label->SetSkinDataName(FMessageLabelSkinDataName);
    Label->SetSkinData(FCtrlSD);
    Label->SetName("Message");
    Label->SetParent(Form.get());
    Label->SetAutoSize(true);
    Label->SetCaption(Recipe.Msg);
    Label->SetLeft(LabelLeft);
    Label->SetTop(LabelTop);
    const int LabelRight = Label->Left() + Label->Width();

    AddPicture(Form.get(), Recipe, Label->Top() + Label->Height() / 2);

    Form->SetClientHeight(H + Label->Height() + 50);
    Form->SetClientWidth(std::max(RowWidth, LabelRight) + 40);
    if (FShowAgainFlag && Recipe.CheckBoxAllowed)
        AddCheckBox(Form.get(), H);

    if (Form->BSF->GetMaxWidth() < Form->Width())
        Form->SetWidth(Form->BSF->GetMaxWidth());
    else if (Form->Width() < Form->BSF->GetMinWidth())
        Form->SetWidth(Form->BSF->GetMinWidth());

    AddButtons(Form.get(), Buttons, RowWidth, H);
    return Form.release();
}

void TbsSkinMessage::AddPicture(TbsMessageForm* Form, const TFormRecipe& Recipe, int LabelMiddle) {
    if (Recipe.Custom) {
        TCustomImageList* Images = Recipe.Images;
        if (!Images || Recipe.ImageIndex < 0 || Recipe.ImageIndex >= Images->Count())
            return;
        auto* Image = new TImage(Form);
        Image->SetName("Image");
        Image->SetParent(Form);
        Image->SetTransparent(true);
        Images->GetBitmap(Recipe.ImageIndex, Image->Picture()->Bitmap());
        Image->SetBounds(5, LabelMiddle - 16, Images->Width(), Images->Height());
        return;
    }
    auto* Image = new TImage(Form);
    Image->SetName("Image");
    Image->SetParent(Form);
    if (std::uintptr_t Id = TypeKinds.at(std::size_t(Recipe.DlgType)).Icon) {
        TIcon Icon;
        Icon.SetHandle(LoadIcon(nullptr, Id));
        Image->Picture()->SetGraphic(&Icon);
    }
    Image->SetBounds(5, std::max(10, LabelMiddle - 16), 32, 32);
}

void TbsSkinMessage::AddCheckBox(TbsMessageForm* Form, int ButtonH) {
    Form->SetClientHeight(Form->ClientHeight() + 40);
    auto* Box = new TbsSkinCheckRadioBox(Form);
    Form->DisplayCheckBox = Box;
    Box->SetName("checkbox");
    Box->SetDefaultHeight(30);
    Box->SetChecked(!FShowAgainFlagValue);
    Box->SetParent(Form);
    Box->SetDefaultFont(FDefaultFont.get());
    Box->SetUseSkinFont(FUseSkinFont);
    Box->SetSkinData(FCtrlSD);
    const int Top = Form->ClientHeight() - ButtonH - 50;

    std::string Text = ShowFlagText;
    if (TbsResourceStrData* Table = WordTable(FCtrlSD)) {
        std::string FromTable = Table->GetResStr(ShowFlagKey);
        if (!FromTable.empty())
            Text = FromTable;
    }
    Box->SetCaption(Text);

    // Measured with the font the box will draw with.
    static_cast<TbsSkinControl*>(Box)->GetSkinData();
    TCanvas* C = Form->Canvas();
    if (Box->FIndex != -1 && FUseSkinFont) {
        C->Font()->SetName(Box->SkinFontName());
        C->Font()->SetHeight(Box->SkinFontHeight());
    } else {
        C->Font()->Assign(FDefaultFont.get());
    }
    const int W = C->TextWidth(Text);
    if (Form->ClientWidth() < W + 60)
        Form->SetClientWidth(W + 60);
    Box->SetBounds(5, Top, W + 55, Box->DefaultHeight());
}

void TbsSkinMessage::AddButtons(TbsMessageForm* Form, TMsgDlgButtons Buttons, int RowWidth,
                                int ButtonH) {
    const TMsgDlgBtn DefaultKind =
        Buttons.Contains(mbOK) ? mbOK : (Buttons.Contains(mbYes) ? mbYes : mbRetry);
    const TMsgDlgBtn CancelKind =
        Buttons.Contains(mbCancel) ? mbCancel : (Buttons.Contains(mbNo) ? mbNo : mbOK);
    int X = (Form->ClientWidth() - RowWidth) / 2;
    for (int K = 0; K < int(ButtonKinds.size()); ++K) {
        const auto Kind = TMsgDlgBtn(K);
        if (!Buttons.Contains(Kind))
            continue;
        auto* Button = new TbsSkinButton(Form);
        Button->SetParent(Form);
        Button->SetName(ButtonKinds[std::size_t(K)].Name);
        Button->SetCanFocused(true);
        Button->SetCaption(GetMsgButtonCaption(Kind, FCtrlSD));
        Button->SetModalResult(GetMsgButtonModalResult(Kind));
        if (Kind == DefaultKind)
            Button->SetDefault(true);
        if (Kind == CancelKind)
            Button->SetCancel(true);
        Button->SetDefaultHeight(ButtonH);
        Button->SetBounds(X, Form->ClientHeight() - ButtonH - 10, ButtonWidth, ButtonH);
        Button->SetDefaultFont(FDefaultButtonFont.get());
        Button->SetUseSkinFont(FUseSkinFont);
        X += ButtonStep;
        if (Kind == mbHelp)
            Button->OnClick = TNotifyEvent(Form, &TbsMessageForm::HelpButtonClick);
        Button->SetSkinDataName(FButtonSkinDataName);
        Button->SetSkinData(FCtrlSD);
    }
}

// ---- the calls

int TbsSkinMessage::Run(TbsMessageForm* Form, int HelpCtx, const std::string* HelpFileName,
                        bool MovePos) {
    std::unique_ptr<TbsMessageForm> Owned(Form);
    // Runs before the form is freed, also when the modal run raises.
    struct TReadBack {
        TbsSkinMessage* Self;
        TbsMessageForm* Form;
        ~TReadBack() {
            if (Form->DisplayCheckBox)
                Self->FShowAgainFlagValue = !Form->DisplayCheckBox->Checked();
        }
    } ReadBack{this, Form};
    Form->SetHelpContext(HelpCtx);
    if (HelpFileName)
        Form->SetHelpFile(*HelpFileName);
    if (MovePos && OnSetShowPos) {
        int AX = Form->Left(), AY = Form->Top();
        OnSetShowPos(AX, AY, Form->Width(), Form->Height());
        Form->SetLeft(AX);
        Form->SetTop(AY);
    }
    return Form->ShowModal();
}

int TbsSkinMessage::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               int HelpCtx) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, NoPosition, NoPosition), HelpCtx, nullptr,
               false);
}

int TbsSkinMessage::MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, X, Y), HelpCtx, nullptr, true);
}

int TbsSkinMessage::MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType,
                                   TMsgDlgButtons Buttons, int HelpCtx,
                                   const std::string& HelpFileName) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, NoPosition, NoPosition), HelpCtx,
               &HelpFileName, false);
}

int TbsSkinMessage::MessageDlg2(const std::string& Msg, const std::string& ACaption,
                                TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return Run(BuildMessageForm2(Msg, ACaption, DlgType, Buttons, NoPosition, NoPosition), HelpCtx,
               nullptr, false);
}

int TbsSkinMessage::MessageDlgHelp2(const std::string& Msg, const std::string& ACaption,
                                    TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                    const std::string& HelpFileName) {
    return Run(BuildMessageForm2(Msg, ACaption, DlgType, Buttons, NoPosition, NoPosition), HelpCtx,
               &HelpFileName, false);
}

int TbsSkinMessage::CustomMessageDlg(const std::string& Msg, const std::string& ACaption,
                                     TCustomImageList* AImages, int AImageIndex,
                                     TMsgDlgButtons Buttons, int HelpCtx) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, NoPosition,
                                      NoPosition),
               HelpCtx, nullptr, false);
}

int TbsSkinMessage::CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                                        TCustomImageList* AImages, int AImageIndex,
                                        TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, X, Y), HelpCtx,
               nullptr, true);
}

int TbsSkinMessage::CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                                         TCustomImageList* AImages, int AImageIndex,
                                         TMsgDlgButtons Buttons, int HelpCtx,
                                         const std::string& HelpFileName) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, NoPosition,
                                      NoPosition),
               HelpCtx, &HelpFileName, false);
}

int TbsSkinMessage::WideMessageDlg(const std::u16string& Msg, TMsgDlgType DlgType,
                                   TMsgDlgButtons Buttons, int HelpCtx) {
    return Run(BuildWideMessageForm(Msg, DlgType, Buttons, NoPosition, NoPosition), HelpCtx,
               nullptr, false);
}

int TbsSkinMessage::WideMessageDlgPos(const std::u16string& Msg, TMsgDlgType DlgType,
                                      TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    // The wide calls offer no position hook.
    return Run(BuildWideMessageForm(Msg, DlgType, Buttons, X, Y), HelpCtx, nullptr, false);
}
