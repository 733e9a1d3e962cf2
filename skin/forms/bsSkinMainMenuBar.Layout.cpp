// The menu bar's objects: built from the main menu (an MDI child's menu
// merged in), the buttons of a maximized MDI child, the items area and the
// skin element.
#include "skin/forms/bsSkinMainMenuBar.h"

#include "skin/forms/SkinForm.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

namespace {

bool NoArea(const TRect& R) {
    return R.Right - R.Left <= 0 || R.Bottom - R.Top <= 0;
}

} // namespace

// ---------------------------------------------------------------- the menu

TbsSkinMainMenu::TbsSkinMainMenu(TComponent* AOwner) : TMainMenu(AOwner) {}

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value)
        return;
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMainMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

// ---------------------------------------------------------------- objects

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : Parent(AParent) {
    if (!AData)
        return;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    ObjectRect = SkinRect;
    if (TbsSkinData* SD = Parent->SkinData())
        Picture = SD->ActivePicture(AData->ActivePictureIndex);
    if (Morphing && NoArea(ActiveSkinRect))
        Morphing = false;
}

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent,
                                                   TbsDataSkinMainMenuBarButton* AData)
    : TbsMenuBarObject(AParent, AData) {
    if (AData) {
        Command = AData->Command;
        DownRect = AData->DownRect;
        FSkinSupport = true;
    }
}

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent,
                                               TbsDataSkinMainMenuItem* AData)
    : TbsMenuBarObject(AParent, AData) {
    if (AData) {
        FSkinSupport = true;
        FontName = AData->FontName;
        FontHeight = AData->FontHeight;
        FontStyle = AData->FontStyle;
        UnEnabledFontColor = AData->UnEnabledFontColor;
        FontColor = AData->FontColor;
        ActiveFontColor = AData->ActiveFontColor;
        DownFontColor = AData->DownFontColor;
        TextRct = AData->TextRct;
        DownRect = !NoArea(AData->DownRect)         ? AData->DownRect
                   : !NoArea(AData->ActiveSkinRect) ? AData->ActiveSkinRect
                                                    : AData->SkinRect;
        TbsMenuBarObject::DownRect = DownRect;
        LO = AData->ItemLO;
        RO = AData->ItemRO;
        StretchEffect = AData->StretchEffect;
        AnimateSkinRect = AData->AnimateSkinRect;
        FrameCount = AData->FrameCount;
        AnimateInterval = AData->AnimateInterval;
        InActiveAnimation = AData->InActiveAnimation;
        if (NoArea(ActiveSkinRect))
            Morphing = false;
    }
    OldEnabled = Enabled;
    Visible = true;
    CurrentFrame = 0;
}

// ---------------------------------------------------------------- the bar

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefItemFont(std::make_unique<TFont>()) {
    SetAlign(alTop);
    TbsSkinControl::SetBounds(Left(), Top(), Width() > 0 ? Width() : 100, FDefaultHeight);
    const auto MakeTimer = [this](unsigned Interval, void (TbsSkinMainMenuBar::*Tick)(TObject*)) {
        auto* T = new TTimer(this);
        T->SetEnabled(false);
        T->SetInterval(Interval);
        T->SetOnTimer(TNotifyEvent(this, Tick));
        return T;
    };
    MouseTimer = MakeTimer(50, &TbsSkinMainMenuBar::MouseTimerTick);
    MorphTimer = MakeTimer(25, &TbsSkinMainMenuBar::MorphTimerTick);
    AnimateTimer = MakeTimer(25, &TbsSkinMainMenuBar::AnimateTimerTick);
    FDefItemFont->SetName("Arial");
    FDefItemFont->SetStyle({});
    FDefItemFont->SetHeight(14);
    FDefItemFont->SetColor(clBtnText);
    SetSkinDataName("mainmenubar");
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() {
    ObjectList.clear();
    if (FMainMenu)
        FMainMenu->RemoveFreeNotification(this);
    if (FMergeMenu)
        FMergeMenu->RemoveFreeNotification(this);
    if (BSF)
        BSF->RemoveFreeNotification(this);
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        CreateMenu();
    } else if (AComponent == FMergeMenu) {
        FMergeMenu = nullptr;
        CreateMenu();
    } else if (AComponent == BSF)
        BSF = nullptr;
}

bool TbsSkinMainMenuBar::SkinUsable() const {
    return FSD && !FSD->Empty;
}

bool TbsSkinMainMenuBar::SkinEffects() const {
    return SkinUsable() && FSD->EnableSkinEffects();
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
    if (FMainMenu)
        FMainMenu->RemoveFreeNotification(this);
    FMainMenu = Value;
    if (FMainMenu)
        FMainMenu->FreeNotification(this);
    CreateMenu();
    Invalidate();
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value) {
    if (BSF)
        BSF->RemoveFreeNotification(this);
    BSF = Value;
    if (BSF)
        BSF->FreeNotification(this);
}

