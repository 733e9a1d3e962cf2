// ICO files: our own reader (BMP and PNG images) and writer (one 32-bit
// image with its mask).
#include "platform/gdi/Icons.h"
#include "platform/gdi/LittleEndian.h"
#include "platform/gdi/PngImage.h"

#include <cstring>

namespace {

using namespace gdi::le;

[[noreturn]] void Invalid(const std::string& Reason) {
    throw EInvalidGraphic("Icon image is not valid: " + Reason);
}

TArgbImage ReadPngImage(const std::uint8_t* Data, std::size_t Size) {
    TMemoryStream M;
    M.WriteBuffer(Data, std::int64_t(Size));
    M.SetPosition(0);
    TPngImage Png;
    try {
        Png.LoadFromStream(&M);
    } catch (const EInvalidGraphic& E) {
        Invalid(E.Message());
    }
    TBitmap B;
    B.Assign(&Png);
    B.SetPixelFormat(pf32bit);
    TArgbImage Out;
    Out.Width = B.Width();
    Out.Height = B.Height();
    Out.Pixels.resize(std::size_t(Out.Width) * std::size_t(Out.Height));
    for (int Y = 0; Y < Out.Height; ++Y)
        std::memcpy(&Out.At(0, Y), B.ScanLine(Y), std::size_t(Out.Width) * 4);
    if (Png.Bitmap()->AlphaFormat() != afDefined)
        for (std::uint32_t& P : Out.Pixels)
            P |= 0xFF000000u;
    return Out;
}

// A DIB image: header (height doubled), colour table, colour rows, mask rows.
TArgbImage ReadDibImage(const std::uint8_t* Data, std::size_t Size) {
    if (Size < 40 || U32(Data) != 40)
        Invalid("an image has an unknown header");
    const int W = int(U32(Data + 4));
    const int H2 = int(U32(Data + 8));
    const int Bits = U16(Data + 14);
    const std::uint32_t Compression = U32(Data + 16);
    std::uint32_t ClrUsed = U32(Data + 32);
    if (W <= 0 || W > 1024 || H2 <= 0 || H2 > 2048 || H2 % 2 != 0)
        Invalid("an image has an impossible size");
    if ((Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32) || Compression != 0)
        Invalid("an image has an unsupported format");
    const int H = H2 / 2;
    std::size_t Pos = 40;
    std::vector<std::uint32_t> Table;
    if (Bits <= 8) {
        const std::uint32_t Full = 1u << Bits;
        if (ClrUsed == 0 || ClrUsed > Full)
            ClrUsed = Full;
        if (Pos + ClrUsed * 4 > Size)
            Invalid("an image's colour table is cut short");
        for (std::uint32_t i = 0; i < ClrUsed; ++i)
            Table.push_back(U32(Data + Pos + i * 4) & 0xFFFFFF);
        Table.resize(Full, 0);
        Pos += ClrUsed * 4;
    }
    const std::size_t Stride = std::size_t(((W * Bits + 31) / 32) * 4);
    const std::size_t MaskStride = std::size_t(((W + 31) / 32) * 4);
    const bool HasMask = Pos + Stride * H + MaskStride * H <= Size;
    if (Pos + Stride * H > Size)
        Invalid("an image's pixels are cut short");
    TArgbImage Out;
    Out.Width = W;
    Out.Height = H;
    Out.Pixels.resize(std::size_t(W) * std::size_t(H));
    bool AnyAlpha = false;
    for (int Y = 0; Y < H; ++Y) {
        const std::uint8_t* Row = Data + Pos + std::size_t(H - 1 - Y) * Stride;
        for (int X = 0; X < W; ++X) {
            std::uint32_t P = 0;
            switch (Bits) {
            case 1:
                P = Table[(Row[X / 8] >> (7 - X % 8)) & 1];
                break;
            case 4:
                P = Table[(Row[X / 2] >> (X % 2 ? 0 : 4)) & 15];
                break;
            case 8:
                P = Table[Row[X]];
                break;
            case 24:
                P = U32(Row + X * 3) & 0xFFFFFF;
                break;
            default:
                P = U32(Row + X * 4);
                AnyAlpha = AnyAlpha || (P >> 24) != 0;
            }
            Out.At(X, Y) = P;
        }
    }
    if (!AnyAlpha) {
        const std::uint8_t* Mask = Data + Pos + Stride * H;
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const bool Clear =
                    HasMask &&
                    ((Mask[std::size_t(H - 1 - Y) * MaskStride + X / 8] >> (7 - X % 8)) & 1);
                Out.At(X, Y) = (Out.At(X, Y) & 0xFFFFFF) | (Clear ? 0u : 0xFF000000u);
            }
    }
    return Out;
}

} // namespace

