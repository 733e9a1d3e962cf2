#include "skin/controls/bsSkinCombos.h"

#include "skin/model/bsUtils.ButtonFace.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------- shared pieces

namespace bscombo {

void FrameAndFill(TCanvas* C, const TRect& R, TColor FrameColour, TColor Fill) {
    C->Brush()->SetColor(FrameColour);
    C->FrameRect(R);
    C->Brush()->SetColor(Fill);
    C->FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
}

TbsDataSkinButtonControl* FindButtonElement(TbsSkinData* SD,
                                            std::initializer_list<const char*> Names) {
    if (!SD || SD->Empty)
        return nullptr;
    for (const char* Name : Names) {
        const int I = SD->GetControlIndex(Name);
        if (I == -1)
            continue;
        auto* E = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[I].get());
        // An element whose picture is missing draws nothing of itself.
        if (E && SD->ActivePicture(E->PictureIndex))
            return E;
    }
    return nullptr;
}

void MakeButtonBitmap(TBitmap* B, TbsSkinData* SD, TbsDataSkinButtonControl* E, const TRect& Src,
                      int W, int H) {
    B->SetSize(W, H);
    const int DW = W - RectWidth(E->SkinRect), DH = H - RectHeight(E->SkinRect);
    const TRect NewCl{E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DW, E->ClRect.Bottom + DH};
    MakeNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
                       {E->RTPoint.X + DW, E->RTPoint.Y}, {E->LBPoint.X, E->LBPoint.Y + DH},
                       {E->RBPoint.X + DW, E->RBPoint.Y + DH}, NewCl, B,
                       SD->ActivePicture(E->PictureIndex), Src, W, H, true, E->LeftStretch,
                       E->TopStretch, E->RightStretch, E->BottomStretch, E->StretchEffect,
                       E->StretchType);
}

void DrawMenuGlyph(TCanvas* C, const TRect& R, TbsDataSkinButtonControl* E, TBitmap* Picture,
                   bool Open, bool HotState) {
    if (!Picture)
        return;
    TRect Src;
    if (Open && !IsNullRect(E->MenuMarkerDownRect))
        Src = E->MenuMarkerDownRect;
    else if (Open && !IsNullRect(E->MenuMarkerActiveRect))
        Src = E->MenuMarkerActiveRect;
    else if (!HotState)
        Src = E->MenuMarkerRect;
    else
        Src = IsNullRect(E->MenuMarkerActiveRect) ? E->MenuMarkerRect : E->MenuMarkerActiveRect;
    const int W = RectWidth(Src), H = RectHeight(Src);
    if (W <= 0 || H <= 0)
        return;
    TBitmap G;
    G.SetSize(W, H);
    CopyPart(&G, {0, 0, W, H}, Picture, Src);
    G.SetTransparent(true);
    G.SetTransparentMode(tmFixed);
    G.SetTransparentColor(E->MenuMarkerTransparentColor);
    C->Draw(R.Left + RectWidth(R) / 2 - W / 2, R.Top + RectHeight(R) / 2 - H / 2, &G);
}

TFontCharset FaceCharset(TbsSkinData* SD, TFont* DefaultFont) {
    if (SD && SD->ResourceStrData())
        return SD->ResourceStrData()->CharSet();
    return DefaultFont->Charset();
}

} // namespace bscombo

using namespace bscombo;

