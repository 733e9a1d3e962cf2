#include "skin/controls/bsSkinCtrls.Base.h"

#include "skin/model/bsMessages.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Regions.h"

#include <utility>

// ---------------------------------------------------------------- geometry

int TbsSkinGeometry::GetResizeMode() const {
    if (RectWidth(SkinRect) <= 0 || RectHeight(SkinRect) <= 0)
        return -1;
    if (RBPt.X != 0 && RBPt.Y != 0)
        return 1;
    if (RTPt.X != 0 || RTPt.Y != 0)
        return 2;
    if (LBPt.X != 0 || LBPt.Y != 0)
        return 3;
    return 0;
}

void TbsSkinGeometry::CopyElementGeometry(const TbsDataSkinCustomControl& Element,
                                          const TbsSkinData& SkinData) {
    LTPt = Element.LTPoint;
    RTPt = Element.RTPoint;
    LBPt = Element.LBPoint;
    RBPt = Element.RBPoint;
    SkinRect = Element.SkinRect;
    StretchEffect = Element.StretchEffect;
    StretchType = Element.StretchType;
    LeftStretch = Element.LeftStretch;
    TopStretch = Element.TopStretch;
    RightStretch = Element.RightStretch;
    BottomStretch = Element.BottomStretch;
    ClRect = Element.ClRect;
    Picture = SkinData.ActivePicture(Element.PictureIndex);
    ResizeMode = GetResizeMode();
}

void TbsSkinGeometry::CalcGeometry(int Index, int& AWidth, int& AHeight) {
    const int SW = RectWidth(SkinRect), SH = RectHeight(SkinRect);
    const int dW = AWidth - SW, dH = AHeight - SH;
    switch (ResizeMode) {
    case 0:
        if (Index != -1) {
            AWidth = SW;
            AHeight = SH;
            NewClRect = ClRect;
        }
        break;
    case 1:
        NewLTPoint = LTPt;
        NewRTPoint = {RTPt.X + dW, RTPt.Y};
        NewLBPoint = {LBPt.X, LBPt.Y + dH};
        NewRBPoint = {RBPt.X + dW, RBPt.Y + dH};
        NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH};
        break;
    case 2:
        AHeight = SH;
        NewLTPoint = LTPt;
        NewRTPoint = {RTPt.X + dW, RTPt.Y};
        NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom};
        break;
    case 3:
        AWidth = SW;
        NewLTPoint = LTPt;
        NewLBPoint = {LBPt.X, LBPt.Y + dH};
        NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dH};
        break;
    default:
        break;
    }
}

