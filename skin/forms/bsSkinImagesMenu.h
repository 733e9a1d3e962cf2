// The images menu: a grid of an image list's pictures, with full-width button
// rows and caption rows, popped up below a point or a button; the chosen
// index is ItemIndex. Independent of the form's menu chain.
//
// While the grid is open its window holds the mouse capture and a message
// hook of the application (added and removed by identity), so a click
// elsewhere, a key or a closing message ends it. A closed window is hidden
// at once and freed from a posted message: the window's own mouse and key
// handlers close it, and must never run on freed memory.
#pragma once

#include "platform/core/Lists.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "skin/model/bsSkinData.h"

#include <memory>
#include <string>

class TbsSkinHint;
class TbsSkinImagesMenu;

class TbsImagesMenuItem : public TCollectionItem {
public:
    explicit TbsImagesMenuItem(TCollection* ACollection);
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value) { FImageIndex = Value; }
    const std::string& Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& Value) { FCaption = Value; }

    bool Button = false;
    bool Header = false;
    std::string Hint;
    TNotifyEvent OnClick;
    TRect ItemRect;

private:
    int FImageIndex = -1;
    std::string FCaption;
};

class TbsImagesMenuItems : public TCollection {
public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AMenu);
    TbsImagesMenuItem* Items(int Index) const;
    TbsImagesMenuItem* Add();
};

class TbsSkinImagesMenuPopupWindow : public TCustomControl {
public:
    explicit TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AOwner);
    ~TbsSkinImagesMenuPopupWindow() override;

    void Show(TRect PopupRect);
    void Hide(bool AProcessEvents);
    void KeyPress(WORD Key);
    // The window drawn at its size onto Canvas.
    void PaintTo(TCanvas* Canvas);

    bool FSkinSupport = false;
    TbsSkinImagesMenu* ImagesMenu;
    HRGN FRgn = nullptr;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int MouseInItem = -1;
    int OldMouseInItem = -1;
    bool FDown = false;
    bool FItemDown = false;
    // Hidden and waiting to be freed: it ignores input.
    bool Dying = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool SkinUsable() const;
    void CalcItemRects(int& RowWidth);
    void CalcSize();
    void FadeIn();
    void AppMessageHook(MSG& Msg, bool& Handled);
    int ItemAt(int X, int Y) const;
    int FirstUsable() const;
    void SetMouseInItem(int Index);
    void DrawItemFrame(TCanvas* C, const TRect& R, bool Down);
    void DrawButtonText(TCanvas* C, const std::string& Text, TRect R, bool Down, bool Hover);
    void DrawHeader(TCanvas* C, const TRect& R, const std::string& Caption);
    TbsDataSkinButtonControl* ButtonElement() const;

    TMessageEvent FHook;
    bool FHooked = false;
};

class TbsSkinImagesMenu : public TComponent {
public:
    explicit TbsSkinImagesMenu(TComponent* AOwner);
    ~TbsSkinImagesMenu() override;

    void Popup(int X, int Y);
    void PopupFromRect(TRect R);
    void Hide();
    void ClosePopupWindow(bool AProcessEvents);
    TbsImagesMenuItem* SelectedItem() const;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TbsImagesMenuItems* ImagesItems() const { return FImagesItems.get(); }
    void SetImagesItems(TbsImagesMenuItems* Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value) { FItemIndex = Value; }
    int ColumnsCount() const { return FColumnsCount; }
    void SetColumnsCount(int Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow.get(); }
    // Frees the closed window at once (normally a posted message does).
    void FreeClosedWindow();
    // The control the internal events serve; when it goes, they are cleared.
    void SetInternalEventsTarget(TComponent* Value);

    bool ShowSelectedItem = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    BYTE AlphaBlendValue = 200;
    bool UseSkinFont = true;
    bool ShowHints = true;
    TNotifyEvent OnItemClick;
    TNotifyEvent OnChange;
    TNotifyEvent OnMenuPopup;
    TNotifyEvent OnMenuClose;
    TNotifyEvent OnInternalChange;
    TNotifyEvent OnInternalMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ReaperProc(TMessage& Message);

    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TbsImagesMenuItems> FImagesItems;
    int FItemIndex = -1;
    int FColumnsCount = 1;
    TbsSkinData* FSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    TbsSkinHint* FSkinHint = nullptr;
    std::unique_ptr<TbsSkinImagesMenuPopupWindow> FPopupWindow;
    std::unique_ptr<TbsSkinImagesMenuPopupWindow> FClosed;
    int FOldItemIndex = -1;
    HWND FReaper = nullptr;
    TComponent* FInternalTarget = nullptr;
};
