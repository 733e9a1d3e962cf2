#include "skin/controls/bsSkinCtrls.Views.h"

#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Platform.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int HeaderExtraWidth = 25;
constexpr int SectionTextInset = 5;
constexpr int ImageTextGap = 10;
constexpr TColor PlainFrameDown = RGB(0, 0, 128);
constexpr TColor PlainFillDown = RGB(133, 147, 181);

// The view element's font and colours, or the defaults; the word table's
// character set in every case. Answers the element index.
int ApplySkinToView(TControl* View, TbsSkinData* SD, const std::string& Name, TFont* DefaultFont,
                    TColor DefaultColor, bool UseSkinFont) {
    const int Index = SD && !SD->Empty ? SD->GetControlIndex(Name) : -1;
    if (Index == -1) {
        View->SetColor(DefaultColor);
        View->Font()->Assign(DefaultFont);
    } else if (auto* E = dynamic_cast<TbsDataSkinViewControl*>(SD->CtrlList[Index].get())) {
        if (UseSkinFont) {
            View->Font()->SetName(E->FontName);
            View->Font()->SetStyle(E->FontStyle);
            View->Font()->SetHeight(E->FontHeight);
        } else {
            View->Font()->Assign(DefaultFont);
        }
        View->Font()->SetColor(E->FontColor);
        View->SetColor(E->BGColor);
    }
    if (SD && SD->ResourceStrData())
        View->Font()->SetCharset(SD->ResourceStrData()->CharSet());
    else
        View->Font()->SetCharset(DefaultFont->Charset());
    return Index;
}

void SetDefaultViewFont(TFont& F) {
    F.SetName("Arial");
    F.SetStyle({});
    F.SetHeight(14);
}

// Takes a bar, hides it and routes its changes to Handler.
void AttachBar(TbsSkinScrollBar* Bar, TNotifyEvent Handler) {
    if (!Bar)
        return;
    Bar->SetEnabled(true);
    Bar->SetVisible(false);
    Bar->OnChange = std::move(Handler);
}

bool Shown(TbsSkinScrollBar* Bar) {
    return Bar && Bar->Visible();
}

void ShowBar(TbsSkinScrollBar* Bar, bool Show) {
    if (Bar && Bar->Visible() != Show)
        Bar->SetVisible(Show);
}

// The horizontal bar leaves the corner to a visible vertical bar.
void FollowBoth(TbsSkinScrollBar* V, TbsSkinScrollBar* H) {
    if (V && H && H->Both() != V->Visible())
        H->SetBoth(V->Visible());
}

void ReapplyAlign(TbsSkinScrollBar* Bar) {
    if (Bar) {
        const TAlign A = Bar->Align();
        Bar->SetAlign(alNone);
        Bar->SetAlign(A);
    }
}

int NativeRange(HWND Wnd, int Bar, int& Min, int& Max) {
    Min = Max = 0;
    GetScrollRange(Wnd, Bar, &Min, &Max);
    return GetScrollPos(Wnd, Bar);
}

} // namespace

// ================================================================ shared part

template <class TBase>
TbsSkinViewBase<TBase>::TbsSkinViewBase(TComponent* AOwner, const std::string& SkinDataName)
    : TBase(AOwner), FSkinDataName(SkinDataName) {
    SetDefaultViewFont(FDefaultFont);
}

template <class TBase> void TbsSkinViewBase<TBase>::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

template <class TBase> void TbsSkinViewBase<TBase>::SetDefaultFont(TFont* Value) {
    FDefaultFont.Assign(Value);
    if (FIndex == -1)
        this->Font()->Assign(&FDefaultFont);
}

template <class TBase> void TbsSkinViewBase<TBase>::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1)
        this->SetColor(Value);
}

template <class TBase> void TbsSkinViewBase<TBase>::SetVScrollBar(TbsSkinScrollBar* Value) {
    FVScrollBar = Value;
    if (Value)
        Value->FreeNotification(this);
    AttachBar(Value, TNotifyEvent(this, &TbsSkinViewBase::VScrollBarChanged));
    UpDateScrollBars();
}

