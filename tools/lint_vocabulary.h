// The start-up vocabulary (loading/startup_vocabulary) as a checker asks
// it: which sections and keys the module reads, which row reads a key, and
// the known name nearest to a misspelt one. Names match as the document's
// lookups match them: without regard to case.
#pragma once

#include <string>
#include <vector>

#include "loading/startup_vocabulary.h"

namespace kvtool {

// The rows that read a key of their own: the start-up rows, then the
// loading screen's.
const std::vector<const kv::StartupRow*>& keyRows();

bool sectionKnown(const char* section);
// The sections the module reads, each once, in reading order.
std::vector<std::string> knownSections();

// The rows that read key in section. A detail row reads its key in every
// detail section; the start view's row reads every key its format makes.
std::vector<const kv::StartupRow*> rowsReading(const char* section, const char* key);
// The sections in which the module reads key.
std::vector<std::string> sectionsReading(const char* key);
// The keys the module reads in section, as the vocabulary spells them.
std::vector<std::string> knownKeys(const char* section);

// Whether row reads its key from section.
bool rowInSection(const kv::StartupRow& row, const char* section);

// The candidate nearest to name, or "" when none is near enough to be
// what was meant: a few letters apart, or one name the start of the other.
std::string closestName(const std::string& name, const std::vector<std::string>& candidates);

}  // namespace kvtool
