// Order checks over the stand-in host's call log. A step is "op" or
// "op arg": it matches a call of the module named op whose first argument,
// when given, is the text arg. A step "host:Op" matches a call of the host
// into the module instead, and "trace:text" a trace text equal to text.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/calls/call_log.h"

namespace kvtest {

inline bool stepMatches(const kvsim::CallRecord& record, const std::string& step) {
    if (step.compare(0, 6, "trace:") == 0)
        return record.kind == kvsim::RecordKind::Trace && record.op == step.substr(6);
    const bool hostStep = step.compare(0, 5, "host:") == 0;
    const std::string body = hostStep ? step.substr(5) : step;
    if (record.kind != (hostStep ? kvsim::RecordKind::Host : kvsim::RecordKind::Call)) return false;
    const std::size_t space = body.find(' ');
    if (record.op != body.substr(0, space)) return false;
    if (space == std::string::npos) return true;
    return !record.args.empty() && record.args[0].is_string() &&
           record.args[0].get<std::string>() == body.substr(space + 1);
}

inline std::string describe(const kvsim::CallRecord& record) {
    if (record.kind == kvsim::RecordKind::Trace) return "trace:" + record.op;
    std::string line = (record.kind == kvsim::RecordKind::Host ? "host:" : "") + record.op;
    if (!record.args.empty() && record.args[0].is_string())
        line += " " + record.args[0].get<std::string>();
    return line;
}

// The steps appear in the log in this order, other calls between them.
inline ::testing::AssertionResult callsInOrder(const kvsim::CallLog& log,
                                               const std::vector<std::string>& steps) {
    const auto& records = log.records();
    std::size_t at = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        while (at < records.size() && !stepMatches(records[at], steps[i])) ++at;
        if (at == records.size()) {
            std::ostringstream out;
            out << "step " << i << " \"" << steps[i] << "\" not found after step "
                << (i ? "\"" + steps[i - 1] + "\"" : std::string("(start)")) << "; the log:";
            for (const auto& record : records) out << "\n  " << describe(record);
            return ::testing::AssertionFailure() << out.str();
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

// The calls of the module that match filter, described as steps, in order.
inline std::vector<std::string> callsMatching(const kvsim::CallLog& log,
                                              const std::vector<std::string>& ops) {
    std::vector<std::string> out;
    for (const auto& record : log.records())
        for (const auto& op : ops)
            if (stepMatches(record, op)) {
                out.push_back(describe(record));
                break;
            }
    return out;
}

}  // namespace kvtest
