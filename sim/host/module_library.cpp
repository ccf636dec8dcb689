#include "sim/host/module_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kvsim {

namespace {

#ifdef _WIN32
void* loadLibrary(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}
void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void unloadLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
#else
void* loadLibrary(const std::string& path, std::string& error) {
    // The module's own symbols stay its own: nothing it defines may bind
    // to a program that happens to contain the same code.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        error = reason ? reason : "cannot load " + path;
    }
    return library;
}
void* findSymbol(void* library, const char* name) { return dlsym(library, name); }
void unloadLibrary(void* library) { dlclose(library); }
#endif

}  // namespace

bool ModuleLibrary::open(const std::string& path) {
    close();
    error_.clear();
    void* library = loadLibrary(path, error_);
    if (!library) return false;
    ModuleEntryPoints entry;
    entry.initDll = reinterpret_cast<InitDllFunction>(findSymbol(library, "InitDLL"));
    entry.exitDll = reinterpret_cast<ExitDllFunction>(findSymbol(library, "ExitDLL"));
    if (!entry.initDll || !entry.exitDll) {
        error_ = path + " does not export InitDLL and ExitDLL";
        unloadLibrary(library);
        return false;
    }
    handle_ = library;
    entry_ = entry;
    return true;
}

void ModuleLibrary::close() {
    if (!handle_) return;
    unloadLibrary(handle_);
    handle_ = nullptr;
    entry_ = ModuleEntryPoints{};
}

}  // namespace kvsim
