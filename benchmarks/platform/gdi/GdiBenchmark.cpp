// Speed of the calls a window system repaints through: blits, fills, regions,
// text, and reading and writing pictures of screen size.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/PngImage.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int W = 1920, H = 1080;

class TSection {
public:
    TSection(int Width, int Height, int Bits) {
        BITMAPINFO Info{};
        Info.bmiHeader.biWidth = Width;
        Info.bmiHeader.biHeight = -Height;
        Info.bmiHeader.biBitCount = WORD(Bits);
        FDC = CreateCompatibleDC(0);
        FBitmap = CreateDIBSection(FDC, &Info, DIB_RGB_COLORS, &FBits, nullptr, 0);
        FOld = SelectObject(FDC, ToObj(FBitmap));
        auto* P = static_cast<std::uint8_t*>(FBits);
        const std::size_t Size = std::size_t(((Width * Bits + 31) / 32) * 4) * std::size_t(Height);
        for (std::size_t i = 0; i < Size; ++i)
            P[i] = std::uint8_t(i * 7 + (i >> 11));
    }
    ~TSection() {
        SelectObject(FDC, FOld);
        DeleteObject(ToObj(FBitmap));
        DeleteDC(FDC);
    }
    HDC DC() const { return FDC; }

private:
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld;
    void* FBits = nullptr;
};

void BitBlt32(benchmark::State& State) {
    TSection Src(W, H, 32), Dst(W, H, 32);
    for (auto _ : State)
        BitBlt(Dst.DC(), 0, 0, W, H, Src.DC(), 0, 0, SRCCOPY);
    State.SetItemsProcessed(State.iterations() * W * H);
}
BENCHMARK(BitBlt32)->Unit(benchmark::kMillisecond);

void BitBltFrom24(benchmark::State& State) {
    TSection Src(W, H, 24), Dst(W, H, 32);
    for (auto _ : State)
        BitBlt(Dst.DC(), 0, 0, W, H, Src.DC(), 0, 0, SRCCOPY);
    State.SetItemsProcessed(State.iterations() * W * H);
}
BENCHMARK(BitBltFrom24)->Unit(benchmark::kMillisecond);

void StretchBltDown(benchmark::State& State) {
    TSection Src(W, H, 32), Dst(1280, 720, 32);
    SetStretchBltMode(Dst.DC(), COLORONCOLOR);
    for (auto _ : State)
        StretchBlt(Dst.DC(), 0, 0, 1280, 720, Src.DC(), 0, 0, W, H, SRCCOPY);
}
BENCHMARK(StretchBltDown)->Unit(benchmark::kMillisecond);

void AlphaBlendFull(benchmark::State& State) {
    TSection Src(W, H, 32), Dst(W, H, 32);
    const BLENDFUNCTION F{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : State)
        AlphaBlend(Dst.DC(), 0, 0, W, H, Src.DC(), 0, 0, W, H, F);
}
BENCHMARK(AlphaBlendFull)->Unit(benchmark::kMillisecond);

// A region of 1,000 rectangles: a 40 x 25 grid of cells with gaps.
HRGN GridRegion() {
    HRGN R = CreateRectRgn(0, 0, 0, 0);
    std::vector<TRect> Rects;
    for (int Y = 0; Y < 25; ++Y)
        for (int X = 0; X < 40; ++X)
            Rects.push_back(Bounds(X * 48, Y * 43, 40, 38));
    std::vector<char> Buf(32 + Rects.size() * 16);
    RGNDATAHEADER Head;
    Head.nCount = DWORD(Rects.size());
    std::memcpy(Buf.data(), &Head, sizeof(Head));
    std::memcpy(Buf.data() + 32, Rects.data(), Rects.size() * 16);
    DeleteObject(ToObj(R));
    return ExtCreateRegion(nullptr, DWORD(Buf.size()), reinterpret_cast<RGNDATA*>(Buf.data()));
}

