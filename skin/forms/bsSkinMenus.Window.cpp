// One level of a skinned popup menu: building, measuring and placing the
// window, painting, scrolling, pointer tracking and keys.
#include "skin/forms/bsSkinMenus.h"

#include "platform/core/Clock.h"
#include "platform/gdi/ImageList.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Platform.h"
#include "skin/model/bsUtils.Regions.h"

#include <algorithm>

namespace {

int RectW(const TRect& R) {
    return R.Right - R.Left;
}
int RectH(const TRect& R) {
    return R.Bottom - R.Top;
}
bool InRect(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

} // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu,
                                       TbsDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
    SetVisible(false);
    MouseTimer = new TTimer(this);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(50);
    MouseTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinPopupWindow::MouseTimerTick));
    MorphTimer = new TTimer(this);
    MorphTimer->SetEnabled(false);
    MorphTimer->SetInterval(20);
    MorphTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinPopupWindow::MorphTimerTick));
    if (AData && AData->WindowPictureIndex != -1 && ParentMenu->SkinData) {
        SD = ParentMenu->SkinData;
        WindowPicture = SD->ActivePicture(AData->WindowPictureIndex);
        MaskPicture =
            AData->MaskPictureIndex != -1 ? SD->ActivePicture(AData->MaskPictureIndex) : nullptr;
        // A record naming no loaded picture gives the plain look.
        if (WindowPicture && !WindowPicture->Empty())
            PW = AData;
        else {
            SD = nullptr;
            WindowPicture = nullptr;
            MaskPicture = nullptr;
        }
    }
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() {
    ItemList.clear();
    delete MouseTimer;
    delete MorphTimer;
    MouseTimer = nullptr;
    MorphTimer = nullptr;
    FPaintBuffer.reset();
    DestroyHandle();
    if (FRgn)
        DeleteObject(ToObj(FRgn));
}

void TbsSkinPopupWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsXPOrLater())
        Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinPopupWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        if (!Dying)
            PaintMenu(HDC(Message.WParam));
        Message.Result = 1;
        return;
    case WM_TIMER:
        if (Dying || Message.WParam != 1)
            break;
        if (ScrollCode == 1) {
            if (CanScrollUp())
                ScrollUp(false);
            else
                StopScroll();
        } else if (ScrollCode == 2) {
            if (CanScrollDown())
                ScrollDown(false);
            else
                StopScroll();
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (Dying)
            return;
        if (HandleAllocated() && GetCapture() == Handle() && RouteHeldButton(Message))
            return;
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

bool TbsSkinPopupWindow::RouteHeldButton(TMessage& Message) {
    const TPoint P = ClientToScreen(
        {static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))});
    TbsSkinPopupWindow* Under = ParentMenu->WindowAt(P);
    if (Under == this)
        return false;
    Message.Result = 0;
    if (!Under) {
        const bool Down = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
                          Message.Msg == WM_MBUTTONDOWN;
        if (Down)
            ParentMenu->PressOutside();
        return true;
    }
    const TPoint C = Under->ScreenToClient(P);
    SendMessage(Under->Handle(), Message.Msg, Message.WParam, MAKELPARAM(C.X, C.Y));
    return true;
}

int TbsSkinPopupWindow::ItemHeight(const TbsSkinMenuItem* Item) const {
    return Item->ItemHeight();
}

void TbsSkinPopupWindow::AddItems(TMenuItem* AItem, int From) {
    for (int i = std::max(From, 0); i < AItem->Count(); ++i) {
        TMenuItem* Child = AItem->Items(i);
        if (!Child->Visible())
            continue;
        if (Child->Action())
            Child->Action()->Update();
        ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, Child, DSMI));
    }
}

