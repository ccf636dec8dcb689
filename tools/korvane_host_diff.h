// Compares two traces that korvane-host wrote, in the module's terms.
//
// Both traces are cut into sections, which are then compared pairwise by
// name, so that a call moved from one frame to the next shows up in those
// two frames and nowhere else:
// - "binding": the records before the first Fly;
// - "load": from the host's Fly call to the memory checkpoint
//   "End of _LoadKorvane" (to Fly's return when the load failed);
// - "frame N": the records after the previous frame (or the load) up to
//   and including the N-th objEndFrame, counted from 0 as the module
//   counts its frames;
// - "unload": what follows the last frame until Fly returns;
// - "unbinding": what follows the last Fly's return.
// With more than one Fly, every section inside one is prefixed
// "flight K, " and host calls between two flights form "after flight K".
//
// Inside a section, records are compared position by position: kind
// (op, host, trace), name, every argument, the result. Reals are compared
// exactly unless a tolerance is given.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvhost {

struct DiffOptions {
    // Two reals match when they differ by at most this much, absolutely or
    // relative to the larger magnitude; 0 = bit for bit.
    double tolerance = 0.0;
    // Texts that are both absolute paths match whatever folder they name
    // and however they spell it (drive letter, backslashes): the same
    // flight flown from two places, or on two systems.
    bool ignorePaths = false;
    // The folder each trace's flight was flown from (what its Fly names)
    // is left out of every text, however it is spelt (separators, drive
    // letter, case): the same flight flown from two folders, or on two
    // systems, still compares by the file names under it.
    bool ignoreFlightFolder = false;
    // memAlloc's size argument is not compared: records are smaller on a
    // 32-bit build.
    bool ignoreSizes = false;
    // Sections whose first difference is printed; the rest are counted.
    int maxShown = 10;
};

struct TraceRecord {
    nlohmann::json value;
    std::string text;  // the line as written, for showing it
    std::size_t line;  // from 1
};

struct TraceSection {
    std::string name;
    std::string flightFolder;  // what the Fly it belongs to names; empty before the first
    std::vector<TraceRecord> records;
};

struct Trace {
    std::string name;  // the file, for messages
    std::vector<TraceSection> sections;
    std::size_t recordCount = 0;
};

// Reads a JSON Lines trace into sections. False with a message naming the
// line when a line is not a JSON object of exactly one kind (op, host,
// trace). Blank lines are skipped; a CR before a line end is dropped.
bool readTrace(std::istream& in, const std::string& name, Trace& trace, std::string& error);

struct DiffResult {
    std::size_t sectionsCompared = 0;
    std::size_t sectionsDiffering = 0;
};

// Writes the first differences to out, one block per differing section
// (at most options.maxShown), then one summary line.
DiffResult diffTraces(const Trace& a, const Trace& b, const DiffOptions& options, std::ostream& out);

}  // namespace kvhost
