#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/instance_io.h"
#include "formats/text_reader.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>

namespace tavrin::formats {
namespace {

constexpr std::string_view kFormatTag = "tavrin-instance";
constexpr std::int64_t kSchemaVersion = 1;

// The lines read so far and the line of the last character read that was not whitespace: the
// lexer reads one character past a number, so that is the line of every token.
struct Lines {
    int newlines = 0;
    int token = 1;
};

// Hands the text to the parser, counting its lines.
struct LineCountingIterator {
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    reference operator*() const { return *at; }
    LineCountingIterator& operator++() {
        const char c = *at++;
        lines->newlines += c == '\n' ? 1 : 0;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            lines->token = 1 + lines->newlines;
        }
        return *this;
    }
    bool operator==(const LineCountingIterator& other) const { return at == other.at; }

    const char* at;
    Lines* lines;
};

// What the parser reports: kind is one of { } [ ], k for a key, s for a string, n for a number
// and l for true, false or null; text is a string's content or the token as written.
struct Token {
    char kind;
    int line;
    std::string text;
};

// Collects the parser's tokens with their lines, then walks them in the order the schema reads.
class JsonTokens {
public:
    JsonTokens(std::string_view bytes, const std::string& fileName)
        : m_bytes(bytes), m_fileName(fileName) {
        m_tokens.reserve(bytes.size() / 8); // room for most files, grown for the others
    }

    bool null() { return put('l', "null"); }
    bool boolean(bool value) { return put('l', value ? "true" : "false"); }
    // Only a number written with a minus sign comes here, -0 too.
    bool number_integer(std::int64_t value) {
        return put('n', "-" + std::to_string(0 - static_cast<std::uint64_t>(value)));
    }
    bool number_unsigned(std::uint64_t value) { return put('n', std::to_string(value)); }
    bool number_float(double /*value*/, const std::string& text) { return put('n', text); }
    bool string(std::string& text) { return put('s', std::move(text)); }
    static bool binary(nlohmann::json::binary_t& /*bytes*/) { return false; } // not in a text
    bool key(std::string& text) { return put('k', std::move(text)); }
    bool start_object(std::size_t /*size*/) { return put('{', "{", 1); }
    bool start_array(std::size_t /*size*/) { return put('[', "[", 1); }
    bool end_object() { return put('}', "}", -1); }
    bool end_array() { return put(']', "]", -1); }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::json::exception& error);

    // Faults are named at the line of the last token read.
    [[noreturn]] void fail(const std::string& message) const {
        throw FormatError(m_fileName, m_tokens[m_at - 1].line, message);
    }
    int nextLine() const { return m_tokens[m_at].line; }
    const Token& take(char kind, std::string_view what) {
        if (m_tokens[m_at].kind != kind) {
            throw FormatError(m_fileName, nextLine(),
                              "expected " + std::string(what) + ", found "
                                  + quoteToken(shown(m_tokens[m_at])));
        }
        return m_tokens[m_at++];
    }
    // A whole number in 0..2^31-1, or down to -(2^31-1) when it may be negative.
    std::int32_t number(std::string_view what, bool sign = false) {
        const Token& token = m_tokens[m_at++];
        const bool negative = sign && token.kind == 'n' && token.text.starts_with('-');
        const auto value = parseNumber(std::string_view(shown(token)).substr(negative ? 1 : 0),
                                       what, kLargestValue, m_fileName, token.line);
        return static_cast<std::int32_t>(negative ? -value : value);
    }
    std::string string(std::string_view what) { return take('s', what).text; }
    // Calls member for each key of an object, refusing a key given twice.
    std::vector<std::string> object(std::string_view what,
                                    const std::function<void(const std::string&)>& member) {
        take('{', what);
        std::vector<std::string> keys;
        while (m_tokens[m_at].kind == 'k') {
            const std::string& key = m_tokens[m_at++].text;
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
                fail("the key \"" + key + "\" is given twice");
            }
            keys.push_back(key);
            member(key);
        }
        ++m_at; // the }
        return keys;
    }
    void array(std::string_view what, const std::function<void()>& element) {
        take('[', what);
        while (m_tokens[m_at].kind != ']') {
            element();
        }
        ++m_at;
    }

    Lines lines;

