// The menu bar's painting: one bitmap per paint for the whole bar, single
// objects drawn straight onto the bar for hover, morph and animation steps.
#include "skin/forms/bsSkinMainMenuBar.h"

#include "skin/forms/SkinCaptionButton.h"
#include "skin/forms/SkinMorph.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.ParentBackground.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

constexpr TColor cNavy = RGB(0, 0, 128);
constexpr TColor cDownFill = RGB(133, 147, 181);
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

TbsCaptionGlyph GlyphOf(TbsStdCommand Command) {
    switch (Command) {
    case cmClose:
        return cgClose;
    case cmMaximize:
        return cgRestore;
    case cmMinimize:
        return cgMinimize;
    case cmSysMenu:
        return cgSysMenu;
    default:
        return cgNone;
    }
}

} // namespace

// ---------------------------------------------------------------- morphing

void TbsMenuBarObject::SetMorphKf(double Value) {
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

bool TbsMenuBarObject::EnableMorphing() const {
    return Morphing && Parent->SkinEffects();
}

bool TbsMenuBarObject::CanMorphing() {
    return (!FDown || NoArea(DownRect)) && ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0));
}

void TbsMenuBarObject::DoMorphing() {
    SetMorphKf(FMorphKf + (Active ? 0.2 : -0.2));
    Parent->DrawSkinObject(this);
}

void TbsMenuBarObject::StartMorphing() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

void TbsMenuBarObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    StartMorphing();
}

void TbsMenuBarObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    StartMorphing();
}

bool TbsSkinMainMenuBarItem::EnableAnimation() const {
    return !NoArea(AnimateSkinRect) && FrameCount > 0 && Parent->SkinEffects();
}

void TbsSkinMainMenuBarItem::StartMorphing() {
    if (EnableAnimation()) {
        Parent->AnimateTimer->SetInterval(AnimateInterval > 0 ? unsigned(AnimateInterval) : 25);
        Parent->AnimateTimer->SetEnabled(true);
        return;
    }
    TbsMenuBarObject::StartMorphing();
}

void TbsSkinMainMenuBar::MorphTimerTick(TObject*) {
    bool Any = false;
    // An object's drawing may not change the list, but index anyway: a
    // transparent item repaints the whole bar.
    for (int i = 0; i < ObjectCount(); ++i) {
        TbsMenuBarObject* O = Object(i);
        if (O->EnableMorphing() && O->CanMorphing()) {
            O->DoMorphing();
            Any = true;
        }
    }
    if (!Any)
        MorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::AnimateTimerTick(TObject*) {
    bool Any = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMainMenuBarItem* I = Item(i);
        if (!I->EnableAnimation())
            continue;
        if (I->Active && I->CurrentFrame <= I->FrameCount) {
            ++I->CurrentFrame;
            DrawSkinObject(I);
            Any = true;
        } else if (!I->Active && I->CurrentFrame > 0) {
            --I->CurrentFrame;
            DrawSkinObject(I);
            Any = true;
        }
    }
    if (!Any)
        AnimateTimer->SetEnabled(false);
}

// ---------------------------------------------------------------- the bar

