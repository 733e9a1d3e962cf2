#include "platform/core/Lists.h"
