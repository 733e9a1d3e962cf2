#include "skin/controls/bsSkinTabs.h"

#include "skin/controls/bsSkinUpDown.h"
#include "skin/model/bsEffects.EffectBmp.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.ParentBackground.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int PlainCloseSize = 14;
constexpr TColor Navy = RGB(0, 0, 128);
constexpr TColor FillHot = RGB(182, 189, 210);
constexpr TColor FillDown = RGB(133, 147, 181);

TRect Grown(TRect R, int L, int T, int Rt, int B) {
    return {R.Left - L, R.Top - T, R.Right + Rt, R.Bottom + B};
}

TRect Moved(TRect R, int DX, int DY) {
    return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

// B turned a quarter: counter-clockwise (the top edge goes to the left) or
// clockwise.
void Turn(TBitmap& B, bool CounterClockwise) {
    auto Src = TbsEffectBmp::CreateFromhWnd(B.Handle());
    TbsEffectBmp Dst(B.Height(), B.Width());
    if (CounterClockwise)
        Src->Rotate90_1(&Dst);
    else
        Src->Rotate90_2(&Dst);
    B.SetSize(Dst.Width, Dst.Height);
    Dst.Draw(B.Canvas()->Handle(), 0, 0);
}

void FlipVertically(TBitmap& B) {
    auto Src = TbsEffectBmp::CreateFromhWnd(B.Handle());
    TbsEffectBmp Dst(B.Width(), B.Height());
    Src->FlipVert(&Dst);
    Dst.Draw(B.Canvas()->Handle(), 0, 0);
}

// Tiles the W0 x H0 picture part S over R of C.
void TilePart(TCanvas* C, const TRect& R, TBitmap* Picture, const TRect& S) {
    const int W0 = RectWidth(S), H0 = RectHeight(S);
    if (W0 <= 0 || H0 <= 0 || !Picture)
        return;
    TBitmap Tile;
    Tile.SetSize(W0, H0);
    CopyPart(&Tile, {0, 0, W0, H0}, Picture, S);
    const int Saved = SaveDC(C->Handle());
    IntersectClipRect(C->Handle(), R.Left, R.Top, R.Right, R.Bottom);
    for (int Y = R.Top; Y < R.Bottom; Y += H0)
        for (int X = R.Left; X < R.Right; X += W0)
            C->Draw(X, Y, &Tile);
    RestoreDC(C->Handle(), Saved);
}

// The picture part S stretched over R by the stretch type.
void StretchPartOver(TCanvas* C, const TRect& R, TBitmap* Picture, const TRect& S,
                     TbsStretchType Type) {
    const int W0 = RectWidth(S), H0 = RectHeight(S);
    if (W0 <= 0 || H0 <= 0 || !Picture || R.Width() <= 0 || R.Height() <= 0)
        return;
    TBitmap Part;
    Part.SetSize(W0, H0);
    CopyPart(&Part, {0, 0, W0, H0}, Picture, S);
    if (Type == bsstFull) {
        C->StretchDraw(R, &Part);
        return;
    }
    const bool Horz = Type == bsstHorz;
    TBitmap Strip;
    Strip.SetSize(Horz ? W0 : R.Width(), Horz ? R.Height() : H0);
    Strip.Canvas()->StretchDraw({0, 0, Strip.Width(), Strip.Height()}, &Part);
    if (Horz)
        for (int X = R.Left; X < R.Right; X += W0)
            C->Draw(X, R.Top, &Strip);
    else
        for (int Y = R.Top; Y < R.Bottom; Y += H0)
            C->Draw(R.Left, Y, &Strip);
}

} // namespace

// ================================================================ tab sheet

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner) : TTabSheet(AOwner) {
    SetAlign(alClient);
    TControlStyle S = ControlStyle();
    S.Include(csAcceptsControls);
    SetControlStyle(S);
}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() {
    if (PageControl())
        SetPageControl(nullptr);
}

TbsSkinPageControl* TbsSkinCustomTabSheet::SkinPageControl() const {
    return dynamic_cast<TbsSkinPageControl*>(PageControl());
}

void TbsSkinCustomTabSheet::PaintBG(HDC DC) {
    TbsSkinPageControl* P = SkinPageControl();
    if (Width() <= 0 || Height() <= 0 || !P)
        return;
    P->GetSkinData();
    TCanvas C;
    C.SetHandle(DC);
    const TRect All{0, 0, Width(), Height()};
    TbsSkinData* SD = P->SkinData();
    if (!FWallPaper.Empty()) {
        TilePart(&C, All, &FWallPaper, {0, 0, FWallPaper.Width(), FWallPaper.Height()});
    } else if (SD && !SD->Empty && P->SkinIndex() != -1 && P->BGPictureIndex != -1) {
        P->PaintSkinBackground(&C, All, Width(), Height(), true);
    } else if (P->SkinIndex() == -1) {
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(All);
    } else if (P->StretchEffect) {
        // Stretched to the page control's size, seen from the sheet's corner.
        const TRect Whole = Moved({0, 0, P->Width(), P->Height()}, -Left(), -Top());
        P->PaintSkinBackground(&C, Whole, P->Width(), P->Height(), false);
    } else {
        P->PaintSkinBackground(&C, All, Width(), Height(), false);
    }
    C.SetHandle(0);
}

