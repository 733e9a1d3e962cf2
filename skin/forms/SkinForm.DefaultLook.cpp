// TbsSkinForm: the plain frame drawn when no usable skin is attached.
#include "skin/forms/SkinForm.h"

#include "platform/gdi/Icons.h"
#include "platform/win/Windows.h"
#include "skin/model/bsUtils.h"

#include <algorithm>

namespace {

bool ToolWindowStyle(TFormBorderStyle S) {
    return S == bsToolWindow || S == bsSizeToolWin;
}

} // namespace

int TbsSkinForm::GetDefCaptionHeight() {
    return ToolWindowStyle(FForm->BorderStyle()) ? 15 : 19;
}

int TbsSkinForm::GetDefButtonSize() {
    return ToolWindowStyle(FForm->BorderStyle()) ? 13 : 17;
}

void TbsSkinForm::GetSmallIconSize(int& W, int& H) {
    W = GetSystemMetrics(SM_CXSMICON);
    H = GetSystemMetrics(SM_CYSMICON);
    if (W == 0)
        W = GetSystemMetrics(SM_CXSIZE);
    if (H == 0)
        H = GetSystemMetrics(SM_CYSIZE);
}

TbsSkinStdButtonObject* TbsSkinForm::DefaultButton(TbsStdCommand Command) {
    for (auto& O : ObjectList) {
        auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        if (B && B->Command == Command && B->Visible && B->SkinRectInAPicture)
            return B;
    }
    return nullptr;
}

