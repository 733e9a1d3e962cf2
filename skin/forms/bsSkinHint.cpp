#include "skin/forms/bsSkinHint.h"

#include "platform/core/Clock.h"
#include "platform/gdi/Icons.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/controls/bsSkinCtrls.GraphicBase.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Platform.h"
#include "skin/model/bsUtils.Regions.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>
#include <vector>

namespace {

// Every hint component alive, in creation order: the hint windows check
// their component against it, and the last one to go restores the class.
std::vector<TbsSkinHint*>& LiveHints() {
    static std::vector<TbsSkinHint*> L;
    return L;
}

// The application's hint window class before the first component.
THintWindowClass& PreviousClass() {
    static THintWindowClass C;
    return C;
}

int RectW(const TRect& R) {
    return R.Right - R.Left;
}
int RectH(const TRect& R) {
    return R.Bottom - R.Top;
}

bool Designing(const TComponent* C) {
    return C->ComponentState().Contains(csDesigning);
}

bool IsSkinClass(const THintWindowClass& C) {
    return C && C.target_type() == SkinHintWindowClass().target_type();
}

// The application re-creates its hint window with the current class.
void RecreateAppHintWindow() {
    const bool Show = Application->ShowHint();
    Application->SetShowHint(!Show);
    Application->SetShowHint(Show);
}

TSize TextSize(TCanvas* C, const std::string& S) {
    TRect R{0, 0, 0, 0};
    DrawWideText(C, S, R, DT_CALCRECT);
    return {RectW(R), RectH(R)};
}

bool ImageUsable(TCustomImageList* L, int Index) {
    return L && Index >= 0 && Index < L->Count();
}

} // namespace

const THintWindowClass& SkinHintWindowClass() {
    static const THintWindowClass C = [](TComponent* O) -> THintWindow* {
        return new TbsSkinHintWindow(O);
    };
    return C;
}

// ---------------------------------------------------------------- window

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TbsSkinHintWindow::CreateParams(TCreateParams& Params) {
    THintWindow::CreateParams(Params);
    Params.Style &= ~DWORD(WS_BORDER);
    Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCPAINT:
        return;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    default:
        THintWindow::Dispatch(Message);
    }
}

TbsSkinHint* TbsSkinHintWindow::FindActiveSkinHint() {
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main)
        return nullptr;
    for (int i = 0; i < Main->ComponentCount(); ++i)
        if (auto* H = dynamic_cast<TbsSkinHint*>(Main->Components(i)); H && H->Active())
            return H;
    return nullptr;
}

TbsDataSkinHintWindow* TbsSkinHintWindow::Element() const {
    return FSD ? FSD->HintWindow.get() : nullptr;
}

TBitmap* TbsSkinHintWindow::HintPicture() const {
    return FSD ? FSD->ActivePicture(Element()->WindowPictureIndex) : nullptr;
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
    AExtendedStyle = false;
    FspHint = FindActiveSkinHint();
    if (!FspHint)
        return;
    if (!FspHint->FHintTitle.empty() || FspHint->FHintImageList) {
        ActivateHintEx(Rect, FspHint->FHintTitle, AHint, FspHint->FHintImageIndex,
                       FspHint->FHintImageList);
        return;
    }
    if (FspHint->Active())
        Activate(Rect, TAnchor::TopLeft, AHint, false, {}, nullptr, 0);
}

void TbsSkinHintWindow::ActivateHintEx(TRect Rect, const std::string& AHintTitle,
                                       const std::string& AHint, int AImageIndex,
                                       TCustomImageList* AImageList) {
    AExtendedStyle = true;
    FspHint = FindActiveSkinHint();
    if (FspHint && FspHint->Active())
        Activate(Rect, TAnchor::TopLeft, AHint, true, AHintTitle, AImageList, AImageIndex);
}

void TbsSkinHintWindow::ActivateHintFromRect(TRect ARect, const std::string& AHint, bool ATop) {
    AExtendedStyle = false;
    FspHint = FindActiveSkinHint();
    if (FspHint && FspHint->Active())
        Activate(ARect, ATop ? TAnchor::Above : TAnchor::Below, AHint, false, {}, nullptr, 0);
}

