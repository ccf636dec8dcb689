// The one engine object: nearly all flight state, the host's nine
// operations, the interface acquisition and the engine lock. Fields are in
// the order sibling code and later flight stages rely on; every field not
// set by the constructor starts at zero.
//
// The host may call SetRunState, SetPaused, TakeScreenshot,
// SetScreenshotDirectory and the accessors from any thread, between frames
// or during one, without the engine lock. The single words those calls
// share with the flight (runState, paused, skipToNextActive,
// timeCompression, stepRate, screenshotTimer, screenshotInterval) are
// atomics; what is larger than a word (the flight directory, the
// screenshot settings, the in-flight text file and its ids) is copied or
// swapped under sharedLock, and nobody calls a sibling module while holding
// it: a sibling may wait for the flight's thread (a graphics module that
// reads a screenshot back from the next presented frame), and the flight's
// thread takes sharedLock inside a frame.
#pragma once

#include <atomic>
#include <cstdint>

#include "commands/screenshot_capture.h"
#include <korvane/flight_module_interface.h>
#include "engine/recursive_spin_lock.h"
#include "frame/frame_state.h"
#include <korvane/engine_interfaces.h>
#include <korvane/records.h>
#include "loading/flight_systems.h"

namespace kv {

class ConfigDocument;
class LoadingScreen;

// Far and near clip distances of one depth partition.
struct ClipRange {
    float farClip;
    float nearClip;
};

class FlightModule : public FlightModuleInterface {
public:
    FlightModule();

    // Fetches the eighteen engine interfaces and the "NOT_RENDERED" flag
    // bit, and makes this the module-wide engine. Called by InitDLL.
    void AcquireInterfaces();
    // Gives the engine interfaces back in reverse order. Called by ExitDLL.
    void ReleaseInterfaces();

    int32_t Fly(const char* directory, const char* startupFile) override;
    // Fly's steps 1 to 12, on the flight's thread.
    int32_t runFlight(const char* directory, const char* startupFile);
    // Fly's step 4: the working directory becomes flightDirectory.
    void setFlightDirectory();
    int32_t SetRunState(int32_t state) override;
    float GetTimeCompression() override;
    int32_t IsPaused() override;
    void SetPaused(int32_t value) override;
    void SetScreenshotDirectory(const char* directory) override;
    void TakeScreenshot() override;
    void GetFlightDirectory(char* buffer, int32_t size) override;
    float GetStepRate() override;

    // Between a flight's load and its first frame (Fly's step 7): the
    // input, the fade-in, the clock and the network start afresh.
    void startFrames();
    // The frame loop (frame/): one frame under the engine lock, the player
    // aircraft it follows, and what it draws.
    void frameStep();
    void trackPlayerObject();
    void renderMainView(const FrameView& view, float simTime);
    void renderMirrorView();
    void renderMapView(float clampedFrameTime);
    // Network flights only: the in-flight chat line and the join wait.
    void sendChatLine();
    void drawChatLine(float frameTime);
    void updateJoinWait(float clampedFrameTime);

    // Flight loading and unloading (loading/).
    int32_t LoadKorvane(const char* startFile);
    void UnloadKorvane();
    void readPlayerOptions();
    void applyHostGameplayOptions(ConfigDocument* document);
    int32_t loadStartupFile(const char* fileName);
    void setupCockpitMirror(int32_t objectId);

    // Flight commands (commands/): each refuses silently when the flight
    // does not allow it.
    void increaseTimeCompression();
    void resetTimeCompression();
    void changeTimeOfDay();
    void skipToNext();
    void openRadioMenu();
    void toggleMap();
    // mode: 0 all, 1 enemy, 2 friendly, 3 the player's target.
    void startChat(int32_t mode);
    void startTargetChat();
    void eject();

    GraphicsSetup graphicsSetup = {};
    ScreenshotCapture screenshot;
    LoadingScreen* loadingScreen = nullptr;
    HudInterface* hudInterface = nullptr;
    CommInterface* commInterface = nullptr;
    AvionicsInterface* avionicsInterface = nullptr;
    MissionSetup* missionSetup = nullptr;

    // Quality levels from the player options.
    int32_t horizonDistanceOption = 0;
    int32_t terrainDetailOption = 0;
    int32_t objectTextureOption = 0;
    int32_t terrainTextureOption = 0;
    int32_t cockpitTextureOption = 0;
    int32_t objectTextureRes = 0;
    int32_t terrainTextureRes = 0;
    int32_t cockpitTextureRes = 0;

    TerrainSetup terrainSetup = {};
    DisplayOptions displayOptions = {};
    int32_t effectsDetail = 0;
    int32_t lensFlare = 0;
    int32_t cockpitMirrors = 0;
    int32_t mirrorTextureId = 0;
    int32_t notRenderedFlag = 0;