void TbsSkinPopupWindow::CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex) {
    DSMI = nullptr;
    if (SD && !SD->Empty)
        for (auto& O : SD->ObjectList)
            if (auto* M = dynamic_cast<TbsDataSkinMenuItem*>(O.get())) {
                DSMI = M;
                break;
            }
    // An element whose picture is missing leaves the items in their plain
    // look; the window keeps its skinned frame.
    if (DSMI && (!SD->ActivePicture(DSMI->ActivePictureIndex) || RectH(DSMI->SkinRect) <= 0 ||
                 RectW(DSMI->SkinRect) <= 0))
        DSMI = nullptr;
    TCanvas* C = Canvas();
    if (PW && DSMI && ParentMenu->UseSkinFont()) {
        C->Font()->SetHeight(DSMI->FontHeight);
        C->Font()->SetStyle(DSMI->FontStyle);
        C->Font()->SetName(DSMI->FontName);
    } else {
        C->Font()->Assign(ParentMenu->DefaultMenuItemFont());
    }
    if (ParentMenu->SkinData && ParentMenu->SkinData->ResourceStrData())
        C->Font()->SetCharset(ParentMenu->SkinData->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(ParentMenu->DefaultMenuItemFont()->Charset());

    TMenu* M = AItem->GetParentMenu();
    if (M && M->AutoLineReduction() == maAutomatic)
        AItem->RethinkLines();
    ImgL = M ? M->Images() : nullptr;
    AddItems(AItem, StartIndex);
    if (AItem2)
        AddItems(AItem2, std::max(StartIndex - AItem->Count(), 0));

    Measure(AItem2 != nullptr);
    const int W = Width(), H = Height();
    if (PW) {
        const int PicW = WindowPicture->Width(), PicH = WindowPicture->Height();
        NewLTPoint = PW->LTPoint;
        NewRTPoint = {W + PW->RTPoint.X - PicW, PW->RTPoint.Y};
        NewLBPoint = {PW->LBPoint.X, H + PW->LBPoint.Y - PicH};
        NewRBPoint = {W + PW->RBPoint.X - PicW, H + PW->RBPoint.Y - PicH};
        NewItemsRect = {PW->ItemsRect.Left, PW->ItemsRect.Top, W + PW->ItemsRect.Right - PicW,
                        H + PW->ItemsRect.Bottom - PicH};
    } else {
        NewItemsRect = {2, 2, W - 2, H - 2};
    }
    LayoutItems();
    if (MaskPicture)
        SetSkinRegion();
}

void TbsSkinPopupWindow::Measure(bool Two) {
    VisibleStartIndex = 0;
    VisibleCount = ItemCount();
    Scroll = false;
    Scroll2 = false;
    int T = 0;
    TCanvas* C = Canvas();
    for (auto& I : ItemList) {
        std::string S = I->MenuItem->Caption();
        if (I->MenuItem->ShortCut() != 0)
            S += "  " + ShortCutToText(I->MenuItem->ShortCut());
        TRect R{0, 0, 0, 0};
        DrawText(C->Handle(), S, -1, &R, DT_CALCRECT | DT_SINGLELINE);
        T = std::max(T, RectW(R) + 2);
    }
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    const int A = T + GlyphWidth + 19;
    int W;
    if (PW) {
        W = A + (WindowPicture->Width() - RectW(PW->ItemsRect));
        // Without an item element the items take the plain look's allowance.
        W += DSMI ? RectW(DSMI->SkinRect) - RectW(DSMI->TextRct) : 10;
    } else {
        W = A + 10;
    }
    const int N = ItemCount();
    const int F = PW ? WindowPicture->Height() - RectH(PW->ItemsRect) : (Two ? 6 : 4);
    const int L = ParentMenu->MaxMenuItemsInWindow;
    int H;
    if (L > 0 && L < N) {
        const int h0 =
            DSMI ? std::max(RectH(DSMI->SkinRect), 1) : ParentMenu->DefaultMenuItemHeight();
        H = h0 * L + F + 20;
        Scroll = true;
        Scroll2 = true;
    } else {
        H = F;
        for (auto& I : ItemList)
            H += ItemHeight(I.get());
    }
    if (H > RectH(ParentMenu->WorkArea)) {
        H = RectH(ParentMenu->WorkArea);
        Scroll = true;
    }
    SetBounds(Left(), Top(), std::max(W, 1), std::max(H, 1));
}

void TbsSkinPopupWindow::LayoutItems() {
    int Y = NewItemsRect.Top + (Scroll ? 10 : 0);
    const int YBottom = NewItemsRect.Bottom - (Scroll ? 10 : 0);
    VisibleCount = 0;
    for (int i = VisibleStartIndex; i < ItemCount(); ++i) {
        TbsSkinMenuItem* I = Item(i);
        const int h = ItemHeight(I);
        I->ObjectRect = {NewItemsRect.Left, Y, NewItemsRect.Right, Y + h};
        if (Y + h > YBottom) {
            I->FVisible = false;
            for (int j = i + 1; j < ItemCount(); ++j)
                Item(j)->FVisible = false;
            break;
        }
        I->FVisible = true;
        ++VisibleCount;
        Y += h;
    }
    if (Scroll)
        for (int i = 0; i < VisibleStartIndex; ++i)
            Item(i)->FVisible = false;
}

void TbsSkinPopupWindow::CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp) {
    const TRect WA = ParentMenu->WorkArea;
    const int W = Width(), H = Height();
    const int NIT = NewItemsRect.Top;
    const int Mid = WA.Top + RectH(WA) / 2;
    bool Covered = false;
    if (Scroll && !Scroll2) {
        ShowY = WA.Top;
    } else if (PopupByItem) {
        if (R.Top - NIT + H <= WA.Bottom)
            ShowY = R.Top - NIT;
        else if (R.Top < Mid)
            ShowY = WA.Bottom - H;
        else
            ShowY = std::max(WA.Top, R.Bottom - H + NIT);
    } else if (PopupUp) {
        if (R.Top - H >= WA.Top)
            ShowY = R.Top - H;
        else if (R.Top < Mid) {
            if (R.Bottom + H <= WA.Bottom)
                ShowY = R.Bottom;
            else {
                ShowY = WA.Bottom - H;
                Covered = true;
            }
        } else {
            ShowY = WA.Top;
            Covered = true;
        }
    } else {
        if (R.Bottom + H <= WA.Bottom)
            ShowY = R.Bottom;
        else if (R.Top < Mid) {
            ShowY = WA.Bottom - H;
            Covered = true;
        } else if (R.Top - H >= WA.Top)
            ShowY = R.Top - H;
        else {
            ShowY = WA.Top;
            Covered = true;
        }
    }
    if (PopupByItem || (Scroll && !Scroll2) || Covered) {
        ShowX = R.Right + W + 1 <= WA.Right ? R.Right + 1 : R.Left - W - 1;
    } else if (R.Left + W > WA.Right)
        ShowX = WA.Right - W;
    else if (R.Left < WA.Left)
        ShowX = WA.Left;
    else
        ShowX = R.Left;
}

