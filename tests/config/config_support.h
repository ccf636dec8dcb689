// Documents built from files in memory, and a compact rendering of what a
// document holds, for comparing whole documents in one assertion.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "config/config_document.h"
#include "tests/support/counting_memory.h"
#include "tests/support/memory_files.h"
#include "tests/support/trace_lines.h"

namespace kvtest {

// "[name]" a line per section, then "key=text|integer|real" a line per key,
// with "null" for a key without text.
inline std::string render(const kv::ConfigDocument& document) {
    std::string out;
    for (const kv::PtrListNode* s = document.sections.head; s; s = s->next) {
        const auto* section = static_cast<const kv::ConfigSection*>(s->data);
        out += "[" + std::string(section->name) + "]\n";
        for (const kv::PtrListNode* k = section->keys.head; k; k = k->next) {
            const auto* key = static_cast<const kv::ConfigKey*>(k->data);
            char numbers[64];
            std::snprintf(numbers, sizeof numbers, "|%d|%g", key->integer, static_cast<double>(key->real));
            out += std::string(key->name) + "=" + (key->text ? key->text : "null") + numbers + "\n";
        }
    }
    return out;
}

// Memory, files and trace for one test; documents built on them.
struct ConfigWorld {
    CountingMemory memory;
    MemoryFiles files;
    TraceLines trace;

    std::unique_ptr<kv::ConfigDocument> open(const char* name = "top.ini", int32_t autoAdd = 0,
                                             int32_t extraBytes = 4096) {
        return std::make_unique<kv::ConfigDocument>(name, autoAdd, 0, extraBytes);
    }
    // The document of a top-level file with this text, rendered.
    std::string parse(const std::string& text, int32_t extraBytes = 4096) {
        files.files["top.ini"] = text;
        return render(*open("top.ini", 0, extraBytes));
    }
};

}  // namespace kvtest
