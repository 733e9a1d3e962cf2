#include "platform/core/Paths.h"
