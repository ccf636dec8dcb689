// A configuration document: the sections and keys of an INI-like file and
// the files it includes, with typed access by section and key name.
//
// The layout of ConfigDocument, ConfigSection and ConfigKey is shared with
// other modules of the host (the options module hands over a document of
// this layout): <korvane/config_layout.h> gives it to them, and the checks
// below keep these classes on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "config/ptr_list.h"
#include "config/text_pool.h"
#include <korvane/config_layout.h>
#include <korvane/records.h>  // FontSettings, the record the graphics module takes

namespace kv {

// Which representation of a key was last read or written.
enum ValueKind : int32_t { kValueText = 0, kValueInteger = 1, kValueReal = 2 };

// What getString does to a text it found.
enum CaseMode : int32_t { kCaseKeep = 0, kCaseUpper = 1, kCaseLower = 2 };

// ConfigKey (<korvane/config_layout.h>): kind is a ValueKind; text lies in
// the pool or is one of the document's words.

struct ConfigSection {
    char* name;  // in the pool
    PtrList keys;  // of ConfigKey
};

struct IntPair {
    int32_t first;
    int32_t second;
};

struct ConfigRect {
    int32_t values[4];
};

struct ConfigColor {
    float red;
    float green;
    float blue;
    float alpha;
};

// Style flag bits of FontSettings.
enum FontStyle : int32_t { kFontBold = 2, kFontItalic = 16, kFontUnderline = 32, kFontStrikeOut = 64 };

// Bounds that keep a file that includes itself from exhausting the stack.
const int32_t kMaxIncludeDepth = 32;

class ConfigDocument {
public:
    // Resolves fileName (default extension "INI"), sizes the pool from the
    // file size plus extraBytes plus one, and reads the file unless
    // deferParse is nonzero.
    ConfigDocument(const char* fileName, int32_t autoAdd, int32_t deferParse, int32_t extraBytes);
    ~ConfigDocument();
    ConfigDocument(const ConfigDocument&) = delete;
    ConfigDocument& operator=(const ConfigDocument&) = delete;

    // Reads one file and then, depth first, the files it includes. 1 when
    // the file was opened and gave at least one byte.
    int32_t parseFile(const char* fileName);

    int32_t getInt(const char* section, const char* key, int32_t defaultValue);
    float getFloat(const char* section, const char* key, float defaultValue);
    void getString(const char* section, const char* key, const char* defaultText, char* out,
                   int32_t size, int32_t caseMode);
    int32_t getBool(const char* section, const char* key, int32_t defaultValue);
    int32_t setInt(const char* section, const char* key, int32_t value);
    int32_t setFloat(const char* section, const char* key, float value);
    int32_t setString(const char* section, const char* key, const char* value);
    // Takes over record (from the module allocator) into section, creating
    // the section when needed; 0 when record is null or nothing could be made.
    int32_t addKey(const char* section, ConfigKey* record);

    char path[260];
    PtrList sections;  // of ConfigSection
    TextPool pool;
    int32_t autoAdd;
    char* emptyText;
    char* trueText;
    char* falseText;

private:
    struct ParseState;
    int32_t parseOne(ParseState& state, const char* fileName);
    void parseLines(ParseState& state, const char* fileName, PtrList& includes);
    void openSection(ParseState& state, const char* fileName, char* name, uint32_t hash);
    void readKeyLines(ParseState& state, const char* fileName, ConfigSection* section);
    void readAsciiKey(ParseState& state, const char* fileName, ConfigSection* section, char* start, char* equals,
                      char* end, char* lineEnd);
    void linkKey(ParseState& state, const char* fileName, ConfigSection* section, ConfigKey* key, uint32_t hash);
    ConfigKey* findKey(const char* section, const char* key);
    // A record named by the key name the pool has just copied (its cursor).
    ConfigKey* newKey(int32_t kind, int32_t integer, float real);
};

// A copy of the key's text from the module allocator (free it with
// strFree), with caseMode applied; null when the text is empty or missing.
char* getStringCopy(ConfigDocument* document, const char* section, const char* key, int32_t caseMode);
// The options module reads and writes these records by offset: every
// field where <korvane/config_layout.h> puts it, on every build.
static_assert(std::is_standard_layout<ConfigSection>::value && std::is_standard_layout<ConfigDocument>::value &&
                  std::is_standard_layout<PtrList>::value && std::is_standard_layout<TextPool>::value,
              "configuration records are plain layouts");
#define KV_SAME_FIELD(Class, Layout, field) (offsetof(Class, field) == offsetof(Layout, field))
static_assert(sizeof(PtrList) == sizeof(ConfigListLayout) && KV_SAME_FIELD(PtrList, ConfigListLayout, current) &&
                  KV_SAME_FIELD(PtrList, ConfigListLayout, head) && KV_SAME_FIELD(PtrList, ConfigListLayout, tail) &&
                  KV_SAME_FIELD(PtrList, ConfigListLayout, count) && KV_SAME_FIELD(PtrList, ConfigListLayout, index),
              "PtrList keeps the shared list layout");
static_assert(sizeof(TextPool) == sizeof(ConfigPoolLayout) && KV_SAME_FIELD(TextPool, ConfigPoolLayout, base) &&
                  KV_SAME_FIELD(TextPool, ConfigPoolLayout, end) && KV_SAME_FIELD(TextPool, ConfigPoolLayout, cursor) &&
                  KV_SAME_FIELD(TextPool, ConfigPoolLayout, capacity),
              "TextPool keeps the shared pool layout");
static_assert(sizeof(ConfigSection) == sizeof(ConfigSectionLayout) &&
                  KV_SAME_FIELD(ConfigSection, ConfigSectionLayout, name) &&
                  KV_SAME_FIELD(ConfigSection, ConfigSectionLayout, keys),
              "ConfigSection keeps the shared section layout");
static_assert(sizeof(ConfigDocument) == sizeof(ConfigDocumentLayout) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, path) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, sections) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, pool) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, autoAdd) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, emptyText) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, trueText) &&
                  KV_SAME_FIELD(ConfigDocument, ConfigDocumentLayout, falseText),
              "ConfigDocument keeps the shared document layout");
#undef KV_SAME_FIELD

// "a,b": both as atoi; (0, 0) without a comma.
IntPair getIntPair(ConfigDocument* document, const char* section, const char* key);
// "a,b,c,d": four atoi values; all 0 with fewer than three commas.
ConfigRect getRect(ConfigDocument* document, const char* section, const char* key);
// "r,g,b[,a]" clamped to 0..1; 0 and out untouched with fewer than two commas.
int32_t getColor(ConfigColor* out, ConfigDocument* document, const char* section, const char* key);
// TextFontName, TextSize and the four style flags of section; 0 when the
// size is below 1 (the flags are then not read).
int32_t getFontSettings(FontSettings* out, ConfigDocument* document, const char* section);
// The keys getFontSettings reads, in its reading order.
extern const char kFontNameKey[];
extern const char kFontSizeKey[];
extern const char kFontBoldKey[];
extern const char kFontItalicKey[];
extern const char kFontUnderlineKey[];
extern const char kFontStrikeOutKey[];

// The conversions the parser applies to a value, as the 32-bit target's C
// library does them: atol with 32-bit long (saturating), and strtod
// narrowed to float.
int32_t convertInteger(const char* text);
float convertReal(const char* text);
// Both conversions of one text at once, as the parser needs them. readable
// is the number of bytes from text on that lie in its buffer (at least up
// to its terminator); with enough of them the common forms take a faster
// path.
void convertValue(const char* text, std::size_t readable, int32_t* integer, float* real);

}  // namespace kv
