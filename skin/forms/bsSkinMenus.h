// Skinned popup menus: the drawn items, the popup windows, the chain of open
// windows each skinned form owns, and the popup menu component that forms
// place like an ordinary popup menu.
//
// The chain is modeless: opening returns once the root window is on screen;
// hovering, clicking, keys and the submenu delay run in timer, mouse and key
// handlers. Closing hides a window at once and frees it from a posted
// message, so a chosen item's own handler never runs on freed memory.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.h"

#include <memory>
#include <vector>

class TbsSkinMenu;
class TbsSkinPopupWindow;

// The plain look's glyphs, in Color.
void DrawMenuCheckGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
// Lets the skinned menu buttons open these menus; every popup and images
// menu does it when created, so a button can open whatever menu exists.
void LinkMenuButtonsToMenus();
// Lets the skinned edits open their context menu as a skinned popup menu;
// every skinned form component does it when created.
void LinkEditsToMenus();
void DrawMenuSubArrow(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMenuRadioDot(TCanvas* Canvas, int X, int Y, TColor Color);

// ---------------------------------------------------------------- items

class TbsSkinMenuItem : public TObject {
public:
    TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData);

    virtual bool CanMorphing();
    void DoMorphing();
    void StartMorphing();
    bool EnableMorphing() const;
    bool EnableAnimation() const;
    void MouseEnter(bool Kb);
    void MouseLeave();
    void MouseDown(int X, int Y);
    void Draw(TCanvas* Cnvs);
    void DefaultDraw(TCanvas* Cnvs);

    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);
    bool IsSeparator() const;
    bool IsHeader() const;
    // Enabled and not a separator: the keys and the pointer may select it.
    bool Usable() const;
    int ItemHeight() const;

    TbsSkinPopupWindow* Parent;
    TbsDataSkinMenuItem* MI;
    TBitmap* ActivePicture = nullptr;
    TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool FVisible = true;
    bool WaitCommand = false;
    int CurrentFrame = 0;

private:
    bool HasImage() const;
    TRect FrameRect(int Frame) const;
    void DrawSkinItem(TBitmap* B, bool IsActive, const TRect* Frame);
    void DrawSkinImage(TCanvas* C, const TRect& Source, const TRect& Box);
    void DrawSkinHeader(TCanvas* C, const TRect& R, const std::string& Caption);
    void DrawGlyphByName(TCanvas* C, int X, int Y, TColor Color, bool& Drawn);
    void DrawImage(TCanvas* C, int X, int Y);

    double FMorphKf = 0;
};

// ---------------------------------------------------------------- windows

class TbsSkinPopupWindow : public TCustomControl {
public:
    TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData);
    ~TbsSkinPopupWindow() override;

    void Show(TRect R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp);
    void Show2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem,
               bool PopupUp);
    void Hide();
    void PopupKeyDown(WORD CharCode);
    void PaintMenu(HDC DC);
    void CollapseSubmenus();
    // Paints one item again with the next paint of the window.
    void RedrawItem(TbsSkinMenuItem* Item);
    void TestActive(int X, int Y);
    int LastStartIndex() const;
    void ScrollUp(bool Wrap);
    void ScrollDown(bool Wrap);
    bool CanScrollUp() const { return VisibleStartIndex > 0; }
    bool CanScrollDown() const;

    int ItemCount() const { return int(ItemList.size()); }
    TbsSkinMenuItem* Item(int Index) const { return ItemList[Index].get(); }
    bool HasSkinLook() const { return PW != nullptr; }

    TbsDataSkinMenuItem* DSMI = nullptr;
    int VisibleCount = 0;
    int VisibleStartIndex = 0;
    bool Scroll = false;
    bool Scroll2 = false;
    int ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    HRGN FRgn = 0;
    int ShowX = 0;
    int ShowY = 0;
    int OMX = -1;
    int OMY = -1;
    TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 19;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int OldActiveItem = -1;
    int ActiveItem = -1;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TbsSkinMenu* ParentMenu;
    TbsSkinData* SD = nullptr;
    TbsDataSkinPopupWindow* PW = nullptr;
    std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
    std::unique_ptr<TBitmap> FPaintBuffer;
    std::string WindowHint;
    // Hidden by its chain and waiting for the posted message that frees it:
    // it ignores input and timers.
    bool Dying = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // While the window holds the pointer for its chain: a button over another
    // window of the chain goes there, a press outside them all closes it.
    bool RouteHeldButton(TMessage& Message);
    void CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex);
    void AddItems(TMenuItem* AItem, int From);
    void Measure(bool Two);
    void LayoutItems();
    void CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp);
    bool ShowCommon(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex,
                    bool PopupByItem, bool PopupUp);
    void SetSkinRegion();
    std::unique_ptr<TBitmap> CreateWindowBitmap(bool DrawItemsArea);
    void DrawMarker(TCanvas* C, bool Up);
    void DrawMarkerBackground(TCanvas* C, const TRect& R);
    void RedrawMarkers();
    void StartScroll();
    void StopScroll();
    void NextItem();
    void PriorItem();
    void MouseTimerTick(TObject* Sender);
    void MorphTimerTick(TObject* Sender);
    void ItemHeightOf(int Index, int& H) const;
    int ItemHeight(const TbsSkinMenuItem* Item) const;
};

