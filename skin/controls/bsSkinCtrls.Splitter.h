// The skinned splitter: the class library's splitter (dragging, snapping,
// minimum size) drawn from the skin's splitter element, stretched along its
// length with a centred gripper, and as thick as the element.
#pragma once

#include "platform/forms/ExtCtrls.h"
#include "skin/controls/bsSkinCtrls.Base.h"

class TbsSkinSplitter : public TSplitter {
public:
    explicit TbsSkinSplitter(TComponent* AOwner);
    ~TbsSkinSplitter() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int Value) { FDefaultSize = Value; }

    void GetSkinData();
    // Looks the element up again and takes its thickness.
    void ChangeSkinData();
    void Notification(TComponent* AComponent, TOperation Operation) override;

    int FIndex = -1;
    TPoint LTPt, RTPt, LBPt;
    TRect SkinRect;
    bool StretchEffect = false;
    TBitmap* Picture = nullptr;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    void Paint() override;

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "vsplitter";
    bool FTransparent = false;
    int FDefaultSize = 10;

private:
    bool Horizontal() const { return FAlign == alTop || FAlign == alBottom; }
};
