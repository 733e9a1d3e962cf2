#include "platform/core/Events.h"
