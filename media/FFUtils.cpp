#include "media/FFUtils.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "platform/core/Format.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

std::string FormatTimeUS(std::int64_t ATime) {
    if (ATime == AV_NOPTS_VALUE)
        return "N/A";
    const long long Seconds = ATime / 1000000;
    return Format("%.2d:%.2d:%.2d.%.3d",
                  {Seconds / 60 / 60, Seconds / 60 % 60, Seconds % 60,
                   static_cast<long long>(ATime % 1000000 * 1000 / 1000000)});
}

std::int64_t FrameDurationUS(AVRational ARate) {
    if (ARate.num == 0 || ARate.den == 0)
        return 40000;
    return INT64_C(1000000) * ARate.den / ARate.num;
}

std::string FormatAVError(const std::string& AName, int ACode) {
    struct TRow {
        int Code;
        const char* Message;
    };
    static const TRow Rows[] = {
        {AVERROR(ENOENT), "No such file or directory"},
        {AVERROR(EIO), "I/O error"},
        {AVERROR(ENOMEM), "Not enough memory"},
        {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
        {AVERROR(EINVAL), "Invalid data found when processing input"},
        {AVERROR_EOF, "End of file"},
        {AVERROR(EDOM), "Number syntax expected in filename"},
        {AVERROR_DEMUXER_NOT_FOUND, "Unknown format"},
        {AVERROR_MUXER_NOT_FOUND, "Unknown format"},
        {AVERROR(EILSEQ), "Unknown format"},
        {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"},
        {AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg"},
    };
    for (const TRow& Row : Rows)
        if (Row.Code == ACode)
            return AName + ": " + Row.Message;
    std::string Text = AName + ": " + Format("Error number %d occurred", {ACode});
    // A system error number says more in the system's own words (a
    // read-only output folder reads "Permission denied").
    if (ACode < 0 && ACode > -4096)
        Text += " (" + std::generic_category().message(-ACode) + ")";
    return Text;
}

// ---- The option store ------------------------------------------------------

void InitOptions(TFFOptions& AOptions) {
    AOptions = TFFOptions{};
}

void AllocOptions(TFFOptions& AOptions, int ASwsFlags) {
    for (int Type = 0; Type < 5; ++Type) {
        AOptions.avcodec_opts[Type] = avcodec::avcodec_alloc_context3(nullptr);
        AOptions.avcodec_opts[Type]->codec_type = static_cast<AVMediaType>(Type);
    }
    AOptions.avformat_opts = avformat::avformat_alloc_context();
    AOptions.sws_opts = swscale::sws_alloc_context();
    avutil::av_opt_set_int(AOptions.sws_opts, "sws_flags", ASwsFlags, 0);
}

void FreeOptions(TFFOptions& AOptions) {
    for (int Type = 0; Type < 5; ++Type) {
        avcodec::avcodec_free_context(&AOptions.avcodec_opts[Type]);
        avcodec::avcodec_free_context(&AOptions.encoder_opts[Type]);
    }
    if (AOptions.avformat_opts)
        avformat::avformat_free_context(AOptions.avformat_opts);
    if (AOptions.muxer_opts)
        avformat::avformat_free_context(AOptions.muxer_opts);
    if (AOptions.sws_opts)
        swscale::sws_freeContext(AOptions.sws_opts);
    InitOptions(AOptions);
}

void SetEncoder(TFFOptions& AOptions, int AMediaType, const AVCodec* ACodec) {
    if (AMediaType < 0 || AMediaType >= 5)
        return;
    avcodec::avcodec_free_context(&AOptions.encoder_opts[AMediaType]);
    if (ACodec)
        AOptions.encoder_opts[AMediaType] = avcodec::avcodec_alloc_context3(ACodec);
}

void SetMuxer(TFFOptions& AOptions, const AVOutputFormat* AMuxer) {
    if (AOptions.muxer_opts)
        avformat::avformat_free_context(AOptions.muxer_opts);
    AOptions.muxer_opts = nullptr;
    if (AMuxer)
        avformat::avformat_alloc_output_context2(&AOptions.muxer_opts, AMuxer, nullptr, nullptr);
}

namespace {

// One scratch object that may take the option, and what an entry set there
// is recorded as.
struct TScratch {
    void* Object;
    TFFOptionTarget Target;
    int SearchFlags;
    bool Private;
};

// An option found and set on one scratch object, recorded once the whole
// setting has succeeded.
struct TSetting {
    TScratch Scratch;
    const AVOption* Option;
};

// The value as the scratch object holds it, so that flags given in several
// steps ("+a", then "+b") are replayed together, as one value.
std::string HeldValue(const TSetting& ASetting, const std::string& AGiven) {
    std::uint8_t* Text = nullptr;
    if (avutil::av_opt_get(ASetting.Scratch.Object, ASetting.Option->name,
                           ASetting.Scratch.SearchFlags, &Text) < 0 ||
        !Text)
        return AGiven;
    std::string Value = reinterpret_cast<const char*>(Text);
    avutil::av_free(Text);
    return Value;
}

void Record(TFFOptions& AOptions, const TSetting& ASetting, const std::string& AGiven) {
    const std::string Name = ASetting.Option->name;
    const std::string Value = HeldValue(ASetting, AGiven);
    for (TFFOptionEntry& Entry : AOptions.entries)
        if (Entry.Target == ASetting.Scratch.Target && Entry.Name == Name) {
            Entry.Value = Value;
            return;
        }
    AOptions.entries.push_back(
        {ASetting.Scratch.Target, Name, Value, ASetting.Option->flags, ASetting.Scratch.Private});
}

// Tries AName on each scratch object in turn while no setting has failed;
// answers whether any knew it.
bool TrySet(std::initializer_list<TScratch> AScratches, const char* AName, const char* AValue,
            std::vector<TSetting>& ASettings, int& AResult) {
    bool Found = false;
    for (const TScratch& Scratch : AScratches) {
        if (!Scratch.Object || AResult < 0)
            continue;
        const AVOption* Option =
            avutil::av_opt_find(Scratch.Object, AName, nullptr, 0, Scratch.SearchFlags);
        if (!Option)
            continue;
        Found = true;
        AResult = avutil::av_opt_set(Scratch.Object, AName, AValue, Scratch.SearchFlags);
        ASettings.push_back({Scratch, Option});
    }
    return Found;
}

} // namespace

bool SetOptionDefault(TFFOptions& AOptions, const std::string& AName, const std::string& AValue) {
    if (Trim(AName).empty() || Trim(AValue).empty() || !AOptions.avcodec_opts[otVideo])
        return false; // the store was never allocated: nothing can check the option
    const char* Name = AName.c_str();
    const char* Value = AValue.c_str();
    std::vector<TSetting> Settings;
    int Result = 0;
    bool Found = false;

    // The codec contexts, each for the options of its media type. Data and
    // attachment options carry no type flag, so a lookup for them would
    // match every option of the other types; nothing reads those contexts.
    // "b" is the video bit rate here ("ab" is the audio one), although
    // FFmpeg marks it for audio too.
    static const std::pair<TFFOptionTarget, int> CodecTypes[] = {
        {otVideo, AV_OPT_FLAG_VIDEO_PARAM},
        {otAudio, AV_OPT_FLAG_AUDIO_PARAM},
        {otSubtitle, AV_OPT_FLAG_SUBTITLE_PARAM}};
    for (const auto& [Type, TypeFlag] : CodecTypes) {
        if (Result < 0 || (Type == otAudio && AName == "b"))
            continue;
        if (!avutil::av_opt_find(AOptions.avcodec_opts[otVideo], Name, nullptr, TypeFlag, 0))
            continue;
        Found |=
            TrySet({{AOptions.avcodec_opts[Type], Type, 0, false}}, Name, Value, Settings, Result);
    }
    if (!Found)
        Found =
            TrySet({{AOptions.avformat_opts, otFormat, 0, false}}, Name, Value, Settings, Result) ||
            TrySet({{AOptions.sws_opts, otScaler, 0, false}}, Name, Value, Settings, Result);
    // Private options of the encoders and the muxer named so far.
    if (!Found)
        Found =
            TrySet({{AOptions.encoder_opts[otVideo], otVideo, AV_OPT_SEARCH_CHILDREN, true},
                    {AOptions.encoder_opts[otAudio], otAudio, AV_OPT_SEARCH_CHILDREN, true},
                    {AOptions.encoder_opts[otSubtitle], otSubtitle, AV_OPT_SEARCH_CHILDREN, true}},
                   Name, Value, Settings, Result) ||
            TrySet({{AOptions.muxer_opts, otFormat, AV_OPT_SEARCH_CHILDREN, true}}, Name, Value,
                   Settings, Result);
    // "vb", "ab", "abt" ...: the first letter names the type, the rest the
    // option.
    if (!Found && AName.size() > 1) {
        const char Letter = AName[0];
        const int Type = Letter == 'a'   ? otAudio
                         : Letter == 'v' ? otVideo
                         : Letter == 's' ? otSubtitle
                                         : -1;
        if (Type >= 0)
            Found = TrySet(
                {{AOptions.avcodec_opts[Type], static_cast<TFFOptionTarget>(Type), 0, false}},
                Name + 1, Value, Settings, Result);
    }

    if (Found && Result < 0) {
        avutil::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", Value,
                       Name);
        return false;
    }
    if (!Found)
        return false;
    for (const TSetting& Setting : Settings)
        Record(AOptions, Setting, AValue);

    std::int64_t CodecDebug = 0;
    avutil::av_opt_get_int(AOptions.avcodec_opts[otVideo], "debug", 0, &CodecDebug);
    if (CodecDebug != 0 || AOptions.avformat_opts->debug != 0)
        GetFFLogger()->SetLogLevel(llDebug);
    return true;
}

void ApplyContextOptions(const TFFOptions& AOptions, void* ATarget, TFFOptionTarget AKind,
                         int AFlags) {
    for (const TFFOptionEntry& Entry : AOptions.entries)
        if (Entry.Target == AKind && (Entry.Flags & AFlags) == AFlags)
            avutil::av_opt_set(ATarget, Entry.Name.c_str(), Entry.Value.c_str(),
                               AV_OPT_SEARCH_CHILDREN);
}

void ApplyContextOptions(const TFFOptions& AOptions, AVDictionary** ADictionary,
                         TFFOptionTarget AKind, int AFlags) {
    for (const TFFOptionEntry& Entry : AOptions.entries)
        if (Entry.Target == AKind && (Entry.Flags & AFlags) == AFlags)
            avutil::av_dict_set(ADictionary, Entry.Name.c_str(), Entry.Value.c_str(), 0);
}

// ---- Files, metadata, names ------------------------------------------------

int ReadWholeFile(const std::string& AFileName, std::uint8_t*& ABuffer, std::int64_t& ASize) {
    ABuffer = nullptr;
    ASize = 0;
    // A folder opens like a file but has no content to read.
    if (!FileExists(AFileName))
        return -1;
    FILE* File = myutil::fopen(AFileName.c_str(), "rb");
    if (!File)
        return -1;
    myutil::fseek(File, 0, SEEK_END);
    const long Size = myutil::ftell(File);
    myutil::fseek(File, 0, SEEK_SET);
    if (Size < 0) {
        myutil::fclose(File);
        return -1;
    }
    auto* Buffer = static_cast<std::uint8_t*>(avutil::av_malloc(Size + 1));
    if (!Buffer) {
        myutil::fclose(File);
        return AVERROR(ENOMEM);
    }
    const std::size_t Read = myutil::fread(Buffer, 1, Size, File);
    Buffer[Read] = 0;
    myutil::fclose(File);
    ABuffer = Buffer;
    ASize = static_cast<std::int64_t>(Read) + 1;
    return 0;
}

std::string GetMetadataValue(const AVDictionary* AMetadata, const std::string& AKey,
                             const std::string& ADefault) {
    const AVDictionaryEntry* Tag = avutil::av_dict_get(AMetadata, AKey.c_str(), nullptr, 0);
    return Tag && Tag->value ? Tag->value : ADefault;
}

namespace {

std::string CodecText(AVCodecID ACodecID, unsigned ATag, bool AEncoder) {
    const AVCodec* Codec = AEncoder ? avcodec::avcodec_find_encoder(ACodecID)
                                    : avcodec::avcodec_find_decoder(ACodecID);
    if (Codec) {
        const std::string LongName = Trim(Codec->long_name ? Codec->long_name : "");
        return LongName.empty() ? std::string(Codec->name)
                                : Format("%s(%s)", {Codec->name, LongName});
    }
    if (ACodecID == AV_CODEC_ID_MPEG2TS)
        return "mpeg2ts";
    std::string Chars;
    for (int I = 0; I < 4; ++I) {
        const unsigned Byte = (ATag >> (8 * I)) & 0xFF;
        if (Byte < 32 || Byte > 126)
            return Format("0x%.4x", {ATag});
        Chars += static_cast<char>(Byte);
    }
    return Format("%s / 0x%.4X", {Chars, ATag});
}

} // namespace

std::string CodecTagText(const AVCodecParameters* AParameters, bool AEncoder) {
    return CodecText(AParameters->codec_id, AParameters->codec_tag, AEncoder);
}

std::string CodecTagText(const AVCodecContext* AContext, bool AEncoder) {
    return CodecText(AContext->codec_id, AContext->codec_tag, AEncoder);
}

std::string MediaTypeName(int AMediaType) {
    static const char* const Names[] = {"Video", "Audio", "Data", "Subtitle", "Attachment"};
    return AMediaType >= 0 && AMediaType < 5 ? Names[AMediaType] : "Unknown";
}

// ---- Frames into bitmaps ---------------------------------------------------

TRGBConvertContext::~TRGBConvertContext() {
    // Only what FFmpeg allocated needs the libraries; an untouched record
    // may outlive them.
    if (RGBBuf || toRGB_convert_ctx || fromRGB_convert_ctx)
        ResetRGBContext(*this);
}

void ResetRGBContext(TRGBConvertContext& AContext) {
    AContext.Bitmap.reset();
    if (AContext.RGBBuf)
        avutil::av_free(AContext.RGBBuf);
    AContext.RGBBuf = nullptr;
    if (AContext.toRGB_convert_ctx)
        swscale::sws_freeContext(AContext.toRGB_convert_ctx);
    AContext.toRGB_convert_ctx = nullptr;
    if (AContext.fromRGB_convert_ctx)
        swscale::sws_freeContext(AContext.fromRGB_convert_ctx);
    AContext.fromRGB_convert_ctx = nullptr;
    AContext.RGBPixFmt = AV_PIX_FMT_BGR24;
    AContext.BMPPixFmt = pf24bit;
    AContext.RGBBufSize = 0;
    AContext.RGBPicture = TAVPicture{};
    AContext.RGBPictureRef = nullptr;
}

bool GrowAVBuffer(std::uint8_t*& ABuffer, int& ASize, int ANeeded) {
    if (ABuffer && ASize >= ANeeded)
        return true;
    if (ABuffer)
        avutil::av_free(ABuffer);
    ABuffer = static_cast<std::uint8_t*>(avutil::av_malloc(ANeeded));
    ASize = ABuffer ? ANeeded : 0;
    return ABuffer != nullptr;
}

std::unique_ptr<TBitmap> NewFrameBitmap(int AWidth, int AHeight, TPixelFormat AFormat) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetPixelFormat(AFormat);
    Bitmap->Canvas()->Brush()->SetStyle(bsClear);
    Bitmap->SetSize(AWidth, AHeight);
    return Bitmap;
}

namespace {

// The bytes of one 24-bit bitmap row: three per pixel, padded to 4.
int RowSize24(int AWidth) {
    return (AWidth * 24 + 31) / 32 * 4;
}

bool ConvertToRGB(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt, int AWidth,
                  int AHeight) {
    const int Size = avutil::av_image_get_buffer_size(AContext.RGBPixFmt, AWidth, AHeight, 1);
    if (Size < 0)
        return false;
    if (!GrowAVBuffer(AContext.RGBBuf, AContext.RGBBufSize, Size))
        return false;
    avutil::av_image_fill_arrays(AContext.RGBPicture.data, AContext.RGBPicture.linesize,
                                 AContext.RGBBuf, AContext.RGBPixFmt, AWidth, AHeight, 1);
    AContext.toRGB_convert_ctx = swscale::sws_getCachedContext(
        AContext.toRGB_convert_ctx, AWidth, AHeight, static_cast<AVPixelFormat>(APixFmt), AWidth,
        AHeight, AContext.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!AContext.toRGB_convert_ctx)
        return false;
    swscale::sws_scale(AContext.toRGB_convert_ctx, APicture.data, APicture.linesize, 0, AHeight,
                       AContext.RGBPicture.data, AContext.RGBPicture.linesize);
    AContext.RGBPictureRef = &AContext.RGBPicture;
    return true;
}

} // namespace

bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt,
                     int AWidth, int AHeight) {
    if (AWidth <= 0 || AHeight <= 0 || !APicture.data[0])
        return false;
    if (!AContext.Bitmap)
        AContext.Bitmap = NewFrameBitmap(AWidth, AHeight, AContext.BMPPixFmt);
    AContext.Bitmap->SetSize(AWidth, AHeight);

    const bool Direct = APixFmt == AContext.RGBPixFmt && AWidth % 2 == 0 && AHeight % 2 == 0 &&
                        APicture.linesize[0] == RowSize24(AWidth);
    if (Direct)
        AContext.RGBPictureRef = &APicture;
    else if (!ConvertToRGB(AContext, APicture, APixFmt, AWidth, AHeight))
        return false;

    const TAVPicture& Source = *AContext.RGBPictureRef;
    // A row never spills past the bitmap's own row, whatever the source's
    // line size says.
    const int Bytes = std::min(Source.linesize[0], AContext.Bitmap->RowSize());
    for (int Y = 0; Y < AHeight; ++Y)
        std::memcpy(AContext.Bitmap->ScanLine(Y),
                    Source.data[0] + std::ptrdiff_t(Y) * Source.linesize[0], Bytes);
    return true;
}
