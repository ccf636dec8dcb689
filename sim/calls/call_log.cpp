#include "sim/calls/call_log.h"

#include <algorithm>
#include <ostream>

namespace kvsim {

namespace {

// Streaming hands its text to the stream in blocks of about this size.
const std::size_t kDrainBytes = 64 * 1024;

// Host calls in progress at once: a handful even with callbacks; the list
// only has to outlive the nesting, not the flight.
const std::size_t kOpenHostCalls = 64;

std::string dumped(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

CallLog::CallLog() = default;

CallLog::~CallLog() { flush(); }

const char* CallLog::openingOf(RecordKind kind) {
    switch (kind) {
    case RecordKind::Host:
        return "{\"host\":";
    case RecordKind::Trace:
        return "{\"trace\":";
    case RecordKind::Call:
        break;
    }
    return "{\"op\":";
}

void CallLog::setMode(Mode mode, std::ostream* out) {
    flush();
    if (mode_ != Mode::InMemory || mode != Mode::InMemory) {
        records_.clear();
        lateResults_.clear();
        firstNumber_ = nextNumber_;
    }
    openHostCalls_.clear();
    mode_ = mode;
    out_ = mode == Mode::Streaming ? out : nullptr;
    updateActive();
}

void CallLog::addObserver(CallObserver* observer) {
    observers_.push_back(observer);
    updateActive();
}

void CallLog::removeObserver(CallObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
    updateActive();
}

std::size_t CallLog::begin(RecordKind kind, const char* op) {
    // The record before this one is complete now, result or not.
    complete();
    pending_.open = true;
    pending_.number = nextNumber_++;
    pending_.kind = kind;
    pending_.op = op;
    pending_.first = firstArgument();
    pending_.hasResult = false;
    pending_.result = 0.0;
    if (mode_ == Mode::Streaming) text_.beginRecord(openingOf(kind), op, std::char_traits<char>::length(op));
    return pending_.number;
}

void CallLog::remember(const FirstArgument& first) {
    pending_.first = first;
    if (!first.text) return;
    // The text is the caller's; the record completes after it returns.
    pending_.firstText.assign(first.text, first.length);
    pending_.first.text = pending_.firstText.c_str();
}

void CallLog::complete() {
    if (!pending_.open) return;
    pending_.open = false;
    if (mode_ == Mode::Streaming) endLine();
    if (observers_.empty()) return;
    notify(LoggedRecord{pending_.kind, pending_.op, false, pending_.first, pending_.hasResult,
                        pending_.hasResult ? pending_.result : std::nan("")});
}

void CallLog::endLine() {
    text_.endRecord();
    if (text_.size() < kDrainBytes) return;
    if (out_) out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
}

void CallLog::notify(const LoggedRecord& record) {
    for (CallObserver* observer : observers_) observer->onRecord(record);
}

RecordRef CallLog::call(const char* op, const Json& args) {
    if (!active_) return RecordRef{0, op};
    const std::size_t number = begin(RecordKind::Call, op);
    if (!observers_.empty() && !args.empty()) {
        const Json& first = args.front();
        if (first.is_number()) remember(FirstArgument{first.get<double>(), nullptr, 0});
        if (first.is_string()) {
            const std::string& text = first.get_ref<const std::string&>();
            remember(FirstArgument{std::nan(""), text.data(), text.size()});
        }
    }
    if (mode_ == Mode::Streaming) {
        text_.beginArgs();
        for (const Json& value : args) text_.json(value);
        text_.endArgs();
    } else if (mode_ == Mode::InMemory) {
        keep(RecordKind::Call, op, args.is_array() ? args : Json::array({args}), number);
    }
    return RecordRef{number, op};
}

void CallLog::trace(const char* text) {
    if (!active_) return;
    if (!text) text = "";
    complete();
    const std::size_t number = nextNumber_++;
    if (mode_ == Mode::Streaming) {
        text_.beginRecord(openingOf(RecordKind::Trace), text, std::char_traits<char>::length(text));
        endLine();
    } else if (mode_ == Mode::InMemory) {
        keep(RecordKind::Trace, text, Json::array(), number);
    }
    if (!observers_.empty()) notify(LoggedRecord{RecordKind::Trace, text, false, firstArgument(), false, std::nan("")});
}

void CallLog::keep(RecordKind kind, const char* op, Json args, std::size_t number) {
    CallRecord record;
    record.fromHost = kind == RecordKind::Host;
    record.op = op;
    record.args = std::move(args);
    record.kind = kind;
    record.number = number;
    records_.push_back(std::move(record));
}

void CallLog::keepResult(std::size_t number, Json result, bool inTime) {
    if (number < firstNumber_ || number - firstNumber_ >= records_.size()) return;
    CallRecord& record = records_[number - firstNumber_];
    record.hasResult = true;
    record.result = std::move(result);
    record.lateResult = !inTime;
    if (!inTime) lateResults_.push_back(LateResult{nextNumber_, number});
}

void CallLog::openHostCall(std::size_t number, const char* op) {
    if (openHostCalls_.size() == kOpenHostCalls) openHostCalls_.erase(openHostCalls_.begin());
    openHostCalls_.emplace_back(number, op);
}

const char* CallLog::closeHostCall(std::size_t number) {
    for (auto it = openHostCalls_.rbegin(); it != openHostCalls_.rend(); ++it) {
        if (it->first != number) continue;
        const char* op = it->second;
        openHostCalls_.erase(std::next(it).base());
        return op;
    }
    return nullptr;
}

void CallLog::flush() {
    complete();
    if (mode_ == Mode::Streaming && out_) {
        out_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
        out_->flush();
    }
    text_.clear();
}

Json CallLog::handle(const void* pointer, const std::string& kind) {
    if (!pointer || mode_ == Mode::Off) return nullptr;
    return handles_.name(pointer, kind.c_str());
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
    firstNumber_ = nextNumber_;
    records_.clear();
    lateResults_.clear();
}

void CallLog::writeJsonLine(std::ostream& out, const CallRecord& r) {
    out << openingOf(r.kind) << dumped(Json(r.op));
    if (r.kind != RecordKind::Trace) out << ",\"args\":" << dumped(r.args);
    if (r.hasResult && !r.lateResult) out << ",\"ret\":" << dumped(r.result);
    out << "}\n";
}

void CallLog::writeJsonLines(std::ostream& out) const {
    auto late = lateResults_.begin();
    const auto writeLateUpTo = [&](std::size_t logged) {
        for (; late != lateResults_.end() && late->after <= logged; ++late) {
            const CallRecord& r = records_[late->number - firstNumber_];
            out << openingOf(r.kind) << dumped(Json(r.op)) << ",\"ret\":" << dumped(r.result)
                << "}\n";
        }
    };
    for (const CallRecord& r : records_) {
        writeLateUpTo(r.number);
        writeJsonLine(out, r);
    }
    writeLateUpTo(nextNumber_);
}

}  // namespace kvsim
