#include "export/rcp_writer.h"

#include "engine/index_cast.h"
#include "formats/number_text.h"

#include <cstring>

namespace tavrin {
namespace {

using formats::putField;
using formats::putNumber;
using formats::putText;

// At most 11 characters a number, a space before it when it fills its field and one after it, and
// a line end per line.
std::size_t sizeBound(const ProjectInstance& instance) {
    std::size_t arcs = 0;
    for (const std::int32_t successors : instance.precedence.successorCount) {
        arcs += static_cast<std::size_t>(successors);
    }
    const std::size_t n = index(instance.activityCount);
    const std::size_t k = index(instance.resourceCount);
    const std::size_t fields = 8 + 3 * k + n * (k + 4) + arcs;
    return 13 * fields + 2 * (n + 8) + formats::kSlack;
}

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kZeroField = "   0";

char* putHeader(char* out, const ProjectInstance& instance) {
    const int k = instance.resourceCount;
    out = putText(out, kLineEnd);
    out = putNumber(out, instance.activityCount + 2, 4);
    out = putField(out, k, 5);
    out = putText(out, kLineEnd);
    out = putNumber(out, instance.availability[0], 4);
    for (int r = 1; r < k; ++r) {
        out = putField(out, instance.availability[index(r)], 5);
    }
    return putText(out, kLineEnd);
}

// The dummy start precedes every activity without a predecessor, listed in increasing order.
char* putStartJob(char* out, const ProjectInstance& instance) {
    const std::vector<std::int32_t>& predecessors = instance.precedence.predecessorCount;
    out = putText(out, kLineEnd);
    out = putNumber(out, 0, 4);
    for (int r = 0; r < instance.resourceCount; ++r) {
        out = putText(out, kZeroField);
    }
    std::int32_t roots = 0;
    for (const std::int32_t count : predecessors) {
        roots += count == 0 ? 1 : 0;
    }
    out = putField(out, roots, 4);
    *out++ = ' ';
    for (int a = 0; a < instance.activityCount; ++a) {
        if (predecessors[index(a)] == 0) {
            out = putNumber(out, a + 2);
            *out++ = ' ';
        }
    }
    return out;
}

// Successors come from the direct row's set-bit walk, so in decreasing job number; an activity
// without successors precedes the dummy end only.
char* putActivityJob(char* out, const ProjectInstance& instance, int a) {
    out = putText(out, kLineEnd);
    out = putNumber(out, instance.duration[index(a)], 4);
    for (int r = 0; r < instance.resourceCount; ++r) {
        out = putField(out, instance.demand(a, r), 4);
    }
    const std::int32_t successors = instance.precedence.successorCount[index(a)];
    if (successors == 0) {
        out = putText(out, "   1 ");
        return putNumber(out, instance.activityCount + 2);
    }
    out = putField(out, successors, 4);
    *out++ = ' ';
    forEachSetBit(instance.successorRow(a), instance.rowWords, [&](int b) {
        out = putNumber(out, b + 2);
        *out++ = ' ';
    });
    return out;
}

char* putEndJob(char* out, const ProjectInstance& instance) {
    out = putText(out, kLineEnd);
    out = putText(out, "   0   0");
    for (int r = 0; r < instance.resourceCount; ++r) {
        out = putText(out, kZeroField);
    }
    return putText(out, " \r\n");
}

} // namespace

std::string_view RcpWriter::format(const ProjectInstance& instance) {
    const std::size_t bound = sizeBound(instance);
    if (m_buffer.size() < bound) {
        m_buffer.resize(bound);
    }
    char* const first = m_buffer.data();
    char* out = putHeader(first, instance);
    out = putStartJob(out, instance);
    for (int a = 0; a < instance.activityCount; ++a) {
        out = putActivityJob(out, instance, a);
    }
    out = putEndJob(out, instance);
    assert(static_cast<std::size_t>(out - first) + formats::kSlack <= bound);
    return {first, static_cast<std::size_t>(out - first)};
}

void RcpWriter::write(const ProjectInstance& instance, const std::string& path) {
    replaceFile(path, format(instance));
}

} // namespace tavrin
