// A minimal tray host for the end-to-end tests: it owns the system-tray
// selection of its screen, announces itself with MANAGER, and embeds each
// icon that asks to dock into a mapped 24 x 24 window of its own at X, Y
// (the first icon; later ones to its right), printing "docked" each time.
// It prints "ready" once it owns the selection; killing it takes the tray
// away, as a panel that ends would. With "argb" it offers the screen's
// 32-bit visual for icons (_NET_SYSTEM_TRAY_VISUAL), as panels on a
// composited desktop do.
//
// Usage: tray-host X Y [argb]
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int IconSize = 24;

xcb_atom_t Atom(xcb_connection_t* C, const std::string& Name) {
    xcb_intern_atom_reply_t* Reply =
        xcb_intern_atom_reply(C, xcb_intern_atom(C, 0, Name.size(), Name.c_str()), nullptr);
    xcb_atom_t Result = Reply ? Reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(Reply);
    return Result;
}

void Say(const char* Line) {
    std::printf("%s\n", Line);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    bool Argb = argc == 4 && std::string(argv[3]) == "argb";
    if (argc != 3 && !Argb) {
        std::fprintf(stderr, "usage: tray-host X Y [argb]\n");
        return 2;
    }
    int X = std::atoi(argv[1]), Y = std::atoi(argv[2]);
    int ScreenNumber = 0;
    xcb_connection_t* C = xcb_connect(nullptr, &ScreenNumber);
    if (xcb_connection_has_error(C)) {
        std::fprintf(stderr, "tray-host: cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t It = xcb_setup_roots_iterator(xcb_get_setup(C));
    for (int N = ScreenNumber; N > 0 && It.rem > 1; --N)
        xcb_screen_next(&It);
    xcb_screen_t* Screen = It.data;

    xcb_atom_t Selection = Atom(C, "_NET_SYSTEM_TRAY_S" + std::to_string(ScreenNumber));
    xcb_atom_t Manager = Atom(C, "MANAGER");
    xcb_atom_t Opcode = Atom(C, "_NET_SYSTEM_TRAY_OPCODE");

    xcb_window_t Owner = xcb_generate_id(C);
    xcb_create_window(C, XCB_COPY_FROM_PARENT, Owner, Screen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    if (Argb) {
        xcb_visualid_t Visual = 0;
        for (auto D = xcb_screen_allowed_depths_iterator(Screen); D.rem && !Visual;
             xcb_depth_next(&D))
            if (D.data->depth == 32 && D.data->visuals_len > 0)
                Visual = xcb_depth_visuals(D.data)->visual_id;
        if (!Visual) {
            std::fprintf(stderr, "tray-host: the screen has no 32-bit visual\n");
            return 1;
        }
        xcb_change_property(C, XCB_PROP_MODE_REPLACE, Owner, Atom(C, "_NET_SYSTEM_TRAY_VISUAL"),
                            XCB_ATOM_VISUALID, 32, 1, &Visual);
    }
    xcb_set_selection_owner(C, Owner, Selection, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* Now =
        xcb_get_selection_owner_reply(C, xcb_get_selection_owner(C, Selection), nullptr);
    bool Owned = Now && Now->owner == Owner;
    std::free(Now);
    if (!Owned) {
        std::fprintf(stderr, "tray-host: another tray owns the selection\n");
        return 1;
    }
    xcb_client_message_event_t Announce{};
    Announce.response_type = XCB_CLIENT_MESSAGE;
    Announce.format = 32;
    Announce.window = Screen->root;
    Announce.type = Manager;
    Announce.data.data32[0] = XCB_CURRENT_TIME;
    Announce.data.data32[1] = Selection;
    Announce.data.data32[2] = Owner;
    xcb_send_event(C, 0, Screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&Announce));
    xcb_flush(C);
    Say("ready");

    int Docked = 0;
    while (xcb_generic_event_t* Event = xcb_wait_for_event(C)) {
        if ((Event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
            auto* E = reinterpret_cast<xcb_client_message_event_t*>(Event);
            if (E->type == Opcode && E->format == 32 && E->data.data32[1] == 0) {
                xcb_window_t Icon = E->data.data32[2];
                xcb_window_t Place = xcb_generate_id(C);
                const std::uint32_t Values[] = {0x808080, 1};
                xcb_create_window(C, XCB_COPY_FROM_PARENT, Place, Screen->root,
                                  std::int16_t(X + Docked * IconSize), std::int16_t(Y), IconSize,
                                  IconSize, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                                  XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, Values);
                xcb_map_window(C, Place);
                // The icon outlives this host: it goes back to the root, not down with it.
                xcb_change_save_set(C, XCB_SET_MODE_INSERT, Icon);
                xcb_reparent_window(C, Icon, Place, 0, 0);
                const std::uint32_t Size[] = {IconSize, IconSize};
                xcb_configure_window(C, Icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                                     Size);
                xcb_map_window(C, Icon);
                xcb_flush(C);
                ++Docked;
                Say("docked");
            }
        }
        std::free(Event);
    }
    return 0;
}
