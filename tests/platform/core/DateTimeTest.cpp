#include "platform/core/DateTime.h"

#include <gtest/gtest.h>
