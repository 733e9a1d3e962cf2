/* Inverts plane 0 of 8-bit pictures and logs every call. */
#include "TestHookLog.h"
#include "media/FrameHookApi.h"

#include <libavutil/pixfmt.h>
#include <stddef.h>
#include <string.h>

typedef struct {
    char log[4096];
} TInvert;

int Configure(void** ctx, int argc, char** argv, int argvHigh) {
    TInvert* self = calloc(1, sizeof(TInvert));
    if (!self)
        return 1;
    const char* name = TestHookLogName(argc, argv);
    if (name)
        strncpy(self->log, name, sizeof(self->log) - 1);
    char words[4096] = "Configure";
    for (int i = 0; i < argc; ++i) {
        strncat(words, " ", sizeof(words) - strlen(words) - 1);
        strncat(words, argv[i], sizeof(words) - strlen(words) - 1);
    }
    TestHookLog(self->log, "%s high=%d end=%s", words, argvHigh, argv[argc] ? "word" : "null");
    *ctx = self;
    return 0;
}

/* Bytes of plane 0 per row for the 8-bit formats this hook knows. */
static int RowBytes(int pix_fmt, int width) {
    switch (pix_fmt) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_GRAY8:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
        return width;
    case AV_PIX_FMT_RGB24:
    case AV_PIX_FMT_BGR24:
        return width * 3;
    default:
        return 0;
    }
}

void Process(void* ctx, TFrameHookPicture* picture, int pix_fmt, int width, int height,
             int64_t pts) {
    TInvert* self = ctx;
    TestHookLog(self->log, "Process %lld %d %dx%d", (long long)pts, pix_fmt, width, height);
    const int bytes = RowBytes(pix_fmt, width);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture->data[0] + (ptrdiff_t)y * picture->linesize[0];
        for (int x = 0; x < bytes; ++x)
            row[x] = (uint8_t)(255 - row[x]);
    }
}

void Release(void* ctx) {
    TInvert* self = ctx;
    TestHookLog(self->log, "Release");
    free(self);
}
