// TbsSkinUpDown: two step buttons that move an integer Position between Min
// and Max by Increment, repeating while a button is held. It shows no
// number; owners read Position or listen to OnChange. The repeat is window
// timer 1 of its own window.
#pragma once

#include "platform/forms/ComCtrls.h"
#include "skin/controls/bsSkinCBTypes.h"
#include "skin/controls/bsSkinCtrls.Base.h"

class TbsSkinUpDown : public TbsSkinCustomControl {
public:
    explicit TbsSkinUpDown(TComponent* AOwner);
    ~TbsSkinUpDown() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);

    // 0 = up (increments), 1 = down (decrements), in client coordinates.
    const TbsCBButtonX& Button(int Index) const { return Buttons[Index]; }

    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnChange;

protected:
    void Dispatch(TMessage& Message) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool FUseSkinSize = true;
    TUDOrientation FOrientation = udHorizontal;
    TbsCBButtonX Buttons[2];
    int OldActiveButton = -1;
    int ActiveButton = -1;
    int CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
    int FIncrement = 1;
    int FPosition = 0;
    int FMin = 0;
    int FMax = 100;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
    TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;

private:
    void CalcButtonRects();
    void TestActive(int X, int Y);
    void ButtonEnter(int I);
    void ButtonLeave(int I);
    void ButtonDown(int I);
    void ButtonUp(int I);
    void StopTimer();
    void TimerTick();
    void ResetHover();
    int ArrowCode(int I) const;
    void DrawButton(TCanvas* C, int I);
    void DrawResizeButton(TCanvas* C, int I);
};
