#include <algorithm>
#include <fstream>
#include <iterator>

#include "config/config_document.h"
#include "sim/scenario/scenario_file_parts.h"
#include "sim/modules/sim_shell.h"

namespace kvsim {
namespace scenario_detail {

bool fail(ScenarioError& error, const std::string& file, int line, const std::string& key,
          const std::string& message) {
    error.file = file;
    error.line = line;
    error.key = key;
    error.message = message;
    return false;
}

std::string sectionLabel(const std::string& section) { return "[" + section + "]"; }
std::string keyLabel(const std::string& section, const std::string& key) {
    return sectionLabel(section) + " " + key;
}

// A file name of this system in the form the module's file manager takes.
std::string toModulePath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool readWhole(const std::string& name, std::string& text) {
    const std::string found = SimFileManager::findFile(toModulePath(name).c_str());
    if (found.empty()) return false;
    std::ifstream in(found, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Lines of text with their numbers: CR, LF and CR LF each end one line.
std::vector<std::pair<int, std::string>> lines(const std::string& text) {
    std::vector<std::pair<int, std::string>> out;
    int number = 1;
    std::string::size_type at = 0;
    while (at < text.size()) {
        auto end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        out.emplace_back(number, text.substr(at, end - at));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        at = end + 1;
        ++number;
    }
    return out;
}

bool scanFile(const std::string& name, const std::string& from, int fromLine, Layout& layout,
              ScenarioError& error) {
    for (const std::string& open : layout.stack) {
        if (sameName(open, name)) return fail(error, from, fromLine, "", "#include " + name + " closes a cycle of includes");
    }
    if (layout.stack.size() >= static_cast<std::size_t>(kv::kMaxIncludeDepth))
        return fail(error, from, fromLine, "", "includes are nested too deeply");
    std::string text;
    if (!readWhole(name, text)) {
        if (layout.stack.empty()) return fail(error, name, 0, "", "cannot read the file");
        return fail(error, from, fromLine, "", "cannot read the included file " + name);
    }
    if (!layout.stack.empty()) layout.includeBytes += static_cast<long long>(text.size()) + 1;
    if (text.find('\0') != std::string::npos) return fail(error, name, 0, "", "the file holds a zero byte");
    layout.stack.push_back(name);
    layout.seen.push_back(name);

    std::vector<std::pair<int, std::string>> includes;
    std::string section;
    bool inSection = false;
    bool afterDirective = false;
    for (const auto& [number, raw] : lines(text)) {
        const std::string line = trim(raw);
        if (line.empty()) continue;
        if (line[0] == '[') {
            section = line.substr(1);
            if (!section.empty() && section.back() == ']') section.pop_back();
            for (const Place& p : layout.places) {
                if (p.key.empty() && sameName(p.section, section))
                    return fail(error, name, number, sectionLabel(section),
                                "section written twice (first at " + p.file + ":" + std::to_string(p.line) + ")");
            }
            layout.places.push_back({name, number, section, ""});
            inSection = true;
            afterDirective = false;
            continue;
        }
        if (line[0] == '#') {
            const auto space = line.find(' ');
            if (space != std::string::npos && sameName(line.substr(1, space - 1), "include")) {
                std::string argument = line.substr(space + 1);
                std::string file;
                if (!argument.empty() && argument[0] == '"') {
                    file = argument.substr(1, argument.find('"', 1) - 1);
                } else {
                    file = argument.substr(0, argument.find(' '));
                }
                includes.emplace_back(number, file);
            }
            afterDirective = inSection;
            continue;
        }
        if (line[0] == ';') continue;
        const std::string where = inSection ? sectionLabel(section) : "";
        if (!inSection) return fail(error, name, number, "", "a line outside any section");
        if (afterDirective)
            return fail(error, name, number, where,
                        "a \"#\" line inside a section ends its keys, so this line would be ignored; "
                        "write comments with \";\"");
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return fail(error, name, number, where, "neither a key (Name=Value), a comment nor a section");
        const std::string key = trim(line.substr(0, equals));
        if (key.empty()) return fail(error, name, number, where, "a key without a name");
        for (const Place& p : layout.places) {
            if (!p.key.empty() && sameName(p.section, section) && sameName(p.key, key))
                return fail(error, name, number, keyLabel(section, key),
                            "key written twice (first at " + p.file + ":" + std::to_string(p.line) + ")");
        }
        layout.places.push_back({name, number, section, key});
    }
    for (const auto& [number, file] : includes) {
        if (!scanFile(file, name, number, layout, error)) return false;
    }
    layout.stack.pop_back();
    return true;
}

const Place* placeOf(const Layout& layout, const std::string& section, const std::string& key) {
    for (const Place& p : layout.places) {
        if (sameName(p.section, section) && sameName(p.key, key)) return &p;
    }
    return nullptr;
}

}  // namespace scenario_detail
}  // namespace kvsim
