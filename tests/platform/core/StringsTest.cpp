#include "platform/core/Strings.h"

#include <gtest/gtest.h>
