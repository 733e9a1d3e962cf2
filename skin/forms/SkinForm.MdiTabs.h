// The tab bar of a skinned MDI main form: one tab per child, the active
// child and the tab under the mouse highlighted, a click shows the child,
// tabs can be dragged into another order and closed by their buttons.
#pragma once

#include "skin/controls/bsSkinCtrls.Base.h"

#include <memory>
#include <vector>

class TbsSkinForm;
class TbsSkinMDITabsBar;
class TbsSkinPopupMenu;
class TbsSkinMenuSpeedButton;

enum TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab {
public:
    TbsMDITab(TbsSkinMDITabsBar* AParentBar, TCustomForm* AChild);
    // Draws the tab at ObjectRect on Cnvs; sets ButtonRect.
    void Draw(TCanvas* Cnvs);
    // The button look (bstkButton): the skin's "resizebutton" pictures.
    void ButtonDraw(TCanvas* Cnvs);
    // The tab pictures stretched nine-part to the tab (UseSkinSize off).
    void ResizeDraw(TCanvas* Cnvs);
    void DrawCloseButton(TCanvas* Cnvs, const TRect& R);
    // The caption in Text with the bar's font, after OnTabGetDrawParamsEvent.
    void DrawCaption(TCanvas* C, TRect Text);

    TbsSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    TRect ObjectRect;
    TCustomForm* Child;
    bool Visible = false;
    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;
};

using TbsMDITabMouseEnterEvent = TMethod<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseLeaveEvent = TMethod<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseUpEvent =
    TMethod<void(TMouseButton Button, TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabMouseDownEvent =
    TMethod<void(TMouseButton Button, TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabGetDrawParamsEvent = TMethod<void(TbsMDITab* MDITab, TCanvas* Cnvs)>;

class TbsSkinMDITabsBar : public TbsSkinControl {
public:
    explicit TbsSkinMDITabsBar(TComponent* AOwner);
    ~TbsSkinMDITabsBar() override;

    void AddTab(TCustomForm* Child);
    void DeleteTab(TCustomForm* Child);
    int GetTabIndex(int X, int Y);
    TbsMDITab* GetTab(int X, int Y);
    int GetCloseSize();
    void UpdateActiveTab();
    void CloseTabChild(TbsMDITab* Tab);
    void CalcTabRects();
    int GetDropIndex();
    void TrackMouseTab(int X, int Y);

    int TabCount() const { return static_cast<int>(ObjectList.size()); }
    TbsMDITab* Tab(int Index) const { return ObjectList[Index].get(); }

    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    TbsSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TbsSkinMDITabKind Value);
    TbsSkinForm* SkinForm() const { return BSF; }
    void SetSkinForm(TbsSkinForm* Value) { BSF = Value; }
    int DefaultTabWidth() const { return FDefaultTabWidth; }
    void SetDefaultTabWidth(int Value) { FDefaultTabWidth = Value; }
    int MinTabWidth() const { return FMinTabWidth; }
    void SetMinTabWidth(int Value) { FMinTabWidth = Value; }
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool MoveTabs() const { return FMoveTabs; }
    void SetMoveTabs(bool Value) { FMoveTabs = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool SupportChildMenus() const { return FSupportChildMenus; }
    void SetSupportChildMenus(bool Value) { FSupportChildMenus = Value; }
    int InVisibleCount() const { return FInVisibleCount; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

    TbsMDITabMouseEnterEvent OnTabMouseEnter;
    TbsMDITabMouseLeaveEvent OnTabMouseLeave;
    TbsMDITabMouseUpEvent OnTabMouseUp;
    TbsMDITabMouseDownEvent OnTabMouseDown;
    TbsMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

    // ---- state shared with the tabs' drawing
    int FBottomOffset = 0;
    bool FShowCloseButtons = false;
    int FMinTabWidth = 0;
    TbsSkinMDITabKind FTabKind = bstkTab;
    bool FSupportChildMenus = true;
    bool IsDrag = false;
    int DX = 0;
    int TabDX = 0;
    bool FDown = false;
    int DragIndex = -1;
    int FDefaultTabWidth = 100;
    int FDefaultHeight = 21;
    std::unique_ptr<TFont> FDefaultFont;
    int ActiveTabIndex = -1;
    int OldTabIndex = -1;
    bool FMoveTabs = true;
    bool FUseSkinSize = true;
    bool FUseSkinFont = true;
    TbsSkinForm* BSF = nullptr;
    // The list button at the left lists every tab; the one at the right,
    // there while tabs do not fit, the hidden ones.
    TbsSkinMenuSpeedButton* FListButton = nullptr;
    TbsSkinMenuSpeedButton* FHideListButton = nullptr;
    TbsSkinPopupMenu* FListMenu = nullptr;
    TbsSkinPopupMenu* FHideListMenu = nullptr;
    int FInVisibleCount = 0;
    int FCloseSize = 14;
    std::vector<std::unique_ptr<TbsMDITab>> ObjectList;
    TBitmap* Picture = nullptr;
    TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect;
    int TabLeftOffset = 0;
    int TabRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
    bool TabStretchEffect = false;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect SkinRect, ClRect;
    bool TopStretch = false;
    int FActiveTabOffset = 0;

    // Refills a list menu just before it opens: one radio item per tab (the
    // hidden ones only for the hidden list), the active one checked.
    void FillListMenu(bool HiddenOnly);
    // A list item chosen: its child restored when minimized, and shown.
    void ListItemClick(TObject* Sender);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TbsSkinMenuSpeedButton* MakeListButton(bool Hidden);
    void DrawTabs(TCanvas* C, int H);
    void RedrawTab(TbsMDITab* Tab);
};
