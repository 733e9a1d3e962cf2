#include "skin/controls/bsSkinLists.h"

#include "skin/model/bsUtils.ButtonFace.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

namespace {

constexpr TColor HotFrame = TColor(0x800000);
constexpr TColor HotFill = TColor(13811126);
constexpr TColor PressedFill = TColor(11899781);

TRect Moved(TRect R, int DX, int DY) {
    return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

} // namespace

// ---------------------------------------------------------------- caption properties

void TbsSkinCustomListBox::SetCaptionMode(bool Value) {
    FCaptionMode = Value;
    if (FIndex == -1) {
        CalcRects();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value) {
    if (FShowCaptionButtons == Value)
        return;
    FShowCaptionButtons = Value;
    Repaint();
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(int Value) {
    FDefaultCaptionHeight = Value;
    if (FIndex == -1 && FCaptionMode) {
        CalcRects();
        Repaint();
    }
}

void TbsSkinCustomListBox::OnDefaultCaptionFontChange(TObject*) {
    if (FIndex == -1 && FCaptionMode)
        Repaint();
}

void TbsSkinCustomListBox::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    if (FCaptionMode)
        Repaint();
}

void TbsSkinCustomListBox::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    Repaint();
}

void TbsSkinCustomListBox::SetNumGlyphs(TbsSkinPanelNumGlyphs Value) {
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinCustomListBox::SetSpacing(int Value) {
    FSpacing = Value;
    Repaint();
}

// ---------------------------------------------------------------- images

void TbsSkinCustomListBox::CalcCaptionButtons() {
    if (FIndex != -1 || !FCaptionMode || !FShowCaptionButtons)
        return;
    const int A = std::min(17, FDefaultCaptionHeight - 3);
    Buttons[0].R = {FWidth - A - 2, 2, FWidth - 2, A + 1};
    Buttons[1].R = {Buttons[0].R.Left - A, 2, Buttons[0].R.Left, A + 1};
    Buttons[2].R = {Buttons[1].R.Left - A, 2, Buttons[1].R.Left, A + 1};
}

void TbsSkinCustomListBox::DrawCaption(TCanvas* C, const TRect& T, TColor) {
    const std::string S = Caption();
    const bool HasGlyph = !FGlyph->Empty();
    const int NG = std::max(1, FNumGlyphs);
    int W = C->TextWidth(S);
    if (HasGlyph)
        W += FGlyph->Width() / NG + FSpacing;
    const bool Plain = FIndex == -1;
    int X;
    const int Pad = Plain ? 0 : 2;
    switch (FAlignment) {
    case taRightJustify:
        X = T.Right - W - Pad;
        break;
    case taCenter:
        X = T.Left + Pad + RectWidth(T) / 2 - W / 2;
        break;
    default:
        X = T.Left + Pad;
    }
    const int Y = Plain ? (FDefaultCaptionHeight - 2) / 2 - C->TextHeight(S) / 2
                        : T.Top + RectHeight(T) / 2 - C->TextHeight(S) / 2;
    int GX = 0, GY = 0;
    if (HasGlyph) {
        GX = X;
        GY = T.Top + RectHeight(T) / 2 - FGlyph->Height() / 2 - (Plain ? 1 : 0);
        X = GX + FGlyph->Width() / NG + FSpacing;
    }
    C->TextRect(T, X, Y, S);
    if (HasGlyph)
        DrawGlyphFromStrip(C, GX, GY, FGlyph.get(), NG, (!Enabled() && NG == 2) ? 2 : 1);
}

void TbsSkinCustomListBox::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* C = B->Canvas();
    const bool WithButtons = FCaptionMode && FShowCaptionButtons;
    const int A = WithButtons ? std::min(17, FDefaultCaptionHeight - 3) : 0;
    CalcCaptionButtons();
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect({0, 0, FWidth, FHeight});
    if (!FCaptionMode)
        return;
    const TRect T = WithButtons ? TRect{3, 2, FWidth - 3 * A - 3, FDefaultCaptionHeight - 2}
                                : TRect{3, 2, FWidth - 2, FDefaultCaptionHeight - 2};
    C->Font()->Assign(FDefaultCaptionFont.get());
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    C->Brush()->SetColor(clBtnFace);
    DrawCaption(C, T, C->Font()->Color());
    C->Pen()->SetColor(clBtnShadow);
    C->MoveTo(1, FDefaultCaptionHeight - 1);
    C->LineTo(FWidth - 1, FDefaultCaptionHeight - 1);
    if (WithButtons)
        for (int I = 0; I < 3; ++I)
            DrawButton(C, I);
}

void TbsSkinCustomListBox::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    TCanvas* C = B->Canvas();
    const int DX = FWidth - RectWidth(SkinRect), DY = FHeight - RectHeight(SkinRect);
    if (!FShowCaptionButtons && !IsNullRect(UpButtonRect)) {
        if (!IsNullRect(DisabledButtonsRect)) {
            const TRect D = Moved(ButtonsArea, DX, 0);
            CopyPart(B, D, Picture, DisabledButtonsRect);
        } else {
            const TRect S{NewLTPoint.X, 0, NewRTPoint.X, NewClRect.Top - 1};
            if (RectWidth(S) > 0 && RectHeight(S) > 0) {
                TBitmap Strip;
                Strip.SetSize(RectWidth(S), RectHeight(S));
                Strip.Canvas()->CopyRect({0, 0, RectWidth(S), RectHeight(S)}, C, S);
                C->StretchDraw({S.Left, 0, DX + UpButtonRect.Right, S.Bottom}, &Strip);
            }
        }
    }
    NewClRect = ClRect;
    NewClRect.Right += DX;
    NewClRect.Bottom += DY;
    if (FCaptionMode) {
        NewCaptionRect = CaptionRect;
        if (FShowCaptionButtons) {
            if (CaptionRect.Right >= RTPt.X)
                NewCaptionRect.Right += DX;
            const TRect* Src[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
            for (int I = 0; I < 3; ++I) {
                TRect R = *Src[I];
                if (R.Top > LTPt.Y) {
                    R = Moved(R, 0, DY);
                    if (R.Left > RBPt.X)
                        R = Moved(R, DX, 0);
                } else if (R.Left > RTPt.X) {
                    R = Moved(R, DX, 0);
                }
                Buttons[I].R = R;
            }
        } else {
            NewCaptionRect.Right = FWidth - CaptionRect.Left;
            for (auto& Btn : Buttons)
                Btn.R = {};
        }
    }
    if (!IsNullRect(CaptionRect)) {
        C->Font()->SetName(CaptionFontName);
        C->Font()->SetHeight(CaptionFontHeight);
        C->Font()->SetColor(CaptionFontColor);
        C->Font()->SetStyle(CaptionFontStyle);
        C->Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                            : FDefaultCaptionFont->Charset());
        C->Brush()->SetStyle(bsClear);
        DrawCaption(C, NewCaptionRect, CaptionFontColor);
    }
    if (FShowCaptionButtons)
        for (int I = 0; I < 3; ++I)
            DrawButton(C, I);
}

