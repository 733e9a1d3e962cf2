// Draws one picture with the effect pictures, Stack Blur, the text effects,
// the nine-part painters and a mask region. Usage:
//   skin-effects-demo out.png   the picture, drawn offscreen
//   skin-effects-demo --window  the picture in a form on the desktop, a
//                               window shaped by a rounded mask and a glow
//                               layer faded in over the form; prints whether
//                               layered windows can be seen, then "ready"
//                               once the fade is over.
#include "platform/core/Conversions.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/PngImage.h"
#include "platform/win/Windows.h"
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"
#include "tests/support/DemoDesktop.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

constexpr int DemoWidth = 1000;
constexpr int DemoHeight = 640;

void Caption(TCanvas* C, int X, int Y, const std::string& Text) {
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-11);
    C->Font()->SetStyle({fsBold});
    C->Font()->SetColor(clNavy);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(X, Y, Text);
    C->Font()->SetStyle({});
}

// Two pictures to move between: warm diagonal bands and cool rings.
std::unique_ptr<TbsEffectBmp> Warm(int W, int H) {
    auto E = std::make_unique<TbsEffectBmp>(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            BYTE* P = E->Bits + Y * (W * 3 + W % 4) + X * 3;
            const bool Band = ((X + Y) / 8) % 2 == 0;
            P[0] = BYTE(Band ? 40 : 10);
            P[1] = BYTE(Band ? 140 : 60 + Y * 2);
            P[2] = BYTE(Band ? 250 : 200);
        }
    return E;
}

std::unique_ptr<TbsEffectBmp> Cool(int W, int H) {
    auto E = std::make_unique<TbsEffectBmp>(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            BYTE* P = E->Bits + Y * (W * 3 + W % 4) + X * 3;
            const int D = int(std::hypot(X - W / 2, Y - H / 2));
            P[0] = BYTE(D % 10 < 5 ? 230 : 120);
            P[1] = BYTE(D % 10 < 5 ? 160 : 60);
            P[2] = BYTE(40);
        }
    return E;
}

void Transitions(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Transitions at Kf 0, 0.25, 0.5, 0.75, 1");
    using TMorph = void (TbsEffectBmp::*)(TbsEffectBmp*, double);
    const TMorph Morphs[] = {
        &TbsEffectBmp::Morph,      &TbsEffectBmp::MorphGrad,      &TbsEffectBmp::MorphHGrad,
        &TbsEffectBmp::MorphVGrad, &TbsEffectBmp::MorphLeftGrad,  &TbsEffectBmp::MorphRightGrad,
        &TbsEffectBmp::MorphPush,  &TbsEffectBmp::MorphLeftSlide, &TbsEffectBmp::MorphRightSlide};
    const auto To = Cool(64, 26);
    int Top = Y + 16;
    for (TMorph M : Morphs) {
        for (int K = 0; K <= 4; ++K) {
            auto From = Warm(64, 26);
            (From.get()->*M)(To.get(), K / 4.0);
            From->Draw(C->Handle(), X + K * 68, Top);
        }
        Top += 30;
    }
}

void ColourEffects(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Colour and image effects");
    using TEffect = void (*)(TbsEffectBmp&);
    const TEffect Effects[] = {
        [](TbsEffectBmp& E) { E.ChangeBrightness(0.4); },
        [](TbsEffectBmp& E) { E.ChangeDarkness(0.4); },
        [](TbsEffectBmp& E) { E.Invert(); },
        [](TbsEffectBmp& E) { E.GrayScale(); },
        [](TbsEffectBmp& E) { E.SplitBlur(3); },
        [](TbsEffectBmp& E) { E.Mosaic(6); },
        [](TbsEffectBmp& E) {
            SetRandSeed(7);
            E.AddMonoNoise(60);
        },
        [](TbsEffectBmp& E) {
            SetRandSeed(7);
            E.AddColorNoise(60);
        },
        [](TbsEffectBmp& E) { E.Wave(6, 6, 4); },
    };
    int Left = X;
    for (TEffect F : Effects) {
        auto E = Warm(48, 48);
        F(*E);
        E->Draw(C->Handle(), Left, Y + 16);
        Left += 52;
    }
    auto Source = Warm(48, 32);
    TbsEffectBmp Turned(32, 48), Mask(48, 32);
    Source->Rotate90_1(&Turned);
    Turned.Draw(C->Handle(), X, Y + 70);
    for (int MY = 0; MY < 32; ++MY)
        for (int MX = 0; MX < 48; ++MX)
            std::memset(Mask.Bits + MY * (48 * 3) + MX * 3,
                        (MX - 24) * (MX - 24) + (MY - 16) * (MY - 16) < 196 ? 0 : 255, 3);
    Source->MaskFillColor(&Mask, clTeal, 0.6);
    Source->Draw(C->Handle(), X + 40, Y + 70);
}

