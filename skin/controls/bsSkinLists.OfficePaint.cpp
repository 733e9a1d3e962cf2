#include "skin/controls/bsSkinLists.h"

#include "skin/model/bsUtils.ButtonFace.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

TRect Shrunk(TRect R, int D) {
    return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D};
}

template <class TElement> TElement* Element(TbsSkinData* SD, const char* Name) {
    if (!SD || SD->Empty)
        return nullptr;
    const int I = SD->GetControlIndex(Name);
    return I == -1 ? nullptr : dynamic_cast<TElement*>(SD->CtrlList[I].get());
}

} // namespace

void TbsSkinOfficeListBox::PaintItems(TBitmap* B, bool) {
    CalcItemRects();
    const HDC DC = B->Canvas()->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, FItemsRect.Left, FItemsRect.Top, FItemsRect.Right, FItemsRect.Bottom);
    for (int I = 0; I < FItems->Count(); ++I)
        if (FItems->Items(I)->IsVisible)
            DrawItem(I, B->Canvas());
    RestoreDC(DC, Saved);
}

void TbsSkinOfficeListBox::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clWindow);
    C->FillRect({0, 0, FWidth, FHeight});
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect({0, 0, FWidth, FHeight});
    PaintItems(B, false);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    PaintItems(B, true);
}

void TbsSkinOfficeListBox::DrawItem(int Index, TCanvas* Cnvs) {
    if (FIndex == -1)
        DefaultDrawItem(Index, Cnvs);
    else
        SkinDrawItem(Index, Cnvs);
}

void TbsSkinOfficeListBox::DrawRowContent(int Index, TCanvas* C, TRect R, bool Skinned) {
    TbsSkinOfficeItem* Item = FItems->Items(Index);
    if (!Item->Title().empty() && FShowItemTitles) {
        TFontStyles Style = C->Font()->Style();
        Style.Include(fsBold);
        C->Font()->SetStyle(Style);
        TRect T = R;
        T.Bottom = T.Top + C->TextHeight(Item->Title());
        DrawText(CanvasTextDC(C), Item->Title(), -1, &T, 0);
        Style.Exclude(fsBold);
        C->Font()->SetStyle(Style);
        R.Top = T.Bottom;
    }
    if (FImages && Item->ImageIndex() >= 0 && Item->ImageIndex() < FImages->Count()) {
        DrawImageAndTextLeft(C, R, 0, clNone, false, Item->Enabled(), false, FImages,
                             Item->ImageIndex(), Item->Caption(), blGlyphLeft, 2);
        return;
    }
    if (FShowItemTitles)
        R.Left += 10;
    TRect M{0, 0, RectWidth(R), RectHeight(R)};
    DrawText(CanvasTextDC(C), Item->Caption(), -1, &M, DT_CALCRECT | DT_WORDBREAK);
    const int W = RectWidth(M), H = RectHeight(M);
    const int Top = std::max(R.Top, R.Top + RectHeight(R) / 2 - H / 2);
    TRect T{R.Left, Top, R.Left + W, Top + H};
    DrawText(CanvasTextDC(C), Item->Caption(), -1, &T,
             Skinned ? DT_EXPANDTABS | DT_WORDBREAK : DT_WORDBREAK);
}