namespace {

// Inside an area with its right and bottom edges left out.
bool InsideArea(const TRect& Area, const TPoint& P) {
    return P.X >= Area.Left && P.X < Area.Right && P.Y >= Area.Top && P.Y < Area.Bottom;
}

bool RectInsideArea(const TRect& R, const TRect& Area) {
    return InsideArea(Area, {R.Left, R.Top}) && InsideArea(Area, {R.Right, R.Bottom});
}

TRect Moved(TRect R, int DX, int DY) {
    return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

} // namespace

void TbsSkinGeometry::MapSkinRect(const TRect& R, TRect& NewR, int Width, int Height) const {
    const int SW = RectWidth(SkinRect), SH = RectHeight(SkinRect);
    const int dW = Width - SW, dH = Height - SH;
    NewR = R;
    const TPoint TL{R.Left, R.Top}, BR{R.Right, R.Bottom};
    switch (ResizeMode) {
    case 1: {
        const TRect LT{0, 0, LTPt.X, LTPt.Y};
        const TRect LB{0, LBPt.Y, LBPt.X, SH};
        const TRect RT{RTPt.X, 0, SW, RTPt.Y};
        const TRect RB{RBPt.X, RBPt.Y, SW, SH};
        if (RectInsideArea(R, LT))
            return;
        if (RectInsideArea(R, RT))
            NewR = Moved(R, dW, 0);
        else if (RectInsideArea(R, LB))
            NewR = Moved(R, 0, dH);
        else if (RectInsideArea(R, RB))
            NewR = Moved(R, dW, dH);
        else if (PointInRect(LT, TL) && PointInRect(RB, BR)) {
            NewR.Right += dW;
            NewR.Bottom += dH;
        } else if (PointInRect(LT, TL) && PointInRect(RT, BR))
            NewR.Right += dW;
        else if (PointInRect(LB, TL) && PointInRect(RB, BR)) {
            NewR.Right += dW;
            NewR = Moved(NewR, 0, dH);
        } else if (PointInRect(LT, TL) && PointInRect(LB, BR))
            NewR.Bottom += dH;
        else if (PointInRect(RT, TL) && PointInRect(RB, BR)) {
            NewR = Moved(NewR, dW, 0);
            NewR.Bottom += dH;
        }
        break;
    }
    case 2:
        if (LTPt.X >= R.Left && R.Right >= RTPt.X)
            NewR.Right += dW;
        else if (R.Left >= RTPt.X && RTPt.X < R.Right)
            NewR = Moved(R, dW, 0);
        break;
    case 3:
        if (LTPt.Y >= R.Top && R.Bottom >= LBPt.Y)
            NewR.Bottom += dH;
        else if (R.Top >= LBPt.Y && LBPt.Y < R.Bottom)
            NewR = Moved(R, 0, dH);
        break;
    default:
        break;
    }
}

void TbsSkinGeometry::DrawSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect, int Width,
                                    int Height, bool NinePart) const {
    switch (ResizeMode) {
    case 0:
        B->SetSize(RectWidth(ARect), RectHeight(ARect));
        CopyPart(B, {0, 0, RectWidth(ARect), RectHeight(ARect)}, APicture, ARect);
        break;
    case 1:
        if (NinePart)
            MakeNinePartBitmap(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                               NewRBPoint, NewClRect, B, APicture, ARect, Width, Height, true,
                               LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                               StretchType);
        break;
    case 2:
        MakeHorzThreePartBitmap(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, APicture, ARect, Width,
                                Height, StretchEffect);
        break;
    case 3:
        MakeVertThreePartBitmap(LTPt.Y, RectHeight(SkinRect) - LBPt.Y, B, APicture, ARect, Width,
                                Height, StretchEffect);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- TbsSkinControl

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TbsSkinControl::~TbsSkinControl() {
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TbsSkinControl::GetSkinData() {
    if (!FSD || FSD->Empty)
        FIndex = -1;
    else
        FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsSkinControl::SetSkinDataName(const std::string& Value) {
    FSkinDataName = Value;
}

void TbsSkinControl::SetSkinData(TbsSkinData* Value) {
    if (FSD != Value) {
        if (FSD)
            FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD)
            FSD->FreeNotification(this);
    }
    if (FSD && !FSD->Empty && !Designing())
        ChangeSkinData();
}

void TbsSkinControl::CreateControlDefaultImage(TBitmap*) {}

void TbsSkinControl::CreateControlSkinImage(TBitmap*) {}

void TbsSkinControl::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TbsSkinControl::BeforeChangeSkinData() {
    FIndex = -1;
}

void TbsSkinControl::AfterChangeSkinData() {}

void TbsSkinControl::CheckParentBackground() {}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        // The paint covers the whole control; erasing first would only flicker.
        Message.Result = 0;
        return;
    case WM_CHECKPARENTBG:
        CheckParentBackground();
        return;
    case CM_MOUSEENTER:
        TCustomControl::Dispatch(Message);
        if (OnMouseEnter && !Designing())
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(Message);
        if (OnMouseLeave && !Designing())
            OnMouseLeave(this);
        return;
    case WM_PAINT: {
        FromWMPaint = true;
        struct TClear {
            bool& Flag;
            ~TClear() { Flag = false; }
        } Clear{FromWMPaint};
        TCustomControl::Dispatch(Message);
        return;
    }
    default:
        TCustomControl::Dispatch(Message);
    }
}

void TbsSkinControl::Paint() {
    if (FWidth <= 0 || FHeight <= 0)
        return;
    GetSkinData();
    auto B = std::make_unique<TBitmap>();
    B->SetSize(FWidth, FHeight);
    if (FIndex == -1)
        CreateControlDefaultImage(B.get());
    else
        CreateControlSkinImage(B.get());
    Canvas()->Draw(0, 0, B.get());
}

// ---------------------------------------------------------------- TbsSkinCustomControl

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner) : TbsSkinDefaults(AOwner) {}

