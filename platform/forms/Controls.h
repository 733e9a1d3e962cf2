// Controls of the class library: TControl (anything with bounds in a parent),
// TWinControl (a control with a window of its own that may hold children),
// TGraphicControl (painted by its parent into the parent's window) and
// TCustomControl (a window control with a canvas).
//
// The tree: a TWinControl keeps its children in Controls() in z-order
// (first = bottom); Parent is the tree link, Owner (TComponent) decides who
// frees whom. A window control's window is made on demand, parents first,
// and re-made by RecreateWnd; everything the control knows (bounds, text,
// visibility, children) lives in the control, so a handle can come and go.
//
// Messages: every message to a control, from its window or from Perform,
// goes through WindowProc (initially WndProc), then Dispatch, which calls
// the virtual handler of the message (WMPaint, CMEnabledChanged ...) or
// DefaultHandler. A window control's DefaultHandler calls the window's
// default procedure. The CM_ notifications are the library's own numbers.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Sets.h"
#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"

#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------- notifications

// The library's notification numbers, one table: the five fixed ones
// (CANCELMODE, ENABLEDCHANGED, MOUSEENTER, MOUSELEAVE, WANTSPECIALKEY) keep
// their places and the rest fill 0xB000-0xB0FF around them.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0x00;
constexpr UINT CM_DEACTIVATE = CM_BASE + 0x01;
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x02;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x03;
constexpr UINT CM_CANCELMODE = CM_BASE + 0x04;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x05;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x06;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x07;
constexpr UINT CM_HITTEST = CM_BASE + 0x08;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x09;
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0A;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0B;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 0x0D;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x0E;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 0x0F;
constexpr UINT CM_ENTER = CM_BASE + 0x10;
constexpr UINT CM_EXIT = CM_BASE + 0x11;
constexpr UINT CM_ICONCHANGED = CM_BASE + 0x12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 0x16;
constexpr UINT CM_RELEASE = CM_BASE + 0x17;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 0x18;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 0x19;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 0x1A;
constexpr UINT CM_HINTSHOW = CM_BASE + 0x1B;
constexpr UINT CM_RECREATEWND = CM_BASE + 0x1C;
constexpr UINT CM_INVALIDATE = CM_BASE + 0x1D;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 0x1E;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 0x1F;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 0x20;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 0x21;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 0x22;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 0x23;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 0x24;
// Internal: a deferred free of a control (TControl::Release).
constexpr UINT CM_FREECONTROL = CM_BASE + 0x25;

// Reflected notifications of native children.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + 0x135;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + 0x136;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + 0x132;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + 0x137;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CHARTOITEM = CN_BASE + 0x2F;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + 0x39;
constexpr UINT CN_DELETEITEM = CN_BASE + 0x2D;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + 0x2E;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// Whether a window message is handed back to the child that sent it.
bool IsReflectedMessage(UINT Msg);

// ---------------------------------------------------------------- types

class TControl;
class TWinControl;
class TCustomForm;
class TControlActionLink;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TImeMode { imDisable, imClose, imOpen, imDontCare };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TScrollBarKind { sbHorizontal, sbVertical };

using TCursor = short;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TSizeConstraint = int;

using TWndMethod = TMethod<void(TMessage& Message)>;
using TMouseEvent =
    TMethod<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TMethod<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TMethod<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TMethod<void(TObject* Sender, unsigned& Key)>;
using TMouseWheelEvent = TMethod<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                      TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    TMethod<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = TMethod<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent = TMethod<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    TMethod<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TDragDropEvent = TMethod<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent =
    TMethod<void(TObject* Sender, TObject* Source, int X, int Y, int State, bool& Accept)>;
using TStartDragEvent = TMethod<void(TObject* Sender, TObject*& DragObject)>;
using TEndDragEvent = TMethod<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Shift state from a mouse message's key flags, with Alt from the keyboard.
TShiftState KeysToShiftState(WORD Keys);