void TbsSkinOfficeListBox::DefaultDrawItem(int Index, TCanvas* C) {
    TbsSkinOfficeItem* Item = FItems->Items(Index);
    TColor Fill = clWindow, Text = Item->Enabled() ? clWindowText : clGray;
    if (Item->Header()) {
        Fill = clBtnShadow;
        Text = clBtnHighlight;
    } else if (Item->Active) {
        Fill = clHighlight;
        Text = clHighlightText;
    }
    C->Font()->Assign(DefaultFont());
    C->Font()->SetColor(Text);
    const HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    const TRect IR = Item->ItemRect;
    IntersectClipRect(DC, IR.Left, IR.Top, IR.Right, IR.Bottom);
    C->Brush()->SetColor(Fill);
    C->FillRect(IR);
    C->Brush()->SetStyle(bsClear);
    TRect R = Shrunk(IR, 2);
    if (Item->Header()) {
        DrawText(CanvasTextDC(C), Item->Caption(), -1, &R, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    } else {
        if (OnDrawItem)
            OnDrawItem(C, Index, IR);
        else
            DrawRowContent(Index, C, R, false);
        if (FShowLines) {
            const TColor Old = C->Pen()->Color();
            C->Pen()->SetColor(clBtnFace);
            C->MoveTo(IR.Left, IR.Bottom - 1);
            C->LineTo(IR.Right, IR.Bottom - 1);
            C->Pen()->SetColor(Old);
        }
    }
    if (Item->Active && Focused())
        C->DrawFocusRect(IR);
    RestoreDC(DC, Saved);
}

void TbsSkinOfficeListBox::SkinDrawItem(int Index, TCanvas* C) {
    TbsSkinOfficeItem* Item = FItems->Items(Index);
    if (Item->Header()) {
        SkinDrawHeaderItem(Index, C);
        return;
    }
    auto* E = Element<TbsDataSkinListBox>(FSD, "listbox");
    if (!E)
        return;
    const TRect IR = Item->ItemRect;
    TRect R = Shrunk(IR, 2);
    C->Brush()->SetStyle(bsClear);
    if (E->FontColor == FDisabledFontColor && FDisabledFontColor == 0)
        FDisabledFontColor = clGray;
    auto SetFont = [this, E](TCanvas* Cnvs) {
        if (UseSkinFont()) {
            Cnvs->Font()->SetName(E->FontName);
            Cnvs->Font()->SetHeight(E->FontHeight);
            Cnvs->Font()->SetStyle(E->FontStyle);
        } else {
            Cnvs->Font()->Assign(DefaultFont());
        }
        Cnvs->Font()->SetCharset(FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                        : DefaultFont()->Charset());
    };
    SetFont(C);
    const bool OwnColour = FSkinDataName == "listbox" || FSkinDataName == "memo";
    C->Font()->SetColor(!Item->Enabled() ? FDisabledFontColor
                        : OwnColour      ? E->FontColor
                                         : FSD->SkinColors()->cBtnText());
    TBitmap* Pic = FSD->ActivePicture(E->PictureIndex);
    // Without a row picture the active row looks like any other row.
    if (Item->Active && Item->Enabled() && Pic) {
        TBitmap B;
        B.SetSize(RectWidth(IR), RectHeight(IR));
        MakeNinePartBitmapByClRect(&B, Pic, Focused() ? E->FocusItemRect : E->ActiveItemRect,
                                   E->ItemTextRect, true);
        TCanvas* BC = B.Canvas();
        SetFont(BC);
        BC->Font()->SetColor(Focused() ? E->FocusFontColor : E->ActiveFontColor);
        BC->Brush()->SetStyle(bsClear);
        const TRect BR{2, 2, B.Width() - 2, B.Height() - 2};
        if (OnDrawItem)
            OnDrawItem(BC, Index, BR);
        else
            DrawRowContent(Index, BC, BR, true);
        C->Draw(IR.Left, IR.Top, &B);
        return;
    }
    const HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, IR.Left, IR.Top, IR.Right, IR.Bottom);
    if (OnDrawItem)
        OnDrawItem(C, Index, R);
    else
        DrawRowContent(Index, C, R, true);
    if (FShowLines) {
        const TColor Old = C->Pen()->Color();
        C->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
        C->MoveTo(IR.Left, IR.Bottom - 1);
        C->LineTo(IR.Right, IR.Bottom - 1);
        C->Pen()->SetColor(Old);
    }
    RestoreDC(DC, Saved);
}

void TbsSkinOfficeListBox::SkinDrawHeaderItem(int Index, TCanvas* C) {
    auto* H = Element<TbsDataSkinLabelControl>(FSD, "menuheader");
    if (!H)
        H = Element<TbsDataSkinLabelControl>(FSD, "label");
    TBitmap* Pic = H ? FSD->ActivePicture(H->PictureIndex) : nullptr;
    if (!Pic)
        return;
    TbsSkinOfficeItem* Item = FItems->Items(Index);
    const TRect IR = Item->ItemRect;
    TBitmap B;
    B.SetSize(RectWidth(IR), RectHeight(IR));
    MakeNinePartBitmapByClRect(&B, Pic, H->SkinRect, H->ClRect, true);
    TCanvas* BC = B.Canvas();
    BC->Font()->SetName(H->FontName);
    BC->Font()->SetColor(H->FontColor);
    BC->Font()->SetHeight(H->FontHeight);
    BC->Font()->SetStyle(H->FontStyle);
    BC->Brush()->SetStyle(bsClear);
    TRect R{1, 1, B.Width() - 1, B.Height() - 1};
    DrawText(CanvasTextDC(BC), Item->Caption(), -1, &R, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    C->Draw(IR.Left, IR.Top, &B);
}
