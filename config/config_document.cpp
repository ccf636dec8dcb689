// Building a document: the constructor, the destructor and the parser.
#include "config/config_document.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <new>

#include "config/line_shape.h"
#include "config/name_index.h"
#include "config/paths.h"
#include "config/strings.h"
#include "services/services.h"
#include "services/shell_binding.h"
#include "platform/mbcs.h"

namespace kv {

namespace {

const char* orEmpty(const char* s) { return s ? s : ""; }

bool isSpaceByte(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

struct TrimmedLine {
    std::size_t length;  // of the line as it stood, to step to the next one
    std::size_t kept;    // of the trimmed line
    bool ascii;          // no byte from 0x80 up: every byte is a character
    bool cutAtEnd;       // white space followed the last kept character
};

// Trims line in place. An ASCII line is trimmed bytewise; any other goes
// through the multi-byte trim.
TrimmedLine trimLine(char* line, bool fileIsAscii) {
    if (fileIsAscii) {
        // Every byte is a character: find the ends without a byte loop over
        // the whole line.
        const std::size_t length = std::strlen(line);
        char* start = line;
        while (isSpaceByte(*start)) ++start;
        char* end = line + length;
        while (end > start && isSpaceByte(end[-1])) --end;
        const std::size_t kept = static_cast<std::size_t>(end - start);
        const bool cutAtEnd = end != line + length;
        if (start != line) std::memmove(line, start, kept);
        if (kept != length) std::memset(line + kept, 0, length - kept);
        return TrimmedLine{length, kept, true, cutAtEnd};
    }
    unsigned char high = 0;
    char* p = line;
    while (isSpaceByte(*p)) ++p;
    char* start = p;
    char* last = nullptr;  // one past the last byte that is not white space
    for (; *p; ++p) {
        high |= static_cast<unsigned char>(*p);
        if (!isSpaceByte(*p)) last = p + 1;
    }
    TrimmedLine trimmed{static_cast<std::size_t>(p - line), 0, high < 0x80, false};
    // A lead byte is never white space, so the blanks before the first
    // character are bytes: what the trim keeps plus them is where the
    // line's blank end begins.
    const std::size_t lead = static_cast<std::size_t>(start - line);
    if (trimmed.ascii) {
        trimmed.kept = last ? static_cast<std::size_t>(last - start) : 0;
        if (start != line) std::memmove(line, start, trimmed.kept);
    } else {
        strTrim(line);
        trimmed.kept = std::strlen(line);
    }
    trimmed.cutAtEnd = trimmed.kept != 0 && lead + trimmed.kept != trimmed.length;
    // The bytes the trim gave up become empty lines, so a second look at
    // the same line steps to the same next line.
    std::memset(line + trimmed.kept, 0, trimmed.length - trimmed.kept);
    return trimmed;
}

// Trims the name of a key line in place: it starts the trimmed line, so
// only white space before the "=" goes.
void trimKeyName(char* name, char* equals, bool ascii) {
    if (!ascii) {
        strTrim(name);
        return;
    }
    char* end = equals;
    while (end > name && isSpaceByte(end[-1])) --end;
    *end = '\0';
}

// Trims the value of a key line in place: it ends the trimmed line, so
// only white space after the "=" goes.
void trimKeyValue(char* value, char* lineEnd, bool ascii) {
    if (!ascii) {
        strTrim(value);
        return;
    }
    char* start = value;
    while (isSpaceByte(*start)) ++start;
    if (start != value) std::memmove(value, start, static_cast<std::size_t>(lineEnd - start) + 1);
}

// Makes every carriage return and line feed of text a zero byte, up to its
// first zero byte. True when all count bytes were seen and none is from
// 0x80 up, so that every byte is a character of its own.
bool endLines(char* text, std::size_t count) {
    std::size_t i = 0;
    unsigned high = 0;
#ifdef __SSE2__
    // Thirty-two bytes at a time while no zero byte turns up; the rest, and
    // a block with a zero byte, go byte by byte below. Every block is
    // stored back: whether it held a line end is as good as random, and a
    // branch on it would cost more than the store.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 32 <= count; i += 32) {
        __m128i* block = reinterpret_cast<__m128i*>(text + i);
        const __m128i first = _mm_loadu_si128(block);
        const __m128i second = _mm_loadu_si128(block + 1);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(first, zero), _mm_cmpeq_epi8(second, zero))) != 0) break;
        high |= static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(first, second)));
        const __m128i firstEnds = _mm_or_si128(_mm_cmpeq_epi8(first, cr), _mm_cmpeq_epi8(first, lf));
        const __m128i secondEnds = _mm_or_si128(_mm_cmpeq_epi8(second, cr), _mm_cmpeq_epi8(second, lf));
        _mm_storeu_si128(block, _mm_andnot_si128(firstEnds, first));
        _mm_storeu_si128(block + 1, _mm_andnot_si128(secondEnds, second));
    }
    high = high ? 0x80 : 0;
