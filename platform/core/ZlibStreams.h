// Streams that deflate what is written to them into another stream, and
// inflate another stream while they are read (RFC 1950 framing).
//
// Neither owns the stream under it. Each remembers where it last left that
// stream and moves it back there before using it again, so somebody else
// may read or seek the same stream in between without corrupting the data.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Streams.h"

#include <array>
#include <cstdint>
#include <memory>

struct z_stream_s;

class TCustomZlibStream : public TStream {
public:
    ~TCustomZlibStream() override;
    TCustomZlibStream(const TCustomZlibStream&) = delete;
    TCustomZlibStream& operator=(const TCustomZlibStream&) = delete;

    // Called after each buffer of 8,192 bytes moves to or from the stream
    // underneath.
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(TStream& Strm);

    void Progress();
    // Moves the stream underneath back to where this stream left it.
    void RestoreStrmPosition();

    static constexpr std::size_t BufferSize = 8192;

    TStream& FStrm;
    std::int64_t FStrmPos = 0;
    std::unique_ptr<z_stream_s> FZRec;
    std::array<std::uint8_t, BufferSize> FBuffer{};
};

enum TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel CompressionLevel, TStream& Dest);
    // Finishes the zlib stream and writes what is left; never throws.
    ~TCompressionStream() override;

    // Raises ECompressionError "Invalid stream operation".
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    // Only Seek(0, soCurrent) is allowed: it answers the bytes written so far.
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

    // (1 - bytes out / bytes in) x 100; 0 when nothing was written.
    float CompressionRate() const;

private:
    void WriteBufferOut(std::size_t Count);
};

class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream& Source);
    ~TDecompressionStream() override;

    // Answers fewer bytes than asked when the source runs out (a truncated
    // block) or the zlib stream ends; what follows its end is never read as
    // data. Damaged data raises EDecompressionError "compression error".
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    // Raises EDecompressionError "Invalid stream operation".
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    // Seek(0, soBeginning) restarts from position 0 of the source; forward
    // moves read and discard; everything else raises EDecompressionError
    // "Invalid stream operation". Positions count the bytes produced.
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

    // True once inflate has met the end of the zlib stream. A short read
    // with this still false means the block was cut short.
    bool Finished() const { return FEnded; }

private:
    void Restart();

    bool FEnded = false;
};
