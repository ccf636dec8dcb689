// The module as a host meets it: a shared library with two entry points,
// loaded at run time (dlopen, or LoadLibrary on Windows).
#pragma once

#include <cstdint>
#include <string>

#include <korvane/shell.h>

namespace kvsim {

using InitDllFunction = void (*)(int32_t arg, kv::ApplicationShell* shell);
using ExitDllFunction = void (*)();

struct ModuleEntryPoints {
    InitDllFunction initDll = nullptr;
    ExitDllFunction exitDll = nullptr;
};

class ModuleLibrary {
public:
    ModuleLibrary() = default;
    ~ModuleLibrary() { close(); }
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // False, with a message in error(), when the library cannot be loaded or
    // lacks either entry point; nothing stays loaded then.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const ModuleEntryPoints& entryPoints() const { return entry_; }
    const std::string& error() const { return error_; }

private:
    void* handle_ = nullptr;
    ModuleEntryPoints entry_;
    std::string error_;
};

}  // namespace kvsim
