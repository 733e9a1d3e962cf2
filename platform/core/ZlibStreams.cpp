#include "platform/core/ZlibStreams.h"

#include "platform/core/Exceptions.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace {

const char* const InvalidStreamOperation = "Invalid stream operation";

// zlib counts in 32-bit units; larger requests are fed in pieces of this size.
constexpr std::int64_t MaxPiece = std::numeric_limits<uInt>::max();

int ZlibLevel(TCompressionLevel Level) {
    switch (Level) {
    case clNone:
        return Z_NO_COMPRESSION;
    case clFastest:
        return Z_BEST_SPEED;
    case clMax:
        return Z_BEST_COMPRESSION;
    case clDefault:
        break;
    }
    return Z_DEFAULT_COMPRESSION;
}

int CompressCheck(int Code) {
    if (Code < 0)
        throw ECompressionError("error");
    return Code;
}

int DecompressCheck(int Code) {
    if (Code < 0)
        throw EDecompressionError("compression error");
    return Code;
}

} // namespace

// ---- TCustomZlibStream -----------------------------------------------------

TCustomZlibStream::TCustomZlibStream(TStream& Strm)
    : FStrm(Strm), FStrmPos(Strm.Position()), FZRec(std::make_unique<z_stream_s>()) {}

TCustomZlibStream::~TCustomZlibStream() = default;

void TCustomZlibStream::Progress() {
    if (OnProgress)
        OnProgress(this);
}

void TCustomZlibStream::RestoreStrmPosition() {
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
}

// ---- TCompressionStream ----------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream& Dest)
    : TCustomZlibStream(Dest) {
    FZRec->next_out = FBuffer.data();
    FZRec->avail_out = BufferSize;
    CompressCheck(deflateInit(FZRec.get(), ZlibLevel(CompressionLevel)));
}

TCompressionStream::~TCompressionStream() {
    // A destructor must not throw: a failure here can only lose the tail,
    // and the caller learns of it when it inflates the result.
    try {
        RestoreStrmPosition();
        FZRec->next_in = nullptr;
        FZRec->avail_in = 0;
        while (CompressCheck(deflate(FZRec.get(), Z_FINISH)) != Z_STREAM_END &&
               FZRec->avail_out == 0)
            WriteBufferOut(BufferSize);
        const std::size_t filled = BufferSize - FZRec->avail_out;
        if (filled > 0)
            FStrm.WriteBuffer(FBuffer.data(), static_cast<std::int64_t>(filled));
    } catch (...) {
    }
    deflateEnd(FZRec.get());
}

void TCompressionStream::WriteBufferOut(std::size_t Count) {
    FStrm.WriteBuffer(FBuffer.data(), static_cast<std::int64_t>(Count));
    FZRec->next_out = FBuffer.data();
    FZRec->avail_out = BufferSize;
    FStrmPos = FStrm.Position();
    Progress();
}

std::int64_t TCompressionStream::Read(void*, std::int64_t) {
    throw ECompressionError(InvalidStreamOperation);
}

std::int64_t TCompressionStream::Write(const void* Buffer, std::int64_t Count) {
    if (Count <= 0)
        return 0;
    RestoreStrmPosition();
    auto* in = static_cast<const Bytef*>(Buffer);
    std::int64_t left = Count;
    while (left > 0) {
        const auto piece = static_cast<uInt>(std::min(left, MaxPiece));
        FZRec->next_in = const_cast<Bytef*>(in);
        FZRec->avail_in = piece;
        while (FZRec->avail_in > 0) {
            CompressCheck(deflate(FZRec.get(), Z_NO_FLUSH));
            if (FZRec->avail_out == 0)
                WriteBufferOut(BufferSize);
        }
        in += piece;
        left -= piece;
    }
    return Count;
}

std::int64_t TCompressionStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    if (Offset == 0 && Origin == soCurrent)
        return static_cast<std::int64_t>(FZRec->total_in);
    throw ECompressionError(InvalidStreamOperation);
}

float TCompressionStream::CompressionRate() const {
    if (FZRec->total_in == 0)
        return 0.0f;
    return static_cast<float>(
        (1.0 - static_cast<double>(FZRec->total_out) / static_cast<double>(FZRec->total_in)) *
        100.0);
}

// ---- TDecompressionStream --------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream& Source) : TCustomZlibStream(Source) {
    FZRec->next_in = FBuffer.data();
    FZRec->avail_in = 0;
    DecompressCheck(inflateInit(FZRec.get()));
}

TDecompressionStream::~TDecompressionStream() {
    inflateEnd(FZRec.get());
}

std::int64_t TDecompressionStream::Read(void* Buffer, std::int64_t Count) {
    if (Count <= 0 || FEnded)
        return 0;
    RestoreStrmPosition();
    auto* out = static_cast<Bytef*>(Buffer);
    std::int64_t done = 0;
    while (done < Count) {
        if (FZRec->avail_in == 0) {
            const std::int64_t got = FStrm.Read(FBuffer.data(), BufferSize);
            if (got <= 0)
                return done;
            FZRec->next_in = FBuffer.data();
            FZRec->avail_in = static_cast<uInt>(got);
            FStrmPos = FStrm.Position();
            Progress();
        }
        const auto piece = static_cast<uInt>(std::min(Count - done, MaxPiece));
        FZRec->next_out = out + done;
        FZRec->avail_out = piece;
        const int code = inflate(FZRec.get(), Z_NO_FLUSH);
        done += piece - FZRec->avail_out;
        if (code == Z_STREAM_END) {
            FEnded = true;
            return done;
        }
        // A preset dictionary is never part of our data; treat it as damage.
        if (code == Z_NEED_DICT)
            DecompressCheck(Z_DATA_ERROR);
        // "No progress possible" only means the input ran dry; anything else
        // negative is damaged data.
        if (code == Z_BUF_ERROR && FZRec->avail_in == 0)
            continue;
        DecompressCheck(code);
    }
    return done;
}

std::int64_t TDecompressionStream::Write(const void*, std::int64_t) {
    throw EDecompressionError(InvalidStreamOperation);
}

void TDecompressionStream::Restart() {
    DecompressCheck(inflateReset(FZRec.get()));
    FZRec->next_in = FBuffer.data();
    FZRec->avail_in = 0;
    FEnded = false;
    FStrm.SetPosition(0);
    FStrmPos = 0;
}

std::int64_t TDecompressionStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const auto position = static_cast<std::int64_t>(FZRec->total_out);
    if (Offset == 0 && Origin == soBeginning) {
        Restart();
        return 0;
    }
    std::int64_t skip = 0;
    if (Origin == soCurrent && Offset >= 0)
        skip = Offset;
    else if (Origin == soBeginning && Offset > position)
        skip = Offset - position;
    else
        throw EDecompressionError(InvalidStreamOperation);
    std::array<std::uint8_t, BufferSize> discard;
    while (skip > 0) {
        const std::int64_t got = Read(discard.data(), std::min<std::int64_t>(skip, BufferSize));
        if (got <= 0)
            break;
        skip -= got;
    }
    return static_cast<std::int64_t>(FZRec->total_out);
}
