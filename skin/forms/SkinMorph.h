// The transition between two looks of a morphing skin object, chosen by the
// element's morph kind. Shared by the caption objects, the caption morph,
// the menu items and the menu bar.
#pragma once

#include "skin/model/bsEffects.EffectBmp.h"
#include "skin/model/bsSkinData.IniValues.h"

// From becomes the state Kf (0..1) of the transition Kind towards To.
void MorphByKind(TbsEffectBmp& From, TbsEffectBmp& To, double Kf, TbsMorphKind Kind);
