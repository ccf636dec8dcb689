#include "sim/modules/sim_shell.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/workdir.h"

namespace kvsim {

namespace fs = std::filesystem;

// ---- shell ----

void SimShell::provide(const std::string& tag, void* iface) {
    interfaces_[tag] = iface;
}

void* SimShell::registered(const std::string& tag) const {
    auto it = modules_.find(tag);
    return it == modules_.end() ? nullptr : it->second;
}

int SimShell::held(const std::string& tag) const {
    auto it = held_.find(tag);
    return it == held_.end() ? 0 : it->second;
}

bool SimShell::present(const std::string& tag) const {
    const Scenario& scenario = state_.scenario;
    if (tag == "NET") return scenario.hasNet;
    if (tag == "FFB") return scenario.hasFfb;
    if (tag == "OPT") return scenario.hasOpt;
    if (tag == "AVN") return scenario.hasAvn;
    return true;
}

int32_t SimShell::RegisterModule(kv::ModuleTag tag, void* module, int32_t) {
    const std::string name = tag ? tag : "";
    modules_[name] = module;
    return 1;
}

int32_t SimShell::UnregisterModule(kv::ModuleTag tag) {
    const bool known = tag && modules_.erase(tag) != 0;
    return known ? 1 : 0;
}

int32_t SimShell::GetInterface(kv::ModuleTag tag, void** slot) {
    void* iface = nullptr;
    if (tag && present(tag)) {
        auto it = interfaces_.find(tag);
        if (it != interfaces_.end()) iface = it->second;
    }
    if (slot) *slot = iface;
    if (iface) ++held_[tag];
    return iface ? 1 : 0;
}

int32_t SimShell::ReleaseInterface(kv::ModuleTag tag, void** slot) {
    const bool ok = tag && slot && *slot && held(tag) > 0;
    if (ok) --held_[tag];
    return ok ? 1 : 0;
}

// ---- APP ----

namespace {

// 0 from the limit-th call on (limit 0 = never).
int32_t stillGoing(int32_t calls, int32_t limit) { return limit > 0 && calls >= limit ? 0 : 1; }

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

int32_t SimApp::appUpdate() {
    return stillGoing(++updates, state_.scenario.appEndsAfter);
}
int32_t SimApp::appIsRunning() {
    return stillGoing(++runningQueries, state_.scenario.appStopsAfter);
}
int32_t SimApp::appQueryFlag() {
    return state_.appFlag;
}

// ---- DLL ----

void SimDll::offer(const std::string& tag, void* iface) {
    offered_[tag] = iface;
}

std::string SimDll::tagOf(const char* fileName) const {
    if (!fileName) return "";
    // The scenario names files by their place in the flight directory,
    // which is the current one while a flight loads its modules.
    const std::string file = SimFileManager::fileKey(fileName);
    for (const auto& [name, tag] : state_.scenario.moduleInterfaces) {
        if (SimFileManager::fileKey(name.c_str()) == file) return tag;
    }
    std::string base = fileName;
    const std::size_t slash = base.find_last_of("\\/");
    if (slash != std::string::npos) base.erase(0, slash + 1);
    base = lowerCase(base);
    if (base.find("hud") != std::string::npos) return "HUD";
    if (base.find("comm") != std::string::npos) return "COM";
    return "";
}

int32_t SimDll::dllLoadModule(const char* fileName) {
    const std::string tag = tagOf(fileName);
    const Scenario& scenario = state_.scenario;
    const bool refused = (tag == "HUD" && scenario.failHudModule) || (tag == "COM" && scenario.failCommModule);
    if (refused || SimFileManager::findFile(fileName).empty()) return 0;
    Loaded& loaded = loaded_[SimFileManager::fileKey(fileName)];
    loaded.tag = tag;
    if (++loaded.count == 1 && !tag.empty() && !withoutInterface.count(tag)) {
        auto offered = offered_.find(tag);
        if (offered != offered_.end()) shell_.provide(tag, offered->second);
    }
    return 1;
}

void SimDll::dllUnloadModule(const char* fileName) {
    auto it = loaded_.find(SimFileManager::fileKey(fileName));
    if (it == loaded_.end()) return;
    if (--it->second.count > 0) return;
    if (!it->second.tag.empty()) shell_.remove(it->second.tag);
    loaded_.erase(it);
}

void SimDll::beginFlight() {
    for (const auto& module : loaded_)
        if (!module.second.tag.empty()) shell_.remove(module.second.tag);
    loaded_.clear();
}

int SimDll::loadedModules() const {
    int n = 0;
    for (const auto& module : loaded_) n += module.second.count;
    return n;
}

// ---- FMG ----

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string SimFileManager::findFile(const char* name) {
    if (!name || !*name) return "";
    std::string native(std::char_traits<char>::length(name) + 1, '\0');
    if (!kv::toNativePath(name, &native[0], static_cast<int32_t>(native.size()))) return "";
    fs::path wanted(native.c_str());
    std::error_code error;
    if (fs::is_regular_file(wanted, error)) return wanted.string();
    // Walk the path a component at a time, taking the first entry whose
    // name matches without regard to case.
    fs::path found = wanted.root_path();
    for (const fs::path& part : wanted.relative_path()) {
        const std::string piece = part.string();
        if (piece == "." || piece == "..") {
            found /= part;
            continue;
        }
        fs::path exact = found / part;
        if (fs::exists(exact, error)) {
            found = exact;
            continue;
        }
        bool matched = false;
        const fs::path folder = found.empty() ? fs::path(".") : found;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            if (sameIgnoringCase(it->path().filename().string(), piece)) {
                found = found / it->path().filename();
                matched = true;
                break;
            }
        }
        if (!matched) return "";
    }
    return fs::is_regular_file(found, error) ? found.string() : "";
}

std::string SimFileManager::fileKey(const char* name) {
    if (!name || !*name) return "";
    std::string native(std::char_traits<char>::length(name) + 1, '\0');
    if (!kv::toNativePath(name, &native[0], static_cast<int32_t>(native.size()))) return "";
    std::error_code error;
    fs::path path = fs::absolute(fs::path(native.c_str()), error);
    if (error) return "";
    return lowerCase(path.lexically_normal().generic_string());
}

SimFileManager::~SimFileManager() {
    for (auto& file : open_) std::fclose(file.second);
}

int32_t SimFileManager::fmgOpenFile(const char* name, int32_t) {
    const std::string path = findFile(name);
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    const int32_t handle = nextHandle_++;
    open_[handle] = file;
    return handle;
}

void SimFileManager::fmgCloseFile(int32_t handle) {
    auto it = open_.find(handle);
    if (it == open_.end()) return;
    std::fclose(it->second);
    open_.erase(it);
}

int32_t SimFileManager::fmgReadFile(int32_t handle, void* buffer, int32_t count) {
    auto it = open_.find(handle);
    if (it == open_.end() || !buffer || count <= 0) return 0;
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), it->second);
    return static_cast<int32_t>(got);
}

