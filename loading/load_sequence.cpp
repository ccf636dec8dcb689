// LoadKorvane: brings every engine subsystem up for one flight, in a fixed
// order, under the engine lock, while the loading screen fades in, advances
// its bar at ten milestones and fades out. networkPump keeps a network
// flight's connection serviced between the steps that take time.
//
// A load that fails takes down what it had brought up (systemsUp, in the
// unloading's order), closes the loading screen, frees the texts it read and
// returns 0, so the host may fly again with nothing left over.
#include <cmath>
#include <cstring>

#include "commands/flight_commands.h"
#include "config/paths.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "loading/flight_teardown.h"
#include "loadingscreen/loading_screen.h"
#include "services/services.h"
#include "services/shell_binding.h"

namespace kv {

namespace {

// The map camera's far and near clips and field of view.
constexpr float kMapFarClip = 100000.0f;
constexpr float kMapNearClip = 100.0f;
constexpr float kMapFieldOfView = 90.0f;
// Size of the map camera's extra block, thirteen 32-bit words that the
// graphics module reads.
constexpr int32_t kMapExtraBlockSize = 52;
// The map looks straight down: pitch -pi/2 as the 32-bit real the sequence
// has always used, so its cosine is about -4.37e-8 rather than 0.
constexpr double kMapPitch = -1.5707963705062866;
constexpr double kMapHeading = 0.0;

void networkPump(const FlightModule& flight) {
    if (!flight.networkFlight) return;
    NET->netUpdate();
    NET->netFlush();
}

CameraParams* paramsOf(Camera* camera) {
    CameraParams* params = nullptr;
    if (camera) camera->cameraGetParams(&params);
    return params;
}

void setViewport(CameraParams* params, const GraphicsSetup& setup) {
    params->viewportLeft = 0;
    params->viewportTop = 0;
    params->viewportRight = setup.displayWidth - 1;
    params->viewportBottom = setup.displayHeight - 1;
}

void setupMainCamera(const FlightModule& flight) {
    CameraParams* params = paramsOf(mainCamera);
    if (!params) return;
    params->farClip = flight.farSceneClip.farClip;
    params->nearClip = flight.farSceneClip.nearClip;
    setViewport(params, flight.graphicsSetup);
    params->aspectRatio = flight.aspectRatio;
    params->minPixelSize = flight.minPixelSize;
}

void setupMapCamera(const FlightModule& flight) {
    CameraParams* params = paramsOf(mapCamera);
    if (!params) return;
    params->farClip = kMapFarClip;
    params->nearClip = kMapNearClip;
    setViewport(params, flight.graphicsSetup);
    params->aspectRatio = flight.aspectRatio;
    params->minPixelSize = flight.minPixelSize;
    params->fieldOfView = kMapFieldOfView;
    // A refused block stays null; the unloading then has nothing to free.
    params->extraBlock = ModuleAlloc(kMapExtraBlockSize);
    if (params->extraBlock) std::memset(params->extraBlock, 0, kMapExtraBlockSize);
}

// Rows 0 and 1 from pitch a and heading b, row 2 their cross product.
void mapOrientation(float* m) {
    const double sa = std::sin(kMapPitch);
    const double ca = std::cos(kMapPitch);
    const double sb = std::sin(kMapHeading);
    const double cb = std::cos(kMapHeading);
    m[0] = static_cast<float>(cb * cb + sb * sb * sa);
    m[1] = static_cast<float>(sb * cb * sa - cb * sb);
    m[2] = static_cast<float>(-sb * ca);
    m[3] = static_cast<float>(sb * ca);
    m[4] = static_cast<float>(cb * ca);
    m[5] = static_cast<float>(sa);
    m[6] = m[1] * m[5] - m[2] * m[4];
    m[7] = m[2] * m[3] - m[0] * m[5];
    m[8] = m[0] * m[4] - m[1] * m[3];
}

void rescaleMinPixelSize(FlightModule& flight) {
    if (flight.displayOptions.objectDetail == 0) flight.minPixelSize *= 2.0f;
    if (flight.displayOptions.objectDetail == 1) flight.minPixelSize *= 1.5f;
}

// The terrain's own environment file when it names one that loads, the
// start-up file's default otherwise.
void loadEnvironment(const FlightModule& flight) {
    ENV->envSetHorizonDistance(flight.terrainSetup.horizonDistance);
    TerrainInfo* slot = nullptr;
    TerrainInfo* info = TER->terGetTerrainInfo(&slot);
    int32_t loaded = 0;
    if (info && info->environmentFile) {
        char path[260];
        resolvePath(info->baseDirectory, info->environmentFile, path, sizeof path);
        loaded = ENV->envLoadEnvironment(path) != 0;
    }
    if (info) ENV->envSetTerrainParameter(info->environmentParameter);
    if (loaded) return;
    ENV->envLoadEnvironment(flight.environmentSystem);
}

void loadForceFeedback(const FlightModule& flight) {
    ControlEvent* event = CTL->ctlGetControlEvent(CTL->ctlGetControlId(flight.forceFeedbackControl));
    // An unknown control name gives no event, and the effects module is not
    // handed a null one.
    if (event) FFB->ffbSetControlEvent(event);
    FFB->ffbLoadEffects(flight.forceFeedback);
}

void findAutoPilotEvent(FlightModule& flight) {
    flight.autoPilotAvailable = 0;
    ControlEvent* event = CTL->ctlGetControlEvent(CTL->ctlGetControlId(flight.autoPilotCommand));
    if (!event) return;
    flight.autoPilotEvent = *event;
    flight.autoPilotAvailable = 1;
}

// Loads a per-flight module and fetches its interface. Returns 1 when the
// module loaded, whether or not it offered an interface, so the unloading
// still unloads it.
template <typename Interface>
int32_t loadFlightModule(const char* path, const char* failure, const char* tag, Interface*& slot) {
    if (strIsEmpty(path)) return 0;
    if (DLL->dllLoadModule(path) == 0) {
        TraceMessage(failure, path);
        return 0;
    }
    getInterface(tag, slot);
    return 1;
}

void applyEnvironmentRecords() {
    EnvironmentRecord record = {};
    MSN->msnGetInitialEnvironmentRecord(&record);
    ENV->envInitFromMissionRecord(&record);
    record = EnvironmentRecord{};
    MSN->msnGetEnvironmentRecord(&record);
    ENV->envApplyMissionRecord(&record);
}

// Game mode 3 takes screenshots at the mission's interval, game mode 4
// waits for the network's players. A missing record or timing record reads
// as mode 0 and 0 seconds.
void applyGameMode(FlightModule& flight) {
    const MissionSetup* setup = flight.missionSetup;
    const int32_t mode = setup ? setup->gameMode : 0;
    const int32_t seconds = setup && setup->timing ? setup->timing->screenshotIntervalSeconds : 0;
    if (mode == 3) flight.screenshotInterval = static_cast<float>(seconds);
    if (mode == 4) flight.waitingForPlayers = 1;
}

// A load that fails: close the loading screen (with its fade-out once it
// was shown) while the display it draws on is still up, take down what had
// come up, free the texts read so far.
void abandonLoad(FlightModule& flight) {
    releaseLoadingScreen(&flight.loadingScreen);
    takeDownFlight(flight, flight.systemsUp);
    flight.systemsUp = FlightSystems{};
}

}  // namespace

int32_t FlightModule::LoadKorvane(const char* startFile) {
    float mapMatrix[9];
    // 1.
    lock.acquire();
    MemCheckpoint("Start of _LoadKorvane");
    systemsUp = FlightSystems{};
    // 2.
    skipFlight = 0;
    playerObjectId = -1;
    networkFlight = 0;
    if (MSN->msnIsNetworkMission()) networkFlight = NET ? 1 : 0;
    networkPump(*this);
    // 3.
    readPlayerOptions();
    systemsUp.hostOptionsWritten = networkFlight;
    networkPump(*this);
    // 4.
    loadingScreen = createLoadingScreen();
    if (!loadingScreen) {
        TraceMessage("...not enough memory for the loading screen!");
        abandonLoad(*this);
        lock.release();
        return 0;
    }
    networkPump(*this);
    // 5. Also configures the loading screen from its section.
    if (!loadStartupFile(startFile)) {
        TraceMessage("Error Reading %s!", startFile ? startFile : "");
        abandonLoad(*this);
        lock.release();
        return 0;
    }
    systemsUp.startupFile = 1;
    networkPump(*this);
    // 6.
    if (!GFX->gfxInitDisplay(&graphicsSetup, &displayOptions)) {
        TraceMessage("Error Setting Graphics Display!");
        abandonLoad(*this);
        lock.release();
        return 0;
    }
    systemsUp.display = 1;
    // 7.
    const int32_t black[3] = {0, 0, 0};
    GFX->gfxSetDefaultColor(black);
    networkPump(*this);
    GFX->gfxConfigure(&graphicsSetup);
    // 8.
    rescaleMinPixelSize(*this);
    // 9.
    mainCamera = GFX->gfxCreateCamera(0);
    setupMainCamera(*this);
    GFX->gfxSetCamera(mainCamera);
    // 10.
    SND->sndSetFormat(bitsPerSample, sampleFrequency);
    networkPump(*this);
    // 11. The loading screen's picture is not held to the texture limit.
    GFX->gfxSetTextureLimit(-1);
    GFX->gfxEnableTextureLimit(1);
    // 12. Returns when the fade-in is done.
    loadingScreen->setBackgroundImage(MSN->msnGetLoadingImage());
    loadingScreen->show(-1);
    // 13.
    GFX->gfxEnableTextureLimit(0);
    networkPump(*this);
    // 14.
    mapCamera = GFX->gfxCreateCamera(1);
    setupMapCamera(*this);
    mapOrientation(mapMatrix);
    if (mapCamera) mapCamera->cameraSetOrientation(mapMatrix);
    networkPump(*this);
    // 15. Milestone 1.
    loadingScreen->advance(10);
    networkPump(*this);
    // 16.
    MSG->msgLoadMessageSystem(messageSystem);
    systemsUp.messages = 1;
    networkPump(*this);
    SND->sndLoadSoundList(soundList);
    systemsUp.sound = 1;
    networkPump(*this);
    SND->sndPrepare();
    SPC->spcLoadSpeechSystem(speechSystem);
    systemsUp.speech = 1;
    networkPump(*this);
    SPC->spcSetSubtitles(speechSubtitles);
    // 17. Milestone 2.
    MemCheckpoint("Before ptsLoadParticleSystemData");
    loadingScreen->advance(10);
    networkPump(*this);
    // 18. Milestone 3.
    PTS->ptsLoadParticleSystemData(particleSystem, effectsDetail);
    systemsUp.particles = 1;
    networkPump(*this);
    loadingScreen->advance(10);
    MemCheckpoint("After ptsLoadParticleSystemData");
    networkPump(*this);
    // 19.
    loadEnvironment(*this);
    systemsUp.environment = 1;
    networkPump(*this);
    // 20.
    CTL->ctlLoadControlMap(controlMap, 1);
    systemsUp.controls = 1;
    CTL->ctlSetKeyRepeat(repeatRate, repeatDelay);
    networkPump(*this);
    // 21.
    if (FFB) loadForceFeedback(*this);
    systemsUp.forceFeedback = FFB ? 1 : 0;
    networkPump(*this);
    // 22. After the control map: commands are registered with it.
    registerFlightCommands();
    networkPump(*this);
    // 23.
    findAutoPilotEvent(*this);
    // 24.
    zoomControlId = CTL->ctlGetControlId(zoomControl);
    // 25. Milestone 4.
    loadingScreen->advance(10);
    networkPump(*this);
    // 26. Milestone 5.
    VMG->vmgLoadViewList(viewList);
    systemsUp.views = 1;
    loadingScreen->advance(10);
    networkPump(*this);
    // 27. Milestone 6.
    OBJ->objInitObjects();
    systemsUp.objects = 1;
    networkPump(*this);
    loadingScreen->advance(10);
    networkPump(*this);
    // 28. Terrain textures are held to their own limit.
    MemCheckpoint("Before terInitTerrainSystem");
    GFX->gfxSetTextureLimit(terrainTextureRes);
    GFX->gfxEnableTextureLimit(terrainTextureRes != -1 ? 1 : 0);
    networkPump(*this);
    // 29.
    if (!TER->terInitTerrainSystem(&terrainSetup)) {
        TraceMessage("...error while loading terrain!");
        abandonLoad(*this);
        lock.release();
        return 0;
    }
    systemsUp.terrain = 1;
    networkPump(*this);
    // 30. Milestone 7.
    loadingScreen->advance(10);
    networkPump(*this);
    MemCheckpoint("After terInitTerrainSystem");
    // 31. Milestone 8. The maximum height comes before the minimum.
    WLD->wldSetSectors(sectorWidth, sectorHeight, sectorMaxObject);
    WLD->wldSetBounds(worldBorder, maxHeight, minHeight);
    systemsUp.world = 1;
    loadingScreen->advance(10);
    networkPump(*this);
    // 32. Mission objects' textures are held to the object limit.
    GFX->gfxSetTextureLimit(objectTextureRes);
    GFX->gfxEnableTextureLimit(objectTextureRes != -1 ? 1 : 0);
    networkPump(*this);
    // 33. Asking for the mission objects begins the mission's flight. From
    // here on every way down (the unloading after a flight or after
    // skipFlight, and a failed load alike) ends it with msnEndFlight and
    // msnUnload, also when the objects fail: neither call undoes the objects
    // (msnDestroyMissionObjects does, for objects that came up), they let
    // the mission drop what it set up for a flight that has ended, flown or
    // not. Before this the mission has only answered questions.
    systemsUp.missionFlight = 1;
    if (!MSN->msnCreateMissionObjects()) {
        TraceMessage("...error while creating mission objects!");
        abandonLoad(*this);
        lock.release();
        return 0;
    }
    systemsUp.missionObjects = 1;
    networkPump(*this);
    // 34. Milestone 9.
    loadingScreen->advance(10);
    networkPump(*this);
    // 35.
    playerObjectId = MSN->msnGetPlayerObject();
    GFX->gfxSetTextureLimit(cockpitTextureRes);
    GFX->gfxEnableTextureLimit(0);
    OBJ->objSetPlayerObject(playerObjectId);
    // 36.
    setupCockpitMirror(playerObjectId);
    networkPump(*this);
    // 37. Load and unload without flying: the unloading follows at once.
    if (skipFlight) {
        releaseLoadingScreen(&loadingScreen);
        lock.release();
        return 1;
    }
    // 38.
    MSN->msnLoadSpeech(speechSystem);
    networkPump(*this);
    // 39.
    systemsUp.hudModule = loadFlightModule(hudModulePath, "Unable to load HUD DLL %s!", "HUD", hudInterface);
    if (hudInterface) hudInterface->hudInit(hudDataFilename);
    networkPump(*this);
    // 40. Milestone 10. No module to load: the host provides avionics or not.
    getInterface("AVN", avionicsInterface);
    loadingScreen->advance(10);
    networkPump(*this);
    // 41.
    systemsUp.commModule = loadFlightModule(commModulePath, "Unable to load Comm DLL %s!", "COM", commInterface);
    if (commInterface) commInterface->comInit(commDataFilename);
    networkPump(*this);
    // 42.
    const int32_t view = VMG->vmgCreateView(startView, playerObjectId, 1);
    VMG->vmgSelectPlayerView(view);
    VMG->vmgUpdate(0.0f);
    // 43.
    applyEnvironmentRecords();
    // 44.
    GFX->gfxEnableTextureLimit(objectTextureRes != -1 ? 1 : 0);
    // 45. Returns when the fade-out is done.
    loadingScreen->hide();
    networkPump(*this);
    releaseLoadingScreen(&loadingScreen);
    // 46.
    OBJ->objSetPlayerControl(1);
    CTL->ctlSetInputEnabled(1);
    MemCheckpoint("End of _LoadKorvane");
    // 47. A chat line left open in the previous flight is not carried over.
    skipToNextActive = 0;
    skipToNextRemaining = 0;
    ejected = 0;
    chatRequested = 0;
    chatActive = 0;
    // 48.
    missionSetup = nullptr;
    MSN->msnGetMissionSetup(&missionSetup);
    // 49.
    waitingForPlayers = 0;
    startRequested = 0;
    screenshotTimer = 0;
    screenshotInterval = 0;
    // 50.
    applyGameMode(*this);
    // 51.
    joinRefreshTimer = 0;
    mapShown = 0;
    // 52.
    VMG->vmgEnableViewControls(1);
    CTL->ctlSetCommandFilter(nullptr);
    networkPump(*this);
    // 53.
    lock.release();
    return 1;
}

}  // namespace kv
