#include "loading/startup_vocabulary.h"

#include <atomic>
#include <cmath>

#include "config/config_document.h"
#include "engine/flight_module.h"

namespace kv {

namespace {

using R = StartupRead;
using S = StartupStep;
using C = StartupCheck;

using FieldAccess = StartupField (*)(FlightModule&);
using LevelAccess = int32_t (*)(const FlightModule&);

// A field's name for tools and its typed address for the reader; the typed
// local makes a row whose field has the wrong type fail to compile.
#define INT_FIELD(x) #x, [](FlightModule& e) -> StartupField { int32_t* p = &e.x; return {p, false}; }
#define REAL_FIELD(x) #x, [](FlightModule& e) -> StartupField { float* p = &e.x; return {p, false}; }
#define TEXT_FIELD(x) #x, [](FlightModule& e) -> StartupField { char** p = &e.x; return {p, false}; }
#define SHARED_INT_FIELD(x) \
    #x, [](FlightModule& e) -> StartupField { std::atomic<int32_t>* p = &e.x; return {p, true}; }
#define SHARED_REAL_FIELD(x) \
    #x, [](FlightModule& e) -> StartupField { std::atomic<float>* p = &e.x; return {p, true}; }
#define NO_FIELD nullptr, nullptr
#define LEVEL(x) #x, [](const FlightModule& e) -> int32_t { return e.x; }

using N = StartupName;

constexpr StartupRow boolRow(int32_t n, const char* section, const char* key, float def, StartupStep step,
                             const char* dest, FieldAccess field) {
    return {n, section, key, R::kBool, nullptr, def, step, C::kNone, dest, nullptr, nullptr, field, N::kNothing, nullptr};
}

constexpr StartupRow intRow(int32_t n, const char* section, const char* key, float def, StartupStep step,
                            const char* dest, FieldAccess field) {
    return {n, section, key, R::kInt, nullptr, def, step, C::kNone, dest, nullptr, nullptr, field, N::kNothing, nullptr};
}

constexpr StartupRow realRow(int32_t n, const char* section, const char* key, float def, StartupCheck check,
                             const char* dest, FieldAccess field) {
    return {n, section, key, R::kReal, nullptr, def, S::kStore, check, dest, nullptr, nullptr, field, N::kNothing,
            nullptr};
}

constexpr StartupRow realStepRow(int32_t n, const char* section, const char* key, float def, StartupStep step,
                                 const char* dest, FieldAccess field) {
    return {n, section, key, R::kReal, nullptr, def, step, C::kNone, dest, nullptr, nullptr, field, N::kNothing, nullptr};
}

constexpr StartupRow copyRow(int32_t n, const char* section, const char* key, StartupStep step,
                             const char* dest, FieldAccess field, StartupName names = N::kNothing) {
    return {n, section, key, R::kCopy, nullptr, 0.0f, step, C::kNone, dest, nullptr, nullptr, field, names, nullptr};
}

constexpr StartupRow textRow(int32_t n, const char* section, const char* key, StartupStep step,
                             const char* dest, FieldAccess field, StartupName names = N::kNothing,
                             const FormatRule* format = nullptr) {
    return {n, section, key, R::kText, "", 0.0f, step, C::kNone, dest, nullptr, nullptr, field, names, format};
}

// A string of the in-flight string table, by name.
constexpr StartupRow textIdRow(int32_t n, const char* key, const FormatRule* format, const char* dest,
                               FieldAccess field) {
    return textRow(n, "TextStrings", key, S::kTextId, dest, field, N::kStringId, format);
}

constexpr StartupRow detailIntRow(int32_t n, const char* option, LevelAccess level, const char* key, float def,
                                  StartupStep step, const char* dest, FieldAccess field) {
    return {n, nullptr, key, R::kInt, nullptr, def, step, C::kNone, dest, option, level, field, N::kNothing, nullptr};
}

constexpr StartupRow detailRealRow(int32_t n, const char* option, LevelAccess level, const char* key, float def,
                                   const char* dest, FieldAccess field) {
    return {n, nullptr, key, R::kReal, nullptr, def, S::kStore, C::kNone, dest, option, level, field, N::kNothing,
            nullptr};
}

constexpr StartupRow stepRow(int32_t n, const char* section, StartupStep step, const char* dest,
                             FieldAccess field) {
    return {n, section, nullptr, R::kNone, nullptr, 0.0f, step, C::kNone, dest, nullptr, nullptr, field, N::kNothing,
            nullptr};
}

// A key of the loading screen's own section; its value goes to the screen.
constexpr StartupRow screenRow(int32_t n, const char* key, StartupRead read, float def = 0.0f,
                               StartupName names = N::kNothing, const FormatRule* format = nullptr) {
    return {n, kLoadingScreenSection, key, read, nullptr, def, S::kStore, C::kNone, nullptr, nullptr, nullptr, nullptr,
            names, format};
}

}  // namespace

int32_t startupIntValue(StartupField field) {
    if (field.atomic) return static_cast<std::atomic<int32_t>*>(field.address)->load();
    return *static_cast<int32_t*>(field.address);
}

float startupRealValue(StartupField field) {
    if (field.atomic) return static_cast<std::atomic<float>*>(field.address)->load();
    return *static_cast<float*>(field.address);
}

const char* const kDetailSections[3] = {"LowDetailOption", "MedDetailOption", "HighDetailOption"};
const char kLoadingScreenSection[] = "LoadingScreen";

bool startupValueUsable(float value, StartupCheck check) {
    switch (check) {
        case StartupCheck::kNone: return true;
        case StartupCheck::kStepLength: return std::isfinite(value) && value >= kMinStepLength;
        case StartupCheck::kPositive: return std::isfinite(value) && value > 0.0f;
        case StartupCheck::kNotNegative: return std::isfinite(value) && value >= 0.0f;
        case StartupCheck::kFinite: return std::isfinite(value);
    }
    return true;
}

const char* detailSectionName(int32_t level) {
    if (level == 1) return kDetailSections[1];
    if (level == 2) return kDetailSections[2];
    return kDetailSections[0];
}

// clang-format off
const StartupRow kStartupRows[] = {
    boolRow( 1, "Debug", "SkipFlight", 0, S::kSkipFlightNotice, INT_FIELD(skipFlight)),
    textRow( 2, "Korvane", "HUDDLL", S::kModulePath, TEXT_FIELD(hudModulePath), N::kFile),
    copyRow( 3, "Korvane", "HUDDataFilename", S::kStore, TEXT_FIELD(hudDataFilename)),
    textRow( 4, "Korvane", "CommDLL", S::kModulePath, TEXT_FIELD(commModulePath), N::kFile),
    copyRow( 5, "Korvane", "CommDataFilename", S::kStore, TEXT_FIELD(commDataFilename)),
    copyRow( 6, "Korvane", "SoundList", S::kStore, TEXT_FIELD(soundList), N::kFile),
    copyRow( 7, "Korvane", "ViewList", S::kStore, TEXT_FIELD(viewList), N::kFile),
    copyRow( 8, "Korvane", "ParticleSystem", S::kStore, TEXT_FIELD(particleSystem), N::kFile),
    copyRow( 9, "Korvane", "EnvironmentSystem", S::kStore, TEXT_FIELD(environmentSystem), N::kFile),
    copyRow(10, "Korvane", "MessageSystem", S::kStore, TEXT_FIELD(messageSystem), N::kFile),
    copyRow(11, "Korvane", "SpeechSystem", S::kStore, TEXT_FIELD(speechSystem), N::kFile),
    copyRow(12, "Korvane", "ForceFeedback", S::kStore, TEXT_FIELD(forceFeedback)),
    copyRow(13, "Korvane", "ForceFeedbackControl", S::kStore, TEXT_FIELD(forceFeedbackControl)),
    copyRow(14, "Korvane", "TextFilename", S::kStore, TEXT_FIELD(textFilename), N::kStringTable),
    realRow(15, "Korvane", "DeltaT", 0.1f, C::kStepLength, REAL_FIELD(deltaT)),
    realRow(16, "Korvane", "MaxDeltaT", 0.2f, C::kPositive, REAL_FIELD(maxDeltaT)),
    // The current time compression starts at the file's start value.
    realRow(17, "Korvane", "StartTimeCompression", 1.0f, C::kNotNegative, SHARED_REAL_FIELD(timeCompression)),
    realRow(18, "Korvane", "MaxTimeCompression", 0.0f, C::kNotNegative, REAL_FIELD(maxTimeCompression)),
    // Minutes in the file, seconds in the engine.
    intRow( 19, "Korvane", "ChangeTimeAmount", 0, S::kMinutesToSeconds, INT_FIELD(changeTimeAmount)),
    boolRow(20, "Korvane", "StartPaused", 0, S::kStore, SHARED_INT_FIELD(paused)),
    boolRow(21, "Korvane", "ShowCockpit", 0, S::kStore, INT_FIELD(showCockpit)),
    copyRow(22, "Korvane", "EjectView", S::kStore, TEXT_FIELD(ejectView)),
    intRow( 23, "SoundSettings", "SampleFrequency", 11025, S::kStore, INT_FIELD(sampleFrequency)),
    intRow( 24, "SoundSettings", "BitsPerSample", 16, S::kStore, INT_FIELD(bitsPerSample)),
    stepRow(25, nullptr, S::kAppFlag, INT_FIELD(graphicsSetup.appFlag)),
    intRow( 26, "GraphicsSettings", "ZBufferDepth", 16, S::kDepthLimit, INT_FIELD(graphicsSetup.zBufferDepth)),
    intRow( 27, "GraphicsSettings", "MaxVertexCount", 0, S::kStore, INT_FIELD(graphicsSetup.maxVertexCount)),
    intRow( 28, "GraphicsSettings", "MaxIndexCount", 0, S::kStore, INT_FIELD(graphicsSetup.maxIndexCount)),
    intRow( 29, "GraphicsSettings", "MaxTextureCount", 0, S::kStore, INT_FIELD(graphicsSetup.maxTextureCount)),
    intRow( 30, "GraphicsSettings", "MaxModelType", 0, S::kStore, INT_FIELD(graphicsSetup.maxModelType)),
    intRow( 31, "GraphicsSettings", "MaxMeshPerScene", 0, S::kStore, INT_FIELD(graphicsSetup.maxMeshPerScene)),
    intRow( 32, "GraphicsSettings", "MaxModelPerScene", 0, S::kStore, INT_FIELD(graphicsSetup.maxModelPerScene)),
    intRow( 33, "GraphicsSettings", "MaxLightPerScene", 0, S::kStore, INT_FIELD(graphicsSetup.maxLightPerScene)),
    // 1.333333 as written, not the real nearest to 4/3.
    realRow(34, "GraphicsSettings", "AspectRatio", 1.333333f, C::kNone, REAL_FIELD(aspectRatio)),
    realRow(35, "GraphicsSettings", "MinPixelSize", 2.0f, C::kNone, REAL_FIELD(minPixelSize)),
    realRow(36, "FarSceneClip", "FarClipDistance", 10000.0f, C::kNone, REAL_FIELD(farSceneClip.farClip)),
    realRow(37, "FarSceneClip", "NearClipDistance", 1.0f, C::kNone, REAL_FIELD(farSceneClip.nearClip)),
    realRow(38, "NormalSceneClip", "FarClipDistance", 10000.0f, C::kNone, REAL_FIELD(normalSceneClip.farClip)),
    realRow(39, "NormalSceneClip", "NearClipDistance", 1.0f, C::kNone, REAL_FIELD(normalSceneClip.nearClip)),
    realRow(40, "NearSceneClip", "FarClipDistance", 10000.0f, C::kNone, REAL_FIELD(nearSceneClip.farClip)),
    realRow(41, "NearSceneClip", "NearClipDistance", 1.0f, C::kNone, REAL_FIELD(nearSceneClip.nearClip)),
    detailRealRow(42, LEVEL(horizonDistanceOption), "HorizonDistance", 60000.0f,
                  REAL_FIELD(terrainSetup.horizonDistance)),
    detailIntRow(43, LEVEL(horizonDistanceOption), "DetailMeshSize", 0, S::kStore,
                 INT_FIELD(terrainSetup.detailMeshSize)),
    detailIntRow(44, LEVEL(terrainDetailOption), "DetailLevel", 0, S::kStore,
                 INT_FIELD(terrainSetup.detailLevel)),
    detailIntRow(45, LEVEL(terrainDetailOption), "WaterEffect", 0, S::kStore,
                 INT_FIELD(terrainSetup.waterEffect)),
    detailIntRow(46, LEVEL(terrainDetailOption), "NoiseTexture", 0, S::kTerrainDetailLoaded,
                 INT_FIELD(terrainSetup.noiseTexture)),
    detailIntRow(47, LEVEL(objectTextureOption), "MaxTextureRes", 256, S::kStore, INT_FIELD(objectTextureRes)),
    detailIntRow(48, LEVEL(terrainTextureOption), "MaxTextureRes", 256, S::kStore, INT_FIELD(terrainTextureRes)),
    detailIntRow(49, LEVEL(cockpitTextureOption), "MaxTextureRes", 256, S::kStore, INT_FIELD(cockpitTextureRes)),
    intRow( 50, "WorldSettings", "SectorWidth", 0, S::kStore, INT_FIELD(sectorWidth)),
    intRow( 51, "WorldSettings", "SectorHeight", 0, S::kStore, INT_FIELD(sectorHeight)),
    intRow( 52, "WorldSettings", "SectorMaxObject", 0, S::kStore, INT_FIELD(sectorMaxObject)),
    realRow(53, "WorldSettings", "Border", 10000.0f, C::kNone, REAL_FIELD(worldBorder)),
    realRow(54, "WorldSettings", "MinHeight", 1.0f, C::kNone, REAL_FIELD(minHeight)),
    realRow(55, "WorldSettings", "MaxHeight", 24000.0f, C::kNone, REAL_FIELD(maxHeight)),
    realRow(56, "MapSettings", "MapMaxSize", 0.0f, C::kNone, REAL_FIELD(mapMaxSize)),
    realRow(57, "MapSettings", "MapMinSize", 0.0f, C::kNone, REAL_FIELD(mapMinSize)),
    // The map extent starts at its initial size.
    realRow(58, "MapSettings", "MapInitSize", 0.0f, C::kNone, REAL_FIELD(mapSize)),
    realStepRow(59, "MapSettings", "MapScaleRate", 0.0f, S::kZoomControlUnresolved, REAL_FIELD(mapScaleRate)),
    // A control name; the loading resolves it into zoomControlId.
    copyRow(60, "MapSettings", "ZoomControl", S::kStore, TEXT_FIELD(zoomControl)),
    textRow(61, "ScreenShot", "FilenameFormat", S::kScreenshotFormat, NO_FIELD, N::kNothing, &kScreenshotNameFormat),
    // Replaces the screenshot object's start value: no key, no screenshots.
    intRow( 62, "ScreenShot", "MaxScreenShot", 0, S::kStore, INT_FIELD(screenshot.maxScreenShot)),
    textRow(63, "ScreenShot", "SoundEffect", S::kScreenshotSound, NO_FIELD),
    stepRow(64, kLoadingScreenSection, S::kLoadingScreen, NO_FIELD),
    // The flight messages these strings make (commands/, frame/join_wait)
    // pass what their format rules say; the join wait's line is plain text.
    textIdRow(65, "GamePaused", &kPlainMessageFormat, INT_FIELD(pausedTextId)),
    textIdRow(66, "GameUnpaused", &kPlainMessageFormat, INT_FIELD(unpausedTextId)),
    textIdRow(67, "TimeCompress", &kNumberMessageFormat, INT_FIELD(timeCompressTextId)),
    textIdRow(68, "NormalTime", &kPlainMessageFormat, INT_FIELD(normalTimeTextId)),
    textIdRow(69, "TimeSet", &kTextMessageFormat, INT_FIELD(timeSetTextId)),
    textIdRow(70, "WaitJoin", nullptr, INT_FIELD(waitJoinTextId)),
    realRow(71, "SkipToNext", "Timer", 0.0f, C::kFinite, REAL_FIELD(skipToNextTimer)),
    copyRow(72, "SkipToNext", "SkipToNextView", S::kStore, TEXT_FIELD(skipToNextView)),
    copyRow(73, "SkipToNext", "AutoPilotCommand", S::kStore, TEXT_FIELD(autoPilotCommand)),
    copyRow(74, "StartView", "StartView%03d", S::kStartView, TEXT_FIELD(startView)),
    copyRow(75, "InFlightChat", "TargetText", S::kStore, TEXT_FIELD(chatTextFile), N::kStringTable),
    realRow(76, "InFlightChat", "CursorFlashTime", 0.0f, C::kNone, REAL_FIELD(cursorFlashTime)),
    copyRow(77, "InFlightChat", "CursorString", S::kStore, TEXT_FIELD(cursorString)),
    realRow(78, "InFlightChat", "RepeatDelay", 0.0f, C::kNone, REAL_FIELD(repeatDelay)),
    realStepRow(79, "InFlightChat", "RepeatRate", 0.0f, S::kChatTextFile, REAL_FIELD(repeatRate)),
};
// clang-format on
static_assert(sizeof kStartupRows / sizeof kStartupRows[0] == 79, "the start-up vocabulary has 79 rows");

const int32_t kStartupRowCount = static_cast<int32_t>(sizeof kStartupRows / sizeof kStartupRows[0]);

const StartupRow* startupRow(int32_t number) {
    if (number < 1 || number > kStartupRowCount) return nullptr;
    return &kStartupRows[number - 1];
}

// clang-format off
const StartupRow kLoadingScreenRows[kLoadingScreenKeyCount] = {
    screenRow( 1, "BackgroundImage", R::kCopy, 0, N::kFile, &kLoadingPictureFormat),
    screenRow( 2, "BackgroundImageSize", R::kIntPair),
    screenRow( 3, kFontNameKey, R::kText),
    screenRow( 4, kFontSizeKey, R::kInt),
    screenRow( 5, kFontBoldKey, R::kBool),
    screenRow( 6, kFontItalicKey, R::kBool),
    screenRow( 7, kFontUnderlineKey, R::kBool),
    screenRow( 8, kFontStrikeOutKey, R::kBool),
    screenRow( 9, "TextFontColor", R::kColor),
    screenRow(10, "TextFile", R::kCopy, 0, N::kStringTable),
    screenRow(11, "LoadingTextStringID", R::kText, 0, N::kStringId),
    screenRow(12, "PercentTextStringID", R::kText, 0, N::kStringId, &kPercentageFormat),
    screenRow(13, "ProgressBarRange", R::kInt),
    screenRow(14, "ProgressBarRect", R::kRect),
    screenRow(15, "StreamAudio", R::kCopy, 0, N::kFile),
    screenRow(16, "FadeTime", R::kReal),
    screenRow(17, "LoopAudio", R::kBool),
};

const StartupOrder kStartupOrders[] = {
    {17, 18, false},  // the start time compression within its maximum
    {37, 36, true},   // each depth partition's far clip beyond its near clip
    {39, 38, true},
    {41, 40, true},
    {57, 56, false},  // the map's smallest extent within its largest
};
// clang-format on
const int32_t kStartupOrderCount = static_cast<int32_t>(sizeof kStartupOrders / sizeof kStartupOrders[0]);

// The depth buffer widths the graphics module offers.
const StartupChoice kStartupChoices[] = {
    {26, {16, 24, 32}},
};
const int32_t kStartupChoiceCount = static_cast<int32_t>(sizeof kStartupChoices / sizeof kStartupChoices[0]);

#define OPTION(section, key, x) {section, key, #x, [](FlightModule& e) -> int32_t* { return &e.x; }}

// clang-format off
const PlayerOptionRow kPlayerOptionRows[] = {
    OPTION("GameplayOptions", "CockpitView", cockpitView),
    OPTION("GraphicsOptions", "DisplayDeviceID", graphicsSetup.displayDeviceId),
    OPTION("GraphicsOptions", "DisplayWidth", graphicsSetup.displayWidth),
    OPTION("GraphicsOptions", "DisplayHeight", graphicsSetup.displayHeight),
    OPTION("GraphicsOptions", "DisplayDepth", graphicsSetup.displayDepth),
    OPTION("GraphicsOptions", "ObjectDetail", displayOptions.objectDetail),
    OPTION("GraphicsOptions", "Shadow", displayOptions.shadow),
    OPTION("GraphicsOptions", "EffectsDetail", effectsDetail),
    OPTION("GraphicsOptions", "TerrainDetail", terrainDetailOption),
    OPTION("GraphicsOptions", "HorizonDistance", horizonDistanceOption),
    OPTION("GraphicsOptions", "GroundObjectDensity", terrainSetup.groundObjectDensity),
    OPTION("GraphicsOptions", "ObjectTexture", objectTextureOption),
    OPTION("GraphicsOptions", "TerrainTexture", terrainTextureOption),
    OPTION("GraphicsOptions", "CockpitTexture", cockpitTextureOption),
    OPTION("GraphicsOptions", "CockpitMirrors", cockpitMirrors),
    OPTION("GraphicsOptions", "LensFlare", lensFlare),
    OPTION("SoundOptions", "SpeechSubtitles", speechSubtitles),
};
// clang-format on
static_assert(sizeof kPlayerOptionRows / sizeof kPlayerOptionRows[0] == 17,
              "seventeen integer options, then the control map");
const int32_t kPlayerOptionRowCount = static_cast<int32_t>(sizeof kPlayerOptionRows / sizeof kPlayerOptionRows[0]);
const char kControlMapSection[] = "ControlOptions";
const char kControlMapKey[] = "ControlMap";

#undef OPTION

#undef INT_FIELD
#undef REAL_FIELD
#undef TEXT_FIELD
#undef NO_FIELD
#undef LEVEL

}  // namespace kv
