// Window messages of the skin library. The skin data sends the change
// messages to every form, with wParam = the sending TbsSkinData and
// lParam = 1000; the numbers lie in the range the rest of the program keeps
// clear (1224 to 1450, 45490 to 45513).
#pragma once

#include "platform/win/Messages.h"

constexpr UINT WM_BEFORECHANGESKINDATA = WM_USER + 201;
constexpr UINT WM_CHANGESKINDATA = WM_USER + 202;
constexpr UINT WM_AFTERCHANGESKINDATA = WM_USER + 203;
constexpr UINT WM_CHANGERESSTRDATA = WM_USER + 250;
constexpr UINT WM_CHANGEFORMSKINNABLE = WM_USER + 270;
constexpr UINT WM_SHOWLAYEREDBORDERS = WM_USER + 403;

static_assert(WM_BEFORECHANGESKINDATA == 1225 && WM_AFTERCHANGESKINDATA == 1227);
static_assert(WM_CHANGERESSTRDATA == 1274 && WM_CHANGEFORMSKINNABLE == 1294);
static_assert(WM_SHOWLAYEREDBORDERS == 1427);