void TbsSkinMainMenuBar::SetDefItemFont(TFont* Value) {
    FDefItemFont->Assign(Value);
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinMainMenuBar::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0)
        SetBounds(Left(), Top(), Value, Height());
}

void TbsSkinMainMenuBar::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0)
        SetBounds(Left(), Top(), Width(), Value);
}

void TbsSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    if (FIndex != -1)
        AHeight = SkinRect.Bottom - SkinRect.Top;
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
}

void TbsSkinMainMenuBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinMainMenuBar*>(FSD->CtrlList[FIndex].get());
    if (!E) {
        // Another kind of element under this name: the plain look.
        FIndex = -1;
        return;
    }
    SkinRect = E->SkinRect;
    ItemsRect = E->ItemsRect;
    MenuBarItem = E->MenuBarItem;
    CloseButton = E->CloseButton;
    MaxButton = E->MaxButton;
    MinButton = E->MinButton;
    SysMenuButton = E->SysMenuButton;
    TrackMarkColor = E->TrackMarkColor;
    TrackMarkActiveColor = E->TrackMarkActiveColor;
    StretchEffect = E->StretchEffect;
    ItemTransparent = E->ItemTransparent;
    Picture = FSD->ActivePicture(E->PictureIndex);
}

void TbsSkinMainMenuBar::BeforeChangeSkinData() {
    FSkinSupport = false;
    TbsSkinControl::BeforeChangeSkinData();
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    ObjectList.clear();
    ButtonsCount = 0;
}

void TbsSkinMainMenuBar::ChangeSkinData() {
    GetSkinData();
    FSkinSupport = FIndex != -1;
    CreateMenu();
    if (FSkinSupport)
        TbsSkinControl::SetBounds(Left(), Top(), Width(), SkinRect.Bottom - SkinRect.Top);
    else if (FDefaultHeight > 0)
        TbsSkinControl::SetBounds(Left(), Top(), Width(), FDefaultHeight);
    Invalidate();
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::Item(int Index) const {
    return static_cast<TbsSkinMainMenuBarItem*>(ObjectList[ButtonsCount + Index].get());
}

TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() {
    if (FMergeMenu)
        return FMergeMenu;
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    TCustomForm* Child = Main ? Main->ActiveMDIChild() : nullptr;
    if (!Child)
        return nullptr;
    for (int i = 0; i < Child->ComponentCount(); ++i)
        if (auto* M = dynamic_cast<TMainMenu*>(Child->Components(i)))
            return M;
    return nullptr;
}

TMenuItem* TbsSkinMainMenuBar::ChildMenuItems() {
    if (!BSF || !BSF->Form())
        return nullptr;
    if (BSF->Form()->FormStyle() != fsMDIForm && !FMergeMenu)
        return nullptr;
    TMainMenu* M = GetChildMainMenu();
    return M ? M->Items() : nullptr;
}

void TbsSkinMainMenuBar::CreateMenu() {
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    ObjectList.clear();
    ButtonsCount = 0;
    if (!FMainMenu)
        return;
    TMenuItem* Child = ChildMenuItems();
    ChildMenuIn = Child != nullptr;
    if (Child)
        FScrollMenu = false;
    TbsDataSkinMainMenuItem* Element = nullptr;
    if (SkinUsable()) {
        const int I = FSD->GetIndex(MenuBarItem);
        if (I != -1)
            Element = dynamic_cast<TbsDataSkinMainMenuItem*>(FSD->ObjectList[I].get());
    }
    std::vector<TMenuItem*> L;
    TMenuItem* Main = FMainMenu->Items();
    for (int i = 0; i < Main->Count(); ++i) {
        TMenuItem* MI = Main->Items(i);
        bool Replaced = false;
        for (int j = 0; Child && j < Child->Count(); ++j)
            Replaced = Replaced || Child->Items(j)->GroupIndex() == MI->GroupIndex();
        if (!Replaced)
            L.push_back(MI);
    }
    if (Child) {
        for (int j = 0; j < Child->Count(); ++j)
            L.push_back(Child->Items(j));
        // Stable, so merged items of one group keep their menu order.
        std::stable_sort(L.begin(), L.end(), [](TMenuItem* A, TMenuItem* B) {
            return A->GroupIndex() < B->GroupIndex();
        });
    }
    for (TMenuItem* MI : L) {
        if (!MI->Visible())
            continue;
        auto It = std::make_unique<TbsSkinMainMenuBarItem>(this, Element);
        It->IDName = MI->Name();
        It->Enabled = MI->Enabled();
        It->OldEnabled = It->Enabled;
        It->MenuItem = MI;
        ObjectList.push_back(std::move(It));
    }
    if (FMDIChildMax) {
        CreateMDIButtons();
        EnableMDIButtons();
    }
}

void TbsSkinMainMenuBar::UpDateItems() {
    CreateMenu();
    Invalidate();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems() {
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMainMenuBarItem* I = Item(i);
        if (I->Visible)
            I->Enabled = I->MenuItem->Enabled();
        I->OldEnabled = I->MenuItem->Enabled();
    }
    Invalidate();
}

void TbsSkinMainMenuBar::Merge(TMainMenu* Menu) {
    if (FMergeMenu)
        FMergeMenu->RemoveFreeNotification(this);
    FMergeMenu = Menu;
    if (FMergeMenu)
        FMergeMenu->FreeNotification(this);
    UpDateItems();
}

void TbsSkinMainMenuBar::UnMerge() {
    Merge(nullptr);
}

// ---------------------------------------------------------------- MDI buttons

void TbsSkinMainMenuBar::CreateMDIButtons() {
    ButtonsCount = 0;
    struct TPlace {
        const std::string* Named;
        const char* Default;
        TbsStdCommand Command;
    };
    const TPlace Places[] = {{&MinButton, "MinButton", cmMinimize},
                             {&MaxButton, "MaxButton", cmMaximize},
                             {&CloseButton, "CloseButton", cmClose},
                             {&SysMenuButton, "SysMenuButton", cmSysMenu}};
    for (const TPlace& P : Places) {
        const std::string Name = FIndex != -1 ? *P.Named : std::string(P.Default);
        TbsDataSkinMainMenuBarButton* Data = nullptr;
        if (SkinUsable()) {
            const int I = FSD->GetIndex(Name);
            if (I != -1)
                Data = dynamic_cast<TbsDataSkinMainMenuBarButton*>(FSD->ObjectList[I].get());
        }
        auto B = std::make_unique<TbsSkinMainMenuBarButton>(this, Data);
        // A button whose element is missing keeps the command of its place,
        // so it still does what its place promises.
        if (!Data)
            B->Command = P.Command;
        B->IDName = Name;
        ObjectList.insert(ObjectList.begin(), std::move(B));
        ++ButtonsCount;
    }
}

void TbsSkinMainMenuBar::DeleteMDIButtons() {
    while (ButtonsCount > 0) {
        ActiveObject = MouseCaptureObject = -1;
        ObjectList.erase(ObjectList.begin());
        --ButtonsCount;
    }
    ButtonsCount = 0;
}

void TbsSkinMainMenuBar::EnableMDIButtons() {
    TbsSkinForm* Child = FindMaximizedChildSkinForm();
    if (!Child)
        return;
    const TbsBorderIcons Icons = Child->BorderIcons();
    for (int i = 0; i < ButtonsCount; ++i) {
        auto* B = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[i].get());
        B->Enabled = true;
        if (B->Command == cmMinimize && !Icons.Contains(TbsBorderIcon::biMinimize))
            B->Enabled = false;
        if (B->Command == cmSysMenu && !Icons.Contains(TbsBorderIcon::biSystemMenu))
            B->Enabled = false;
    }
}

