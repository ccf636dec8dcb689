// Names the module never reads, duplicates the parser drops, and includes
// it cannot read.
#include <string>
#include <vector>

#include "config/strings.h"
#include "tools/lint_checks.h"
#include "tools/lint_vocabulary.h"

namespace kvtool {

namespace {

std::string sectionList(const std::vector<std::string>& sections) {
    std::string list;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i > 0) list += i + 1 == sections.size() ? " and " : ", ";
        list += "[" + sections[i] + "]";
    }
    return list;
}

void checkKey(LintContext& context, const kv::ConfigSection& section, const kv::ConfigKey& key) {
    if (!rowsReading(section.name, key.name).empty()) return;
    std::string message;
    if (kv::strIsEmpty(key.name)) {
        message = "a key without a name is never read";
    } else {
        message = std::string("the module never reads ") + key.name + " in [" + section.name + "]";
        const std::vector<std::string> elsewhere = sectionsReading(key.name);
        const std::string nearest = closestName(key.name, knownKeys(section.name));
        if (!elsewhere.empty())
            message += "; it reads it in " + sectionList(elsewhere);
        else if (!nearest.empty())
            message += "; did you mean " + nearest + "?";
    }
    context.add(context.startup, key.name, Severity::kWarning, "unknown-key", message);
}

}  // namespace

void checkNames(LintContext& context) {
    kv::ConfigDocument& document = context.startup.document();
    for (kv::PtrListNode* node = document.sections.head; node; node = node->next) {
        const auto& section = *static_cast<const kv::ConfigSection*>(node->data);
        if (!sectionKnown(section.name)) {
            // Its keys are not read either; one finding says so.
            std::string message = std::string("the module never reads section [") + section.name + "]";
            const std::string nearest = closestName(section.name, knownSections());
            if (!nearest.empty()) message += "; did you mean [" + nearest + "]?";
            context.add(context.startup, section.name, Severity::kWarning, "unknown-section", message);
            continue;
        }
        for (kv::PtrListNode* k = section.keys.head; k; k = k->next)
            checkKey(context, section, *static_cast<const kv::ConfigKey*>(k->data));
    }
}

void checkStructure(LintContext& context) {
    SourceDocument& source = context.startup;
    for (const DroppedDuplicate& duplicate : source.duplicates()) {
        std::string message = duplicate.section ? "duplicate section [" + duplicate.name + "] is dropped"
                                                : "duplicate key " + duplicate.name + " is dropped";
        if (duplicate.kept.file == duplicate.dropped.file)
            message += "; the one at line " + std::to_string(duplicate.kept.line) + " wins";
        else if (duplicate.kept.file >= 0)
            message += "; the one at " + source.describe(duplicate.kept) + " wins";
        context.addAt(source, duplicate.dropped, Severity::kWarning,
                      duplicate.section ? "duplicate-section" : "duplicate-key", message);
    }
    for (const IncludeOutcome& include : source.includes()) {
        std::string message = "include " + quoted(include.name.c_str());
        switch (include.fate) {
            case IncludeFate::kRead: continue;
            case IncludeFate::kReadInPart: {
                const SourceFile& file = source.files()[static_cast<std::size_t>(include.file)];
                message += " is cut after " + std::to_string(file.bytes) + " of its " + std::to_string(file.size) +
                           " bytes: a start-up file's includes share " + std::to_string(kv::kStartupExtraBytes) +
                           " bytes";
                break;
            }
            case IncludeFate::kNotFound: message += " cannot be opened: the flight directory does not hold it"; break;
            case IncludeFate::kCycle: message += " closes a cycle: the file is already being read"; break;
            case IncludeFate::kTooDeep:
                message += " nests more than " + std::to_string(kv::kMaxIncludeDepth) + " files deep";
                break;
        }
        context.addAt(source, include.directive, Severity::kError, "include", message);
    }
}

}  // namespace kvtool
