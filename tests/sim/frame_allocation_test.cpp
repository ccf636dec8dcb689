// A long flight in the stand-in host costs no memory per frame while its
// call log is off or streamed: every allocation of the program is counted
// over 300 frames of a flight, and there is none.
#include <atomic>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <streambuf>
#include <string>

#include <gtest/gtest.h>

#include "entry/module_entry.h"
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"
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

// Counts the program's allocations from the end of frame 10 to the end of
// frame 310, as the records show them.
class FrameWindow : public kvsim::CallObserver {
public:
    void onRecord(const kvsim::LoggedRecord& record) override {
        if (record.kind != kvsim::RecordKind::Call || std::strcmp(record.name, "objEndFrame") != 0) return;
        ++frames;
        if (frames == kFirst) {
            allocations = 0;
            counting = true;
        }
        if (frames == kLast) counting = false;
    }
    static constexpr long kFirst = 10;
    static constexpr long kLast = 310;
    long frames = 0;
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
        FrameWindow window;
        host.log().setMode(mode, &trace);
        host.log().addObserver(&window);
        // The application ends the flight after 400 frames.
        host.scenario.appEndsAfter = 400;
        kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        driver.initDll(0);
        EXPECT_EQ(driver.fly(folder.c_str(), "flight.ini"), 1) << "ended by the application";
        counting = false;
        driver.exitDll();
        host.log().removeObserver(&window);
        EXPECT_GE(window.frames, FrameWindow::kLast);
        EXPECT_EQ(allocations.load(), 0) << "300 frames, mode " << static_cast<int>(mode);
    }
}

}  // namespace
