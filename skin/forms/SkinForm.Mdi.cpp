// MDI bookkeeping: the children's window-menu entries and tabs, the window
// commands of the main form and the free area the children are placed in.
#include "skin/forms/SkinForm.h"

#include "platform/core/Conversions.h"
#include "platform/win/Windows.h"
#include "skin/forms/SkinForm.MdiTabs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr const char* ChildItemSuffix = "_BSFCHILDITEM";

TCustomForm* MainForm() {
    return Application ? Application->MainForm() : nullptr;
}

// The child name an entry stands for, or "" for an entry that is not one.
std::string ChildNameOf(const TMenuItem* Item) {
    std::string Name = Item->Name();
    const auto At = Name.find(ChildItemSuffix);
    if (At == std::string::npos)
        return {};
    return Name.erase(At, std::char_traits<char>::length(ChildItemSuffix));
}

bool IsChildEntry(const TMenuItem* Item) {
    return Item->Name().find(ChildItemSuffix) != std::string::npos;
}

// The window menu of the main form, when the main form has a component.
TMenuItem* MainWindowMenu() {
    TCustomForm* Main = MainForm();
    if (!Main || !FindSkinFormComponent(Main))
        return nullptr;
    return Main->WindowMenu();
}

TMenuItem* EntryOf(TMenuItem* Menu, const std::string& ChildName) {
    for (int I = 0; I < Menu->Count(); ++I)
        if (IsChildEntry(Menu->Items(I)) && ChildNameOf(Menu->Items(I)) == ChildName)
            return Menu->Items(I);
    return nullptr;
}

// The children of Main in their order now: changing a child's state may
// activate another one, which reorders the form's own list.
std::vector<TCustomForm*> ChildrenOf(TCustomForm* Main) {
    std::vector<TCustomForm*> List;
    for (int I = 0; I < Main->MDIChildCount(); ++I)
        List.push_back(Main->MDIChildren(I));
    return List;
}

} // namespace

void TbsSkinForm::UpdateMDIChildren() {
    if (!IsMDIForm())
        return;
    for (int I = 0; I < FForm->MDIChildCount(); ++I)
        if (FForm->MDIChildren(I)->HandleAllocated())
            SendMessage(FForm->MDIChildren(I)->Handle(), WM_MDICHILDMOVE, 0, 0);
    ArrangeMinimizedChildren();
}

void TbsSkinForm::ArrangeMinimizedChildren() {
    if (!IsMDIForm())
        return;
    for (int I = 0; I < FForm->MDIChildCount(); ++I) {
        TCustomForm* Child = FForm->MDIChildren(I);
        TbsSkinForm* C = FindSkinFormComponent(Child);
        if (!C || C->WindowState() != wsMinimized)
            continue;
        TPoint P;
        C->FindMinimizedPosition(P);
        Child->SetLeft(P.X);
        Child->SetTop(P.Y);
    }
}

TRect TbsSkinForm::GetMDIWorkArea() {
    TCustomForm* Main = MainForm();
    if (!Main)
        return TRect{};
    TRect R{0, 0, Main->ClientWidth(), Main->ClientHeight()};
    for (int I = 0; I < Main->ControlCount(); ++I) {
        TControl* C = Main->Controls(I);
        if (!C->Visible())
            continue;
        switch (C->Align()) {
        case alLeft:
            R.Left = std::max(R.Left, C->Left() + C->Width());
            break;
        case alTop:
            R.Top = std::max(R.Top, C->Top() + C->Height());
            break;
        case alRight:
            R.Right = std::min(R.Right, C->Left());
            break;
        case alBottom:
            R.Bottom = std::min(R.Bottom, C->Top());
            break;
        default:
            break;
        }
    }
    return R;
}

TCustomForm* TbsSkinForm::FindMaximizedChild() {
    TCustomForm* Main = MainForm();
    if (!Main)
        return nullptr;
    if (TCustomForm* Active = Main->ActiveMDIChild()) {
        TbsSkinForm* C = FindSkinFormComponent(Active);
        if (C && C->WindowState() == wsMaximized)
            return Active;
    }
    for (int I = 0; I < Main->MDIChildCount(); ++I) {
        TbsSkinForm* C = FindSkinFormComponent(Main->MDIChildren(I));
        if (C && C->WindowState() == wsMaximized)
            return Main->MDIChildren(I);
    }
    return nullptr;
}

