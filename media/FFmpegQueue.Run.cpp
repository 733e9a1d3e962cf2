// The component: libraries, the task operations, scheduling, the relays and
// the delivery of termination reports.
#include "media/FFmpegQueue.h"

#include "media/FFmpegLoader.h"
#include "media/MyUtils.h"
#include "platform/core/Conversions.h"
#include "platform/core/Format.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/gdi/Graphics.h"
#include "player/AVProbe.h"

#include <cinttypes>
#include <thread>

// Carries the termination reports to the handler when they are not to run
// on the user-interface thread: one thread per component, taking the
// reports in their order.
class TCustomFFmpegQueue::TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpegQueue* AOwner) : TThread(false), FOwner(AOwner) {
        AfterConstruction();
    }
    ~TDoTerminateThread() override {
        Terminate();
        FWake.SetEvent();
        TerminateAndWait();
    }
    void Wake() { FWake.SetEvent(); }

protected:
    void Execute() override {
        while (!Terminated()) {
            FWake.WaitFor();
            if (Terminated())
                break;
            try {
                FOwner->DeliverReports();
            } catch (...) {
                // A handler's failure must not end the deliveries after it.
            }
        }
    }

private:
    TCustomFFmpegQueue* FOwner;
    TEvent FWake{false, false};
};

namespace {

bool OnMainThread() {
    return GetCurrentThreadId() == MainThreadID();
}

std::string StreamFileName(TStream* AStream, const std::string& APrivateData) {
    return Format("stream:%s:%s",
                  {IntToStr(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(AStream))),
                   APrivateData});
}

// The option-text forms: "TimeStart" (and for outputs the other named
// lines) fill their fields, every other line goes to ExtOptions.
std::int64_t TimeValue(const std::string& AText) {
    std::int64_t Value = 0;
    return TryStrToInt64(AText, Value) ? Value : TimeNotGiven;
}

std::string OptionLine(const TOptionLine& ALine) {
    return ALine.Name + "=" + ALine.Value + "\n";
}

TInputOptions InputOptionsFromText(const std::string& AExtOptions) {
    TInputOptions Options;
    for (const TOptionLine& Line : SplitOptionText(AExtOptions)) {
        if (SameText(Line.Name, "TimeStart"))
            Options.TimeStart = TimeValue(Line.Value);
        else
            Options.ExtOptions += OptionLine(Line);
    }
    return Options;
}

TOutputOptions OutputOptionsFromText(const std::string& AExtOptions) {
    TOutputOptions Options;
    for (const TOptionLine& Line : SplitOptionText(AExtOptions)) {
        // The flags are set by the line's presence; its value is not read.
        if (SameText(Line.Name, "Hook") || SameText(Line.Name, "CustomHook"))
            Options.CustomHook = true;
        else if (SameText(Line.Name, "Join"))
            Options.Join = true;
        else if (SameText(Line.Name, "TimeStart"))
            Options.TimeStart = TimeValue(Line.Value);
        else if (SameText(Line.Name, "TimeLength"))
            Options.TimeLength = TimeValue(Line.Value);
        else
            Options.ExtOptions += OptionLine(Line);
    }
    return Options;
}

} // namespace

// ---- Life ------------------------------------------------------------------------

TCustomFFmpegQueue::TCustomFFmpegQueue(TComponent* AOwner)
    : TFFBaseComponent(AOwner), FAVProbe(std::make_unique<TAVProbe>(nullptr)),
      FFFmpegList(std::make_unique<TFFmpegList>()) {}

TCustomFFmpegQueue::~TCustomFFmpegQueue() {
    EndWork();
    FAVProbe.reset();
    FFFmpegList.reset();
    for (TCriticalSection* Lock : {&FHookLock, &FPreviewLock, &FProgressLock, &FTerminateLock}) {
        Lock->Enter();
        Lock->Leave();
    }
}

TFFmpegQueue::~TFFmpegQueue() {
    EndWork();
}

