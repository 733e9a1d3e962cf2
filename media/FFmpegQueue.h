// Option and event records of the task-queue component.
//
// A caller describes one input file with TInputOptions and one output file
// with TOutputOptions, resets each with InitInputOptions/InitOutputOptions
// before filling it, and passes it by address; the component keeps copies.
// A field at its reset value leaves the engine's default in place. Times are
// microseconds, and TimeNotGiven (FFmpeg's missing time stamp) means "no time".
// The four event records belong to the component and are valid only during
// the handler's call.
#pragma once

#include "media/FFBaseComponent.h"
#include "media/FFmpeg.h"
#include "platform/core/DateTime.h"
#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/core/SyncObjects.h"
#include "platform/core/Threads.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TBitmap;

// The smallest 64-bit value, equal to FFmpeg's AV_NOPTS_VALUE.
inline constexpr std::int64_t TimeNotGiven = std::numeric_limits<std::int64_t>::min();

enum TOptionTargetType : std::uint8_t { ttIgnore, ttVCD, ttSVCD, ttDVD };

enum TOptionNormType : std::uint8_t { ntAuto, ntPAL, ntNTSC };

// The subrange ntPAL..ntNTSC of TOptionNormType: it can never hold ntAuto,
// which raises EConvertError "Range check error" on assignment.
class TOptionNormDefault {
public:
    TOptionNormDefault() = default;
    TOptionNormDefault(TOptionNormType Value); // NOLINT: assigned like the enumeration
    operator TOptionNormType() const { return FValue; }

private:
    TOptionNormType FValue = ntPAL;
};

struct TInputOptions {
    std::string FileName;
    std::string FileFormat;
    std::int64_t TimeStart = TimeNotGiven;
    std::int32_t ProgramID = -1;
    std::string ExtOptions;
    std::int32_t Tag = 0;
    void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

// The metadata written into an output. Texts are UTF-8, which is what FFmpeg
// expects of metadata.
struct TStreamInfo {
    TDateTime TimeStamp = -1.0; // local; exactly 0 = when the output is created
    std::int32_t Year = -1;
    std::int32_t Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

struct TOutputOptions {
    std::string FileName;
    std::string FileExt;
    std::string FileFormat;
    std::int32_t PacketSize = -1;
    std::int32_t MuxRate = -1;
    float MuxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    std::int32_t AudioVolume = -1;
    std::int32_t AudioChannels = -1;
    std::int32_t AudioSampleRate = -1;
    std::int32_t AudioBitrate = -1;
    std::int32_t AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    std::int32_t AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string FrameAspectRatio;
    std::int32_t CropTop = -1;
    std::int32_t CropBottom = -1;
    std::int32_t CropLeft = -1;
    std::int32_t CropRight = -1;
    std::int32_t GroupPictureSize = -1;
    std::int32_t VideoBitrate = -1;
    std::int32_t VideoMaxRate = -1;
    std::int32_t VideoMinRate = -1;
    std::int32_t VideoBitRateTolerance = -1;
    std::int32_t VideoBufSize = -1;
    std::int32_t VideoSyncMethod = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    std::int64_t TimeStart = TimeNotGiven;
    std::int64_t TimeLength = TimeNotGiven;
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool CustomHook = false;
    bool Join = false;
    std::string ExtOptions;
    std::int32_t Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

struct TProgressInfo {
    std::int32_t TaskIndex = 0;
    std::int32_t FileIndex = 0; // -1 in a task's final report
    std::int32_t FrameNumber = 0;
    std::int32_t FPS = 0;
    float Quality = 0.0f;
    float BitRate = 0.0f; // kbit/s
    std::int64_t CurrentSize = 0;
    std::int64_t CurrentDuration = 0;
    std::int64_t TotalDuration = 0; // -1 when no duration is known
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
    std::int32_t TaskIndex = 0; // -1 = every task of the run has ended
    bool Finished = false;
    bool Exception = false;
    std::string ExceptionMsg;
};

struct TPreviewInfo {
    std::int32_t TaskIndex = 0;
    TBitmap* Bitmap = nullptr; // owned by the task's engine
    std::int32_t FrameNumber = 0;
    std::int64_t PTS = 0;
};

struct THookInfo {
    std::int32_t TaskIndex = 0;
    TBitmap* Bitmap = nullptr; // owned by the engine
    std::int32_t FrameNumber = 0;
    std::int64_t PTS = 0;
    bool Update = true;    // in and out: false leaves the picture as decoded
    bool StopHook = false; // in and out: true stops the hook for the rest of the task
};
using PHookInfo = THookInfo*;

using TProgressEvent = TMethod<void(TObject* Sender, PProgressInfo AProgressInfo)>;
using TTerminateEvent = TMethod<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
using TPreviewBitmapEvent = TMethod<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
using TCustomHookEvent = TMethod<void(TObject* Sender, PHookInfo AHookInfo)>;

void InitInputOptions(TInputOptions& AOptions);
void InitOutputOptions(TOutputOptions& AOptions);

// ---- The task-queue component ---------------------------------------------------
//
// TCustomFFmpegQueue holds a list of tasks (TFFmpeg: one engine per job with
// its probers and option copies). The caller adds a task per job (its input
// is opened during the call), gives each its output (created during the
// call) and starts the list; the jobs then run on worker threads, several at
// once, each finished job starting the next waiting one.
//
// Threads: every public operation runs on the user-interface thread. Workers
// reach the component only through the four relays. Progress and preview
// records are filled under their own lock and handed to the handler through
// CallInMainThread (the worker waits). Termination reports never make
// anyone wait: they go into one report queue in the order they are issued
// and are delivered from it one after another, on the user-interface thread
// by default. Nothing that waits for the user-interface thread runs while
// FTerminateLock is held.
//
// Files: FFmpegQueue.Tasks.cpp (the task, the list and the option text),
// FFmpegQueue.Mapping.cpp (output records into engine options),
// FFmpegQueue.Run.cpp (the component: tasks, scheduling, relays, reports).

class TAVProbe;
class TStream;

// One name=value line of an option text; the name as written.
struct TOptionLine {
    std::string Name;
    std::string Value;
};

// The lines of an option text: trimmed, CR LF, CR, LF and "<CRLF>" as
// breaks, each line split at its first "=" (neither part trimmed).
std::vector<TOptionLine> SplitOptionText(const std::string& AText);

// A task: an engine that also keeps, per input slot, a prober and a copy of
// the input record, and per output slot a copy of the output record.
class TFFmpeg : public TCustomFFmpeg {
public:
    explicit TFFmpeg(int AMaxFiles);
    ~TFFmpeg() override;

