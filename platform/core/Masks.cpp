#include "platform/core/Masks.h"