void TbsSkinForm::AddChildToMenu() {
    TMenuItem* Menu = MainWindowMenu();
    if (!Menu)
        return;
    auto* Item = new TMenuItem(this);
    Item->SetName(FForm->Name() + ChildItemSuffix);
    Item->SetCaption(FForm->Caption());
    Item->OnClick = TNotifyEvent(this, &TbsSkinForm::MDIItemClick);
    Menu->Add(Item);
}

void TbsSkinForm::UpDateChildCaptionInMenu() {
    if (TMenuItem* Menu = MainWindowMenu())
        if (TMenuItem* Item = EntryOf(Menu, FForm->Name()))
            Item->SetCaption(FForm->Caption());
}

void TbsSkinForm::UpDateChildActiveInMenu() {
    TMenuItem* Menu = MainWindowMenu();
    if (!Menu)
        return;
    TCustomForm* Active = MainForm()->ActiveMDIChild();
    const std::string ActiveName = Active ? Active->Name() : std::string();
    for (int I = 0; I < Menu->Count(); ++I) {
        TMenuItem* Item = Menu->Items(I);
        if (IsChildEntry(Item))
            Item->SetChecked(Active && ChildNameOf(Item) == ActiveName);
    }
}

void TbsSkinForm::DeleteChildFromMenu() {
    TMenuItem* Menu = MainWindowMenu();
    if (!Menu)
        return;
    if (TMenuItem* Item = EntryOf(Menu, FForm->Name())) {
        Menu->Remove(Item);
        delete Item;
    }
    if (MainForm()->MDIChildCount() == 0)
        for (int I = 0; I < Menu->Count(); ++I)
            if (IsChildEntry(Menu->Items(I))) {
                TMenuItem* Stray = Menu->Items(I);
                Menu->Remove(Stray);
                delete Stray;
                break;
            }
}

void TbsSkinForm::MDIItemClick(TObject* Sender) {
    TCustomForm* Main = MainForm();
    auto* Item = dynamic_cast<TMenuItem*>(Sender);
    if (!Main || !FindSkinFormComponent(Main) || !Item)
        return;
    const std::string Name = ChildNameOf(Item);
    for (int I = 0; I < Main->MDIChildCount(); ++I) {
        TCustomForm* Child = Main->MDIChildren(I);
        if (Child->Name() != Name)
            continue;
        if (TbsSkinForm* C = FindSkinFormComponent(Child))
            if (C->WindowState() == wsMinimized)
                C->SetWindowState(wsNormal);
        Child->Show();
    }
}

void TbsSkinForm::AddChildToBar() {
    bool Accept = true;
    if (OnAcceptToMDITabsBar)
        OnAcceptToMDITabsBar(Accept);
    if (!Accept)
        return;
    TbsSkinForm* Main = FindSkinFormComponent(MainForm());
    if (Main && Main->MDITabsBar())
        Main->MDITabsBar()->AddTab(FForm);
}

void TbsSkinForm::DeleteChildFromBar() {
    TbsSkinForm* Main = FindSkinFormComponent(MainForm());
    if (Main && Main->MDITabsBar())
        Main->MDITabsBar()->DeleteTab(FForm);
}

void TbsSkinForm::RefreshMDIBarTab() {
    TbsSkinForm* Main = FindSkinFormComponent(MainForm());
    TbsSkinMDITabsBar* Bar = Main ? Main->MDITabsBar() : nullptr;
    if (!Bar || !Bar->HandleAllocated())
        return;
    for (int I = 0; I < Bar->TabCount(); ++I)
        if (Bar->Tab(I)->Child == FForm)
            Bar->Tab(I)->Draw(Bar->Canvas());
}

