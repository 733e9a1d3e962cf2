// The skinned main menu bar: a strip of the main menu's top-level items,
// drawn from the skin's "mainmenubar" element or in a plain look, with the
// buttons of a maximized MDI child while there is one.
//
// The bar never opens a menu window of its own: an item's menu goes through
// its form component's popup chain, and the form's menu state machine drives
// the keyboard operations (MenuEnter, FindHotKeyItem, ...) while main menu
// mode runs. The objects are rebuilt from the menu on every change; an item
// lays itself out while it is drawn, so its own Visible follows the last
// paint.
#pragma once

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Menus.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/model/bsSkinData.h"

#include <memory>
#include <vector>

class TbsSkinForm;
class TbsSkinMainMenuBar;

// The main menu a skinned form shows in its bar; SkinData is the skin of the
// menus a caption button opens from it.
class TbsSkinMainMenu : public TMainMenu {
public:
    explicit TbsSkinMainMenu(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);

    TbsSkinForm* BSF = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
};

// ---------------------------------------------------------------- bar objects

class TbsMenuBarObject : public TObject {
public:
    TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);

    virtual void StartMorphing();
    virtual void Draw(TCanvas*) {}
    virtual void MouseDown(int, int, TMouseButton) {}
    virtual void MouseUp(int, int, TMouseButton) {}
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing();
    bool EnableMorphing() const;
    void DoMorphing();

    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);

    TbsSkinMainMenuBar* Parent;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    bool FDown = false;
    std::string IDName;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect DownRect;
    TRect ObjectRect;
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;

protected:
    double FMorphKf = 0;
};

// A button of the maximized MDI child: minimize, restore, close, system menu.
class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuBarButton* AData);

    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void DoCommand();

    bool FSkinSupport = false;
    TbsStdCommand Command = cmClose;
};

class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuItem* AData);

    void StartMorphing() override;
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    bool EnableAnimation() const;
    void SetDown(bool Value);
    void TrackMenu();

    bool FSkinSupport = false;
    bool OldEnabled = true;
    // The item fits in the bar (the base Visible says whether it is drawn).
    bool Visible = true;
    TMenuItem* MenuItem = nullptr;
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TRect TextRct;
    TRect DownRect;
    int LO = 0;
    int RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    // Places the item after its predecessor; false when it does not fit.
    bool Place(TCanvas* Measure);
    void SetItemFont(TCanvas* C) const;
    int CaptionWidth();
    void DrawFace(TBitmap* B, const TRect& S, bool H);
    void DrawCaption(TCanvas* C, TRect R, bool Selected);
    TRect FrameRect(int Frame) const;
};

// ---------------------------------------------------------------- the bar

using TbsItemEnterEvent = TMethod<void(TMenuItem* MenuItem)>;
using TbsItemLeaveEvent = TMethod<void(TMenuItem* MenuItem)>;

class TbsSkinMainMenuBar : public TbsSkinControl {
public:
    explicit TbsSkinMainMenuBar(TComponent* AOwner);
    ~TbsSkinMainMenuBar() override;

    // ---- building (bsSkinMainMenuBar.Layout.cpp)
    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    TbsSkinForm* SkinForm() const { return BSF; }
    void SetSkinForm(TbsSkinForm* Value);
    void CreateMenu();
    void UpDateItems();
    void UpDateEnabledItems();
    void Merge(TMainMenu* Menu);
    void UnMerge();
    TMainMenu* GetChildMainMenu();
    void MDIChildMaximize();
    void MDIChildRestore();
    void CreateMDIButtons();
    void DeleteMDIButtons();
    void CalcItemsRect();
    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool ScrollMenu() const { return FScrollMenu; }
    void SetScrollMenu(bool Value) { FScrollMenu = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TFont* DefItemFont() const { return FDefItemFont.get(); }
    void SetDefItemFont(TFont* Value);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool PopupToUp() const { return FPopupToUp; }
    void SetPopupToUp(bool Value) { FPopupToUp = Value; }
    bool MDIChildMax() const { return FMDIChildMax; }
    bool SkinSupport() const { return FSkinSupport; }

    // ---- painting (bsSkinMainMenuBar.Paint.cpp)
    void PaintBar(HDC DC);
    void DrawSkinObject(TbsMenuBarObject* AObject);
    void DrawScrollArrow(TCanvas* C);
    TRect ScrollArrowRect() const;

    // ---- tracking and keys (bsSkinMainMenuBar.Tracking.cpp)
    void TestActive(int X, int Y);
    void MenuEnter();
    bool FindHotKeyItem(WORD Key);
    void NextMainMenuItem();
    void PriorMainMenuItem();
    bool CheckReturnKey();
    void MenuClose();
    void MenuExit();
    void PopupHiddenItems();

    int ObjectCount() const { return int(ObjectList.size()); }
    TbsMenuBarObject* Object(int Index) const { return ObjectList[Index].get(); }
    // The Index-th menu item object (the MDI buttons come first in the list).
    TbsSkinMainMenuBarItem* Item(int Index) const;
    int ItemCount() const { return ObjectCount() - ButtonsCount; }

    TbsItemEnterEvent OnItemMouseEnter;
    TbsItemLeaveEvent OnItemMouseLeave;

    bool FSkinSupport = false;
    int ButtonsCount = 0;
    bool FMDIChildMax = false;
    bool MenuActive = false;
    bool Scroll = false;
    bool MarkerActive = false;
    TbsSkinForm* BSF = nullptr;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    int ActiveObject = -1;
    int OldActiveObject = -1;
    int MouseCaptureObject = -1;
    TRect NewItemsRect;
    TRect SkinRect;
    TRect ItemsRect;
    std::string MenuBarItem;
    std::string MaxButton;
    std::string MinButton;
    std::string SysMenuButton;
    std::string CloseButton;
    int TrackMarkColor = 0;
    int TrackMarkActiveColor = 0;
    TBitmap* Picture = nullptr;
    bool StretchEffect = false;
    bool ItemTransparent = false;
    std::vector<std::unique_ptr<TbsMenuBarObject>> ObjectList;
    bool ChildMenuIn = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override {}
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // Skin, not empty: the elements and effects of the bar's skin apply.
    friend class TbsMenuBarObject;
    friend class TbsSkinMainMenuBarItem;
    friend class TbsSkinMainMenuBarButton;
    bool SkinUsable() const;
    bool SkinEffects() const;
    TMenuItem* ChildMenuItems();
    void EnableMDIButtons();
    // The canvas an item is being drawn on: a transparent item's normal
    // face copies the bar background from it.
    TCanvas* BarCanvasForFace = nullptr;
    void MouseTimerTick(TObject* Sender);
    void MorphTimerTick(TObject* Sender);
    void AnimateTimerTick(TObject* Sender);
    void CloseSkinMenuMessage();
    void BarMouseEnter();
    void BarMouseLeave();

    bool FScrollMenu = true;
    std::unique_ptr<TFont> FDefItemFont;
    bool FUseSkinFont = true;
    bool FPopupToUp = false;
    TMainMenu* FMainMenu = nullptr;
    TMainMenu* FMergeMenu = nullptr;
    int FDefaultWidth = 0;
    int FDefaultHeight = 22;
};
