// The link label: a label that follows the pointer and opens its address.
#include "skin/controls/bsSkinEdits.h"

#include "skin/model/bsEffects.Glow.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"

TbsSkinLinkLabel::TbsSkinLinkLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle(TFontStyles{fsUnderline});
    Font()->Assign(FDefaultFont.get());
    SetTransparent(true);
    SetCursor(crHandPoint);
}

TbsSkinLinkLabel::~TbsSkinLinkLabel() = default;

void TbsSkinLinkLabel::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        ChangeSkinData();
    }
}

void TbsSkinLinkLabel::SetUseUnderLine(bool Value) {
    if (FUseUnderLine == Value)
        return;
    FUseUnderLine = Value;
    Invalidate();
}

void TbsSkinLinkLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinLinkLabel::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[std::size_t(FIndex)].get());
    if (!E)
        return;
    FontName = E->FontName;
    FontColor = E->FontColor;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    ActiveFontColor = E->ActiveFontColor;
}

void TbsSkinLinkLabel::ChangeSkinData() {
    GetSkinData();
    Invalidate();
}

void TbsSkinLinkLabel::Click() {
    TCustomLabel::Click();
    if (!FURL.empty())
        ShellExecute(nullptr, "open", FURL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TbsSkinLinkLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TCustomLabel::Dispatch(Message);
        FMouseIn = Message.Msg == CM_MOUSEENTER;
        Invalidate();
        return;
    default:
        TCustomLabel::Dispatch(Message);
    }
}

void TbsSkinLinkLabel::PrepareFont(TFont* F) {
    if (FIndex == -1) {
        F->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
        if (FMouseIn)
            F->SetColor(FDefaultActiveFontColor);
        F->SetStyle(F->Style() + TFontStyles{fsUnderline});
    } else {
        if (FUseSkinFont) {
            F->SetName(FontName);
            F->SetStyle(FontStyle);
            F->SetHeight(FontHeight);
        } else
            F->Assign(Font());
        F->SetStyle(FUseUnderLine ? F->Style() + TFontStyles{fsUnderline}
                                  : F->Style() - TFontStyles{fsUnderline});
        F->SetColor(FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor);
    }
    F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                : FDefaultFont->Charset());
}

void TbsSkinLinkLabel::DoDrawText(TRect& Rect, UINT Flags) {
    GetSkinData();
    std::string Text = GetLabelText();
    const bool Measuring = (Flags & DT_CALCRECT) != 0;
    if (Measuring && (Text.empty() || (ShowAccelChar() && Text == "&")))
        Text = Text.empty() ? " " : "& ";
    if (!ShowAccelChar())
        Flags |= DT_NOPREFIX;
    Flags = DrawTextBiDiModeFlags(Flags);
    TRect R = Rect;
    if (FGlowEffect)
        OffsetRect(&R, 0, FGlowSize);
    TFont F;
    PrepareFont(&F);
    if (Enabled())
        F.SetStyle(FUseUnderLine ? F.Style() + TFontStyles{fsUnderline}
                                 : F.Style() - TFontStyles{fsUnderline});
    if (Measuring) {
        HDC Memory = CreateCompatibleDC(nullptr);
        HGDIOBJ Old = SelectObject(Memory, ToObj(F.Handle()));
        DrawText(Memory, Text, -1, &R, Flags);
        SelectObject(Memory, Old);
        DeleteDC(Memory);
        // The glow's shift belongs to the label's size: the top stays.
        Rect.Right = R.Right;
        Rect.Bottom = R.Bottom;
        return;
    }
    TCanvas* C = Canvas();
    C->Font()->Assign(&F);
    if (Enabled() && FMouseIn && FGlowEffect) {
        const TColor Glow = FIndex == -1 ? FDefaultActiveFontColor : ActiveFontColor;
        DrawOutlineGlowText(C, R, Text, Flags, 0, COLORREF(ColorToRGB(Glow)), FGlowSize);
        return;
    }
    // The canvas selects its font only for its own drawing calls: text drawn
    // on the bare device context needs the font selected here, or it comes
    // out in the context's own font (no underline, no skin font).
    HDC DC = C->Handle();
    const HGDIOBJ OldFont = SelectObject(DC, ToObj(F.Handle()));
    SetBkMode(DC, TRANSPARENT);
    if (Enabled()) {
        SetTextColor(DC, COLORREF(ColorToRGB(F.Color())));
        DrawText(DC, Text, -1, &R, Flags);
    } else {
        TColor Highlight = clBtnHighlight, Shadow = clBtnShadow;
        if (FIndex != -1 && FSD && FSD->SkinColors()) {
            Highlight = FSD->SkinColors()->cBtnHighLight();
            Shadow = FSD->SkinColors()->cBtnShadow();
        }
        TRect Shifted = R;
        OffsetRect(&Shifted, 1, 1);
        SetTextColor(DC, COLORREF(ColorToRGB(Highlight)));
        DrawText(DC, Text, -1, &Shifted, Flags);
        SetTextColor(DC, COLORREF(ColorToRGB(Shadow)));
        DrawText(DC, Text, -1, &R, Flags);
    }
    SelectObject(DC, OldFont);
}
