#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin::design {

// The journal of a run: the index rows of each cell as it finishes, so that a run killed at any
// moment continues from its last finished cell. Folded into index.csv when the run ends.
inline constexpr const char* kJournalFileName = ".tavrin-journal.csv";

// An exclusive lock on a data set's folder, held while one run writes there and released by the
// system however the run ends. Throws std::runtime_error when another run holds it. On a file
// system without locks it holds none.
class FolderLock {
public:
    explicit FolderLock(const std::string& dir);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

// A file name an index or manifest may hold: one path component inside the set, no "." or "..",
// no separator, no control character.
bool isPlainName(std::string_view name);

// Whether name is one replaceFile gives its temporary files.
bool isOurTemporaryName(const std::string& name);

// Removes the temporary files that replaceFile left in dir when a run was killed mid-write, and
// nothing else. Call only while holding the folder's lock.
void removeStaleTemporaryFiles(const std::string& dir);

// Appends CSV rows to the journal and pushes them to the disk; the first append of a new journal
// writes the header. Throws std::runtime_error with the system's reason.
void appendJournal(const std::string& dir, const std::vector<std::string>& header,
                   const std::string& rows);

// The rows of the journal that were written whole, under the given header; none when there is no
// journal or it belongs to another header.
std::vector<std::vector<std::string>> readJournal(const std::string& dir,
                                                  const std::vector<std::string>& header);

void removeJournal(const std::string& dir);

} // namespace tavrin::design
