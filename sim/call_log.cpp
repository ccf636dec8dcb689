#include "sim/call_log.h"

#include <ostream>

namespace kvsim {

namespace {

// Host calls in progress at once: a handful even with callbacks; the map
// only has to outlive the nesting, not the flight.
const std::size_t kOpenHostCalls = 64;

std::string dumped(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

const char* keyOf(const CallRecord& record) {
    switch (record.kind) {
    case RecordKind::Host:
        return "host";
    case RecordKind::Trace:
        return "trace";
    case RecordKind::Call:
        break;
    }
    return "op";
}

}  // namespace

CallLog::~CallLog() { flush(); }

void CallLog::setMode(Mode mode, std::ostream* out) {
    flush();
    if (mode_ != Mode::InMemory || mode != Mode::InMemory) {
        firstNumber_ += records_.size();
        records_.clear();
    }
    unwritten_ = firstNumber_ + records_.size();
    openHostCalls_.clear();
    mode_ = mode;
    out_ = mode == Mode::Streaming ? out : nullptr;
}

CallRecord& CallLog::add(RecordKind kind, const std::string& op, Json args) {
    const std::size_t number = firstNumber_ + records_.size();
    // The record before this one is complete now, result or not.
    if (mode_ == Mode::Streaming) writePending(number);
    records_.push_back(CallRecord{kind == RecordKind::Host, op, std::move(args), false, Json(), kind, number});
    if (mode_ == Mode::Streaming) dropWritten();
    return records_.back();
}

CallRecord& CallLog::call(const std::string& op, Json args) {
    if (mode_ == Mode::Off) {
        // One per thread: a host may be called from several threads at once.
        // The arguments are dropped; an operation that adds to them finds an
        // array whatever form they came in.
        thread_local CallRecord scratch;
        scratch.args = Json::array();
        return scratch;
    }
    return add(RecordKind::Call, op, std::move(args));
}

std::size_t CallLog::hostCall(const std::string& op, Json args) {
    if (mode_ == Mode::Off) return 0;
    const std::size_t number = add(RecordKind::Host, op, std::move(args)).number;
    if (mode_ == Mode::Streaming) {
        openHostCalls_[number] = op;
        if (openHostCalls_.size() > kOpenHostCalls) openHostCalls_.erase(openHostCalls_.begin());
    }
    return number;
}

void CallLog::trace(const char* text) {
    if (mode_ == Mode::Off) return;
    add(RecordKind::Trace, text ? text : "", Json::array());
}

void CallLog::completed(const CallRecord& record) {
    if (mode_ != Mode::Streaming || !out_) return;
    if (record.number >= unwritten_) {
        writePending(record.number + 1);
        return;
    }
    // Written already, when calls of its own came before its result; those
    // calls are over by now, so they go out first.
    writePending(firstNumber_ + records_.size());
    *out_ << '{' << '"' << keyOf(record) << "\":" << dumped(Json(record.op)) << ",\"ret\":" << dumped(record.result)
          << "}\n";
}

void CallLog::setHostResult(std::size_t number, Json value) {
    if (number >= firstNumber_ && number - firstNumber_ < records_.size()) {
        CallRecord& record = records_[number - firstNumber_];
        record.hasResult = true;
        record.result = std::move(value);
        openHostCalls_.erase(number);
        completed(record);
        return;
    }
    // Streaming, and the record itself is gone: only its name is left.
    auto open = openHostCalls_.find(number);
    if (mode_ != Mode::Streaming || !out_ || open == openHostCalls_.end()) return;
    writePending(firstNumber_ + records_.size());
    *out_ << "{\"host\":" << dumped(Json(open->second)) << ",\"ret\":" << dumped(value) << "}\n";
    openHostCalls_.erase(open);
}

void CallLog::writePending(std::size_t upTo) {
    if (!out_) {
        if (upTo > unwritten_) unwritten_ = upTo;
        return;
    }
    for (; unwritten_ < upTo && unwritten_ - firstNumber_ < records_.size(); ++unwritten_)
        writeJsonLine(*out_, records_[unwritten_ - firstNumber_]);
}

void CallLog::dropWritten() {
    while (records_.size() > kStreamWindow && firstNumber_ < unwritten_) {
        records_.pop_front();
        ++firstNumber_;
    }
}

void CallLog::flush() {
    if (mode_ != Mode::Streaming) return;
    writePending(firstNumber_ + records_.size());
    if (out_) out_->flush();
}

Json CallLog::handle(const void* pointer, const std::string& kind) {
    if (!pointer || mode_ == Mode::Off) return nullptr;
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
        if (r.kind == RecordKind::Call) out.push_back(r.op);
    return out;
}

std::vector<std::string> CallLog::traces() const {
    std::vector<std::string> out;
    for (const CallRecord& r : records_)
        if (r.kind == RecordKind::Trace) out.push_back(r.op);
    return out;
}

std::size_t CallLog::count(const std::string& op) const {
    std::size_t n = 0;
    for (const CallRecord& r : records_) n += r.kind == RecordKind::Call && r.op == op;
    return n;
}

void CallLog::clear() {
    flush();
    firstNumber_ += records_.size();
    unwritten_ = firstNumber_;
    records_.clear();
}

void CallLog::writeJsonLine(std::ostream& out, const CallRecord& r) {
    out << '{' << '"' << keyOf(r) << "\":" << dumped(Json(r.op));
    if (r.kind != RecordKind::Trace) out << ",\"args\":" << dumped(r.args);
    if (r.hasResult) out << ",\"ret\":" << dumped(r.result);
    out << "}\n";
}

void CallLog::writeJsonLines(std::ostream& out) const {
    for (const CallRecord& r : records_) writeJsonLine(out, r);
}

}  // namespace kvsim