// ---------------------------------------------------------------- TSizeConstraints

class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(TControl* Control) : FControl(Control) {}

    TSizeConstraint MinWidth() const { return FMinWidth; }
    void SetMinWidth(TSizeConstraint Value);
    TSizeConstraint MinHeight() const { return FMinHeight; }
    void SetMinHeight(TSizeConstraint Value);
    TSizeConstraint MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(TSizeConstraint Value);
    TSizeConstraint MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(TSizeConstraint Value);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    void Change();
    TControl* FControl;
    TSizeConstraint FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// ---------------------------------------------------------------- creation parameters

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASS WindowClass;
    std::string WinClassName;
};

// ---------------------------------------------------------------- TControlCanvas

// A canvas on a control: it takes a DC of the control on first use and lets
// it go when the control's handle goes (or FreeHandle is called). Its Handle
// may be set to a foreign DC, and back to 0.
class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value);
    void FreeHandle();
    // Lends the canvas the paint DC for the length of one paint and takes it
    // back even when the paint throws, so the canvas never keeps a dead DC.
    template <class TPaint> void PaintOn(HDC DC, TPaint&& Paint) {
        Lock();
        SetHandle(DC);
        try {
            Paint();
        } catch (...) {
            SetHandle(nullptr);
            Unlock();
            throw;
        }
        SetHandle(nullptr);
        Unlock();
    }

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

// ---------------------------------------------------------------- TControl

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- tree and geometry
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    int Left() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    int Top() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Applies the constraints, moves the window, realigns the parent.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Right; }
    void SetClientWidth(int Value);
    int ClientHeight() { return ClientRect().Bottom; }
    void SetClientHeight(int Value);
    void SetClientSize(int W, int H);
    // The screen position of the client area's top-left.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint P);
    TPoint ScreenToClient(TPoint P);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show();
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    void BringToFront() { SetZOrder(true); }
    void SendToBack() { SetZOrder(false); }
    virtual void SetZOrder(bool TopMost);

    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    // Caption and Text are the same string.
    std::string Caption() { return GetText(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    std::string Text() { return GetText(); }
    void SetText(const std::string& Value);
    // Copies at most BufSize - 1 bytes and a terminating zero.
    int GetTextBuf(char* Buffer, int BufSize);
    int GetTextLen();
    void SetTextBuf(const char* Buffer) { SetText(Buffer ? Buffer : ""); }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints* Constraints() { return &FConstraints; }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    bool UseRightToLeftAlignment() const { return false; }
    bool UseRightToLeftReading() const { return false; }
    // Left-to-right drawing: the flags come back unchanged.
    UINT DrawTextBiDiModeFlags(UINT Flags) const { return Flags; }
    UINT DrawTextBiDiModeFlagsReadingOnly() const { return 0; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }
    bool MouseCapture();
    void SetMouseCapture(bool Value);

    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }

    // ---- messages
    // Calls WindowProc at once; the record's Result is the answer.
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    // Calls the handler of the message number, or DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // ---- painting
    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }

    bool HasParent() const { return FParent != nullptr; }
    TComponent* GetParentComponent() const;
    // Whether the control and every parent up to the top are visible.
    virtual bool Showing() const;

    virtual void Click();
    virtual void DblClick();
    // Frees the control when the current message is done (CM_FREECONTROL is
    // posted to the application's window).
    void Release();

    // ---- events
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TContextPopupEvent OnContextPopup;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TConstrainedResizeEvent OnConstrainedResize;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDock;
    TEndDragEvent OnEndDock;