void TbsSkinCustomListBox::DrawButton(TCanvas* C, int I) {
    const TButtonState& Btn = Buttons[I];
    if (FIndex == -1) {
        const TRect& R = Btn.R;
        if (Btn.MouseIn) {
            C->Brush()->SetColor(HotFrame);
            C->FrameRect(R);
            C->Brush()->SetColor(Btn.Down ? PressedFill : HotFill);
            C->FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
        } else {
            C->Brush()->SetColor(clBtnFace);
            C->FillRect(R);
        }
        if (I == 0)
            DrawArrowImage(C, R, clBlack, 3);
        else if (I == 1)
            DrawArrowImage(C, R, clBlack, 4);
        else
            DrawCheckImage(C, R.Left + 4, R.Top + 4, clBlack);
        return;
    }
    if (IsNullRect(Btn.R) || !Picture)
        return;
    const TRect Normal[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
    const TRect Down[3] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
    const TRect Hot[3] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
    TRect Src;
    if (Btn.Down && Btn.MouseIn)
        Src = Down[I];
    else if (Btn.MouseIn)
        Src = Hot[I];
    if (IsNullRect(Src))
        Src = Moved(Normal[I], SkinRect.Left, SkinRect.Top);
    TBitmap Part;
    Part.SetSize(RectWidth(Btn.R), RectHeight(Btn.R));
    CopyPart(&Part, {0, 0, RectWidth(Btn.R), RectHeight(Btn.R)}, Picture, Src);
    C->Draw(Btn.R.Left, Btn.R.Top, &Part);
}

// ---------------------------------------------------------------- buttons

void TbsSkinCustomListBox::TestActive(int X, int Y) {
    if (!FShowCaptionButtons)
        return;
    if (FIndex != -1 && IsNullRect(UpButtonRect) && IsNullRect(DownButtonRect))
        return;
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int I = 0; I < 3; ++I)
        if (X >= Buttons[I].R.Left && X < Buttons[I].R.Right && Y >= Buttons[I].R.Top &&
            Y < Buttons[I].R.Bottom) {
            ActiveButton = I;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton)
        ActiveButton = -1;
    if (ActiveButton == OldActiveButton)
        return;
    if (OldActiveButton != -1)
        ButtonLeave(OldActiveButton);
    if (ActiveButton != -1)
        ButtonEnter(ActiveButton);
}

