// The simple standard controls: push button, check box, radio button and
// label, drawn by the library in the classic flat look.
#pragma once

#include "platform/forms/Controls.h"

// What buttons share: the pressed look while the left button or Space is
// down, and the user's click (release inside, Space up, accelerator), which
// each kind turns into its own action.
class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    // The click of the user; a push button clicks, a check box toggles.
    virtual void UserClick() = 0;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void SetPressed(bool Value);
    // Draws the caption, greyed and embossed when disabled.
    void DrawCaption(TRect R, UINT Flags);

    bool FPressed = false;
    bool FTracking = false;
    bool FSpaceDown = false;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    // Whether Enter clicks this button now (default, or focused).
    bool IsActive() const { return FActive; }
    // Sets the form's ModalResult, then fires OnClick.
    void Click() override;

protected:
    void UserClick() override { Click(); }
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;

    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
    bool FActive = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // A change fires OnClick, by the user or by code.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void UserClick() override;
    void Paint() override;

    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const { return FChecked; }
    // Checking unchecks the radio buttons of the same parent and fires OnClick.
    void SetChecked(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }

protected:
    void UserClick() override { SetChecked(true); }
    void Paint() override;

    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    void SetAutoSize(bool Value) override;

protected:
    // Draws (or, with DT_CALCRECT, measures) the caption; the one place
    // text goes through, so a derived label changes both at once.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    virtual std::string GetLabelText() { return Caption(); }
    virtual void AdjustBounds();
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};