bool TbsSkinPopupWindow::ShowCommon(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2,
                                    int StartIndex, bool PopupByItem, bool PopupUp) {
    const bool Layered = IsLayeredWindowSupported() && ParentMenu->AlphaBlend;
    const bool Fade = Layered && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
    if (Fade) {
        // A pending click or closing message may close this window; it is
        // kept alive until this call has looked.
        ParentMenu->HoldClosedWindows();
        Application->ProcessMessages();
        const bool Closed = Dying || ParentMenu->IndexOfWindow(this) >= ParentMenu->PopupCount();
        ParentMenu->ReleaseClosedWindows();
        if (Closed)
            return false;
    }
    CreateMenu(AItem, AItem2, StartIndex);
    CalcShowPosition(R, PopupByItem, PopupUp);
    SetBounds(ShowX, ShowY, Width(), Height());
    HandleNeeded();
    if (Layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE,
                      GetWindowLong(Handle(), GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
        SetLayeredAlpha(Handle(), Fade ? 0 : ParentMenu->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, ShowX, ShowY, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (Fade) {
        const int Value = ParentMenu->AlphaBlendValue;
        const int Step = std::max(Value / 15, 1);
        int Alpha = 0;
        DWORD Last = GetTickCount();
        while (Alpha < Value) {
            const DWORD Now = GetTickCount();
            if (Now - Last > 5) {
                Last = Now;
                Alpha = std::min(Alpha + Step, Value);
                SetLayeredAlpha(Handle(), BYTE(Alpha));
            }
        }
    }
    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->Usable()) {
            Item(i)->WaitCommand = true;
            ActiveItem = i;
            Item(i)->MouseEnter(true);
            break;
        }
    return true;
}

void TbsSkinPopupWindow::Show(TRect R, TMenuItem* AItem, int StartIndex, bool PopupByItem,
                              bool PopupUp) {
    ShowCommon(R, AItem, nullptr, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinPopupWindow::Show2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex,
                               bool PopupByItem, bool PopupUp) {
    ShowCommon(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinPopupWindow::Hide() {
    if (HandleAllocated())
        SetWindowPos(Handle(), 0, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (MouseTimer)
        MouseTimer->SetEnabled(false);
    if (MorphTimer)
        MorphTimer->SetEnabled(false);
    KillTimer(HandleAllocated() ? Handle() : nullptr, 1);
    SetVisible(false);
}

// ---------------------------------------------------------------- painting

std::unique_ptr<TBitmap> TbsSkinPopupWindow::CreateWindowBitmap(bool DrawItemsArea) {
    auto B = std::make_unique<TBitmap>();
    const int W = Width(), H = Height();
    B->SetSize(W, H);
    TCanvas* C = B->Canvas();
    if (PW) {
        MakeWindowNinePartBitmap(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect,
                                 NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
                                 B.get(), WindowPicture,
                                 {0, 0, WindowPicture->Width(), WindowPicture->Height()}, W, H,
                                 DrawItemsArea, PW->LeftStretch, PW->TopStretch, PW->RightStretch,
                                 PW->BottomStretch, PW->StretchEffect, PW->StretchType);
    } else {
        const int Col = ImgL ? GlyphWidth + 2 : 21;
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, Col, H});
        C->Brush()->SetColor(clWindow);
        C->FillRect({Col, 0, W, H});
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect({0, 0, W, H});
        C->Brush()->SetColor(clWindow);
        C->FrameRect({1, 1, W - 1, H - 1});
    }
    return B;
}

void TbsSkinPopupWindow::DrawMarkerBackground(TCanvas* C, const TRect& R) {
    if (!SD)
        return;
    int Index = SD->GetIndex("menuitem");
    if (Index < 0)
        Index = SD->GetIndex("MENUITEM");
    if (Index < 0 || RectW(R) <= 0)
        return;
    TbsDataSkinObject* O = SD->ObjectList[Index].get();
    TBitmap B;
    if (DSMI && DSMI->InActiveTransparent && FPaintBuffer) {
        B.SetSize(RectW(R), RectH(R));
        B.Canvas()->CopyRect({0, 0, RectW(R), RectH(R)}, FPaintBuffer->Canvas(), R);
    } else {
        TBitmap* Pic = SD->ActivePicture(O->ActivePictureIndex);
        auto* M = dynamic_cast<TbsDataSkinMenuItem*>(O);
        if (!Pic || RectH(O->SkinRect) <= 0)
            return;
        MakeHorzThreePartBitmap(M ? M->ItemLO : 0, M ? M->ItemRO : 0, &B, Pic, O->SkinRect,
                                RectW(R), RectH(O->SkinRect), M && M->InActiveStretchEffect);
        B.SetHeight(RectH(R));
    }
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinPopupWindow::DrawMarker(TCanvas* C, bool Up) {
    const int W = Width(), H = Height();
    TRect R;
    if (PW)
        R = Up ? TRect{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right,
                       NewItemsRect.Top + 10}
               : TRect{NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right,
                       NewItemsRect.Bottom};
    else
        R = Up ? TRect{3, 3, W - 3, 13} : TRect{3, H - 10, W - 3, H - 3};
    const bool IsActive = ScrollCode == (Up ? 1 : 2);
    TColor Color;
    if (PW) {
        DrawMarkerBackground(C, R);
        Color = IsActive ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWindow);
        C->FillRect(R);
        Color = IsActive ? clBtnText : clBtnShadow;
    }
    DrawArrowImage(C, R, Color, Up ? 3 : 4);
}

void TbsSkinPopupWindow::PaintMenu(HDC DC) {
    if (Width() <= 0 || Height() <= 0)
        return;
    auto B = CreateWindowBitmap(Scroll);
    if (PW && DSMI && DSMI->InActiveTransparent)
        FPaintBuffer = CreateWindowBitmap(true);
    for (int i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i)
        Item(i)->Draw(B->Canvas());
    if (Scroll) {
        DrawMarker(B->Canvas(), true);
        DrawMarker(B->Canvas(), false);
        if (PW && VisibleCount > 0) {
            const int Bottom = Item(VisibleStartIndex + VisibleCount - 1)->ObjectRect.Bottom;
            if (Bottom < NewItemsRect.Bottom - 10)
                DrawMarkerBackground(B->Canvas(), {NewItemsRect.Left, Bottom, NewItemsRect.Right,
                                                   NewItemsRect.Bottom - 10});
        }
    }
    BitBlt(DC, 0, 0, B->Width(), B->Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinPopupWindow::RedrawMarkers() {
    if (!HandleAllocated())
        return;
    // The markers are painted with the window: drawing on its canvas outside
    // a paint would not reach the screen.
    Invalidate();
}

void TbsSkinPopupWindow::RedrawItem(TbsSkinMenuItem* Item) {
    if (!HandleAllocated() || Dying)
        return;
    const TRect R = Item->ObjectRect;
    InvalidateRect(Handle(), &R, TRUE);
}

void TbsSkinPopupWindow::SetSkinRegion() {
    HRGN Rgn = 0;
    MakeNinePartRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect,
                       NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture,
                       Width(), Height());
    if (!Rgn)
        return;
    HandleNeeded();
    SetWindowRgn(Handle(), Rgn, TRUE);
    if (FRgn)
        DeleteObject(ToObj(FRgn));
    FRgn = Rgn;
}

// ---------------------------------------------------------------- scrolling

bool TbsSkinPopupWindow::CanScrollDown() const {
    return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
}

int TbsSkinPopupWindow::LastStartIndex() const {
    int Y = NewItemsRect.Bottom - 10, n = 0;
    for (int i = ItemCount() - 1; i >= 0; --i) {
        Y -= ItemHeight(Item(i));
        if (Y < NewItemsRect.Top + 10)
            break;
        ++n;
    }
    return ItemCount() - n;
}

void TbsSkinPopupWindow::ScrollUp(bool Wrap) {
    if (VisibleStartIndex > 0)
        --VisibleStartIndex;
    else if (Wrap)
        VisibleStartIndex = LastStartIndex();
    LayoutItems();
    Repaint();
}

void TbsSkinPopupWindow::ScrollDown(bool Wrap) {
    if (CanScrollDown())
        ++VisibleStartIndex;
    else if (Wrap)
        VisibleStartIndex = 0;
    LayoutItems();
    Repaint();
}

void TbsSkinPopupWindow::StartScroll() {
    ParentMenu->CloseWindowsFrom(ParentMenu->IndexOfWindow(this) + 1);
    HandleNeeded();
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, 100, nullptr);
}

void TbsSkinPopupWindow::StopScroll() {
    ScrollCode = 0;
    RedrawMarkers();
    if (HandleAllocated())
        KillTimer(Handle(), 1);
}

// ---------------------------------------------------------------- pointer

void TbsSkinPopupWindow::MouseTimerTick(TObject*) {
    if (Dying || !HandleAllocated())
        return;
    TPoint P;
    GetCursorPos(&P);
    const TPoint C = ScreenToClient(P);
    if (C.X == OMX && C.Y == OMY)
        return;
    if (WindowFromPoint(P) == Handle())
        TestActive(C.X, C.Y);
    else if (Scroll) {
        ScrollCode = 0;
        RedrawMarkers();
    }
    // The tick may have closed this window's chain.
    if (!Dying) {
        OMX = C.X;
        OMY = C.Y;
    }
}

void TbsSkinPopupWindow::MorphTimerTick(TObject*) {
    if (Dying || !PW)
        return;
    bool Changed = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMenuItem* I = Item(i);
        if (I->EnableMorphing() && I->CanMorphing()) {
            I->DoMorphing();
            Changed = true;
        } else if (I->EnableAnimation()) {
            if (I->Active && I->CurrentFrame <= I->MI->FrameCount) {
                ++I->CurrentFrame;
                RedrawItem(I);
                Changed = true;
            } else if (!I->Active && I->CurrentFrame > 0) {
                --I->CurrentFrame;
                RedrawItem(I);
                Changed = true;
            }
        }
    }
    if (!Changed)
        MorphTimer->SetEnabled(false);
}

void TbsSkinPopupWindow::TestActive(int X, int Y) {
    if (Dying)
        return;
    if (Scroll) {
        const TRect Up{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right,
                       NewItemsRect.Top + 10};
        const TRect Dn{NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right,
                       NewItemsRect.Bottom};
        if (InRect(Up, X, Y) && ScrollCode == 0 && CanScrollUp()) {
            ScrollCode = 1;
            RedrawMarkers();
            StartScroll();
        } else if (InRect(Dn, X, Y) && ScrollCode == 0 && CanScrollDown()) {
            ScrollCode = 2;
            RedrawMarkers();
            StartScroll();
        } else if (ScrollCode != 0 && !InRect(Up, X, Y) && !InRect(Dn, X, Y)) {
            StopScroll();
        }
    }
    if (ItemList.empty())
        return;
    OldActiveItem = ActiveItem;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->FVisible && InRect(Item(i)->ObjectRect, X, Y)) {
            ActiveItem = i;
            break;
        }
    if (ActiveItem >= ItemCount())
        ActiveItem = -1;
    if (ActiveItem == OldActiveItem && ActiveItem != -1) {
        TbsSkinMenuItem* I = Item(ActiveItem);
        if (I->WaitCommand) {
            I->WaitCommand = false;
            if (I->MenuItem->Count() > 0)
                I->MouseEnter(false);
        }
        return;
    }
    if (ActiveItem == OldActiveItem)
        return;
    if (OldActiveItem >= 0 && OldActiveItem < ItemCount() && Item(OldActiveItem)->Usable())
        Item(OldActiveItem)->MouseLeave();
    if (ActiveItem >= 0 && Item(ActiveItem)->Usable())
        Item(ActiveItem)->MouseEnter(false);
}

void TbsSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Dying)
        return;
    TestActive(X, Y);
    if (Dying || ActiveItem == -1 || Button != mbLeft)
        return;
    TbsSkinMenuItem* I = Item(ActiveItem);
    if (I->FVisible && InRect(I->ObjectRect, X, Y) && !I->IsSeparator())
        I->MouseDown(X, Y);
}

