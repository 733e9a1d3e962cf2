#include "platform/core/Threads.h"

#include <gtest/gtest.h>
