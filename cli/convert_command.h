#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// "tavrin-cli convert --to rcp|sm|mm|sch|dzn|json --dir DIR FILE...": reads each file in the format
// of its extension and writes DIR/<name><extension of --to>, replacing a file of that name
// atomically. args are the words after "convert". Returns 0 when every file was converted, 2 for
// bad usage (nothing is read), 1 when some file could not be read or written: each such file is
// reported on err and the others are still converted. DIR is created when missing. A raised stop
// flag ends it before the next file.
int convertMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::atomic<bool>* stop = nullptr);

} // namespace tavrin::cli
