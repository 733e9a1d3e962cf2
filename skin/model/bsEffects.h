// The skin library's pixel foundation: the skin bitmap, the pixel kernels,
// bitmap drawing and bitmap links, effect pictures, blur and glowing text.
#pragma once

#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsEffects.EffectBmp.h"
#include "skin/model/bsEffects.Glow.h"
#include "skin/model/bsEffects.Kernels.h"
#include "skin/model/bsEffects.Link.h"
