/* A hook without its required Process entry. */
#include "TestHookLog.h"
#include "media/FrameHookApi.h"

int Configure(void** ctx, int argc, char** argv, int argvHigh) {
    (void)argvHigh;
    *ctx = NULL;
    TestHookLog(TestHookLogName(argc, argv), "Configure");
    return 0;
}

void Release(void* ctx) {
    (void)ctx;
}
