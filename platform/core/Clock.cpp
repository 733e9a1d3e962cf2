#include "platform/core/Clock.h"
