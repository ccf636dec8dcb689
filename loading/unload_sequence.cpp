// UnloadKorvane: takes a flight's subsystems down and frees the per-flight
// texts. The order follows the flight's layering: stop what is audible or
// felt, take input away, hand back the options document, end the mission's
// flight, release the per-flight modules, shut the subsystems down, destroy
// the cameras and the display, free the texts.
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "loading/flight_teardown.h"
#include "platform/thread.h"
#include "services/services.h"
#include "services/shell_binding.h"

namespace kv {

namespace {

// How often the unloading looks again whether the last SetPaused showing an
// in-flight text is done.
const uint32_t kReaderWaitMilliseconds = 1;

// The options module drops the host's values that the player options step
// wrote into its document for a network flight, and reads the player's own
// again.
void reloadPlayerOptions() {
    OptionsInterface* opt = nullptr;
    getInterface("OPT", opt);
    // A host without an options module lent no document to restore.
    if (!opt) return;
    opt->optReloadOptions();
    releaseInterfaceAndNull("OPT", opt);
}

void destroyMapCamera() {
    CameraParams* params = nullptr;
    mapCamera->cameraGetParams(&params);
    if (params && params->extraBlock) {
        MemFree(params->extraBlock);
        params->extraBlock = nullptr;
    }
    GFX->gfxDestroyCamera(&mapCamera);
    mapCamera = nullptr;
}

// A SetPaused on another thread shows a text of the in-flight table. From
// here on none starts, and the table goes only once those already showing
// one are done: they make two calls into siblings and wait for nothing of
// the flight's.
void unloadFlightTextFile(FlightModule& flight, const FlightSystems& up) {
    {
        LockHeld held(flight.sharedLock);
        flight.tableClosing = 1;
    }
    for (;;) {
        {
            LockHeld held(flight.sharedLock);
            if (flight.tableReaders == 0) break;
        }
        sleepMilliseconds(kReaderWaitMilliseconds);
    }
    if (up.startupFile && !strIsEmpty(flight.textFilename)) TXT->txtUnloadTextFile(flight.textFilename);
}

// The name leaves the engine under the shared lock and is freed after it;
// a SetPaused from then on finds no in-flight table, as between flights.
void freeFlightTextFilename(FlightModule& flight) {
    char* name = nullptr;
    {
        LockHeld held(flight.sharedLock);
        name = flight.textFilename;
        flight.textFilename = nullptr;
        flight.tableClosing = 0;
    }
    strFree(&name);
}

}  // namespace

void takeDownFlight(FlightModule& flight, const FlightSystems& up) {
    // 2. Sound.
    if (up.sound) SND->sndStopStream();
    if (up.sound) SND->sndStopAllSounds();
    if (up.sound) SND->sndReleaseSounds();
    // 3. Force feedback.
    if (FFB && up.forceFeedback) FFB->ffbUnloadEffects();
    // 4. Controls: unloading the map also drops the flight's commands.
    if (up.controls) CTL->ctlSetActive(0);
    if (up.controls) CTL->ctlSetInputEnabled(0);
    if (up.controls) CTL->ctlUnloadControlMap();
    // 5. A network flight wrote the host's settings into the options document.
    if (up.hostOptionsWritten) reloadPlayerOptions();
    // 6. The mission.
    if (up.missionFlight) MSN->msnEndFlight();
    // 7. Avionics: only fetched, never loaded, so nothing to unload.
    if (flight.avionicsInterface) releaseInterfaceAndNull("AVN", flight.avionicsInterface);
    // 8. HUD module, before the subsystems it draws with.
    if (flight.hudInterface) flight.hudInterface->hudShutdown();
    if (flight.hudInterface) releaseInterfaceAndNull("HUD", flight.hudInterface);
    if (up.hudModule) DLL->dllUnloadModule(flight.hudModulePath);
    // 9. Comm module, the same way.
    if (flight.commInterface) flight.commInterface->comShutdown();
    if (flight.commInterface) releaseInterfaceAndNull("COM", flight.commInterface);
    if (up.commModule) DLL->dllUnloadModule(flight.commModulePath);
    // 10. Text files the start-up file loaded. A SetPaused on another thread
    // shows a text of the in-flight table: never while the table goes.
    unloadFlightTextFile(flight, up);
    if (up.startupFile && !strIsEmpty(flight.chatTextFile)) TXT->txtUnloadTextFile(flight.chatTextFile);
    // 11. Subsystems.
    if (up.world) WLD->wldRelease();
    if (up.views) VMG->vmgUnloadViewList();
    if (up.missionFlight) MSN->msnUnload();
    if (up.missionObjects) MSN->msnDestroyMissionObjects();
    if (up.objects) OBJ->objReleaseObjects();
    if (up.speech) SPC->spcUnloadSpeechSystem();
    if (up.particles) PTS->ptsUnloadParticleSystemData();
    if (up.terrain) TER->terReleaseTerrainSystem();
    if (up.environment) ENV->envUnloadEnvironment();
    // 12. Cameras, then the display they belong to; messages last of all.
    if (mirrorCamera) GFX->gfxDestroyCamera(&mirrorCamera);
    mirrorCamera = nullptr;
    if (mapCamera) destroyMapCamera();
    if (mainCamera) GFX->gfxDestroyCamera(&mainCamera);
    mainCamera = nullptr;
    if (up.display) GFX->gfxReleaseDisplay();
    if (up.messages) MSG->msgUnloadMessageSystem();
    // 13. The per-flight texts; SetPaused reads the first one.
    freeFlightTextFilename(flight);
    strFree(&flight.controlMap);
    strFree(&flight.soundList);
    strFree(&flight.viewList);
    strFree(&flight.particleSystem);
    strFree(&flight.environmentSystem);
    strFree(&flight.messageSystem);
    strFree(&flight.speechSystem);
    strFree(&flight.chatTextFile);
    strFree(&flight.cursorString);
    strFree(&flight.forceFeedback);
    strFree(&flight.commModulePath);
    strFree(&flight.commDataFilename);
    strFree(&flight.hudModulePath);
    strFree(&flight.hudDataFilename);
    strFree(&flight.startView);
    strFree(&flight.ejectView);
    strFree(&flight.skipToNextView);
    strFree(&flight.autoPilotCommand);
    strFree(&flight.forceFeedbackControl);
    strFree(&flight.zoomControl);
}

void FlightModule::UnloadKorvane() {
    lock.acquire();
    // A load that returned 1 hands over the whole flight, also one cut short
    // by skipFlight: every subsystem step runs. The per-flight modules go by
    // whether they actually loaded.
    FlightSystems everything = {};
    everything.hostOptionsWritten = systemsUp.hostOptionsWritten;
    everything.startupFile = 1;
    everything.display = 1;
    everything.messages = 1;
    everything.sound = 1;
    everything.speech = 1;
    everything.particles = 1;
    everything.environment = 1;
    everything.controls = 1;
    everything.forceFeedback = 1;
    everything.views = 1;
    everything.objects = 1;
    everything.terrain = 1;
    everything.world = 1;
    everything.missionObjects = 1;
    everything.missionFlight = 1;
    everything.hudModule = systemsUp.hudModule;
    everything.commModule = systemsUp.commModule;
    takeDownFlight(*this, everything);
    systemsUp = FlightSystems{};
    lock.release();
}

}  // namespace kv
