#include "tools/lint_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "services/services.h"
#include "services/shell_binding.h"
#include "sim/modules/sim_shell.h"

namespace kvtool {

namespace {

// The parser's and the include step's texts, as config/config_document.cpp
// hands them to the trace routine.
const char kDuplicateSection[] = "Deleting duplicate section ";
const char kDuplicateKey[] = "Deleting duplicate key ";
const char kSkippingInclude[] = "Skipping include ";
const char kCycleEnd[] = ", it is already being read...";
const char kDepthEnd[] = ", includes nest too deeply...";

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// What lies between prefix and suffix, or "" when text is not so framed
// (a trace cut at its buffer's end).
std::string between(const std::string& text, const char* prefix, const std::string& suffix) {
    const std::size_t start = std::strlen(prefix);
    if (!startsWith(text, prefix) || !endsWith(text, suffix) || text.size() < start + suffix.size()) return "";
    return text.substr(start, text.size() - start - suffix.size());
}

int64_t sizeOnDisk(const std::string& name) {
    const std::string found = kvsim::SimFileManager::findFile(name.c_str());
    std::error_code error;
    const auto size = found.empty() ? 0 : std::filesystem::file_size(found, error);
    return error ? 0 : static_cast<int64_t>(size);
}

// A carriage return, a line feed, or the pair of them ends a line, as
// every editor counts lines.
std::vector<int64_t> lineStartsOf(const std::string& text) {
    std::vector<int64_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            starts.push_back(static_cast<int64_t>(i + 1));
    }
    return starts;
}

// An include name as a path a person can open: the folder the names are
// taken from, then the name with slashes.
std::string includeDisplay(const std::string& folder, std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    while (name.compare(0, 2, "./") == 0) name.erase(0, 2);
    const bool absolute = !name.empty() && (name[0] == '/' || name.find(':') != std::string::npos);
    if (absolute || folder.empty()) return name;
    return folder + "/" + name;
}

}  // namespace

SourceDocument::SourceDocument(const std::string& moduleName, int32_t extraBytes, std::string displayName,
                               std::string includeFolder) {
    state_.log.setMode(kvsim::CallLog::Mode::Off);
    watched_.keepText = true;
    kv::FileManagerInterface* previousFiles = kv::FMG;
    void* previousContext = nullptr;
    kv::TraceSink previousSink = kv::setTraceSink(&SourceDocument::onTrace, this, &previousContext);
    kv::FMG = &watched_;
    // Built empty first so that the trace sink can look at the pool cursor
    // while the parse runs; the module's constructor parses the same path.
    document_ = std::make_unique<kv::ConfigDocument>(moduleName.c_str(), 0, 1, extraBytes);
    document_->parseFile(document_->path);
    kv::FMG = previousFiles;
    kv::setTraceSink(previousSink, previousContext);

    collectFiles(displayName, includeFolder);
    collectIncludes();
    collectDuplicates();
}

SourceDocument::~SourceDocument() = default;

void SourceDocument::onTrace(const char* text, void* self) {
    auto* source = static_cast<SourceDocument*>(self);
    source->traces_.push_back({text, source->document_ ? source->document_->pool.cursor : nullptr});
}

void SourceDocument::collectFiles(const std::string& displayName, const std::string& includeFolder) {
    for (std::size_t i = 0; i < watched_.read.size(); ++i) {
        const FileRead& read = watched_.read[i];
        SourceFile file;
        file.display = i == 0 ? displayName : includeDisplay(includeFolder, read.name);
        file.start = read.buffer;
        file.bytes = read.bytes;
        file.size = sizeOnDisk(read.name);
        file.lineStarts = lineStartsOf(read.text);
        files_.push_back(std::move(file));
    }
}