void TbsSkinCustomTabSheet::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        PaintBG(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
    case WM_NCPAINTTODC:
        Message.Result = NCPAINTTODC_ANSWER;
        return;
    case WM_SIZE: {
        TTabSheet::Dispatch(Message);
        Repaint();
        TbsSkinPageControl* P = SkinPageControl();
        if (P && P->SkinData() && !P->SkinData()->Empty && P->StretchEffect)
            for (int I = 0; I < ControlCount(); ++I)
                if (auto* W = dynamic_cast<TWinControl*>(Controls(I)))
                    SendMessage(W->Handle(), WM_CHECKPARENTBG, 0, 0);
        return;
    }
    default:
        TTabSheet::Dispatch(Message);
    }
}

// ================================================================ page control

TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner) : TPageControl(AOwner) {
    for (TFont* F : {&FDefaultFont, Font()}) {
        F->SetName("Arial");
        F->SetStyle({});
        F->SetColor(clBtnText);
        F->SetHeight(14);
    }
    SetCtl3D(false);
    FTempImages = std::make_unique<TCustomImageList>(nullptr);
    FTempImages->SetWidth(1);
    FTempImages->SetHeight(1);
    TPageControl::SetImages(FTempImages.get());
}

TbsSkinPageControl::~TbsSkinPageControl() {
    DestroyUpDown();
    TPageControl::SetImages(nullptr);
}

// ---------------------------------------------------------------- properties

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

void TbsSkinPageControl::SetDefaultItemHeight(int Value) {
    FDefaultItemHeight = Value;
    if (FIndex == -1 && HandleAllocated())
        SendMessage(Handle(), TCM_SETITEMSIZE, 0,
                    MAKELPARAM(unsigned(TabWidth()), unsigned(Value)));
    UpdateUpDown();
    Realign();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value) {
    FTabExtededDraw = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout Value) {
    if (Value == FTabLayout)
        return;
    FTabLayout = Value;
    Repaint();
}

void TbsSkinPageControl::SetTabMargin(int Value) {
    if (Value < -1)
        return;
    FTabMargin = Value;
    Repaint();
}

