// The MDI tab bar: layout, hover, press, drag and close, and its painting.
#include "skin/forms/SkinForm.MdiTabs.h"

#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsSkinData.h"
#include "skin/model/bsUtils.h"

#include <algorithm>

namespace {

// Plain fills: the tab under the mouse and the active tab.
constexpr TColor HotTabColor = 0xD2BDB6;
constexpr TColor ActiveTabColor = 0xB59385;

bool InClosed(const TRect& R, int X, int Y) {
    return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

// A button element of the bar's skin with its picture, or null when the skin
// has no such element or picture.
TbsDataSkinButtonControl* ButtonElement(TbsSkinMDITabsBar* Bar, const char* Name, TBitmap*& Pic) {
    TbsSkinData* SD = Bar->SkinData();
    if (!SD)
        return nullptr;
    const int I = SD->GetControlIndex(Name);
    auto* E = I == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[I].get());
    Pic = E ? SD->ActivePicture(E->PictureIndex) : nullptr;
    return Pic ? E : nullptr;
}

// The element's picture for the state; a missing hot picture is the normal
// one, a missing pressed picture the hot one.
TRect StateRect(const TbsDataSkinButtonControl* E, bool Down, bool Over) {
    const TRect Hot = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    if (Down)
        return IsNullRect(E->DownSkinRect) ? Hot : E->DownSkinRect;
    return Over ? Hot : E->SkinRect;
}

} // namespace

// ---------------------------------------------------------------- tab

TbsMDITab::TbsMDITab(TbsSkinMDITabsBar* AParentBar, TCustomForm* AChild)
    : TabsBar(AParentBar), Child(AChild) {}

void TbsMDITab::DrawCloseButton(TCanvas* Cnvs, const TRect& R) {
    TbsSkinMDITabsBar* Bar = TabsBar;
    if (Bar->FIndex != -1 && Bar->Picture && !IsNullRect(Bar->CloseButtonRect)) {
        const TRect S = (ButtonMouseDown && ButtonMouseIn) ? Bar->CloseButtonDownRect
                        : ButtonMouseIn                    ? Bar->ClosebuttonActiveRect
                                                           : Bar->CloseButtonRect;
        ButtonRect = Bounds(R.Left, R.Top + R.Height() / 2 - S.Height() / 2, S.Width(), S.Height());
        TBitmap B;
        B.SetSize(S.Width(), S.Height());
        B.Canvas()->CopyRect(TRect{0, 0, S.Width(), S.Height()}, Bar->Picture->Canvas(), S);
        if (Bar->ButtonTransparent) {
            B.SetTransparent(true);
            B.SetTransparentColor(Bar->ButtonTransparentColor);
        }
        Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &B);
        return;
    }
    if (Bar->FIndex != -1 && Bar->Picture) {
        // A skin without close-button pictures: its tool button's look.
        TBitmap* Pic = nullptr;
        TbsDataSkinButtonControl* E = ButtonElement(Bar, "resizetoolbutton", Pic);
        if (!E)
            return;
        const int Size = Bar->FCloseSize;
        const bool Down = ButtonMouseDown && ButtonMouseIn;
        TBitmap B;
        B.SetSize(Size, Size);
        MakeNinePartBitmapByClRect(&B, Pic, StateRect(E, Down, ButtonMouseIn), E->ClRect, true);
        DrawCloseImage(B.Canvas(), Size / 2 - 5, Size / 2 - 5,
                       Down            ? E->DownFontColor
                       : ButtonMouseIn ? E->ActiveFontColor
                                       : E->FontColor);
        ButtonRect = Bounds(R.Left, R.Top + R.Height() / 2 - Size / 2, Size, Size);
        Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &B);
        return;
    }
    const int C = R.Top + R.Height() / 2;
    ButtonRect = TRect{R.Left, C - 7, R.Left + 14, C + 7};
    DrawCloseImage(Cnvs, ButtonRect.Left + 2, ButtonRect.Top + 2,
                   ButtonMouseIn ? clWhite : clBlack);
}

