// Scheduling, stopping, pausing and the four relays of the task queue, on
// scripted jobs whose ends the tests decide (see FFmpegQueueTestKit.h).
#include "FFmpegQueueTestKit.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Exceptions.h"
#include "platform/gdi/Graphics.h"

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace {

// Jobs that run until the test releases them (or stop them), counting how
// many run at once. Between checks a job passes its pause gate.
struct TGatedJobs {
    std::mutex Lock;
    std::condition_variable Changed;
    std::vector<int> Started;
    std::set<int> Released;
    int Running = 0;
    int MostRunning = 0;

    std::function<void(TScriptedTask&)> Body() {
        return [this](TScriptedTask& T) {
            std::unique_lock Guard(Lock);
            Started.push_back(T.Id);
            MostRunning = std::max(MostRunning, ++Running);
            while (!Released.count(T.Id) && !T.Broken()) {
                Guard.unlock();
                T.Gate();
                Guard.lock();
                // A stop does not signal this; it is seen at the next look.
                Changed.wait_for(Guard, std::chrono::milliseconds(2));
            }
            --Running;
        };
    }
    void Release(int AId) {
        std::lock_guard Guard(Lock);
        Released.insert(AId);
        Changed.notify_all();
    }
    std::vector<int> StartedNow() {
        std::lock_guard Guard(Lock);
        return Started;
    }
};

// The nice value of a thread, read from the kernel's record of it.
int NiceOf(TThreadID AThread) {
    std::ifstream Stat("/proc/self/task/" + std::to_string(AThread) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(Stat)), {});
    std::istringstream Fields(Text.substr(Text.rfind(')') + 2));
    std::string Field;
    // Fields after the name: state is the first, nice the 17th.
    for (int I = 0; I < 17; ++I)
        Fields >> Field;
    return std::stoi(Field);
}

} // namespace

TEST_F(QueueTest, TwoThreadsRunFiveJobsInOrderAndReportEachOnceThenAllDone) {
    TGatedJobs Jobs;
    Queue->Body = Jobs.Body();
    for (int I = 0; I < 5; ++I)
        AddJob();
    Queue->Start(2);
    ServeUntil([&] { return Jobs.StartedNow().size() == 2; });
    // Their two workers enter the job in either order.
    const std::vector<int> First = Jobs.StartedNow();
    EXPECT_EQ(std::set<int>(First.begin(), First.end()), (std::set<int>{0, 1}));
    // Each ending job starts the next waiting one.
    const int Order[] = {1, 0, 2, 4, 3};
    std::size_t Ended = 0;
    for (int Id : Order) {
        Jobs.Release(Id);
        ++Ended;
        ServeUntil([&] {
            return Received().size() >= Ended &&
                   Jobs.StartedNow().size() == std::min<std::size_t>(5, 2 + Ended);
        });
    }
    ServeUntil([this] { return AllDoneReceived(); });
    const std::vector<int> All = Jobs.StartedNow();
    EXPECT_EQ(std::vector<int>(All.begin() + 2, All.end()), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Jobs.MostRunning, 2);
    EXPECT_EQ(ReportOrder(), (std::vector<int>{1, 0, 2, 4, 3, -1}));
    for (const TTerminateInfo& R : Received()) {
        EXPECT_TRUE(R.Finished);
        EXPECT_FALSE(R.Exception);
        EXPECT_EQ(R.ExceptionMsg, "");
    }
    EXPECT_TRUE(Queue->Working());
    EXPECT_TRUE(Queue->Terminated());
}

