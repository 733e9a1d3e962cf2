// The message pumps of MyUtils, over the window system's queue.
#include "media/MyUtils.h"

#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

bool PumpOneMessage(MSG& AMsg) {
    if (!PeekMessage(&AMsg, nullptr, 0, 0, PM_NOREMOVE))
        return false;
    if (!PeekMessage(&AMsg, nullptr, 0, 0, PM_REMOVE))
        return false;
    // A quit request is taken out of the queue and goes no further: the
    // waiting loops that pump must not end the program's message loop.
    if (AMsg.message == WM_QUIT)
        return true;
    TranslateMessage(&AMsg);
    DispatchMessage(&AMsg);
    return true;
}

void PumpMessages() {
    MSG Msg;
    while (PumpOneMessage(Msg)) {
    }
}
