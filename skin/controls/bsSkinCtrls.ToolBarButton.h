// What a skinned tool bar hands to the buttons on it: its flat style, its
// captions switch and its skin data. The tool bar sees its buttons only
// through this, so that the buttons may look at the tool bar (for its image
// lists) without the two including each other.
#pragma once

class TbsSkinData;

class TbsToolBarButton {
public:
    virtual ~TbsToolBarButton() = default;
    virtual void SetFlat(bool Value) = 0;
    virtual void SetShowCaption(bool Value) = 0;
    virtual void SetSkinData(TbsSkinData* Value) = 0;
};