void TCustomFFmpegQueue::EndWork() {
    if (FWorkEnded)
        return;
    FWorkEnded = true;
    // From here on no report reaches a handler: the caller is letting go of
    // this component, and a queued delivery must never find it gone.
    FDestroying = true;
    TThread::RemoveQueuedEvents(this);
    {
        std::lock_guard Guard(FTerminateLock);
        FPendingTasks = 0;
    }
    const std::vector<bool> Starting = MarkStopped();
    for (std::size_t I = 0; I < Starting.size(); ++I)
        WaitWhileStarting(static_cast<int>(I));
    // Every engine stops its job and waits for it; after this no relay runs.
    FFFmpegList->Clear();
    TThread::RemoveQueuedEvents(this);
    FDeliveryThread.reset();
}

TFFmpeg* TCustomFFmpegQueue::CreateTask(int AMaxFiles) {
    return new TFFmpeg(AMaxFiles);
}

bool TCustomFFmpegQueue::LoadAVLib(const std::string& APath) {
    FFLoader().SetLibraryPath(APath);
    if (FFLoader().Load(ConverterLibs))
        return true;
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
}

bool TCustomFFmpegQueue::AVLibLoaded() const {
    return FFLoader().Loaded(ConverterLibs);
}

void TCustomFFmpegQueue::UnloadAVLib() {
    FFLoader().Unload(ConverterLibs);
}

// ---- Events ------------------------------------------------------------------------

TCustomHookEvent TCustomFFmpegQueue::OnCustomHook() const {
    std::lock_guard Guard(FEventLock);
    return FOnCustomHook;
}

void TCustomFFmpegQueue::SetOnCustomHook(TCustomHookEvent Value) {
    std::lock_guard Guard(FEventLock);
    FOnCustomHook = std::move(Value);
}

TPreviewBitmapEvent TCustomFFmpegQueue::OnPreviewBitmap() const {
    std::lock_guard Guard(FEventLock);
    return FOnPreviewBitmap;
}

void TCustomFFmpegQueue::SetOnPreviewBitmap(TPreviewBitmapEvent Value) {
    std::lock_guard Guard(FEventLock);
    FOnPreviewBitmap = std::move(Value);
}

TProgressEvent TCustomFFmpegQueue::OnProgress() const {
    std::lock_guard Guard(FEventLock);
    return FOnProgress;
}

void TCustomFFmpegQueue::SetOnProgress(TProgressEvent Value) {
    std::lock_guard Guard(FEventLock);
    FOnProgress = std::move(Value);
}

TTerminateEvent TCustomFFmpegQueue::OnTerminate() const {
    std::lock_guard Guard(FEventLock);
    return FOnTerminate;
}

void TCustomFFmpegQueue::SetOnTerminate(TTerminateEvent Value) {
    std::lock_guard Guard(FEventLock);
    FOnTerminate = std::move(Value);
}

// ---- Tasks -------------------------------------------------------------------------

void TCustomFFmpegQueue::CheckWorking(const char* AOperation) const {
    if (FWorking)
        throw Exception("Cannot %s while working.", {AOperation});
}

template <class TResult, class TBody>
TResult TCustomFFmpegQueue::Guarded(TResult AFailure, TBody&& ABody) {
    try {
        return ABody();
    } catch (const Exception& E) {
        FLastErrMsg = E.Message();
    } catch (const std::exception& E) {
        FLastErrMsg = E.what();
    }
    return AFailure;
}

void TCustomFFmpegQueue::ApplyInputOptions(TFFmpeg* ATask, const std::string& AFileName,
                                           PInputOptions AOptions) {
    const int Slot = ATask->nb_input_files();
    if (!AOptions) {
        ATask->ResetInputOptions(Slot);
        return;
    }
    if (AOptions->FileName.empty())
        AOptions->FileName = AFileName;
    ATask->SetInputOptions(Slot, *AOptions);
    ATask->ParseExtOptions(AOptions->ExtOptions, true);
    ATask->OptFormat(AOptions->FileFormat);
    ATask->SetStartTime(AOptions->TimeStart);
    ATask->SetProgramId(AOptions->ProgramID);
}

// Opens the next input; its prober then describes the engine's own context
// instead of opening the file a second time.
bool TCustomFFmpegQueue::OpenTaskInput(TFFmpeg* ATask, const std::string& AFileName) {
    const int Slot = ATask->nb_input_files();
    if (!ATask->OpenInputFile(AFileName)) {
        FLastErrMsg = ATask->LastErrMsg();
        ATask->ResetInputOptions(Slot);
        return false;
    }
    ATask->GetAVProbe(Slot)->SetFileHandle(ATask->InputFile(Slot));
    return true;
}

