// Reads the output of `korvane-ini dump --json` from a file, checks that it
// is one JSON object of the documented shape written in ASCII only, maps
// every string back to bytes (one character, one byte) and prints the
// document as the plain listing. A test compares that with the listing it
// expects from plain `dump`, so the two forms must agree byte for byte.
// With --lint it reads `korvane-ini lint --json` instead, one finding an
// object a line, and prints the findings as plain lint prints them.
// Exit status 1 with a message for anything that does not hold.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "tools/ini_output.h"

namespace {

using Json = nlohmann::json;

struct Invalid : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void require(bool condition, const std::string& what) {
    if (!condition) throw Invalid(what);
}

// Exactly these members, in any order.
void requireMembers(const Json& object, std::initializer_list<const char*> names, const std::string& where) {
    require(object.is_object(), where + " is not an object");
    require(object.size() == names.size(), where + " has other members than expected");
    for (const char* name : names) require(object.contains(name), where + " lacks \"" + name + "\"");
}

// The parser gives UTF-8; each code point must be a single byte's value.
std::string toBytes(const Json& value, const std::string& where) {
    require(value.is_string(), where + " is not a string");
    const std::string utf8 = value.get<std::string>();
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else {
            require((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size(),
                    where + " holds a character above U+00FF");
            const auto trail = static_cast<unsigned char>(utf8[++i]);
            bytes += static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3F));
        }
    }
    return bytes;
}

float toReal(const Json& value, const std::string& where) {
    if (value.is_number()) return static_cast<float>(value.get<double>());
    require(value.is_string(), where + " is neither a number nor a string");
    const std::string text = value.get<std::string>();
    if (text == "inf") return std::numeric_limits<float>::infinity();
    if (text == "-inf") return -std::numeric_limits<float>::infinity();
    require(text == "nan", where + " is the string \"" + text + "\", not inf, -inf or nan");
    return std::numeric_limits<float>::quiet_NaN();
}

// Printable ASCII; line feeds only where lines of JSON end.
void requireAscii(const std::string& raw, bool manyLines) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto byte = static_cast<unsigned char>(raw[i]);
        const bool lineEnd = byte == '\n' && (manyLines || i + 1 == raw.size());
        require(lineEnd || (byte >= 0x20 && byte < 0x7F),
                "byte " + std::to_string(byte) + " at offset " + std::to_string(i) +
                    " is not printable ASCII");
    }
    require(!raw.empty() && raw.back() == '\n', "output does not end with a newline");
}

std::string lintListing(const std::string& raw) {
    if (raw.empty()) return "";
    requireAscii(raw, true);
    std::string out;
    std::size_t start = 0;
    while (start < raw.size()) {
        const std::size_t end = raw.find('\n', start);
        const Json finding = Json::parse(raw.substr(start, end - start));
        start = end + 1;
        requireMembers(finding, {"file", "line", "severity", "kind", "message"}, "a finding");
        require(finding["line"].is_number_integer() && finding["line"].get<int64_t>() >= 1, "a line is not a number");
        const std::string severity = toBytes(finding["severity"], "a severity");
        require(severity == "error" || severity == "warning", "severity " + severity);
        require(!toBytes(finding["kind"], "a kind").empty(), "a kind is empty");
        out += toBytes(finding["file"], "a file") + ":" + std::to_string(finding["line"].get<int64_t>()) + ": " +
               severity + ": " + toBytes(finding["message"], "a message") + "\n";
    }
    return out;
}

std::string listing(const std::string& raw) {
    requireAscii(raw, false);
    const Json document = Json::parse(raw);
    requireMembers(document, {"path", "sections"}, "the document");

    std::string out;
    kvtool::appendPlainHeader(out, toBytes(document["path"], "path").c_str());
    require(document["sections"].is_array(), "sections is not an array");
    for (const Json& section : document["sections"]) {
        requireMembers(section, {"name", "keys"}, "a section");
        const std::string name = toBytes(section["name"], "a section name");
        kvtool::appendPlainSection(out, name.c_str());
        require(section["keys"].is_array(), "keys of [" + name + "] is not an array");
        for (const Json& key : section["keys"]) {
            const std::string where = "a key of [" + name + "]";
            requireMembers(key, {"name", "text", "integer", "real"}, where);
            const std::string keyName = toBytes(key["name"], where);
            const bool hasText = !key["text"].is_null();
            const std::string text = hasText ? toBytes(key["text"], keyName + "'s text") : "";
            const Json& integer = key["integer"];
            require(integer.is_number_integer() &&
                        integer.get<int64_t>() >= std::numeric_limits<int32_t>::min() &&
                        integer.get<int64_t>() <= std::numeric_limits<int32_t>::max(),
                    keyName + "'s integer is not a 32-bit integer");
            kvtool::appendPlainKey(out, keyName.c_str(), hasText ? text.c_str() : nullptr,
                                   static_cast<int32_t>(integer.get<int64_t>()),
                                   toReal(key["real"], keyName + "'s real"));
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool lint = argc == 3 && std::string(argv[1]) == "--lint";
    if (argc != 2 && !lint) {
        std::fprintf(stderr, "usage: ini_json_check [--lint] FILE\n");
        return 2;
    }
    std::ifstream in(argv[argc - 1], std::ios::binary);
    const std::string raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        const std::string out = lint ? lintListing(raw) : listing(raw);
        std::fwrite(out.data(), 1, out.size(), stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ini_json_check: %s\n", error.what());
        return 1;
    }
    return 0;
}