void TbsSkinHintWindow::ReplaceLineSeparators(std::string& S) const {
    const std::string& Sep = FspHint->LineSeparator();
    if (Sep.empty())
        return;
    for (std::size_t P = S.find(Sep); P != std::string::npos; P = S.find(Sep, P + 2))
        S.replace(P, Sep.size(), "\n\r");
}

void TbsSkinHintWindow::SetHintFont(TCanvas* C) const {
    if (FSD && FspHint->UseSkinFont()) {
        TbsDataSkinHintWindow* E = Element();
        C->Font()->SetHeight(E->FontHeight);
        C->Font()->SetName(E->FontName);
        C->Font()->SetStyle(E->FontStyle);
    } else
        C->Font()->Assign(FspHint->DefaultFont());
    TbsSkinData* SD = FspHint->SkinData();
    if (SD && SD->ResourceStrData())
        C->Font()->SetCharset(SD->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(FspHint->DefaultFont()->Charset());
}

void TbsSkinHintWindow::AddFrame(int& W, int& H) {
    TbsDataSkinHintWindow* E = Element();
    const int PW = HintPicture()->Width(), PH = HintPicture()->Height();
    const TRect& Cl = E->ClRect;
    H += Cl.Top + (PH - Cl.Bottom);
    int dW = W - PW, dH = H - PH;
    if (E->RTPoint.X + dW < E->LTPoint.X) {
        W += E->LTPoint.X - (E->RTPoint.X + dW);
        dW = W - PW;
    }
    if (E->RBPoint.X + dW < E->LBPoint.X) {
        W += E->LBPoint.X - (E->RBPoint.X + dW);
        dW = W - PW;
    }
    if (E->LBPoint.Y + dH < E->LTPoint.Y) {
        H += E->LTPoint.Y - (E->LBPoint.Y + dH);
        dH = H - PH;
    }
    if (E->RBPoint.Y + dH < E->RTPoint.Y) {
        H += E->RTPoint.Y - (E->RBPoint.Y + dH);
        dH = H - PH;
    }
    NewClRect = {Cl.Left, Cl.Top, Cl.Right + dW, Cl.Bottom + dH};
    NewLTPoint = E->LTPoint;
    NewRTPoint = {E->RTPoint.X + dW, E->RTPoint.Y};
    NewLBPoint = {E->LBPoint.X, E->LBPoint.Y + dH};
    NewRBPoint = {E->RBPoint.X + dW, E->RBPoint.Y + dH};
}

void TbsSkinHintWindow::CalcHintSize(TCanvas* C, const std::string& Text, int& W, int& H) {
    const TSize S = TextSize(C, Text);
    W = S.cx;
    H = S.cy;
    if (!FSD) {
        W += 4;
        H += 4;
        return;
    }
    const TRect& Cl = Element()->ClRect;
    W += Cl.Left + (HintPicture()->Width() - Cl.Right) + 5;
    AddFrame(W, H);
}

void TbsSkinHintWindow::CalcHintSizeEx(TCanvas* C, const std::string& Text,
                                       const std::string& Title, TCustomImageList* Images,
                                       int ImageIndex, int& W, int& H) {
    const TSize S = TextSize(C, Text);
    W = S.cx;
    H = S.cy;
    int TitleH = 0;
    if (!Title.empty()) {
        const TSize T = TextSize(C, Title);
        H += T.cy + 10;
        W = std::max(W, T.cx);
        TitleH = T.cy;
    }
    if (ImageUsable(Images, ImageIndex)) {
        W += Images->Width() + 10;
        H = std::max(H, Images->Height() + TitleH + 5);
    }
    if (!FSD) {
        W += 4;
        H += 4;
        return;
    }
    const TRect& Cl = Element()->ClRect;
    W += 10 + Cl.Left + (HintPicture()->Width() - Cl.Right);
    AddFrame(W, H);
}

void TbsSkinHintWindow::Activate(TRect Anchor, TAnchor Kind, const std::string& AHint,
                                 bool Extended, const std::string& Title, TCustomImageList* Images,
                                 int ImageIndex) {
    TbsSkinHint* H = FspHint;
    FSD = H->SkinUsable() ? H->SkinData() : nullptr;
    SetHintFont(Canvas());
    std::string Text = AHint;
    ReplaceLineSeparators(Text);
    SetCaption(Text);
    int W = 0, Ht = 0;
    if (Extended)
        CalcHintSizeEx(Canvas(), Text, Title, Images, ImageIndex, W, Ht);
    else
        CalcHintSize(Canvas(), Text, W, Ht);
    TPoint P{Anchor.Left, Anchor.Top};
    if (Kind != TAnchor::TopLeft)
        P = {Anchor.Left + RectW(Anchor) / 2 - W / 2,
             Kind == TAnchor::Above ? Anchor.Top - Ht : Anchor.Bottom};
    TRect R{P.X, P.Y, P.X + W, P.Y + Ht};

    TRect Limit{0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0};
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        GetMonitorWorkArea(Screen->ActiveForm()->Handle(), true, Limit);
    else if (Main && Main->Visible() && Main->HandleAllocated())
        GetMonitorWorkArea(Main->Handle(), true, Limit);
    if (R.Right > Limit.Right)
        OffsetRect(&R, -(W + 2), 0);
    if (R.Bottom > Limit.Bottom)
        OffsetRect(&R, 0, -(Ht + 2));
    SetBoundsRect(R);
    HandleNeeded();

    const bool Layered = IsLayeredWindowSupported();
    if (Layered) {
        const LONG Ex = GetWindowLong(Handle(), GWL_EXSTYLE);
        if (H->AlphaBlend() && !FOldAlphaBlend)
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex | LONG(WS_EX_LAYERED));
        else if (!H->AlphaBlend() && FOldAlphaBlend)
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex & ~LONG(WS_EX_LAYERED));
        FOldAlphaBlend = H->AlphaBlend();
        if (H->AlphaBlend() && H->AlphaBlendAnimation())
            SetLayeredAlpha(Handle(), 0);
        if (H->AlphaBlend() && H->AlphaBlendValue() != FOldAlphaBlendValue) {
            if (!H->AlphaBlendAnimation())
                SetLayeredAlpha(Handle(), H->AlphaBlendValue());
            FOldAlphaBlendValue = H->AlphaBlendValue();
        }
    }
    SetHintRegion();
    SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    Repaint();
    if (Layered && H->AlphaBlend() && H->AlphaBlendAnimation())
        FadeIn();
}

