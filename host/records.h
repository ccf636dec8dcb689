// Records exchanged with the host and sibling modules. Plain structs of
// fixed-width fields; where only some offsets are known, explicit padding
// keeps the known ones in place.
//
// Where pointers are 32 bits wide, as on the real target, every record is
// laid out exactly as documented (checked below) and the module uses the
// host's records as they are: read in place, or copied as raw bytes.
// Records that hold pointers (CameraParams, TerrainInfo, MissionSetup, the
// network's player record, HostGameSettings) cannot keep those offsets on
// 64-bit builds: each pointer is 8 bytes, aligned to 8, so the fields after
// it move. Those builds take the natural layout of the same fields, the
// sibling modules of such a build are compiled against these same
// declarations, and the module copies such records field by field.
#pragma once

#include <cstddef>
#include <cstdint>

// 1 where the records below have their documented byte layout.
#if UINTPTR_MAX == 0xFFFFFFFFu
#define KV_DOCUMENTED_LAYOUT 1
#else
#define KV_DOCUMENTED_LAYOUT 0
#endif

namespace kv {

// Display and scene limits handed to gfxInitDisplay and gfxConfigure.
struct GraphicsSetup {
    int32_t displayDeviceId;
    int32_t displayWidth;
    int32_t displayHeight;
    int32_t displayDepth;
    int32_t appFlag;
    int32_t fixedFlag;
    int32_t zBufferDepth;
    int32_t maxVertexCount;
    int32_t maxIndexCount;
    int32_t maxTextureCount;
    int32_t maxModelType;
    int32_t maxMeshPerScene;
    int32_t maxModelPerScene;
    int32_t maxLightPerScene;
};
static_assert(sizeof(GraphicsSetup) == 14 * 4, "GraphicsSetup is fourteen 32-bit words");

// The second record handed to gfxInitDisplay; the graphics module owns the
// meaning of the three leading words, which stay 0.
struct DisplayOptions {
    int32_t reserved[3];
    int32_t objectDetail;
    int32_t shadow;
};
static_assert(sizeof(DisplayOptions) == 5 * 4, "displayOptions is five 32-bit words");

// Handed to terInitTerrainSystem.
struct TerrainSetup {
    float horizonDistance;
    int32_t detailLevel;
    int32_t detailMeshSize;
    int32_t waterEffect;
    int32_t terrainDetailLoaded;
    int32_t noiseTexture;
    int32_t groundObjectDensity;
};
static_assert(sizeof(TerrainSetup) == 7 * 4, "terrainSetup is seven 32-bit words");

// A camera's parameter block, owned by the graphics module and edited in
// place after cameraGetParams; cameraApply takes it into effect.
struct CameraParams {
    int32_t reserved0;
    int32_t viewportLeft;
    int32_t viewportTop;
    int32_t viewportRight;
    int32_t viewportBottom;
    float fieldOfView;  // degrees
    float aspectRatio;
    float nearClip;
    float farClip;
    float minPixelSize;
    int32_t reserved40[4];
    void* extraBlock;  // the map camera's 52-byte block, null otherwise
    int32_t reservedTail[4];
};

// What the terrain module tells about the loaded terrain.
struct TerrainInfo {
    int32_t reserved0[2];
    const char* baseDirectory;
    int32_t reserved12[8];
    const char* environmentFile;  // may be null
    int32_t reserved48[8];
    int32_t environmentParameter;  // handed to envSetTerrainParameter
};

// The mission record that holds the screenshot interval of a network game.
struct MissionTimingRecord {
    int32_t reserved[72];
    int32_t screenshotIntervalSeconds;
};

// The mission module's description of the running mission.
struct MissionSetup {
    int32_t reserved0[1089];
    int32_t gameMode;
    int32_t reserved4360[191];
    MissionTimingRecord* timing;
};

// Ten words that netGetGameSettings fills; only the tenth is read: eleven
// bytes of gameplay settings chosen by the host, or null.
struct HostGameSettings {
    int32_t reserved[9];
#if KV_DOCUMENTED_LAYOUT
    const uint8_t* gameplay;
#else
    // On 64-bit test builds the pointer cannot fit a word; the record keeps
    // its ten words and the pointer follows.
    int32_t gameplayWord;
    const uint8_t* gameplay;
#endif
};

// A control event as the controls module hands it out and takes it back.
struct ControlEvent {
    int32_t words[4];
};
static_assert(sizeof(ControlEvent) == 16, "control events are 16 bytes");

// Time of day as the environment module fills it and the text module
// formats it.
struct TimeRecord {
    int32_t words[4];
};
static_assert(sizeof(TimeRecord) == 16, "time records are 16 bytes");

// Display facts from the graphics module; the 14th word marks a display of
// three monitors side by side.
struct DisplayInfo {
    int32_t reserved[13];
    int32_t threeScreens;
    int32_t reservedTail[2];
};

// The status block a network player record points to; the second word is
// the join status (3 = ready).
struct PlayerStatus {
    int32_t words[5];
};
static_assert(sizeof(PlayerStatus) == 20, "player status blocks are 20 bytes");

// The network module's record of one player: the name first. 88 bytes on
// the 32-bit target, the status pointer at 80, copied as those 88 bytes;
// on 64-bit builds the pointer is 8 bytes (the record is 96 with padding),
// and copies of it are made field by field.
struct NetworkPlayer {
    char name[80];
    PlayerStatus* status;
    int32_t reserved;
};

// The environment's state at a point and the mission's environment records,
// handed on unchanged between sibling modules.
struct EnvironmentState {
    int32_t words[16];
};
struct EnvironmentRecord {
    int32_t words[64];
};

// A font as the loading screen asks the graphics module for it.
struct FontSettings {
    char faceName[260];
    int32_t size;
    int32_t styleFlags;  // 2 bold, 16 italic, 32 underline, 64 strike-out
};

#if KV_DOCUMENTED_LAYOUT
static_assert(offsetof(CameraParams, viewportLeft) == 4, "CameraParams layout");
static_assert(offsetof(CameraParams, viewportTop) == 8, "CameraParams layout");
static_assert(offsetof(CameraParams, viewportRight) == 12, "CameraParams layout");
static_assert(offsetof(CameraParams, viewportBottom) == 16, "CameraParams layout");
static_assert(offsetof(CameraParams, fieldOfView) == 20, "CameraParams layout");
static_assert(offsetof(CameraParams, aspectRatio) == 24, "CameraParams layout");
static_assert(offsetof(CameraParams, nearClip) == 28, "CameraParams layout");
static_assert(offsetof(CameraParams, farClip) == 32, "CameraParams layout");
static_assert(offsetof(CameraParams, minPixelSize) == 36, "CameraParams layout");
static_assert(offsetof(CameraParams, extraBlock) == 56, "CameraParams layout");
static_assert(offsetof(TerrainInfo, baseDirectory) == 8, "TerrainInfo layout");
static_assert(offsetof(TerrainInfo, environmentFile) == 44, "TerrainInfo layout");
static_assert(offsetof(TerrainInfo, environmentParameter) == 80, "TerrainInfo layout");
static_assert(offsetof(MissionSetup, gameMode) == 4356, "MissionSetup layout");
static_assert(offsetof(MissionSetup, timing) == 5124, "MissionSetup layout");
static_assert(offsetof(MissionTimingRecord, screenshotIntervalSeconds) == 288, "mission timing layout");
static_assert(sizeof(HostGameSettings) == 40, "HostGameSettings is ten 32-bit words");
static_assert(offsetof(HostGameSettings, gameplay) == 36, "HostGameSettings layout");
static_assert(offsetof(DisplayInfo, threeScreens) == 52, "DisplayInfo layout");
static_assert(offsetof(NetworkPlayer, status) == 80, "network player record layout");
static_assert(sizeof(NetworkPlayer) == 88, "network player record layout");
#endif

}  // namespace kv
