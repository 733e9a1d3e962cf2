// The skinned edit box: the skin copy, the geometry, the buttons, hover and
// focus, and the skin change.
#include "skin/controls/bsSkinEdits.h"

#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.Rects.h"

namespace {

constexpr LRESULT HTLEFTIMAGE = 104;
constexpr LRESULT HTRIGHTIMAGE = 105;

} // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner)
    : TbsCustomEdit(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FControlStyle.Include(csOpaque);
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(clBlack);
    Font()->SetStyle({});
    FDefaultFont->Assign(Font());
    FDefaultFont->OnChange = TNotifyEvent(this, &TbsSkinCustomEdit::OnDefaultFontChange);
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    FHeight = 20;
    FEditTransparent = true;
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
    FDefaultFont->OnChange = nullptr;
}

// ---- properties

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

void TbsSkinCustomEdit::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    GetSkinData();
    if (!Skinned())
        Invalidate();
}

void TbsSkinCustomEdit::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSkinCustomEdit::OnDefaultFontChange(TObject*) {
    GetSkinData();
    if (!Skinned())
        Font()->Assign(FDefaultFont.get());
}

void TbsSkinCustomEdit::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    GetSkinData();
    if (!Skinned() && Value > 0)
        SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    GetSkinData();
    if (!Skinned() && Value > 0 && FUseSkinFont)
        SetHeight(Value);
    else
        AdjustEditHeight();
}

void TbsSkinCustomEdit::SetButtonMode(bool Value) {
    FButtonMode = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TbsSkinCustomEdit::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value) {
    if (FImages == Value)
        return;
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    UpdateImageButtons(true);
}

void TbsSkinCustomEdit::SetLeftImageIndex(int Value) {
    FLeftImageIndex = Value;
    UpdateImageButtons(true);
}

void TbsSkinCustomEdit::SetRightImageIndex(int Value) {
    FRightImageIndex = Value;
    UpdateImageButtons(true);
}

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FImages)
        FImages = nullptr;
}

// ---- the skin copy

void TbsSkinCustomEdit::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[std::size_t(FIndex)].get());
    TBitmap* P = E ? FSD->ActivePicture(E->PictureIndex) : nullptr;
    // An element of another kind or without its picture cannot paint a face:
    // the plain look is the only safe one.
    if (!E || !P) {
        FIndex = -1;
        Picture = nullptr;
        return;
    }
    Picture = P;
    SkinRect = E->SkinRect;
    ActiveSkinRect = IsNullRect(E->ActiveSkinRect) ? SkinRect : E->ActiveSkinRect;
    LOffset = E->LTPoint.X;
    ROffset = RectWidth(SkinRect) - E->RTPoint.X;
    ClRect = E->ClRect;
    FontName = E->FontName;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    FontColor = E->FontColor;
    DisabledFontColor = E->DisabledFontColor;
    ActiveFontColor = E->ActiveFontColor;
    ButtonRect = E->ButtonRect;
    ActiveButtonRect = E->ActiveButtonRect;
    DownButtonRect = IsNullRect(E->DownButtonRect) ? ActiveButtonRect : E->DownButtonRect;
    UnEnabledButtonRect = E->UnEnabledButtonRect;
    StretchEffect = E->StretchEffect;
}

TFontCharset TbsSkinCustomEdit::SkinCharset() const {
    if (FSD && FSD->ResourceStrData())
        return FSD->ResourceStrData()->CharSet();
    return FDefaultFont->Charset();
}

// ---- geometry

void TbsSkinCustomEdit::WMNCCalcSize(TMessage& Message) {
    GetSkinData();
    TRect* R = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                              : reinterpret_cast<TRect*>(Message.LParam);
    if (!R)
        return;
    if (!Skinned()) {
        R->Left += 2;
        R->Top += 2;
        R->Bottom -= 2;
        R->Right -= FButtonMode ? FHeight + 2 : 2;
        return;
    }
    R->Left += ClRect.Left;
    R->Top += ClRect.Top;
    R->Right += ClRect.Right - RectWidth(SkinRect);
    R->Bottom += ClRect.Bottom - RectHeight(SkinRect);
}

