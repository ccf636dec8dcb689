#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "sim/scenario/scenario_file_parts.h"

namespace kvsim {
namespace scenario_detail {

std::string trim(const std::string& s) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    auto begin = std::find_if_not(s.begin(), s.end(), blank);
    auto end = std::find_if_not(s.rbegin(), s.rend(), blank).base();
    return begin < end ? std::string(begin, end) : std::string();
}

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

bool sameName(const std::string& a, const std::string& b) { return lower(a) == lower(b); }


namespace {

// Pieces of a list, each trimmed; an empty text is an empty list.
std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    if (trim(text).empty()) return parts;
    std::string::size_type at = 0;
    for (;;) {
        const auto next = text.find(separator, at);
        parts.push_back(trim(text.substr(at, next == std::string::npos ? std::string::npos : next - at)));
        if (next == std::string::npos) return parts;
        at = next + 1;
    }
}

bool toInt(const std::string& text, long long low, long long high, int32_t& out, std::string& problem) {
    const std::string t = trim(text);
    char* end = nullptr;
    errno = 0;
    const long long value = t.empty() ? 0 : std::strtoll(t.c_str(), &end, 10);
    if (t.empty() || *end != '\0' || errno == ERANGE || std::isspace(static_cast<unsigned char>(t[0]))) {
        problem = "\"" + t + "\" is not a whole number";
        return false;
    }
    if (value < low || value > high) {
        problem = t + " is out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")";
        return false;
    }
    out = static_cast<int32_t>(value);
    return true;
}

// Frame times may be negative, infinite or NaN on purpose: the module has
// to survive them, and scenarios are how its tests feed them in.
bool toReal(const std::string& text, bool finiteOnly, float& out, std::string& problem) {
    const std::string t = trim(text);
    char* end = nullptr;
    const float value = t.empty() ? 0.0f : std::strtof(t.c_str(), &end);
    if (t.empty() || *end != '\0') {
        problem = "\"" + t + "\" is not a number";
        return false;
    }
    if (finiteOnly && !std::isfinite(value)) {
        problem = t + " is not a finite number";
        return false;
    }
    out = value;
    return true;
}

bool toRealList(const std::string& text, std::vector<float>& out, std::string& problem) {
    std::vector<float> values;
    for (const std::string& part : split(text, ',')) {
        float value = 0.0f;
        if (!toReal(part, false, value, problem)) return false;
        values.push_back(value);
    }
    if (values.empty()) {
        problem = "needs at least one frame time";
        return false;
    }
    out = values;
    return true;
}

// "name:number;name:number"; names are unique.
bool toNamedNumbers(const std::string& text, long long low, long long high,
                    std::vector<std::pair<std::string, int32_t>>& out, std::string& problem) {
    std::vector<std::pair<std::string, int32_t>> entries;
    for (const std::string& part : split(text, ';')) {
        const auto colon = part.rfind(':');
        const std::string name = colon == std::string::npos ? "" : trim(part.substr(0, colon));
        if (name.empty()) {
            problem = "\"" + part + "\" is not name:number";
            return false;
        }
        int32_t number = 0;
        if (!toInt(part.substr(colon + 1), low, high, number, problem)) {
            problem = name + ": " + problem;
            return false;
        }
        for (const auto& entry : entries) {
            if (entry.first == name) {
                problem = "player " + name + " is listed twice";
                return false;
            }
        }
        entries.emplace_back(name, number);
    }
    out = entries;
    return true;
}

const int32_t kIntMax = 2147483647;

// ---- fields ----

template <int32_t Scenario::*Field, long long Low, long long High>
bool intField(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return toInt(value, Low, High, s.*Field, problem);
}

template <int32_t Scenario::*Field>
bool flagField(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return toInt(value, 0, 1, s.*Field, problem);
}

template <bool Scenario::*Field>
bool boolField(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    int32_t flag = 0;
    if (!toInt(value, 0, 1, flag, problem)) return false;
    s.*Field = flag != 0;
    return true;
}

template <std::string Scenario::*Field>
bool textField(Scenario& s, const std::string&, const std::string& value, std::string&) {
    s.*Field = value;
    return true;
}

template <std::vector<float> Scenario::*Field>
bool realListField(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return toRealList(value, s.*Field, problem);
}

bool applyStartupFile(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    if (value.empty()) {
        problem = "needs a file name";
        return false;
    }
    s.startupFile = value;
    return true;
}

