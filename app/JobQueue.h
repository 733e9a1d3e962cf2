// The task queue as the main window uses it. TFFmpegJobQueue passes every
// call to the window's TFFmpegQueue component; tests put a recording fake in
// its place through ProgramServices.
#pragma once

#include "media/FFmpegQueue.h"
#include "platform/core/Threads.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

// What the queue's own prober tells of a file.
struct TJobProbe {
    bool Loaded = false;
    std::string ErrorText; // the prober's LastErrMsg when not loaded
    std::string InfoText;  // the multi-line report
    std::int64_t FileSize = 0;
    std::int64_t Duration = 0; // microseconds; 0 or less when unknown
};

class IJobQueue {
public:
    virtual ~IJobQueue() = default;

    virtual bool AVLibLoaded() const = 0;
    virtual bool LoadAVLib(const std::string& Path) = 0;
    virtual std::string LastErrMsg() const = 0;
    virtual TJobProbe ProbeFile(const std::string& FileName) = 0;
    // The report of a task's first input, as its own prober gives it.
    virtual std::string TaskInfoText(int Task) = 0;

    virtual bool Working() const = 0;
    virtual int AddTask(const std::string& FileName, PInputOptions Options) = 0;
    virtual bool SetOutputFile(int Task, const std::string& FileName, POutputOptions Options) = 0;
    virtual void RemoveTask(int Task) = 0;
    virtual void ClearTasks() = 0;
    virtual void Start(int ThreadCount) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Stop(bool WaitFor) = 0;

    virtual void SetThreadPriority(TThreadPriority Value) = 0;
    virtual TThreadPriority ThreadPriority() const = 0;
    virtual void SetPreview(bool Value) = 0;
    virtual void SetOnProgress(TProgressEvent Value) = 0;
    virtual void SetOnTerminate(TTerminateEvent Value) = 0;
    virtual void SetOnCustomHook(TCustomHookEvent Value) = 0;
};

class TFFmpegJobQueue : public IJobQueue {
public:
    explicit TFFmpegJobQueue(TFFmpegQueue& Queue) : FQueue(Queue) {}

    bool AVLibLoaded() const override { return FQueue.AVLibLoaded(); }
    bool LoadAVLib(const std::string& Path) override { return FQueue.LoadAVLib(Path); }
    std::string LastErrMsg() const override { return FQueue.LastErrMsg(); }
    TJobProbe ProbeFile(const std::string& FileName) override;
    std::string TaskInfoText(int Task) override;

    bool Working() const override { return FQueue.Working(); }
    int AddTask(const std::string& FileName, PInputOptions Options) override {
        return FQueue.AddTask(FileName, Options);
    }
    // An output whose encoder the loaded libraries lack is still a job the
    // user asked for: it is kept without an output and fails when it is
    // started, with the libraries' own message, like any job that fails.
    bool SetOutputFile(int Task, const std::string& FileName, POutputOptions Options) override;
    void RemoveTask(int Task) override;
    void ClearTasks() override;
    void Start(int ThreadCount) override { FQueue.Start(ThreadCount); }
    void Pause() override { FQueue.Pause(); }
    void Resume() override { FQueue.Resume(); }
    void Stop(bool WaitFor) override { FQueue.Stop(WaitFor); }

    void SetThreadPriority(TThreadPriority Value) override { FQueue.SetThreadPriority(Value); }
    TThreadPriority ThreadPriority() const override { return FQueue.ThreadPriority(); }
    void SetPreview(bool Value) override { FQueue.SetPreview(Value); }
    void SetOnProgress(TProgressEvent Value) override { FQueue.SetOnProgress(Value); }
    void SetOnTerminate(TTerminateEvent Value) override;
    void SetOnCustomHook(TCustomHookEvent Value) override { FQueue.SetOnCustomHook(Value); }

private:
    // The report as the window is to see it: a job kept for a missing
    // encoder fails with that encoder's message.
    TTerminateInfo Reported(const TTerminateInfo& Info) const;

    TFFmpegQueue& FQueue;
    mutable std::mutex FLock;
    std::map<int, std::string> FFailAtStart; // task -> the message its start reports
};