namespace {

struct TFaceLayout {
    TRect Button, Item;
};

TFaceLayout FaceRects(bool Plain, int W, int H, const TRect& SkinRect, TPoint RTPt,
                      const TRect& ButtonRect, const TRect& ClRect) {
    TFaceLayout L;
    if (Plain) {
        L.Button = {W - 19, 2, W - 2, H - 2};
        L.Item = {2, 2, L.Button.Left - 1, H - 2};
        return L;
    }
    const int SW = RectWidth(SkinRect);
    L.Button = ButtonRect;
    // Only a button in the fixed right-hand part follows the right edge; one
    // in the stretched middle stays where the skin puts it.
    if (ButtonRect.Left >= RTPt.X) {
        L.Button.Left += W - SW;
        L.Button.Right += W - SW;
    }
    L.Item = ClRect;
    L.Item.Right += W - SW;
    // With the skin size the height is the skin's unless the element lets
    // it grow; either way both areas end as far from the bottom as in the
    // element.
    L.Button.Bottom += H - RectHeight(SkinRect);
    L.Item.Bottom += H - RectHeight(SkinRect);
    return L;
}

void PaintPlainFace(TCanvas* C, int W, int H, TColor DefaultColor) {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect({0, 0, W, H});
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect({0, 0, W, H});
    C->Brush()->SetColor(DefaultColor);
    C->FillRect({2, 2, W - 2, H - 2});
}

void DrawPlainButton(TCanvas* C, const TbsCBButtonX& B, bool Enabled) {
    if (B.Down && B.MouseIn)
        FrameAndFill(C, B.R, Navy, PressedFill);
    else if (B.MouseIn)
        FrameAndFill(C, B.R, Navy, HotFill);
    else
        FrameAndFill(C, B.R, clBtnShadow, clBtnFace);
    DrawArrowImage(C, B.R, Enabled ? clBlack : clBtnShadow, 4);
}

void DrawSkinButtonPart(TCanvas* C, TBitmap* Picture, const TbsCBButtonX& B, bool Enabled,
                        const TRect& UnEnabled, const TRect& Down, const TRect& Active) {
    TRect Src;
    if (!Enabled && !IsNullRect(UnEnabled))
        Src = UnEnabled;
    else if (B.Down && B.MouseIn)
        Src = Down;
    else if (B.MouseIn)
        Src = Active;
    if (IsNullRect(Src) || !Picture)
        return;
    TBitmap Part;
    Part.SetSize(RectWidth(B.R), RectHeight(B.R));
    CopyPart(&Part, {0, 0, RectWidth(B.R), RectHeight(B.R)}, Picture, Src);
    C->Draw(B.R.Left, B.R.Top, &Part);
}

void DrawStretchButtonOf(TCanvas* C, TbsSkinData* SD, TBitmap* OwnPicture, const TbsCBButtonX& B,
                         bool Enabled) {
    TbsDataSkinButtonControl* E =
        FindButtonElement(SD, {"combobutton", "editbutton", "resizebutton"});
    const int W = RectWidth(B.R), H = RectHeight(B.R);
    if (!E || W <= 0 || H <= 0)
        return;
    const bool Held = B.Down && B.MouseIn;
    const TRect Active = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    const TRect Down = IsNullRect(E->DownSkinRect) ? Active : E->DownSkinRect;
    TBitmap Bmp;
    MakeButtonBitmap(&Bmp, SD, E, Held ? Down : B.MouseIn ? Active : E->SkinRect, W, H);
    if (IsNullRect(E->MenuMarkerRect)) {
        if (Enabled)
            DrawArrowImage(Bmp.Canvas(), {0, Held ? 2 : 0, W, H},
                           Held        ? E->DownFontColor
                           : B.MouseIn ? E->ActiveFontColor
                                       : E->FontColor,
                           4);
    } else {
        TRect R{0, Held ? 1 : 0, W, H + (Held ? 1 : 0)};
        DrawMenuGlyph(Bmp.Canvas(), R, E, OwnPicture, Held, B.MouseIn);
    }
    C->Draw(B.R.Left, B.R.Top, &Bmp);
}

// The plain tool face; returns the item's text rectangle.
TRect PaintPlainToolFace(TCanvas* C, int W, int H, bool Open, bool HotState) {
    if (Open)
        FrameAndFill(C, {0, 0, W, H}, Navy, PressedFill);
    else if (HotState)
        FrameAndFill(C, {0, 0, W, H}, Navy, HotFill);
    else
        FrameAndFill(C, {0, 0, W, H}, clBtnShadow, clBtnFace);
    TRect TR{2, 2, W - 17, H - 2};
    if (Open)
        TR = {TR.Left + 2, TR.Top + 2, TR.Right + 2, TR.Bottom + 2};
    return TR;
}

TRect ToolArrowRect(int W, int H, bool Open) {
    TRect R{W - 15, 0, W, H};
    if (Open)
        R = {R.Left + 2, R.Top + 2, R.Right + 2, R.Bottom + 2};
    return R;
}

// The skinned tool face's background and font; nullptr when no element.
TbsDataSkinButtonControl* PaintSkinToolFace(TCanvas* C, TbsSkinData* SD, int W, int H, bool Open,
                                            bool HotState, bool Enabled, bool UseSkinFont,
                                            TFont* DefaultFont) {
    TbsDataSkinButtonControl* E = FindButtonElement(SD, {"resizetoolbutton", "resizebutton"});
    if (!E)
        return nullptr;
    TRect Src = Open ? E->DownSkinRect : HotState ? E->ActiveSkinRect : E->SkinRect;
    if (IsNullRect(Src))
        Src = E->SkinRect;
    TBitmap Bmp;
    MakeButtonBitmap(&Bmp, SD, E, Src, W, H);
    C->Draw(0, 0, &Bmp);
    if (UseSkinFont) {
        C->Font()->SetName(E->FontName);
        C->Font()->SetStyle(E->FontStyle);
        C->Font()->SetHeight(E->FontHeight);
    } else {
        C->Font()->Assign(DefaultFont);
    }
    C->Font()->SetColor(Open       ? E->DownFontColor
                        : HotState ? E->ActiveFontColor
                        : Enabled  ? E->FontColor
                                   : E->DisabledFontColor);
    C->Font()->SetCharset(FaceCharset(SD, DefaultFont));
    C->Brush()->SetStyle(bsClear);
    return E;
}

void DrawToolArrow(TCanvas* C, TbsDataSkinButtonControl* E, TBitmap* Picture, const TRect& R,
                   bool Open, bool HotState) {
    if (E && !IsNullRect(E->MenuMarkerRect))
        DrawMenuGlyph(C, R, E, Picture, Open, HotState);
    else
        DrawDropDownArrow(C, R, E && Open ? E->DownFontColor : C->Font()->Color());
}

} // namespace

