// Every call between the module and the stand-in host, in call order:
// calls of the module into the host (op), of the host into the module
// (host), and the texts the module handed to its trace routine (trace).
// Tests assert on it; the tools write it as a JSON Lines trace.
//
// A call's arguments and result come in typed (sim/calls/call_values.h) and are
// turned into trace values only as far as someone reads them:
// - InMemory (the default, for tests): every record is kept as Json until
//   clear().
// - Streaming: each record is written straight into a buffered stream as
//   JSON text, nothing is built or kept, so memory stays flat on a long
//   flight.
// - Off: nothing is recorded and handles are not numbered; a call costs a
//   test of the mode.
// In every mode, observers (CallObserver) see each record once it is
// complete: its kind, name, first argument and result, as plain values.
//
// A record is complete when its result is set through returns(), or when
// the next record starts. A result set after that (a host call whose
// module called the host meanwhile) follows as a line of its own:
// {"host":"Fly","ret":0}. The handle call() gives back stays valid for as
// long as anyone keeps it; call names are string literals, which the log
// keeps by pointer.
// Only the Off mode, with no observer, may be used from several threads
// at once: it touches nothing shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "sim/calls/call_values.h"
#include "sim/calls/handle_names.h"
#include "sim/calls/json_value_writer.h"
#include "sim/calls/trace_text.h"

namespace kvsim {

enum class RecordKind { Call, Host, Trace };

// A record kept in memory.
struct CallRecord {
    bool fromHost = false;  // true for a call of the host into the module
    // The operation's name; for a trace record, the formatted text.
    std::string op;
    Json args = Json::array();
    bool hasResult = false;
    Json result;
    RecordKind kind = RecordKind::Call;
    std::size_t number = 0;  // position in the whole log, from 0
    // The result came after the record was complete: the trace has it on a
    // line of its own.
    bool lateResult = false;
};

// A record as an observer sees it.
struct LoggedRecord {
    RecordKind kind;
    // The operation's name, or the trace text; valid during the callback.
    const char* name;
    // A result for a record completed earlier, and nothing else.
    bool late;
    FirstArgument first;
    bool hasResult;
    double result;  // NaN when the result is no number
};

class CallObserver {
public:
    virtual void onRecord(const LoggedRecord& record) = 0;

protected:
    ~CallObserver() = default;
};

// What call() gives back, for returns().
struct RecordRef {
    std::size_t number;
    const char* op;
};

class CallLog {
public:
    enum class Mode { Off, Streaming, InMemory };

    CallLog();
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    // Off and InMemory ignore out; Streaming writes to it, which must live
    // until the mode changes or the log is destroyed. A change of mode
    // writes what Streaming has pending and forgets the records kept.
    void setMode(Mode mode, std::ostream* out = nullptr);
    Mode mode() const { return mode_; }
    bool recording() const { return mode_ != Mode::Off; }

    // Observers see every record from now on, in every mode.
    void addObserver(CallObserver* observer);
    void removeObserver(CallObserver* observer);

    // A call of the module into the host, with its arguments.
    template <typename... Args>
    RecordRef call(const char* op, const Args&... args) {
        if (!active_) return RecordRef{0, op};
        return RecordRef{record(RecordKind::Call, op, args...), op};
    }
    // The same with the arguments given as one JSON array (tests).
    RecordRef call(const char* op, const Json& args);
    template <typename T>
    T returns(const RecordRef& record, T value) {
        if (active_) setResult(RecordKind::Call, record.number, record.op, value);
        return value;
    }
    // A call of the host into the module. Its result comes back through
    // hostReturns once the module has returned, by number, since the
    // module makes calls of its own meanwhile.
    template <typename... Args>
    std::size_t hostCall(const char* op, const Args&... args) {
        if (!active_) return 0;
        const std::size_t number = record(RecordKind::Host, op, args...);
        openHostCall(number, op);
        return number;
    }
    template <typename T>
    T hostReturns(std::size_t number, T value) {
        if (!active_) return value;
        const char* op = closeHostCall(number);
        if (op) setResult(RecordKind::Host, number, op, value);
        return value;
    }
    // A text the module handed to its trace routine, formatted.
    void trace(const char* text);

