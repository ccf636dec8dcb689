// Configuration document benchmarks.
//
// Parse throughput of a start-up-like file (5,000 sections of 40 keys,
// about 5 MB, CR LF line ends) for ConfigDocument, for two INI parsers of
// the distribution (inih and SimpleIni) and for a floor that only copies
// the bytes and finds the line ends; how parsing scales with many sections
// and with one large section; and what reading a key costs in file order
// and in a random order. Everything runs from memory: the document reads
// through an FMG over a string and allocates through a MEM over the C heap
// (as glibc sets it up, and keeping its pages) or over an arena.
//
//   korvane_bench [--small] [benchmark flags]
//
// --small shrinks every file (a run that only checks everything works).
// After the runs a summary puts the throughputs side by side.
#include <benchmark/benchmark.h>
#include <ini.h>

#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "config/config_document.h"
#include <korvane/shell.h>
#include "services/shell_binding.h"
#include "tests/support/memory_files.h"

namespace {

// MEM: the C heap, nothing remembered.
class HeapMemory : public kv::MemoryInterface {
public:
    void* memAlloc(int32_t size, int32_t, int32_t, const char*) override {
        return size < 0 ? nullptr : std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1);
    }
    void memFree(void* block) override { std::free(block); }
    void memReleaseOwner(const char*) override {}
    void memCheckpoint(const char*) override {}
};

// With its defaults, glibc hands the freed heap top and every large block
// back to the kernel after each document and faults the pages in again for
// the next: that measures the kernel more than the parser. A host that
// keeps a steady working set keeps its pages; from the first call on,
// every later benchmark (the other parsers included) runs on such a heap.
void keepHeapPages() {
#ifdef __GLIBC__
    static const bool kept = [] {
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        return true;
    }();
    (void)kept;
#endif
}

// MEM as a host with a pool allocator would be: blocks cut from one
// buffer, frees ignored, everything dropped at once between documents. It
// separates the parser's own cost from the C heap's.
class ArenaMemory : public kv::MemoryInterface {
public:
    void* memAlloc(int32_t size, int32_t, int32_t, const char*) override {
        if (size < 0) return nullptr;
        const std::size_t n = (static_cast<std::size_t>(size) + 15) & ~static_cast<std::size_t>(15);
        if (used_ + n > buffer_.size()) return std::malloc(n);  // overflow goes to the heap, and leaks
        void* block = buffer_.data() + used_;
        used_ += n;
        return block;
    }
    void memFree(void*) override {}
    void memReleaseOwner(const char*) override {}
    void memCheckpoint(const char*) override {}

    void reserve(std::size_t bytes) { buffer_.resize(bytes); }
    void reset() { used_ = 0; }
    std::size_t used() const { return used_; }

private:
    std::vector<unsigned char> buffer_;
    std::size_t used_ = 0;
};


HeapMemory memory;
ArenaMemory arena;
kvtest::MemoryFiles files;
bool small = false;

void bindHost() {
    std::strcpy(kv::moduleName, "FLT");
    kv::ownerName = kv::moduleName;
    kv::MEM = &memory;
    kv::FMG = &files;
}

const char* const kKeyNames[40] = {
    "EngineThrust", "AfterburnerThrust", "FuelCapacity", "FuelFlow",      "EmptyWeight",
    "MaxTakeoffWeight", "WingArea",      "WingSpan",     "MaxSpeed",      "StallSpeed",
    "CeilingFeet",   "ClimbRate",        "RollRate",     "PitchRate",     "YawRate",
    "MaxG",          "MinG",             "GunRounds",    "GunRate",       "HardPoints",
    "RadarRange",    "RadarModel",       "CockpitModel", "ExteriorModel", "ShadowModel",
    "EngineSound",   "GunSound",         "WindSound",    "TextureSet",    "DamageModel",
    "GearHeight",    "GearDrag",         "FlapDrag",     "BrakeForce",    "InertiaX",
    "InertiaY",      "InertiaZ",         "CenterOfMass", "ViewOffset",    "HudColor",
};

