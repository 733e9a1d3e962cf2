// Child processes the program starts and forgets: the sound child, the
// power-off command. The caller hears of the end later, on the main thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Starts Argv[0] (looked up in PATH when it holds no "/") with Argv as its
// arguments, standard input from /dev/null, standard output and error
// collected together, and none of the program's other file descriptors. A
// waiter thread reaps the child, so none is left behind, and hands OnExit to
// the main thread through the thread queue with the exit status (-1 when a
// signal ended it) and the collected output. Answers false with Error when the
// program cannot be started; OnExit is then never called.
bool StartProcess(const std::vector<std::string>& Argv,
                  std::function<void(int ExitStatus, const std::string& Output)> OnExit,
                  std::string& Error);
