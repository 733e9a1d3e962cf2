#include "platform/core/IniFiles.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SectionCount = 40;
constexpr int KeyCount = 30;

std::string SectionName(int I) {
    return "Control" + std::to_string(I);
}
std::string KeyName(int J) {
    return "SkinElement" + std::to_string(J) + "ClientRect";
}

// A skin-like ini of about 54 KB: 40 sections of 30 rectangle keys.
std::string SkinLikeText() {
    std::string text = "; generated skin\r\n";
    for (int i = 0; i < SectionCount; ++i) {
        text += "[" + SectionName(i) + "]\r\n";
        for (int j = 0; j < KeyCount; ++j)
            text += KeyName(j) + "=" + std::to_string(i * 7 + j) + ",12," +
                    std::to_string(100 + j) + ",20,3,3,0,0\r\n";
        text += "\r\n";
    }
    return text;
}

// The ini lives in a fresh temporary folder for the whole run.
class TSkinFile {
public:
    TSkinFile() {
        char folder[] = "/tmp/ostrela-bench-XXXXXX";
        FFolder = mkdtemp(folder);
        FPath = FFolder + "/skin.ini";
        std::ofstream(FPath, std::ios::binary) << SkinLikeText();
    }
    ~TSkinFile() {
        std::remove(FPath.c_str());
        rmdir(FFolder.c_str());
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FFolder;
    std::string FPath;
};

const TSkinFile& SkinFile() {
    static TSkinFile file;
    return file;
}

void ReadEveryKey(TCustomIniFile& Ini) {
    for (int i = 0; i < SectionCount; ++i)
        for (int j = 0; j < KeyCount; ++j)
            benchmark::DoNotOptimize(Ini.ReadString(SectionName(i), KeyName(j), ""));
}

void BM_MemIniFileLoadAndReadEveryKey(benchmark::State& State) {
    const std::string& path = SkinFile().Path();
    for (auto _ : State) {
        TMemIniFile ini(path);
        ReadEveryKey(ini);
    }
    State.SetLabel(std::to_string(SkinLikeText().size()) + " bytes");
}
BENCHMARK(BM_MemIniFileLoadAndReadEveryKey)->Unit(benchmark::kMillisecond);

// A file-backed ini checks the file on every read and reuses the parsed text
// while it is unchanged.
void BM_IniFileReadEveryKey(benchmark::State& State) {
    const std::string& path = SkinFile().Path();
    for (auto _ : State) {
        TIniFile ini(path);
        ReadEveryKey(ini);
    }
}
BENCHMARK(BM_IniFileReadEveryKey)->Unit(benchmark::kMillisecond);

// One key written to the 54 KB file: read, change, write a temporary file
// and rename it over the original.
void BM_IniFileWriteOneKey(benchmark::State& State) {
    const std::string& path = SkinFile().Path();
    TIniFile ini(path);
    int counter = 0;
    for (auto _ : State)
        ini.WriteInteger("Control20", "Counter", ++counter);
    ini.DeleteKey("Control20", "Counter");
}
BENCHMARK(BM_IniFileWriteOneKey)->Unit(benchmark::kMicrosecond);

} // namespace
