// What the push button and the speed button share on top of their base
// (windowed or windowless): the glyph with its state cells, the image list,
// the content's layout, the down state with its group, the settings read by
// the faces and the effects, and an action's image taken as the glyph.
//
// TBase is the skinned base class, TButton the button class itself (so that
// a group is searched for buttons of the same kind). The button owns its
// timed effects and hands them over through ButtonEffects().
#pragma once

#include "platform/forms/ActnList.h"
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.ButtonEffects.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsUtils.ButtonFace.h"

// The colour an action's image is laid on when it becomes the glyph; the
// glyph is drawn keyed on it.
inline constexpr TColor ButtonGlyphKey = 0xFF00FF;

template <class TBase, class TButton> class TbsButtonContent : public TBase {
public:
    using TBase::TBase;

    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool Down() const { return FDown; }
    // Down raises the other down buttons of the group under the same parent
    // (unless all may be up); a morphing button shows the new state at once.
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(TBitmap* Value);
    TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsNumGlyphs Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);
    bool MouseIn() const { return FMouseIn; }

    // Back to the idle look: not hot, not down, no morph or frame strip.
    void RefreshButton();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // An action's image becomes the glyph, on the key colour, while the
    // button has no glyph of its own.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

    virtual TbsButtonEffects& ButtonEffects() = 0;
    bool SkinEffectsOn() const;
    bool MorphingOn() const { return SkinEffectsOn() && Morphing; }
    // The glyph cell for the state: 1 normal, 2 disabled, 3 pressed, 4 hot,
    // as far as the glyph has cells.
    int GlyphNumber(bool ADown, bool AMouseIn) const;

    TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;
    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FAllowAllUp = false;
    bool FDown = false;
    int FGroupIndex = 0;
    TBitmap FGlyph;
    TbsNumGlyphs FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;

    bool FMouseIn = false;
    bool FMouseDown = false;
    bool FAllowAllUpCheck = false;

    // Element copy.
    bool Morphing = false;
};

template <class TBase, class TButton>
inline void TbsButtonContent<TBase, TButton>::SetImageList(TCustomImageList* Value) {
    if (FImageList)
        FImageList->RemoveFreeNotification(this);
    FImageList = Value;
    if (FImageList)
        FImageList->FreeNotification(this);
    this->Repaint();
}

template <class TBase, class TButton> void TbsButtonContent<TBase, TButton>::SetDown(bool Value) {
    FDown = Value;
    TbsButtonEffects& Effects = ButtonEffects();
    if (MorphingOn()) {
        Effects.FMorphKf = 1.0;
        if (Value)
            Effects.StopMorph();
        else
            Effects.StartMorph();
    }
    this->Repaint();
    TWinControl* P = this->Parent();
    if (FGroupIndex == 0 || !FDown || FAllowAllUp || !P)
        return;
    for (int I = 0; I < P->ControlCount(); ++I) {
        auto* Other = dynamic_cast<TButton*>(P->Controls(I));
        if (Other && Other != this && Other->FGroupIndex == FGroupIndex && Other->FDown)
            Other->SetDown(false);
    }
}

template <class TBase, class TButton>
inline void TbsButtonContent<TBase, TButton>::SetGlyph(TBitmap* Value) {
    FGlyph.Assign(Value);
    this->Repaint();
}

template <class TBase, class TButton>
inline void TbsButtonContent<TBase, TButton>::SetNumGlyphs(TbsNumGlyphs Value) {
    FNumGlyphs = Value;
    this->Repaint();
}

template <class TBase, class TButton> void TbsButtonContent<TBase, TButton>::SetMargin(int Value) {
    if (Value < -1 || Value == FMargin)
        return;
    FMargin = Value;
    this->Repaint();
}

template <class TBase, class TButton> void TbsButtonContent<TBase, TButton>::SetSpacing(int Value) {
    FSpacing = Value;
    this->Repaint();
}

template <class TBase, class TButton>
inline void TbsButtonContent<TBase, TButton>::SetLayout(TbsButtonLayout Value) {
    if (Value == FLayout)
        return;
    FLayout = Value;
    this->Repaint();
}

template <class TBase, class TButton> void TbsButtonContent<TBase, TButton>::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    TbsButtonEffects& Effects = ButtonEffects();
    if (MorphingOn())
        Effects.FMorphKf = 0;
    if (SkinEffectsOn())
        Effects.StopFrameAnimation();
    this->Repaint();
}

template <class TBase, class TButton>
inline void TbsButtonContent<TBase, TButton>::Notification(TComponent* AComponent,
                                                           TOperation Operation) {
    TBase::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImageList)
        FImageList = nullptr;
}

template <class TBase, class TButton>
inline void TbsButtonContent<TBase, TButton>::ActionChange(TObject* Sender, bool CheckDefaults) {
    TBase::ActionChange(Sender, CheckDefaults);
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    TCustomImageList* List = A && A->ActionList() ? A->ActionList()->Images() : nullptr;
    if (List && A->ImageIndex() >= 0 && A->ImageIndex() < List->Count() && FGlyph.Empty()) {
        FGlyph.SetSize(List->Width(), List->Height());
        FGlyph.Canvas()->Brush()->SetStyle(bsSolid);
        FGlyph.Canvas()->Brush()->SetColor(ButtonGlyphKey);
        FGlyph.Canvas()->FillRect({0, 0, List->Width(), List->Height()});
        List->Draw(FGlyph.Canvas(), 0, 0, A->ImageIndex(), true);
    }
    this->Repaint();
}

template <class TBase, class TButton> bool TbsButtonContent<TBase, TButton>::SkinEffectsOn() const {
    return this->FSD && !this->FSD->Empty && this->FSD->EnableSkinEffects();
}

template <class TBase, class TButton>
inline int TbsButtonContent<TBase, TButton>::GlyphNumber(bool ADown, bool AMouseIn) const {
    if (ADown && AMouseIn && FNumGlyphs > 2)
        return 3;
    if (AMouseIn && FNumGlyphs > 3)
        return 4;
    if (!this->Enabled() && FNumGlyphs > 1)
        return 2;
    return 1;
}
