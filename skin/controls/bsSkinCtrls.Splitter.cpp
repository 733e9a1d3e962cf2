#include "skin/controls/bsSkinCtrls.Splitter.h"

#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

TbsSkinSplitter::TbsSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) {
    FControlStyle.Include(csOpaque);
}

TbsSkinSplitter::~TbsSkinSplitter() {
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
    ChangeSkinData();
}

void TbsSkinSplitter::SetTransparent(bool Value) {
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    if (Value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Repaint();
}

void TbsSkinSplitter::GetSkinData() {
    FIndex = (FSD && !FSD->Empty) ? FSD->GetControlIndex(FSkinDataName) : -1;
    Picture = nullptr;
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    LTPt = E->LTPoint;
    RTPt = E->RTPoint;
    LBPt = E->LBPoint;
    SkinRect = E->SkinRect;
    StretchEffect = E->StretchEffect;
    Picture = FSD->ActivePicture(E->PictureIndex);
    GripperRect = E->GripperRect;
    GripperTransparent = E->GripperTransparent;
    GripperTransparentColor = E->GripperTransparentColor;
}

void TbsSkinSplitter::ChangeSkinData() {
    GetSkinData();
    const bool Plain = FIndex == -1 || FTransparent;
    if (Horizontal())
        SetHeight(Plain ? FDefaultSize : RectHeight(SkinRect));
    else
        SetWidth(Plain ? FDefaultSize : RectWidth(SkinRect));
    Repaint();
}

void TbsSkinSplitter::Notification(TComponent* AComponent, TOperation Operation) {
    TSplitter::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinSplitter::Paint() {
    if (FTransparent || FWidth < 1 || FHeight < 1)
        return;
    GetSkinData();
    // An element that is not a splitter, or one without a picture, has
    // nothing to cut the look from: the class library's look stands in.
    if (FIndex == -1 || !Picture || FAlign == alNone || FAlign == alClient) {
        TSplitter::Paint();
        return;
    }
    TBitmap B;
    if (Horizontal()) {
        B.SetSize(FWidth, RectHeight(SkinRect));
        MakeHorzThreePartBitmap(LTPt.X, RectWidth(SkinRect) - RTPt.X, &B, Picture, SkinRect, FWidth,
                                RectHeight(SkinRect), StretchEffect);
    } else {
        B.SetSize(RectWidth(SkinRect), FHeight);
        MakeVertThreePartBitmap(LTPt.Y, RectHeight(SkinRect) - LBPt.Y, &B, Picture, SkinRect,
                                RectWidth(SkinRect), FHeight, StretchEffect);
    }
    if (!IsNullRect(GripperRect)) {
        TBitmap Gripper;
        Gripper.SetSize(RectWidth(GripperRect), RectHeight(GripperRect));
        CopyPart(&Gripper, {0, 0, Gripper.Width(), Gripper.Height()}, Picture, GripperRect);
        if (GripperTransparent) {
            Gripper.SetTransparentMode(tmFixed);
            Gripper.SetTransparentColor(GripperTransparentColor);
            Gripper.SetTransparent(true);
        }
        B.Canvas()->Draw(B.Width() / 2 - Gripper.Width() / 2, B.Height() / 2 - Gripper.Height() / 2,
                         &Gripper);
    }
    Canvas()->Draw(0, 0, &B);
}
