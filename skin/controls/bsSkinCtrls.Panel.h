// The skinned panel, the paint panel and the group box.
//
// TbsSkinPanel is the skinned container: a "panel" element's nine-part look
// (drawn by the frame path, so children are never painted over twice), or a
// plain 3-D frame. Either may carry a caption strip with text, a glyph or an
// image-list picture, a check box that enables the children and a roll-up
// arrow that collapses the panel to its caption. The skin looks (caption,
// group-box caption frame, transparent looks, client covering, background
// picture) live in bsSkinCtrls.PanelLooks.cpp.
#pragma once

#include "skin/controls/bsSkinCtrls.Base.h"

// The frame of the plain look. Scoped: the class library's bevel cut uses
// some of the same names in another order.
enum class TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
enum TbsImagePosition { bsipDefault, bsipLeft };
// 1: one picture; 2: the enabled and the disabled picture.
using TbsSkinPanelNumGlyphs = int;
using TbsPaintPanelEvent = TMethod<void(TCanvas* Cnvs, TRect R)>;

class TbsSkinPanel : public TbsSkinCustomControl {
public:
    explicit TbsSkinPanel(TComponent* AOwner);
    ~TbsSkinPanel() override;

    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool Value);
    TbsImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TbsImagePosition Value);
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool Value);
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* Value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int Value);
    int RealHeight() const { return FRealHeight; }
    void SetRealHeight(int Value) { FRealHeight = Value; }
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool Checked() const { return FChecked; }
    // Fires OnChecked on every call, as a click on the check box does.
    void SetChecked(bool Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool Value);
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool Value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TbsSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsSkinPanelNumGlyphs Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    // The hook of the transparent looks: paints over the finished image.
    virtual void PaintClientArea(TCanvas* Canvas);

    // Collapses the panel to its caption (ARollUp) or gives it back its
    // height from before.
    void DoRollUp(bool ARollUp);
    // The rectangle children are aligned in, for the whole control.
    void GetSkinClientRect(TRect& R);
    TRect GetSkinClientRect() {
        TRect R;
        GetSkinClientRect(R);
        return R;
    }
    void PaintskinTo(TCanvas* C, int X, int Y);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    // Copied from the element by GetSkinData.
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;
    TAlignment Alignment = taLeftJustify;
    TRect CaptionRect;
    TRect NewCaptionRect;
    int BGPictureIndex = -1;
    TRect CheckImageRect, UnCheckImageRect;
    TRect MarkFrameRect, FrameRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // The caption's content width: text plus glyph cell and spacing.
    int ContentWidth(TCanvas* C);
    bool HasCaptionImage() const;
    int GlyphCell() const;
    // The caption font of the plain look, and of the skin look.
    void SetPlainFont(TCanvas* C);
    void SetSkinFont(TCanvas* C);

    bool FRibbonStyle = false;
    bool FInChangingRollUp = false;
    TbsImagePosition FImagePosition = bsipDefault;
    bool FTransparentMode = false;
    int FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
    bool FCheckedMode = false;
    bool FChecked = false;
    std::unique_ptr<TBitmap> FGlyph;
    TbsSkinPanelNumGlyphs FNumGlyphs = 1;
    int FSpacing = 2;
    int FRealHeight = -1;
    bool FRollUpState = false;
    bool FRollUpMode = false;
    bool FCaptionMode = false;
    TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
    int FDefaultCaptionHeight = 22;
    TAlignment FDefaultAlignment = taLeftJustify;
    bool FAutoEnabledControls = true;
    TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;

private:
    bool PlainLook() const { return FIndex == -1; }
    bool CaptionHit(int X, int Y) const;
    void DrawPlainCaption(TCanvas* C);
    // The skin looks (bsSkinCtrls.PanelLooks.cpp).
    void DrawSkinCaption(TCanvas* C);
    void PaintTransparentFrame();
    void PaintTransparentGroup();
    void PaintClientCovering();
    void PaintBackgroundPicture();
    void TileClientPart(TCanvas* C, int Width, int Height);
};

class TbsSkinPaintPanel : public TbsSkinPanel {
public:
    explicit TbsSkinPaintPanel(TComponent* AOwner);

    void PaintClientArea(TCanvas* Canvas) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Dispatch(TMessage& Message) override;

    TbsPaintPanelEvent OnPanelPaint;
};

class TbsSkinGroupBox : public TbsSkinPanel {
public:
    explicit TbsSkinGroupBox(TComponent* AOwner);
    void GetSkinData() override;
};
