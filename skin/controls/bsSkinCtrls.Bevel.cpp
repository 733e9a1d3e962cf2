#include "skin/controls/bsSkinCtrls.Bevel.h"

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

TbsSkinBevel::~TbsSkinBevel() {
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
    ChangeSkinData();
}

void TbsSkinBevel::SetDividerMode(bool Value) {
    FDividerMode = Value;
    Repaint();
}

void TbsSkinBevel::ChangeSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) {
        LightColor = clBtnHighlight;
        DarkColor = clBtnShadow;
    } else if (auto* E = dynamic_cast<TbsDataSkinBevel*>(FSD->CtrlList[FIndex].get())) {
        LightColor = E->LightColor;
        DarkColor = E->DarkColor;
    }
    Repaint();
}

void TbsSkinBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    CentreInSkinToolBar(FParent, ATop, AHeight);
    TBevel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
    TBevel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinBevel::Paint() {
    TCanvas* C = Canvas();
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    const TColor Colour1 = FStyle == bsLowered ? DarkColor : LightColor;
    const TColor Colour2 = FStyle == bsLowered ? LightColor : DarkColor;
    const int W = FWidth, H = FHeight;
    auto BevelRect = [C](int L, int T, int R, int B, TColor A, TColor Z) {
        C->Pen()->SetColor(A);
        C->Polyline({{L, B}, {L, T}, {R, T}});
        C->Pen()->SetColor(Z);
        C->Polyline({{R, T}, {R, B}, {L, B}});
    };
    auto Line = [C](int X1, int Y1, int X2, int Y2, TColor Colour) {
        C->Pen()->SetColor(Colour);
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    };
    if (FDividerMode) {
        switch (FShape) {
        case bsTopLine:
        case bsBottomLine:
            BevelRect(2, H / 2 - 1, W - 2, H / 2, Colour1, Colour2);
            break;
        case bsSpacer:
            break;
        default:
            BevelRect(W / 2 - 1, 2, W / 2, H - 2, Colour1, Colour2);
            break;
        }
        return;
    }
    switch (FShape) {
    case bsBox:
        BevelRect(0, 0, W - 1, H - 1, Colour1, Colour2);
        break;
    case bsFrame:
        BevelRect(1, 1, W - 1, H - 1, Colour2, Colour2);
        BevelRect(0, 0, W - 2, H - 2, Colour1, Colour1);
        break;
    case bsTopLine:
        Line(0, 0, W, 0, Colour1);
        Line(0, 1, W, 1, Colour2);
        break;
    case bsBottomLine:
        Line(0, H - 2, W, H - 2, Colour1);
        Line(0, H - 1, W, H - 1, Colour2);
        break;
    case bsLeftLine:
        Line(0, 0, 0, H, Colour1);
        Line(1, 0, 1, H, Colour2);
        break;
    case bsRightLine:
        Line(W - 2, 0, W - 2, H, Colour1);
        Line(W - 1, 0, W - 1, H, Colour2);
        break;
    case bsSpacer:
        break;
    }
}
