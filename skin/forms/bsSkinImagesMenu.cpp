#include "skin/forms/bsSkinImagesMenu.h"

#include "platform/core/Clock.h"
#include "platform/win/Windows.h"
#include "skin/forms/bsSkinHint.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Platform.h"
#include "skin/model/bsUtils.Regions.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

// Posted to the menu's own message window: free the window closed last.
constexpr UINT cmFreeClosedWindow = WM_USER + 1;

int RectW(const TRect& R) {
    return R.Right - R.Left;
}
int RectH(const TRect& R) {
    return R.Bottom - R.Top;
}
bool NoArea(const TRect& R) {
    return RectW(R) <= 0 || RectH(R) <= 0;
}
TPoint Shifted(TPoint P, int DX, int DY) {
    return {P.X + DX, P.Y + DY};
}

} // namespace

// ---------------------------------------------------------------- items

TbsImagesMenuItem::TbsImagesMenuItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TbsImagesMenuItem::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TbsImagesMenuItem*>(Source)) {
        FImageIndex = Other->FImageIndex;
        FCaption = Other->FCaption;
        Button = Other->Button;
        Hint = Other->Hint;
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AMenu)
    : TCollection(TCollection::ItemClass<TbsImagesMenuItem>(), AMenu) {}

TbsImagesMenuItem* TbsImagesMenuItems::Items(int Index) const {
    return static_cast<TbsImagesMenuItem*>(TCollection::Items(Index));
}

TbsImagesMenuItem* TbsImagesMenuItems::Add() {
    return static_cast<TbsImagesMenuItem*>(TCollection::Add());
}

// ---------------------------------------------------------------- the menu

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner), FImagesItems(std::make_unique<TbsImagesMenuItems>(this)),
      FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
    LinkMenuButtonsToMenus();
    if (Application)
        FReaper =
            Application->AllocateMessageWindow(TWindowMethod(this, &TbsSkinImagesMenu::ReaperProc));
}

TbsSkinImagesMenu::~TbsSkinImagesMenu() {
    if (FPopupWindow)
        FPopupWindow->Hide(false);
    FClosed.reset();
    if (FReaper && Application)
        Application->DeallocateMessageWindow(FReaper);
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FSkinHint)
        FSkinHint = nullptr;
    if (AComponent == FInternalTarget) {
        FInternalTarget = nullptr;
        OnInternalChange = nullptr;
        OnInternalMenuClose = nullptr;
    }
}

void TbsSkinImagesMenu::SetInternalEventsTarget(TComponent* Value) {
    if (FInternalTarget == Value)
        return;
    if (FInternalTarget)
        FInternalTarget->RemoveFreeNotification(this);
    FInternalTarget = Value;
    if (FInternalTarget)
        FInternalTarget->FreeNotification(this);
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* Value) {
    if (FSkinHint)
        FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (FSkinHint)
        FSkinHint->FreeNotification(this);
}

void TbsSkinImagesMenu::SetImagesItems(TbsImagesMenuItems* Value) {
    FImagesItems->Assign(Value);
}

void TbsSkinImagesMenu::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSkinImagesMenu::SetColumnsCount(int Value) {
    if (Value >= 1 && Value <= 50)
        FColumnsCount = Value;
}

TbsImagesMenuItem* TbsSkinImagesMenu::SelectedItem() const {
    if (FItemIndex < 0 || FItemIndex >= FImagesItems->Count())
        return nullptr;
    return FImagesItems->Items(FItemIndex);
}

void TbsSkinImagesMenu::Popup(int X, int Y) {
    PopupFromRect({X, Y, X, Y});
}

void TbsSkinImagesMenu::PopupFromRect(TRect R) {
    if (FPopupWindow)
        FPopupWindow->Hide(false);
    if (OnMenuPopup)
        OnMenuPopup(this);
    // Without images or items there is nothing to choose from.
    if (!FImages || FImages->Count() == 0 || FImagesItems->Count() == 0)
        return;
    FOldItemIndex = FItemIndex;
    FPopupWindow = std::make_unique<TbsSkinImagesMenuPopupWindow>(this);
    FPopupWindow->Show(R);
}