template <class TBase> void TbsSkinViewBase<TBase>::SetHScrollBar(TbsSkinScrollBar* Value) {
    FHScrollBar = Value;
    if (Value)
        Value->FreeNotification(this);
    AttachBar(Value, TNotifyEvent(this, &TbsSkinViewBase::HScrollBarChanged));
    UpDateScrollBars();
}

template <class TBase>
void TbsSkinViewBase<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
    TBase::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FVScrollBar)
        FVScrollBar = nullptr;
    if (AComponent == FHScrollBar)
        FHScrollBar = nullptr;
}

template <class TBase> void TbsSkinViewBase<TBase>::CreateParams(TCreateParams& Params) {
    TBase::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

template <class TBase> void TbsSkinViewBase<TBase>::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        Message.Result = 0;
        return;
    case WM_NCPAINT:
        return;
    case WM_NCPAINTTODC:
        Message.Result = NCPAINTTODC_ANSWER;
        return;
    case CM_VISIBLECHANGED:
        TBase::Dispatch(Message);
        if (!this->Visible()) {
            ShowBar(FVScrollBar, false);
            ShowBar(FHScrollBar, false);
        } else {
            UpDateScrollBars();
        }
        return;
    default:
        TBase::Dispatch(Message);
    }
}

template <class TBase> void TbsSkinViewBase<TBase>::ApplyViewSkin() {
    FIndex = ApplySkinToView(this, FSD, FSkinDataName, &FDefaultFont, FDefaultColor, FUseSkinFont);
}

template <class TBase> void TbsSkinViewBase<TBase>::ReapplyBarsAlign() {
    ReapplyAlign(FVScrollBar);
    ReapplyAlign(FHScrollBar);
}

template <class TBase> void TbsSkinViewBase<TBase>::AfterBarsChanged(bool VWas, bool HWas) {
    FollowBoth(FVScrollBar, FHScrollBar);
    const bool Changed = VWas != Shown(FVScrollBar) || HWas != Shown(FHScrollBar);
    if (Changed && this->Align() != alNone && this->Parent())
        this->Parent()->Realign();
}

template <class TBase> bool TbsSkinViewBase<TBase>::SyncBarByPixels(int& Pos) {
    if (!FHScrollBar)
        return false;
    int Min = 0, Max = 0;
    Pos = NativeRange(this->Handle(), SB_HORZ, Min, Max);
    const bool Show = Max > this->Width() && this->Visible();
    if (Show)
        FHScrollBar->SetRange(Min, Max, Pos, this->Width());
    ShowBar(FHScrollBar, Show);
    return Show;
}

template <class TBase> void TbsSkinViewBase<TBase>::FollowMessage(UINT Msg) {
    switch (Msg) {
    case WM_PAINT:
        if (!FInCheckScrollBars)
            UpDateScrollBars();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
        UpDateScrollBars();
        break;
    default:
        break;
    }
}

template class TbsSkinViewBase<TCustomTreeView>;
template class TbsSkinViewBase<TCustomListView>;

// ================================================================ tree view

TbsSkinCustomTreeView::TbsSkinCustomTreeView(TComponent* AOwner)
    : TbsSkinViewBase(AOwner, "treeview") {}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView() = default;

void TbsSkinCustomTreeView::ChangeSkinData() {
    if (ComponentState().Contains(csLoading))
        return;
    ApplyViewSkin();
    if (Images())
        Images()->SetBkColor(Color());
    if (StateImages())
        StateImages()->SetBkColor(Color());
    UpDateScrollBars();
    ReapplyBarsAlign();
}

void TbsSkinCustomTreeView::Loaded() {
    TCustomTreeView::Loaded();
    ChangeSkinData();
}

