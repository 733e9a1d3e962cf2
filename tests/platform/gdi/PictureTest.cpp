#include "platform/gdi/GifImage.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/PngImage.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

// A smooth gradient: red across, green down, blue mixed.
void Gradient(TBitmap& B, int W, int H) {
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y) {
        auto* Row = static_cast<std::uint8_t*>(B.ScanLine(Y));
        for (int X = 0; X < W; ++X) {
            Row[X * 3] = std::uint8_t((X + Y) * 255 / (W + H));
            Row[X * 3 + 1] = std::uint8_t(Y * 255 / H);
            Row[X * 3 + 2] = std::uint8_t(X * 255 / W);
        }
    }
}

std::uint32_t PixelOf(TBitmap& B, int X, int Y) {
    return std::uint32_t(B.Canvas()->Pixels(X, Y));
}

bool SamePixels(TBitmap& A, TBitmap& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return false;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            if (PixelOf(A, X, Y) != PixelOf(B, X, Y))
                return false;
    return true;
}

template <class T> std::vector<std::uint8_t> Save(T& Graphic) {
    TMemoryStream M;
    Graphic.SaveToStream(&M);
    std::vector<std::uint8_t> Out(std::size_t(M.Size()));
    M.SetPosition(0);
    M.ReadBuffer(Out.data(), M.Size());
    return Out;
}

template <class T> void Load(T& Graphic, const std::vector<std::uint8_t>& Bytes) {
    TMemoryStream M;
    M.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
    M.SetPosition(0);
    Graphic.LoadFromStream(&M);
}

} // namespace

TEST(Png, RoundTripsExactlyAndKeepsAlpha) {
    TBitmap Rgb;
    Gradient(Rgb, 17, 9);
    TPngImage P;
    P.Assign(&Rgb);
    TPngImage Q;
    Load(Q, Save(P));
    EXPECT_EQ(Q.Bitmap()->PixelFormat(), pf24bit);
    EXPECT_TRUE(SamePixels(*Q.Bitmap(), Rgb));

    TBitmap Pal;
    Pal.SetPixelFormat(pf8bit);
    Pal.SetSize(5, 3);
    Pal.Canvas()->SetPixels(1, 1, clTeal);
    Pal.Canvas()->SetPixels(4, 2, clYellow);
    P.Assign(&Pal);
    Load(Q, Save(P));
    EXPECT_TRUE(SamePixels(*Q.Bitmap(), Pal));

    TBitmap Alpha;
    Alpha.SetPixelFormat(pf32bit);
    Alpha.SetSize(2, 1);
    auto* Px = static_cast<std::uint32_t*>(Alpha.ScanLine(0));
    Px[0] = 0x80FF0000;
    Px[1] = 0x00000000;
    Alpha.SetAlphaFormat(afDefined);
    P.Assign(&Alpha);
    Load(Q, Save(P));
    TBitmap Out;
    Out.Assign(&Q);
    EXPECT_EQ(Out.PixelFormat(), pf32bit);
    EXPECT_EQ(Out.AlphaFormat(), afDefined);
    EXPECT_EQ(static_cast<std::uint32_t*>(Out.ScanLine(0))[0], 0x80FF0000u);

    // Drawn blended: half red over white.
    TBitmap Target;
    Target.SetSize(2, 1);
    Target.Canvas()->Brush()->SetColor(clWhite);
    Target.Canvas()->FillRect(Rect(0, 0, 2, 1));
    Target.Canvas()->Draw(0, 0, &Q);
    EXPECT_EQ(Target.Canvas()->Pixels(0, 0), TColor(RGB(255, 127, 127)));
    EXPECT_EQ(Target.Canvas()->Pixels(1, 0), clWhite);
}

