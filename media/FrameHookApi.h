/* The interface between the conversion engine and a frame-hook library.
 *
 * A frame-hook library is a shared object that exports, with C linkage and
 * default visibility, the entry points below under these exact names.
 * "Process" is required; "Configure" is required only when the hook is given
 * words beyond its own file name; "Release" is optional.
 *
 * For each "vhook" option of a job the engine calls Configure once with the
 * words of the option (the library's file name first), then Process once per
 * decoded picture, in the picture's own pixel format (FFmpeg's pixel-format
 * number), and Release when the job's resources are released. All calls of
 * one job come from that job's worker thread; the context is the hook's own.
 *
 * Plain C on purpose: a hook writer needs nothing but this file. */
#ifndef OSTRELA_MEDIA_FRAMEHOOKAPI_H
#define OSTRELA_MEDIA_FRAMEHOOKAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One picture: up to four planes and their line sizes in bytes. */
typedef struct {
    uint8_t* data[4];
    int linesize[4];
} TFrameHookPicture;

/* ctx receives the hook's own context. argv holds argc words and ends with
 * null entries; argvHigh is the highest index of the array (63). Answers 0 when
 * the hook accepts its words. */
typedef int (*TFrameHookConfigureFn)(void** ctx, int argc, char** argv, int argvHigh);
/* pts is in microseconds. The hook may change the picture in place. */
typedef void (*TFrameHookProcessFn)(void* ctx, TFrameHookPicture* picture, int pix_fmt, int width,
                                    int height, int64_t pts);
typedef void (*TFrameHookReleaseFn)(void* ctx);

/* The engine only needs the types; a hook library declares its entries. */
#ifndef OSTRELA_FRAME_HOOK_TYPES_ONLY
#define OSTRELA_FRAME_HOOK_EXPORT __attribute__((visibility("default")))
OSTRELA_FRAME_HOOK_EXPORT int Configure(void** ctx, int argc, char** argv, int argvHigh);
OSTRELA_FRAME_HOOK_EXPORT void Process(void* ctx, TFrameHookPicture* picture, int pix_fmt,
                                       int width, int height, int64_t pts);
OSTRELA_FRAME_HOOK_EXPORT void Release(void* ctx);
#endif

#ifdef __cplusplus
}
#endif

#endif
