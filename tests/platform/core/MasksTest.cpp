#include "platform/core/Masks.h"

#include <gtest/gtest.h>
