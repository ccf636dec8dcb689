// The call log's trace, watched line by line as it is written. korvane-host
// runs the log in streaming mode into a TraceTap: each JSON line goes on to
// the trace file (when there is one) and to the observers, which derive the
// summary counts, the timeline and the loading bar from the records rather
// than from anything inside the module.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "sim/call_log.h"

namespace kvhost {

// One trace line, with its name read cheaply; the whole object is parsed
// only when an observer asks for it.
class TraceLine {
public:
    enum class Kind { Call, Host, HostResult, Trace, Other };
    explicit TraceLine(const std::string& text);

    Kind kind() const { return kind_; }
    // The operation of a call or host call; empty for a trace text.
    const std::string& name() const { return name_; }
    bool is(const char* op) const { return kind_ == Kind::Call && name_ == op; }
    // The parsed object (null when the line is not JSON).
    const kvsim::Json& json() const;
    // The first argument as a number, or fallback.
    double firstNumber(double fallback = 0.0) const;

private:
    const std::string& text_;
    Kind kind_ = Kind::Other;
    std::string name_;
    mutable bool parsed_ = false;
    mutable kvsim::Json json_;
};

class TraceObserver {
public:
    virtual void onLine(const TraceLine& line) = 0;

protected:
    ~TraceObserver() = default;
};

// A stream buffer that splits what is written into lines, copies every byte
// to an optional file and hands each complete line to the observers.
class TraceTap : public std::streambuf {
public:
    explicit TraceTap(std::ostream* copy = nullptr) : copy_(copy) {}
    void addObserver(TraceObserver* observer) { observers_.push_back(observer); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void take(const char* s, std::size_t n);

    std::ostream* copy_;
    std::vector<TraceObserver*> observers_;
    std::string pending_;
};

}  // namespace kvhost