private:
    bool put(char kind, std::string text, int nesting = 0) {
        m_tokens.push_back({kind, lines.token, std::move(text)});
        m_depth += nesting;
        return true;
    }
    static std::string shown(const Token& token) {
        return token.kind == 's' || token.kind == 'k' ? '"' + token.text + '"' : token.text;
    }

    std::string_view m_bytes;
    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
    int m_depth = 0;
    const std::string& m_fileName;
};

// What the parser wanted, in the reader's words, from the context its message names.
std::string_view expectedIn(std::string_view context, bool started) {
    return context.starts_with("object key")         ? "a key"
           : context.starts_with("object separator") ? "\":\""
           : context.starts_with("object")           ? R"("," or "}")"
           : context.starts_with("array")            ? R"("," or "]")"
           : started                                 ? "a value"
                                                     : "a JSON object";
}

bool JsonTokens::parse_error(std::size_t position, const std::string& token,
                             const nlohmann::json::exception& error) {
    // The message names what the parser was reading ("while parsing object key - "), then a
    // malformed token ("invalid string: ...; last read: ...") or the one it did not expect
    // ("unexpected ','"). The token text is only sound for a string or a number; a word that is
    // not JSON is shown from the text, as the start of a literal it is taken for.
    const std::string_view what = error.what();
    const std::string_view context = what.substr(what.find("parsing ") + 8);
    const std::string_view fault = what.substr(what.find(" - ") + 3);
    std::string found = fault.starts_with("unexpected '")
                            ? std::string(fault.substr(12, fault.find('\'', 12) - 12))
                            : token;
    if (fault.starts_with("unexpected end of input")) {
        found.clear();
        lines.token = 1 + lines.newlines;
    } else if (fault.starts_with("invalid literal")) {
        std::size_t first = std::min(position, m_bytes.size()) - 1;
        while (first > 0 && std::isalpha(static_cast<unsigned char>(m_bytes[first - 1])) != 0) {
            --first;
        }
        found = m_bytes.substr(first, 12);
    }
    throw FormatError(m_fileName, lines.token,
                      !m_tokens.empty() && m_depth == 0
                          ? "unexpected text after the instance: " + quoteToken(found)
                      : fault.starts_with("invalid ") && !fault.starts_with("invalid literal")
                          ? std::string(fault.substr(0, fault.find("; last read")))
                          : "expected " + std::string(expectedIn(context, !m_tokens.empty()))
                                + ", found " + quoteToken(found));
}

// Refuses an object whose keys lack one of the needed, naming them all.
void need(JsonTokens& json, const std::vector<std::string>& keys,
          std::initializer_list<std::string_view> needed, const std::string& who) {
    std::string list;
    for (const std::string_view& key : needed) {
        list += list.empty() ? "\"" : &key == std::end(needed) - 1 ? " and \"" : ", \"";
        list += key;
        list += '"';
    }
    if (!std::all_of(needed.begin(), needed.end(), [&](std::string_view key) {
            return std::find(keys.begin(), keys.end(), key) != keys.end();
        })) {
        json.fail(who + " needs " + list);
    }
}

std::vector<std::int32_t> numbers(JsonTokens& json, std::string_view what) {
    std::vector<std::int32_t> values;
    json.array(what, [&] { values.push_back(json.number(what)); });
    return values;
}

Mode readMode(JsonTokens& json, const std::string& name) {
    Mode mode;
    const auto keys = json.object("a mode of " + name, [&](const std::string& key) {
        if (key == "duration") {
            mode.duration = json.number("the duration of " + name);
        } else if (key == "demands") {
            mode.demands = numbers(json, "the demands of " + name);
        } else if (key == "nonrenewable") {
            mode.nonrenewable = numbers(json, "the nonrenewable demands of " + name);
        } else {
            json.fail("unknown key \"" + key + "\" in a mode of " + name);
        }
    });
    need(json, keys, {"duration", "demands", "nonrenewable"}, "a mode of " + name);
    return mode;
}