void TbsSkinMainMenuBar::PaintBar(HDC DC) {
    if (Width() <= 0 || Height() <= 0)
        return;
    GetSkinData();
    TBitmap B;
    B.SetSize(Width(), Height());
    TCanvas* C = B.Canvas();
    if (FIndex == -1) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, Width(), Height()});
    } else if (FSD->MainMenuBarTransparent) {
        DrawParentBackground(this, C);
    } else if (Picture) {
        MakeHorzThreePartBitmap(ItemsRect.Left, RectW(SkinRect) - ItemsRect.Right, &B, Picture,
                                SkinRect, Width(), Height(), StretchEffect);
    }
    CalcItemsRect();
    Scroll = false;
    for (int i = 0; i < ObjectCount(); ++i)
        if (Object(i)->TbsMenuBarObject::Visible)
            Object(i)->Draw(C);
    if (Scroll && FScrollMenu)
        DrawScrollArrow(C);
    BitBlt(DC, 0, 0, B.Width(), B.Height(), C->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinMainMenuBar::DrawSkinObject(TbsMenuBarObject* AObject) {
    if (!HandleAllocated())
        return;
    if (FIndex != -1 && ItemTransparent && dynamic_cast<TbsSkinMainMenuBarItem*>(AObject)) {
        Repaint();
        return;
    }
    if (AObject->TbsMenuBarObject::Visible)
        AObject->Draw(Canvas());
}

TRect TbsSkinMainMenuBar::ScrollArrowRect() const {
    return {NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom};
}

void TbsSkinMainMenuBar::DrawScrollArrow(TCanvas* C) {
    TColor Color;
    if (FIndex == -1)
        Color = MarkerActive ? clBtnText : clBtnShadow;
    else
        Color = TColor(MarkerActive ? TrackMarkActiveColor : TrackMarkColor);
    DrawArrowImage(C, ScrollArrowRect(), Color, 2);
}

// ---------------------------------------------------------------- items

void TbsSkinMainMenuBarItem::SetItemFont(TCanvas* C) const {
    TbsSkinMainMenuBar* Bar = Parent;
    if (FSkinSupport && Bar->UseSkinFont()) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
    } else
        C->Font()->Assign(Bar->DefItemFont());
    if (Bar->SkinData() && Bar->SkinData()->ResourceStrData())
        C->Font()->SetCharset(Bar->SkinData()->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(Bar->DefItemFont()->Charset());
}

int TbsSkinMainMenuBarItem::CaptionWidth() {
    TBitmap M;
    M.SetSize(1, 1);
    SetItemFont(M.Canvas());
    TRect R{0, 0, 0, 0};
    DrawWideText(M.Canvas(), MenuItem->Caption(), R, DT_CALCRECT | DT_CENTER);
    return RectW(R);
}

bool TbsSkinMainMenuBarItem::Place(TCanvas*) {
    TbsSkinMainMenuBar* Bar = Parent;
    int Left = 0;
    for (int i = Bar->ButtonsCount; i < Bar->ObjectCount(); ++i) {
        if (Bar->Object(i) == this)
            break;
        Left = Bar->Object(i)->ObjectRect.Right;
    }
    if (Left == 0)
        Left = Bar->NewItemsRect.Left;
    const int TW = CaptionWidth();
    if (FSkinSupport)
        ObjectRect = {Left, Bar->NewItemsRect.Top, Left + RectW(SkinRect) - RectW(TextRct) + TW + 2,
                      Bar->NewItemsRect.Top + RectH(SkinRect)};
    else
        ObjectRect = {Left, Bar->NewItemsRect.Top, Left + TW + 12, Bar->NewItemsRect.Bottom};
    const int Limit = Bar->ScrollMenu() ? Bar->NewItemsRect.Right - 5 : Bar->NewItemsRect.Right;
    if (ObjectRect.Right > Limit) {
        Bar->Scroll = true;
        if (Visible) {
            OldEnabled = Enabled;
            Enabled = false;
            Visible = false;
        }
        return false;
    }
    if (!Visible) {
        Visible = true;
        Enabled = OldEnabled;
    }
    return true;
}

void TbsSkinMainMenuBarItem::DrawCaption(TCanvas* C, TRect R, bool Selected) {
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, C, R, Selected);
        return;
    }
    DrawWideText(C, MenuItem->Caption(), R,
                 Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

TRect TbsSkinMainMenuBarItem::FrameRect(int Frame) const {
    const TRect& A = AnimateSkinRect;
    if (RectH(A) > RectH(SkinRect)) {
        const int h = RectH(A) / FrameCount;
        return {A.Left, A.Top + h * (Frame - 1), A.Right, A.Top + h * Frame};
    }
    const int w = RectW(A) / FrameCount;
    return {A.Left + w * (Frame - 1), A.Top, A.Left + w * Frame, A.Bottom};
}

void TbsSkinMainMenuBarItem::DrawFace(TBitmap* B, const TRect& S, bool H) {
    const int W = RectW(ObjectRect), Ht = RectH(ObjectRect);
    B->SetSize(W, Ht);
    TCanvas* C = B->Canvas();
    if (Picture) {
        if (Parent->ItemTransparent && S == SkinRect)
            C->CopyRect({0, 0, W, Ht}, Parent->BarCanvasForFace, ObjectRect);
        else
            MakeHorzThreePartBitmap(LO, RO, B, Picture, S, W, Ht, H && StretchEffect);
    }
    SetItemFont(C);
    C->Brush()->SetStyle(bsClear);
    TColor Color;
    if (FDown)
        Color = DownFontColor;
    else if (H)
        Color = ActiveFontColor;
    else if (MenuItem->Enabled())
        Color = FontColor;
    else
        Color = UnEnabledFontColor;
    C->Font()->SetColor(Color);
    TRect R{TextRct.Left, TextRct.Top, TextRct.Left, TextRct.Top};
    DrawWideText(C, MenuItem->Caption(), R, DT_CALCRECT | DT_CENTER);
    R.Right += 2;
    DrawCaption(C, R, H);
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
    if (!Place(Cnvs))
        return;
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (NoArea(SkinRect) || NoArea(TextRct))
        return;
    Parent->BarCanvasForFace = Cnvs;
    TBitmap B;
    if (FDown)
        DrawFace(&B, DownRect, true);
    else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount)
        DrawFace(&B, FrameRect(CurrentFrame), true);
    else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        TBitmap To;
        DrawFace(&B, SkinRect, false);
        DrawFace(&To, ActiveSkinRect, true);
        auto E1 = TbsEffectBmp::CreateFromhWnd(B.Handle());
        auto E2 = TbsEffectBmp::CreateFromhWnd(To.Handle());
        if (E1 && E2) {
            MorphByKind(*E1, *E2, FMorphKf, MorphKind);
            E1->Draw(B.Canvas()->Handle(), 0, 0);
        }
    } else if (Active)
        DrawFace(&B, NoArea(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true);
    else
        DrawFace(&B, SkinRect, false);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs) {
    const int W = RectW(ObjectRect), H = RectH(ObjectRect);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    if (FDown || FMouseIn) {
        C->Brush()->SetColor(cNavy);
        C->FillRect({0, 0, W, H});
        C->Brush()->SetColor(FDown ? cDownFill : cHotFill);
        C->FillRect({1, 1, W - 1, H - 1});
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, W, H});
    }
    SetItemFont(C);
    C->Brush()->SetStyle(bsClear);
    const int TH = GetWideTextHeight(C, MenuItem->Caption());
    TRect R{0, H / 2 - TH / 2, W, H / 2 - TH / 2 + TH};
    if (FDown) {
        ++R.Left;
        ++R.Right;
        ++R.Top;
        ++R.Bottom;
    }
    DrawCaption(C, R, Active);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