TEST(Jpeg, RoundTripKeepsSizeAndCloseColours) {
    TBitmap G;
    Gradient(G, 64, 64);
    TJPEGImage J;
    J.Assign(&G);
    EXPECT_EQ(J.CompressionQuality(), 90);
    TJPEGImage K;
    Load(K, Save(J));
    TBitmap Out;
    Out.Assign(&K);
    ASSERT_EQ(Out.Width(), 64);
    ASSERT_EQ(Out.Height(), 64);
    EXPECT_EQ(Out.PixelFormat(), pf24bit);
    long Error = 0;
    for (int Y = 0; Y < 64; ++Y) {
        auto* A = static_cast<std::uint8_t*>(G.ScanLine(Y));
        auto* B = static_cast<std::uint8_t*>(Out.ScanLine(Y));
        for (int i = 0; i < 64 * 3; ++i)
            Error += std::abs(int(A[i]) - int(B[i]));
    }
    EXPECT_LT(double(Error) / (64 * 64 * 3), 3.0);
}

TEST(Gif, FewColoursExactlyManyColoursReducedTheSameEachTime) {
    TBitmap Few;
    Few.SetPixelFormat(pf24bit);
    Few.SetSize(20, 10);
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 20; ++X)
            Few.Canvas()->SetPixels(X, Y, TColor(RGB(BYTE(X * 10), BYTE(Y * 20), 7)));
    TGIFImage G;
    G.Assign(&Few);
    TGIFImage H;
    Load(H, Save(G));
    TBitmap Out;
    Out.Assign(&H);
    EXPECT_EQ(Out.PixelFormat(), pf8bit);
    EXPECT_TRUE(SamePixels(Out, Few));

    TBitmap Photo;
    Gradient(Photo, 64, 64);
    G.Assign(&Photo);
    const auto First = Save(G);
    EXPECT_EQ(First, Save(G));
    Load(H, First);
    std::set<std::uint32_t> Colours;
    for (int Y = 0; Y < 64; ++Y)
        for (int X = 0; X < 64; ++X)
            Colours.insert(PixelOf(*H.Bitmap(), X, Y));
    EXPECT_LE(Colours.size(), 256u);
    EXPECT_GT(Colours.size(), 64u);
}

// A video frame has far more than 256 colours; flat areas of it must still
// come back as their own colour, and the rest close to it.
TEST(Gif, ManyColoursKeepTheFramesColours) {
    struct Patch {
        COLORREF Colour;
        int X, Y;
    };
    const Patch Patches[] = {
        {RGB(128, 128, 128), 0, 0}, {RGB(0, 254, 0), 40, 0},    {RGB(255, 255, 255), 80, 0},
        {RGB(0, 0, 0), 0, 40},      {RGB(200, 30, 40), 40, 40}, {RGB(20, 40, 230), 80, 40},
    };
    TBitmap Frame;
    Gradient(Frame, 320, 240);
    // Grain over the gradient, as a camera's picture has.
    std::uint32_t Seed = 1;
    for (int Y = 0; Y < 240; ++Y) {
        auto* Row = static_cast<std::uint8_t*>(Frame.ScanLine(Y));
        for (int I = 0; I < 320 * 3; ++I) {
            Seed = Seed * 1103515245u + 12345u;
            Row[I] = std::uint8_t(std::clamp(int(Row[I]) + int((Seed >> 16) % 17) - 8, 0, 255));
        }
    }
    for (const Patch& P : Patches) {
        Frame.Canvas()->Brush()->SetColor(TColor(P.Colour));
        Frame.Canvas()->FillRect(Rect(P.X, P.Y, P.X + 30, P.Y + 30));
    }
    TGIFImage G;
    G.Assign(&Frame);
    TGIFImage H;
    Load(H, Save(G));
    TBitmap Out;
    Out.Assign(&H);
    ASSERT_EQ(Out.Width(), 320);
    auto Distance = [](COLORREF A, COLORREF B) {
        return std::max({std::abs(int(GetRValue(A)) - int(GetRValue(B))),
                         std::abs(int(GetGValue(A)) - int(GetGValue(B))),
                         std::abs(int(GetBValue(A)) - int(GetBValue(B)))});
    };
    for (const Patch& P : Patches)
        for (const auto& [DX, DY] : {std::pair{5, 5}, std::pair{15, 15}, std::pair{25, 20}}) {
            const auto Got = COLORREF(PixelOf(Out, P.X + DX, P.Y + DY));
            EXPECT_LE(Distance(Got, P.Colour), 8)
                << std::hex << "wanted " << P.Colour << " got " << Got;
        }
    // The gradient around them: close on average, never far off.
    long Sum = 0;
    int Worst = 0;
    for (int Y = 80; Y < 240; ++Y)
        for (int X = 0; X < 320; ++X) {
            const int D = Distance(COLORREF(PixelOf(Out, X, Y)), COLORREF(PixelOf(Frame, X, Y)));
            Sum += D;
            Worst = std::max(Worst, D);
        }
    EXPECT_LT(double(Sum) / (160 * 320), 8.0);
    EXPECT_LE(Worst, 40);
}

