#include "platform/gdi/JpegImage.h"

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// libjpeg reports errors by calling error_exit; ours jumps back to the
// C-style function that started the work, which returns the message.
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr Info) {
    auto* E = reinterpret_cast<TJpegError*>(Info->err);
    (*Info->err->format_message)(Info, E->Message);
    std::longjmp(E->Jump, 1);
}

void Quiet(j_common_ptr) {}

// A file whose data ends early, at the end of the file or at a marker met
// inside the compressed data, decodes to grey without this; refuse it instead.
void OnMessage(j_common_ptr Info, int Level) {
    const int Code = Info->err->msg_code;
    if (Level < 0 && (Code == JWRN_JPEG_EOF || Code == JWRN_HIT_MARKER))
        OnError(Info);
}

struct TDecoded {
    int Width = 0, Height = 0, Stride = 0;
    std::vector<std::uint8_t> Rows; // B, G, R top-down
};

// No C++ object with a destructor lives in this frame across the jump.
bool Decode(const std::uint8_t* Data, std::size_t Size, TDecoded* Out, char* Message) {
    jpeg_decompress_struct Info;
    TJpegError Error;
    Info.err = jpeg_std_error(&Error.Manager);
    Error.Manager.error_exit = OnError;
    Error.Manager.output_message = Quiet;
    Error.Manager.emit_message = OnMessage;
    if (setjmp(Error.Jump)) {
        std::strcpy(Message, Error.Message);
        jpeg_destroy_decompress(&Info);
        return false;
    }
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, Data, static_cast<unsigned long>(Size));
    jpeg_read_header(&Info, TRUE);
    const bool Cmyk = Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK;
    Info.out_color_space = Cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&Info);
    if (Info.output_width > 32767 || Info.output_height > 32767) {
        std::strcpy(Message, "the picture is too large");
        jpeg_destroy_decompress(&Info);
        return false;
    }
    Out->Width = int(Info.output_width);
    Out->Height = int(Info.output_height);
    Out->Stride = ((Out->Width * 3 + 3) / 4) * 4;
    // From libjpeg's own pool, so that a jump out leaks nothing.
    JSAMPARRAY Lines = (*Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                                 JDIMENSION(Out->Width) * 4, 1);
    JSAMPLE* Line = Lines[0];
    bool NoMemory = false;
    while (Info.output_scanline < Info.output_height) {
        // Rows are taken as they are decoded, so that a damaged header that
        // announces a huge picture costs only the rows its data really holds.
        try {
            Out->Rows.resize(std::size_t(Info.output_scanline + 1) * std::size_t(Out->Stride));
        } catch (const std::bad_alloc&) {
            NoMemory = true;
        }
        if (NoMemory) {
            std::strcpy(Message, "not enough memory for the picture");
            jpeg_destroy_decompress(&Info);
            return false;
        }
        std::uint8_t* Row = Out->Rows.data() + std::size_t(Info.output_scanline) * Out->Stride;
        JSAMPROW Target = Cmyk ? Line : Row;
        jpeg_read_scanlines(&Info, &Target, 1);
        if (Cmyk) {
            // Adobe's files store CMYK inverted.
            const bool Inverted = Info.saw_Adobe_marker;
            for (int X = 0; X < Out->Width; ++X) {
                int C = Line[std::size_t(X) * 4], M = Line[std::size_t(X) * 4 + 1],
                    Y = Line[std::size_t(X) * 4 + 2], K = Line[std::size_t(X) * 4 + 3];
                if (!Inverted) {
                    C = 255 - C;
                    M = 255 - M;
                    Y = 255 - Y;
                    K = 255 - K;
                }
                Row[X * 3] = std::uint8_t(Y * K / 255);
                Row[X * 3 + 1] = std::uint8_t(M * K / 255);
                Row[X * 3 + 2] = std::uint8_t(C * K / 255);
            }
        }
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    return true;
}

bool Encode(const std::uint8_t* Rows, int Width, int Height, int Stride, int Quality,
            unsigned char** Buffer, unsigned long* Size, char* Message) {
    jpeg_compress_struct Info;
    TJpegError Error;
    Info.err = jpeg_std_error(&Error.Manager);
    Error.Manager.error_exit = OnError;
    Error.Manager.output_message = Quiet;
    if (setjmp(Error.Jump)) {
        std::strcpy(Message, Error.Message);
        jpeg_destroy_compress(&Info);
        return false;
    }
    jpeg_create_compress(&Info);
    jpeg_mem_dest(&Info, Buffer, Size);
    Info.image_width = JDIMENSION(Width);
    Info.image_height = JDIMENSION(Height);
    Info.input_components = 3;
    Info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, Quality, TRUE);
    jpeg_start_compress(&Info, TRUE);
    while (Info.next_scanline < Info.image_height) {
        JSAMPROW Row = const_cast<JSAMPROW>(Rows + std::size_t(Info.next_scanline) * Stride);
        jpeg_write_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    return true;
}

} // namespace

void TJPEGImage::LoadFromStream(TStream* Stream) {
    const std::vector<std::uint8_t> Bytes = ReadRest(*Stream);
    TDecoded D;
    char Message[JMSG_LENGTH_MAX] = {};
    if (Bytes.empty())
        throw EInvalidGraphic("JPEG image is not valid: the file is empty");
    if (!Decode(Bytes.data(), Bytes.size(), &D, Message))
        throw EInvalidGraphic(std::string("JPEG image is not valid: ") + Message);
    TBitmap Decoded;
    Decoded.LoadPixels(D.Width, D.Height, pf24bit, D.Rows.data(), {});
    SetDecoded(Decoded);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
    if (Empty())
        throw EInvalidGraphic("JPEG image is not valid: the picture is empty");
    int Stride = 0;
    const std::vector<std::uint8_t> Rows = Rgb24Rows(FBitmap, Stride);
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    char Message[JMSG_LENGTH_MAX] = {};
    const bool Ok = Encode(Rows.data(), Width(), Height(), Stride, FCompressionQuality, &Buffer,
                           &Size, Message);
    if (!Ok) {
        std::free(Buffer);
        throw EInvalidGraphic(std::string("JPEG image is not valid: ") + Message);
    }
    try {
        Stream->WriteBuffer(Buffer, std::int64_t(Size));
    } catch (...) {
        std::free(Buffer);
        throw;
    }
    std::free(Buffer);
}

void TJPEGImage::Assign(TPersistent* Source) {
    if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
        FCompressionQuality = J->FCompressionQuality;
        SetDecoded(J->FBitmap);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        TBitmap Copy;
        Copy.Assign(B);
        Copy.SetPixelFormat(pf24bit);
        SetDecoded(Copy);
        return;
    }
    TDecodedGraphic::Assign(Source);
}