void TbsSkinPageControl::SetTabSpacing(int Value) {
    if (Value == FTabSpacing)
        return;
    FTabSpacing = Value;
    Repaint();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value) {
    FTextInHorizontal = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) {
    FTabsBGTransparent = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsInCenter(bool Value) {
    if (TabWidth() == 0) {
        FTabsInCenter = false;
        return;
    }
    FTabsInCenter = Value;
    if (Value) {
        SetTabPosition(tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(int Value) {
    FTabsOffset = Value;
    if (Value > 0) {
        SetTabPosition(tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

// What the page control's own content adds to each tab along it.
int TbsSkinPageControl::ContentWidth(bool Close, TCustomImageList* List) const {
    const bool Across = TabPosition() == tpLeft || TabPosition() == tpRight;
    int W = Close ? FCloseSize : 0;
    if (List)
        W += Across ? List->Height() : List->Width();
    return W;
}

void TbsSkinPageControl::AddTempWidth(int Delta) {
    if (TabPosition() == tpLeft || TabPosition() == tpRight)
        FTempImages->SetHeight(std::max(1, FTempImages->Height() + Delta));
    else
        FTempImages->SetWidth(std::max(1, FTempImages->Width() + Delta));
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value) {
    AddTempWidth(ContentWidth(Value, nullptr) - ContentWidth(FShowCloseButtons, nullptr));
    FShowCloseButtons = Value;
    Invalidate();
}

void TbsSkinPageControl::SetImages(TCustomImageList* Value) {
    AddTempWidth(ContentWidth(false, Value) - ContentWidth(false, FImages));
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    Invalidate();
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
    TPageControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FImages)
        FImages = nullptr;
}

// ---------------------------------------------------------------- skin

void TbsSkinPageControl::GetSkinData() {
    FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
    auto* E =
        FIndex == -1 ? nullptr : dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[FIndex].get());
    if (!E) {
        FIndex = -1;
        BGPictureIndex = -1;
        return;
    }
    Picture = FSD->ActivePicture(E->PictureIndex);
    SkinRect = E->SkinRect;
    ClRect = E->ClRect;
    TabRect = E->TabRect;
    ActiveTabRect = IsNullRect(E->ActiveTabRect) ? E->TabRect : E->ActiveTabRect;
    FocusTabRect = IsNullRect(E->FocusTabRect) ? E->ActiveTabRect : E->FocusTabRect;
    MouseInTabRect = E->MouseInTabRect;
    TabsBGRect = E->TabsBGRect;
    LTPoint = E->LTPoint;
    RTPoint = E->RTPoint;
    LBPoint = E->LBPoint;
    RBPoint = E->RBPoint;
    TabLeftOffset = E->TabLeftOffset;
    TabRightOffset = E->TabRightOffset;
    FontName = E->FontName;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    FontColor = E->FontColor;
    ActiveFontColor = E->ActiveFontColor;
    FocusFontColor = E->FocusFontColor;
    MouseInFontColor = E->MouseInFontColor;
    UpDown = E->UpDown;
    BGPictureIndex = E->BGPictureIndex;
    TabStretchEffect = E->TabStretchEffect;
    ShowFocus = E->ShowFocus;
    FocusOffsetX = E->FocusOffsetX;
    FocusOffsetY = E->FocusOffsetY;
    StretchEffect = E->StretchEffect;
    LeftStretch = E->LeftStretch;
    TopStretch = E->TopStretch;
    RightStretch = E->RightStretch;
    BottomStretch = E->BottomStretch;
    StretchType = E->StretchType;
    CloseButtonRect = E->CloseButtonRect;
    ClosebuttonActiveRect =
        IsNullRect(E->CloseButtonActiveRect) ? E->CloseButtonRect : E->CloseButtonActiveRect;
    CloseButtonDownRect =
        IsNullRect(E->CloseButtonDownRect) ? ClosebuttonActiveRect : E->CloseButtonDownRect;
    ButtonTransparent = E->ButtonTransparent;
    ButtonTransparentColor = E->ButtonTransparentColor;
}

int TbsSkinPageControl::TabHeightToApply() {
    if (TabHeight() > 0)
        return TabHeight();
    return FIndex == -1 ? FDefaultItemHeight : RectHeight(TabRect);
}

void TbsSkinPageControl::ApplyTabHeight() {
    if (HandleAllocated())
        SendMessage(Handle(), TCM_SETITEMSIZE, 0,
                    MAKELPARAM(unsigned(TabWidth()), unsigned(TabHeightToApply())));
}

void TbsSkinPageControl::ChangeSkinData() {
    GetSkinData();
    const int NewClose =
        FIndex == -1 || IsNullRect(CloseButtonRect) ? PlainCloseSize : RectWidth(CloseButtonRect);
    if (FShowCloseButtons)
        AddTempWidth(NewClose - FCloseSize);
    FCloseSize = NewClose;
    if (FIndex == -1) {
        Font()->Assign(&FDefaultFont);
        if (FSD && FSD->ResourceStrData())
            Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    } else {
        if (FUseSkinFont) {
            Font()->SetName(FontName);
            Font()->SetHeight(FontHeight);
            Font()->SetStyle(FontStyle);
        } else {
            Font()->Assign(&FDefaultFont);
        }
        Font()->SetCharset(FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                  : FDefaultFont.Charset());
        Font()->SetColor(FontColor);
    }
    ApplyTabHeight();
    Realign();
    DestroyUpDown();
    UpdateUpDown();
    if (ActivePage())
        ActivePage()->Repaint();
    Invalidate();
}

void TbsSkinPageControl::UpDateTabs() {
    ApplyTabHeight();
    if (MultiLine())
        DestroyUpDown();
    Realign();
}

void TbsSkinPageControl::HideTabs() {
    if (FOldTabHeight != -1 || VisibleTabCount() == 0)
        return;
    FOLdTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    if (TabPosition() == tpLeft || TabPosition() == tpRight)
        SetTabPosition(tpTop);
    SetMultiLine(false);
    FOldTabHeight = TabHeight();
    FHideTabs = true;
    SetTabHeight(1);
    DestroyUpDown();
}

void TbsSkinPageControl::ShowTabs() {
    if (FOldTabHeight == -1 && !FHideTabs)
        return;
    SetTabPosition(FOLdTabPosition);
    SetMultiLine(FOldMultiLine);
    FHideTabs = false;
    SetTabHeight(std::max(0, FOldTabHeight));
    if (FOldTabHeight <= 0 && FIndex != -1)
        ApplyTabHeight();
    FOldTabHeight = -1;
    if (!MultiLine())
        UpdateUpDown();
}

void TbsSkinPageControl::HideBorderAndTabs() {
    FOLdTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    FOldTabHeight = TabHeight();
    SetTabPosition(tpTop);
    FHideTabs = true;
    FHideBorder = true;
    SetTabHeight(1);
    DestroyUpDown();
    Realign();
}

void TbsSkinPageControl::ShowBorderAndTabs() {
    FHideBorder = false;
    FHideTabs = true;
    ShowTabs();
    FHideTabs = false;
    Realign();
}

void TbsSkinPageControl::CreateWnd() {
    TPageControl::CreateWnd();
    // The window measured itself before its tabs went in; measure again now
    // that they are there.
    if (!MultiLine())
        UpdateUpDown();
}

void TbsSkinPageControl::Loaded() {
    TPageControl::Loaded();
    if (FIndex == -1) {
        ApplyTabHeight();
        UpdateUpDown();
        Realign();
    }
}

// ---------------------------------------------------------------- geometry

int TbsSkinPageControl::VisibleTabCount() const {
    int N = 0;
    for (int I = 0; I < PageCount(); ++I)
        N += Pages(I)->TabVisible() ? 1 : 0;
    return N;
}

TTabSheet* TbsSkinPageControl::VisiblePage(int VisibleIndex) const {
    for (int I = 0; I < PageCount(); ++I)
        if (Pages(I)->TabVisible() && VisibleIndex-- == 0)
            return Pages(I);
    return nullptr;
}

int TbsSkinPageControl::TabStripOffset() {
    if (FTabsOffset > 0)
        return FTabsOffset;
    if (TabWidth() == 0)
        return 0;
    return std::max(0, Width() / 2 - TabWidth() * VisibleTabCount() / 2);
}

TRect TbsSkinPageControl::TabItemRect(int VisibleIndex) {
    TRect R{};
    if (HandleAllocated())
        SendMessage(Handle(), TCM_GETITEMRECT, WPARAM(VisibleIndex), LPARAM(&R));
    if (VisibleIndex == 0 && !MultiLine())
        ++R.Left;
    return R;
}

void TbsSkinPageControl::AdjustItemRect(TRect& R) {
    if (Style() != tsTabs)
        return;
    const bool Single = !MultiLine();
    switch (TabPosition()) {
    case tpTop:
        if (Single) {
            R.Left -= 2;
            R.Right -= 2;
        }
        R.Top -= 2;
        R.Bottom -= 2;
        if (Centred()) {
            const int TS = TabStripOffset();
            R.Left += TS;
            R.Right += TS;
        }
        break;
    case tpBottom:
        if (Single) {
            R.Left -= 2;
            R.Right -= 2;
        }
        R.Top += 2;
        R.Bottom += 2;
        break;
    case tpLeft:
        R.Left -= 2;
        R.Right -= 2;
        break;
    case tpRight:
        R.Left += 2;
        R.Right += 2;
        break;
    }
}

void TbsSkinPageControl::AdjustRect(TRect& R) {
    if (FHideBorder) {
        R = {0, -2, Width(), Height()};
        return;
    }
    const int CW = ClientWidth(), CH = ClientHeight();
    const bool Skinned = FIndex != -1;
    const int L = ClRect.Left, T = ClRect.Top;
    const int RR = RectWidth(SkinRect) - ClRect.Right, BB = RectHeight(SkinRect) - ClRect.Bottom;
    switch (TabPosition()) {
    case tpTop:
        R.Left = Skinned ? L : 1;
        R.Right = Skinned ? CW - RR : CW - 1;
        R.Top += Skinned ? T - 6 : -5;
        R.Bottom = Skinned ? CH - BB : CH - 1;
        if (FHideTabs)
            R.Top -= 1;
        break;
    case tpBottom:
        R.Left = Skinned ? L : 1;
        R.Right = Skinned ? CW - RR : CW - 1;
        if (Skinned)
            R.Top += T - 4;
        else
            R.Top = 1;
        R.Bottom += Skinned ? 4 - BB : 3;
        if (FHideTabs && Skinned)
            R.Bottom += 1;
        break;
    case tpLeft:
        R.Left += Skinned ? L - 4 : -3;
        R.Right = Skinned ? CW - RR : CW - 1;
        R.Top += Skinned ? T - 4 : -5;
        R.Bottom = Skinned ? CH - BB : CH - 1;
        if (FHideTabs)
            R.Left -= 1;
        break;
    case tpRight:
        R.Left = Skinned ? L : R.Left - 3;
        R.Right += Skinned ? 4 - RR : 3;
        R.Top += Skinned ? T - 4 : -5;
        R.Bottom = Skinned ? CH - BB : CH - 1;
        if (FHideTabs)
            R.Right += 1;
        break;
    }
}

// ---------------------------------------------------------------- messages

void TbsSkinPageControl::WndProc(TMessage& Message) {
    const UINT Msg = Message.Msg;
    const bool Mouse = Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONUP || Msg == WM_LBUTTONDBLCLK;
    if ((Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONUP) && HandleAllocated())
        PressOrRelease(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)),
                       Msg == WM_LBUTTONDOWN);
    if ((Mouse || Msg == WM_NCHITTEST) && Centred()) {
        // The native control knows the tabs at the left; the page control
        // shows them shifted.
        const int X = short(LOWORD(Message.LParam)) - TabStripOffset();
        Message.LParam = MAKELPARAM(unsigned(X) & 0xFFFF, HIWORD(Message.LParam));
    }
    TPageControl::WndProc(Message);
    switch (Msg) {
    case TCM_GETITEMRECT:
        if (Message.LParam)
            AdjustItemRect(*reinterpret_cast<TRect*>(Message.LParam));
        break;
    case TCM_ADJUSTRECT:
        if (Message.LParam)
            AdjustRect(*reinterpret_cast<TRect*>(Message.LParam));
        break;
    case WM_SIZE:
        if (!MultiLine())
            UpdateUpDown();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (Centred())
            Invalidate();
        break;
    case WM_MOUSEMOVE:
        UpdateHoverTab(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
        break;
    case CM_MOUSELEAVE:
        UpdateHoverTab(-1, -1);
        break;
    case WM_MOUSEWHEEL:
        if (FMouseWheelSupport)
            DoWheel(GET_WHEEL_DELTA_WPARAM(Message.WParam));
        break;
    default:
        break;
    }
}

void TbsSkinPageControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case TCM_SETCURSEL:
        TPageControl::Dispatch(Message);
        if (!ComponentState().Contains(csLoading))
            Invalidate();
        return;
    case WM_HSCROLL:
        TPageControl::Dispatch(Message);
        Repaint();
        return;
    case WM_SIZE:
        GetSkinData();
        TPageControl::Dispatch(Message);
        return;
    case CM_SHOWINGCHANGED:
        // Tabs added while the window existed but was not on the screen
        // were never measured.
        TPageControl::Dispatch(Message);
        if (Showing() && !MultiLine())
            UpdateUpDown();
        return;
    case WM_CHECKPARENTBG:
        if (FTabsBGTransparent)
            Repaint();
        return;
    case WM_NCPAINTTODC:
        Message.Result = NCPAINTTODC_ANSWER;
        return;
    case WM_ERASEBKGND:
        if (PageCount() > 0 && VisibleTabCount() > 0) {
            Message.Result = 1;
            return;
        }
        GetSkinData();
        if (FIndex == -1) {
            TPageControl::Dispatch(Message);
        } else if (Message.WParam) {
            TCanvas C;
            C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
            PaintSkinBackground(&C, {0, 0, Width(), Height()}, Width(), Height(),
                                BGPictureIndex != -1);
            C.SetHandle(0);
            Message.Result = 1;
        }
        return;
    default:
        TPageControl::Dispatch(Message);
    }
}

void TbsSkinPageControl::Change() {
    SyncUpDown();
    TPageControl::Change();
    Invalidate();
    if (ActivePage())
        ActivePage()->Invalidate();
}

// ---------------------------------------------------------------- painting

void TbsSkinPageControl::PaintSkinBackground(TCanvas* C, const TRect& R, int, int,
                                             bool UseBGPicture) {
    TBitmap* P = Picture;
    TRect S = Moved(ClRect, SkinRect.Left, SkinRect.Top);
    if (UseBGPicture && FSD) {
        P = FSD->ActivePicture(BGPictureIndex);
        S = P ? TRect{0, 0, P->Width(), P->Height()} : TRect{};
    }
    if (!P)
        return;
    if (StretchEffect)
        StretchPartOver(C, R, P, S, StretchType);
    else
        TilePart(C, R, P, S);
}

TRect TbsSkinPageControl::FrameRect() {
    const TRect D = DisplayRect();
    return Grown(D, ClRect.Left, ClRect.Top, RectWidth(SkinRect) - ClRect.Right,
                 RectHeight(SkinRect) - ClRect.Bottom);
}

TRect TbsSkinPageControl::ActiveTabArea() {
    const int Index = TabIndex();
    if (Index < 0 || VisibleTabCount() == 0 || !ActivePage())
        return {};
    TRect R = TabItemRect(Index);
    const int D = RectHeight(ActiveTabRect) - RectHeight(TabRect);
    switch (TabPosition()) {
    case tpTop:
        R.Bottom += D;
        break;
    case tpBottom:
        R.Top -= D;
        break;
    case tpLeft:
        R.Right += D;
        break;
    case tpRight:
        R.Left -= D;
        break;
    }
    return R;
}

void TbsSkinPageControl::PaintSkinFrame(TCanvas* C) {
    if (FHideBorder || !Picture)
        return;
    const TRect F = FrameRect();
    const int FW = F.Width(), FH = F.Height();
    if (FW <= 0 || FH <= 0)
        return;
    const int DW = FW - RectWidth(SkinRect), DH = FH - RectHeight(SkinRect);
    TBitmap LeftB, TopB, RightB, BottomB;
    MakeFrameBorderBitmaps(
        LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, {RTPoint.X + DW, RTPoint.Y},
        {LBPoint.X, LBPoint.Y + DH}, {RBPoint.X + DW, RBPoint.Y + DH},
        {ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH}, &LeftB, &TopB, &RightB,
        &BottomB, Picture, SkinRect, FW, FH, LeftStretch, TopStretch, RightStretch, BottomStretch);
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    const TRect A = ActiveTabArea();
    if (!IsNullRect(A) && !FHideTabs)
        ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
    C->Draw(F.Left, F.Top, &TopB);
    C->Draw(F.Left, F.Top + TopB.Height(), &LeftB);
    C->Draw(F.Right - RightB.Width(), F.Top + TopB.Height(), &RightB);
    C->Draw(F.Left, F.Bottom - BottomB.Height(), &BottomB);
    RestoreDC(DC, Saved);
}

void TbsSkinPageControl::PaintWindow(HDC DC) {
    GetSkinData();
    TCanvas C;
    C.SetHandle(DC);
    if (FIndex == -1) {
        C.Brush()->SetColor(clBtnFace);
        C.FillRect({0, 0, Width(), Height()});
        if (!FHideBorder) {
            C.Brush()->SetColor(clBtnShadow);
            C.FrameRect(Grown(DisplayRect(), 1, 1, 1, 1));
        }
    } else {
        PaintSkinFrame(&C);
    }
    PaintTabs(&C);
    C.SetHandle(0);
}

void TbsSkinPageControl::RepaintTabs() {
    if (HandleAllocated())
        Invalidate();
}

void TbsSkinPageControl::PaintTabs(TCanvas* C) {
    if (FHideTabs || PageCount() == 0)
        return;
    const int Count = VisibleTabCount();
    const int Selected = TabIndex();
    if (FIndex == -1) {
        for (int I = 0; I < Count; ++I)
            PaintTab(VisiblePage(I), TabItemRect(I), I == Selected, I == FActiveTabIndex, C);
        return;
    }
    const TRect F = FrameRect();
    TRect Strip;
    switch (TabPosition()) {
    case tpTop:
        Strip = {0, 0, Width(), F.Top};
        break;
    case tpBottom:
        Strip = {0, F.Bottom, Width(), Height()};
        break;
    case tpLeft:
        Strip = {0, 0, F.Left, Height()};
        break;
    case tpRight:
        Strip = {F.Right, 0, Width(), Height()};
        break;
    }
    if (Strip.Width() > 0 && Strip.Height() > 0) {
        TBitmap B;
        B.SetSize(Strip.Width(), Strip.Height());
        if (FTabsBGTransparent) {
            DrawParentBackgroundRect(this, Strip, B.Canvas());
        } else {
            const TRect S =
                IsNullRect(TabsBGRect) ? Moved(ClRect, SkinRect.Left, SkinRect.Top) : TabsBGRect;
            TilePart(B.Canvas(), {0, 0, B.Width(), B.Height()}, Picture, S);
        }
        for (int I = 0; I < Count; ++I)
            if (I != Selected)
                PaintTab(VisiblePage(I), Moved(TabItemRect(I), -Strip.Left, -Strip.Top), false,
                         I == FActiveTabIndex, B.Canvas());
        HDC DC = C->Handle();
        const int Saved = SaveDC(DC);
        const TRect A = ActiveTabArea();
        if (!IsNullRect(A))
            ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
        C->Draw(Strip.Left, Strip.Top, &B);
        RestoreDC(DC, Saved);
    }
    if (Selected >= 0 && Selected < Count) {
        const int D = RectHeight(TabRect) - RectHeight(ActiveTabRect);
        TRect R = TabItemRect(Selected);
        if (TabPosition() == tpBottom)
            R = Moved(R, 0, D);
        else if (TabPosition() == tpRight)
            R = Moved(R, D, 0);
        PaintTab(VisiblePage(Selected), R, true, Selected == FActiveTabIndex, C);
    }
}

void TbsSkinPageControl::PaintTab(TTabSheet* Page, const TRect& Target, bool Active, bool Hot,
                                  TCanvas* C) {
    if (!Page || Target.Width() <= 0 || Target.Height() <= 0)
        return;
    const TTabPosition Pos = TabPosition();
    const bool Across = Pos == tpLeft || Pos == tpRight;
    int W = Across ? Target.Height() : Target.Width();
    int H = Across ? Target.Width() : Target.Height();
    const bool Focus = Active && Focused();
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    BC->Font()->Assign(Font());
    if (FIndex == -1) {
        BC->Brush()->SetStyle(bsSolid);
        if (Hot && !Active) {
            BC->Brush()->SetColor(FillHot);
            BC->FillRect({0, 0, W, H});
        } else if (Active) {
            BC->Brush()->SetColor(Focus ? FillDown : FillHot);
            BC->FillRect({0, 0, W, H});
            BC->Brush()->SetColor(Navy);
            BC->FrameRect({0, 0, W, H});
        } else {
            BC->Brush()->SetColor(clBtnFace);
            BC->FillRect({0, 0, W, H});
        }
        if (FSD && FSD->ResourceStrData())
            BC->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    } else if (Picture) {
        TRect Source = ActiveTabRect;
        if (Hot && !Active && !IsNullRect(MouseInTabRect))
            Source = MouseInTabRect;
        else if (Focus)
            Source = FocusTabRect;
        else if (!Active)
            Source = TabRect;
        if (TabHeight() > 0) {
            if (Active && RectHeight(ActiveTabRect) > RectHeight(TabRect))
                H += RectHeight(ActiveTabRect) - RectHeight(TabRect);
            else if (Focus && RectHeight(FocusTabRect) > RectHeight(TabRect))
                H += RectHeight(FocusTabRect) - RectHeight(TabRect);
            B.SetSize(W, H);
            const int K = RectHeight(TabRect) / 4;
            MakeNinePartBitmapByClRect(
                &B, Picture, Source,
                {TabLeftOffset, K, RectWidth(Source) - TabRightOffset, RectHeight(Source) - K},
                true);
        } else {
            MakeHorzThreePartBitmap(TabLeftOffset, TabRightOffset, &B, Picture, Source, W,
                                    RectHeight(Source), TabStretchEffect);
            H = B.Height();
        }
        if (Pos == tpBottom)
            FlipVertically(B);
        if (FUseSkinFont) {
            BC->Font()->SetName(FontName);
            BC->Font()->SetStyle(FontStyle);
            BC->Font()->SetHeight(FontHeight);
        }
        if (FSD->ResourceStrData())
            BC->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
        BC->Font()->SetColor(Hot && !Active ? MouseInFontColor
                             : Focus        ? FocusFontColor
                             : !Active      ? FontColor
                                            : ActiveFontColor);
    }
    if (Across && FTextInHorizontal)
        Turn(B, Pos == tpLeft);
    TRect R{0, 0, B.Width(), B.Height()};
    if (FIndex != -1 && ShowFocus && Focus) {
        BC->Brush()->SetStyle(bsSolid);
        BC->Brush()->SetColor(FSD->SkinColors() ? FSD->SkinColors()->cBtnFace() : clBtnFace);
        DrawFocusRectangle(BC,
                           Grown(R, -FocusOffsetX, -FocusOffsetY, -FocusOffsetX, -FocusOffsetY));
    }
    int D = 0;
    const bool HasImage =
        FImages && Page->ImageIndex() >= 0 && Page->ImageIndex() < FImages->Count();
    if (FIndex != -1 && !Active && RectHeight(TabRect) != RectHeight(ActiveTabRect)) {
        const int Move = Pos == tpTop || Pos == tpLeft ? 2 : -2;
        R.Top += Move;
        D = HasImage ? Move : 0;
    }
    DrawTabContent(Page, B, R, Active, Hot, D);
    if (Across && !FTextInHorizontal)
        Turn(B, Pos == tpLeft);
    C->Draw(Target.Left, Target.Top, &B);
}

void TbsSkinPageControl::DrawTabContent(TTabSheet* Page, TBitmap& B, TRect R, bool Active, bool Hot,
                                        int D) {
    TCanvas* C = B.Canvas();
    C->Brush()->SetStyle(bsClear);
    const int Close = FShowCloseButtons ? FCloseSize + 2 : 0;
    const int Index = Page->PageIndex();
    const bool HasImage =
        FImages && Page->ImageIndex() >= 0 && Page->ImageIndex() < FImages->Count();
    const std::string S = Page->Caption();
    if (OnDrawSkinTab) {
        OnDrawSkinTab(Index, {0, 0, B.Width(), B.Height()}, Active, Hot, C);
    } else if (HasImage || FTabExtededDraw) {
        if (FTabExtededDraw) {
            DrawImageAndText(C, {R.Left, R.Top, R.Right - Close, R.Bottom}, FTabMargin, 0, false,
                             Page->Enabled(), false, FImages, Page->ImageIndex(), S, FTabLayout,
                             FTabSpacing);
        } else {
            const int BoxW = B.Width() - Close, Hgt = B.Height();
            const int T = S.empty() ? 0 : C->TextWidth(S) + 2;
            const int IW = FImages->Width(), IH = FImages->Height();
            const int IX = BoxW / 2 - (T + IW + 2) / 2;
            FImages->Draw(C, IX, Hgt / 2 + D - IH / 2, Page->ImageIndex(), Page->Enabled());
            const int TH = C->TextHeight(S);
            TRect TR{IX + IW + 2, Hgt / 2 + D - TH / 2, IX + IW + 2 + T, Hgt / 2 + D - TH / 2 + TH};
            DrawWideText(C, S, TR, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        }
    } else {
        TRect TR{R.Left, R.Top, R.Right - Close - (FIndex != -1 && Close ? 3 : 0), R.Bottom};
        DrawWideText(C, S, TR, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    }
    auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Page);
    if (!FShowCloseButtons || !Sheet)
        return;
    if (!Hot)
        Sheet->ButtonMouseIn = false;
    const int AreaLeft = R.Right - Close - (FIndex != -1 ? 3 : 0);
    PaintCloseButton(C, {AreaLeft, R.Top + D, B.Width(), R.Bottom}, B.Width(), B.Height(), Sheet);
}

void TbsSkinPageControl::PaintCloseButton(TCanvas* C, const TRect& A, int W, int H,
                                          TbsSkinCustomTabSheet* Page) {
    const bool Down = Page->ButtonMouseDown && Page->ButtonMouseIn;
    const bool Hot = Page->ButtonMouseIn;
    const int MidY = A.Top + A.Height() / 2;
    TRect Button;
    if (FIndex == -1) {
        Button = {A.Left, MidY - 7, A.Left + PlainCloseSize, MidY - 7 + PlainCloseSize};
        DrawCloseImage(C, Button.Left + 2, Button.Top + 2, Hot ? clWhite : clBlack);
    } else if (IsNullRect(CloseButtonRect)) {
        const int I = FSD->GetControlIndex("resizetoolbutton");
        auto* E =
            I == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[I].get());
        TBitmap* Pic = E ? FSD->ActivePicture(E->PictureIndex) : nullptr;
        if (!E || !Pic)
            return;
        const TRect Active = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
        const TRect DownR = IsNullRect(E->DownSkinRect) ? Active : E->DownSkinRect;
        const TRect Source = Down ? DownR : Hot ? Active : E->SkinRect;
        const int S = FCloseSize;
        const int DX = S - RectWidth(E->SkinRect), DY = S - RectHeight(E->SkinRect);
        TBitmap Face;
        Face.SetSize(S, S);
        MakeNinePartBitmap(
            E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
            {E->RTPoint.X + DX, E->RTPoint.Y}, {E->LBPoint.X, E->LBPoint.Y + DY},
            {E->RBPoint.X + DX, E->RBPoint.Y + DY},
            {E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DX, E->ClRect.Bottom + DY}, &Face,
            Pic, Source, S, S, true, E->LeftStretch, E->TopStretch, E->RightStretch,
            E->BottomStretch, E->StretchEffect, E->StretchType);
        DrawCloseImage(Face.Canvas(), S / 2 - 5, S / 2 - 5,
                       Down  ? E->DownFontColor
                       : Hot ? E->ActiveFontColor
                             : E->FontColor);
        Button = {A.Left, MidY - S / 2, A.Left + S, MidY - S / 2 + S};
        C->Draw(Button.Left, Button.Top, &Face);
    } else {
        const TRect Source = Down  ? CloseButtonDownRect
                             : Hot ? ClosebuttonActiveRect
                                   : CloseButtonRect;
        TBitmap Face;
        Face.SetSize(RectWidth(Source), RectHeight(Source));
        CopyPart(&Face, {0, 0, Face.Width(), Face.Height()}, Picture, Source);
        if (ButtonTransparent) {
            Face.SetTransparent(true);
            Face.SetTransparentMode(tmFixed);
            Face.SetTransparentColor(ButtonTransparentColor);
        }
        Button = {A.Left, MidY - Face.Height() / 2, A.Left + Face.Width(),
                  MidY - Face.Height() / 2 + Face.Height()};
        C->Draw(Button.Left, Button.Top, &Face);
    }
    if (!FTextInHorizontal && TabPosition() == tpLeft)
        Button = {Button.Top, W - Button.Right, Button.Bottom, W - Button.Left};
    else if (!FTextInHorizontal && TabPosition() == tpRight)
        Button = {H - Button.Bottom, Button.Left, H - Button.Top, Button.Right};
    Page->ButtonRect = Button;
}

// ---------------------------------------------------------------- up-down

void TbsSkinPageControl::CountTabs(int& Scrolled, int& Hidden) {
    Scrolled = Hidden = 0;
    // Only the tabs the window holds have a place: while the window is being
    // made its tabs are not in yet, and a tab without a place is not hidden.
    const int Count =
        HandleAllocated()
            ? std::min(VisibleTabCount(), int(SendMessage(Handle(), TCM_GETITEMCOUNT, 0, 0)))
            : 0;
    for (int I = 0; I < Count; ++I) {
        const TRect R = TabItemRect(I);
        Scrolled += R.Right <= 0 ? 1 : 0;
        Hidden += R.Right > Width() - 3 || R.Right <= 0 ? 1 : 0;
    }
}

void TbsSkinPageControl::DestroyUpDown() {
    delete FSkinUpDown;
    FSkinUpDown = nullptr;
}

void TbsSkinPageControl::UpdateUpDown() {
    if (!HandleAllocated())
        return;
    for (HWND Child = GetWindow(Handle(), GW_CHILD); Child;) {
        const HWND Next = GetWindow(Child, GW_HWNDNEXT);
        char Name[80] = {};
        GetClassName(Child, Name, sizeof(Name));
        if (std::strcmp(Name, "msctls_updown32") == 0)
            DestroyWindow(Child);
        Child = Next;
    }
    int Scrolled = 0, Hidden = 0;
    CountTabs(Scrolled, Hidden);
    if (Hidden == 0 || MultiLine()) {
        DestroyUpDown();
        return;
    }
    if (!FSkinUpDown) {
        if (FHideTabs)
            return;
        FSkinUpDown = new TbsSkinUpDown(nullptr);
        FSkinUpDown->SetParent(this);
        FSkinUpDown->SetBounds(0, 0, FDefaultItemHeight * 2, FDefaultItemHeight);
        FSkinUpDown->SetMin(0);
        FSkinUpDown->SetMax(Hidden);
        FSkinUpDown->SetPosition(Scrolled);
        FSkinUpDown->SetIncrement(1);
        FSkinUpDown->OnChange = TNotifyEvent(this, &TbsSkinPageControl::UpDownChanged);
        if (!UpDown.empty())
            FSkinUpDown->SetSkinDataName(UpDown);
        FSkinUpDown->SetSkinData(FSD);
        FSkinUpDown->SetVisible(true);
    }
    FSkinUpDown->SetMax(Hidden);
    const int Top = TabPosition() == tpTop ? 0 : Height() - FSkinUpDown->Height();
    FSkinUpDown->SetBounds(Width() - FSkinUpDown->Width(), Top, FSkinUpDown->Width(),
                           FSkinUpDown->Height());
}

void TbsSkinPageControl::SyncUpDown() {
    if (!FSkinUpDown)
        return;
    int Scrolled = 0, Hidden = 0;
    CountTabs(Scrolled, Hidden);
    const TNotifyEvent Saved = FSkinUpDown->OnChange;
    FSkinUpDown->OnChange = nullptr;
    FSkinUpDown->SetPosition(Scrolled);
    FSkinUpDown->OnChange = Saved;
    Invalidate();
}

void TbsSkinPageControl::UpDownChanged(TObject*) {
    int Scrolled = 0, Hidden = 0;
    CountTabs(Scrolled, Hidden);
    FSkinUpDown->SetMax(Hidden);
    const unsigned Pos = unsigned(FSkinUpDown->Position()) & 0xFFFF;
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Pos), 0);
    Repaint();
}

