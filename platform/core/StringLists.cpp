#include "platform/core/StringLists.h"
