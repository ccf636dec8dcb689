#include "tools/korvane_host_diff.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <istream>
#include <ostream>
#include <utility>

namespace kvhost {

namespace {

using Json = nlohmann::json;

const char* const kEndOfLoad = "End of _LoadKorvane";
// How far ahead a call that one trace has and the other lacks is looked for.
const std::size_t kResyncWindow = 16;
// Records that must agree after such a shift before it is believed.
const std::size_t kResyncRun = 3;
// Longest text shown for one value or one record.
const std::size_t kShownLength = 160;

// The key that names a record's kind: "op", "host" or "trace".
const char* kindOf(const Json& record) {
    for (const char* kind : {"op", "host", "trace"}) {
        if (record.contains(kind)) return kind;
    }
    return nullptr;
}

bool isHost(const Json& record, const char* name) { return record.value("host", "") == name; }
bool isOp(const Json& record, const char* name) { return record.value("op", "") == name; }

bool isFlyStart(const Json& record) { return isHost(record, "Fly") && record.contains("args"); }
bool isFlyEnd(const Json& record) { return isHost(record, "Fly") && record.contains("ret"); }

bool isEndOfLoad(const Json& record) {
    if (!isOp(record, "memCheckpoint")) return false;
    const Json& args = record["args"];
    return args.is_array() && !args.empty() && args[0] == kEndOfLoad;
}

std::string shown(std::string text) {
    if (text.size() > kShownLength) text = text.substr(0, kShownLength) + "...";
    return text;
}

std::string shown(const Json& value) { return shown(value.dump(-1, ' ', false, Json::error_handler_t::replace)); }

// "op gfxFillRect", "host Fly", "trace": what a record is, in a few words.
std::string recordTitle(const Json& record) {
    const char* kind = kindOf(record);
    if (std::string(kind) == "trace") return "trace";
    return std::string(kind) + " " + record[kind].get<std::string>();
}

// Cuts the records into sections; see the header.
class Sectioner {
public:
    Sectioner(Trace& trace, std::size_t flights) : trace_(trace), flights_(flights) {}

    void add(TraceRecord record) {
        const Json& value = record.value;
        if (isFlyStart(value)) {
            close();
            const Json& args = value["args"];
            folder_ = args.is_array() && !args.empty() && args[0].is_string() ? args[0].get<std::string>() : "";
            current_.flightFolder = folder_;
            ++flight_;
            frame_ = 0;
            state_ = State::Load;
            current_.name = prefix() + "load";
        }
        const bool flyEnd = isFlyEnd(value) && state_ != State::Outside;
        const bool endOfLoad = state_ == State::Load && isEndOfLoad(value);
        const bool endOfFrame = state_ == State::Frames && isOp(value, "objEndFrame");
        current_.records.push_back(std::move(record));
        if (flyEnd) {
            // What follows the last frame, up to Fly's return.
            if (state_ == State::Frames) current_.name = prefix() + "unload";
            close();
            state_ = State::Outside;
            current_.name = flight_ < flights_ ? "after flight " + std::to_string(flight_) : "unbinding";
        } else if (endOfLoad || endOfFrame) {
            close();
            if (endOfFrame) ++frame_;
            state_ = State::Frames;
            current_.name = prefix() + "frame " + std::to_string(frame_);
        }
    }

    void close() {
        if (!current_.records.empty()) trace_.sections.push_back(std::move(current_));
        current_ = TraceSection{};
        current_.flightFolder = folder_;
    }

private:
    enum class State { Outside, Load, Frames };

    std::string prefix() const { return flights_ > 1 ? "flight " + std::to_string(flight_) + ", " : ""; }

