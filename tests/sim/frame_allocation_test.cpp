// A long flight in the stand-in host costs no memory per frame while its
// call log is off or streamed: every allocation of the program is counted,
// and 300 more frames add none.
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <streambuf>
#include <string>

#include <gtest/gtest.h>

#include "entry/module_entry.h"
#include "sim/module_driver.h"
#include "sim/sim_host.h"
#include "tests/sim/scratch_folder.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

// A trace nobody keeps.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

class RecordCount : public kvsim::CallObserver {
public:
    void onRecord(const kvsim::LoggedRecord&) override { ++records; }
    long records = 0;
};

TEST(FrameAllocation, FramesAllocateNothingWhileTheLogIsOffOrStreamed) {
    namespace fs = std::filesystem;
    kvtest::ScratchFolder scratch("frame-allocation");
    fs::copy(fs::path(KORVANE_EXAMPLES) / "training", scratch.path() / "training", fs::copy_options::recursive);
    const std::string folder = (scratch.path() / "training").string();

    Discard discard;
    std::ostream trace(&discard);
    for (kvsim::CallLog::Mode mode : {kvsim::CallLog::Mode::Off, kvsim::CallLog::Mode::Streaming}) {
        kvsim::SimHost host;
        RecordCount observer;
        host.log().setMode(mode, &trace);
        host.log().addObserver(&observer);
        kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        driver.initDll(0);
        // The application ends the flight after so many frames.
        const auto allocationsOfAFlight = [&](int32_t frames) {
            host.scenario.appEndsAfter = frames;
            allocations = 0;
            counting = true;
            const int32_t result = driver.fly(folder.c_str(), "flight.ini");
            counting = false;
            EXPECT_EQ(result, 1) << "ended by the application";
            return allocations.load();
        };
        allocationsOfAFlight(3);  // what a first flight sets up once
        const long records = observer.records;
        const long shortFlight = allocationsOfAFlight(3);
        const long shortRecords = observer.records - records;
        const long longFlight = allocationsOfAFlight(303);
        EXPECT_GT(observer.records - records - 2 * shortRecords, 300 * 50) << "the frames were seen";
        EXPECT_GT(shortFlight, 0) << "loading does allocate";
        EXPECT_EQ(longFlight, shortFlight) << "300 more frames, mode " << static_cast<int>(mode);
        driver.exitDll();
        host.log().removeObserver(&observer);
    }
}

}  // namespace
