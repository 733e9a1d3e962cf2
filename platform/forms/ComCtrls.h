// The track bar and the progress bar, drawn by the library.
#pragma once

#include "platform/forms/Controls.h"

#include <algorithm>

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TUDOrientation { udHorizontal, udVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TCustomControl {
public:
    explicit TTrackBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int Value) { SetRange(Value, std::max(Value, FMax)); }
    int Max() const { return FMax; }
    void SetMax(int Value) { SetRange(std::min(FMin, Value), Value); }
    void SetRange(int AMin, int AMax);
    int Position() const { return FPosition; }
    // Kept in Min..Max; a change fires OnChange once.
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value) { FPageSize = Value; }
    int LineSize() const { return FLineSize; }
    void SetLineSize(int Value) { FLineSize = Value; }
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark Value);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle Value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);
    // The thumb's rectangle in client coordinates.
    TRect ThumbRect();

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;
    TRect ChannelRect();
    int PositionAt(TPoint P);

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FPageSize = 2;
    int FLineSize = 1;
    int FFrequency = 1;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    TTrackBarOrientation FOrientation = trHorizontal;
    bool FDragging = false;
};

class TProgressBar : public TCustomControl {
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Step() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    // Advances by Step, wrapping to Min past Max.
    void StepIt();
    void StepBy(int Delta);

protected:
    void Paint() override;

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
};