std::vector<TArgbImage> ReadIco(TStream& Stream) {
    const std::int64_t Count64 = Stream.Size() - Stream.Position();
    if (Count64 < 6 || Count64 > (64 << 20))
        Invalid("the file is too short or too large");
    std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Count64));
    Stream.ReadBuffer(Bytes.data(), Count64);
    const std::uint8_t* D = Bytes.data();
    if (U16(D) != 0 || U16(D + 2) != 1)
        Invalid("no icon header");
    const int Count = U16(D + 4);
    if (Count == 0 || 6 + std::size_t(Count) * 16 > Bytes.size())
        Invalid("the image directory is cut short");
    std::vector<TArgbImage> Images;
    for (int i = 0; i < Count; ++i) {
        const std::uint8_t* E = D + 6 + i * 16;
        const std::uint32_t Size = U32(E + 8), Offset = U32(E + 12);
        if (Offset > Bytes.size() || Size > Bytes.size() - Offset || Size < 8)
            Invalid("an image lies outside the file");
        const std::uint8_t* Data = D + Offset;
        static const std::uint8_t Png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        if (std::memcmp(Data, Png, 8) == 0)
            Images.push_back(ReadPngImage(Data, Size));
        else
            Images.push_back(ReadDibImage(Data, Size));
    }
    return Images;
}

void WriteIco(TStream& Stream, const TArgbImage& Image) {
    const int W = Image.Width, H = Image.Height;
    const std::uint32_t MaskStride = std::uint32_t(((W + 31) / 32) * 4);
    const std::uint32_t DataSize = 40 + std::uint32_t(W * H * 4) + MaskStride * std::uint32_t(H);
    std::vector<std::uint8_t> Out;
    Put16(Out, 0);
    Put16(Out, 1);
    Put16(Out, 1);
    Out.push_back(std::uint8_t(W >= 256 ? 0 : W));
    Out.push_back(std::uint8_t(H >= 256 ? 0 : H));
    Out.push_back(0);
    Out.push_back(0);
    Put16(Out, 1);
    Put16(Out, 32);
    Put32(Out, DataSize);
    Put32(Out, 22);
    Put32(Out, 40);
    Put32(Out, std::uint32_t(W));
    Put32(Out, std::uint32_t(H * 2));
    Put16(Out, 1);
    Put16(Out, 32);
    for (int i = 0; i < 6; ++i)
        Put32(Out, 0);
    for (int Y = H - 1; Y >= 0; --Y)
        for (int X = 0; X < W; ++X)
            Put32(Out, Image.At(X, Y));
    for (int Y = H - 1; Y >= 0; --Y) {
        std::vector<std::uint8_t> Row(MaskStride, 0);
        for (int X = 0; X < W; ++X)
            if ((Image.At(X, Y) >> 24) == 0)
                Row[std::size_t(X / 8)] |= std::uint8_t(0x80 >> (X % 8));
        Out.insert(Out.end(), Row.begin(), Row.end());
    }
    Stream.WriteBuffer(Out.data(), std::int64_t(Out.size()));
}
