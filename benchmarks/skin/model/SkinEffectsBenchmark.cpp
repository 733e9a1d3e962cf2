// Speed of what runs at every paint of a resized form or control: the
// nine-part painters and regions, the blur of the soft glow and the glowing
// caption, and one frame of a button's cross-fade.
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"

#include <benchmark/benchmark.h>

namespace {

// A 200 x 150 skin rectangle at (10, 10) of a patterned picture.
struct TFrame {
    TFrame() {
        Picture.SetSize(220, 170);
        for (int Y = 0; Y < 170; ++Y)
            for (int X = 0; X < 220; ++X)
                Picture.Canvas()->SetPixels(X, Y, TColor(RGB(BYTE(X), BYTE(Y), BYTE(X ^ Y))));
        Mask.SetPixelFormat(pf24bit);
        Mask.SetSize(200, 150);
        for (int Y = 0; Y < 150; ++Y)
            for (int X = 0; X < 200; ++X) {
                const int CX = X < 20 ? 20 - X : (X >= 180 ? X - 179 : 0);
                const int CY = Y < 20 ? 20 - Y : (Y >= 130 ? Y - 129 : 0);
                Mask.Canvas()->SetPixels(X, Y, CX * CX + CY * CY > 400 ? clWhite : clBlack);
            }
    }
    TBitmap Picture, Mask;
    const TRect Skin{10, 10, 210, 160};
    const TPoint LT{40, 40}, RT{160, 40}, LB{40, 110}, RB{160, 110};
    const TRect Cl{20, 20, 180, 130};
    static constexpr int W = 1280, H = 800, DW = W - 200, DH = H - 150;
    TPoint NewRT() const { return {RT.X + DW, RT.Y}; }
    TPoint NewLB() const { return {LB.X, LB.Y + DH}; }
    TPoint NewRB() const { return {RB.X + DW, RB.Y + DH}; }
    TRect NewCl() const { return {Cl.Left, Cl.Top, Cl.Right + DW, Cl.Bottom + DH}; }
};

void BM_MakeNinePartBitmap(benchmark::State& State) {
    TFrame F;
    const bool Stretch = State.range(0) != 0;
    TBitmap Dest;
    for (auto _ : State)
        MakeNinePartBitmap(F.LT, F.RT, F.LB, F.RB, F.Cl, F.LT, F.NewRT(), F.NewLB(), F.NewRB(),
                           F.NewCl(), &Dest, &F.Picture, F.Skin, F.W, F.H, true, Stretch, Stretch,
                           Stretch, Stretch, Stretch, bsstFull);
    State.SetLabel(Stretch ? "stretched, 200 x 150 to 1280 x 800"
                           : "tiled, 200 x 150 to 1280 x 800");
}
BENCHMARK(BM_MakeNinePartBitmap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MakeFrameBorderBitmaps(benchmark::State& State) {
    TFrame F;
    TBitmap L, T, R, B;
    for (auto _ : State)
        MakeFrameBorderBitmaps(F.LT, F.RT, F.LB, F.RB, F.Cl, F.LT, F.NewRT(), F.NewLB(), F.NewRB(),
                               F.NewCl(), &L, &T, &R, &B, &F.Picture, F.Skin, F.W, F.H, false,
                               false, false, false);
}
BENCHMARK(BM_MakeFrameBorderBitmaps)->Unit(benchmark::kMillisecond);

void BM_MakeNinePartRegion(benchmark::State& State) {
    TFrame F;
    const TPoint LT{20, 20}, RT{180, 20}, LB{20, 130}, RB{180, 130};
    for (auto _ : State) {
        HRGN Rgn = 0;
        MakeNinePartRegion(Rgn, LT, RT, LB, RB, F.Cl, LT, {RT.X + F.DW, RT.Y}, {LB.X, LB.Y + F.DH},
                           {RB.X + F.DW, RB.Y + F.DH}, F.NewCl(), &F.Mask, F.W, F.H);
        DeleteObject(ToObj(Rgn));
    }
    State.SetLabel("1280 x 800, rounded corners");
}
BENCHMARK(BM_MakeNinePartRegion)->Unit(benchmark::kMillisecond);

void BM_MaskToRegionData(benchmark::State& State) {
    // About 100,000 runs: a dot every 20 pixels across 1920 x 1080.
    TBitmap Mask;
    Mask.SetPixelFormat(pf24bit);
    Mask.SetSize(1920, 1080);
    Mask.Canvas()->Brush()->SetColor(clWhite);
    Mask.Canvas()->FillRect({0, 0, 1920, 1080});
    for (int Y = 0; Y < 1080; ++Y)
        for (int X = (Y * 7) % 20; X < 1920; X += 20)
            Mask.Canvas()->SetPixels(X, Y, clBlack);
    std::vector<BYTE> Data;
    for (auto _ : State)
        benchmark::DoNotOptimize(MaskToRegionData(&Mask, 0, 0, Data));
    State.SetLabel(std::to_string((Data.size() - 32) / 16) + " runs");
}
BENCHMARK(BM_MaskToRegionData)->Unit(benchmark::kMillisecond);

void BM_BlurTwice(benchmark::State& State) {
    TbsBitmap B;
    B.SetSize(400, 60);
    for (int I = 0; I < 400 * 60; ++I)
        B.Bits()[I] = TbsColor(I * 2654435761u);
    for (auto _ : State) {
        BlurBitmap(&B, 6);
        BlurBitmap(&B, 6);
    }
    State.SetLabel("400 x 60, radius 6, twice");
}
BENCHMARK(BM_BlurTwice)->Unit(benchmark::kMicrosecond);

void BM_DrawVistaGlowText(benchmark::State& State) {
    TBitmap Target;
    Target.SetSize(400, 60);
    Target.Canvas()->Font()->SetName("Tahoma");
    Target.Canvas()->Font()->SetHeight(-13);
    const std::string Caption = "视频转换软件 Video Converter";
    for (auto _ : State)
        DrawVistaGlowText(Target.Canvas(), {20, 18, 380, 40}, Caption, DT_SINGLELINE,
                          RGB(255, 255, 255));
    State.SetLabel("20-character caption");
}
BENCHMARK(BM_DrawVistaGlowText)->Unit(benchmark::kMicrosecond);

void BM_MorphStep(benchmark::State& State) {
    TbsEffectBmp A(200, 30), B(200, 30);
    for (int I = 0; I < B.Size; ++I)
        B.Bits[I] = BYTE(I * 7);
    const bool Grad = State.range(0) != 0;
    for (auto _ : State) {
        if (Grad)
            A.MorphGrad(&B, 0.4);
        else
            A.Morph(&B, 0.4);
    }
    State.SetLabel(Grad ? "MorphGrad, 200 x 30" : "Morph, 200 x 30");
}
BENCHMARK(BM_MorphStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
