#include "app/JobQueue.h"

#include "player/AVProbe.h"

#include <utility>

namespace {

// Whether the queue refused the output only because the encoder one of its
// codec fields names is not in the loaded libraries.
bool EncoderMissing(const TOutputOptions& Options, const std::string& Message) {
    for (const std::string* Name : {&Options.VideoCodec, &Options.AudioCodec})
        if (!Name->empty() && Message.find("Unknown encoder '" + *Name + "'") != std::string::npos)
            return true;
    return false;
}

} // namespace

TJobProbe TFFmpegJobQueue::ProbeFile(const std::string& FileName) {
    TJobProbe Result;
    TAVProbe* Probe = FQueue.AVProbe();
    Result.Loaded = Probe->LoadFile(FileName);
    if (!Result.Loaded) {
        Result.ErrorText = Probe->LastErrMsg();
        return Result;
    }
    Result.InfoText = Probe->FileInfoText();
    Result.FileSize = Probe->FileSize();
    Result.Duration = Probe->FileStreamInfo().Duration;
    return Result;
}

std::string TFFmpegJobQueue::TaskInfoText(int Task) {
    TAVProbe* Probe = FQueue.GetTaskAVProbe(Task, 0);
    return Probe ? Probe->FileInfoText() : std::string();
}

bool TFFmpegJobQueue::SetOutputFile(int Task, const std::string& FileName, POutputOptions Options) {
    if (FQueue.SetOutputFile(Task, FileName, Options))
        return true;
    if (!Options || !EncoderMissing(*Options, FQueue.LastErrMsg()))
        return false;
    // The task stays without an output: started, it fails before it writes
    // anything, and its report carries this message instead.
    std::lock_guard Guard(FLock);
    FFailAtStart[Task] = FQueue.LastErrMsg();
    return true;
}

void TFFmpegJobQueue::RemoveTask(int Task) {
    FQueue.RemoveTask(Task);
    std::lock_guard Guard(FLock);
    std::map<int, std::string> Kept;
    for (auto& [Index, Message] : FFailAtStart)
        if (Index != Task)
            Kept.emplace(Index > Task ? Index - 1 : Index, std::move(Message));
    FFailAtStart = std::move(Kept);
}

void TFFmpegJobQueue::ClearTasks() {
    FQueue.ClearTasks();
    std::lock_guard Guard(FLock);
    FFailAtStart.clear();
}

void TFFmpegJobQueue::SetOnTerminate(TTerminateEvent Value) {
    if (!Value) {
        FQueue.SetOnTerminate({});
        return;
    }
    FQueue.SetOnTerminate(
        TTerminateEvent([this, Value](TObject* Sender, const TTerminateInfo& Info) {
            Value(Sender, Reported(Info));
        }));
}

TTerminateInfo TFFmpegJobQueue::Reported(const TTerminateInfo& Info) const {
    TTerminateInfo Out = Info;
    std::lock_guard Guard(FLock);
    if (auto Kept = FFailAtStart.find(Info.TaskIndex); Info.Exception && Kept != FFailAtStart.end())
        Out.ExceptionMsg = Kept->second;
    return Out;
}
