#include "sim/modules/sim_text.h"

#include <algorithm>

#include "config/config_document.h"
#include "config/strings.h"
#include "sim/modules/sim_shell.h"
#include "sim/modules/sim_text_util.h"

namespace kvsim {

// ---- string tables ----

const SimText::Table* SimText::find(const char* fileName) const {
    auto it = tables_.find(SimFileManager::fileKey(fileName));
    return it == tables_.end() ? nullptr : it->second.get();
}

const std::string* SimText::textOf(const char* fileName, int32_t id) const {
    const Table* table = find(fileName);
    if (!table || id < 0 || static_cast<std::size_t>(id) >= table->texts.size()) return nullptr;
    return &table->texts[static_cast<std::size_t>(id)];
}

void SimText::txtLoadTextFile(const char* fileName) {
    std::lock_guard<std::mutex> held(mutex_);
    const std::string key = SimFileManager::fileKey(fileName);
    if (key.empty()) return;
    auto it = tables_.find(key);
    if (it != tables_.end()) {
        ++it->second->loads;
        return;
    }
    SimDocuments::Document document = documents_.read(fileName);
    if (!document) return;
    auto table = std::make_unique<Table>();
    table->loads = 1;
    for (kv::PtrListNode* node = document->sections.head; node; node = node->next) {
        auto* section = static_cast<kv::ConfigSection*>(node->data);
        if (!section || !kv::strEqual(section->name, "Strings", 0)) continue;
        for (kv::PtrListNode* k = section->keys.head; k; k = k->next) {
            auto* entry = static_cast<kv::ConfigKey*>(k->data);
            if (!entry) continue;
            table->names.emplace_back(entry->name ? entry->name : "");
            table->texts.emplace_back(entry->text ? entry->text : "");
        }
        break;  // the parser merges nothing: the first [Strings] is the table
    }
    tables_[key] = std::move(table);
}

void SimText::txtUnloadTextFile(const char* fileName) {
    std::lock_guard<std::mutex> held(mutex_);
    auto it = tables_.find(SimFileManager::fileKey(fileName));
    if (it != tables_.end() && --it->second->loads <= 0) tables_.erase(it);
}

int32_t SimText::txtGetStringId(const char* fileName, const char* name) {
    std::lock_guard<std::mutex> held(mutex_);
    const Table* table = find(fileName);
    int32_t id = -1;
    if (table && name) {
        for (std::size_t i = 0; i < table->names.size(); ++i) {
            if (kv::strEqual(table->names[i].c_str(), name, 0)) {
                id = static_cast<int32_t>(i);
                break;
            }
        }
    }
    return id;
}

void SimText::txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) {
    std::lock_guard<std::mutex> held(mutex_);
    if (const std::string* s = textOf(fileName, id)) copyText(*s, buffer, size);
}

const char* SimText::txtGetString(const char* fileName, int32_t id) {
    std::lock_guard<std::mutex> held(mutex_);
    const std::string* s = textOf(fileName, id);
    return s ? s->c_str() : nullptr;
}

void SimText::txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) {
    char line[32] = "";
    if (time) {
        const auto wrap = [](int32_t value, int32_t range) { return (value % range + range) % range; };
        const int32_t hours = wrap(time->words[0], 24);
        const int32_t minutes = wrap(time->words[1], 60);
        const int32_t seconds = wrap(time->words[2], 60);
        if (style == 1)
            std::snprintf(line, sizeof line, "%02d:%02d", hours, minutes);
        else
            std::snprintf(line, sizeof line, "%02d:%02d:%02d", hours, minutes, seconds);
    }
    copyText(line, buffer, size);
}

// ---- messages ----

// Loading or unloading the message system starts with an empty screen.
void SimMessages::msgLoadMessageSystem(const char*) {
    std::lock_guard<std::mutex> held(mutex_);
    clearScreen();
}
void SimMessages::msgUnloadMessageSystem() {
    std::lock_guard<std::mutex> held(mutex_);
    clearScreen();
}
void SimMessages::copyScreen(std::vector<OnScreen>& messages, std::string& entry) const {
    std::lock_guard<std::mutex> held(mutex_);
    messages = onScreen;
    entry = entryLine;
}
void SimMessages::clearScreen() {
    onScreen.clear();
    entryLine.clear();
    pendingEntryLine_.clear();
}
void SimMessages::msgShowText(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = formatLine(fmt, args);
    va_end(args);
    std::lock_guard<std::mutex> held(mutex_);
    shown.push_back(line);
    onScreen.push_back({line, kMessageSeconds});
}
void SimMessages::msgShowEntryLine(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = formatLine(fmt, args);
    va_end(args);
    std::lock_guard<std::mutex> held(mutex_);
    pendingEntryLine_ = line;
}
void SimMessages::msgUpdate(float clampedFrameTime) {
    std::lock_guard<std::mutex> held(mutex_);
    // A time that is no number takes no time off.
    const float elapsed = clampedFrameTime > 0.0f ? clampedFrameTime : 0.0f;
    for (OnScreen& message : onScreen) message.timeLeft -= elapsed;
    onScreen.erase(std::remove_if(onScreen.begin(), onScreen.end(),
                                  [](const OnScreen& message) { return message.timeLeft <= 0.0f; }),
                   onScreen.end());
}
void SimMessages::msgRender() {
    std::lock_guard<std::mutex> held(mutex_);
    entryLine = pendingEntryLine_;
    pendingEntryLine_.clear();
}

}  // namespace kvsim