// ---------------------------------------------------------------- keys

void TbsSkinPopupWindow::NextItem() {
    if (ItemList.empty())
        return;
    const int LastLaid = VisibleStartIndex + VisibleCount - 1;
    if (Scroll && ScrollCode == 0 && ActiveItem == LastLaid)
        ScrollDown(true);
    OldActiveItem = ActiveItem;
    int I = ActiveItem + 1;
    if (ActiveItem < 0 || I == ItemCount())
        I = 0;
    for (int i = I; i < ItemCount(); ++i) {
        if (Item(i)->Usable()) {
            ActiveItem = i;
            break;
        }
        if (Scroll && ScrollCode == 0 && i == VisibleStartIndex + VisibleCount - 1)
            ScrollDown(true);
    }
    if (ActiveItem != OldActiveItem) {
        Item(ActiveItem)->MouseEnter(true);
        if (!Dying && OldActiveItem != -1)
            Item(OldActiveItem)->MouseLeave();
    }
}

void TbsSkinPopupWindow::PriorItem() {
    if (ItemList.empty())
        return;
    if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex)
        ScrollUp(true);
    OldActiveItem = ActiveItem;
    int I = ActiveItem - 1;
    if (ActiveItem < 0 || I == -1)
        I = ItemCount() - 1;
    for (int i = I; i >= 0; --i) {
        if (Item(i)->Usable()) {
            ActiveItem = i;
            break;
        }
        if (Scroll && ScrollCode == 0 && i == VisibleStartIndex)
            ScrollUp(true);
    }
    if (ActiveItem != OldActiveItem) {
        Item(ActiveItem)->MouseEnter(true);
        if (!Dying && OldActiveItem != -1)
            Item(OldActiveItem)->MouseLeave();
    }
}