const char* const kModelNames[] = {"F16", "F15", "MiG29", "Su27", "Tornado", "Harrier", "A10", "Mirage"};
const char* const kFileKinds[] = {"cockpit", "exterior", "shadow", "damage", "pilot", "canopy"};
const char* const kExtensions[] = {"mdl", "tex", "wav", "anm"};

// A value: 40% integers, 30% reals, 30% paths of the data folders.
std::string makeValue(std::mt19937& random) {
    char text[96];
    const unsigned pick = random() % 10;
    if (pick < 4) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(random() % 200000) - 20000);
    } else if (pick < 7) {
        std::snprintf(text, sizeof text, "%.4f", static_cast<double>(random() % 2000000) / 1000.0 - 500.0);
    } else {
        std::snprintf(text, sizeof text, "Data\\Models\\%s\\%s_%04u.%s", kModelNames[random() % 8],
                      kFileKinds[random() % 6], static_cast<unsigned>(random() % 10000), kExtensions[random() % 4]);
    }
    return text;
}

std::string startUpFile(int sections, int keysPerSection) {
    std::mt19937 random(20240611);
    std::string out;
    out.reserve(static_cast<std::size_t>(sections) * static_cast<std::size_t>(keysPerSection) * 26);
    out += "; Aircraft definitions\r\n";
    char line[64];
    for (int s = 0; s < sections; ++s) {
        std::snprintf(line, sizeof line, "[Aircraft%04d]\r\n", s);
        out += line;
        for (int k = 0; k < keysPerSection; ++k) {
            out += kKeyNames[k % 40];
            if (k >= 40) out += std::to_string(k / 40);
            out += '=';
            out += makeValue(random);
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

// Key names of one section: the realistic names, numbered to stay unique.
std::string keyName(int index) { return std::string(kKeyNames[index % 40]) + std::to_string(index / 40); }

std::string manySectionsFile(int sections) {
    std::string out;
    char line[64];
    for (int s = 0; s < sections; ++s) {
        std::snprintf(line, sizeof line, "[Section%05d]\r\nValue=%d\r\n", s, s * 7);
        out += line;
    }
    return out;
}

std::string oneSectionFile(int keys) {
    std::string out = "[Aircraft0000]\r\n";
    for (int k = 0; k < keys; ++k) out += keyName(k) + "=" + std::to_string(k * 7) + "\r\n";
    return out;
}

struct Files {
    std::string startUp, manySections, oneSection;
};

const Files& testFiles() {
    static const Files made = [] {
        Files f;
        f.startUp = small ? startUpFile(50, 40) : startUpFile(5000, 40);
        f.manySections = manySectionsFile(small ? 100 : 10000);
        f.oneSection = oneSectionFile(small ? 100 : 10000);
        return f;
    }();
    return made;
}

// One document built from name and destroyed; the key count keeps the
// work from being optimised away.
int32_t parseOurs(const char* name) {
    kv::ConfigDocument document(name, 0, 0, 0);
    int32_t keys = 0;
    for (kv::PtrListNode* node = document.sections.head; node; node = node->next)
        keys += static_cast<kv::ConfigSection*>(node->data)->keys.count;
    return keys;
}

void benchParse(benchmark::State& state, const std::string* text, const char* name) {
    files.files[name] = *text;
    int32_t keys = 0;
    for (auto _ : state) benchmark::DoNotOptimize(keys = parseOurs(name));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text->size()));
    // Lines of different files differ in length; the cost per key shows
    // whether the time grows with the input alone.
    state.counters["per_key"] = benchmark::Counter(
        static_cast<double>(keys), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    files.files.erase(name);
}

// Runs before anything changes the heap's settings.
void BM_ParseOursHeapDefaults(benchmark::State& state) {
    benchParse(state, &testFiles().startUp, "startup.ini");
}

void BM_ParseOurs(benchmark::State& state) {
    keepHeapPages();
    benchParse(state, &testFiles().startUp, "startup.ini");
}

void BM_ParseOursArena(benchmark::State& state) {
    const std::string& text = testFiles().startUp;
    files.files["startup.ini"] = text;
    // Room for the pool and two small blocks a key, with a margin.
    arena.reserve(text.size() * 8 + (1 << 20));
    kv::MEM = &arena;
    for (auto _ : state) {
        arena.reset();
        benchmark::DoNotOptimize(parseOurs("startup.ini"));
    }
    kv::MEM = &memory;
    state.counters["arena_bytes"] = static_cast<double>(arena.used());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    files.files.erase("startup.ini");
}
void BM_LinearManySections(benchmark::State& state) {
    benchParse(state, &testFiles().manySections, "many.ini");
}
void BM_LinearOneSection(benchmark::State& state) { benchParse(state, &testFiles().oneSection, "one.ini"); }

// inih calls back once per key; the handler does the least a caller would.
int inihHandler(void* user, const char* section, const char* name, const char* value) {
    auto* sum = static_cast<std::size_t*>(user);
    *sum += static_cast<unsigned char>(section[0]) + static_cast<unsigned char>(name[0]) +
            static_cast<unsigned char>(value[0]);
    return 1;
}

void BM_ParseInih(benchmark::State& state) {
    const std::string& text = testFiles().startUp;
    for (auto _ : state) {
        std::size_t sum = 0;
        if (ini_parse_string(text.c_str(), inihHandler, &sum) != 0) state.SkipWithError("inih failed");
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_ParseSimpleIni(benchmark::State& state) {
    const std::string& text = testFiles().startUp;
    for (auto _ : state) {
        CSimpleIniA ini;
        if (ini.LoadData(text.data(), text.size()) < 0) state.SkipWithError("SimpleIni failed");
        benchmark::DoNotOptimize(ini.GetSectionSize("Aircraft0001"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

// The least any parser does: a copy of its own and one pass over the lines.
void BM_ParseFloor(benchmark::State& state) {
    const std::string& text = testFiles().startUp;
    for (auto _ : state) {
        std::unique_ptr<char[]> copy(new char[text.size() + 1]);
        std::memcpy(copy.get(), text.data(), text.size() + 1);
        std::size_t lines = 0;
        const char* end = copy.get() + text.size();
        for (const char* p = copy.get(); p < end; ++lines) {
            const void* lineEnd = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            p = lineEnd ? static_cast<const char*>(lineEnd) + 1 : end;
        }
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(copy.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

// Every key of a section of N keys read once with getInt, in file order or
// in a fixed random order.
void benchRead(benchmark::State& state, bool shuffled) {
    const int n = static_cast<int>(state.range(0));
    files.files["read.ini"] = oneSectionFile(n);
    kv::ConfigDocument document("read.ini", 0, 0, 0);
    files.files.erase("read.ini");
    std::vector<std::string> names;
    for (int k = 0; k < n; ++k) names.push_back(keyName(k));
    if (shuffled) std::shuffle(names.begin(), names.end(), std::mt19937(7));
    for (auto _ : state) {
        int64_t sum = 0;
        for (const std::string& name : names) sum += document.getInt("Aircraft0000", name.c_str(), -1);
        benchmark::DoNotOptimize(sum);
    }
    // Seconds per read: the time of an iteration over its n reads.
    state.counters["per_key"] = benchmark::Counter(
        static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}

void BM_ReadInOrder(benchmark::State& state) { benchRead(state, false); }
void BM_ReadRandom(benchmark::State& state) { benchRead(state, true); }

// The console output as usual, and the figures kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            Figures& f = figures_[run.benchmark_name()];
            auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end()) f.mbPerSecond += bytes->second.value / 1e6;
            auto perKey = run.counters.find("per_key");
            if (perKey != run.counters.end()) f.nsPerKey += perKey->second.value * 1e9;
            ++f.runs;
        }
    }

    void printSummary() const {
        std::printf("\nSummary (MB = 10^6 bytes; a ratio above 1 means ConfigDocument is faster)\n");
        std::printf("  %-40s %10s\n", "parse of the start-up file", "MB/s");
        const struct {
            const char* label;
            const char* name;
        } parsers[] = {{"ConfigDocument, C heap (glibc defaults)", "ParseOursHeapDefaults"},
                       {"ConfigDocument, C heap keeping its pages", "ParseOurs"},
                       {"ConfigDocument, arena MEM", "ParseOursArena"},
                       {"inih (callbacks, stores nothing)", "ParseInih"},
                       {"SimpleIni (stores everything)", "ParseSimpleIni"},
                       {"floor: copy + memchr lines", "ParseFloor"}};
        for (const auto& p : parsers) {
            if (mb(p.name) > 0) std::printf("  %-40s %10.1f\n", p.label, mb(p.name));
        }
        const double inih = mb("ParseInih"), simpleIni = mb("ParseSimpleIni");
        if (inih > 0 && simpleIni > 0) {
            std::printf("  %-40s %10s %10s\n", "ratios", "x inih", "x SimpleIni");
            for (int i = 0; i < 3; ++i) {
                const double ours = mb(parsers[i].name);
                if (ours > 0) std::printf("  %-40s %10.2f %10.2f\n", parsers[i].label, ours / inih, ours / simpleIni);
            }
        }
        std::printf("  %-40s %10s %10s\n", "scaling (C heap keeping its pages)", "MB/s", "ns per key");
        const struct {
            const char* label;
            const char* name;
        } files[] = {{"start-up file", "ParseOurs"},
                     {"many one-key sections", "LinearManySections"},
                     {"one section of many keys", "LinearOneSection"}};
        for (const auto& f : files) {
            if (mb(f.name) > 0) std::printf("  %-40s %10.1f %10.1f\n", f.label, mb(f.name), ns(f.name));
        }
        bool header = false;
        for (const char* n : {"100", "1000", "10000"}) {
            const double inOrder = ns(std::string("ReadInOrder/") + n), random = ns(std::string("ReadRandom/") + n);
            if (inOrder <= 0 && random <= 0) continue;
            if (!header) std::printf("  %-40s %10s %10s\n", "getInt, ns per key", "in order", "random");
            header = true;
            std::printf("  %-40s %10.1f %10.1f\n", (std::string("section of ") + n + " keys").c_str(), inOrder,
                        random);
        }
    }

private:
    struct Figures {
        double mbPerSecond = 0;
        double nsPerKey = 0;
        int runs = 0;
    };
    double mb(const std::string& name) const {
        auto it = figures_.find("BM_" + name);
        return it == figures_.end() || it->second.runs == 0 ? 0 : it->second.mbPerSecond / it->second.runs;
    }
    double ns(const std::string& name) const {
        auto it = figures_.find("BM_" + name);
        return it == figures_.end() || it->second.runs == 0 ? 0 : it->second.nsPerKey / it->second.runs;
    }
    std::map<std::string, Figures> figures_;
};

}  // namespace

int main(int argc, char** argv) {
    // Our own flag goes before the library sees the rest.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--small") == 0)
            small = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bindHost();
    const Files& f = testFiles();
    std::printf("start-up file %zu bytes, many-sections file %zu bytes, one-section file %zu bytes\n",
                f.startUp.size(), f.manySections.size(), f.oneSection.size());

    benchmark::RegisterBenchmark("BM_ParseOursHeapDefaults", BM_ParseOursHeapDefaults)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ParseOurs", BM_ParseOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ParseOursArena", BM_ParseOursArena)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ParseInih", BM_ParseInih)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ParseSimpleIni", BM_ParseSimpleIni)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ParseFloor", BM_ParseFloor)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LinearManySections", BM_LinearManySections)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LinearOneSection", BM_LinearOneSection)->Unit(benchmark::kMillisecond);
    for (int n : {100, 1000, 10000}) {
        if (small && n > 1000) continue;
        benchmark::RegisterBenchmark("BM_ReadInOrder", BM_ReadInOrder)->Arg(n)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_ReadRandom", BM_ReadRandom)->Arg(n)->Unit(benchmark::kMicrosecond);
    }

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
