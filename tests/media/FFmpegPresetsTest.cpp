#include "FFmpegTestEngine.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>

namespace {

std::string RaisedBy(const std::function<void()>& AAction) {
    try {
        AAction();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "(nothing raised)";
}

std::string Recorded(const TTestEngine& AEngine, TFFOptionTarget ATarget, const char* AName) {
    const TFFOptionEntry* Entry = AEngine.Entry(ATarget, AName);
    return Entry ? Entry->Value : "(none)";
}

bool IsRate(AVRational ARate, int ANum, int ADen) {
    return ARate.num == ANum && ARate.den == ADen;
}

using TargetTest = EngineTest;
using PresetTest = EngineTest;

} // namespace

// ---- Targets ---------------------------------------------------------------------

TEST_F(TargetTest, DvdChoosesPalFromTheFrameRate) {
    Engine->ParseOption("r", "25");
    Engine->SetTarget("dvd", "auto", "ntsc");
    EXPECT_EQ(Engine->Fframe_width, 720);
    EXPECT_EQ(Engine->Fframe_height, 576);
    EXPECT_TRUE(IsRate(Engine->Fframe_rate, 25, 1));
    EXPECT_EQ(Recorded(*Engine, otVideo, "g"), "15");
    EXPECT_EQ(Engine->Faudio_sample_rate, 48000);
    EXPECT_EQ(Engine->Fvideo_codec_name, "mpeg2video");
    EXPECT_EQ(Engine->Faudio_codec_name, "ac3");
    EXPECT_EQ(Engine->Flast_asked_format, "dvd");
    EXPECT_EQ(Recorded(*Engine, otFormat, "packetsize"), "2048");
    const TFFOptionEntry* MuxRate = Engine->Entry(otFormat, "muxrate");
    ASSERT_NE(MuxRate, nullptr);
    EXPECT_EQ(MuxRate->Value, "10080000");
    EXPECT_TRUE(MuxRate->Private);
    EXPECT_EQ(CountLogged(llVerbose, "Assuming PAL for target."), 1);
    EXPECT_EQ(CountLogged(llInfo, "Assuming 16:9 for aspect ratio"), 1);
    EXPECT_EQ(Engine->Fframe_aspect_ratio, 1.7777778f);
}

TEST_F(TargetTest, NtscAndFilmRatesChooseNtsc) {
    for (const char* Rate : {"30000/1001", "24000/1001"}) {
        SCOPED_TRACE(Rate);
        Engine = std::make_unique<TTestEngine>(4);
        Engine->ResetJob();
        ClearLog();
        Engine->ParseOption("r", Rate);
        Engine->SetTarget("dvd", "auto", "pal");
        EXPECT_EQ(Engine->Fframe_height, 480);
        EXPECT_TRUE(IsRate(Engine->Fframe_rate, 30000, 1001));
        EXPECT_EQ(Recorded(*Engine, otVideo, "g"), "18");
        EXPECT_EQ(CountLogged(llVerbose, "Assuming NTSC for target."), 1);
    }
}

// A frame rate that decides nothing leaves the choice to the inputs' video
// streams, then to the default.
TEST_F(TargetTest, InputsAndTheDefaultDecideAnUnknownRate) {
    struct TRow {
        const char* Clip; // none: no input
        const char* NormDefault;
        int Height;
    };
    const TRow Rows[] = {
        {"clip25.mp4", "ntsc", 576}, {"clip2997.mp4", "pal", 480}, {nullptr, "ntsc", 480},
        {nullptr, "pal", 576},       {nullptr, "film", 480},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Clip ? Row.Clip : "no input") + " " + Row.NormDefault);
        Engine = std::make_unique<TTestEngine>(4);
        Engine->ResetJob();
        if (Row.Clip)
            Engine->PlaceInput(OpenInput(Clip(Row.Clip)));
        Engine->ParseOption("r", "30");
        Engine->SetTarget("dvd", "auto", Row.NormDefault);
        EXPECT_EQ(Engine->Fframe_height, Row.Height);
    }
}

TEST_F(TargetTest, TargetOptionTexts) {
    Engine->ParseOption("r", "25");
    Engine->ParseOption("target", "film-dvd");
    EXPECT_EQ(Engine->Fframe_width, 720);
    EXPECT_EQ(Engine->Fframe_height, 480);
    EXPECT_TRUE(IsRate(Engine->Fframe_rate, 24000, 1001));
    EXPECT_EQ(Recorded(*Engine, otVideo, "g"), "18");
    EXPECT_EQ(CountLogged(llVerbose, "Assuming PAL for target."), 0);
    EXPECT_EQ(CountLogged(llVerbose, "Assuming NTSC for target."), 0);

    // Prefixes are case-sensitive: the whole text is then the type.
    ClearLog();
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("target", "PAL-vcd"); }), "Unknown target type");
    EXPECT_EQ(CountLogged(llVerbose, "Assuming NTSC for target."), 1);

    const std::tuple<const char*, int, AVPixelFormat> Dv[] = {
        {"ntsc-dv50", 480, AV_PIX_FMT_YUV422P},
        {"pal-dv", 576, AV_PIX_FMT_YUV420P},
        {" ntsc-dv ", 480, AV_PIX_FMT_YUV411P},
    };
    for (const auto& [Text, Height, PixFmt] : Dv) {
        Engine->ParseOption("target", Text);
        EXPECT_EQ(Engine->Fframe_width, 720) << Text;
        EXPECT_EQ(Engine->Fframe_height, Height) << Text;
        EXPECT_EQ(Engine->Fframe_pix_fmt, PixFmt) << Text;
        EXPECT_EQ(Engine->Flast_asked_format, "dv") << Text;
        EXPECT_EQ(Engine->Faudio_sample_rate, 48000) << Text;
    }
}

