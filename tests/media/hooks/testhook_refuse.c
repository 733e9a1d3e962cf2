/* A hook that refuses every configuration. */
#include "TestHookLog.h"
#include "media/FrameHookApi.h"

int Configure(void** ctx, int argc, char** argv, int argvHigh) {
    (void)ctx;
    (void)argvHigh;
    TestHookLog(TestHookLogName(argc, argv), "Configure refused");
    return 1;
}

void Process(void* ctx, TFrameHookPicture* picture, int pix_fmt, int width, int height,
             int64_t pts) {
    (void)ctx;
    (void)picture;
    (void)pix_fmt;
    (void)width;
    (void)height;
    (void)pts;
}