#endif
    for (; i < count && text[i]; ++i) {
        high |= static_cast<unsigned char>(text[i]);
        if (text[i] == '\r' || text[i] == '\n') text[i] = '\0';
    }
    return high < 0x80 && i == count;
}

// The byte at which the last character of s starts, or null for "".
char* lastCharacter(char* s, bool ascii) {
    if (!*s) return nullptr;
    if (ascii) return s + std::strlen(s) - 1;
    char* last = s;
    for (char* p = s; *p; p = mbNext(p)) last = p;
    return last;
}

char* findEquals(char* line, bool ascii) {
    return ascii ? static_cast<char*>(std::strchr(line, '=')) : mbChr(line, '=');
}

void destroySection(ConfigSection* section) {
    section->keys.clearAndFreeData();  // one walk frees each key with its node
    section->~ConfigSection();
    MemFree(section);
}

ConfigSection* newSection(char* name) {
    void* memory = ModuleAlloc(static_cast<int32_t>(sizeof(ConfigSection)));
    if (!memory) return nullptr;
    ConfigSection* section = new (memory) ConfigSection;
    section->name = name;
    return section;
}

const char kIncludeWord[] = "include";

// The same file named with or without a leading ".\" is the same file.
const char* withoutCurrentFolder(const char* name) {
    while (name && name[0] == '.' && name[1] == '\\') name += 2;
    return name;
}

}  // namespace

// What one top-level parseFile call carries through its includes.
struct ConfigDocument::ParseState {
    NameIndex sections;
    NameIndex keys;
    // Files being read or whose includes are being read, outermost first.
    const char* chain[kMaxIncludeDepth] = {};
    int32_t depth = 0;
    // The file being read has no byte from 0x80 up (and no zero byte).
    bool fileIsAscii = false;
};

ConfigDocument::ConfigDocument(const char* fileName, int32_t autoAddFlag, int32_t deferParse,
                               int32_t extraBytes)
    : path(), autoAdd(0), emptyText(nullptr), trueText(nullptr), falseText(nullptr) {
    buildFilePath(nullptr, fileName, "INI", path, sizeof path);
    int32_t size = FMG ? FMG->fmgGetFileSize(path) : 0;
    if (size < 0) size = 0;
    if (extraBytes < 0) extraBytes = 0;
    // The pool holds size + extraBytes + 1 bytes; a sum beyond 32 bits
    // leaves the document without a pool rather than with a wrapped one.
    if (static_cast<int64_t>(size) + extraBytes < INT32_MAX) pool.allocate(size + extraBytes);
    emptyText = strDuplicate("");
    trueText = strDuplicate("TRUE");
    falseText = strDuplicate("FALSE");
    if (deferParse == 0) parseFile(path);
    autoAdd = autoAddFlag;
}

ConfigDocument::~ConfigDocument() {
    for (PtrListNode* node = sections.head; node; node = node->next)
        destroySection(static_cast<ConfigSection*>(node->data));
    sections.clear();
    pool.clear();
    pool.release();
    strFree(&emptyText);
    strFree(&trueText);
    strFree(&falseText);
}

int32_t ConfigDocument::parseFile(const char* fileName) {
    ParseState state;
    // Sections already present count as duplicates for the new file.
    for (PtrListNode* node = sections.head; node; node = node->next) {
        auto* section = static_cast<ConfigSection*>(node->data);
        if (strIsEmpty(section->name) || state.sections.find(section->name, nameHash(section->name))) continue;
        // Without room to know the sections present, the file's would
        // duplicate them: read nothing rather than that.
        if (!state.sections.insert(section, nameHash(section->name))) return 0;
    }
    return parseOne(state, fileName);
}

