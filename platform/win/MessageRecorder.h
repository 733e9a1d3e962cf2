// Records what window procedures see, for tests that compare message
// sequences with tables written from the platform's documented behaviour.
//
// A table lists the expected messages in order; rows may be optional or
// check wParam/lParam. The comparison looks only at messages whose numbers
// the table mentions, so unrelated traffic (hit tests, cursor queries) does
// not disturb it, but every occurrence of a mentioned message must match.
#pragma once

#include "platform/win/Windows.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct TRecordedMessage {
    HWND Wnd = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    bool Posted = false;
    bool FromDefProc = false;
};

struct TExpectedMessage {
    HWND Wnd = nullptr; // null: any window
    UINT Msg = 0;
    std::optional<WPARAM> WParam;
    std::optional<LPARAM> LParam;
    bool Optional = false;

    TExpectedMessage& W(WPARAM Value) {
        WParam = Value;
        return *this;
    }
    TExpectedMessage& L(LPARAM Value) {
        LParam = Value;
        return *this;
    }
    TExpectedMessage& Opt() {
        Optional = true;
        return *this;
    }
};

inline TExpectedMessage Expect(HWND Wnd, UINT Msg) {
    TExpectedMessage E;
    E.Wnd = Wnd;
    E.Msg = Msg;
    return E;
}

class TMessageRecorder {
public:
    // Installs itself as the window system's message hook.
    TMessageRecorder();
    ~TMessageRecorder();
    TMessageRecorder(const TMessageRecorder&) = delete;
    TMessageRecorder& operator=(const TMessageRecorder&) = delete;

    void Clear() { FMessages.clear(); }
    // A name for a window in printed sequences.
    void Name(HWND Wnd, std::string Name) { FNames[Wnd] = std::move(Name); }
    const std::vector<TRecordedMessage>& Messages() const { return FMessages; }
    // The messages one window saw.
    std::vector<TRecordedMessage> Of(HWND Wnd) const;
    int Count(HWND Wnd, UINT Msg) const;

    // Empty when the recording matches the table; otherwise both sequences,
    // printed for the test's failure message.
    std::string Compare(const std::vector<TExpectedMessage>& Expected) const;

    std::string Describe(HWND Wnd, UINT Msg, std::optional<WPARAM> WParam,
                         std::optional<LPARAM> LParam) const;

private:
    std::vector<TRecordedMessage> FMessages;
    std::map<HWND, std::string> FNames;
};

// The name of a message number ("WM_PAINT"), or its number in hex.
std::string MessageName(UINT Msg);
