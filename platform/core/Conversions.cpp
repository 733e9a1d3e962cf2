#include "platform/core/Conversions.h"
