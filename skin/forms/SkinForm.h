// TbsSkinForm: the component that turns its owner form into a skinned
// window, and the caption objects that live on the skinned frame.
//
// One component per form. From construction to destruction it owns the
// form's window procedure (NewWndProc): it answers the non-client messages
// itself, draws the frame from the skin (or its plain look without one),
// hit-tests the frame, keeps its own window states (maximize to the work
// area, minimize to a caption strip, roll up to the caption) and follows
// skin changes together with the skinned controls on the form.
//
// The frame geometry (the New... fields) is recomputed for FFormWidth x
// FFormHeight at every paint and size change; nothing else is cached.
//
// Menus, the menu bar, hints and the tray icon reach this unit through the
// members declared under "Menus" (bodies in SkinForm.Menus.cpp); the layered
// border, the client inactive panel and MDI bookkeeping through the members
// under "Alpha, inactive panel, MDI" (SkinForm.Alpha.cpp,
// SkinForm.InactivePanel.cpp, SkinForm.Mdi.cpp; the border and the tab bar
// are declared in SkinForm.LayerBorder.h and SkinForm.MdiTabs.h).
#pragma once

#include "platform/core/Lists.h"
#include "platform/core/Objects.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Graphics.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.h"

#include <memory>
#include <string>
#include <vector>

class TbsSkinForm;
class TbsLayerManager;
class TbsFormLayerBorder;
class TbsClientInActivePanel;
class TbsSkinMDITabsBar;
class TbsSkinMenu;
class TbsSkinPopupMenu;
class TbsSkinMainMenu;
class TbsSkinMainMenuBar;
class TbsSkinHint;
class TbsTrayIcon;
class TbsSkinStatusBar;
class TbsEffectBmp;

// ---------------------------------------------------------------- types

// Scoped: the class library's own border icons share three of the names.
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon>;
enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };
enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };

using TbsCaptionPaintEvent = TMethod<void(TCanvas* Cnvs, TRect R, bool AActive)>;
using TbsPaintEvent = TMethod<void(const std::string& IDName, TCanvas* Canvas, TRect ObjectRect)>;
using TbsMouseEnterEvent = TMethod<void(const std::string& IDName)>;
using TbsMouseLeaveEvent = TMethod<void(const std::string& IDName)>;
using TbsMouseUpEvent =
    TMethod<void(const std::string& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button)>;
using TbsMouseDownEvent =
    TMethod<void(const std::string& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button)>;
using TbsMouseMoveEvent = TMethod<void(const std::string& IDName, int X, int Y, TRect ObjectRect)>;
using TbsActivateCustomObjectEvent = TMethod<void(const std::string& IDName, bool& ObjectVisible)>;
using TbsOnAcceptToMDITabsBar = TMethod<void(bool& Accept)>;

// True for the messages on which an open skin menu closes.
bool IsMenuCloseMessage(UINT Msg);

// Turns a picture into the skin's inactive look (the frame's and the
// caption's when the form is not active).
void ApplyInActiveEffect(TbsEffectBmp& E, TbsInActiveEffect Effect);

// ---------------------------------------------------------------- caption objects

