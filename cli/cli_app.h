#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace tavrin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the run or a write failed
inline constexpr int kExitUsage = 2;   // bad options or inputs; nothing was written

inline constexpr const char* kOutputFailedMessage = "writing to standard output failed";

// What a subcommand gets besides its arguments and streams.
struct CommandContext {
    bool showProgress = false;               // err is a terminal: draw a progress bar there
    const std::atomic<bool>* stop = nullptr; // raised by the first stop signal
};

// The whole tool: the first argument names a subcommand, or else the arguments are generate's.
// Messages go to err. An output that cannot be written turns a success into kExitFailure with
// a message. Returns the exit status.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool showProgress, const std::atomic<bool>* stop = nullptr);

// Parses a subcommand's arguments into app, then runs check, which may throw a CLI::ParseError
// of its own. Help goes to out (kExitOk), a fault's text to refuse (kExitUsage). Empty when the
// command goes on.
std::optional<int> parseArguments(CLI::App& app, const std::vector<std::string>& arguments,
                                  std::ostream& out,
                                  const std::function<void(const std::string&)>& refuse,
                                  const std::function<void()>& check = {});

// The K and N of a --shard "K/N" with 1 <= K <= N; nothing for any other text.
std::optional<std::pair<int, int>> parseShard(const std::string& text);

// "Commands:" and one line per subcommand, for the top-level help.
std::string commandListText();

} // namespace tavrin::cli