TEST_F(QueueTest, ATaskWithoutOutputReportsAtOnceAndTheRunGoesOn) {
    for (int Threads : {2, 0}) {
        SCOPED_TRACE(Threads);
        if (Queue->Working())
            Queue->ClearTasks();
        Reports.clear();
        AddJob();
        AddJob(false);
        AddJob();
        bool SawRunning = false;
        Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            Reports.push_back(AInfo);
            if (AInfo.TaskIndex == -1)
                SawRunning = !Queue->Terminated();
        });
        Queue->Start(Threads);
        if (Threads == 0) {
            EXPECT_TRUE(AllDoneReceived()) << "every report arrives before Start(0) returns";
        }
        ServeUntil([this] { return AllDoneReceived(); });
        const auto R = Received();
        ASSERT_EQ(R.size(), 4u);
        int Failed = 0;
        for (const TTerminateInfo& Info : R)
            if (Info.Exception) {
                ++Failed;
                EXPECT_EQ(Info.TaskIndex, 1);
                EXPECT_EQ(Info.ExceptionMsg, "At least one output file must be specified");
            }
        EXPECT_EQ(Failed, 1);
        std::multiset<int> Indexes;
        for (const TTerminateInfo& Info : R)
            Indexes.insert(Info.TaskIndex);
        EXPECT_EQ(Indexes, (std::multiset<int>{-1, 0, 1, 2}));
        EXPECT_EQ(R.back().TaskIndex, -1);
        if (Threads == 0) {
            EXPECT_EQ(ReportOrder(), (std::vector<int>{0, 1, 2, -1}));
            EXPECT_TRUE(SawRunning) << "the all-done handler of a run in the call sees it going";
        }
        EXPECT_TRUE(Queue->Terminated());
    }
}

TEST_F(QueueTest, AnEmptyRunEndsAtOnce) {
    Queue->Start(2);
    EXPECT_EQ(ReportOrder(), std::vector<int>{-1});
    EXPECT_TRUE(Queue->Terminated());
    Queue->ClearTasks();
    EXPECT_FALSE(Queue->Working());
}

TEST_F(QueueTest, TasksStoppedBeforeARunReportAgainWhenTheRunReachesThem) {
    for (int I = 0; I < 3; ++I)
        AddJob();
    Queue->Stop(true);
    ServeUntil([this] { return AllDoneReceived(); });
    EXPECT_EQ(Received().size(), 4u);
    for (const TTerminateInfo& R : Received()) {
        if (R.TaskIndex < 0)
            continue;
        EXPECT_FALSE(R.Finished);
        EXPECT_FALSE(R.Exception);
    }
    EXPECT_FALSE(Queue->Working());
    EXPECT_TRUE(Queue->Terminated());

    Reports.clear();
    Queue->Start(2);
    ServeUntil([this] { return AllDoneReceived(); });
    EXPECT_EQ(ReportOrder(), (std::vector<int>{0, 1, 2, -1}));
    for (const TTerminateInfo& R : Received())
        if (R.TaskIndex >= 0) {
            EXPECT_FALSE(R.Finished);
            EXPECT_FALSE(R.Exception);
            EXPECT_EQ(R.ExceptionMsg, "");
        }
}

TEST_F(QueueTest, WithoutTheMainThreadProgressRunsOnTheWorkerAndReportsOnOneDeliveryThread) {
    std::mutex Lock;
    std::vector<std::pair<int, TThreadID>> ProgressThreads;
    std::vector<TThreadID> ReportThreads;
    Queue->SetTriggerEventInMainThread(false);
    Queue->Body = [](TScriptedTask& T) { T.Progress(1); };
    Queue->SetOnProgress([&](TObject*, PProgressInfo AInfo) {
        std::lock_guard Guard(Lock);
        ProgressThreads.emplace_back(AInfo->TaskIndex, GetCurrentThreadId());
    });
    Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        std::lock_guard Guard(Lock);
        ReportThreads.push_back(GetCurrentThreadId());
        Reports.push_back(AInfo);
    });
    for (int I = 0; I < 4; ++I)
        AddJob();
    Queue->Start(1);
    ServeUntil([&] {
        std::lock_guard Guard(Lock);
        return !Reports.empty() && Reports.back().TaskIndex == -1;
    });
    std::lock_guard Guard(Lock);
    ASSERT_EQ(ProgressThreads.size(), 4u);
    for (const auto& [Task, Thread] : ProgressThreads)
        EXPECT_EQ(Thread, Queue->Scripted(Task)->WorkerID.load());
    EXPECT_EQ(std::set<TThreadID>(ReportThreads.begin(), ReportThreads.end()).size(), 1u);
    EXPECT_NE(ReportThreads[0], MainThreadID());
    EXPECT_EQ(ReportOrder(), (std::vector<int>{0, 1, 2, 3, -1}));
}

