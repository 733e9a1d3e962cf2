// Layered windows: a picture with per-pixel alpha shown as a topmost,
// click-through window that never takes the focus, faded in on a 25 ms
// timer. Where layered windows cannot be seen (an old system, or a desktop
// without a compositor, where they would show as opaque bands) nothing is
// shown.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/model/bsEffects.Bitmap.h"

#include <memory>

// The version rule and whether the desktop shows per-pixel alpha.
bool IsLayeredWindowSupportedRule(int Major, int Minor, bool Compositor);
bool IsLayeredWindowSupported();

// The surface of a layered window: a popup that paints nothing itself and
// is never activated.
class TbsLayerWindow : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

// Bmp's pixels with the constant Alpha as Control's layered image, at
// Control's position.
void UpdateLayeredWindowAlpha(TbsBitmap* Bmp, BYTE Alpha, TWinControl* Control);
// Dest takes Image's pixels with alpha from Mask's grey; a missing or empty
// Image leaves Dest empty.
void MakeAlphaLayerBitmap(TBitmap* Image, TBitmap* Mask, TbsBitmap* Dest);

class TbsLayerManager : public TComponent {
public:
    explicit TbsLayerManager(TComponent* AOwner);
    ~TbsLayerManager() override;

    // Shows Image with alpha from ImageMask at (X, Y) and fades it in to
    // AlphaBlendValue (0..255) in steps of a tenth, at least 1. A missing or
    // empty image or mask shows nothing.
    void Show(int X, int Y, int AlphaBlendValue, TBitmap* ImageMask, TBitmap* Image);
    // Hides and frees the layer, also when layered windows went away since Show.
    void Hide();
    void StartTimer();
    void StopTimer();

    bool IsVisible() const { return FIsVisible; }
    bool TopMostMode() const { return FTopMostMode; }
    void SetTopMostMode(bool Value) { FTopMostMode = Value; }
    TbsLayerWindow* LayerWindow() const { return FLayerWindow; }
    TbsBitmap* Bmp() const { return FBmp.get(); }
    TTimer* Timer() const { return FTimer; }
    int EndAlphaBlendValue() const { return FEndAlphaBlendValue; }
    int BeginAlphaBlendValue() const { return FBeginAlphaBlendValue; }
    int StepAlphaBlendValue() const { return FStepAlphaBlendValue; }

private:
    void FadeStep(TObject* Sender);

    TbsLayerWindow* FLayerWindow = nullptr;
    std::unique_ptr<TbsBitmap> FBmp;
    TTimer* FTimer = nullptr;
    int FEndAlphaBlendValue = 0;
    int FBeginAlphaBlendValue = 0;
    int FStepAlphaBlendValue = 0;
    bool FIsVisible = false;
    bool FTopMostMode = true;
};