void TbsSkinCustomTreeView::UpDateScrollBars() {
    if (ComponentState().Contains(csLoading) || FInCheckScrollBars || !HandleAllocated())
        return;
    const bool VWas = Shown(FVScrollBar), HWas = Shown(FHScrollBar);
    FInCheckScrollBars = true;
    int Min = 0, Max = 0;
    if (FVScrollBar) {
        const int Pos = NativeRange(Handle(), SB_VERT, Min, Max);
        const int Page = int(SendMessage(Handle(), TVM_GETVISIBLECOUNT, 0, 0));
        const int Count = int(SendMessage(Handle(), TVM_GETCOUNT, 0, 0));
        const bool Show = Max > 0 && Page <= Max && Max < Count && Visible();
        if (Show)
            FVScrollBar->SetRange(Min, Max, Pos, Page);
        ShowBar(FVScrollBar, Show);
    }
    int Pos = 0;
    SyncBarByPixels(Pos);
    AfterBarsChanged(VWas, HWas);
    FInCheckScrollBars = false;
}

void TbsSkinCustomTreeView::VScrollBarChanged(TObject*) {
    if (!FVScrollBar || !HandleAllocated())
        return;
    const int Pos = FVScrollBar->Position();
    int Major = 0, Minor = 0;
    GetWinVersion(Major, Minor);
    // The message carries 16 bits; the tree reads longer positions from its
    // stored scroll position, which is set first.
    if (Major >= 6) {
        SCROLLINFO SI{};
        SI.cbSize = sizeof(SI);
        SI.fMask = SIF_POS;
        SI.nPos = Pos;
        SetScrollInfo(Handle(), SB_VERT, &SI, TRUE);
    }
    SendMessage(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, unsigned(Pos) & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::HScrollBarChanged(TObject*) {
    if (!FHScrollBar || !HandleAllocated())
        return;
    const int Pos = FHScrollBar->Position();
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, unsigned(Pos) & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::Change(TTreeNode* Node) {
    TCustomTreeView::Change(Node);
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::WndProc(TMessage& Message) {
    TCustomTreeView::WndProc(Message);
    if (Message.Msg == WM_SIZE && !FInCheckScrollBars)
        UpDateScrollBars();
    FollowMessage(Message.Msg);
}

// ================================================================ list view

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner)
    : TbsSkinViewBase(AOwner, "listview") {
    Font()->Assign(&FDefaultFont);
    FHeaderInstance = MakeWindowProc(
        [this](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) { return HeaderProc(Wnd, Msg, W, L); });
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
    ReleaseHeader();
    FreeWindowProc(FHeaderInstance);
}

void TbsSkinCustomListView::ChangeSkinData() {
    ApplyViewSkin();
    UpDateScrollBars();
    ReapplyBarsAlign();
    if (ViewStyle() == vsReport && FHeaderHandle)
        RedrawWindow(FHeaderHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TbsSkinCustomListView::Loaded() {
    FInCheckScrollBars = true;
    TCustomListView::Loaded();
    FInCheckScrollBars = false;
    ChangeSkinData();
}

// ---------------------------------------------------------------- synchronisation

int TbsSkinCustomListView::ItemBoundsHeight() {
    if (SendMessage(Handle(), LVM_GETITEMCOUNT, 0, 0) == 0)
        return 0;
    TRect R{};
    R.Left = LVIR_BOUNDS;
    SendMessage(Handle(), LVM_GETITEMRECT, 0, LPARAM(&R));
    return R.Bottom - R.Top;
}

void TbsSkinCustomListView::SyncReport() {
    int Min = 0, Max = 0;
    if (FVScrollBar) {
        const int Pos = NativeRange(Handle(), SB_VERT, Min, Max);
        const int PerPage = int(SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
        const bool Show = PerPage < Max + 1 && Visible();
        if (Show) {
            FVScrollBar->SetRange(Min, Max, Pos, PerPage);
            FOldVScrollBarPos = Pos;
            FVScrollBar->SetSmallChange(1);
            FVScrollBar->SetLargeChange(PerPage < 1 ? 1 : PerPage);
        }
        ShowBar(FVScrollBar, Show);
    }
    int Pos = 0;
    if (SyncBarByPixels(Pos))
        FOldHScrollBarPos = Pos;
}

void TbsSkinCustomListView::SyncList() {
    ShowBar(FVScrollBar, false);
    if (!FHScrollBar)
        return;
    int Min = 0, Max = 0;
    const int Pos = NativeRange(Handle(), SB_HORZ, Min, Max);
    int ColumnWidth = 1;
    if (SendMessage(Handle(), LVM_GETITEMCOUNT, 0, 0) > 0) {
        TRect R{};
        R.Left = LVIR_BOUNDS;
        SendMessage(Handle(), LVM_GETITEMRECT, 0, LPARAM(&R));
        ColumnWidth = R.Right - R.Left;
    }
    if (ColumnWidth == 0)
        ColumnWidth = 1;
    const int Page = Width() / ColumnWidth;
    const bool Show = SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0) <
                          SendMessage(Handle(), LVM_GETITEMCOUNT, 0, 0) &&
                      Visible();
    if (Show) {
        FHScrollBar->SetRange(Min, Max, Pos, Page);
        FHScrollBar->SetSmallChange(1);
        FHScrollBar->SetLargeChange(1);
        FOldHScrollBarPos = Pos;
    }
    ShowBar(FHScrollBar, Show);
}

void TbsSkinCustomListView::SyncIcons() {
    int Step = ItemBoundsHeight() / 2;
    if (Step == 0)
        Step = 1;
    int Min = 0, Max = 0;
    if (FVScrollBar) {
        const int Pos = NativeRange(Handle(), SB_VERT, Min, Max);
        const bool Show = Max > Height() && Visible();
        if (Show) {
            FVScrollBar->SetSmallChange(Step);
            FVScrollBar->SetLargeChange(Step);
            FVScrollBar->SetRange(Min, Max, Pos, Height());
            FOldVScrollBarPos = Pos;
        }
        ShowBar(FVScrollBar, Show);
    }
    if (FHScrollBar) {
        const int Pos = NativeRange(Handle(), SB_HORZ, Min, Max);
        const bool Show = Max > Width() && Visible();
        if (Show) {
            FHScrollBar->SetSmallChange(Step);
            FHScrollBar->SetLargeChange(Step);
            FHScrollBar->SetRange(Min, Max, Pos, Width());
            FOldHScrollBarPos = Pos;
        }
        ShowBar(FHScrollBar, Show);
    }
}

void TbsSkinCustomListView::UpDateScrollBars() {
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5 || FInCheckScrollBars)
        return;
    const bool VWas = Shown(FVScrollBar), HWas = Shown(FHScrollBar);
    FInCheckScrollBars = true;
    switch (ViewStyle()) {
    case vsReport:
        SyncReport();
        break;
    case vsList:
        SyncList();
        break;
    default:
        SyncIcons();
        break;
    }
    AfterBarsChanged(VWas, HWas);
    FInCheckScrollBars = false;
}

void TbsSkinCustomListView::VScrollBarChanged(TObject*) {
    if (!FVScrollBar || !HandleAllocated())
        return;
    const int Pos = FVScrollBar->Position();
    const int Delta = Pos - FOldVScrollBarPos;
    FromSB = true;
    if (ViewStyle() == vsList || ViewStyle() == vsReport)
        Scroll(0, Delta * ItemBoundsHeight());
    else
        Scroll(0, Delta);
    FOldVScrollBarPos = Pos;
    FromSB = false;
}

void TbsSkinCustomListView::HScrollBarChanged(TObject*) {
    if (!FHScrollBar || !HandleAllocated())
        return;
    const int Pos = FHScrollBar->Position();
    const int Delta = Pos - FOldHScrollBarPos;
    FromSB = true;
    if (ViewStyle() == vsList) {
        const WPARAM Code = Delta < 0 ? SB_LINELEFT : SB_LINERIGHT;
        for (int I = 0; I < std::abs(Delta); ++I)
            SendMessage(Handle(), WM_HSCROLL, Code, 0);
    } else {
        Scroll(Delta, 0);
    }
    FOldHScrollBarPos = Pos;
    FromSB = false;
}

void TbsSkinCustomListView::Change(TListItem* Item, int AChange) {
    TCustomListView::Change(Item, AChange);
    if (!FInCheckScrollBars)
        UpDateScrollBars();
}

// ---------------------------------------------------------------- messages

void TbsSkinCustomListView::WndProc(TMessage& Message) {
    if (Message.Msg == WM_PARENTNOTIFY && LOWORD(Message.WParam) == WM_CREATE) {
        char Name[80] = {};
        const HWND Child = reinterpret_cast<HWND>(Message.LParam);
        GetClassName(Child, Name, sizeof(Name));
        if (std::strcmp(Name, "SysHeader32") == 0 && ShowColumnHeaders())
            SubclassHeader(Child);
    }
    TCustomListView::WndProc(Message);
    switch (Message.Msg) {
    case WM_SIZE:
        if (!FInCheckScrollBars && HandleAllocated() &&
            SendMessage(Handle(), LVM_GETITEMCOUNT, 0, 0) != 0) {
            UpDateScrollBars();
            if (ViewStyle() == vsReport && FHeaderHandle)
                RedrawWindow(FHeaderHandle, nullptr, nullptr, RDW_INVALIDATE);
        }
        break;
    default:
        FollowMessage(Message.Msg);
        break;
    }
}

void TbsSkinCustomListView::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINTHEADERTODC) {
        if (FHeaderHandle && Message.WParam)
            PaintHeader(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    TbsSkinViewBase::Dispatch(Message);
}

// ---------------------------------------------------------------- header

void TbsSkinCustomListView::SubclassHeader(HWND Header) {
    ReleaseHeader();
    FHeaderHandle = Header;
    FDefHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLong(Header, GWL_WNDPROC));
    SetWindowLong(Header, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance));
}

void TbsSkinCustomListView::ReleaseHeader() {
    if (FHeaderHandle && IsWindow(FHeaderHandle) && FDefHeaderProc)
        SetWindowLong(FHeaderHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
    FHeaderHandle = nullptr;
    FDefHeaderProc = nullptr;
}

LRESULT TbsSkinCustomListView::HeaderProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    LRESULT Result = 0;
    switch (Msg) {
    case WM_WINDOWPOSCHANGING:
        reinterpret_cast<WINDOWPOS*>(LParam)->cx += HeaderExtraWidth;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT PS;
        HDC DC = reinterpret_cast<HDC>(WParam);
        const bool Own = DC == nullptr;
        if (Own)
            DC = BeginPaint(Wnd, &PS);
        PaintHeader(DC);
        if (Own)
            EndPaint(Wnd, &PS);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        Result = CallWindowProc(FDefHeaderProc, Wnd, Msg, WParam, LParam);
        break;
    }
    switch (Msg) {
    case WM_MOUSEMOVE:
        if (FDevDown)
            RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE);
        break;
    case WM_LBUTTONDOWN: {
        const TPoint P{short(LOWORD(LParam)), short(HIWORD(LParam))};
        FActiveSection = -1;
        const int Count = int(SendMessage(Wnd, HDM_GETITEMCOUNT, 0, 0));
        for (int I = 0; I < Count; ++I) {
            const TRect R = HeaderSectionRect(I);
            if (P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) {
                FActiveSection = I;
                break;
            }
        }
        HDHITTESTINFO Hit{};
        Hit.pt = POINT{P.X, P.Y};
        SendMessage(Wnd, HDM_HITTEST, 0, LPARAM(&Hit));
        if (Hit.flags == HHT_ONDIVIDER)
            FDevDown = true;
        else
            FHeaderDown = true;
        RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE);
        break;
    }
    case WM_LBUTTONUP:
        FHeaderDown = false;
        FDevDown = false;
        FActiveSection = -1;
        RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE);
        break;
    default:
        break;
    }
    return Result;
}

