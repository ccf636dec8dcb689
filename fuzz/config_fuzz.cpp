// libFuzzer target for configuration documents.
//
// The input is a top-level file and up to four files it may include, cut
// apart at each "\n@@\n": the first part is top.ini, the others a.ini,
// b.ini, c.ini and d.ini, so fuzzed #include lines reach them, cycles and
// diamonds included. Every input is parsed under a few code pages, pool
// sizes and autoAdd settings; each document is then read and written
// through every getter and setter with the names it holds and with names
// it does not hold, and checked for what must always be true of it:
// records live in the pool, names are unique where the parser makes them
// so, lookups find the record they name, setters that succeed are seen by
// the getters, bounded copies stay bounded, and nothing is left allocated
// or open once the document is gone.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/config_document.h"
#include "config/strings.h"
#include "fuzz/fuzz_check.h"
#include <korvane/shell.h>
#include "services/services.h"
#include "services/shell_binding.h"
#include "tests/support/memory_files.h"
#include "platform/mbcs.h"

namespace {

// MEM: plain heap blocks, each remembered so leaks and foreign frees show.
class HeapMemory : public kv::MemoryInterface {
public:
    void* memAlloc(int32_t size, int32_t, int32_t, const char*) override {
        if (size < 0) return nullptr;
        void* block = std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1);
        if (block) live[block] = static_cast<std::size_t>(size);
        return block;
    }
    void memFree(void* block) override {
        auto it = live.find(block);
        CHECK(it != live.end());  // only what memAlloc handed out comes back
        live.erase(it);
        std::free(block);
    }
    void memReleaseOwner(const char*) override {}
    void memCheckpoint(const char*) override {}

    std::unordered_map<void*, std::size_t> live;
};


HeapMemory memory;
kvtest::MemoryFiles files;

// A sink makes every trace line get formatted, so a bad argument to one
// shows up under the sanitizers.
void traceSink(const char*, void*) {}

int setUp() {
    std::strcpy(kv::moduleName, "FLT");
    kv::ownerName = kv::moduleName;
    kv::MEM = &memory;
    kv::FMG = &files;
    kv::setTraceSink(traceSink, nullptr);
    return 0;
}

bool inPool(const kv::ConfigDocument& doc, const char* p) {
    return doc.pool.base && p >= doc.pool.base && p < doc.pool.base + doc.pool.capacity;
}

// A string of the pool, ended inside it.
bool poolString(const kv::ConfigDocument& doc, const char* p) {
    if (!inPool(doc, p)) return false;
    const std::size_t left = static_cast<std::size_t>(doc.pool.base + doc.pool.capacity - p);
    return std::memchr(p, 0, left) != nullptr;
}

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string upper(const char* s) {
    std::string copy = s;
    kv::strToUpper(&copy[0]);
    return copy;
}

struct Record {
    kv::ConfigSection* section;
    kv::ConfigKey* key;  // null for a section without keys
};

// Structure of the lists, the pool and where every record points.
void checkDocument(kv::ConfigDocument& doc) {
    const kv::TextPool& pool = doc.pool;
    if (pool.base) {
        CHECK(pool.capacity >= 1);
        CHECK(pool.end >= pool.base && pool.end <= pool.base + pool.capacity);
        CHECK(pool.cursor >= pool.base && pool.cursor <= pool.end);
        CHECK(pool.base[pool.capacity - 1] == '\0');
    }
    CHECK(doc.emptyText && doc.emptyText[0] == '\0');
    CHECK(doc.trueText && std::strcmp(doc.trueText, "TRUE") == 0);
    CHECK(doc.falseText && std::strcmp(doc.falseText, "FALSE") == 0);

    int32_t sectionCount = 0;
    const kv::PtrListNode* previous = nullptr;
    std::vector<kv::ConfigSection*> named;
    for (kv::PtrListNode* node = doc.sections.head; node; node = node->next) {
        CHECK(node->previous == previous);
        previous = node;
        ++sectionCount;
        auto* section = static_cast<kv::ConfigSection*>(node->data);
        CHECK(section);
        CHECK(poolString(doc, section->name));
        if (section->name[0]) named.push_back(section);

        int32_t keyCount = 0;
        const kv::PtrListNode* previousKey = nullptr;
        std::vector<kv::ConfigKey*> namedKeys;
        for (kv::PtrListNode* k = section->keys.head; k; k = k->next) {
            CHECK(k->previous == previousKey);
            previousKey = k;
            ++keyCount;
            auto* key = static_cast<kv::ConfigKey*>(k->data);
            CHECK(key);
            CHECK(poolString(doc, key->name));
            CHECK(key->kind == kv::kValueText || key->kind == kv::kValueInteger || key->kind == kv::kValueReal);
            CHECK(!key->text || poolString(doc, key->text) || key->text == doc.emptyText ||
                  key->text == doc.trueText || key->text == doc.falseText);
            if (key->name[0]) namedKeys.push_back(key);
        }
        CHECK(section->keys.tail == previousKey);
        CHECK(section->keys.count == keyCount);
        // No two keys of a section share a name (the first one wins).
        if (namedKeys.size() <= 200)
            for (std::size_t i = 0; i < namedKeys.size(); ++i)
                for (std::size_t j = i + 1; j < namedKeys.size(); ++j)
                    CHECK(!kv::strEqual(namedKeys[i]->name, namedKeys[j]->name, 0));
    }
    CHECK(doc.sections.tail == previous);
    CHECK(doc.sections.count == sectionCount);
    if (named.size() <= 200)
        for (std::size_t i = 0; i < named.size(); ++i)
            for (std::size_t j = i + 1; j < named.size(); ++j)
                CHECK(!kv::strEqual(named[i]->name, named[j]->name, 0));
}

