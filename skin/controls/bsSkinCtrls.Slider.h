// TbsSkinCustomSlider and TbsSkinSlider: a ruler with a thumb that is
// dragged, a held press on the ruler that jumps one increment at a time,
// keyboard steps and optional tick points. It draws from a "slider" skin
// element or from four pictures of its own (defaults "BS_HTB", "BS_HRL",
// "BS_VTB", "BS_VRL" from the resource registry).
//
// Event order owners rely on: OnMouseDown before the slider reacts to a
// press; OnChange for every value change; on release the drag or track is
// finished (OnChanged) before OnMouseUp.
#pragma once

#include "platform/forms/Sets.h"
#include "skin/controls/bsSkinCtrls.Base.h"

#include <array>
#include <memory>

enum TbsSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TbsSliderImages = TSet<TbsSliderImage>;
using TbsNumThumbStates = int;
enum TbsSliderOrientation { soHorizontal, soVertical };
enum TbsSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TbsSliderOptions = TSet<TbsSliderOption>;
enum TbsJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };

// Registers the four default pictures under their names (once).
void RegisterSliderDefaultPictures();

class TbsSkinCustomSlider : public TbsSkinControl {
public:
    explicit TbsSkinCustomSlider(TComponent* AOwner);
    ~TbsSkinCustomSlider() override;

    int Value() const { return FValue; }
    void SetValue(int V);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int V);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int V);
    int Increment() const { return FIncrement; }
    void SetIncrement(int V);
    TbsSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TbsSliderOrientation V);
    TbsSliderOptions Options() const { return FOptions; }
    void SetOptions(TbsSliderOptions V);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V);
    bool UseSkinThumb() const { return FUseSkinThumb; }
    void SetUseSkinThumb(bool V);
    TbsNumThumbStates NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(TbsNumThumbStates V);
    int EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(int V);
    // Off: a press on the ruler jumps one increment toward the pointer and
    // repeats while held. On: the thumb goes under the pointer at once and
    // the press drags it from there, as a press on the thumb does.
    bool JumpToPress() const { return FJumpToPress; }
    void SetJumpToPress(bool V) { FJumpToPress = V; }
    TBitmap* Image(TbsSliderImage Index) const { return FImages[Index].get(); }
    // A copy of B becomes the picture; none loads the default back.
    void SetImage(TbsSliderImage Index, TBitmap* B);
    TbsSliderImages UserImages() const { return FUserImages; }

    const TRect& ThumbRect() const { return FThumbRect; }
    TPoint RulerOrg() const { return FRulerOrg; }
    TBitmap* Ruler() const { return FRuler.get(); }
    const TRect& PointsRect() const { return FPointsRect; }

    int TrackLength();
    int ValueToPos(int V);
    int PosToValue(int P);
    int SnapPosition(int P);
    void MoveThumb(int P);
    void JumpTo(TbsJumpMode Mode);
    TbsJumpMode HitTest(int X, int Y);
    virtual void AdjustElements();
    void DrawPoints(TCanvas* C, int PointsStep, int ExtremePointsHeight, int PointsHeight);
    void DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight);

    void ChangeSkinData() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanged;
    TNotifyEvent OnDrawPoints;

protected:
    virtual bool CanModify() { return true; }
    virtual void GetSliderRect(TRect& R) { R = {0, 0, Width(), Height()}; }
    virtual int GetSliderValue() { return FValue; }
    virtual void RangeChanged() {}
    virtual void ThumbMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ThumbMouseMove(TShiftState Shift, int X, int Y);
    virtual void ThumbMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Change();
    virtual void Changed();

    void Loaded() override;
    void Paint() override;
    void GetSkinData() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool FUseSkinThumb = true;
    bool FTransparent = false;
    TbsSliderImages FUserImages;
    std::array<std::unique_ptr<TBitmap>, 4> FImages;
    int FEdgeSize = 2;
    std::unique_ptr<TBitmap> FRuler;
    bool FPaintBuffered = false;
    TPoint FRulerOrg;
    TRect FThumbRect;
    bool FThumbDown = false;
    TbsNumThumbStates FNumThumbStates = 2;
    TRect FPointsRect;
    TbsSliderOrientation FOrientation = soHorizontal;
    TbsSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
    int FMinValue = 0;
    int FMaxValue = 100;
    int FIncrement = 10;
    int FValue = 0;
    int FHit = 0;
    bool FFocused = false;
    bool FSliding = false;
    bool FTracking = false;
    bool FTimerActive = false;
    TPoint FMousePos;
    TbsJumpMode FStartJump = jmNone;
    bool FJumpToPress = false;
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int SkinEdgeSize = 0;
    TColor BGColor = 0;
    TColor PointsColor = 0;
    TBitmap* Picture = nullptr;

private:
    bool SkinThumb() const;
    TSize ThumbSize();
    void SetRange(int AMin, int AMax);
    void LoadDefaultImage(TbsSliderImage Index);
    void BuildRuler(const TRect& R);
    void InvalidateThumb();
    void TrackTimer();
    void StopTracking();
    void SlideFromPress(int X, int Y);
    void PaintBuffered(TMessage& Message);
    bool Reading() const;
    bool FCreating = true;
};

class TbsSkinSlider : public TbsSkinCustomSlider {
public:
    using TbsSkinCustomSlider::TbsSkinCustomSlider;
};
