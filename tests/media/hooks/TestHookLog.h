/* What the test hooks share: one appended line per call in a log file named
 * by the hook's first argument, or by OSTRELA_TEST_HOOK_LOG without one. */
#ifndef OSTRELA_TEST_HOOK_LOG_H
#define OSTRELA_TEST_HOOK_LOG_H

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

static const char* TestHookLogName(int argc, char** argv) {
    if (argc > 1)
        return argv[1];
    return getenv("OSTRELA_TEST_HOOK_LOG");
}

__attribute__((format(printf, 2, 3))) static void TestHookLog(const char* name, const char* format,
                                                              ...) {
    if (!name)
        return;
    FILE* file = fopen(name, "a");
    if (!file)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(file, format, args);
    va_end(args);
    fputc('\n', file);
    fclose(file);
}

#endif