std::vector<Record> records(kv::ConfigDocument& doc) {
    std::vector<Record> out;
    for (kv::PtrListNode* node = doc.sections.head; node; node = node->next) {
        auto* section = static_cast<kv::ConfigSection*>(node->data);
        if (!section->keys.head) out.push_back(Record{section, nullptr});
        for (kv::PtrListNode* k = section->keys.head; k; k = k->next)
            out.push_back(Record{section, static_cast<kv::ConfigKey*>(k->data)});
    }
    return out;
}

// getString must keep within size bytes and terminate inside them.
void checkBoundedString(kv::ConfigDocument& doc, const char* section, const char* key, const char* fallback,
                        int32_t size, int32_t caseMode) {
    char out[300];
    std::memset(out, 0x5A, sizeof out);
    doc.getString(section, key, fallback, out, size, caseMode);
    for (std::size_t i = static_cast<std::size_t>(size); i < sizeof out; ++i) CHECK(out[i] == 0x5A);
    if (size >= 1) CHECK(std::memchr(out, 0, static_cast<std::size_t>(size)) != nullptr);
}

void readComposites(kv::ConfigDocument& doc, const char* section, const char* key) {
    char* copy = kv::getStringCopy(&doc, section, key, kv::kCaseUpper);
    if (copy) {
        CHECK(copy[0] != '\0' && std::strlen(copy) < 260);
        kv::strFree(&copy);
        CHECK(!copy);
    }
    (void)kv::getIntPair(&doc, section, key);
    (void)kv::getRect(&doc, section, key);
    kv::ConfigColor color = {-1.0f, -1.0f, -1.0f, -1.0f};
    if (kv::getColor(&color, &doc, section, key)) {
        for (float c : {color.red, color.green, color.blue, color.alpha}) CHECK(c >= 0.0f && c <= 1.0f);
    } else {
        CHECK(color.red == -1.0f && color.alpha == -1.0f);  // untouched
    }
}

