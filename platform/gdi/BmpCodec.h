// BMP files: our own reader and writer. The reader checks every length and
// header field before it allocates, reads exactly the bytes the file header
// announces and leaves the stream right after the picture.
#pragma once

#include "platform/core/Streams.h"
#include "platform/gdi/Gdi.h"

#include <cstdint>
#include <vector>

// A decoded picture: rows top-down, each padded to a multiple of 4 bytes;
// Table holds the colours of 1-, 4- and 8-bit pictures.
struct TBmpImage {
    int Width = 0;
    int Height = 0;
    TPixelFormat Format = pf24bit;
    std::vector<RGBQUAD> Table;
    std::vector<std::uint8_t> Pixels;
};

// Raises EInvalidGraphic "Bitmap image is not valid: <reason>".
TBmpImage ReadBmp(TStream& Stream);
// A 40-byte-header, bottom-up BMP in the picture's own depth.
void WriteBmp(TStream& Stream, const TBmpImage& Image);
