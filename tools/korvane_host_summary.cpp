#include "tools/korvane_host_summary.h"

#include <cmath>
#include <cstdio>

namespace kvhost {

void FlightCounts::onLine(const TraceLine& line) {
    if (line.kind() == TraceLine::Kind::Host) {
        commands += line.name() == "command";
        return;
    }
    if (line.kind() != TraceLine::Kind::Call) return;
    const std::string& op = line.name();
    if (op == "objEndFrame") {
        ++frames;
    } else if (op == "wldUpdate") {
        ++substeps;
    } else if (op == "msnUpdate") {
        // A frame's simulated time is never negative or NaN once the module
        // has clamped it; the sum would hide one that slipped through.
        simulated += line.firstNumber(std::nan(""));
    } else if (op == "msgShowText") {
        ++messages;
    } else if (op == "netSendChat") {
        ++chat;
    } else if (op == "gfxSaveScreenshot") {
        const kvsim::Json& j = line.json();
        auto ret = j.is_object() ? j.find("ret") : j.end();
        screenshots += ret != j.end() && ret->is_number() && ret->get<double>() != 0.0;
    }
}

std::string summaryLine(int flight, int32_t flyResult, const FlightCounts& c, int liveFltBlocks) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "flight=%d fly=%d frames=%lld simulated=%.3f substeps=%lld commands=%lld messages=%lld "
                  "screenshots=%lld chat=%lld live_flt_blocks=%d",
                  flight, static_cast<int>(flyResult), static_cast<long long>(c.frames), c.simulated,
                  static_cast<long long>(c.substeps), static_cast<long long>(c.commands),
                  static_cast<long long>(c.messages), static_cast<long long>(c.screenshots),
                  static_cast<long long>(c.chat), liveFltBlocks);
    return line;
}

}  // namespace kvhost
