#include "sim/sim_host.h"

#include <utility>

namespace kvsim {

SimHost::SimHost(Scenario initial) {
    world.scenario = std::move(initial);
    shell.provide("APP", static_cast<kv::AppInterface*>(&app), "APP");
    shell.provide("DLL", static_cast<kv::DllInterface*>(&dll), "DLL");
    shell.provide("FMG", static_cast<kv::FileManagerInterface*>(&fileManager), "FMG");
    shell.provide("RND", &renderToken_, "RND");
    shell.provide("DBG", &debugToken_, "DBG");
    shell.provide("MEM", static_cast<kv::MemoryInterface*>(&memory), "MEM");
    shell.provide("GFX", static_cast<kv::GraphicsInterface*>(&graphics), "GFX");
    shell.provide("TER", static_cast<kv::TerrainInterface*>(&terrain), "TER");
    shell.provide("OBJ", static_cast<kv::ObjectsInterface*>(&objects), "OBJ");
    shell.provide("WLD", static_cast<kv::WorldInterface*>(&worldModule), "WLD");
    shell.provide("SND", static_cast<kv::SoundInterface*>(&sound), "SND");
    shell.provide("INP", static_cast<kv::InputInterface*>(&input), "INP");
    shell.provide("CTL", static_cast<kv::ControlsInterface*>(&controls), "CTL");
    shell.provide("VMG", static_cast<kv::ViewsInterface*>(&views), "VMG");
    views.objects = &objects;
    controls.objects = &objects;
    // A screenshot shows the view, the objects and the messages on screen.
    graphics.views = &views;
    graphics.objects = &objects;
    graphics.messages = &messages;
    shell.provide("PTS", static_cast<kv::ParticlesInterface*>(&particles), "PTS");
    shell.provide("ENV", static_cast<kv::EnvironmentInterface*>(&environment), "ENV");
    shell.provide("MSN", static_cast<kv::MissionInterface*>(&mission), "MSN");
    shell.provide("CLK", static_cast<kv::ClockInterface*>(&clock), "CLK");
    shell.provide("TXT", static_cast<kv::TextInterface*>(&text), "TXT");
    shell.provide("MSG", static_cast<kv::MessagesInterface*>(&messages), "MSG");
    shell.provide("SPC", static_cast<kv::SpeechInterface*>(&speech), "SPC");
    shell.provide("FAD", static_cast<kv::FadeInterface*>(&fade), "FAD");
    // The scenario's hasNet, hasFfb, hasOpt and hasAvn decide, at each
    // GetInterface, whether these four are there.
    shell.provide("NET", static_cast<kv::NetworkInterface*>(&network), "NET");
    shell.provide("FFB", static_cast<kv::ForceFeedbackInterface*>(&forceFeedback), "FFB");
    shell.provide("AVN", static_cast<kv::AvionicsInterface*>(&avionics), "AVN");
    shell.provide("OPT", static_cast<kv::OptionsInterface*>(&options), "OPT");
    // HUD and COM exist only while the module that offers them is loaded.
    dll.offer("HUD", static_cast<kv::HudInterface*>(&hud), "HUD");
    dll.offer("COM", static_cast<kv::CommInterface*>(&comm), "COM");

    // The load's last checkpoint arms the clock: the run driver's clkReset
    // that follows starts the flight's frames.
    world.onCheckpoint = [this](const std::string& label) {
        if (label == "End of _LoadKorvane") clock.loadEnded();
    };
    // ExitDLL gives back every "FLT" block; a key the module added to the
    // options document must leave the document before its block is freed.
    world.beforeReleaseOwner = [this](const std::string&) { options.drop(); };
}

void SimHost::handOut(const std::string& tag, void* iface) {
    if (tag == "HUD" || tag == "COM")
        dll.offer(tag, iface, tag);
    else
        shell.provide(tag, iface, tag);
}

void SimHost::beginFlight() {
    clock.beginFlight();
    fade.beginFlight();
    text.beginFlight();
    graphics.beginFlight();
    options.drop();  // read again in the new flight's directory
    dll.beginFlight();
    app.beginFlight();
    memory.beginFlight();
    for (const auto& reset : world.flightResets) reset();
}

}  // namespace kvsim
