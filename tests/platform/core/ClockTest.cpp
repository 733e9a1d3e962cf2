#include "platform/core/Clock.h"

#include <gtest/gtest.h>
