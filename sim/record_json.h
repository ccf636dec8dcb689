// Records passed by pointer, as trace objects with the code's field names.
#pragma once

#include "host/records.h"
#include "sim/call_log.h"

namespace kvsim {

Json toJson(const kv::GraphicsSetup* r);
Json toJson(const kv::DisplayOptions* r);
Json toJson(const kv::TerrainSetup* r);
Json toJson(const kv::CameraParams* r);
Json toJson(const kv::FontSettings* r);
Json toJson(const kv::ControlEvent* r);
Json toJson(const kv::TimeRecord* r);

}  // namespace kvsim
