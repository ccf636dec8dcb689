// Configuration files the stand-in modules read for themselves (string
// tables, the player options), with the project's own ConfigDocument.
//
// The document code reaches its file manager and allocator through the
// module-wide FMG and MEM pointers. A read or a release binds them to this
// reader's own services for its length, so that
// - the file calls of the read go to a file manager of its own, which the
//   module's trace never sees, and the names are matched as the stand-in file manager
//   matches them (relative to the current directory, without regard to case);
// - the document's blocks are this reader's, never counted as the module's
//   "FLT" blocks; and a block the module added to a lent document (setInt on
//   a missing key) goes back to the host's memory service when the document
//   is released.
// The previous bindings are restored before the call returns. The swap is
// made under SimState::moduleGlobals, which a second thread calling into
// the module holds around calls that reach those pointers.
#pragma once

#include <memory>
#include <set>
#include <string>

#include <korvane/engine_interfaces.h>  // kv::ConfigDocument, the module's document class
#include <korvane/shell.h>
#include "sim/modules/sim_shell.h"
#include "sim/modules/sim_state.h"

namespace kvsim {

class SimDocuments {
public:
    explicit SimDocuments(SimState& state) : state_(state), memory_(state) {}
    ~SimDocuments();
    SimDocuments(const SimDocuments&) = delete;
    SimDocuments& operator=(const SimDocuments&) = delete;

    struct Release {
        SimDocuments* owner = nullptr;
        void operator()(kv::ConfigDocument* document) const;
    };
    using Document = std::unique_ptr<kv::ConfigDocument, Release>;

    // The document of the file name (module form: backslashes, ".\", any
    // case) names; null when there is no such file.
    Document read(const char* name);
    // read, or an empty document when the file is missing.
    Document readOrEmpty(const char* name);

private:
    // Blocks of this reader's documents; a block it never handed out is the
    // module's (a key the module added) and goes back to the host's memory
    // service without a record in the call log.
    class Memory : public kv::MemoryInterface {
    public:
        explicit Memory(SimState& state) : state_(state) {}
        ~Memory();
        void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) override;
        void memFree(void* block) override;
        void memReleaseOwner(const char*) override {}
        void memCheckpoint(const char*) override {}

    private:
        SimState& state_;
        std::set<void*> blocks_;
    };
    class Binding;

    Document build(const std::string& path, bool parse);

    SimState& state_;
    SimFileManager files_{state_};
    Memory memory_;
};

}  // namespace kvsim