    ClipRange farSceneClip = {};
    ClipRange normalSceneClip = {};
    ClipRange nearSceneClip = {};
    float aspectRatio = 0;
    float minPixelSize = 0;

    int32_t sampleFrequency = 0;
    int32_t bitsPerSample = 0;
    int32_t speechSubtitles = 0;

    int32_t sectorWidth = 0;
    int32_t sectorHeight = 0;
    int32_t sectorMaxObject = 0;
    float worldBorder = 0;
    float minHeight = 0;
    float maxHeight = 0;

    int32_t networkFlight = 0;
    int32_t waitingForPlayers = 0;
    int32_t startRequested = 0;
    float joinRefreshTimer = 0;

    std::atomic<float> timeCompression{0};
    float maxTimeCompression = 0;
    float deltaT = 0;
    float maxDeltaT = 0;
    std::atomic<int32_t> paused{0};
    // 0 while the flight runs; 2 means the host application is ending.
    std::atomic<int32_t> runState{0};
    int32_t skipFlight = 0;
    int32_t changeTimeAmount = 0;
    int32_t showCockpit = 0;

    std::atomic<int32_t> skipToNextActive{0};
    float skipToNextTimer = 0;
    float skipToNextRemaining = 0;
    int32_t ejected = 0;
    int32_t frameCount = 0;
    std::atomic<float> stepRate{0};

    // In-flight text ids in textFilename; -1 = no text.
    int32_t pausedTextId = 0;
    int32_t unpausedTextId = 0;
    int32_t timeCompressTextId = 0;
    int32_t normalTimeTextId = 0;
    int32_t timeSetTextId = 0;
    int32_t waitJoinTextId = 0;

    int32_t mapShown = 0;
    float mapMaxSize = 0;
    float mapMinSize = 0;
    float mapSize = 0;
    float mapScaleRate = 0;
    int32_t zoomControlId = 0;
    char* zoomControl = nullptr;

    char flightDirectory[260] = {};

    // Per-flight file names, module paths and names; freed by the unloading.
    char* textFilename = nullptr;
    char* controlMap = nullptr;
    char* soundList = nullptr;
    char* viewList = nullptr;
    char* particleSystem = nullptr;
    char* environmentSystem = nullptr;
    char* messageSystem = nullptr;
    char* speechSystem = nullptr;
    char* chatTextFile = nullptr;
    char* forceFeedback = nullptr;
    char* forceFeedbackControl = nullptr;
    char* hudModulePath = nullptr;
    char* hudDataFilename = nullptr;
    char* commModulePath = nullptr;
    char* commDataFilename = nullptr;
    char* startView = nullptr;
    char* ejectView = nullptr;
    char* skipToNextView = nullptr;
    char* autoPilotCommand = nullptr;

    ControlEvent autoPilotEvent = {};
    int32_t autoPilotAvailable = 0;
    int32_t cockpitView = 0;

    int32_t chatRequested = 0;
    int32_t chatActive = 0;
    int32_t chatMode = 0;
    int32_t cursorVisible = 0;
    float cursorFlashTimer = 0;
    float cursorFlashTime = 0;
    float repeatDelay = 0;
    float repeatRate = 0;
    char* cursorString = nullptr;

    int32_t playerObjectId = 0;
    float ejectTimer = 0;
    float ejectDelay = 0;
    // Seconds before the next screenshot is allowed, and what a screenshot
    // sets it back to.
    std::atomic<float> screenshotTimer{0};
    std::atomic<float> screenshotInterval{0};

    // What the frame step carries from one frame to the next.
    FrameState frameState = {};

    // What the loading has brought up; the unloading takes it down.
    FlightSystems systemsUp = {};

    RecursiveSpinLock lock;
    // Taken after the engine lock, never before it, and never held across a
    // call into a sibling: see the top of this file.
    RecursiveSpinLock sharedLock;

    // The thread that runs Fly, 0 between flights. A screenshot asked for on
    // another thread while a flight runs names its files by path instead of
    // entering the screenshot directory, so the flight is never moved.
    std::atomic<uint32_t> flightThread{0};
    // 1 while a screenshot is being taken, on whichever thread: a second one
    // asked for meanwhile is refused rather than waited for, since the first
    // may be waiting for the frame the second would hold up.
    std::atomic<int32_t> captureBusy{0};
    // 1 while a screenshot with no flight to move runs in the screenshot
    // directory: the next Fly lets it finish before entering its own folder.
    std::atomic<int32_t> capturingInFolder{0};
    // SetPaused calls that are showing a text of the in-flight table, and
    // whether the unloading has begun to take the table down: from then on
    // SetPaused shows nothing, and the unloading waits for the ones still
    // showing a text before it unloads the table. Both under sharedLock.
    int32_t tableReaders = 0;
    int32_t tableClosing = 0;
};

}  // namespace kv
