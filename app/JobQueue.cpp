#include "app/JobQueue.h"

#include "player/AVProbe.h"

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