// An object of the class library, so that it can be an event's sender.
class TbsActiveSkinObject : public TObject {
public:
    TbsActiveSkinObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);
    ~TbsActiveSkinObject() override = default;
    TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
    TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

    virtual bool PointInMask(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    virtual bool CanMorphing();
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    virtual void DblClick() {}
    virtual void MouseDown(int X, int Y, TMouseButton Button);
    virtual void MouseUp(int X, int Y, TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool EnableMorphing();
    void StartMorphing();
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);

    TbsSkinForm* Parent;
    double FMorphKf = 0;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    TBitmap* ActivePicture = nullptr;
    TBitmap* ActiveMaskPicture = nullptr;
    TbsSkinData* SD = nullptr;
    std::string IDName;
    std::string Hint;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    TRect ObjectRect;
    bool Active = false;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    int GlowLayerPictureIndex = -1;
    int GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0;
    int GlowLayerOffsetY = 0;
    int GlowLayerAlphaBlendValue = 0;

protected:
    bool SkinUsable() const;
    // Copies rectangle S of Pic stretched onto ObjectRect.
    void CopyLook(TCanvas* Cnvs, TBitmap* Pic, const TRect& S);
    // The MorphKind transition from look From (of FromPic) to look To.
    void DrawMorph(TCanvas* Cnvs, TBitmap* FromPic, const TRect& From, const TRect& To);
    bool MorphUnderWay() const;
    // ObjectRect in screen coordinates.
    TRect ScreenObjectRect();
    void ShowLayerWith(TbsLayerManager* Manager);
    void HideLayerWith(TbsLayerManager* Manager);
    bool GlowAllowed() const;
};

class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
    TbsSkinAnimateObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    // Looks, hover, buttons and menus of the animation (SkinForm.AnimateObjects.cpp).
    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoCommand();
    void TrackMenu();

    void ChangeFrame();
    int Frame() const { return FFrame; }
    void SetFrame(int Value);
    void Start();
    void Stop();

    int FFrame = 1;
    int FInc = 25;
    int TimerInterval = 25;
    TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false;
    bool FDown = false;
    bool FMenuTracking = false;
    int CountFrames = 0;
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Increment = true;
    TbsStdCommand Command = cmDefault;
    TRect DownSkinRect;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreInActiveRect;
    TRect RestoreDownRect;
    std::string RestoreHint;
    std::string FTempHint;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    void TrackMenu();

    bool FDown = false;
    bool FPopupUp = false;
    TRect DisableSkinRect;
    TRect DownRect;
    TMenuItem* MenuItem = nullptr;

protected:
    // The button looks without the restore looks of standard buttons.
    void DrawButton(TCanvas* Cnvs, bool UpDate);
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
    TbsSkinStdButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    bool PointInMask(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void DefaultDraw(TCanvas* Cnvs);
    void DoCommand();

    bool FSkinSupport = false;
    TbsStdCommand Command = cmDefault;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreInActiveRect;
    TRect RestoreDownRect;
    std::string RestoreHint;
    std::string FTempHint;

    // The window is in the state this button's command undoes.
    bool InRestoreState() const;

private:
    bool IconLook() const;
};

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation();

    // The text rectangle in the object's own coordinates.
    TRect TextArea();
    // The caption text (with a maximized MDI child's), shortened to Width.
    std::string CaptionText(TCanvas* Cnvs);
    void SetCaptionFont(TCanvas* Cnvs, TColor Color);
    // The text and its effects at origin DX, DY.
    void PaintText(TCanvas* Cnvs, int DX, int DY, bool AActive);

    int ActiveQuickButton = -1;
    int OldActiveQuickButton = -1;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor ShadowColor = 0;
    TColor ActiveShadowColor = 0;
    bool Shadow = false;
    TColor LightColor = 0;
    TColor ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct;
    TRect FrameRect;
    TRect ActiveFrameRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    TRect FrameTextRect;
    bool StretchEffect = false;
    bool FullFrame = false;
    int FIncTime = 0;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool VistaGlowEffect = false;
    bool VistaGlowInActiveEffect = false;
    bool GlowEffect = false;
    bool GlowInActiveEffect = false;
    int GlowSize = 0;
    TColor GlowColor = 0;
    TColor GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0;
    TColor ReflectionActiveColor = 0;
    int ReflectionOffset = 0;

    // Quick buttons (SkinForm.CaptionEffects.cpp): the hover test at a
    // point in window coordinates ((-1, -1): none).
    void TestQuickButtons(int X, int Y);