void TbsSkinHintWindow::FadeIn() {
    const int Target = FspHint->AlphaBlendValue();
    const int Step = std::max(1, Target / 15);
    int Alpha = 0;
    std::uint32_t Last = 0;
    // Busy, as the hint shows without dispatching messages.
    while (Alpha < Target) {
        const std::uint32_t Now = GetTickCount();
        if (Now - Last > 3) {
            Last = Now;
            Alpha = std::min(Alpha + Step, Target);
            Repaint();
            SetLayeredAlpha(Handle(), BYTE(Alpha));
        }
    }
}

void TbsSkinHintWindow::SetHintRegion() {
    TbsDataSkinHintWindow* E = Element();
    TBitmap* Mask = E ? FSD->ActivePicture(E->MaskPictureIndex) : nullptr;
    HRGN Rgn = nullptr;
    if (Mask && Mask->Width() > 0 && Mask->Height() > 0)
        MakeNinePartRegion(Rgn, E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect,
                           NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, Mask, Width(),
                           Height());
    if (Rgn) {
        // The window owns the region from here on.
        SetWindowRgn(Handle(), Rgn, FALSE);
        FRgn = Rgn;
    } else if (FRgn) {
        SetWindowRgn(Handle(), nullptr, FALSE);
        FRgn = nullptr;
    }
}

void TbsSkinHintWindow::Paint() {
    PaintTo(Canvas());
}

