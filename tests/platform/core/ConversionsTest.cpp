#include "platform/core/Conversions.h"

#include <gtest/gtest.h>
