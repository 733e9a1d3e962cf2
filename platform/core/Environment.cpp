#include "platform/core/Environment.h"