// ---------------------------------------------------------------- MDI buttons

void TbsSkinMainMenuBarButton::Draw(TCanvas* Cnvs) {
    if (!FSkinSupport || !Picture) {
        DefaultDraw(Cnvs);
        return;
    }
    const int W = RectW(ObjectRect), H = RectH(ObjectRect);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    const auto Copy = [&](TBitmap* To, const TRect& S) {
        To->SetSize(W, H);
        To->Canvas()->CopyRect({0, 0, W, H}, Picture->Canvas(), S);
    };
    if (FDown && Active && !NoArea(DownRect))
        Copy(&B, DownRect);
    else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        TBitmap To;
        Copy(&B, SkinRect);
        Copy(&To, ActiveSkinRect);
        auto E1 = TbsEffectBmp::CreateFromhWnd(B.Handle());
        auto E2 = TbsEffectBmp::CreateFromhWnd(To.Handle());
        if (E1 && E2) {
            MorphByKind(*E1, *E2, FMorphKf, MorphKind);
            E1->Draw(B.Canvas()->Handle(), 0, 0);
        }
    } else if (Active && !NoArea(ActiveSkinRect))
        Copy(&B, ActiveSkinRect);
    else
        Copy(&B, SkinRect);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs) {
    DrawDefaultCaptionButton(Cnvs, ObjectRect, GlyphOf(Command), FDown, Active, Enabled);
}
