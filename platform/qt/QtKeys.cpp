#include "platform/qt/QtKeys.h"

#include "platform/win/Messages.h"

#include <QKeyEvent>

#include <cctype>
#include <iterator>

namespace {

struct TKeyRow {
    int QtKey;
    int VirtualKey;
};

// Keys whose meaning does not depend on the keypad modifier.
constexpr TKeyRow KeyTable[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    // The punctuation keys of a US layout, shifted or not.
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
    // Shifted digits of a US layout.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// Keys that mean something else on the keypad.
constexpr TKeyRow MainOnlyTable[] = {
    {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},   {Qt::Key_Asterisk, '8'},
};
constexpr TKeyRow KeypadTable[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},      {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

int Lookup(const TKeyRow* Begin, const TKeyRow* End, int Key) {
    for (const TKeyRow* Row = Begin; Row != End; ++Row)
        if (Row->QtKey == Key)
            return Row->VirtualKey;
    return 0;
}

// Keys of the editing block and the arrows report the extended flag, as do
// the keypad's Enter and divide key.
bool IsExtended(int Key, bool Keypad) {
    switch (Key) {
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return !Keypad;
    case Qt::Key_Enter:
    case Qt::Key_Slash:
        return Keypad;
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Menu:
        return true;
    default:
        return false;
    }
}

} // namespace

int VirtualKeyOfQtKey(int Key, unsigned Modifiers) {
    bool Keypad = Modifiers & Qt::KeypadModifier;
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
        return 'A' + (Key - Qt::Key_A);
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return Keypad ? VK_NUMPAD0 + (Key - Qt::Key_0) : '0' + (Key - Qt::Key_0);
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24)
        return VK_F1 + (Key - Qt::Key_F1);
    if (Keypad)
        if (int Vk = Lookup(std::begin(KeypadTable), std::end(KeypadTable), Key))
            return Vk;
    if (int Vk = Lookup(std::begin(KeyTable), std::end(KeyTable), Key))
        return Vk;
    return Lookup(std::begin(MainOnlyTable), std::end(MainOnlyTable), Key);
}

TKeyTranslation TranslateKeyEvent(const QKeyEvent& Event) {
    TKeyTranslation Result;
    unsigned Modifiers = unsigned(Event.modifiers().toInt());
    Result.VirtualKey = VirtualKeyOfQtKey(Event.key(), Modifiers);
    Result.Extended = IsExtended(Event.key(), Modifiers & Qt::KeypadModifier);
    Result.Text = Event.text().toStdString();
    // Some platforms leave the text of a control combination empty or give
    // the plain letter; the program's keys expect the control character.
    bool Control = Modifiers & Qt::ControlModifier;
    if (Control && Event.key() >= Qt::Key_A && Event.key() <= Qt::Key_Z &&
        (Result.Text.empty() || (Result.Text.size() == 1 && std::isalpha(Result.Text[0]))))
        Result.Text = std::string(1, char(Event.key() - Qt::Key_A + 1));
    return Result;
}