private:
    // A caption background of ObjectRect's width cut from S of Pic.
    std::unique_ptr<TBitmap> MakeStrip(TBitmap* Pic, const TRect& S);
    bool HasQuickButtons();
    // A strip of S of Pic with the caption text in the active or inactive look.
    std::unique_ptr<TBitmap> TextStrip(TBitmap* Pic, const TRect& S, bool AActive);
    void DrawLook(TCanvas* Cnvs);
    void DrawQuickButtons(TCanvas* Cnvs);
    void RepaintFrame();
};

// ---------------------------------------------------------------- quick buttons

class TbsQuickButtonItem : public TCollectionItem {
public:
    explicit TbsQuickButtonItem(TCollection* ACollection);
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }

    int FImageIndex = -1;
    std::string FHint;
    bool FEnabled = true;
    bool FVisible = true;
    TNotifyEvent OnClick;
    TRect ItemRect;
    bool Active = false;
    bool Down = false;
};

class TbsQuickButtonItems : public TCollection {
public:
    explicit TbsQuickButtonItems(TbsSkinForm* AOwner);
    TbsQuickButtonItem* Items(int Index) const;
    TbsQuickButtonItem* Add();
    TbsQuickButtonItem* Insert(int Index);
    using TCollection::Clear;
    using TCollection::Delete;

    TbsSkinForm* BSF;

protected:
    void Update(TCollectionItem* Item) override;
};

// ---------------------------------------------------------------- the component

