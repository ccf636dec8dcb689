#include "tools/korvane_host_diff_command.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/korvane_host_diff.h"

namespace kvhost {

namespace {

const int kExitEqual = 0;
const int kExitDiffer = 1;
const int kExitBadInput = 2;

bool load(const std::string& path, Trace& trace) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "korvane-host diff: cannot read %s\n", path.c_str());
        return false;
    }
    std::string error;
    if (!readTrace(in, path, trace, error)) {
        std::fprintf(stderr, "korvane-host diff: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

const char* diffUsage() {
    return "korvane-host diff [--tolerance T] [--ignore-paths] [--ignore-flight-folder] [--ignore-sizes] [--max N]\n"
           "                  A.jsonl B.jsonl\n"
           "  compares two traces frame by frame (the load, each frame up to its objEndFrame, and the\n"
           "  unload are sections of their own) and prints the first differences: section, record,\n"
           "  operation and the argument that differs. Exit status 0 equal, 1 different, 2 bad input.\n"
           "  korvane-host diff --help tells more.\n";
}

int runDiffCommand(int argc, char** argv) {
    CLI::App app{"Compares two traces of korvane-host --trace in the module's terms. Each trace is cut into\n"
                 "sections: \"binding\" (before Fly), \"load\" (Fly to the checkpoint \"End of _LoadKorvane\"),\n"
                 "\"frame N\" (up to the N-th objEndFrame, from 0), \"unload\" (after the last frame, to Fly's\n"
                 "return) and \"unbinding\"; with several flights, \"flight K, \" comes first. Sections pair by\n"
                 "name, so a call moved to another frame shows in those frames only. Records compare by kind,\n"
                 "operation, every argument and the result; reals bit for bit unless --tolerance is given.\n"
                 "Records count from 1 within their section.",
                 "korvane-host diff"};
    app.footer("\nExit status: 0 the traces are equal, 1 they differ, 2 bad arguments or a file that is not a\n"
               "trace (the message names the line).");
    app.allow_windows_style_options(false);
    DiffOptions options;
    std::string pathA, pathB;
    app.add_option("--tolerance", options.tolerance,
                   "Reals match when they differ by at most T, absolutely or relative to the\n"
                   "larger magnitude (default 0: bit for bit)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("T");
    app.add_flag("--ignore-paths", options.ignorePaths,
                 "Texts that are both absolute paths match, whatever their folder, drive\n"
                 "letter or separators (the same flight flown elsewhere or on another system)");
    app.add_flag("--ignore-flight-folder", options.ignoreFlightFolder,
                 "The folder each trace's Fly names is left out of every text, however it\n"
                 "is spelt: paths under it compare by what follows it (the same flight\n"
                 "flown from another folder or on another system)");
    app.add_flag("--ignore-sizes", options.ignoreSizes,
                 "memAlloc's size argument is not compared (records are smaller in 32 bits)");
    app.add_option("--max", options.maxShown, "Show the first difference of at most N sections (default 10)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("N");
    app.add_option("A", pathA, "The first trace")->required()->type_name("");
    app.add_option("B", pathB, "The second trace")->required()->type_name("");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kExitEqual : kExitBadInput;
    }

    Trace a, b;
    if (!load(pathA, a) || !load(pathB, b)) return kExitBadInput;
    const DiffResult result = diffTraces(a, b, options, std::cout);
    std::cout.flush();
    return result.sectionsDiffering == 0 ? kExitEqual : kExitDiffer;
}

}  // namespace kvhost
