// Whole-stream zlib compression for compressed skins.
#pragma once

#include "platform/core/Streams.h"

#include <cstdint>

// The most a compressed skin may inflate to: forty times the largest skin
// the program carries, so a damaged or hostile block cannot take the memory.
constexpr std::int64_t MaxInflatedSkinSize = std::int64_t(64) * 1024 * 1024;

// Deflates the whole of Source (from its beginning) at the highest level and
// appends the complete zlib stream to Dest.
void CompressStreamToMemory(TStream& Source, TStream& Dest);
// Inflates the zlib stream that Source holds from its beginning and appends
// the bytes to Dest; bytes after the stream's end are not read. A stream
// that ends early raises EReadError "Stream read error", damaged data and
// more than MaxInflatedSkinSize bytes EDecompressionError
// "compression error".
void DecompressStreamFromMemory(TStream& Dest, TStream& Source);
