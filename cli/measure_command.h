#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace tavrin {

// "measure [--out FILE.csv] [--report FILE.html] [--scatter X,Y] [--title TEXT] PATH...": one
// CSV row of measures per instance file. PATHs are files, directories (searched recursively for
// readable extensions, in name order) or globs. A file that cannot be read or measured is
// reported on err and skipped; only regular files are read, and every path that could not be
// read is named. Outputs are replaced whole or not at all. Returns 0, 1 when a file failed or an
// output could not be written, 2 for bad usage. args are the words after "measure". A raised stop
// flag ends it before the next file, with nothing written.
int measureMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::atomic<bool>* stop = nullptr);

} // namespace tavrin
