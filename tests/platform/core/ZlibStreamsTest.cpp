#include "platform/core/ZlibStreams.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>

namespace {

// Half compressible text, half noise, so every level has work to do.
std::string MixedData(std::size_t Size) {
    std::string data;
    data.reserve(Size);
    std::mt19937 random(42);
    while (data.size() < Size) {
        data += "[Options]\r\nThread_Count=4\r\nOutPath=/home/user/视频\r\n";
        for (int i = 0; i < 40; ++i)
            data += static_cast<char>(random() & 0xFF);
    }
    data.resize(Size);
    return data;
}

std::string Compress(const std::string& Data, TCompressionLevel Level = clDefault) {
    TStringStream dest;
    {
        TCompressionStream compressor(Level, dest);
        compressor.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
    }
    return dest.DataString();
}

// Reads the decompression stream in uneven pieces until it yields nothing.
std::string InflateAll(TDecompressionStream& Stream) {
    std::string out;
    char buffer[5000];
    for (std::int64_t n; (n = Stream.Read(buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    return out;
}

template <typename TError> std::string ErrorText(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const TError& e) {
        return e.Message();
    }
    return "(no error)";
}

} // namespace

class ZlibRoundTrip : public testing::TestWithParam<TCompressionLevel> {};

TEST_P(ZlibRoundTrip, OneMegabyteOfMixedData) {
    const std::string data = MixedData(1 << 20);
    TStringStream dest;
    int progressCalls = 0;
    float rate = 0;
    {
        TCompressionStream compressor(GetParam(), dest);
        compressor.OnProgress = [&](TObject* Sender) {
            EXPECT_EQ(Sender, &compressor);
            ++progressCalls;
        };
        EXPECT_EQ(compressor.CompressionRate(), 0.0f);
        // Several writes of odd sizes, as a caller copying a stream would do.
        for (std::size_t at = 0; at < data.size(); at += 77777) {
            const std::size_t n = std::min<std::size_t>(77777, data.size() - at);
            compressor.WriteBuffer(data.data() + at, static_cast<std::int64_t>(n));
        }
        EXPECT_EQ(compressor.Seek(0, soCurrent), static_cast<std::int64_t>(data.size()));
        rate = compressor.CompressionRate();
    }
    EXPECT_GT(progressCalls, 0);
    // The rate is read before the stream finishes, so part of the output is
    // still inside zlib: close to the final figure, not equal to it.
    const float finalRate =
        (1.0f - static_cast<float>(dest.Size()) / static_cast<float>(data.size())) * 100.0f;
    EXPECT_NEAR(rate, finalRate, 8.0f);
    if (GetParam() == clNone) {
        EXPECT_LT(finalRate, 0.0f); // stored blocks cost a few bytes each
        EXPECT_GT(finalRate, -1.0f);
    } else {
        EXPECT_GT(finalRate, 10.0f);
        EXPECT_LT(rate, 100.0f);
    }
    // RFC 1950 framing: the zlib header.
    ASSERT_GE(dest.Size(), 2);
    EXPECT_EQ(static_cast<unsigned char>(dest.DataString()[0]), 0x78);

    dest.SetPosition(0);
    TDecompressionStream decompressor(dest);
    EXPECT_EQ(InflateAll(decompressor), data);
    EXPECT_EQ(decompressor.Position(), static_cast<std::int64_t>(data.size()));
}

INSTANTIATE_TEST_SUITE_P(ZlibStreams, ZlibRoundTrip,
                         testing::Values(clNone, clFastest, clDefault, clMax));

TEST(ZlibStreams, StopsAtTheEndOfTheZlibData) {
    const std::string block = Compress("hello") + "JUNK after the block";
    TStringStream source(block);
    TDecompressionStream stream(source);
    char buffer[64];
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0);
}

TEST(ZlibStreams, FinishedTellsAWholeBlockFromACutOne) {
    const std::string data = MixedData(30000);
    const std::string good = Compress(data);
    for (const bool whole : {true, false}) {
        TStringStream source(whole ? good : good.substr(0, good.size() - 1));
        TDecompressionStream stream(source);
        EXPECT_FALSE(stream.Finished());
        InflateAll(stream);
        EXPECT_EQ(stream.Finished(), whole) << (whole ? "whole block" : "cut block");
    }
}

TEST(ZlibStreams, DamagedAndTruncatedBlocks) {
    const std::string data = MixedData(100000);
    const std::string good = Compress(data);

    // Damage in the header, in the middle and in the trailing checksum.
    for (const std::size_t at : {std::size_t{0}, good.size() / 2, good.size() - 2}) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        TStringStream source(bad);
        TDecompressionStream stream(source);
        EXPECT_EQ(ErrorText<EDecompressionError>([&] { InflateAll(stream); }), "compression error")
            << "damage at " << at;
    }