TEST_F(QueueTest, ProgressFromTwoThreadsArrivesWholeOneAtATimeOnTheMainThread) {
    AddJob();
    AddJob();
    std::atomic<int> Inside{0};
    std::vector<TProgressInfo> Got;
    Queue->SetOnProgress([&](TObject* Sender, PProgressInfo AInfo) {
        EXPECT_EQ(Sender, Queue.get());
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
        EXPECT_EQ(++Inside, 1);
        Got.push_back(*AInfo);
        // The other sender waits: serving here must not let it in.
        CheckSynchronize(5);
        --Inside;
    });
    std::vector<std::thread> Senders;
    for (int I = 0; I < 2; ++I)
        Senders.emplace_back([&, I] {
            for (int K = 0; K < 20; ++K)
                Queue->DoProgress(Queue->Task(I), I, K, 25 + I, 1.5f * I, 64.0f * I, 1000 * I + K,
                                  K * 40000, 400000 + I);
        });
    ServeUntil([&] { return Got.size() == 40; });
    for (std::thread& S : Senders)
        S.join();
    for (const TProgressInfo& P : Got) {
        const int I = P.TaskIndex;
        ASSERT_TRUE(I == 0 || I == 1);
        EXPECT_EQ(P.FileIndex, I);
        EXPECT_EQ(P.FPS, 25 + I);
        EXPECT_EQ(P.Quality, 1.5f * I);
        EXPECT_EQ(P.BitRate, 64.0f * I);
        EXPECT_EQ(P.CurrentSize, 1000 * I + P.FrameNumber);
        EXPECT_EQ(P.CurrentDuration, P.FrameNumber * 40000);
        EXPECT_EQ(P.TotalDuration, 400000 + I);
    }
}

TEST_F(QueueTest, TheCustomHookRunsOnTheJobsThreadWithTheCanvasLocked) {
    AddJob();
    TBitmap Bitmap;
    Bitmap.SetSize(4, 4);
    bool RaiseNow = false;
    Queue->SetOnCustomHook([&](TObject*, PHookInfo AInfo) {
        EXPECT_NE(GetCurrentThreadId(), MainThreadID());
        bool Locked = true;
        std::thread Other([&] {
            Locked = !Bitmap.Canvas()->TryLock();
            if (!Locked)
                Bitmap.Canvas()->Unlock();
        });
        Other.join();
        EXPECT_TRUE(Locked);
        EXPECT_EQ(AInfo->TaskIndex, 0);
        EXPECT_EQ(AInfo->FrameNumber, 7);
        EXPECT_EQ(AInfo->PTS, 280000);
        EXPECT_TRUE(AInfo->Update);
        if (RaiseNow)
            throw Exception("hook failed");
        AInfo->Update = false;
        AInfo->StopHook = true;
    });
    for (bool Raise : {false, true}) {
        RaiseNow = Raise;
        bool Update = true;
        bool StopHook = false;
        bool Raised = false;
        std::thread Job([&] {
            try {
                Queue->DoCustomHook(Queue->Task(0), &Bitmap, 7, 280000, Update, StopHook);
            } catch (const Exception&) {
                Raised = true;
            }
        });
        Job.join();
        EXPECT_EQ(Raised, Raise);
        EXPECT_EQ(Update, Raise)
            << "the record's values come back only from a handler that returned";
        EXPECT_EQ(StopHook, !Raise);
        ASSERT_TRUE(Bitmap.Canvas()->TryLock()) << "the canvas was left locked";
        Bitmap.Canvas()->Unlock();
    }
}