int32_t SimFileManager::fmgFileExists(const char* name, int32_t) {
    return findFile(name).empty() ? 0 : 1;
}

int32_t SimFileManager::fmgGetFileSize(const char* name) {
    const std::string path = findFile(name);
    std::error_code error;
    const auto size = path.empty() ? 0 : fs::file_size(path, error);
    return error ? 0 : static_cast<int32_t>(size);
}

void SimFileManager::fmgPushDirectory() {
    std::error_code error;
    const std::string current = fs::current_path(error).string();
    std::lock_guard<std::mutex> held(directoriesMutex_);
    directories_[std::this_thread::get_id()].push_back(current);
}

void SimFileManager::fmgPopDirectory() {
    std::string previous;
    {
        std::lock_guard<std::mutex> held(directoriesMutex_);
        auto stack = directories_.find(std::this_thread::get_id());
        if (stack == directories_.end() || stack->second.empty()) return;
        previous = stack->second.back();
        stack->second.pop_back();
        if (stack->second.empty()) directories_.erase(stack);
    }
    std::error_code error;
    fs::current_path(previous, error);
}

// ---- MEM ----

SimMemory::~SimMemory() {
    for (auto& block : state_.memBlocks) std::free(block.first);
    state_.memBlocks.clear();
}

void* SimMemory::memAlloc(int32_t size, int32_t, int32_t, const char* owner) {
    const int32_t refuseAt = state_.scenario.failAllocation;
    const int32_t refuseFrom = state_.scenario.failAllocationsFrom;
    ++allocations;
    const bool refused = allocations == refuseAt || (refuseFrom > 0 && allocations >= refuseFrom);
    void* block = nullptr;
    if (!refused && size >= 0) block = std::calloc(size > 0 ? static_cast<std::size_t>(size) : 1, 1);
    if (block && fillByte >= 0) std::memset(block, fillByte, static_cast<std::size_t>(size));
    if (block) state_.memBlocks[block] = owner ? owner : "";
    return block;
}

void SimMemory::memFree(void* block) {
    auto it = state_.memBlocks.find(block);
    if (it == state_.memBlocks.end()) {
        ++state_.refusedFrees;
        return;
    }
    state_.memBlocks.erase(it);
    std::free(block);
}

void SimMemory::memReleaseOwner(const char* owner) {
    const std::string name = owner ? owner : "";
    if (state_.beforeReleaseOwner) state_.beforeReleaseOwner(name);
    for (auto it = state_.memBlocks.begin(); it != state_.memBlocks.end();) {
        if (it->second == name) {
            std::free(it->first);
            it = state_.memBlocks.erase(it);
        } else {
            ++it;
        }
    }
}

void SimMemory::memCheckpoint(const char* label) {
    if (state_.onCheckpoint) state_.onCheckpoint(label ? label : "");
}

int SimMemory::liveBlocks(const std::string& owner) const {
    int n = 0;
    for (const auto& block : state_.memBlocks) n += block.second == owner;
    return n;
}

}  // namespace kvsim
