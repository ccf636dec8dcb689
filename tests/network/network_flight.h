// A network flight flown through the engine object's Fly, from a real
// flight directory, on a bound stand-in host whose network, controls and
// mission the scenario drives. Frames last 0.25 s on the clock and on the
// network; the host ends the flight after appEndsAfter frames.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"

namespace kvtest {

class NetworkFlight : public BoundModule {
protected:
    void SetUp() override {
        hostDirectory_ = std::filesystem::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        directory_ = std::filesystem::temp_directory_path() /
                     ("korvane-net-" + std::to_string(::getpid()) + "-" + info->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
        write("flight.ini",
              "[Korvane]\nTextFilename=flight.txt\nDeltaT=0.1\nMaxDeltaT=1.0\n"
              "[TextStrings]\nGameUnpaused=GameUnpaused\nWaitJoin=WaitJoin\n"
              "[StartView]\nStartView000=Cockpit\n"
              "[ScreenShot]\nFilenameFormat=shot%03d.png\nMaxScreenShot=20\n"
              "[InFlightChat]\nTargetText=chat.txt\nCursorFlashTime=0.5\nCursorString=_\n");
        write("flight.txt", "[Strings]\nWaitJoin=Waiting for\nGameUnpaused=All aboard\n");
        write("chat.txt", "[Strings]\nAll=All>\nEnemy=Enemy>\nFriendly=Friends>\nTarget=Target>\n");
        write("options.ini", "[ControlOptions]\nControlMap=keys.map\n");
        host.scenario.optionsFile = (directory_ / "options.ini").string();
        host.scenario.network = 1;
        host.scenario.frameTimes = {0.25f};
        host.scenario.netFrameTimes = {0.25f};
        host.scenario.target = 2;
        host.scenario.appEndsAfter = 12;
        BoundModule::SetUp();
        flight = kv::engine;
        flight->runState = 0;
    }
    void TearDown() override {
        BoundModule::TearDown();
        std::filesystem::current_path(hostDirectory_);
        std::filesystem::remove_all(directory_);
    }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(directory_ / name, std::ios::binary) << text;
    }
    int32_t fly() { return driver.fly(directory_.string().c_str(), "flight.ini"); }

    std::size_t calls(const std::string& op) const { return host.state.log.count(op); }
    // The second argument of every call of op: the formatted text of the
    // message calls.
    std::vector<std::string> texts(const std::string& op) const {
        std::vector<std::string> out;
        for (const auto& record : host.state.log.records())
            if (!record.fromHost && record.op == op && record.args.size() > 1)
                out.push_back(record.args[1].get<std::string>());
        return out;
    }
    // The first argument of every call of op.
    std::vector<double> firstArgs(const std::string& op) const {
        std::vector<double> out;
        for (const auto& record : host.state.log.records())
            if (!record.fromHost && record.op == op && !record.args.empty())
                out.push_back(record.args[0].get<double>());
        return out;
    }

    kv::FlightModule* flight = nullptr;

private:
    std::filesystem::path hostDirectory_;
    std::filesystem::path directory_;
};

}  // namespace kvtest
