// Stand-ins for the main window's outside services: a task queue and a
// preview player that record every call in order and raise their events on
// demand, and desktop actions that record what they were asked.
#pragma once

#include "app/ExternalActions.h"
#include "app/JobQueue.h"
#include "app/PreviewPlayer.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class TFakeJobQueue : public IJobQueue {
public:
    std::vector<std::string> Calls;

    // Answers the fake gives.
    bool Loaded = false;
    bool LoadSucceeds = true;
    std::string ErrorText;
    TJobProbe NextProbe;
    std::string InfoText;
    // The run state as the real queue keeps it: working from Start until
    // ClearTasks, terminated once the all-done report is issued.
    bool IsWorking = false;
    bool IsTerminated = false;
    bool OutputSucceeds = true;
    // Run once per slice of a waiting Stop, with the slice's number; Stop
    // then delivers the reports that are pending, as the real one serves
    // queued calls while it waits.
    std::function<void(int Slice)> StopSlice;
    int StopSlices = 1;

    TProgressEvent OnProgress;
    TTerminateEvent OnTerminate;
    TCustomHookEvent OnCustomHook;
    bool Preview = false;
    TThreadPriority Priority = tpNormal;
    int Tasks = 0;

    // Reports wait until delivered, one at a time and in order, each to the
    // handler set at its delivery (none: it is dropped, as the real queue
    // only counts it).
    void ReportProgress(const TProgressInfo& Info) { FProgress.push_back(Info); }
    // The all-done report (task -1) ends the run as it is issued.
    void ReportTermination(const TTerminateInfo& Info);
    // Issues and delivers the all-done report, as the end of a run does.
    void EndRun();
    int DeliverPending();
    bool StopRunning() const { return FStopDepth > 0; }
    int MaxStopDepth() const { return FMaxStopDepth; }

    bool AVLibLoaded() const override { return Loaded; }
    bool LoadAVLib(const std::string& Path) override;
    std::string LastErrMsg() const override { return ErrorText; }
    TJobProbe ProbeFile(const std::string& FileName) override;
    std::string TaskInfoText(int Task) override;
    bool Working() const override { return IsWorking; }
    int AddTask(const std::string& FileName, PInputOptions Options) override;
    bool SetOutputFile(int Task, const std::string& FileName, POutputOptions Options) override;
    void RemoveTask(int Task) override;
    void ClearTasks() override;
    void Start(int ThreadCount) override;
    void Pause() override { Calls.push_back("Pause"); }
    void Resume() override { Calls.push_back("Resume"); }
    void Stop(bool WaitFor) override;
    void SetThreadPriority(TThreadPriority Value) override;
    TThreadPriority ThreadPriority() const override { return Priority; }
    void SetPreview(bool Value) override;
    void SetOnProgress(TProgressEvent Value) override;
    void SetOnTerminate(TTerminateEvent Value) override;
    void SetOnCustomHook(TCustomHookEvent Value) override;

private:
    std::deque<TProgressInfo> FProgress;
    std::deque<TTerminateInfo> FTerminations;
    int FStopDepth = 0;
    int FMaxStopDepth = 0;
};

class TFakePreviewPlayer : public IPreviewPlayer {
public:
    std::vector<std::string> Calls;

    bool Loaded = true;
    bool OpenSucceeds = true;
    std::string ErrorText;
    TAudioDriver Audio = adDefault;
    TVideoDriver Video = vdDefault;
    int Volume = 128;
    bool Muted = false;
    HWND Screen = nullptr;
    int VideoIndex = -1, AudioIndex = -1, SubtitleIndex = -1;
    std::vector<char> StreamKinds; // 'v', 'a', 's' or anything else, per stream
    std::string InfoText;
    TBitmap* Frame = nullptr;

    TFileOpenEvent OnFileOpen;
    TPositionEvent OnPosition;
    TPlayStateEvent OnState;
    THookEvent OnHook;

    bool AVLibLoaded() const override { return Loaded; }
    bool LoadAVLib(const std::string& Path) override;
    bool Open(const std::string& FileName, HWND Screen, bool Paused) override;
    void Stop(bool WaitForStop) override;
    void Pause() override { Calls.push_back("Pause"); }
    void Resume() override { Calls.push_back("Resume"); }
    void Seek(std::int64_t Position, TSeekFlags Flags, bool WaitForSeekEnd) override;
    TBitmap* CurrentFrame() override;
    void UpdateScreenPosition() override { Calls.push_back("UpdateScreenPosition"); }
    TAudioDriver AudioDriver() const override { return Audio; }
    void SetAudioDriver(TAudioDriver Value) override { Audio = Value; }
    TVideoDriver VideoDriver() const override { return Video; }
    void SetVideoDriver(TVideoDriver Value) override { Video = Value; }
    int AudioVolume() const override { return Volume; }
    void SetAudioVolume(int Value) override { Volume = Value; }
    bool Mute() const override { return Muted; }
    void SetMute(bool Value) override { Muted = Value; }
    HWND ScreenHandle() const override { return Screen; }
    std::string LastErrMsg() const override { return ErrorText; }
    int VideoStreamIndex() const override { return VideoIndex; }
    int AudioStreamIndex() const override { return AudioIndex; }
    int SubtitleStreamIndex() const override { return SubtitleIndex; }
    std::string FileInfoText() const override { return InfoText; }
    int StreamCount() const override { return static_cast<int>(StreamKinds.size()); }
    bool IsVideoStream(int Index) const override { return KindOf(Index) == 'v'; }
    bool IsAudioStream(int Index) const override { return KindOf(Index) == 'a'; }
    bool IsSubtitleStream(int Index) const override { return KindOf(Index) == 's'; }
    void SetOnFileOpen(TFileOpenEvent Value) override;
    void SetOnPosition(TPositionEvent Value) override;
    void SetOnState(TPlayStateEvent Value) override;
    void SetOnHook(THookEvent Value) override;

private:
    char KindOf(int Index) const {
        return Index >= 0 && Index < StreamCount() ? StreamKinds[Index] : '\0';
    }
};

class TRecordedActions : public TExternalActions {
public:
    std::vector<std::string> Calls; // "Open <target>", "PowerOff", "PlaySound <file>"
    bool Succeeds = true;
    std::string FailureText = "refused";

    bool Open(const std::string& Target, std::string& Error) override;
    bool PowerOff(std::string& Error) override;
    bool PlaySound(const std::string& WaveFile, std::string& Error) override;

private:
    bool Answer(std::string& Error) const;
};
