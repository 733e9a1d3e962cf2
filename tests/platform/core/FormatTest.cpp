#include "platform/core/Format.h"

#include <gtest/gtest.h>
