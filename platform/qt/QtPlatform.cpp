#include "platform/qt/QtPlatform.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

bool IsSet(const char* Name) {
    const char* Value = std::getenv(Name);
    return Value && *Value;
}

} // namespace

bool PrepareQtPlatform(std::string& Error) {
    if (!IsSet("QT_ENABLE_HIGHDPI_SCALING"))
        setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    if (IsSet("QT_QPA_PLATFORM"))
        return true;
    if (!IsSet("DISPLAY")) {
        Error = "ostrela: no X display; set DISPLAY or start it under xvfb-run";
        return false;
    }
    // Qt aborts when it cannot open the display; asking first lets the
    // program say so in one line and exit with status 1 instead. The probe
    // stays connected for the whole run: an X server resets when its last
    // client leaves, and Qt's own connection would race that reset.
    static std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> Probe(nullptr,
                                                                                xcb_disconnect);
    Probe.reset(xcb_connect(nullptr, nullptr));
    if (!Probe || xcb_connection_has_error(Probe.get())) {
        Probe.reset();
        Error = std::string("ostrela: cannot open the X display ") + std::getenv("DISPLAY") +
                "; set DISPLAY or start it under xvfb-run";
        return false;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
}
