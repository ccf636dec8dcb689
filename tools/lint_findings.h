// What `korvane-ini lint` reports: one finding per line in the form
// compilers use, "FILE:LINE: error|warning: message", or one JSON object
// per line, and the exit status they add up to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "loading/startup_vocabulary.h"

namespace kvtool {

// Errors: something the flight names cannot be found (a file, an include,
// a string). Warnings: something the module reads otherwise than it is
// written, or never reads.
enum class Severity { kWarning, kError };

struct Finding {
    std::string file;  // as findings name it
    int line = 0;
    // The order of the file among those read, so findings list by file in
    // reading order and then by line.
    int fileOrder = 0;
    Severity severity = Severity::kWarning;
    const char* kind = "";  // a short stable name, for programs
    std::string message;
    // A value finding: the row whose value the module takes otherwise than
    // written, the section it stands in, and the value the engine ends up
    // with (its int32_t or float field).
    const kv::StartupRow* row = nullptr;
    std::string section;
    double valueUsed = 0.0;
};

class LintReport {
public:
    Finding& add(Finding finding) {
        findings_.push_back(std::move(finding));
        return findings_.back();
    }
    // By file in reading order, then by line; equal places keep the order
    // the checks found them in.
    void sort();
    const std::vector<Finding>& findings() const { return findings_; }

    // "FILE:LINE: warning: message" lines.
    std::string plain() const;
    // One object a line: {"file","line","severity","kind","message"}.
    std::string json() const;
    // 0 nothing to report, 1 warnings only, 2 any error.
    int exitStatus() const;

private:
    std::vector<Finding> findings_;
};

// A value as findings quote it: the shortest form that reads back as the
// same 32-bit real.
std::string quoteNumber(double value);

}  // namespace kvtool