void TbsSkinCustomListView::LoadHeaderSkin() {
    FHIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FHeaderSkinDataName) : -1;
    HPicture = nullptr;
    if (FHIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[FHIndex].get());
    if (E)
        HPicture = FSD->ActivePicture(E->PictureIndex);
    // Without a button element or its picture the header keeps the plain look.
    if (!E || !HPicture) {
        FHIndex = -1;
        return;
    }
    HLTPt = E->LTPoint;
    HRTPt = E->RTPoint;
    HLBPt = E->LBPoint;
    HRBPt = E->RBPoint;
    HSkinRect = E->SkinRect;
    HClRect = E->ClRect;
    HFontColor = E->FontColor;
    HDownFontColor = E->DownFontColor;
    HActiveSkinRect = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    HDownSkinRect = IsNullRect(E->DownSkinRect) ? HActiveSkinRect : E->DownSkinRect;
    HStretchEffect = E->StretchEffect;
    HLeftStretch = E->LeftStretch;
    HTopStretch = E->TopStretch;
    HRightStretch = E->RightStretch;
    HBottomStretch = E->BottomStretch;
    HStretchType = E->StretchType;
}

TRect TbsSkinCustomListView::HeaderSectionRect(int Index) {
    int Item = Index;
    if (FullDrag()) {
        const int Count = int(SendMessage(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
        std::vector<int> Order(std::max(Count, 1));
        SendMessage(FHeaderHandle, HDM_GETORDERARRAY, WPARAM(Count), LPARAM(Order.data()));
        if (Index >= 0 && Index < Count)
            Item = Order[Index];
    }
    TRect R{};
    SendMessage(FHeaderHandle, HDM_GETITEMRECT, WPARAM(Item), LPARAM(&R));
    return R;
}

void TbsSkinCustomListView::PaintHeader(HDC DC) {
    LoadHeaderSkin();
    const int Count = int(SendMessage(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
    int RightEnd = 0;
    for (int I = 0; I < Count; ++I) {
        const TRect R = HeaderSectionRect(I);
        RightEnd = std::max(RightEnd, R.Right);
        PaintHeaderSection(DC, I, R, I == FActiveSection && FHeaderDown);
    }
    PaintHeaderRest(DC, RightEnd);
}

void TbsSkinCustomListView::PaintHeaderRest(HDC DC, int From) {
    TRect HR{};
    GetClientRect(FHeaderHandle, &HR);
    const int W = HR.Right + 1 - From, H = HR.Bottom;
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    if (FHIndex == -1) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, W, H});
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect({0, 0, W, H});
    } else if (!IsNullPoint(HLBPt)) {
        const int DW = W - RectWidth(HSkinRect), DH = H - RectHeight(HSkinRect);
        MakeNinePartBitmapNoRight(
            HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, {HRTPt.X + DW, HRTPt.Y},
            {HLBPt.X, HLBPt.Y + DH}, {HRBPt.X + DW, HRBPt.Y + DH},
            {HClRect.Left, HClRect.Top, HClRect.Right + DW, HClRect.Bottom + DH}, &B, HPicture,
            HSkinRect, W, H, true, HLeftStretch, HTopStretch, HRightStretch, HBottomStretch,
            HStretchEffect, HStretchType);
    } else {
        TBitmap Strip;
        MakeHorzTwoPartBitmap(HLTPt.X, RectWidth(HSkinRect) - HRTPt.X, &Strip, HPicture, HSkinRect,
                              W, RectHeight(HSkinRect), HStretchEffect);
        C->StretchDraw({0, 0, W, H}, &Strip);
    }
    BitBlt(DC, From, 0, W, H, C->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinCustomListView::DrawSectionContent(TCanvas* C, TListColumn* Column, int W, int H) {
    TRect R{SectionTextInset, 0, W - SectionTextInset, H};
    C->Brush()->SetStyle(bsClear);
    std::string S = Column->Caption();
    const std::string Original = S;
    TCustomImageList* Images = SmallImages();
    const int ImageIndex = Column->ImageIndex();
    const bool WithImage = Images && ImageIndex >= 0 && ImageIndex < Images->Count();
    int TextX = R.Left;
    if (WithImage) {
        const int IW = Images->Width();
        CorrectTextByWidth(C, S, R.Width() - IW - ImageTextGap);
        const int TW = C->TextWidth(S);
        int ImageX = R.Left;
        if (S == Original) {
            if (Column->Alignment() == taRightJustify)
                ImageX = R.Right - TW - IW - ImageTextGap;
            else if (Column->Alignment() == taCenter)
                ImageX = R.Left + R.Width() / 2 - (TW + IW + ImageTextGap) / 2;
        }
        Images->Draw(C, ImageX, H / 2 - Images->Height() / 2, ImageIndex, true);
        TextX = ImageX + IW + ImageTextGap;
    } else {
        CorrectTextByWidth(C, S, R.Width());
        const int TW = C->TextWidth(S);
        if (Column->Alignment() == taRightJustify)
            TextX = R.Right - TW;
        else if (Column->Alignment() == taCenter)
            TextX = R.Left + R.Width() / 2 - TW / 2;
    }
    C->TextRect(R, TextX, R.Height() / 2 - C->TextHeight(S) / 2, S);
}

void TbsSkinCustomListView::PaintHeaderSection(HDC DC, int Index, const TRect& R, bool Pressed) {
    const int W = R.Width(), H = R.Height();
    if (W <= 0 || H <= 0 || Index >= Columns()->Count())
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    C->Font()->Assign(Font());
    if (FHIndex == -1) {
        C->Brush()->SetColor(Pressed ? PlainFillDown : clBtnFace);
        C->FillRect({0, 0, W, H});
        C->Brush()->SetColor(Pressed ? PlainFrameDown : clBtnShadow);
        C->FrameRect({0, 0, W, H});
        C->Font()->SetColor(clBtnText);
    } else {
        const TRect Source = Pressed ? HDownSkinRect : HSkinRect;
        C->Font()->SetColor(Pressed ? HDownFontColor : HFontColor);
        if (!IsNullPoint(HLBPt)) {
            const int DW = W - RectWidth(HSkinRect), DH = H - RectHeight(HSkinRect);
            MakeNinePartBitmap(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, {HRTPt.X + DW, HRTPt.Y},
                               {HLBPt.X, HLBPt.Y + DH}, {HRBPt.X + DW, HRBPt.Y + DH},
                               {HClRect.Left, HClRect.Top, HClRect.Right + DW, HClRect.Bottom + DH},
                               &B, HPicture, Source, W, H, true, HLeftStretch, HTopStretch,
                               HRightStretch, HBottomStretch, HStretchEffect, HStretchType);
        } else {
            TBitmap Strip;
            MakeHorzThreePartBitmap(HLTPt.X, RectWidth(Source) - HRTPt.X, &Strip, HPicture, Source,
                                    W, RectHeight(HSkinRect), HStretchEffect);
            C->StretchDraw({0, 0, W, H}, &Strip);
        }
    }
    TListColumn* Col = Column(Index);
    if (OnDrawHeaderSection) {
        TRect Whole{0, 0, W, H};
        OnDrawHeaderSection(C, Col, Pressed, Whole);
    } else {
        DrawSectionContent(C, Col, W, H);
    }
    BitBlt(DC, R.Left, R.Top, W, H, C->Handle(), 0, 0, SRCCOPY);
}
