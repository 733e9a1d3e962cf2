// The skinned edit box's painting: the frame in the non-client area, the
// client composed in one erase step, the disabled text and the painting into
// a given device context.
#include "skin/controls/bsSkinEdits.h"

#include "platform/gdi/ImageList.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

namespace {

// The shared plain-button colours.
constexpr TColor PlainHotFrame = 8388608;
constexpr TColor PlainHotFill = 13811126;
constexpr TColor PlainDownFill = 11899781;

void FrameAndFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill) {
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
    TRect Inner = R;
    InflateRect(&Inner, -1, -1);
    C->Brush()->SetColor(Fill);
    C->FillRect(Inner);
}

void CopyPart(TCanvas* Dest, const TRect& DestR, TBitmap* Picture, const TRect& Source) {
    Dest->CopyRect(DestR, Picture->Canvas(), Source);
}

} // namespace

// ---- the frame

void TbsSkinCustomEdit::PaintFrame(TCanvas* C) {
    CalcRects();
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    TCanvas* BC = B.Canvas();
    if (!Skinned()) {
        const int W = FButtonMode ? FWidth - FButtonRect.Left : 0;
        TRect R{0, 0, FWidth - W, FHeight};
        BC->Brush()->SetColor(clBtnShadow);
        BC->FrameRect(R);
        InflateRect(&R, -1, -1);
        BC->Brush()->SetColor(clBtnFace);
        BC->FrameRect(R);
        InflateRect(&R, -1, -1);
        BC->Brush()->SetColor(FDefaultColor);
        BC->FillRect(R);
        if (FButtonMode) {
            if (FButtonDown && FButtonActive)
                FrameAndFill(BC, FButtonRect, PlainHotFrame, PlainDownFill);
            else if (FButtonActive)
                FrameAndFill(BC, FButtonRect, PlainHotFrame, PlainHotFill);
            else
                FrameAndFill(BC, FButtonRect, clBtnShadow, clBtnFace);
        }
    } else {
        const TRect Face = ActiveLook() ? ActiveSkinRect : SkinRect;
        MakeHorzThreePartBitmap(LOffset, ROffset, &B, Picture, Face, FWidth, RectHeight(Face),
                                StretchEffect);
        if (FButtonMode) {
            TRect Source;
            if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
                Source = UnEnabledButtonRect;
            else if (FButtonDown && FButtonActive)
                Source = DownButtonRect;
            else if (FButtonActive)
                Source = ActiveButtonRect;
            if (!IsNullRect(Source))
                CopyPart(B.Canvas(), FButtonRect, Picture, Source);
        }
    }
    C->Draw(0, 0, &B);
}

void TbsSkinCustomEdit::PaintStretchedFrame(TCanvas* C) {
    CalcRects();
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    const TRect Face = ActiveLook() ? ActiveSkinRect : SkinRect;
    MakeNinePartBitmapByClRect(&B, Picture, Face, ClRect, false);
    if (FButtonMode)
        DrawFrameButton(B.Canvas(), FButtonRect);
    C->Draw(0, 0, &B);
}

void TbsSkinCustomEdit::DrawFrameButton(TCanvas* C, const TRect& R) {
    if (!FSD || RectWidth(R) <= 0 || RectHeight(R) <= 0)
        return;
    int Index = FSD->GetControlIndex("editbutton");
    if (Index == -1)
        Index = FSD->GetControlIndex("resizebutton");
    if (Index == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[std::size_t(Index)].get());
    TBitmap* P = E ? FSD->ActivePicture(E->PictureIndex) : nullptr;
    // A button element without its picture draws no button: the face shows.
    if (!P)
        return;
    const int DX = RectWidth(R) - RectWidth(E->SkinRect);
    const int DY = RectHeight(R) - RectHeight(E->SkinRect);
    const TPoint NewRT{E->RTPoint.X + DX, E->RTPoint.Y};
    const TPoint NewLB{E->LBPoint.X, E->LBPoint.Y + DY};
    const TPoint NewRB{E->RBPoint.X + DX, E->RBPoint.Y + DY};
    TRect NewCl = E->ClRect;
    NewCl.Right += DX;
    NewCl.Bottom += DY;
    const TRect Active = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    const TRect Down = IsNullRect(E->DownSkinRect) ? Active : E->DownSkinRect;
    const TRect Source = FButtonDown && FButtonActive ? Down : FButtonActive ? Active : E->SkinRect;
    TBitmap B;
    B.SetSize(RectWidth(R), RectHeight(R));
    MakeNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint, NewRT,
                       NewLB, NewRB, NewCl, &B, P, Source, B.Width(), B.Height(), true,
                       E->LeftStretch, E->TopStretch, E->RightStretch, E->BottomStretch,
                       E->StretchEffect, E->StretchType);
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinCustomEdit::PaintFrameImage(TCanvas* Cnv) {
    if (!Skinned() || FUseSkinFont)
        PaintFrame(Cnv);
    else
        PaintStretchedFrame(Cnv);
}