// ---------------------------------------------------------------- shared face

int TbsSkinComboBase::ShownIndex() {
    return IsPopupVisible() ? FOldItemIndex : ListIndex();
}

bool TbsSkinComboBase::Hot() {
    return !IsNullRect(ActiveSkinRect) && (FMouseIn || FocusInside());
}

void TbsSkinComboBase::CalcRects() {
    const TFaceLayout L = FaceRects(FIndex == -1 || FToolButtonStyle, FWidth, FHeight, SkinRect,
                                    RTPt, ButtonRect, ClRect);
    Button.R = L.Button;
    CBItem.R = L.Item;
}

void TbsSkinComboBase::ApplyItemFont(TCanvas* C) {
    if (UseSkinFont()) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    C->Font()->SetCharset(FaceCharset(FSD, DefaultFont()));
}

void TbsSkinComboBase::DrawButton(TCanvas* C) {
    if (FIndex == -1)
        DrawPlainButton(C, Button, Enabled());
    else
        DrawSkinButtonPart(C, Picture, Button, Enabled(), UnEnabledButtonRect, DownButtonRect,
                           Hot() || Button.MouseIn ? ActiveButtonRect : TRect{});
}

void TbsSkinComboBase::DrawStretchButton(TCanvas* C) {
    DrawStretchButtonOf(C, FSD, Picture, Button, Enabled());
}

void TbsSkinComboBase::DrawDefaultItemFocus(TCanvas* C, const TRect& R) {
    C->DrawFocusRect(R);
}

void TbsSkinComboBase::DrawFaceText(TCanvas* C, const std::string& S, const TRect& R) {
    DrawTextCenterY(C, S, R);
}