void TbsSkinForm::UpdateMainFormMDITabs() {
    TbsSkinForm* Main = FindSkinFormComponent(MainForm());
    if (Main && Main->MDITabsBar())
        Main->MDITabsBar()->UpdateActiveTab();
}

void TbsSkinForm::SetMDITabsBar(TbsSkinMDITabsBar* Value) {
    FMDITabsBar = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetSkinForm(this);
    }
}

// ---------------------------------------------------------------- window commands

void TbsSkinForm::MinimizeAll() {
    if (!IsMDIForm())
        return;
    for (TCustomForm* Child : ChildrenOf(FForm))
        if (TbsSkinForm* C = FindSkinFormComponent(Child))
            C->SetWindowState(wsMinimized);
}

void TbsSkinForm::MaximizeAll() {
    if (!IsMDIForm())
        return;
    for (TCustomForm* Child : ChildrenOf(FForm))
        if (TbsSkinForm* C = FindSkinFormComponent(Child))
            C->SetWindowState(wsMaximized);
}

void TbsSkinForm::CloseAll() {
    if (!IsMDIForm())
        return;
    const std::vector<TCustomForm*> Children = ChildrenOf(FForm);
    for (auto It = Children.rbegin(); It != Children.rend(); ++It)
        (*It)->Close();
}

void TbsSkinForm::RestoreAll() {
    if (!IsMDIForm())
        return;
    for (TCustomForm* Child : ChildrenOf(FForm)) {
        TbsSkinForm* C = FindSkinFormComponent(Child);
        if (!C)
            continue;
        if (C->WindowState() != wsNormal)
            C->SetWindowState(wsNormal);
        if (C->RollUpState() && C->WindowState() == wsNormal)
            C->SetRollUpState(false);
    }
}

void TbsSkinForm::Tile() {
    if (!IsMDIForm())
        return;
    RestoreAll();
    const std::vector<TCustomForm*> Children = ChildrenOf(FForm);
    const int N = static_cast<int>(Children.size());
    int Cols = static_cast<int>(std::sqrt(static_cast<double>(N)));
    if (Cols == 0)
        return;
    int Rows = N / Cols;
    if (N > Rows * Cols)
        ++Rows;
    const TRect R = GetMDIWorkArea();
    const int W = R.Width(), H = R.Height();
    const int ColW = W / Cols;
    int RowH = H / Rows;
    int X = W, Y = H, ColsLeft = Cols;
    for (int I = N - 1; I >= 0; --I) {
        Children[I]->SetBounds(std::max(0, X - ColW), std::max(0, Y - RowH), ColW, RowH);
        Y -= RowH;
        if (Y - RowH < 0) {
            Y = H;
            X -= ColW;
            ColsLeft = std::max(1, ColsLeft - 1);
            Rows = I / ColsLeft;
            if (I > Rows * ColsLeft)
                ++Rows;
            Rows = std::max(1, Rows);
            RowH = H / Rows;
        }
    }
}

void TbsSkinForm::Cascade() {
    if (!IsMDIForm())
        return;
    RestoreAll();
    const TRect R = GetMDIWorkArea();
    const int W = R.Width(), H = R.Height();
    // A skin without a top frame would give a step of 0.
    const int Step = std::max(1, FSkinSupport ? NewClRect.Top : GetDefCaptionHeight() + 3);
    const int N = (W - static_cast<int>(Round(W * 0.8))) / Step;
    const std::vector<TCustomForm*> Children = ChildrenOf(FForm);
    const int C = static_cast<int>(Children.size());
    const int K = C < N ? C - 1 : N;
    const int CW = std::max(W - Step * K, GetMinWidth());
    const int CH = std::max(H - Step * K, GetMinHeight());
    int Offset = 0;
    for (int I = C - 1; I >= 0; --I) {
        TCustomForm* Child = Children[I];
        int ChildW = CW, ChildH = CH;
        if (Child->BorderStyle() == bsSingle) {
            ChildW = Child->Width();
            ChildH = Child->Height();
        }
        if (Offset + ChildW > W || Offset + ChildH > H)
            Offset = 0;
        Child->SetBounds(Offset, Offset, ChildW, ChildH);
        Offset += Step;
    }
}