TEST_F(TargetTest, SvcdUsesTheEncodersScanOffset) {
    Engine->SetTarget("svcd", "pal", "pal");
    const TFFOptionEntry* ScanOffset = Engine->Entry(otVideo, "scan_offset");
    ASSERT_NE(ScanOffset, nullptr);
    EXPECT_TRUE(ScanOffset->Private);
    EXPECT_EQ(ScanOffset->Value, "true");
    EXPECT_EQ(Engine->Entry(otFormat, "muxrate"), nullptr);
    EXPECT_EQ(Recorded(*Engine, otFormat, "packetsize"), "2324");
    EXPECT_EQ(Engine->Fframe_width, 480);
    EXPECT_EQ(CountLogged(llInfo, "Assuming 4:3 for aspect ratio"), 1);
}

TEST_F(TargetTest, AudioChannelsPerTarget) {
    const std::tuple<const char*, int, int> Rows[] = {
        {"svcd", 6, 6}, {"svcd", 1, 2}, {"vcd", 6, 2}, {"dvd", 1, 2}, {"dvd", 6, 6}};
    for (const auto& [Target, Before, After] : Rows) {
        Engine->Faudio_channels = Before;
        Engine->SetTarget(Target, "pal", "pal");
        EXPECT_EQ(Engine->Faudio_channels, After) << Target << " " << Before;
    }
    EXPECT_EQ(Engine->Fmux_preload, 0.44f);
}

// Every generic setting of every target and norm is an option FFmpeg 5.1
// still takes.
TEST_F(TargetTest, EverySettingIsAcceptedOnThisFFmpeg) {
    for (const char* Target : {"vcd", "svcd", "dvd", "dv", "dv50"})
        for (const char* Norm : {"pal", "ntsc", "film"}) {
            SCOPED_TRACE(std::string(Target) + " " + Norm);
            Engine = std::make_unique<TTestEngine>(4);
            Engine->ResetJob();
            Engine->SetTarget(Target, Norm, "pal");
            for (const auto& [Setting, Accepted] : Engine->Generic)
                EXPECT_TRUE(Accepted) << Setting;
        }
}

TEST_F(TargetTest, LaterOptionsOverrideAndAspectStays) {
    Engine->ParseOption("aspect", "16:9");
    Engine->SetTarget("vcd", "pal", "pal");
    EXPECT_EQ(Engine->Fframe_aspect_ratio, 1.7777778f);
    EXPECT_EQ(CountLogged(llInfo, "Assuming 4:3 for aspect ratio"), 0);
    Engine->SetTarget("dvd", "ntsc", "pal");
    Engine->ParseOption("b", "3000000");
    EXPECT_EQ(Recorded(*Engine, otVideo, "b"), "3000000");
}

TEST_F(TargetTest, AutomaticNormNeedsAFrameRate) {
    EXPECT_EQ(RaisedBy([&] { Engine->SetTarget("dvd", "auto", "pal"); }), "frame_rate is invalid.");
    EXPECT_EQ(Engine->Fframe_width, 0);
    EXPECT_EQ(Engine->Flast_asked_format, "");
    EXPECT_TRUE(Engine->Generic.empty());
}

// ---- Codec presets -------------------------------------------------------------------

TEST_F(PresetTest, BuiltinPresetsAreFoundByNameOrEncoder) {
    Engine->ParseOption("vcodec", "libx264");
    Engine->ParseOption("vpre", "LIBX264-DEFAULT");
    EXPECT_EQ(Recorded(*Engine, otVideo, "preset"), "medium");

    Engine->ResetJob();
    Engine->ParseOption("vcodec", "libx264");
    Engine->ParseOption("vpre", "default");
    EXPECT_EQ(Recorded(*Engine, otVideo, "preset"), "medium");

    Engine->ResetJob();
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("vpre", "default"); }),
              "Preset \"default\" not found");
    // Files never consult the table.
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("fpre", "libx264-default"); }),
              "Preset \"libx264-default\" not found");
    // A preset of libx264 lines without libx264 named fails on its first
    // private line.
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("vpre", "libx264-default"); }),
              "libx264-default: Invalid option or argument: \"preset=medium\", parsed as "
              "\"preset\" = \"medium\"");
}

