// korvane-host diff: the trace comparer on the command line.
#pragma once

namespace kvhost {

// The usage of the diff subcommand, for korvane-host --help.
const char* diffUsage();

// argv[0] is "diff". Exit status: 0 equal, 1 different, 2 bad arguments or
// a trace that cannot be read.
int runDiffCommand(int argc, char** argv);

}  // namespace kvhost
