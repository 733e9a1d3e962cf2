// The timed effects of the skinned buttons: the cross-fade between two
// faces, the frame animation of a face strip, auto-repeat while held and the
// push button's glow layer. Written once; each button owns a
// TbsButtonEffects and answers its questions through TbsButtonEffectsHost.
#pragma once

#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/Graphics.h"
#include "skin/model/bsSkinData.IniValues.h"

#include <memory>

// The transition of Kind at Kf from face A (Kf 0) to face B (Kf 1), drawn
// into DC at (0, 0). Both faces have the same size.
void DrawMorphedFaces(TBitmap* A, TBitmap* B, TbsMorphKind Kind, double Kf, HDC DC);

// What the effects ask of the button that owns them.
class TbsButtonEffectsHost {
public:
    virtual ~TbsButtonEffectsHost() = default;
    // The button's element was found.
    virtual bool EffectsSkinned() = 0;
    // Skin effects on and the element asks for the cross-fade.
    virtual bool EffectsMorphing() = 0;
    // The button aims at its hot face.
    virtual bool EffectsMorphTarget() = 0;
    // A morph that only repaints (a transparent speed button).
    virtual bool EffectsRepaintOnly() { return false; }
    virtual void EffectsRepaint() = 0;
    virtual void EffectsClick() = 0;
    virtual int EffectsRepeatInterval() = 0;
};

class TbsButtonEffects {
public:
    explicit TbsButtonEffects(TbsButtonEffectsHost* Host);
    ~TbsButtonEffects();
    TbsButtonEffects(const TbsButtonEffects&) = delete;
    TbsButtonEffects& operator=(const TbsButtonEffects&) = delete;

    // Morph: the timer runs while the factor moves (20 ms ticks of 0.2).
    void StartMorph();
    void StopMorph();
    bool MorphRunning() const { return MorphTimer != nullptr; }

    // Frame animation of AnimateSkinRect (FrameCount frames).
    void StartFrameAnimation(bool Forward);
    void StopFrameAnimation();
    bool Animating() const { return AnimateTimer != nullptr; }
    TRect AnimationFrameRect(const TRect& SkinRect) const;
    // Puts the current frame in place of the hot (forward) or normal face.
    void ApplyFrame(TRect& SkinRect, TRect& ActiveSkinRect) const;

    // Clicks at 500 + RepeatInterval ms, then every RepeatInterval ms.
    void StartRepeat();
    void StopRepeat();
    bool Repeating() const { return RepeatTimer != nullptr; }

    double FMorphKf = 0;
    int CurrentFrame = 0;
    bool AnimateInc = true;
    // Copied from the element by the button.
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;

private:
    void MorphTimerTick(TObject* Sender);
    void AnimateTimerTick(TObject* Sender);
    void RepeatFirstTick(TObject* Sender);
    void RepeatTick(TObject* Sender);

    TbsButtonEffectsHost* FHost;
    std::unique_ptr<TTimer> MorphTimer;
    std::unique_ptr<TTimer> AnimateTimer;
    std::unique_ptr<TTimer> RepeatTimer;
};