class TbsSkinForm : public TComponent {
public:
    explicit TbsSkinForm(TComponent* AOwner);
    ~TbsSkinForm() override;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- component (SkinForm.Component.cpp)
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TbsSkinData* Value);
    bool GetFormActive();
    int GetIndex(const std::string& AIDName);
    void SetEnabled(const std::string& AIDName, bool Value);
    void UserObjectDraw(const std::string& AIDName);
    void LinkMenu(const std::string& AIDName, TMenu* AMenu, bool APopupUp);
    void SetFormBorderStyle(TFormBorderStyle BS);
    void SetFormStyle(TFormStyle FS);
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);
    TForm* Form() const { return FForm; }

    // ---- messages (SkinForm.Messages.cpp)
    void NewWndProc(TMessage& Message);
    void CloseMenusOnMessage(TMessage& Message);
    void NewMDIClientWndProc(TMessage& Message);
    void AppOnMessage(MSG& Msg, bool& Handled);
    void SkinMenuKeyDown(TMessage& Message);
    void FormShortCut(TWMKey& Msg, bool& Handled);
    void SkinMenuOpen();
    void SkinMenuClose();
    void ExitMainMenu();
    void SkinMainMenuClose();
    void HookApplicationMessages();
    void UnhookApplicationMessages();
    void SyncFormBorderIcons();
    TbsBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TbsBorderIcons Value);

    // ---- frame (SkinForm.Frame.cpp)
    void CalcFrameRects();
    void MapSkinRect(const TRect& R, TRect& NewR);
    void PaintNCSkin(HDC DC, bool AUseExternalDC);
    void PaintBG(HDC DC);
    void PaintBG2(HDC DC);
    void PaintBG3(HDC DC);
    void SetFormRegion();
    bool PtInMask(TPoint P);
    void UpdateSkinFrame();

    // ---- hit testing and states (SkinForm.States.cpp)
    LRESULT SkinHitTest(TPoint P);
    LRESULT DefaultHitTest(TPoint P);
    bool InCaptionArea(TPoint P);
    bool NearFrameEdge(TPoint P);
    void GetDefCaptionRect(TRect& R);
    void DoMagnetic(int& X, int& Y, int W, int H);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    void ForceRealign();

    // ---- skin change (SkinForm.SkinChange.cpp)
    void FormChangeSkinData();
    void BeforeChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl);
    void ChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl);

    // ---- caption objects (SkinForm.Objects.cpp)
    void CreateObjects();
    void CreateDefaultObjects();
    void ClearObjects();
    void ArrangeObjects();
    void CheckObjects();
    void UpdateObjectHints();
    void SetCaptionActive(bool Animate);
    void TestActive(int X, int Y, bool InFrame);
    void TestMouse(TObject* Sender);
    void ObjectsMouseMove(int X, int Y);
    void ObjectsDblClick();
    void ObjectsMouseDown(TMouseButton Button, int X, int Y);
    void ObjectsMouseUp(TMouseButton Button, int X, int Y);
    void DoPaintEvent(const std::string& IDName, TCanvas* Canvas, TRect ObjectRect);
    void DoMouseUpEvent(const std::string& IDName, int X, int Y, TRect ObjectRect,
                        TMouseButton Button);
    void DoMouseDownEvent(const std::string& IDName, int X, int Y, TRect ObjectRect,
                          TMouseButton Button);
    void DoMouseMoveEvent(const std::string& IDName, int X, int Y, TRect ObjectRect);
    void DoMouseEnterEvent(const std::string& IDName);
    void DoMouseLeaveEvent(const std::string& IDName);
    TbsActiveSkinObject* Object(int Index) const;
    int ObjectCount() const { return static_cast<int>(ObjectList.size()); }

    // ---- plain look (SkinForm.DefaultLook.cpp)
    void CalcDefRects();
    void PaintNCDefault(HDC DC, bool AUseExternalDC);
    void PaintBGDefault(HDC DC);
    void PaintMDIBGDefault(HDC DC);
    void DrawLogo(TCanvas* Canvas);
    int GetDefCaptionHeight();
    int GetDefButtonSize();
    void GetSmallIconSize(int& W, int& H);
    void PrepareFormIcon();
    void DrawFormIcon(TCanvas* Canvas, int X, int Y);
    TFont* DefCaptionFont() const { return FDefCaptionFont.get(); }
    void SetDefCaptionFont(TFont* Value);
    TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
    void SetDefInActiveCaptionFont(TFont* Value);
    bool ShowIcon() const { return FShowIcon; }
    void SetShowIcon(bool Value);
    TBitmap* LogoBitMap() const { return FLogoBitMap.get(); }
    void SetLogoBitMap(TBitmap* Value);

    // ---- limits (SkinForm.Limits.cpp)
    int GetMinWidth();
    int GetMinHeight();
    int GetMaxWidth();
    int GetMaxHeight();
    void ApplyPositionInMonitor();
    TPoint GetPositionInMonitor(int AX, int AY, int AW, int AH);
    void FindMinimizedPosition(TPoint& P);
    int RealHeight() const { return FRollUpState ? OldHeight : FFormHeight; }
    void SetRealHeight(int Value) { OldHeight = Value; }

    // ---- services (SkinForm.Services.cpp)
    bool UseRibbon() const { return FUseRibbon; }
    void SetUseRibbon(bool Value);
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool Value);
    void MorphTimerStep(TObject* Sender);
    void AnimateTimerStep(TObject* Sender);
    void DrawSkinObject(TbsActiveSkinObject* AObject);
    void ResetCaptionButtons();
    bool GetAutoRenderingInActiveImage();
    void PointToFrame(TPoint& P);
    bool IsSizeable();
    bool GetFullDrag();
    void SendCheckParentBG();
    void CloseMDIDropDowns();
    std::string GetProductVersion() const { return "7.81"; }

    // ---- quick buttons and finders (SkinForm.QuickButtons.cpp)
    TbsQuickButtonItems* QuickButtons() const { return FQuickButtons.get(); }
    void SetQuickButtons(TbsQuickButtonItems* Value);

    // ---- menus, menu bar, hints, tray (SkinForm.Menus.cpp)
    bool SkinMenuVisible();
    void HideSkinMenu();
    int SkinMenuPopupCount();
    void SkinMenuPopupKeyDown(TMessage& Message);
    void PopupSkinMenu(TMenu* Menu, TPoint P);
    void PopupSkinMenu1(TMenu* Menu, TRect R, bool PopupUp);
    // Any popup menu shown skinned at a screen point, in the form's own skin
    // (not the menus' skin). A menu without items after its OnPopup opens
    // nothing.
    void DoPopupMenu(TPopupMenu* Menu, int X, int Y);
    void PopupObjectMenu(TbsActiveSkinObject* Obj, TMenuItem* AMenuItem, const TRect& R,
                         bool PopupUp);
    TMenuItem* GetSystemMenuItems();
    void PopupSystemMenuAt(int X, int Y);
    void PopupSystemMenuUnder(TRect R);
    void PopupSystemMenuFromKeyboard();
    TMenu* MainMenuBarMenu();
    TMenu* GetChildMainMenu();
    bool MainMenuBarKey(WORD Key);
    bool CanSelectNextMainMenuItem();
    bool CanSelectPrevMainMenuItem();
    bool OpenMainMenuBarItem();
    void SelectNextMainMenuItem();
    void SelectPrevMainMenuItem();
    void MainMenuBarKeyboardMode();
    void MainMenuBarLeave();
    void MainMenuBarPressedToHot();
    void UpdateMainFormMenuBar();
    void ShowMDIChildButtonsInMenuBar();
    void UpdateMDIChildButtonsInMenuBar();
    void MinimizeToTray();
    void RestoreFromTray();
    void ShowObjectHintText(const std::string& Text);
    void HideObjectHint();
    void CreateMenuObjects();
    void FreeMenuObjects();
    void MenusSkinDataChanged();
    bool UseSkinFontInMenu();
    void SetUseSkinFontInMenu(bool Value);
    int DefMenuItemHeight();
    void SetDefMenuItemHeight(int Value);
    TFont* DefMenuItemFont();
    void SetDefMenuItemFont(TFont* Value);
    int MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
    void SetMaxMenuItemsInWindow(int Value);
    TbsTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TbsTrayIcon* Value);

    // ---- alpha, inactive panel, MDI (SkinForm.Alpha.cpp, .InactivePanel.cpp, .Mdi.cpp)
    bool IsLayeredBorderUsed();
    bool IsLayeredBorderVisible();
    bool UseVistaBorderFade();
    void BorderShowWithForm();
    void BorderHide();
    void BorderSetBoundsWithForm();
    void BorderSetBoundsWithForm3(int L, int T, int W, int H);
    void BorderMoveWithForm2(int L, int T);
    void BorderSetActive(bool AActive, bool AUpdate);
    void BorderInitFrame();
    void BorderShowWithFormAnimation();
    void BorderSetActiveFlag(bool AActive);
    void BorderCheckFormAlpha(int AFormAlpha, bool AUpdate);
    // The border component, made on first use.
    TbsFormLayerBorder* LayerBorder();
    HWND FindStayOnTopFormHandle();
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    void UpdateMDIChildren();
    void ArrangeMinimizedChildren();
    TRect GetMDIWorkArea();
    TCustomForm* FindMaximizedChild();
    void AddChildToMenu();
    void AddChildToBar();
    void DeleteChildFromMenu();
    void DeleteChildFromBar();
    void UpDateChildCaptionInMenu();
    void RefreshMDIBarTab();
    void UpDateChildActiveInMenu();
    void UpdateMainFormMDITabs();
    void MDIItemClick(TObject* Sender);
    void Tile();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void CloseAll();
    void RestoreAll();

    // ---- simple properties
    TCustomImageList* QuickImageList() const { return FQuickImageList; }
    void SetQuickImageList(TCustomImageList* Value);
    TbsSkinStatusBar* StatusBar() const { return FStatusBar; }
    void SetStatusBar(TbsSkinStatusBar* Value);
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TbsSkinMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
    void SetMainMenuBar(TbsSkinMainMenuBar* Value);
    TbsSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TbsSkinMDITabsBar* Value);
    bool HideCaptionButtons() const { return FHideCaptionButtons; }
    void SetHideCaptionButtons(bool Value) { FHideCaptionButtons = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value);
    bool MenusAlphaBlend() const { return FMenusAlphaBlend; }
    void SetMenusAlphaBlend(bool Value);
    bool MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
    void SetMenusAlphaBlendAnimation(bool Value);
    BYTE MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
    void SetMenusAlphaBlendValue(BYTE Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value) { FMinWidth = Value; }
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value) { FMinHeight = Value; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value) { FMaxWidth = Value; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value) { FMaxHeight = Value; }
    bool Magnetic() const { return FMagnetic; }
    void SetMagnetic(bool Value) { FMagnetic = Value; }
    BYTE MagneticSize() const { return FMagneticSize; }
    void SetMagneticSize(BYTE Value) { FMagneticSize = Value; }
    bool MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
    void SetMaximizeOnFullScreen(bool Value) { FMaximizeOnFullScreen = Value; }
    TbsPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
    void SetPositionInMonitor(TbsPositionInMonitor Value) { FPositionInMonitor = Value; }
    int ClientWidth() const { return FClientWidth; }
    void SetClientWidth(int Value) { FClientWidth = Value; }
    int ClientHeight() const { return FClientHeight; }
    void SetClientHeight(int Value) { FClientHeight = Value; }
    bool AlwaysResize() const { return FAlwaysResize; }
    void SetAlwaysResize(bool Value) { FAlwaysResize = Value; }
    bool UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
    void SetUseFormCursorInNCArea(bool Value) { FUseFormCursorInNCArea = Value; }
    bool DisableSystemMenu() const { return FDisableSystemMenu; }
    void SetDisableSystemMenu(bool Value) { FDisableSystemMenu = Value; }
    bool MinimizeDefault() const { return FMinimizeDefault; }
    void SetMinimizeDefault(bool Value) { FMinimizeDefault = Value; }
    bool ClientInActiveEffect() const { return FClientInActiveEffect; }
    void SetClientInActiveEffect(bool Value) { FClientInActiveEffect = Value; }
    TbsClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
    void SetClientInActiveEffectType(TbsClientInActiveEffect Value) {
        FClientInActiveEffectType = Value;
    }
    bool QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
    void SetQuickButtonsShowHint(bool Value) { FQuickButtonsShowHint = Value; }
    bool AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool Value) { FAlwaysMinimizeToTray = Value; }

    // ---- data: the fields are shared with the caption objects and the
    // menu, tray and MDI parts of this unit.
    bool FUseRibbon = false;
    std::unique_ptr<TbsQuickButtonItems> FQuickButtons;
    TCustomImageList* FQuickImageList = nullptr;
    bool FQuickButtonsShowHint = false;
    TbsLayerManager* FLayerManager = nullptr;
    TbsLayerManager* FMenuLayerManager = nullptr;
    TbsFormLayerBorder* FBorderLayer = nullptr;
    bool FSmartEffectsShow = false;
    TbsClientInActivePanel* FInActivePanel = nullptr;
    bool FClientInActiveDraw = false;
    bool FClientInActiveEffect = false;
    TbsClientInActiveEffect FClientInActiveEffectType = bsieSemiTransparent;
    bool FDisableSystemMenu = false;
    bool FInAppHook = false;
    bool FAlwaysResize = false;
    bool FSkinnableForm = true;
    bool FIsVistaOs = false;
    bool FIsLayerEnabled = false;
    bool FHaveShadow = false;
    TbsCaptionPaintEvent OnCaptionPaint;
    bool FRollUpBeforeMaximize = false;
    TShortCutEvent OnShortCut;
    bool FStopPainting = false;
    bool FStartShow = true;
    TbsPositionInMonitor FPositionInMonitor = bspDefault;
    bool HMagnetized = false;
    bool VMagnetized = false;
    bool HMagnetized2 = false;
    bool VMagnetized2 = false;
    TPoint FOnMouseDownCoord{-1, -1};
    bool FMinimizeDefault = false;
    TbsSkinStatusBar* FStatusBar = nullptr;
    bool FUseFormCursorInNCArea = false;
    int FMaxMenuItemsInWindow = 0;
    int FClientWidth = 0;
    int FClientHeight = 0;
    bool FHideCaptionButtons = false;
    bool FAlwaysShowInTray = false;
    bool FLogoBitMapTransparent = false;
    std::unique_ptr<TBitmap> FLogoBitMap;
    bool FAlwaysMinimizeToTray = false;
    std::unique_ptr<TIcon> FIcon;
    bool FShowIcon = false;
    bool FMaximizeOnFullScreen = false;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 200;
    TbsSkinHint* FSkinHint = nullptr;
    bool FShowObjectHint = false;
    bool FUseDefaultObjectHint = true;
    bool FMenusAlphaBlend = false;
    BYTE FMenusAlphaBlendValue = 200;
    bool FMenusAlphaBlendAnimation = false;
    bool FSkinSupport = false;
    std::unique_ptr<TFont> FDefCaptionFont;
    std::unique_ptr<TFont> FDefInActiveCaptionFont;
    bool FMDIChildMaximized = false;
    bool FFormActive = false;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnRestoreFromTray;
    TbsTrayIcon* FTrayIcon = nullptr;
    bool FUseDefaultSysMenu = true;
    TPopupMenu* FSysMenu = nullptr;
    TbsSkinPopupMenu* FSysTrayMenu = nullptr;
    bool FInShortCut = false;
    TbsSkinMainMenuBar* FMainMenuBar = nullptr;
    TbsSkinMDITabsBar* FMDITabsBar = nullptr;
    bool FFullDrag = false;
    int FFormWidth = 0;
    int FFormHeight = 0;
    int FFormLeft = 0;
    int FFormTop = 0;
    int FOldFormLeft = 0;
    int FOldFormTop = 0;
    bool FSizeMove = false;
    bool FSizing = false;
    bool FRollUpState = false;
    bool MaxRollUpState = false;
    TbsBorderIcons FBorderIcons;
    std::unique_ptr<TBitmap> RMTop;
    std::unique_ptr<TBitmap> RMBottom;
    std::unique_ptr<TBitmap> RMLeft;
    std::unique_ptr<TBitmap> RMRight;
    TColor BlackColor = 0;
    TRect OldBoundsRect;
    int OldHeight = 0;
    TPoint NewLTPoint;
    TPoint NewRBPoint;
    TPoint NewRTPoint;
    TPoint NewLBPoint;
    TRect NewClRect;
    TRect NewCaptionRect;
    TRect NewButtonsRect;
    int NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    TRect NewMaskRectArea;
    TPoint NewHitTestLTPoint;
    TPoint NewHitTestRTPoint;
    TPoint NewHitTestLBPoint;
    TPoint NewHitTestRBPoint;
    TRect NewDefCaptionRect;
    int FMinHeight = 0;
    int FMinWidth = 0;
    int FMaxHeight = 0;
    int FMaxWidth = 0;
    TWndMethod OldWindowProc;
    WNDPROC FClientInstance = nullptr;
    WNDPROC FPrevClientProc = nullptr;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FMSD = nullptr;
    TMainMenu* FMainMenu = nullptr;
    TPopupMenu* FSystemMenu = nullptr;
    TNotifyEvent OnChangeSkinData;
    TNotifyEvent OnBeforeChangeSkinData;
    TNotifyEvent OnAfterChangeSkinData;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeActivate;
    TNotifyEvent OnChangeRollUpState;
    bool FInChangeSkinData = false;
    TWindowState FWindowState = wsNormal;
    BYTE FMagneticSize = 5;
    TbsActivateCustomObjectEvent OnActivateCustomObject;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnMaximize;
    TbsOnAcceptToMDITabsBar OnAcceptToMDITabsBar;
    bool InMenu = false;
    bool InMainMenu = false;
    HRGN FRgn = nullptr;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    bool FMagnetic = false;
    TNotifyEvent OnSkinMenuOpen;
    TNotifyEvent OnSkinMenuClose;
    TNotifyEvent OnMainMenuEnter;
    TNotifyEvent OnMainMenuExit;
    TbsMouseEnterEvent OnMouseEnterEvent;
    TbsMouseLeaveEvent OnMouseLeaveEvent;
    TbsMouseUpEvent OnMouseUpEvent;
    TbsMouseDownEvent OnMouseDownEvent;
    TbsMouseMoveEvent OnMouseMoveEvent;
    TbsPaintEvent OnPaintEvent;
    int ActiveObject = -1;
    int OldActiveObject = -1;
    int MouseCaptureObject = -1;
    bool FBorderLayerChangeSize = false;
    bool PreviewMode = false;
    TbsSkinMenu* SkinMenu = nullptr;
    TForm* FForm = nullptr;
    std::vector<std::unique_ptr<TbsActiveSkinObject>> ObjectList;

    // Used by the layered border; always off here.
    static constexpr bool AlwaysDisableLayeredFrames = false;