void TbsMDITab::DrawCaption(TCanvas* C, TRect Text) {
    TbsSkinMDITabsBar* Bar = TabsBar;
    C->Brush()->SetStyle(bsClear);
    if (Bar->FIndex != -1 && Bar->Picture && Bar->FUseSkinFont) {
        C->Font()->SetName(Bar->FontName);
        C->Font()->SetStyle(Bar->FontStyle);
        C->Font()->SetHeight(Bar->FontHeight);
    } else {
        const TColor Colour = C->Font()->Color();
        C->Font()->Assign(Bar->FDefaultFont.get());
        if (Bar->FIndex != -1 && Bar->Picture)
            C->Font()->SetColor(Colour);
    }
    if (Bar->SkinData() && Bar->SkinData()->ResourceStrData())
        C->Font()->SetCharset(Bar->SkinData()->ResourceStrData()->CharSet());
    if (Bar->OnTabGetDrawParamsEvent)
        Bar->OnTabGetDrawParamsEvent(this, C);
    std::string Caption = Child ? Child->Caption() : std::string();
    CorrectWideTextByWidth(C, Caption, Text.Width());
    DrawText(C->Handle(), Caption, -1, &Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TbsMDITab::ButtonDraw(TCanvas* Cnvs) {
    TbsSkinMDITabsBar* Bar = TabsBar;
    TBitmap* Pic = nullptr;
    TbsDataSkinButtonControl* E = ButtonElement(Bar, "resizebutton", Pic);
    if (!E)
        return;
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    const int DW = W - E->SkinRect.Width(), DH = H - E->SkinRect.Height();
    const TPoint NewRT{E->RTPoint.X + DW, E->RTPoint.Y}, NewLB{E->LBPoint.X, E->LBPoint.Y + DH};
    const TPoint NewRB{E->RBPoint.X + DW, E->RBPoint.Y + DH};
    TRect NewCl = E->ClRect;
    NewCl.Right += DW;
    NewCl.Bottom += DH;
    TBitmap B;
    B.SetSize(W, H);
    MakeNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint, NewRT,
                       NewLB, NewRB, NewCl, &B, Pic, StateRect(E, Active, MouseIn), W, H, true,
                       E->LeftStretch, E->TopStretch, E->RightStretch, E->BottomStretch,
                       E->StretchEffect, E->StretchType);
    TCanvas* C = B.Canvas();
    C->Font()->SetColor(Active ? E->DownFontColor : MouseIn ? E->ActiveFontColor : E->FontColor);
    TRect Text = NewCl;
    if (Bar->FShowCloseButtons) {
        Text.Right -= Bar->FCloseSize + 3;
        DrawCloseButton(C, TRect{Text.Right, 0, Text.Right + Bar->FCloseSize + 3, H});
    }
    const int TH = GetWideTextHeight(C, "Wg");
    if (Text.Height() < TH) {
        Text.Top = H / 2 - TH / 2;
        Text.Bottom = Text.Top + TH;
    }
    DrawCaption(C, Text);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsMDITab::ResizeDraw(TCanvas* Cnvs) {
    TbsSkinMDITabsBar* Bar = TabsBar;
    const int W = ObjectRect.Width();
    const int H = ObjectRect.Height() + (Active ? Bar->FActiveTabOffset : 0);
    TRect S = Bar->TabRect;
    TColor Colour = Bar->FontColor;
    if (MouseIn && !Active && !IsNullRect(Bar->MouseInTabRect)) {
        S = Bar->MouseInTabRect;
        Colour = Bar->MouseInFontColor;
    } else if (Active) {
        S = Bar->ActiveTabRect;
        Colour = Bar->ActiveFontColor;
    }
    TBitmap B;
    B.SetSize(W, std::max(H, 1));
    const int Q = Bar->TabRect.Height() / 4;
    MakeNinePartBitmapByClRect(
        &B, Bar->Picture, S,
        TRect{Bar->TabLeftOffset, Q, S.Width() - Bar->TabRightOffset, S.Height() - Q}, true);
    TCanvas* C = B.Canvas();
    C->Font()->SetColor(Colour);
    TRect Text{2, 0, W - 2, H};
    if (Bar->FShowCloseButtons) {
        Text = TRect{2, 2, W - Bar->FCloseSize - 5, H};
        DrawCloseButton(C, TRect{Text.Right, Text.Top, W, H});
    }
    DrawCaption(C, Text);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsMDITab::Draw(TCanvas* Cnvs) {
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W <= 0 || H <= 0)
        return;
    TbsSkinMDITabsBar* Bar = TabsBar;
    const bool Skinned = Bar->FIndex != -1 && Bar->Picture;
    if (Skinned && Bar->FTabKind == bstkButton) {
        ButtonDraw(Cnvs);
        return;
    }
    if (Skinned && !Bar->FUseSkinSize) {
        ResizeDraw(Cnvs);
        return;
    }
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    TRect Text{2, 0, W - 2, H};
    if (Skinned) {
        const TRect& S = (MouseIn && !Active) ? Bar->MouseInTabRect
                         : Active             ? Bar->ActiveTabRect
                                              : Bar->TabRect;
        B.SetSize(W, S.Height() > 0 ? S.Height() : H);
        MakeHorzThreePartBitmap(Bar->TabLeftOffset, Bar->TabRightOffset, &B, Bar->Picture, S, W,
                                S.Height() > 0 ? S.Height() : H, Bar->TabStretchEffect);
        C = B.Canvas();
        Text = TRect{Bar->TabLeftOffset, 0, W - Bar->TabRightOffset, B.Height()};
    } else {
        C->Brush()->SetColor((MouseIn && !Active) ? HotTabColor
                             : Active             ? ActiveTabColor
                                                  : clBtnFace);
        C->FillRect(TRect{0, 0, W, H});
    }
    if (Bar->FShowCloseButtons) {
        Text = TRect{2, 0, W - Bar->FCloseSize - 5, B.Height()};
        DrawCloseButton(C, TRect{Text.Right, 0, W, B.Height()});
    }
    C->Brush()->SetStyle(bsClear);
    if (Skinned && Bar->FUseSkinFont) {
        C->Font()->SetName(Bar->FontName);
        C->Font()->SetStyle(Bar->FontStyle);
        C->Font()->SetHeight(Bar->FontHeight);
    } else
        C->Font()->Assign(Bar->FDefaultFont.get());
    if (Skinned)
        C->Font()->SetColor((MouseIn && !Active) ? Bar->MouseInFontColor
                            : Active             ? Bar->ActiveFontColor
                                                 : Bar->FontColor);
    if (Bar->SkinData() && Bar->SkinData()->ResourceStrData())
        C->Font()->SetCharset(Bar->SkinData()->ResourceStrData()->CharSet());
    if (!Skinned && Bar->OnTabGetDrawParamsEvent)
        Bar->OnTabGetDrawParamsEvent(this, C);
    std::string Caption = Child ? Child->Caption() : std::string();
    CorrectWideTextByWidth(C, Caption, Text.Width());
    DrawText(C->Handle(), Caption, -1, &Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

// ---------------------------------------------------------------- bar

TbsSkinMDITabsBar::TbsSkinMDITabsBar(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    SetBounds(0, 0, 150, 21);
    FSkinDataName = "tab";
    FListMenu = new TbsSkinPopupMenu(this);
    FHideListMenu = new TbsSkinPopupMenu(this);
}

TbsSkinMDITabsBar::~TbsSkinMDITabsBar() {
    delete FListButton;
    delete FHideListButton;
}

void TbsSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    const void* C = AComponent;
    if (C == BSF)
        BSF = nullptr;
    if (C == FListButton)
        FListButton = nullptr;
    if (C == FHideListButton)
        FHideListButton = nullptr;
    if (C == FListMenu)
        FListMenu = nullptr;
    if (C == FHideListMenu)
        FHideListMenu = nullptr;
}

TbsSkinMenuSpeedButton* TbsSkinMDITabsBar::MakeListButton(bool Hidden) {
    auto* B = new TbsSkinMenuSpeedButton(this);
    B->SetParent(this);
    B->SetWidth(15);
    B->SetAlign(Hidden ? alRight : alLeft);
    B->SetSkinDataName("resizetoolbutton");
    B->SetSkinData(SkinData());
    B->SetSkinPopupMenu(Hidden ? FHideListMenu : FListMenu);
    B->SetStandardArrowKind(Hidden ? 2 : 4);
    B->OnShowTrackMenu = [this, Hidden](TObject*) { FillListMenu(Hidden); };
    return B;
}

void TbsSkinMDITabsBar::FillListMenu(bool HiddenOnly) {
    TbsSkinPopupMenu* M = HiddenOnly ? FHideListMenu : FListMenu;
    if (!M)
        return;
    M->Items()->Clear();
    for (std::size_t Index = 0; Index < ObjectList.size(); ++Index) {
        TbsMDITab* T = ObjectList[Index].get();
        if (HiddenOnly && T->Visible)
            continue;
        auto* I = new TMenuItem(M);
        // The tab's place, so that children without distinct names are told
        // apart when the entry is chosen.
        I->SetTag(static_cast<int>(Index));
        I->SetName(T->Child->Name() + (HiddenOnly ? "_BSFCHILDITEMBARHIDE" : "_BSFCHILDITEMBAR"));
        I->SetCaption(T->Child->Caption());
        I->SetRadioItem(true);
        I->SetGroupIndex(0);
        I->SetChecked(T->Active);
        I->OnClick = [this](TObject* Sender) { ListItemClick(Sender); };
        M->Items()->Add(I);
    }
}

void TbsSkinMDITabsBar::ListItemClick(TObject* Sender) {
    auto* Item = dynamic_cast<TMenuItem*>(Sender);
    if (!BSF || !Item)
        return;
    std::string Name = Item->Name();
    for (const char* Suffix : {"_BSFCHILDITEMBARHIDE", "_BSFCHILDITEMBAR"}) {
        const std::string S = Suffix;
        if (Name.size() >= S.size() && Name.compare(Name.size() - S.size(), S.size(), S) == 0) {
            Name.resize(Name.size() - S.size());
            break;
        }
    }
    TCustomForm* Main = BSF->Form();
    if (!Main)
        return;
    TCustomForm* Target = nullptr;
    const std::intptr_t Index = Item->Tag();
    if (Index >= 0 && Index < TabCount() && ObjectList[std::size_t(Index)]->Child->Name() == Name)
        Target = ObjectList[std::size_t(Index)]->Child;
    for (int I = 0; I < Main->MDIChildCount() && !Target; ++I)
        if (Main->MDIChildren(I)->Name() == Name)
            Target = Main->MDIChildren(I);
    if (!Target)
        return;
    if (TbsSkinForm* C = FindSkinFormComponent(Target); C && C->WindowState() == wsMinimized)
        C->SetWindowState(wsNormal);
    Target->Show();
}

void TbsSkinMDITabsBar::Paint() {
    TbsSkinControl::Paint();
    if (FInVisibleCount > 0 && !FHideListButton) {
        FHideListButton = MakeListButton(true);
        FHideListButton->Repaint();
    } else if (FInVisibleCount == 0 && FHideListButton) {
        delete FHideListButton;
        FHideListButton = nullptr;
    }
}

void TbsSkinMDITabsBar::SetShowCloseButtons(bool Value) {
    FShowCloseButtons = Value;
    Invalidate();
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind Value) {
    FTabKind = Value;
    if (FIndex != -1)
        Invalidate();
}

void TbsSkinMDITabsBar::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0)
        SetHeight(Value);
}

void TbsSkinMDITabsBar::AddTab(TCustomForm* Child) {
    ObjectList.push_back(std::make_unique<TbsMDITab>(this, Child));
    if (!FListButton)
        FListButton = MakeListButton(false);
    Invalidate();
}

void TbsSkinMDITabsBar::DeleteTab(TCustomForm* Child) {
    if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount() &&
        ObjectList[ActiveTabIndex]->Child == Child) {
        if (OnTabMouseLeave)
            OnTabMouseLeave(ObjectList[ActiveTabIndex].get());
        ActiveTabIndex = OldTabIndex = -1;
    }
    for (auto It = ObjectList.begin(); It != ObjectList.end(); ++It)
        if ((*It)->Child == Child) {
            ObjectList.erase(It);
            break;
        }
    DragIndex = -1;
    IsDrag = FDown = false;
    if (ObjectList.empty() && FListButton) {
        delete FListButton;
        FListButton = nullptr;
    }
    Invalidate();
}

