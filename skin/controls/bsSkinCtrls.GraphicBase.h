// The windowless twins of the skinned base classes: skinned controls painted
// on their parent's canvas, with no window, no window region and no message
// handling beyond mouse enter and leave. They are opaque: a paint covers the
// whole rectangle, so the parent never paints under them.
#pragma once

#include "skin/controls/bsSkinCtrls.Base.h"

class TbsGraphicSkinControl : public TGraphicControl {
public:
    explicit TbsGraphicSkinControl(TComponent* AOwner);
    ~TbsGraphicSkinControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }

    virtual void GetSkinData();
    virtual void SetSkinData(TbsSkinData* Value);
    virtual void CreateControlDefaultImage(TBitmap* B);
    virtual void CreateControlSkinImage(TBitmap* B);
    virtual void ChangeSkinData();
    virtual void BeforeChangeSkinData();

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

    int FIndex = -1;

protected:
    void Paint() override;
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;
    std::string FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

class TbsGraphicSkinCustomControl : public TbsSkinDefaults<TbsGraphicSkinControl>,
                                    public TbsSkinGeometry {
public:
    explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;

    virtual void CalcSkinSize(int& AWidth, int& AHeight);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect);
    void MapSkinRect(const TRect& R, TRect& NewR) const {
        TbsSkinGeometry::MapSkinRect(R, NewR, FWidth, FHeight);
    }

protected:
};
