#include "platform/gdi/PngImage.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>

namespace {

struct TPngIo {
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
    std::size_t Pos = 0;
    std::vector<std::uint8_t>* Out = nullptr;
    char Message[256] = {};
};

void OnError(png_structp Png, png_const_charp Text) {
    auto* Io = static_cast<TPngIo*>(png_get_error_ptr(Png));
    std::snprintf(Io->Message, sizeof(Io->Message), "%s", Text);
    png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp Png, png_bytep Buffer, png_size_t Count) {
    auto* Io = static_cast<TPngIo*>(png_get_io_ptr(Png));
    if (Count > Io->Size - Io->Pos)
        png_error(Png, "the data ends too early");
    std::memcpy(Buffer, Io->Data + Io->Pos, Count);
    Io->Pos += Count;
}

void WriteData(png_structp Png, png_bytep Buffer, png_size_t Count) {
    auto* Io = static_cast<TPngIo*>(png_get_io_ptr(Png));
    Io->Out->insert(Io->Out->end(), Buffer, Buffer + Count);
}

void Flush(png_structp) {}

struct TDecoded {
    int Width = 0, Height = 0, Stride = 0;
    bool Alpha = false;
    std::vector<std::uint8_t> Rows; // B, G, R (, A) top-down
    std::vector<png_bytep> Pointers;
};

// The bytes the picture's rows take before compression, filter bytes
// included, for every pass of an interlaced picture.
std::uint64_t FilteredBytes(png_structp Png, png_infop Info) {
    const png_uint_32 W = png_get_image_width(Png, Info), H = png_get_image_height(Png, Info);
    const std::uint64_t PixelBits =
        std::uint64_t(png_get_bit_depth(Png, Info)) * png_get_channels(Png, Info);
    auto Rows = [&](png_uint_32 Cols, png_uint_32 Count) {
        return Cols && Count ? std::uint64_t(Count) * (1 + (Cols * PixelBits + 7) / 8) : 0;
    };
    if (png_get_interlace_type(Png, Info) != PNG_INTERLACE_ADAM7)
        return Rows(W, H);
    std::uint64_t Sum = 0;
    for (int Pass = 0; Pass < 7; ++Pass)
        Sum += Rows(PNG_PASS_COLS(W, Pass), PNG_PASS_ROWS(H, Pass));
    return Sum;
}

// Deflate expands no byte to more than about 1032; a header announcing more
// rows than the file could ever hold is refused before any of them is
// allocated, so that a few damaged bytes cannot claim gigabytes.
std::uint64_t MaxInflated(std::size_t FileSize) {
    return std::uint64_t(FileSize) * 1040 + 4096;
}

bool Decode(TPngIo* Io, TDecoded* Out) {
    png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, Io, OnError, OnWarning);
    png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
    if (!Png || !Info) {
        std::strcpy(Io->Message, "out of memory");
        png_destroy_read_struct(&Png, &Info, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_read_struct(&Png, &Info, nullptr);
        return false;
    }
    png_set_read_fn(Png, Io, ReadData);
    png_read_info(Png, Info);
    const png_uint_32 W = png_get_image_width(Png, Info), H = png_get_image_height(Png, Info);
    if (W == 0 || H == 0 || W > 32767 || H > 32767)
        png_error(Png, "the picture's size is out of range");
    if (FilteredBytes(Png, Info) > MaxInflated(Io->Size))
        png_error(Png, "the data is far too short for the picture's size");
    const int Type = png_get_color_type(Png, Info);
    png_set_expand(Png);
    png_set_strip_16(Png);
    if (Type == PNG_COLOR_TYPE_GRAY || Type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(Png);
    png_set_bgr(Png);
    png_set_interlace_handling(Png);
    png_read_update_info(Png, Info);
    const int Channels = png_get_channels(Png, Info);
    Out->Alpha = Channels == 4;
    Out->Width = int(W);
    Out->Height = int(H);
    Out->Stride = ((Out->Width * Channels + 3) / 4) * 4;
    bool NoMemory = false;
    try {
        Out->Rows.assign(std::size_t(Out->Stride) * H, 0);
    } catch (const std::bad_alloc&) {
        NoMemory = true;
    }
    // Raised outside the handler: the jump must not leave a live exception behind.
    if (NoMemory)
        png_error(Png, "not enough memory for the picture");
    Out->Pointers.resize(H);
    for (png_uint_32 Y = 0; Y < H; ++Y)
        Out->Pointers[Y] = Out->Rows.data() + std::size_t(Y) * std::size_t(Out->Stride);
    png_read_image(Png, Out->Pointers.data());
    png_read_end(Png, nullptr);
    png_destroy_read_struct(&Png, &Info, nullptr);
    return true;
}

struct TEncodeJob {
    int Width = 0, Height = 0, BitDepth = 8, ColorType = PNG_COLOR_TYPE_RGB;
    const std::vector<png_bytep>* Rows = nullptr;
    std::vector<png_color> Palette;
};

bool Encode(TPngIo* Io, const TEncodeJob* Job) {
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, Io, OnError, OnWarning);
    png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
    if (!Png || !Info) {
        std::strcpy(Io->Message, "out of memory");
        png_destroy_write_struct(&Png, &Info);
        return false;
    }
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        return false;
    }
    png_set_write_fn(Png, Io, WriteData, Flush);
    png_set_IHDR(Png, Info, png_uint_32(Job->Width), png_uint_32(Job->Height), Job->BitDepth,
                 Job->ColorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (Job->ColorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(Png, Info, Job->Palette.data(), int(Job->Palette.size()));
    png_write_info(Png, Info);
    if (Job->ColorType != PNG_COLOR_TYPE_PALETTE)
        png_set_bgr(Png);
    png_write_image(Png, const_cast<png_bytepp>(Job->Rows->data()));
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return true;
}

} // namespace

void TPngImage::LoadFromStream(TStream* Stream) {
    const std::vector<std::uint8_t> Bytes = ReadRest(*Stream);
    TPngIo Io;
    Io.Data = Bytes.data();
    Io.Size = Bytes.size();
    if (Bytes.size() < 8 || png_sig_cmp(Bytes.data(), 0, 8) != 0)
        throw EInvalidGraphic("PNG image is not valid: no PNG signature");
    TDecoded D;
    if (!Decode(&Io, &D))
        throw EInvalidGraphic(std::string("PNG image is not valid: ") + Io.Message);
    TBitmap Decoded;
    Decoded.LoadPixels(D.Width, D.Height, D.Alpha ? pf32bit : pf24bit, D.Rows.data(), {});
    Decoded.SetAlphaFormat(D.Alpha ? afDefined : afIgnored);
    SetDecoded(Decoded);
}

void TPngImage::SaveToStream(TStream* Stream) {
    if (Empty())
        throw EInvalidGraphic("PNG image is not valid: the picture is empty");
    TEncodeJob Job;
    Job.Width = Width();
    Job.Height = Height();
    TBitmap Source;
    Source.Assign(&FBitmap);
    const TPixelFormat F = Source.PixelFormat();
    if (F == pf1bit || F == pf4bit || F == pf8bit) {
        Job.ColorType = PNG_COLOR_TYPE_PALETTE;
        Job.BitDepth = F == pf1bit ? 1 : F == pf4bit ? 4 : 8;
        for (const RGBQUAD& Q : Source.ColorTable())
            Job.Palette.push_back({Q.rgbRed, Q.rgbGreen, Q.rgbBlue});
    } else if (F == pf32bit && Source.AlphaFormat() == afDefined) {
        Job.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    } else {
        Source.SetPixelFormat(pf24bit);
    }
    std::vector<png_bytep> Rows(std::size_t(Job.Height));
    for (int Y = 0; Y < Job.Height; ++Y)
        Rows[std::size_t(Y)] = static_cast<png_bytep>(Source.ScanLine(Y));
    Job.Rows = &Rows;
    std::vector<std::uint8_t> Out;
    TPngIo Io;
    Io.Out = &Out;
    if (!Encode(&Io, &Job))
        throw EInvalidGraphic(std::string("PNG image is not valid: ") + Io.Message);
    Stream->WriteBuffer(Out.data(), std::int64_t(Out.size()));
}

void TPngImage::Assign(TPersistent* Source) {
    if (auto* P = dynamic_cast<TPngImage*>(Source)) {
        SetDecoded(P->FBitmap);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        SetDecoded(*B);
        return;
    }
    TDecodedGraphic::Assign(Source);
}
