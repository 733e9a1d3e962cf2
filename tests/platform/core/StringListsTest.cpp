#include "platform/core/StringLists.h"

#include <gtest/gtest.h>
