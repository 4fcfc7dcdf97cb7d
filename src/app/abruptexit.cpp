// One exit handler, registered with the first work, runs whatever work is set at that moment.
#include "abruptexit.h"

#include <cstdlib>
#include <utility>

namespace {

std::function<void()> &pendingWork()
{
    static auto *work = new std::function<void()>; // never destroyed: exit handlers may run after static destructors
    return *work;
}

void runPendingWork()
{
    const std::function<void()> work = std::exchange(pendingWork(), {});
    if (work) {
        work();
    }
}

} // namespace

void setAbruptExitWork(std::function<void()> work)
{
    static const bool registered = std::atexit(runPendingWork) == 0;
    (void)registered;
    pendingWork() = std::move(work);
}

void clearAbruptExitWork()
{
    pendingWork() = {};
}