void TbsSkinHintWindow::PaintTo(TCanvas* Canvas) {
    // A window of a component freed since its last activation draws nothing.
    if (!FspHint || !TbsSkinHint::Alive(FspHint) || Width() <= 0 || Height() <= 0)
        return;
    TBitmap B;
    B.SetSize(Width(), Height());
    TCanvas* C = B.Canvas();
    if (FSD) {
        TbsDataSkinHintWindow* E = Element();
        TBitmap* Pic = HintPicture();
        MakeWindowNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect,
                                 NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, &B, Pic,
                                 {0, 0, Pic->Width(), Pic->Height()}, Width(), Height(), true,
                                 E->LeftStretch, E->TopStretch, E->RightStretch, E->BottomStretch,
                                 E->StretchEffect, E->StretchType);
    } else {
        C->Brush()->SetColor(clInfoBk);
        C->FillRect({0, 0, Width(), Height()});
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect({0, 0, Width(), Height()});
    }
    SetHintFont(C);
    C->Font()->SetColor(FSD ? Element()->FontColor : clInfoText);
    C->Brush()->SetStyle(bsClear);
    if (AExtendedStyle)
        PaintExtended(C);
    else
        PaintPlain(C);
    Canvas->Draw(0, 0, &B);
}

void TbsSkinHintWindow::PaintPlain(TCanvas* C) {
    const std::string Text = Caption();
    if (FSD) {
        const TSize S = TextSize(C, Text);
        const int X = NewClRect.Left + RectW(NewClRect) / 2 - S.cx / 2;
        const int Y = NewClRect.Top + RectH(NewClRect) / 2 - S.cy / 2;
        TRect R{X, Y, X + S.cx, Y + S.cy};
        DrawWideText(C, Text, R, 0);
        return;
    }
    TRect R{2, 2, Width() - 2, Height() - 2};
    DrawWideText(C, Text, R, 0);
}

void TbsSkinHintWindow::PaintExtended(TCanvas* C) {
    const std::string Text = Caption();
    const std::string& Title = FspHint->FHintTitle;
    TCustomImageList* Images = FspHint->FHintImageList;
    const int Index = FspHint->FHintImageIndex;
    const TRect Area = FSD ? NewClRect : TRect{2, 2, Width() - 2, Height() - 2};
    const int Margin = FSD ? 5 : 0;
    int A = 0;
    if (!Title.empty()) {
        TFontStyles Bold = C->Font()->Style();
        Bold.Include(fsBold);
        C->Font()->SetStyle(Bold);
        const TSize T = TextSize(C, Title);
        TRect TR{Area.Left + Margin, Area.Top, Area.Left + Margin + T.cx, Area.Top + T.cy};
        DrawWideText(C, Title, TR, 0);
        Bold.Exclude(fsBold);
        C->Font()->SetStyle(Bold);
        A = T.cy + 5;
    }
    int TextLeft = Area.Left + Margin;
    if (ImageUsable(Images, Index)) {
        const int X = Area.Left + Margin;
        int Y;
        if (!Title.empty())
            Y = FSD ? Area.Top + A : A;
        else
            Y = Area.Top + RectH(Area) / 2 - Images->Height() / 2;
        Images->Draw(C, X, Y, Index, true);
        TextLeft = X + Images->Width() + 5;
    }
    const TSize S = TextSize(C, Text);
    int Top;
    if (!Title.empty())
        Top = Area.Top + A;
    else
        Top = FSD ? Area.Top + RectH(Area) / 2 - S.cy / 2 : Area.Top;
    TRect R{TextLeft, Top, FSD ? TextLeft + S.cx : Area.Right, FSD ? Top + S.cy : Area.Bottom};
    DrawWideText(C, Text, R, 0);
}

// ---------------------------------------------------------------- component

TbsSkinHint::TbsSkinHint(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    LiveHints().push_back(this);
    HW = new TbsSkinHintWindow(this);
    FHook = TShowHintEvent(this, &TbsSkinHint::AppShowHint);
    if (Designing(this) || !Application)
        return;
    if (!IsSkinClass(Application->HintWindowClass)) {
        PreviousClass() = Application->HintWindowClass;
        Application->HintWindowClass = SkinHintWindowClass();
    }
    RecreateAppHintWindow();
    HookShowHint();
    Application->SetHintShortPause(100);
}

