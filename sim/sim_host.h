// The whole stand-in host: the shell with every interface present, all
// sharing one world and call log. Tests remove interfaces or change the
// world's results before binding the module; behaviour comes from the
// scenario, which tests may change before binding or flying.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/recording_interfaces.h"
#include "sim/sim_graphics.h"
#include "sim/sim_modules.h"
#include "sim/sim_shell.h"
#include "sim/sim_world.h"

namespace kvsim {

class SimHost {
public:
    explicit SimHost(Scenario scenario = Scenario());
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimWorld world;
    // The world's scenario, under the name the host program and tests use.
    Scenario& scenario = world.scenario;
    SimShell shell{world};
    SimApp app{world};
    SimDll dll{world, shell};
    SimFileManager fileManager{world};
    SimMemory memory{world};
    SimGraphics graphics{world};
    SimTerrain terrain{world};
    SimObjects objects{world};
    SimWorldModule worldModule{world};
    SimSound sound{world};
    SimInput input{world};
    SimControls controls{world};
    SimViews views{world};
    SimParticles particles{world};
    SimEnvironment environment{world};
    SimMission mission{world};
    SimClock clock{world};
    SimText text{world};
    SimMessages messages{world};
    SimSpeech speech{world};
    SimFade fade{world};
    SimNetwork network{world};
    SimForceFeedback forceFeedback{world};
    SimHud hud{world};
    SimAvionics avionics{world};
    SimComm comm{world};
    SimOptions options{world};

    CallLog& log() { return world.log; }

    // Hands the module the caller's own module under tag (e.g. "MSG" with
    // a kv::MessagesInterface) in place of the simulation, behind a
    // recording layer that puts each of the module's calls to it into the
    // log. The caller's object must outlive the host's flights. HUD and
    // COM stay offered only while the module that offers them is loaded;
    // NET, FFB, AVN and OPT still follow the scenario's hasNet, hasFfb,
    // hasAvn and hasOpt. The simulation of that tag stays in place for the
    // rest of the world but the module no longer reaches it.
    template <typename Interface>
    void replace(const std::string& tag, Interface& own) {
        auto layer = std::make_unique<typename RecordingLayerFor<Interface>::type>(world.log, own);
        Interface* front = layer.get();
        layers_.push_back(std::move(layer));
        handOut(tag, front);
    }

    // A new flight starts (the driver's Fly calls it before the module's
    // Fly): everything the flight before created is dropped, so every
    // flight starts from the same state: the clock back in loading mode at
    // time 0, no fade, no string tables, cameras, images, fonts or screen
    // frames, the options document read afresh, no module left loaded, the
    // application's and the memory service's per-flight counts at 0, and
    // every reset in world.flightResets run.
    void beginFlight();

private:
    void handOut(const std::string& tag, void* iface);
    std::vector<std::unique_ptr<RecordingLayerBase>> layers_;
    // RND and DBG are held but never called: any distinct object will do.
    int renderToken_ = 0;
    int debugToken_ = 0;
};

}  // namespace kvsim
