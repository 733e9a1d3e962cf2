// An output record turned into engine options, in the fixed order the
// engine expects them: target preset, codecs and presets, the extra option
// text, the plain fields, frame size and filters; then the output is created
// and the further streams of the option text are added to it.
#include "media/FFmpegQueue.h"

#include "media/MyUtils.h"
#include "platform/core/Conversions.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"

#include <algorithm>

namespace {

// The per-stream names of an output's option text: what the main streams
// use ("def_" entries) and, in line order, what each added stream takes.
class TCodecDefaults {
public:
    explicit TCodecDefaults(const TOutputOptions& AOptions) {
        SetDefault("acodec", AOptions.AudioCodec);
        SetDefault("vcodec", AOptions.VideoCodec);
        SetDefault("scodec", AOptions.SubtitleCodec);
        SetDefault("apre", AOptions.AudioPreset);
        SetDefault("vpre", AOptions.VideoPreset);
        SetDefault("spre", AOptions.SubtitlePreset);
        SetDefault("s", AOptions.FrameSize);
        SetDefault("vf", AOptions.VideoFilters);
        for (const TOptionLine& Line : SplitOptionText(AOptions.ExtOptions)) {
            std::string Name = LowerCase(Line.Name);
            if (Name == "vfilters")
                Name = "vf";
            if (Line.Value.empty() || !IsStreamName(Name))
                continue;
            // A field of the record wins over the text, the first line over
            // later ones.
            SetDefault(Name, Line.Value);
            FEntries.push_back({Name, Line.Value});
        }
    }

    // The value the main streams use, or "".
    std::string Default(const std::string& AName) const { return Value("def_" + AName); }

    // The next added stream's value of AName: the first line of that name,
    // used up by taking it, or the main streams' value once none is left.
    std::string Take(const std::string& AName) {
        const auto Found = std::find_if(FEntries.begin(), FEntries.end(),
                                        [&AName](const TOptionLine& E) { return E.Name == AName; });
        if (Found == FEntries.end())
            return Default(AName);
        std::string Result = Found->Value;
        FEntries.erase(Found);
        return Result;
    }

private:
    static bool IsStreamName(const std::string& AName) {
        static const char* const Names[] = {"acodec", "vcodec", "scodec", "apre",
                                            "vpre",   "spre",   "s",      "vf"};
        return std::any_of(std::begin(Names), std::end(Names),
                           [&AName](const char* Name) { return AName == Name; });
    }

    std::string Value(const std::string& AName) const {
        for (const TOptionLine& E : FEntries)
            if (SameText(E.Name, AName))
                return E.Value;
        return "";
    }

    void SetDefault(const std::string& AName, const std::string& AValue) {
        if (!AValue.empty() && Value("def_" + AName).empty())
            FEntries.push_back({"def_" + AName, AValue});
    }

