/* A hook with only the required entry. */
#include "TestHookLog.h"
#include "media/FrameHookApi.h"

void Process(void* ctx, TFrameHookPicture* picture, int pix_fmt, int width, int height,
             int64_t pts) {
    (void)picture;
    TestHookLog(TestHookLogName(0, NULL), "Process %lld %d %dx%d ctx=%s", (long long)pts, pix_fmt,
                width, height, ctx ? "set" : "null");
}