    // A truncated block reads short, so ReadBuffer raises the read error.
    TStringStream source(good.substr(0, good.size() / 2));
    TDecompressionStream stream(source);
    std::string out(data.size(), '\0');
    EXPECT_LT(stream.Read(out.data(), static_cast<std::int64_t>(out.size())),
              static_cast<std::int64_t>(data.size()));
    stream.Seek(0, soBeginning);
    EXPECT_EQ(ErrorText<EReadError>(
                  [&] { stream.ReadBuffer(out.data(), static_cast<std::int64_t>(out.size())); }),
              "Stream read error");

    // Nothing at all to read.
    TStringStream empty;
    TDecompressionStream fromEmpty(empty);
    EXPECT_EQ(InflateAll(fromEmpty), "");
}

TEST(ZlibStreams, DecompressionSeekTable) {
    const std::string data = MixedData(40000);
    TStringStream source(Compress(data));
    TDecompressionStream stream(source);
    char buffer[16];

    const auto readAt = [&](std::int64_t ExpectedPosition) {
        EXPECT_EQ(stream.Position(), ExpectedPosition);
        stream.ReadBuffer(buffer, sizeof buffer);
        return std::string(buffer, sizeof buffer) == data.substr(ExpectedPosition, sizeof buffer);
    };

    stream.Seek(100, soCurrent);
    EXPECT_TRUE(readAt(100));
    // Forward from the current position and to an absolute position ahead.
    EXPECT_EQ(stream.Seek(20000, soCurrent), 20116);
    EXPECT_TRUE(readAt(20116));
    EXPECT_EQ(stream.Seek(30000, soBeginning), 30000);
    EXPECT_TRUE(readAt(30000));
    // Back to the start re-inflates from the source's beginning.
    EXPECT_EQ(stream.Seek(0, soBeginning), 0);
    EXPECT_TRUE(readAt(0));

    const std::int64_t here = stream.Position();
    struct Row {
        std::int64_t Offset;
        TSeekOrigin Origin;
    };
    // Backward, the present position given absolutely, and anything from the end.
    for (const Row row : {Row{-1, soCurrent}, Row{5, soBeginning}, Row{here, soBeginning},
                          Row{0, soEnd}, Row{-10, soEnd}})
        EXPECT_EQ(ErrorText<EDecompressionError>([&] { stream.Seek(row.Offset, row.Origin); }),
                  "Invalid stream operation")
            << row.Offset << " from " << row.Origin;
    EXPECT_TRUE(readAt(here));

    // A forward move past the end stops at the end.
    EXPECT_EQ(stream.Seek(1 << 20, soCurrent), static_cast<std::int64_t>(data.size()));
}

TEST(ZlibStreams, WrongDirectionRaises) {
    TStringStream dest;
    TCompressionStream compressor(clDefault, dest);
    char buffer[4];
    EXPECT_EQ(ErrorText<ECompressionError>([&] { compressor.Read(buffer, 4); }),
              "Invalid stream operation");
    EXPECT_EQ(ErrorText<ECompressionError>([&] { compressor.Seek(0, soBeginning); }),
              "Invalid stream operation");
    EXPECT_EQ(ErrorText<ECompressionError>([&] { compressor.Seek(1, soCurrent); }),
              "Invalid stream operation");

    TStringStream source(Compress("abc"));
    TDecompressionStream decompressor(source);
    EXPECT_EQ(ErrorText<EDecompressionError>([&] { decompressor.Write("x", 1); }),
              "Invalid stream operation");
}

TEST(ZlibStreams, UnderlyingStreamMovedBetweenCalls) {
    const std::string data = MixedData(60000);

    // Compression into a stream that holds a header first; somebody reads the
    // header back between two writes.
    TMemoryStream dest;
    dest.WriteBuffer("HEAD", 4);
    {
        TCompressionStream compressor(clMax, dest);
        for (std::size_t at = 0; at < data.size(); at += 10000) {
            compressor.WriteBuffer(data.data() + at, 10000);
            dest.SetPosition(0);
            char head[4];
            dest.ReadBuffer(head, 4);
            dest.SetPosition(1);
        }
        dest.SetPosition(1);
    }
    ASSERT_EQ(std::memcmp(dest.Memory(), "HEAD", 4), 0);

    // Decompression from that stream; somebody moves it between two reads.
    dest.SetPosition(4);
    TDecompressionStream decompressor(dest);
    std::string out;
    char buffer[3000];
    for (std::int64_t n; (n = decompressor.Read(buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
        dest.SetPosition(0);
        dest.ReadBuffer(buffer, 2);
    }
    EXPECT_EQ(out, data);
}
