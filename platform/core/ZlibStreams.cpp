#include "platform/core/ZlibStreams.h"