void TbsSkinCustomEdit::WMNCPaint() {
    if (!HandleAllocated())
        return;
    GetSkinData();
    CalcRects();
    HDC DC = GetWindowDC(Handle());
    ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
    {
        TCanvas Cnv;
        Cnv.SetHandle(DC);
        PaintFrameImage(&Cnv);
        Cnv.SetHandle(nullptr);
    }
    ReleaseDC(Handle(), DC);
    Invalidate();
}

// ---- the client

void TbsSkinCustomEdit::PaintEditBackground(TCanvas* C) {
    GetSkinData();
    CalcRects();
    const int W = RectWidth(FEditRect), H = RectHeight(FEditRect);
    if (W < 1 || H < 1)
        return;
    TBitmap B;
    B.SetSize(W, H);
    if (!Skinned()) {
        B.Canvas()->Brush()->SetColor(FDefaultColor);
        B.Canvas()->FillRect({0, 0, W, H});
        C->Draw(0, 0, &B);
        return;
    }
    TRect Face = ActiveLook() ? ActiveSkinRect : SkinRect;
    Face.Left += ClRect.Left;
    Face.Top += ClRect.Top;
    Face.Right = Face.Left + RectWidth(ClRect);
    Face.Bottom = Face.Top + RectHeight(ClRect);
    const int L = std::max(0, LOffset - ClRect.Left);
    const int R = std::max(0, ClRect.Right + ROffset - RectWidth(SkinRect));
    if (FUseSkinFont) {
        MakeHorzThreePartBitmap(L, R, &B, Picture, Face, W, RectHeight(ClRect), StretchEffect);
        C->Draw(0, 0, &B);
        return;
    }
    TBitmap Strip;
    Strip.SetSize(W, RectHeight(ClRect));
    MakeHorzThreePartBitmap(L, R, &Strip, Picture, Face, W, RectHeight(ClRect), StretchEffect);
    C->StretchDraw({0, 0, W, H}, &Strip);
}

void TbsSkinCustomEdit::DrawImageButton(TCanvas* C, const TbsCBButtonX& Button, int Index,
                                        int HotIndex, int DownIndex) {
    const int Count = FImages->Count();
    if (Index < 0 || Index >= Count)
        return;
    auto Valid = [Count](int I) { return I >= 0 && I < Count; };
    int Y = Button.R.Top + RectHeight(Button.R) / 2 - FImages->Height() / 2;
    Y = std::max(Y, Button.R.Top);
    int Shown = Index;
    if (Button.Down && Button.MouseIn && Valid(DownIndex))
        Shown = DownIndex;
    else if (Button.MouseIn && Valid(HotIndex))
        Shown = HotIndex;
    FImages->Draw(C, Button.R.Left, Y, Shown, Enabled());
}

void TbsSkinCustomEdit::DrawImageButtons(TCanvas* C) {
    if (!FImages)
        return;
    UpdateImageButtons(false);
    DrawImageButton(C, LeftButton, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex);
    DrawImageButton(C, RightButton, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex);
}