TbsSkinCustomControl::~TbsSkinCustomControl() {
    // The window owns its region and frees it with itself.
    FRgn = nullptr;
}

void TbsSkinCustomControl::GetSkinData() {
    TbsSkinControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* Element = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[FIndex].get());
    if (!Element) {
        ResizeMode = 0;
        Picture = nullptr;
        MaskPicture = nullptr;
        return;
    }
    CopyElementGeometry(*Element, *FSD);
    MaskPicture = FSD->ActivePicture(Element->MaskPictureIndex);
}

void TbsSkinCustomControl::CalcSkinSize(int& AWidth, int& AHeight) {
    CalcGeometry(FIndex, AWidth, AHeight);
}

void TbsSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(ClientRect());
}

void TbsSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

void TbsSkinCustomControl::CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) {
    // An element of another class has no picture: nothing to cut from.
    if (!APicture)
        return;
    DrawSkinImage(B, APicture, ARect, FWidth, FHeight, !FForceBackground);
}

void TbsSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    int W = FWidth, H = FHeight;
    bool SizeChanged = false;
    if (FIndex == -1) {
        if (FDefaultWidth > 0)
            SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0)
            SetHeight(FDefaultHeight);
    } else {
        CalcSkinSize(W, H);
        SizeChanged = W != FWidth || H != FHeight;
        if (W != FWidth)
            SetWidth(W);
        if (H != FHeight)
            SetHeight(H);
    }
    if (!SizeChanged) {
        SetControlRegion();
        Repaint();
    }
}

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    const bool Resize = (AWidth != FWidth || AHeight != FHeight) && FIndex != -1;
    if (Resize) {
        CalcSkinSize(AWidth, AHeight);
        if (ResizeMode == 0)
            NewClRect = ClRect;
    }
    CentreInSkinToolBar(FParent, ATop, AHeight);
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Resize) {
        SetControlRegion();
        Repaint();
    }
    if (FIndex != -1 && StretchEffect)
        UpdateChildrenBackground();
}

void TbsSkinCustomControl::UpdateChildrenBackground() {
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* Child = Controls(I);
        if (auto* Win = dynamic_cast<TWinControl*>(Child)) {
            Win->HandleNeeded();
            SendMessage(Win->Handle(), WM_CHECKPARENTBG, 0, 0);
        } else if (dynamic_cast<TGraphicControl*>(Child)) {
            Child->Perform(WM_CHECKPARENTBG, 0, 0);
        }
    }
}

void TbsSkinCustomControl::SetControlRegion() {
    if (!FParent)
        return;
    if (!MaskPicture || FIndex == -1) {
        if (FRgn) {
            SetWindowRgn(Handle(), nullptr, TRUE);
            FRgn = nullptr;
        }
        return;
    }
    ApplyMaskRegion();
}

