#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/instance_io.h"
#include "formats/number_text.h"
#include "formats/text_reader.h"

#include <functional>

namespace tavrin::formats {
namespace {

constexpr std::string_view kFormatTag = "tavrin-instance";
constexpr std::int64_t kSchemaVersion = 1;

// Room for a text escaped: at most six characters (\u00XX) for each byte.
std::size_t escapedRoom(const std::string& text) {
    return 6 * text.size() + 2;
}

char* putString(char* out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    *out++ = '"';
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            *out++ = '\\';
            *out++ = c;
        } else if (c == '\n') {
            out = putText(out, "\\n");
        } else if (c == '\r') {
            out = putText(out, "\\r");
        } else if (c == '\t') {
            out = putText(out, "\\t");
        } else if (code < 0x20 || code == 0x7f) {
            out = putText(out, "\\u00");
            *out++ = kHex[code >> 4];
            *out++ = kHex[code & 15];
        } else {
            *out++ = c;
        }
    }
    *out++ = '"';
    return out;
}

char* putList(char* out, const std::vector<std::int32_t>& values, std::int64_t offset) {
    *out++ = '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i != 0) {
            out = putText(out, ", ");
        }
        out = putNumber(out, values[i] + offset);
    }
    *out++ = ']';
    return out;
}

void putProvenance(TextOut& text, const Provenance& provenance) {
    if (provenance.empty()) {
        return;
    }
    text.advance(putText(text.room(20), "  \"provenance\": {"));
    for (std::size_t i = 0; i < provenance.size(); ++i) {
        const auto& [key, value] = provenance[i];
        char* at = text.room(escapedRoom(key) + escapedRoom(value) + 12);
        at = putText(at, i == 0 ? "\n    " : ",\n    ");
        at = putText(putString(at, key), ": ");
        text.advance(putString(at, value));
    }
    text.advance(putText(text.room(8), "\n  },\n"));
}

// The modes of a multi-mode job, after its single-mode fields (which repeat the first mode).
void putModes(TextOut& text, const Job& job) {
    text.advance(putText(text.room(16), ", \"modes\": ["));
    for (std::size_t m = 0; m < job.modes.size(); ++m) {
        const Mode& mode = job.modes[m];
        char* at = text.room(
            (mode.demands.size() + mode.nonrenewable.size() + 1) * (kNumberChars + 2) + 64);
        at = putText(at, m == 0 ? "{\"duration\": " : ", {\"duration\": ");
        at = putNumber(at, mode.duration);
        at = putList(putText(at, ", \"demands\": "), mode.demands, 0);
        at = putList(putText(at, ", \"nonrenewable\": "), mode.nonrenewable, 0);
        text.advance(putText(at, "}"));
    }
    text.advance(putText(text.room(4), "]"));
}

// The keys of the other instance classes, written only when the instance has them, so that a
// single-mode instance keeps its bytes.
void putJobExtras(TextOut& text, const Job& job) {
    if (!job.lags.empty()) {
        char* at = text.room(job.lags.size() * (kNumberChars + 2) + 16);
        text.advance(putList(putText(at, ", \"lags\": "), job.lags, 0));
    }
    if (!job.modes.empty()) {
        putModes(text, job);
    }
}

} // namespace

void writeJson(const Instance& instance, std::string& out) {
    TextOut text(out);
    char* at = text.room(80);
    at = putText(at, "{\n  \"format\": \"");
    at = putText(at, kFormatTag);
    at = putText(at, "\",\n  \"version\": ");
    text.advance(putText(putNumber(at, kSchemaVersion), ",\n"));
    putProvenance(text, instance.provenance);
    at = text.room(instance.availability.size() * (kNumberChars + 2) + 40);
    at = putText(at, "  \"availability\": ");
    at = putList(at, instance.availability, 0);
    if (!instance.nonrenewable.empty()) {
        text.advance(at);
        at = text.room(instance.nonrenewable.size() * (kNumberChars + 2) + 40);
        at = putList(putText(at, ",\n  \"nonrenewable\": "), instance.nonrenewable, 0);
    }
    text.advance(putText(at, ",\n  \"jobs\": ["));
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        at = text.room((job.demands.size() + job.successors.size() + 1) * (kNumberChars + 2) + 64);
        at = putText(at, j == 0 ? "\n    {\"duration\": " : ",\n    {\"duration\": ");
        at = putNumber(at, job.duration);
        at = putText(at, ", \"demands\": ");
        at = putList(at, job.demands, 0);
        at = putText(at, ", \"successors\": ");
        at = putList(at, job.successors, 1);
        text.advance(at);
        putJobExtras(text, job);
        text.advance(putText(text.room(2), "}"));
    }
    text.advance(putText(text.room(8), "\n  ]\n}\n"));
    text.finish();
}

} // namespace tavrin::formats
