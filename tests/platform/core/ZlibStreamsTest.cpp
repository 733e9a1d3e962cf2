#include "platform/core/ZlibStreams.h"

#include <gtest/gtest.h>
