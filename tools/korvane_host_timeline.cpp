#include "tools/korvane_host_timeline.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kvhost {

namespace {

// Two tracks of one process.
const int kVirtualTrack = 1;
const int kWallTrack = 2;

std::string jsonText(const std::string& text) { return kvsim::Json(text).dump(-1, ' ', false, kvsim::Json::error_handler_t::replace); }

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", std::isfinite(value) ? value : 0.0);
    return text;
}

}  // namespace

Timeline::Timeline(std::ostream& out, std::function<double()> clock)
    : out_(out), clock_(std::move(clock)), wallStart_(std::chrono::steady_clock::now()) {
    lastClock_ = clock_();
    out_ << "{\"displayTimeUnit\":\"ms\",\"traceEvents\":[\n";
    event("{\"name\":\"process_name\",\"ph\":\"M\",\"pid\":1,\"args\":{\"name\":\"korvane-host\"}}");
    event("{\"name\":\"thread_name\",\"ph\":\"M\",\"pid\":1,\"tid\":1,\"args\":{\"name\":\"virtual clock\"}}");
    event("{\"name\":\"thread_name\",\"ph\":\"M\",\"pid\":1,\"tid\":2,\"args\":{\"name\":\"wall clock\"}}");
}

Timeline::~Timeline() { finish(); }

void Timeline::finish() {
    if (finished_) return;
    finished_ = true;
    out_ << "\n]}\n";
    out_.flush();
}

Timeline::Moment Timeline::now() {
    const double clock = clock_();
    // A reset (a new flight, the run driver's clkReset) moves the stand-in
    // clock back; the time line does not follow it.
    if (std::isfinite(clock) && clock > lastClock_) virtualSeconds_ += clock - lastClock_;
    lastClock_ = std::isfinite(clock) ? clock : lastClock_;
    const double wall = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - wallStart_).count();
    lastMoment_ = Moment{virtualSeconds_ * 1e6, wall};
    return lastMoment_;
}

void Timeline::event(const std::string& body) {
    if (finished_) return;
    out_ << (first_ ? "" : ",\n") << body;
    first_ = false;
}

void Timeline::span(const char* name, const Moment& begin, const Moment& end, const std::string& args) {
    const std::string head = std::string("{\"name\":\"") + name + "\",\"cat\":\"flight\",\"ph\":\"X\",\"pid\":1,";
    event(head + "\"tid\":" + std::to_string(kVirtualTrack) + ",\"ts\":" + number(begin.virtualUs) +
          ",\"dur\":" + number(end.virtualUs - begin.virtualUs) + ",\"args\":" + args + "}");
    event(head + "\"tid\":" + std::to_string(kWallTrack) + ",\"ts\":" + number(begin.wallUs) +
          ",\"dur\":" + number(end.wallUs - begin.wallUs) + ",\"args\":" + args + "}");
}

void Timeline::instant(const std::string& name, const Moment& at, const std::string& args) {
    const std::string head = "{\"name\":" + jsonText(name) + ",\"cat\":\"flight\",\"ph\":\"i\",\"s\":\"t\",\"pid\":1,";
    event(head + "\"tid\":" + std::to_string(kVirtualTrack) + ",\"ts\":" + number(at.virtualUs) + ",\"args\":" + args + "}");
    event(head + "\"tid\":" + std::to_string(kWallTrack) + ",\"ts\":" + number(at.wallUs) + ",\"args\":" + args + "}");
}

void Timeline::flyBegin(int flight, const std::string& directory) {
    flyBegin_ = now();
    inFly_ = true;
    flight_ = flight;
    directory_ = directory;
    loading_ = loaded_ = inFrame_ = unloading_ = false;
    frame_ = 0;
}

void Timeline::flyEnd(int32_t result) {
    const Moment at = now();
    if (inFrame_) endFrame(at);
    if (loading_) endLoad(at);
    if (unloading_) span("unload", unloadBegin_, at);
    unloading_ = false;
    if (inFly_)
        span("Fly", flyBegin_, at,
             "{\"flight\":" + std::to_string(flight_) + ",\"directory\":" + jsonText(directory_) +
                 ",\"result\":" + std::to_string(result) + "}");
    inFly_ = false;
}

void Timeline::endLoad(const Moment& at) {
    span("load", loadBegin_, at);
    loading_ = false;
    loaded_ = true;
}

void Timeline::endFrame(const Moment& at) {
    // The sub-steps share the frame's virtual span by their lengths; with
    // no length at all (simulated time 0) they share it evenly.
    double total = 0.0;
    for (const SubStep& s : subSteps_) total += std::isfinite(s.length) && s.length > 0 ? s.length : 0.0;
    const double width = at.virtualUs - frameBegin_.virtualUs;
    double offset = 0.0;
    for (std::size_t i = 0; i < subSteps_.size(); ++i) {
        const SubStep& s = subSteps_[i];
        const double share = total > 0.0 ? (std::isfinite(s.length) && s.length > 0 ? s.length : 0.0) / total
                                         : 1.0 / static_cast<double>(subSteps_.size());
        const Moment begin{frameBegin_.virtualUs + width * offset, s.wallBegin};
        offset += share;
        const Moment end{frameBegin_.virtualUs + width * offset, s.wallEnd};
        span("sub-step", begin, end, "{\"length\":" + number(s.length) + "}");
    }
    span("frame", frameBegin_, at,
         "{\"frame\":" + std::to_string(frame_) + ",\"substeps\":" + std::to_string(subSteps_.size()) + "}");
    subSteps_.clear();
    inFrame_ = false;
    ++frame_;
}

void Timeline::onRecord(const kvsim::LoggedRecord& record) {
    if (!inFly_ || finished_ || record.late) return;
    const Moment before = lastMoment_;
    const Moment at = now();
    const char* op = record.name;
    const kvsim::FirstArgument& first = record.first;
    if (record.kind == kvsim::RecordKind::Host && std::strcmp(op, "command") == 0) {
        std::string name = "command";
        if (first.text) name.append(" ").append(first.text, first.length);
        instant(name, at);
        return;
    }
    if (record.kind != kvsim::RecordKind::Call) return;
    if (std::strcmp(op, "memCheckpoint") == 0) {
        const std::string label = first.text ? std::string(first.text, first.length) : "checkpoint";
        if (label == "Start of _LoadKorvane" && !loading_) {
            loading_ = true;
            loadBegin_ = at;
        }
        instant(label, at);
        if (label == "End of _LoadKorvane" && loading_) endLoad(at);
        return;
    }
    if (!loaded_) return;
    const auto is = [op](const char* name) { return std::strcmp(op, name) == 0; };
    if (is("clkUpdate") && !unloading_) {
        if (inFrame_) endFrame(before);
        // The line comes once clkUpdate has returned: the clock has moved
        // on by this frame's time, which the frame covers.
        inFrame_ = true;
        frameBegin_ = Moment{before.virtualUs, at.wallUs};
    } else if (is("objUpdate") && inFrame_) {
        subStepWall_ = at.wallUs;
    } else if (is("wldUpdate") && inFrame_) {
        subSteps_.push_back(SubStep{std::isnan(first.number) ? 0.0 : first.number, subStepWall_, at.wallUs});
    } else if (is("ptsUpdate") && inFrame_ && !subSteps_.empty()) {
        subSteps_.back().wallEnd = at.wallUs;
    } else if (is("objEndFrame") && inFrame_) {
        endFrame(at);
    } else if (is("sndStopStream") && !unloading_) {
        if (inFrame_) endFrame(before);
        unloading_ = true;
        unloadBegin_ = at;
    }
}

}  // namespace kvhost
