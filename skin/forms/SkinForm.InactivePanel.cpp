// The panel that covers the client area of an inactive form with a frozen
// picture of it.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsEffects.Glow.h"

void TbsSkinForm::ShowClientInActiveEffect() {
    if (FInActivePanel)
        HideClientInActiveEffect();
    FInActivePanel = new TbsClientInActivePanel(this);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TbsSkinForm::HideClientInActiveEffect() {
    if (!FInActivePanel)
        return;
    TbsClientInActivePanel* Panel = FInActivePanel;
    FInActivePanel = nullptr;
    Panel->HidePanel();
    delete Panel;
}

TbsClientInActivePanel::TbsClientInActivePanel(TComponent* AOwner) : TbsSkinPaintPanel(AOwner) {
    SetVisible(false);
}

TbsClientInActivePanel::~TbsClientInActivePanel() = default;

void TbsClientInActivePanel::Paint() {
    if (Buffer)
        Buffer->Draw(Canvas(), 0, 0);
}

void TbsClientInActivePanel::ShowPanel(TForm* AForm, TbsClientInActiveEffect AEffect) {
    if (!AForm || !AForm->Visible() || AForm->ClientWidth() <= 0 || AForm->ClientHeight() <= 0)
        return;
    SetVisible(false);
    SetParent(AForm);
    const int W = AForm->ClientWidth(), H = AForm->ClientHeight();
    SetBounds(0, 0, W, H);
    Buffer = std::make_unique<TbsBitmap>();
    Buffer->SetSize(W, H);
    // Read through a plain window DC: a paint bracket here would validate
    // the form's pending update region, and those areas would never be
    // painted again.
    const HWND Wnd = AForm->Handle();
    const HDC DC = GetDC(Wnd);
    BitBlt(Buffer->DC(), 0, 0, W, H, DC, 0, 0, SRCCOPY);
    ReleaseDC(Wnd, DC);
    if (AEffect == bsieBlur)
        BlurBitmap(Buffer.get(), 3);
    else {
        TbsBitmap Veil;
        Veil.SetSize(W, H);
        SendMessage(Wnd, WM_ERASEBKGND, WPARAM(Veil.DC()), 0);
        Veil.SetAlpha(170);
        Veil.SetAlphaBlend(true);
        Veil.Draw(Buffer->DC(), 0, 0);
    }
    // Over every control of the client, an aligned panel included.
    SetVisible(true);
    BringToFront();
}

void TbsClientInActivePanel::HidePanel() {
    SetVisible(false);
    Buffer.reset();
}
