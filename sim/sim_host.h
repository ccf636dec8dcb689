// The whole stand-in host: the shell with every interface present, all
// sharing one world and call log. Tests remove interfaces or change the
// world's results before binding the module; behaviour comes from the
// scenario, which tests may change before binding or flying.
#pragma once

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

    // A new flight starts (the driver's Fly calls it before the module's
    // Fly): everything the flight before created is dropped, so every
    // flight starts from the same state: the clock back in loading mode at
    // time 0, no fade, no string tables, cameras, images, fonts or screen
    // frames, the options document read afresh, no module left loaded, the
    // application's and the memory service's per-flight counts at 0, and
    // every reset in world.flightResets run.
    void beginFlight();

private:
    // RND and DBG are held but never called: any distinct object will do.
    int renderToken_ = 0;
    int debugToken_ = 0;
};

}  // namespace kvsim