TEST(Pictures, DamagedFilesRaiseTheirErrorAndKeepThePicture) {
    TBitmap G;
    Gradient(G, 64, 64);
    TPngImage P;
    P.Assign(&G);
    TJPEGImage J;
    J.Assign(&G);
    TGIFImage F;
    F.Assign(&G);
    // Cut inside the pixel data, past the headers.
    auto Damage = [](std::vector<std::uint8_t> B) {
        B.resize(B.size() * 3 / 4);
        return B;
    };
    struct Row {
        TGraphic* Graphic;
        std::vector<std::uint8_t> Bytes;
        const char* Prefix;
    };
    std::vector<std::uint8_t> Garbage(100, 0x42);
    const Row Rows[] = {
        {&P, Damage(Save(P)), "PNG image is not valid: "},
        {&P, Garbage, "PNG image is not valid: "},
        {&J, Damage(Save(J)), "JPEG image is not valid: "},
        {&J, Garbage, "JPEG image is not valid: "},
        {&F, Damage(Save(F)), "GIF image is not valid: "},
        {&F, Garbage, "GIF image is not valid: "},
    };
    for (const Row& R : Rows) {
        TMemoryStream M;
        M.WriteBuffer(R.Bytes.data(), std::int64_t(R.Bytes.size()));
        M.SetPosition(0);
        try {
            R.Graphic->LoadFromStream(&M);
            ADD_FAILURE() << R.Prefix << "accepted";
        } catch (const EInvalidGraphic& E) {
            EXPECT_EQ(E.Message().rfind(R.Prefix, 0), 0u) << E.Message();
        }
        EXPECT_EQ(R.Graphic->Width(), 64);
    }
}

TEST(Pictures, LoadFromFileChoosesByExtension) {
    TTempDir Dir;
    TBitmap G;
    Gradient(G, 6, 4);
    TJPEGImage J;
    J.Assign(&G);
    J.SaveToFile(Dir.File("PHOTO.JPG"));
    TPngImage P;
    P.Assign(&G);
    P.SaveToFile(Dir.File("a.png"));
    G.SaveToFile(Dir.File("a.bmp"));

    TPicture Pic;
    Pic.LoadFromFile(Dir.File("PHOTO.JPG"));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(Pic.Graphic()), nullptr);
    Pic.LoadFromFile(Dir.File("a.bmp"));
    EXPECT_NE(dynamic_cast<TBitmap*>(Pic.Graphic()), nullptr);
    Pic.LoadFromFile(Dir.File("a.png"));
    EXPECT_NE(dynamic_cast<TPngImage*>(Pic.Graphic()), nullptr);
    EXPECT_EQ(Pic.Width(), 6);

    struct Row {
        const char* Name;
        const char* Message;
    };
    for (const Row& R : {Row{"x.emf", "Metafile pictures are not supported (.emf)"},
                         Row{"x.xyz", "Unknown picture file extension (.xyz)"}}) {
        try {
            Pic.LoadFromFile(Dir.File(R.Name));
            ADD_FAILURE() << R.Name;
        } catch (const EInvalidGraphic& E) {
            EXPECT_EQ(E.Message(), R.Message);
        }
        EXPECT_NE(dynamic_cast<TPngImage*>(Pic.Graphic()), nullptr); // kept
    }
    EXPECT_EQ(Pic.Bitmap()->Width(), 6);
    EXPECT_NE(dynamic_cast<TBitmap*>(Pic.Graphic()), nullptr);
}
