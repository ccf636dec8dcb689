// korvane-ini lint: reads a flight's start-up file as the module will, and
// tells the flight's author, before the flight runs, what the module would
// silently do otherwise than the file says.
#pragma once

#include <string>

#include "tools/lint_findings.h"

namespace kvtool {

struct LintRequest {
    // As the user names them: relative to the working directory or absolute.
    std::string startupFile;
    // "" for the start-up file's folder, as the host flies it.
    std::string flightDirectory;
    // "" for no player options.
    std::string optionsFile;
};

// A file or folder the request names cannot be read.
struct LintFailure {
    std::string message;
};

// The findings, in file and line order. The working directory is the
// flight directory while it runs, and the caller's again when it returns
// or throws LintFailure.
LintReport lintFlight(const LintRequest& request);

}  // namespace kvtool
