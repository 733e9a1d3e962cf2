#include "platform/gdi/BmpCodec.h"

#include "platform/gdi/GraphicErrors.h"
#include "platform/gdi/LittleEndian.h"

#include <cstring>

namespace {

using namespace gdi::le;

[[noreturn]] void Invalid(const std::string& Reason) {
    throw EInvalidGraphic("Bitmap image is not valid: " + Reason);
}

std::int32_t S32(const std::uint8_t* P) {
    return std::int32_t(U32(P));
}

TPixelFormat FormatOf(int Bits) {
    switch (Bits) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 24:
        return pf24bit;
    default:
        return pf32bit;
    }
}

// Reads exactly Count bytes or fails with the reason given.
void ReadExact(TStream& S, void* Buffer, std::int64_t Count, const char* Reason) {
    if (Count > 0 && S.Read(Buffer, Count) != Count)
        Invalid(Reason);
}

} // namespace

TBmpImage ReadBmp(TStream& Stream) {
    const std::int64_t Start = Stream.Position();
    const std::int64_t Available = Stream.Size() - Start;
    std::uint8_t File[14];
    ReadExact(Stream, File, 14, "the file header is cut short");
    if (File[0] != 'B' || File[1] != 'M')
        Invalid("no \"BM\" signature");
    std::int64_t FileSize = U32(File + 2);
    const std::uint32_t OffBits = U32(File + 10);
    if (FileSize != 0 && FileSize < 54)
        Invalid("the file size of " + std::to_string(FileSize) + " bytes is below 54");
    if (FileSize > Available)
        Invalid("the file size goes beyond the end of the data");

    std::uint8_t Info[124] = {};
    ReadExact(Stream, Info, 4, "the information header is cut short");
    const std::uint32_t HeaderSize = U32(Info);
    if (HeaderSize != 40 && HeaderSize != 108 && HeaderSize != 124)
        Invalid("unknown header size " + std::to_string(HeaderSize));
    ReadExact(Stream, Info + 4, HeaderSize - 4, "the information header is cut short");
    const std::int32_t Width = S32(Info + 4);
    const std::int32_t RawHeight = S32(Info + 8);
    const std::uint16_t Planes = U16(Info + 12);
    const std::uint16_t Bits = U16(Info + 14);
    const std::uint32_t Compression = U32(Info + 16);
    const std::uint32_t ClrUsed = U32(Info + 32);
    if (Width <= 0 || Width > 32767)
        Invalid("width " + std::to_string(Width) + " is out of range");
    if (RawHeight == 0 || RawHeight < -32767 || RawHeight > 32767)
        Invalid("height " + std::to_string(RawHeight) + " is out of range");
    if (Planes != 1)
        Invalid("planes is " + std::to_string(Planes) + ", not 1");
    if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32)
        Invalid("unsupported bit count " + std::to_string(Bits));
    std::int64_t Consumed = 14 + HeaderSize;
    if (Compression == BI_BITFIELDS && Bits == 32) {
        std::uint8_t Masks[12];
        if (HeaderSize == 40) {
            ReadExact(Stream, Masks, 12, "the colour masks are cut short");
            Consumed += 12;
        } else {
            std::memcpy(Masks, Info + 40, 12);
        }
        if (U32(Masks) != 0xFF0000 || U32(Masks + 4) != 0xFF00 || U32(Masks + 8) != 0xFF)
            Invalid("unsupported colour masks");
    } else if (Compression != BI_RGB) {
        Invalid("unsupported compression " + std::to_string(Compression));
    }

    TBmpImage Image;
    Image.Width = Width;
    Image.Height = RawHeight < 0 ? -RawHeight : RawHeight;
    Image.Format = FormatOf(Bits);
    if (Bits <= 8) {
        const std::uint32_t Full = 1u << Bits;
        if (ClrUsed > Full)
            Invalid("the colour table has " + std::to_string(ClrUsed) + " entries");
        const std::uint32_t Count = ClrUsed ? ClrUsed : Full;
        Image.Table.resize(Count);
        ReadExact(Stream, Image.Table.data(), std::int64_t(Count) * 4,
                  "the colour table is cut short");
        Consumed += std::int64_t(Count) * 4;
        Image.Table.resize(Full, RGBQUAD{0, 0, 0, 0});
    }
    const std::int64_t Stride = ((std::int64_t(Width) * Bits + 31) / 32) * 4;
    const std::int64_t DataSize = Stride * Image.Height;
    const std::int64_t DataStart = OffBits ? std::int64_t(OffBits) : Consumed;
    if (DataStart < Consumed)
        Invalid("the pixel data overlaps the headers");
    if (FileSize == 0)
        FileSize = DataStart + DataSize;
    if (DataStart + DataSize > FileSize || DataStart + DataSize > Available)
        Invalid("the pixel data goes beyond the announced size or the data");

    Stream.SetPosition(Start + DataStart);
    Image.Pixels.resize(std::size_t(DataSize));
    ReadExact(Stream, Image.Pixels.data(), DataSize, "the pixel data is cut short");
    if (RawHeight > 0) {
        // Bottom-up in the file: turn the rows over.
        std::vector<std::uint8_t> Row(static_cast<std::size_t>(Stride));
        for (int Y = 0; Y < Image.Height / 2; ++Y) {
            std::uint8_t* A = Image.Pixels.data() + Y * Stride;
            std::uint8_t* B = Image.Pixels.data() + (Image.Height - 1 - Y) * Stride;
            std::memcpy(Row.data(), A, std::size_t(Stride));
            std::memcpy(A, B, std::size_t(Stride));
            std::memcpy(B, Row.data(), std::size_t(Stride));
        }
    }
    Stream.SetPosition(Start + FileSize);
    return Image;
}

void WriteBmp(TStream& Stream, const TBmpImage& Image) {
    const int Bits = PixelFormatBits(Image.Format);
    const std::uint32_t Stride = std::uint32_t(((Image.Width * Bits + 31) / 32) * 4);
    const std::uint32_t TableCount = Bits <= 8 ? (1u << Bits) : 0;
    const std::uint32_t OffBits = 14 + 40 + TableCount * 4;
    const std::uint32_t DataSize = Stride * std::uint32_t(Image.Height);
    std::vector<std::uint8_t> Out;
    Out.reserve(OffBits + DataSize);
    Out.push_back('B');
    Out.push_back('M');
    Put32(Out, OffBits + DataSize);
    Put32(Out, 0);
    Put32(Out, OffBits);
    Put32(Out, 40);
    Put32(Out, std::uint32_t(Image.Width));
    Put32(Out, std::uint32_t(Image.Height));
    Put16(Out, 1);
    Put16(Out, std::uint16_t(Bits));
    Put32(Out, BI_RGB);
    Put32(Out, DataSize);
    Put32(Out, 3780); // 96 pixels per inch
    Put32(Out, 3780);
    Put32(Out, TableCount);
    Put32(Out, 0);
    for (std::uint32_t i = 0; i < TableCount; ++i) {
        const RGBQUAD Q = i < Image.Table.size() ? Image.Table[i] : RGBQUAD{0, 0, 0, 0};
        Out.insert(Out.end(), {Q.rgbBlue, Q.rgbGreen, Q.rgbRed, 0});
    }
    for (int Y = Image.Height - 1; Y >= 0; --Y) {
        const std::uint8_t* Row = Image.Pixels.data() + std::size_t(Y) * Stride;
        Out.insert(Out.end(), Row, Row + Stride);
    }
    Stream.WriteBuffer(Out.data(), std::int64_t(Out.size()));
}
