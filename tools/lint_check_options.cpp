// What the player's options select in the start-up file: a detail section
// for each quality level, and the control map.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/strings.h"
#include "sim/modules/sim_shell.h"
#include "tools/lint_checks.h"

namespace kvtool {

namespace {

const kv::PlayerOptionRow* optionFilling(const char* destination) {
    for (int32_t i = 0; i < kv::kPlayerOptionRowCount; ++i)
        if (kv::strEqual(kv::kPlayerOptionRows[i].destination, destination, 1)) return &kv::kPlayerOptionRows[i];
    return nullptr;
}

std::string keyList(const std::vector<const char*>& keys) {
    std::string list;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0) list += i + 1 == keys.size() ? " and " : ", ";
        list += keys[i];
    }
    return list;
}

// Where the option's key stands in the options file; its first line when
// the file leaves the option out (its level is then 0).
SourceLocation optionPlace(LintContext& context, const kv::PlayerOptionRow& option) {
    kv::ConfigKey* key = findKey(context.options->document(), option.section, option.key);
    return key ? context.options->locate(key->name) : SourceLocation{0, 1};
}

void checkDetailSections(LintContext& context) {
    kv::ConfigDocument& startup = context.startup.document();
    // The keys each option's level reads from the section it selects.
    std::map<std::pair<std::string, std::string>, std::vector<const char*>> missing;
    std::vector<std::pair<std::string, std::string>> order;
    for (int32_t i = 0; i < kv::kStartupRowCount; ++i) {
        const kv::StartupRow& row = kv::kStartupRows[i];
        if (!row.detailLevel) continue;
        const char* section = kv::detailSectionName(row.detailLevel(*context.player));
        if (startup.sections.findByName(section)) continue;
        const auto place = std::make_pair(std::string(section), std::string(row.detailOption));
        if (!missing.count(place)) order.push_back(place);
        missing[place].push_back(row.key);
    }
    for (const auto& place : order) {
        const kv::PlayerOptionRow* option = optionFilling(place.second.c_str());
        if (!option) continue;
        const int32_t level = *option->field(*context.player);
        const std::vector<const char*>& keys = missing[place];
        context.addAt(*context.options, optionPlace(context, *option), Severity::kWarning, "missing-detail-section",
                      std::string("the player's ") + option->key + " " + std::to_string(level) + " selects [" +
                          place.first + "], which the start-up file lacks: " + keyList(keys) +
                          (keys.size() == 1 ? " takes its default" : " take their defaults"));
    }
}

void checkControlMap(LintContext& context) {
    const char* controlMap = context.player->controlMap;
    if (kv::strIsEmpty(controlMap) || !kvsim::SimFileManager::findFile(controlMap).empty()) return;
    kv::ConfigKey* key = findKey(context.options->document(), kv::kControlMapSection, kv::kControlMapKey);
    context.addAt(*context.options, key ? context.options->locate(key->name) : SourceLocation{0, 1}, Severity::kError,
                  "missing-file",
                  std::string(kv::kControlMapKey) + " names " + quoted(controlMap) +
                      ", which is not in the flight directory");
}

}  // namespace

void checkPlayerOptions(LintContext& context) {
    if (!context.options || !context.player) return;
    checkDetailSections(context);
    checkControlMap(context);
}

}  // namespace kvtool