    std::vector<TOptionLine> FEntries;
};

void ApplyTarget(TFFmpeg& ATask, const TOutputOptions& AOptions) {
    static const char* const Targets[] = {"", "vcd", "svcd", "dvd"};
    if (AOptions.TargetType == ttIgnore || AOptions.TargetType > ttDVD)
        return;
    const char* Norm = AOptions.NormType == ntPAL    ? "pal"
                       : AOptions.NormType == ntNTSC ? "ntsc"
                                                     : "auto";
    const char* NormDefault = AOptions.NormDefault == ntPAL ? "pal" : "ntsc";
    ATask.SetTarget(Targets[AOptions.TargetType], Norm, NormDefault);
}

// The output's recording time stamp in seconds since 1970-01-01 UTC: 0 is
// the moment of the call (a local date-time), a positive value is taken as
// it stands, a negative one sets nothing.
void ApplyTimeStamp(TFFmpeg& ATask, TDateTime ATimeStamp) {
    if (ATimeStamp < 0)
        return;
    if (ATimeStamp > 0) {
        ATask.SetRecordingTimestamp(Round(ATimeStamp));
        return;
    }
    const double Days = Now() - UnixDateDelta - GetGMTOffset();
    ATask.SetRecordingTimestamp(Round(Days * SecsPerDay));
}

void ApplyMetadata(TFFmpeg& ATask, const TStreamInfo& AInfo) {
    if (AInfo.Year > 0)
        ATask.AddMetadata("year", IntToStr(AInfo.Year));
    if (AInfo.Track > 0)
        ATask.AddMetadata("track", IntToStr(AInfo.Track));
    const std::pair<const char*, const std::string*> Texts[] = {
        {"title", &AInfo.Title},     {"author", &AInfo.Author}, {"copyright", &AInfo.Copyright},
        {"comment", &AInfo.Comment}, {"album", &AInfo.Album},   {"genre", &AInfo.Genre}};
    for (const auto& [Key, Text] : Texts)
        if (!Text->empty())
            ATask.AddMetadata(Key, *Text);
}

// The plain fields, in this order. A flag that is false never switches off
// what a preset or the option text switched on.
void ApplyPlainFields(TFFmpeg& ATask, const TOutputOptions& O) {
    const auto Generic = [&ATask](const char* AName, int AValue) {
        if (AValue > 0)
            ATask.OptDefault(AName, AValue);
    };
    ATask.OptFormat(O.FileFormat);
    Generic("packetsize", O.PacketSize);
    Generic("muxrate", O.MuxRate);
    ATask.SetMuxMaxDelay(O.MuxDelay);
    ATask.SetMuxPreload(O.MuxPreload);
    if (O.DisableAudio)
        ATask.ParseOption("an", "1");
    ATask.SetAudioVolume(O.AudioVolume);
    ATask.OptAudioChannels(O.AudioChannels);
    ATask.OptAudioSampleRate(O.AudioSampleRate);
    Generic("ab", O.AudioBitrate);
    Generic("abt", O.AudioBitRateTolerance);
    ATask.ParseOption("alang", O.AudioLanguage);
    ATask.SetAudioSyncMethod(O.AudioSyncMethod);
    if (!O.AudioTag.empty())
        ATask.OptAudioTag(O.AudioTag);
    if (O.DisableVideo)
        ATask.ParseOption("vn", "1");
    ATask.OptFrameRate(O.FrameRate);
    if (!O.FrameAspectRatio.empty())
        ATask.OptAspect(O.FrameAspectRatio);
    ATask.OptCropTop(O.CropTop);
    ATask.OptCropBottom(O.CropBottom);
    ATask.OptCropLeft(O.CropLeft);
    ATask.OptCropRight(O.CropRight);
    Generic("g", O.GroupPictureSize);
    Generic("vb", O.VideoBitrate);
    Generic("maxrate", O.VideoMaxRate);
    Generic("minrate", O.VideoMinRate);
    Generic("bt", O.VideoBitRateTolerance);
    Generic("bufsize", O.VideoBufSize);
    ATask.SetVideoSyncMethod(O.VideoSyncMethod);
    if (!O.VideoTag.empty())
        ATask.OptVideoTag(O.VideoTag);
    ATask.ParseOption("vlang", O.VideoLanguage);
    if (O.DisableSubtitle)
        ATask.ParseOption("sn", "1");
    ATask.ParseOption("slang", O.SubtitleLanguage);
    ATask.ParseOption("isync", O.InputSync ? "1" : "0");
    if (O.CopyTimestamp)
        ATask.ParseOption("copyts", "1");
    ATask.SetStartTime(O.TimeStart);
    ATask.SetRecordingTime(O.TimeLength);
    ApplyTimeStamp(ATask, O.Info.TimeStamp);
    ApplyMetadata(ATask, O.Info);
}

// Each "newaudio", "newvideo" and "newsubtitle" line of the text adds a
// stream to the output just created, with the stream options it takes.
void MakeAddedStreams(TFFmpeg& ATask, const std::string& AExtOptions, TCodecDefaults& ADefaults) {
    static const std::pair<const char*, std::vector<const char*>> Kinds[] = {
        {"newaudio", {"acodec", "apre"}},
        {"newvideo", {"vcodec", "vpre", "s", "vf"}},
        {"newsubtitle", {"scodec", "spre"}}};
    for (const TOptionLine& Line : SplitOptionText(AExtOptions)) {
        const std::string Name = LowerCase(Line.Name);
        for (const auto& [Kind, StreamOptions] : Kinds) {
            if (Name != Kind)
                continue;
            for (const char* Option : StreamOptions)
                ATask.ParseOption(Option, ADefaults.Take(Option));
            ATask.ParseOption(Name, Line.Value);
        }
    }
}

} // namespace

bool TCustomFFmpegQueue::CreateTaskOutput(TFFmpeg* ATask, int ASlot, const std::string& AFileName,
                                          POutputOptions AOptions) {
    if (!AOptions) {
        ATask->ResetOutputOptions(ASlot);
        if (ATask->OpenOutputFile(AFileName, false) >= 0)
            return true;
        FLastErrMsg = ATask->LastErrMsg();
        return false;
    }
    TOutputOptions& O = *AOptions;
    if (O.FileName.empty())
        O.FileName = AFileName;
    ATask->SetOutputOptions(ASlot, O);
    // A failure anywhere leaves no output behind and the slot's record reset:
    // false always means that nothing was added.
    try {
        TCodecDefaults Defaults(O);
        ApplyTarget(*ATask, O);
        ATask->OptAudioCodec(Defaults.Default("acodec"));
        ATask->OptVideoCodec(Defaults.Default("vcodec"));
        ATask->OptSubtitleCodec(Defaults.Default("scodec"));
        ATask->ApplyPreset("apre", Defaults.Default("apre"));
        ATask->ApplyPreset("vpre", Defaults.Default("vpre"));
        ATask->ApplyPreset("spre", Defaults.Default("spre"));
        ATask->ParseExtOptions(O.ExtOptions, false);
        ApplyPlainFields(*ATask, O);
        ATask->OptFrameSize(Defaults.Default("s"));
        ATask->OptVFilters(Defaults.Default("vf"));
        if (O.CustomHook)
            ATask->SetOnCustomHook(
                TCustomFFmpeg::TCustomHookEvent(this, &TCustomFFmpegQueue::DoCustomHook));
        if (ATask->OpenOutputFile(AFileName, O.Join) < 0) {
            FLastErrMsg = ATask->LastErrMsg();
            ATask->ResetOutputOptions(ASlot);
            return false;
        }
        try {
            MakeAddedStreams(*ATask, O.ExtOptions, Defaults);
        } catch (...) {
            ATask->DropLastOutput();
            throw;
        }
    } catch (...) {
        ATask->ResetOutputOptions(ASlot);
        throw;
    }
    return true;
}
