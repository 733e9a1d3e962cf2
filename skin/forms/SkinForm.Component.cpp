// TbsSkinForm: construction, destruction, references and the small public
// operations.
#include "skin/forms/SkinForm.h"

#include "platform/core/Exceptions.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsUtils.h"

#include <typeinfo>

namespace {

constexpr DWORD CS_DROPSHADOW_STYLE = 0x20000;

// The references held to components of the menu, hint and tray parts are of
// classes declared elsewhere; every component descends from TComponent
// alone, so the addresses compare.
bool SameComponent(const TComponent* A, const void* B) {
    return B && static_cast<const void*>(A) == B;
}

} // namespace

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner) {
    LinkEditsToMenus();
    FQuickButtons = std::make_unique<TbsQuickButtonItems>(this);
    FLayerManager = new TbsLayerManager(this);
    FMenuLayerManager = new TbsLayerManager(this);
    FIsVistaOs = IsVistaOrLater();
    FLogoBitMap = std::make_unique<TBitmap>();
    FDefCaptionFont = std::make_unique<TFont>();
    FDefInActiveCaptionFont = std::make_unique<TFont>();
    FIsLayerEnabled = IsLayeredWindowSupported();
    for (TFont* F : {FDefCaptionFont.get(), FDefInActiveCaptionFont.get()}) {
        F->SetName("Arial");
        F->SetStyle(TFontStyles{fsBold});
        F->SetHeight(14);
    }
    FDefCaptionFont->SetColor(clBtnText);
    FDefInActiveCaptionFont->SetColor(clBtnShadow);
    RMTop = std::make_unique<TBitmap>();
    RMLeft = std::make_unique<TBitmap>();
    RMBottom = std::make_unique<TBitmap>();
    RMRight = std::make_unique<TBitmap>();
    BlackColor = RGB(0, 0, 0);

    auto MakeTimer = [this](unsigned Interval, void (TbsSkinForm::*Step)(TObject*)) {
        auto* T = new TTimer(this);
        T->SetEnabled(false);
        T->SetOnTimer(TNotifyEvent(this, Step));
        T->SetInterval(Interval);
        return T;
    };
    MouseTimer = MakeTimer(50, &TbsSkinForm::TestMouse);
    MorphTimer = MakeTimer(25, &TbsSkinForm::MorphTimerStep);
    AnimateTimer = MakeTimer(25, &TbsSkinForm::AnimateTimerStep);

    // The component cannot exist without a form: a wrong owner raises the
    // cast's error out of the constructor.
    if (!AOwner)
        throw EInvalidOperation("A skinned form component needs its form as owner");
    FForm = static_cast<TForm*>(&dynamic_cast<TCustomForm&>(*AOwner));

    FForm->SetBorderIcons({});
    FForm->OnShortCut = TShortCutEvent(this, &TbsSkinForm::FormShortCut);
    FForm->SetAutoSize(false);
    FForm->SetAutoScroll(false);

    FSysMenu = new TPopupMenu(this);
    CreateMenuObjects();

    FBorderIcons = TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                  TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp};

    OldWindowProc = FForm->WindowProc;
    FForm->WindowProc = TWndMethod(this, &TbsSkinForm::NewWndProc);
    FForm->RecreateWnd();
    if (!FIsVistaOs && (FForm->FormStyle() == fsMDIForm || FForm->FormStyle() == fsMDIChild) &&
        FForm->HandleAllocated()) {
        const HWND H = FForm->Handle();
        SetWindowLong(H, GWL_STYLE, GetWindowLong(H, GWL_STYLE) & ~LONG(WS_CAPTION));
    }
}

TbsSkinForm::~TbsSkinForm() {
    // Nothing of this component may be reached once freeing starts: the
    // form's procedure and the MDI client's go back first, the timers stop.
    if (FForm)
        FForm->WindowProc = OldWindowProc;
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    RemoveMDIClientHook();
    UnhookApplicationMessages();
    // A child freed while shown is never hidden first: its tab would be left
    // pointing at a freed form.
    if (FForm && IsMDIChild())
        DeleteChildFromBar();
    if (FCapturedForObject && FForm && FForm->HandleAllocated() && GetCapture() == FForm->Handle())
        ReleaseCapture();

    FQuickButtons.reset();
    ClearObjects();
    FreeMenuObjects();
    delete MouseTimer;
    delete MorphTimer;
    delete AnimateTimer;
    delete FLayerManager;
    delete FMenuLayerManager;
    delete FSysMenu;
    if (FRgn)
        DeleteObject(ToObj(FRgn));
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    else if (AComponent == FMSD)
        FMSD = nullptr;
    else if (AComponent == FMainMenu)
        FMainMenu = nullptr;
    else if (AComponent == FSystemMenu)
        FSystemMenu = nullptr;
    else if (SameComponent(AComponent, FMainMenuBar))
        FMainMenuBar = nullptr;
    else if (SameComponent(AComponent, FMDITabsBar))
        FMDITabsBar = nullptr;
    else if (SameComponent(AComponent, FTrayIcon))
        FTrayIcon = nullptr;
    if (SameComponent(AComponent, FSkinHint))
        FSkinHint = nullptr;
    else if (AComponent == FStatusBar)
        FStatusBar = nullptr;
    if (AComponent == FQuickImageList)
        FQuickImageList = nullptr;
    if (SameComponent(AComponent, FInActivePanel))
        FInActivePanel = nullptr;
}

