// Entry points of the C library (libc.so.6), bound by name when the loader loads it and null
// otherwise. Call them as myutil::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#define OSTRELA_MYUTIL_ENTRIES(X)                                                                  \
    X(fopen)                                                                                       \
    X(fclose)                                                                                      \
    X(fread)                                                                                       \
    X(fwrite)                                                                                      \
    X(fseek)                                                                                       \
    X(ftell)                                                                                       \
    X(fprintf)                                                                                     \
    X(snprintf)                                                                                    \
    X(vsnprintf)                                                                                   \
    X(strtol)                                                                                      \
    X(strtod)                                                                                      \
    X(strtok_r)

namespace myutil {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_MYUTIL_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace myutil

void MyUtilFixup(const std::string& ALibName, void* AHandle);
void MyUtilUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> MyUtilEntries();
