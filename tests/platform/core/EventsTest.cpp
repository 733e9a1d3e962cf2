#include "platform/core/Events.h"

#include <gtest/gtest.h>
