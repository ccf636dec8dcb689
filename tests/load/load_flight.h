// A bound module and a flight directory on disk (start-up file, options
// file, string tables, HUD and Comm module files), entered for the test.
// Loads and unloads go through the engine object's own sequences; the
// stand-in host starts a new flight before each load, as the host does
// before Fly.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"

namespace kvtest {

inline const char* kStartupFile = R"([Korvane]
HUDDLL=Hud
HUDDataFilename=hud.dat
CommDLL=Comm
CommDataFilename=comm.dat
SoundList=sounds.lst
ViewList=views.lst
ParticleSystem=particles.dat
EnvironmentSystem=default.env
MessageSystem=messages.dat
SpeechSystem=speech.dat
ForceFeedback=effects.ffb
ForceFeedbackControl=FFB_STRENGTH
TextFilename=flight.txt

[SoundSettings]
SampleFrequency=22050
BitsPerSample=8

[GraphicsSettings]
AspectRatio=1.5
MinPixelSize=3.0

[FarSceneClip]
FarClipDistance=20000
NearClipDistance=2

[LowDetailOption]
HorizonDistance=30000
MaxTextureRes=512

[WorldSettings]
SectorWidth=16
SectorHeight=12
SectorMaxObject=64
Border=5000
MinHeight=-100
MaxHeight=9000

[MapSettings]
ZoomControl=MAP_ZOOM

[LoadingScreen]
TextFile=loading.txt
LoadingTextStringID=Loading
PercentTextStringID=Percent
ProgressBarRange=100
BackgroundImageSize=800,600
ProgressBarRect=100,500,700,530
FadeTime=0.05

[TextStrings]
GamePaused=Paused

[SkipToNext]
AutoPilotCommand=AUTOPILOT

[StartView]
StartView000=Cockpit

[InFlightChat]
TargetText=chat.txt
CursorString=_
)";

inline const char* kOptionsFile = R"([GameplayOptions]
CockpitView=0
[GraphicsOptions]
DisplayWidth=1024
DisplayHeight=768
DisplayDepth=32
ObjectDetail=1
EffectsDetail=2
CockpitMirrors=1
[SoundOptions]
SpeechSubtitles=1
[ControlOptions]
ControlMap=keys.map
)";

class LoadFlight : public BoundModule {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        previousDirectory_ = fs::current_path();
        directory_ = fs::temp_directory_path() /
                     ("korvane-load-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        write("flight.ini", kStartupFile);
        write("options.ini", kOptionsFile);
        write("flight.txt", "[Strings]\nPaused=Paused\n");
        write("loading.txt", "[Strings]\nLoading=Loading\nPercent=%.0f%%\n");
        write("chat.txt", "[Strings]\nAll=To all:\n");
        write("Hud.DLL", "");
        write("Comm.DLL", "");
        fs::current_path(directory_);
        host.scenario.optionsFile = "options.ini";
        host.scenario.mirrorTexture = 7;
        BoundModule::SetUp();
        flight = &kv::flightModule();
        const std::string here = directory_.string();
        std::copy_n(here.c_str(), std::min<std::size_t>(here.size() + 1, sizeof flight->flightDirectory),
                    flight->flightDirectory);
    }

    void TearDown() override {
        if (loaded_) unload();
        BoundModule::TearDown();
        std::filesystem::current_path(previousDirectory_);
        std::filesystem::remove_all(directory_);
    }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(directory_ / name, std::ios::binary) << text;
    }

    // A new flight in the stand-in host, then the loading sequence.
    int32_t load(const char* startFile = "flight.ini") {
        host.beginFlight();
        liveBeforeLoad = liveFltBlocks();
        const int32_t result = flight->LoadKorvane(startFile);
        loaded_ = result == 1;
        return result;
    }
    void unload() {
        flight->UnloadKorvane();
        loaded_ = false;
    }

    std::size_t calls(const std::string& op) const { return host.state.log.count(op); }
    int liveFltBlocks() const { return host.memory.liveBlocks("FLT"); }

    // The percentages the loading screen drew, one per drawing pass.
    std::vector<std::string> percentagesDrawn() const {
        std::vector<std::string> out;
        for (const auto& record : host.state.log.records())
            if (record.op == "gfxDrawText" && record.args.size() > 4 && record.args[4] == 0x12)
                out.push_back(record.args[0].get<std::string>());
        return out;
    }

    // The first argument of every call of op, in order.
    std::vector<kvsim::Json> firstArgs(const std::string& op) const {
        std::vector<kvsim::Json> out;
        for (const auto& record : host.state.log.records())
            if (record.kind == kvsim::RecordKind::Call && record.op == op && !record.args.empty())
                out.push_back(record.args[0]);
        return out;
    }
    // The arguments of the first call of op.
    kvsim::Json argsOf(const std::string& op) const {
        for (const auto& record : host.state.log.records())
            if (record.kind == kvsim::RecordKind::Call && record.op == op) return record.args;
        return nullptr;
    }

    // How often each of a pair of operations was called, as "op=n" texts.
    std::string balance(const std::string& up, const std::string& down) const {
        return up + "=" + std::to_string(calls(up)) + " " + down + "=" + std::to_string(calls(down));
    }

    kv::FlightModule* flight = nullptr;
    // The memory service's live "FLT" blocks when the last load began.
    int liveBeforeLoad = 0;

private:
    std::filesystem::path previousDirectory_;
    std::filesystem::path directory_;
    bool loaded_ = false;
};

}  // namespace kvtest
