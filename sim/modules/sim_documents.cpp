#include "sim/modules/sim_documents.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "config/config_document.h"
#include "services/shell_binding.h"

namespace kvsim {

namespace fs = std::filesystem;

// Binds the module-wide FMG and MEM to a reader's services for one read or
// release, and restores what was bound before.
class SimDocuments::Binding {
public:
    explicit Binding(SimDocuments& owner)
        : held_(owner.state_.moduleGlobals), files_(kv::FMG), memory_(kv::MEM) {
        kv::FMG = &owner.files_;
        kv::MEM = &owner.memory_;
    }
    ~Binding() {
        kv::FMG = files_;
        kv::MEM = memory_;
    }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

private:
    std::lock_guard<std::recursive_mutex> held_;
    kv::FileManagerInterface* files_;
    kv::MemoryInterface* memory_;
};

SimDocuments::Memory::~Memory() {
    for (void* block : blocks_) std::free(block);
}

void* SimDocuments::Memory::memAlloc(int32_t size, int32_t, int32_t, const char*) {
    if (size < 0) return nullptr;
    void* block = std::calloc(size > 0 ? static_cast<std::size_t>(size) : 1, 1);
    if (block) blocks_.insert(block);
    return block;
}

void SimDocuments::Memory::memFree(void* block) {
    if (blocks_.erase(block) != 0) {
        std::free(block);
        return;
    }
    auto it = state_.memBlocks.find(block);
    if (it == state_.memBlocks.end()) return;
    if (state_.blockFreed) state_.blockFreed(block);
    state_.memBlocks.erase(it);
    std::free(block);
}

SimDocuments::~SimDocuments() = default;

void SimDocuments::Release::operator()(kv::ConfigDocument* document) const {
    if (!document) return;
    Binding binding(*owner);
    delete document;
}

SimDocuments::Document SimDocuments::build(const std::string& path, bool parse) {
    Binding binding(*this);
    std::error_code error;
    const auto size = path.empty() ? 0 : fs::file_size(path, error);
    // The pool is sized for the file as found (the document's own sizing
    // looks for the name with "INI" added when it has none), with room for
    // the files it includes.
    const int32_t kIncludeRoom = 256 * 1024;
    const int32_t room = kIncludeRoom + (error || size > 64u * 1024u * 1024u ? 0 : static_cast<int32_t>(size));
    Document document(new kv::ConfigDocument(path.c_str(), 0, 1, room), Release{this});
    if (parse) document->parseFile(path.c_str());
    return document;
}

SimDocuments::Document SimDocuments::read(const char* name) {
    const std::string path = SimFileManager::findFile(name);
    if (path.empty()) return Document(nullptr, Release{this});
    return build(path, true);
}

SimDocuments::Document SimDocuments::readOrEmpty(const char* name) {
    Document document = read(name);
    return document ? std::move(document) : build("", false);
}

}  // namespace kvsim
