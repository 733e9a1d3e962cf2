// Speed of the skin bitmap's inner loops: the row kernels, the stretch
// routines, drawing onto window DCs and other skin bitmaps, tiling, and the
// whole-bitmap passes a skin load runs.
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/model/bsEffects.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void Fill(TbsBitmap& B, int W, int H, bool Alpha) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TbsColor A = Alpha ? TbsColor((X * 7 + Y) & 0xFF) : 0xFF;
            B.SetPixel(X, Y, (A << 24) | TbsColor(X * 2654435761u >> 8 & 0xFFFFFF));
        }
    B.SetAlphaBlend(Alpha);
}

std::vector<TbsColor> Row(int N, bool Alpha) {
    std::vector<TbsColor> R(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I)
        R[std::size_t(I)] = (Alpha ? TbsColor(I & 0xFF) << 24 : 0xFF000000u) | TbsColor(I * 977);
    return R;
}

void BM_BlendLine(benchmark::State& State) {
    SelectPixelKernels(State.range(0) ? bvMMX : bvPlain);
    const auto Src = Row(1920, true);
    auto Dst = Row(1920, false);
    for (auto _ : State) {
        PixelKernels().BlendLine(Src.data(), Dst.data(), 1920);
        benchmark::DoNotOptimize(Dst.data());
    }
    SelectPixelKernels(bvDetect);
    State.SetLabel(State.range(0) ? "wide" : "plain");
    State.SetItemsProcessed(State.iterations() * 1920);
}
BENCHMARK(BM_BlendLine)->Arg(0)->Arg(1);

void BM_TransparentLine(benchmark::State& State) {
    auto Src = Row(1920, false);
    for (std::size_t I = 0; I < Src.size(); I += 3)
        Src[I] = TransparentKey;
    auto Dst = Row(1920, false);
    for (auto _ : State) {
        PixelKernels().TransparentLine(Src.data(), Dst.data(), 1920);
        benchmark::DoNotOptimize(Dst.data());
    }
    State.SetItemsProcessed(State.iterations() * 1920);
}
BENCHMARK(BM_TransparentLine);

void BM_MoveLongword(benchmark::State& State) {
    const auto Src = Row(1920, false);
    auto Dst = Row(1920, false);
    for (auto _ : State) {
        PixelKernels().MoveLongword(Src.data(), Dst.data(), 1920);
        benchmark::DoNotOptimize(Dst.data());
    }
    State.SetItemsProcessed(State.iterations() * 1920);
}
BENCHMARK(BM_MoveLongword);

// Args: alpha?, source width, source height, destination width, destination height.
void BM_StretchBitmap(benchmark::State& State) {
    const bool Alpha = State.range(0) != 0;
    TbsBitmap Src, Dst;
    Fill(Src, int(State.range(1)), int(State.range(2)), Alpha);
    Fill(Dst, int(State.range(3)), int(State.range(4)), false);
    const TRect R{0, 0, Dst.Width(), Dst.Height()};
    for (auto _ : State)
        Src.Draw(&Dst, R);
    State.SetLabel(Alpha ? "StretchBitmapAlpha" : "StretchBitmapOpaque");
    State.SetItemsProcessed(State.iterations() * Dst.Width() * Dst.Height());
}
BENCHMARK(BM_StretchBitmap)
    ->Args({0, 1920, 1080, 1280, 720})
    ->Args({1, 1920, 1080, 1280, 720})
    ->Args({0, 64, 64, 1920, 1080})
    ->Args({1, 64, 64, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

// A headless top-level window for the window-DC paths.
class TWindowFixture {
public:
    TWindowFixture(int W, int H) {
        SetBackend(&FHeadless);
        WNDCLASS C;
        C.lpfnWndProc = [](HWND Wnd, UINT Msg, WPARAM WP, LPARAM LP) {
            return DefWindowProc(Wnd, Msg, WP, LP);
        };
        C.lpszClassName = "SkinBenchWnd";
        RegisterClass(&C);
        FWnd = CreateWindowEx(0, "SkinBenchWnd", "", WS_POPUP | WS_VISIBLE, 0, 0, W, H, nullptr,
                              nullptr, nullptr, nullptr);
        ProcessPending();
        FDC = GetDC(FWnd);
    }
    ~TWindowFixture() {
        ReleaseDC(FWnd, FDC);
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    HDC DC() const { return FDC; }

private:
    THeadlessBackend FHeadless;
    HWND FWnd = nullptr;
    HDC FDC = 0;
};

void BM_DrawOntoWindow(benchmark::State& State) {
    TWindowFixture Window(800, 600);
    TbsBitmap Src;
    Fill(Src, 400, 300, true);
    for (auto _ : State)
        Src.Draw(Window.DC(), 100, 100);
    State.SetLabel("alpha, composed through the window DC");
}
BENCHMARK(BM_DrawOntoWindow)->Unit(benchmark::kMicrosecond);

void BM_DrawOntoBitmap(benchmark::State& State) {
    TbsBitmap Src, Dst;
    Fill(Src, 400, 300, true);
    Fill(Dst, 800, 600, false);
    for (auto _ : State)
        Src.Draw(Dst.Canvas(), 100, 100);
    State.SetLabel("alpha, in memory");
}
BENCHMARK(BM_DrawOntoBitmap)->Unit(benchmark::kMicrosecond);

// Arg: 0 direct DIB path, 1 window DC, 2 skin bitmap.
void BM_Tile(benchmark::State& State) {
    TbsBitmap Tile;
    Fill(Tile, 16, 16, false);
    const TRect R{0, 0, 1920, 1080};
    const TRect S{0, 0, 16, 16};
    switch (State.range(0)) {
    case 0: {
        BITMAPINFO Info{};
        Info.bmiHeader.biWidth = 1920;
        Info.bmiHeader.biHeight = 1080;
        Info.bmiHeader.biBitCount = 32;
        void* Bits = nullptr;
        HDC DC = CreateCompatibleDC(0);
        HBITMAP Dib = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
        HGDIOBJ Old = SelectObject(DC, ToObj(Dib));
        for (auto _ : State)
            Tile.Tile(DC, R, S);
        SelectObject(DC, Old);
        DeleteObject(ToObj(Dib));
        DeleteDC(DC);
        State.SetLabel("direct into a bottom-up DIB section");
        break;
    }
    case 1: {
        TWindowFixture Window(1920, 1080);
        for (auto _ : State)
            Tile.Tile(Window.DC(), R, S);
        State.SetLabel("through a window DC");
        break;
    }
    default: {
        TbsBitmap Dst;
        Fill(Dst, 1920, 1080, false);
        for (auto _ : State)
            Tile.Tile(&Dst, R, S);
        State.SetLabel("into a skin bitmap");
        break;
    }
    }
}
BENCHMARK(BM_Tile)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_Reflection(benchmark::State& State) {
    TbsBitmap B;
    for (auto _ : State) {
        State.PauseTiming();
        Fill(B, 400, 100, false);
        State.ResumeTiming();
        B.Reflection();
    }
}
BENCHMARK(BM_Reflection)->Unit(benchmark::kMicrosecond);

void BM_CheckingTransparent(benchmark::State& State) {
    TbsBitmap B;
    Fill(B, 400, 100, false);
    for (auto _ : State)
        B.CheckingTransparent(0x00FF00FF);
}
BENCHMARK(BM_CheckingTransparent)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
