// The drawn items of a popup menu window: both looks, morphing and frame
// animation, and hovering and choosing handed to the chain.
#include "skin/forms/bsSkinMenus.h"

#include "platform/gdi/ImageList.h"
#include "skin/forms/SkinMorph.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

constexpr TColor cNavy = RGB(0, 0, 128);
constexpr TColor cHotFill = RGB(182, 189, 210);

int RectW(const TRect& R) {
    return R.Right - R.Left;
}
int RectH(const TRect& R) {
    return R.Bottom - R.Top;
}
bool NoArea(const TRect& R) {
    return RectW(R) <= 0 || RectH(R) <= 0;
}

std::string ShortCutTextOf(const TMenuItem* Item) {
    return Item->ShortCut() != 0 ? ShortCutToText(Item->ShortCut()) : std::string();
}

// The plain look's font: the chain's default font with the skin's charset.
void SetDefaultFont(TCanvas* C, TbsSkinMenu* Menu) {
    C->Font()->Assign(Menu->DefaultMenuItemFont());
    if (Menu->SkinData && Menu->SkinData->ResourceStrData())
        C->Font()->SetCharset(Menu->SkinData->ResourceStrData()->CharSet());
}

} // namespace

void DrawMenuCheckGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (int i = 0; i <= 2; ++i) {
        Canvas->MoveTo(X, Y + 5 - i);
        Canvas->LineTo(X + 2, Y + 7 - i);
        Canvas->LineTo(X + 7, Y + 2 - i);
    }
}

void DrawMenuSubArrow(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (int i = 0; i <= 3; ++i) {
        Canvas->MoveTo(X + i, Y + i);
        Canvas->LineTo(X + i, Y + 7 - i);
    }
}

void DrawMenuRadioDot(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Ellipse(X, Y, X + 6, Y + 6);
}

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem,
                                 TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
    if (MI && Parent->SD)
        ActivePicture = Parent->SD->ActivePicture(MI->ActivePictureIndex);
    // An element without a picture to draw from gives the plain look.
    if (!ActivePicture)
        MI = nullptr;
}

void TbsSkinMenuItem::SetMorphKf(double Value) {
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

bool TbsSkinMenuItem::IsSeparator() const {
    return MenuItem->Caption() == "-";
}

bool TbsSkinMenuItem::IsHeader() const {
    const std::string& C = MenuItem->Caption();
    return !C.empty() && C.front() == '-' && C.back() == '-' && !MenuItem->Enabled();
}

bool TbsSkinMenuItem::Usable() const {
    return MenuItem->Enabled() && !IsSeparator();
}

int TbsSkinMenuItem::ItemHeight() const {
    int H;
    if (MI)
        H = IsSeparator() ? RectH(MI->DividerRect) : RectH(MI->SkinRect);
    else
        H = IsSeparator() ? 4 : Parent->ParentMenu->DefaultMenuItemHeight();
    // A damaged element must still leave every item a row of its own.
    return std::max(H, 1);
}

bool TbsSkinMenuItem::EnableMorphing() const {
    const TbsSkinData* S = Parent->SD;
    return MI && MI->Morphing && S && !S->Empty && S->EnableSkinEffects();
}

bool TbsSkinMenuItem::EnableAnimation() const {
    const TbsSkinData* S = Parent->SD;
    return MI && !NoArea(MI->AnimateSkinRect) && MI->FrameCount > 0 && S && !S->Empty &&
           S->EnableSkinEffects();
}

bool TbsSkinMenuItem::CanMorphing() {
    if (!FVisible && FMorphKf != 0) {
        Active = false;
        Down = false;
        FMorphKf = 0;
    }
    return FVisible && (((Active || Down) && FMorphKf < 1) || (!Active && !Down && FMorphKf > 0));
}

void TbsSkinMenuItem::DoMorphing() {
    SetMorphKf(Active || Down ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->RedrawItem(this);
}

void TbsSkinMenuItem::StartMorphing() {
    if (EnableAnimation()) {
        if (Parent->MorphTimer->Interval() != unsigned(MI->AnimateInterval))
            Parent->MorphTimer->SetInterval(unsigned(std::max(MI->AnimateInterval, 1)));
        if (!MI->InActiveAnimation && !Active) {
            CurrentFrame = 0;
            Parent->RedrawItem(this);
        } else {
            Parent->MorphTimer->SetEnabled(true);
        }
    } else if (EnableMorphing()) {
        if (Parent->MorphTimer->Interval() != 20)
            Parent->MorphTimer->SetInterval(20);
        Parent->MorphTimer->SetEnabled(true);
    } else {
        Parent->RedrawItem(this);
    }
}

void TbsSkinMenuItem::MouseEnter(bool Kb) {
    Active = true;
    if (EnableAnimation())
        CurrentFrame = 0;
    for (auto& Other : Parent->ItemList)
        if (Other.get() != this && Other->Down) {
            Other->Down = false;
            Other->StartMorphing();
        }
    TbsSkinMenu* Menu = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        StartMorphing();
    } else if (Down) {
        const int Index = Menu->IndexOfWindow(Parent);
        if (Menu->PopupCount() - Index - 1 >= 2)
            Menu->PopupWindow(Index + 1)->CollapseSubmenus();
    } else {
        StartMorphing();
        Menu->CheckMenuItem(Parent, this, false, Kb);
    }
    if (Parent->WindowHint != MenuItem->Hint())
        Parent->WindowHint = MenuItem->Hint();
}

void TbsSkinMenuItem::MouseLeave() {
    Active = false;
    if (EnableAnimation())
        CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down)
        StartMorphing();
    TbsSkinMenu* Menu = Parent->ParentMenu;
    if (Menu->WItem == this) {
        Menu->WaitTimer->SetEnabled(false);
        Menu->WItem = nullptr;
    }
}

