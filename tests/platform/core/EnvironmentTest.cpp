#include "platform/core/Environment.h"

#include <gtest/gtest.h>