// Every getter on a name the document holds finds that very record; each
// getter marks the kind it read, which shows which record it reached.
void readExisting(kv::ConfigDocument& doc, const Record& r) {
    const char* s = r.section->name;
    kv::ConfigKey* key = r.key;
    if (!key) {
        (void)kv::getFontSettings(nullptr, &doc, s);
        kv::FontSettings font;
        std::memset(&font, 0x5A, sizeof font);
        const int32_t found = kv::getFontSettings(&font, &doc, s);
        CHECK(std::memchr(font.faceName, 0, sizeof font.faceName) != nullptr);
        if (found) {
            CHECK(font.size >= 1);
            CHECK((font.styleFlags & ~(kv::kFontBold | kv::kFontItalic | kv::kFontUnderline | kv::kFontStrikeOut)) == 0);
        }
        return;
    }
    const char* k = key->name;
    const bool findable = s[0] && k[0];

    key->kind = kv::kValueText;
    const int32_t integer = doc.getInt(s, k, 0x7EADBEEF);
    if (findable) {
        CHECK(integer == key->integer);
        CHECK(key->kind == kv::kValueInteger);
    }
    key->kind = kv::kValueText;
    const float real = doc.getFloat(s, k, 12345.0f);
    if (findable) {
        CHECK(sameFloat(real, key->real));
        CHECK(key->kind == kv::kValueReal);
    }
    // Case does not matter to lookups.
    key->kind = kv::kValueText;
    const std::string us = upper(s), uk = upper(k);
    (void)doc.getInt(us.c_str(), uk.c_str(), 0);
    if (findable) CHECK(key->kind == kv::kValueInteger);

    char text[260];
    doc.getString(s, k, "fallback", text, sizeof text, kv::kCaseKeep);
    if (findable) {
        CHECK(key->kind == kv::kValueText);
        const std::string stored = key->text ? key->text : "";
        CHECK(stored.compare(0, std::strlen(text), text) == 0);  // a prefix cut at a character
        if (stored.size() < sizeof text) CHECK(stored == text);
    }
    for (int32_t size : {0, 1, 2, 5, 260}) checkBoundedString(doc, s, k, "fallback", size, size % 3);

    const int32_t flag = doc.getBool(s, k, 7);
    if (findable) CHECK(flag == 0 || flag == 1);
    readComposites(doc, s, k);
}

// Names that the document does not hold (or holds only after autoAdd).
void readMissing(kv::ConfigDocument& doc, const char* s, const char* k) {
    const int32_t integer = doc.getInt(s, k, -17);
    if (!doc.autoAdd) CHECK(integer == -17);
    (void)doc.getFloat(s, k, 2.5f);
    for (int32_t size : {0, 1, 3, 260}) checkBoundedString(doc, s, k, "Missing Value", size, kv::kCaseLower);
    checkBoundedString(doc, s, k, nullptr, 10, kv::kCaseKeep);
    const int32_t flag = doc.getBool(s, k, 1);
    if (!doc.autoAdd) CHECK(flag == 1);
    readComposites(doc, s, k);
    kv::FontSettings font;
    (void)kv::getFontSettings(&font, &doc, s);
}

// A usable name: not empty and already trimmed, so the stored copy of it
// is the same text.
bool plainName(const std::string& name) {
    if (name.empty() || std::strlen(name.c_str()) != name.size()) return false;
    std::string trimmed = name;
    kv::strTrim(&trimmed[0]);
    return std::strlen(trimmed.c_str()) == name.size();
}

void writeAndReadBack(kv::ConfigDocument& doc, const std::string& s, const std::string& k, uint32_t seed) {
    const bool plain = plainName(s) && plainName(k);
    const int32_t value = static_cast<int32_t>(seed * 2654435761u);
    if (doc.setInt(s.c_str(), k.c_str(), value) && plain) CHECK(doc.getInt(s.c_str(), k.c_str(), ~value) == value);
    float real;
    const uint32_t bits = seed * 40503u + 0x3F800000u;
    std::memcpy(&real, &bits, sizeof real);
    if (doc.setFloat(s.c_str(), k.c_str(), real) && plain)
        CHECK(sameFloat(doc.getFloat(s.c_str(), k.c_str(), 0.0f), real));
    const std::string words[] = {"TRUE", "false", "Data\\Models\\F16\\cockpit_0042.mdl", "3,4,5,6", ""};
    const std::string& word = words[seed % 5];
    if (doc.setString(s.c_str(), k.c_str(), word.c_str()) && plain) {
        char text[260];
        doc.getString(s.c_str(), k.c_str(), "x", text, sizeof text, kv::kCaseKeep);
        CHECK(word == text);
        const int32_t flag = doc.getBool(s.c_str(), k.c_str(), 5);
        if (seed % 5 == 0) CHECK(flag == 1);
        if (seed % 5 == 1) CHECK(flag == 0);
    }
    (void)doc.setString(s.c_str(), k.c_str(), nullptr);
}

// A name out of the input: bytes from offset up to a line end, at most 24.
std::string nameFrom(const std::string& input, std::size_t offset) {
    if (input.empty()) return "Extra";
    std::string name;
    for (std::size_t i = offset % input.size(); i < input.size() && name.size() < 24; ++i) {
        const char c = input[i];
        if (c == '\0' || c == '\r' || c == '\n') break;
        name += c;
    }
    return name;
}

