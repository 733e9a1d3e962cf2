#include "platform/core/Streams.h"
