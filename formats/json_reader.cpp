#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/instance_io.h"
#include "formats/text_reader.h"

#include <algorithm>
#include <functional>

namespace tavrin::formats {
namespace {

constexpr std::string_view kFormatTag = "tavrin-instance";
constexpr std::int64_t kSchemaVersion = 1;

// The length of the UTF-8 sequence starting text[at], 0 when it is not a valid one.
std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xc2 ? 0
                               : lead < 0xe0 ? 2
                               : lead < 0xf0 ? 3
                               : lead < 0xf5 ? 4
                                             : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) {
            return 0;
        }
    }
    const unsigned char second = length > 1 ? byte(at + 1) : 0x80;
    const bool overlong = (lead == 0xe0 && second < 0xa0) || (lead == 0xf0 && second < 0x90);
    const bool beyond = (lead == 0xed && second >= 0xa0) || (lead == 0xf4 && second >= 0x90);
    return overlong || beyond ? 0 : length;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// A strict JSON reader that knows the line it is on; the schema drives it.
class JsonCursor {
public:
    JsonCursor(std::string_view bytes, const std::string& fileName)
        : m_bytes(bytes), m_fileName(fileName) {}

    [[noreturn]] void fail(const std::string& message) const {
        throw FormatError(m_fileName, m_line, message);
    }
    int line() const { return m_line; }

    char peek() {
        while (m_at < m_bytes.size()) {
            const char c = m_bytes[m_at];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
                return c;
            }
            m_line += c == '\n' ? 1 : 0;
            ++m_at;
        }
        return '\0';
    }
    bool atEnd() { return peek() == '\0' && m_at == m_bytes.size(); }

    void expect(char c, std::string_view what) {
        if (peek() != c || m_at == m_bytes.size()) {
            fail("expected " + std::string(what) + ", found " + shownHere());
        }
        ++m_at;
    }

    std::int64_t number(std::string_view what, std::int64_t largest = kLargestValue) {
        peek();
        const std::size_t first = m_at;
        while (m_at < m_bytes.size()
               && std::string_view("-+.eE0123456789").find(m_bytes[m_at])
                      != std::string_view::npos) {
            ++m_at;
        }
        const std::string_view token = m_bytes.substr(first, m_at - first);
        if (token.empty()) {
            fail(std::string(what) + ": expected a whole number, found " + shownHere());
        }
        return parseNumber(token, what, largest, m_fileName, m_line);
    }

    // A whole number that may be negative, within 32 bits.
    std::int64_t signedNumber(std::string_view what) {
        const bool negative = peek() == '-';
        m_at += negative ? 1 : 0;
        const std::int64_t value = number(what);
        return negative ? -value : value;
    }

    std::string string(std::string_view what);

    // Calls member for each key of an object, refusing a key given twice.
    void object(std::string_view what, const std::function<void(const std::string&)>& member) {
        expect('{', what);
        std::vector<std::string> keys;
        if (peek() == '}') {
            ++m_at;
            return;
        }
        do {
            std::string key = string("a key");
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
                fail("the key \"" + key + "\" is given twice");
            }
            expect(':', "\":\"");
            member(key);
            keys.push_back(std::move(key));
        } while (separator('}', "\",\" or \"}\""));
    }

    void array(std::string_view what, const std::function<void()>& element) {
        expect('[', what);
        if (peek() == ']') {
            ++m_at;
            return;
        }
        do {
            element();
        } while (separator(']', "\",\" or \"]\""));
    }

    std::string shownHere() {
        peek();
        return quoteToken(m_bytes.substr(m_at, std::min<std::size_t>(m_bytes.size() - m_at, 12)));
    }

private:
    // True after a comma, false after the closing character.
    bool separator(char close, std::string_view what) {
        const char c = peek();
        if (c == ',' || (c == close && m_at < m_bytes.size())) {
            ++m_at;
            return c == ',';
        }
        fail("expected " + std::string(what) + ", found " + shownHere());
    }
    std::uint32_t hexQuad();

    std::string_view m_bytes;
    std::size_t m_at = 0;
    int m_line = 1;
    const std::string& m_fileName;
};

