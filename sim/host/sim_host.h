// The whole stand-in host: the shell with every interface present, all
// sharing one state and call log. The module reaches each of them, and
// the shell, through the recording layer (sim/calls/recording_layer.h), which
// puts every call into the log; the simulated modules only behave. Tests remove interfaces or change the
// state's results before binding the module; behaviour comes from the
// scenario, which tests may change before binding or flying.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/calls/recording_layer.h"
#include "sim/modules/sim_graphics.h"
#include "sim/modules/sim_modules.h"
#include "sim/modules/sim_shell.h"
#include "sim/modules/sim_state.h"

namespace kvsim {

class SimHost {
public:
    explicit SimHost(Scenario scenario = Scenario());
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimState state;
    // The state's scenario, under the name the host program and tests use.
    Scenario& scenario = state.scenario;
    SimShell shell{state};
    SimApp app{state};
    SimDll dll{state, shell};
    SimFileManager fileManager{state};
    SimMemory memory{state};
    SimGraphics graphics{state};
    SimTerrain terrain{state};
    SimObjects objects{state};
    SimWorldModule worldModule{state};
    SimSound sound{state};
    SimInput input{state};
    SimControls controls{state};
    SimViews views{state};
    SimParticles particles{state};
    SimEnvironment environment{state};
    SimMission mission{state};
    SimClock clock{state};
    SimText text{state};
    SimMessages messages{state};
    SimSpeech speech{state};
    SimFade fade{state};
    SimNetwork network{state};
    SimForceFeedback forceFeedback{state};
    SimHud hud{state};
    SimAvionics avionics{state};
    SimComm comm{state};
    SimOptions options{state};

    CallLog& log() { return state.log; }

    // The shell to bind the module to: the recording layer in front of the
    // stand-in's shell.
    kv::ApplicationShell* applicationShell() { return shellFront_; }
    // What the module reaches under Interface's tag: the front of the
    // simulation, or of what replace() put in its place. Calls made
    // through it are recorded as the module's.
    template <typename Interface>
    Interface& front() {
        return *static_cast<Interface*>(fronts_.at(TaggedInterface<Interface>::tag));
    }
    // The simulated object behind an object the module holds (a camera, an
    // image, a game object), for a test to look at; anything else as it is.
    template <typename T>
    T* behind(T* front) const {
        return recording_.unwrap(front);
    }

    // Hands the module the caller's own module under tag (e.g. "MSG" with
    // a kv::MessagesInterface) in place of the simulation, behind the same
    // recording layer, so the log reads as it does with the simulation.
    // The caller's object must outlive the host's flights. HUD and
    // COM stay offered only while the module that offers them is loaded;
    // NET, FFB, AVN and OPT still follow the scenario's hasNet, hasFfb,
    // hasAvn and hasOpt. The simulation of that tag stays in place for the
    // rest of the state but the module no longer reaches it.
    template <typename Interface>
    void replace(const std::string& tag, Interface& own) {
        if (tag != TaggedInterface<Interface>::tag) return;
        offer(own);
    }

    // Every interface handed to the module through replace(), each by its
    // own simulation, as a caller's own modules would be: the log must read
    // as it does without (korvane-host --through-replace).
    void replaceWithOwnSimulations();

    // A new flight starts (the driver's Fly calls it before the module's
    // Fly): everything the flight before created is dropped, so every
    // flight starts from the same state: the clock back in loading mode at
    // time 0, no fade, no string tables, cameras, images, fonts or screen
    // frames, the options document read afresh, no module left loaded, the
    // application's and the memory service's per-flight counts at 0, and
    // every reset in state.flightResets run.
    void beginFlight();

private:
    // Puts a front in front of implementation and hands it out under the
    // interface's tag.
    template <typename Interface>
    void offer(Interface& implementation) {
        std::unique_ptr<RecordingLayerBase> layer = recording_.front(implementation);
        Interface* front = static_cast<typename RecordingLayerFor<Interface>::type*>(layer.get());
        layers_.push_back(std::move(layer));
        handOut(TaggedInterface<Interface>::tag, TaggedInterface<Interface>::presence, front);
    }
    void handOut(const char* tag, Presence presence, void* front);
    // Calls f with each simulated module, as its interface, in the order
    // the shell offers them.
    template <typename F>
    void eachSimulation(F f) {
        f(static_cast<kv::AppInterface&>(app));
        f(static_cast<kv::DllInterface&>(dll));
        f(static_cast<kv::FileManagerInterface&>(fileManager));
        f(static_cast<kv::MemoryInterface&>(memory));
        f(static_cast<kv::GraphicsInterface&>(graphics));
        f(static_cast<kv::TerrainInterface&>(terrain));
        f(static_cast<kv::ObjectsInterface&>(objects));
        f(static_cast<kv::WorldInterface&>(worldModule));
        f(static_cast<kv::SoundInterface&>(sound));
        f(static_cast<kv::InputInterface&>(input));
        f(static_cast<kv::ControlsInterface&>(controls));
        f(static_cast<kv::ViewsInterface&>(views));
        f(static_cast<kv::ParticlesInterface&>(particles));
        f(static_cast<kv::EnvironmentInterface&>(environment));
        f(static_cast<kv::MissionInterface&>(mission));
        f(static_cast<kv::ClockInterface&>(clock));
        f(static_cast<kv::TextInterface&>(text));
        f(static_cast<kv::MessagesInterface&>(messages));
        f(static_cast<kv::SpeechInterface&>(speech));
        f(static_cast<kv::FadeInterface&>(fade));
        f(static_cast<kv::NetworkInterface&>(network));
        f(static_cast<kv::ForceFeedbackInterface&>(forceFeedback));
        f(static_cast<kv::HudInterface&>(hud));
        f(static_cast<kv::AvionicsInterface&>(avionics));
        f(static_cast<kv::CommInterface&>(comm));
        f(static_cast<kv::OptionsInterface&>(options));
    }

    RecordingLayers recording_{state.log};
    std::vector<std::unique_ptr<RecordingLayerBase>> layers_;
    std::map<std::string, void*> fronts_;
    kv::ApplicationShell* shellFront_ = nullptr;
    // RND and DBG are held but never called: any distinct object will do.
    std::map<std::string, char> opaqueTokens_;
};

}  // namespace kvsim
