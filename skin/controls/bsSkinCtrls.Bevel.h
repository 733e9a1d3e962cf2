// The skinned bevel: the class library's bevel in the light and dark colours
// of the skin's "bevel" element, with a divider mode that draws one groove
// across the middle. The colours change only through ChangeSkinData.
#pragma once

#include "platform/forms/ExtCtrls.h"
#include "skin/controls/bsSkinCtrls.Base.h"

class TbsSkinBevel : public TBevel {
public:
    explicit TbsSkinBevel(TComponent* AOwner);
    ~TbsSkinBevel() override;

    TbsSkinData* SkinData() const { return FSD; }
    // Applies the skin at once, also an empty one or none.
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool Value);
    void ChangeSkinData();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    int FIndex = -1;
    TColor LightColor = clBtnHighlight;
    TColor DarkColor = clBtnShadow;

protected:
    void Paint() override;

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "bevel";
    bool FDividerMode = false;
};
