// Notification icons: Shell_NotifyIcon over the backend's notification area.
// The window system keeps each icon's record under its (hWnd, uID) key with a
// copy of its picture, so that a later NIM_MODIFY of the tip alone, or of
// the icon alone, hands the backend the whole icon again. Pointer events on
// an icon come back from the backend and are posted to the icon's window.
#include "platform/win/Windows.h"

#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "platform/win/WinInternal.h"

#include <cstdlib>
#include <map>
#include <utility>

using namespace winsys;

namespace {

// Lengths of the record's text fields, in characters, without the end mark.
constexpr std::size_t MaxTip = 127;
constexpr std::size_t MaxInfo = 255;
constexpr std::size_t MaxInfoTitle = 63;

struct TNotifyIcon {
    HWND Wnd = nullptr;
    UINT Id = 0;
    TNotifyIconId BackendId = 0;
    bool HasMessage = false;
    UINT CallbackMessage = 0;
    std::vector<std::uint32_t> Picture; // premultiplied B, G, R, A
    int Width = 0;
    int Height = 0;
    std::string Tip;
};

// A press on an icon that a second press may turn into a double click.
struct TIconPress {
    TNotifyIconId Icon = 0;
    int Button = -1;
    DWORD Time = 0;
    TPoint Pos;
};

struct TNotifyIcons {
    std::map<std::pair<HWND, UINT>, TNotifyIcon> Icons;
    TIconPress LastPress;
};

TNotifyIcons& State() {
    static TNotifyIcons Icons;
    return Icons;
}

TNotifyIcon* FindByBackendId(TNotifyIconId Id) {
    for (auto& [Key, Icon] : State().Icons)
        if (Icon.BackendId == Id)
            return &Icon;
    return nullptr;
}

// At most Count characters of a UTF-8 text, never cutting one in two.
std::string CutToCharacters(const std::string& Text, std::size_t Count) {
    return Utf8Length(Text) <= Count ? Text : Utf8Copy(Text, 0, Count);
}

// The icon's picture as the backend takes it: the image an icon draws by
// default, premultiplied. No icon gives no picture.
void TakePicture(TNotifyIcon& Icon, HICON Handle) {
    Icon.Picture.clear();
    Icon.Width = Icon.Height = 0;
    std::vector<TArgbImage> Storage;
    const std::vector<TArgbImage>* Images = Handle ? IconImages(Handle, Storage) : nullptr;
    if (!Images || Images->empty())
        return;
    const TArgbImage& Image = (*Images)[std::size_t(MainIconImage(*Images))];
    if (Image.Empty())
        return;
    Icon.Width = Image.Width;
    Icon.Height = Image.Height;
    Icon.Picture.reserve(Image.Pixels.size());
    for (std::uint32_t P : Image.Pixels) {
        std::uint32_t A = P >> 24;
        auto Channel = [&](int Shift) { return (((P >> Shift) & 0xFF) * A + 127) / 255 << Shift; };
        Icon.Picture.push_back((A << 24) | Channel(16) | Channel(8) | Channel(0));
    }
}

TPixelView PictureView(const TNotifyIcon& Icon) {
    if (Icon.Picture.empty())
        return {};
    return {Icon.Picture.data(), Icon.Width, Icon.Height, Icon.Width * 4};
}

// The fields the flags name; the balloon is the caller's.
void TakeFields(TNotifyIcon& Icon, const NOTIFYICONDATA& Data) {
    if (Data.uFlags & NIF_MESSAGE) {
        Icon.HasMessage = true;
        Icon.CallbackMessage = Data.uCallbackMessage;
    }
    if (Data.uFlags & NIF_ICON)
        TakePicture(Icon, Data.hIcon);
    if (Data.uFlags & NIF_TIP)
        Icon.Tip = CutToCharacters(Data.szTip, MaxTip);
}

void ShowBalloon(const TNotifyIcon& Icon, const NOTIFYICONDATA& Data) {
    // The kind is the low bits of the flags, as the record defines them.
    Backend().ShowNotifyBalloon(Icon.BackendId, CutToCharacters(Data.szInfoTitle, MaxInfoTitle),
                                CutToCharacters(Data.szInfo, MaxInfo), int(Data.dwInfoFlags & 0xF));
}

BOOL AddIcon(const NOTIFYICONDATA& Data) {
    auto Key = std::make_pair(Data.hWnd, Data.uID);
    if (!IsWindow(Data.hWnd) || State().Icons.count(Key) || !Backend().NotifyAreaAvailable())
        return FALSE;
    TNotifyIcon Icon;
    Icon.Wnd = Data.hWnd;
    Icon.Id = Data.uID;
    TakeFields(Icon, Data);
    Icon.BackendId = Backend().AddNotifyIcon(PictureView(Icon), Icon.Tip);
    if (!Icon.BackendId)
        return FALSE;
    TNotifyIcon& Kept = State().Icons.emplace(Key, std::move(Icon)).first->second;
    if ((Data.uFlags & NIF_INFO) && !Data.szInfo.empty())
        ShowBalloon(Kept, Data);
    return TRUE;
}

BOOL ModifyIcon(const NOTIFYICONDATA& Data) {
    auto It = State().Icons.find({Data.hWnd, Data.uID});
    if (It == State().Icons.end())
        return FALSE;
    TNotifyIcon& Icon = It->second;
    TakeFields(Icon, Data);
    if (Data.uFlags & (NIF_ICON | NIF_TIP))
        Backend().UpdateNotifyIcon(Icon.BackendId, PictureView(Icon), Icon.Tip);
    if (Data.uFlags & NIF_INFO)
        ShowBalloon(Icon, Data);
    return TRUE;
}

BOOL DeleteIcon(const NOTIFYICONDATA& Data) {
    auto It = State().Icons.find({Data.hWnd, Data.uID});
    if (It == State().Icons.end())
        return FALSE;
    TNotifyIconId Id = It->second.BackendId;
    State().Icons.erase(It);
    Backend().RemoveNotifyIcon(Id);
    return TRUE;
}

UINT ButtonMessage(TNotifyPointer Kind, int Button, bool Double) {
    static constexpr UINT Down[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static constexpr UINT Up[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    static constexpr UINT Dbl[3] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    if (Kind == TNotifyPointer::ButtonUp)
        return Up[Button];
    return Double ? Dbl[Button] : Down[Button];
}

// A second press of the same button on the same icon, soon enough and near
// enough, is a double click, as for windows; the press after it starts anew.
bool IsDoubleClick(const TBackendEvent& E, DWORD Now) {
    TIconPress& Last = State().LastPress;
    bool Near = std::abs(E.Point.X - Last.Pos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                std::abs(E.Point.Y - Last.Pos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool Double = Last.Icon == E.NotifyIcon && Last.Button == E.Button &&
                  Now - Last.Time <= GetDoubleClickTime() && Near;
    if (Double)
        Last = {};
    else
        Last = {E.NotifyIcon, E.Button, Now, E.Point};
    return Double;
}

void PointerOnIcon(const TBackendEvent& E) {
    G().PointerPos = E.Point;
    TNotifyIcon* Icon = FindByBackendId(E.NotifyIcon);
    if (!Icon)
        return;
    UINT Mouse = WM_MOUSEMOVE;
    if (E.NotifyPointer != TNotifyPointer::Move) {
        if (E.Button < 0 || E.Button > 2)
            return;
        bool Double =
            E.NotifyPointer == TNotifyPointer::ButtonDown && IsDoubleClick(E, GetTickCount());
        Mouse = ButtonMessage(E.NotifyPointer, E.Button, Double);
    }
    if (Icon->HasMessage)
        PostAt(Icon->Wnd, Icon->CallbackMessage, Icon->Id, LPARAM(Mouse), E.Point);
}

// The icons go with the area that showed them. A new area knows none of
// them: every top-level window of the thread hears "TaskbarCreated" and adds
// its own again.
void AreaChanged(TThreadQueue& Q, bool Available) {
    State().Icons.clear();
    State().LastPress = {};
    if (!Available)
        return;
    UINT TaskbarCreated = RegisterWindowMessage("TaskbarCreated");
    for (TWnd* T : Desktop()->Children)
        if (T->Thread == Q.Thread)
            PostMessage(T->Handle, TaskbarCreated, 0, 0);
}

} // namespace

namespace winsys {

void NotifyIconEvent(TThreadQueue& Q, const TBackendEvent& E) {
    switch (E.Kind) {
    case TBackendEventKind::NotifyIconPointer:
        PointerOnIcon(E);
        break;
    case TBackendEventKind::NotifyBalloonClick:
        if (TNotifyIcon* Icon = FindByBackendId(E.NotifyIcon); Icon && Icon->HasMessage)
            PostMessage(Icon->Wnd, Icon->CallbackMessage, Icon->Id, NIN_BALLOONUSERCLICK);
        break;
    case TBackendEventKind::NotifyAreaChanged:
        AreaChanged(Q, E.Available);
        break;
    default:
        break;
    }
}

void RemoveNotifyIconsOf(HWND Wnd) {
    auto& Icons = State().Icons;
    for (auto It = Icons.begin(); It != Icons.end();) {
        if (It->first.first != Wnd) {
            ++It;
            continue;
        }
        TNotifyIconId Id = It->second.BackendId;
        It = Icons.erase(It);
        Backend().RemoveNotifyIcon(Id);
    }
}

void ResetNotifyIcons() {
    for (auto& [Key, Icon] : State().Icons)
        Backend().RemoveNotifyIcon(Icon.BackendId);
    State() = {};
}

} // namespace winsys

BOOL Shell_NotifyIcon(DWORD Message, const NOTIFYICONDATA* Data) {
    if (!Data)
        return FALSE;
    switch (Message) {
    case NIM_ADD:
        return AddIcon(*Data);
    case NIM_MODIFY:
        return ModifyIcon(*Data);
    case NIM_DELETE:
        return DeleteIcon(*Data);
    default:
        return FALSE;
    }
}

bool NotifyAreaAvailable() {
    return Backend().NotifyAreaAvailable();
}