    Trace& trace_;
    std::size_t flights_;
    std::size_t flight_ = 0;
    std::size_t frame_ = 0;
    std::string folder_;
    State state_ = State::Outside;
    TraceSection current_{"binding", "", {}};
};

bool isAbsolutePath(const std::string& text) {
    if (!text.empty() && (text[0] == '/' || text[0] == '\\')) return true;
    return text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
           (text[2] == '\\' || text[2] == '/');
}

// A path as compared for the flight folder: separators as '/', letters in
// one case. One character for one, so positions stay those of the text.
std::string folderForm(std::string text) {
    for (char& c : text) {
        if (c == '\\') c = '/';
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool isDriveAt(const std::string& text, std::size_t at) {
    return at + 1 < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) && text[at + 1] == ':';
}

// The text with every mention of the flight folder replaced by one marker:
// with or without a drive letter, either separator, any case, and only
// where whole folder names begin and end (not /var/tmp/a for /tmp/a).
std::string withoutFlightFolder(const std::string& text, const std::string& folder) {
    std::string wanted = folderForm(folder);
    if (isDriveAt(wanted, 0)) wanted.erase(0, 2);
    while (!wanted.empty() && wanted.back() == '/') wanted.pop_back();
    // The root alone would take every path's first separator.
    if (wanted.empty()) return text;
    const std::string form = folderForm(text);
    std::string result;
    std::size_t copied = 0;
    for (std::size_t at = form.find(wanted); at != std::string::npos; at = form.find(wanted, at + 1)) {
        const std::size_t end = at + wanted.size();
        if (end < form.size() && form[end] != '/') continue;
        const std::size_t start = at >= 2 && isDriveAt(form, at - 2) ? at - 2 : at;
        if (start < copied || (start == at && at > 0 && std::isalnum(static_cast<unsigned char>(form[at - 1]))))
            continue;
        result.append(text, copied, start - copied).append("<flight folder>");
        copied = end;
    }
    return result.append(text, copied, std::string::npos);
}

bool sameReal(double a, double b, double tolerance) {
    if (tolerance <= 0.0) return a == b && std::signbit(a) == std::signbit(b);
    const double gap = std::fabs(a - b);
    return gap <= tolerance || gap <= tolerance * std::max(std::fabs(a), std::fabs(b));
}

// Where two records first disagree: which part, and the two values.
struct Mismatch {
    std::string where;
    std::string inA;
    std::string inB;
};

class RecordComparer {
public:
    // folderA and folderB: the flight folders of the two sections compared.
    RecordComparer(const DiffOptions& options, const std::string& folderA, const std::string& folderB)
        : options_(options), folderA_(folderA), folderB_(folderB) {}

    bool same(const Json& a, const Json& b, Mismatch* mismatch = nullptr) const {
        Mismatch found;
        if (!sameRecord(a, b, found)) {
            if (mismatch) *mismatch = std::move(found);
            return false;
        }
        return true;
    }

private:
    bool sameRecord(const Json& a, const Json& b, Mismatch& m) const {
        if (recordTitle(a) != recordTitle(b)) {
            m = {"", recordTitle(a), recordTitle(b)};
            return false;
        }
        if (a.contains("trace")) return sameValue(a["trace"], b["trace"], "text", m);
        for (const char* part : {"args", "ret"}) {
            if (a.contains(part) != b.contains(part)) {
                m = {part, a.contains(part) ? shown(a[part]) : "none", b.contains(part) ? shown(b[part]) : "none"};
                return false;
            }
            if (a.contains(part) && !sameValue(comparable(a, part), comparable(b, part), part, m)) return false;
        }
        return true;
    }

    // A record's part as it is compared: memAlloc's size left out on request.
    Json comparable(const Json& record, const char* part) const {
        Json value = record[part];
        if (options_.ignoreSizes && isOp(record, "memAlloc") && std::string(part) == "args" && value.is_array() &&
            !value.empty())
            value[0] = "(size)";
        return value;
    }

    bool sameValue(const Json& a, const Json& b, const std::string& path, Mismatch& m) const {
        if (a.is_number_float() && b.is_number_float()) {
            if (sameReal(a.get<double>(), b.get<double>(), options_.tolerance)) return true;
        } else if (a.is_string() && b.is_string()) {
            const auto& x = a.get_ref<const std::string&>();
            const auto& y = b.get_ref<const std::string&>();
            if (x == y || (options_.ignorePaths && isAbsolutePath(x) && isAbsolutePath(y))) return true;
            if (options_.ignoreFlightFolder && withoutFlightFolder(x, folderA_) == withoutFlightFolder(y, folderB_))
                return true;
        } else if (a.is_array() && b.is_array() && a.size() == b.size()) {
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (!sameValue(a[i], b[i], path + "[" + std::to_string(i) + "]", m)) return false;
            }
            return true;
        } else if (a.is_object() && b.is_object() && sameKeys(a, b)) {
            for (auto it = a.begin(); it != a.end(); ++it) {
                if (!sameValue(it.value(), b[it.key()], path + "." + it.key(), m)) return false;
            }
            return true;
        } else if (a.is_number_float() == b.is_number_float() && !a.is_structured() && a == b) {
            return true;
        }
        m = {path, shown(a), shown(b)};
        return false;
    }

    static bool sameKeys(const Json& a, const Json& b) {
        if (a.size() != b.size()) return false;
        for (auto it = a.begin(); it != a.end(); ++it) {
            if (!b.contains(it.key())) return false;
        }
        return true;
    }

    const DiffOptions& options_;
    const std::string& folderA_;
    const std::string& folderB_;
};

// How many records one side has at `at` that the other lacks, when a few
// records further on both agree again: >0 extra in A, <0 extra in B, 0 none.
long extraRecords(const TraceSection& a, const TraceSection& b, std::size_t at, const RecordComparer& same) {
    auto agreeFrom = [&](std::size_t i, std::size_t j) {
        const std::size_t run = std::min({kResyncRun, a.records.size() - i, b.records.size() - j});
        if (run == 0) return i == a.records.size() && j == b.records.size();
        for (std::size_t k = 0; k < run; ++k) {
            if (!same.same(a.records[i + k].value, b.records[j + k].value)) return false;
        }
        return true;
    };
    for (std::size_t shift = 1; shift <= kResyncWindow; ++shift) {
        if (at + shift <= a.records.size() && agreeFrom(at + shift, at)) return static_cast<long>(shift);
        if (at + shift <= b.records.size() && agreeFrom(at, at + shift)) return -static_cast<long>(shift);
    }
    return 0;
}

std::string countsText(const TraceSection& a, const TraceSection& b) {
    if (a.records.size() == b.records.size()) return "of " + std::to_string(a.records.size());
    return "of " + std::to_string(a.records.size()) + " in A, " + std::to_string(b.records.size()) + " in B";
}

void showLine(std::ostream& out, const char* side, const TraceRecord& record) {
    out << "  " << side << " line " << record.line << ": " << shown(record.text) << '\n';
}

// Compares one pair of sections; writes its first difference when show.
bool sectionsDiffer(const TraceSection& a, const TraceSection& b, const DiffOptions& options, bool show,
                    std::ostream& out) {
    const RecordComparer compare(options, a.flightFolder, b.flightFolder);
    const std::size_t common = std::min(a.records.size(), b.records.size());
    for (std::size_t i = 0; i < common; ++i) {
        Mismatch m;
        if (compare.same(a.records[i].value, b.records[i].value, &m)) continue;
        if (!show) return true;
        const std::string title = recordTitle(a.records[i].value);
        out << a.name << ", record " << (i + 1) << ' ' << countsText(a, b) << ": ";
        if (m.where.empty())
            out << "A has " << m.inA << ", B has " << m.inB << '\n';
        else
            out << title << ", " << m.where << ": A " << m.inA << ", B " << m.inB << '\n';
        showLine(out, "A", a.records[i]);
        showLine(out, "B", b.records[i]);
        if (m.where.empty()) {
            const long extra = extraRecords(a, b, i, compare);
            const char* side = extra > 0 ? "A" : "B";
            const char* other = extra > 0 ? "B" : "A";
            const std::size_t n = static_cast<std::size_t>(extra > 0 ? extra : -extra);
            if (n > 0)
                out << "  " << side << " has " << n << (n == 1 ? " record" : " records") << " here that " << other
                    << " lacks, then both go on alike\n";
        }
        return true;
    }
    if (a.records.size() == b.records.size()) return false;
    if (!show) return true;
    const bool longerA = a.records.size() > b.records.size();
    const TraceSection& longer = longerA ? a : b;
    out << a.name << ", record " << (common + 1) << ' ' << countsText(a, b) << ": only " << (longerA ? "A" : "B")
        << " goes on, with " << recordTitle(longer.records[common].value) << '\n';
    showLine(out, longerA ? "A" : "B", longer.records[common]);
    return true;
}

void showLoneSection(std::ostream& out, const TraceSection& section, const char* side) {
    out << section.name << ": only in " << side << " (" << section.records.size() << " records, from "
        << recordTitle(section.records.front().value) << ")\n";
    showLine(out, side, section.records.front());
}

}  // namespace

bool readTrace(std::istream& in, const std::string& name, Trace& trace, std::string& error) {
    trace = Trace{};
    trace.name = name;
    std::vector<TraceRecord> records;
    std::size_t flights = 0;
    std::string text;
    for (std::size_t line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos) continue;
        Json value = Json::parse(text, nullptr, false);
        if (value.is_discarded() || !value.is_object()) {
            error = name + ":" + std::to_string(line) + ": not a JSON object: " + shown(text);
            return false;
        }
        const int kinds = value.contains("op") + value.contains("host") + value.contains("trace");
        const char* kind = kindOf(value);
        if (kinds != 1 || !value[kind].is_string()) {
            error = name + ":" + std::to_string(line) + ": not a trace record (one of \"op\", \"host\" or \"trace\"): " +
                    shown(text);
            return false;
        }
        flights += isFlyStart(value);
        records.push_back({std::move(value), text, line});
    }
    if (in.bad()) {
        error = name + ": read error";
        return false;
    }
    trace.recordCount = records.size();
    Sectioner sectioner(trace, flights);
    for (TraceRecord& record : records) sectioner.add(std::move(record));
    sectioner.close();
    return true;
}