int TbsSkinMDITabsBar::GetTabIndex(int X, int Y) {
    for (int I = 0; I < TabCount(); ++I)
        if (ObjectList[I]->Visible && InClosed(ObjectList[I]->ObjectRect, X, Y))
            return I;
    return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(int X, int Y) {
    const int I = GetTabIndex(X, Y);
    return I == -1 ? nullptr : ObjectList[I].get();
}

int TbsSkinMDITabsBar::GetCloseSize() {
    if (FIndex == -1 || IsNullRect(CloseButtonRect))
        return 14;
    return CloseButtonRect.Width();
}

void TbsSkinMDITabsBar::UpdateActiveTab() {
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    TCustomForm* Active = Main ? Main->ActiveMDIChild() : nullptr;
    if (!Active)
        return;
    for (auto& T : ObjectList)
        T->Active = T->Child == Active;
    Invalidate();
}

void TbsSkinMDITabsBar::CloseTabChild(TbsMDITab* Tab) {
    if (Tab && Tab->Child)
        Tab->Child->Close();
}

void TbsSkinMDITabsBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1)
        return;
    auto* D = dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[FIndex].get());
    if (!D) {
        FIndex = -1;
        return;
    }
    Picture = FSD->ActivePicture(D->PictureIndex);
    TabRect = D->TabRect;
    ActiveTabRect = IsNullRect(D->ActiveTabRect) ? D->TabRect : D->ActiveTabRect;
    MouseInTabRect = IsNullRect(D->MouseInTabRect) ? D->TabRect : D->MouseInTabRect;
    TabsBGRect = D->TabsBGRect;
    TabLeftOffset = D->TabLeftOffset;
    TabRightOffset = D->TabRightOffset;
    FontName = D->FontName;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    MouseInFontColor = D->MouseInFontColor;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    TabStretchEffect = D->TabStretchEffect;
    if (IsNullRect(D->CloseButtonActiveRect))
        D->CloseButtonActiveRect = D->CloseButtonRect;
    if (IsNullRect(D->CloseButtonDownRect))
        D->CloseButtonDownRect = D->CloseButtonActiveRect;
    CloseButtonRect = D->CloseButtonRect;
    ClosebuttonActiveRect = D->CloseButtonActiveRect;
    CloseButtonDownRect = D->CloseButtonDownRect;
    ButtonTransparent = D->ButtonTransparent;
    ButtonTransparentColor = D->ButtonTransparentColor;
    LTPoint = D->LTPoint;
    RTPoint = D->RTPoint;
    LBPoint = D->LBPoint;
    RBPoint = D->RBPoint;
    ClRect = D->ClRect;
    SkinRect = D->SkinRect;
    TopStretch = D->TopStretch;
    FBottomOffset = D->ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TbsSkinMDITabsBar::ChangeSkinData() {
    TbsSkinControl::ChangeSkinData();
    FCloseSize = GetCloseSize();
    for (TbsSkinMenuSpeedButton* B : {FListButton, FHideListButton})
        if (B)
            B->SetSkinData(SkinData());
    // An element without a tab picture has no size to give.
    if (FIndex != -1 && FUseSkinSize && TabRect.Height() > 0)
        SetHeight(TabRect.Height() + (FTabKind == bstkTab ? FBottomOffset : 0));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    Invalidate();
}