TbsSkinHint::~TbsSkinHint() {
    FreeHintTimer();
    auto& L = LiveHints();
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
    if (Application) {
        if (FHooked)
            Application->RemoveShowHintHook(FHook);
        // The last component gives the application its own hints back.
        if (L.empty() && IsSkinClass(Application->HintWindowClass)) {
            Application->HintWindowClass = PreviousClass();
            PreviousClass() = nullptr;
            RecreateAppHintWindow();
        }
    }
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

bool TbsSkinHint::Alive(const TbsSkinHint* Hint) {
    const auto& L = LiveHints();
    return std::find(L.begin(), L.end(), Hint) != L.end();
}

void TbsSkinHint::HookShowHint() {
    if (FHooked || !Application)
        return;
    Application->AddShowHintHook(FHook);
    FHooked = true;
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == HW)
        HW = nullptr;
    if (AComponent == HintTimer)
        HintTimer = nullptr;
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value)
        return;
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

bool TbsSkinHint::SkinUsable() const {
    return FSD && !FSD->Empty && FSD->HintWindow &&
           FSD->ActivePicture(FSD->HintWindow->WindowPictureIndex) != nullptr;
}

void TbsSkinHint::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSkinHint::SetActive(bool Value) {
    FActive = Value;
    if (Value && Application && Application->MainForm()) {
        TCustomForm* Main = Application->MainForm();
        for (int i = 0; i < Main->ComponentCount(); ++i)
            if (auto* H = dynamic_cast<TbsSkinHint*>(Main->Components(i)); H && H != this)
                H->FActive = false;
    }
    if (Value && !Designing(this))
        HookShowHint();
}

void TbsSkinHint::AppShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
    ClearTitleAndImage();
    if (auto* C = dynamic_cast<TbsSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = C->HintTitle();
        FHintImageIndex = C->HintImageIndex();
        FHintImageList = C->HintImageList();
    } else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = G->HintTitle();
        FHintImageIndex = G->HintImageIndex();
        FHintImageList = G->HintImageList();
    }
    if (OnShowHint)
        OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::ClearTitleAndImage() {
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
}

void TbsSkinHint::FreeHintTimer() {
    if (!HintTimer)
        return;
    HintTimer->SetEnabled(false);
    TTimer* T = HintTimer;
    HintTimer = nullptr;
    delete T;
}

void TbsSkinHint::StartHintTimer(void (TbsSkinHint::*Tick)(TObject*)) {
    HintTimer = new TTimer(this);
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(unsigned(Application ? Application->HintPause() : 500));
    HintTimer->SetOnTimer(TNotifyEvent(this, Tick));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::RearmForHide() {
    if (!HintTimer)
        return;
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(unsigned(Application ? Application->HintHidePause() : 2500));
    HintTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinHint::HideHintTimer));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::ActivateHint(TPoint P, const std::string& AHint) {
    ClearTitleAndImage();
    HW->ActivateHint({P.X, P.Y, P.X, P.Y}, AHint);
    HW->SetVisible(true);
}

void TbsSkinHint::ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint,
                                 int AImageIndex, TCustomImageList* AImageList) {
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    HW->ActivateHintEx({P.X, P.Y, P.X, P.Y}, AHintTitle, AHint, AImageIndex, AImageList);
    HW->SetVisible(true);
}

void TbsSkinHint::ActivateHint2(const std::string& AHint) {
    FreeHintTimer();
    HintText = AHint;
    ClearTitleAndImage();
    StartHintTimer(&TbsSkinHint::ShowHintTimer);
}

void TbsSkinHint::ActivateHint3(TRect AFromRect, const std::string& AHint, bool ATop) {
    FromRect = AFromRect;
    Top = ATop;
    FreeHintTimer();
    HintText = AHint;
    ClearTitleAndImage();
    StartHintTimer(&TbsSkinHint::ShowHintTimerFromRect);
}