void TbsSkinPopupWindow::PopupKeyDown(WORD CharCode) {
    if (Dying || !Visible())
        return;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMenuItem* I = Item(i);
        if (I->MenuItem->Enabled() && IsAccel(CharCode, I->MenuItem->Caption())) {
            I->MouseEnter(false);
            if (Dying)
                return;
            OldActiveItem = ActiveItem;
            ActiveItem = i;
            if (OldActiveItem != -1 && OldActiveItem != i)
                Item(OldActiveItem)->MouseLeave();
            I->MouseDown(0, 0);
            return;
        }
    }
    TbsSkinMenu* Menu = ParentMenu;
    switch (CharCode) {
    case VK_RETURN:
        if (ActiveItem != -1)
            Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_ESCAPE:
    case VK_LEFT: {
        const int N = Menu->PopupCount();
        if (N < 2 && CharCode == VK_LEFT)
            break;
        if (N >= 2) {
            TbsSkinPopupWindow* Prev = Menu->PopupWindow(N - 2);
            if (Prev->ActiveItem != -1)
                Prev->Item(Prev->ActiveItem)->Down = false;
        }
        // With the root alone this closes the chain; the form's hook then
        // leaves menu mode.
        Menu->CloseWindowsFrom(N - 1);
        break;
    }
    case VK_UP:
        PriorItem();
        break;
    case VK_DOWN:
        NextItem();
        break;
    case VK_RIGHT:
        if (ActiveItem != -1 && Item(ActiveItem)->MenuItem->Count() > 0)
            Item(ActiveItem)->MouseDown(0, 0);
        break;
    default:
        break;
    }
}

void TbsSkinPopupWindow::CollapseSubmenus() {
    const int Index = ParentMenu->IndexOfWindow(this);
    if (Index + 1 < ParentMenu->PopupCount())
        ParentMenu->CloseWindowsFrom(Index + 1);
    for (auto& I : ItemList)
        if (I->Down) {
            I->Down = false;
            if (I->EnableAnimation() && !I->MI->InActiveAnimation) {
                I->CurrentFrame = 0;
                RedrawItem(I.get());
            } else {
                I->StartMorphing();
            }
        }
}
