#pragma once

#include "cli/cli_app.h"

#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// The generate subcommand: parses its options, checks them and every output like the Generate
// command, runs, writes the CSV, the summary and the files. A stop ends the run at its next
// attempt, or the export before its next instance, and gives the interrupted status.
// helpEnd follows the usage text of --help.
int generateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    const CommandContext& context, const std::string& helpEnd = {});

inline int generateMain(const std::vector<std::string>& arguments, std::ostream& out,
                        std::ostream& err, const CommandContext& context) {
    return generateCommand(arguments, out, err, context);
}

} // namespace tavrin::cli
