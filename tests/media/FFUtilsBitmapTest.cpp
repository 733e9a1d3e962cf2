#include "media/FFUtils.h"

#include <gtest/gtest.h>
