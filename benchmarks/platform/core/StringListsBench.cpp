#include "platform/core/Streams.h"
#include "platform/core/StringLists.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// About 1 MB of skin-like text: key=value lines, some of them Chinese,
// with CR LF endings.
std::string MakeText() {
    std::string Text;
    for (int I = 0; Text.size() < 1024 * 1024; ++I) {
        Text += "Key" + std::to_string(I) + "=";
        Text += (I % 3 == 0) ? "输出文件夹视频" : "C:/Ostrela/skins/default/bitmap.bmp";
        Text += "\r\n";
    }
    return Text;
}

void BM_StringListLoadFromStream(benchmark::State& State) {
    const std::string Text = MakeText();
    TStringStream Stream(Text);
    TStringList List;
    for (auto _ : State) {
        Stream.SetPosition(0);
        List.LoadFromStream(Stream);
        benchmark::DoNotOptimize(List.Count());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) *
                            static_cast<std::int64_t>(Text.size()));
}
BENCHMARK(BM_StringListLoadFromStream)->Unit(benchmark::kMillisecond);

} // namespace
