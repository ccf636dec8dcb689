#include "tools/korvane_host_summary.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kvhost {

void FlightCounts::onRecord(const kvsim::LoggedRecord& record) {
    if (record.late) return;
    const char* op = record.name;
    if (record.kind == kvsim::RecordKind::Host) {
        commands += std::strcmp(op, "command") == 0;
        return;
    }
    if (record.kind != kvsim::RecordKind::Call) return;
    // Every call of the module passes here: the first letter sorts out
    // nearly all of them before any name is compared.
    switch (op[0]) {
    case 'o':
        frames += std::strcmp(op, "objEndFrame") == 0;
        break;
    case 'w':
        substeps += std::strcmp(op, "wldUpdate") == 0;
        break;
    case 'm':
        // A frame's simulated time is never negative or NaN once the module
        // has clamped it; the sum would hide one that slipped through.
        if (std::strcmp(op, "msnUpdate") == 0) simulated += record.first.number;
        messages += std::strcmp(op, "msgShowText") == 0;
        break;
    case 'n':
        chat += std::strcmp(op, "netSendChat") == 0;
        break;
    case 'g':
        if (std::strcmp(op, "gfxSaveScreenshot") == 0)
            screenshots += record.hasResult && !std::isnan(record.result) && record.result != 0.0;
        break;
    default:
        break;
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
