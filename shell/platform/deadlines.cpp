#include "deadlines.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace platform {

namespace {

// Each deadline is a time on the monotonic clock in nanoseconds, 0 when none
// is set. Only async-signal-safe calls are made on them.
constexpr long long endGrace = 500'000'000;      // after a signal to end
constexpr long long startLimit = 10'000'000'000; // for the whole start-up
timer_t deadlineTimer;
bool deadlineTimerMade = false;
std::atomic<long long> endBy{0};
std::atomic<long long> startBy{0};
std::atomic<const char *> startLine{nullptr};
static_assert(std::atomic<long long>::is_always_lock_free);

long long monotonicNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Sets the timer to the earlier deadline, or stops it.
void armDeadlineTimer() {
    if (!deadlineTimerMade)
        return;
    const long long end = endBy.load();
    const long long start = startBy.load();
    const long long next = end && start ? std::min(end, start) : end ? end : start;
    itimerspec when{};
    when.it_value.tv_sec = next / 1'000'000'000;
    when.it_value.tv_nsec = next % 1'000'000'000;
    ::timer_settime(deadlineTimer, TIMER_ABSTIME, &when, nullptr);
}

void onDeadline(int) {
    const int saved = errno;
    const long long now = monotonicNow();
    const long long end = endBy.load();
    if (end && now >= end)
        ::_exit(0); // as the window's close would have ended it
    const long long start = startBy.load();
    if (start && now >= start) {
        if (const char *line = startLine.load()) {
            [[maybe_unused]] const ssize_t written =
                ::write(STDERR_FILENO, line, std::strlen(line));
        }
        ::_exit(1);
    }
    armDeadlineTimer();
    errno = saved;
}

} // namespace

bool makeDeadlineTimer() {
    // The timer signals on SIGALRM, which nothing else uses.
    struct sigaction onTimer {};
    onTimer.sa_handler = onDeadline;
    sigemptyset(&onTimer.sa_mask);
    onTimer.sa_flags = SA_RESTART;
    sigaction(SIGALRM, &onTimer, nullptr);
    sigevent timerSignal{};
    timerSignal.sigev_notify = SIGEV_SIGNAL;
    timerSignal.sigev_signo = SIGALRM;
    deadlineTimerMade = ::timer_create(CLOCK_MONOTONIC, &timerSignal, &deadlineTimer) == 0;
    return deadlineTimerMade;
}

void endWithinGrace() {
    long long none = 0;
    if (endBy.compare_exchange_strong(none, monotonicNow() + endGrace))
        armDeadlineTimer();
}

void limitStartUp(const char *line) {
    startLine.store(line);
    startBy.store(monotonicNow() + startLimit);
    armDeadlineTimer();
}

void sayOnStartUpLimit(const char *line) {
    startLine.store(line);
}

void startUpDone() {
    startBy.store(0);
    armDeadlineTimer();
}

} // namespace platform
