#include "platform/core/Lists.h"

#include <gtest/gtest.h>
