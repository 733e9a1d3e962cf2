#include "platform/core/Streams.h"

#include <gtest/gtest.h>
