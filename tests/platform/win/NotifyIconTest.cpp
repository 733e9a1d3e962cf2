// Notification icons on the headless desktop: Shell_NotifyIcon's records
// reaching the backend, its refusals, the callbacks of pointer events on an
// icon and on its balloon, and a notification area that goes and comes back.
#include "WinTestSupport.h"
#include "platform/core/Strings.h"

#include <vector>

namespace {

constexpr UINT CallbackMessage = WM_USER + 1024;

// A 32 x 32 icon: opaque red on the left, half-transparent blue on the right.
HICON TwoColourIcon() {
    TArgbImage Image;
    Image.Width = Image.Height = 32;
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X)
            Image.Pixels.push_back(X < 16 ? 0xFFFF0000u : 0x800000FFu);
    return CreateIconFromImages({Image});
}

// A text of Count characters, one and three bytes long by turns.
std::string Characters(std::size_t Count) {
    std::string Text;
    for (std::size_t I = 0; I < Count; ++I)
        Text += I % 2 ? "中" : "a";
    return Text;
}

struct TCallback {
    WPARAM Id;
    LPARAM Mouse;
    TPoint Cursor;
    TPoint MessagePos;

    bool operator==(const TCallback&) const = default;
};

void PrintTo(const TCallback& C, std::ostream* Out) {
    *Out << "(" << C.Id << ", " << MessageName(UINT(C.Mouse)) << ", cursor " << C.Cursor.X << ","
         << C.Cursor.Y << ", pos " << C.MessagePos.X << "," << C.MessagePos.Y << ")";
}

class NotifyIconTest : public TWinTest {
protected:
    void SetUp() override {
        TWinTest::SetUp();
        Owner = Make(WS_OVERLAPPEDWINDOW, Bounds(0, 0, 200, 100));
        On(Owner, [this](HWND, UINT Msg, WPARAM W, LPARAM L) -> std::optional<LRESULT> {
            if (Msg != CallbackMessage)
                return std::nullopt;
            TPoint Cursor;
            GetCursorPos(&Cursor);
            DWORD Pos = GetMessagePos();
            Callbacks.push_back({W, L, Cursor, {GET_X_LPARAM(Pos), GET_Y_LPARAM(Pos)}});
            return 0;
        });
        Icon = TwoColourIcon();
    }
    void TearDown() override {
        DestroyIcon(Icon);
        TWinTest::TearDown();
    }

    NOTIFYICONDATA Data(UINT Flags, UINT Id = 1) const {
        NOTIFYICONDATA D;
        D.cbSize = sizeof D;
        D.hWnd = Owner;
        D.uID = Id;
        D.uFlags = Flags;
        D.uCallbackMessage = CallbackMessage;
        D.hIcon = Icon;
        D.szTip = "Ostrela";
        return D;
    }
    // Adds icon Id with a message and answers its backend id.
    TNotifyIconId Add(UINT Id = 1, UINT Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP) {
        NOTIFYICONDATA D = Data(Flags, Id);
        EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &D));
        return Headless.NotifyIconCalls().back().Id;
    }

    HWND Owner = nullptr;
    HICON Icon = nullptr;
    std::vector<TCallback> Callbacks;
};

TEST_F(NotifyIconTest, AnAddedIconReachesTheDesktopWithItsPictureAndACutTip) {
    NOTIFYICONDATA D = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    D.szTip = "视频转换" + Characters(200);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &D));
    ASSERT_EQ(Headless.NotifyIcons().size(), 1u);
    const THeadlessNotifyIcon* Shown = Headless.NotifyIcon(Headless.NotifyIcons()[0]);
    ASSERT_NE(Shown, nullptr);
    EXPECT_EQ(Utf8Length(Shown->Tip), 127u);
    EXPECT_TRUE(IsValidUtf8(Shown->Tip));
    EXPECT_EQ(D.szTip.rfind(Shown->Tip, 0), 0u) << "the start of the tip";
    ASSERT_EQ(Shown->Width, 32);
    ASSERT_EQ(Shown->Height, 32);
    EXPECT_EQ(Shown->Picture[5 * 32 + 3], 0xFFFF0000u);
    EXPECT_EQ(Shown->Picture[5 * 32 + 20], 0x80000080u) << "premultiplied";

    // A new tip alone keeps the picture; no icon at all leaves an empty one.
    NOTIFYICONDATA Tip = Data(NIF_TIP);
    Tip.szTip = "转换完成";
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &Tip));
    EXPECT_EQ(Shown->Tip, "转换完成");
    EXPECT_EQ(Shown->Picture.size(), 32u * 32u);
    NOTIFYICONDATA NoIcon = Data(NIF_ICON);
    NoIcon.hIcon = nullptr;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &NoIcon));
    EXPECT_TRUE(Shown->Picture.empty());
    EXPECT_EQ(Shown->Tip, "转换完成");
}

