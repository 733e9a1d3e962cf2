// The skinned tree and list views: the native views with the skin's font
// and colours, no native frame or bars, and two external TbsSkinScrollBar
// controls kept in step with the hidden native scroll information. The list
// view also subclasses its column header and draws it from a button
// element ("resizetoolbutton" by default).
//
// FInCheckScrollBars and FromSB guard against the messages that showing a
// bar or scrolling the view produce synchronously; they are not locks.
#pragma once

#include "platform/forms/ListViews.h"
#include "platform/forms/TreeViews.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"

class TbsSkinData;

using TbsDrawHeaderSectionEvent =
    TMethod<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, TRect& R)>;

class TbsSkinCustomTreeView : public TCustomTreeView {
public:
    explicit TbsSkinCustomTreeView(TComponent* AOwner);
    ~TbsSkinCustomTreeView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    virtual void ChangeSkinData();
    void UpDateScrollBars();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Change(TTreeNode* Node) override;
    void Loaded() override;

    bool FInCheckScrollBars = false;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "treeview";
    int FIndex = -1;
    TFont FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;

private:
    void VScrollBarChanged(TObject* Sender);
    void HScrollBarChanged(TObject* Sender);
};

class TbsSkinCustomListView : public TCustomListView {
public:
    explicit TbsSkinCustomListView(TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    const std::string& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const std::string& Value) { FHeaderSkinDataName = Value; }
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    HWND HeaderHandle() const { return FHeaderHandle; }

    virtual void ChangeSkinData();
    void UpDateScrollBars();

    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Change(TListItem* Item, int Change) override;
    void Loaded() override;

    bool FDevDown = false;
    std::string FHeaderSkinDataName = "resizetoolbutton";
    bool FInCheckScrollBars = false;
    bool FromSB = false;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "listview";
    int FIndex = -1;
    TFont FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0;
    int FOldHScrollBarPos = 0;
    HWND FHeaderHandle = nullptr;
    WNDPROC FHeaderInstance = nullptr;
    WNDPROC FDefHeaderProc = nullptr;
    int FActiveSection = -1;
    bool FHeaderDown = false;
    int FHIndex = -1;
    TPoint HLTPt, HRTPt, HLBPt, HRBPt;
    TRect HSkinRect, HClRect;
    TPoint HNewLTPoint, HNewRTPoint, HNewLBPoint, HNewRBPoint;
    TRect HNewClRect;
    TBitmap* HPicture = nullptr;
    TColor HFontColor = 0, HDownFontColor = 0;
    TRect HActiveSkinRect, HDownSkinRect;
    bool HStretchEffect = false;
    bool HLeftStretch = false, HTopStretch = false, HRightStretch = false, HBottomStretch = false;
    TbsStretchType HStretchType = bsstFull;

private:
    void VScrollBarChanged(TObject* Sender);
    void HScrollBarChanged(TObject* Sender);
    LRESULT HeaderProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void SubclassHeader(HWND Header);
    void ReleaseHeader();
    void LoadHeaderSkin();
    TRect HeaderSectionRect(int Index);
    void PaintHeader(HDC DC);
    void PaintHeaderSection(HDC DC, int Index, const TRect& R, bool Pressed);
    void PaintHeaderRest(HDC DC, int From);
    void DrawSectionContent(TCanvas* C, TListColumn* Column, int W, int H);
    int ItemBoundsHeight();
    void SyncReport();
    void SyncList();
    void SyncIcons();
    void AfterBarsChanged(bool VWas, bool HWas);
};

class TbsSkinListView : public TbsSkinCustomListView {
public:
    using TbsSkinCustomListView::TbsSkinCustomListView;
};
