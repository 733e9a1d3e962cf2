#include "skin/controls/bsSkinCtrls.Labels.h"

namespace {

const UINT EllipsFlags[] = {0, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS};
const UINT AlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

UINT WordWrapFlag(bool WordWrap) {
    return WordWrap ? DT_WORDBREAK : 0;
}

} // namespace

// ---------------------------------------------------------------- the shared skin link

TbsSkinLabelLink::TbsSkinLabelLink() : FDefaultFont(std::make_unique<TFont>()) {}

TbsSkinLabelLink::~TbsSkinLabelLink() = default;

void TbsSkinLabelLink::GetSkinData() {
    if (!FSD || FSD->Empty) {
        FIndex = -1;
        return;
    }
    FIndex = FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1)
        return;
    if (auto* E = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[FIndex].get())) {
        FontName = E->FontName;
        FontStyle = E->FontStyle;
        FontHeight = E->FontHeight;
        FontColor = E->FontColor;
    }
}

void TbsSkinLabelLink::SelectFont(TFont* Target, TFont* ControlFont) const {
    if (FIndex == -1) {
        Target->Assign(FUseSkinFont ? FDefaultFont.get() : ControlFont);
    } else {
        if (FUseSkinFont) {
            Target->SetName(FontName);
            Target->SetStyle(FontStyle);
            Target->SetHeight(FontHeight);
        } else {
            Target->Assign(ControlFont);
        }
        Target->SetColor(FUseSkinColor ? FontColor : ControlFont->Color());
    }
    if (FSD && FSD->ResourceStrData())
        Target->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        Target->SetCharset(FDefaultFont->Charset());
}

void TbsSkinLabelLink::DrawLabelText(TCanvas* Target, std::string Text, TRect& R, UINT Flags,
                                     bool Ex, bool Enabled) const {
    auto Draw = [&](HDC DC, TRect& Into) {
        if (Ex)
            DrawTextEx(DC, Text, -1, &Into, Flags, nullptr);
        else
            DrawText(DC, Text, -1, &Into, Flags);
    };
    if (Flags & DT_CALCRECT) {
        // Measuring needs no window: a memory DC with the chosen font.
        HDC Memory = CreateCompatibleDC(nullptr);
        HGDIOBJ Old = SelectObject(Memory, ToObj(Target->Font()->Handle()));
        Draw(Memory, R);
        SelectObject(Memory, Old);
        DeleteDC(Memory);
        return;
    }
    Target->TextExtent(std::string());
    const HDC DC = Target->Handle();
    SetBkMode(DC, TRANSPARENT);
    if (Enabled) {
        SetTextColor(DC, COLORREF(ColorToRGB(Target->Font()->Color())));
        Draw(DC, R);
        return;
    }
    const bool Skinned = FIndex != -1 && FSD;
    TRect Shifted{R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1};
    SetTextColor(
        DC, COLORREF(ColorToRGB(Skinned ? FSD->SkinColors()->cBtnHighLight() : clBtnHighlight)));
    Draw(DC, Shifted);
    SetTextColor(DC, COLORREF(ColorToRGB(Skinned ? FSD->SkinColors()->cBtnShadow() : clBtnShadow)));
    Draw(DC, R);
}

// ---------------------------------------------------------------- TbsSkinStdLabel

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
    SetTransparent(true);
    // Until an element says otherwise the label draws as its default font.
    FontName = FDefaultFont->Name();
    FontStyle = FDefaultFont->Style();
    FontHeight = FDefaultFont->Height();
    FontColor = FDefaultFont->Color();
}

TbsSkinStdLabel::~TbsSkinStdLabel() {
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        ChangeSkinData();
    }
}

void TbsSkinStdLabel::ChangeSkinData() {
    GetSkinData();
    if (FAutoSize)
        AdjustBounds();
    Repaint();
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value) {
    if (FEllipsType == Value)
        return;
    FEllipsType = Value;
    Invalidate();
}

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinStdLabel::DoDrawText(TRect& Rect, UINT Flags) {
    GetSkinData();
    DrawTextOn(Canvas(), GetLabelText(), Rect, Flags);
}

void TbsSkinStdLabel::DrawTextOn(TCanvas* C, std::string Text, TRect& Rect, UINT Flags) {
    if (((Flags & DT_CALCRECT) && Text.empty()) || (FShowAccelChar && Text == "&"))
        Text += ' ';
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    Flags |= EllipsFlags[FEllipsType];
    Flags = DrawTextBiDiModeFlags(Flags);
    SelectFont(C->Font(), &FFont);
    DrawLabelText(C, Text, Rect, Flags, FEllipsType != bsetNone, FEnabled);
}