void TbsSkinMainMenuBar::MDIChildMaximize() {
    if (FMDIChildMax)
        return;
    FMDIChildMax = true;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    CreateMDIButtons();
    EnableMDIButtons();
    Invalidate();
}

void TbsSkinMainMenuBar::MDIChildRestore() {
    if (!FindMaximizedChildSkinForm()) {
        if (!FMDIChildMax)
            return;
        FMDIChildMax = false;
        DeleteMDIButtons();
        Invalidate();
        return;
    }
    EnableMDIButtons();
}

// ---------------------------------------------------------------- items area

void TbsSkinMainMenuBar::CalcItemsRect() {
    const bool Skinned = FIndex != -1;
    if (Skinned)
        NewItemsRect = {ItemsRect.Left, ItemsRect.Top,
                        Width() + ItemsRect.Right - (SkinRect.Right - SkinRect.Left),
                        ItemsRect.Bottom};
    else
        NewItemsRect = {2, 2, Width() - 2, Height() - 2};
    if (!FMDIChildMax || ButtonsCount != 4)
        return;
    const int AreaH = NewItemsRect.Bottom - NewItemsRect.Top;
    const auto SizeOf = [&](TbsMenuBarObject* O, int& W, int& H) {
        auto* B = static_cast<TbsSkinMainMenuBarButton*>(O);
        if (Skinned && B->FSkinSupport) {
            W = O->SkinRect.Right - O->SkinRect.Left;
            H = O->SkinRect.Bottom - O->SkinRect.Top;
        } else
            W = H = AreaH;
    };
    int W = 0, H = 0;
    TbsMenuBarObject* Sys = ObjectList[0].get();
    SizeOf(Sys, W, H);
    const int Top0 = NewItemsRect.Top + AreaH / 2;
    Sys->ObjectRect = {NewItemsRect.Left, Top0 - H / 2, NewItemsRect.Left + W, Top0 - H / 2 + H};
    NewItemsRect.Left += W + 2;
    for (int i = 1; i < 4; ++i) {
        TbsMenuBarObject* O = ObjectList[i].get();
        SizeOf(O, W, H);
        O->ObjectRect = {NewItemsRect.Right - W, Top0 - H / 2, NewItemsRect.Right,
                         Top0 - H / 2 + H};
        NewItemsRect.Right -= W + 2;
    }
}
