// Scenario files: a Scenario written as INI, read with the module's own
// configuration library. Every section and key is listed in one table
// (scenarioKeys) that the reader checks against and that korvane-host's
// --help and the documentation print, so none of them can drift from the
// others. The reader is strict: an unknown section or key, a value that
// does not parse, a key written twice or a key the configuration library
// would silently drop is an error naming the file, the line and the key.
#pragma once

#include <string>

#include "sim/scenario/scenario.h"

namespace kvsim {

struct ScenarioKey {
    const char* section;
    // A name in parentheses stands for any key: "(frame)" for a frame
    // number ([Events]), "(file)" for a module file's name ([Modules]).
    const char* key;
    const char* defaultText;
    const char* meaning;
    // Stores the value into the scenario; false with a reason in problem
    // when it does not parse.
    bool (*apply)(Scenario& scenario, const std::string& key, const std::string& value, std::string& problem);
};

// The table, in the order the documentation lists it; ends with an entry
// whose section is null.
const ScenarioKey* scenarioKeys();

struct ScenarioError {
    std::string file;
    int line = 0;  // 0 when the error belongs to the file as a whole
    std::string key;  // "[Section] Key", "[Section]" or ""
    std::string message;
    // "file:line: [Section] Key: message"
    std::string text() const;
};

// Reads the scenario file at path (a path of this system, relative to the
// working directory or absolute) over the defaults already in scenario.
// Includes are taken relative to the scenario file's folder. On failure
// returns false with error set; scenario may then hold part of the file.
bool readScenarioFile(const std::string& path, Scenario& scenario, ScenarioError& error);

// The key table as plain text for --help, and as a Markdown table for the
// documentation.
std::string scenarioKeysText();
std::string scenarioKeysMarkdown();

}  // namespace kvsim
