// TbsSkinCheckRadioBox: the check box and, with Radio, the radio box. Flat
// (the default) paints over the parent's background; otherwise the skin
// element's face is drawn. Boxes of one parent sharing a non-zero
// GroupIndex are exclusive. Setting Checked or State fires OnClick, as a
// user's click does.
#pragma once

#include "platform/forms/StdCtrls.h"
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/model/bsSkinData.IniValues.h"

class TTimer;

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(TComponent* AOwner);
    ~TbsSkinCheckRadioBox() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Radio() const { return FRadio; }
    void SetRadio(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool Flat() const { return FFLat; }
    void SetFlat(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

    // The skin element's font, valid once the element was found (FIndex
    // not -1); callers measure the caption with it.
    const std::string& SkinFontName() const { return FontName; }
    int SkinFontHeight() const { return FontHeight; }

    virtual void Toggle();
    // The static look with ACheckState in place of Checked, at (X, Y).
    void PaintSkinTo(TCanvas* C, int X, int Y, bool ACheckState);

    double MorphKf() const { return FMorphKf; }
    bool MorphRunning() const { return MorphTimer != nullptr; }

    TNotifyEvent OnClick;

    void ChangeSkinData() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CheckParentBackground() override;
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

    bool FUseSkinFontColor = true;
    bool FWordWrap = false;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = 0;
    bool FFLat = true;
    bool FClicksDisabled = false;
    bool FCanFocused = true;
    bool FMouseIn = false;
    int FGroupIndex = 0;
    bool FChecked = false;
    TRect CIRect;
    TRect NewTextArea;
    bool FRadio = false;
    TTimer* MorphTimer = nullptr;
    double FMorphKf = 0;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
    TRect ActiveSkinRect;
    TRect CheckImageArea, TextArea;
    TRect CheckImageRect, UnCheckImageRect, ActiveCheckImageRect, ActiveUnCheckImageRect;
    TRect UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TRect GrayedCheckImageRect, ActiveGrayedCheckImageRect;

private:
    bool HasFocus();
    bool IsActive();
    bool MorphingOn() const;
    void StateChanged();
    void MorphStart();
    void MorphStop();
    void MorphStep(TObject* Sender);
    void SetCharsetOf(TFont* F);
    void DrawCheckPicture(TCanvas* C, int X, int Y, bool ACheckState);
    void DrawFlatPlain(TCanvas* C, bool ACheckState);
    void DrawFlatSkin(TCanvas* C, bool ACheckState);
    void DrawFace(TBitmap* B, bool Active, bool ACheckState);
    void DrawBoxAndTick(TCanvas* C, int H, bool ACheckState);
    // The caption's place; ImageX is where an image would go.
    TRect CaptionPlace(TCanvas* C, int X, int ImageGap, bool& ImageShown);
    void DrawCaptionAndFocus(TCanvas* C, const TRect& Place, int X, TColor Color);
    void PaintFlatTo(TCanvas* C, bool ACheckState);
};
