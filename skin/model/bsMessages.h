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

// Menus, MDI children, parent backgrounds and the button glow layer.
constexpr UINT WM_CLOSESKINMENU = WM_USER + 204;
constexpr UINT WM_AFTERSKINMENUCOMMAND = WM_USER + 205;
constexpr UINT WM_MDICHILDMOVE = WM_USER + 206;
constexpr UINT WM_MDICHILDMAX = WM_USER + 207;
constexpr UINT WM_MDICHILDRESTORE = WM_USER + 208;
constexpr UINT WM_CHECKPARENTBG = WM_USER + 260;
constexpr UINT WM_SHOWBUTTONLAYER = WM_USER + 400;
constexpr UINT WM_HIDEBUTTONLAYER = WM_USER + 401;
constexpr UINT WM_SHOWFROMTRAY = WM_USER + 402;

// Frame queries and painting into a given device context.
constexpr UINT WM_QUERYSKINFRAME = 45490;
constexpr UINT WM_BEGINSMARTEFFECT = 45491;
constexpr UINT WM_ENDSMARTEFFECT = 45492;
constexpr UINT WM_PAINTHEADERTODC = 45512;
constexpr UINT WM_NCPAINTTODC = 45513;
constexpr UINT WM_PAINTBGTODC = 48202;
constexpr UINT WM_PAINTTODC = 48203;

static_assert(WM_CLOSESKINMENU == 1228 && WM_AFTERSKINMENUCOMMAND == 1229);
static_assert(WM_MDICHILDMOVE == 1230 && WM_MDICHILDRESTORE == 1232);
static_assert(WM_CHECKPARENTBG == 1284);
static_assert(WM_SHOWBUTTONLAYER == 1424 && WM_HIDEBUTTONLAYER == 1425 && WM_SHOWFROMTRAY == 1426);

// Answers of the frame queries, and the lParam that marks a paint-into-DC
// request (echoed as its answer).
constexpr LRESULT NCPAINTTODC_ANSWER = 12851;
constexpr LRESULT QUERYSKINFRAME_NATIVE = 12852;
constexpr LRESULT QUERYSKINFRAME_SKINNED = 12853;
constexpr LPARAM PAINTTODC_TOKEN = 16802;
