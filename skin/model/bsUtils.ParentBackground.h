// The background a see-through control shows: its parent's erase and paint
// and the graphic siblings below it in z-order, drawn into the control's
// canvas as if the control were not there.
#pragma once

#include "platform/forms/Controls.h"

void DrawParentBackground(TControl* Control, TCanvas* Canvas);
// The same for the part of Control that starts at R's top-left corner, which
// becomes the canvas origin.
void DrawParentBackgroundRect(TControl* Control, const TRect& R, TCanvas* Canvas);
