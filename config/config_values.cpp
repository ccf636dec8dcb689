// Typed access to a document by section and key name: getters that never
// fail, setters that add what is missing, and the composite values.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "config/config_document.h"
#include "config/strings.h"
#include "services/services.h"
#include "platform/mbcs.h"

namespace kv {

namespace {

const int32_t kTextSize = 260;

const char* orEmpty(const char* s) { return s ? s : ""; }

void applyCaseMode(char* text, int32_t caseMode) {
    if (caseMode == kCaseUpper) strToUpper(text);
    if (caseMode == kCaseLower) strToLower(text);
}

// A float as the 32-bit target truncates it toward zero. Values the
// conversion cannot represent saturate, and NaN gives 0, instead of the
// undefined conversion.
int32_t truncateToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// A component of a colour: strtod's value, with anything not above 0 (NaN
// included) as 0 and anything from 1 up as 1.
float colorComponent(const char* text) {
    const double value = std::strtod(text, nullptr);
    if (!(value > 0.0)) return 0.0f;
    if (value >= 1.0) return 1.0f;
    return static_cast<float>(value);
}

// Cuts text at its first count commas; parts receives count + 1 pointers.
// False, with text unchanged, when it has fewer commas.
bool splitAtCommas(char* text, int count, char** parts) {
    char* found[4] = {};
    char* p = text;
    for (int i = 0; i < count; ++i) {
        found[i] = mbChr(p, ',');
        if (!found[i]) return false;
        p = found[i] + 1;
    }
    parts[0] = text;
    for (int i = 0; i < count; ++i) {
        *found[i] = '\0';
        parts[i + 1] = found[i] + 1;
    }
    return true;
}

}  // namespace

ConfigKey* ConfigDocument::findKey(const char* section, const char* key) {
    if (!sections.findByName(section)) return nullptr;
    auto* found = static_cast<ConfigSection*>(sections.currentData());
    if (!found->keys.findByName(key)) return nullptr;
    return static_cast<ConfigKey*>(found->keys.currentData());
}

ConfigKey* ConfigDocument::newKey(int32_t kind, int32_t integer, float real) {
    auto* key = static_cast<ConfigKey*>(ModuleAlloc(static_cast<int32_t>(sizeof(ConfigKey))));
    if (!key) return nullptr;
    char* copy = pool.cursor;
    strTrim(copy);
    key->name = copy;
    key->kind = kind;
    key->text = nullptr;
    key->integer = integer;
    key->real = real;
    return key;
}

int32_t ConfigDocument::getInt(const char* section, const char* key, int32_t defaultValue) {
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueInteger;
        return found->integer;
    }
    if (autoAdd) setInt(section, key, defaultValue);
    return defaultValue;
}

float ConfigDocument::getFloat(const char* section, const char* key, float defaultValue) {
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueReal;
        return found->real;
    }
    if (autoAdd) setFloat(section, key, defaultValue);
    return defaultValue;
}

void ConfigDocument::getString(const char* section, const char* key, const char* defaultText, char* out,
                               int32_t size, int32_t caseMode) {
    if (!out) return;
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueText;
        strCopyBounded(out, found->text, size);
        if (size >= 1) applyCaseMode(out, caseMode);
        return;
    }
    if (autoAdd) setString(section, key, defaultText);
    strCopyBounded(out, defaultText, size);
}

int32_t ConfigDocument::getBool(const char* section, const char* key, int32_t defaultValue) {
    // A document whose copy of a word the allocator refused still knows the
    // word: without it "TRUE" would read as the number 0.
    const char* yes = trueText ? trueText : "TRUE";
    const char* no = falseText ? falseText : "FALSE";
    int32_t result = defaultValue;
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueText;
        char text[kTextSize];
        strCopyBounded(text, found->text, sizeof text);
        if (strEqual(text, yes, 0)) return 1;
        if (strEqual(text, no, 0)) return 0;
        found->kind = kValueInteger;
        result = found->integer != 0 ? 1 : 0;
    }
    // A numeric or missing boolean is written back in words.
    if (autoAdd) setString(section, key, result ? yes : no);
    return result;
}

int32_t ConfigDocument::setInt(const char* section, const char* key, int32_t value) {
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueInteger;
        found->integer = value;
        return 1;
    }
    if (!pool.appendString(orEmpty(key))) {
        TraceMessage("Unable to append string %s to the buffer!", orEmpty(key));
        return 0;
    }
    return addKey(section, newKey(kValueInteger, value, static_cast<float>(value)));
}

int32_t ConfigDocument::setFloat(const char* section, const char* key, float value) {
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueReal;
        found->real = value;
        return 1;
    }
    if (!pool.appendString(orEmpty(key))) {
        TraceMessage("Unable to append string %s to the buffer!", orEmpty(key));
        return 0;
    }
    return addKey(section, newKey(kValueReal, truncateToInt(value), value));
}

