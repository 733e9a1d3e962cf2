// The skinned tool bar and status bar, both panels.
//
// The tool bar keeps its children centred vertically and, with CanScroll,
// scrolls them horizontally when they are wider than the bar: two 12-pixel
// scroll buttons then take the ends of its non-client area, scrolling on a
// window timer while pressed (or, with HotScroll, while hovered). It also
// hands its image lists, flat style and skin data to the child buttons.
// The status bar docks at the bottom and may show a size grip that sizes
// the window it belongs to.
#pragma once

#include "skin/controls/bsSkinCtrls.Panel.h"

// Hit codes of the tool bar's scroll buttons, answered to WM_NCHITTEST.
constexpr LRESULT HTTOOLBARLEFTBUTTON = 119;
constexpr LRESULT HTTOOLBARRIGHTBUTTON = 120;

// One scroll button of a tool bar: window coordinates and state.
struct TbsToolBarScrollButton {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
    bool Visible = false;
};

class TbsSkinToolBar : public TbsSkinPanel {
public:
    explicit TbsSkinToolBar(TComponent* AOwner);
    ~TbsSkinToolBar() override;

    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool Value) { FAdjustControls = Value; }
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value) { FCanScroll = Value; }
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool Value) { FHotScroll = Value; }
    int ScrollOffset() const { return FScrollOffset; }
    // Refuses values below 0.
    void SetScrollOffset(int Value);
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    // Refuses values of 0 and below.
    void SetScrollTimerInterval(int Value);
    int WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(int Value) { FWidthWithCaptions = Value; }
    int WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(int Value) { FWidthWithoutCaptions = Value; }
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool Value) { FAutoShowHideCaptions = Value; }
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value);

    // Centres the children that do not centre themselves.
    void AdjustChildren();
    // Measures the children against the client width and shows, hides and
    // scrolls accordingly.
    void UpdateScroll();
    void ShowScrollButtons(bool Value);
    void StartScroll(bool Right);
    void StopScroll(bool Right);
    void ScrollStep(bool Right);

    void SetSkinData(TbsSkinData* Value) override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void CreateControlSkinImage(TBitmap* B) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

    int TimerMode = 0;
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
    TbsToolBarScrollButton Buttons[2];
    TbsDataSkinButtonControl* ButtonData = nullptr;

protected:
    bool FAdjustControls = true;
    bool FCanScroll = false;
    bool FHotScroll = false;
    int FHSizeOffset = 0;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    bool FFlat = false;
    bool FAutoShowHideCaptions = false;
    bool FShowCaptions = false;
    int FWidthWithCaptions = 0;
    int FWidthWithoutCaptions = 0;

private:
    void SetImageList(TCustomImageList*& Field, TCustomImageList* Value);
    // Handles the messages of the scroll buttons; true when the message
    // must not be passed on.
    bool ScrollButtonMessage(TMessage& Message);
    void LeaveScrollButton();
    void RepaintScrollButtons();
    void PaintScrollButton(TCanvas* C, int Index);
    void NCCalcSize(TMessage& Message);
};

class TbsSkinStatusBar : public TbsSkinPanel {
public:
    explicit TbsSkinStatusBar(TComponent* AOwner);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool Value);
    // Where the grip lies, in client coordinates.
    TRect GetGripRect();

    void SetSkinData(TbsSkinData* Value) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void AdjustClientRect(TRect& Rect) override;
    void Dispatch(TMessage& Message) override;

    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    bool FSizeGrip = false;
    bool FShowGrip = true;

private:
    bool GripActive() const { return FSizeGrip && FShowGrip; }
};

// Diagonal ridges of a size grip in the bottom-right of R.
void DrawGrip(TCanvas* C, const TRect& R, TColor Light, TColor Dark);
