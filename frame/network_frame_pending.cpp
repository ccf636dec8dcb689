// Placeholders for the network flight's in-flight chat and join wait: a
// network flight that reaches them today shows no entry line, sends no
// chat and does not wait for players. The chat (frame/chat*.cpp) and the
// join wait (frame/join_wait*.cpp) replace this file.
#include "engine/flight_module.h"

namespace kv {

void FlightModule::sendChatLine() {}

void FlightModule::drawChatLine(float /*frameTime*/) {}

void FlightModule::updateJoinWait(float /*clampedFrameTime*/) {}

}  // namespace kv
