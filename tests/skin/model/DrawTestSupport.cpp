#include "tests/skin/model/DrawTestSupport.h"

void FillBitmap(TbsBitmap& B, int W, int H, TbsColor Color) {
    B.SetSize(W, H);
    B.Clear(Color);
}

void NumberPixels(TbsBitmap& B, int W, int H) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B.SetPixel(X, Y, Numbered(X, Y));
}

TDibSurface::TDibSurface(int Width, int Height, bool BottomUp)
    : FWidth(Width), FHeight(Height), FBottomUp(BottomUp) {
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = Width;
    Info.bmiHeader.biHeight = BottomUp ? Height : -Height;
    Info.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    FDC = CreateCompatibleDC(0);
    FBitmap = CreateDIBSection(FDC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    FBits = static_cast<TbsColor*>(Bits);
    FOld = SelectObject(FDC, ToObj(FBitmap));
}

TDibSurface::~TDibSurface() {
    SelectObject(FDC, FOld);
    DeleteObject(ToObj(FBitmap));
    DeleteDC(FDC);
}

TbsColor& TDibSurface::At(int X, int Y) const {
    const int Row = FBottomUp ? FHeight - 1 - Y : Y;
    return FBits[Row * FWidth + X];
}

void TDibSurface::Fill(TbsColor Color) {
    for (int I = 0; I < FWidth * FHeight; ++I)
        FBits[I] = Color;
}

std::unique_ptr<TBitmap> WhiteCanvas(int W, int H) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetColor(clWhite);
    B->Canvas()->FillRect({0, 0, W, H});
    return B;
}

std::string Picture(TBitmap* B, TColor Ink) {
    std::string Out;
    for (int Y = 0; Y < B->Height(); ++Y) {
        for (int X = 0; X < B->Width(); ++X) {
            const TColor C = B->Canvas()->Pixels(X, Y);
            Out += C == clWhite ? '.' : (C == Ink ? '#' : '?');
        }
        Out += '\n';
    }
    return Out;
}

void TDrawWindowTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
}

void TDrawWindowTest::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

HWND TDrawWindowTest::MakeFilledWindow(const TRect& R, COLORREF Color, DWORD ExStyle) {
    WNDCLASS C;
    C.lpfnWndProc = [](HWND W, UINT M, WPARAM WP, LPARAM LP) {
        return DefWindowProc(W, M, WP, LP);
    };
    C.lpszClassName = "SkinDrawTestWnd";
    RegisterClass(&C);
    HWND Wnd = CreateWindowEx(ExStyle, "SkinDrawTestWnd", "", WS_POPUP | WS_VISIBLE, R.Left, R.Top,
                              R.Width(), R.Height(), nullptr, nullptr, nullptr, nullptr);
    ProcessPending();
    HDC DC = GetDC(Wnd);
    HBRUSH Brush = CreateSolidBrush(Color);
    const TRect Client{0, 0, R.Width(), R.Height()};
    ::FillRect(DC, &Client, Brush);
    DeleteObject(ToObj(Brush));
    ReleaseDC(Wnd, DC);
    return Wnd;
}