void Blurs(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Stack Blur, radii 0, 1, 3, 6");
    int Left = X;
    for (int R : {0, 1, 3, 6}) {
        TbsBitmap B;
        B.SetSize(56, 56);
        B.Clear(0xFFFFFFFF);
        B.FillRect({8, 8, 48, 20}, 0xFF2040C0);
        B.FillRect({20, 26, 36, 50}, 0xFFC02020);
        BlurBitmap(&B, R);
        B.Draw(C, Left, Y + 16);
        Left += 58;
    }
}

void TextEffects(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Glow, outline glow, soft glow, reflection");
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-16);
    C->Font()->SetColor(clWhite);
    const std::string Text = "视频转换 Converter";
    DrawGlowText(C, Bounds(X + 14, Y + 24, 190, 22), Text, DT_SINGLELINE, 1, RGB(0, 60, 200), 4);
    DrawOutlineGlowText(C, Bounds(X + 14, Y + 60, 190, 22), Text, DT_SINGLELINE, 0, RGB(200, 40, 0),
                        2);
    C->Font()->SetColor(clBlack);
    DrawVistaGlowText(C, Bounds(X + 220, Y + 28, 170, 22), Text, DT_SINGLELINE, RGB(255, 200, 60));
    DrawReflectionText(C, Bounds(X + 220, Y + 60, 170, 22), Text, DT_SINGLELINE, 1, RGB(0, 0, 0));
}

// A 30 x 24 element: a dark frame with lighter bevels, notched top edge,
// a patterned client.
std::unique_ptr<TBitmap> ElementPicture() {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(30, 24);
    TCanvas* C = B->Canvas();
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 30; ++X) {
            const bool Client = X >= 5 && X < 25 && Y >= 4 && Y < 20;
            TColor Color = Client ? (((X + Y) % 4 < 2) ? TColor(RGB(230, 236, 246))
                                                       : TColor(RGB(210, 220, 240)))
                                  : TColor(RGB(40 + X * 3, 60 + Y * 2, 120));
            if (!Client && Y < 4 && X % 7 == 3)
                Color = TColor(RGB(250, 200, 60));
            C->SetPixels(X, Y, Color);
        }
    return B;
}

void NineParts(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Nine parts at five sizes: tiled above, stretched below");
    auto Picture = ElementPicture();
    const TPoint LT{8, 6}, RT{22, 6}, LB{8, 18}, RB{22, 18};
    const TRect Cl{5, 4, 25, 20};
    const TSize Sizes[] = {{30, 24}, {52, 30}, {80, 40}, {110, 56}, {150, 70}};
    for (bool Stretch : {false, true}) {
        int Left = X;
        for (TSize S : Sizes) {
            const int DW = S.cx - 30, DH = S.cy - 24;
            TBitmap D;
            MakeNinePartBitmap(LT, RT, LB, RB, Cl, LT, {RT.X + DW, RT.Y}, {LB.X, LB.Y + DH},
                               {RB.X + DW, RB.Y + DH}, {5, 4, 25 + DW, 20 + DH}, &D, Picture.get(),
                               {0, 0, 30, 24}, S.cx, S.cy, true, Stretch, Stretch, Stretch, Stretch,
                               Stretch, bsstFull);
            C->Draw(Left, Y + 16 + (Stretch ? 76 : 0), &D);
            Left += S.cx + 8;
        }
    }
}

// The mask of a rounded element: black inside, white corners.
std::unique_ptr<TBitmap> RoundedMask() {
    auto M = std::make_unique<TBitmap>();
    M->SetPixelFormat(pf24bit);
    M->SetSize(30, 24);
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 30; ++X) {
            const int CX = X < 8 ? 8 - X : (X >= 22 ? X - 21 : 0);
            const int CY = Y < 8 ? 8 - Y : (Y >= 16 ? Y - 15 : 0);
            M->Canvas()->SetPixels(X, Y, CX * CX + CY * CY > 64 ? clWhite : clBlack);
        }
    return M;
}

HRGN RoundedRegion(int W, int H) {
    auto Mask = RoundedMask();
    const int DW = W - 30, DH = H - 24;
    HRGN Rgn = 0;
    MakeNinePartRegion(Rgn, {8, 8}, {22, 8}, {8, 16}, {22, 16}, {8, 8, 22, 16}, {8, 8},
                       {22 + DW, 8}, {8, 16 + DH}, {22 + DW, 16 + DH}, {8, 8, 22 + DW, 16 + DH},
                       Mask.get(), W, H);
    return Rgn;
}

void RegionOutline(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Region of a rounded mask, 140 x 80");
    HRGN Rgn = RoundedRegion(140, 80);
    if (!Rgn)
        return;
    for (int RY = 0; RY < 80; ++RY)
        for (int RX = 0; RX < 140; ++RX) {
            if (!PtInRegion(Rgn, RX, RY))
                continue;
            const bool Edge = !PtInRegion(Rgn, RX - 1, RY) || !PtInRegion(Rgn, RX + 1, RY) ||
                              !PtInRegion(Rgn, RX, RY - 1) || !PtInRegion(Rgn, RX, RY + 1);
            C->SetPixels(X + RX, Y + 16 + RY, Edge ? clNavy : TColor(RGB(200, 215, 240)));
        }
    DeleteObject(ToObj(Rgn));
}