std::uint32_t JsonCursor::hexQuad() {
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i, ++m_at) {
        const char c = m_at < m_bytes.size() ? m_bytes[m_at] : '\0';
        const std::size_t digit =
            std::string_view("0123456789abcdef")
                .find(static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c));
        if (c == '\0' || digit == std::string_view::npos) {
            fail("a \\u escape needs four hexadecimal digits");
        }
        code = code * 16 + static_cast<std::uint32_t>(digit);
    }
    return code;
}

std::string JsonCursor::string(std::string_view what) {
    expect('"', what);
    std::string out;
    while (true) {
        if (m_at == m_bytes.size()) {
            fail("a text is not closed before the end of the file");
        }
        const char c = m_bytes[m_at];
        if (c == '"') {
            ++m_at;
            return out;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            fail("a text holds a control character; write it as an escape");
        }
        if (c != '\\') {
            const std::size_t length = utf8Length(m_bytes, m_at);
            if (length == 0) {
                fail("a text holds bytes that are not UTF-8");
            }
            out.append(m_bytes.substr(m_at, length));
            m_at += length;
            continue;
        }
        ++m_at;
        const char escape = m_at < m_bytes.size() ? m_bytes[m_at++] : '\0';
        const std::string_view plain = "\"\\/bfnrt";
        const std::string_view meant = "\"\\/\b\f\n\r\t";
        if (const std::size_t i = plain.find(escape); escape != '\0' && i != plain.npos) {
            out += meant[i];
            continue;
        }
        if (escape != 'u') {
            fail("unknown escape in a text");
        }
        std::uint32_t code = hexQuad();
        if (code >= 0xd800 && code < 0xdc00) {
            if (m_bytes.substr(m_at, 2) != "\\u") {
                fail("a \\u escape of a surrogate lacks its pair");
            }
            m_at += 2;
            const std::uint32_t low = hexQuad();
            if (low < 0xdc00 || low >= 0xe000) {
                fail("a \\u escape of a surrogate lacks its pair");
            }
            code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
        } else if (code >= 0xdc00 && code < 0xe000) {
            fail("a \\u escape of a surrogate lacks its pair");
        }
        appendUtf8(out, code);
    }
}

std::vector<std::int32_t> numbers(JsonCursor& json, std::string_view what) {
    std::vector<std::int32_t> values;
    json.array(what, [&] { values.push_back(static_cast<std::int32_t>(json.number(what))); });
    return values;
}

Mode readMode(JsonCursor& json, const std::string& name) {
    Mode mode;
    bool duration = false, demands = false, nonrenewable = false;
    json.object("a mode of " + name, [&](const std::string& key) {
        if (key == "duration") {
            mode.duration = static_cast<std::int32_t>(json.number("the duration of " + name));
            duration = true;
        } else if (key == "demands") {
            mode.demands = numbers(json, "the demands of " + name);
            demands = true;
        } else if (key == "nonrenewable") {
            mode.nonrenewable = numbers(json, "the nonrenewable demands of " + name);
            nonrenewable = true;
        } else {
            json.fail("unknown key \"" + key + "\" in a mode of " + name);
        }
    });
    if (!duration || !demands || !nonrenewable) {
        json.fail("a mode of " + name + " needs \"duration\", \"demands\" and \"nonrenewable\"");
    }
    return mode;
}

// The keys of multi-mode jobs and of jobs with time lags.
bool readJobExtra(JsonCursor& json, const std::string& key, const std::string& name, Job& job) {
    if (key == "lags") {
        json.array("the time lags of " + name, [&] {
            job.lags.push_back(static_cast<std::int32_t>(json.signedNumber("a lag of " + name)));
        });
    } else if (key == "modes") {
        json.array("the modes of " + name, [&] { job.modes.push_back(readMode(json, name)); });
        if (job.modes.empty()) {
            json.fail(name + " needs at least one mode");
        }
    } else {
        return false;
    }
    return true;
}

