#include "sim/call_log.h"

#include <ostream>

namespace kvsim {

CallRecord& CallLog::call(const std::string& op, Json args) {
    records_.push_back(CallRecord{false, op, std::move(args), false, Json()});
    return records_.back();
}

CallRecord& CallLog::hostCall(const std::string& op, Json args) {
    records_.push_back(CallRecord{true, op, std::move(args), false, Json()});
    return records_.back();
}

Json CallLog::handle(const void* pointer, const std::string& kind) {
    if (!pointer) return nullptr;
    auto it = handles_.find(pointer);
    if (it != handles_.end() && it->second.compare(0, kind.size() + 1, kind + ":") == 0)
        return it->second;
    const std::string name = kind + ":" + std::to_string(++handleCounts_[kind]);
    handles_[pointer] = name;
    return name;
}

Json CallLog::text(const char* s) { return s ? Json(std::string(s)) : Json(nullptr); }

Json CallLog::position(const double* p) {
    return p ? Json::array({p[0], p[1], p[2]}) : Json(nullptr);
}

Json CallLog::vector3(const float* v) {
    return v ? Json::array({v[0], v[1], v[2]}) : Json(nullptr);
}

Json CallLog::orientation(const float* m) {
    if (!m) return nullptr;
    Json out = Json::array();
    for (int i = 0; i < 9; ++i) out.push_back(m[i]);
    return out;
}

std::vector<std::string> CallLog::ops() const {
    std::vector<std::string> out;
    for (const CallRecord& r : records_)
        if (!r.fromHost) out.push_back(r.op);
    return out;
}

std::size_t CallLog::count(const std::string& op) const {
    std::size_t n = 0;
    for (const CallRecord& r : records_) n += !r.fromHost && r.op == op;
    return n;
}

void CallLog::clear() { records_.clear(); }

void CallLog::writeJsonLines(std::ostream& out) const {
    for (const CallRecord& r : records_) {
        Json line;
        line[r.fromHost ? "host" : "op"] = r.op;
        line["args"] = r.args;
        if (r.hasResult) line["ret"] = r.result;
        out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    }
}

}  // namespace kvsim
