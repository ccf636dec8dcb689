// The text service and on-screen messages.
//
// String tables. txtLoadTextFile reads a string table: an INI file read
// with the project's configuration library, whose section [Strings] holds
// Name=Text entries; a string's id is its 0-based position in that section
// (a duplicate name the parser drops takes no position; "Name=" is the
// empty text). A file name is matched as the file manager matches it:
// relative to the current directory, without regard to case, backslashes
// or slashes. Loads are counted: a file loaded twice (the loading screen's
// table may be the flight's own) stays until it is unloaded twice, and its
// texts stay valid (same pointers) until then. A file that cannot be read
// loads nothing. Every loaded table is dropped when a new flight starts.
//
// - txtGetStringId(file, name): the id, -1 for an unknown file or name
//   (names match without regard to case, as the parser's keys do).
// - txtGetString(file, id): the text, null for an unknown file or id.
// - txtGetIndexedString(file, id, buffer, size): the text cut to size - 1
//   bytes and terminated; for an unknown file or id the buffer is left
//   untouched, as a careless sibling does.
// - txtFormatTime(record, buffer, size, style): the record's time of day.
//   TimeRecord words: [0] hours (0-23), [1] minutes, [2] seconds, [3]
//   unused (the environment module fills the first three). Each value is
//   brought into its range (hours modulo 24, minutes and seconds modulo
//   60). Style 1: "HH:MM"; style 2 (the flight's time-of-day message) and
//   every other value: "HH:MM:SS". A null record writes "".
//
// The host may show a message from a thread of its own (SetPaused, called
// beside a running flight): the tables and the texts shown are guarded, so
// either module may be called from several threads at once.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_documents.h"
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimText : public NoopText, SimPart {
public:
    explicit SimText(SimState& state) : SimPart(state), documents_(state) {}
    void txtLoadTextFile(const char* fileName) override;
    void txtUnloadTextFile(const char* fileName) override;
    int32_t txtGetStringId(const char* fileName, const char* name) override;
    void txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) override;
    const char* txtGetString(const char* fileName, int32_t id) override;
    void txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) override;

    // Drops every loaded table.
    void beginFlight() {
        std::lock_guard<std::mutex> held(mutex_);
        tables_.clear();
    }
    // Tables loaded now, each counted once.
    std::size_t loadedTables() const {
        std::lock_guard<std::mutex> held(mutex_);
        return tables_.size();
    }

private:
    struct Table {
        int32_t loads = 0;
        std::vector<std::string> names;
        std::vector<std::string> texts;  // filled once: the pointers stay valid
    };
    // The table a file name names now, or null.
    const Table* find(const char* fileName) const;
    const std::string* textOf(const char* fileName, int32_t id) const;

    SimDocuments documents_;
    mutable std::mutex mutex_;
    std::map<std::string, std::unique_ptr<Table>> tables_;
};

class SimMessages : public NoopMessages, SimPart {
public:
    using SimPart::SimPart;
    void msgLoadMessageSystem(const char* fileName) override;
    void msgUnloadMessageSystem() override;
    void msgShowText(const char* format, ...) override;
    void msgShowEntryLine(const char* format, ...) override;
    void msgUpdate(float clampedFrameTime) override;
    void msgRender() override;

    // The texts shown, formatted. Read it once no other thread shows texts.
    std::vector<std::string> shown;

    // What is on screen: each message shown stays kMessageSeconds of the
    // frame times msgUpdate is given; the entry line stays for the frame
    // whose msgRender follows it.
    static constexpr float kMessageSeconds = 5.0f;
    struct OnScreen {
        std::string text;
        float timeLeft = 0.0f;
    };
    std::vector<OnScreen> onScreen;
    std::string entryLine;
    // What a screenshot shows of the above, copied whole: a screenshot may
    // be taken from another thread while a frame updates them.
    void copyScreen(std::vector<OnScreen>& messages, std::string& entry) const;

private:
    void clearScreen();
    std::string pendingEntryLine_;
    mutable std::mutex mutex_;
};

}  // namespace kvsim
