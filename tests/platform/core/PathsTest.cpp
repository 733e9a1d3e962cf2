#include "platform/core/Paths.h"

#include <gtest/gtest.h>
