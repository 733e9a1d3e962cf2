#include "skin/model/bszlibcompress.h"

#include "platform/core/Exceptions.h"
#include "platform/core/ZlibStreams.h"

#include <array>

void CompressStreamToMemory(TStream& Source, TStream& Dest) {
    Source.SetPosition(0);
    // The zlib stream is finished when the compression stream goes.
    TCompressionStream Compressor(clMax, Dest);
    Compressor.CopyFrom(Source, 0);
}

void DecompressStreamFromMemory(TStream& Dest, TStream& Source) {
    Source.SetPosition(0);
    TDecompressionStream Inflater(Source);
    std::array<std::uint8_t, 4096> Piece;
    std::int64_t Total = 0;
    for (;;) {
        const std::int64_t Got = Inflater.Read(Piece.data(), Piece.size());
        if (Got <= 0)
            break;
        Total += Got;
        if (Total > MaxInflatedSkinSize)
            throw EDecompressionError("compression error");
        Dest.WriteBuffer(Piece.data(), Got);
    }
    if (!Inflater.Finished())
        throw EReadError("Stream read error");
}
