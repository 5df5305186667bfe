#pragma once

#include "export/file_replace.h"
#include "export/project_instance.h"

#include <string>
#include <string_view>

namespace tavrin {

// Writes completed instances in the .rcp (Patterson) format: every line ends in CR LF on every
// platform, jobs are numbered 1 (dummy start), a+2 for activity a, n+2 (dummy end). The buffer is
// kept between files, so a batch formats without allocating once it has grown.
class RcpWriter {
public:
    // The bytes of the file; valid until the next call.
    std::string_view format(const ProjectInstance& instance);

    // Formats the instance and writes it to path, replacing a file of that name. Throws
    // FileWriteError; a failure leaves neither a partial file nor a damaged earlier one.
    void write(const ProjectInstance& instance, const std::string& path);

private:
    std::string m_buffer;
};

} // namespace tavrin
