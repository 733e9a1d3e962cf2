// The up-down control (window class "msctls_updown32"): two arrow buttons
// that step a position within a range, ask the parent with UDN_DELTAPOS and
// then tell it with WM_VSCROLL or WM_HSCROLL (SB_THUMBPOSITION), repeating
// while an arrow is held.
#pragma once

#include "platform/forms/ListViews.h"

constexpr DWORD UDS_WRAP = 0x1;
constexpr DWORD UDS_SETBUDDYINT = 0x2;
constexpr DWORD UDS_ALIGNRIGHT = 0x4;
constexpr DWORD UDS_ALIGNLEFT = 0x8;
constexpr DWORD UDS_AUTOBUDDY = 0x10;
constexpr DWORD UDS_ARROWKEYS = 0x20;
constexpr DWORD UDS_HORZ = 0x40;
constexpr DWORD UDS_NOTHOUSANDS = 0x80;

constexpr UINT UDM_SETRANGE = 0x465;
constexpr UINT UDM_GETRANGE = 0x466;
constexpr UINT UDM_SETPOS = 0x467;
constexpr UINT UDM_GETPOS = 0x468;
constexpr UINT UDM_SETBUDDY = 0x469;
constexpr UINT UDM_GETBUDDY = 0x46A;
constexpr UINT UDM_SETRANGE32 = 0x46F;
constexpr UINT UDM_GETRANGE32 = 0x470;
constexpr UINT UDM_SETPOS32 = 0x471;
constexpr UINT UDM_GETPOS32 = 0x472;

constexpr UINT UDN_DELTAPOS = UINT(-722);

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// The first repeat comes after this delay, the next ones after the interval.
constexpr UINT UpDownRepeatDelay = 400;
constexpr UINT UpDownRepeatInterval = 100;

void RegisterUpDownClass();
