#include "cli/stopsignals.h"

#include "components/nativefile.h"

#include <csignal>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <pthread.h>

namespace orvello {

namespace {

sigset_t stopSignals;  // set once, before the stop thread starts
pthread_t stopThread;
std::mutex reportLock;
std::function<void()> stopReport;  // guarded by reportLock

// A stop that lands on another thread anyway (SIGPIPE, raised by a write on the thread that
// wrote; a thread that began before the signals were blocked) is handed to the stop thread,
// where it waits in the mask until sigwait takes it.
void handOver(int signal)
{
    ::pthread_kill(stopThread, signal);
}

[[noreturn]] void takeStops()
{
    int signal = 0;
    while (::sigwait(&stopSignals, &signal) != 0) {
    }
    removeTemporaryFilesNow();
    {
        const std::lock_guard lock(reportLock);
        if (stopReport) stopReport();
    }
    // End as the signal's default action ends the process.
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    ::sigaction(signal, &plain, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal);
}

}  // namespace

void removeTemporariesOnStop()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sigemptyset(&stopSignals);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            struct sigaction old {};
            // A signal ignored by whoever started us (nohup) stays ignored.
            if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
            sigaddset(&stopSignals, signal);
        }
        // The stop thread starts with all of them blocked, as sigwait needs.
        ::pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
        std::thread taker(takeStops);
        stopThread = taker.native_handle();
        taker.detach();
        // Every other thread keeps SIGPIPE open: a write to a closed pipe must reach handOver
        // rather than wait, blocked, on the thread that wrote.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        ::pthread_sigmask(SIG_UNBLOCK, &pipe, nullptr);
        struct sigaction action {};
        action.sa_handler = handOver;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            if (sigismember(&stopSignals, signal)) ::sigaction(signal, &action, nullptr);
    });
}

StopReport::StopReport(std::function<void()> report)
{
    const std::lock_guard lock(reportLock);
    stopReport = std::move(report);
}

StopReport::~StopReport()
{
    const std::lock_guard lock(reportLock);
    stopReport = nullptr;
}

}  // namespace orvello