void FillRectFull(benchmark::State& State) {
    TSection Dst(W, H, 32);
    HRGN Clip = State.range(0) ? GridRegion() : HRGN(0);
    SelectClipRgn(Dst.DC(), Clip);
    HBRUSH B = CreateSolidBrush(RGB(10, 20, 30));
    const TRect R{0, 0, W, H};
    for (auto _ : State)
        FillRect(Dst.DC(), &R, B);
    DeleteObject(ToObj(B));
    if (Clip)
        DeleteObject(ToObj(Clip));
}
BENCHMARK(FillRectFull)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Runs of a mask: 10,000 one-row rectangles.
std::vector<char> MaskRuns(int Shift) {
    std::vector<TRect> Rects;
    for (int i = 0; i < 10000; ++i) {
        const int Y = i / 20, X = (i % 20) * 50 + ((Y + Shift) % 7) * 3;
        Rects.push_back({X, Y, X + 30 + (i % 11), Y + 1});
    }
    std::vector<char> Buf(32 + Rects.size() * 16);
    RGNDATAHEADER Head;
    Head.nCount = DWORD(Rects.size());
    std::memcpy(Buf.data(), &Head, sizeof(Head));
    std::memcpy(Buf.data() + 32, Rects.data(), Rects.size() * 16);
    return Buf;
}

void ExtCreateRegionRuns(benchmark::State& State) {
    const std::vector<char> Buf = MaskRuns(0);
    for (auto _ : State) {
        HRGN R = ExtCreateRegion(nullptr, DWORD(Buf.size()),
                                 reinterpret_cast<const RGNDATA*>(Buf.data()));
        DeleteObject(ToObj(R));
    }
}
BENCHMARK(ExtCreateRegionRuns)->Unit(benchmark::kMillisecond);

void CombineRgnOr(benchmark::State& State) {
    const std::vector<char> A = MaskRuns(0), B = MaskRuns(3);
    HRGN RA = ExtCreateRegion(nullptr, DWORD(A.size()), reinterpret_cast<const RGNDATA*>(A.data()));
    HRGN RB = ExtCreateRegion(nullptr, DWORD(B.size()), reinterpret_cast<const RGNDATA*>(B.data()));
    HRGN D = CreateRectRgn(0, 0, 0, 0);
    for (auto _ : State)
        CombineRgn(D, RA, RB, RGN_OR);
    for (HRGN R : {RA, RB, D})
        DeleteObject(ToObj(R));
}
BENCHMARK(CombineRgnOr)->Unit(benchmark::kMillisecond);

const char* const Line = "视频转换 Video converter 图形层 Graphics 1234";

// First is measured once on a font nothing has used yet (its metrics and
// glyphs are made during the call); Repeated draws with everything cached.
void DrawTextLine(benchmark::State& State) {
    static int NextHeight = -9;
    TSection Dst(400, 40, 32);
    LOGFONT L;
    L.lfHeight = State.range(0) ? --NextHeight : -13;
    L.lfFaceName = "Arial";
    HFONT Font = CreateFontIndirect(&L);
    HGDIOBJ Old = SelectObject(Dst.DC(), ToObj(Font));
    for (auto _ : State) {
        TRect R{0, 0, 400, 40};
        DrawText(Dst.DC(), Line, -1, &R, DT_SINGLELINE | DT_VCENTER);
    }
    SelectObject(Dst.DC(), Old);
    DeleteObject(ToObj(Font));
}
BENCHMARK(DrawTextLine)
    ->Name("DrawTextLine/First")
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawTextLine)->Name("DrawTextLine/Repeated")->Arg(0)->Unit(benchmark::kMicrosecond);

TMemoryStream& BmpOfScreenSize() {
    static TMemoryStream* M = [] {
        auto* S = new TMemoryStream;
        TBitmap B;
        B.SetPixelFormat(pf24bit);
        B.SetSize(W, H);
        for (int Y = 0; Y < H; ++Y) {
            auto* Row = static_cast<std::uint8_t*>(B.ScanLine(Y));
            for (int X = 0; X < W * 3; ++X)
                Row[X] = std::uint8_t((X / 3 + Y) ^ (X * 5));
        }
        B.SaveToStream(S);
        return S;
    }();
    return *M;
}

void ReadBmp(benchmark::State& State) {
    TMemoryStream& M = BmpOfScreenSize();
    TBitmap B;
    for (auto _ : State) {
        M.SetPosition(0);
        B.LoadFromStream(&M);
    }
}
BENCHMARK(ReadBmp)->Unit(benchmark::kMillisecond);

template <class TPicture> void WritePicture(benchmark::State& State) {
    TMemoryStream& M = BmpOfScreenSize();
    M.SetPosition(0);
    TBitmap B;
    B.LoadFromStream(&M);
    TPicture P;
    P.Assign(&B);
    for (auto _ : State) {
        TMemoryStream Out;
        P.SaveToStream(&Out);
        benchmark::DoNotOptimize(Out.Size());
    }
}
BENCHMARK_TEMPLATE(WritePicture, TPngImage)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(WritePicture, TJPEGImage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