void DrawDemo(TCanvas* C) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWhite);
    C->FillRect({0, 0, DemoWidth, DemoHeight});
    Transitions(C, 10, 10);
    ColourEffects(C, 370, 10);
    Blurs(C, 370, 150);
    TextEffects(C, 600, 150);
    NineParts(C, 10, 300);
    RegionOutline(C, 10, 480);
}

std::unique_ptr<TbsBitmap> DemoPicture() {
    auto Picture = std::make_unique<TbsBitmap>();
    Picture->SetSize(DemoWidth, DemoHeight);
    DrawDemo(Picture->Canvas());
    Picture->SetAlpha(255);
    return Picture;
}

int WritePicture(const char* Path) {
    auto Picture = DemoPicture();
    TBitmap Bmp;
    Picture->AssignTo(&Bmp);
    TPngImage Png;
    Png.Assign(&Bmp);
    try {
        Png.SaveToFile(Path);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "skin-effects-demo: %s\n", E.what());
        return 1;
    }
    std::printf("%s\n", Path);
    return 0;
}

// ---------------------------------------------------------------- on the desktop

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner), FPicture(DemoPicture()) {
        OnPaint = TNotifyEvent(this, &TDemoForm::PaintPicture);
    }

private:
    void PaintPicture(TObject*) { FPicture->Draw(Canvas(), 0, 0); }
    std::unique_ptr<TbsBitmap> FPicture;
};

LRESULT ShapedProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_PAINT) {
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(Wnd, &PS);
        TRect R;
        GetClientRect(Wnd, &R);
        HBRUSH B = CreateSolidBrush(RGB(30, 90, 200));
        ::FillRect(DC, &R, B);
        DeleteObject(ToObj(B));
        EndPaint(Wnd, &PS);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// A glow picture: a blue rectangle whose mask fades from the middle out.
void GlowPictures(TBitmap& Image, TBitmap& Mask, int W, int H) {
    Image.SetSize(W, H);
    Image.Canvas()->Brush()->SetColor(TColor(RGB(0, 80, 255)));
    Image.Canvas()->FillRect({0, 0, W, H});
    Mask.SetPixelFormat(pf24bit);
    Mask.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const double D = std::hypot((X - W / 2.0) / (W / 2.0), (Y - H / 2.0) / (H / 2.0));
            const int G = D >= 1 ? 0 : int(220 * (1 - D));
            Mask.Canvas()->SetPixels(X, Y, TColor(RGB(BYTE(G), BYTE(G), BYTE(G))));
        }
}

int ShowOnDesktop(TDemoDesktop& Demo) {
    Demo.Start();
    int Status = 0;
    try {
        Application->Initialize();
        Application->SetTitle("skin-effects-demo");
        auto* Form = new TDemoForm(nullptr);
        Form->SetCaption("skin-effects-demo");
        Form->SetBounds(20, 20, DemoWidth + 20, DemoHeight + 40);
        Form->SetClientWidth(DemoWidth);
        Form->SetClientHeight(DemoHeight);
        Application->SetMainForm(Form);
        Form->Show();

        WNDCLASS Class;
        Class.lpfnWndProc = ShapedProc;
        Class.lpszClassName = "SkinEffectsShaped";
        RegisterClass(&Class);
        HWND Shaped = CreateWindowEx(0, "SkinEffectsShaped", "shaped", WS_POPUP, 1300, 100, 300,
                                     200, nullptr, nullptr, nullptr, nullptr);
        SetWindowRgn(Shaped, RoundedRegion(300, 200), TRUE);
        ShowWindow(Shaped, SW_SHOWNOACTIVATE);

        const bool Layered = IsLayeredWindowSupported();
        std::printf("layered windows: %s\n", Layered ? "yes" : "no");
        std::fflush(stdout);
        TBitmap Image, Mask;
        GlowPictures(Image, Mask, 300, 160);
        TbsLayerManager Glow(nullptr);
        TTimer Ready(nullptr);
        Ready.SetInterval(50);
        Ready.SetOnTimer([&](TObject*) {
            if (Glow.Timer()->Enabled())
                return;
            Ready.SetEnabled(false);
            std::printf("ready\n");
            std::fflush(stdout);
        });
        Glow.Show(600, 300, 255, &Mask, &Image);
        Application->Run();
        Glow.Hide();
        DestroyWindow(Shaped);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "skin-effects-demo: %s\n", E.what());
        Status = 1;
    }
    Demo.Close();
    return Status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-effects-demo out.png | --window\n");
        return 2;
    }
    TDemoDesktop Demo("skin-effects-demo");
    if (std::strcmp(argv[1], "--window") == 0)
        return Demo.OpenDisplay(argv[0]) ? ShowOnDesktop(Demo) : 1;
    Demo.OpenOffscreen(argv[0]);
    return WritePicture(argv[1]);
}