void TbsSkinComboBase::DrawDefaultItem(TCanvas* C) {
    const int W = RectWidth(CBItem.R), H = RectHeight(CBItem.R);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    BC->Font()->SetName(Font()->Name());
    BC->Font()->SetStyle(Font()->Style());
    BC->Font()->SetHeight(Font()->Height());
    BC->Font()->SetCharset(FaceCharset(FSD, DefaultFont()));
    const bool Focus = Focused();
    BC->Brush()->SetColor(Focus ? clHighlight : FDefaultColor);
    BC->Font()->SetColor(Focus ? clHighlightText : DefaultFont()->Color());
    BC->FillRect({0, 0, W, H});
    CBItem.State = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    BC->Brush()->SetStyle(bsClear);
    DrawItemContent(BC, ShownIndex(), {2, 0, W - 2, H}, true, nullptr);
    if (Focus)
        DrawDefaultItemFocus(BC, {0, 0, W, H});
    C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinComboBase::DrawSkinItem(TCanvas* C) {
    const int W = RectWidth(CBItem.R);
    if (W <= 0)
        return;
    int H = RectHeight(SItemRect);
    if (H == 0)
        H = RectHeight(FocusItemRect);
    if (H == 0)
        H = RectHeight(CBItem.R);
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    const bool Focus = Focused();
    const bool HotItem = FMouseIn && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
    const TRect Src = Focus ? FocusItemRect : HotItem ? ActiveItemRect : SItemRect;
    // Without a row picture the item stands on the face itself.
    if (IsNullRect(Src))
        BC->CopyRect({0, 0, W, H}, C,
                     {CBItem.R.Left, CBItem.R.Top, CBItem.R.Left + W, CBItem.R.Top + H});
    else
        MakeHorzThreePartBitmap(ItemLeftOffset, ItemRightOffset, &B, Picture, Src, W, H,
                                Focus ? FocusItemStretchEffect : ItemStretchEffect);
    TRect TR = ItemTextRect;
    TR.Right += W - RectWidth(IsNullRect(SItemRect) ? ClRect : SItemRect);
    // An element without a text rectangle writes into the whole item area.
    if (IsNullRect(ItemTextRect))
        TR = {2, 0, W - 2, H};
    ApplyItemFont(BC);
    BC->Font()->SetColor(SkinItemFontColor(Focus ? FocusFontColor
                                           : (FMouseIn && !IsNullRect(ActiveSkinRect))
                                               ? ActiveFontColor
                                               : FontColor));
    BC->Brush()->SetStyle(bsClear);
    CBItem.State = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    if (Focus)
        DrawSkinItemFocus(BC, {0, 0, W, H});
    DrawItemContent(BC, ShownIndex(), TR, false, nullptr);
    C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinComboBase::DrawDefaultToolFace(TCanvas* C, const std::string* Override) {
    const bool HotState = FMouseIn || Focused();
    const TRect TR = PaintPlainToolFace(C, FWidth, FHeight, FDropDown, HotState);
    C->Font()->Assign(DefaultFont());
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, ShownIndex(), TR, true, Override);
    DrawDropDownArrow(C, ToolArrowRect(FWidth, FHeight, FDropDown), C->Font()->Color());
}

void TbsSkinComboBase::DrawSkinToolFace(TCanvas* C, const std::string* Override) {
    const bool HotState = FMouseIn || Focused();
    TbsDataSkinButtonControl* E = PaintSkinToolFace(C, FSD, FWidth, FHeight, FDropDown, HotState,
                                                    Enabled(), UseSkinFont(), DefaultFont());
    if (!E)
        return;
    TRect TR{2, 2, FWidth - 17, FHeight - 2};
    if (FDropDown)
        TR = {TR.Left + 2, TR.Top + 2, TR.Right + 2, TR.Bottom + 2};
    DrawItemContent(C, ShownIndex(), TR, true, Override);
    DrawToolArrow(C, E, Picture, ToolArrowRect(FWidth, FHeight, FDropDown), FDropDown, HotState);
}

void TbsSkinComboBase::DrawSkinBackground(TBitmap* B) {
    if (!FUseSkinSize)
        MakeNinePartBitmapByClRect(B, Picture, Hot() ? ActiveSkinRect : SkinRect, ClRect, true);
    else if (Hot())
        MakeHorzThreePartBitmap(LTPt.X, RectWidth(ActiveSkinRect) - RTPt.X, B, Picture,
                                ActiveSkinRect, FWidth, FHeight, StretchEffect);
    else
        TbsSkinCustomControl::CreateControlSkinImage(B);
}

void TbsSkinComboBase::CreateControlDefaultImage(TBitmap* B) {
    CalcRects();
    TCanvas* C = B->Canvas();
    if (FToolButtonStyle) {
        DrawDefaultToolFace(C, nullptr);
        return;
    }
    PaintPlainFace(C, FWidth, FHeight, FDefaultColor);
    DrawButton(C);
    // The inner edit covers the item area and draws the text itself.
    if (!HasItemEditor())
        DrawDefaultItem(C);
}

void TbsSkinComboBase::CreateControlSkinImage(TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawSkinToolFace(B->Canvas(), nullptr);
        return;
    }
    DrawSkinBackground(B);
    if (FUseSkinSize)
        DrawButton(B->Canvas());
    else
        DrawStretchButton(B->Canvas());
    if (HasItemEditor())
        return;
    if (FUseSkinSize)
        DrawSkinItem(B->Canvas());
    else
        DrawSkinItemStretched(B->Canvas());
}

void TbsSkinComboBase::PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText) {
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    GetSkinData();
    CalcRects();
    TCanvas* BC = B.Canvas();
    if (FToolButtonStyle) {
        if (FIndex == -1)
            DrawDefaultToolFace(BC, &AText);
        else
            DrawSkinToolFace(BC, &AText);
        C->Draw(X, Y, &B);
        return;
    }
    if (FIndex == -1) {
        PaintPlainFace(BC, FWidth, FHeight, FDefaultColor);
        DrawButton(BC);
        BC->Font()->Assign(DefaultFont());
    } else {
        DrawSkinBackground(&B);
        if (FUseSkinSize)
            DrawButton(BC);
        else
            DrawStretchButton(BC);
        BC->Font()->SetStyle(FontStyle);
        BC->Font()->SetColor(FontColor);
        BC->Font()->SetHeight(FontHeight);
        BC->Font()->SetName(FontName);
    }
    BC->Brush()->SetStyle(bsClear);
    DrawFaceText(BC, AText, CBItem.R);
    C->Draw(X, Y, &B);
}

