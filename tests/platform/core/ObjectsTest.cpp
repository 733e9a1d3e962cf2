#include "platform/core/Objects.h"

#include <gtest/gtest.h>