void TbsSkinImagesMenu::Hide() {
    if (FPopupWindow)
        FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::ClosePopupWindow(bool AProcessEvents) {
    if (!FPopupWindow)
        return;
    FClosed = std::move(FPopupWindow);
    if (FReaper)
        PostMessage(FReaper, cmFreeClosedWindow, 0, 0);
    if (OnInternalMenuClose)
        OnInternalMenuClose(this);
    if (OnMenuClose)
        OnMenuClose(this);
    if (!AProcessEvents || FItemIndex == -1)
        return;
    if (TbsImagesMenuItem* I = SelectedItem(); I && I->OnClick)
        I->OnClick(this);
    if (OnItemClick)
        OnItemClick(this);
    if (FItemIndex != FOldItemIndex) {
        if (OnInternalChange)
            OnInternalChange(this);
        if (OnChange)
            OnChange(this);
    }
}

void TbsSkinImagesMenu::FreeClosedWindow() {
    FClosed.reset();
}

void TbsSkinImagesMenu::ReaperProc(TMessage& Message) {
    if (Message.Msg == cmFreeClosedWindow) {
        FreeClosedWindow();
        return;
    }
    Message.Result = DefWindowProc(FReaper, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------- the window

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AOwner)
    : TCustomControl(nullptr), ImagesMenu(AOwner) {
    FVisible = false;
    FHook = TMessageEvent(this, &TbsSkinImagesMenuPopupWindow::AppMessageHook);
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() {
    if (FHooked && Application)
        Application->RemoveMessageHook(FHook);
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
}

void TbsSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
    Params.WndParent = nullptr;
}

bool TbsSkinImagesMenuPopupWindow::SkinUsable() const {
    TbsSkinData* SD = ImagesMenu->SkinData();
    // A record naming no loaded picture gives the plain look.
    return SD && !SD->Empty && SD->PopupWindow &&
           SD->ActivePicture(SD->PopupWindow->WindowPictureIndex) != nullptr;
}

void TbsSkinImagesMenuPopupWindow::CalcItemRects(int& RowWidth) {
    TCustomImageList* Images = ImagesMenu->Images();
    TbsSkinData* SD = ImagesMenu->SkinData();
    const int CW = Images->Width() + 10, CH = Images->Height() + 10;
    RowWidth = ImagesMenu->ColumnsCount() * CW;
    int L = 5, Y = 5;
    if (FSkinSupport) {
        L = SD->PopupWindow->ItemsRect.Left;
        Y = SD->PopupWindow->ItemsRect.Top;
    }
    int LH = 0;
    if (SD && !SD->Empty) {
        const int I = SD->GetControlIndex("label");
        if (I != -1)
            LH = RectH(SD->CtrlList[I]->SkinRect);
    }
    int X = L;
    TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
    for (int i = 0; i < Items->Count(); ++i) {
        TbsImagesMenuItem* It = Items->Items(i);
        if (It->Header || It->Button) {
            if (X != L)
                Y += CH + 1;
            const int H = It->Header && LH > 0 ? LH : CH;
            It->ItemRect = {L, Y, L + RowWidth, Y + H};
            Y += H + 1;
            X = L;
            continue;
        }
        It->ItemRect = {X, Y, X + CW, Y + CH};
        X += CW;
        if (X + CW > L + RowWidth) {
            X = L;
            Y += CH + 1;
        }
    }
}

void TbsSkinImagesMenuPopupWindow::CalcSize() {
    FSkinSupport = SkinUsable();
    int RW = 0;
    CalcItemRects(RW);
    TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
    const int D = Items->Items(Items->Count() - 1)->ItemRect.Bottom - Items->Items(0)->ItemRect.Top;
    if (!FSkinSupport) {
        WindowPicture = MaskPicture = nullptr;
        SetBounds(Left(), Top(), RW + 10, D + 10);
        return;
    }
    TbsSkinData* SD = ImagesMenu->SkinData();
    TbsDataSkinPopupWindow* P = SD->PopupWindow.get();
    WindowPicture = SD->ActivePicture(P->WindowPictureIndex);
    MaskPicture = SD->ActivePicture(P->MaskPictureIndex);
    const int PW = WindowPicture->Width(), PH = WindowPicture->Height();
    const int W = PW + RW - RectW(P->ItemsRect), H = PH + D - RectH(P->ItemsRect);
    SetBounds(Left(), Top(), W, H);
    NewLTPoint = P->LTPoint;
    NewRTPoint = {W + P->RTPoint.X - PW, P->RTPoint.Y};
    NewLBPoint = {P->LBPoint.X, H + P->LBPoint.Y - PH};
    NewRBPoint = {W + P->RBPoint.X - PW, H + P->RBPoint.Y - PH};
    NewItemsRect = {P->ItemsRect.Left, P->ItemsRect.Top, W + P->ItemsRect.Right - PW,
                    H + P->ItemsRect.Bottom - PH};
    if (MaskPicture && MaskPicture->Width() > 0 && MaskPicture->Height() > 0) {
        HRGN Rgn = nullptr;
        MakeNinePartRegion(Rgn, P->LTPoint, P->RTPoint, P->LBPoint, P->RBPoint, P->ItemsRect,
                           NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
                           MaskPicture, W, H);
        if (Rgn) {
            // The window owns the region from here on.
            SetWindowRgn(Handle(), Rgn, TRUE);
            FRgn = Rgn;
        }
    }
}

void TbsSkinImagesMenuPopupWindow::Show(TRect PopupRect) {
    CalcSize();
    int X = PopupRect.Left, Y = PopupRect.Bottom;
    TRect Work{0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0};
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    TCustomForm* Owner = dynamic_cast<TCustomForm*>(ImagesMenu->Owner());
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        GetMonitorWorkArea(Screen->ActiveForm()->Handle(), true, Work);
    else if (Main && Main->Visible() && Main->HandleAllocated())
        GetMonitorWorkArea(Main->Handle(), true, Work);
    else if (Owner && Owner->HandleAllocated())
        GetMonitorWorkArea(Owner->Handle(), true, Work);
    if (Y + Height() > Work.Bottom)
        Y = PopupRect.Top - Height();
    if (X + Width() > Work.Right)
        X = Work.Right - Width();
    X = std::max(X, Work.Left);
    Y = std::max(Y, Work.Top);
    const bool Layered = IsLayeredWindowSupported() && ImagesMenu->AlphaBlend;
    const bool Fade = Layered && ImagesMenu->AlphaBlendAnimation;
    if (Layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE,
                      GetWindowLong(Handle(), GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
        SetLayeredAlpha(Handle(), Fade ? 0 : ImagesMenu->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, X, Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FLeft = X;
    FTop = Y;
    SetVisible(true);
    if (Fade) {
        Application->ProcessMessages();
        // A click or a new popup handled meanwhile may have closed this one.
        if (Dying || ImagesMenu->PopupWindow() != this)
            return;
        FadeIn();
    }
    if (Application) {
        Application->AddMessageHook(FHook);
        FHooked = true;
    }
    SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::FadeIn() {
    const int Target = ImagesMenu->AlphaBlendValue;
    int Alpha = 0;
    std::uint32_t Last = GetTickCount();
    while (Alpha < Target) {
        const std::uint32_t Now = GetTickCount();
        if (Now - Last > 5) {
            Last = Now;
            Alpha = std::min(Alpha + 10, Target);
            SetLayeredAlpha(Handle(), BYTE(Alpha));
        }
    }
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
    if (Dying)
        return;
    Dying = true;
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint())
        ImagesMenu->SkinHint()->HideHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
    if (FHooked && Application) {
        Application->RemoveMessageHook(FHook);
        FHooked = false;
    }
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
    ImagesMenu->ClosePopupWindow(AProcessEvents);
}

void TbsSkinImagesMenuPopupWindow::AppMessageHook(MSG& Msg, bool& Handled) {
    if (Dying)
        return;
    switch (Msg.message) {
    case WM_KEYDOWN:
        KeyPress(WORD(Msg.wParam));
        Msg.message = 0;
        Handled = true;
        return;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
        Hide(false);
        return;
    default:
        return;
    }
}

void TbsSkinImagesMenuPopupWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(Message);
        if (Dying)
            return;
        if (ImagesMenu->SkinHint())
            ImagesMenu->SkinHint()->HideHint();
        MouseInItem = OldMouseInItem = -1;
        Invalidate();
        return;
    default:
        break;
    }
    if (Dying && ((Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) ||
                  (Message.Msg >= WM_KEYFIRST && Message.Msg <= WM_KEYLAST)))
        return;
    TCustomControl::WndProc(Message);
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !Dying) {
        TPoint P;
        GetCursorPos(&P);
        if (WindowFromPoint(P) != Handle())
            Hide(false);
    }
}

int TbsSkinImagesMenuPopupWindow::ItemAt(int X, int Y) const {
    TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
    for (int i = 0; i < Items->Count(); ++i) {
        const TbsImagesMenuItem* It = Items->Items(i);
        const TRect& R = It->ItemRect;
        if (!It->Header && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom)
            return i;
    }
    return -1;
}

void TbsSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (Dying)
        return;
    MouseInItem = ItemAt(X, Y);
    TbsSkinHint* Hint = ImagesMenu->SkinHint();
    if (MouseInItem == -1 && Hint)
        Hint->HideHint();
    if (MouseInItem == OldMouseInItem)
        return;
    OldMouseInItem = MouseInItem;
    Invalidate();
    if (ImagesMenu->ShowHints && MouseInItem != -1 && Hint) {
        Hint->HideHint();
        const std::string& Text = ImagesMenu->ImagesItems()->Items(MouseInItem)->Hint;
        if (!Text.empty())
            Hint->ActivateHint2(Text);
    }
}

void TbsSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Dying)
        return;
    if (ImagesMenu->SkinHint())
        ImagesMenu->SkinHint()->HideHint();
    FDown = true;
    FItemDown = ItemAt(X, Y) != -1;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Dying)
        return;
    const int I = ItemAt(X, Y);
    if (FDown && I != -1) {
        ImagesMenu->SetItemIndex(I);
        Hide(true);
        return;
    }
    // The press ended elsewhere: keep the capture for the next click.
    if (GetCapture() == Handle())
        ReleaseCapture();
    SetCapture(Handle());
}

