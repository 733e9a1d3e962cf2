#include "tests/app/support/AppFakes.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <string>

namespace {

std::string Flag(bool Value) {
    return Value ? "1" : "0";
}

std::string Set(const char* What, bool Assigned) {
    return std::string(What) + (Assigned ? "(set)" : "(none)");
}

} // namespace

int TFakeJobQueue::DeliverPending() {
    int Delivered = 0;
    while (!FProgress.empty() || !FTerminations.empty()) {
        if (!FProgress.empty()) {
            TProgressInfo Info = FProgress.front();
            FProgress.pop_front();
            if (OnProgress)
                OnProgress(nullptr, &Info);
        } else {
            TTerminateInfo Info = FTerminations.front();
            FTerminations.pop_front();
            if (OnTerminate)
                OnTerminate(nullptr, Info);
        }
        ++Delivered;
    }
    return Delivered;
}

void TFakeJobQueue::ReportTermination(const TTerminateInfo& Info) {
    if (Info.TaskIndex < 0)
        IsTerminated = true;
    FTerminations.push_back(Info);
}

void TFakeJobQueue::EndRun() {
    ReportTermination({-1, true, false, ""});
    DeliverPending();
}

bool TFakeJobQueue::LoadAVLib(const std::string& Path) {
    Calls.push_back("LoadAVLib(" + Path + ")");
    Loaded = LoadSucceeds;
    return Loaded;
}

TJobProbe TFakeJobQueue::ProbeFile(const std::string& FileName) {
    Calls.push_back("ProbeFile(" + FileName + ")");
    return NextProbe;
}

std::string TFakeJobQueue::TaskInfoText(int Task) {
    Calls.push_back("TaskInfoText(" + std::to_string(Task) + ")");
    return InfoText;
}

int TFakeJobQueue::AddTask(const std::string& FileName, PInputOptions Options) {
    Calls.push_back("AddTask(" + FileName + ")");
    if (IsWorking)
        throw Exception("Cannot AddTask while working.");
    if (Options && Options->FileName.empty())
        Options->FileName = FileName;
    return Tasks++;
}

bool TFakeJobQueue::SetOutputFile(int Task, const std::string& FileName, POutputOptions Options) {
    Calls.push_back("SetOutputFile(" + std::to_string(Task) + "," + FileName + ")");
    if (IsWorking)
        throw Exception("Cannot SetOutputFile while working.");
    if (Options && Options->FileName.empty())
        Options->FileName = FileName;
    return OutputSucceeds;
}

void TFakeJobQueue::RemoveTask(int Task) {
    Calls.push_back("RemoveTask(" + std::to_string(Task) + ")");
    if (IsWorking)
        throw Exception("Cannot RemoveTask while working.");
    --Tasks;
}

void TFakeJobQueue::ClearTasks() {
    Calls.push_back("ClearTasks");
    if (IsWorking && !IsTerminated)
        throw Exception("Cannot ClearTasks while working.");
    Tasks = 0;
    IsWorking = false;
    IsTerminated = false;
}

void TFakeJobQueue::Start(int ThreadCount) {
    Calls.push_back("Start(" + std::to_string(ThreadCount) + ")");
    if (IsWorking)
        throw Exception("Cannot StartTask while working.");
    IsWorking = true;
    IsTerminated = false;
}

void TFakeJobQueue::Stop(bool WaitFor) {
    Calls.push_back("Stop(" + Flag(WaitFor) + ")");
    ++FStopDepth;
    FMaxStopDepth = std::max(FMaxStopDepth, FStopDepth);
    if (WaitFor)
        for (int Slice = 0; Slice < StopSlices; ++Slice) {
            if (StopSlice)
                StopSlice(Slice);
            DeliverPending();
        }
    --FStopDepth;
}

void TFakeJobQueue::SetThreadPriority(TThreadPriority Value) {
    Calls.push_back("SetThreadPriority(" + std::to_string(static_cast<int>(Value)) + ")");
    Priority = Value;
}

void TFakeJobQueue::SetPreview(bool Value) {
    Calls.push_back("SetPreview(" + Flag(Value) + ")");
    Preview = Value;
}

void TFakeJobQueue::SetOnProgress(TProgressEvent Value) {
    Calls.push_back(Set("SetOnProgress", bool(Value)));
    OnProgress = Value;
}

void TFakeJobQueue::SetOnTerminate(TTerminateEvent Value) {
    Calls.push_back(Set("SetOnTerminate", bool(Value)));
    OnTerminate = Value;
}

void TFakeJobQueue::SetOnCustomHook(TCustomHookEvent Value) {
    Calls.push_back(Set("SetOnCustomHook", bool(Value)));
    OnCustomHook = Value;
}

bool TFakePreviewPlayer::LoadAVLib(const std::string& Path) {
    Calls.push_back("LoadAVLib(" + Path + ")");
    return Loaded;
}

bool TFakePreviewPlayer::Open(const std::string& FileName, HWND AScreen, bool Paused) {
    Calls.push_back("Open(" + FileName + "," + Flag(Paused) + ")");
    if (!OpenSucceeds)
        return false;
    Screen = AScreen;
    return true;
}

void TFakePreviewPlayer::Stop(bool WaitForStop) {
    Calls.push_back("Stop(" + Flag(WaitForStop) + ")");
}

void TFakePreviewPlayer::Seek(std::int64_t Position, TSeekFlags, bool WaitForSeekEnd) {
    Calls.push_back("Seek(" + std::to_string(Position) + "," + Flag(WaitForSeekEnd) + ")");
}

TBitmap* TFakePreviewPlayer::CurrentFrame() {
    Calls.push_back("CurrentFrame");
    return Frame;
}

void TFakePreviewPlayer::SetOnFileOpen(TFileOpenEvent Value) {
    Calls.push_back(Set("SetOnFileOpen", bool(Value)));
    OnFileOpen = Value;
}

void TFakePreviewPlayer::SetOnPosition(TPositionEvent Value) {
    Calls.push_back(Set("SetOnPosition", bool(Value)));
    OnPosition = Value;
}

void TFakePreviewPlayer::SetOnState(TPlayStateEvent Value) {
    Calls.push_back(Set("SetOnState", bool(Value)));
    OnState = Value;
}

void TFakePreviewPlayer::SetOnHook(THookEvent Value) {
    Calls.push_back(Set("SetOnHook", bool(Value)));
    OnHook = Value;
}

bool TRecordedActions::Answer(std::string& Error) const {
    if (!Succeeds)
        Error = FailureText;
    return Succeeds;
}

bool TRecordedActions::Open(const std::string& Target, std::string& Error) {
    Calls.push_back("Open " + Target);
    return Answer(Error);
}

bool TRecordedActions::PowerOff(std::string& Error) {
    Calls.push_back("PowerOff");
    return Answer(Error);
}

bool TRecordedActions::PlaySound(const std::string& WaveFile, std::string& Error) {
    Calls.push_back("PlaySound " + WaveFile);
    return Answer(Error);
}