Job readJob(JsonCursor& json, std::size_t j) {
    Job job;
    bool duration = false, demands = false, successors = false;
    const std::string name = jobName(j);
    json.object("the object of " + name, [&](const std::string& key) {
        if (key == "duration") {
            job.duration = static_cast<std::int32_t>(json.number("the duration of " + name));
            duration = true;
        } else if (key == "demands") {
            job.demands = numbers(json, "the demands of " + name);
            demands = true;
        } else if (key == "successors") {
            json.array("the successors of " + name, [&] {
                const auto s = json.number("a successor of " + name);
                job.successors.push_back(static_cast<std::int32_t>(s - 1));
            });
            successors = true;
        } else if (!readJobExtra(json, key, name, job)) {
            json.fail("unknown key \"" + key + "\" in " + name);
        }
    });
    if (!duration || !demands || !successors) {
        json.fail(name + " needs \"duration\", \"demands\" and \"successors\"");
    }
    if (!job.modes.empty()
        && (job.modes[0].duration != job.duration || job.modes[0].demands != job.demands)) {
        json.fail(name + ": \"duration\" and \"demands\" must repeat the first mode");
    }
    return job;
}

void readProvenance(JsonCursor& json, Provenance& provenance) {
    json.object("the provenance object", [&](const std::string& key) {
        provenance.emplace_back(key, json.string("a provenance text"));
    });
}

// Either every job lists its modes or none, each with a demand for every resource.
void checkModes(const Instance& instance, const std::vector<int>& jobLines,
                const std::string& fileName) {
    const bool multiMode = instance.multiMode();
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        if (job.modes.empty() == multiMode) {
            throw FormatError(fileName, jobLines[j],
                              "either every job lists its \"modes\" or none; " + jobName(j)
                                  + (multiMode ? " does not" : " does"));
        }
        for (const Mode& mode : job.modes) {
            if (mode.demands.size() != instance.availability.size()
                || mode.nonrenewable.size() != instance.nonrenewable.size()) {
                throw FormatError(fileName, jobLines[j],
                                  "a mode of " + jobName(j)
                                      + " needs one demand for every resource");
            }
        }
    }
    if (!multiMode && !instance.nonrenewable.empty()) {
        throw FormatError(fileName, 0, "nonrenewable resources need the jobs' \"modes\"");
    }
}

void checkDemandCounts(const Instance& instance, const std::vector<int>& jobLines,
                       const std::string& fileName) {
    checkModes(instance, jobLines, fileName);
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        if (instance.jobs[j].demands.size() != instance.availability.size()) {
            throw FormatError(fileName, jobLines[j],
                              jobName(j) + " has " + std::to_string(instance.jobs[j].demands.size())
                                  + " demands for " + std::to_string(instance.resourceCount())
                                  + " resources");
        }
    }
}

} // namespace

Instance readJson(std::string_view bytes, const std::string& fileName) {
    JsonCursor json(bytes, fileName);
    Instance instance;
    std::vector<int> jobLines;
    bool tagged = false, versioned = false, sized = false, listed = false;
    json.object("a JSON object", [&](const std::string& key) {
        if (key == "format") {
            tagged = json.string("the format name") == kFormatTag;
            if (!tagged) {
                json.fail("the format must be \"" + std::string(kFormatTag) + "\"");
            }
        } else if (key == "version") {
            versioned = json.number("the version") == kSchemaVersion;
            if (!versioned) {
                json.fail("only version " + std::to_string(kSchemaVersion) + " is known");
            }
        } else if (key == "provenance") {
            readProvenance(json, instance.provenance);
        } else if (key == "availability") {
            instance.availability = numbers(json, "an availability");
            sized = true;
        } else if (key == "nonrenewable") {
            instance.nonrenewable = numbers(json, "a nonrenewable availability");
        } else if (key == "jobs") {
            json.array("the list of jobs", [&] {
                json.peek();
                jobLines.push_back(json.line());
                instance.jobs.push_back(readJob(json, instance.jobs.size()));
            });
            listed = true;
        } else {
            json.fail("unknown key \"" + key + "\"");
        }
    });
    if (!tagged || !versioned || !sized || !listed) {
        json.fail("the instance needs \"format\", \"version\", \"availability\" and \"jobs\"");
    }
    if (!json.atEnd()) {
        json.fail("unexpected text after the instance: " + json.shownHere());
    }
    if (instance.availability.empty()) {
        json.fail("the instance needs at least one resource");
    }
    checkDemandCounts(instance, jobLines, fileName);
    checkInstance(instance, jobLines, fileName);
    return instance;
}

} // namespace tavrin::formats
