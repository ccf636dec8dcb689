// korvane-ini: reads a configuration file the way the module does, includes
// and all, through the stand-in host's file manager, and shows what the
// module would see; `lint` checks a flight's start-up file against what the
// module reads. It records no calls.
//
// Exit status: 0 on success, 1 when `get` finds no such section or key or
// `lint` finds only warnings, 2 for bad arguments, a file that cannot be
// read, or a `lint` error.

#include <CLI/CLI.hpp>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/config_document.h"
#include "config/paths.h"
#include "services/services.h"
#include "services/shell_binding.h"
#include "platform/mbcs.h"
#include "tools/ini_host.h"
#include "tools/ini_output.h"
#include "tools/lint.h"

namespace {

const int kExitMissing = 1;
const int kExitUsage = 2;
const int32_t kPathSize = 260;  // the document's path field

const char kDuplicateSection[] = "Deleting duplicate section ";
const char kDuplicateKey[] = "Deleting duplicate key ";

// The trace lines of one reading of the document. They are held back until
// the document is final, so a file read again with more room does not
// report its duplicates twice; the duplicates dropped are counted for
// `stats`.
struct Traces {
    std::vector<std::string> lines;
    int duplicateSections = 0;
    int duplicateKeys = 0;

    static void add(const char* text, void* context) {
        auto* self = static_cast<Traces*>(context);
        if (std::strncmp(text, kDuplicateSection, sizeof kDuplicateSection - 1) == 0)
            ++self->duplicateSections;
        else if (std::strncmp(text, kDuplicateKey, sizeof kDuplicateKey - 1) == 0)
            ++self->duplicateKeys;
        self->lines.emplace_back(text);
    }
    void print() const {
        for (const std::string& line : lines) {
            std::fwrite(line.data(), 1, line.size(), stderr);
            if (line.empty() || line.back() != '\n') std::fputc('\n', stderr);
        }
    }
};

using kvtool::FileRead;
using kvtool::toModulePath;

// The module's view of the host for as long as a document lives: the
// watched file manager and the arena bound as FMG and MEM under the
// module's own name, and the trace sink installed.
class HostBinding {
public:
    HostBinding() {
        state_.log.setMode(kvsim::CallLog::Mode::Off);
        std::strcpy(kv::moduleName, "FLT");
        kv::ownerName = kv::moduleName;
        kv::FMG = &fmg_;
        kv::MEM = &mem_;
        kv::setTraceSink(&Traces::add, &traces);
    }
    ~HostBinding() {
        kv::setTraceSink(nullptr, nullptr);
        kv::FMG = nullptr;
        kv::MEM = nullptr;
        kv::ownerName = nullptr;
    }
    HostBinding(const HostBinding&) = delete;
    HostBinding& operator=(const HostBinding&) = delete;

    // Forgets the files and traces of an earlier reading; its document
    // must be gone, since its memory goes too.
    void restart() {
        fmg_.restart();
        mem_.releaseAll();
        traces = Traces();
    }

    // Files opened since restart, in order, with the bytes read from each;
    // a file included twice is read, and listed, twice.
    const std::vector<FileRead>& filesRead() const { return fmg_.read; }

    // Names the document tried to open and could not: includes, since the
    // top file is known to exist. The document itself says nothing of them.
    const std::vector<std::string>& filesMissing() const { return fmg_.missing; }