void exercise(kv::ConfigDocument& doc, const std::string& input) {
    checkDocument(doc);
    CHECK(files.openCount() == 0 && files.misuses == 0);
    const std::vector<Record> parsed = records(doc);
    std::size_t visited = 0;
    for (const Record& r : parsed) {
        if (++visited > 300) break;
        readExisting(doc, r);
    }
    checkDocument(doc);

    // A line break never survives parsing, so these names come only from
    // the getters themselves (with autoAdd).
    readMissing(doc, "No\nSuchSection", "No\nSuchKey");
    readMissing(doc, "", "");
    readMissing(doc, nullptr, nullptr);
    if (!parsed.empty()) {
        const Record& r = parsed[input.size() % parsed.size()];
        readMissing(doc, r.section->name, "No\nSuchKey");
        readMissing(doc, r.section->name, nullptr);
        if (r.key) readMissing(doc, "No\nSuchSection", r.key->name);
    }
    checkDocument(doc);

    // Setters on held names, on fresh ones and on names cut from the input.
    uint32_t seed = static_cast<uint32_t>(input.size());
    for (std::size_t i = 0; i < parsed.size() && i < 8; ++i) {
        const Record& r = parsed[i];
        writeAndReadBack(doc, r.section->name, r.key ? r.key->name : "NewKey", seed++);
        writeAndReadBack(doc, r.section->name, "NewKey", seed++);
    }
    writeAndReadBack(doc, "NewSection", "NewKey", seed++);
    for (std::size_t i = 0; i < 4; ++i)
        writeAndReadBack(doc, nameFrom(input, i * 37 + 1), nameFrom(input, i * 53 + 7), seed++);

    kv::ConfigKey* record = static_cast<kv::ConfigKey*>(kv::ModuleAlloc(sizeof(kv::ConfigKey)));
    if (record && doc.pool.appendString("AddedKey")) {
        record->name = doc.pool.cursor;
        record->kind = kv::kValueInteger;
        record->text = nullptr;
        record->integer = 99;
        record->real = 99.0f;
        (void)doc.addKey("AddedSection", record);  // takes the record over in any case
    } else if (record) {
        kv::MemFree(record);
    }
    CHECK(doc.addKey("AddedSection", nullptr) == 0);
    checkDocument(doc);
}

// The input cut into files at each separator.
std::vector<std::string> splitFiles(const uint8_t* data, std::size_t size) {
    static const char kSeparator[] = "\n@@\n";
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() < 4) {
        const std::size_t at = input.find(kSeparator, start);
        if (at == std::string::npos) break;
        parts.push_back(input.substr(start, at - start));
        start = at + sizeof kSeparator - 1;
    }
    parts.push_back(input.substr(start));
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const int ready = setUp();
    (void)ready;
    const std::vector<std::string> parts = splitFiles(data, size);
    static const char* const kNames[] = {"top.ini", "a.ini", "b.ini", "c.ini", "d.ini"};
    files.files.clear();
    files.opened.clear();
    int32_t includedBytes = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        files.files[kNames[i]] = parts[i];
        if (i > 0) includedBytes += static_cast<int32_t>(parts[i].size());
    }
    const std::string input(reinterpret_cast<const char*>(data), size);

    struct Variant {
        int codePage;
        int32_t autoAdd;
        int32_t extraBytes;
        bool deferred;
    };
    // Enough room for every include read a few times plus the setters'
    // text; and no room at all, where includes and setters run out.
    const int32_t generous = includedBytes * 4 + 8192;
    const Variant variants[] = {
        {kv::kCodePageSingleByte, 0, generous, false},
        {kv::kCodePageSingleByte, 1, generous, false},
        {kv::kCodePageSingleByte, 1, 0, false},
        {932, 1, generous, false},
        {kv::kCodePageUtf8, 0, generous, true},
    };
    for (const Variant& v : variants) {
        CHECK(kv::mbSetCodePage(v.codePage));
        {
            kv::ConfigDocument doc("top.ini", v.autoAdd, v.deferred ? 1 : 0, v.extraBytes);
            if (v.deferred) {
                CHECK(doc.sections.count == 0);
                (void)doc.parseFile(".\\top.ini");
                checkDocument(doc);
                // A second file on top: its sections already present are dropped.
                (void)doc.parseFile("a.ini");
            }
            exercise(doc, input);
        }
        CHECK(memory.live.empty());
        CHECK(files.openCount() == 0 && files.misuses == 0);
    }
    return 0;
}
