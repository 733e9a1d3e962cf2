// TbsSkinScrollBar: a scroll bar drawn wholly by the skin library, used
// alone and as the external bar of views and lists whose native bars are
// suppressed. Owners keep it in step with SetRange, which never calls back;
// users reach the owner only through the events.
//
// Parts: Buttons[0] is the thumb, [1] the up button (right or bottom end,
// increases Position), [2] the down button (left or top end).
#pragma once

#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/model/bsSkinData.Controls.h"

struct TbsScrollBarPart {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
};

class TbsSkinScrollBar : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBar(TComponent* AOwner);
    ~TbsSkinScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    bool Both() const { return FBoth; }
    void SetBoth(bool Value);
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int Value);
    const std::string& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const std::string& Value) { FBothSkinDataName = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);

    // Clamped and repainted, never an event.
    void SimplySetPosition(int Value);
    void SetRange(int AMin, int AMax, int APosition, int APageSize);

    // The current layout (after the last paint or press).
    const TbsScrollBarPart& Part(int Index) const { return Buttons[Index]; }
    const TRect& TrackRect() const { return NewTrackArea; }
    int TrackOffset1() const { return Offset1; }
    int TrackOffset2() const { return Offset2; }
    int ThumbOffset() const { return BOffset; }
    // Recomputes the layout for the current size, state and skin.
    void LayoutParts();

    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;
    TNotifyEvent OnLastChange;

protected:
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

    // Skin copy.
    TRect TrackArea;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
    TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
    TRect ThumbRect, ActiveThumbRect, DownThumbRect;
    int ThumbOffset1 = 0;
    int ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    int ThumbMinSize = 0;
    int ThumbMinPageSize = 0;
    TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;

    // Layout.
    TRect NewTrackArea;
    int Offset1 = 0;
    int Offset2 = 0;
    int BOffset = 0;
    TbsScrollBarPart Buttons[3];

    // Run-time state.
    int ActiveButton = -1;
    int OldActiveButton = -1;
    int CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
    bool MouseD = false;
    bool FDown = false;
    int OMPos = 0;
    int OldBOffset = 0;
    int MX = 0;
    int MY = 0;
    bool FClicksDisabled = false;
    std::string FNormalSkinDataName;

private:
    int ClampPosition(int Value) const;
    bool Horizontal() const { return FKind == sbHorizontal; }
    int Along(const TRect& R, bool End) const;
    int PartAt(int X, int Y) const;
    void UpdateActivePart(int X, int Y);
    void EnterPart(int Index);
    void LeavePart(int Index);
    void PressPart(int Index);
    void ReleasePart(int Index);
    void StartRepeat(int Mode);
    void StopRepeat();
    void RepeatTick();
    void StepBy(int Delta);
    void PositionFromThumbOffset(int T);
    void DrawPlainPart(TCanvas* C, int Index);
    void DrawSkinThumb(TCanvas* C);
    void DoMouseLeave();
    void DoWheel(TMessage& Message);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    bool FBoth = false;
    int FBothMarkerWidth = 19;
    std::string FBothSkinDataName = "bothhscrollbar";
    bool FCanFocused = false;
};
