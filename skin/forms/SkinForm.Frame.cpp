// TbsSkinForm: the skinned frame's geometry, painting, client background
// and window region.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"

#include <vector>

namespace {

bool InArea(const TRect& Area, const TRect& R) {
    return PtInRect(&Area, TPoint{R.Left, R.Top}) && PtInRect(&Area, TPoint{R.Right, R.Bottom});
}

bool PointIn(const TRect& Area, TPoint P) {
    return PtInRect(&Area, P);
}

// A region of the black runs of Strip, placed at (X, Y); none for an empty strip.
HRGN StripRegion(TBitmap* Strip, int X, int Y) {
    if (Strip->Empty())
        return nullptr;
    std::vector<BYTE> Data;
    const DWORD Size = MaskToRegionData(Strip, X, Y, Data);
    if (Size == 0)
        return nullptr;
    return ExtCreateRegion(nullptr, Size, reinterpret_cast<const RGNDATA*>(Data.data()));
}

} // namespace

void ApplyInActiveEffect(TbsEffectBmp& E, TbsInActiveEffect Effect) {
    switch (Effect) {
    case ieBrightness:
        E.ChangeBrightness(0.5);
        break;
    case ieDarkness:
        E.ChangeDarkness(0.3);
        break;
    case ieGrayScale:
        E.GrayScale();
        break;
    case ieNoise:
        E.AddMonoNoise(50);
        break;
    case ieSplitBlur:
        E.SplitBlur(1);
        break;
    case ieInvert:
        E.Invert();
        break;
    }
}

void TbsSkinForm::CalcFrameRects() {
    if (FFormWidth == 0)
        FFormWidth = FForm->Width();
    if (FFormHeight == 0)
        FFormHeight = FForm->Height();
    if (!SkinReady())
        return;
    const TbsSkinData& S = *FSD;
    const int PW = S.FPicture->Width();
    const int DX = FFormWidth - PW;
    const int DY = FFormHeight - S.FPicture->Height();
    NewLTPoint = S.LTPoint;
    NewRTPoint = {S.RTPoint.X + DX, S.RTPoint.Y};
    NewLBPoint = {S.LBPoint.X, S.LBPoint.Y + DY};
    NewRBPoint = {S.RBPoint.X + DX, S.RBPoint.Y + DY};
    NewClRect = {S.ClRect.Left, S.ClRect.Top, S.ClRect.Right + DX, S.ClRect.Bottom + DY};
    NewCaptionRect = S.CaptionRect;
    if (!IsNullRect(S.CaptionRect))
        NewCaptionRect.Right += DX;
    NewButtonsRect = S.ButtonsRect;
    NewButtonsInLeft = S.CapButtonsInLeft;
    if (!IsNullRect(S.ButtonsRect) && S.ButtonsRect.Left > PW / 2)
        OffsetRect(&NewButtonsRect, DX, 0);
    NewButtonsOffset = S.ButtonsOffset;
    NewHitTestLTPoint = S.HitTestLTPoint;
    NewHitTestRTPoint = {S.HitTestRTPoint.X + DX, S.HitTestRTPoint.Y};
    NewHitTestLBPoint = {S.HitTestLBPoint.X, S.HitTestLBPoint.Y + DY};
    NewHitTestRBPoint = {S.HitTestRBPoint.X + DX, S.HitTestRBPoint.Y + DY};
    NewMaskRectArea = {S.MaskRectArea.Left, S.MaskRectArea.Top, S.MaskRectArea.Right + DX,
                       S.MaskRectArea.Bottom + DY};
}

