// The caption's composed looks (activation frames, the cross-fade between
// the inactive and the active look) and the quick buttons it carries.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/forms/SkinMorph.h"
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"

std::unique_ptr<TBitmap> TbsSkinCaptionObject::TextStrip(TBitmap* Pic, const TRect& S,
                                                         bool AActive) {
    auto Strip = MakeStrip(Pic, S);
    if (!Strip->Empty()) {
        SetCaptionFont(Strip->Canvas(), AActive ? ActiveFontColor : FontColor);
        PaintText(Strip->Canvas(), 0, 0, AActive);
    }
    return Strip;
}

void TbsSkinCaptionObject::RepaintFrame() {
    if (Parent->Form() && Parent->Form()->HandleAllocated())
        SendMessage(Parent->Form()->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool) {
    if (!SkinUsable())
        return;
    DrawLook(Cnvs);
    // After the look, so that they show over a composed caption as well.
    if (HasQuickButtons())
        DrawQuickButtons(Cnvs);
}

void TbsSkinCaptionObject::DrawLook(TCanvas* Cnvs) {
    SetCaptionFont(Cnvs, Active ? ActiveFontColor : FontColor);
    const TPoint At = ObjectRect.TopLeft();

    // A skin that gives no frame count has no frames to cut.
    if (EnableAnimation() && FrameCount >= 1 && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        TRect R = AnimateSkinRect;
        if (AnimateSkinRect.Height() > SkinRect.Height()) {
            const int H = AnimateSkinRect.Height() / FrameCount;
            R.Top = AnimateSkinRect.Top + H * (CurrentFrame - 1);
            R.Bottom = R.Top + H;
        } else {
            const int W = AnimateSkinRect.Width() / FrameCount;
            R.Left = AnimateSkinRect.Left + W * (CurrentFrame - 1);
            R.Right = R.Left + W;
        }
        // The text keeps the look of the state being left.
        auto Strip = TextStrip(ActivePicture, R, !Active);
        if (!Strip->Empty())
            Cnvs->Draw(At.X, At.Y, Strip.get());
        return;
    }

    if (MorphUnderWay() && EnableMorphing()) {
        auto From = TextStrip(Picture, SkinRect, false);
        auto To = TextStrip(ActivePicture, ActiveSkinRect, true);
        if (From->Empty() || To->Empty() || From->Width() != To->Width() ||
            From->Height() != To->Height())
            return;
        auto EA = TbsEffectBmp::CreateFromhWnd(From->Handle());
        auto EB = TbsEffectBmp::CreateFromhWnd(To->Handle());
        MorphByKind(*EA, *EB, FMorphKf, MorphKind);
        if (Parent->GetAutoRenderingInActiveImage() && !Active)
            ApplyInActiveEffect(*EA, SD->InActiveEffect);
        EA->Draw(Cnvs->Handle(), At.X, At.Y);
        return;
    }

    const bool Plain = IsNullRect(ActiveSkinRect) ||
                       (!Active && !EnableMorphing() && !StretchEffect && !EnableAnimation());
    if (Plain) {
        PaintText(Cnvs, At.X, At.Y, Active);
        return;
    }
    auto Strip = Active ? TextStrip(ActivePicture, ActiveSkinRect, true)
                        : TextStrip(Picture, SkinRect, false);
    if (Strip->Empty())
        return;
    if (!Active && Parent->GetAutoRenderingInActiveImage()) {
        auto E = TbsEffectBmp::CreateFromhWnd(Strip->Handle());
        ApplyInActiveEffect(*E, SD->InActiveEffect);
        E->Draw(Cnvs->Handle(), At.X, At.Y);
        return;
    }
    Cnvs->Draw(At.X, At.Y, Strip.get());
}

// ---------------------------------------------------------------- quick buttons

void TbsSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs) {
    TCustomImageList* Images = Parent->QuickImageList();
    TbsQuickButtonItems* Items = Parent->QuickButtons();
    const int IW = Images->Width(), IH = Images->Height();
    int X = ObjectRect.Left;
    const int Y = ObjectRect.Top + ObjectRect.Height() / 2 - IH / 2 - 2;

    TbsDataSkinButtonControl* Back = nullptr;
    for (const char* Name : {"officequickbutton", "resizetoolbutton"}) {
        const int I = SD->GetControlIndex(Name);
        if (I != -1)
            Back = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[I].get());
        if (Back)
            break;
    }

    for (int I = 0; I < Items->Count(); ++I) {
        TbsQuickButtonItem* Item = Items->Items(I);
        if (!Item->Visible())
            continue;
        Item->ItemRect = TRect{X, Y, X + IW + 4, Y + IH + 4};
        const TRect& R = Item->ItemRect;
        if (Item->Active && Back) {
            TBitmap* Pic = SD->ActivePicture(Back->PictureIndex);
            const TRect S = Item->Down ? Back->DownSkinRect : Back->ActiveSkinRect;
            if (Pic && !IsNullRect(S)) {
                TBitmap B;
                B.SetSize(R.Width(), R.Height());
                MakeNinePartBitmapByClRect(&B, Pic, S, Back->ClRect, true);
                Cnvs->Draw(R.Left, R.Top, &B);
            }
        }
        if (Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count())
            Images->Draw(Cnvs, R.Left + R.Width() / 2 - IW / 2, R.Top + R.Height() / 2 - IH / 2,
                         Item->ImageIndex(), Item->Enabled());
        X += IW + 8;
    }
}

