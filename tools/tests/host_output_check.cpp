// Checks what one korvane-host run wrote: every line of the trace is a JSON
// record of one of the three kinds, the timeline is JSON whose spans match
// the summary lines (one Fly, load and unload per flight, one frame span per
// frame, one sub-step span per sub-step, on each of the two tracks), and
// every frame lies inside its flight's Fly span.
//
//   host_output_check TRACE TIMELINE SUMMARY
//
// Prints what it counted; exits 1 at the first mismatch.

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

int failed(const std::string& message) {
    std::fprintf(stderr, "host_output_check: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return failed("usage: host_output_check TRACE TIMELINE SUMMARY");

    std::ifstream trace(argv[1], std::ios::binary);
    if (!trace) return failed(std::string("cannot read ") + argv[1]);
    std::map<std::string, long> kinds;
    long flyCalls = 0;
    std::string line;
    for (long number = 1; std::getline(trace, line); ++number) {
        const Json record = Json::parse(line, nullptr, false);
        if (record.is_discarded() || !record.is_object())
            return failed("trace line " + std::to_string(number) + " is not a JSON object: " + line);
        const int keys = record.contains("op") + record.contains("host") + record.contains("trace");
        if (keys != 1) return failed("trace line " + std::to_string(number) + " is of no one kind: " + line);
        ++kinds[record.contains("op") ? "op" : record.contains("host") ? "host" : "trace"];
        flyCalls += record.value("host", "") == "Fly" && record.contains("args");
    }

    // The summary lines: the counts the timeline must agree with.
    std::ifstream summary(argv[3], std::ios::binary);
    const std::regex fields("flight=(\\d+) fly=(\\d+) frames=(\\d+) simulated=\\S+ substeps=(\\d+) .*");
    long flights = 0, frames = 0, substeps = 0;
    while (std::getline(summary, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // Windows line ends
        std::smatch m;
        if (!std::regex_match(line, m, fields)) continue;
        ++flights;
        frames += std::stol(m[3]);
        substeps += std::stol(m[4]);
    }
    if (flights == 0) return failed("no summary line");
    if (flyCalls != flights) return failed("the trace has " + std::to_string(flyCalls) + " Fly calls for " +
                                           std::to_string(flights) + " flights");

    std::ifstream timelineFile(argv[2], std::ios::binary);
    std::stringstream text;
    text << timelineFile.rdbuf();
    const Json timeline = Json::parse(text.str(), nullptr, false);
    if (timeline.is_discarded() || !timeline.contains("traceEvents") || !timeline["traceEvents"].is_array())
        return failed("the timeline is not a trace-event JSON object");
    std::map<int, std::map<std::string, long>> spans;  // by track
    std::map<int, std::pair<double, double>> lastFly;  // by track: start, end
    for (const Json& event : timeline["traceEvents"]) {
        if (event.value("ph", "") != "X") continue;
        const int track = event.value("tid", 0);
        const std::string name = event.value("name", "");
        const double ts = event.value("ts", -1.0);
        const double dur = event.value("dur", -1.0);
        if (ts < 0 || dur < 0) return failed("span " + name + " has a negative time: " + event.dump());
        ++spans[track][name];
        if (name == "Fly") lastFly[track] = {ts, ts + dur};
    }
    // Frames are written before their Fly span: check them against the Fly
    // span that follows them.
    std::map<int, std::vector<std::pair<double, double>>> pendingFrames;
    for (const Json& event : timeline["traceEvents"]) {
        if (event.value("ph", "") != "X") continue;
        const int track = event.value("tid", 0);
        const std::string name = event.value("name", "");
        const double ts = event.value("ts", 0.0);
        const double end = ts + event.value("dur", 0.0);
        if (name == "frame") pendingFrames[track].push_back({ts, end});
        if (name != "Fly") continue;
        for (const auto& frame : pendingFrames[track]) {
            // Printed with three decimals: allow their rounding.
            if (frame.first < ts - 0.01 || frame.second > end + 0.01)
                return failed("a frame on track " + std::to_string(track) + " lies outside its Fly span");
        }
        pendingFrames[track].clear();
    }
    const std::pair<const char*, long> expected[] = {
        {"Fly", flights}, {"load", flights}, {"unload", flights}, {"frame", frames}, {"sub-step", substeps}};
    for (int track : {1, 2}) {
        for (const auto& [name, count] : expected) {
            if (spans[track][name] != count)
                return failed("track " + std::to_string(track) + " has " + std::to_string(spans[track][name]) + " " +
                              name + " spans, the summary says " + std::to_string(count));
        }
    }
    std::printf("trace: %ld calls, %ld host calls, %ld traces; timeline: %ld frames, %ld sub-steps\n", kinds["op"],
                kinds["host"], kinds["trace"], spans[1]["frame"], spans[1]["sub-step"]);
    return 0;
}
