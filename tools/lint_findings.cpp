#include "tools/lint_findings.h"

#include <algorithm>

#include "tools/ini_output.h"

namespace kvtool {

namespace {

const char* severityName(Severity severity) { return severity == Severity::kError ? "error" : "warning"; }

}  // namespace

void LintReport::sort() {
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
        if (a.fileOrder != b.fileOrder) return a.fileOrder < b.fileOrder;
        return a.line < b.line;
    });
}

std::string LintReport::plain() const {
    std::string out;
    for (const Finding& finding : findings_) {
        out += finding.file + ":" + std::to_string(finding.line) + ": " + severityName(finding.severity) + ": " +
               finding.message + "\n";
    }
    return out;
}

std::string LintReport::json() const {
    std::string out;
    for (const Finding& finding : findings_) {
        out += "{\"file\":";
        appendJsonString(out, finding.file.c_str());
        out += ",\"line\":" + std::to_string(finding.line) + ",\"severity\":\"" + severityName(finding.severity) +
               "\",\"kind\":\"" + finding.kind + "\",\"message\":";
        appendJsonString(out, finding.message.c_str());
        out += "}\n";
    }
    return out;
}

int LintReport::exitStatus() const {
    if (findings_.empty()) return 0;
    const bool error = std::any_of(findings_.begin(), findings_.end(),
                                   [](const Finding& finding) { return finding.severity == Severity::kError; });
    return error ? 2 : 1;
}

std::string quoteNumber(double value) { return formatReal(static_cast<float>(value)); }

}  // namespace kvtool
