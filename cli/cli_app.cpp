#include "cli/cli_app.h"

#include "cli/cli_options.h"
#include "cli/convert_command.h"
#include "cli/design_command.h"
#include "cli/generate_command.h"
#include "cli/measure_command.h"
#include "cli/solve_command.h"

#include <CLI/CLI.hpp>
#include <cstddef>
#include <exception>
#include <sstream>
#include <variant>

namespace tavrin::cli {
namespace {

using Arguments = std::vector<std::string>;
using PlainMain = int (*)(const Arguments&, std::ostream&, std::ostream&);
using StoppableMain = int (*)(const Arguments&, std::ostream&, std::ostream&,
                              const std::atomic<bool>*);
using ContextMain = int (*)(const Arguments&, std::ostream&, std::ostream&, const CommandContext&);

struct Subcommand {
    const char* name;
    const char* description;
    std::variant<PlainMain, StoppableMain, ContextMain> main;
};

// One row per subcommand; --help lists them in this order.
const Subcommand kSubcommands[] = {
    {"generate", "generate networks, report them and save instances (the default)", generateMain},
    {"measure", "measure instance files: a CSV row each, and an HTML report", measureMain},
    {"convert", "convert instance files between .rcp, .sm, .dzn and .json", convertMain},
    {"design", "build, verify or merge a designed data set from a TOML design file", designMain},
    {"solve", "bounds, a checked schedule and its status per instance file", solveMain},
};

int callSubcommand(const Subcommand& command, const Arguments& arguments, std::ostream& out,
                   std::ostream& err, const CommandContext& context) {
    return std::visit(
        [&](auto main) {
            using Main = decltype(main);
            if constexpr (std::is_same_v<Main, PlainMain>) {
                return main(arguments, out, err);
            } else if constexpr (std::is_same_v<Main, StoppableMain>) {
                return main(arguments, out, err, context.stop);
            } else {
                return main(arguments, out, err, context);
            }
        },
        command.main);
}

const Subcommand* findSubcommand(const Arguments& arguments) {
    if (arguments.empty()) {
        return nullptr;
    }
    for (const Subcommand& command : kSubcommands) {
        if (arguments.front() == command.name) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace

std::string commandListText() {
    std::ostringstream text;
    text << "Commands (generate when none is named; COMMAND --help for its options):\n";
    for (const Subcommand& command : kSubcommands) {
        const std::string left = std::string("  ") + command.name;
        text << left << std::string(left.size() < 30 ? 30 - left.size() : 1, ' ')
             << command.description << '\n';
    }
    return text.str();
}

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool showProgress, const std::atomic<bool>* stop) {
    const CommandContext context{showProgress, stop};
    int status = 0;
    if (const Subcommand* command = findSubcommand(arguments)) {
        status = callSubcommand(*command, Arguments(arguments.begin() + 1, arguments.end()), out,
                                err, context);
    } else {
        status = generateCommand(arguments, out, err, context, "\n" + commandListText());
    }
    out.flush();
    if (!out && status == kExitOk) {
        err << kProgramName << ": " << kOutputFailedMessage << '\n';
        return kExitFailure;
    }
    return status;
}

std::optional<int> parseArguments(CLI::App& app, const Arguments& arguments, std::ostream& out,
                                  const std::function<void(const std::string&)>& refuse,
                                  const std::function<void()>& check) {
    try {
        Arguments reversed(arguments.rbegin(), arguments.rend()); // CLI11 pops from the back
        app.parse(reversed);
        if (check) {
            check();
        }
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        refuse(error.what());
        return kExitUsage;
    }
    return std::nullopt;
}

std::optional<std::pair<int, int>> parseShard(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    try {
        std::size_t used = 0;
        const int index = std::stoi(text.substr(0, slash), &used);
        if (used != slash) {
            return std::nullopt;
        }
        const std::string countText = text.substr(slash + 1);
        const int count = std::stoi(countText, &used);
        if (used != countText.size() || index < 1 || index > count) {
            return std::nullopt;
        }
        return std::pair{index, count};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace tavrin::cli