void TbsSkinCustomControl::ApplyMaskRegion() {
    int W = FWidth, H = FHeight;
    CalcSkinSize(W, H);
    HRGN Rgn = nullptr;
    const int SW = RectWidth(SkinRect), SH = RectHeight(SkinRect);
    switch (ResizeMode) {
    case 0:
        MaskToRegion(Rgn, MaskPicture);
        break;
    case 1:
        MakeNinePartRegion(Rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                           NewRBPoint, NewClRect, MaskPicture, FWidth, FHeight);
        break;
    case 2: {
        const TPoint NewRight{FWidth + RTPt.X - SW, RTPt.Y};
        MakeNinePartRegion(Rgn, LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, NewRight, LTPt, NewRight,
                           NewClRect, MaskPicture, FWidth, FHeight);
        break;
    }
    case 3: {
        const TPoint NewBottom{LBPt.X, FHeight + LBPt.Y - SH};
        MakeNinePartRegion(Rgn, LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, NewBottom, NewBottom,
                           NewClRect, MaskPicture, FWidth, FHeight);
        break;
    }
    default:
        return;
    }
    SetWindowRgn(Handle(), Rgn, TRUE);
    FRgn = Rgn;
}

void TbsSkinCustomControl::Paint() {
    if (FWidth < 1 || FHeight < 1)
        return;
    GetSkinData();
    int W = FWidth, H = FHeight;
    CalcSkinSize(W, H);
    if (!(FIndex != -1 && FForceBackground && ResizeMode == 1)) {
        TbsSkinControl::Paint();
        return;
    }
    PaintFrame();
}

void TbsSkinCustomControl::PaintFrame() {
    TBitmap Left, Top, Right, Bottom;
    if (Picture)
        MakeFrameBorderBitmaps(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                               NewRBPoint, NewClRect, &Left, &Top, &Right, &Bottom, Picture,
                               SkinRect, FWidth, FHeight, LeftStretch, TopStretch, RightStretch,
                               BottomStretch);
    CreateControlSkinImage(&Top);
    if (FDrawbackground)
        PaintClientBackground();
    TCanvas* C = Canvas();
    C->Draw(0, 0, &Top);
    C->Draw(0, Top.Height(), &Left);
    C->Draw(FWidth - Right.Width(), Top.Height(), &Right);
    C->Draw(0, FHeight - Bottom.Height(), &Bottom);
}

void TbsSkinCustomControl::PaintClientBackground() {
    const int w0 = RectWidth(ClRect), h0 = RectHeight(ClRect);
    // A client part without area cannot be tiled or stretched: the client
    // area keeps what it shows.
    if (!Picture || w0 <= 0 || h0 <= 0)
        return;
    TBitmap Client;
    Client.SetSize(w0, h0);
    CopyPart(&Client, {0, 0, w0, h0}, Picture, Moved(ClRect, SkinRect.Left, SkinRect.Top));
    TCanvas* C = Canvas();
    const HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    const int CW = RectWidth(NewClRect), CH = RectHeight(NewClRect);
    if (StretchEffect) {
        if (CW > 0 && CH > 0) {
            if (StretchType == bsstFull) {
                C->StretchDraw(NewClRect, &Client);
            } else if (StretchType == bsstHorz) {
                TBitmap Strip;
                Strip.SetSize(w0, CH);
                Strip.Canvas()->StretchDraw({0, 0, w0, CH}, &Client);
                for (int I = 0; I <= CW / w0; ++I)
                    C->Draw(NewClRect.Left + I * w0, NewClRect.Top, &Strip);
            } else {
                TBitmap Strip;
                Strip.SetSize(CW, h0);
                Strip.Canvas()->StretchDraw({0, 0, CW, h0}, &Client);
                for (int J = 0; J <= CH / h0; ++J)
                    C->Draw(NewClRect.Left, NewClRect.Top + J * h0, &Strip);
            }
        }
    } else {
        for (int I = 0; I <= CW / w0; ++I)
            for (int J = 0; J <= CH / h0; ++J)
                C->Draw(NewClRect.Left + I * w0, NewClRect.Top + J * h0, &Client);
    }
    RestoreDC(DC, Saved);
}
