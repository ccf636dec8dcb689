// Frames driven through the engine object, with the fields set the way a
// loaded flight has them, on a bound stand-in host. Each test changes only
// what it is about.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"

namespace kvtest {

class FlightFrames : public BoundModule {
protected:
    void SetUp() override {
        BoundModule::SetUp();
        flight = kv::engine;
        ASSERT_NE(flight, nullptr);
        // The engine object lives as long as the library: clear what an
        // earlier test left in it.
        flight->frameCount = 0;
        flight->runState = 0;
        flight->paused = 0;
        flight->stepRate = 0.0f;
        flight->networkFlight = 0;
        flight->waitingForPlayers = 0;
        flight->startRequested = 0;
        flight->mapShown = 0;
        flight->ejected = 0;
        flight->ejectTimer = 0.0f;
        flight->skipToNextActive = 0;
        flight->skipToNextRemaining = 0.0f;
        flight->autoPilotAvailable = 0;
        flight->chatRequested = 0;
        flight->chatActive = 0;
        flight->cockpitMirrors = 0;
        flight->screenshotTimer = 0.0f;
        flight->frameState = kv::FrameState{};
        flight->deltaT = 0.1f;
        flight->maxDeltaT = 0.2f;
        flight->timeCompression = 1.0f;
        flight->ejectDelay = 5.0f;
        flight->playerObjectId = -1;
        flight->startView = startView_;
        flight->graphicsSetup.zBufferDepth = 16;
        flight->farSceneClip = {20000.0f, 500.0f};
        flight->normalSceneClip = {600.0f, 20.0f};
        flight->nearSceneClip = {25.0f, 0.5f};
        flight->showCockpit = 1;
        flight->lensFlare = 2;
        flight->mirrorTextureId = -1;
        flight->zoomControlId = -1;
        flight->mapMinSize = 1000.0f;
        flight->mapMaxSize = 20000.0f;
        flight->mapSize = 10000.0f;
        flight->mapScaleRate = 10000.0f;
        kv::mainCamera = host.front<kv::GraphicsInterface>().gfxCreateCamera(0);
        kv::mapCamera = host.front<kv::GraphicsInterface>().gfxCreateCamera(1);
        host.scenario.frameTimes = {0.05f};
        host.clock.startFrames();
        host.log().clear();
    }
    void TearDown() override {
        // Nothing here belongs to the module: leave no pointer for the
        // unbinding to free.
        flight->startView = nullptr;
        flight->hudInterface = nullptr;
        flight->avionicsInterface = nullptr;
        flight->commInterface = nullptr;
        kv::mainCamera = kv::mapCamera = kv::mirrorCamera = nullptr;
        BoundModule::TearDown();
    }

    // Runs n frames; returns the log position where the first one began.
    std::size_t frames(int n = 1) {
        const std::size_t start = host.log().records().size();
        for (int i = 0; i < n; ++i) flight->frameStep();
        return start;
    }

    // The player's aircraft id, flying: the mission, the object module and
    // the engine all name it.
    kvsim::SimGameObject& flyPlayerAircraft(int32_t id) {
        host.scenario.playerObject = id;
        host.objects.playerObject = id;
        flight->playerObjectId = id;
        return host.objects.object(id);
    }

    // Skips the first two frames of the run, which do not simulate.
    void pastFirstFrames() { flight->frameCount = 2; }

    // The first arguments of every call of op from log position from on.
    std::vector<double> argsOf(const std::string& op, std::size_t from = 0) {
        std::vector<double> out;
        const auto& records = host.log().records();
        for (std::size_t i = from; i < records.size(); ++i)
            if (!records[i].fromHost && records[i].op == op && !records[i].args.empty())
                out.push_back(records[i].args[0].get<double>());
        return out;
    }
    std::size_t count(const std::string& op, std::size_t from = 0) {
        std::size_t n = 0;
        const auto& records = host.log().records();
        for (std::size_t i = from; i < records.size(); ++i)
            n += !records[i].fromHost && records[i].op == op;
        return n;
    }

    // The steps appear in order within log positions [from, to).
    ::testing::AssertionResult inOrder(std::size_t from, std::size_t to, const std::vector<std::string>& steps) {
        const auto& records = host.log().records();
        if (to > records.size()) to = records.size();
        std::size_t at = from;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            while (at < to && !stepMatches(records[at], steps[i])) ++at;
            if (at == to) {
                std::string slice;
                for (std::size_t k = from; k < to; ++k) slice += "\n  " + describe(records[k]);
                return ::testing::AssertionFailure() << "step " << i << " \"" << steps[i]
                                                     << "\" missing or out of order; the slice:" << slice;
            }
            ++at;
        }
        return ::testing::AssertionSuccess();
    }

    kv::FlightModule* flight = nullptr;

private:
    char startView_[16] = "COCKPIT";
};

}  // namespace kvtest
