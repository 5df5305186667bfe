#include "cli/cli_app.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tavrin::cli::runCli(arguments, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