TEST_F(NotifyIconTest, RequestsThatCannotBeMetFailWithoutReachingTheDesktop) {
    Add(1);
    HWND Gone = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    DestroyWindow(Gone);
    struct TCase {
        const char* Name;
        DWORD Message;
        HWND Wnd;
        UINT Id;
    };
    const TCase Cases[] = {
        {"add the same key again", NIM_ADD, Owner, 1},
        {"add for a destroyed window", NIM_ADD, Gone, 1},
        {"modify an unknown key", NIM_MODIFY, Owner, 2},
        {"delete an unknown key", NIM_DELETE, Owner, 2},
        {"modify another window's key", NIM_MODIFY, Gone, 1},
        {"unknown request", 7, Owner, 1},
    };
    std::size_t Calls = Headless.NotifyIconCalls().size();
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        NOTIFYICONDATA D = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, C.Id);
        D.hWnd = C.Wnd;
        EXPECT_FALSE(Shell_NotifyIcon(C.Message, &D));
        EXPECT_EQ(Headless.NotifyIconCalls().size(), Calls) << "no call on the desktop";
    }
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));

    Headless.SetNotifyAreaAvailable(false);
    ProcessPending();
    EXPECT_FALSE(NotifyAreaAvailable());
    NOTIFYICONDATA D = Data(NIF_MESSAGE, 3);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &D));
    EXPECT_EQ(Headless.NotifyIconCalls().size(), Calls);
}

// Presses, releases and moves on an icon come to its window as the callback
// message with the icon's id and the mouse message, the cursor where the
// event happened.
TEST_F(NotifyIconTest, PointerEventsOnTheIconArePostedAsItsCallback) {
    TNotifyIconId Id = Add(1);
    Headless.PointNotifyIcon(Id, {1500, 1050});
    Headless.PressNotifyIcon(Id);
    Headless.ReleaseNotifyIcon(Id);
    ProcessPending();
    Clock.Advance(GetDoubleClickTime() + 1);
    Headless.PointNotifyIcon(Id, {1502, 1051});
    Headless.DoubleClickNotifyIcon(Id);
    Headless.PressNotifyIcon(Id, 1);
    Headless.ReleaseNotifyIcon(Id, 1);
    Headless.PressNotifyIcon(Id, 2);
    ProcessPending();
    const TPoint A{1500, 1050}, B{1502, 1051};
    const std::vector<TCallback> Expected = {
        {1, WM_MOUSEMOVE, A, A},     {1, WM_LBUTTONDOWN, A, A}, {1, WM_LBUTTONUP, A, A},
        {1, WM_MOUSEMOVE, B, B},     {1, WM_LBUTTONDOWN, B, B}, {1, WM_LBUTTONUP, B, B},
        {1, WM_LBUTTONDBLCLK, B, B}, {1, WM_LBUTTONUP, B, B},   {1, WM_RBUTTONDOWN, B, B},
        {1, WM_RBUTTONUP, B, B},     {1, WM_MBUTTONDOWN, B, B},
    };
    EXPECT_EQ(Callbacks, Expected);
}

// A second press is a double click only on the same icon with the same
// button, within the double-click time and distance.
TEST_F(NotifyIconTest, ASecondPressIsADoubleClickOnlyWhenItWouldBeOnAWindow) {
    struct TCase {
        const char* Name;
        UINT SecondIcon;
        int SecondButton;
        DWORD After;
        TPoint SecondAt;
        LPARAM Expect;
    };
    const DWORD Time = GetDoubleClickTime();
    const int Far = GetSystemMetrics(SM_CXDOUBLECLK) / 2 + 1;
    const TCase Cases[] = {
        {"at once", 1, 0, 0, {100, 100}, WM_LBUTTONDBLCLK},
        {"at the end of the double-click time", 1, 0, Time, {100, 100}, WM_LBUTTONDBLCLK},
        {"too late", 1, 0, Time + 1, {100, 100}, WM_LBUTTONDOWN},
        {"too far", 1, 0, 0, {100 + Far, 100}, WM_LBUTTONDOWN},
        {"other button", 1, 1, 0, {100, 100}, WM_RBUTTONDOWN},
        {"other icon", 2, 0, 0, {100, 100}, WM_LBUTTONDOWN},
    };
    TNotifyIconId Ids[3] = {0, Add(1), Add(2)};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Clock.Advance(Time * 2);
        Headless.PointNotifyIcon(Ids[1], {100, 100});
        Headless.ClickNotifyIcon(Ids[1]);
        ProcessPending();
        Clock.Advance(C.After);
        Headless.PointNotifyIcon(Ids[C.SecondIcon], C.SecondAt);
        ProcessPending();
        Callbacks.clear();
        Headless.PressNotifyIcon(Ids[C.SecondIcon], C.SecondButton);
        Headless.ReleaseNotifyIcon(Ids[C.SecondIcon], C.SecondButton);
        ProcessPending();
        ASSERT_EQ(Callbacks.size(), 2u);
        EXPECT_EQ(Callbacks[0].Id, C.SecondIcon);
        EXPECT_EQ(Callbacks[0].Mouse, C.Expect);
    }
}

