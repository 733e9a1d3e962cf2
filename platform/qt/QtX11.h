// The X11 connection Qt made, when Qt runs on its xcb platform, and the few
// lookups the backend's X11 parts share.
#pragma once

#include <xcb/xcb.h>

#include <string>

bool IsX11();
// Null on other Qt platforms.
xcb_connection_t* X11Connection();
// The screen number of the display Qt connected to (":0.1" is screen 1).
int X11ScreenNumber();
xcb_screen_t* X11Screen(xcb_connection_t* C);
xcb_window_t X11Root(xcb_connection_t* C);
// XCB_ATOM_NONE for a name the server does not know, unless Create.
xcb_atom_t X11Atom(xcb_connection_t* C, const std::string& Name, bool Create = false);
