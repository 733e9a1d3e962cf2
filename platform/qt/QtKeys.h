// Qt's keys as the window system's virtual keys: what a key event of the
// desktop becomes before it is queued.
#pragma once

#include <string>

class QKeyEvent;

struct TKeyTranslation {
    int VirtualKey = 0; // 0 for keys without a virtual key: their text alone counts
    bool Extended = false;
    std::string Text; // UTF-8, control characters included (Ctrl+C is "\x03")
};

// Key (a Qt::Key) with Modifiers (Qt::KeyboardModifiers): letters and digits,
// F1-F24, navigation and editing keys, modifiers, the keypad when Qt reports
// the keypad modifier, and the punctuation keys of a US layout.
int VirtualKeyOfQtKey(int Key, unsigned Modifiers);
TKeyTranslation TranslateKeyEvent(const QKeyEvent& Event);