void TbsSkinForm::MapSkinRect(const TRect& R, TRect& NewR) {
    NewR = R;
    if (!SkinReady())
        return;
    const TbsSkinData& S = *FSD;
    const int PW = S.FPicture->Width(), PH = S.FPicture->Height();
    const TRect TL{0, 0, S.LTPoint.X, S.LTPoint.Y};
    const TRect TR{S.RTPoint.X, 0, PW, S.RTPoint.Y};
    const TRect BL{0, S.LBPoint.Y, S.LBPoint.X, PH};
    const TRect BR{S.RBPoint.X, S.RBPoint.Y, PW, PH};
    const int DX = NewRBPoint.X - S.RBPoint.X;
    const int DY = NewRBPoint.Y - S.RBPoint.Y;
    const TPoint A{R.Left, R.Top}, B{R.Right, R.Bottom};
    if (InArea(TL, R))
        return;
    if (InArea(TR, R))
        OffsetRect(&NewR, DX, 0);
    else if (InArea(BL, R))
        OffsetRect(&NewR, 0, DY);
    else if (InArea(BR, R))
        OffsetRect(&NewR, DX, DY);
    else if (PointIn(TL, A) && PointIn(BR, B)) {
        NewR.Right += DX;
        NewR.Bottom += DY;
    } else if (PointIn(TL, A) && PointIn(TR, B))
        NewR.Right += DX;
    else if (PointIn(BL, A) && PointIn(BR, B)) {
        NewR.Right += DX;
        OffsetRect(&NewR, 0, DY);
    } else if (PointIn(TL, A) && PointIn(BL, B))
        NewR.Bottom += DY;
    else if (PointIn(TR, A) && PointIn(BR, B)) {
        OffsetRect(&NewR, DX, 0);
        NewR.Bottom += DY;
    }
}

void TbsSkinForm::PaintNCSkin(HDC DC, bool AUseExternalDC) {
    if (FFormWidth == 0)
        FFormWidth = FForm->Width();
    if (FFormHeight == 0)
        FFormHeight = FForm->Height();
    if (!SkinReady() || FFormWidth < GetMinWidth() || FFormHeight < GetMinHeight())
        return;
    CalcFrameRects();
    ArrangeObjects();

    const HWND Wnd = FForm->Handle();
    const HDC Target = AUseExternalDC ? DC : GetWindowDC(Wnd);
    if (!Target)
        return;
    // A caller's device context keeps its own clipping afterwards.
    const int Saved = AUseExternalDC ? SaveDC(Target) : 0;
    const bool FormActive = GetFormActive();
    TBitmap* Source = (FormActive || FSD->FInActivePicture->Empty()) ? FSD->FPicture.get()
                                                                     : FSD->FInActivePicture.get();
    TBitmap Left, Top, Right, Bottom;
    MakeFrameBorderBitmaps(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect,
                           NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, &Left, &Top,
                           &Right, &Bottom, Source, TRect{0, 0, Source->Width(), Source->Height()},
                           FFormWidth, FFormHeight, FSD->LeftStretch, FSD->TopStretch,
                           FSD->RightStretch, FSD->BottomStretch);

    for (auto& O : ObjectList) {
        // An object without a place on this frame is not drawn anywhere.
        if (!O->Visible || IsNullRect(O->ObjectRect))
            continue;
        if (O->ObjectRect.Bottom <= NewClRect.Top) {
            if (!Top.Empty())
                O->Draw(Top.Canvas(), false);
        } else if (!Bottom.Empty()) {
            const TRect Saved = O->ObjectRect;
            OffsetRect(&O->ObjectRect, 0, -NewClRect.Bottom);
            O->Draw(Bottom.Canvas(), false);
            O->ObjectRect = Saved;
        }
    }

    if (NewClRect.Bottom > NewClRect.Top)
        ExcludeClipRect(Target, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);

    if (!FormActive && GetAutoRenderingInActiveImage()) {
        const int TopH = Top.Height();
        const struct {
            TBitmap* Strip;
            int X, Y;
        } Placed[] = {{&Top, 0, 0},
                      {&Left, 0, TopH},
                      {&Right, FFormWidth - Right.Width(), TopH},
                      {&Bottom, 0, FFormHeight - Bottom.Height()}};
        for (const auto& P : Placed) {
            if (P.Strip->Empty())
                continue;
            auto E = TbsEffectBmp::CreateFromhWnd(P.Strip->Handle());
            ApplyInActiveEffect(*E, FSD->InActiveEffect);
            E->Draw(Target, P.X, P.Y);
        }
    } else
        DrawStrips(Target, &Top, &Left, &Right, &Bottom);

    if (Saved)
        RestoreDC(Target, Saved);
    if (!AUseExternalDC)
        ReleaseDC(Wnd, Target);
}

