#include "platform/core/DateTime.h"