protected:
    friend class TWinControl;
    friend class TControlActionLink;
    friend class TSizeConstraints;
    friend class TControlCanvas;

    // ---- sizing
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    void DoConstraintsChange(TObject* Sender);
    // Applies the constraints to a proposed size.
    void ApplyConstraints(int& NewWidth, int& NewHeight);
    // Puts proposed bounds through CanResize and the constraints; answers
    // whether they still differ from the current ones.
    bool ProposeBounds(int ALeft, int ATop, int& AWidth, int& AHeight);
    virtual void AdjustSize();
    virtual void RequestAlign();
    virtual void Resize();
    virtual void Loaded() override;
    // The bounds changed by the window system (no window move).
    void UpdateBoundsRect(const TRect& R);
    void UpdateAnchorRules();

    // ---- text
    virtual std::string GetText();
    virtual void SetTextInternal(const std::string& Value);

    // ---- mouse and keys
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);

    // ---- actions
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void DoActionChange(TObject* Sender);
    bool IsOnClickActionLinked() const;

    virtual void VisibleChanging() {}
    // Raises when AParent lies below this control.
    void ValidateContainer(TWinControl* AParent);
    virtual void SetZOrderPosition(int Position);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The parent whose window shows this control (itself for a window control).
    TWinControl* ParentWindowControl() const;

    // ---- message handlers
    virtual void WMPaint(TMessage& Message);
    virtual void WMMouseMove(TMessage& Message);
    virtual void WMButtonDown(TMessage& Message, TMouseButton Button, bool Double);
    virtual void WMButtonUp(TMessage& Message, TMouseButton Button);
    virtual void WMMouseWheel(TMessage& Message);
    virtual void WMContextMenu(TMessage& Message);
    virtual void WMCancelMode(TMessage& Message);
    virtual void WMWindowPosChanged(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentShowHintChanged(TMessage& Message);
    virtual void CMParentBiDiModeChanged(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMHitTest(TMessage& Message);
    virtual void CMMouseEnter(TMessage& Message);
    virtual void CMMouseLeave(TMessage& Message);
    virtual void CMMouseWheel(TMessage& Message);
    virtual void CMHintShow(TMessage&) {}
    virtual void CMCursorChanged(TMessage&) {}
    virtual void CMInvalidate(TMessage& Message);

    // Graphic controls paint through this; window controls paint in
    // TWinControl::PaintHandler.
    virtual void PaintControl(HDC) {}

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TCursor FCursor = crDefault;
    int FHelpContext = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints FConstraints{this};
    bool FAutoSize = false;
    TColor FColor = clWindow;
    bool FParentColor = true;
    TFont FFont;
    bool FParentFont = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = -12;
    std::unique_ptr<TControlActionLink> FActionLink;

private:
    void FontChanged(TObject* Sender);
    void ApplyAnchorRules(int ParentWidth, int ParentHeight);
    // Anchoring: the bounds and parent client size when last placed by code.
    TRect FAnchorBase;
    TSize FAnchorParentSize;
    bool FAnchorMove = false;
    bool FUpdatingFont = false;
};

class TControlActionLink : public TBasicActionLink {
public:
    explicit TControlActionLink(TControl* AClient) : TBasicActionLink(AClient), FClient(AClient) {}
    void SetCaption(const std::string& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const std::string& Value) override;
    void SetVisible(bool Value) override;

protected:
    TCustomAction* CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }
    TControl* FClient;
};

