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

// What the tree and the list view share: the skin data and the view
// element's name, the default font and colour, the two external bars and
// their hand-over, the missing native frame and the bars that follow the
// view's visibility. TBase is the native view class.
template <class TBase> class TbsSkinViewBase : public TBase {
public:
    TbsSkinViewBase(TComponent* AOwner, const std::string& SkinDataName);

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

    virtual void ChangeSkinData() = 0;
    virtual void UpDateScrollBars() = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;

    // The element's font and colours (or the defaults) on the view, and
    // the bars realigned for the new look.
    void ApplyViewSkin();
    void ReapplyBarsAlign();
    // After a synchronisation: the horizontal bar leaves the corner to a
    // visible vertical one, and an aligned view's parent lays out again
    // when a bar came or went.
    void AfterBarsChanged(bool VWas, bool HWas);
    // The horizontal bar over the native range in pixels, shown when the
    // content is wider than the view; answers whether it shows, and the
    // native position.
    bool SyncBarByPixels(int& Pos);
    // The synchronisation that follows a paint, a key or a release.
    void FollowMessage(UINT Msg);
    virtual void VScrollBarChanged(TObject* Sender) = 0;
    virtual void HScrollBarChanged(TObject* Sender) = 0;

    bool FInCheckScrollBars = false;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;
    int FIndex = -1;
    TFont FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
};

class TbsSkinCustomTreeView : public TbsSkinViewBase<TCustomTreeView> {
public:
    explicit TbsSkinCustomTreeView(TComponent* AOwner);
    ~TbsSkinCustomTreeView() override;

    void ChangeSkinData() override;
    void UpDateScrollBars() override;

protected:
    void WndProc(TMessage& Message) override;
    void Change(TTreeNode* Node) override;
    void Loaded() override;
    void VScrollBarChanged(TObject* Sender) override;
    void HScrollBarChanged(TObject* Sender) override;
};

class TbsSkinCustomListView : public TbsSkinViewBase<TCustomListView> {
public:
    explicit TbsSkinCustomListView(TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    const std::string& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const std::string& Value) { FHeaderSkinDataName = Value; }
    HWND HeaderHandle() const { return FHeaderHandle; }

    void ChangeSkinData() override;
    void UpDateScrollBars() override;

    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

protected:
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Change(TListItem* Item, int Change) override;
    void Loaded() override;
    void VScrollBarChanged(TObject* Sender) override;
    void HScrollBarChanged(TObject* Sender) override;

    bool FDevDown = false;
    std::string FHeaderSkinDataName = "resizetoolbutton";
    bool FromSB = false;
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
};

extern template class TbsSkinViewBase<TCustomTreeView>;
extern template class TbsSkinViewBase<TCustomListView>;

class TbsSkinListView : public TbsSkinCustomListView {
public:
    using TbsSkinCustomListView::TbsSkinCustomListView;
};
