// The application shell and the shell-level interfaces the host hands out.
//
// These classes are a binary contract with modules built by other people,
// possibly with another compiler: pure virtual operations only, in exactly
// this order, no data, no virtual destructor, no overloaded names, and
// every argument 32 bits wide on the real target.
#pragma once

#include <cstdint>

namespace kv {

// A three-letter interface tag such as "FMG" or "FLT", passed as its text.
using ModuleTag = const char*;

class ApplicationShell {
public:
    // Makes a module's own interface known under its tag; arg is the value
    // the host handed to InitDLL.
    virtual int32_t RegisterModule(ModuleTag tag, void* module, int32_t arg) = 0;
    // Withdraws what RegisterModule made known.
    virtual int32_t UnregisterModule(ModuleTag tag) = 0;
    // Fills *slot with the interface under tag, or null when there is none.
    virtual int32_t GetInterface(ModuleTag tag, void** slot) = 0;
    // Gives back the interface GetInterface put in *slot.
    virtual int32_t ReleaseInterface(ModuleTag tag, void** slot) = 0;
};

// APP: the host application.
class AppInterface {
public:
    // Runs the host's own per-frame work; 0 means the application is ending.
    virtual int32_t appUpdate() = 0;
    // 0 means the application wants to stop.
    virtual int32_t appIsRunning() = 0;
    // The host's start-up flag that the module stores negated.
    virtual int32_t appQueryFlag() = 0;
};

// DLL: the host's module loader.
class DllInterface {
public:
    // Loads a library by file name; nonzero means loaded.
    virtual int32_t dllLoadModule(const char* fileName) = 0;
    // Unloads the library loaded under the same name.
    virtual void dllUnloadModule(const char* fileName) = 0;
};

// FMG: the host's file manager. Names are module paths with backslashes.
class FileManagerInterface {
public:
    // A handle, or -1 when the file cannot be opened; mode is always 0.
    virtual int32_t fmgOpenFile(const char* name, int32_t mode) = 0;
    virtual void fmgCloseFile(int32_t handle) = 0;
    // Bytes read into buffer; 0 or less ends reading.
    virtual int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) = 0;
    // Nonzero when the file exists; mode is always 0.
    virtual int32_t fmgFileExists(const char* name, int32_t mode) = 0;
    // Size of the file in bytes.
    virtual int32_t fmgGetFileSize(const char* name) = 0;
    // Remembers the current directory.
    virtual void fmgPushDirectory() = 0;
    // Makes the remembered directory current again.
    virtual void fmgPopDirectory() = 0;
};

// RND and DBG are held for the whole binding; none of their operations is
// called, so they stay opaque here.
class RenderInterface;
class DebugInterface;

// MEM: the host's memory service. Every block carries its owner's name so
// the host can release all of an owner's blocks at once.
class MemoryInterface {
public:
    // A block of size bytes; the module passes 0 for both reserved values.
    virtual void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) = 0;
    virtual void memFree(void* block) = 0;
    // Releases every block the owner still holds.
    virtual void memReleaseOwner(const char* owner) = 0;
    // A labelled milestone in the host's memory statistics.
    virtual void memCheckpoint(const char* label) = 0;
};

}  // namespace kv