int TCustomFFmpegQueue::AddTask(const std::string& AFileName, PInputOptions AOptions) {
    CheckWorking("AddTask");
    std::unique_ptr<TFFmpeg> Task(CreateTask(FCustomMaxFiles));
    // Without its libraries an engine has no entry points to call.
    if (!AVLibLoaded()) {
        FLastErrMsg = "The converter's libraries are not loaded.";
        return -1;
    }
    return Guarded(-1, [&] {
        Task->ResetJob();
        Task->OptVerbose(FVerbose);
        unsigned Hooks = 0;
        if (FPreview)
            Hooks |= TPostHooks{phPreview}.Bits();
        if (FPreviewBitmap)
            Hooks |= TPostHooks{phBitmap}.Bits();
        Task->SetPostHooks(TPostHooks::FromBits(Hooks));
        Task->SetOnPreviewBitmap(
            TCustomFFmpeg::TPreviewBitmapEvent(this, &TCustomFFmpegQueue::DoPreviewBitmap));
        ApplyInputOptions(Task.get(), AFileName, AOptions);
        if (!OpenTaskInput(Task.get(), AFileName))
            return -1;
        Task->SetOnProgress(TCustomFFmpeg::TProgressEvent(this, &TCustomFFmpegQueue::DoProgress));
        Task->SetOnTerminate(TNotifyEvent(this, &TCustomFFmpegQueue::DoTaskTerminate));
        return FFFmpegList->Add(Task.release());
    });
}

int TCustomFFmpegQueue::AddTask(const std::string& AFileName, const std::string& AExtOptions) {
    TInputOptions Options = InputOptionsFromText(AExtOptions);
    return AddTask(AFileName, &Options);
}

int TCustomFFmpegQueue::AddTask(TStream* AStream, const std::string& APrivateData,
                                PInputOptions AOptions) {
    return AddTask(StreamFileName(AStream, APrivateData), AOptions);
}

bool TCustomFFmpegQueue::AddInputFile(int ATaskIndex, const std::string& AFileName,
                                      PInputOptions AOptions) {
    CheckWorking("AddInputFile");
    TFFmpeg* Task = FFFmpegList->GetItem(ATaskIndex);
    if (Task->nb_input_files() >= Task->MaxFiles()) {
        FLastErrMsg = Format("max input files %d reached", {Task->MaxFiles()});
        return false;
    }
    const int Slot = Task->nb_input_files();
    return Guarded(false, [&] {
        try {
            ApplyInputOptions(Task, AFileName, AOptions);
        } catch (...) {
            Task->ResetInputOptions(Slot);
            throw;
        }
        return OpenTaskInput(Task, AFileName);
    });
}

bool TCustomFFmpegQueue::AddInputFile(int ATaskIndex, const std::string& AFileName,
                                      const std::string& AExtOptions) {
    TInputOptions Options = InputOptionsFromText(AExtOptions);
    return AddInputFile(ATaskIndex, AFileName, &Options);
}

bool TCustomFFmpegQueue::SetOutputFile(int ATaskIndex, const std::string& AFileName,
                                       POutputOptions AOptions) {
    CheckWorking("SetOutputFile");
    TFFmpeg* Task = FFFmpegList->GetItem(ATaskIndex);
    if (Task->nb_output_files() >= Task->MaxFiles()) {
        FLastErrMsg = Format("max output files %d reached", {Task->MaxFiles()});
        return false;
    }
    // Compared by the file itself, before the output is opened: opening it
    // for writing would already have truncated the input.
    for (int Input = 0; Input < Task->nb_input_files(); ++Input) {
        const AVFormatContext* Context = Task->InputFile(Input);
        if (Context && Context->url && SameFile(AFileName, Context->url)) {
            FLastErrMsg = Format("Output %s same as Input #%d - exiting", {AFileName, Input});
            return false;
        }
    }
    return Guarded(false, [&] {
        return CreateTaskOutput(Task, Task->nb_output_files(), AFileName, AOptions);
    });
}

bool TCustomFFmpegQueue::SetOutputFile(int ATaskIndex, const std::string& AFileName,
                                       const std::string& AExtOptions) {
    TOutputOptions Options = OutputOptionsFromText(AExtOptions);
    return SetOutputFile(ATaskIndex, AFileName, &Options);
}

