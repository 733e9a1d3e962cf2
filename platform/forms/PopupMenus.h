// Native popup menus: menu handles with items, and TrackPopupMenu, which
// shows a menu in popup windows and runs its own modal loop until the user
// chooses an item or leaves.
//
// The loop holds the capture on the top menu window, so every pointer event
// reaches it; the owner window is subclassed while it runs so that a
// WM_CANCELMODE sent to the owner closes the menu.
#pragma once

#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"

#include <functional>
#include <string>

constexpr UINT MF_STRING = 0;
constexpr UINT MF_ENABLED = 0;
constexpr UINT MF_UNCHECKED = 0;
constexpr UINT MF_BYCOMMAND = 0;
constexpr UINT MF_GRAYED = 1;
constexpr UINT MF_DISABLED = 2;
constexpr UINT MF_CHECKED = 8;
constexpr UINT MF_POPUP = 0x10;
constexpr UINT MF_OWNERDRAW = 0x100;
constexpr UINT MF_BYPOSITION = 0x400;
constexpr UINT MF_SEPARATOR = 0x800;
constexpr UINT MF_DEFAULT = 0x1000;

constexpr UINT MIIM_STATE = 0x1;
constexpr UINT MIIM_ID = 0x2;
constexpr UINT MIIM_SUBMENU = 0x4;
constexpr UINT MIIM_DATA = 0x20;
constexpr UINT MIIM_STRING = 0x40;
constexpr UINT MIIM_BITMAP = 0x80;
constexpr UINT MIIM_FTYPE = 0x100;

constexpr UINT MFT_STRING = 0;
constexpr UINT MFT_OWNERDRAW = 0x100;
constexpr UINT MFT_RADIOCHECK = 0x200;
constexpr UINT MFT_SEPARATOR = 0x800;
constexpr UINT MFS_GRAYED = 0x3;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = 0x8;
constexpr UINT MFS_DEFAULT = 0x1000;

constexpr UINT TPM_LEFTALIGN = 0;
constexpr UINT TPM_RIGHTBUTTON = 2;
constexpr UINT TPM_CENTERALIGN = 4;
constexpr UINT TPM_RIGHTALIGN = 8;
constexpr UINT TPM_VCENTERALIGN = 0x10;
constexpr UINT TPM_BOTTOMALIGN = 0x20;
constexpr UINT TPM_NONOTIFY = 0x80;
constexpr UINT TPM_RETURNCMD = 0x100;

struct MENUITEMINFO {
    UINT cbSize = sizeof(MENUITEMINFO);
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    std::uintptr_t dwItemData = 0;
    const char* dwTypeData = nullptr;
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};

HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU Menu);
// IdOrSubMenu is the item's id, or the submenu with MF_POPUP.
BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdOrSubMenu, const char* Text);
BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdOrSubMenu, const char* Text);
BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO* Info);
BOOL GetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFO* Info);
int GetMenuItemCount(HMENU Menu);
// 0xFFFFFFFF for a submenu or a position outside the menu.
UINT GetMenuItemID(HMENU Menu, int Position);
HMENU GetSubMenu(HMENU Menu, int Position);
// Answer the previous state, 0xFFFFFFFF when the item does not exist.
DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
// With TPM_RETURNCMD the chosen id (0 for none); otherwise WM_COMMAND is
// posted to Owner for a choice and the answer is whether one was made.
BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner,
                    const TRect* Rect);

// Draws an owner-drawn item: (item data, canvas, rectangle, selected).
using TMenuItemDrawer = std::function<void(std::uintptr_t, TCanvas*, TRect, bool)>;
// While set, TrackPopupMenu draws MFT_OWNERDRAW items through it.
void SetMenuItemDrawer(TMenuItemDrawer Drawer);
// Sizes an owner-drawn item: (item data, canvas, width, height), both
// preset to the size a plain item of that menu would have.
using TMenuItemMeasurer = std::function<void(std::uintptr_t, TCanvas*, int&, int&)>;
// While set, TrackPopupMenu asks it the size of MFT_OWNERDRAW items.
void SetMenuItemMeasurer(TMenuItemMeasurer Measurer);
