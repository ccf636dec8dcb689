#include "tools/lint_vocabulary.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config/strings.h"

namespace kvtool {

namespace {

bool sameName(const char* a, const char* b) { return kv::strEqual(a, b, 0); }

void addOnce(std::vector<std::string>& names, const char* name) {
    for (const std::string& known : names)
        if (sameName(known.c_str(), name)) return;
    names.emplace_back(name);
}

// The start view's key is a format of the player's cockpit view: a name
// is one of its keys when some number formats to it.
bool formattedKeyMatches(const char* format, const char* name) {
    const char* percent = std::strchr(format, '%');
    const std::size_t prefix = percent ? static_cast<std::size_t>(percent - format) : std::strlen(format);
    if (std::strlen(name) <= prefix) return false;
    char* end = nullptr;
    const long number = std::strtol(name + prefix, &end, 10);
    if (*end != '\0' || number < INT32_MIN || number > INT32_MAX) return false;
    char key[64];
    std::snprintf(key, sizeof key, format, static_cast<int>(number));
    return sameName(key, name);
}

bool rowReadsKey(const kv::StartupRow& row, const char* key) {
    if (row.step == kv::StartupStep::kStartView) return formattedKeyMatches(row.key, key);
    return sameName(row.key, key);
}

// How the vocabulary spells a row's key; the start view's for view 0.
std::string spelling(const kv::StartupRow& row) {
    if (row.step != kv::StartupStep::kStartView) return row.key;
    char key[64];
    std::snprintf(key, sizeof key, row.key, 0);
    return key;
}

std::string lowerCase(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Edits (insert, delete, change, swap two neighbours) from a to b.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

const std::vector<const kv::StartupRow*>& keyRows() {
    static const std::vector<const kv::StartupRow*> rows = [] {
        std::vector<const kv::StartupRow*> all;
        for (int32_t i = 0; i < kv::kStartupRowCount; ++i)
            if (kv::kStartupRows[i].key) all.push_back(&kv::kStartupRows[i]);
        for (const kv::StartupRow& row : kv::kLoadingScreenRows) all.push_back(&row);
        return all;
    }();
    return rows;
}

bool rowInSection(const kv::StartupRow& row, const char* section) {
    if (row.section) return sameName(row.section, section);
    if (!row.detailLevel) return false;
    for (const char* detail : kv::kDetailSections)
        if (sameName(detail, section)) return true;
    return false;
}

std::vector<std::string> knownSections() {
    std::vector<std::string> sections;
    for (int32_t i = 0; i < kv::kStartupRowCount; ++i) {
        const kv::StartupRow& row = kv::kStartupRows[i];
        if (row.section) addOnce(sections, row.section);
        if (row.detailLevel)
            for (const char* detail : kv::kDetailSections) addOnce(sections, detail);
    }
    return sections;
}

bool sectionKnown(const char* section) {
    for (const std::string& known : knownSections())
        if (sameName(known.c_str(), section)) return true;
    return false;
}

std::vector<const kv::StartupRow*> rowsReading(const char* section, const char* key) {
    std::vector<const kv::StartupRow*> rows;
    for (const kv::StartupRow* row : keyRows())
        if (rowInSection(*row, section) && rowReadsKey(*row, key)) rows.push_back(row);
    return rows;
}

std::vector<std::string> sectionsReading(const char* key) {
    std::vector<std::string> sections;
    for (const std::string& section : knownSections())
        if (!rowsReading(section.c_str(), key).empty()) sections.push_back(section);
    return sections;
}

std::vector<std::string> knownKeys(const char* section) {
    std::vector<std::string> keys;
    for (const kv::StartupRow* row : keyRows())
        if (rowInSection(*row, section)) addOnce(keys, spelling(*row).c_str());
    return keys;
}

std::string closestName(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string wanted = lowerCase(name);
    std::string best;
    std::size_t bestDistance = 0;
    for (const std::string& candidate : candidates) {
        const std::string known = lowerCase(candidate);
        const std::size_t distance = editDistance(wanted, known);
        const std::size_t shorter = std::min(wanted.size(), known.size());
        // A third of the letters may differ; a name of four letters or more
        // that starts the other was cut short or run on.
        const bool near = distance * 3 <= known.size() ||
                          (shorter >= 4 && wanted.compare(0, shorter, known, 0, shorter) == 0);
        if (near && (best.empty() || distance < bestDistance)) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace kvtool
