// The task (an engine with its probers and option copies), the task list and
// the option text.
#include "media/FFmpegQueue.h"

#include "media/UnicodeProtocol.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "player/AVProbe.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>

namespace {

std::string ReplaceAll(std::string AText, const std::string& AFrom, const std::string& ATo) {
    for (std::size_t At = AText.find(AFrom); At != std::string::npos;
         At = AText.find(AFrom, At + ATo.size()))
        AText.replace(At, AFrom.size(), ATo);
    return AText;
}

// Names the output mapping applies in its own steps, and the codec names an
// output takes through its codec defaults list.
constexpr std::array<const char*, 8> StreamNames = {"newvideo", "newaudio", "newsubtitle", "apre",
                                                    "vpre",     "spre",     "vfilters",    "vf"};
constexpr std::array<const char*, 4> CodecNames = {"acodec", "vcodec", "scodec", "s"};

template <std::size_t N>
bool IsOneOf(const std::string& AName, const std::array<const char*, N>& ANames) {
    return std::any_of(ANames.begin(), ANames.end(),
                       [&AName](const char* Name) { return AName == Name; });
}

} // namespace

std::vector<TOptionLine> SplitOptionText(const std::string& AText) {
    std::string Text = Trim(AText);
    Text = ReplaceAll(Text, "\r\n", "\n");
    Text = ReplaceAll(Text, "\r", "\n");
    Text = ReplaceAll(Text, "<CRLF>", "\n");
    std::vector<TOptionLine> Lines;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t End = Text.find('\n', Start);
        const std::string Line = Text.substr(Start, End == std::string::npos ? End : End - Start);
        const std::size_t Equal = Line.find('=');
        if (Equal == std::string::npos)
            Lines.push_back({Line, ""});
        else
            Lines.push_back({Line.substr(0, Equal), Line.substr(Equal + 1)});
        if (End == std::string::npos)
            break;
        Start = End + 1;
    }
    return Lines;
}

// ---- TFFmpeg ---------------------------------------------------------------------

TFFmpeg::TFFmpeg(int AMaxFiles)
    : TCustomFFmpeg(AMaxFiles), FAVProbes(AMaxFiles), FInputOptions(AMaxFiles),
      FOutputOptions(AMaxFiles) {}

TFFmpeg::~TFFmpeg() {
    // The job ends before the probers that describe its inputs go.
    Stop(true);
    FAVProbes.clear();
    FInputOptions.clear();
    FOutputOptions.clear();
}

TAVProbe* TFFmpeg::GetAVProbe(int ASlot) {
    std::unique_ptr<TAVProbe>& Probe = FAVProbes.at(ASlot);
    if (!Probe)
        Probe = std::make_unique<TAVProbe>(nullptr);
    return Probe.get();
}

TAVProbe* TFFmpeg::AVProbe(int ASlot) const {
    return FAVProbes.at(ASlot).get();
}

void TFFmpeg::SetInputOptions(int ASlot, const TInputOptions& AOptions) {
    FInputOptions.at(ASlot) = std::make_unique<TInputOptions>(AOptions);
}

void TFFmpeg::SetOutputOptions(int ASlot, const TOutputOptions& AOptions) {
    FOutputOptions.at(ASlot) = std::make_unique<TOutputOptions>(AOptions);
}

void TFFmpeg::ResetInputOptions(int ASlot) {
    if (FInputOptions.at(ASlot))
        InitInputOptions(*FInputOptions[ASlot]);
}

void TFFmpeg::ResetOutputOptions(int ASlot) {
    if (FOutputOptions.at(ASlot))
        InitOutputOptions(*FOutputOptions[ASlot]);
}

const TInputOptions* TFFmpeg::InputOptions(int ASlot) const {
    return FInputOptions.at(ASlot).get();
}

const TOutputOptions* TFFmpeg::OutputOptions(int ASlot) const {
    return FOutputOptions.at(ASlot).get();
}

