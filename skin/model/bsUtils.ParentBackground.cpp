#include "skin/model/bsUtils.ParentBackground.h"

#include "platform/forms/Forms.h"

namespace {

// Flags a control as painting into a copy for as long as it lives, also when
// a paint raises.
class TPaintCopyFlag {
public:
    explicit TPaintCopyFlag(TControl* Control) : FControl(Control) {
        FControl->SetControlState(FControl->ControlState() + TControlState{csPaintCopy});
    }
    ~TPaintCopyFlag() {
        FControl->SetControlState(FControl->ControlState() - TControlState{csPaintCopy});
    }
    TPaintCopyFlag(const TPaintCopyFlag&) = delete;
    TPaintCopyFlag& operator=(const TPaintCopyFlag&) = delete;

private:
    TControl* FControl;
};

class TSavedDC {
public:
    explicit TSavedDC(HDC DC) : FDC(DC), FLevel(SaveDC(DC)) {}
    ~TSavedDC() { RestoreDC(FDC, FLevel); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FLevel;
};

void PaintParent(TWinControl* Parent, HDC DC, TPoint Origin) {
    TSavedDC Saved(DC);
    SetViewportOrgEx(DC, Origin.X, Origin.Y, nullptr);
    IntersectClipRect(DC, 0, 0, Parent->ClientWidth(), Parent->ClientHeight());
    auto* Form = dynamic_cast<TCustomForm*>(Parent);
    if (Form && Form->FormStyle() == fsMDIForm) {
        SendMessage(Form->ClientHandle(), WM_ERASEBKGND, WPARAM(DC), 0);
        return;
    }
    Parent->Perform(WM_ERASEBKGND, WPARAM(DC), 0);
    if (!Form)
        Parent->PaintWindow(DC);
}

void PaintSiblingsBelow(TControl* Control, HDC DC, TPoint Shift) {
    TWinControl* Parent = Control->Parent();
    const TRect Bounds = Control->BoundsRect();
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* Sibling = Parent->Controls(I);
        if (Sibling == Control)
            break;
        if (dynamic_cast<TWinControl*>(Sibling) || !Sibling->Visible())
            continue;
        TRect Common;
        const TRect SB = Sibling->BoundsRect();
        if (!IntersectRect(&Common, &SB, &Bounds))
            continue;
        TPaintCopyFlag Flag(Sibling);
        TSavedDC Saved(DC);
        SetViewportOrgEx(DC, SB.Left - Bounds.Left + Shift.X, SB.Top - Bounds.Top + Shift.Y,
                         nullptr);
        IntersectClipRect(DC, 0, 0, SB.Width(), SB.Height());
        Sibling->Perform(WM_PAINT, WPARAM(DC), 0);
    }
}

void DrawBackground(TControl* Control, TPoint Shift, TCanvas* Canvas) {
    if (!Control || !Control->Parent() || !Canvas)
        return;
    TWinControl* Parent = Control->Parent();
    const HDC DC = Canvas->Handle();
    TPaintCopyFlag Flag(Parent);
    PaintParent(Parent, DC, {-Control->Left() + Shift.X, -Control->Top() + Shift.Y});
    PaintSiblingsBelow(Control, DC, Shift);
}

} // namespace

void DrawParentBackground(TControl* Control, TCanvas* Canvas) {
    DrawBackground(Control, {0, 0}, Canvas);
}

void DrawParentBackgroundRect(TControl* Control, const TRect& R, TCanvas* Canvas) {
    DrawBackground(Control, {-R.Left, -R.Top}, Canvas);
}