void TbsSkinMDITabsBar::CalcTabRects() {
    if (ObjectList.empty())
        return;
    FInVisibleCount = 0;
    const int RowHeight = Height() - (FIndex != -1 && FTabKind == bstkTab ? FBottomOffset : 0);
    const int Count = TabCount();
    int W = std::min((Width() - 15) / Count, FDefaultTabWidth);
    int RightLimit = Width();
    if (FMinTabWidth != 0 && W < FMinTabWidth) {
        W = FMinTabWidth;
        const int Fit = (Width() - 30) / FMinTabWidth;
        for (int I = 0; I < Count; ++I) {
            TbsMDITab* T = ObjectList[I].get();
            T->Visible = I < Fit;
            T->ObjectRect =
                T->Visible ? TRect{15 + W * I, 0, 15 + W * (I + 1), RowHeight} : TRect{};
            FInVisibleCount += !T->Visible;
        }
        RightLimit = Width() - 15;
    } else {
        for (int I = 0; I < Count; ++I) {
            TbsMDITab* T = ObjectList[I].get();
            T->Visible = true;
            T->ObjectRect = TRect{15 + W * I, 0, 15 + W * (I + 1), RowHeight};
        }
        if (W < FDefaultTabWidth)
            ObjectList.back()->ObjectRect.Right = Width();
    }
    if (IsDrag && DragIndex >= 0 && DragIndex < Count) {
        TRect& R = ObjectList[DragIndex]->ObjectRect;
        OffsetRect(&R, TabDX, 0);
        if (R.Right > RightLimit)
            OffsetRect(&R, RightLimit - R.Right, 0);
        if (R.Left < 0)
            OffsetRect(&R, -R.Left, 0);
    }
}

