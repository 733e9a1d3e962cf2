#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>