bool TCustomFFmpegQueue::SetOutputStream(int ATaskIndex, TStream* AStream,
                                         const std::string& APrivateData, POutputOptions AOptions) {
    return SetOutputFile(ATaskIndex, StreamFileName(AStream, APrivateData), AOptions);
}

void TCustomFFmpegQueue::ClearTasks() {
    if (FWorking && !FTerminated)
        throw Exception("Cannot ClearTasks while working.");
    FFFmpegList->Clear();
    FLastErrMsg.clear();
    {
        std::lock_guard Guard(FStartLock);
        FStarting.clear();
    }
    std::lock_guard Guard(FTerminateLock);
    FCompleteTasks = 0;
    FCurrentTask = -1;
    FPendingTasks = 0;
    FAllDoneIssued = false;
    FEndedAtStart.clear();
    FTerminated = false;
    FThreadMode = false;
    FWorking = false;
}

void TCustomFFmpegQueue::Exchange(int ATaskIndex1, int ATaskIndex2) {
    CheckWorking("Exchange");
    FFFmpegList->Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomFFmpegQueue::RemoveTask(int ATaskIndex) {
    CheckWorking("RemoveTask");
    FFFmpegList->Delete(ATaskIndex);
}

TAVProbe* TCustomFFmpegQueue::GetTaskAVProbe(int ATaskIndex, int AFileIndex) {
    TFFmpeg* Task = FFFmpegList->GetItem(ATaskIndex);
    if (AFileIndex < 0 || AFileIndex >= Task->MaxFiles())
        RaiseListIndexError(AFileIndex);
    return Task->AVProbe(AFileIndex);
}

void TCustomFFmpegQueue::SetPreview(bool Value) {
    FFFmpegList->SetPreview(Value);
    FPreview = Value;
}

void TCustomFFmpegQueue::SetPreviewBitmap(bool Value) {
    FFFmpegList->SetPreviewBitmap(Value);
    FPreviewBitmap = Value;
}

// ---- Scheduling ----------------------------------------------------------------------

std::vector<bool> TCustomFFmpegQueue::MarkStopped() {
    std::lock_guard Guard(FStartLock);
    FStopped = true;
    return FStarting;
}

bool TCustomFFmpegQueue::Starting(int AIndex) {
    std::lock_guard Guard(FStartLock);
    return AIndex < static_cast<int>(FStarting.size()) && FStarting[AIndex];
}

void TCustomFFmpegQueue::WaitWhileStarting(int AIndex) {
    while (Starting(AIndex))
        if (OnMainThread()) {
            CheckSynchronize(20);
            PumpMessages();
        } else {
            std::this_thread::yield();
        }
}

void TCustomFFmpegQueue::Start(int AThreadCount) {
    CheckWorking("StartTask");
    {
        std::lock_guard Guard(FStartLock);
        FStopped = false;
        FStarting.assign(TasksCount(), false);
    }
    bool AllDone = false;
    {
        std::lock_guard Guard(FTerminateLock);
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = TasksCount();
        FTerminated = false;
        FThreadMode = AThreadCount > 0;
        FWorking = true;
        FAllDoneIssued = false;
        // A task stopped before this run can never start: it reports at its
        // turn instead, so that the run still ends.
        FEndedAtStart.assign(TasksCount(), false);
        for (int I = 0; I < TasksCount(); ++I)
            FEndedAtStart[I] = FFFmpegList->GetItem(I)->Terminated();
        // An empty run ends at once.
        if (FPendingTasks == 0) {
            AllDone = true;
            DoAllTerminated();
        }
    }
    if (AllDone) {
        RequestDelivery();
        FTerminated = true;
        return;
    }
    for (int Count = AThreadCount; StartNextTask();)
        if (FThreadMode && --Count <= 0)
            break;
}

int TCustomFFmpegQueue::ClaimNextTask() {
    std::lock_guard Guard(FTerminateLock);
    if (FPendingTasks <= 0)
        return -1;
    --FPendingTasks;
    return FCurrentTask++;
}

bool TCustomFFmpegQueue::StartNextTask() {
    const int Index = ClaimNextTask();
    if (Index < 0)
        return false;
    StartTask(Index);
    return true;
}

// Runs outside FTerminateLock: a task that cannot start logs its error, and
// the log line may wait for the user-interface thread.
void TCustomFFmpegQueue::StartTask(int AIndex) {
    TFFmpeg* Task = FFFmpegList->GetItem(AIndex);
    if (AIndex < static_cast<int>(FEndedAtStart.size()) && FEndedAtStart[AIndex]) {
        ReportTermination({AIndex, false, false, ""});
        return;
    }
    Task->ReportInterval = static_cast<std::int64_t>(FProgressInterval) * 1000;
    if (!FThreadMode) {
        // On the thread that runs Start: a stop can only come from a handler
        // of this very job, and reaches it through the engine's Stop.
        bool Stopped = false;
        {
            std::lock_guard Guard(FStartLock);
            Stopped = FStopped;
        }
        if (!Stopped)
            Task->StartConvert(false, FThreadPriority);
        return;
    }
    {
        std::lock_guard Guard(FStartLock);
        // A stop that came first terminates this task itself.
        if (FStopped)
            return;
        FStarting[AIndex] = true;
    }
    if (TThread* Worker = Task->StartConvert(true, FThreadPriority))
        Worker->Start();
    bool StopNow = false;
    {
        std::lock_guard Guard(FStartLock);
        FStarting[AIndex] = false;
        StopNow = FStopped;
    }
    // A stop that came while the job was being started left it to us.
    if (StopNow)
        Task->StopOrTerminate(false);
}

void TCustomFFmpegQueue::Pause() {
    FFFmpegList->PauseAll();
}

void TCustomFFmpegQueue::Resume() {
    FFFmpegList->ResumeAll();
}

void TCustomFFmpegQueue::Stop(bool AWaitFor) {
    {
        std::lock_guard Guard(FTerminateLock);
        FPendingTasks = 0;
    }
    const std::vector<bool> Starting = MarkStopped();
    for (int I = 0; I < TasksCount(); ++I)
        if (I >= static_cast<int>(Starting.size()) || !Starting[I])
            FFFmpegList->GetItem(I)->StopOrTerminate(AWaitFor);
    if (!AWaitFor)
        return;
    // Those being started were stopped by their starters; they are waited
    // for like the others.
    for (int I = 0; I < static_cast<int>(Starting.size()) && I < TasksCount(); ++I)
        if (Starting[I]) {
            WaitWhileStarting(I);
            FFFmpegList->GetItem(I)->StopOrTerminate(true);
        }
}

// ---- Termination reports ---------------------------------------------------------------

void TCustomFFmpegQueue::DoTaskTerminate(TObject* Sender) {
    const auto* Task = static_cast<const TCustomFFmpeg*>(Sender);
    ReportTermination({FFFmpegList->IndexOf(Sender), Task->Finished(), Task->FatalException(),
                       Task->FatalMessage()});
}

void TCustomFFmpegQueue::ReportTermination(const TTerminateInfo& AInfo) {
    int Next = -1;
    bool AllDone = false;
    {
        std::lock_guard Guard(FTerminateLock);
        IssueReport(AInfo);
        ++FCompleteTasks;
        if (FPendingTasks <= 0 && FCompleteTasks >= TasksCount()) {
            AllDone = !FAllDoneIssued;
            if (AllDone)
                DoAllTerminated();
        } else if (FPendingTasks > 0 && FThreadMode) {
            // Claimed here, started once the lock is left.
            Next = ClaimNextTask();
        }
    }
    RequestDelivery();
    // One after another, the all-done handler still sees the run going.
    if (AllDone)
        FTerminated = true;
    if (Next >= 0)
        StartTask(Next);
}

void TCustomFFmpegQueue::DoAllTerminated() {
    FAllDoneIssued = true;
    IssueReport({-1, true, false, ""});
    if (FThreadMode)
        FTerminated = true;
}

void TCustomFFmpegQueue::IssueReport(const TTerminateInfo& AInfo) {
    if (FDestroying)
        return;
    FTerminateInfo = AInfo;
    if (!OnTerminate())
        return;
    std::lock_guard Guard(FReportLock);
    FReports.push_back(AInfo);
}

void TCustomFFmpegQueue::RequestDelivery() {
    if (FDestroying)
        return;
    std::unique_lock Guard(FReportLock);
    if (FReports.empty())
        return;
    if (!FTriggerEventInMainThread && FThreadMode) {
        if (!FDeliveryThread)
            FDeliveryThread = std::make_unique<TDoTerminateThread>(this);
        FDeliveryThread->Wake();
        return;
    }
    Guard.unlock();
    if (FTriggerEventInMainThread && !OnMainThread())
        TThread::Queue(nullptr, TThreadMethod(this, &TCustomFFmpegQueue::DeliverReports));
    else
        DeliverReports();
}

void TCustomFFmpegQueue::DeliverReports() {
    {
        std::lock_guard Guard(FReportLock);
        // A handler that runs a nested loop meets later requests here; it
        // delivers their reports itself once it returns.
        if (FDelivering)
            return;
        FDelivering = true;
    }
    std::exception_ptr Error;
    for (;;) {
        TTerminateInfo Info;
        {
            std::lock_guard Guard(FReportLock);
            if (FReports.empty() || FDestroying) {
                FDelivering = false;
                break;
            }
            Info = std::move(FReports.front());
            FReports.pop_front();
        }
        // A handler removed meanwhile drops the report.
        const TTerminateEvent Handler = OnTerminate();
        if (!Handler)
            continue;
        try {
            Handler(this, Info);
        } catch (...) {
            if (!Error)
                Error = std::current_exception();
        }
    }
    if (Error)
        std::rethrow_exception(Error);
}

// ---- Relays ------------------------------------------------------------------------------

void TCustomFFmpegQueue::DoProgress(TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS,
                                    float AQuality, float ABitRate, std::int64_t ACurrentSize,
                                    std::int64_t ACurrentDuration, std::int64_t ATotalDuration) {
    if (!OnProgress())
        return;
    std::lock_guard Guard(FProgressLock);
    FProgressInfo = {FFFmpegList->IndexOf(Sender),
                     AFileIndex,
                     AFrameNumber,
                     AFPS,
                     AQuality,
                     ABitRate,
                     ACurrentSize,
                     ACurrentDuration,
                     ATotalDuration};
    if (FTriggerEventInMainThread)
        CallInMainThread(TThreadMethod(this, &TCustomFFmpegQueue::CallOnProgress));
    else
        CallOnProgress();
}

void TCustomFFmpegQueue::CallOnProgress() {
    if (const TProgressEvent Handler = OnProgress())
        Handler(this, &FProgressInfo);
}

void TCustomFFmpegQueue::DoPreviewBitmap(TObject* Sender, TBitmap* ABitmap, int AFrameNumber,
                                         std::int64_t APTS) {
    if (!OnPreviewBitmap())
        return;
    std::lock_guard Guard(FPreviewLock);
    FPreviewInfo = {FFFmpegList->IndexOf(Sender), ABitmap, AFrameNumber, APTS};
    if (FTriggerEventInMainThread)
        CallInMainThread(TThreadMethod(this, &TCustomFFmpegQueue::CallOnPreviewBitmap));
    else
        CallOnPreviewBitmap();
}

void TCustomFFmpegQueue::CallOnPreviewBitmap() {
    if (const TPreviewBitmapEvent Handler = OnPreviewBitmap())
        Handler(this, FPreviewInfo);
}

// Runs on the job's own thread, whatever TriggerEventInMainThread says: the
// handler changes the picture the job goes on to encode.
void TCustomFFmpegQueue::DoCustomHook(TObject* Sender, TBitmap* ABitmap, int AFrameNumber,
                                      std::int64_t APTS, bool& AUpdate, bool& AStopHook) {
    const TCustomHookEvent Handler = OnCustomHook();
    if (!Handler)
        return;
    std::lock_guard Guard(FHookLock);
    FHookInfo = {FFFmpegList->IndexOf(Sender), ABitmap, AFrameNumber, APTS, AUpdate, AStopHook};
    TCanvas* Canvas = ABitmap ? ABitmap->Canvas() : nullptr;
    if (Canvas)
        Canvas->Lock();
    try {
        Handler(this, &FHookInfo);
    } catch (...) {
        if (Canvas)
            Canvas->Unlock();
        throw;
    }
    if (Canvas)
        Canvas->Unlock();
    AUpdate = FHookInfo.Update;
    AStopHook = FHookInfo.StopHook;
}
