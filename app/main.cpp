// The program's entry point. No command line is read.
#include "platform/core/Threads.h"

int main() {
    RecordMainThread();
    return 0;
}
