// Input made to hurt: damaged pictures that announce far more than they hold,
// and rectangles far larger than any surface. Each must be refused or cut down
// cheaply, never paid for in full.
#include "GdiTestSupport.h"
#include "platform/gdi/GifImage.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/PngImage.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstring>

namespace {

long PeakKilobytes() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss;
}

void PutBig32(std::vector<std::uint8_t>& Out, std::uint32_t V) {
    for (int Shift = 24; Shift >= 0; Shift -= 8)
        Out.push_back(std::uint8_t(V >> Shift));
}

void PutChunk(std::vector<std::uint8_t>& Out, const char* Type,
              const std::vector<std::uint8_t>& Data) {
    PutBig32(Out, std::uint32_t(Data.size()));
    std::vector<std::uint8_t> Body(Type, Type + 4);
    Body.insert(Body.end(), Data.begin(), Data.end());
    Out.insert(Out.end(), Body.begin(), Body.end());
    PutBig32(Out, std::uint32_t(crc32(0, Body.data(), uInt(Body.size()))));
}

// A well-formed PNG header for W x H RGBA followed by the rows of a 32 x 32
// one (a filter byte and 32 transparent pixels each).
std::vector<std::uint8_t> PngClaiming(std::uint32_t W, std::uint32_t H) {
    std::vector<std::uint8_t> Out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> Header;
    PutBig32(Header, W);
    PutBig32(Header, H);
    Header.insert(Header.end(), {8, 6, 0, 0, 0});
    PutChunk(Out, "IHDR", Header);
    std::vector<std::uint8_t> Raw(32 * (1 + 32 * 4), 0);
    uLongf Size = compressBound(uLong(Raw.size()));
    std::vector<std::uint8_t> Packed(Size);
    compress(Packed.data(), &Size, Raw.data(), uLong(Raw.size()));
    Packed.resize(Size);
    PutChunk(Out, "IDAT", Packed);
    PutChunk(Out, "IEND", {});
    return Out;
}

template <class T> void Load(T& Graphic, const std::vector<std::uint8_t>& Bytes) {
    TMemoryStream M;
    M.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
    M.SetPosition(0);
    Graphic.LoadFromStream(&M);
}

template <class T> std::vector<std::uint8_t> Save(T& Graphic) {
    TMemoryStream M;
    Graphic.SaveToStream(&M);
    std::vector<std::uint8_t> Out(std::size_t(M.Size()));
    M.SetPosition(0);
    M.ReadBuffer(Out.data(), M.Size());
    return Out;
}

void Gradient(TBitmap& B, int W, int H) {
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y) {
        auto* Row = static_cast<std::uint8_t*>(B.ScanLine(Y));
        for (int X = 0; X < W * 3; ++X)
            Row[X] = std::uint8_t(X + Y * 7);
    }
}

// Loading must fail with the given prefix, keep the picture, and cost far
// less memory than the header announces.
template <class T>
void ExpectRefusedCheaply(T& Graphic, const std::vector<std::uint8_t>& Bytes, const char* Prefix) {
    const int Width = Graphic.Width();
    const long Before = PeakKilobytes();
    try {
        Load(Graphic, Bytes);
        ADD_FAILURE() << Prefix << "accepted";
    } catch (const EInvalidGraphic& E) {
        EXPECT_EQ(E.Message().rfind(Prefix, 0), 0u) << E.Message();
    }
    EXPECT_LT(PeakKilobytes() - Before, 256 * 1024) << Prefix;
    EXPECT_EQ(Graphic.Width(), Width);
}

} // namespace

TEST(HostileInput, PicturesAnnouncingHugeSizesAreRefusedWithoutPayingForThem) {
    TBitmap Small;
    Gradient(Small, 8, 8);

    TPngImage Png;
    Png.Assign(&Small);
    ExpectRefusedCheaply(Png, PngClaiming(32000, 32000), "PNG image is not valid: ");
    // A picture whose data really holds it is still read.
    Load(Png, PngClaiming(32, 32));
    EXPECT_EQ(Png.Width(), 32);
    Png.Assign(&Small);

    // A real JPEG whose frame header is changed to 30000 x 30000: its data
    // ends long before, once at the end of the file and once at its end marker.
    TBitmap Larger;
    Gradient(Larger, 64, 64);
    TJPEGImage Jpeg;
    Jpeg.Assign(&Larger);
    std::vector<std::uint8_t> Bytes = Save(Jpeg);
    std::size_t Sof = 0, Sos = 0;
    // Walk the segments after the start marker: FF, kind, two bytes of length.
    for (std::size_t i = 2; i + 3 < Bytes.size() && !Sos;
         i += 2 + std::size_t((Bytes[i + 2] << 8) | Bytes[i + 3])) {
        if (Bytes[i + 1] == 0xC0)
            Sof = i;
        if (Bytes[i + 1] == 0xDA)
            Sos = i;
    }
    ASSERT_TRUE(Sof && Sos);
    for (std::size_t At : {Sof + 5, Sof + 7}) {
        Bytes[At] = 30000 >> 8;
        Bytes[At + 1] = 30000 & 0xFF;
    }
    ExpectRefusedCheaply(Jpeg, Bytes, "JPEG image is not valid: ");
    Bytes.resize(Sos + 64);
    ExpectRefusedCheaply(Jpeg, Bytes, "JPEG image is not valid: ");
}

