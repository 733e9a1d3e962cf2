// What the prober tests share: the clips made at build time, the libraries,
// and the log lines the prober itself sends.
#pragma once

#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "player/AVProbe.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// A clip of the build's fixture folder (tests/fixtures/make_probe_media.sh).
inline std::string Media(const std::string& AName) {
    return std::string(OSTRELA_PROBE_MEDIA) + "/" + AName;
}

inline std::string ReadFile(const std::string& AName) {
    std::ifstream Stream(AName, std::ios::binary);
    return {std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& AName, const std::string& AContent) {
    std::ofstream(AName, std::ios::binary) << AContent;
}

struct TLogLine {
    TLogLevel Level;
    std::string Message;
    bool operator==(const TLogLine&) const = default;
};

inline void PrintTo(const TLogLine& ALine, std::ostream* AStream) {
    *AStream << "{" << int(ALine.Level) << ", \"" << ALine.Message << "\"}";
}

// The prober with its frame and conversion state in reach of the tests.
class TTestProbe : public TAVProbe {
public:
    using TAVProbe::TAVProbe;
    TFrameInfo& Picture() { return FPicture; }
    TRGBConvertContext& RGBContext() { return FRGBContext; }
    void Recount() { CountStreams(); }
};

class ProbeTest : public testing::Test {
protected:
    TTempDir Temp;
    std::unique_ptr<TTestProbe> Probe;
    // The lines the prober logged, not FFmpeg's own; AllLogged has both.
    std::vector<TLogLine> Logged;
    std::vector<TLogLine> AllLogged;

    void SetUp() override {
        ASSERT_TRUE(FFLoader().Load(ProbeLibs)) << FFLoader().LastErrMsg();
        TFFLogger* Logger = GetFFLogger();
        Logger->SetTriggerEventInMainThread(false);
        Logger->SetLogLevel(llInfo);
        Probe = std::make_unique<TTestProbe>(nullptr);
        Logger->OnLog = [this](TObject* ASender, TThreadID, TLogLevel ALevel,
                               const std::string& AMsg) {
            if (ASender == Probe.get())
                Logged.push_back({ALevel, AMsg});
            AllLogged.push_back({ALevel, AMsg});
        };
    }
    void TearDown() override {
        Probe.reset();
        TFFLogger* Logger = GetFFLogger();
        Logger->OnLog = nullptr;
        Logger->SetTriggerEventInMainThread(true);
        FFLoader().Unload(ProbeLibs);
    }

    void Load(const std::string& AName) {
        ASSERT_TRUE(Probe->LoadFile(Media(AName))) << Probe->LastErrMsg();
    }
};

// A format context built in memory for cases no encoder makes, freed with
// the object. Adopt it with SetFileHandle.
class TSyntheticInput {
public:
    // Times unknown, as a demuxer leaves them when nothing tells them.
    TSyntheticInput() : FContext(avformat::avformat_alloc_context()) {
        FContext->start_time = AV_NOPTS_VALUE;
        FContext->duration = AV_NOPTS_VALUE;
    }
    ~TSyntheticInput() { avformat::avformat_free_context(FContext); }
    TSyntheticInput(const TSyntheticInput&) = delete;
    TSyntheticInput& operator=(const TSyntheticInput&) = delete;

    AVFormatContext* Context() const { return FContext; }

    AVStream* AddStream(AVMediaType AType, AVCodecID ACodec) {
        AVStream* Stream = avformat::avformat_new_stream(FContext, nullptr);
        Stream->id = static_cast<int>(FContext->nb_streams);
        Stream->codecpar->codec_type = AType;
        Stream->codecpar->codec_id = ACodec;
        return Stream;
    }
    AVStream* AddVideo(int AWidth = 320, int AHeight = 240) {
        AVStream* Stream = AddStream(AVMEDIA_TYPE_VIDEO, AV_CODEC_ID_MPEG4);
        Stream->codecpar->width = AWidth;
        Stream->codecpar->height = AHeight;
        Stream->codecpar->format = AV_PIX_FMT_YUV420P;
        Stream->codecpar->sample_aspect_ratio = {1, 1};
        Stream->time_base = {1, 25};
        Stream->r_frame_rate = Stream->avg_frame_rate = {25, 1};
        return Stream;
    }
    AVStream* AddAudio() {
        AVStream* Stream = AddStream(AVMEDIA_TYPE_AUDIO, AV_CODEC_ID_MP2);
        Stream->codecpar->sample_rate = 44100;
        Stream->codecpar->format = AV_SAMPLE_FMT_S16;
        avutil::av_channel_layout_default(&Stream->codecpar->ch_layout, 2);
        Stream->time_base = {1, 44100};
        return Stream;
    }
    static void SetTag(AVDictionary** AMetadata, const char* AKey, const char* AValue) {
        avutil::av_dict_set(AMetadata, AKey, AValue, 0);
    }

private:
    AVFormatContext* FContext;
};
