// The pieces of the scenario reader: the key table's lookups and the
// layout scan that finds where each section and key is written.
#pragma once

#include <string>
#include <vector>

#include "sim/scenario/scenario_file.h"

namespace kvsim {
namespace scenario_detail {

std::string trim(const std::string& s);
// Section and key names match without regard to case, as the
// configuration library matches them.
bool sameName(const std::string& a, const std::string& b);

// The table entry for a key of section, or null.
const ScenarioKey* findKey(const std::string& section, const std::string& key);
bool knownSection(const std::string& section);
// The sections of the table, in its order, separated by ", ".
std::string knownSections();

//
// The configuration library keeps no line numbers, and drops some lines
// without a word (a key after a "#" line inside a section, a line that is
// not a key, a repeated key or section). The layout scan reads the same
// files by the library's own line rules, finds every line of a section and
// key for the error messages, and refuses what the library would drop.

struct Place {
    std::string file;
    int line = 0;
    std::string section;
    std::string key;  // empty for the section header
};

struct Layout {
    std::vector<Place> places;
    std::vector<std::string> stack;  // files being read, for cycles
    std::vector<std::string> seen;  // every file read, in order
    long long includeBytes = 0;
};

// Scans name (read from the working directory) and, after it, the files
// it includes, depth first; false with error set at the first line the
// configuration library would drop or that could not be read.
bool scanFile(const std::string& name, const std::string& from, int fromLine, Layout& layout,
              ScenarioError& error);
// The first place of a key (or, with an empty key, of the section header).
const Place* placeOf(const Layout& layout, const std::string& section, const std::string& key);

// Sets error and returns false.
bool fail(ScenarioError& error, const std::string& file, int line, const std::string& key,
          const std::string& message);
std::string sectionLabel(const std::string& section);
std::string keyLabel(const std::string& section, const std::string& key);
// A file name of this system in the form the module's file manager takes.
std::string toModulePath(std::string path);

}  // namespace scenario_detail
}  // namespace kvsim
