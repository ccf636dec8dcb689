// What the loading has brought up for the current flight, one flag per
// subsystem, set as each one comes up. The unloading's steps are guarded by
// these flags, so a load that fails half-way takes down exactly what it had
// started and nothing else, and a per-flight module that loaded without
// offering an interface is still unloaded.
#pragma once

#include <cstdint>

namespace kv {

struct FlightSystems {
    // A network flight wrote the host's values into the player's options
    // document. Kept apart from networkFlight, which a frame clears when the
    // application stops the flight, so the player's own options still come
    // back at the unloading.
    int32_t hostOptionsWritten;
    int32_t startupFile;     // its texts are held and its text files loaded
    int32_t display;
    int32_t messages;
    int32_t sound;
    int32_t speech;
    int32_t particles;
    int32_t environment;
    int32_t controls;        // control map loaded, commands registered
    int32_t forceFeedback;
    int32_t views;
    int32_t objects;
    int32_t terrain;
    int32_t world;
    int32_t missionObjects;
    int32_t missionFlight;   // the mission was asked for its objects: it hears the flight end and unloads
    int32_t hudModule;       // dllLoadModule succeeded, interface or not
    int32_t commModule;
};

}  // namespace kv
