#pragma once

#include "export/project_instance.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrin {

// A file that could not be created, written or put in place; what() names the file and the
// reason given by the system.
class RcpWriteError : public std::runtime_error {
public:
    RcpWriteError(const std::string& path, const std::string& reason);
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Writes completed instances in the .rcp (Patterson) format: every line ends in CR LF on every
// platform, jobs are numbered 1 (dummy start), a+2 for activity a, n+2 (dummy end). The buffer is
// kept between files, so a batch formats without allocating once it has grown.
class RcpWriter {
public:
    // The bytes of the file; valid until the next call.
    std::string_view format(const ProjectInstance& instance);

    // Formats the instance and writes it to path, replacing a file of that name. Throws
    // RcpWriteError; a failure leaves neither a partial file nor a damaged earlier one.
    void write(const ProjectInstance& instance, const std::string& path);

private:
    std::string m_buffer;
};

// Writes bytes to a temporary file beside path and renames it into place, so that path holds
// either its earlier content or all of the bytes. Throws RcpWriteError.
void replaceFile(const std::string& path, std::string_view bytes);

} // namespace tavrin
