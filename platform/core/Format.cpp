#include "platform/core/Format.h"