TEST_F(QueueTest, AReportsHandlerRunningANestedLoopIsNotOvertaken) {
    TGatedJobs Jobs;
    Queue->Body = Jobs.Body();
    for (int I = 0; I < 3; ++I)
        AddJob();
    std::vector<std::string> Seen;
    Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        Seen.push_back("begin " + std::to_string(AInfo.TaskIndex));
        Reports.push_back(AInfo);
        if (AInfo.TaskIndex == 0) {
            Jobs.Release(1);
            Jobs.Release(2);
            ServeUntil([&] {
                return !Queue->Task(1)->Converting() && !Queue->Task(2)->Converting() &&
                       Queue->Task(1)->Terminated() && Queue->Task(2)->Terminated();
            });
        }
        Seen.push_back("end " + std::to_string(AInfo.TaskIndex));
    });
    Queue->Start(3);
    ServeUntil([&] { return Jobs.StartedNow().size() == 3; });
    Jobs.Release(0);
    ServeUntil([this] { return AllDoneReceived(); });
    // Each report's handler ends before the next one begins.
    ASSERT_EQ(Seen.size(), 8u);
    for (std::size_t I = 0; I < Seen.size(); I += 2)
        EXPECT_EQ("end" + Seen[I].substr(5), Seen[I + 1]) << Seen[I];
    EXPECT_EQ(Seen[0], "begin 0");
    EXPECT_EQ(Seen.back(), "end -1");
}

TEST_F(QueueTest, ReportsQueuedWhileTheHandlerIsRemovedAreDroppedAndTheRunStillEnds) {
    TGatedJobs Jobs;
    Queue->Body = Jobs.Body();
    AddJob();
    AddJob();
    Queue->Start(2);
    ServeUntil([&] { return Jobs.StartedNow().size() == 2; });
    Jobs.Release(0);
    Jobs.Release(1);
    // The workers queue their reports and end the run; nothing serves the
    // reports yet.
    while (!Queue->Terminated())
        std::this_thread::yield();
    Queue->SetOnTerminate(nullptr);
    while (CheckSynchronize())
        ;
    EXPECT_TRUE(Received().empty());
    // The next run reports again.
    Queue->ClearTasks();
    Queue->SetOnTerminate(
        [this](TObject*, const TTerminateInfo& AInfo) { Reports.push_back(AInfo); });
    Queue->Body = nullptr;
    AddJob();
    Queue->Start(1);
    ServeUntil([this] { return AllDoneReceived(); });
    EXPECT_EQ(ReportOrder(), (std::vector<int>{0, -1}));
}

TEST_F(QueueTest, StoppingFromTheFirstReportNeverHangsAndEveryTaskReportsOnce) {
    // The task without output logs its error, and the log line waits for
    // this thread: nothing may hold a lock this thread needs meanwhile.
    GetFFLogger()->OnLog = [](TObject*, TThreadID, TLogLevel, const std::string&) {};
    for (int Round = 0; Round < 50; ++Round) {
        SCOPED_TRACE(Round);
        if (Queue->Working())
            Queue->ClearTasks();
        Reports.clear();
        Queue->Body = [](TScriptedTask& T) {
            for (int K = 0; K < 3 && !T.Broken(); ++K)
                T.Gate();
        };
        AddJob();
        AddJob(false);
        AddJob();
        Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            Reports.push_back(AInfo);
            if (AInfo.TaskIndex == 0)
                Queue->Stop(true);
        });
        // One worker: task 0's worker starts the task without output.
        Queue->Start(1);
        ServeUntil([this] { return AllDoneReceived(); });
        std::multiset<int> Indexes;
        for (const TTerminateInfo& R : Received())
            Indexes.insert(R.TaskIndex);
        EXPECT_EQ(Indexes, (std::multiset<int>{-1, 0, 1, 2}));
        EXPECT_EQ(Received().back().TaskIndex, -1);
    }
    GetFFLogger()->OnLog = nullptr;
}

