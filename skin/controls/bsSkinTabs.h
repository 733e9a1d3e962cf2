// The skinned page control and its tab sheets. The native tab control keeps
// the tab geometry, the selection and the keys; the page control paints the
// frame and the tabs itself (from the "tab" element or a plain look), adds
// close buttons, centred or offset top tabs, turned left and right tabs,
// wheel switching, and a skinned up-down in place of the native scroller.
//
// The native control widens every tab by one image of FTempImages, so the
// page control widens that private list by what its own content needs.
#pragma once

#include "platform/forms/Tabs.h"
#include "platform/gdi/ImageList.h"
#include "skin/model/bsSkinData.IniValues.h"
#include "skin/model/bsUtils.ButtonFace.h"

#include <memory>

class TbsSkinData;
class TbsSkinUpDown;
class TbsSkinPageControl;

using TbsCloseEvent = TMethod<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    TMethod<void(int TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TbsSkinCustomTabSheet : public TTabSheet {
public:
    explicit TbsSkinCustomTabSheet(TComponent* AOwner);
    ~TbsSkinCustomTabSheet() override;

    TBitmap* WallPaper() { return &FWallPaper; }
    void SetWallPaper(TBitmap* Value) { FWallPaper.Assign(Value); }
    // The sheet's background into DC.
    void PaintBG(HDC DC);

    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

protected:
    void Dispatch(TMessage& Message) override;

    TBitmap FWallPaper;

private:
    TbsSkinPageControl* SkinPageControl() const;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
public:
    using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
};

class TbsSkinPageControl : public TPageControl {
public:
    explicit TbsSkinPageControl(TComponent* AOwner);
    ~TbsSkinPageControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    bool MouseWheelSupport() const { return FMouseWheelSupport; }
    void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }
    bool TabExtededDraw() const { return FTabExtededDraw; }
    void SetTabExtededDraw(bool Value);
    TbsButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TbsButtonLayout Value);
    int TabMargin() const { return FTabMargin; }
    void SetTabMargin(int Value);
    int TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(int Value);
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool Value);
    bool TabsInCenter() const { return FTabsInCenter; }
    void SetTabsInCenter(bool Value);
    int TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(int Value);
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool Value);
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);

    virtual void ChangeSkinData();
    void UpDateTabs();
    void HideTabs();
    void ShowTabs();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();

    // For tests and owners: the private image list, the close size, the
    // up-down while it exists, the element index.
    TCustomImageList* TempImages() const { return FTempImages.get(); }
    int CloseSize() const { return FCloseSize; }
    TbsSkinUpDown* SkinUpDown() const { return FSkinUpDown; }
    int SkinIndex() const { return FIndex; }
    int TabStripOffset();
    TRect TabItemRect(int VisibleIndex);

    TbsCloseEvent OnClose;
    TNotifyEvent OnAfterClose;
    TbsDrawSkinTabEvent OnDrawSkinTab;

    // Element copy, read by the tab sheets too.
    TBitmap* Picture = nullptr;
    TRect SkinRect, ClRect, TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    std::string UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false, ShowFocus = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
    bool StretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TbsStretchType StretchType = bsstFull;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;

    void GetSkinData();
    // The element's client part (or the skin background picture) over R of
    // a canvas sized W x H.
    void PaintSkinBackground(TCanvas* C, const TRect& R, int W, int H, bool UseBGPicture);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    void Change() override;
    void Loaded() override;
    void CreateWnd() override;

private:
    bool Centred() const { return FTabsInCenter || FTabsOffset > 0; }
    int VisibleTabCount() const;
    TTabSheet* VisiblePage(int VisibleIndex) const;
    int TabHeightToApply();
    void ApplyTabHeight();
    void AddTempWidth(int Delta);
    int ContentWidth(bool Close, TCustomImageList* List) const;
    void AdjustRect(TRect& R);
    void AdjustItemRect(TRect& R);
    TRect FrameRect();
    TRect ActiveTabArea();
    void PaintSkinFrame(TCanvas* C);
    void PaintTabs(TCanvas* C);
    void PaintTab(TTabSheet* Page, const TRect& Target, bool Active, bool Hot, TCanvas* C);
    void DrawTabContent(TTabSheet* Page, TBitmap& B, TRect R, bool Active, bool Hot, int D);
    void PaintCloseButton(TCanvas* C, const TRect& A, int W, int H, TbsSkinCustomTabSheet* Page);
    void UpdateUpDown();
    void DestroyUpDown();
    void SyncUpDown();
    void UpDownChanged(TObject* Sender);
    void CountTabs(int& Scrolled, int& Hidden);
    void UpdateHoverTab(int X, int Y);
    void PressOrRelease(int X, int Y, bool Press);
    void CloseActivePage();
    void DoWheel(int Delta);
    void RepaintTabs();

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "tab";
    TFont FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultItemHeight = 20;
    bool FMouseWheelSupport = false;
    bool FTabExtededDraw = false;
    TbsButtonLayout FTabLayout = blGlyphLeft;
    int FTabMargin = -1;
    int FTabSpacing = 1;
    bool FTextInHorizontal = false;
    bool FTabsInCenter = false;
    int FTabsOffset = 0;
    bool FTabsBGTransparent = false;
    bool FShowCloseButtons = false;
    bool FFreeOnClose = false;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TCustomImageList> FTempImages;
    TControlCanvas FCanvas;

    int FIndex = -1;
    int FActiveTab = -1;
    int FActiveTabIndex = -1;
    int FOldActiveTab = -1;
    int FOldActiveTabIndex = -1;
    TbsSkinUpDown* FSkinUpDown = nullptr;
    int FCloseSize = 14;
    bool FHideTabs = false;
    bool FHideBorder = false;
    int FOldTabHeight = -1;
    TTabPosition FOLdTabPosition = tpTop;
    bool FOldMultiLine = false;
};
