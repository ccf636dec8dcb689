// The checks of `korvane-ini lint`, each over the start-up document as the
// module builds it and the vocabulary the module reads it by.
#pragma once

#include <string>

#include "config/config_document.h"
#include "engine/flight_module.h"
#include "sim/modules/sim_text.h"
#include "tools/lint_findings.h"
#include "tools/lint_source.h"

namespace kvtool {

struct LintContext {
    SourceDocument& startup;
    // With --options: the player's options document, and an engine that
    // read them as a flight load does.
    SourceDocument* options;
    kv::FlightModule* player;
    // The flight directory as the run driver keeps it (backslash form).
    std::string flightDirectory;
    // The stand-in text service, which reads string tables as a flight's
    // text service does.
    kvsim::SimText& text;
    LintReport& report;

    // A finding at where in source's files (the top file's first line when
    // where is no place), or at text, a pointer into source's pool.
    Finding& addAt(const SourceDocument& source, SourceLocation where, Severity severity, const char* kind,
                   std::string message);
    Finding& add(const SourceDocument& source, const char* text, Severity severity, const char* kind,
                 std::string message) {
        return addAt(source, source.locate(text), severity, kind, std::move(message));
    }
};

// Sections and keys the module never reads.
void checkNames(LintContext& context);
// Duplicates the parser dropped, and includes that could not be read.
void checkStructure(LintContext& context);
// Values that will not read as they are written.
void checkValues(LintContext& context);
// Files, string tables, strings and formats the values name.
void checkReferences(LintContext& context);
// What the player's options select: detail sections and the control map.
void checkPlayerOptions(LintContext& context);

// The key of section in document, found as the getters find it; null when
// either is missing.
kv::ConfigKey* findKey(kv::ConfigDocument& document, const char* section, const char* key);
// key's text in double quotes, as findings quote values.
std::string quoted(const char* text);

}  // namespace kvtool