void TbsSkinCaptionObject::TestQuickButtons(int X, int Y) {
    if (!HasQuickButtons())
        return;
    TbsQuickButtonItems* Items = Parent->QuickButtons();
    OldActiveQuickButton = ActiveQuickButton;
    ActiveQuickButton = -1;
    for (int I = 0; I < Items->Count(); ++I) {
        TbsQuickButtonItem* Item = Items->Items(I);
        if (Item->Enabled() && Item->Visible() && PtInRect(&Item->ItemRect, TPoint{X, Y})) {
            ActiveQuickButton = I;
            break;
        }
    }
    bool Changed = false;
    for (int I = 0; I < Items->Count(); ++I) {
        TbsQuickButtonItem* Item = Items->Items(I);
        const bool Hot = I == ActiveQuickButton;
        Changed |= Item->Active != Hot;
        Item->Active = Hot;
    }
    if (Changed || ActiveQuickButton != OldActiveQuickButton)
        RepaintFrame();
    if (ActiveQuickButton != OldActiveQuickButton && ActiveQuickButton != -1 &&
        Parent->FQuickButtonsShowHint) {
        const std::string& Text = Items->Items(ActiveQuickButton)->Hint();
        if (!Text.empty())
            Parent->ShowObjectHintText(Text);
    }
    if (Changed && Parent->FQuickButtonsShowHint && ActiveQuickButton == -1)
        Parent->HideObjectHint();
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, TMouseButton Button) {
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
    if (!HasQuickButtons())
        return;
    TestQuickButtons(X, Y);
    if (ActiveQuickButton != -1) {
        TbsQuickButtonItems* Items = Parent->QuickButtons();
        for (int I = 0; I < Items->Count(); ++I) {
            Items->Items(I)->Down = I == ActiveQuickButton;
            Items->Items(I)->Active = I == ActiveQuickButton;
        }
        RepaintFrame();
    }
    if (Parent->FQuickButtonsShowHint)
        Parent->HideObjectHint();
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, TMouseButton Button) {
    Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
    if (!HasQuickButtons())
        return;
    TestQuickButtons(X, Y);
    if (ActiveQuickButton == -1)
        return;
    TbsQuickButtonItems* Items = Parent->QuickButtons();
    for (int I = 0; I < Items->Count(); ++I)
        Items->Items(I)->Down = false;
    RepaintFrame();
    // The handler may change the collection: take the event first.
    const TNotifyEvent Click = Items->Items(ActiveQuickButton)->OnClick;
    if (Click)
        Click(this);
}

void TbsSkinCaptionObject::MouseMove(int X, int Y) {
    TbsActiveSkinObject::MouseMove(X, Y);
    if (HasQuickButtons())
        TestQuickButtons(X, Y);
}

void TbsSkinCaptionObject::MouseEnter() {
    FMouseIn = true;
    Parent->DoMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
    FMouseIn = false;
    Parent->DoMouseLeaveEvent(IDName);
    if (HasQuickButtons()) {
        ActiveQuickButton = -1;
        OldActiveQuickButton = -1;
        TestQuickButtons(-1, -1);
    }
}