void TbsSkinStdLabel::PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText) {
    if (!Transparent()) {
        C->Brush()->SetColor(FColor);
        C->Brush()->SetStyle(bsSolid);
        C->FillRect({X, Y, X + FWidth, Y + FHeight});
    }
    C->Brush()->SetStyle(bsClear);
    TRect R{0, 0, FWidth, FHeight};
    const UINT Flags = DT_EXPANDTABS | WordWrapFlag(FWordWrap) | AlignmentFlags[FAlignment] |
                       EllipsFlags[FEllipsType];
    GetSkinData();
    if (FLayout == tlCenter || FLayout == tlBottom) {
        TRect Measure = R;
        DrawTextOn(C, AText, Measure, Flags | DT_CALCRECT);
        const int Offset = FHeight - Measure.Bottom;
        const int Down = FLayout == tlBottom ? Offset : Offset / 2;
        R.Top += Down;
        R.Bottom += Down;
    }
    R = {R.Left + X, R.Top + Y, R.Right + X, R.Bottom + Y};
    DrawTextOn(C, AText, R, Flags);
}

// ---------------------------------------------------------------- TbsSkinTextLabel

TbsSkinTextLabel::TbsSkinTextLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FLines(std::make_unique<TStringList>()) {
    FControlStyle = FControlStyle - TControlStyle{csOpaque} + TControlStyle{csReplicatable};
    FWidth = 65;
    FHeight = 65;
    FAutoSize = true;
    FLines->OnChange = TNotifyEvent(this, &TbsSkinTextLabel::LinesChanged);
    FontName = FDefaultFont->Name();
    FontStyle = FDefaultFont->Style();
    FontHeight = FDefaultFont->Height();
    FontColor = FDefaultFont->Color();
}

TbsSkinTextLabel::~TbsSkinTextLabel() {
    FLines->OnChange = nullptr;
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TbsSkinTextLabel::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        ChangeSkinData();
    }
}

void TbsSkinTextLabel::ChangeSkinData() {
    GetSkinData();
    if (FAutoSize)
        AdjustBounds();
    Repaint();
}

void TbsSkinTextLabel::SetLines(TStrings* Value) {
    FLines->Assign(Value);
    Repaint();
}

void TbsSkinTextLabel::LinesChanged(TObject*) {
    if (FAutoSize)
        AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetLayout(TTextLayout Value) {
    if (FLayout == Value)
        return;
    FLayout = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

std::string TbsSkinTextLabel::GetLabelText() {
    return FLines->Text();
}

void TbsSkinTextLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinTextLabel::Dispatch(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (Message.Msg == CM_FONTCHANGED) {
        AdjustBounds();
        Invalidate();
    }
}

void TbsSkinTextLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TbsSkinTextLabel::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsClear);
    TRect R = ClientRect();
    const UINT Flags = WordWrapFlag(FWordWrap) | AlignmentFlags[FAlignment];
    GetSkinData();
    SelectFont(C->Font(), &FFont);
    const std::string Text = GetLabelText();
    if (FLayout == tlCenter || FLayout == tlBottom) {
        TRect Measure = R;
        DrawLabelText(C, Text, Measure, DrawTextBiDiModeFlags(Flags | DT_EXPANDTABS | DT_CALCRECT),
                      false, FEnabled);
        const int Bottom = Measure.Bottom - C->TextHeight("A");
        const int Offset = FHeight - Bottom;
        const int Down = FLayout == tlBottom ? Offset : Offset / 2;
        R.Top += Down;
        R.Bottom += Down;
    }
    DrawLabelText(C, Text, R, DrawTextBiDiModeFlags(Flags | DT_EXPANDTABS), false, FEnabled);
}

void TbsSkinTextLabel::AdjustBounds() {
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !FAutoSize)
        return;
    GetSkinData();
    TRect R = ClientRect();
    TFont Measuring;
    SelectFont(&Measuring, &FFont);
    const HDC DC = GetDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, ToObj(Measuring.Handle()));
    DrawText(DC, GetLabelText(), -1, &R, WordWrapFlag(FWordWrap) | DT_EXPANDTABS | DT_CALCRECT);
    TRect A{0, 0, 0, 0};
    DrawText(DC, "A", -1, &A, DT_CALCRECT);
    SelectObject(DC, Old);
    ReleaseDC(nullptr, DC);
    int X = FLeft;
    if (FAlignment == taRightJustify)
        X += FWidth - R.Width();
    SetBounds(X, FTop, R.Width(), R.Height() - A.Height());
}