void TbsSkinForm::DrawStrips(HDC DC, TBitmap* Top, TBitmap* Left, TBitmap* Right, TBitmap* Bottom) {
    const int TopH = Top->Height();
    auto Put = [DC](TBitmap* B, int X, int Y) {
        if (!B->Empty())
            BitBlt(DC, X, Y, B->Width(), B->Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
    };
    Put(Top, 0, 0);
    Put(Left, 0, TopH);
    Put(Right, FFormWidth - Right->Width(), TopH);
    Put(Bottom, 0, FFormHeight - Bottom->Height());
}

void TbsSkinForm::PaintBGPicture(HDC DC, TBitmap* Tile, bool Stretch, TbsStretchType Kind) {
    TCanvas C;
    C.SetHandle(DC);
    const TRect Client = FForm->ClientRect();
    const int CW = Client.Width(), CH = Client.Height();
    const int W = Tile ? Tile->Width() : 0, H = Tile ? Tile->Height() : 0;
    // A tile without width or height has nothing to repeat.
    if (W > 0 && H > 0 && CW > 0 && CH > 0) {
        if (Stretch) {
            switch (Kind) {
            case bsstFull:
                C.StretchDraw(TRect{0, 0, FFormWidth, FFormHeight}, Tile);
                break;
            case bsstHorz: {
                TBitmap Column;
                Column.SetSize(W, FFormHeight);
                Column.Canvas()->StretchDraw(TRect{0, 0, W, FFormHeight}, Tile);
                for (int I = 0; I <= FFormWidth / W; ++I)
                    C.Draw(I * W, 0, &Column);
                break;
            }
            case bsstVert: {
                TBitmap Row;
                Row.SetSize(FFormWidth, H);
                Row.Canvas()->StretchDraw(TRect{0, 0, FFormWidth, H}, Tile);
                for (int J = 0; J <= FFormHeight / H; ++J)
                    C.Draw(0, J * H, &Row);
                break;
            }
            }
        } else {
            for (int I = 0; I <= CW / W; ++I)
                for (int J = 0; J <= CH / H; ++J)
                    C.Draw(I * W, J * H, Tile);
        }
    }
    if (!FLogoBitMap->Empty())
        DrawLogo(&C);
    C.SetHandle(nullptr);
}

void TbsSkinForm::PaintBG(HDC DC) {
    if (!DC || !SkinReady())
        return;
    if (IsNullRect(FSD->ClRect)) {
        TCanvas C;
        C.SetHandle(DC);
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(FForm->ClientRect());
        C.SetHandle(nullptr);
        return;
    }
    const TRect& R = FSD->ClRect;
    TBitmap Tile;
    Tile.SetSize(R.Width(), R.Height());
    Tile.Canvas()->CopyRect(TRect{0, 0, R.Width(), R.Height()}, FSD->FPicture->Canvas(), R);
    PaintBGPicture(DC, &Tile, FSD->StretchEffect, FSD->StretchType);
}

void TbsSkinForm::PaintBG2(HDC DC) {
    if (!DC || !SkinReady())
        return;
    // A picture index the skin does not hold falls back to the plain fill.
    TBitmap* Picture = FSD->ActivePicture(FSD->BGPictureIndex);
    if (!Picture) {
        PaintBGDefault(DC);
        return;
    }
    PaintBGPicture(DC, Picture, FSD->StretchEffect, FSD->StretchType);
}

void TbsSkinForm::PaintBG3(HDC DC) {
    if (!DC || !SkinReady())
        return;
    TBitmap* Picture = FSD->ActivePicture(FSD->MDIBGPictureIndex);
    if (!Picture) {
        PaintBGDefault(DC);
        return;
    }
    PaintBGPicture(DC, Picture, FSD->MDIBGStretchEffect, FSD->MDIBGStretchType);
}

void TbsSkinForm::SetFormRegion() {
    if (!FForm->HandleAllocated())
        return;
    const HWND Wnd = FForm->Handle();
    auto Remove = [&] {
        if (FRgn) {
            SetWindowRgn(Wnd, nullptr, true);
            DeleteObject(ToObj(FRgn));
            FRgn = nullptr;
        }
    };
    auto Replace = [&](HRGN New) {
        // The window owns the region it is given; ours is a copy.
        HRGN Copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(Copy, New, nullptr, RGN_COPY);
        SetWindowRgn(Wnd, Copy, true);
        if (FRgn)
            DeleteObject(ToObj(FRgn));
        FRgn = New;
    };
    if (!FSkinnableForm || FForm->BorderStyle() == bsNone) {
        Remove();
        return;
    }
    if (FFormWidth == 0)
        FFormWidth = FForm->Width();
    if (FFormHeight == 0)
        FFormHeight = FForm->Height();
    const bool MaximizedChild = IsMDIChild() && FWindowState == wsMaximized;
    if ((SkinReady() && FSD->FMask->Empty()) || MaximizedChild) {
        Replace(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
        return;
    }
    if (!SkinReady()) {
        Replace(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
        for (TBitmap* B : {RMTop.get(), RMLeft.get(), RMRight.get(), RMBottom.get()})
            B->SetSize(0, 0);
        return;
    }
    MakeFrameMaskBitmaps(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea,
                         NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewMaskRectArea,
                         FSD->FMask.get(), RMTop.get(), RMLeft.get(), RMRight.get(), RMBottom.get(),
                         FFormWidth, FFormHeight);
    HRGN Rgn = CreateRectRgnIndirect(&NewMaskRectArea);
    const struct {
        TBitmap* Strip;
        bool Positive;
        int X, Y;
    } Parts[] = {
        {RMTop.get(), RMTop->Height() > 0, 0, 0},
        {RMBottom.get(), RMBottom->Height() > 0, 0, NewMaskRectArea.Bottom},
        {RMLeft.get(), RMLeft->Width() > 0, 0, NewMaskRectArea.Top},
        {RMRight.get(), RMRight->Width() > 0, NewMaskRectArea.Right, NewMaskRectArea.Top},
    };
    for (const auto& P : Parts) {
        if (!P.Positive)
            continue;
        if (HRGN Part = StripRegion(P.Strip, P.X, P.Y)) {
            CombineRgn(Rgn, Rgn, Part, RGN_OR);
            DeleteObject(ToObj(Part));
        }
    }
    Replace(Rgn);
}

bool TbsSkinForm::PtInMask(TPoint P) {
    if (PtInRect(&NewMaskRectArea, P))
        return true;
    auto BlackAt = [this](TBitmap* B, int X, int Y) {
        if (X < 0 || Y < 0 || X >= B->Width() || Y >= B->Height())
            return false;
        return B->Canvas()->Pixels(X, Y) == BlackColor;
    };
    const TRect& M = NewMaskRectArea;
    if (P.Y <= M.Top)
        return BlackAt(RMTop.get(), P.X, P.Y);
    if (P.Y >= M.Bottom)
        return BlackAt(RMBottom.get(), P.X, P.Y - M.Bottom);
    if (P.X <= M.Left)
        return BlackAt(RMLeft.get(), P.X, P.Y - M.Top);
    return BlackAt(RMRight.get(), P.X - M.Right, P.Y - M.Top);
}

void TbsSkinForm::UpdateSkinFrame() {
    if (ComponentState().Contains(csDesigning) || !SkinReady())
        return;
    if (FSkinnableForm) {
        CalcFrameRects();
        ArrangeObjects();
    }
    SetFormRegion();
    if (!FRgn && FSkinnableForm && FForm->BorderStyle() != bsNone)
        RepaintFrame();
    if (FSkinSupport && FSD->StretchEffect) {
        FForm->Repaint();
        SendCheckParentBG();
    }
}
