#include <atomic>
#include <chrono>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/thread.h"
#include "platform/workdir.h"
#include "tests/support/code_page.h"

namespace {

namespace fs = std::filesystem;

TEST(Thread, IdentityIsNonzeroStableAndDistinctPerThread) {
    const uint32_t mine = kv::currentThreadId();
    EXPECT_NE(mine, 0u);
    EXPECT_EQ(kv::currentThreadId(), mine);

    std::vector<uint32_t> ids(4);
    std::vector<std::thread> threads;
    for (auto& id : ids) threads.emplace_back([&id] { id = kv::currentThreadId(); });
    for (auto& t : threads) t.join();
    std::set<uint32_t> distinct(ids.begin(), ids.end());
    distinct.insert(mine);
    EXPECT_EQ(distinct.size(), 5u);
    EXPECT_EQ(distinct.count(0u), 0u);
}

TEST(Thread, ExchangeAndSleep) {
    std::atomic<int32_t> word{0};
    EXPECT_EQ(kv::atomicExchange(word, 1), 0);
    EXPECT_EQ(kv::atomicExchange(word, 1), 1);
    EXPECT_EQ(kv::atomicExchange(word, 0), 1);
    EXPECT_EQ(word.load(), 0);

    const auto start = std::chrono::steady_clock::now();
    kv::sleepMilliseconds(5);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(4));
}

// A scratch folder that is the current directory for one test; the
// previous directory comes back afterwards.
class WorkingDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = fs::current_path();
        root_ = fs::temp_directory_path() /
                ("korvane-workdir-" + std::to_string(kv::currentThreadId()) + "-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(root_ / "Data" / "Mods");
        fs::current_path(root_);
    }
    void TearDown() override {
        fs::current_path(saved_);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    static std::string cwd() {
        char buffer[1024];
        kv::getWorkingDir(buffer, sizeof buffer);
        return buffer;
    }
    fs::path saved_, root_;
};

TEST_F(WorkingDirTest, ModulePathsWithBackslashesReachTheSystem) {
    const std::string top = cwd();
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(top.find('/'), std::string::npos);  // the module sees backslashes only

    EXPECT_EQ(kv::setWorkingDir("Data\\Mods"), 1);
    EXPECT_EQ(fs::current_path(), fs::canonical(root_ / "Data" / "Mods"));
    EXPECT_EQ(cwd(), top + "\\Data\\Mods");
    EXPECT_EQ(kv::setWorkingDir("..\\..\\"), 1);
    EXPECT_EQ(cwd(), top);
    EXPECT_EQ(kv::setWorkingDir(".\\Data"), 1);
    // What getWorkingDir gives back is accepted again as it is.
    EXPECT_EQ(kv::setWorkingDir(top.c_str()), 1);
    EXPECT_EQ(cwd(), top);

    EXPECT_EQ(kv::setWorkingDir("Missing\\Folder"), 0);
    EXPECT_EQ(kv::setWorkingDir(""), 0);
    EXPECT_EQ(kv::setWorkingDir(nullptr), 0);
    EXPECT_EQ(cwd(), top);
}

TEST_F(WorkingDirTest, ADirectoryThatDoesNotFitReadsAsNoneAndNullIsIgnored) {
    const std::string top = cwd();
    std::string small(12, '#');
    kv::getWorkingDir(&small[0], 8);
    EXPECT_EQ(std::string(small.c_str()), "") << "a cut path would name another folder";
    EXPECT_EQ(small.substr(8), "####");  // nothing past size
    std::string exact(top.size() + 1, '#');
    kv::getWorkingDir(&exact[0], static_cast<int32_t>(exact.size()));
    EXPECT_EQ(std::string(exact.c_str()), top) << "a directory that just fits is read whole";

    char one[1] = {'#'};
    kv::getWorkingDir(one, 1);
    EXPECT_EQ(one[0], '\0');
    char untouched[2] = {'#', '#'};
    kv::getWorkingDir(untouched, 0);
    EXPECT_EQ(untouched[0], '#');
    kv::getWorkingDir(nullptr, 260);
}

TEST_F(WorkingDirTest, NoPathIsAnEmptyPathAndNoBufferIsRefused) {
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(kv::toNativePath(nullptr, out, sizeof out), 1);
    EXPECT_STREQ(out, "");
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(kv::toNativePath("a\\b", out, 0), 0);
    EXPECT_EQ(kv::toNativePath("a\\b", out, -1), 0);
    EXPECT_EQ(out[0], '#');  // a size below 1 writes nothing
    EXPECT_EQ(kv::toNativePath("a\\b", nullptr, 8), 0);
    EXPECT_EQ(kv::toNativePath("", out, 1), 1);
    EXPECT_STREQ(out, "");
}

// A folder removed while it is the current one has no name any more; it
// reads as none rather than as a stale path module files would be read from.
TEST_F(WorkingDirTest, ARemovedCurrentDirectoryReadsAsNone) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows refuses to remove a folder that is a process's current directory";
#else
    ASSERT_EQ(kv::setWorkingDir("Data\\Mods"), 1);
    fs::remove(root_ / "Data" / "Mods");
    char buffer[1024];
    std::memset(buffer, '#', sizeof buffer);
    kv::getWorkingDir(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
#endif
}

// On POSIX a file name may hold the byte 0x5C; in code page 932 it is the
// trail of a double-byte character and must not become a slash.
TEST_F(WorkingDirTest, DoubleByteTrailBackslashIsKeptIntact) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows reads file names in its own code page, where the byte 0x5C is always a separator; "
                    "only POSIX names can hold it inside a name";
#else
    kvtest::CodePage page(932);
    const std::string name = "\x95\x5C";
    fs::create_directory(root_ / name);
    EXPECT_EQ(kv::setWorkingDir(name.c_str()), 1);
    EXPECT_EQ(fs::current_path().filename().string(), name);
    EXPECT_EQ(cwd().substr(cwd().size() - 3), "\\" + name);

    char native[16];
    EXPECT_EQ(kv::toNativePath("a\\\x95\x5C\\b", native, sizeof native), 1);
    EXPECT_STREQ(native, "a/\x95\x5C/b");
    EXPECT_EQ(kv::toNativePath("abcdef", native, 4), 0);
    EXPECT_STREQ(native, "");
#endif
}

}  // namespace
