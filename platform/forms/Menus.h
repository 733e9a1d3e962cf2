// Menus: the item tree, main and popup menus, shortcuts and their texts.
//
// An item owns its sub-items (they are freed with it); a menu owns its root
// item. Items get a command number unique in the process, by which a menu
// finds the item a native popup menu chose.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Hotkeys.h"
#include "platform/forms/Sets.h"
#include "platform/gdi/Graphics.h"

#include <memory>
#include <string>
#include <vector>

class TMenu;
class TMenuItem;
class TCustomImageList;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(unsigned short Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, unsigned short& Key, TShiftState& Shift);
// "Shift+", "Ctrl+", "Alt+", then the key's name; "" for no shortcut.
std::string ShortCutToText(TShortCut ShortCut);
// The inverse, ignoring case; 0 for a text it does not know.
TShortCut TextToShortCut(const std::string& Text);

// The key message record of the class library.
struct TWMKey {
    unsigned Msg = 0;
    unsigned short CharCode = 0;
    long KeyData = 0;
    long Result = 0;
};

// Shift state from the keyboard: Shift, Ctrl, Alt from the window system.
TShiftState KeyboardStateToShiftState();
// Shift state from a key message's lParam (Alt from bit 29) and the keyboard.
TShiftState KeyDataToShiftState(long KeyData);

constexpr const char* cLineCaption = "-";

enum TMenuAutoFlag { maAutomatic, maManual, maParent };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TPopupAlignment { paLeft, paRight, paCenter };

using TMenuDrawItemEvent =
    TMethod<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TMenuMeasureItemEvent =
    TMethod<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenuActionLink;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    TMenuItem* Items(int Index) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Delete frees the item; Remove only takes it out.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // By caption, ignoring the accelerator marks and case.
    TMenuItem* Find(const std::string& ACaption) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int Value);
    TMenu* GetParentMenu() const;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    TBitmap* Bitmap();
    bool HasBitmap() const { return FBitmap != nullptr && !FBitmap->Empty(); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    unsigned Command() const { return FCommand; }
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuAutoFlag Value) { FAutoLineReduction = Value; }

    bool IsLine() const { return FCaption == cLineCaption; }
    // Fires OnClick, or runs the action when the item has one and OnClick
    // is the action's handler.
    virtual void Click();
    // Hides leading, trailing and doubled separators among the visible items
    // when automatic line reduction applies; answers whether any changed.
    bool RethinkLines();
    // Whether a separator at Index is hidden by RethinkLines.
    bool LineHidden(int Index) const;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    // Copies the action's caption, state, hint, shortcut and handler.
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Tells the menu that the tree or an item changed.
    void MenuChanged(bool Rebuild);

private:
    friend class TMenu;
    friend class TMenuActionLink;
    void TurnSiblingsOff();
    void DoActionChange(TObject* Sender);

    std::vector<TMenuItem*> FItems;
    std::vector<bool> FLineHidden;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;
    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    bool FDefault = false;
    TShortCut FShortCut = 0;
    std::string FHint;
    std::unique_ptr<TBitmap> FBitmap;
    int FImageIndex = -1;
    int FHelpContext = 0;
    unsigned FCommand = 0;
    TMenuAutoFlag FAutoLineReduction = maParent;
    std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenuActionLink : public TBasicActionLink {
public:
    explicit TMenuActionLink(TMenuItem* AClient) : TBasicActionLink(AClient), FClient(AClient) {}
    void SetCaption(const std::string& Value) override;
    void SetChecked(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const std::string& Value) override;
    void SetImageIndex(int Value) override;
    void SetShortCut(TShortCut Value) override;
    void SetVisible(bool Value) override;

private:
    TCustomAction* CustomAction() const;
    TMenuItem* FClient;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool Value) { FOwnerDraw = Value; }
    TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuAutoFlag Value);

    // Searches the whole tree.
    TMenuItem* FindItem(unsigned Value, TFindItemKind Kind) const;
    // Clicks the item with that command; answers whether one was found.
    bool DispatchCommand(unsigned ACommand);
    // Clicks the enabled, visible item (also in submenus, under enabled,
    // visible parents) whose shortcut is the key's; answers whether it did.
    bool IsShortCut(TWMKey& Message);

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void MenuChanged(TMenuItem* Source, bool Rebuild);

private:
    friend class TMenuItem;
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    TMenuAutoFlag FAutoLineReduction = maAutomatic;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);

    // Fires OnPopup, shows the plain popup menu at the screen point and
    // clicks the item chosen there. Skinned menus override it.
    virtual void Popup(int X, int Y);
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoPopup(TObject* Sender);

private:
    // Shows the plain menu and answers the chosen command, 0 for none.
    UINT Track(int X, int Y);

    TComponent* FPopupComponent = nullptr;
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
};

// Makes a new item (owned by AOwner) with the given properties.
TMenuItem* NewItem(TComponent* AOwner, const std::string& ACaption, TShortCut AShortCut,
                   bool AChecked, bool AEnabled, TNotifyEvent AOnClick, const std::string& AName);
TMenuItem* NewLine(TComponent* AOwner);