int TbsSkinMDITabsBar::GetDropIndex() {
    if (ObjectList.empty() || TabDX == 0 || DragIndex < 0 || DragIndex >= TabCount())
        return -1;
    const TRect& D = ObjectList[DragIndex]->ObjectRect;
    int Result = -1;
    auto Centre = [&](int I) {
        const TRect& R = ObjectList[I]->ObjectRect;
        return R.Left + R.Width() / 2;
    };
    if (TabDX > 0) {
        for (int I = DragIndex + 1; I < TabCount(); ++I)
            if (ObjectList[I]->Visible && Centre(I) < D.Right)
                Result = I;
    } else {
        for (int I = DragIndex - 1; I >= 0; --I)
            if (ObjectList[I]->Visible && Centre(I) > D.Left)
                Result = I;
    }
    return Result;
}

void TbsSkinMDITabsBar::RedrawTab(TbsMDITab* Tab) {
    if (HandleAllocated() && Tab->Visible)
        Tab->Draw(Canvas());
}

void TbsSkinMDITabsBar::TrackMouseTab(int X, int Y) {
    ActiveTabIndex = GetTabIndex(X, Y);
    const bool Changed = ActiveTabIndex != OldTabIndex;
    if (Changed) {
        if (OldTabIndex >= 0 && OldTabIndex < TabCount() && ObjectList[OldTabIndex]->Visible) {
            TbsMDITab* Old = ObjectList[OldTabIndex].get();
            Old->MouseIn = false;
            RedrawTab(Old);
            if (OnTabMouseLeave)
                OnTabMouseLeave(Old);
        }
        if (ActiveTabIndex != -1) {
            TbsMDITab* New = ObjectList[ActiveTabIndex].get();
            New->MouseIn = true;
            RedrawTab(New);
            if (OnTabMouseEnter)
                OnTabMouseEnter(New);
        }
        OldTabIndex = ActiveTabIndex;
    }
    if (FShowCloseButtons && ActiveTabIndex != -1) {
        TbsMDITab* T = ObjectList[ActiveTabIndex].get();
        TRect B = T->ButtonRect;
        OffsetRect(&B, T->ObjectRect.Left, T->ObjectRect.Top);
        const bool In = PtInRect(&B, TPoint{X, Y});
        if (In != T->ButtonMouseIn) {
            T->ButtonMouseIn = In;
            if (!In)
                T->ButtonMouseDown = false;
            RedrawTab(T);
        }
    }
    if (Changed && FShowCloseButtons) {
        bool Any = false;
        for (int I = 0; I < TabCount(); ++I)
            if (I != ActiveTabIndex && ObjectList[I]->ButtonMouseIn) {
                ObjectList[I]->ButtonMouseIn = ObjectList[I]->ButtonMouseDown = false;
                Any = true;
            }
        if (Any)
            Invalidate();
    }
}

void TbsSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    const int Index = GetTabIndex(X, Y);
    if (Index == -1)
        return;
    TbsMDITab* T = ObjectList[Index].get();
    if (Button == mbLeft) {
        T->Child->Show();
        if (TbsSkinForm* C = FindSkinFormComponent(T->Child))
            if (C->WindowState() == wsMinimized)
                C->SetWindowState(wsNormal);
        FDown = true;
        DragIndex = FMoveTabs ? Index : -1;
        DX = X;
        TabDX = 0;
        if (OnTabMouseDown)
            OnTabMouseDown(Button, Shift, T);
        if (FShowCloseButtons) {
            TRect B = T->ButtonRect;
            OffsetRect(&B, T->ObjectRect.Left, T->ObjectRect.Top);
            if (PtInRect(&B, TPoint{X, Y})) {
                FDown = false;
                DragIndex = -1;
                T->ButtonMouseIn = T->ButtonMouseDown = true;
                RedrawTab(T);
            } else
                T->ButtonMouseIn = T->ButtonMouseDown = false;
        }
    } else if (Button == mbRight) {
        // The child's system menu, in the main form's skinned menu.
        TbsSkinForm* ChildForm = FindSkinFormComponent(T->Child);
        if (FSupportChildMenus && ChildForm && BSF && BSF->SkinMenu) {
            TPoint P;
            GetCursorPos(&P);
            TMenuItem* Items = ChildForm->GetSystemMenuItems();
            BSF->SkinMenuOpen();
            BSF->SkinMenu->Popup(Parent(),
                                 BSF->MenusSkinData() ? BSF->MenusSkinData() : BSF->SkinData(), 0,
                                 TRect{P.X, P.Y, P.X, P.Y}, Items, false);
        }
        if (OnTabMouseDown)
            OnTabMouseDown(Button, Shift, T);
    }
}

void TbsSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex != -1 && !IsDrag && X != DX)
        IsDrag = true;
    if (IsDrag) {
        TabDX = X - DX;
        Invalidate();
    } else
        TrackMouseTab(X, Y);
}

void TbsSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        IsDrag = false;
        CalcTabRects();
        IsDrag = true;
        CalcTabRects();
        const int Target = GetDropIndex();
        IsDrag = false;
        if (Target != -1 && Target != DragIndex) {
            auto Moving = std::move(ObjectList[DragIndex]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + Target, std::move(Moving));
        }
        DragIndex = -1;
        DX = TabDX = 0;
        Invalidate();
    } else if (TbsMDITab* T = GetTab(X, Y); T && OnTabMouseUp)
        OnTabMouseUp(Button, Shift, T);
    if (FShowCloseButtons && Button == mbLeft) {
        for (int I = 0; I < TabCount(); ++I) {
            TbsMDITab* T = ObjectList[I].get();
            TRect B = T->ButtonRect;
            OffsetRect(&B, T->ObjectRect.Left, T->ObjectRect.Top);
            if (T->ButtonMouseDown && T->Visible && PtInRect(&B, TPoint{X, Y})) {
                T->ButtonMouseIn = true;
                T->ButtonMouseDown = false;
                RedrawTab(T);
                CloseTabChild(T);
                return;
            }
            T->ButtonMouseIn = T->ButtonMouseDown = false;
        }
    }
}

