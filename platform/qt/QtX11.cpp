#include "platform/qt/QtX11.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

bool IsX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

xcb_connection_t* X11Connection() {
    if (!IsX11())
        return nullptr;
    auto* X11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return X11 ? X11->connection() : nullptr;
}

int X11ScreenNumber() {
    const char* Display = std::getenv("DISPLAY");
    if (!Display)
        return 0;
    const char* Colon = std::strrchr(Display, ':');
    const char* Dot = Colon ? std::strchr(Colon, '.') : nullptr;
    return Dot ? std::atoi(Dot + 1) : 0;
}

xcb_screen_t* X11Screen(xcb_connection_t* C) {
    xcb_screen_iterator_t It = xcb_setup_roots_iterator(xcb_get_setup(C));
    for (int N = X11ScreenNumber(); N > 0 && It.rem > 1; --N)
        xcb_screen_next(&It);
    return It.data;
}

xcb_window_t X11Root(xcb_connection_t* C) {
    xcb_screen_t* Screen = X11Screen(C);
    return Screen ? Screen->root : XCB_NONE;
}

xcb_atom_t X11Atom(xcb_connection_t* C, const std::string& Name, bool Create) {
    xcb_intern_atom_reply_t* Reply = xcb_intern_atom_reply(
        C, xcb_intern_atom(C, Create ? 0 : 1, Name.size(), Name.c_str()), nullptr);
    xcb_atom_t Atom = Reply ? Reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(Reply);
    return Atom;
}