bool applyPresent(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    bool net = false, ffb = false, opt = false, avn = false;
    for (const std::string& tag : split(value, ',')) {
        const std::string t = lower(tag);
        if (t == "net") net = true;
        else if (t == "ffb") ffb = true;
        else if (t == "opt") opt = true;
        else if (t == "avn") avn = true;
        else {
            problem = "\"" + tag + "\" is not one of NET, FFB, OPT, AVN";
            return false;
        }
    }
    s.hasNet = net;
    s.hasFfb = ffb;
    s.hasOpt = opt;
    s.hasAvn = avn;
    return true;
}

bool applyPlayerInterfaces(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    std::vector<int32_t> kinds;
    for (const std::string& part : split(value, ',')) {
        int32_t kind = 0;
        if (!toInt(part, 0, kIntMax, kind, problem)) return false;
        kinds.push_back(kind);
    }
    s.playerInterfaces = kinds;
    return true;
}

bool applyZoomAxis(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return toReal(value, true, s.zoomAxis, problem);
}

// The names the module registers with the controls module; a misspelt one
// would otherwise be dispatched to nobody.
const char* const kCommandNames[] = {
    "QUIT_GAME",  "EXIT_FLIGHT",    "PAUSE_FLIGHT", "TIME_COMPRESSION", "NORMAL_TIME", "SCREEN_SHOT",
    "CHANGE_TIME", "SKIP_TO_NEXT",  "TOGGLE_COCKPIT", "RADIO_COMM",    "MAP",         "CHAT_ALL",
    "CHAT_ENEMY", "CHAT_FRIENDLY", "CHAT_TARGET",  "EJECT"};

bool applyEvent(Scenario& s, const std::string& key, const std::string& value, std::string& problem) {
    int32_t frame = 0;
    if (!toInt(key, 0, kIntMax, frame, problem)) {
        problem = "the key must be a frame number: " + problem;
        return false;
    }
    std::vector<std::string> names = split(value, ',');
    if (names.empty()) {
        problem = "needs at least one command name";
        return false;
    }
    for (const std::string& name : names) {
        if (std::find_if(std::begin(kCommandNames), std::end(kCommandNames),
                         [&](const char* known) { return name == known; }) == std::end(kCommandNames)) {
            problem = "\"" + name + "\" is not a flight command";
            return false;
        }
    }
    // "40" and "040" name the same frame: their commands run in file order.
    std::vector<std::string>& list = s.events[frame];
    list.insert(list.end(), names.begin(), names.end());
    return true;
}

bool applyPlayers(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return toNamedNumbers(value, -kIntMax - 1LL, kIntMax, s.players, problem);
}

bool applyFrameMap(std::map<std::string, int32_t>& out, const std::string& value, std::string& problem) {
    std::vector<std::pair<std::string, int32_t>> entries;
    if (!toNamedNumbers(value, 0, kIntMax, entries, problem)) return false;
    out = std::map<std::string, int32_t>(entries.begin(), entries.end());
    return true;
}

bool applyReadyAtFrame(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return applyFrameMap(s.readyAtFrame, value, problem);
}

bool applyJoinAtFrame(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    return applyFrameMap(s.joinAtFrame, value, problem);
}

bool applyHostGameplay(Scenario& s, const std::string&, const std::string& value, std::string& problem) {
    std::vector<uint8_t> bytes;
    for (const std::string& part : split(value, ',')) {
        int32_t byte = 0;
        if (!toInt(part, 0, 255, byte, problem)) return false;
        bytes.push_back(static_cast<uint8_t>(byte));
    }
    if (!bytes.empty() && bytes.size() != 11) {
        problem = "needs eleven byte values or none, not " + std::to_string(bytes.size());
        return false;
    }
    s.hostGameplay = bytes;
    return true;
}

// HUD, COM or none, in any case; the key is the file's name as written.
bool applyModule(Scenario& s, const std::string& key, const std::string& value, std::string& problem) {
    const std::string kind = lower(trim(value));
    if (kind != "hud" && kind != "com" && kind != "none") {
        problem = "\"" + value + "\" is not one of HUD, COM, none";
        return false;
    }
    s.moduleInterfaces.emplace_back(key, kind == "none" ? "" : upper(kind));
    return true;
}

const long long kMin = -2147483648LL;
const long long kMax = kIntMax;

