// TbsSkinSpeedButton: the windowless tool-bar button. It shares the push
// button's faces, groups and glyph rules and its timed effects (no glow,
// no focus), can be flat and transparent (only its content is drawn until
// the pointer comes over it), takes its images from a skinned tool bar when
// it has no glyph, and can hide its caption and switch between two widths.
#pragma once

#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.ButtonContent.h"
#include "skin/controls/bsSkinCtrls.ButtonEffects.h"
#include "skin/controls/bsSkinCtrls.GraphicBase.h"
#include "skin/controls/bsSkinCtrls.ToolBarButton.h"

#include <functional>

class TbsSkinImagesMenu;

class TbsSkinSpeedButton : public TbsButtonContent<TbsGraphicSkinCustomControl, TbsSkinSpeedButton>,
                           public TbsButtonEffectsHost,
                           public TbsToolBarButton {
public:
    explicit TbsSkinSpeedButton(TComponent* AOwner);
    ~TbsSkinSpeedButton() override;

    void SetImageIndex(int Value);
    int WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
    int WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value) override;
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) override;
    void SetGroupIndex(int Value) { FGroupIndex = Value; }

    TbsButtonPaintEvent OnPaint;

    virtual void ButtonClick();
    double MorphKf() const { return FEffects.FMorphKf; }
    const TbsButtonEffects& Effects() const { return FEffects; }

    void ChangeSkinData() override;
    void SetSkinData(TbsSkinData* Value) override {
        TbsGraphicSkinCustomControl::SetSkinData(Value);
    }

protected:
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    // The caption as drawn (empty while ShowCaption is off).
    virtual std::string DrawnCaption();
    // Draws the content (image or glyph, and caption) in R.
    virtual void DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, bool HotList,
                             bool PressedLook);
    // The images menu's picture and caption stand in for the button's own
    // (the menu speed button); false when it has none to give.
    virtual bool DrawImagesMenuContent(TCanvas*, const TRect&, bool) { return false; }

    bool EffectsSkinned() override { return FIndex != -1; }
    bool EffectsMorphing() override { return MorphingOn(); }
    TbsButtonEffects& ButtonEffects() override { return FEffects; }
    bool EffectsMorphTarget() override { return FMouseIn; }
    bool EffectsRepaintOnly() override { return FTransparent; }
    void EffectsRepaint() override { Repaint(); }
    void EffectsClick() override { ButtonClick(); }
    int EffectsRepeatInterval() override { return FRepeatInterval; }

    bool AnimationEligible() const;
    bool FacePressed() const { return FDown && (FGroupIndex != 0 || FMouseIn); }
    void SetFaceFont(TCanvas* C, bool ContentOnly);
    void DrawContentOnly(TCanvas* C);

    int FWidthWithCaption = 0;
    int FWidthWithoutCaption = 0;
    bool FShowCaption = true;
    bool FTransparent = false;
    bool FFlat = false;

    TbsButtonEffects FEffects{this};

    // Element copy.
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
    TbsMorphKind MorphKind = mkDefault;
    TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
    TColor MenuMarkerTransparentColor = 0;

private:
    void DoMouseEnter();
    void DoMouseLeave();
};

enum TbsTrackPosition { bstpRight, bstpBottom };

class TbsSkinMenuSpeedButton;

// How menu buttons reach the menus, which live above this library: the
// menus fill these once, and every menu button's seams call them. Unset,
// a menu button opens nothing and comes up again at once.
struct TbsMenuButtonMenus {
    // Opens the popup menu below R (screen coordinates) for the button; the
    // menu performs WM_CLOSESKINMENU on the button when it closes.
    std::function<void(TbsSkinMenuSpeedButton* Button, TComponent* Menu, const TRect& R)>
        PopupSkinMenu;
    // Opens the image grid at R; answers whether it opened (a grid without
    // images does not). The grid calls the button's ImagesMenuClose.
    std::function<bool(TbsSkinMenuSpeedButton* Button, TComponent* Menu, const TRect& R)>
        PopupImagesMenu;
    // The image grid's chosen item: its image list, image and caption;
    // false when nothing is chosen.
    std::function<bool(TComponent* Menu, TCustomImageList*& Images, int& ImageIndex,
                       std::string& Caption)>
        ImagesMenuChoice;
};
TbsMenuButtonMenus& MenuButtonMenus();

// A speed button with a drop-down strip (15 pixels at the right or bottom)
// that opens a skinned popup menu and/or an image-grid menu; in track-button
// mode only the strip opens them (a split button).
//
// The menus are the forms subsystem's: this class keeps references to them
// and opens them through PopupSkinMenu and PopupImagesMenu, virtual seams
// that the menus fill; a menu that closes performs WM_CLOSESKINMENU on the
// button, or calls ImagesMenuClose for the image grid.
class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
public:
    explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
    ~TbsSkinMenuSpeedButton() override;

    TComponent* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TComponent* Value);
    TComponent* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(TComponent* Value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool Value);
    TbsTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TbsTrackPosition Value);
    bool NewStyle() const { return FNewStyle; }
    void SetNewStyle(bool Value);
    // 1 to 4: an arrow of DrawArrowImage in place of the drop-down sign.
    int StandardArrowKind() const { return FStandardArrowKind; }
    void SetStandardArrowKind(int Value);

    bool MenuTracked() const { return FMenuTracked; }
    TRect GetTrackButtonRect();
    bool InTrackArea(int X, int Y);
    // Opens the menus at the button (the press in the track area).
    void TrackMenu();
    // The image grid closed (before its own close and item events).
    void ImagesMenuClose();

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Seams of the menus: open the popup menu below R (screen coordinates)
    // for this control, open the image grid at R; by default through the
    // menus' registration (MenuButtonMenus).
    virtual void PopupSkinMenu(const TRect& R);
    virtual void PopupImagesMenu(const TRect& R);
    // Whether the image grid opened (false: it has no images to show).
    virtual bool ImagesMenuOpened() { return FImagesMenuOpened; }
    bool DrawImagesMenuContent(TCanvas* C, const TRect& R, bool Pressed) override;

    void DrawMenuMarker(TCanvas* C, const TRect& R, bool Active, bool Down, bool Flat);
    void DrawResizeElement(const std::string& Name, TCanvas* C, bool Down, bool Active,
                           const TRect& T);

    TComponent* FSkinPopupMenu = nullptr;
    TComponent* FSkinImagesMenu = nullptr;
    bool FUseImagesMenuImage = false;
    bool FUseImagesMenuCaption = false;
    bool FTrackButtonMode = false;
    TbsTrackPosition FTrackPosition = bstpRight;
    bool FNewStyle = false;
    int FStandardArrowKind = 0;
    bool FMenuTracked = false;
    bool FImagesMenuOpened = false;
    TRect TrackButtonRect;

private:
    bool StripElement() const;
    TRect StripRect() const;
    void DrawSign(TCanvas* C, const TRect& R, TColor Color, bool Active, bool Down, bool Flat,
                  bool UsePicture);
    void DrawStripFace(TBitmap* B, bool ADown, bool AMouseIn, bool NinePart);
    void DrawNewStyleFace(TBitmap* B, bool ADown, bool AMouseIn);
    void DrawFaceContent(TCanvas* C, const TRect& Text, bool Pressed, bool AMouseIn);
    void PaintIdleContent(TCanvas* C);
    void FillPart(TBitmap* B, const TRect& Part, const TRect& Source, bool NinePart);
    void CloseMenu();
};
