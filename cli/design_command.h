#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// tavrin-cli design FILE.toml --out DIR [--jobs N] [--shard K/N]
// tavrin-cli design --verify DIR [--jobs N]
// tavrin-cli design --merge --out DIR SHARD_DIR...
// args are those after "design". Exits 0 on success, 2 on a bad design or option (nothing is
// run), 1 on a failed run, write or verification and on a stop. A progress line goes to err
// when err is the standard error of a terminal. stop ends a run between cells, leaving an
// index of the finished ones.
int designMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::atomic<bool>* stop = nullptr);

} // namespace tavrin::cli
