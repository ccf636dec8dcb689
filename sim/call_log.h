// Every call between the module and the stand-in host, in call order:
// calls of the module into the host (op) and of the host into the module
// (host). Tests assert on it; the tools write it as a JSON Lines trace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvsim {

// Ordered, so trace lines read "op", "args", "ret" in that order.
using Json = nlohmann::ordered_json;

struct CallRecord {
    bool fromHost = false;  // true for a call of the host into the module
    std::string op;
    Json args = Json::array();
    bool hasResult = false;
    Json result;
};

class CallLog {
public:
    // A call of the module into the host; returns the record so the caller
    // can add the result.
    CallRecord& call(const std::string& op, Json args = Json::array());
    template <typename T>
    T returns(CallRecord& record, T value) {
        record.hasResult = true;
        record.result = value;
        return value;
    }
    // A call of the host into the module.
    CallRecord& hostCall(const std::string& op, Json args = Json::array());

    // "kind:n" for an opaque handle, numbered per kind in order of first
    // sight; null for a null pointer.
    Json handle(const void* pointer, const std::string& kind);
    // Drops a freed pointer, so an address reused later gets a new number.
    void forget(const void* pointer) { handles_.erase(pointer); }
    // Text argument: null for a null pointer.
    static Json text(const char* s);
    static Json position(const double* p);
    static Json vector3(const float* v);
    static Json orientation(const float* m);

    const std::vector<CallRecord>& records() const { return records_; }
    // Names of the module's calls, in order.
    std::vector<std::string> ops() const;
    std::size_t count(const std::string& op) const;
    void clear();

    // One JSON object per line; texts keep their bytes (invalid UTF-8 is
    // replaced rather than failing the trace).
    void writeJsonLines(std::ostream& out) const;

private:
    std::vector<CallRecord> records_;
    std::map<const void*, std::string> handles_;
    std::map<std::string, int> handleCounts_;
};

}  // namespace kvsim
