// Collects the module's trace lines while a test runs.
#pragma once

#include <string>
#include <vector>

#include "services/services.h"

namespace kvtest {

class TraceLines {
public:
    TraceLines() { previous_ = kv::setTraceSink(&TraceLines::add, this, &previousContext_); }
    ~TraceLines() { kv::setTraceSink(previous_, previousContext_); }
    TraceLines(const TraceLines&) = delete;
    TraceLines& operator=(const TraceLines&) = delete;

    std::vector<std::string> lines;

private:
    static void add(const char* text, void* self) { static_cast<TraceLines*>(self)->lines.push_back(text); }
    kv::TraceSink previous_;
    void* previousContext_ = nullptr;
};

}  // namespace kvtest
