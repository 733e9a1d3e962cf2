#include "platform/forms/Menus.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/PopupMenus.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <atomic>
#include <cctype>

// ---------------------------------------------------------------- shortcuts

TShortCut ShortCut(unsigned short Key, TShiftState Shift) {
    if ((Key & 0xFF00) != 0)
        return 0;
    TShortCut Result = Key;
    if (Shift.Contains(ssShift))
        Result |= scShift;
    if (Shift.Contains(ssCtrl))
        Result |= scCtrl;
    if (Shift.Contains(ssAlt))
        Result |= scAlt;
    return Result;
}

void ShortCutToKey(TShortCut ShortCut, unsigned short& Key, TShiftState& Shift) {
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift)
        Shift.Include(ssShift);
    if (ShortCut & scCtrl)
        Shift.Include(ssCtrl);
    if (ShortCut & scAlt)
        Shift.Include(ssAlt);
}

namespace {

struct TKeyName {
    int Key;
    const char* Name;
};

const TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},       {VK_TAB, "Tab"},    {VK_RETURN, "Enter"},   {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},     {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},      {VK_END, "End"},
    {VK_HOME, "Home"},       {VK_LEFT, "Left"},  {VK_UP, "Up"},          {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},       {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},     {VK_PAUSE, "Pause"},
    {VK_MULTIPLY, "Num *"},  {VK_ADD, "Num +"},  {VK_SUBTRACT, "Num -"}, {VK_DIVIDE, "Num /"},
    {VK_DECIMAL, "Num Del"}, {VK_OEM_PLUS, "="}, {VK_OEM_MINUS, "-"},    {VK_OEM_COMMA, ","},
    {VK_OEM_PERIOD, "."},    {VK_OEM_1, ";"},    {VK_OEM_2, "/"},        {VK_OEM_3, "`"},
    {VK_OEM_4, "["},         {VK_OEM_5, "\\"},   {VK_OEM_6, "]"},        {VK_OEM_7, "'"},
};

std::string KeyToText(int Key) {
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return std::string(1, char(Key));
    if (Key >= VK_F1 && Key <= VK_F24)
        return "F" + std::to_string(Key - VK_F1 + 1);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return "Num " + std::to_string(Key - VK_NUMPAD0);
    for (const TKeyName& Name : KeyNames)
        if (Name.Key == Key)
            return Name.Name;
    return {};
}

bool SameTextAscii(const std::string& A, const std::string& B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return std::tolower(static_cast<unsigned char>(X)) ==
                      std::tolower(static_cast<unsigned char>(Y));
           });
}

} // namespace

std::string ShortCutToText(TShortCut ShortCut) {
    std::string Name = KeyToText(ShortCut & 0xFF);
    if (Name.empty())
        return {};
    std::string Result;
    if (ShortCut & scShift)
        Result += "Shift+";
    if (ShortCut & scCtrl)
        Result += "Ctrl+";
    if (ShortCut & scAlt)
        Result += "Alt+";
    return Result + Name;
}

TShortCut TextToShortCut(const std::string& Text) {
    static const struct {
        const char* Prefix;
        TShortCut Bit;
    } Prefixes[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
    TShortCut Shift = 0;
    std::string Rest = Text;
    bool Found = true;
    while (Found && !Rest.empty()) {
        Found = false;
        for (const auto& P : Prefixes) {
            std::string Prefix = P.Prefix;
            if (Rest.size() > Prefix.size() &&
                SameTextAscii(Rest.substr(0, Prefix.size()), Prefix)) {
                Shift |= P.Bit;
                Rest.erase(0, Prefix.size());
                Found = true;
            }
        }
    }
    for (int Key = 1; Key < 256; ++Key) {
        std::string Name = KeyToText(Key);
        if (!Name.empty() && SameTextAscii(Name, Rest))
            return TShortCut(Key | Shift);
    }
    return 0;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState Result;
    if (GetKeyState(VK_SHIFT) < 0)
        Result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        Result.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        Result.Include(ssAlt);
    return Result;
}

TShiftState KeyDataToShiftState(long KeyData) {
    TShiftState Result = KeyboardStateToShiftState();
    if (KeyData & 0x20000000)
        Result.Include(ssAlt);
    return Result;
}

// ---------------------------------------------------------------- TMenuItem

namespace {
std::atomic<unsigned> NextCommand{1};
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand++) {}

TMenuItem::~TMenuItem() {
    FActionLink.reset();
    Clear();
    if (FParent)
        FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    return FItems[Index];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item)
        return;
    if (Item->FParent)
        throw EInvalidOperation("Menu inserted twice");
    if (Index < 0 || Index > Count())
        RaiseListIndexError(Index);
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
    TMenuItem* Item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
    delete Item;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
    int Index = IndexOf(Item);
    if (Index < 0)
        throw EInvalidOperation("Sub-menu is not in menu");
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
    MenuChanged(true);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
    std::string Wanted = StripHotkey(ACaption);
    for (TMenuItem* Item : FItems)
        if (SameTextAscii(StripHotkey(Item->FCaption), Wanted))
            return Item;
    return nullptr;
}

int TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int Value) {
    if (!FParent)
        return;
    TMenuItem* P = FParent;
    int Count = P->Count();
    Value = std::clamp(Value, 0, Count - 1);
    auto& List = P->FItems;
    List.erase(List.begin() + MenuIndex());
    List.insert(List.begin() + Value, this);
    MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* Item = this;
    while (Item->FParent)
        Item = Item->FParent;
    return Item->FMenu;
}

void TMenuItem::SetCaption(const std::string& Value) {
    if (Value == FCaption)
        return;
    FCaption = Value;
    MenuChanged(true);
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    FVisible = Value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == FChecked)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent)
        return;
    for (TMenuItem* Item : FParent->FItems)
        if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex)
            Item->SetChecked(false);
}

void TMenuItem::SetRadioItem(bool Value) {
    if (Value == FRadioItem)
        return;
    FRadioItem = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int Value) {
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
}

void TMenuItem::SetDefault(bool Value) {
    if (Value == FDefault)
        return;
    if (Value && FParent)
        for (TMenuItem* Item : FParent->FItems)
            Item->FDefault = false;
    FDefault = Value;
    MenuChanged(false);
}

void TMenuItem::SetShortCut(TShortCut Value) {
    FShortCut = Value;
    MenuChanged(false);
}

TBitmap* TMenuItem::Bitmap() {
    if (!FBitmap)
        FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

void TMenuItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    MenuChanged(false);
}

TBasicAction* TMenuItem::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* Value) {
    if (!Value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(Value);
    FActionLink->OnChange = TNotifyEvent(this, &TMenuItem::DoActionChange);
    ActionChange(Value, false);
    Value->FreeNotification(this);
}

void TMenuItem::DoActionChange(TObject* Sender) {
    if (Sender == Action())
        ActionChange(Sender, false);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    if (!A)
        return;
    if (!CheckDefaults || FCaption.empty())
        SetCaption(A->Caption());
    if (!CheckDefaults || !FChecked)
        SetChecked(A->Checked());
    if (!CheckDefaults || FEnabled)
        SetEnabled(A->Enabled());
    if (!CheckDefaults || FHint.empty())
        SetHint(A->Hint());
    if (!CheckDefaults || FImageIndex == -1)
        SetImageIndex(A->ImageIndex());
    if (!CheckDefaults || FShortCut == 0)
        SetShortCut(A->ShortCut());
    if (!CheckDefaults || FVisible)
        SetVisible(A->Visible());
    if (!CheckDefaults || !OnClick)
        OnClick = A->OnExecute;
}

void TMenuItem::Click() {
    if (!FEnabled)
        return;
    // An action that checks itself does it through the link.
    auto* Custom = dynamic_cast<TCustomAction*>(Action());
    if (FAutoCheck && !(Custom && Custom->AutoCheck()))
        SetChecked(!FChecked);
    TBasicAction* A = Action();
    // The handler runs through the action only while OnClick is still the
    // action's; an item given its own OnClick runs that.
    if (A && (!OnClick || OnClick == A->OnExecute))
        FActionLink->Execute(this);
    else if (OnClick)
        OnClick(this);
}

bool TMenuItem::RethinkLines() {
    bool Reduce = FAutoLineReduction == maAutomatic ||
                  (FAutoLineReduction == maParent &&
                   (FParent ? FParent->FAutoLineReduction != maManual
                            : (!FMenu || FMenu->FAutoLineReduction == maAutomatic)));
    std::vector<bool> Hidden(FItems.size(), false);
    if (Reduce) {
        // A separator stays only between two visible non-separator items.
        bool LastWasItem = false;
        int PendingLine = -1;
        for (std::size_t I = 0; I < FItems.size(); ++I) {
            TMenuItem* Item = FItems[I];
            if (!Item->FVisible)
                continue;
            if (Item->IsLine()) {
                if (!LastWasItem || PendingLine >= 0)
                    Hidden[I] = true;
                else
                    PendingLine = static_cast<int>(I);
                continue;
            }
            PendingLine = -1;
            LastWasItem = true;
        }
        if (PendingLine >= 0)
            Hidden[PendingLine] = true;
    }
    bool Changed = Hidden != FLineHidden;
    FLineHidden = Hidden;
    for (TMenuItem* Item : FItems)
        if (Item->Count() > 0)
            Changed = Item->RethinkLines() || Changed;
    return Changed;
}

bool TMenuItem::LineHidden(int Index) const {
    return Index >= 0 && Index < static_cast<int>(FLineHidden.size()) && FLineHidden[Index];
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action())
        FActionLink.reset();
}

