// A bound module with the engine fields a loaded flight has, the flight
// commands registered with the stand-in controls module, a player aircraft
// (object 1) with a live target (object 2) and an in-flight string table
// (a real file the stand-in text service reads).
// Commands are given through the stand-in controls, so the real handlers
// and the map's filter run as they do in a flight.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "commands/flight_commands.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"

namespace kvtest {

class CommandFlight : public BoundModule {
protected:
    static constexpr int32_t kPlayer = 1;
    static constexpr int32_t kTarget = 2;
    enum TextId : int32_t { kPaused, kUnpaused, kTimeCompress, kNormalTime, kTimeSet, kWaitJoin };

    void SetUp() override {
        BoundModule::SetUp();
        flight = kv::engine;
        ASSERT_NE(flight, nullptr);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("korvane-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::create_directories(dir_);
        textPath_ = (dir_ / "flight.txt").string();
        setText(kPaused, "Paused");
        setText(kUnpaused, "Resumed");
        setText(kTimeCompress, "Time x%d");
        setText(kNormalTime, "Normal time");
        setText(kTimeSet, "Time is %s");

        flight->runState = 0;
        flight->paused = 0;
        flight->timeCompression = 1.0f;
        flight->maxTimeCompression = 8.0f;
        flight->changeTimeAmount = 3600;
        flight->showCockpit = 1;
        flight->skipToNextActive = 0;
        flight->skipToNextTimer = 30.0f;
        flight->skipToNextRemaining = 0.0f;
        flight->skipToNextView = skipView;
        flight->ejectView = ejectView;
        flight->ejected = 0;
        flight->ejectTimer = 0.0f;
        flight->ejectDelay = 0.0f;
        flight->mapShown = 0;
        flight->playerObjectId = kPlayer;
        flight->commInterface = &host.front<kv::CommInterface>();
        flight->networkFlight = 0;
        flight->chatRequested = 0;
        flight->chatActive = 0;
        flight->chatMode = 0;
        flight->textFilename = &textPath_[0];
        flight->pausedTextId = kPaused;
        flight->unpausedTextId = kUnpaused;
        flight->timeCompressTextId = kTimeCompress;
        flight->normalTimeTextId = kNormalTime;
        flight->timeSetTextId = kTimeSet;
        flight->screenshotTimer = 0.0f;
        flight->screenshotInterval = 0.0f;

        host.objects.object(kPlayer).targetId = kTarget;
        host.objects.object(kTarget);

        kv::registerFlightCommands();
        host.log().clear();
    }

    void TearDown() override {
        // The engine outlives the test; leave it no pointer into this one.
        flight->skipToNextView = nullptr;
        flight->ejectView = nullptr;
        flight->textFilename = nullptr;
        flight->commInterface = nullptr;
        BoundModule::TearDown();
        std::filesystem::remove_all(dir_);
    }

    // The table holds the texts in id order; it is written and loaded again
    // as the start-up reader loads it.
    void setText(int32_t id, const std::string& text) {
        texts_[id] = text;
        if (tableLoaded_) host.text.txtUnloadTextFile(textPath_.c_str());
        std::ofstream table(textPath_, std::ios::binary | std::ios::trunc);
        table << "[Strings]\n";
        for (const auto& entry : texts_) table << "Text" << entry.first << "=" << entry.second << "\n";
        table.close();
        host.text.txtLoadTextFile(textPath_.c_str());
        tableLoaded_ = true;
    }

    void missionAllows(int32_t pause, int32_t compress, int32_t changeTime, int32_t skip) {
        host.scenario.canPause = pause;
        host.scenario.canCompressTime = compress;
        host.scenario.canChangeTime = changeTime;
        host.scenario.canSkipToNext = skip;
    }

    void press(const std::string& command) { host.controls.dispatch(command); }

    std::size_t calls(const std::string& op) const { return host.state.log.count(op); }
    // The first call named op in the log, or null.
    const kvsim::CallRecord* firstCall(const std::string& op) const {
        for (const auto& record : host.state.log.records())
            if (!record.fromHost && record.op == op) return &record;
        return nullptr;
    }
    const std::vector<std::string>& shown() const { return host.messages.shown; }

    kv::FlightModule* flight = nullptr;
    char skipView[16] = "SkipView";
    char ejectView[16] = "EjectView";

private:
    std::filesystem::path dir_;
    std::string textPath_;
    std::map<int32_t, std::string> texts_;
    bool tableLoaded_ = false;
};

}  // namespace kvtest
