// Every call between the module and the stand-in host, in call order:
// calls of the module into the host (op), of the host into the module
// (host), and the texts the module handed to its trace routine (trace).
// Tests assert on it; the tools write it as a JSON Lines trace.
//
// Three modes:
// - InMemory (the default, for tests): every record is kept until clear().
// - Streaming: each record is written as one JSON line as soon as it is
//   complete (when its result is set through returns(), or when the next
//   record starts), then dropped, so memory stays flat on a long flight.
// - Off: nothing is recorded and handles are not numbered; the calls only
//   cost the building of their arguments.
//
// A record returned by call() stays where it is while records are added,
// so a simulated operation may fill in its result after calls of its own.
// In Streaming mode that holds for the next kStreamWindow records only, and
// a result set after its record was written follows as a line of its own
// ({"op":...,"ret":...}); in Off mode every call on one thread gets the
// same scratch record. Nothing may hold a record across a call into the
// module. Only the Off mode may be used from several threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvsim {

// Ordered, so trace lines read "op", "args", "ret" in that order.
using Json = nlohmann::ordered_json;

enum class RecordKind { Call, Host, Trace };

struct CallRecord {
    bool fromHost = false;  // true for a call of the host into the module
    // The operation's name; for a trace record, the formatted text.
    std::string op;
    Json args = Json::array();
    bool hasResult = false;
    Json result;
    RecordKind kind = RecordKind::Call;
    std::size_t number = 0;  // position in the whole log, from 0
};

class CallLog {
public:
    enum class Mode { Off, Streaming, InMemory };
    // How many records a reference from call() outlives in Streaming and
    // Off modes: far more than any simulated operation makes in between.
    static constexpr std::size_t kStreamWindow = 4096;

    CallLog() = default;
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    // Off and InMemory ignore out; Streaming writes to it, which must live
    // until the mode changes or the log is destroyed. A change of mode
    // writes what Streaming has pending and forgets the records kept.
    void setMode(Mode mode, std::ostream* out = nullptr);
    Mode mode() const { return mode_; }
    bool recording() const { return mode_ != Mode::Off; }

    // A call of the module into the host; returns the record so the caller
    // can add the result.
    CallRecord& call(const std::string& op, Json args = Json::array());
    template <typename T>
    T returns(CallRecord& record, T value) {
        if (mode_ == Mode::Off) return value;
        record.hasResult = true;
        record.result = value;
        completed(record);
        return value;
    }
    // A call of the host into the module. Its result comes back through
    // hostReturns once the module has returned, by number rather than by
    // reference, since the module makes calls of its own meanwhile.
    std::size_t hostCall(const std::string& op, Json args = Json::array());
    template <typename T>
    T hostReturns(std::size_t number, T value) {
        if (mode_ != Mode::Off) setHostResult(number, Json(value));
        return value;
    }
    // A text the module handed to its trace routine, formatted.
    void trace(const char* text);

    // "kind:n" for an opaque handle, numbered per kind in order of first
    // sight; null for a null pointer (and for every pointer while Off).
    Json handle(const void* pointer, const std::string& kind);
    // Drops a freed pointer, so an address reused later gets a new number.
    void forget(const void* pointer) { handles_.erase(pointer); }
    // Text argument: null for a null pointer.
    static Json text(const char* s);
    static Json position(const double* p);
    static Json vector3(const float* v);
    static Json orientation(const float* m);

    // InMemory: every record since the last clear(). Streaming: only those
    // not yet dropped. Off: none.
    const std::deque<CallRecord>& records() const { return records_; }
    // Names of the module's calls, in order.
    std::vector<std::string> ops() const;
    // The trace texts, in order.
    std::vector<std::string> traces() const;
    std::size_t count(const std::string& op) const;
    // Forgets the records kept (Streaming writes the pending ones first).
    void clear();
    // Streaming: writes every record not yet written.
    void flush();

    // One JSON object per line; texts keep their bytes (invalid UTF-8 is
    // replaced rather than failing the trace).
    void writeJsonLines(std::ostream& out) const;
    static void writeJsonLine(std::ostream& out, const CallRecord& record);

private:
    CallRecord& add(RecordKind kind, const std::string& op, Json args);
    // Streaming: the record's result is in, so it and those before it go out.
    void completed(const CallRecord& record);
    void setHostResult(std::size_t number, Json value);
    void writePending(std::size_t upTo);
    void dropWritten();

    Mode mode_ = Mode::InMemory;
    std::ostream* out_ = nullptr;
    std::deque<CallRecord> records_;
    // Numbers of records_.front() and of the first record not yet written
    // (Streaming); every record ever added has one.
    std::size_t firstNumber_ = 0;
    std::size_t unwritten_ = 0;
    // Streaming: names of host calls whose result has not come back, so a
    // late result line can name its call; only the latest few are kept.
    std::map<std::size_t, std::string> openHostCalls_;
    std::map<const void*, std::string> handles_;
    std::map<std::string, int> handleCounts_;
};

}  // namespace kvsim