void TbsSkinForm::CalcDefRects() {
    if (ObjectList.empty())
        return;
    if (FFormWidth == 0)
        FFormWidth = FForm->Width();
    const int CH = GetDefCaptionHeight();
    const int Size = GetDefButtonSize();
    NewDefCaptionRect = TRect{3, 3, FFormWidth - 3, CH};
    int X = FFormWidth - 3;
    for (TbsStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (TbsSkinStdButtonObject* B = DefaultButton(C)) {
            B->ObjectRect = TRect{X - Size, 4, X, 4 + Size};
            X -= Size;
        }
    NewDefCaptionRect.Right = X;
    X = NewDefCaptionRect.Left;
    if (TbsSkinStdButtonObject* B = DefaultButton(cmSysMenu)) {
        int W = Size, H = Size;
        if (FShowIcon)
            GetSmallIconSize(W, H);
        B->ObjectRect = TRect{X, 4, X + W, 4 + H};
        NewDefCaptionRect.Left = X + W;
    }
}

void TbsSkinForm::PaintNCDefault(HDC DC, bool AUseExternalDC) {
    if (FSD && FSD->ChangeSkinDataProcess)
        return;
    if (FFormWidth == 0)
        FFormWidth = FForm->Width();
    if (FFormHeight == 0)
        FFormHeight = FForm->Height();
    CalcDefRects();
    const HWND Wnd = FForm->Handle();
    const HDC Target = AUseExternalDC ? DC : GetWindowDC(Wnd);
    if (!Target)
        return;
    const int Saved = AUseExternalDC ? SaveDC(Target) : 0;
    TCanvas Canvas;
    Canvas.SetHandle(Target);
    const int CH = GetDefCaptionHeight();
    const int W = FForm->Width(), H = FForm->Height();

    TBitmap Band;
    Band.SetSize(std::max(0, W - 6), CH);
    TCanvas* B = Band.Canvas();
    B->Brush()->SetColor(clBtnFace);
    B->FillRect(TRect{0, 0, Band.Width(), CH});

    const int X1 = NewDefCaptionRect.Left - 3;
    const int X2 = NewDefCaptionRect.Right - 3;
    if (CH >= 6) {
        bool Light = true;
        for (int Y = 2; Y <= CH - 4; ++Y) {
            B->Pen()->SetColor(Light ? clBtnHighlight : clBtnShadow);
            B->MoveTo(X1 + 2, Y);
            B->LineTo(X2 - 3, Y);
            Light = !Light;
        }
    }
    const bool Active = GetFormActive();
    B->Font()->Assign(Active ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
    if (FSD && FSD->ResourceStrData())
        B->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    std::string Text = FForm->Caption();
    if (IsMDIForm() && FMDIChildMaximized)
        if (TCustomForm* Child = FindMaximizedChild())
            Text += " - [" + Child->Caption() + "]";
    if (OnCaptionPaint)
        OnCaptionPaint(B, TRect{X1, 0, X2, CH}, Active);
    else if (!Text.empty()) {
        CorrectWideTextByWidth(B, Text, X2 - X1 + 3);
        const int Left = X1 + (X2 - X1 + 3) / 2 - (GetWideTextWidth(B, Text) + 5) / 2;
        const int Top = CH / 2 - GetWideTextHeight(B, Text) / 2;
        TRect TR{Left, Top, Left, Top};
        DrawWideText(B, Text, TR, DT_CALCRECT);
        TRect Box = TR;
        InflateRect(&Box, 2, 2);
        B->Brush()->SetColor(clBtnFace);
        B->FillRect(Box);
        B->Brush()->SetStyle(bsClear);
        DrawWideText(B, Text, TR, DT_VCENTER);
        B->Brush()->SetStyle(bsSolid);
    }
    if (ObjectList.empty() && !FSkinSupport)
        CreateDefaultObjects();
    if (!ObjectList.empty()) {
        CalcDefRects();
        for (auto& O : ObjectList) {
            if (!O->Visible)
                continue;
            OffsetRect(&O->ObjectRect, -3, -3);
            O->Draw(B, true);
            OffsetRect(&O->ObjectRect, 3, 3);
        }
    }
    ExcludeClipRect(Target, 3, 3 + CH, W - 3, H - 3);
    if (!Band.Empty())
        BitBlt(Target, 3, 3, Band.Width(), Band.Height(), B->Handle(), 0, 0, SRCCOPY);
    TRect R{0, 0, W, H};
    Frame3D(&Canvas, R, cl3DLight, cl3DDkShadow, 1);
    Frame3D(&Canvas, R, clBtnHighlight, clBtnShadow, 1);
    Frame3D(&Canvas, R, clBtnFace, clBtnFace, 1);
    Canvas.SetHandle(nullptr);
    if (Saved)
        RestoreDC(Target, Saved);
    if (!AUseExternalDC)
        ReleaseDC(Wnd, Target);
}

void TbsSkinForm::PaintBGDefault(HDC DC) {
    if (!DC)
        return;
    TCanvas C;
    C.SetHandle(DC);
    C.Brush()->SetColor(clBtnFace);
    C.FillRect(FForm->ClientRect());
    if (!FLogoBitMap->Empty())
        DrawLogo(&C);
    C.SetHandle(nullptr);
}

void TbsSkinForm::PaintMDIBGDefault(HDC DC) {
    if (!DC)
        return;
    TCanvas C;
    C.SetHandle(DC);
    C.Brush()->SetColor(clAppWorkSpace);
    C.FillRect(FForm->ClientRect());
    if (!FLogoBitMap->Empty())
        DrawLogo(&C);
    C.SetHandle(nullptr);
}

void TbsSkinForm::DrawLogo(TCanvas* Canvas) {
    const int X = std::max(0, FForm->ClientWidth() / 2 - FLogoBitMap->Width() / 2);
    const int Y = std::max(0, FForm->ClientHeight() / 2 - FLogoBitMap->Height() / 2);
    if (FLogoBitMap->Transparent() != FLogoBitMapTransparent)
        FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
    Canvas->Draw(X, Y, FLogoBitMap.get());
}

void TbsSkinForm::PrepareFormIcon() {
    if (FIcon)
        return;
    int W, H;
    GetSmallIconSize(W, H);
    HICON Source = nullptr;
    if (!FForm->Icon()->Empty())
        Source = FForm->Icon()->Handle();
    else if (Application && !Application->Icon()->Empty())
        Source = Application->Icon()->Handle();
    HICON Copy;
    if (Source)
        Copy = CopyImage(Source, IMAGE_ICON, W, H, LR_COPYFROMRESOURCE);
    else {
        // The stock icon is shared; only the copy is ours.
        Copy = CopyImage(LoadIcon(nullptr, IDI_APPLICATION), IMAGE_ICON, W, H, LR_COPYFROMRESOURCE);
    }
    FIcon = std::make_unique<TIcon>();
    FIcon->SetHandle(Copy);
    DestroyIcon(Copy);
}

void TbsSkinForm::DrawFormIcon(TCanvas* Canvas, int X, int Y) {
    PrepareFormIcon();
    DrawIconEx(Canvas->Handle(), X, Y, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

void TbsSkinForm::SetDefCaptionFont(TFont* Value) {
    FDefCaptionFont->Assign(Value);
    if (!ComponentState().Contains(csLoading) && !FSkinSupport)
        RepaintFrame();
}

void TbsSkinForm::SetDefInActiveCaptionFont(TFont* Value) {
    FDefInActiveCaptionFont->Assign(Value);
    if (!ComponentState().Contains(csLoading) && !FSkinSupport)
        RepaintFrame();
}

void TbsSkinForm::SetShowIcon(bool Value) {
    FShowIcon = Value;
    if (!ComponentState().Contains(csLoading))
        RepaintFrame();
}

void TbsSkinForm::SetLogoBitMap(TBitmap* Value) {
    FLogoBitMap->Assign(Value);
}
