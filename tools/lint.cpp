#include "tools/lint.h"

#include <cstring>
#include <filesystem>
#include <optional>

#include "config/paths.h"
#include "config/strings.h"
#include "engine/flight_module.h"
#include "platform/workdir.h"
#include "services/shell_binding.h"
#include "sim/modules/sim_shell.h"
#include "sim/modules/sim_text.h"
#include "tools/ini_host.h"
#include "tools/lint_checks.h"

namespace fs = std::filesystem;

namespace kvtool {

namespace {

const int32_t kPathSize = 260;
// Room the stand-in options module gives its document for includes.
const int32_t kOptionsExtraBytes = 256 * 1024;

// The options module's side of a player-options read: it lends the
// document the linter read.
class LentOptions : public kv::OptionsInterface {
public:
    void optReloadOptions() override {}
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** slot) override {
        if (slot) *slot = document;
        return document;
    }
    void optReleaseDocument(kv::ConfigDocument** slot) override {
        if (slot) *slot = nullptr;
    }
    kv::ConfigDocument* document = nullptr;
};

// A shell that offers the options module and nothing else.
class OptionsShell : public kv::ApplicationShell {
public:
    int32_t RegisterModule(kv::ModuleTag, void*, int32_t) override { return 0; }
    int32_t UnregisterModule(kv::ModuleTag) override { return 0; }
    int32_t GetInterface(kv::ModuleTag tag, void** slot) override {
        if (!slot) return 0;
        *slot = tag && std::strcmp(tag, "OPT") == 0 ? static_cast<kv::OptionsInterface*>(&options) : nullptr;
        return *slot != nullptr;
    }
    int32_t ReleaseInterface(kv::ModuleTag, void**) override { return 1; }
    LentOptions options;
};

// What the module's code reaches through module-wide pointers while the
// linter runs it: the allocator, the shell and the owner name. The
// previous bindings come back at the end.
class ModuleBinding {
public:
    ModuleBinding(kv::MemoryInterface* memory, kv::ApplicationShell* shell)
        : memory_(kv::MEM), shell_(kv::shell), owner_(kv::ownerName) {
        std::memcpy(name_, kv::moduleName, sizeof name_);
        std::strcpy(kv::moduleName, "FLT");
        kv::ownerName = kv::moduleName;
        kv::MEM = memory;
        kv::shell = shell;
    }
    ~ModuleBinding() {
        kv::MEM = memory_;
        kv::shell = shell_;
        kv::ownerName = owner_;
        std::memcpy(kv::moduleName, name_, sizeof name_);
    }
    ModuleBinding(const ModuleBinding&) = delete;
    ModuleBinding& operator=(const ModuleBinding&) = delete;

private:
    kv::MemoryInterface* memory_;
    kv::ApplicationShell* shell_;
    const char* owner_;
    char name_[sizeof kv::moduleName];
};

// The flight directory is the working directory while the linter runs, as
// it is while a flight runs; the caller's comes back at the end.
class FlightDirectory {
public:
    explicit FlightDirectory(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
    ~FlightDirectory() {
        std::error_code error;
        fs::current_path(previous_, error);
    }
    FlightDirectory(const FlightDirectory&) = delete;
    FlightDirectory& operator=(const FlightDirectory&) = delete;

private:
    fs::path previous_;
};

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// The document adds ".INI" to a name without an extension; so do findings.
std::string displayName(const std::string& file) {
    return fs::path(file).has_extension() ? file : file + ".INI";
}

bool exists(const std::string& modulePath) {
    char resolved[kPathSize];
    kv::buildFilePath(nullptr, modulePath.c_str(), "INI", resolved, sizeof resolved);
    return !kvsim::SimFileManager::findFile(resolved).empty();
}

}  // namespace

Finding& LintContext::addAt(const SourceDocument& source, SourceLocation where, Severity severity, const char* kind,
                            std::string message) {
    if (where.file < 0) where = {0, 1};
    Finding finding;
    finding.file = source.files()[static_cast<std::size_t>(where.file)].display;
    finding.line = where.line;
    // The options file's findings come after the start-up file's.
    finding.fileOrder = (&source == &startup ? 0 : 1 << 20) + where.file;
    finding.severity = severity;
    finding.kind = kind;
    finding.message = std::move(message);
    return report.add(std::move(finding));
}

LintReport lintFlight(const LintRequest& request) {
    const fs::path startupFile(request.startupFile);
    const std::string folder = withoutTrailingSlash(
        request.flightDirectory.empty() ? startupFile.parent_path().generic_string() : request.flightDirectory);
    const fs::path flightFolder = folder.empty() ? fs::path(".") : fs::path(folder);
    std::error_code error;
    if (!fs::is_directory(flightFolder, error)) throw LintFailure{"no such flight directory: " + folder};
    // Named from the caller's folder; read from the flight directory.
    const fs::path startupPath = fs::absolute(startupFile, error);
    const fs::path optionsPath = request.optionsFile.empty() ? fs::path() : fs::absolute(request.optionsFile, error);

    FlightDirectory enter(flightFolder);
    char flightDirectory[kPathSize] = {};
    kv::getWorkingDir(flightDirectory, sizeof flightDirectory);
    // As the host flies it: the start-up file's own name from its folder.
    const std::string startupName =
        request.flightDirectory.empty() ? startupFile.filename().string() : toModulePath(startupPath.string());
    if (request.startupFile.empty() || !exists(startupName)) throw LintFailure{"no such file: " + request.startupFile};
    const std::string optionsName = toModulePath(optionsPath.string());
    if (!request.optionsFile.empty() && !exists(optionsName))
        throw LintFailure{"no such file: " + request.optionsFile};

    ArenaMemory memory;
    OptionsShell shell;
    ModuleBinding binding(&memory, &shell);
    SourceDocument startup(startupName, kv::kStartupExtraBytes, displayName(request.startupFile), folder);
    if (!startup.opened()) throw LintFailure{"cannot read " + request.startupFile};
    std::optional<SourceDocument> options;
    std::optional<kv::FlightModule> player;
    if (!request.optionsFile.empty()) {
        options.emplace(optionsName, kOptionsExtraBytes, request.optionsFile, folder);
        if (!options->opened()) throw LintFailure{"cannot read " + request.optionsFile};
        // The module's own reading of the player's options, in a flight
        // that is not networked.
        shell.options.document = &options->document();
        player.emplace();
        player->readPlayerOptions();
    }

    kvsim::SimState textState;
    textState.log.setMode(kvsim::CallLog::Mode::Off);
    kvsim::SimText text(textState);
    LintReport report;
    LintContext context{startup, options ? &*options : nullptr, player ? &*player : nullptr,
                        flightDirectory, text, report};
    checkStructure(context);
    checkNames(context);
    checkValues(context);
    checkReferences(context);
    checkPlayerOptions(context);
    if (player) kv::strFree(&player->controlMap);
    report.sort();
    return report;
}

kv::ConfigKey* findKey(kv::ConfigDocument& document, const char* section, const char* key) {
    if (!document.sections.findByName(section)) return nullptr;
    auto* found = static_cast<kv::ConfigSection*>(document.sections.currentData());
    if (!found->keys.findByName(key)) return nullptr;
    return static_cast<kv::ConfigKey*>(found->keys.currentData());
}

std::string quoted(const char* text) { return std::string("\"") + (text ? text : "") + "\""; }

}  // namespace kvtool