private:
    // The message hook installed while a skin menu is open, kept so that
    // exactly this one is removed.
    TMessageEvent FAppHook;
    // The form's window took the mouse for a caption object.
    bool FCapturedForObject = false;

    // Message cases of NewWndProc that grew past a few lines.
    bool SkinReady() const;
    bool FrameShown();
    bool IsMDIChild() const;
    bool IsMDIForm() const;
    void RepaintFrame();
    void WMSize(TMessage& Message);
    void WMShowWindow(TMessage& Message);
    void WMNCCalcSize(TMessage& Message);
    void WMNCActivate(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);
    void WMSizing(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void WMTimerFade();
    void WMExitSizeMove();
    void WMEraseBkgnd(TMessage& Message);
    void PaintFrameToDC(HDC DC);
    void BeforeChangeSkin(TbsSkinData* ASkinData);
    void PostHandle(TMessage& Message);
    void InstallMDIClientHook();
    void RemoveMDIClientHook();
    bool FadeWanted();
    void SetLayered(bool Value);
    void DoMinimize();
    void DoMaximize();
    void DoNormal();
    void PaintBGPicture(HDC DC, TBitmap* Tile, bool Stretch, TbsStretchType Kind);
    void DrawStrips(HDC DC, TBitmap* Top, TBitmap* Left, TBitmap* Right, TBitmap* Bottom);
    TbsSkinStdButtonObject* DefaultButton(TbsStdCommand Command);
    // Hides or shows the status bar's size grip when it has one.
    void SetStatusBarGrip(bool Show);
};

// The first TbsSkinForm owned by AForm, or none.
TbsSkinForm* FindSkinFormComponent(TCustomForm* AForm);
// The component of the main form's first maximized MDI child, or none.
TbsSkinForm* FindMaximizedChildSkinForm();
// The component of the main form's active MDI child, or none.
TbsSkinForm* FindActiveChildSkinForm();

// ---------------------------------------------------------------- inactive panel

class TbsBitmap;

// Covers the client area of an inactive form with a frozen picture of it,
// blurred or veiled by the form's own background (SkinForm.InactivePanel.cpp).
class TbsClientInActivePanel : public TbsSkinPaintPanel {
public:
    explicit TbsClientInActivePanel(TComponent* AOwner);
    ~TbsClientInActivePanel() override;

    void Paint() override;
    void ShowPanel(TForm* AForm, TbsClientInActiveEffect AEffect);
    void HidePanel();

    std::unique_ptr<TbsBitmap> Buffer;
};