void TbsSkinCustomEdit::Invalidate() {
    if (!Parent() || !HandleAllocated())
        return;
    FStopDraw = false;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TbsSkinCustomEdit::BoxEraseBkgnd(TMessage& Message) {
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    {
        TCanvas Cnv;
        Cnv.SetHandle(DC);
        PaintEditBackground(&Cnv);
        DrawImageButtons(&Cnv);
        Cnv.SetHandle(nullptr);
    }
    // The native edit draws its text over the background just composed.
    Perform(WM_PAINT, WPARAM(DC), 0);
    FStopDraw = true;
    if (Focused())
        ShowCaret(Handle());
    Message.Result = 0;
}

void TbsSkinCustomEdit::BoxPaint(TMessage& Message) {
    if (FStopDraw) {
        if (!Message.WParam) {
            PAINTSTRUCT PS;
            BeginPaint(Handle(), &PS);
            EndPaint(Handle(), &PS);
        }
        FStopDraw = false;
        return;
    }
    if (Enabled()) {
        FStopDraw = true;
        TbsCustomEdit::Dispatch(Message);
        FStopDraw = false;
        return;
    }
    PaintDisabledText(reinterpret_cast<HDC>(Message.WParam));
}

void TbsSkinCustomEdit::PaintDisabledText(HDC GivenDC) {
    GetSkinData();
    PAINTSTRUCT PS;
    HDC DC = GivenDC ? GivenDC : BeginPaint(Handle(), &PS);
    {
        TCanvas Cnv;
        Cnv.SetHandle(DC);
        if (Skinned() && FUseSkinFont) {
            Cnv.Font()->SetName(FontName);
            Cnv.Font()->SetHeight(FontHeight);
            Cnv.Font()->SetColor(DisabledFontColor);
            Cnv.Font()->SetStyle(FontStyle);
        } else {
            Cnv.Font()->Assign(FDefaultFont.get());
            Cnv.Font()->SetColor(Skinned() ? DisabledFontColor : clGrayText);
        }
        Cnv.Font()->SetCharset(SkinCharset());
        const TRect R{0, 0, ClientWidth(), ClientHeight()};
        const std::string T = Text();
        const int TW = Cnv.TextWidth(T);
        const int X = FAlignment == taRightJustify ? R.Right - TW - 1
                      : FAlignment == taCenter     ? RectWidth(R) / 2 - TW / 2
                                                   : 2;
        Cnv.Brush()->SetStyle(bsClear);
        Cnv.TextRect(R, X, 0, T);
        Cnv.SetHandle(nullptr);
    }
    if (!GivenDC)
        EndPaint(Handle(), &PS);
}

// ---- painting into a given device context

void TbsSkinCustomEdit::WMNCPaintToDC(TMessage& Message) {
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    if (!DC)
        return;
    GetSkinData();
    TCanvas Cnv;
    Cnv.SetHandle(DC);
    PaintFrameImage(&Cnv);
    Cnv.SetHandle(nullptr);
    Message.Result = NCPAINTTODC_ANSWER;
}

void TbsSkinCustomEdit::WMPaintToDC(TMessage& Message) {
    if (Message.LParam != PAINTTODC_TOKEN) {
        TbsCustomEdit::Dispatch(Message);
        return;
    }
    if (HDC DC = reinterpret_cast<HDC>(Message.WParam)) {
        GetSkinData();
        CalcRects();
        ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
        TCanvas Cnv;
        Cnv.SetHandle(DC);
        PaintFrameImage(&Cnv);
        Cnv.SetHandle(nullptr);
    }
    Message.Result = PAINTTODC_TOKEN;
}

void TbsSkinCustomEdit::PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText) {
    GetSkinData();
    if (FWidth <= 0 || FHeight <= 0)
        return;
    CalcRects();
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    TCanvas* BC = B.Canvas();
    if (!Skinned())
        PaintFrame(BC);
    else if (FUseSkinFont)
        MakeHorzThreePartBitmap(LOffset, ROffset, &B, Picture, SkinRect, FWidth,
                                RectHeight(SkinRect), StretchEffect);
    else {
        MakeNinePartBitmapByClRect(&B, Picture, SkinRect, ClRect, false);
        if (FButtonMode) {
            // The normal face: no hover or press state on the button.
            const bool Down = FButtonDown, Active = FButtonActive;
            FButtonDown = FButtonActive = false;
            DrawFrameButton(BC, FButtonRect);
            FButtonDown = Down;
            FButtonActive = Active;
        }
    }
    if (Skinned() && FUseSkinFont) {
        BC->Font()->SetName(FontName);
        BC->Font()->SetHeight(FontHeight);
        BC->Font()->SetColor(FontColor);
        BC->Font()->SetStyle(FontStyle);
    } else
        BC->Font()->Assign(FDefaultFont.get());
    BC->Font()->SetCharset(SkinCharset());
    BC->Brush()->SetStyle(bsClear);
    TRect R = FEditRect;
    if (FImages && FLeftImageIndex >= 0)
        R.Left += FImages->Width() + 2;
    if (FImages && FRightImageIndex >= 0)
        R.Right -= FImages->Width() + 2;
    const int TW = BC->TextWidth(AText);
    const int TX = FAlignment == taRightJustify ? R.Right - TW
                   : FAlignment == taCenter     ? R.Left + 2 + RectWidth(R) / 2 - TW / 2
                                                : R.Left + 2;
    BC->TextRect(R, TX, R.Top, AText);
    C->Draw(X, Y, &B);
}
