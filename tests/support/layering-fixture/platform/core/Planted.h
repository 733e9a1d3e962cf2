// A core header that reaches up into the skins: the layering check must refuse it.
#pragma once

#include "skin/model/Planted.h"