// ---------------------------------------------------------------- text combo

bool TbsSkinCustomComboBox::FocusInside() {
    return Focused() || (FEdit && FEdit->Focused());
}

TColor TbsSkinCustomComboBox::GetDisabledFontColor() {
    if (FIndex != -1 && FSD) {
        const int I = FSD->GetControlIndex("edit");
        if (I != -1)
            if (auto* E = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[I].get()))
                return E->DisabledFontColor;
    }
    return clGrayText;
}

void TbsSkinCustomComboBox::CalcRects() {
    TbsSkinComboBase::CalcRects();
    if (!FEdit)
        return;
    AdjustEditHeight();
    FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + RectHeight(CBItem.R) / 2 - FEdit->Height() / 2,
                     RectWidth(CBItem.R), FEdit->Height());
}

void TbsSkinCustomComboBox::DrawTabbedText(TCanvas* C, const std::string& S, const TRect& TR) {
    TStrings* TW = TabWidths();
    const int N = std::min(TW->Count(), 10);
    std::vector<int> Stops(std::size_t(std::max(N, 1)), 0);
    for (int I = 0; I < N; ++I)
        Stops[std::size_t(I)] = GetTabStopValue(TW->Strings(I));
    const int Y = TR.Top + RectHeight(TR) / 2 - C->TextHeight(S) / 2;
    TabbedTextOut(CanvasTextDC(C), TR.Left + 2, Y, S, N, Stops.data(), 0);
}

void TbsSkinCustomComboBox::DrawFaceText(TCanvas* C, const std::string& S, const TRect& R) {
    if (TabWidths() && TabWidths()->Count() > 0)
        DrawTabbedText(C, S, R);
    else
        DrawTextCenterY(C, S, R);
}

void TbsSkinCustomComboBox::DrawItemContent(TCanvas* C, int Index, TRect TR, bool,
                                            const std::string* Override) {
    const bool Valid = Index >= 0 && Index < Items()->Count();
    if (!Valid && !Override)
        return;
    if (OnComboBoxDrawItem && Valid && !Override) {
        OnComboBoxDrawItem(C, Index, RectWidth(CBItem.R), RectHeight(CBItem.R), TR, CBItem.State);
        return;
    }
    if (TCustomImageList* IL = Images()) {
        const int N = ImageIndex() >= 0 ? ImageIndex() : Index;
        if (Valid && N >= 0 && N < IL->Count())
            IL->Draw(C, TR.Left, TR.Top + RectHeight(TR) / 2 - IL->Height() / 2, N, Enabled());
        TR.Left += IL->Width() + 2;
    }
    DrawFaceText(C, Override ? *Override : Items()->Strings(Index), TR);
}

void TbsSkinCustomComboBox::DrawDefaultItemFocus(TCanvas* C, const TRect& R) {
    DrawFocusRectangle(C, R);
}

void TbsSkinCustomComboBox::DrawSkinItemFocus(TCanvas* C, const TRect& R) {
    if (!ShowFocus)
        return;
    if (FSD)
        C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawFocusRectangle(C, R);
    C->Brush()->SetStyle(bsClear);
}

TColor TbsSkinCustomComboBox::SkinItemFontColor(TColor Colour) {
    return Enabled() ? Colour : GetDisabledFontColor();
}