int32_t ConfigDocument::setString(const char* section, const char* key, const char* value) {
    char* stored = emptyText;
    if (!strIsEmpty(value)) {
        if (!pool.appendString(value)) {
            TraceMessage("Unable to append string %s to the buffer!", value);
            return 0;
        }
        stored = pool.cursor;
    }
    if (ConfigKey* found = findKey(section, key)) {
        found->kind = kValueText;
        found->text = stored;
        return 1;
    }
    if (!pool.appendString(orEmpty(key))) {
        TraceMessage("Unable to append string key name %s to the buffer!", orEmpty(key));
        return 0;
    }
    ConfigKey* record = newKey(kValueText, 0, 0.0f);
    if (record && !strIsEmpty(stored)) {
        record->integer = convertInteger(stored);
        record->real = convertReal(stored);
        strTrim(stored);
        record->text = stored;
    }
    return addKey(section, record);
}

int32_t ConfigDocument::addKey(const char* section, ConfigKey* record) {
    if (!record) return 0;
    ConfigSection* target = nullptr;
    if (sections.findByName(section)) {
        target = static_cast<ConfigSection*>(sections.currentData());
    } else {
        if (!pool.appendString(orEmpty(section))) {
            TraceMessage("Unable to append string %s to the buffer!", orEmpty(section));
            MemFree(record);  // taken over: a failed add must not lose it
            return 0;
        }
        void* memory = ModuleAlloc(static_cast<int32_t>(sizeof(ConfigSection)));
        if (!memory) {
            MemFree(record);
            return 0;
        }
        target = new (memory) ConfigSection;
        target->name = pool.cursor;
        if (!sections.append(target)) {
            TraceMessage("Unable to append section %s to the list!", orEmpty(section));
            target->~ConfigSection();
            MemFree(target);
            MemFree(record);
            return 0;
        }
    }
    if (target->keys.findByName(record->name)) {
        // The setters never get here; a record for a name the section has
        // already is not kept.
        MemFree(record);
        return 1;
    }
    if (!target->keys.append(record)) {
        MemFree(record);
        return 0;
    }
    return 1;
}

char* getStringCopy(ConfigDocument* document, const char* section, const char* key, int32_t caseMode) {
    if (!document) return nullptr;
    char text[kTextSize];
    document->getString(section, key, "", text, sizeof text, kCaseKeep);
    if (text[0] == '\0') return nullptr;
    applyCaseMode(text, caseMode);
    return strDuplicate(text);
}

IntPair getIntPair(ConfigDocument* document, const char* section, const char* key) {
    IntPair pair = {0, 0};
    if (!document) return pair;
    char text[kTextSize];
    document->getString(section, key, "", text, sizeof text, kCaseKeep);
    char* parts[2];
    if (!splitAtCommas(text, 1, parts)) return pair;
    pair.first = convertInteger(parts[0]);
    pair.second = convertInteger(parts[1]);
    return pair;
}

ConfigRect getRect(ConfigDocument* document, const char* section, const char* key) {
    ConfigRect rect = {{0, 0, 0, 0}};
    if (!document) return rect;
    char text[kTextSize];
    document->getString(section, key, "", text, sizeof text, kCaseKeep);
    char* parts[4];
    if (!splitAtCommas(text, 3, parts)) return rect;
    for (int i = 0; i < 4; ++i) rect.values[i] = convertInteger(parts[i]);
    return rect;
}

int32_t getColor(ConfigColor* out, ConfigDocument* document, const char* section, const char* key) {
    if (!out || !document) return 0;
    char text[kTextSize];
    document->getString(section, key, "", text, sizeof text, kCaseKeep);
    char* parts[4];
    if (!splitAtCommas(text, 2, parts)) return 0;
    ConfigColor color;
    color.red = colorComponent(parts[0]);
    color.green = colorComponent(parts[1]);
    char* alpha = mbChr(parts[2], ',');
    if (alpha) *alpha++ = '\0';
    color.blue = colorComponent(parts[2]);
    color.alpha = alpha ? colorComponent(alpha) : 1.0f;
    *out = color;
    return 1;
}

const char kFontNameKey[] = "TextFontName";
const char kFontSizeKey[] = "TextSize";
const char kFontBoldKey[] = "TextBold";
const char kFontItalicKey[] = "TextItalic";
const char kFontUnderlineKey[] = "TextUnderline";
const char kFontStrikeOutKey[] = "TextStrikeOut";

int32_t getFontSettings(FontSettings* out, ConfigDocument* document, const char* section) {
    if (!out || !document) return 0;
    document->getString(section, kFontNameKey, "", out->faceName, sizeof out->faceName, kCaseKeep);
    out->size = document->getInt(section, kFontSizeKey, 0);
    out->styleFlags = 0;
    if (out->size < 1) return 0;
    if (document->getBool(section, kFontBoldKey, 0)) out->styleFlags += kFontBold;
    if (document->getBool(section, kFontItalicKey, 0)) out->styleFlags += kFontItalic;
    if (document->getBool(section, kFontUnderlineKey, 0)) out->styleFlags += kFontUnderline;
    if (document->getBool(section, kFontStrikeOutKey, 0)) out->styleFlags += kFontStrikeOut;
    return 1;
}

}  // namespace kv