int32_t ConfigDocument::parseOne(ParseState& state, const char* fileName) {
    // A file that includes itself, directly or through others, is read once.
    for (int32_t i = 0; i < state.depth; ++i) {
        if (strEqual(withoutCurrentFolder(state.chain[i]), withoutCurrentFolder(fileName), 0)) {
            TraceMessage("Skipping include %s, it is already being read...", orEmpty(fileName));
            return 0;
        }
    }
    if (state.depth >= kMaxIncludeDepth) {
        TraceMessage("Skipping include %s, includes nest too deeply...", orEmpty(fileName));
        return 0;
    }
    if (!FMG) return 0;
    const int32_t handle = FMG->fmgOpenFile(fileName, 0);
    if (handle == -1) return 0;
    state.chain[state.depth++] = fileName;

    PtrList includes;
    int32_t result = 0;
    // One byte of room always stays for the zero that ends the last line.
    const int32_t limit = pool.room() - 1;
    int32_t count = limit >= 1 ? FMG->fmgReadFile(handle, pool.end, limit) : 0;
    if (count > limit) count = limit;  // never trust a reader past its limit
    if (count >= 1) {
        char* text = pool.end;
        pool.grow(count + 1);
        // Line ends become terminators, up to the first zero byte of the
        // text; on the way, find whether every byte is an ASCII character.
        state.fileIsAscii = endLines(text, static_cast<std::size_t>(count));
        // A UTF-8 byte-order mark is not part of the first line.
        if (count >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) std::memset(text, 0, 3);
        if (pool.seek(text)) {
            parseLines(state, fileName, includes);
            result = 1;
        }
    }
    FMG->fmgCloseFile(handle);

    while (includes.head) {
        includes.first();
        const char* name = static_cast<const char*>(includes.currentData());
        includes.removeCurrent();
        parseOne(state, name);
    }
    --state.depth;
    return result;
}

void ConfigDocument::parseLines(ParseState& state, const char* fileName, PtrList& includes) {
    const char* limit = pool.base + pool.capacity;
    while (pool.more()) {
        char* line = pool.cursor;
        if (*line == '\0') {  // an empty line, such as the one between CR and LF
            ++pool.cursor;
            continue;
        }
        if (state.fileIsAscii) {
            // Headers and ignored lines are measured in one scan; a directive
            // takes the path below.
            const LineShape shape = scanAsciiLine(line, limit);
            char* start = line + shape.first;
            if (*start != '#') {
                pool.cursor = line + shape.length + 1;
                if (*start != '[') continue;
                char* name = start + 1;
                char* nameEnd = line + shape.last;
                if (nameEnd > name && nameEnd[-1] == ']') --nameEnd;
                const std::size_t length = static_cast<std::size_t>(nameEnd - name);
                const uint32_t hash = asciiNameHash(name, length, static_cast<std::size_t>(limit - name));
                *nameEnd = '\0';
                openSection(state, fileName, name, hash);
                continue;
            }
        }
        const TrimmedLine trimmed = trimLine(line, state.fileIsAscii);
        const bool ascii = trimmed.ascii;
        pool.cursor = line + trimmed.length + 1;
        if (line[0] == '[') {
            char* name = line + 1;
            char* last = lastCharacter(name, ascii);
            if (last && *last == ']') *last = '\0';
            openSection(state, fileName, name, nameHash(name));
        } else if (line[0] == '#') {
            char* space = std::strchr(line, ' ');
            if (!space) continue;
            *space = '\0';
            if (!strEqual(line + 1, kIncludeWord, 0)) continue;
            char* name = space + 1;
            if (*name == '"') {
                ++name;
                if (char* quote = ascii ? std::strchr(name, '"') : mbChr(name, '"')) *quote = '\0';
            } else if (char* end = std::strchr(name, ' ')) {
                *end = '\0';
            }
            includes.append(name);  // a name that cannot be listed is dropped
        }
    }
}

// The header of section name (hash its nameHash) has just been read: the
// section and its key lines, unless a section of that name exists.
void ConfigDocument::openSection(ParseState& state, const char* fileName, char* name, uint32_t hash) {
    if (!strIsEmpty(name) && state.sections.find(name, hash)) {
        TraceMessage("Deleting duplicate section %s from %s...", name, orEmpty(fileName));
        return;  // its key lines follow as lines outside a section
    }
    ConfigSection* section = newSection(name);
    readKeyLines(state, fileName, section);
    if (!section) {
        TraceMessage("Unable to create section %s, file %s!", name, orEmpty(fileName));
        return;
    }
    if (!sections.append(section)) {
        TraceMessage("Unable to append section %s to the list, file %s!", name, orEmpty(fileName));
        destroySection(section);
        return;
    }
    if (!strIsEmpty(name) && !state.sections.insert(section, hash)) {
        // Unindexed, it could not be told from a later duplicate: it goes
        // as a section whose list node could not be made.
        sections.removeCurrent();  // the tail, which the append made current
        TraceMessage("Unable to append section %s to the list, file %s!", name, orEmpty(fileName));
        destroySection(section);
    }
}