    // The prober of the slot, made (without owner) on first use.
    TAVProbe* GetAVProbe(int ASlot);
    // The prober of the slot, or null.
    TAVProbe* AVProbe(int ASlot) const;
    void SetInputOptions(int ASlot, const TInputOptions& AOptions);
    void SetOutputOptions(int ASlot, const TOutputOptions& AOptions);
    void ResetInputOptions(int ASlot);
    void ResetOutputOptions(int ASlot);
    // The kept record of the slot, or null.
    const TInputOptions* InputOptions(int ASlot) const;
    const TOutputOptions* OutputOptions(int ASlot) const;

    // Applies an option text: every line to ParseOption in order, but the
    // per-stream names the output mapping hands out itself, and the codec
    // names unless AAllowCodecs. The first error leaves at once.
    void ParseExtOptions(const std::string& AText, bool AAllowCodecs);

    // Seconds since 1970-01-01 UTC, written as the output's creation time.
    void SetRecordingTimestamp(std::int64_t ASeconds) { Frecording_timestamp = ASeconds; }

    // Takes back the output created last, as a failed creation would have:
    // its streams, slots and codec entries, its context, and its file while
    // that is still empty.
    void DropLastOutput();

    // The opened input context of that input number.
    AVFormatContext* InputFile(int AIndex) const { return Finput_files.at(AIndex); }
    // Sets or clears one post hook, keeping the others (also a set still
    // waiting to be applied).
    void SetPostHook(TPostHook AHook, bool AOn);

private:
    // The probers are freed before the engine closes the inputs they describe.
    std::vector<std::unique_ptr<TAVProbe>> FAVProbes;
    std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
    std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
};

// The component's tasks, in list order; it owns them. An index outside the
// list raises EListError.
class TFFmpegList : public TObject {
public:
    TFFmpegList() = default;
    ~TFFmpegList() override;
    TFFmpegList(const TFFmpegList&) = delete;
    TFFmpegList& operator=(const TFFmpegList&) = delete;