// A job, with its time lags and modes when it has them.
Job readJob(JsonTokens& json, std::size_t j) {
    Job job;
    const std::string name = jobName(j);
    const auto keys = json.object("the object of " + name, [&](const std::string& key) {
        if (key == "duration") {
            job.duration = json.number("the duration of " + name);
        } else if (key == "demands") {
            job.demands = numbers(json, "the demands of " + name);
        } else if (key == "successors") {
            json.array("the successors of " + name, [&] {
                job.successors.push_back(json.number("a successor of " + name) - 1);
            });
        } else if (key == "lags") {
            json.array("the time lags of " + name,
                       [&] { job.lags.push_back(json.number("a lag of " + name, true)); });
        } else if (key == "modes") {
            json.array("the modes of " + name, [&] { job.modes.push_back(readMode(json, name)); });
            if (job.modes.empty()) {
                json.fail(name + " needs at least one mode");
            }
        } else {
            json.fail("unknown key \"" + key + "\" in " + name);
        }
    });
    need(json, keys, {"duration", "demands", "successors"}, name);
    if (!job.modes.empty()
        && (job.modes[0].duration != job.duration || job.modes[0].demands != job.demands)) {
        json.fail(name + R"(: "duration" and "demands" must repeat the first mode)");
    }
    return job;
}

// Every job has a demand for every resource, and either every job lists its modes or none.
void checkDemands(const Instance& instance, const std::vector<int>& jobLines,
                  const std::string& fileName) {
    const bool multiMode = instance.multiMode();
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        const auto fail = [&](const std::string& message) {
            throw FormatError(fileName, jobLines[j], message);
        };
        if (job.modes.empty() == multiMode) {
            fail("either every job lists its \"modes\" or none; " + jobName(j)
                 + (multiMode ? " does not" : " does"));
        }
        for (const Mode& mode : job.modes) {
            if (mode.demands.size() != instance.availability.size()
                || mode.nonrenewable.size() != instance.nonrenewable.size()) {
                fail("a mode of " + jobName(j) + " needs one demand for every resource");
            }
        }
        if (job.demands.size() != instance.availability.size()) {
            fail(jobName(j) + " has " + std::to_string(job.demands.size()) + " demands for "
                 + std::to_string(instance.resourceCount()) + " resources");
        }
    }
    if (!multiMode && !instance.nonrenewable.empty()) {
        throw FormatError(fileName, 0, "nonrenewable resources need the jobs' \"modes\"");
    }
}

// The top-level keys; false for an unknown one.
bool readTopKey(JsonTokens& json, const std::string& key, Instance& instance,
                std::vector<int>& jobLines) {
    if (key == "format") {
        if (json.string("the format name") != kFormatTag) {
            json.fail("the format must be \"" + std::string(kFormatTag) + "\"");
        }
    } else if (key == "version") {
        if (json.number("the version") != kSchemaVersion) {
            json.fail("only version " + std::to_string(kSchemaVersion) + " is known");
        }
    } else if (key == "provenance") {
        json.object("the provenance object", [&](const std::string& name) {
            instance.provenance.emplace_back(name, json.string("a provenance text"));
        });
    } else if (key == "availability") {
        instance.availability = numbers(json, "an availability");
    } else if (key == "nonrenewable") {
        instance.nonrenewable = numbers(json, "a nonrenewable availability");
    } else if (key == "jobs") {
        json.array("the list of jobs", [&] {
            jobLines.push_back(json.nextLine());
            instance.jobs.push_back(readJob(json, instance.jobs.size()));
        });
    } else {
        return false;
    }
    return true;
}

} // namespace

Instance readJson(std::string_view bytes, const std::string& fileName) {
    JsonTokens json(bytes, fileName);
    nlohmann::json::sax_parse(LineCountingIterator{bytes.data(), &json.lines},
                              LineCountingIterator{bytes.data() + bytes.size(), &json.lines},
                              &json);
    Instance instance;
    std::vector<int> jobLines;
    const auto keys = json.object("a JSON object", [&](const std::string& key) {
        if (!readTopKey(json, key, instance, jobLines)) {
            json.fail("unknown key \"" + key + "\"");
        }
    });
    need(json, keys, {"format", "version", "availability", "jobs"}, "the instance");
    if (instance.availability.empty()) {
        json.fail("the instance needs at least one resource");
    }
    checkDemands(instance, jobLines, fileName);
    checkInstance(instance, jobLines, fileName);
    return instance;
}

} // namespace tavrin::formats
