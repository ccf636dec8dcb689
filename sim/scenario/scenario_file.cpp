#include "sim/scenario/scenario_file.h"

#include <algorithm>
#include <filesystem>

#include "config/config_document.h"
#include "services/shell_binding.h"
#include "sim/scenario/scenario_file_parts.h"
#include "sim/modules/sim_shell.h"

namespace fs = std::filesystem;

namespace kvsim {

using namespace scenario_detail;

namespace {

// The configuration library reads through the module's file manager and
// memory service; while a scenario is read they are a stand-in file
// manager and memory service of the reader's own, and whatever was bound
// before comes back afterwards.
// The layout scan has already refused everything the library would report
// through TraceMessage (repeats, includes it cannot open or that loop).
class ReaderBinding {
public:
    ReaderBinding() : fmg_(state_), mem_(state_) {
        savedFmg_ = kv::FMG;
        savedMem_ = kv::MEM;
        kv::FMG = &fmg_;
        kv::MEM = &mem_;
    }
    ~ReaderBinding() {
        kv::FMG = savedFmg_;
        kv::MEM = savedMem_;
    }
    ReaderBinding(const ReaderBinding&) = delete;
    ReaderBinding& operator=(const ReaderBinding&) = delete;

private:
    SimState state_;
    SimFileManager fmg_;
    SimMemory mem_;
    kv::FileManagerInterface* savedFmg_ = nullptr;
    kv::MemoryInterface* savedMem_ = nullptr;
};

// Includes name files relative to the working directory, as the module's
// own documents do; the reader makes that the scenario file's folder.
class FolderScope {
public:
    explicit FolderScope(const fs::path& folder) {
        std::error_code ignored;
        saved_ = fs::current_path(ignored);
        if (folder.empty()) return;
        fs::current_path(folder, error_);
        entered_ = !error_;
    }
    ~FolderScope() {
        std::error_code ignored;
        if (entered_) fs::current_path(saved_, ignored);
    }
    bool failed() const { return static_cast<bool>(error_); }
    FolderScope(const FolderScope&) = delete;
    FolderScope& operator=(const FolderScope&) = delete;

private:
    fs::path saved_;
    std::error_code error_;
    bool entered_ = false;
};

template <typename T, typename F>
void forEach(const kv::PtrList& list, F visit) {
    for (const kv::PtrListNode* node = list.head; node; node = node->next) visit(*static_cast<const T*>(node->data));
}

bool applyDocument(kv::ConfigDocument& document, const Layout& layout, Scenario& scenario,
                   ScenarioError& error) {
    bool ok = true;
    forEach<kv::ConfigSection>(document.sections, [&](const kv::ConfigSection& section) {
        if (!ok) return;
        const std::string sectionName = section.name;
        const Place* header = placeOf(layout, sectionName, "");
        const std::string headerFile = header ? header->file : layout.seen.front();
        const int headerLine = header ? header->line : 0;
        if (!knownSection(sectionName)) {
            ok = fail(error, headerFile, headerLine, sectionLabel(sectionName),
                      "unknown section (known: " + knownSections() + ")");
            return;
        }
        forEach<kv::ConfigKey>(section.keys, [&](const kv::ConfigKey& record) {
            if (!ok) return;
            const std::string keyName = record.name;
            const Place* place = placeOf(layout, sectionName, keyName);
            const std::string file = place ? place->file : headerFile;
            const int line = place ? place->line : headerLine;
            const ScenarioKey* known = findKey(sectionName, keyName);
            if (!known) {
                ok = fail(error, file, line, keyLabel(sectionName, keyName), "unknown key");
                return;
            }
            std::string problem;
            if (!known->apply(scenario, keyName, record.text ? record.text : "", problem))
                ok = fail(error, file, line, keyLabel(sectionName, keyName), problem);
        });
    });
    return ok;
}

// Names in the ready and join lists must be players, or a misspelt name
// would wait for a player who never comes.
bool checkPlayerNames(const Scenario& scenario, const Layout& layout, ScenarioError& error) {
    const std::pair<const char*, const std::map<std::string, int32_t>*> lists[] = {
        {"ReadyAtFrame", &scenario.readyAtFrame}, {"JoinAtFrame", &scenario.joinAtFrame}};
    for (const auto& [key, list] : lists) {
        for (const auto& entry : *list) {
            const bool listed = std::any_of(scenario.players.begin(), scenario.players.end(),
                                            [&](const auto& player) { return player.first == entry.first; });
            if (listed) continue;
            const Place* place = placeOf(layout, "Network", key);
            return fail(error, place ? place->file : "", place ? place->line : 0, keyLabel("Network", key),
                        entry.first + " is not one of the Players");
        }
    }
    return true;
}

}  // namespace

std::string ScenarioError::text() const {
    std::string out = file;
    if (line > 0) out += ":" + std::to_string(line);
    if (!key.empty()) out += (out.empty() ? "" : ": ") + key;
    return out + (out.empty() ? "" : ": ") + message;
}

bool readScenarioFile(const std::string& path, Scenario& scenario, ScenarioError& error) {
    const fs::path file(path);
    const std::string name = file.filename().string();
    std::error_code status;
    if (!fs::is_regular_file(file, status)) return fail(error, path, 0, "", "no such file");
    // The library gives a name without an extension ".INI"; a scenario
    // file is opened by exactly the name it was given.
    if (!file.has_extension()) return fail(error, path, 0, "", "the file name needs an extension, such as .ini");

    FolderScope folder(file.parent_path());
    if (folder.failed()) return fail(error, path, 0, "", "cannot enter the file's folder");
    Layout layout;
    if (!scanFile(name, name, 0, layout, error)) {
        // Name the file as the caller gave it, includes by their own names.
        if (error.file == name) error.file = path;
        return false;
    }
    ReaderBinding binding;
    const long long room = std::min<long long>(layout.includeBytes, INT32_MAX / 2);
    kv::ConfigDocument document(toModulePath(name).c_str(), 0, 0, static_cast<int32_t>(room));
    const bool ok = applyDocument(document, layout, scenario, error) && checkPlayerNames(scenario, layout, error);
    if (!ok && error.file == name) error.file = path;
    return ok;
}

}  // namespace kvsim