void ConfigDocument::readKeyLines(ParseState& state, const char* fileName, ConfigSection* section) {
    state.keys.clear();
    const char* limit = pool.base + pool.capacity;
    while (pool.more()) {
        char* line = pool.cursor;
        if (*line == '\0') {  // an empty line, such as the one between CR and LF
            ++pool.cursor;
            continue;
        }
        if (state.fileIsAscii) {
            const LineShape shape = scanAsciiLine(line, limit);
            char* start = line + shape.first;
            if (*start == '[' || *start == '#') return;  // the next header or directive
            pool.cursor = line + shape.length + 1;
            if (*start == '\0' || *start == ';' || shape.equals < 0 || !section) continue;
            readAsciiKey(state, fileName, section, start, line + shape.equals, line + shape.last,
                         line + shape.length);
            continue;
        }
        const TrimmedLine trimmed = trimLine(line, false);
        const bool ascii = trimmed.ascii;
        char* next = line + trimmed.length + 1;
        if (line[0] == '[' || line[0] == '#') return;  // the next header or directive
        pool.cursor = next;
        if (line[0] == '\0' || line[0] == ';') continue;
        char* equals = findEquals(line, ascii);
        if (!equals) continue;
        if (!section) continue;  // no section to hold the key
        *equals = '\0';
        char* value = equals + 1;
        auto* key = static_cast<ConfigKey*>(ModuleAlloc(static_cast<int32_t>(sizeof(ConfigKey))));
        if (!key) continue;
        trimKeyName(line, equals, ascii);
        key->name = line;
        key->kind = kValueText;
        if (*value == '\0') {
            // Blanks after the "=" were trimmed away with the line's end:
            // they make an empty text, where nothing at all makes none.
            key->text = trimmed.cutAtEnd ? value : nullptr;
            key->integer = 0;
            key->real = 0.0f;
        } else {
            convertValue(value, static_cast<std::size_t>(pool.base + pool.capacity - value), &key->integer,
                         &key->real);
            trimKeyValue(value, line + trimmed.kept, ascii);
            key->text = value;
        }
        linkKey(state, fileName, section, key, strIsEmpty(key->name) ? 0 : nameHash(key->name));
    }
}

// The key line [start, end) of an ASCII file, already known to hold "=" at
// equals; start and end are the first and one past the last byte that is
// not white space, so only the blanks around the "=" are left to trim.
// lineEnd is where the line ended before any trimming.
void ConfigDocument::readAsciiKey(ParseState& state, const char* fileName, ConfigSection* section, char* start,
                                  char* equals, char* end, char* lineEnd) {
    auto* key = static_cast<ConfigKey*>(ModuleAlloc(static_cast<int32_t>(sizeof(ConfigKey))));
    if (!key) return;
    const char* bufferEnd = pool.base + pool.capacity;
    char* nameEnd = equals;
    while (nameEnd > start && isSpaceByte(nameEnd[-1])) --nameEnd;
    // The name is hashed and the value converted before their ends are cut:
    // a word read just after a byte store into it would wait for the store.
    const std::size_t nameLength = static_cast<std::size_t>(nameEnd - start);
    const uint32_t hash = nameLength ? asciiNameHash(start, nameLength, static_cast<std::size_t>(bufferEnd - start)) : 0;
    key->name = start;
    key->kind = kValueText;
    char* value = equals + 1;
    if (value == end) {
        // Only blanks after the "=" make an empty text; nothing at all
        // makes none.
        key->text = end != lineEnd ? value : nullptr;
        key->integer = 0;
        key->real = 0.0f;
        *end = '\0';
    } else {
        // Only white space follows the value up to the line's end, and both
        // conversions stop there.
        while (isSpaceByte(*value)) ++value;
        convertValue(value, static_cast<std::size_t>(bufferEnd - value), &key->integer, &key->real);
        key->text = value;
        *end = '\0';
    }
    *equals = '\0';
    *nameEnd = '\0';
    linkKey(state, fileName, section, key, hash);
}

// Adds key to section unless a key of its name is already there (first
// wins); a key that cannot be linked is freed. hash is the name's, and is
// only used when the name is not empty.
void ConfigDocument::linkKey(ParseState& state, const char* fileName, ConfigSection* section, ConfigKey* key,
                             uint32_t hash) {
    // The index holds exactly the named keys of this section, so it finds
    // what a search of the section's list would.
    const bool named = !strIsEmpty(key->name);
    if (named) {
        void* first = state.keys.insertUnlessPresent(key, hash);
        if (first == key) {
            // No room to index it, so a later duplicate could not be told:
            // the line is lost, as when its record cannot be allocated.
            MemFree(key);
            return;
        }
        if (first) {
            TraceMessage("Deleting duplicate key %s from %s...", key->name, orEmpty(fileName));
            MemFree(key);
            return;
        }
    }
    if (!section->keys.append(key)) {
        if (named) state.keys.removeLast();
        MemFree(key);
    }
}

}  // namespace kv
