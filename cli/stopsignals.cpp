#include "cli/stopsignals.h"

#include "components/nativefile.h"

#include <csignal>

namespace orvello {

namespace {

void onStop(int signal)
{
    removeTemporaryFilesNow();
    // SA_RESETHAND has put back the default action: raising again ends the process with it.
    ::raise(signal);
}

}  // namespace

void removeTemporariesOnStop()
{
    struct sigaction action {};
    action.sa_handler = onStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    // SIGPIPE too: output piped into a reader that quits (head) must not leave files either.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction old {};
        // A signal ignored by whoever started us (nohup) stays ignored.
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace orvello