    int Add(TFFmpeg* ATask);
    // Frees every task, first to last, then empties the list.
    void Clear();
    void Delete(int AIndex);
    void Exchange(int AIndex1, int AIndex2);
    TFFmpeg* GetItem(int AIndex) const;
    int IndexOf(const TObject* ATask) const;
    int GetCount() const { return static_cast<int>(FList.size()); }

    void PauseAll();
    void ResumeAll();
    void StopAll(bool AWaitFor);
    void SetPreview(bool AOn);
    void SetPreviewBitmap(bool AOn);

private:
    void CheckIndex(int AIndex) const;
    void SetHook(TPostHook AHook, bool AOn);

    std::vector<TFFmpeg*> FList;
};

class TCustomFFmpegQueue : public TFFBaseComponent {
public:
    explicit TCustomFFmpegQueue(TComponent* AOwner);
    ~TCustomFFmpegQueue() override;

    // ---- Libraries ------------------------------------------------------------
    bool LoadAVLib(const std::string& APath);
    bool AVLibLoaded() const;
    void UnloadAVLib();

    // ---- Tasks (an index is a position in the list, from 0) ----------------------
    int AddTask(const std::string& AFileName, PInputOptions AOptions);
    int AddTask(const std::string& AFileName, const std::string& AExtOptions);
    int AddTask(TStream* AStream, const std::string& APrivateData, PInputOptions AOptions);
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, PInputOptions AOptions);
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions);
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, POutputOptions AOptions);
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName,
                       const std::string& AExtOptions);
    bool SetOutputStream(int ATaskIndex, TStream* AStream, const std::string& APrivateData,
                         POutputOptions AOptions);
    void ClearTasks();
    void Exchange(int ATaskIndex1, int ATaskIndex2);
    void RemoveTask(int ATaskIndex);
    TAVProbe* GetTaskAVProbe(int ATaskIndex, int AFileIndex);
    // The task itself, for callers that read its engine's state.
    TFFmpeg* Task(int ATaskIndex) const { return FFFmpegList->GetItem(ATaskIndex); }

    // ---- Running ----------------------------------------------------------------
    void Start(int AThreadCount);
    void Pause();
    void Resume();
    void Stop(bool AWaitFor);

    // ---- Properties -------------------------------------------------------------
    const std::string& About() const { return FAbout; }
    void SetAbout(const std::string& Value) { FAbout = Value; }
    std::string Version() const { return "3.3"; }
    TAVProbe* AVProbe() const { return FAVProbe.get(); }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    int TasksCount() const { return FFFmpegList->GetCount(); }
    int CustomMaxFiles() const { return FCustomMaxFiles; }
    void SetCustomMaxFiles(int Value) { FCustomMaxFiles = Value; }
    bool Preview() const { return FPreview; }
    void SetPreview(bool Value);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool Value);
    int ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(int Value) { FProgressInterval = Value <= 100 ? 100 : Value; }
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority Value) { FThreadPriority = Value; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
    void* UserData() const { return FData; }
    void SetUserData(void* Value) { FData = Value; }
    int Verbose() const { return FVerbose; }
    void SetVerbose(int Value) { FVerbose = Value; }
    bool Terminated() const { return FTerminated; }
    bool Working() const { return FWorking; }

    // ---- Events (set on the user-interface thread, read by workers) ----------------
    TCustomHookEvent OnCustomHook() const;
    void SetOnCustomHook(TCustomHookEvent Value);
    TPreviewBitmapEvent OnPreviewBitmap() const;
    void SetOnPreviewBitmap(TPreviewBitmapEvent Value);
    TProgressEvent OnProgress() const;
    void SetOnProgress(TProgressEvent Value);
    TTerminateEvent OnTerminate() const;
    void SetOnTerminate(TTerminateEvent Value);

protected:
    // The relays, bound as the events of every task's engine; Sender is the
    // engine.
    virtual void DoCustomHook(TObject* Sender, TBitmap* ABitmap, int AFrameNumber,
                              std::int64_t APTS, bool& AUpdate, bool& AStopHook);
    virtual void DoPreviewBitmap(TObject* Sender, TBitmap* ABitmap, int AFrameNumber,
                                 std::int64_t APTS);
    virtual void DoProgress(TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS,
                            float AQuality, float ABitRate, std::int64_t ACurrentSize,
                            std::int64_t ACurrentDuration, std::int64_t ATotalDuration);
    virtual void DoTaskTerminate(TObject* Sender);

    // Makes the engine of a new task.
    virtual TFFmpeg* CreateTask(int AMaxFiles);

    // Ends the component's work while the whole object still stands: no
    // report is delivered from here on, every job is stopped and its worker
    // waited for, and the delivery thread ends. Workers call the virtual
    // relays, so a destructor that let them run on would have them meet an
    // object whose most-derived part is gone: every class that derives from
    // the component calls this first in its destructor. A second call does
    // nothing.
    void EndWork();

private:
    class TDoTerminateThread;

    void CheckWorking(const char* AOperation) const;
    void ApplyInputOptions(TFFmpeg* ATask, const std::string& AFileName, PInputOptions AOptions);
    bool OpenTaskInput(TFFmpeg* ATask, const std::string& AFileName);
    // Runs ABody; an error becomes LastErrMsg and the result AFailure.
    template <class TResult, class TBody> TResult Guarded(TResult AFailure, TBody&& ABody);
    bool CreateTaskOutput(TFFmpeg* ATask, int ASlot, const std::string& AFileName,
                          POutputOptions AOptions);

    // Scheduling.
    // Under FTerminateLock: the index of the next waiting task, or -1.
    int ClaimNextTask();
    // Outside FTerminateLock: starts a claimed task.
    void StartTask(int AIndex);
    // Claims and starts the next waiting task; false when none waits.
    bool StartNextTask();
    void ReportTermination(const TTerminateInfo& AInfo);
    // Under FTerminateLock: the all-done report.
    void DoAllTerminated();
    // Under FTerminateLock: queues a copy of the report when a handler is set.
    void IssueReport(const TTerminateInfo& AInfo);
    // After FTerminateLock is left: has the queued reports delivered.
    void RequestDelivery();
    // Takes the queued reports from the front, one at a time, and hands each
    // to OnTerminate; a second caller while one delivers returns at once.
    void DeliverReports();
    void CallOnProgress();
    void CallOnPreviewBitmap();
    // Whether a worker is starting the task at AIndex.
    bool Starting(int AIndex);
    // Marks the run stopped; answers which tasks are being started.
    std::vector<bool> MarkStopped();
    // Waits until no worker is starting the task; the user-interface thread
    // keeps serving calls meanwhile.
    void WaitWhileStarting(int AIndex);

    std::string FAbout;
    std::string FLastErrMsg;
    void* FData = nullptr;
    int FCustomMaxFiles = 20;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    int FProgressInterval = 500;
    TThreadPriority FThreadPriority = tpNormal;
    std::atomic<bool> FTriggerEventInMainThread{true};
    int FVerbose = 1;
    THookInfo FHookInfo;
    TProgressInfo FProgressInfo;
    TTerminateInfo FTerminateInfo;
    TPreviewInfo FPreviewInfo;
    mutable std::mutex FEventLock;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TTerminateEvent FOnTerminate;
    TCriticalSection FHookLock;
    TCriticalSection FPreviewLock;
    TCriticalSection FProgressLock;
    TCriticalSection FTerminateLock;
    std::unique_ptr<TAVProbe> FAVProbe;
    std::unique_ptr<TFFmpegList> FFFmpegList;
    // Run state; the counters change only under FTerminateLock.
    int FCompleteTasks = 0;
    int FCurrentTask = -1;
    int FPendingTasks = 0;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FThreadMode{false};
    std::atomic<bool> FWorking{false};

    // A stop and a worker starting a claimed task meet under FStartLock,
    // which is held only for a moment: a task being started (FStarting) is
    // left to its starter, which stops it itself once it has started. Nobody
    // waits for the user-interface thread while holding it.
    std::mutex FStartLock;
    bool FStopped = false;
    std::vector<bool> FStarting;
    // Tasks whose engines had already ended when the run started.
    std::vector<bool> FEndedAtStart;
    bool FAllDoneIssued = false;

    // The report queue, in issue order.
    std::mutex FReportLock;
    std::deque<TTerminateInfo> FReports;
    bool FDelivering = false;
    std::atomic<bool> FDestroying{false};
    std::unique_ptr<TDoTerminateThread> FDeliveryThread;
    bool FWorkEnded = false;
};

class TFFmpegQueue : public TCustomFFmpegQueue {
public:
    using TCustomFFmpegQueue::TCustomFFmpegQueue;
    ~TFFmpegQueue() override;
};