int TbsSkinImagesMenuPopupWindow::FirstUsable() const {
    TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
    return Items->Count() >= 2 && Items->Items(0)->Header ? 1 : 0;
}

void TbsSkinImagesMenuPopupWindow::SetMouseInItem(int Index) {
    if (Index == MouseInItem)
        return;
    MouseInItem = Index;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::KeyPress(WORD Key) {
    TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
    const int N = Items->Count();
    const int Cur = MouseInItem;
    const auto Item = [Items](int i) { return Items->Items(i); };
    // The nearest item from Cur in direction Step that is no header and
    // passes Fits; -1 for none.
    const auto Nearest = [&](int Step, auto Fits) {
        for (int i = Cur + Step; i >= 0 && i < N; i += Step)
            if (!Item(i)->Header && Fits(Item(i)))
                return i;
        return -1;
    };
    const auto Any = [](TbsImagesMenuItem*) { return true; };
    const auto SameColumn = [&](TbsImagesMenuItem* I) {
        return I->Button || I->ItemRect.Left == Item(Cur)->ItemRect.Left;
    };
    int Next = -1;
    switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
        if (Cur != -1)
            ImagesMenu->SetItemIndex(Cur);
        Hide(true);
        return;
    case VK_ESCAPE:
        Hide(false);
        return;
    case VK_LEFT:
        if (Cur == -1 || Cur == 0 || (Cur == 1 && FirstUsable() == 1))
            Next = N - 1;
        else
            Next = Nearest(-1, Any);
        break;
    case VK_UP:
        if (Cur == -1)
            Next = N - 1;
        else
            Next = Nearest(-1, [&](TbsImagesMenuItem* I) {
                return I->ItemRect.Top < Item(Cur)->ItemRect.Top && SameColumn(I);
            });
        break;
    case VK_RIGHT:
        if (Cur == -1 || Cur == N - 1)
            Next = FirstUsable();
        else
            Next = Nearest(1, Any);
        break;
    case VK_DOWN:
        if (Cur == -1)
            Next = FirstUsable();
        else
            Next = Nearest(1, [&](TbsImagesMenuItem* I) {
                return I->ItemRect.Top > Item(Cur)->ItemRect.Top && SameColumn(I);
            });
        break;
    default:
        return;
    }
    if (Next != -1)
        SetMouseInItem(Next);
}

