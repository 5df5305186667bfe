#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// A file to read and the set it is shown in: the directory named on the command line, or for a
// file the folder it lies in.
struct InputFile {
    std::string path;
    std::string group;
};

// Appends the instance files a command-line PATH names: the file itself, every readable regular
// file (.rcp, .sm, .mm, .sch, .json; not a designed data set's manifest or schedule) under a
// directory in name order, or the matches of a glob the shell left alone. A directory without
// instances, anything that cannot be read or is no regular file, or a glob without matches is
// reported on err and sets failed.
void expandPath(const std::string& path, std::vector<InputFile>& files, std::ostream& err,
                bool& failed);

} // namespace tavrin::cli
