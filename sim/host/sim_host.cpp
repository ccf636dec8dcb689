#include "sim/host/sim_host.h"

#include <type_traits>
#include <utility>

namespace kvsim {

SimHost::SimHost(Scenario initial) {
    state.scenario = std::move(initial);
    std::unique_ptr<RecordingLayerBase> shellLayer = recording_.front(static_cast<kv::ApplicationShell&>(shell));
    shellFront_ = static_cast<RecordingLayerFor<kv::ApplicationShell>::type*>(shellLayer.get());
    layers_.push_back(std::move(shellLayer));
    // Each simulation behind its front, under the tag the table gives its
    // interface. The scenario's hasNet, hasFfb, hasOpt and hasAvn decide, at
    // each GetInterface, whether the optional ones are there; HUD and COM
    // exist only while the module that offers them is loaded.
    eachSimulation([this](auto& simulation) { offer(simulation); });
    // RND and DBG are held but never called: any distinct object will do.
#define KV_OPAQUE_TOKEN(tag) shell.provide(#tag, &opaqueTokens_[#tag]);
    KV_OPAQUE_TAGS(KV_OPAQUE_TOKEN)
#undef KV_OPAQUE_TOKEN

    views.objects = &objects;
    controls.objects = &objects;
    // A screenshot shows the view, the objects and the messages on screen.
    graphics.views = &views;
    graphics.objects = &objects;
    graphics.messages = &messages;

    // The load's last checkpoint arms the clock: the run driver's clkReset
    // that follows starts the flight's frames.
    state.onCheckpoint = [this](const std::string& label) {
        if (label == "End of _LoadKorvane") clock.loadEnded();
    };
    // ExitDLL gives back every "FLT" block; a key the module added to the
    // options document must leave the document before its block is freed.
    state.beforeReleaseOwner = [this](const std::string&) { options.drop(); };
    // A block of the module's that a stand-in document gives back itself,
    // past the layer.
    state.blockFreed = [this](const void* block) { recording_.freed(block); };
}

void SimHost::replaceWithOwnSimulations() {
    eachSimulation([this](auto& simulation) {
        using Interface = std::remove_reference_t<decltype(simulation)>;
        replace(TaggedInterface<Interface>::tag, simulation);
    });
}

void SimHost::handOut(const char* tag, Presence presence, void* front) {
    fronts_[tag] = front;
    if (presence == Presence::WhileLoaded)
        dll.offer(tag, front);
    else
        shell.provide(tag, front);
}

void SimHost::beginFlight() {
    clock.beginFlight();
    fade.beginFlight();
    text.beginFlight();
    graphics.beginFlight();
    recording_.beginFlight();
    options.drop();  // read again in the new flight's directory
    dll.beginFlight();
    app.beginFlight();
    memory.beginFlight();
    for (const auto& reset : state.flightResets) reset();
}

}  // namespace kvsim
