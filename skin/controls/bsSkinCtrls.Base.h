// The two base classes of every skinned window control.
//
// TbsSkinControl links a control to the loaded skin: the skin data, the
// element's name and FIndex, the element's index in the skin's control list
// (-1: the plain look). The element is looked up again at every paint and
// every size change, so a new skin or a new name shows at the next paint.
// The whole control is painted into one off-screen bitmap and copied at
// (0, 0); WM_ERASEBKGND erases nothing.
//
// TbsSkinCustomControl adds the nine-part geometry copied from the element
// (corner points, skin and client rectangles) and kept up to date for the
// control's size, the size rules of the element (ResizeMode), the window
// region of the element's mask and the WM_CHECKPARENTBG fan-out to children.
// Pictures and masks are borrowed from the skin data, never owned.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/gdi/ImageList.h"
#include "skin/model/bsSkinData.h"

#include <memory>
#include <string>

class TCustomImageList;

// The element geometry a nine-part skinned control works with, shared by the
// window and the windowless base classes: the element's own values and the
// same for the control's current size.
class TbsSkinGeometry {
public:
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect;
    TRect ClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    TBitmap* Picture = nullptr;
    int ResizeMode = -1;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

    TRect RealClientRect() const { return NewClRect; }
    int RealClientWidth() const { return NewClRect.Right - NewClRect.Left; }
    int RealClientHeight() const { return NewClRect.Bottom - NewClRect.Top; }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }

    // -1 empty SkinRect, 1 both axes, 2 width only, 3 height only, 0 fixed.
    int GetResizeMode() const;
    // Maps R, given in skin coordinates, to a control of Width x Height.
    void MapSkinRect(const TRect& R, TRect& NewR, int Width, int Height) const;

protected:
    // Copies the geometry of Element and its picture from SkinData.
    void CopyElementGeometry(const TbsDataSkinCustomControl& Element, const TbsSkinData& SkinData);
    // The size correction of the element for a control whose FIndex is Index.
    void CalcGeometry(int Index, int& AWidth, int& AHeight);
    // ARect of APicture into B at Width x Height by ResizeMode; NinePart
    // false leaves mode 1 to the caller.
    void DrawSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect, int Width, int Height,
                       bool NinePart) const;
};

class TbsSkinData;

class TbsSkinControl : public TCustomControl {
public:
    explicit TbsSkinControl(TComponent* AOwner);
    ~TbsSkinControl() override;

    // ---- the skin link
    TbsSkinData* SkinData() const { return FSD; }
    const std::string& SkinDataName() const { return FSkinDataName; }

    virtual void GetSkinData();
    // Stores the name; the next GetSkinData finds the element.
    virtual void SetSkinDataName(const std::string& Value);
    // Stores the reference; applies a loaded skin at once.
    virtual void SetSkinData(TbsSkinData* Value);
    virtual void CreateControlDefaultImage(TBitmap* B);
    virtual void CreateControlSkinImage(TBitmap* B);
    virtual void ChangeSkinData();
    virtual void BeforeChangeSkinData();
    virtual void AfterChangeSkinData();
    // Called for WM_CHECKPARENTBG: the background under the control changed.
    virtual void CheckParentBackground();

    // ---- hints, read by the skinned hint window
    const std::string& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const std::string& Value) { FHintTitle = Value; }
    int HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(int Value) { FHintImageIndex = Value; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* Value) { FHintImageList = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // True only while the control's own WM_PAINT handling runs.
    bool FromWMPaint = false;
    // The element's index in the skin's control list, or -1: the plain look.
    int FIndex = -1;

protected:
    void Paint() override;
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;
    // The region last handed to the window (the window owns it).
    HRGN FRgn = nullptr;
    std::string FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

// The plain look's size and font, shared by the windowed and the windowless
// custom base classes: a default size applied while no element is in use,
// and a default font whose changes repaint the plain look.
template <class TBase> class TbsSkinDefaults : public TBase {
public:
    explicit TbsSkinDefaults(TComponent* AOwner);
    ~TbsSkinDefaults() override;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

    virtual void DefaultFontChanged() {}

protected:
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;

private:
    void OnDefaultFontChange(TObject* Sender);
};

template <class TBase>
TbsSkinDefaults<TBase>::TbsSkinDefaults(TComponent* AOwner)
    : TBase(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->OnChange = TNotifyEvent(this, &TbsSkinDefaults::OnDefaultFontChange);
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
}

template <class TBase> TbsSkinDefaults<TBase>::~TbsSkinDefaults() {
    FDefaultFont->OnChange = nullptr;
}

template <class TBase> void TbsSkinDefaults<TBase>::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (this->FIndex == -1 && Value > 0)
        this->SetWidth(Value);
}

template <class TBase> void TbsSkinDefaults<TBase>::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (this->FIndex == -1 && Value > 0)
        this->SetHeight(Value);
}

template <class TBase> void TbsSkinDefaults<TBase>::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    DefaultFontChanged();
}

template <class TBase> void TbsSkinDefaults<TBase>::OnDefaultFontChange(TObject*) {
    DefaultFontChanged();
    if (this->FIndex == -1)
        this->Repaint();
}

class TbsSkinCustomControl : public TbsSkinDefaults<TbsSkinControl>, public TbsSkinGeometry {
public:
    explicit TbsSkinCustomControl(TComponent* AOwner);
    ~TbsSkinCustomControl() override;

    // The frame path: the border drawn around a client area painted on the
    // canvas (with DrawbackGround) instead of one nine-part bitmap.
    bool ForcebackGround() const { return FForceBackground; }
    void SetForcebackGround(bool Value) { FForceBackground = Value; }
    bool DrawbackGround() const { return FDrawbackground; }
    void SetDrawbackGround(bool Value) { FDrawbackground = Value; }

    // Corrects a requested size to the element's rules and brings the New*
    // geometry up to date for it.
    virtual void CalcSkinSize(int& AWidth, int& AHeight);
    virtual void SetControlRegion();

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // ARect of APicture into B, laid out by ResizeMode.
    void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect);
    void MapSkinRect(const TRect& R, TRect& NewR) const {
        TbsSkinGeometry::MapSkinRect(R, NewR, FWidth, FHeight);
    }
    // Sends WM_CHECKPARENTBG to every direct child.
    void UpdateChildrenBackground();

    TBitmap* MaskPicture = nullptr;

protected:
    void Paint() override;
    void ApplyMaskRegion();

    bool FForceBackground = false;
    bool FDrawbackground = true;

private:
    void PaintFrame();
    void PaintClientBackground();
};

// Vertical centring of a skinned control in a skinned tool bar that adjusts
// its controls: ATop becomes the top that centres AHeight in the bar's skin
// client rectangle. Nothing for any other parent.
void CentreInSkinToolBar(TWinControl* Parent, int& ATop, int AHeight);
