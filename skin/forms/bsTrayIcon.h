// An icon in the desktop's notification area: tip, balloons, animation over
// an image list, clicks told apart from double clicks, a skinned menu, and
// hiding the main form there when the application is minimised.
//
// Without a notification area the add, update and balloon operations answer
// false, and minimising stays an ordinary minimise: no window is hidden
// where the user could not get it back.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Windows.h"

#include <memory>

class TbsSkinPopupMenu;

// The notification icon's callback message.
constexpr UINT WM_TRAYICONNOTIFY = WM_USER + 1024;
static_assert(WM_TRAYICONNOTIFY == 2048);

enum TbsBalloonHintIcon { bsbitNone, bsbitInfo, bsbitWarning, bsbitError };

using TbsCycleEvent = TMethod<void(TObject* Sender, int NextIndex)>;

class TbsTrayIcon : public TComponent {
public:
    explicit TbsTrayIcon(TComponent* AOwner);
    ~TbsTrayIcon() override;

    void Loaded() override;
    virtual bool TakesApplicationIcon() { return true; }
    virtual bool AddTrayEntry();
    virtual bool DeleteTrayEntry();
    virtual bool UpdateTrayEntry();
    bool Refresh() { return UpdateTrayEntry(); }
    void ShowMainForm();
    void HideMainForm();
    bool ShowBalloonHint(const std::string& Title, const std::string& Text,
                         TbsBalloonHintIcon IconType);
    bool HideBalloonHint();
    // The first 16 x 16 image of Bitmap, MaskColor transparent, as Icon;
    // false when Bitmap gives no image (Icon is then left as it was).
    bool BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TIcon* Icon() { return FIcon.get(); }
    void SetIcon(TIcon* Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TbsSkinPopupMenu* Value);
    bool PopupByLeftButton() const { return FPopupByLeftButton; }
    void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
    bool MinimizedOnStart() const { return FMinimizedOnStart; }
    void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    unsigned AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(unsigned Value);
    HWND Handle() const { return FHandle; }
    HWND WindowHandle() const { return FWindowHandle; }

    TNotifyEvent OnBalloonHintClick;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TbsCycleEvent OnCycle;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Each fires its event with the icon as Sender; a descendant overrides
    // them to act before, after or instead of the event.
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle(int NextIndex);
    virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseMove(TShiftState Shift, int X, int Y);
    virtual void MinimizeMainFormToTray();

private:
    void TrayWindowProc(TMessage& Message);
    void ShowTrayMenu();
    void ClickTimerTick(TObject* Sender);
    void AnimateTimerTick(TObject* Sender);
    bool PrepareIconData();
    bool OwnerIsWindow() const;
    UINT_PTR HookId() const { return reinterpret_cast<UINT_PTR>(this); }
    static LRESULT ApplicationHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                   DWORD_PTR Data);
    static LRESULT OwnerHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                             DWORD_PTR Data);

    bool FEnabled = true;
    std::unique_ptr<TIcon> FIcon;
    bool FIconVisible = true;
    std::string FHint;
    bool FShowHint = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
    bool FPopupByLeftButton = false;
    bool FMinimizedOnStart = false;
    bool FMinimizeToTray = true;
    bool FClickStart = false;
    bool FClickReady = false;
    TTimer* AnimateTimer = nullptr;
    TTimer* ClickTimer = nullptr;
    bool IsDblClick = false;
    // Until the application has its main form: an MDI main form that starts
    // in the tray keeps the application's window hidden once it exists.
    bool SettingMDIForm = true;
    int FIconIndex = 0;
    TCustomImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    unsigned FAnimateTimerInterval = 0;
    HWND FHandle = 0;
    HWND FWindowHandle = 0;
    HWND FAppWnd = 0;
    HWND FOwnerWnd = 0;
    NOTIFYICONDATA IconData{};
};
