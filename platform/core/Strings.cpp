#include "platform/core/Strings.h"