const ScenarioKey kKeys[] = {
    {"Host", "StartupFile", "flight.ini", "start-up file name handed to Fly", applyStartupFile},
    {"Host", "Flights", "1", "number of Fly calls in a row", intField<&Scenario::flights, 1, kMax>},
    {"Host", "Frames", "0",
     "after the N-th frame of a flight (its N-th appUpdate) the host calls SetRunState(1); 0 = no limit; "
     "--frames overrides",
     intField<&Scenario::frames, 0, kMax>},
    {"Host", "AppEndsAfter", "0", "appUpdate returns 0 from its N-th call in a flight; 0 = never",
     intField<&Scenario::appEndsAfter, 0, kMax>},
    {"Host", "AppStopsAfter", "0", "appIsRunning returns 0 from its N-th call in a flight; 0 = never",
     intField<&Scenario::appStopsAfter, 0, kMax>},
    {"Host", "FrameTime", "0.05",
     "clock frame times in seconds: one value, or a comma list whose last value repeats; value n is frame "
     "n's time in every flight (the loading's fade waits do not use up values); negative, inf and nan are "
     "accepted",
     realListField<&Scenario::frameTimes>},
    {"Host", "ScreenshotDirectory", "(none)",
     "relative to FLIGHT_DIR; handed to SetScreenshotDirectory before the first flight",
     textField<&Scenario::screenshotDirectory>},
    {"Host", "OptionsFile", "options.ini",
     "player options document lent by the options module, relative to FLIGHT_DIR",
     textField<&Scenario::optionsFile>},
    {"Host", "Present", "NET,FFB,OPT,AVN",
     "comma list of the optional interfaces that exist: any of NET, FFB, OPT, AVN; empty = none",
     applyPresent},
    {"Host", "ThreeScreens", "0", "the display's three-screen flag (0 or 1)", flagField<&Scenario::threeScreens>},
    {"Mission", "Network", "0", "msnIsNetworkMission", flagField<&Scenario::network>},
    {"Mission", "CanPause", "1", "msnCanPause", flagField<&Scenario::canPause>},
    {"Mission", "CanCompressTime", "1", "msnCanCompressTime", flagField<&Scenario::canCompressTime>},
    {"Mission", "CanChangeTime", "1", "msnCanChangeTime", flagField<&Scenario::canChangeTime>},
    {"Mission", "CanSkipToNext", "1", "msnCanSkipToNext", flagField<&Scenario::canSkipToNext>},
    {"Mission", "GameMode", "0", "game mode of the mission setup", intField<&Scenario::gameMode, kMin, kMax>},
    {"Mission", "ModeSeconds", "0", "the seconds value of the mission setup",
     intField<&Scenario::modeSeconds, kMin, kMax>},
    {"Mission", "NullMissionSetup", "0", "1 = msnGetMissionSetup hands out a null record",
     boolField<&Scenario::nullMissionSetup>},
    {"Mission", "PlayerObject", "1", "object id msnGetPlayerObject returns; -1 = none",
     intField<&Scenario::playerObject, -1, kMax>},
    {"Mission", "LoadingImage", "(empty)", "msnGetLoadingImage; empty = null", textField<&Scenario::loadingImage>},
    {"Objects", "PlayerInterfaces", "2,3,4,10,11", "interface kinds the player aircraft offers",
     applyPlayerInterfaces},
    {"Objects", "MirrorTexture", "-1",
     "attribute 28 of the flight controls; attribute 27 is 1 when it is not -1",
     intField<&Scenario::mirrorTexture, kMin, kMax>},
    {"Objects", "Target", "-1", "object id of the aircraft's current target; -1 = none",
     intField<&Scenario::target, -1, kMax>},
    {"Objects", "TargetActive", "1", "whether that target is active", flagField<&Scenario::targetActive>},
    {"Objects", "PlayerLostAtFrame", "0", "from this frame on the player aircraft is inactive; 0 = never",
     intField<&Scenario::playerLostAtFrame, 0, kMax>},
    {"Objects", "PlayerChangesAtFrame", "0",
     "from this frame on the mission names another aircraft (id + 1) as the player's; 0 = never",
     intField<&Scenario::playerChangesAtFrame, 0, kMax>},
    {"Fail", "Display", "0", "1 = gfxInitDisplay fails, in every flight", flagField<&Scenario::failDisplay>},
    {"Fail", "Terrain", "0", "1 = the terrain system fails to start, in every flight",
     flagField<&Scenario::failTerrain>},
    {"Fail", "MissionObjects", "0", "1 = the mission objects fail to load, in every flight",
     flagField<&Scenario::failMissionObjects>},
    {"Fail", "HudModule", "0", "1 = the HUD module fails to load, in every flight",
     flagField<&Scenario::failHudModule>},
    {"Fail", "CommModule", "0", "1 = the comm module fails to load, in every flight",
     flagField<&Scenario::failCommModule>},
    {"Fail", "Allocation", "0", "the memory service refuses its N-th allocation of a flight; 0 = never",
     intField<&Scenario::failAllocation, 0, kMax>},
    {"Fail", "AllocationsFrom", "0",
     "the memory service refuses every allocation of a flight from its N-th on; 0 = never",
     intField<&Scenario::failAllocationsFrom, 0, kMax>},
    {"Events", "(frame)", "",
     "comma list of flight commands the controls module dispatches at its first update in a frame at or "
     "after that frame number (frame 0 is the first frame of a flight)",
     applyEvent},
    {"Controls", "ZoomAxis", "0", "value of the map zoom control", applyZoomAxis},
    {"Modules", "(file)", "(name rule)",
     "the interface a module file offers once loaded: HUD, COM or none. The key is the file's name in "
     "FLIGHT_DIR with its extension, a relative path allowed (modules\\Radio.DLL=COM), matched without "
     "regard to case, and must name a file there. A file not named here offers HUD when its name "
     "contains \"hud\", COM when it contains \"comm\" (any case), and nothing otherwise",
     applyModule},
    {"Network", "FrameTime", "0.05",
     "what netGetFrameTime returns: one value, or a comma list whose last value repeats",
     realListField<&Scenario::netFrameTimes>},
    {"Network", "Players", "(none)", "name:status list separated by ';': the records netEnumPlayers hands out",
     applyPlayers},
    {"Network", "ReadyAtFrame", "(none)",
     "name:frame list separated by ';': from that frame on the player has status 3, and netPlayersChanged "
     "reports the change once",
     applyReadyAtFrame},
    {"Network", "JoinAtFrame", "(none)",
     "name:frame list separated by ';': the player appears in the enumeration only from that frame on, "
     "and netPlayersChanged reports it once",
     applyJoinAtFrame},
    {"Network", "HostGameplay", "(empty)",
     "eleven comma-separated byte values for netGetGameSettings; empty = null pointer", applyHostGameplay},
    {"Network", "ChatText", "(empty)",
     "the typed text of a chat entry; the entry closes at the controls module's first update after it opened",
     textField<&Scenario::chatText>},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

const ScenarioKey* findKey(const std::string& section, const std::string& key) {
    for (const ScenarioKey* k = kKeys; k->section; ++k) {
        if (!sameName(section, k->section)) continue;
        if (k->key[0] == '(' || sameName(key, k->key)) return k;
    }
    return nullptr;
}

bool knownSection(const std::string& section) {
    for (const ScenarioKey* k = kKeys; k->section; ++k) {
        if (sameName(section, k->section)) return true;
    }
    return false;
}

std::string knownSections() {
    std::string out;
    for (const ScenarioKey* k = kKeys; k->section; ++k) {
        if (k != kKeys && std::string(k->section) == k[-1].section) continue;
        out += (out.empty() ? "" : ", ") + std::string(k->section);
    }
    return out;
}

}  // namespace scenario_detail

