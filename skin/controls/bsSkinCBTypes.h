// Small records shared by the skinned controls that draw buttons or an item
// area inside their own window: the up-down's two buttons, the edit box's
// image buttons, the combo boxes' face.
#pragma once

#include "platform/forms/ListBoxes.h"
#include "platform/gdi/Types.h"

// A button drawn inside a skinned control, in its client coordinates.
struct TbsCBButtonX {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
};

// The item area of a combo face.
struct TbsCBItem {
    TRect R;
    TOwnerDrawState State;
};