// ---------------------------------------------------------------- the chain

class TbsSkinMenu : public TComponent {
public:
    TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm);
    ~TbsSkinMenu() override;

    void Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, TRect R,
               TMenuItem* AItem, bool PopupUp);
    void Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, TRect R,
                TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp);
    void Hide();
    void CloseWindowsFrom(int Index);
    void CheckMenuItem(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool Execute,
                       bool FromKeyboard);
    int IndexOfWindow(const TbsSkinPopupWindow* Window) const;
    void WaitTimerTick(TObject* Sender);

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool First() const { return FFirst; }
    bool Visible() const { return FVisible; }
    int DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
    void SetDefaultMenuItemHeight(int Value);
    TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont.get(); }
    void SetDefaultMenuItemFont(TFont* Value);
    TCustomForm* Form() const { return FForm; }
    int PopupCount() const { return int(FPopupList.size()); }
    TbsSkinPopupWindow* PopupWindow(int Index) const { return FPopupList[Index].get(); }
    // Frees the windows closed so far at once (normally a posted message does).
    void FreeClosedWindows();
    // While held, the posted message leaves closed windows alone: a window
    // that lets messages through inside its own Show must outlive them.
    void HoldClosedWindows() { ++FHold; }
    void ReleaseClosedWindows();
    // The open window under a screen point, if any.
    TbsSkinPopupWindow* WindowAt(TPoint P) const;
    // A press outside every window of a chain that holds the pointer: closes
    // the chain the way a press on its form does.
    void PressOutside();

    TNotifyEvent OnMenuClose;
    TControl* PopupCtrl = nullptr;
    TControl* DCtrl = nullptr;
    TTimer* WaitTimer = nullptr;
    TbsSkinMenuItem* WItem = nullptr;
    TRect WorkArea;
    TbsSkinData* SkinData = nullptr;
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0;

protected:
    // A control freed while its chain is open is no longer told anything.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool OpenRoot(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                  TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp);
    void ShowPopupWindow(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex,
                         bool PopupByItem, bool PopupUp);
    void StopWaiting();
    void CloseDeeper(TbsSkinPopupWindow* Window);
    void Retire(std::unique_ptr<TbsSkinPopupWindow> Window);
    void ReaperProc(TMessage& Message);
    static void SendTo(TControl* Ctrl, UINT Msg);

    bool FUseSkinFont = true;
    bool FFirst = false;
    bool FVisible = false;
    int FDefaultMenuItemHeight = 20;
    std::unique_ptr<TFont> FDefaultMenuItemFont;
    TCustomForm* FForm;
    std::vector<std::unique_ptr<TbsSkinPopupWindow>> FPopupList;
    std::vector<std::unique_ptr<TbsSkinPopupWindow>> FClosed;
    HWND FReaper = 0;
    bool FReapPosted = false;
    int FHold = 0;
};

// ---------------------------------------------------------------- the component

class TbsSkinForm;

class TbsSkinPopupMenu : public TPopupMenu {
public:
    explicit TbsSkinPopupMenu(TComponent* AOwner);

    void Popup(int X, int Y) override;
    void PopupFromRect(TRect R, bool APopupUp);
    void PopupFromRect2(TControl* ACtrl, TRect R, bool APopupUp);
    void Popup2(TControl* ACtrl, int X, int Y);

    TPoint PopupPoint() const { return FPopupPoint; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TCustomForm* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TCustomForm* Value) { FComponentForm = Value; }
    TComponent* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TComponent* Value) { FSkinComponent = Value; }

    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DoSkinPopup(const TRect& R, TControl* Ctrl, bool PopupUp, bool NeedSkin);

    TPoint FPopupPoint{-1, -1};
    TbsSkinData* FSD = nullptr;
    TCustomForm* FComponentForm = nullptr;
    TComponent* FSkinComponent = nullptr;
};

// The first skinned form component owned by AForm; none: nullptr.
TComponent* FindSkinForm(TComponent* AForm);
