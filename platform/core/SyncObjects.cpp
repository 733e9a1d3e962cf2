#include "platform/core/SyncObjects.h"