DiffResult diffTraces(const Trace& a, const Trace& b, const DiffOptions& options, std::ostream& out) {
    const std::size_t maxShown = static_cast<std::size_t>(std::max(options.maxShown, 0));
    DiffResult result;
    std::size_t shown = 0;
    auto laterIn = [](const Trace& trace, std::size_t from, const std::string& name) {
        for (std::size_t k = from; k < trace.sections.size(); ++k) {
            if (trace.sections[k].name == name) return true;
        }
        return false;
    };
    // Sections pair by name; one that only one side has is reported where
    // it stands: B's section comes first when A's turns up later in B.
    std::size_t i = 0, j = 0;
    while (i < a.sections.size() || j < b.sections.size()) {
        ++result.sectionsCompared;
        const bool show = shown < maxShown;
        bool differs = true;
        if (i < a.sections.size() && j < b.sections.size() && a.sections[i].name == b.sections[j].name) {
            differs = sectionsDiffer(a.sections[i++], b.sections[j++], options, show, out);
        } else if (i == a.sections.size() || (j < b.sections.size() && laterIn(b, j, a.sections[i].name))) {
            if (show) showLoneSection(out, b.sections[j], "B");
            ++j;
        } else {
            if (show) showLoneSection(out, a.sections[i], "A");
            ++i;
        }
        if (!differs) continue;
        ++result.sectionsDiffering;
        if (show) ++shown;
    }
    if (result.sectionsDiffering == 0) {
        out << "equal: " << result.sectionsCompared << " sections, " << a.recordCount << " records\n";
    } else {
        out << result.sectionsDiffering << " of " << result.sectionsCompared << " sections differ";
        if (result.sectionsDiffering > shown) out << " (the first " << shown << " shown)";
        out << " between " << a.name << " (A) and " << b.name << " (B)\n";
    }
    return result;
}

}  // namespace kvhost