void TMenuItem::MenuChanged(bool Rebuild) {
    if (TMenu* Menu = GetParentMenu())
        Menu->MenuChanged(this, Rebuild);
}

// ---------------------------------------------------------------- TMenuActionLink

TCustomAction* TMenuActionLink::CustomAction() const {
    return dynamic_cast<TCustomAction*>(FAction);
}

void TMenuActionLink::SetCaption(const std::string& Value) {
    if (auto* A = CustomAction(); A && FClient->Caption() == A->Caption())
        FClient->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
    if (auto* A = CustomAction(); A && FClient->Checked() == A->Checked())
        FClient->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
    if (auto* A = CustomAction(); A && FClient->Enabled() == A->Enabled())
        FClient->SetEnabled(Value);
}
void TMenuActionLink::SetHint(const std::string& Value) {
    if (auto* A = CustomAction(); A && FClient->Hint() == A->Hint())
        FClient->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(int Value) {
    if (auto* A = CustomAction(); A && FClient->ImageIndex() == A->ImageIndex())
        FClient->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
    if (auto* A = CustomAction(); A && FClient->ShortCut() == A->ShortCut())
        FClient->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
    if (auto* A = CustomAction(); A && FClient->Visible() == A->Visible())
        FClient->SetVisible(Value);
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    Destroying();
    DestroyComponents();
}

void TMenu::SetImages(TCustomImageList* Value) {
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TMenu::SetAutoLineReduction(TMenuAutoFlag Value) {
    FAutoLineReduction = Value;
    FItems->RethinkLines();
}

namespace {

TMenuItem* FindIn(TMenuItem* Item, unsigned Value, TFindItemKind Kind) {
    for (int I = 0; I < Item->Count(); ++I) {
        TMenuItem* Sub = Item->Items(I);
        if ((Kind == fkCommand && Sub->Command() == Value) ||
            (Kind == fkShortCut && Sub->ShortCut() == Value && Value != 0))
            return Sub;
        if (TMenuItem* Found = FindIn(Sub, Value, Kind))
            return Found;
    }
    return nullptr;
}

TMenuItem* FindShortCut(TMenuItem* Item, TShortCut Value) {
    for (int I = 0; I < Item->Count(); ++I) {
        TMenuItem* Sub = Item->Items(I);
        if (!Sub->Enabled() || !Sub->Visible())
            continue;
        if (Sub->ShortCut() == Value)
            return Sub;
        if (TMenuItem* Found = FindShortCut(Sub, Value))
            return Found;
    }
    return nullptr;
}

} // namespace

TMenuItem* TMenu::FindItem(unsigned Value, TFindItemKind Kind) const {
    return FindIn(FItems, Value, Kind);
}

bool TMenu::DispatchCommand(unsigned ACommand) {
    TMenuItem* Item = FindItem(ACommand, fkCommand);
    if (!Item)
        return false;
    Item->Click();
    return true;
}

bool TMenu::IsShortCut(TWMKey& Message) {
    TShiftState Shift = KeyDataToShiftState(Message.KeyData);
    TShortCut Key = ShortCut(Message.CharCode, Shift);
    if (Key == 0 || (Key & 0xFF) == 0)
        return false;
    TMenuItem* Item = FindShortCut(FItems, Key);
    if (!Item)
        return false;
    Item->Click();
    return true;
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

void TMenu::MenuChanged(TMenuItem*, bool) {
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    FPopupComponent = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
    if (OnPopup)
        OnPopup(Sender);
}

// ---------------------------------------------------------------- constructors

TMenuItem* NewItem(TComponent* AOwner, const std::string& ACaption, TShortCut AShortCut,
                   bool AChecked, bool AEnabled, TNotifyEvent AOnClick, const std::string& AName) {
    auto* Item = new TMenuItem(AOwner);
    Item->SetCaption(ACaption);
    Item->SetShortCut(AShortCut);
    Item->SetChecked(AChecked);
    Item->SetEnabled(AEnabled);
    Item->OnClick = std::move(AOnClick);
    Item->SetName(AName);
    return Item;
}

TMenuItem* NewLine(TComponent* AOwner) {
    return NewItem(AOwner, cLineCaption, 0, false, true, nullptr, "");
}

namespace {

// The native menu of an item's visible sub-items; separators that line
// reduction hides are left out.
// Pictures of items, as bitmaps of their own (a TBitmap's handle may be held
// by its canvas), live while the menu is tracked.
struct TItemPictures {
    std::vector<HBITMAP> Bitmaps;
    TItemPictures() = default;
    TItemPictures(const TItemPictures&) = delete;
    TItemPictures& operator=(const TItemPictures&) = delete;
    ~TItemPictures() {
        for (HBITMAP B : Bitmaps)
            DeleteObject(ToObj(B));
    }
    HBITMAP Add(TBitmap* Source) {
        Bitmaps.push_back(ArgbToBitmap(BitmapToArgb(Source->Handle())));
        return Bitmaps.back();
    }
};

HMENU BuildNativeMenu(TMenuItem* Parent, bool OwnerDraw, TCustomImageList* Images,
                      TItemPictures& Pictures) {
    HMENU Menu = CreatePopupMenu();
    Parent->RethinkLines();
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if (!Item->Visible() || (Item->IsLine() && Parent->LineHidden(I)))
            continue;
        MENUITEMINFO Info;
        Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA;
        Info.fType = Item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (Item->RadioItem())
            Info.fType |= MFT_RADIOCHECK;
        if (OwnerDraw && !Item->IsLine())
            Info.fType |= MFT_OWNERDRAW;
        Info.fState = (Item->Enabled() ? 0 : MFS_GRAYED) | (Item->Checked() ? MFS_CHECKED : 0) |
                      (Item->Default() ? MFS_DEFAULT : 0);
        Info.wID = Item->Command();
        std::string Text = Item->Caption();
        if (Item->ShortCut())
            Text += "\t" + ShortCutToText(Item->ShortCut());
        Info.dwTypeData = Text.c_str();
        Info.dwItemData = std::uintptr_t(Item);
        if (Item->Count() > 0) {
            Info.fMask |= MIIM_SUBMENU;
            Info.hSubMenu = BuildNativeMenu(Item, OwnerDraw, Images, Pictures);
        }
        if (Images && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count()) {
            // Drawn by the list on the menu's colour, so that its
            // transparency shows the menu behind.
            TBitmap Picture;
            Picture.SetSize(Images->Width(), Images->Height());
            Picture.Canvas()->Brush()->SetColor(clMenu);
            Picture.Canvas()->FillRect(Rect(0, 0, Images->Width(), Images->Height()));
            Images->Draw(Picture.Canvas(), 0, 0, Item->ImageIndex(), Item->Enabled());
            Info.fMask |= MIIM_BITMAP;
            Info.hbmpItem = Pictures.Add(&Picture);
        } else if (Item->HasBitmap()) {
            Info.fMask |= MIIM_BITMAP;
            Info.hbmpItem = Pictures.Add(Item->Bitmap());
        }
        InsertMenuItem(Menu, UINT(GetMenuItemCount(Menu)), TRUE, &Info);
    }
    return Menu;
}

} // namespace

void TPopupMenu::Popup(int X, int Y) {
    DoPopup(this);
    UINT Command = Track(X, Y);
    if (Command)
        DispatchCommand(Command);
}

UINT TPopupMenu::Track(int X, int Y) {
    TItemPictures Pictures;
    HMENU Menu = BuildNativeMenu(Items(), OwnerDraw(), Images(), Pictures);
    if (OwnerDraw()) {
        SetMenuItemDrawer([](std::uintptr_t Data, TCanvas* Canvas, TRect R, bool Selected) {
            auto* Item = reinterpret_cast<TMenuItem*>(Data);
            if (Item->OnDrawItem)
                Item->OnDrawItem(Item, Canvas, R, Selected);
        });
        SetMenuItemMeasurer([](std::uintptr_t Data, TCanvas* Canvas, int& Width, int& Height) {
            auto* Item = reinterpret_cast<TMenuItem*>(Data);
            if (Item->OnMeasureItem)
                Item->OnMeasureItem(Item, Canvas, Width, Height);
        });
    }
    // The drawers and the menu go also when an item's handler raises.
    struct TTrackEnd {
        HMENU Menu;
        ~TTrackEnd() {
            SetMenuItemDrawer(nullptr);
            SetMenuItemMeasurer(nullptr);
            DestroyMenu(Menu);
        }
    } End{Menu};
    static const UINT Alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    return UINT(TrackPopupMenu(Menu, Alignments[FAlignment] | TPM_RETURNCMD | TPM_RIGHTBUTTON, X, Y,
                               0, GetActiveWindow(), nullptr));
}
