#include "commands/flight_commands.h"

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"

namespace kv {

namespace {

// Each handler forwards to the engine object and to nothing else. The
// controls module passes the command's identifier and two further words;
// no flight command needs them. A handler left registered in a controls
// module after the engine was released finds no engine and does nothing.

int32_t KV_STDCALL quitGame(int32_t, int32_t, int32_t) {
    if (engine) engine->SetRunState(2);
    return 0;
}

int32_t KV_STDCALL exitFlight(int32_t, int32_t, int32_t) {
    if (engine) engine->SetRunState(1);
    return 0;
}

int32_t KV_STDCALL pauseFlight(int32_t, int32_t, int32_t) {
    if (engine) engine->SetPaused(engine->IsPaused() ? 0 : 1);
    return 0;
}

int32_t KV_STDCALL timeCompression(int32_t, int32_t, int32_t) {
    if (engine) engine->increaseTimeCompression();
    return 0;
}

int32_t KV_STDCALL normalTime(int32_t, int32_t, int32_t) {
    if (engine) engine->resetTimeCompression();
    return 0;
}

int32_t KV_STDCALL screenShot(int32_t, int32_t, int32_t) {
    if (engine) engine->TakeScreenshot();
    return 0;
}

int32_t KV_STDCALL changeTime(int32_t, int32_t, int32_t) {
    if (engine) engine->changeTimeOfDay();
    return 0;
}

int32_t KV_STDCALL skipToNext(int32_t, int32_t, int32_t) {
    if (engine) engine->skipToNext();
    return 0;
}

// The cockpit model is a matter of taste: no condition, no message.
int32_t KV_STDCALL toggleCockpit(int32_t, int32_t, int32_t) {
    if (engine) engine->showCockpit = engine->showCockpit ? 0 : 1;
    return 0;
}

int32_t KV_STDCALL radioComm(int32_t, int32_t, int32_t) {
    if (engine) engine->openRadioMenu();
    return 0;
}

int32_t KV_STDCALL map(int32_t, int32_t, int32_t) {
    if (engine) engine->toggleMap();
    return 0;
}

int32_t KV_STDCALL chatAll(int32_t, int32_t, int32_t) {
    if (engine) engine->startChat(0);
    return 0;
}

int32_t KV_STDCALL chatEnemy(int32_t, int32_t, int32_t) {
    if (engine) engine->startChat(1);
    return 0;
}

int32_t KV_STDCALL chatFriendly(int32_t, int32_t, int32_t) {
    if (engine) engine->startChat(2);
    return 0;
}

int32_t KV_STDCALL chatTarget(int32_t, int32_t, int32_t) {
    if (engine) engine->startTargetChat();
    return 0;
}

int32_t KV_STDCALL ejectPilot(int32_t, int32_t, int32_t) {
    if (engine) engine->eject();
    return 0;
}

}  // namespace

// The names are static texts: the controls module may keep the pointers
// for as long as the module is loaded.
void registerFlightCommands() {
    CTL->ctlRegisterCommand("QUIT_GAME", quitGame, 0);
    CTL->ctlRegisterCommand("EXIT_FLIGHT", exitFlight, 0);
    CTL->ctlRegisterCommand("PAUSE_FLIGHT", pauseFlight, 0);
    CTL->ctlRegisterCommand("TIME_COMPRESSION", timeCompression, 0);
    CTL->ctlRegisterCommand("NORMAL_TIME", normalTime, 0);
    CTL->ctlRegisterCommand("SCREEN_SHOT", screenShot, 0);
    CTL->ctlRegisterCommand("CHANGE_TIME", changeTime, 0);
    CTL->ctlRegisterCommand("SKIP_TO_NEXT", skipToNext, 0);
    CTL->ctlRegisterCommand("TOGGLE_COCKPIT", toggleCockpit, 0);
    CTL->ctlRegisterCommand("RADIO_COMM", radioComm, 0);
    CTL->ctlRegisterCommand("MAP", map, 0);
    CTL->ctlRegisterCommand("CHAT_ALL", chatAll, 0);
    CTL->ctlRegisterCommand("CHAT_ENEMY", chatEnemy, 0);
    CTL->ctlRegisterCommand("CHAT_FRIENDLY", chatFriendly, 0);
    CTL->ctlRegisterCommand("CHAT_TARGET", chatTarget, 0);
    CTL->ctlRegisterCommand("EJECT", ejectPilot, 0);
}

}  // namespace kv
