// Main of the test programs that need fonts: Qt's font engine wants its
// application object, which lives on the main thread for the whole run.
// The offscreen platform is forced so that a developer's display is never used.
#include "platform/core/Threads.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    RecordMainThread();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
