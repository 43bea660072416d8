#pragma once
// A run stopped by Ctrl+C, a closed terminal, kill or a reader that quits leaves no temporary
// file, says what it had done, and still ends with the status of the signal, so that a shell or
// scheduler sees it was stopped.
#include <functional>

namespace orvello {

// For SIGINT, SIGTERM, SIGHUP and SIGPIPE, unless ignored when the program started (nohup). Call
// before any other thread starts: the signals are blocked in the caller and so in every thread it
// starts, and taken by a thread of their own, which no lock of the workers can hold up.
void removeTemporariesOnStop();

// While it lives, a stop calls report (on the stop's thread, after the temporary files are gone)
// before the process ends. report must take no lock a worker may hold.
class StopReport {
public:
    explicit StopReport(std::function<void()> report);
    ~StopReport();
    StopReport(const StopReport&) = delete;
    StopReport& operator=(const StopReport&) = delete;
};

}  // namespace orvello