// ---------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // ---- children
    TControl* Controls(int Index) const;
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    // Whether Control lies anywhere below this control.
    bool ContainsControl(const TControl* Control) const;
    // The topmost visible (and enabled, unless AllowDisabled) child at Pos
    // (client coordinates) that answers CM_HITTEST; window children only when
    // AllowWinControls.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
    TControl* FindChildControl(const std::string& ControlName) const;
    // Performs Message on each child in order until one answers nonzero.
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);

    // ---- alignment
    void DisableAlign();
    void EnableAlign();
    int AlignDisabledLevel() const { return FAlignLevel; }
    void Realign();
    // Aligns AControl (or every control) in the client area; virtual so that
    // containers can place children their own way.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    void AlignControl(TControl* AControl);
    void ScrollBy(int DeltaX, int DeltaY);

    // ---- window
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    void RecreateWnd();
    void UpdateControlState();
    // Whether the control and every parent up to the top are visible.
    bool Showing() const override { return FShowing; }
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND Value);
    TBrush* Brush() { return &FBrush; }
    void PaintTo(HDC DC, int X, int Y);
    virtual void PaintWindow(HDC DC);
    void PaintControls(HDC DC, TControl* First);
    // The window's default procedure (the native class's or DefWindowProc).
    WNDPROC DefWndProc() const { return FDefWndProc; }

    // ---- focus and tab order
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    void GetTabOrderList(std::vector<TWinControl*>& List);
    virtual bool CanFocus();
    virtual bool Focused();
    virtual void SetFocus();
    void SelectFirst();
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent);

    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value) { FCtl3D = Value; }
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(TImeMode Value) { FImeMode = Value; }
    const std::string& ImeName() const { return FImeName; }
    void SetImeName(const std::string& Value) { FImeName = Value; }
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool Value) { FDockSite = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void Loaded() override;
    // With AutoSize: just large enough for the visible unaligned children.
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void SetZOrder(bool TopMost) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    // The procedure every window of the library has: finds the control and
    // runs its WindowProc, catching exceptions for the application.
    void MainWndProc(TMessage& Message);
    // Internal: binds the window being created to this control.
    void AttachCreatedHandle(HWND Wnd);
    // Whether the window is a top-level popup (WS_POPUP) although the
    // control may have a parent.
    bool IsTopLevelPopup() const;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    friend class TControl;
    friend class TCustomForm;

    // ---- window creation
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void CreateHandle();
    void DestroyHandle();
    // Registers (once) the class of Params under WinClassName, with the
    // library's procedure; a native class's procedure becomes the default.
    void RegisterWindowClass(TCreateParams& Params);
    // Creates a copy of a native window class under this control's class name.
    void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
    virtual void CreateSubClassHook() {}
    void UpdateShowing();
    void UpdateBounds();
    // Lets go of the canvases' DCs before the window goes.
    virtual void FreeDeviceContexts() {}
    // Hands a client mouse message to the graphic child under the point or
    // holding the capture; answers whether one took it.
    bool RouteToGraphicChild(TMessage& Message);

    // ---- children and order
    void Insert(TControl* AControl);
    void Remove(TControl* AControl);
    virtual void AlignControlsDone() {}
    void SetZOrderPosition(int Position) override;
    void UpdateTabOrder(int Value);
    void AdjustAnchoredChildren();

    // ---- painting
    virtual void PaintHandler(TMessage& Message);
    void WMPaint(TMessage& Message) override { PaintHandler(Message); }

    // ---- keys and focus
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(unsigned& Key);
    virtual bool DoKeyDown(TMessage& Message);
    virtual bool DoKeyUp(TMessage& Message);
    virtual bool DoKeyPress(TMessage& Message);
    virtual void DoEnter();
    virtual void DoExit();
    // Whether a dialog key goes to the control rather than the form.
    bool WantsKey(WORD Key);

    // ---- message handlers
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMKeyDown(TMessage& Message);
    virtual void WMKeyUp(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);
    virtual void WMSetCursor(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMNCDestroy(TMessage& Message);
    virtual void WMCommand(TMessage& Message);
    virtual void WMNotify(TMessage& Message);
    virtual void WMCtlColor(TMessage& Message);
    virtual void CNKeyDown(TMessage& Message);
    virtual void CNChar(TMessage& Message);
    virtual void CNCtlColor(TMessage& Message);
    virtual void CMDialogKey(TMessage& Message);
    virtual void CMDialogChar(TMessage& Message);
    virtual void CMFocusChanged(TMessage&) {}
    virtual void CMEnter(TMessage& Message);
    virtual void CMExit(TMessage& Message);
    virtual void CMShowingChanged(TMessage& Message);
    virtual void CMRecreateWnd(TMessage& Message);
    virtual void CMControlListChange(TMessage&) {}
    virtual void CMWantSpecialKey(TMessage&) {}
    void CMEnabledChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void WMWindowPosChanged(TMessage& Message) override;

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr;
    TBrush FBrush;
    int FAlignLevel = 0;
    bool FTabStop = false;
    bool FShowing = false;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FDoubleBuffered = false;
    TImeMode FImeMode = imDontCare;
    std::string FImeName;
    bool FDockSite = false;
    bool FIsPopup = false;
};

// ---------------------------------------------------------------- graphic and custom controls

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return &FCanvas; }

