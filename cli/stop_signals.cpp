#include "cli/stop_signals.h"

#include "export/file_replace.h"

#include <csignal>
#include <unistd.h>

namespace tavrin::cli {
namespace {

std::atomic<bool> g_stopRequested{false};
volatile std::sig_atomic_t g_firstSignal = 0;

static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

constexpr char kStoppingNote[] =
    "\ntavrin-cli: stopping at the next step; a second signal ends at once\n";

void onStopSignal(int signal) {
    if (g_firstSignal != 0) {
        removeTemporaryFilesNow();
        _exit(128 + signal);
    }
    g_firstSignal = signal;
    g_stopRequested.store(true);
    // Only write() is safe here; a lost note is no reason to fail.
    [[maybe_unused]] const ssize_t written =
        write(STDERR_FILENO, kStoppingNote, sizeof kStoppingNote - 1);
}

} // namespace

const std::atomic<bool>* installStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Both signals are blocked while the handler runs, so a quick second one waits for the
    // first to be recorded.
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return &g_stopRequested;
}

int interruptedExitStatus() {
    const int signal = g_firstSignal;
    return 128 + (signal != 0 ? signal : SIGINT);
}

} // namespace tavrin::cli