void TbsSkinMDITabsBar::Dispatch(TMessage& Message) {
    TbsSkinControl::Dispatch(Message);
    switch (Message.Msg) {
    case WM_CHECKPARENTBG:
        if (FIndex != -1 && FSD && FSD->MDITabsTransparent)
            Invalidate();
        break;
    case WM_MOVE:
        if (FIndex != -1 && FSD && FSD->MDITabsTransparent && Align() == alNone)
            Invalidate();
        break;
    case CM_MOUSELEAVE:
        TrackMouseTab(-1, -1);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- painting

void TbsSkinMDITabsBar::DrawTabs(TCanvas* C, int H) {
    if (ObjectList.empty())
        return;
    CalcTabRects();
    for (int I = 0; I < TabCount(); ++I)
        if (ObjectList[I]->Visible && !(IsDrag && I == DragIndex))
            ObjectList[I]->Draw(C);
    if (!IsDrag || DragIndex < 0 || DragIndex >= TabCount())
        return;
    ObjectList[DragIndex]->Draw(C);
    const int Target = GetDropIndex();
    if (Target == -1)
        return;
    const TRect& R = ObjectList[Target]->ObjectRect;
    const int X = TabDX < 1 ? R.Left : R.Right;
    C->Pen()->SetMode(pmNot);
    C->Brush()->SetStyle(bsClear);
    for (int L = X - 1; L <= X + 1; ++L) {
        C->MoveTo(L, 0);
        C->LineTo(L, H);
    }
    C->Polyline({{X + 2, H / 2}, {X + 5, H / 2 - 3}, {X + 5, H / 2 + 3}, {X + 2, H / 2}});
    C->Polyline({{X - 2, H / 2}, {X - 5, H / 2 - 3}, {X - 5, H / 2 + 3}, {X - 2, H / 2}});
    C->Pen()->SetMode(pmCopy);
}

void TbsSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(TRect{0, 0, B->Width(), B->Height()});
    DrawTabs(B->Canvas(), B->Height());
}

void TbsSkinMDITabsBar::CreateControlSkinImage(TBitmap* B) {
    TCanvas* C = B->Canvas();
    const int RowH = B->Height() - (FTabKind == bstkTab ? FBottomOffset : 0);
    if (FSD->MDITabsTransparent)
        DrawParentBackground(this, C);
    else if (Picture && TabsBGRect.Width() > 0 && TabsBGRect.Height() > 0 && RowH > 0) {
        // A background cell without width could never be tiled: the bar is
        // then left as filled.
        const int CellW = TabsBGRect.Width();
        TBitmap Cell;
        Cell.SetSize(CellW, RowH);
        Cell.Canvas()->CopyRect(TRect{0, 0, CellW, RowH}, Picture->Canvas(), TabsBGRect);
        for (int X = 0; X <= B->Width(); X += CellW)
            C->Draw(X, 0, &Cell);
    }
    if (FTabKind == bstkTab && !IsNullRect(SkinRect) && FBottomOffset > 0 && Picture) {
        TBitmap Strip;
        MakeHorzThreePartBitmap(LTPoint.X, SkinRect.Width() - RTPoint.X, &Strip, Picture,
                                TRect{SkinRect.Left + LTPoint.X, SkinRect.Top,
                                      SkinRect.Left + RTPoint.X, SkinRect.Top + ClRect.Top},
                                B->Width(), FBottomOffset, TopStretch);
        C->Draw(0, B->Height() - FBottomOffset, &Strip);
    }
    DrawTabs(C, B->Height());
}
