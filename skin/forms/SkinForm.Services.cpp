// TbsSkinForm: the skinning switch and the services shared by the frame,
// the hit test and the caption objects.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsUtils.h"

void TbsSkinForm::SetUseRibbon(bool Value) {
    FUseRibbon = Value;
    if (Value && !ComponentState().Contains(csDesigning))
        SetSkinnableForm(false);
}

void TbsSkinForm::SetSkinnableForm(bool Value) {
    if (FUseRibbon)
        Value = false;
    FFormActive = GetFormActive();
    if ((IsMDIForm() && FForm->MDIChildCount() > 0) || ComponentState().Contains(csDesigning))
        return;
    bool MaximizeAgain = false;
    if (FWindowState == wsMaximized && FSkinnableForm) {
        if (!IsMDIForm())
            FForm->Hide();
        SetWindowState(wsNormal);
        MaximizeAgain = true;
    } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
        FForm->SetWindowState(wsNormal);
        if (!IsMDIForm())
            FForm->Hide();
        MaximizeAgain = true;
    }
    FSkinnableForm = Value;
    FormChangeSkinData();
    ChangeControlsSkinData(nullptr, FForm);
    if (IsMDIForm()) {
        if (FClientInstance) {
            RemoveMDIClientHook();
            FForm->WindowProc = TWndMethod(this, &TbsSkinForm::NewWndProc);
            FForm->RecreateWnd();
        }
        if (FForm->ClientHandle())
            InstallMDIClientHook();
        ForceRealign();
    } else {
        FForm->WindowProc = TWndMethod(this, &TbsSkinForm::NewWndProc);
        if (!FSkinnableForm && FIsVistaOs)
            FForm->RecreateWnd();
    }
    if (MaximizeAgain) {
        if (!FSkinnableForm)
            FForm->SetWindowState(wsMaximized);
        else
            SetWindowState(wsMaximized);
        if (!IsMDIForm())
            FForm->Show();
    }
}

void TbsSkinForm::MorphTimerStep(TObject*) {
    bool Stepped = false;
    // An object's step may repaint; the list itself does not change here.
    for (int I = 0; I < ObjectCount(); ++I) {
        TbsActiveSkinObject* O = ObjectList[I].get();
        if (O->EnableMorphing() && O->CanMorphing()) {
            O->DoMorphing();
            Stepped = true;
        }
    }
    if (!Stepped)
        MorphTimer->SetEnabled(false);
}

void TbsSkinForm::AnimateTimerStep(TObject*) {
    bool Stepped = false;
    for (int I = 0; I < ObjectCount(); ++I) {
        TbsActiveSkinObject* O = ObjectList[I].get();
        if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) {
            if (A->Active && (!A->FDown || IsNullRect(A->DownSkinRect))) {
                A->ChangeFrame();
                Stepped = true;
            }
        } else if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O); C && C->EnableAnimation()) {
            // Waiting out the interval is advancing too: stopping the timer
            // here would freeze the caption on its current frame.
            if (C->FIncTime < C->AnimateInterval &&
                (C->Active ? C->CurrentFrame <= C->FrameCount : C->CurrentFrame > 0)) {
                C->FIncTime += 25;
                Stepped = true;
            } else if (C->FIncTime < C->AnimateInterval) {
                C->FIncTime += 25;
            } else if (C->Active && C->CurrentFrame <= C->FrameCount) {
                ++C->CurrentFrame;
                DrawSkinObject(C);
                C->FIncTime = 25;
                Stepped = true;
            } else if (!C->Active && C->CurrentFrame > 0) {
                --C->CurrentFrame;
                DrawSkinObject(C);
                C->FIncTime = 25;
                Stepped = true;
            }
        }
    }
    if (!Stepped)
        AnimateTimer->SetEnabled(false);
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject) {
    if ((IsMDIChild() && FWindowState == wsMaximized) || FForm->BorderStyle() == bsNone ||
        !FForm->HandleAllocated())
        return;
    const HWND Wnd = FForm->Handle();
    const HDC DC = GetWindowDC(Wnd);
    if (!DC)
        return;
    TControlCanvas Canvas;
    Canvas.PaintOn(DC, [&] { AObject->Draw(&Canvas, true); });
    ReleaseDC(Wnd, DC);
}

void TbsSkinForm::ResetCaptionButtons() {
    for (auto& O : ObjectList) {
        if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get())) {
            A->FMouseIn = false;
            A->Active = false;
            A->FFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject*>(O.get())) {
            O->Active = false;
            O->FMouseIn = false;
            O->SetMorphKf(0);
        }
    }
}

bool TbsSkinForm::GetAutoRenderingInActiveImage() {
    return SkinReady() && FSD->AutoRenderingInActiveImage;
}

void TbsSkinForm::PointToFrame(TPoint& P) {
    if (IsMDIChild()) {
        P = FForm->ScreenToClient(P);
        if (FSkinSupport)
            P = {P.X + NewClRect.Left, P.Y + NewClRect.Top};
        else
            P = {P.X + 3, P.Y + GetDefCaptionHeight() + 3};
    } else
        P = {P.X - FForm->Left(), P.Y - FForm->Top()};
}

bool TbsSkinForm::IsSizeable() {
    return FAlwaysResize || FForm->BorderStyle() == bsSizeable ||
           FForm->BorderStyle() == bsSizeToolWin;
}

bool TbsSkinForm::GetFullDrag() {
    BOOL Full = FALSE;
    SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0);
    return Full != FALSE;
}

void TbsSkinForm::SendCheckParentBG() {
    for (int I = 0; I < FForm->ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(FForm->Controls(I)))
            SendMessage(W->Handle(), WM_CHECKPARENTBG, 0, 0);
}

void TbsSkinForm::CloseMDIDropDowns() {
    if (!ComponentState().Empty() || !IsMDIForm() || !FForm->Visible())
        return;
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        auto* C = dynamic_cast<TControl*>(FForm->Components(i));
        if (!C || !(dynamic_cast<TbsSkinCustomComboBox*>(C) || dynamic_cast<TbsSkinCustomEdit*>(C)))
            continue;
        if (C->Visible() && C->Enabled())
            C->Perform(CM_CANCELMODE, 0, 0);
    }
}