void TFFmpeg::ParseExtOptions(const std::string& AText, bool AAllowCodecs) {
    for (const TOptionLine& Line : SplitOptionText(AText)) {
        const std::string Name = LowerCase(Line.Name);
        if (IsOneOf(Name, StreamNames) || (!AAllowCodecs && IsOneOf(Name, CodecNames)))
            continue;
        ParseOption(Name, Line.Value);
    }
}

void TFFmpeg::SetPostHook(TPostHook AHook, bool AOn) {
    // A set that a converting job has not taken yet is the one to change.
    const int Pending = FPendingPostHooks;
    unsigned Bits = Pending >= 0 ? static_cast<unsigned>(Pending) : PostHooks().Bits();
    const unsigned Bit = TPostHooks{AHook}.Bits();
    Bits = AOn ? Bits | Bit : Bits & ~Bit;
    SetPostHooks(TPostHooks::FromBits(Bits));
}

void TFFmpeg::DropLastOutput() {
    if (Fnb_output_files <= 0)
        return;
    // A joined output is entered once per input: every entry goes.
    AVFormatContext* Context = Foutput_files[Fnb_output_files - 1];
    while (Fnb_output_files > 0 && Foutput_files[Fnb_output_files - 1] == Context)
        Foutput_files[--Fnb_output_files] = nullptr;
    FJoinMode = false;
    if (!Context)
        return;
    // The last output's streams hold the last codec entries.
    const std::size_t Streams = Context->nb_streams;
    Foutput_codecs.resize(Foutput_codecs.size() > Streams ? Foutput_codecs.size() - Streams : 0);
    const bool HasFile = Context->oformat && !(Context->oformat->flags & AVFMT_NOFILE);
    if (HasFile && Context->pb)
        avformat::avio_closep(&Context->pb);
    const std::string Name = Context->url ? FileNameFromAV(Context->url) : std::string();
    // The slots hold the streams' encoder contexts: they go first.
    Foutput_states.erase(Context);
    avformat::avformat_free_context(Context);
    struct stat Info {};
    if (HasFile && !Name.empty() && ::lstat(Name.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
        Info.st_size == 0)
        DeleteFile(Name);
}

// ---- TFFmpegList -----------------------------------------------------------------

TFFmpegList::~TFFmpegList() {
    Clear();
}

int TFFmpegList::Add(TFFmpeg* ATask) {
    FList.push_back(ATask);
    return GetCount() - 1;
}

void TFFmpegList::Clear() {
    // Workers of ending jobs look themselves up while this runs: the list
    // keeps its entries until every task is gone.
    for (TFFmpeg* Task : FList)
        delete Task;
    FList.clear();
}

void TFFmpegList::CheckIndex(int AIndex) const {
    if (AIndex < 0 || AIndex >= GetCount())
        RaiseListIndexError(AIndex);
}

void TFFmpegList::Delete(int AIndex) {
    CheckIndex(AIndex);
    delete FList[AIndex];
    FList.erase(FList.begin() + AIndex);
}

void TFFmpegList::Exchange(int AIndex1, int AIndex2) {
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    std::swap(FList[AIndex1], FList[AIndex2]);
}

TFFmpeg* TFFmpegList::GetItem(int AIndex) const {
    CheckIndex(AIndex);
    return FList[AIndex];
}

int TFFmpegList::IndexOf(const TObject* ATask) const {
    for (int I = 0; I < GetCount(); ++I)
        if (FList[I] == ATask)
            return I;
    return -1;
}

void TFFmpegList::PauseAll() {
    for (TFFmpeg* Task : FList)
        Task->Pause();
}

void TFFmpegList::ResumeAll() {
    for (TFFmpeg* Task : FList)
        Task->Resume();
}

void TFFmpegList::StopAll(bool AWaitFor) {
    for (TFFmpeg* Task : FList)
        Task->StopOrTerminate(AWaitFor);
}

void TFFmpegList::SetHook(TPostHook AHook, bool AOn) {
    for (TFFmpeg* Task : FList)
        Task->SetPostHook(AHook, AOn);
}

void TFFmpegList::SetPreview(bool AOn) {
    SetHook(phPreview, AOn);
}

void TFFmpegList::SetPreviewBitmap(bool AOn) {
    SetHook(phBitmap, AOn);
}