    Traces traces;

private:
    kvsim::SimState state_;
    kvtool::WatchedFiles fmg_{state_};
    kvtool::ArenaMemory mem_;
};

struct UsageError {
    std::string message;
};

// The code page names and texts are read in. Without --codepage it follows
// the process locale, as a program started from the same shell would.
void selectCodePage(bool given, int requested) {
    if (given) {
        if (!kv::mbSetCodePage(requested))
            throw UsageError{"unknown code page " + std::to_string(requested) +
                             " (known: 1252 and other single-byte pages, 932, 936, 949, 950, 65001)"};
        return;
    }
    std::setlocale(LC_CTYPE, "");
    kv::mbSetCodePage(kv::portable::codePageFromLocale());
}

int64_t sizeOnDisk(const std::string& modulePath) {
    const std::string found = kvsim::SimFileManager::findFile(modulePath.c_str());
    std::error_code error;
    const auto size = found.empty() ? 0 : std::filesystem::file_size(found, error);
    return error ? 0 : static_cast<int64_t>(size);
}

// Declared in this order so the document gives its memory back while MEM
// is still bound.
struct Loaded {
    std::unique_ptr<HostBinding> host;
    std::unique_ptr<kv::ConfigDocument> document;
    std::vector<FileRead> files;
};

// The document would read a missing file as an empty one; the tool refuses
// it instead, after the same default extension the document applies.
//
// The document sizes its pool from the first file alone and reads each
// include into what room is left, so with no extra room an include reads
// as empty. The module's callers reserve room for the includes they expect;
// the tool cannot know them in advance, so it reads again with room for
// every file the last reading opened until no file comes up short. Each
// round reads at least one more level of includes in full, and the depth
// bound of the document ends the rounds.
void loadDocument(Loaded& loaded, const std::string& file) {
    const std::string modulePath = toModulePath(file);
    if (file.empty() || modulePath.size() >= static_cast<std::size_t>(kPathSize))
        throw UsageError{"file name is empty or longer than " + std::to_string(kPathSize - 1) +
                         " bytes: " + file};
    char resolved[kPathSize];
    kv::buildFilePath(nullptr, modulePath.c_str(), "INI", resolved, kPathSize);
    if (kvsim::SimFileManager::findFile(resolved).empty())
        throw UsageError{"no such file: " + file};

    loaded.host = std::make_unique<HostBinding>();
    int64_t extraBytes = 0;
    for (;;) {
        loaded.document.reset();
        loaded.host->restart();
        loaded.document = std::make_unique<kv::ConfigDocument>(modulePath.c_str(), 0, 0,
                                                               static_cast<int32_t>(extraBytes));
        loaded.files = loaded.host->filesRead();
        bool complete = true;
        int64_t needed = 0;
        for (std::size_t i = 0; i < loaded.files.size(); ++i) {
            const int64_t size = sizeOnDisk(loaded.files[i].name);
            if (loaded.files[i].bytes < size) complete = false;
            // Each include's text and the zero that ends its last line.
            if (i > 0) needed += size + 1;
        }
        if (complete || needed <= extraBytes || needed >= INT32_MAX / 2) break;
        extraBytes = needed;
    }
    if (loaded.files.empty()) throw UsageError{"cannot read " + file};
    loaded.host->traces.print();
    for (const std::string& name : loaded.host->filesMissing())
        std::fprintf(stderr, "korvane-ini: cannot open include %s (taken from the working directory)\n",
                     name.c_str());
}

// Walks the lists through their nodes, leaving each list's current node
// where the document put it.
template <typename T, typename F>
void forEach(const kv::PtrList& list, F visit) {
    for (const kv::PtrListNode* node = list.head; node; node = node->next)
        visit(*static_cast<const T*>(node->data));
}

std::string plainDump(const kv::ConfigDocument& document) {
    std::string out;
    kvtool::appendPlainHeader(out, document.path);
    forEach<kv::ConfigSection>(document.sections, [&](const kv::ConfigSection& section) {
        kvtool::appendPlainSection(out, section.name);
        forEach<kv::ConfigKey>(section.keys, [&](const kv::ConfigKey& key) {
            kvtool::appendPlainKey(out, key.name, key.text, key.integer, key.real);
        });
    });
    return out;
}

std::string jsonDump(const kv::ConfigDocument& document) {
    std::string out = "{\"path\":";
    kvtool::appendJsonString(out, document.path);
    out += ",\"sections\":[";
    const char* sectionSeparator = "";
    forEach<kv::ConfigSection>(document.sections, [&](const kv::ConfigSection& section) {
        out += sectionSeparator;
        sectionSeparator = ",";
        out += "{\"name\":";
        kvtool::appendJsonString(out, section.name);
        out += ",\"keys\":[";
        const char* keySeparator = "";
        forEach<kv::ConfigKey>(section.keys, [&](const kv::ConfigKey& key) {
            out += keySeparator;
            keySeparator = ",";
            out += "{\"name\":";
            kvtool::appendJsonString(out, key.name);
            out += ",\"text\":";
            kvtool::appendJsonString(out, key.text);
            out += ",\"integer\":" + std::to_string(key.integer) + ",\"real\":";
            kvtool::appendJsonReal(out, key.real);
            out += '}';
        });
        out += "]}";
    });
    out += "]}\n";
    return out;
}

void writeOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// Found by the same case-blind name match the document's getters use, so
// `get` reports missing exactly when a getter would fall back to its
// default.
const kv::ConfigKey* findKey(kv::ConfigDocument& document, const char* section, const char* key) {
    if (!document.sections.findByName(section)) return nullptr;
    auto* found = static_cast<kv::ConfigSection*>(document.sections.currentData());
    if (!found->keys.findByName(key)) return nullptr;
    return static_cast<const kv::ConfigKey*>(found->keys.currentData());
}

int runGet(kv::ConfigDocument& document, const std::string& section, const std::string& key,
           const std::string& type) {
    const kv::ConfigKey* found = findKey(document, section.c_str(), key.c_str());
    if (!found) {
        std::fprintf(stderr, "korvane-ini: no key %s in section [%s]\n", key.c_str(), section.c_str());
        return kExitMissing;
    }
    std::string out;
    if (type == "int") {
        out = std::to_string(document.getInt(section.c_str(), key.c_str(), 0));
    } else if (type == "real") {
        out = kvtool::formatReal(document.getFloat(section.c_str(), key.c_str(), 0.0f));
    } else if (type == "bool") {
        out = std::to_string(document.getBool(section.c_str(), key.c_str(), 0));
    } else {
        // getString cuts to the buffer it is given: room for the whole text.
        const int32_t size = static_cast<int32_t>(found->text ? std::strlen(found->text) + 1 : 1);
        std::vector<char> text(static_cast<std::size_t>(size), '\0');
        document.getString(section.c_str(), key.c_str(), "", text.data(), size, kv::kCaseKeep);
        out = text.data();
    }
    writeOut(out + "\n");
    return 0;
}

std::string statsLine(const Loaded& loaded) {
    const kv::ConfigDocument& document = *loaded.document;
    const Traces& traces = loaded.host->traces;
    int keys = 0;
    forEach<kv::ConfigSection>(document.sections,
                               [&](const kv::ConfigSection& section) { keys += section.keys.count; });
    const long bytes = document.pool.base ? static_cast<long>(document.pool.end - document.pool.base) : 0;
    return "files " + std::to_string(loaded.files.size()) + " sections " +
           std::to_string(document.sections.count) + " keys " + std::to_string(keys) +
           " duplicate-sections " + std::to_string(traces.duplicateSections) +
           " duplicate-keys " + std::to_string(traces.duplicateKeys) + " bytes " +
           std::to_string(bytes) + "\n";
}

const char kLintFooter[] =
    "Reports one finding a line, FILE:LINE: error|warning: message, as compilers do;\n"
    "a finding in an included file names that file. FILE is the start-up file as\n"
    "given, an include the flight directory followed by the name its directive writes.\n"
    "\n"
    "Errors (something the flight names cannot be found):\n"
    "  missing-file     a file a setting names is not in the flight directory: the\n"
    "                   HUD and Comm modules (with .DLL added as the module adds it),\n"
    "                   the sound, view, particle, environment, message and speech\n"
    "                   data, the in-flight, loading and chat string tables, the\n"
    "                   loading picture and music, and with --options the control map\n"
    "  include          an include that cannot be opened, that closes a cycle, nests\n"
    "                   too deep, or does not fit the start-up document's room\n"
    "  missing-string   a string id the named string table does not hold\n"
    "Warnings (the module reads something otherwise than written, or never):\n"
    "  unknown-section, unknown-key   a name the module never reads there, with the\n"
    "                   closest name it reads\n"
    "  duplicate-section, duplicate-key   dropped by the reader; the first one wins\n"
    "  value            a boolean that is not TRUE, FALSE or a number; a number with\n"
    "                   trailing text, or none; a composite value short of parts\n"
    "  default-taken    a value the module replaces by its default\n"
    "  order            StartTimeCompression above MaxTimeCompression, a far clip not\n"
    "                   beyond its near clip, MapMinSize above MapMaxSize\n"
    "  choice           a ZBufferDepth other than 16, 24 or 32\n"
    "  format           a format the module refuses or shows as plain text\n"
    "  no-string-table  a string id with no string table named before it\n"
    "  missing-detail-section   (--options) a detail section the player's levels select\n"
    "\n"
    "Exit status: 0 nothing to report, 1 warnings only, 2 any error, or a file or\n"
    "folder that cannot be read.";

int runLint(const kvtool::LintRequest& request, bool json) {
    try {
        const kvtool::LintReport report = kvtool::lintFlight(request);
        writeOut(json ? report.json() : report.plain());
        return report.exitStatus();
    } catch (const kvtool::LintFailure& failure) {
        std::fprintf(stderr, "korvane-ini: %s\n", failure.message.c_str());
        return kExitUsage;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Reads a Korvane configuration file as the flight module does: includes followed\n"
        "depth first, duplicate sections and keys dropped (reported on standard error).\n"
        "A FILE without an extension gets \".INI\"; names match without regard to case.\n"
        "Included names are taken as the module takes them: from the working directory.\n"
        "Exit status: 0 success, 1 section or key missing (get) or warnings only (lint),\n"
        "2 bad arguments, a file that cannot be read, or errors (lint).",
        "korvane-ini"};
    app.require_subcommand(1);

    std::string file;
    int codePage = 0;
    std::vector<CLI::Option*> codePageOptions;
    const auto addCommon = [&](CLI::App* command) {
        command->add_option("FILE", file, "Configuration file")->required();
        codePageOptions.push_back(command->add_option("--codepage", codePage,
                            "Code page of the file: 1252 (or any single-byte page), 932, 936,\n"
                            "949, 950 or 65001 (UTF-8); default from the locale (LC_CTYPE)"));
    };

    CLI::App* dump = app.add_subcommand("dump", "List every section and key after all includes");
    bool json = false;
    addCommon(dump);
    dump->add_flag("--json", json,
                   "One JSON object {\"path\", \"sections\":[{\"name\", \"keys\":[{\"name\", \"text\"\n"
                   "(null when none), \"integer\", \"real\"}]}]}; bytes from 0x80 up as \\u00XX,\n"
                   "non-finite reals as the strings \"inf\", \"-inf\", \"nan\"");

    CLI::App* get = app.add_subcommand("get", "Print one value through the document's typed getters");
    std::string section;
    std::string key;
    std::string type = "text";
    addCommon(get);
    get->add_option("SECTION", section, "Section name")->required();
    get->add_option("KEY", key, "Key name")->required();
    get->add_option("--type", type, "int, real, text or bool (printed as 1 or 0)")
        ->check(CLI::IsMember({"int", "real", "text", "bool"}))
        ->capture_default_str();

    CLI::App* stats = app.add_subcommand("stats", "One line of counts: files, sections, keys, duplicates, bytes");
    stats->footer(
        "files: each file opened, an include once each time it is read; sections and keys:\n"
        "those kept; duplicate-sections and duplicate-keys: those dropped; bytes: the\n"
        "document's text pool in use, every byte read from the files plus one per file.");
    addCommon(stats);

    CLI::App* lint = app.add_subcommand(
        "lint", "Check a flight's start-up file for what the module would do otherwise than written");
    kvtool::LintRequest lintRequest;
    bool lintJson = false;
    lint->add_option("STARTUP_FILE", lintRequest.startupFile, "The flight's start-up file")->required();
    lint->add_option("FLIGHT_DIR", lintRequest.flightDirectory,
                     "The folder the flight is flown from; default: the start-up file's folder");
    lint->add_option("--options", lintRequest.optionsFile,
                     "The player's options file: also check the detail sections its quality levels\n"
                     "select (a networked flight also reads LowDetailOption for terrain detail) and\n"
                     "its control map");
    codePageOptions.push_back(lint->add_option("--codepage", codePage,
                                               "Code page of the files, as for dump; default from the locale"));
    lint->add_flag("--json", lintJson,
                   "One JSON object a line for each finding: {\"file\", \"line\", \"severity\",\n"
                   "\"kind\", \"message\"}; bytes from 0x80 up as \\u00XX, as dump --json writes them");
    lint->footer(kLintFooter);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help exits 0; every other parse failure is a usage error.
        return app.exit(error) == 0 ? 0 : kExitUsage;
    }

    try {
        bool codePageGiven = false;
        for (const CLI::Option* option : codePageOptions) codePageGiven |= option->count() > 0;
        selectCodePage(codePageGiven, codePage);
        if (*lint) return runLint(lintRequest, lintJson);
        Loaded loaded;
        loadDocument(loaded, file);
        kv::ConfigDocument& document = *loaded.document;
        if (*dump) {
            writeOut(json ? jsonDump(document) : plainDump(document));
        } else if (*get) {
            return runGet(document, section, key, type);
        } else {
            writeOut(statsLine(loaded));
        }
    } catch (const UsageError& error) {
        std::fprintf(stderr, "korvane-ini: %s\n", error.message.c_str());
        return kExitUsage;
    }
    return 0;
}
