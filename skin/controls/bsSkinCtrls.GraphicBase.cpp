#include "skin/controls/bsSkinCtrls.GraphicBase.h"

// ---------------------------------------------------------------- TbsGraphicSkinControl

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.Include(csOpaque);
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() {
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TbsGraphicSkinControl::GetSkinData() {
    if (!FSD || FSD->Empty)
        FIndex = -1;
    else
        FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value) {
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

void TbsGraphicSkinControl::CreateControlDefaultImage(TBitmap*) {}

void TbsGraphicSkinControl::CreateControlSkinImage(TBitmap*) {}

void TbsGraphicSkinControl::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TbsGraphicSkinControl::BeforeChangeSkinData() {
    FIndex = -1;
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsGraphicSkinControl::Dispatch(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER && OnMouseEnter && !Designing())
        OnMouseEnter(this);
    else if (Message.Msg == CM_MOUSELEAVE && OnMouseLeave && !Designing())
        OnMouseLeave(this);
}

void TbsGraphicSkinControl::Paint() {
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

// ---------------------------------------------------------------- TbsGraphicSkinCustomControl

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsSkinDefaults(AOwner) {}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

void TbsGraphicSkinCustomControl::GetSkinData() {
    TbsGraphicSkinControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* Element = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[FIndex].get());
    if (!Element) {
        ResizeMode = 0;
        Picture = nullptr;
        return;
    }
    CopyElementGeometry(*Element, *FSD);
}

void TbsGraphicSkinCustomControl::CalcSkinSize(int& AWidth, int& AHeight) {
    CalcGeometry(FIndex, AWidth, AHeight);
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(ClientRect());
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

void TbsGraphicSkinCustomControl::CreateSkinImage(TBitmap* B, TBitmap* APicture,
                                                  const TRect& ARect) {
    if (!APicture)
        return;
    // The graphic twin never takes the frame path: mode 1 is always nine-part.
    int W = FWidth, H = FHeight;
    CalcSkinSize(W, H);
    DrawSkinImage(B, APicture, ARect, FWidth, FHeight, true);
}

void TbsGraphicSkinCustomControl::ChangeSkinData() {
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
    if (!SizeChanged)
        Repaint();
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    const bool Resize = (AWidth != FWidth || AHeight != FHeight) && FIndex != -1;
    if (Resize) {
        CalcSkinSize(AWidth, AHeight);
        if (ResizeMode == 0)
            NewClRect = ClRect;
    }
    CentreInSkinToolBar(FParent, ATop, AHeight);
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Resize)
        Repaint();
}