// ---------------------------------------------------------------- pointer, close, wheel

void TbsSkinPageControl::UpdateHoverTab(int X, int Y) {
    if (FHideTabs)
        return;
    int Hit = -1;
    const int Count = VisibleTabCount();
    for (int I = 0; I < Count && X >= 0; ++I)
        if (PointInRect(TabItemRect(I), {X, Y})) {
            Hit = I;
            break;
        }
    const int Selected = TabIndex();
    if (Hit != FActiveTabIndex) {
        FOldActiveTabIndex = FActiveTabIndex;
        FOldActiveTab = FActiveTab;
        if (auto* Old = dynamic_cast<TbsSkinCustomTabSheet*>(VisiblePage(FActiveTabIndex))) {
            Old->ButtonMouseIn = false;
            Old->ButtonMouseDown = false;
        }
        FActiveTabIndex = Hit;
        FActiveTab = Hit == -1 ? -1 : VisiblePage(Hit)->PageIndex();
        if (FOldActiveTabIndex != Selected || Hit != Selected)
            RepaintTabs();
    }
    auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(VisiblePage(FActiveTabIndex));
    if (!FShowCloseButtons || !Sheet)
        return;
    const TRect T = TabItemRect(FActiveTabIndex);
    const bool In = PointInRect(Moved(Sheet->ButtonRect, T.Left, T.Top), {X, Y});
    if (In != Sheet->ButtonMouseIn) {
        Sheet->ButtonMouseIn = In;
        if (!In)
            Sheet->ButtonMouseDown = false;
        RepaintTabs();
    }
}

