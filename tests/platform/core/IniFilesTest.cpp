#include "platform/core/IniFiles.h"

#include <gtest/gtest.h>