void TbsSkinCustomComboBox::DrawSkinItemStretched(TCanvas* C) {
    const int W = RectWidth(CBItem.R), H = RectHeight(CBItem.R);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    const bool Focus = Focused();
    const bool HotItem = FMouseIn && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
    auto Corner = [&](const TRect& Src, TRect R) {
        if (RectWidth(Src) < RectWidth(SItemRect))
            R.Right -= RectWidth(SItemRect) - RectWidth(Src);
        if (RectHeight(Src) < RectHeight(SItemRect))
            R.Bottom -= RectHeight(SItemRect) - RectHeight(Src);
        return R;
    };
    auto CopyFace = [&] { BC->CopyRect({0, 0, W, H}, C, CBItem.R); };
    if (Focus) {
        if (IsNullRect(FocusItemRect))
            CopyFace();
        else
            MakeNinePartBitmapByClRect(
                &B, Picture, FocusItemRect,
                Corner(FocusItemRect, {ItemTextRect.Left + 1, ItemTextRect.Top + 1,
                                       ItemTextRect.Right - 1, ItemTextRect.Bottom - 1}),
                true);
    } else if (HotItem) {
        MakeNinePartBitmapByClRect(&B, Picture, ActiveItemRect,
                                   Corner(ActiveItemRect, ItemTextRect), true);
    } else if (IsNullRect(SItemRect)) {
        CopyFace();
    } else {
        MakeNinePartBitmapByClRect(&B, Picture, SItemRect, ItemTextRect, true);
    }
    TRect TR = ItemTextRect;
    TR.Right += W - RectWidth(IsNullRect(SItemRect) ? ClRect : SItemRect);
    TR.Bottom += FHeight - RectHeight(SkinRect);
    if (IsNullRect(ItemTextRect))
        TR = {2, 0, W - 2, H};
    ApplyItemFont(BC);
    BC->Font()->SetColor(Focus                                       ? FocusFontColor
                         : (FMouseIn && !IsNullRect(ActiveSkinRect)) ? ActiveFontColor
                                                                     : FontColor);
    BC->Brush()->SetStyle(bsClear);
    CBItem.State = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    if (Focus)
        DrawSkinItemFocus(BC, {0, 0, W, H});
    DrawItemContent(BC, ShownIndex(), TR, false, nullptr);
    C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

// ---------------------------------------------------------------- office combo

void TbsSkinCustomOfficeComboBox::DrawItemContent(TCanvas* C, int Index, TRect TR, bool WithTitle,
                                                  const std::string* Override) {
    const bool Valid = Index >= 0 && Index < Items()->Count();
    if (!Valid && !Override)
        return;
    if (OnDrawItem && Valid && !Override) {
        C->Brush()->SetStyle(bsClear);
        OnDrawItem(C, Index, TR);
        return;
    }
    TbsSkinOfficeItem* Item = Valid ? Items()->Items(Index) : nullptr;
    if (Item && WithTitle && FShowItemText && FShowItemTitle && !Item->Title().empty()) {
        TFontStyles Style = C->Font()->Style();
        Style.Include(fsBold);
        C->Font()->SetStyle(Style);
        TRect T = TR;
        T.Bottom = T.Top + C->TextHeight(Item->Title());
        DrawText(CanvasTextDC(C), Item->Title(), -1, &T, DT_LEFT);
        Style.Exclude(fsBold);
        C->Font()->SetStyle(Style);
        TR.Top = T.Bottom - 2;
    }
    const std::string Caption = Override ? *Override : Item ? Item->Caption() : std::string();
    if (FShowItemText && !FShowItemImage) {
        DrawTextCenterY(C, Caption, TR);
    } else if (FShowItemImage) {
        DrawImageAndTextLeft(C, TR, 0, clNone, false, Enabled(), false, Images(),
                             Item ? Item->ImageIndex() : -1,
                             FShowItemText ? Caption : std::string(), blGlyphLeft, 2);
    }
}

void TbsSkinCustomOfficeComboBox::DrawSkinItemStretched(TCanvas* C) {
    const int W = RectWidth(CBItem.R), H = RectHeight(CBItem.R);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    const bool Focus = Focused();
    const bool HotItem = FMouseIn && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
    const TRect Src = Focus ? FocusItemRect : HotItem ? ActiveItemRect : SItemRect;
    if (IsNullRect(Src))
        BC->CopyRect({0, 0, W, H}, C, CBItem.R);
    else
        MakeNinePartBitmapByClRect(&B, Picture, Src, ItemTextRect, true);
    TRect TR = ItemTextRect;
    TR.Right += W - RectWidth(IsNullRect(SItemRect) ? ClRect : SItemRect);
    TR.Bottom += FHeight - RectHeight(SkinRect);
    TR.Left += 1;
    if (IsNullRect(ItemTextRect))
        TR = {2, 0, W - 2, H};
    ApplyItemFont(BC);
    BC->Font()->SetColor(Focus ? FocusFontColor : FontColor);
    BC->Brush()->SetStyle(bsClear);
    if (Focus && ShowFocus)
        BC->DrawFocusRect({0, 0, W, H});
    DrawItemContent(BC, ShownIndex(), TR, true, nullptr);
    C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}
