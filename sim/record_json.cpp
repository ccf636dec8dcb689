#include "sim/record_json.h"

#include <cstring>

namespace kvsim {

namespace {
template <typename Int, std::size_t N>
Json words(const Int (&w)[N]) {
    Json out = Json::array();
    for (std::size_t i = 0; i < N; ++i) out.push_back(w[i]);
    return out;
}
}  // namespace

Json toJson(const kv::GraphicsSetup* r) {
    if (!r) return nullptr;
    return Json{{"displayDeviceId", r->displayDeviceId}, {"displayWidth", r->displayWidth},
                {"displayHeight", r->displayHeight},     {"displayDepth", r->displayDepth},
                {"appFlag", r->appFlag},                 {"fixedFlag", r->fixedFlag},
                {"zBufferDepth", r->zBufferDepth},       {"maxVertexCount", r->maxVertexCount},
                {"maxIndexCount", r->maxIndexCount},     {"maxTextureCount", r->maxTextureCount},
                {"maxModelType", r->maxModelType},       {"maxMeshPerScene", r->maxMeshPerScene},
                {"maxModelPerScene", r->maxModelPerScene}, {"maxLightPerScene", r->maxLightPerScene}};
}

Json toJson(const kv::DisplayOptions* r) {
    if (!r) return nullptr;
    return Json{{"reserved", words(r->reserved)}, {"objectDetail", r->objectDetail}, {"shadow", r->shadow}};
}

Json toJson(const kv::TerrainSetup* r) {
    if (!r) return nullptr;
    return Json{{"horizonDistance", r->horizonDistance},   {"detailLevel", r->detailLevel},
                {"detailMeshSize", r->detailMeshSize},     {"waterEffect", r->waterEffect},
                {"terrainDetailLoaded", r->terrainDetailLoaded}, {"noiseTexture", r->noiseTexture},
                {"groundObjectDensity", r->groundObjectDensity}};
}

Json toJson(const kv::CameraParams* r) {
    if (!r) return nullptr;
    return Json{{"viewportLeft", r->viewportLeft},     {"viewportTop", r->viewportTop},
                {"viewportRight", r->viewportRight},   {"viewportBottom", r->viewportBottom},
                {"fieldOfView", r->fieldOfView},       {"aspectRatio", r->aspectRatio},
                {"nearClip", r->nearClip},             {"farClip", r->farClip},
                {"minPixelSize", r->minPixelSize},     {"extraBlock", r->extraBlock != nullptr}};
}

Json toJson(const kv::FontSettings* r) {
    if (!r) return nullptr;
    return Json{{"faceName", std::string(r->faceName, strnlen(r->faceName, sizeof r->faceName))},
                {"size", r->size},
                {"styleFlags", r->styleFlags}};
}

Json toJson(const kv::ControlEvent* r) { return r ? Json{{"words", words(r->words)}} : Json(nullptr); }
Json toJson(const kv::TimeRecord* r) { return r ? Json{{"words", words(r->words)}} : Json(nullptr); }

}  // namespace kvsim
