#include "cli/cli_app.h"
#include "cli/stop_signals.h"

#include <csignal>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    // A closed pipe then fails the write, which is reported, instead of killing the process.
    std::signal(SIGPIPE, SIG_IGN);
    const std::atomic<bool>* stop = tavrin::cli::installStopSignals();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tavrin::cli::runCli(arguments, std::cout, std::cerr, isatty(STDERR_FILENO) == 1, stop);
}
