#include "skin/controls/bsSkinCtrls.ButtonEffects.h"

#include "skin/model/bsEffects.EffectBmp.h"

void DrawMorphedFaces(TBitmap* A, TBitmap* B, TbsMorphKind Kind, double Kf, HDC DC) {
    auto From = TbsEffectBmp::CreateFromhWnd(A->Handle());
    auto To = TbsEffectBmp::CreateFromhWnd(B->Handle());
    switch (Kind) {
    case mkGradient:
        From->MorphGrad(To.get(), Kf);
        break;
    case mkLeftGradient:
        From->MorphLeftGrad(To.get(), Kf);
        break;
    case mkRightGradient:
        From->MorphRightGrad(To.get(), Kf);
        break;
    case mkLeftSlide:
        From->MorphLeftSlide(To.get(), Kf);
        break;
    case mkRightSlide:
        From->MorphRightSlide(To.get(), Kf);
        break;
    case mkPush:
        From->MorphPush(To.get(), Kf);
        break;
    default:
        From->Morph(To.get(), Kf);
        break;
    }
    From->Draw(DC, 0, 0);
}

namespace {

constexpr unsigned MorphInterval = 20;
constexpr double MorphStep = 0.2;
constexpr unsigned FirstRepeatDelay = 500;

std::unique_ptr<TTimer> NewTimer(unsigned Interval, TNotifyEvent OnTimer) {
    auto T = std::make_unique<TTimer>(nullptr);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    T->SetOnTimer(std::move(OnTimer));
    T->SetEnabled(true);
    return T;
}

} // namespace

TbsButtonEffects::TbsButtonEffects(TbsButtonEffectsHost* Host) : FHost(Host) {}

TbsButtonEffects::~TbsButtonEffects() = default;

void TbsButtonEffects::StartMorph() {
    if (FHost->EffectsMorphing() && FHost->EffectsSkinned() && !FHost->EffectsRepaintOnly()) {
        if (!MorphTimer)
            MorphTimer = NewTimer(MorphInterval, [this](TObject* S) { MorphTimerTick(S); });
    } else {
        FHost->EffectsRepaint();
    }
}

void TbsButtonEffects::StopMorph() {
    MorphTimer.reset();
}

void TbsButtonEffects::MorphTimerTick(TObject*) {
    const bool Hot = FHost->EffectsMorphTarget();
    if (!FHost->EffectsSkinned() || !FHost->EffectsMorphing()) {
        FMorphKf = Hot ? 1.0 : 0.0;
        MorphTimer.reset();
        return;
    }
    // The factor is compared, not clamped, while it moves; the tick after it
    // passes an end pins it there.
    if (Hot && FMorphKf < 1.0) {
        FMorphKf += MorphStep;
    } else if (!Hot && FMorphKf > 0.0) {
        FMorphKf -= MorphStep;
    } else {
        FMorphKf = Hot ? 1.0 : 0.0;
        MorphTimer.reset();
    }
    FHost->EffectsRepaint();
}

void TbsButtonEffects::StartFrameAnimation(bool Forward) {
    StopFrameAnimation();
    AnimateInc = Forward;
    CurrentFrame = Forward ? 1 : FrameCount;
    AnimateTimer = NewTimer(unsigned(AnimateInterval > 0 ? AnimateInterval : 1),
                            [this](TObject* S) { AnimateTimerTick(S); });
}

void TbsButtonEffects::StopFrameAnimation() {
    CurrentFrame = 0;
    AnimateTimer.reset();
}

void TbsButtonEffects::AnimateTimerTick(TObject*) {
    if (AnimateInc) {
        if (CurrentFrame <= FrameCount) {
            ++CurrentFrame;
            FHost->EffectsRepaint();
        }
        if (CurrentFrame > FrameCount)
            StopFrameAnimation();
    } else {
        if (CurrentFrame >= 0) {
            --CurrentFrame;
            FHost->EffectsRepaint();
        }
        if (CurrentFrame <= 0)
            StopFrameAnimation();
    }
}

TRect TbsButtonEffects::AnimationFrameRect(const TRect& SkinRect) const {
    const TRect& A = AnimateSkinRect;
    const int N = FrameCount > 0 ? FrameCount : 1;
    const int F = CurrentFrame;
    if (SkinRect.Right - SkinRect.Left < A.Right - A.Left) {
        const int W = (A.Right - A.Left) / N;
        return {A.Left + W * (F - 1), A.Top, A.Left + W * F, A.Bottom};
    }
    const int H = (A.Bottom - A.Top) / N;
    return {A.Left, A.Top + H * (F - 1), A.Right, A.Top + H * F};
}

void TbsButtonEffects::ApplyFrame(TRect& SkinRect, TRect& ActiveSkinRect) const {
    if (!AnimateTimer || CurrentFrame < 1 || CurrentFrame > FrameCount)
        return;
    const TRect Frame = AnimationFrameRect(SkinRect);
    if (AnimateInc)
        ActiveSkinRect = Frame;
    else
        SkinRect = Frame;
}

void TbsButtonEffects::StartRepeat() {
    RepeatTimer.reset();
    RepeatTimer = NewTimer(FirstRepeatDelay, [this](TObject* S) { RepeatFirstTick(S); });
}

void TbsButtonEffects::StopRepeat() {
    if (RepeatTimer)
        RepeatTimer->SetEnabled(false);
    RepeatTimer.reset();
}

void TbsButtonEffects::RepeatFirstTick(TObject*) {
    RepeatTimer->SetEnabled(false);
    RepeatTimer->SetOnTimer([this](TObject* S) { RepeatTick(S); });
    RepeatTimer->SetInterval(unsigned(FHost->EffectsRepeatInterval()));
    RepeatTimer->SetEnabled(true);
}

void TbsButtonEffects::RepeatTick(TObject*) {
    FHost->EffectsClick();
}
