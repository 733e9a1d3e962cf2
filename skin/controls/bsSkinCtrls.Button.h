// TbsSkinButton: the focusable push button. Its face comes from the
// pictures of a "button" element (normal, hot, pressed, focused, disabled)
// or from a plain look; it cross-fades, plays frame strips, shows a glow
// layer while hot, repeats while held, and keeps group buttons exclusive.
// Mouse and keyboard clicks go through ButtonClick, so an action never
// runs twice for one press.
#pragma once

#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/controls/bsSkinCtrls.ButtonContent.h"
#include "skin/controls/bsSkinCtrls.ButtonEffects.h"
#include "skin/model/bsUtils.ButtonFace.h"

#include <functional>

class TbsLayerManager;

using TbsButtonPaintEvent = TMethod<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool ADown,
                                         bool AMouseIn, bool& DrawDefault)>;

class TbsSkinButton : public TbsButtonContent<TbsSkinCustomControl, TbsSkinButton>,
                      public TbsButtonEffectsHost {
public:
    explicit TbsSkinButton(TComponent* AOwner);
    ~TbsSkinButton() override;

    void SetImageIndex(int Value);
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowLayeredFrame; }
    void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowLayeredFrame = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    void SetGroupIndex(int Value);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

    TbsButtonPaintEvent OnPaint;

    void ShowLayer();
    void HideLayer();
    virtual void ButtonClick();
    // A click in code behaves as a released press: modal result, then the
    // handler or the action, once.
    void Click() override;

    bool Active() const { return FActive; }
    double MorphKf() const { return FEffects.FMorphKf; }
    const TbsButtonEffects& Effects() const { return FEffects; }
    TbsLayerManager* LayerManager() const { return FLayerManager; }

    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;

protected:
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void CreateWnd() override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);

    // The effects' questions.
    bool EffectsSkinned() override { return FIndex != -1; }
    bool EffectsMorphing() override { return MorphingOn(); }
    TbsButtonEffects& ButtonEffects() override { return FEffects; }
    bool EffectsMorphTarget() override;
    void EffectsRepaint() override { Repaint(); }
    void EffectsClick() override { ButtonClick(); }
    int EffectsRepeatInterval() override { return FRepeatInterval; }

    bool AnimationEligible() const;
    bool HasFocus();

    bool FAlwaysShowLayeredFrame = false;
    bool FCanFocused = true;
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;

    bool FActive = false;
    bool FClicksDisabled = false;
    bool FSpaceSupport = true;
    TbsButtonEffects FEffects{this};
    TbsLayerManager* FLayerManager = nullptr;

    // Element copy.
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect;
    TbsMorphKind MorphKind = mkDefault;
    bool ShowFocus = false;
    int GlowLayerPictureIndex = -1;
    int GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0;
    int GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    int GlowLayerAlphaBlendValue = 0;

private:
    bool GlowAsked() const;
    bool FaceMustChange();
    void SetFaceFont(TCanvas* C);
    void DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn);
    void DoFocusChanged(TMessage& Message);
    void DoDialogKey(TMessage& Message);
    void DoMouseEnter();
    void DoMouseLeave();
    void PaintInto(TBitmap* B);
};