void TbsSkinPageControl::PressOrRelease(int X, int Y, bool Press) {
    if (!Centred())
        UpdateHoverTab(X, Y);
    auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(VisiblePage(FActiveTabIndex));
    if (!FShowCloseButtons || !Sheet)
        return;
    TRect T = TabItemRect(FActiveTabIndex);
    if (Centred())
        T = Moved(T, -TabStripOffset(), 0);
    const bool In = PointInRect(Moved(Sheet->ButtonRect, T.Left, T.Top), {X, Y});
    if (!In) {
        Sheet->ButtonMouseIn = false;
        Sheet->ButtonMouseDown = false;
        return;
    }
    Sheet->ButtonMouseIn = true;
    Sheet->ButtonMouseDown = Press;
    RepaintTabs();
    if (!Press)
        CloseActivePage();
}

void TbsSkinPageControl::CloseActivePage() {
    auto* Page = ActivePage();
    if (!Page)
        return;
    bool CanClose = true;
    if (OnClose)
        OnClose(Page, CanClose);
    if (CanClose) {
        Page->SetTabVisible(false);
        if (FFreeOnClose)
            delete Page;
        if (OnAfterClose)
            OnAfterClose(this);
        return;
    }
    if (WindowFromPoint(Mouse->CursorPos()) != Handle()) {
        if (auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Page)) {
            Sheet->ButtonMouseIn = false;
            Sheet->ButtonMouseDown = false;
        }
        RepaintTabs();
    }
}

void TbsSkinPageControl::DoWheel(int Delta) {
    TTabSheet* Active = ActivePage();
    if (!Active)
        return;
    const int From = Active->PageIndex();
    const int Step = Delta < 0 ? 1 : -1;
    for (int I = From + Step; I >= 0 && I < PageCount(); I += Step)
        if (Pages(I)->TabVisible()) {
            SetActivePage(Pages(I));
            return;
        }
}
