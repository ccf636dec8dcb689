// What values name: files in the flight directory, string tables and
// their strings, and formats. Each is looked for as the module and the
// file manager look for it: from the flight directory, without regard to
// case, a module path resolved by the module's own path code; a string is
// looked up by the stand-in text service, which reads string tables as a
// flight's text service does.
#include <string>

#include "config/paths.h"
#include "config/printf_format.h"
#include "config/strings.h"
#include "sim/modules/sim_shell.h"
#include "tools/lint_checks.h"

namespace kvtool {

namespace {

const int32_t kPathSize = 260;

std::string conversionName(kv::FormatArgument kind) {
    switch (kind) {
        case kv::FormatArgument::Integer: return "integer conversion";
        case kv::FormatArgument::Real: return "real conversion";
        case kv::FormatArgument::Text: return "%s";
    }
    return "";
}

// "at most one integer conversion", "no conversion", ...
std::string ruleText(const kv::FormatRule& rule) {
    if (rule.maxConversions == 0) return "no conversion";
    const std::string what = conversionName(rule.kind);
    if (rule.minConversions == rule.maxConversions) return "exactly one " + what;
    return "at most one " + what;
}

bool holdsConversion(const char* text) {
    for (const char* p = text; p && *p; ++p) {
        if (*p != '%') continue;
        if (p[1] != '%') return true;
        ++p;
    }
    return false;
}

// The module's text of a key: what getStringCopy keeps, null for none.
const char* valueOf(kv::ConfigKey* key) { return key && !kv::strIsEmpty(key->text) ? key->text : nullptr; }

struct TableWalk {
    LintContext& lint;
    kv::ConfigDocument& document;
    // The string table named last in this table's reading order, and
    // whether the text service can read it.
    const char* table = nullptr;
    bool tableFound = false;
};

// path relative to the flight directory where it lies inside it.
std::string shownPath(const std::string& flightDirectory, const char* path) {
    const std::string full = path;
    const std::string prefix = flightDirectory + "\\";
    if (full.compare(0, prefix.size(), prefix) == 0) return full.substr(prefix.size());
    return full;
}

void checkFile(TableWalk& walk, const kv::StartupRow& row, kv::ConfigKey* key, const char* value) {
    LintContext& lint = walk.lint;
    if (row.step == kv::StartupStep::kModulePath) {
        char path[kPathSize];
        kv::buildFilePath(lint.flightDirectory.c_str(), value, "DLL", path, sizeof path);
        if (!kvsim::SimFileManager::findFile(path).empty()) return;
        lint.add(lint.startup, key->name, Severity::kError, "missing-file",
                 std::string(row.key) + " names " + quoted(value) + ", and " +
                     shownPath(lint.flightDirectory, path) + " is not in the flight directory");
        return;
    }
    if (!kvsim::SimFileManager::findFile(value).empty()) return;
    lint.add(lint.startup, key->name, Severity::kError, "missing-file",
             std::string(row.key) + " names " + quoted(value) + ", which is not in the flight directory");
}

// A format that is the value itself: the screenshot names and the loading
// picture.
void checkValueFormat(TableWalk& walk, const kv::StartupRow& row, kv::ConfigKey* key, const char* value) {
    const kv::FormatRule& rule = *row.format;
    LintContext& lint = walk.lint;
    const std::string head = std::string(row.key) + " " + quoted(value);
    if (rule.minConversions >= 1) {
        // A name without the one number the rule wants is used as it stands.
        if (holdsConversion(value) && !kv::formatAccepts(value, rule))
            lint.add(lint.startup, key->name, Severity::kWarning, "format",
                     head + " is not a numbered name the module formats (" + ruleText(rule) +
                         "); it is taken as a plain file name");
        return;
    }
    const bool screenshot = row.step == kv::StartupStep::kScreenshotFormat;
    if (!kv::formatAccepts(value, rule)) {
        lint.add(lint.startup, key->name, Severity::kWarning, "format",
                 head + " is a format the module refuses (" + ruleText(rule) + ")" +
                     (screenshot ? "; no screenshot is written" : ""));
    } else if (screenshot && !holdsConversion(value)) {
        lint.add(lint.startup, key->name, Severity::kWarning, "format",
                 head + " holds no number: every screenshot takes the same name, so only the first is written");
    }
}

void checkString(TableWalk& walk, const kv::StartupRow& row, kv::ConfigKey* key, const char* value) {
    LintContext& lint = walk.lint;
    if (!walk.table) {
        lint.add(lint.startup, key->name, Severity::kWarning, "no-string-table",
                 std::string(row.key) + " is not looked up: no string table is named before it");
        return;
    }
    if (!walk.tableFound) return;  // the missing table has its own finding
    const int32_t id = lint.text.txtGetStringId(walk.table, value);
    if (id < 0) {
        lint.add(lint.startup, key->name, Severity::kError, "missing-string",
                 std::string(row.key) + " names the string " + quoted(value) + ", which " + walk.table +
                     " does not hold");
        return;
    }
    // A text whose message passes no argument is shown as it is written
    // whether the module takes it as a format or not; one that refuses the
    // argument loses the number or text the message passes.
    const char* text = lint.text.txtGetString(walk.table, id);
    if (row.format && row.format->maxConversions > 0 && text && !kv::formatAccepts(text, *row.format))
        lint.add(lint.startup, key->name, Severity::kWarning, "format",
                 std::string(row.key) + " names the string " + quoted(value) + ", whose text " + quoted(text) +
                     " the module shows as plain text (" + ruleText(*row.format) + ")");
}

void checkRow(TableWalk& walk, const kv::StartupRow& row) {
    if (row.names == kv::StartupName::kNothing && !row.format) return;
    kv::ConfigKey* key = findKey(walk.document, row.section, row.key);
    const char* value = valueOf(key);
    if (row.names == kv::StartupName::kStringTable) {
        walk.table = value;
        walk.tableFound = value && !kvsim::SimFileManager::findFile(value).empty();
        if (value) walk.lint.text.txtLoadTextFile(value);
    }
    if (!value) return;
    switch (row.names) {
        case kv::StartupName::kFile:
        case kv::StartupName::kStringTable: checkFile(walk, row, key, value); break;
        case kv::StartupName::kStringId: checkString(walk, row, key, value); break;
        case kv::StartupName::kNothing: break;
    }
    if (row.format && row.names != kv::StartupName::kStringId) checkValueFormat(walk, row, key, value);
}

}  // namespace

void checkReferences(LintContext& context) {
    kv::ConfigDocument& document = context.startup.document();
    // Each table in its own reading order: a string row looks its string up
    // in the string table its own table named last.
    TableWalk startup{context, document};
    for (int32_t i = 0; i < kv::kStartupRowCount; ++i)
        if (!kv::kStartupRows[i].detailLevel) checkRow(startup, kv::kStartupRows[i]);
    TableWalk screen{context, document};
    for (const kv::StartupRow& row : kv::kLoadingScreenRows) checkRow(screen, row);
}

}  // namespace kvtool
