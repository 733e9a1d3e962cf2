// TbsSkinForm: the form's window procedure, the MDI client's, the keys while
// a skin menu is open, the form's shortcuts and the menu states.
#include "skin/forms/SkinForm.h"

#include "platform/core/Clock.h"
#include "platform/forms/PopupMenus.h"
#include "platform/win/Windows.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsUtils.h"

#include <algorithm>

namespace {

constexpr UINT FADE_TIMER = 1;
constexpr LONG_PTR TRAY_HIDDEN_TAG = -10000;

TPoint MessagePoint(LPARAM LParam) {
    return {static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

} // namespace

bool IsMenuCloseMessage(UINT Msg) {
    switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case 31: // WM_CANCELMODE
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

bool TbsSkinForm::FrameShown() {
    return FForm->BorderStyle() != bsNone && !(IsMDIChild() && FWindowState == wsMaximized);
}

void TbsSkinForm::RepaintFrame() {
    if (FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

bool TbsSkinForm::FadeWanted() {
    return FIsLayerEnabled &&
           (FAlphaBlend || FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows()));
}

void TbsSkinForm::SetLayered(bool Value) {
    const HWND H = FForm->Handle();
    const LONG_PTR Ex = GetWindowLong(H, GWL_EXSTYLE);
    const bool Is = (Ex & WS_EX_LAYERED) != 0;
    if (Is != Value)
        SetWindowLong(H, GWL_EXSTYLE,
                      Value ? (Ex | WS_EX_LAYERED) : (Ex & ~LONG_PTR(WS_EX_LAYERED)));
}

void TbsSkinForm::NewWndProc(TMessage& Message) {
    // Releasing frees the form and this component inside the call: nothing
    // of either may be touched after it.
    if (Message.Msg == CM_RELEASE) {
        const TWndMethod Old = OldWindowProc;
        Old(Message);
        return;
    }
    CloseMenusOnMessage(Message);
    bool PassOn = true;
    const bool Skinnable = FSkinnableForm;
    switch (Message.Msg) {
    case WM_DESTROY:
        MouseTimer->SetEnabled(false);
        MorphTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
        if (IsMDIChild()) {
            FWindowState = wsNormal;
            if (Application->MainForm() && Application->MainForm()->HandleAllocated())
                SendMessage(Application->MainForm()->Handle(), WM_MDICHILDRESTORE, 0, 0);
            UpdateMainFormMenuBar();
            UpdateMainFormMDITabs();
        }
        break;
    case WM_SIZE:
        WMSize(Message);
        PassOn = false;
        break;
    case WM_ACTIVATE:
        if (!Skinnable)
            break;
        OldWindowProc(Message);
        RepaintFrame();
        if (IsMDIChild() && FWindowState == wsMaximized)
            SetCaptionActive(false);
        else {
            ResetCaptionButtons();
            SetCaptionActive(true);
        }
        if (IsMDIForm())
            UpdateMainFormMenuBar();
        PassOn = false;
        break;
    case WM_SETTEXT:
        if (!Skinnable)
            break;
        OldWindowProc(Message);
        if (FrameShown())
            RepaintFrame();
        if (IsMDIChild()) {
            UpDateChildCaptionInMenu();
            RefreshMDIBarTab();
        }
        PassOn = false;
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        PassOn = false;
        break;
    case WM_SHOWWINDOW:
        WMShowWindow(Message);
        break;
    case WM_SETCURSOR:
        if (Skinnable && FUseFormCursorInNCArea) {
            const WORD Code = LOWORD(Message.LParam);
            if (!(Code == HTCLIENT || (Code >= HTLEFT && Code <= HTBOTTOMRIGHT)))
                Message.LParam = MAKELPARAM(HTCLIENT, HIWORD(Message.LParam));
        }
        break;
    case WM_MOUSEACTIVATE:
        if (Skinnable && IsMDIChild() && !FFormActive && Application->MainForm() &&
            Application->MainForm()->ActiveMDIChild() == FForm) {
            FFormActive = true;
            SetCaptionActive(FWindowState != wsMaximized);
        }
        break;
    case WM_GETMINMAXINFO:
        if (Skinnable) {
            auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
            Info->ptMinTrackSize = {GetMinWidth(), GetMinHeight()};
            Info->ptMaxTrackSize = {GetMaxWidth(), GetMaxHeight()};
        }
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(Message);
        break;
    case WM_DISPLAYCHANGE:
        if (FForm->BorderStyle() != bsNone &&
            (GetMaxWidth() < FForm->Width() || GetMaxHeight() < FForm->Height()))
            ForceRealign();
        break;
    case WM_NCCALCSIZE:
        if (!Skinnable)
            break;
        WMNCCalcSize(Message);
        PassOn = false;
        break;
    case WM_NCHITTEST: {
        if (!Skinnable)
            break;
        TPoint P = MessagePoint(Message.LParam);
        PointToFrame(P);
        Message.Result = FSkinSupport ? SkinHitTest(P) : DefaultHitTest(P);
        if (!MouseTimer->Enabled() && Message.Result == HTOBJECT) {
            TestActive(P.X, P.Y, true);
            MouseTimer->SetEnabled(true);
        }
        PassOn = false;
        break;
    }
    case WM_NCPAINT:
        if (!Skinnable)
            break;
        if (FrameShown()) {
            if (FSkinSupport)
                PaintNCSkin(nullptr, false);
            else if (!FStopPainting)
                PaintNCDefault(nullptr, false);
        }
        PassOn = false;
        break;
    case WM_NCACTIVATE:
        if (!Skinnable)
            break;
        WMNCActivate(Message);
        PassOn = false;
        break;
    case WM_SYNCPAINT:
        if (Skinnable && FRollUpState) {
            RepaintFrame();
            Message.Result = 0;
            PassOn = false;
        }
        break;
    case WM_SYSCOMMAND:
        WMSysCommand(Message);
        PassOn = (Message.WParam & 0xFFF0) != SC_KEYMENU;
        break;
    case WM_TIMER:
        if (Message.WParam == FADE_TIMER)
            WMTimerFade();
        break;
    case WM_SIZING:
        if (FSizeMove && FFullDrag) {
            WMSizing(Message);
            PassOn = false;
        }
        break;
    case WM_MOVING:
        if (!Skinnable)
            break;
        if (FWindowState == wsMaximized && !IsMDIChild()) {
            *reinterpret_cast<TRect*>(Message.LParam) = FForm->BoundsRect();
        } else if (FMagnetic) {
            auto* R = reinterpret_cast<TRect*>(Message.LParam);
            int X = R->Left, Y = R->Top;
            const int W = FForm->Width(), H = FForm->Height();
            DoMagnetic(X, Y, W, H);
            *R = TRect{X, Y, X + W, Y + H};
        }
        break;
    case WM_ENTERSIZEMOVE:
        if (!Skinnable)
            break;
        GetCursorPos(&FOnMouseDownCoord);
        ResetCaptionButtons();
        MouseTimer->SetEnabled(false);
        ActiveObject = -1;
        MouseCaptureObject = -1;
        FSizeMove = true;
        FFullDrag = GetFullDrag();
        break;
    case WM_EXITSIZEMOVE:
        if (Skinnable)
            WMExitSizeMove();
        break;
    case WM_BEFORECHANGESKINDATA:
        BeforeChangeSkin(reinterpret_cast<TbsSkinData*>(Message.WParam));
        break;
    case WM_CHANGESKINDATA: {
        auto* Changing = reinterpret_cast<TbsSkinData*>(Message.WParam);
        FStopPainting = false;
        if (Changing == FSD)
            FormChangeSkinData();
        ChangeControlsSkinData(Changing, FForm);
        break;
    }
    case WM_AFTERCHANGESKINDATA:
        if (reinterpret_cast<TbsSkinData*>(Message.WParam) == FSD && IsMDIForm())
            UpdateMDIChildren();
        if (OnAfterChangeSkinData)
            OnAfterChangeSkinData(this);
        break;
    case WM_CLOSESKINMENU:
        SkinMenuClose();
        break;
    case WM_MDICHILDMOVE:
        if (IsMDIChild() && FWindowState == wsMaximized) {
            const TRect R = GetMDIWorkArea();
            FForm->SetBounds(0, 0, R.Width(), R.Height());
        }
        break;
    case WM_MDICHILDMAX:
        if (IsMDIForm()) {
            FMDIChildMaximized = true;
            RepaintFrame();
            ShowMDIChildButtonsInMenuBar();
        }
        break;
    case WM_MDICHILDRESTORE:
        if (IsMDIForm()) {
            if (!FindMaximizedChild())
                FMDIChildMaximized = false;
            RepaintFrame();
            UpdateMDIChildButtonsInMenuBar();
        }
        break;
    case WM_CHANGERESSTRDATA:
        UpdateObjectHints();
        break;
    case WM_CHANGEFORMSKINNABLE:
        if (!FUseRibbon && FSD && reinterpret_cast<TbsSkinData*>(Message.WParam) == FSD &&
            !IsMDIChild())
            SetSkinnableForm(FSD->SkinnableForm());
        break;
    case WM_SHOWFROMTRAY:
        if (FForm->Tag() == TRAY_HIDDEN_TAG) {
            if (IsLayeredBorderUsed() && Application->MainForm()) {
                SetForegroundWindow(Application->MainForm()->Handle());
                if (const HWND OnTop = FindStayOnTopFormHandle())
                    SetForegroundWindow(OnTop);
            }
            FForm->SetTag(0);
        }
        break;
    case WM_SHOWLAYEREDBORDERS:
        if (IsLayeredBorderUsed()) {
            if (FForm->Visible() && !IsLayeredBorderVisible()) {
                BorderSetActiveFlag(FFormActive);
                BorderShowWithForm();
                FForm->Show();
            }
        } else if (IsLayeredBorderVisible())
            BorderHide();
        break;
    case WM_QUERYSKINFRAME:
        Message.Result =
            (Skinnable || !FIsVistaOs) ? QUERYSKINFRAME_SKINNED : QUERYSKINFRAME_NATIVE;
        PassOn = false;
        break;
    case WM_BEGINSMARTEFFECT:
        FSmartEffectsShow = true;
        break;
    case WM_ENDSMARTEFFECT:
        if (FSmartEffectsShow) {
            FSmartEffectsShow = false;
            if ((FForm->Visible() || FForm->Tag() == TRAY_HIDDEN_TAG) && IsLayeredBorderUsed()) {
                Application->ProcessMessages();
                BorderSetActiveFlag(true);
                BorderShowWithFormAnimation();
            }
        }
        break;
    case WM_NCPAINTTODC:
        if (!Skinnable)
            break;
        if (Message.WParam != 0 && FrameShown())
            PaintFrameToDC(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = NCPAINTTODC_ANSWER;
        PassOn = false;
        break;
    case WM_PAINTTODC:
        if (!Skinnable || Message.LParam != PAINTTODC_TOKEN)
            break;
        if (Message.WParam != 0 && FrameShown())
            PaintFrameToDC(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = PAINTTODC_TOKEN;
        PassOn = false;
        break;
    default:
        break;
    }
    if (PassOn)
        OldWindowProc(Message);
    PostHandle(Message);
}

void TbsSkinForm::PaintFrameToDC(HDC DC) {
    if (FSkinSupport)
        PaintNCSkin(DC, true);
    else
        PaintNCDefault(DC, true);
}

void TbsSkinForm::WMSize(TMessage& Message) {
    if (FSizeMove && FFullDrag) {
        if (!FLogoBitMap->Empty() && !IsMDIForm())
            FForm->Repaint();
        OldWindowProc(Message);
        return;
    }
    if (!FBorderLayerChangeSize) {
        OldWindowProc(Message);
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
    }
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    if (!FSkinSupport) {
        if (FSkinnableForm) {
            SetFormRegion();
            RepaintFrame();
        }
    } else if (FSD && FSkinnableForm && FFormWidth >= GetMinWidth() &&
               FFormHeight >= GetMinHeight()) {
        if (IsLayeredBorderUsed()) {
            if (FBorderLayerChangeSize)
                BorderSetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
            else
                BorderSetBoundsWithForm();
        }
        UpdateSkinFrame();
    }
    if (FBorderLayerChangeSize)
        OldWindowProc(Message);
    if (FAlphaBlend && FAlphaBlendValue != 255 && FIsLayerEnabled) {
        RepaintFrame();
        FForm->Repaint();
    }
    if (!FLogoBitMap->Empty() && !IsMDIForm())
        FForm->Repaint();
}

void TbsSkinForm::WMEraseBkgnd(TMessage& Message) {
    if (IsMDIForm() && !FClientInActiveDraw)
        return;
    const HDC DC = reinterpret_cast<HDC>(Message.WParam);
    if (!FSkinSupport)
        PaintBGDefault(DC);
    else if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
        PaintBG3(DC);
    else if (FSD->BGPictureIndex == -1)
        PaintBG(DC);
    else
        PaintBG2(DC);
}

void TbsSkinForm::WMShowWindow(TMessage& Message) {
    const bool Showing = Message.WParam > 0;
    const bool FirstPlacement = FStartShow;
    auto Place = [&] {
        if (!FirstPlacement)
            return;
        if (FPositionInMonitor == bspDefault)
            FStartShow = false;
        else if (FWindowState == wsNormal) {
            FStartShow = false;
            ApplyPositionInMonitor();
        }
    };
    if (FSkinnableForm && Showing) {
        Place();
        if (FSD && FSD->AnimationForAllWindows() && FAlphaBlendValue == 0)
            FAlphaBlendValue = 255;
        if (FadeWanted() || UseVistaBorderFade()) {
            SetLayered(true);
            SetLayeredWindowAttributes(FForm->Handle(), 0, 0, LWA_ALPHA);
            if (IsLayeredBorderUsed() && (FForm->Visible() || FForm->Tag() == TRAY_HIDDEN_TAG)) {
                BorderCheckFormAlpha(0, false);
                BorderShowWithForm();
            }
            SetTimer(FForm->Handle(), FADE_TIMER, 1, nullptr);
        }
        if (!IsMDIForm())
            ForceRealign();
        else if (FForm->ClientHandle() && !FClientInstance) {
            InstallMDIClientHook();
            ForceRealign();
        }
        if (IsMDIChild()) {
            AddChildToMenu();
            AddChildToBar();
        }
        if (FForm->Menu())
            FForm->SetMenu(nullptr);
    } else if (FSkinnableForm) {
        if (FLayerManager->IsVisible())
            FLayerManager->Hide();
        if (FMenuLayerManager->IsVisible())
            FMenuLayerManager->Hide();
        if (IsMDIChild()) {
            DeleteChildFromMenu();
            DeleteChildFromBar();
        }
        if (IsLayeredBorderVisible() && FIsVistaOs)
            SetLayered(true);
    } else if (Showing) {
        Place();
        if (IsMDIForm() && FForm->ClientHandle() && !FClientInstance) {
            InstallMDIClientHook();
            ForceRealign();
        }
        if (FadeWanted()) {
            SetLayered(true);
            SetLayeredWindowAttributes(FForm->Handle(), 0, 0, LWA_ALPHA);
            SetTimer(FForm->Handle(), FADE_TIMER, 1, nullptr);
        }
    }
}

void TbsSkinForm::WMNCCalcSize(TMessage& Message) {
    if (!FrameShown())
        return;
    // The first rectangle of the parameter block, also when lParam is a
    // plain rectangle.
    TRect& R = *reinterpret_cast<TRect*>(Message.LParam);
    if (SkinReady()) {
        CalcFrameRects();
        R.Left += FSD->ClRect.Left;
        R.Top += FSD->ClRect.Top;
        R.Right -= FSD->FPicture->Width() - FSD->ClRect.Right;
        R.Bottom -= FSD->FPicture->Height() - FSD->ClRect.Bottom;
    } else {
        R.Left += 3;
        R.Top += GetDefCaptionHeight() + 3;
        R.Right -= 3;
        R.Bottom -= 3;
    }
    if (R.Left > R.Right)
        R.Right = R.Left;
    if (R.Top > R.Bottom)
        R.Bottom = R.Top;
}

void TbsSkinForm::WMNCActivate(TMessage& Message) {
    FBorderLayerChangeSize = false;
    if (SkinMenuVisible())
        HideSkinMenu();
    if (FLayerManager->IsVisible())
        FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible())
        FMenuLayerManager->Hide();
    FFormActive = Message.WParam != 0;
    if (!FFormActive)
        TestActive(-1, -1, false);
    if ((IsMDIForm() && !FIsVistaOs) || IsMDIChild()) {
        OldWindowProc(Message);
        if (IsMDIChild())
            FForm->Repaint();
    } else
        Message.Result = 1;
    if (FrameShown()) {
        RepaintFrame();
        SetCaptionActive(true);
    } else
        SetCaptionActive(false);
    if (IsMDIChild() && FWindowState == wsMaximized && Application->MainForm())
        Application->MainForm()->Perform(WM_NCPAINT, 0, 0);
    if (FForm->Visible() && FClientInActiveEffect) {
        if (FFormActive)
            HideClientInActiveEffect();
        else
            ShowClientInActiveEffect();
    }
    if (IsMDIChild()) {
        UpdateMainFormMenuBar();
        UpdateMainFormMDITabs();
        UpDateChildActiveInMenu();
    }
    if (FForm->Visible()) {
        if (IsLayeredBorderUsed())
            BorderSetActive(FFormActive, true);
    } else if (FForm->Tag() != TRAY_HIDDEN_TAG && IsLayeredBorderUsed())
        BorderHide();
}

void TbsSkinForm::WMWindowPosChanged(TMessage& Message) {
    const auto* Pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
    if ((Pos->flags & SWP_HIDEWINDOW) && IsLayeredBorderVisible() && FIsVistaOs)
        SetLayered(true);
    FFormLeft = Pos->x;
    FFormTop = Pos->y;
    if (!FSizing && FBorderLayerChangeSize) {
        FFormWidth = Pos->cx;
        FFormHeight = Pos->cy;
    }
    if (FSizing && (FForm->Top() != FFormTop || FForm->Left() != FFormLeft) &&
        IsLayeredBorderUsed())
        BorderSetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
    if (!FSizing && !FBorderLayerChangeSize) {
        if (IsLayeredBorderUsed())
            BorderMoveWithForm2(FFormLeft, FFormTop);
        FOldFormLeft = FFormLeft;
        FOldFormTop = FFormTop;
    }
}

void TbsSkinForm::WMSizing(TMessage& Message) {
    FSizing = true;
    FBorderLayerChangeSize = false;
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    OldWindowProc(Message);
    const TRect& R = *reinterpret_cast<const TRect*>(Message.LParam);
    FFormWidth = R.Width();
    FFormHeight = R.Height();
    if (!FSD || (FSD->Empty && FSkinnableForm)) {
        SetFormRegion();
    } else if (FSkinnableForm && FForm->Width() >= GetMinWidth() &&
               FForm->Height() >= GetMinHeight() &&
               (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
        if (IsLayeredBorderUsed() && FFormLeft == FOldFormLeft && FFormTop == FOldFormTop)
            BorderSetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        FOldFormLeft = FFormLeft;
        FOldFormTop = FFormTop;
        UpdateSkinFrame();
    }
}

void TbsSkinForm::WMSysCommand(TMessage& Message) {
    const WPARAM Command = Message.WParam & 0xFFF0;
    if (Command == SC_RESTORE) {
        if (OnRestore)
            OnRestore(this);
    } else if (Command == SC_KEYMENU) {
        if (!InMainMenu) {
            if (SkinMenuVisible())
                SkinMenuClose();
            MainMenuBarKeyboardMode();
        } else
            ExitMainMenu();
    }
}

void TbsSkinForm::WMTimerFade() {
    const HWND H = FForm->Handle();
    const bool WithBorder =
        IsLayeredBorderUsed() && (FForm->Visible() || FForm->Tag() == TRAY_HIDDEN_TAG);
    if (UseVistaBorderFade()) {
        KillTimer(H, FADE_TIMER);
        SetLayered(false);
        if (WithBorder) {
            BorderSetActiveFlag(FForm->Active());
            BorderCheckFormAlpha(255, true);
        }
        return;
    }
    if (!FadeWanted())
        return;
    KillTimer(H, FADE_TIMER);
    if (IsLayeredBorderUsed())
        BorderSetActiveFlag(FForm->Active());
    const bool Animated = FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows());
    const int Target = (Animated && !FAlphaBlend) ? 255 : FAlphaBlendValue;
    if (Animated) {
        const int Step = std::max(1, Target / 15);
        Application->ProcessMessages();
        int Alpha = 0;
        std::uint32_t Last = 0;
        while (Alpha < Target) {
            const std::uint32_t Now = GetTickCount();
            if (Now - Last <= 5)
                continue;
            Last = Now;
            Alpha = std::min(Alpha + Step, Target);
            SetLayeredWindowAttributes(H, 0, static_cast<BYTE>(Alpha), LWA_ALPHA);
            if (WithBorder)
                BorderCheckFormAlpha(Alpha, true);
        }
    } else if (Target != 255) {
        SetLayeredWindowAttributes(H, 0, static_cast<BYTE>(FAlphaBlendValue), LWA_ALPHA);
        if (WithBorder)
            BorderCheckFormAlpha(FAlphaBlendValue, true);
    }
    if (Target == 255) {
        SetLayered(false);
        if (WithBorder)
            BorderCheckFormAlpha(255, true);
    }
}

void TbsSkinForm::WMExitSizeMove() {
    if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
        FFormLeft = FForm->Left();
        FFormTop = FForm->Top();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        UpdateSkinFrame();
    }
    FSizing = false;
    FSizeMove = false;
    MouseTimer->SetEnabled(false);
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    if (SkinReady())
        RepaintFrame();
    if (IsLayeredBorderUsed())
        BorderSetBoundsWithForm();
}

void TbsSkinForm::PostHandle(TMessage& Message) {
    if (Message.Msg == WM_SHOWWINDOW) {
        if (Message.WParam > 0) {
            if (FIsLayerEnabled && !FAlphaBlendAnimation && !FAlphaBlend && !UseVistaBorderFade() &&
                !(FSD && FSD->AnimationForAllWindows()) &&
                (FForm->Visible() || FForm->Tag() == TRAY_HIDDEN_TAG) && IsLayeredBorderUsed()) {
                Application->ProcessMessages();
                BorderSetActiveFlag(true);
                BorderShowWithForm();
            }
        } else if (IsLayeredBorderUsed())
            BorderHide();
        return;
    }
    if (Message.Msg == WM_LBUTTONUP || Message.Msg == WM_RBUTTONUP) {
        ObjectsMouseUp(Message.Msg == WM_LBUTTONUP ? mbLeft : mbRight, -1, -1);
        return;
    }
    if (!FSkinnableForm || Message.Msg < WM_NCMOUSEMOVE || Message.Msg > WM_NCRBUTTONDBLCLK)
        return;
    TPoint P = MessagePoint(Message.LParam);
    PointToFrame(P);
    switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
        ObjectsMouseMove(P.X, P.Y);
        break;
    case WM_NCLBUTTONDOWN:
        if (FSizeMove) {
            FSizeMove = false;
            break;
        }
        TestActive(P.X, P.Y, true);
        ObjectsMouseDown(mbLeft, P.X, P.Y);
        if (Message.WParam == HTCAPTION)
            MouseCaptureObject = -1;
        break;
    case WM_NCLBUTTONUP:
        ObjectsMouseUp(mbLeft, P.X, P.Y);
        break;
    case WM_NCLBUTTONDBLCLK:
        TestActive(P.X, P.Y, true);
        ObjectsMouseDown(mbLeft, P.X, P.Y);
        ObjectsDblClick();
        if (Message.WParam == HTCAPTION) {
            const bool Sizeable = IsSizeable();
            if (Sizeable && FWindowState == wsMinimized)
                SetWindowState(wsNormal);
            else if (Sizeable && FWindowState != wsMaximized && !FRollUpState &&
                     FBorderIcons.Contains(TbsBorderIcon::biMaximize))
                SetWindowState(wsMaximized);
            else if (Sizeable && FWindowState == wsMaximized && !MaxRollUpState)
                SetWindowState(wsNormal);
            else
                SetRollUpState(!FRollUpState);
            MouseCaptureObject = -1;
        }
        break;
    case WM_NCRBUTTONDOWN:
        TestActive(P.X, P.Y, true);
        ObjectsMouseDown(mbRight, P.X, P.Y);
        if (Message.WParam == HTCAPTION) {
            MouseCaptureObject = -1;
            if (!FDisableSystemMenu) {
                TPoint C;
                GetCursorPos(&C);
                PopupSystemMenuAt(C.X, C.Y);
            }
        }
        break;
    case WM_NCRBUTTONUP:
        ObjectsMouseUp(mbRight, P.X, P.Y);
        break;
    case WM_NCRBUTTONDBLCLK:
        TestActive(P.X, P.Y, true);
        ObjectsMouseDown(mbRight, P.X, P.Y);
        if (Message.WParam == HTCAPTION)
            MouseCaptureObject = -1;
        break;
    default:
        break;
    }
}

void TbsSkinForm::CloseMenusOnMessage(TMessage& Message) {
    if (!IsMenuCloseMessage(Message.Msg))
        return;
    if (FShowObjectHint && FSkinHint)
        HideObjectHint();
    if (InMainMenu && !InMenu)
        ExitMainMenu();
    else if (SkinMenuVisible() || InMenu) {
        if (SkinMenuVisible())
            HideSkinMenu();
        else
            SkinMenuClose();
    } else if (IsMDIForm() && FForm->Visible()) {
        if (TbsSkinForm* Child = FindSkinFormComponent(FForm->ActiveMDIChild()))
            Child->CloseMenusOnMessage(Message);
    }
    CloseMDIDropDowns();
}

void TbsSkinForm::InstallMDIClientHook() {
    const HWND Client = FForm->ClientHandle();
    FPrevClientProc = reinterpret_cast<WNDPROC>(GetWindowLong(Client, GWL_WNDPROC));
    FClientInstance = MakeWindowProc([this](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) {
        TMessage M{Msg, WParam, LParam, 0};
        NewMDIClientWndProc(M);
        return M.Result;
    });
    SetWindowLong(Client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FClientInstance));
}

void TbsSkinForm::RemoveMDIClientHook() {
    if (!FClientInstance)
        return;
    const HWND Client = FForm ? FForm->ClientHandle() : nullptr;
    if (Client && IsWindow(Client) &&
        reinterpret_cast<WNDPROC>(GetWindowLong(Client, GWL_WNDPROC)) == FClientInstance)
        SetWindowLong(Client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevClientProc));
    FreeWindowProc(FClientInstance);
    FClientInstance = nullptr;
}

void TbsSkinForm::NewMDIClientWndProc(TMessage& Message) {
    const HWND Client = FForm->ClientHandle();
    switch (Message.Msg) {
    case WM_NCACTIVATE:
        Message.Result = 1;
        return;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return;
    case WM_SIZE: {
        Message.Result =
            CallWindowProc(FPrevClientProc, Client, Message.Msg, Message.WParam, Message.LParam);
        UpdateMDIChildren();
        const bool Stretched =
            FSkinSupport && ((FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) ||
                             (FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1));
        if (!FLogoBitMap->Empty() || Stretched)
            RedrawWindow(Client, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
        return;
    }
    case WM_ERASEBKGND: {
        const HDC DC = reinterpret_cast<HDC>(Message.WParam);
        if (!SkinReady())
            PaintMDIBGDefault(DC);
        else if (FSD->MDIBGPictureIndex != -1)
            PaintBG3(DC);
        else if (FSD->BGPictureIndex == -1)
            PaintBG(DC);
        else
            PaintBG2(DC);
        return;
    }
    default:
        Message.Result =
            CallWindowProc(FPrevClientProc, Client, Message.Msg, Message.WParam, Message.LParam);
    }
}

void TbsSkinForm::AppOnMessage(MSG& Msg, bool& Handled) {
    // Key downs are taken here, so they never become characters; those that
    // still come are an input method's committed text, which must not land
    // in the focused control behind the menu.
    // With no window holding the focus (the form hidden in the tray) plain
    // keys come as system keys; only the Alt context bit tells them apart.
    const bool PlainSysKey = Msg.message == WM_SYSKEYDOWN && !(Msg.lParam & (LPARAM(1) << 29));
    if (Msg.message == WM_KEYDOWN || PlainSysKey) {
        TMessage M{Msg.message, Msg.wParam, Msg.lParam, 0};
        SkinMenuKeyDown(M);
    } else if (Msg.message != WM_MOUSEWHEEL && Msg.message != WM_CHAR)
        return;
    Msg.message = 0;
    Handled = true;
}

void TbsSkinForm::SkinMenuKeyDown(TMessage& Message) {
    if (IsMDIChild()) {
        TbsSkinForm* Main = FindSkinFormComponent(Application->MainForm());
        if (Main && (Main->InMenu || Main->InMainMenu || Main->SkinMenuVisible())) {
            Main->SkinMenuKeyDown(Message);
            return;
        }
    }
    const WORD Key = static_cast<WORD>(Message.WParam);
    if (InMainMenu && MainMenuBarKey(Key))
        return;
    if (Key == VK_ESCAPE && InMainMenu && !InMenu) {
        ExitMainMenu();
        return;
    }
    if (Key == VK_LEFT && InMainMenu && CanSelectPrevMainMenuItem()) {
        SelectPrevMainMenuItem();
        return;
    }
    if (Key == VK_RIGHT && InMainMenu && CanSelectNextMainMenuItem()) {
        SelectNextMainMenuItem();
        return;
    }
    if (Key == VK_RETURN || Key == VK_DOWN) {
        if (!OpenMainMenuBarItem() && SkinMenuVisible() && SkinMenuPopupCount() > 0)
            SkinMenuPopupKeyDown(Message);
        return;
    }
    if (SkinMenuVisible() && SkinMenuPopupCount() > 0) {
        SkinMenuPopupKeyDown(Message);
        if (Key == VK_ESCAPE && SkinMenuPopupCount() == 0) {
            if (InMainMenu)
                SkinMainMenuClose();
            else
                SkinMenuClose();
        }
    }
}

void TbsSkinForm::FormShortCut(TWMKey& Msg, bool& Handled) {
    if (OnShortCut) {
        OnShortCut(Msg, Handled);
        if (Handled)
            return;
    }
    const TShiftState Shift = KeyDataToShiftState(Msg.KeyData);
    const bool AltAlone = Shift == TShiftState{ssAlt};
    if (AltAlone && Msg.CharCode == VK_SPACE) {
        PopupSystemMenuFromKeyboard();
        FInShortCut = false;
        Handled = true;
        return;
    }
    if (FInShortCut) {
        FInShortCut = false;
        Handled = false;
    }
    TMenu* Menu = MainMenuBarMenu();
    if (!Menu)
        Menu = FMainMenu;
    if (Menu) {
        if (AltAlone && Msg.CharCode != VK_F4 && MainMenuBarKey(Msg.CharCode))
            Handled = true;
        else {
            FInShortCut = Menu->IsShortCut(Msg);
            Handled = FInShortCut;
        }
    }
    if (!FInShortCut) {
        if (TMenu* Child = GetChildMainMenu()) {
            if (AltAlone && MainMenuBarKey(Msg.CharCode))
                Handled = true;
            else {
                FInShortCut = Child->IsShortCut(Msg);
                Handled = FInShortCut;
            }
        }
    }
}

void TbsSkinForm::HookApplicationMessages() {
    if (FInAppHook || !Application)
        return;
    FAppHook = TMessageEvent(this, &TbsSkinForm::AppOnMessage);
    Application->AddMessageHook(FAppHook);
    FInAppHook = true;
}

void TbsSkinForm::UnhookApplicationMessages() {
    if (!FInAppHook)
        return;
    FInAppHook = false;
    if (Application)
        Application->RemoveMessageHook(FAppHook);
}

void TbsSkinForm::SkinMenuOpen() {
    if (!InMainMenu)
        HookApplicationMessages();
    if (InMenu)
        return;
    InMenu = true;
    if (OnSkinMenuOpen)
        OnSkinMenuOpen(this);
}

void TbsSkinForm::SkinMenuClose() {
    if (FMenuLayerManager->IsVisible())
        FMenuLayerManager->Hide();
    InMenu = false;
    for (auto& O : ObjectList) {
        if (auto* B = dynamic_cast<TbsSkinButtonObject*>(O.get()); B && B->MenuItem && B->FDown) {
            B->SetDown(false);
            break;
        }
        if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get());
            A && A->MenuItem && A->FMenuTracking) {
            A->Active = true;
            A->FFrame = A->CountFrames;
            A->FDown = false;
            A->FMenuTracking = false;
            A->Increment = false;
            AnimateTimer->SetEnabled(true);
            break;
        }
    }
    UnhookApplicationMessages();
    if (OnSkinMenuClose)
        OnSkinMenuClose(this);
    if (InMainMenu) {
        InMainMenu = false;
        MainMenuBarLeave();
        if (OnMainMenuExit)
            OnMainMenuExit(this);
    }
}

void TbsSkinForm::ExitMainMenu() {
    InMainMenu = false;
    if (SkinMenuVisible())
        HideSkinMenu();
    MainMenuBarLeave();
    UnhookApplicationMessages();
    if (OnMainMenuExit)
        OnMainMenuExit(this);
}

void TbsSkinForm::SkinMainMenuClose() {
    InMenu = false;
    MainMenuBarPressedToHot();
    if (OnSkinMenuClose)
        OnSkinMenuClose(this);
}

void TbsSkinForm::SyncFormBorderIcons() {
    TBorderIcons Icons;
    if (!FHideCaptionButtons && !FSkinnableForm)
        Icons.Include(::biSystemMenu);
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize))
        Icons.Include(::biMaximize);
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize))
        Icons.Include(::biMinimize);
    FForm->SetBorderIcons(Icons);
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons Value) {
    FBorderIcons = Value;
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading))
        return;
    CheckObjects();
    RepaintFrame();
}
