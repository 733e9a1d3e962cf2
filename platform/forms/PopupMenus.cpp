#include "platform/forms/PopupMenus.h"

#include "platform/forms/Hotkeys.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

struct TNativeItem {
    UINT Type = MFT_STRING;
    UINT State = 0;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    std::string Text;
    HBITMAP Bitmap = nullptr;
    std::uintptr_t Data = 0;

    bool IsSeparator() const { return (Type & MFT_SEPARATOR) != 0; }
    bool Enabled() const { return (State & MFS_GRAYED) == 0; }
};

struct TNativeMenu {
    std::vector<TNativeItem> Items;
};

std::map<HMENU, std::unique_ptr<TNativeMenu>> GMenus;
std::uintptr_t GNextMenu = 0x4D000;
TMenuItemDrawer GDrawer;
TMenuItemMeasurer GMeasurer;

TNativeMenu* MenuOf(HMENU Menu) {
    auto It = GMenus.find(Menu);
    return It == GMenus.end() ? nullptr : It->second.get();
}

// The item at a position, or the one with that id (searched in submenus too).
TNativeItem* ItemOf(HMENU Menu, UINT Item, bool ByPosition) {
    TNativeMenu* M = MenuOf(Menu);
    if (!M)
        return nullptr;
    if (ByPosition)
        return Item < M->Items.size() ? &M->Items[Item] : nullptr;
    for (TNativeItem& I : M->Items) {
        if (!I.SubMenu && I.Id == Item)
            return &I;
        if (I.SubMenu)
            if (TNativeItem* Found = ItemOf(I.SubMenu, Item, false))
                return Found;
    }
    return nullptr;
}

TNativeItem ItemFromFlags(UINT Flags, UINT_PTR IdOrSubMenu, const char* Text) {
    TNativeItem Item;
    if (Flags & MF_SEPARATOR)
        Item.Type = MFT_SEPARATOR;
    if (Flags & MF_OWNERDRAW)
        Item.Type |= MFT_OWNERDRAW;
    if (Flags & (MF_GRAYED | MF_DISABLED))
        Item.State |= MFS_GRAYED;
    if (Flags & MF_CHECKED)
        Item.State |= MFS_CHECKED;
    if (Flags & MF_DEFAULT)
        Item.State |= MFS_DEFAULT;
    if (Flags & MF_POPUP)
        Item.SubMenu = reinterpret_cast<HMENU>(IdOrSubMenu);
    else
        Item.Id = UINT(IdOrSubMenu);
    if (Text && !(Flags & MF_SEPARATOR))
        Item.Text = Text;
    return Item;
}

} // namespace

HMENU CreatePopupMenu() {
    auto Menu = reinterpret_cast<HMENU>(GNextMenu++);
    GMenus[Menu] = std::make_unique<TNativeMenu>();
    return Menu;
}

BOOL DestroyMenu(HMENU Menu) {
    TNativeMenu* M = MenuOf(Menu);
    if (!M)
        return FALSE;
    std::vector<HMENU> Subs;
    for (const TNativeItem& Item : M->Items)
        if (Item.SubMenu)
            Subs.push_back(Item.SubMenu);
    GMenus.erase(Menu);
    for (HMENU Sub : Subs)
        DestroyMenu(Sub);
    return TRUE;
}

BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdOrSubMenu, const char* Text) {
    TNativeMenu* M = MenuOf(Menu);
    if (!M)
        return FALSE;
    M->Items.push_back(ItemFromFlags(Flags, IdOrSubMenu, Text));
    return TRUE;
}

BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdOrSubMenu, const char* Text) {
    TNativeMenu* M = MenuOf(Menu);
    if (!M)
        return FALSE;
    std::size_t Index = M->Items.size();
    if (Flags & MF_BYPOSITION) {
        Index = std::min<std::size_t>(Position, M->Items.size());
    } else {
        for (std::size_t I = 0; I < M->Items.size(); ++I)
            if (!M->Items[I].SubMenu && M->Items[I].Id == Position)
                Index = I;
    }
    M->Items.insert(M->Items.begin() + long(Index),
                    ItemFromFlags(Flags & ~MF_BYPOSITION, IdOrSubMenu, Text));
    return TRUE;
}

BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO* Info) {
    TNativeMenu* M = MenuOf(Menu);
    if (!M || !Info)
        return FALSE;
    TNativeItem New;
    if (Info->fMask & MIIM_FTYPE)
        New.Type = Info->fType;
    if (Info->fMask & MIIM_STATE)
        New.State = Info->fState;
    if (Info->fMask & MIIM_ID)
        New.Id = Info->wID;
    if (Info->fMask & MIIM_SUBMENU)
        New.SubMenu = Info->hSubMenu;
    if ((Info->fMask & MIIM_STRING) && Info->dwTypeData)
        New.Text = Info->dwTypeData;
    if (Info->fMask & MIIM_BITMAP)
        New.Bitmap = Info->hbmpItem;
    if (Info->fMask & MIIM_DATA)
        New.Data = Info->dwItemData;
    std::size_t Index = M->Items.size();
    if (ByPosition) {
        Index = std::min<std::size_t>(Item, M->Items.size());
    } else {
        for (std::size_t I = 0; I < M->Items.size(); ++I)
            if (!M->Items[I].SubMenu && M->Items[I].Id == Item)
                Index = I;
    }
    M->Items.insert(M->Items.begin() + long(Index), New);
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFO* Info) {
    TNativeItem* I = ItemOf(Menu, Item, ByPosition);
    if (!I || !Info)
        return FALSE;
    Info->fType = I->Type;
    Info->fState = I->State;
    Info->wID = I->Id;
    Info->hSubMenu = I->SubMenu;
    Info->dwItemData = I->Data;
    Info->hbmpItem = I->Bitmap;
    Info->cch = UINT(I->Text.size());
    return TRUE;
}

int GetMenuItemCount(HMENU Menu) {
    TNativeMenu* M = MenuOf(Menu);
    return M ? int(M->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU Menu, int Position) {
    TNativeItem* I = Position >= 0 ? ItemOf(Menu, UINT(Position), true) : nullptr;
    return I && !I->SubMenu ? I->Id : 0xFFFFFFFF;
}

HMENU GetSubMenu(HMENU Menu, int Position) {
    TNativeItem* I = Position >= 0 ? ItemOf(Menu, UINT(Position), true) : nullptr;
    return I ? I->SubMenu : nullptr;
}

DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check) {
    TNativeItem* I = ItemOf(Menu, Item, (Check & MF_BYPOSITION) != 0);
    if (!I)
        return 0xFFFFFFFF;
    DWORD Old = I->State & MFS_CHECKED;
    I->State = (Check & MF_CHECKED) ? (I->State | MFS_CHECKED) : (I->State & ~MFS_CHECKED);
    return Old;
}

BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable) {
    TNativeItem* I = ItemOf(Menu, Item, (Enable & MF_BYPOSITION) != 0);
    if (!I)
        return -1;
    BOOL Old = (I->State & MFS_GRAYED) ? MF_GRAYED : MF_ENABLED;
    I->State =
        (Enable & (MF_GRAYED | MF_DISABLED)) ? (I->State | MFS_GRAYED) : (I->State & ~MFS_GRAYED);
    return Old;
}

void SetMenuItemDrawer(TMenuItemDrawer Drawer) {
    GDrawer = std::move(Drawer);
}

void SetMenuItemMeasurer(TMenuItemMeasurer Measurer) {
    GMeasurer = std::move(Measurer);
}

// ---------------------------------------------------------------- tracking

namespace {

constexpr int ItemHeight = 20;
constexpr int SeparatorHeight = 9;
constexpr int CheckColumn = 22;
constexpr int ArrowColumn = 18;
constexpr UINT_PTR SubmenuTimer = 1;
constexpr UINT SubmenuDelay = 400;

class TTracker {
public:
    TTracker(UINT Flags, HWND Owner) : FFlags(Flags), FOwner(Owner) {}