TEST_F(NotifyIconTest, WithoutAMessageFlagTheIconMakesNoCallback) {
    TNotifyIconId Id = Add(1, NIF_ICON | NIF_TIP);
    Headless.PointNotifyIcon(Id, {10, 10});
    Headless.ClickNotifyIcon(Id);
    ProcessPending();
    EXPECT_TRUE(Callbacks.empty());
    // The flag given later turns the callbacks on.
    NOTIFYICONDATA D = Data(NIF_MESSAGE);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &D));
    Headless.ClickNotifyIcon(Id);
    ProcessPending();
    EXPECT_EQ(Callbacks.size(), 2u);
}

TEST_F(NotifyIconTest, BalloonsAreCutShownClickedAndHidden) {
    TNotifyIconId Id = Add(1);
    NOTIFYICONDATA D = Data(NIF_INFO);
    D.szInfoTitle = Characters(70);
    D.szInfo = Characters(300);
    D.dwInfoFlags = NIIF_WARNING;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &D));
    const THeadlessNotifyIcon* Shown = Headless.NotifyIcon(Id);
    EXPECT_TRUE(Shown->BalloonVisible);
    EXPECT_EQ(Shown->BalloonTitle, Characters(63));
    EXPECT_EQ(Shown->BalloonText, Characters(255));
    EXPECT_EQ(Shown->BalloonKind, int(NIIF_WARNING));
    EXPECT_EQ(Shown->Tip, "Ostrela") << "the balloon leaves the tip alone";

    Headless.ClickNotifyBalloon(Id);
    ProcessPending();
    ASSERT_EQ(Callbacks.size(), 1u);
    EXPECT_EQ(Callbacks[0].Id, 1u);
    EXPECT_EQ(Callbacks[0].Mouse, LPARAM(NIN_BALLOONUSERCLICK));

    D.szInfo.clear();
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &D));
    EXPECT_FALSE(Shown->BalloonVisible);
    EXPECT_EQ(Headless.NotifyIconCalls().back(),
              (THeadlessNotifyCall{THeadlessNotifyCall::Balloon, Id, {}, Characters(63), {}, 2}));
}

// A notification area that goes away takes the icons with it; one that
// comes is announced to every top-level window of the thread, so that each
// adds its icons again.
TEST_F(NotifyIconTest, ANewNotificationAreaIsAnnouncedAndTheOldIconsAreForgotten) {
    UINT TaskbarCreated = RegisterWindowMessage("TaskbarCreated");
    HWND Shown = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(300, 0, 200, 100));
    HWND Child = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 50, 50), Shown);
    Add(1);
    TMessageRecorder Rec;
    ProcessPending();
    EXPECT_EQ(Rec.Count(Owner, TaskbarCreated), 0) << "an area there from the start";

    Headless.SetNotifyAreaAvailable(false);
    ProcessPending();
    NOTIFYICONDATA D = Data(NIF_TIP);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &D)) << "forgotten";
    EXPECT_EQ(Rec.Count(Owner, TaskbarCreated), 0);

    Headless.SetNotifyAreaAvailable(true);
    ProcessPending();
    EXPECT_EQ(Rec.Count(Owner, TaskbarCreated), 1) << "hidden";
    EXPECT_EQ(Rec.Count(Shown, TaskbarCreated), 1);
    EXPECT_EQ(Rec.Count(Child, TaskbarCreated), 0);
    D = Data(NIF_MESSAGE | NIF_TIP);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &D)) << "the same key is free again";
}

TEST_F(NotifyIconTest, DestroyingTheWindowRemovesItsIcons) {
    HWND Other = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    TNotifyIconId A = Add(1), B = Add(2);
    NOTIFYICONDATA D = Data(NIF_TIP, 1);
    D.hWnd = Other;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &D));
    TNotifyIconId Kept = Headless.NotifyIconCalls().back().Id;
    DestroyWindow(Owner);
    EXPECT_EQ(Headless.NotifyIcons(), std::vector<TNotifyIconId>{Kept});
    EXPECT_EQ(Headless.NotifyIcon(A), nullptr);
    EXPECT_EQ(Headless.NotifyIcon(B), nullptr);
}

} // namespace