TEST_F(PresetTest, PresetFiles) {
    const std::string File = Temp.File("lines.ffpreset");
    std::ofstream(File, std::ios::binary) << "\r\n  g=12 \r\n\r\nVCODEC=libx264\r\n"
                                             "preset=fast\rvcodec = x\r\nbf=1\n";
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("fpre", File); }),
              File +
                  ": Invalid option or argument: \"vcodec = x\", parsed as \"vcodec \" = \" x\"");
    EXPECT_EQ(Recorded(*Engine, otVideo, "g"), "12");
    EXPECT_EQ(Engine->Fvideo_codec_name, "libx264");
    EXPECT_EQ(Recorded(*Engine, otVideo, "preset"), "fast");
    EXPECT_EQ(Engine->Entry(otVideo, "bf"), nullptr);

    for (const char* Line : {"#", "noequals", "=1", "g="}) {
        std::ofstream(File, std::ios::binary | std::ios::trunc) << Line << "\n";
        EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("apre", File); }),
                  File + ": Invalid syntax: \"" + Line + "\"");
    }
    std::ofstream(File, std::ios::binary | std::ios::trunc) << "";
    EXPECT_NO_THROW(Engine->ParseOption("spre", File));
}

namespace {

// Applies one built-in preset with libx264 named, then opens libx264 with
// what was recorded and encodes a few frames.
class BuiltinPresetTest : public EngineTest, public testing::WithParamInterface<const char*> {};

} // namespace

TEST_P(BuiltinPresetTest, OpensLibx264AndEncodes) {
    Engine->ParseOption("vcodec", "libx264");
    Engine->ParseOption("vpre", GetParam());
    const AVCodec* Codec = avcodec::avcodec_find_encoder_by_name("libx264");
    ASSERT_NE(Codec, nullptr);
    AVCodecContext* Context = avcodec::avcodec_alloc_context3(Codec);
    Context->width = 320;
    Context->height = 240;
    Context->pix_fmt = AV_PIX_FMT_YUV420P;
    Context->time_base = {1, 25};
    ApplyContextOptions(Engine->FOptions, Context, otVideo,
                        AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
    ASSERT_EQ(avcodec::avcodec_open2(Context, Codec, nullptr), 0);

    AVFrame* Frame = avutil::av_frame_alloc();
    Frame->width = 320;
    Frame->height = 240;
    Frame->format = AV_PIX_FMT_YUV420P;
    ASSERT_EQ(avutil::av_frame_get_buffer(Frame, 0), 0);
    AVPacket* Packet = avcodec::av_packet_alloc();
    int Packets = 0;
    const auto Drain = [&] {
        while (avcodec::avcodec_receive_packet(Context, Packet) == 0) {
            ++Packets;
            avcodec::av_packet_unref(Packet);
        }
    };
    for (int I = 0; I < 5; ++I) {
        for (int Plane = 0; Plane < 3; ++Plane)
            std::memset(Frame->data[Plane], 16 + I * 20 + Plane,
                        static_cast<std::size_t>(Frame->linesize[Plane]) * (Plane ? 120 : 240));
        Frame->pts = I;
        EXPECT_EQ(avcodec::avcodec_send_frame(Context, Frame), 0);
        Drain();
    }
    avcodec::avcodec_send_frame(Context, nullptr);
    Drain();
    EXPECT_GT(Packets, 0);
    avcodec::av_packet_free(&Packet);
    avutil::av_frame_free(&Frame);
    avcodec::avcodec_free_context(&Context);
}

namespace {

std::vector<const char*> PresetNames() {
    std::vector<const char*> Names;
    for (const TOptionsPreset& Preset : BuiltinPresets())
        Names.push_back(Preset.Name);
    return Names;
}

std::string PresetTestName(const testing::TestParamInfo<const char*>& AInfo) {
    std::string Name = AInfo.param;
    for (char& C : Name)
        if (!std::isalnum(static_cast<unsigned char>(C)))
            C = '_';
    return Name;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Engine, BuiltinPresetTest, testing::ValuesIn(PresetNames()),
                         PresetTestName);

TEST(BuiltinPresets, TableKeepsItsNamesAndRepeatedTexts) {
    const std::vector<TOptionsPreset>& Presets = BuiltinPresets();
    ASSERT_EQ(Presets.size(), 36u);
    EXPECT_STREQ(Presets.front().Name, "libx264-baseline");
    EXPECT_STREQ(Presets.back().Name, "libx264-veryslow_firstpass");
    const std::pair<const char*, const char*> Same[] = {
        {"libx264-medium_firstpass", "libx264-fast_firstpass"},
        {"libx264-placebo_firstpass", "libx264-placebo"},
        {"libx264-slower_firstpass", "libx264-slow_firstpass"},
        {"libx264-ultrafast_firstpass", "libx264-ultrafast"}};
    for (const auto& [A, B] : Same)
        EXPECT_EQ(FindBuiltinPreset(A), FindBuiltinPreset(B)) << A;
    EXPECT_EQ(FindBuiltinPreset("Libx264-Main"), "8x8dct=0\n");
    EXPECT_EQ(FindBuiltinPreset("libx264-nosuch"), "");
}