void TbsSkinCustomListBox::ButtonEnter(int I) {
    Buttons[I].MouseIn = true;
    Repaint();
    if (TimerMode != 0 && Buttons[I].Down)
        SetTimer(Handle(), 1, 50, nullptr);
}

void TbsSkinCustomListBox::ButtonLeave(int I) {
    Buttons[I].MouseIn = false;
    Repaint();
    if (TimerMode != 0 && Buttons[I].Down)
        KillTimer(Handle(), 1);
}

namespace {

const TNotifyEvent& ButtonEvent(const TbsSkinCustomListBox* L, int I) {
    return I == 0 ? L->OnUpButtonClick : I == 1 ? L->OnDownButtonClick : L->OnCheckButtonClick;
}

} // namespace

void TbsSkinCustomListBox::ButtonDown(int I, int, int) {
    Buttons[I].MouseIn = true;
    Buttons[I].Down = true;
    Repaint();
    if (ButtonEvent(this, I))
        return;
    TimerMode = I == 0 ? 1 : I == 1 ? 2 : 0;
    if (TimerMode != 0) {
        WaitMode = true;
        SetTimer(Handle(), 1, 500, nullptr);
    }
}

void TbsSkinCustomListBox::StepButton(int I) {
    const int Index = ItemIndex();
    if (I == 0) {
        if (Index > 0)
            SetItemIndex(Index - 1);
    } else if (I == 1) {
        if (Index < Items()->Count() - 1)
            SetItemIndex(Index + 1);
    } else {
        ListBox->Click();
    }
}

void TbsSkinCustomListBox::ButtonUp(int I, int, int) {
    Buttons[I].Down = false;
    if (I != ActiveButton)
        Buttons[I].MouseIn = false;
    Repaint();
    const TNotifyEvent& Event = ButtonEvent(this, I);
    if (Buttons[I].MouseIn && Event) {
        Event(this);
        return;
    }
    StepButton(I);
    if (TimerMode != 0)
        StopTimer();
}

void TbsSkinCustomListBox::StartTimer(int) {
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, 100, nullptr);
}

void TbsSkinCustomListBox::StopTimer() {
    KillTimer(Handle(), 1);
    TimerMode = 0;
}

void TbsSkinCustomListBox::WMTimer() {
    if (WaitMode) {
        WaitMode = false;
        StartTimer(TimerMode);
        return;
    }
    if (TimerMode == 1)
        StepButton(0);
    else if (TimerMode == 2)
        StepButton(1);
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FCaptionMode && FShowCaptionButtons) {
        TestActive(X, Y);
        if (ActiveButton != -1) {
            CaptureButton = ActiveButton;
            ButtonDown(ActiveButton, X, Y);
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FCaptionMode && FShowCaptionButtons)
        TestActive(X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FCaptionMode && FShowCaptionButtons) {
        const int Captured = CaptureButton;
        CaptureButton = -1;
        if (Captured != -1)
            ButtonUp(Captured, X, Y);
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}
