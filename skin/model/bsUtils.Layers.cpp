#include "skin/model/bsUtils.Layers.h"

#include "skin/model/bsEffects.Glow.h"
#include "skin/model/bsUtils.Platform.h"

#include <algorithm>

bool IsLayeredWindowSupportedRule(int Major, int Minor, bool Compositor) {
    return IsLayeredWindowVersion(Major, Minor) && Compositor;
}

bool IsLayeredWindowSupported() {
    int Major = 0, Minor = 0;
    GetWinVersion(Major, Minor);
    return IsLayeredWindowSupportedRule(Major, Minor, HasCompositor());
}

// ---------------------------------------------------------------- layer window

void TbsLayerWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TbsLayerWindow::WndProc(TMessage& Message) {
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------- helpers

void UpdateLayeredWindowAlpha(TbsBitmap* Bmp, BYTE Alpha, TWinControl* Control) {
    if (!Bmp || Bmp->Empty() || !Control)
        return;
    const TPoint Dest{Control->Left(), Control->Top()};
    const TSize Size{Bmp->Width(), Bmp->Height()};
    const TPoint Src{0, 0};
    BLENDFUNCTION Blend;
    Blend.BlendOp = AC_SRC_OVER;
    Blend.BlendFlags = 0;
    Blend.SourceConstantAlpha = Alpha;
    Blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindow(Control->Handle(), 0, &Dest, &Size, Bmp->DC(), &Src, 0, &Blend, ULW_ALPHA);
}

void MakeAlphaLayerBitmap(TBitmap* Image, TBitmap* Mask, TbsBitmap* Dest) {
    if (!Image || Image->Empty() || !Dest)
        return;
    Dest->Assign(Image);
    if (!Mask || Mask->Empty())
        return;
    TbsBitmap MaskPixels;
    MaskPixels.Assign(Mask);
    SetAlphaFromGrayMask(Dest, &MaskPixels);
}

// ---------------------------------------------------------------- manager

TbsLayerManager::TbsLayerManager(TComponent* AOwner) : TComponent(AOwner) {
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(25);
    FTimer->SetOnTimer(TNotifyEvent(this, &TbsLayerManager::FadeStep));
}

TbsLayerManager::~TbsLayerManager() {
    delete FTimer;
    FTimer = nullptr;
    delete FLayerWindow;
    FLayerWindow = nullptr;
}

void TbsLayerManager::Show(int X, int Y, int AlphaBlendValue, TBitmap* ImageMask, TBitmap* Image) {
    if (!IsLayeredWindowSupported())
        return;
    if (FLayerWindow || FIsVisible)
        Hide();
    // A skin without the glow's picture or mask shows no glow at all.
    if (!Image || Image->Empty() || !ImageMask || ImageMask->Empty())
        return;
    FIsVisible = true;
    FLayerWindow = new TbsLayerWindow(this);
    FLayerWindow->SetVisible(false);
    FLayerWindow->SetBounds(X, Y, Image->Width(), Image->Height());
    const HWND Wnd = FLayerWindow->Handle();
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    FBmp = std::make_unique<TbsBitmap>();
    MakeAlphaLayerBitmap(Image, ImageMask, FBmp.get());
    UpdateLayeredWindowAlpha(FBmp.get(), 0, FLayerWindow);
    SetWindowPos(Wnd, FTopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FEndAlphaBlendValue = std::clamp(AlphaBlendValue, 0, 255);
    // A step of at least 1, or a faint layer would never become visible.
    FStepAlphaBlendValue = FEndAlphaBlendValue > 0 ? std::max(1, FEndAlphaBlendValue / 10) : 0;
    StartTimer();
}

void TbsLayerManager::Hide() {
    StopTimer();
    FBmp.reset();
    FIsVisible = false;
    if (FLayerWindow) {
        SetWindowPos(FLayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        delete FLayerWindow;
        FLayerWindow = nullptr;
    }
}

void TbsLayerManager::StartTimer() {
    FBeginAlphaBlendValue = 0;
    FTimer->SetEnabled(true);
}

void TbsLayerManager::StopTimer() {
    if (FTimer)
        FTimer->SetEnabled(false);
}

void TbsLayerManager::FadeStep(TObject*) {
    if (!FBmp || !FLayerWindow)
        return;
    FBeginAlphaBlendValue =
        std::min(FBeginAlphaBlendValue + FStepAlphaBlendValue, FEndAlphaBlendValue);
    UpdateLayeredWindowAlpha(FBmp.get(), BYTE(FBeginAlphaBlendValue), FLayerWindow);
    if (FBeginAlphaBlendValue >= FEndAlphaBlendValue)
        StopTimer();
}