// A worker starting a task that cannot start logs why, and waits while its
// log line is shown: a stop asked for from there must neither wait for that
// worker nor lose the task.
TEST_F(QueueTest, AStopFromTheLogLineOfATaskBeingStartedEndsTheRun) {
    bool Asked = false;
    GetFFLogger()->OnLog = [&](TObject*, TThreadID, TLogLevel, const std::string& AMsg) {
        if (AMsg == "At least one output file must be specified" && !Asked) {
            Asked = true;
            Queue->Stop(false);
        }
    };
    Queue->Body = nullptr;
    AddJob();
    AddJob(false);
    AddJob();
    Queue->Start(1);
    ServeUntil([this] { return AllDoneReceived(); });
    GetFFLogger()->OnLog = nullptr;
    EXPECT_TRUE(Asked);
    // The waiting task's report is issued while the failing one still logs.
    const auto R = Received();
    ASSERT_EQ(R.size(), 4u);
    EXPECT_EQ(R.back().TaskIndex, -1);
    for (const TTerminateInfo& Info : R) {
        if (Info.TaskIndex == 1) {
            EXPECT_TRUE(Info.Exception);
        }
        if (Info.TaskIndex == 2) {
            EXPECT_FALSE(Info.Finished) << "the waiting task was stopped, not run";
        }
    }
    std::multiset<int> Indexes;
    for (const TTerminateInfo& Info : R)
        Indexes.insert(Info.TaskIndex);
    EXPECT_EQ(Indexes, (std::multiset<int>{-1, 0, 1, 2}));
}

TEST_F(QueueTest, PausedWorkersSleepAtTheirGateAndResumeOrStop) {
    TGatedJobs Jobs;
    Queue->Body = Jobs.Body();
    AddJob();
    AddJob();
    Queue->Start(2);
    ServeUntil([&] { return Jobs.StartedNow().size() == 2; });
    Queue->Pause();
    ServeUntil([this] { return Queue->Task(0)->Parked() && Queue->Task(1)->Parked(); });
    Jobs.Release(0);
    Queue->Resume();
    ServeUntil([this] { return Received().size() == 1; });
    EXPECT_TRUE(Received()[0].Finished);
    Queue->Pause();
    ServeUntil([this] { return Queue->Task(1)->Parked(); });
    Queue->Stop(true);
    ServeUntil([this] { return AllDoneReceived(); });
    EXPECT_EQ(ReportOrder(), (std::vector<int>{0, 1, -1}));
    EXPECT_FALSE(Received()[1].Finished);
}

TEST_F(QueueTest, WorkersRunAtTheChosenPriority) {
    for (TThreadPriority Priority : {tpLower, tpIdle}) {
        if (Queue->Working())
            Queue->ClearTasks();
        TGatedJobs Jobs;
        Queue->Body = Jobs.Body();
        AddJob();
        AddJob();
        Queue->SetThreadPriority(Priority);
        Queue->Start(2);
        ServeUntil([&] { return Jobs.StartedNow().size() == 2; });
        for (int I = 0; I < 2; ++I) {
            EXPECT_EQ(NiceOf(Queue->Scripted(I)->WorkerID), ThreadPriorityNiceValue(Priority));
            Jobs.Release(Queue->Scripted(I)->Id);
        }
        ServeUntil([this] { return Queue->Terminated(); });
    }
}

TEST_F(QueueTest, DestroyingTheQueueDeliversNoMoreReports) {
    Queue->Body = nullptr;
    AddJob();
    AddJob();
    Queue->Start(2);
    // Both jobs have ended and queued their reports; nothing served them.
    while (!Queue->Terminated())
        std::this_thread::yield();
    Queue.reset();
    while (CheckSynchronize())
        ;
    EXPECT_TRUE(Received().empty());
}