void TbsSkinCustomEdit::CalcRects() {
    if (!Skinned()) {
        if (FButtonMode) {
            FButtonRect = {FWidth - FHeight, 0, FWidth, FHeight};
            FEditRect = {2, 2, FButtonRect.Left - 2, FHeight - 2};
        } else
            FEditRect = {2, 2, FWidth - 2, FHeight - 2};
        return;
    }
    const int DX = FWidth - RectWidth(SkinRect);
    FEditRect = ClRect;
    FEditRect.Right += DX;
    FButtonRect = ButtonRect;
    // A button in the fixed right part follows the right edge.
    if (ButtonRect.Left >= RectWidth(SkinRect) - ROffset)
        OffsetRect(&FButtonRect, DX, 0);
    if (!FUseSkinFont) {
        const int DY = FHeight - RectHeight(SkinRect);
        FEditRect.Bottom += DY;
        FButtonRect.Bottom += DY;
    }
}

int TbsSkinCustomEdit::CalcEditHeight() {
    HDC DC = GetDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, ToObj(Font()->Handle()));
    TEXTMETRIC TM{};
    GetTextMetrics(DC, &TM);
    SelectObject(DC, Old);
    ReleaseDC(nullptr, DC);
    GetSkinData();
    return TM.tmHeight + (Skinned() ? RectHeight(SkinRect) - RectHeight(ClRect) : 4);
}

void TbsSkinCustomEdit::AdjustEditHeight() {
    SetHeight(CalcEditHeight());
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    if ((AWidth != FWidth || AHeight != FHeight) && (Skinned() || !FUseSkinFont)) {
        if (Skinned() && FUseSkinFont)
            AHeight = RectHeight(SkinRect);
        else
            AHeight = CalcEditHeight();
    }
    if (Align() != alNone)
        CentreInSkinToolBar(Parent(), ATop, AHeight);
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
    RepaintFrame();
}

void TbsSkinCustomEdit::UpdateImageButtons(bool SetRect) {
    if (!FImages)
        return;
    LeftButton.R = {};
    RightButton.R = {};
    if (!HandleAllocated())
        return;
    TRect R = ClientRect();
    const int W = FImages->Width();
    if (FLeftImageIndex >= 0) {
        LeftButton.R = {R.Left, R.Top, R.Left + W, R.Bottom};
        R.Left += W + 2;
    }
    if (FRightImageIndex >= 0) {
        RightButton.R = {R.Right - W, R.Top, R.Right, R.Bottom};
        R.Right -= W + 2;
    }
    if (SetRect)
        SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
}

void TbsSkinCustomEdit::RepaintFrame() {
    if (Parent() && HandleAllocated())
        SendMessage(Handle(), WM_NCPAINT, 1, 0);
}

void TbsSkinCustomEdit::CreateParams(TCreateParams& Params) {
    TbsCustomEdit::CreateParams(Params);
    // The box paints its own background under the text.
    Params.ExStyle &= ~WS_EX_TRANSPARENT;
    Params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER | WS_BORDER);
    if (FAlignment == taRightJustify)
        Params.Style |= ES_RIGHT;
    else if (FAlignment == taCenter)
        Params.Style |= ES_CENTER;
}

// ---- hit testing and the buttons

void TbsSkinCustomEdit::SetImageButtonHover(TbsCBButtonX& Button, bool Value) {
    if (Button.MouseIn == Value)
        return;
    Button.MouseIn = Value;
    Invalidate();
}