const ScenarioKey* scenarioKeys() { return scenario_detail::kKeys; }

std::string scenarioKeysText() {
    std::string out;
    std::string section;
    for (const ScenarioKey* k = scenario_detail::kKeys; k->section; ++k) {
        if (section != k->section) {
            section = k->section;
            out += "  [" + section + "]\n";
        }
        std::string head = std::string("    ") + k->key;
        if (*k->defaultText) head += " (default " + std::string(k->defaultText) + ")";
        out += head + "\n";
        // The meaning in lines of at most 96 columns.
        std::string line = "      ";
        std::istringstream words(k->meaning);
        for (std::string word; words >> word;) {
            if (line.size() > 6 && line.size() + 1 + word.size() > 96) {
                out += line + "\n";
                line = "      ";
            }
            line += (line.size() > 6 ? " " : "") + word;
        }
        out += line + "\n";
    }
    return out;
}

std::string scenarioKeysMarkdown() {
    std::string out = "| Section | Key | Default | Meaning |\n|---|---|---|---|\n";
    for (const ScenarioKey* k = scenario_detail::kKeys; k->section; ++k) {
        out += std::string("| ") + k->section + " | " + k->key + " | " + k->defaultText + " | " + k->meaning + " |\n";
    }
    return out;
}

}  // namespace kvsim