// ---------------------------------------------------------------- painting

TbsDataSkinButtonControl* TbsSkinImagesMenuPopupWindow::ButtonElement() const {
    TbsSkinData* SD = ImagesMenu->SkinData();
    if (!FSkinSupport || !SD)
        return nullptr;
    for (const char* Name : {"menuitembutton", "resizebutton"}) {
        const int I = SD->GetControlIndex(Name);
        if (I != -1)
            if (auto* E = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[I].get()))
                return E;
    }
    return nullptr;
}

void TbsSkinImagesMenuPopupWindow::Paint() {
    PaintTo(Canvas());
}

void TbsSkinImagesMenuPopupWindow::PaintTo(TCanvas* Canvas) {
    if (Width() <= 0 || Height() <= 0)
        return;
    FSkinSupport = SkinUsable() && WindowPicture;
    const int Selected = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex() : -1;
    TBitmap B;
    B.SetSize(Width(), Height());
    TCanvas* C = B.Canvas();
    if (FSkinSupport) {
        TbsDataSkinPopupWindow* P = ImagesMenu->SkinData()->PopupWindow.get();
        MakeWindowNinePartBitmap(P->LTPoint, P->RTPoint, P->LBPoint, P->RBPoint, P->ItemsRect,
                                 NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &B,
                                 WindowPicture,
                                 {0, 0, WindowPicture->Width(), WindowPicture->Height()}, Width(),
                                 Height(), true, P->LeftStretch, P->TopStretch, P->RightStretch,
                                 P->BottomStretch, P->StretchEffect, P->StretchType);
    } else {
        C->Pen()->SetColor(clBtnShadow);
        C->Brush()->SetColor(clWindow);
        C->Rectangle({0, 0, Width(), Height()});
    }
    TCustomImageList* Images = ImagesMenu->Images();
    TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
    for (int i = 0; i < Items->Count(); ++i) {
        TbsImagesMenuItem* It = Items->Items(i);
        TRect R = It->ItemRect;
        if (It->Header) {
            DrawHeader(C, R, It->Caption());
            continue;
        }
        const bool SelectedUp = i == Selected && !FItemDown;
        if (SelectedUp)
            DrawItemFrame(C, R, true);
        else if (i == MouseInItem)
            DrawItemFrame(C, R, FItemDown);
        int Off = 0;
        if (Images && It->ImageIndex() >= 0 && It->ImageIndex() < Images->Count()) {
            Images->Draw(C, R.Left + 5, R.Top + 5, It->ImageIndex(), true);
            Off = Images->Width() + 5;
        }
        if (It->Button && !It->Caption().empty()) {
            R.Left += Off;
            const bool Down = SelectedUp || (i == MouseInItem && FItemDown);
            const bool Hover = i == MouseInItem && !FItemDown && !SelectedUp;
            DrawButtonText(C, It->Caption(), R, Down, Hover);
        }
    }
    Canvas->Draw(0, 0, &B);
}

