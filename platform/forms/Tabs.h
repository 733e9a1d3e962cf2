// The tab control (window class "SysTabControl32") with its scroller, and
// the page control TPageControl with its sheets TTabSheet.
//
// When single-line tabs do not fit, the tab control makes a child up-down
// control at its right end; WM_HSCROLL with SB_THUMBPOSITION makes the given
// tab the first one shown, with or without that scroller. Tabs scrolled out
// of view report rectangles left of the client area.
//
// The page control asks for its display rectangle and tab rectangles through
// its own window procedure (Perform), so a derived control that changes the
// answers places its sheets by its own numbers.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/ListViews.h"

#include <vector>

constexpr DWORD TCS_SCROLLOPPOSITE = 0x1;
constexpr DWORD TCS_BOTTOM = 0x2;
constexpr DWORD TCS_RIGHT = 0x2;
constexpr DWORD TCS_FLATBUTTONS = 0x8;
constexpr DWORD TCS_HOTTRACK = 0x40;
constexpr DWORD TCS_VERTICAL = 0x80;
constexpr DWORD TCS_TABS = 0x0;
constexpr DWORD TCS_BUTTONS = 0x100;
constexpr DWORD TCS_MULTILINE = 0x200;
constexpr DWORD TCS_FIXEDWIDTH = 0x400;
constexpr DWORD TCS_RAGGEDRIGHT = 0x800;
constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
constexpr DWORD TCS_OWNERDRAWFIXED = 0x2000;

constexpr UINT TCM_GETIMAGELIST = 0x1302;
constexpr UINT TCM_SETIMAGELIST = 0x1303;
constexpr UINT TCM_GETITEMCOUNT = 0x1304;
constexpr UINT TCM_DELETEITEM = 0x1308;
constexpr UINT TCM_DELETEALLITEMS = 0x1309;
constexpr UINT TCM_GETITEMRECT = 0x130A;
constexpr UINT TCM_GETCURSEL = 0x130B;
constexpr UINT TCM_SETCURSEL = 0x130C;
constexpr UINT TCM_HITTEST = 0x130D;
constexpr UINT TCM_ADJUSTRECT = 0x1328;
constexpr UINT TCM_SETITEMSIZE = 0x1329;
constexpr UINT TCM_SETPADDING = 0x132B;
constexpr UINT TCM_GETROWCOUNT = 0x132C;
constexpr UINT TCM_SETMINTABWIDTH = 0x1331;
constexpr UINT TCM_GETITEM = 0x133C;
constexpr UINT TCM_SETITEM = 0x133D;
constexpr UINT TCM_INSERTITEM = 0x133E;
// wParam the tab, LOWORD(lParam) nonzero to draw it highlighted.
constexpr UINT TCM_HIGHLIGHTITEM = 0x1333;
// The owner-draw control type of a tab control (TCS_OWNERDRAWFIXED).
constexpr UINT ODT_TAB = 101;

constexpr UINT TCIF_TEXT = 0x1;
constexpr UINT TCIF_IMAGE = 0x2;
constexpr UINT TCIF_PARAM = 0x8;

constexpr UINT TCHT_NOWHERE = 0x1;
constexpr UINT TCHT_ONITEMICON = 0x2;
constexpr UINT TCHT_ONITEMLABEL = 0x4;
constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

constexpr UINT TCN_KEYDOWN = UINT(-550);
constexpr UINT TCN_SELCHANGE = UINT(-551);
constexpr UINT TCN_SELCHANGING = UINT(-552);

struct TCITEM {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};

struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct TCHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
};

void RegisterTabControlClass();

// ---------------------------------------------------------------- TPageControl

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = TMethod<void(TObject* Sender, bool& AllowChange)>;

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    int PageIndex() const;
    void SetPageIndex(int Value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    // The sheet's place among the visible tabs; -1 when hidden.
    int TabIndex() const;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool Value);

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    friend class TPageControl;
    void Dispatch(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;

    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
    bool FHighlighted = false;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    TTabSheet* Pages(int Index) const;
    int PageCount() const { return int(FPages.size()); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    int TabIndex();
    void SetTabIndex(int Value);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool Value);
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool Value);
    // The area the sheets fill, as the control's own procedure answers it.
    TRect DisplayRect();
    int IndexOfTabAt(int X, int Y);
    TRect TabRect(int Index);
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
    void AdjustClientRect(TRect& Rect) override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    friend class TTabSheet;
    virtual bool CanChange();
    virtual void Change();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CMDialogKey(TMessage& Message) override;
    virtual void CNNotify(TMessage& Message);
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    // Rebuilds the window's tabs from the visible sheets.
    void UpdateTabs();
    void ShowActivePage();
    TTabSheet* SheetOfTab(int TabIndex) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    int FTabHeight = 0;
    int FTabWidth = 0;
    TTabStyle FStyle = tsTabs;
    TCustomImageList* FImages = nullptr;
    // A changed image list (a widened one) lays the tabs out again.
    TChangeLink FImageChangeLink;
    bool FHotTrack = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
};
