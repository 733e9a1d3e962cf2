// Main of the test programs that need no fonts and no Qt.
#include "platform/core/Threads.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    RecordMainThread();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
