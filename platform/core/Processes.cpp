#include "platform/core/Processes.h"

#include "platform/core/Threads.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

// Closes a descriptor on every path out.
struct TFd {
    int Fd = -1;
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
};

// Reads the child's output to its end, then reaps it.
void WaitForChild(pid_t Child, int Output,
                  std::function<void(int ExitStatus, const std::string& Output)> OnExit) {
    std::string Text;
    char Buffer[4096];
    for (;;) {
        const ssize_t Got = ::read(Output, Buffer, sizeof Buffer);
        if (Got > 0)
            Text.append(Buffer, std::size_t(Got));
        else if (Got == 0 || errno != EINTR)
            break;
    }
    ::close(Output);
    int Status = 0;
    while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    const int ExitStatus = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    TThread::Queue(nullptr, [OnExit = std::move(OnExit), ExitStatus, Text = std::move(Text)] {
        if (OnExit)
            OnExit(ExitStatus, Text);
    });
}

} // namespace

bool StartProcess(const std::vector<std::string>& Argv,
                  std::function<void(int ExitStatus, const std::string& Output)> OnExit,
                  std::string& Error) {
    if (Argv.empty() || Argv[0].empty()) {
        Error = "No program to start.";
        return false;
    }
    int Pipe[2];
    if (::pipe2(Pipe, O_CLOEXEC) != 0) {
        Error = std::strerror(errno);
        return false;
    }
    TFd Read{Pipe[0]}, Write{Pipe[1]};

    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&Actions, Write.Fd, 1);
    posix_spawn_file_actions_adddup2(&Actions, Write.Fd, 2);
    // Nothing else of the program reaches the child, whatever its flags.
    posix_spawn_file_actions_addclosefrom_np(&Actions, 3);

    std::vector<char*> Args;
    for (const std::string& A : Argv)
        Args.push_back(const_cast<char*>(A.c_str()));
    Args.push_back(nullptr);

    pid_t Child = 0;
    const int Failure = ::posix_spawnp(&Child, Args[0], &Actions, nullptr, Args.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    if (Failure != 0) {
        Error = Argv[0] + ": " + std::strerror(Failure);
        return false;
    }
    ::close(Write.Fd);
    Write.Fd = -1;
    const int Output = Read.Fd;
    Read.Fd = -1;
    std::thread(WaitForChild, Child, Output, std::move(OnExit)).detach();
    return true;
}
