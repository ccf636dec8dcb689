// A configuration file read exactly as the module reads it (the same
// document, the same room for includes, the same file manager), with what
// the document itself does not keep: the file and line every section and
// key came from, the sections and keys the parser dropped as duplicates,
// and what became of each include.
//
// The document never copies a name or a text: each points into its pool,
// which holds every file's bytes in reading order. A pointer therefore
// tells the file (whose range of the pool holds it) and the line (the line
// ends before it in the bytes as read). What the parser drops, it reports
// to the trace routine while its pool cursor stands just past the dropped
// line, and an include is opened by a pointer to the name in its directive.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config/config_document.h"
#include "tools/ini_host.h"

namespace kvtool {

// A place in the files a document was read from: an index into files()
// and a 1-based line; file -1 for none.
struct SourceLocation {
    int file = -1;
    int line = 0;
};

struct SourceFile {
    std::string display;  // the name findings give the file
    const char* start = nullptr;  // its bytes in the document's pool
    int64_t bytes = 0;  // read
    int64_t size = 0;   // on disk
    std::vector<int64_t> lineStarts;  // offsets at which its lines begin
};

struct DroppedDuplicate {
    bool section = false;
    std::string name;
    SourceLocation dropped;
    SourceLocation kept;  // the section or key that stays in the document
};

enum class IncludeFate {
    kRead,
    kReadInPart,  // the document's room ran out
    kNotFound,
    kCycle,    // the file is already being read
    kTooDeep,  // kv::kMaxIncludeDepth files deep already
};

struct IncludeOutcome {
    std::string name;  // as the directive writes it
    SourceLocation directive;
    IncludeFate fate = IncludeFate::kRead;
    int file = -1;  // index into files() when it was opened
};

class SourceDocument {
public:
    // Reads moduleName (backslash form, relative to the working directory
    // or absolute) with extraBytes of room for includes. Findings name the
    // top file displayName and an include includeFolder followed by the
    // name its directive writes.
    SourceDocument(const std::string& moduleName, int32_t extraBytes, std::string displayName,
                   std::string includeFolder);
    ~SourceDocument();
    SourceDocument(const SourceDocument&) = delete;
    SourceDocument& operator=(const SourceDocument&) = delete;

    // False when the top file could not be read at all.
    bool opened() const { return !files_.empty(); }
    kv::ConfigDocument& document() { return *document_; }
    const std::vector<SourceFile>& files() const { return files_; }
    const std::vector<DroppedDuplicate>& duplicates() const { return duplicates_; }
    const std::vector<IncludeOutcome>& includes() const { return includes_; }

    // Where a pointer into the document's pool came from.
    SourceLocation locate(const char* text) const;
    // "file:line".
    std::string describe(SourceLocation where) const;

private:
    struct Trace {
        std::string text;
        const char* cursor;
    };
    static void onTrace(const char* text, void* self);
    void collectFiles(const std::string& displayName, const std::string& includeFolder);
    void collectIncludes();
    void collectDuplicates();
    // The live section whose header stands last before text in its file.
    kv::ConfigSection* sectionBefore(const char* text) const;
    // The first directive in pool order that names name and is not taken.
    const char* directiveNaming(const std::string& name, const std::set<const char*>& taken) const;

    kvsim::SimState state_;
    WatchedFiles watched_{state_};
    std::unique_ptr<kv::ConfigDocument> document_;
    std::vector<Trace> traces_;
    std::vector<SourceFile> files_;
    std::vector<DroppedDuplicate> duplicates_;
    std::vector<IncludeOutcome> includes_;
};

}  // namespace kvtool
