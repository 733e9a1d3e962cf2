// File names handed to FFmpeg and back.
//
// Linux file names are bytes and the platform's code page is UTF-8, so every
// name reaches FFmpeg as it is. Names of the form "unicode:utf8:" + path may
// still arrive (stored rows, callers that encode them); FFmpeg of this
// generation cannot register a protocol for them, so the I/O of each format
// context is routed through InstallUnicodeIO, which opens them as plain
// paths.
#pragma once

#include <string>

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}

// "unicode:utf8:"
inline constexpr char UnicodePrefix[] = "unicode:utf8:";

// False when the name names one of FFmpeg's protocols, and false when it
// survives the platform's code page, which is every name on this platform.
bool NeedsUnicodeProtocol(const std::string& AName);
// The name to hand to FFmpeg: its own bytes, with no length limit.
std::string FileNameToAV(const std::string& AName);
// The file name for a name FFmpeg holds.
std::string FileNameFromAV(const std::string& AText);

bool IsUnicodeName(const std::string& AText);
std::string EncodeUnicodeName(const std::string& AName);
std::string DecodeUnicodeName(const std::string& AText);

// Lets AContext open "unicode:utf8:" names, for its input and for every file
// its demuxer or muxer opens. Call it on each context before opening.
void InstallUnicodeIO(AVFormatContext* AContext);
// avio_open2 for a name that may be a "unicode:utf8:" name.
int UnicodeAVIOOpen(AVIOContext** APB, const std::string& AName, int AFlags,
                    const AVIOInterruptCB* AInterrupt, AVDictionary** AOptions);