void TbsSkinForm::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (Value) {
        Value->FreeNotification(this);
        if (!IsMDIChild())
            FSkinnableForm = Value->SkinnableForm();
    }
    if (!ComponentState().Contains(csDesigning))
        FormChangeSkinData();
    MenusSkinDataChanged();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* Value) {
    FMSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinForm::SetQuickImageList(TCustomImageList* Value) {
    FQuickImageList = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinForm::SetStatusBar(TbsSkinStatusBar* Value) {
    FStatusBar = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinForm::SetSystemMenu(TPopupMenu* Value) {
    FSystemMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinForm::SetSkinHint(TbsSkinHint* Value) {
    FSkinHint = Value;
}

bool TbsSkinForm::GetFormActive() {
    if (PreviewMode)
        return true;
    if (IsMDIChild() || IsMDIForm())
        return FFormActive;
    return FForm->Active();
}

int TbsSkinForm::GetIndex(const std::string& AIDName) {
    for (int I = 0; I < ObjectCount(); ++I)
        if (ObjectList[I]->IDName == AIDName)
            return I;
    return -1;
}

void TbsSkinForm::SetEnabled(const std::string& AIDName, bool Value) {
    const int I = GetIndex(AIDName);
    if (I != -1)
        ObjectList[I]->Enabled = Value;
}

void TbsSkinForm::UserObjectDraw(const std::string& AIDName) {
    const int I = GetIndex(AIDName);
    if (I == -1)
        return;
    if (auto* U = dynamic_cast<TbsUserObject*>(ObjectList[I].get()))
        U->Draw(FForm->Canvas(), true);
}

void TbsSkinForm::LinkMenu(const std::string& AIDName, TMenu* AMenu, bool APopupUp) {
    const int I = GetIndex(AIDName);
    if (I == -1 || !AMenu)
        return;
    TbsActiveSkinObject* O = ObjectList[I].get();
    if (auto* B = dynamic_cast<TbsSkinButtonObject*>(O)) {
        B->MenuItem = AMenu->Items();
        B->FPopupUp = APopupUp;
    } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O); A && A->ButtonStyle) {
        A->MenuItem = AMenu->Items();
        A->FPopupUp = APopupUp;
    }
}

void TbsSkinForm::SetFormBorderStyle(TFormBorderStyle BS) {
    FForm->SetBorderStyle(BS);
    ChangeControlsSkinData(nullptr, FForm);
}

void TbsSkinForm::SetFormStyle(TFormStyle FS) {
    if (FS != fsNormal && FS != fsStayOnTop)
        return;
    FForm->SetFormStyle(FS);
    ChangeControlsSkinData(nullptr, FForm);
}

void TbsSkinForm::EnableShadow(bool AShowShadow, bool AHideFormBefore) {
    if (!FIsLayerEnabled || AShowShadow == FHaveShadow)
        return;
    FHaveShadow = AShowShadow;
    if (AHideFormBefore)
        FForm->Hide();
    const HWND H = FForm->Handle();
    const DWORD Style = GetClassLong(H, GCL_STYLE);
    SetClassLong(H, GCL_STYLE,
                 AShowShadow ? (Style | CS_DROPSHADOW_STYLE) : (Style & ~CS_DROPSHADOW_STYLE));
    if (AHideFormBefore)
        FForm->Show();
}

bool TbsSkinForm::SkinReady() const {
    return FSD && !FSD->Empty;
}

bool TbsSkinForm::IsMDIChild() const {
    return FForm->FormStyle() == fsMDIChild;
}

bool TbsSkinForm::IsMDIForm() const {
    return FForm->FormStyle() == fsMDIForm;
}