    UINT Run(HMENU Menu, TPoint At);

private:
    struct TLevel {
        HMENU Menu = nullptr;
        HWND Wnd = nullptr;
        int Hot = -1;
        TRect Bounds;
        std::vector<TRect> Items;
    };

    TNativeMenu& MenuOfLevel(const TLevel& L) { return *MenuOf(L.Menu); }
    void OpenLevel(HMENU Menu, TPoint At, bool FromParent, int ParentItemTop);
    void CloseLevelsAbove(std::size_t Keep);
    void Layout(TLevel& L);
    void Paint(HWND Wnd);
    LRESULT LevelProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    int LevelAt(TPoint Screen);
    int ItemAt(const TLevel& L, TPoint Screen);
    void SetHot(std::size_t Level, int Item);
    bool Selectable(const TNativeItem& Item) const { return !Item.IsSeparator() && Item.Enabled(); }
    void Step(int Direction);
    void OpenHotSubmenu(bool SelectFirst);
    void Choose(const TNativeItem& Item);
    void Cancel() { FDone = true; }
    void HandleKey(const MSG& M);
    void HandleMouse(UINT Msg, TPoint Screen);

    UINT FFlags;
    HWND FOwner;
    std::vector<TLevel> FLevels;
    WNDPROC FProc = nullptr;
    bool FDone = false;
    UINT FChosen = 0;
};

void RegisterMenuClass() {
    WNDCLASS Class;
    if (GetClassInfo(nullptr, "#MenuPopup", &Class))
        return;
    Class.style = CS_SAVEBITS | CS_DROPSHADOW;
    Class.lpfnWndProc = DefWindowProc;
    Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Class.lpszClassName = "#MenuPopup";
    RegisterClass(&Class);
}

std::pair<std::string, std::string> SplitShortcut(const std::string& Text) {
    auto Tab = Text.find('\t');
    if (Tab == std::string::npos)
        return {Text, {}};
    return {Text.substr(0, Tab), Text.substr(Tab + 1)};
}

int TextWidth(HDC DC, const std::string& Text, UINT Flags = 0) {
    TRect R{0, 0, 0, 0};
    DrawText(DC, Text, -1, &R, DT_CALCRECT | DT_SINGLELINE | Flags);
    return R.Width();
}

} // namespace

void TTracker::Layout(TLevel& L) {
    TNativeMenu& M = MenuOfLevel(L);
    HDC DC = CreateCompatibleDC(nullptr);
    TFont Font;
    Font.SetName("Tahoma");
    SelectObject(DC, ToObj(Font.Handle()));
    int TextW = 0, ShortW = 0;
    for (const TNativeItem& Item : M.Items) {
        auto [Caption, Short] = SplitShortcut(Item.Text);
        TextW = std::max(TextW, TextWidth(DC, Caption));
        if (!Short.empty())
            ShortW = std::max(ShortW, TextWidth(DC, Short, DT_NOPREFIX));
    }
    int Width = CheckColumn + TextW + (ShortW ? 24 + ShortW : 0) + ArrowColumn + 4;
    // Owner-drawn items say their own size; the widest sets the menu's.
    std::vector<int> Heights;
    TCanvas Canvas;
    Canvas.SetHandle(DC);
    Canvas.Font()->SetName("Tahoma");
    const int PlainWidth = Width - 4;
    for (const TNativeItem& Item : M.Items) {
        int H = Item.IsSeparator() ? SeparatorHeight : ItemHeight;
        if ((Item.Type & MFT_OWNERDRAW) && GMeasurer && !Item.IsSeparator()) {
            int W = PlainWidth;
            GMeasurer(Item.Data, &Canvas, W, H);
            H = std::max(H, 1);
            Width = std::max(Width, W + 4);
        }
        Heights.push_back(H);
    }
    Canvas.SetHandle(nullptr);
    DeleteDC(DC);
    int Y = 2;
    L.Items.clear();
    for (int H : Heights) {
        L.Items.push_back(Rect(2, Y, Width - 2, Y + H));
        Y += H;
    }
    L.Bounds = Bounds(L.Bounds.Left, L.Bounds.Top, std::max(Width, 40), Y + 2);
}

