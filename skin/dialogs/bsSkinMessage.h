// The skinned message box. TbsSkinMessage is a component whose calls each
// build a throw-away TbsMessageForm (a label, an icon or picture, a row of
// skinned buttons and, on request, a "do not show again" check box), run it
// modally, read it back and free it, also when the run raises. SkinData
// skins the frame; CtrlSkinData skins the controls and the frame's menus and
// supplies every word (without a word table, the built-in English words).
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"

#include <memory>
#include <string>

class TbsSkinData;
class TbsSkinForm;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;
class TCustomImageList;
class TFont;

using TbsMessageSetShowPosEvent = TMethod<void(int& AX, int& AY, int AWidth, int AHeight)>;

class TbsMessageForm : public TForm {
public:
    // Owned by AOwner (the application); centred on the screen when X is
    // below -10000, else placed at X, Y. The frame has no caption buttons.
    static TbsMessageForm* CreateEx(TComponent* AOwner, int X, int Y);
    TbsMessageForm(TComponent* AOwner, int X, int Y);

    // Asks the application's help system for the form's help context.
    void HelpButtonClick(TObject* Sender);

    TbsSkinForm* BSF = nullptr;
    TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TbsSkinStdLabel* Message = nullptr;
};

// The caption of a button kind: the word table's text when CtrlSkinData has
// one (empty for a missing key), else the built-in one; mbClose always
// "Close".
std::string GetMsgButtonCaption(TMsgDlgBtn Kind, TbsSkinData* CtrlSkinData);
// The same for a dialog type; mtCustom gives "".
std::string GetMsgDialogCaption(TMsgDlgType Type, TbsSkinData* CtrlSkinData);
// The modal result of a button kind (mbHelp 0: it closes nothing).
int GetMsgButtonModalResult(TMsgDlgBtn Kind);

class TbsSkinMessage : public TComponent {
public:
    explicit TbsSkinMessage(TComponent* AOwner);
    ~TbsSkinMessage() override;

    int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx);
    int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                      int HelpCtx, int X, int Y);
    int MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                       int HelpCtx, const std::string& HelpFileName);
    int MessageDlg2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                    TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlgHelp2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                        TMsgDlgButtons Buttons, int HelpCtx, const std::string& HelpFileName);
    int CustomMessageDlg(const std::string& Msg, const std::string& ACaption,
                         TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                         int HelpCtx);
    int CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                            TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                            int HelpCtx, int X, int Y);
    int CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                             TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                             int HelpCtx, const std::string& HelpFileName);
    int WideMessageDlg(const std::u16string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                       int HelpCtx);
    int WideMessageDlgPos(const std::u16string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          int HelpCtx, int X, int Y);

    // ---- the form builders (the calls above use them)
    TbsMessageForm* BuildMessageForm(const std::string& Msg, TMsgDlgType DlgType,
                                     TMsgDlgButtons Buttons, int X, int Y);
    TbsMessageForm* BuildMessageForm2(const std::string& Msg, const std::string& ACaption,
                                      TMsgDlgType DlgType, TMsgDlgButtons Buttons, int X, int Y);
    TbsMessageForm* BuildCustomMessageForm(const std::string& Msg, const std::string& ACaption,
                                           TCustomImageList* AImages, int AImageIndex,
                                           TMsgDlgButtons Buttons, int X, int Y);
    TbsMessageForm* BuildWideMessageForm(const std::u16string& Msg, TMsgDlgType DlgType,
                                         TMsgDlgButtons Buttons, int X, int Y);

    // ---- properties
    bool ShowAgainFlag() const { return FShowAgainFlag; }
    void SetShowAgainFlag(bool Value) { FShowAgainFlag = Value; }
    bool ShowAgainFlagValue() const { return FShowAgainFlagValue; }
    void SetShowAgainFlagValue(bool Value) { FShowAgainFlagValue = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    const std::string& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const std::string& Value) { FButtonSkinDataName = Value; }
    const std::string& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
    void SetMessageLabelSkinDataName(const std::string& Value) {
        FMessageLabelSkinDataName = Value;
    }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

    TbsMessageSetShowPosEvent OnSetShowPos;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // What sets one builder apart from another.
    struct TFormRecipe {
        std::string Msg;
        std::string Caption;
        TMsgDlgType DlgType = mtCustom;
        // The Custom builder's picture; Custom false uses the type's icon.
        bool Custom = false;
        TCustomImageList* Images = nullptr;
        int ImageIndex = -1;
        bool CheckBoxAllowed = true;
    };
    TbsMessageForm* Build(const TFormRecipe& Recipe, TMsgDlgButtons Buttons, int X, int Y);
    int ButtonHeight() const;
    void AddPicture(TbsMessageForm* Form, const TFormRecipe& Recipe, int LabelMiddle);
    void AddCheckBox(TbsMessageForm* Form, int ButtonH);
    void AddButtons(TbsMessageForm* Form, TMsgDlgButtons Buttons, int RowWidth, int ButtonH);
    // Steps 2 to 5 of every call: help, position, the run, the read-back.
    int Run(TbsMessageForm* Form, int HelpCtx, const std::string* HelpFileName, bool MovePos);

    bool FShowAgainFlag = false;
    bool FShowAgainFlagValue = false;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 200;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlSD = nullptr;
    std::string FButtonSkinDataName = "button";
    std::string FMessageLabelSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TFont> FDefaultButtonFont;
    bool FUseSkinFont = true;
};
