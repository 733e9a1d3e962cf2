#include "platform/core/SyncObjects.h"

#include <gtest/gtest.h>