void TbsSkinHint::ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint,
                                  int AImageIndex, TCustomImageList* AImageList) {
    FreeHintTimer();
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    HintText = AHint;
    StartHintTimer(&TbsSkinHint::ShowHintTimerEx);
}

void TbsSkinHint::ShowHintTimer(TObject*) {
    TPoint P;
    GetCursorPos(&P);
    P.Y += GetCursorHeightMargin();
    HW->ActivateHint({P.X, P.Y, P.X, P.Y}, HintText);
    HW->SetVisible(true);
    RearmForHide();
}

void TbsSkinHint::ShowHintTimerEx(TObject*) {
    if (!HintTimer)
        return;
    TPoint P;
    GetCursorPos(&P);
    P.Y += GetCursorHeightMargin();
    HW->ActivateHintEx({P.X, P.Y, P.X, P.Y}, FHintTitle, HintText, FHintImageIndex, FHintImageList);
    HW->SetVisible(true);
    RearmForHide();
}

void TbsSkinHint::ShowHintTimerFromRect(TObject*) {
    HW->ActivateHintFromRect(FromRect, HintText, Top);
    HW->SetVisible(true);
    RearmForHide();
}

void TbsSkinHint::HideHintTimer(TObject*) {
    HideHint();
}

void TbsSkinHint::HideHint() {
    FreeHintTimer();
    if (!HW || !HW->Visible())
        return;
    HW->SetVisible(false);
    if (HW->HandleAllocated())
        SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    ClearTitleAndImage();
}

bool TbsSkinHint::IsVisible() const {
    return HW && HW->Visible();
}

int TbsSkinHint::GetCursorHeightMargin() {
    int Result = GetSystemMetrics(SM_CYCURSOR);
    ICONINFO Info;
    if (!GetIconInfo(reinterpret_cast<HICON>(GetCursor()), &Info))
        return Result;
    struct TFree {
        ICONINFO& I;
        ~TFree() {
            if (I.hbmMask)
                DeleteObject(ToObj(I.hbmMask));
            if (I.hbmColor)
                DeleteObject(ToObj(I.hbmColor));
        }
    } Free{Info};
    if (!Info.hbmMask)
        return Result;
    HDC DC = CreateCompatibleDC(nullptr);
    BITMAPINFO BI{};
    BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    std::vector<BYTE> Bits;
    if (GetDIBits(DC, Info.hbmMask, 0, 0, nullptr, &BI, DIB_RGB_COLORS) &&
        BI.bmiHeader.biBitCount == 1 && BI.bmiHeader.biWidth > 0) {
        const int Width = BI.bmiHeader.biWidth;
        const int Height = std::abs(BI.bmiHeader.biHeight);
        BI.bmiHeader.biHeight = Height; // bottom-up, as the scan expects
        Bits.resize(std::size_t(((Width + 31) & ~31) / 8) * std::size_t(Height));
        if (!GetDIBits(DC, Info.hbmMask, 0, UINT(Height), Bits.data(), &BI, DIB_RGB_COLORS))
            Bits.clear();
    }
    DeleteDC(DC);
    if (Bits.empty())
        return Result;
    const int Width = BI.bmiHeader.biWidth;
    const int Height = BI.bmiHeader.biHeight;
    const int BytesPerLine = ((Width + 31) & ~31) / 8;
    const std::size_t Len = std::size_t(Width) * std::size_t(BytesPerLine);
    // A mask shorter than a square of its width has no AND part to scan:
    // every read stays inside the buffer, and the answer is the default.
    if (Len == 0 || Len > Bits.size())
        return Result - int(Info.yHotspot);
    const auto Count = [&](std::size_t From, BYTE Skip) {
        std::size_t i = From;
        const std::size_t End = From + Len;
        while (i < End && Bits[i] == Skip)
            ++i;
        return int(End - i);
    };
    int N = Count(Bits.size() - Len, 0xFF);
    if (N == 0 && Height >= 2 * Width && Bits.size() >= 2 * Len)
        N = Count(Bits.size() - 2 * Len, 0x00);
    return N / BytesPerLine - int(Info.yHotspot);
}
