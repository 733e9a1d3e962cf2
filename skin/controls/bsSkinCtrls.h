// Unit bsSkinCtrls: the skinned control base classes and the basic skinned
// controls built on them, one topic header each.
#pragma once

#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/controls/bsSkinCtrls.Bevel.h"
#include "skin/controls/bsSkinCtrls.GraphicBase.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.Splitter.h"

// Buttons, boxes, slider, scroll bar and views.
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.ButtonEffects.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"