void TbsSkinImagesMenuPopupWindow::DrawItemFrame(TCanvas* C, const TRect& R, bool Down) {
    const int W = RectW(R), H = RectH(R);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TbsDataSkinButtonControl* E = ButtonElement();
    TBitmap* Pic = E ? ImagesMenu->SkinData()->ActivePicture(E->PictureIndex) : nullptr;
    if (E && Pic) {
        TRect S = Down && !NoArea(E->DownSkinRect) ? E->DownSkinRect : E->ActiveSkinRect;
        if (NoArea(S))
            S = E->SkinRect;
        const int dW = W - RectW(E->SkinRect), dH = H - RectH(E->SkinRect);
        MakeNinePartBitmap(
            E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
            Shifted(E->RTPoint, dW, 0), Shifted(E->LBPoint, 0, dH), Shifted(E->RBPoint, dW, dH),
            {E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + dW, E->ClRect.Bottom + dH}, &B, Pic,
            S, W, H, true, E->LeftStretch, E->TopStretch, E->RightStretch, E->BottomStretch,
            E->StretchEffect, E->StretchType);
    } else {
        B.Canvas()->Brush()->SetColor(RGB(0, 0, 128));
        B.Canvas()->FillRect({0, 0, W, H});
        B.Canvas()->Brush()->SetColor(Down ? RGB(133, 147, 181) : RGB(182, 189, 210));
        B.Canvas()->FillRect({1, 1, W - 1, H - 1});
    }
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinImagesMenuPopupWindow::DrawButtonText(TCanvas* C, const std::string& Text, TRect R,
                                                  bool Down, bool Hover) {
    TbsSkinData* SD = ImagesMenu->SkinData();
    TbsDataSkinButtonControl* E = ButtonElement();
    TbsDataSkinMenuItem* MI = nullptr;
    if (E) {
        for (const char* Name : {"menuitem", "MENUITEM"}) {
            const int I = SD->GetIndex(Name);
            if (I != -1 && !MI)
                MI = dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[I].get());
        }
    }
    if (E && MI) {
        if (ImagesMenu->UseSkinFont) {
            C->Font()->SetName(E->FontName);
            C->Font()->SetHeight(E->FontHeight);
            C->Font()->SetStyle(E->FontStyle);
        } else
            C->Font()->Assign(ImagesMenu->DefaultFont());
        C->Font()->SetCharset(SD->ResourceStrData() ? SD->ResourceStrData()->CharSet()
                                                    : ImagesMenu->DefaultFont()->Charset());
        C->Font()->SetColor(Down ? E->DownFontColor : Hover ? E->ActiveFontColor : MI->FontColor);
    } else {
        C->Font()->Assign(ImagesMenu->DefaultFont());
        C->Font()->SetColor(clWindowText);
    }
    C->Brush()->SetStyle(bsClear);
    const int TW = GetWideTextWidth(C, Text);
    const UINT Align = TW > RectW(R) ? DT_LEFT : DT_CENTER;
    DrawWideText(C, Text, R, Align | DT_VCENTER | DT_SINGLELINE);
}

void TbsSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, const TRect& R,
                                              const std::string& Caption) {
    TbsSkinData* SD = ImagesMenu->SkinData();
    TbsDataSkinLabelControl* L = nullptr;
    if (SD && !SD->Empty) {
        const int I = SD->GetControlIndex("label");
        if (I != -1)
            L = dynamic_cast<TbsDataSkinLabelControl*>(SD->CtrlList[I].get());
    }
    TBitmap* Pic = L ? SD->ActivePicture(L->PictureIndex) : nullptr;
    if (!L || !Pic) {
        C->Font()->Assign(ImagesMenu->DefaultFont());
        C->Font()->SetColor(clWindowText);
        C->Brush()->SetStyle(bsClear);
        TRect T = R;
        DrawWideText(C, Caption, T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    TBitmap B;
    const int H = std::max(RectH(L->SkinRect), 1);
    MakeHorzThreePartBitmap(L->LTPoint.X, RectW(L->SkinRect) - L->RTPoint.X, &B, Pic, L->SkinRect,
                            RectW(R), H, L->StretchEffect);
    TCanvas* BC = B.Canvas();
    const TFontCharset Charset = C->Font()->Charset();
    BC->Font()->SetColor(L->FontColor);
    BC->Font()->SetName(L->FontName);
    BC->Font()->SetHeight(L->FontHeight);
    BC->Font()->SetStyle(L->FontStyle);
    BC->Font()->SetCharset(Charset);
    BC->Brush()->SetStyle(bsClear);
    TRect T{L->ClRect.Left, L->ClRect.Top, B.Width() - (RectW(L->SkinRect) - L->ClRect.Right),
            B.Height()};
    DrawWideText(BC, Caption, T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Draw(R.Left, R.Top, &B);
}