void TbsSkinMenuItem::MouseDown(int, int) {
    WaitCommand = false;
    if (!Down && MenuItem->Enabled())
        Parent->ParentMenu->CheckMenuItem(Parent, this, true, false);
}

bool TbsSkinMenuItem::HasImage() const {
    if (MenuItem->HasBitmap())
        return true;
    TCustomImageList* L = Parent->ImgL;
    return L && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < L->Count();
}

TRect TbsSkinMenuItem::FrameRect(int Frame) const {
    const TRect& A = MI->AnimateSkinRect;
    if (RectH(A) > RectH(MI->SkinRect)) {
        const int h = RectH(A) / MI->FrameCount;
        return {A.Left, A.Top + h * (Frame - 1), A.Right, A.Top + h * Frame};
    }
    const int w = RectW(A) / MI->FrameCount;
    return {A.Left + w * (Frame - 1), A.Top, A.Left + w * Frame, A.Bottom};
}

void TbsSkinMenuItem::Draw(TCanvas* Cnvs) {
    if (!FVisible)
        return;
    if (!MI) {
        DefaultDraw(Cnvs);
        return;
    }
    const int W = RectW(ObjectRect), H = RectH(ObjectRect);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    if (IsSeparator()) {
        MakeHorzThreePartBitmap(MI->DividerLO, MI->DividerRO, &B, ActivePicture, MI->DividerRect, W,
                                RectH(MI->DividerRect), MI->DividerStretchEffect);
    } else {
        const bool IsActive = Active || Down;
        if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
            const TRect F = FrameRect(CurrentFrame);
            DrawSkinItem(&B, IsActive, &F);
        } else if (EnableMorphing() &&
                   !((IsActive && FMorphKf == 1) || (!IsActive && FMorphKf == 0))) {
            TBitmap From, To;
            From.SetSize(W, H);
            To.SetSize(W, H);
            DrawSkinItem(&From, false, nullptr);
            DrawSkinItem(&To, true, nullptr);
            auto E1 = TbsEffectBmp::CreateFromhWnd(From.Handle());
            auto E2 = TbsEffectBmp::CreateFromhWnd(To.Handle());
            if (E1 && E2) {
                MorphByKind(*E1, *E2, FMorphKf, MI->MorphKind);
                E1->Draw(B.Canvas()->Handle(), 0, 0);
            }
        } else {
            DrawSkinItem(&B, IsActive, nullptr);
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMenuItem::DrawSkinImage(TCanvas* C, const TRect& Source, const TRect& Box) {
    if (NoArea(Source))
        return;
    TBitmap Img;
    Img.SetSize(RectW(Source), RectH(Source));
    Img.Canvas()->CopyRect({0, 0, RectW(Source), RectH(Source)}, ActivePicture->Canvas(), Source);
    Img.SetTransparent(true);
    const int X = std::max(Box.Left, Box.Left + RectW(Box) / 2 - Img.Width() / 2);
    const int Y = std::max(Box.Top, Box.Top + RectH(Box) / 2 - Img.Height() / 2);
    C->Draw(X, Y, &Img);
}

void TbsSkinMenuItem::DrawSkinHeader(TCanvas* C, const TRect& R, const std::string& Caption) {
    TbsSkinData* S = Parent->SD;
    int Index = S ? S->GetControlIndex("menuheader") : -1;
    if (Index < 0 && S)
        Index = S->GetControlIndex("label");
    if (Index < 0)
        return;
    auto* L = dynamic_cast<TbsDataSkinLabelControl*>(S->CtrlList[Index].get());
    TBitmap* Pic = L ? S->ActivePicture(L->PictureIndex) : nullptr;
    if (!L || !Pic || NoArea(L->SkinRect))
        return;
    TBitmap B;
    B.SetSize(RectW(R), RectH(L->SkinRect));
    MakeHorzThreePartBitmap(L->LTPoint.X, RectW(L->SkinRect) - L->RTPoint.X, &B, Pic, L->SkinRect,
                            B.Width(), B.Height(), L->StretchEffect);
    TCanvas* BC = B.Canvas();
    BC->Font()->SetName(L->FontName);
    BC->Font()->SetHeight(L->FontHeight);
    BC->Font()->SetStyle(L->FontStyle);
    BC->Font()->SetColor(L->FontColor);
    BC->Font()->SetCharset(C->Font()->Charset());
    BC->Brush()->SetStyle(bsClear);
    TRect TR{L->ClRect.Left, L->ClRect.Top, B.Width() - (RectW(L->SkinRect) - L->ClRect.Right),
             B.Height()};
    DrawWideText(BC, Caption.substr(1, Caption.size() - 2), TR,
                 Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    C->Draw(R.Left, R.Top + RectH(R) / 2 - B.Height() / 2, &B);
}

void TbsSkinMenuItem::DrawGlyphByName(TCanvas* C, int X, int Y, TColor Color, bool& Drawn) {
    const std::string& N = MenuItem->Name();
    Drawn = true;
    if (N == "BSF_CLOSE" || N == "TRAY_BSF_CLOSE")
        DrawCloseImage(C, X, Y, Color);
    else if (N == "BSF_MINITEM")
        DrawMinimizeImage(C, X, Y, Color);
    else if (N == "BSF_MAXITEM")
        DrawMaximizeImage(C, X, Y, Color);
    else if (N == "BSF_RESTORE" || N == "TRAY_BSF_RESTORE")
        DrawRestoreImage(C, X, Y, Color);
    else if (N == "BSF_ROLLUP")
        DrawRollUpImage(C, X, Y, Color);
    else if (N == "BSF_MINTOTRAY")
        DrawTrayImage(C, X, Y, Color);
    else
        Drawn = false;
}

void TbsSkinMenuItem::DrawImage(TCanvas* C, int X, int Y) {
    if (MenuItem->HasBitmap())
        C->Draw(X, Y, MenuItem->Bitmap());
    else
        Parent->ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
}

void TbsSkinMenuItem::DrawSkinItem(TBitmap* B, bool IsActive, const TRect* Frame) {
    const int W = B->Width();
    const std::string SC = ShortCutTextOf(MenuItem);
    TRect Source = IsActive ? MI->ActiveSkinRect : MI->SkinRect;
    bool Stretch = IsActive ? MI->StretchEffect : MI->InActiveStretchEffect;
    if (Frame) {
        Source = *Frame;
        if (!IsActive && !MI->InActiveStretchEffect)
            Stretch = MI->StretchEffect;
    }
    if (NoArea(Source))
        Source = MI->SkinRect;
    TCanvas* C = B->Canvas();
    if (!IsActive && MI->InActiveTransparent && Parent->FPaintBuffer)
        C->CopyRect({0, 0, W, B->Height()}, Parent->FPaintBuffer->Canvas(), ObjectRect);
    else
        MakeHorzThreePartBitmap(MI->ItemLO, MI->ItemRO, B, ActivePicture, Source, W,
                                std::max(RectH(Source), 1), Stretch);
    int GW = Parent->ImgL ? Parent->GlyphWidth : 16;
    if (!NoArea(MI->ImageRct))
        GW = 0;
    TRect TR = MI->TextRct;
    TR.Right = W - (RectW(MI->SkinRect) - MI->TextRct.Right);
    const int TRh = RectH(TR);

    C->Brush()->SetStyle(bsClear);
    TbsSkinMenu* Menu = Parent->ParentMenu;
    if (Menu->UseSkinFont()) {
        C->Font()->SetName(MI->FontName);
        C->Font()->SetStyle(MI->FontStyle);
        C->Font()->SetHeight(MI->FontHeight);
    } else {
        C->Font()->Assign(Menu->DefaultMenuItemFont());
    }
    if (Menu->SkinData && Menu->SkinData->ResourceStrData())
        C->Font()->SetCharset(Menu->SkinData->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(Menu->DefaultMenuItemFont()->Charset());
    TColor FontColor = IsActive              ? MI->ActiveFontColor
                       : MenuItem->Enabled() ? MI->FontColor
                                             : MI->UnEnabledFontColor;
    C->Font()->SetColor(FontColor);

    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, C, TR, IsActive);
        return;
    }
    if (IsHeader()) {
        DrawSkinHeader(C, {0, 0, W, B->Height()}, MenuItem->Caption());
        return;
    }
    const UINT Flags = Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    TRect R{TR.Left + GW, 0, TR.Right - 16, 0};
    DrawWideText(C, MenuItem->Caption(), R, DT_CALCRECT | DT_SINGLELINE);
    const int dy = TRh / 2 + TR.Top - R.Bottom / 2;
    R.Top += dy;
    R.Bottom += dy;
    R.Right += 2;
    DrawWideText(C, MenuItem->Caption(), R, Flags);
    if (!SC.empty()) {
        TRect S{0, 0, 0, 0};
        DrawWideText(C, SC, S, DT_CALCRECT | DT_SINGLELINE);
        const int SW = RectW(S);
        TRect SR{TR.Right - SW - 16, R.Top, TR.Right - 16, R.Bottom};
        DrawWideText(C, SC, SR, Flags);
    }
    if (MenuItem->Count() > 0) {
        if (NoArea(MI->ArrowImageRect))
            DrawMenuSubArrow(C, TR.Right - 7, TRh / 2 + TR.Top - 4, FontColor);
        else
            DrawSkinImage(C, IsActive ? MI->ActiveArrowImageRect : MI->ArrowImageRect,
                          {TR.Right - RectW(MI->ArrowImageRect) - 5, TR.Top, TR.Right, TR.Bottom});
    }
    const bool Img = HasImage();
    if (MI->UseImageColor)
        FontColor = IsActive ? MI->ActiveImageColor : MI->ImageColor;
    if (Img) {
        const int IW = MenuItem->HasBitmap() ? MenuItem->Bitmap()->Width() : Parent->ImgL->Width();
        const int IH =
            MenuItem->HasBitmap() ? MenuItem->Bitmap()->Height() : Parent->ImgL->Height();
        int X, Y;
        if (NoArea(MI->ImageRct)) {
            X = TR.Left + 2;
            Y = TRh / 2 + TR.Top - IH / 2;
        } else {
            X = RectW(MI->ImageRct) / 2 + MI->ImageRct.Left - IW / 2;
            Y = RectH(MI->ImageRct) / 2 + MI->ImageRct.Top - IH / 2;
        }
        if (MenuItem->Checked()) {
            C->Brush()->SetStyle(bsClear);
            C->Pen()->SetColor(FontColor);
            C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
        }
        DrawImage(C, X, Y);
        return;
    }
    int X, Y;
    if (NoArea(MI->ImageRct)) {
        X = TR.Left + 2;
        Y = TRh / 2 + TR.Top - 4;
    } else {
        X = RectW(MI->ImageRct) / 2 + MI->ImageRct.Left - 4;
        Y = RectH(MI->ImageRct) / 2 + MI->ImageRct.Top - 4;
    }
    bool Drawn = false;
    DrawGlyphByName(C, X, Y, FontColor, Drawn);
    if (Drawn || !MenuItem->Checked())
        return;
    const TRect Box = NoArea(MI->ImageRct) ? TRect{MI->TextRct.Left + 2, MI->TextRct.Top,
                                                   MI->TextRct.Left + 16, MI->TextRct.Bottom}
                                           : MI->ImageRct;
    if (MenuItem->RadioItem()) {
        if (NoArea(MI->RadioImageRect))
            DrawMenuRadioDot(C, X, Y + 1, FontColor);
        else
            DrawSkinImage(C, IsActive ? MI->ActiveRadioImageRect : MI->RadioImageRect, Box);
    } else {
        if (NoArea(MI->CheckImageRect))
            DrawMenuCheckGlyph(C, X, Y, FontColor);
        else
            DrawSkinImage(C, IsActive ? MI->ActiveCheckImageRect : MI->CheckImageRect, Box);
    }
}

void TbsSkinMenuItem::DefaultDraw(TCanvas* Cnvs) {
    const int W = RectW(ObjectRect), H = RectH(ObjectRect);
    if (W <= 0 || H <= 0)
        return;
    const std::string SC = ShortCutTextOf(MenuItem);
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    const int GW = Parent->ImgL ? Parent->GlyphWidth : 19;
    SetDefaultFont(C, Parent->ParentMenu);
    TColor FontColor = clWindowText;
    C->Brush()->SetStyle(bsSolid);
    if ((Active || Down) && !IsSeparator()) {
        C->Brush()->SetColor(cHotFill);
        C->FillRect({0, 0, W, H});
        C->Brush()->SetColor(cNavy);
        C->FrameRect({0, 0, W, H});
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, GW, H});
        C->Brush()->SetColor(clWindow);
        C->FillRect({GW, 0, W, H});
        if (!MenuItem->Enabled())
            FontColor = clBtnShadow;
    }
    C->Font()->SetColor(FontColor);
    if (IsSeparator()) {
        C->Pen()->SetColor(clBtnShadow);
        C->MoveTo(GW, H / 2);
        C->LineTo(W, H / 2);
    } else if (IsHeader()) {
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect({0, 0, W, H});
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(clBtnHighlight);
        const std::string& Cap = MenuItem->Caption();
        TRect R{2, 2, W - 2, H - 2};
        DrawWideText(C, Cap.substr(1, Cap.size() - 2), R,
                     Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    } else {
        C->Brush()->SetStyle(bsClear);
        const TRect IR{2, 2, W - 2, H - 2};
        const int IRh = RectH(IR);
        const UINT Flags = Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        TRect R{IR.Left + GW, 0, IR.Right - 19, 0};
        DrawWideText(C, MenuItem->Caption(), R, DT_CALCRECT | DT_SINGLELINE);
        const int dy = IRh / 2 + IR.Top - R.Bottom / 2;
        R.Top += dy;
        R.Bottom += dy;
        R.Right += 2;
        DrawWideText(C, MenuItem->Caption(), R, Flags);
        if (!SC.empty()) {
            TRect S{0, 0, 0, 0};
            DrawWideText(C, SC, S, DT_CALCRECT | DT_SINGLELINE);
            TRect SR{IR.Right - RectW(S) - 19, R.Top, IR.Right - 19, R.Bottom};
            DrawWideText(C, SC, SR, Flags);
        }
        if (MenuItem->Count() > 0)
            DrawMenuSubArrow(C, IR.Right - 7, IRh / 2 + IR.Top - 4, FontColor);
        if (HasImage()) {
            const int IW =
                MenuItem->HasBitmap() ? MenuItem->Bitmap()->Width() : Parent->ImgL->Width();
            const int IH =
                MenuItem->HasBitmap() ? MenuItem->Bitmap()->Height() : Parent->ImgL->Height();
            const int X = IR.Left + 2, Y = IRh / 2 + IR.Top - IH / 2;
            if (MenuItem->Checked()) {
                C->Brush()->SetStyle(bsClear);
                C->Pen()->SetColor(FontColor);
                C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
            }
            DrawImage(C, X, Y);
        } else {
            bool Drawn = false;
            DrawGlyphByName(C, IR.Left + 2, IRh / 2 + IR.Top - 4, FontColor, Drawn);
            if (!Drawn && MenuItem->Checked()) {
                if (MenuItem->RadioItem())
                    DrawMenuRadioDot(C, IR.Left + 3, IRh / 2 + IR.Top - 4, FontColor);
                else
                    DrawMenuCheckGlyph(C, IR.Left + 3, IRh / 2 + IR.Top - 4, FontColor);
            }
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}