protected:
    virtual void Paint() {}
    void WMPaint(TMessage& Message) override;
    TControlCanvas FCanvas;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return &FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    void FreeDeviceContexts() override;
    TControlCanvas FCanvas;
};

// ---------------------------------------------------------------- forms as controls see them

// What the controls on a form ask of it: focus, shortcuts and key preview.
// TCustomForm implements it; a tree whose top is no form has none.
class TFormServices {
public:
    virtual ~TFormServices() = default;
    virtual bool Active() const = 0;
    virtual TWinControl* ActiveControl() const = 0;
    virtual void SetActiveControl(TWinControl* Control) = 0;
    virtual void FocusControl(TWinControl* Control) = 0;
    virtual bool SetFocusedControl(TWinControl* Control) = 0;
    virtual void DefocusControl(TWinControl* Control, bool Removing) = 0;
    virtual bool IsShortCut(TMessage& Message) = 0;
    virtual bool KeyPreview() const = 0;
};

// The form at the top of Control's parent chain, as a control and as the
// services it offers; null when the top is no form.
TWinControl* FormControlOf(TControl* Control);
TFormServices* FormServicesOf(TControl* Control);

// ---------------------------------------------------------------- mouse

class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(TPoint Value);
    HWND Capture() const;
    void SetCapture(HWND Value);
    bool WheelPresent() const { return true; }
    int DragThreshold() const { return FDragThreshold; }
    void SetDragThreshold(int Value) { FDragThreshold = Value; }
    int WheelScrollLines() const { return 3; }

private:
    int FDragThreshold = 5;
};

extern TMouse* Mouse;

// ---------------------------------------------------------------- helpers

// The control whose window Wnd is; null for a window of no control.
TWinControl* FindControl(HWND Wnd);
// The control at a screen point: the deepest control (graphic ones too).
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
// The deepest visible control at a screen point, graphic and disabled ones
// included: the control under the pointer.
TControl* FindControlUnderPointer(TPoint Pos);
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// The control under the pointer stops being it without a message (freed or
// hidden, with its children).
void ForgetMouseControl(TControl* Control);
// Finds the control under the pointer and sends CM_MOUSELEAVE to the one
// before and CM_MOUSEENTER to the new one when they differ.
void UpdateMouseControl();
TControl* MouseControl();
// Performs CM_CANCELMODE on the active control of Sender's form when the
// form is active.
void SendCancelMode(TControl* Sender);
// The deferred free of controls: Release posts CM_FREECONTROL to the window
// the application names here, whose procedure hands the message's control
// to FreeReleasedControl. A control freed before then is forgotten.
void SetControlReleaseWindow(HWND Wnd);
void PostReleaseControl(TControl* Control);
void ForgetReleasedControl(TControl* Control);
void FreeReleasedControl(TControl* Control);

// The cursor handle of a TCursor; none for crNone.
HCURSOR CursorHandle(TCursor Cursor);
// The screen's cursor: crDefault lets each control's own cursor show.
TCursor ScreenCursor();
void SetScreenCursor(TCursor Value);

// Set by the application: where exceptions caught in a window procedure go.
using TExceptionHandler = std::function<void(TObject* Sender)>;
void SetControlExceptionHandler(TExceptionHandler Handler);
void HandleControlException(TObject* Sender);
