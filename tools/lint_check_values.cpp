// Values that will not read as they are written: each is read with the
// document's own getter, so the value a finding names is the one the
// module takes.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/strings.h"
#include "tools/lint_checks.h"
#include "tools/lint_vocabulary.h"

namespace kvtool {

namespace {

// How a text stands against the C library's decimal conversions, which
// the parser applies to every value.
enum class Shape { kWhole, kNoValue, kNotNumber, kTrailing, kOutOfRange };

struct NumberShape {
    Shape shape;
    std::string rest;  // the trailing text
};

NumberShape integerShape(const char* text) {
    if (kv::strIsEmpty(text)) return {Shape::kNoValue, ""};
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text) return {Shape::kNotNumber, ""};
    if (*end) return {Shape::kTrailing, end};
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return {Shape::kOutOfRange, ""};
    return {Shape::kWhole, ""};
}

NumberShape realShape(const char* text) {
    if (kv::strIsEmpty(text)) return {Shape::kNoValue, ""};
    char* end = nullptr;
    (void)std::strtod(text, &end);
    if (end == text) return {Shape::kNotNumber, ""};
    if (*end) return {Shape::kTrailing, end};
    return {Shape::kWhole, ""};
}

std::string written(const kv::ConfigKey& key) { return std::string(key.name) + "=" + (key.text ? key.text : ""); }

std::string integerText(double value) { return std::to_string(static_cast<long long>(value)); }
std::string boolText(double value) { return value != 0.0 ? "TRUE" : "FALSE"; }

// The message for a value whose form is not what its kind wants, or "".
std::string shapeMessage(const kv::ConfigKey& key, const NumberShape& shape, const std::string& readsAs) {
    switch (shape.shape) {
        case Shape::kWhole: return "";
        case Shape::kNoValue: return std::string(key.name) + " has no value; it reads as " + readsAs;
        case Shape::kNotNumber: return written(key) + " is not a number; it reads as " + readsAs;
        case Shape::kTrailing:
            return written(key) + " has trailing text " + quoted(shape.rest.c_str()) + "; it reads as " + readsAs;
        case Shape::kOutOfRange: return written(key) + " does not fit 32 bits; it reads as " + readsAs;
    }
    return "";
}

// The value the engine ends up with for a real row: the file's, unless the
// module replaces it by the row's default.
double realUsed(float value, const kv::StartupRow& row) {
    return kv::startupValueUsable(value, row.check) ? value : row.defaultNumber;
}

struct Context {
    LintContext& lint;
    kv::ConfigDocument& document;
};

Finding& valueFinding(Context& c, const kv::ConfigSection& section, const kv::ConfigKey& key,
                      const kv::StartupRow& row, const char* kind, std::string message, double used) {
    Finding& finding = c.lint.add(c.lint.startup, key.name, Severity::kWarning, kind, std::move(message));
    finding.row = &row;
    finding.section = section.name;
    finding.valueUsed = used;
    return finding;
}

void checkBool(Context& c, const kv::ConfigSection& section, const kv::ConfigKey& key, const kv::StartupRow& row) {
    const double used = c.document.getBool(section.name, key.name, static_cast<int32_t>(row.defaultNumber));
    const char* text = key.text;
    if (kv::strIsEmpty(text)) {
        valueFinding(c, section, key, row, "value", std::string(key.name) + " has no value; it reads as " + boolText(used),
                     used);
        return;
    }
    // The document compares with its own words, without regard to case.
    if (kv::strEqual(text, c.document.trueText, 0) || kv::strEqual(text, c.document.falseText, 0)) return;
    const Shape shape = integerShape(text).shape;
    if (shape == Shape::kWhole || shape == Shape::kOutOfRange) return;
    valueFinding(c, section, key, row, "value",
                 written(key) + " is neither TRUE, FALSE nor a number; it reads as " + boolText(used), used);
}

void checkInteger(Context& c, const kv::ConfigSection& section, const kv::ConfigKey& key, const kv::StartupRow& row) {
    const double used = c.document.getInt(section.name, key.name, static_cast<int32_t>(row.defaultNumber));
    const std::string message = shapeMessage(key, integerShape(key.text), integerText(used));
    if (!message.empty()) valueFinding(c, section, key, row, "value", message, used);
}

void checkReal(Context& c, const kv::ConfigSection& section, const kv::ConfigKey& key, const kv::StartupRow& row) {
    const float value = c.document.getFloat(section.name, key.name, row.defaultNumber);
    const double used = realUsed(value, row);
    const std::string message = shapeMessage(key, realShape(key.text), quoteNumber(value));
    if (!message.empty()) valueFinding(c, section, key, row, "value", message, used);
    if (!kv::startupValueUsable(value, row.check))
        valueFinding(c, section, key, row, "default-taken",
                     written(key) + " cannot be used; the module takes the default " +
                         quoteNumber(row.defaultNumber) + " instead",
                     used);
}

// Composite texts: the getters give all zeros (a colour: nothing) unless
// the text has enough commas.
void checkParts(Context& c, const kv::ConfigSection& section, const kv::ConfigKey& key, const kv::StartupRow& row) {
    int commas = 0;
    for (const char* p = key.text; p && *p; ++p) commas += *p == ',';
    std::string message;
    if (row.read == kv::StartupRead::kIntPair && commas < 1)
        message = written(key) + " is not two numbers with a comma between; it reads as 0,0";
    if (row.read == kv::StartupRead::kRect && commas < 3)
        message = written(key) + " is not four numbers with commas between; it reads as 0,0,0,0";
    if (row.read == kv::StartupRead::kColor && commas < 2)
        message = written(key) + " is not three or four numbers with commas between; it is not used";
    if (!message.empty()) valueFinding(c, section, key, row, "value", message, 0.0);
}

void checkKeyValue(Context& c, const kv::ConfigSection& section, const kv::ConfigKey& key) {
    const std::vector<const kv::StartupRow*> rows = rowsReading(section.name, key.name);
    if (rows.empty()) return;
    // Rows that read one key (a detail key for several options) read it alike.
    const kv::StartupRow& row = *rows.front();
    switch (row.read) {
        case kv::StartupRead::kBool: checkBool(c, section, key, row); break;
        case kv::StartupRead::kInt: checkInteger(c, section, key, row); break;
        case kv::StartupRead::kReal: checkReal(c, section, key, row); break;
        case kv::StartupRead::kIntPair:
        case kv::StartupRead::kRect:
        case kv::StartupRead::kColor: checkParts(c, section, key, row); break;
        case kv::StartupRead::kText:
        case kv::StartupRead::kCopy:
        case kv::StartupRead::kNone: break;
    }
}

struct OrderSide {
    const kv::StartupRow* row;
    kv::ConfigKey* key;
    double value;
};

OrderSide orderSide(Context& c, int32_t number) {
    const kv::StartupRow* row = kv::startupRow(number);
    kv::ConfigKey* key = findKey(c.document, row->section, row->key);
    const double value = key ? realUsed(c.document.getFloat(row->section, row->key, row->defaultNumber), *row)
                             : row->defaultNumber;
    return {row, key, value};
}

// Both at their defaults is how the module flies without them; a pair the
// file changed is the author's to keep in order.
void checkOrder(Context& c, const kv::StartupOrder& order) {
    const OrderSide lower = orderSide(c, order.lowerRow);
    const OrderSide upper = orderSide(c, order.upperRow);
    if (lower.value == lower.row->defaultNumber && upper.value == upper.row->defaultNumber) return;
    const bool kept = order.strict ? lower.value < upper.value : !(lower.value > upper.value);
    if (kept) return;
    std::string message = order.strict ? std::string(upper.row->key) + " " + quoteNumber(upper.value) +
                                             " is not beyond " + lower.row->key + " " + quoteNumber(lower.value)
                                       : std::string(lower.row->key) + " " + quoteNumber(lower.value) + " is above " +
                                             upper.row->key + " " + quoteNumber(upper.value);
    message += " in [" + std::string(lower.row->section) + "]";
    // At the key the sentence starts with, when the file has it.
    const OrderSide& first = order.strict ? (upper.key ? upper : lower) : (lower.key ? lower : upper);
    if (!first.key) return;
    Finding& finding = c.lint.add(c.lint.startup, first.key->name, Severity::kWarning, "order", message);
    finding.row = first.row;
    finding.section = first.row->section;
    finding.valueUsed = first.value;
}

void checkChoice(Context& c, const kv::StartupChoice& choice) {
    const kv::StartupRow* row = kv::startupRow(choice.row);
    kv::ConfigKey* key = findKey(c.document, row->section, row->key);
    if (!key) return;
    const int32_t value = c.document.getInt(row->section, row->key, static_cast<int32_t>(row->defaultNumber));
    std::string list;
    for (std::size_t i = 0; i < 3; ++i) {
        if (value == choice.values[i]) return;
        list += (i == 0 ? "" : i == 2 ? " or " : ", ") + std::to_string(choice.values[i]);
    }
    Finding& finding = c.lint.add(c.lint.startup, key->name, Severity::kWarning, "choice",
                                  written(*key) + " is none of " + list);
    finding.row = row;
    finding.section = row->section;
    finding.valueUsed = value;
}

}  // namespace

void checkValues(LintContext& context) {
    Context c{context, context.startup.document()};
    for (kv::PtrListNode* node = c.document.sections.head; node; node = node->next) {
        const auto& section = *static_cast<const kv::ConfigSection*>(node->data);
        for (kv::PtrListNode* k = section.keys.head; k; k = k->next)
            checkKeyValue(c, section, *static_cast<const kv::ConfigKey*>(k->data));
    }
    for (int32_t i = 0; i < kv::kStartupOrderCount; ++i) checkOrder(c, kv::kStartupOrders[i]);
    for (int32_t i = 0; i < kv::kStartupChoiceCount; ++i) checkChoice(c, kv::kStartupChoices[i]);
}

}  // namespace kvtool
