#include "platform/core/ZlibStreams.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

// About 1.5 MB, shaped like the largest inflated skins: bitmaps with runs
// of flat colour and gradients, then the ini text.
const std::string& SkinPayload() {
    static const std::string payload = [] {
        std::string data;
        std::mt19937 random(7);
        while (data.size() < 1400 * 1024) {
            const char colour = static_cast<char>(random() & 0xFF);
            for (int i = 0; i < 256; ++i)
                data += (i % 64 < 48) ? colour : static_cast<char>(i + (random() & 3));
        }
        while (data.size() < 1536 * 1024)
            data += "[Control12]\r\nElement3Rect=14,12,103,20\r\nFontName=Tahoma\r\n";
        return data;
    }();
    return payload;
}

std::string Compressed() {
    TStringStream dest;
    {
        TCompressionStream compressor(clMax, dest);
        compressor.WriteBuffer(SkinPayload().data(),
                               static_cast<std::int64_t>(SkinPayload().size()));
    }
    return dest.DataString();
}

void BM_CompressMax(benchmark::State& State) {
    for (auto _ : State) {
        TMemoryStream dest;
        TCompressionStream compressor(clMax, dest);
        compressor.WriteBuffer(SkinPayload().data(),
                               static_cast<std::int64_t>(SkinPayload().size()));
        benchmark::DoNotOptimize(dest.Memory());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(SkinPayload().size()));
}
BENCHMARK(BM_CompressMax)->Unit(benchmark::kMillisecond);

// Read in pieces of 4,096 bytes, as the skin loader does.
void BM_Decompress(benchmark::State& State) {
    const std::string block = Compressed();
    for (auto _ : State) {
        TStringStream source(block);
        TDecompressionStream decompressor(source);
        TMemoryStream dest;
        char piece[4096];
        for (std::int64_t n; (n = decompressor.Read(piece, sizeof piece)) > 0;)
            dest.WriteBuffer(piece, n);
        benchmark::DoNotOptimize(dest.Memory());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(SkinPayload().size()));
    State.SetLabel(std::to_string(block.size()) + " bytes compressed");
}
BENCHMARK(BM_Decompress)->Unit(benchmark::kMillisecond);

} // namespace
