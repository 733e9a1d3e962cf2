// The skin library's pixel foundation: the skin bitmap, the pixel kernels,
// bitmap drawing and bitmap links.
#pragma once

#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsEffects.Kernels.h"
#include "skin/model/bsEffects.Link.h"
