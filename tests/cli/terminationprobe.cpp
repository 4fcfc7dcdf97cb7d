// A program that installs the termination-signal handling and then either stays "starting" for ever (argument
// "starting") or runs its event loop (argument "running"), announcing the state on standard output. Driven by
// terminationsignals_test.
#include "cli/terminationsignals.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    quitOnTerminationSignals();
    if (argc == 2 && std::strcmp(argv[1], "running") == 0) {
        eventLoopStarts();
        std::puts("running");
        std::fflush(stdout);
        const int result = QCoreApplication::exec();
        std::puts("shut down");
        return result;
    }
    std::puts("starting");
    std::fflush(stdout);
    for (;;) {
        ::pause(); // a start that takes as long as it likes
    }
}