void TTracker::OpenLevel(HMENU Menu, TPoint At, bool FromParent, int ParentItemTop) {
    RegisterMenuClass();
    TLevel L;
    L.Menu = Menu;
    Layout(L);
    int W = L.Bounds.Width(), H = L.Bounds.Height();
    TRect Work;
    MONITORINFO Info;
    GetMonitorInfo(MonitorFromPoint(At, MONITOR_DEFAULTTONEAREST), &Info);
    Work = Info.rcWork;
    int X = At.X, Y = At.Y;
    if (FromParent) {
        const TLevel& Parent = FLevels.back();
        X = Parent.Bounds.Right - 3;
        Y = ParentItemTop - 3;
        // No room on the right: open on the parent's left.
        if (X + W > Work.Right)
            X = Parent.Bounds.Left - W + 3;
    } else {
        if (FFlags & TPM_RIGHTALIGN)
            X -= W;
        else if (FFlags & TPM_CENTERALIGN)
            X -= W / 2;
        if (FFlags & TPM_BOTTOMALIGN)
            Y -= H;
        else if (FFlags & TPM_VCENTERALIGN)
            Y -= H / 2;
        // Flipped to stay in the work area.
        if (X + W > Work.Right)
            X = At.X - W;
        if (Y + H > Work.Bottom)
            Y = At.Y - H;
    }
    X = std::clamp(X, Work.Left, std::max(Work.Left, Work.Right - W));
    Y = std::clamp(Y, Work.Top, std::max(Work.Top, Work.Bottom - H));
    L.Bounds = Bounds(X, Y, W, H);
    HWND Root = FOwner ? GetAncestor(FOwner, GA_ROOT) : nullptr;
    L.Wnd = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "#MenuPopup", "",
                           WS_POPUP | WS_BORDER, X, Y, W, H, Root, nullptr, nullptr, nullptr);
    SetWindowLong(L.Wnd, GWL_WNDPROC, LONG_PTR(FProc));
    FLevels.push_back(L);
    SetWindowPos(L.Wnd, HWND_TOPMOST, X, Y, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TTracker::CloseLevelsAbove(std::size_t Keep) {
    while (FLevels.size() > Keep) {
        DestroyWindow(FLevels.back().Wnd);
        FLevels.pop_back();
    }
}

void TTracker::Paint(HWND Wnd) {
    auto It = std::find_if(FLevels.begin(), FLevels.end(),
                           [Wnd](const TLevel& L) { return L.Wnd == Wnd; });
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(Wnd, &PS);
    if (It == FLevels.end()) {
        EndPaint(Wnd, &PS);
        return;
    }
    TLevel& L = *It;
    TNativeMenu& M = MenuOfLevel(L);
    TCanvas Canvas;
    Canvas.SetHandle(DC);
    TRect Client;
    GetClientRect(Wnd, &Client);
    Canvas.Brush()->SetColor(clMenu);
    Canvas.FillRect(Client);
    Canvas.Font()->SetName("Tahoma");
    // Window and client coordinates differ by the border.
    TPoint Origin{0, 0};
    MapWindowPoints(Wnd, nullptr, &Origin, 1);
    int DX = L.Bounds.Left - Origin.X, DY = L.Bounds.Top - Origin.Y;
    for (std::size_t I = 0; I < M.Items.size(); ++I) {
        const TNativeItem& Item = M.Items[I];
        TRect R = L.Items[I];
        OffsetRect(&R, DX, DY);
        if (Item.IsSeparator()) {
            int Mid = (R.Top + R.Bottom) / 2;
            Canvas.Pen()->SetColor(clBtnShadow);
            Canvas.MoveTo(R.Left + 1, Mid - 1);
            Canvas.LineTo(R.Right - 1, Mid - 1);
            Canvas.Pen()->SetColor(clBtnHighlight);
            Canvas.MoveTo(R.Left + 1, Mid);
            Canvas.LineTo(R.Right - 1, Mid);
            continue;
        }
        bool Hot = int(I) == L.Hot;
        if ((Item.Type & MFT_OWNERDRAW) && GDrawer) {
            GDrawer(Item.Data, &Canvas, R, Hot);
            continue;
        }
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(Hot ? clHighlight : clMenu);
        Canvas.FillRect(R);
        TColor TextColor = !Item.Enabled() ? clGrayText : Hot ? clHighlightText : clMenuText;
        TFontStyles Style = (Item.State & MFS_DEFAULT) ? TFontStyles{fsBold} : TFontStyles{};
        Canvas.Font()->SetStyle(Style);
        Canvas.Font()->SetColor(TextColor);
        if (Item.State & MFS_CHECKED) {
            int CX = R.Left + CheckColumn / 2, CY = (R.Top + R.Bottom) / 2;
            Canvas.Pen()->SetColor(TextColor);
            Canvas.Brush()->SetColor(TextColor);
            if (Item.Type & MFT_RADIOCHECK) {
                Canvas.Ellipse(CX - 3, CY - 3, CX + 3, CY + 3);
            } else {
                for (int T = 0; T < 3; ++T) {
                    Canvas.MoveTo(CX - 3, CY - 1 + T);
                    Canvas.LineTo(CX - 1, CY + 1 + T);
                    Canvas.LineTo(CX + 4, CY - 4 + T);
                }
            }
        } else if (Item.Bitmap) {
            HDC Memory = CreateCompatibleDC(DC);
            HGDIOBJ Old = SelectObject(Memory, ToObj(Item.Bitmap));
            BITMAP Info{};
            GetObject(ToObj(Item.Bitmap), sizeof(Info), &Info);
            BitBlt(DC, R.Left + 2, R.Top + (R.Height() - Info.bmHeight) / 2, Info.bmWidth,
                   Info.bmHeight, Memory, 0, 0, SRCCOPY);
            SelectObject(Memory, Old);
            DeleteDC(Memory);
        }
        auto [Caption, Short] = SplitShortcut(Item.Text);
        Canvas.Brush()->SetStyle(bsClear);
        TRect TextRect = R;
        TextRect.Left += CheckColumn;
        TextRect.Right -= ArrowColumn;
        DrawText(Canvas.Handle(), Caption, -1, &TextRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!Short.empty())
            DrawText(Canvas.Handle(), Short, -1, &TextRect,
                     DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        if (Item.SubMenu) {
            int AX = R.Right - ArrowColumn / 2 - 2, AY = (R.Top + R.Bottom) / 2;
            Canvas.Pen()->SetColor(TextColor);
            for (int T = 0; T < 4; ++T) {
                Canvas.MoveTo(AX + T, AY - 3 + T);
                Canvas.LineTo(AX + T, AY + 4 - T);
            }
        }
    }
    Canvas.SetHandle(nullptr);
    EndPaint(Wnd, &PS);
}

int TTracker::LevelAt(TPoint Screen) {
    for (int I = int(FLevels.size()) - 1; I >= 0; --I)
        if (PtInRect(&FLevels[I].Bounds, Screen))
            return I;
    return -1;
}

int TTracker::ItemAt(const TLevel& L, TPoint Screen) {
    TPoint P{Screen.X - L.Bounds.Left, Screen.Y - L.Bounds.Top};
    for (std::size_t I = 0; I < L.Items.size(); ++I)
        if (PtInRect(&L.Items[I], P))
            return int(I);
    return -1;
}

void TTracker::SetHot(std::size_t Level, int Item) {
    TLevel& L = FLevels[Level];
    if (L.Hot == Item)
        return;
    L.Hot = Item;
    InvalidateRect(L.Wnd, nullptr, TRUE);
}

void TTracker::Step(int Direction) {
    std::size_t Level = FLevels.size() - 1;
    TLevel& L = FLevels[Level];
    TNativeMenu& M = MenuOfLevel(L);
    int Count = int(M.Items.size());
    if (Count == 0)
        return;
    int I = L.Hot;
    for (int Tries = 0; Tries < Count; ++Tries) {
        I = I < 0 ? (Direction > 0 ? 0 : Count - 1) : (I + Direction + Count) % Count;
        if (Selectable(M.Items[I])) {
            SetHot(Level, I);
            return;
        }
    }
}

void TTracker::OpenHotSubmenu(bool SelectFirst) {
    TLevel& L = FLevels.back();
    if (L.Hot < 0)
        return;
    const TNativeItem& Item = MenuOfLevel(L).Items[L.Hot];
    if (!Item.SubMenu || !Item.Enabled() || !MenuOf(Item.SubMenu))
        return;
    int Top = L.Bounds.Top + L.Items[L.Hot].Top;
    if (!(FFlags & TPM_NONOTIFY) && FOwner)
        SendMessage(FOwner, WM_INITMENUPOPUP, WPARAM(Item.SubMenu), L.Hot);
    OpenLevel(Item.SubMenu, {}, true, Top);
    if (SelectFirst)
        Step(1);
}

void TTracker::Choose(const TNativeItem& Item) {
    if (!Item.Enabled() || Item.IsSeparator())
        return;
    if (Item.SubMenu) {
        OpenHotSubmenu(true);
        return;
    }
    FChosen = Item.Id;
    FDone = true;
}

void TTracker::HandleKey(const MSG& M) {
    if (M.message == WM_KEYDOWN || M.message == WM_SYSKEYDOWN) {
        switch (int(M.wParam)) {
        case VK_UP:
            Step(-1);
            return;
        case VK_DOWN:
            Step(1);
            return;
        case VK_RIGHT:
            OpenHotSubmenu(true);
            return;
        case VK_LEFT:
            if (FLevels.size() > 1)
                CloseLevelsAbove(FLevels.size() - 1);
            return;
        case VK_RETURN:
        case VK_SPACE: {
            TLevel& L = FLevels.back();
            if (L.Hot >= 0)
                Choose(MenuOfLevel(L).Items[L.Hot]);
            return;
        }
        case VK_ESCAPE:
            if (FLevels.size() > 1)
                CloseLevelsAbove(FLevels.size() - 1);
            else
                Cancel();
            return;
        default:
            TranslateMessage(&M);
            return;
        }
    }
    if (M.message == WM_CHAR || M.message == WM_SYSCHAR) {
        TLevel& L = FLevels.back();
        TNativeMenu& Menu = MenuOfLevel(L);
        for (std::size_t I = 0; I < Menu.Items.size(); ++I) {
            const TNativeItem& Item = Menu.Items[I];
            if (Selectable(Item) && IsAccel(unsigned(M.wParam), SplitShortcut(Item.Text).first)) {
                SetHot(FLevels.size() - 1, int(I));
                Choose(Item);
                return;
            }
        }
    }
}

void TTracker::HandleMouse(UINT Msg, TPoint Screen) {
    int Level = LevelAt(Screen);
    bool ButtonDown = Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN;
    bool ButtonUp = Msg == WM_LBUTTONUP || (Msg == WM_RBUTTONUP && (FFlags & TPM_RIGHTBUTTON));
    if (Level < 0) {
        if (ButtonDown)
            Cancel();
        return;
    }
    TLevel& L = FLevels[Level];
    int Item = ItemAt(L, Screen);
    if (Msg == WM_MOUSEMOVE) {
        if (Item >= 0 && !Selectable(MenuOfLevel(L).Items[Item]) &&
            !MenuOfLevel(L).Items[Item].SubMenu)
            Item = -1;
        // Pointing into a level closes the levels its hot item did not open.
        if (std::size_t(Level) + 1 < FLevels.size() && Item >= 0 && Item != L.Hot)
            CloseLevelsAbove(std::size_t(Level) + 1);
        if (Item >= 0 || std::size_t(Level) + 1 == FLevels.size())
            SetHot(std::size_t(Level), Item);
        if (Item >= 0 && MenuOfLevel(L).Items[Item].SubMenu &&
            std::size_t(Level) + 1 == FLevels.size())
            SetTimer(L.Wnd, SubmenuTimer, SubmenuDelay, nullptr);
        return;
    }
    if (ButtonUp && Item >= 0) {
        const TNativeItem& Native = MenuOfLevel(L).Items[Item];
        if (Native.SubMenu) {
            CloseLevelsAbove(std::size_t(Level) + 1);
            SetHot(std::size_t(Level), Item);
            OpenHotSubmenu(false);
        } else {
            Choose(Native);
        }
    }
}

LRESULT TTracker::LevelProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
    switch (Msg) {
    case WM_PAINT:
        Paint(Wnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_TIMER:
        if (W == SubmenuTimer) {
            KillTimer(Wnd, SubmenuTimer);
            // Opens the hot item's submenu when the pointer still rests on it.
            if (!FLevels.empty() && FLevels.back().Wnd == Wnd)
                OpenHotSubmenu(false);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (!FLevels.empty() && Wnd == FLevels.front().Wnd && HWND(L) != Wnd)
            Cancel();
        return 0;
    default:
        break;
    }
    if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL) {
        TPoint P = LParamToPoint(L);
        ClientToScreen(Wnd, &P);
        HandleMouse(Msg, P);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, W, L);
}

namespace {

// Installed on the owner while a menu runs: a WM_CANCELMODE closes it.
LRESULT OwnerSubclass(HWND Wnd, UINT Msg, WPARAM W, LPARAM L, UINT_PTR, DWORD_PTR Data) {
    if (Msg == WM_CANCELMODE)
        *reinterpret_cast<bool*>(Data) = true;
    return DefSubclassProc(Wnd, Msg, W, L);
}

} // namespace

UINT TTracker::Run(HMENU Menu, TPoint At) {
    if (!(FFlags & TPM_NONOTIFY) && FOwner)
        SendMessage(FOwner, WM_INITMENUPOPUP, WPARAM(Menu), 0);
    if (!MenuOf(Menu))
        return 0;
    FProc = MakeWindowProc(
        [this](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) { return LevelProc(Wnd, Msg, W, L); });
    bool OwnerCancelled = false;
    if (FOwner)
        SetWindowSubclass(FOwner, OwnerSubclass, UINT_PTR(this), DWORD_PTR(&OwnerCancelled));
    OpenLevel(Menu, At, false, 0);
    SetCapture(FLevels.front().Wnd);
    while (!FDone && !OwnerCancelled) {
        MSG M;
        if (!PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (M.message == WM_QUIT) {
            PostQuitMessage(int(M.wParam));
            break;
        }
        if ((M.message >= WM_KEYFIRST && M.message <= WM_KEYLAST)) {
            HandleKey(M);
            continue;
        }
        DispatchMessage(&M);
    }
    FDone = true;
    if (FOwner && IsWindow(FOwner))
        RemoveWindowSubclass(FOwner, OwnerSubclass, UINT_PTR(this));
    if (!FLevels.empty() && GetCapture() == FLevels.front().Wnd)
        ReleaseCapture();
    CloseLevelsAbove(0);
    FreeWindowProc(FProc);
    return FChosen;
}

BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Owner, const TRect*) {
    if (!MenuOf(Menu))
        return FALSE;
    TTracker Tracker(Flags, Owner);
    UINT Chosen = Tracker.Run(Menu, {X, Y});
    if (Flags & TPM_RETURNCMD)
        return BOOL(Chosen);
    if (Chosen && Owner)
        PostMessage(Owner, WM_COMMAND, Chosen, 0);
    return Chosen != 0;
}