TEST(HostileInput, DamagedIconsRaiseAndLeaveTheIcon) {
    TArgbImage Image;
    Image.Width = Image.Height = 8;
    Image.Pixels.assign(64, 0xFF336699u);
    TIcon Good;
    {
        TMemoryStream M;
        WriteIco(M, Image);
        M.SetPosition(0);
        Good.LoadFromStream(&M);
    }
    const std::vector<std::uint8_t> Valid = Save(Good);
    auto Patched = [&](std::size_t At, std::vector<std::uint8_t> Bytes) {
        std::vector<std::uint8_t> Out = Valid;
        std::copy(Bytes.begin(), Bytes.end(), Out.begin() + std::ptrdiff_t(At));
        return Out;
    };
    auto Cut = [&](std::size_t Size) {
        return std::vector<std::uint8_t>(Valid.begin(), Valid.begin() + std::ptrdiff_t(Size));
    };
    // The directory entry's size is at 14 and its offset at 18; the image's
    // header starts at 22 (width at 26, height at 30, bit count at 36).
    const std::vector<std::uint8_t> Cases[] = {
        Cut(4),
        Patched(2, {2, 0}),              // not an icon file
        Patched(4, {0x40, 0}),           // more entries than the file holds
        Patched(18, {0xF0, 0, 0, 0}),    // an image beyond the end of the file
        Patched(14, {0xFF, 0xFF, 0, 0}), // an image size beyond the end
        Patched(26, {0, 0, 1, 0}),       // width 65536
        Patched(30, {3, 0, 0, 0}),       // odd doubled height
        Patched(36, {16, 0}),            // 16 bits
        Cut(22 + 40 + 100),              // the file cut inside the pixels
        Patched(22, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), // a damaged PNG image
    };
    for (const auto& Bytes : Cases) {
        TIcon Icon;
        Icon.Assign(&Good);
        try {
            Load(Icon, Bytes);
            ADD_FAILURE() << "accepted " << &Bytes - Cases;
        } catch (const EInvalidGraphic& E) {
            EXPECT_EQ(E.Message().rfind("Icon image is not valid: ", 0), 0u) << E.Message();
        } catch (const Exception& E) {
            ADD_FAILURE() << "case " << &Bytes - Cases << ": " << E.Message();
        }
        EXPECT_EQ(Icon.Width(), 8);
    }
}

TEST(HostileInput, HalftoneShrinkingReadsOnlyTheSourceSurface) {
    TTestSurface S(4, 1, RGB(255, 0, 0)), D(4, 2);
    SetPixel(S.DC(), 0, 0, RGB(0, 0, 255));
    SetStretchBltMode(D.DC(), HALFTONE);
    // Half a billion source pixels per destination pixel, almost all outside
    // the 4-pixel source: they count as black and cost nothing.
    EXPECT_TRUE(StretchBlt(D.DC(), 0, 0, 4, 1, S.DC(), -1000000000, 0, 2000000000, 1, SRCCOPY));
    // Halving mirrored: the blue-red pair lands on the right, averaged.
    EXPECT_TRUE(StretchBlt(D.DC(), 2, 1, -2, 1, S.DC(), 0, 0, 4, 1, SRCCOPY));
    const std::map<COLORREF, char> Legend{{RGB(128, 0, 128), 'p'}, {RGB(255, 0, 0), 'r'}};
    EXPECT_EQ(D.Picture(Legend), "####\n.rp.\n");
}

TEST(HostileInput, FlippedBytesInEveryPictureKindGiveAPictureOrItsError) {
    TBitmap Source;
    Gradient(Source, 13, 9);
    std::vector<std::pair<std::unique_ptr<TGraphic>, std::vector<std::uint8_t>>> Kinds;
    auto AddKind = [&](std::unique_ptr<TGraphic> G) {
        G->Assign(&Source);
        std::vector<std::uint8_t> Bytes = Save(*G);
        Kinds.emplace_back(std::move(G), std::move(Bytes));
    };
    AddKind(std::make_unique<TBitmap>());
    AddKind(std::make_unique<TPngImage>());
    AddKind(std::make_unique<TJPEGImage>());
    AddKind(std::make_unique<TGIFImage>());
    {
        TArgbImage Image;
        Image.Width = 13;
        Image.Height = 9;
        Image.Pixels.assign(13 * 9, 0x80FF0000u);
        TMemoryStream M;
        WriteIco(M, Image);
        M.SetPosition(0);
        auto Icon = std::make_unique<TIcon>();
        Icon->LoadFromStream(&M);
        std::vector<std::uint8_t> Bytes = Save(*Icon);
        Kinds.emplace_back(std::move(Icon), std::move(Bytes));
    }
    // A fixed sequence, so that a failure comes back on every run.
    std::uint32_t Seed = 12345;
    auto Next = [&] { return Seed = Seed * 1103515245u + 12345u, Seed >> 8; };
    for (auto& [Graphic, Valid] : Kinds)
        for (int Round = 0; Round < 300; ++Round) {
            std::vector<std::uint8_t> Bytes = Valid;
            const int Flips = 1 + int(Next() % 4);
            for (int i = 0; i < Flips; ++i)
                Bytes[Next() % Bytes.size()] = std::uint8_t(Next());
            if (Next() % 4 == 0)
                Bytes.resize(Next() % Bytes.size());
            try {
                Load(*Graphic, Bytes);
            } catch (const EInvalidGraphic&) {
            }
            EXPECT_GT(Graphic->Width(), 0);
        }
}