void TbsSkinCustomEdit::WMNCHitTest(TMessage& Message) {
    const TPoint Screen{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    const TPoint P = ScreenToClient(Screen);
    if (FImages) {
        if (FLeftImageIndex >= 0 && PtInRect(&LeftButton.R, P)) {
            Message.Result = HTLEFTIMAGE;
            SetImageButtonHover(LeftButton, true);
            return;
        }
        if (FRightImageIndex >= 0 && PtInRect(&RightButton.R, P)) {
            Message.Result = HTRIGHTIMAGE;
            SetImageButtonHover(RightButton, true);
            return;
        }
        SetImageButtonHover(LeftButton, false);
        SetImageButtonHover(RightButton, false);
    }
    if (FButtonMode) {
        GetSkinData();
        TPoint W = P;
        W.X += Skinned() ? ClRect.Left : 2;
        W.Y += Skinned() ? ClRect.Top : 2;
        CalcRects();
        if (PtInRect(&FButtonRect, W)) {
            Message.Result = HTHSCROLL;
            return;
        }
        if (!PtInRect(&FEditRect, W)) {
            Message.Result = HTVSCROLL;
            return;
        }
    }
    TbsCustomEdit::Dispatch(Message);
}

void TbsSkinCustomEdit::WMNCLButtonDown(TMessage& Message) {
    const LRESULT Code = LRESULT(Message.WParam);
    TbsCBButtonX* Button = !FImages               ? nullptr
                           : Code == HTLEFTIMAGE  ? &LeftButton
                           : Code == HTRIGHTIMAGE ? &RightButton
                                                  : nullptr;
    if (Button) {
        Button->Down = true;
        if (!Focused() && CanFocus())
            SetFocus();
        Invalidate();
        if (Message.Msg == WM_NCLBUTTONDBLCLK)
            UpdateWindow(Handle());
        return;
    }
    if (Code == HTHSCROLL && FButtonMode) {
        FButtonDown = true;
        RepaintFrame();
        return;
    }
    TbsCustomEdit::Dispatch(Message);
}

void TbsSkinCustomEdit::WMNCLButtonUp(TMessage& Message) {
    const LRESULT Code = LRESULT(Message.WParam);
    if (FImages && (Code == HTLEFTIMAGE || Code == HTRIGHTIMAGE)) {
        TbsCBButtonX& Button = Code == HTLEFTIMAGE ? LeftButton : RightButton;
        if (!Button.Down)
            return;
        Button.Down = false;
        Invalidate();
        const TNotifyEvent& Event = Code == HTLEFTIMAGE ? OnLeftButtonClick : OnRightButtonClick;
        if (Event)
            Event(this);
        return;
    }
    if (Code == HTHSCROLL && FButtonMode) {
        FButtonDown = false;
        RepaintFrame();
        if (!Focused() && CanFocus())
            SetFocus();
        if (OnButtonClick)
            OnButtonClick(this);
        return;
    }
    TbsCustomEdit::Dispatch(Message);
}

void TbsSkinCustomEdit::WMNCMouseMove(TMessage& Message) {
    if (!FButtonMode) {
        TbsCustomEdit::Dispatch(Message);
        return;
    }
    if (LRESULT(Message.WParam) == HTHSCROLL) {
        if (!FButtonActive) {
            FButtonActive = true;
            RepaintFrame();
            Invalidate();
        }
        return;
    }
    if (FButtonActive) {
        FButtonActive = false;
        RepaintFrame();
        Invalidate();
    }
    TbsCustomEdit::Dispatch(Message);
}

// ---- hover and focus

void TbsSkinCustomEdit::BoxMouseEnter(TMessage& Message) {
    TbsCustomEdit::Dispatch(Message);
    FMouseIn = true;
    GetSkinData();
    if (!Focused() && Skinned()) {
        Font()->SetColor(ActiveFontColor);
        UpdateImageButtons(true);
        RepaintFrame();
        Invalidate();
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TbsSkinCustomEdit::BoxMouseLeave(TMessage& Message) {
    TbsCustomEdit::Dispatch(Message);
    FMouseIn = false;
    GetSkinData();
    if (!Focused() && Skinned()) {
        Font()->SetColor(FontColor);
        UpdateImageButtons(true);
        RepaintFrame();
        Invalidate();
    }
    if (FButtonDown || FButtonActive) {
        FButtonDown = false;
        FButtonActive = false;
        RepaintFrame();
        Invalidate();
    }
    SetImageButtonHover(LeftButton, false);
    SetImageButtonHover(RightButton, false);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TbsSkinCustomEdit::WMFocusChanged(TMessage& Message, bool Gained) {
    TbsCustomEdit::Dispatch(Message);
    RepaintFrame();
    Invalidate();
    GetSkinData();
    if (!FMouseIn && Skinned())
        Font()->SetColor(Gained ? ActiveFontColor : FontColor);
    UpdateImageButtons(true);
}

void TbsSkinCustomEdit::BoxFontChanged(TMessage& Message) {
    TbsCustomEdit::Dispatch(Message);
    if (FUseSkinFont || ComponentState().Contains(csLoading))
        return;
    AdjustEditHeight();
    if (!Skinned() && HandleAllocated())
        RecreateWnd();
}

// ---- skin change

void TbsSkinCustomEdit::ChangeSkinData() {
    GetSkinData();
    auto ApplyColour = [this] {
        if (!Skinned())
            Font()->SetColor(FDefaultFont->Color());
        else
            Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
    };
    if (!Skinned()) {
        Font()->Assign(FDefaultFont.get());
        if (FDefaultWidth > 0)
            SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0)
            SetHeight(FDefaultHeight);
    } else if (FUseSkinFont) {
        Font()->SetName(FontName);
        Font()->SetStyle(FontStyle);
        SetHeight(RectHeight(SkinRect));
        Font()->SetHeight(FontHeight);
    } else
        Font()->Assign(FDefaultFont.get());
    if (Skinned())
        ApplyColour();
    Font()->SetCharset(SkinCharset());
    if (HandleAllocated())
        RecreateWnd();
    ApplyColour();
    if (!FUseSkinFont)
        AdjustEditHeight();
    RepaintFrame();
    if (FImages) {
        UpdateImageButtons(true);
        Invalidate();
    }
}

void TbsSkinCustomEdit::Loaded() {
    TbsCustomEdit::Loaded();
    if (FSD && FSD->ResourceStrData())
        Font()->SetCharset(FSD->ResourceStrData()->CharSet());
}

// ---- messages

void TbsSkinCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(Message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(Message);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        WMNCLButtonDown(Message);
        return;
    case WM_NCLBUTTONUP:
        WMNCLButtonUp(Message);
        return;
    case WM_NCMOUSEMOVE:
        WMNCMouseMove(Message);
        return;
    case WM_MOUSEMOVE:
        TbsCustomEdit::Dispatch(Message);
        if (FButtonActive) {
            FButtonActive = false;
            RepaintFrame();
        }
        return;
    case WM_SETFOCUS:
        WMFocusChanged(Message, true);
        return;
    case WM_KILLFOCUS:
        WMFocusChanged(Message, false);
        return;
    case WM_SIZE:
        TbsCustomEdit::Dispatch(Message);
        UpdateImageButtons(true);
        RepaintFrame();
        return;
    case CM_MOUSEENTER:
        BoxMouseEnter(Message);
        return;
    case CM_MOUSELEAVE:
        BoxMouseLeave(Message);
        return;
    case CM_ENABLEDCHANGED:
        TbsCustomEdit::Dispatch(Message);
        Invalidate();
        return;
    case CM_FONTCHANGED:
        BoxFontChanged(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint();
        return;
    case WM_ERASEBKGND:
        BoxEraseBkgnd(Message);
        return;
    case WM_PAINT:
        BoxPaint(Message);
        return;
    case WM_NCPAINTTODC:
        WMNCPaintToDC(Message);
        return;
    case WM_PAINTTODC:
        WMPaintToDC(Message);
        return;
    default:
        TbsCustomEdit::Dispatch(Message);
    }
}
