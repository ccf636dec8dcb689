// readPlayerOptions and applyHostGameplayOptions: the player's own settings,
// borrowed from the options module's document for the length of one read.
#include <cstdint>

#include "config/config_document.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "loading/startup_vocabulary.h"
#include "services/services.h"
#include "services/shell_binding.h"

namespace kv {

namespace {

// The host's eleven gameplay bytes, in the order of the record.
const char* const kHostGameplayKeys[11] = {
    "EnemySkill", "FlightModel", "WeaponEffectiveness", "Avionics", "Targeting", "HUDDisplay",
    "Landing",    "Collision",   "Blackout",            "AmmoUsage", "FuelUsage",
};

}  // namespace

void FlightModule::readPlayerOptions() {
    OptionsInterface* opt = nullptr;
    ConfigDocument* document = nullptr;
    getInterface("OPT", opt);
    if (opt) opt->optGetDocument(&document);

    // A host without an options module, or one that lends no document: the
    // flight runs on every option 0 (lowest detail, no control map) rather
    // than calling through a null interface or document. Nothing was lent,
    // so nothing is given back.
    if (!document) {
        TraceMessage("No player options document, every option is 0!");
        for (int32_t i = 0; i < kPlayerOptionRowCount; ++i) *kPlayerOptionRows[i].field(*this) = 0;
        strFree(&controlMap);
        if (opt) releaseInterface("OPT", opt);
        return;
    }

    // Before the reading, so that a network flight reads the host's values.
    if (networkFlight) applyHostGameplayOptions(document);
    for (int32_t i = 0; i < kPlayerOptionRowCount; ++i) {
        const PlayerOptionRow& row = kPlayerOptionRows[i];
        *row.field(*this) = document->getInt(row.section, row.key, 0);
    }
    // The previous flight's map is freed by its unloading; a load that
    // never got there must not lose it.
    strFree(&controlMap);
    controlMap = getStringCopy(document, kControlMapSection, kControlMapKey, kCaseKeep);

    opt->optReleaseDocument(&document);
    releaseInterface("OPT", opt);
}

void FlightModule::applyHostGameplayOptions(ConfigDocument* document) {
    if (!document) return;
    HostGameSettings settings = {};
    // Without a network module there are no host settings; the terrain
    // detail is still forced down.
    if (NET) NET->netGetGameSettings(&settings);
    // Every player of a network flight loads the lowest terrain detail.
    document->setInt("GraphicsOptions", "TerrainDetail", 0);
    if (!settings.gameplay) return;
    for (int32_t i = 0; i < 11; ++i) document->setInt("GameplayOptions", kHostGameplayKeys[i], settings.gameplay[i]);
}

}  // namespace kv