void SourceDocument::collectIncludes() {
    std::set<const char*> taken;
    // The first open is the top file itself.
    for (std::size_t i = 1; i < watched_.attempts.size(); ++i) {
        const OpenAttempt& attempt = watched_.attempts[i];
        taken.insert(attempt.name);
        IncludeOutcome outcome;
        outcome.name = attempt.name ? attempt.name : "";
        outcome.directive = locate(attempt.name);
        outcome.file = attempt.file;
        if (attempt.file < 0) {
            outcome.fate = IncludeFate::kNotFound;
        } else {
            const SourceFile& file = files_[static_cast<std::size_t>(attempt.file)];
            if (file.bytes < file.size) outcome.fate = IncludeFate::kReadInPart;
        }
        includes_.push_back(outcome);
    }
    // An include refused before any open says so only in the trace, by its
    // name: its directive is the first one of that name not yet taken.
    for (const Trace& trace : traces_) {
        if (!startsWith(trace.text, kSkippingInclude)) continue;
        IncludeOutcome outcome;
        outcome.fate = endsWith(trace.text, kDepthEnd) ? IncludeFate::kTooDeep : IncludeFate::kCycle;
        outcome.name = between(trace.text, kSkippingInclude, outcome.fate == IncludeFate::kCycle ? kCycleEnd : kDepthEnd);
        const char* directive = directiveNaming(outcome.name, taken);
        taken.insert(directive);
        outcome.directive = locate(directive);
        includes_.push_back(outcome);
    }
}

const char* SourceDocument::directiveNaming(const std::string& name, const std::set<const char*>& taken) const {
    if (name.empty()) return nullptr;
    for (const SourceFile& file : files_) {
        if (!file.start) continue;
        const char* end = file.start + file.bytes;
        for (const char* q = file.start; q + name.size() <= end; ++q) {
            // The parser cut the directive word off with a zero, and a
            // quoted name keeps its opening quote.
            const bool startsName = q == file.start || q[-1] == '\0' ||
                                    (q[-1] == '"' && (q - 1 == file.start || q[-2] == '\0'));
            if (!startsName || std::strcmp(q, name.c_str()) != 0 || taken.count(q)) continue;
            const SourceLocation at = locate(q);
            const char* line = file.start + file.lineStarts[static_cast<std::size_t>(at.line - 1)];
            while (line < q && *line == '\0') ++line;  // a byte-order mark the parser cleared
            if (*line == '#') return q;
        }
    }
    return nullptr;
}

void SourceDocument::collectDuplicates() {
    for (const Trace& trace : traces_) {
        const bool section = startsWith(trace.text, kDuplicateSection);
        if (!section && !startsWith(trace.text, kDuplicateKey)) continue;
        // The cursor stands just past the dropped line's end.
        const char* lineEnd = trace.cursor ? trace.cursor - 1 : nullptr;
        DroppedDuplicate dropped;
        dropped.section = section;
        dropped.dropped = locate(lineEnd);
        if (dropped.dropped.file < 0) continue;
        const std::string suffix = " from " + watched_.read[static_cast<std::size_t>(dropped.dropped.file)].name + "...";
        dropped.name = between(trace.text, section ? kDuplicateSection : kDuplicateKey, suffix);
        kv::ConfigDocument& document = *document_;
        if (section) {
            if (document.sections.findByName(dropped.name.c_str()))
                dropped.kept = locate(static_cast<kv::ConfigSection*>(document.sections.currentData())->name);
        } else if (kv::ConfigSection* owner = sectionBefore(lineEnd)) {
            if (owner->keys.findByName(dropped.name.c_str()))
                dropped.kept = locate(static_cast<kv::ConfigKey*>(owner->keys.currentData())->name);
        }
        duplicates_.push_back(dropped);
    }
}

kv::ConfigSection* SourceDocument::sectionBefore(const char* text) const {
    const int file = locate(text).file;
    kv::ConfigSection* best = nullptr;
    for (kv::PtrListNode* node = document_->sections.head; node; node = node->next) {
        auto* section = static_cast<kv::ConfigSection*>(node->data);
        if (section->name >= text || locate(section->name).file != file) continue;
        if (!best || section->name > best->name) best = section;
    }
    return best;
}

SourceLocation SourceDocument::locate(const char* text) const {
    if (!text) return {};
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const SourceFile& file = files_[i];
        if (!file.start || text < file.start || text > file.start + file.bytes) continue;
        const int64_t offset = text - file.start;
        const auto after = std::upper_bound(file.lineStarts.begin(), file.lineStarts.end(), offset);
        return {static_cast<int>(i), static_cast<int>(after - file.lineStarts.begin())};
    }
    return {};
}

std::string SourceDocument::describe(SourceLocation where) const {
    if (where.file < 0) return "";
    return files_[static_cast<std::size_t>(where.file)].display + ":" + std::to_string(where.line);
}

}  // namespace kvtool