    // "kind:n" for an opaque handle (see HandleNames); null for a null
    // pointer, and for every pointer while Off.
    Json handle(const void* pointer, const std::string& kind);
    // Drops a freed pointer, so an address reused later gets a new number.
    void forget(const void* pointer) { handles_.forget(pointer); }

    // InMemory: every record since the last clear(). Otherwise none.
    const std::deque<CallRecord>& records() const { return records_; }
    // Names of the module's calls, in order.
    std::vector<std::string> ops() const;
    // The trace texts, in order.
    std::vector<std::string> traces() const;
    std::size_t count(const std::string& op) const;
    // Forgets the records kept (Streaming writes the pending ones first).
    void clear();
    // Completes the record in progress and writes everything pending.
    void flush();

    // The records kept, as Streaming would have written them: one JSON
    // object per line, a late result on a line of its own where it came;
    // texts keep their bytes (invalid UTF-8 is replaced).
    void writeJsonLines(std::ostream& out) const;
    // One record with its arguments and, when it came in time, its result.
    static void writeJsonLine(std::ostream& out, const CallRecord& record);

private:
    struct Pending {
        bool open = false;
        std::size_t number = 0;
        RecordKind kind = RecordKind::Call;
        const char* op = "";
        FirstArgument first = firstArgument();
        std::string firstText;
        bool hasResult = false;
        double result = 0.0;
    };
    struct LateResult {
        std::size_t after;  // the number of records logged when it came
        std::size_t number;
    };

    template <typename... Args>
    std::size_t record(RecordKind kind, const char* op, const Args&... args) {
        const std::size_t number = begin(kind, op);
        if (!observers_.empty()) remember(firstArgument(args...));
        if (mode_ == Mode::Streaming) {
            text_.beginArgs();
            (put(text_, args), ...);
            text_.endArgs();
        } else if (mode_ == Mode::InMemory) {
            JsonValueWriter json(handles_);
            json.beginArray();
            (put(json, args), ...);
            json.endArray();
            keep(kind, op, json.take(), number);
        }
        return number;
    }

    template <typename T>
    void setResult(RecordKind kind, std::size_t number, const char* op, const T& value) {
        const bool inTime = pending_.open && pending_.number == number;
        // What came between is over: it goes out before a late result.
        if (!inTime) complete();
        if (mode_ == Mode::Streaming) {
            if (!inTime) text_.beginRecord(openingOf(kind), op, std::char_traits<char>::length(op));
            text_.beginResult();
            put(text_, value);
            if (!inTime) endLine();
        } else if (mode_ == Mode::InMemory) {
            keepResult(number, toJson(handles_, value), inTime);
        }
        if (inTime) {
            pending_.hasResult = true;
            pending_.result = resultNumber(value);
            complete();
        } else if (!observers_.empty()) {
            notify(LoggedRecord{kind, op, true, firstArgument(), true, resultNumber(value)});
        }
    }

    // {"op": and its kin.
    static const char* openingOf(RecordKind kind);
    std::size_t begin(RecordKind kind, const char* op);
    void remember(const FirstArgument& first);
    // The record in progress is complete: its line ends, observers see it.
    void complete();
    void endLine();
    void notify(const LoggedRecord& record);
    void keep(RecordKind kind, const char* op, Json args, std::size_t number);
    void keepResult(std::size_t number, Json result, bool inTime);
    void openHostCall(std::size_t number, const char* op);
    const char* closeHostCall(std::size_t number);
    void updateActive() { active_ = mode_ != Mode::Off || !observers_.empty(); }

    Mode mode_ = Mode::InMemory;
    bool active_ = true;
    std::ostream* out_ = nullptr;
    std::vector<CallObserver*> observers_;
    HandleNames handles_;
    TraceText text_{handles_};
    Pending pending_;
    // Every record ever begun has a number; the next one's.
    std::size_t nextNumber_ = 0;
    // Host calls whose result has not come back, innermost last.
    std::vector<std::pair<std::size_t, const char*>> openHostCalls_;

    // InMemory: the records since the last clear(), the first one's number,
    // and the results that came late, in the order they came.
    std::deque<CallRecord> records_;
    std::size_t firstNumber_ = 0;
    std::vector<LateResult> lateResults_;
};

}  // namespace kvsim
