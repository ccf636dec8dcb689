// The two load-time conversions of a value. Both must give exactly what the
// 32-bit target's C library gives (atol with a 32-bit long; strtod narrowed
// to float), and both run for every key of every file, so the common short
// decimal forms take a fast path that is exact by construction.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "config/config_document.h"
#include "config/memory_word.h"

namespace kv {

namespace {

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that a double holds exactly.
const double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
const uint64_t kExactIntegerPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// The nearest float to d, as the hardware narrows it; a finite double
// beyond the float range is not converted by the language, so it is
// rounded here: up to half a unit beyond FLT_MAX stays FLT_MAX.
float narrow(double d) {
    const double limit = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    if (std::isfinite(d) && std::fabs(d) > static_cast<double>(FLT_MAX)) {
        const float top = std::fabs(d) < limit ? FLT_MAX : HUGE_VALF;
        return d < 0 ? -top : top;
    }
    return static_cast<float>(d);
}

// Decimal text with at most 15 significant digits and a small exponent:
// one exact integer and one exact power of ten, so the single rounding of
// the multiplication or division is the correctly rounded result, the
// same double strtod gives. False leaves the text to strtod.
bool fastDecimal(const char* p, double* out) {
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
    const char* start = p;
    uint64_t mantissa = 0;
    int digits = 0;    // significant digits kept in mantissa
    int exponent = 0;  // power of ten to apply to mantissa
    bool anyDigit = false;
    for (; isDigit(*p); ++p) {
        anyDigit = true;
        if (mantissa == 0 && *p == '0') continue;
        if (++digits > 15) return false;
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (*p == '.') {
        for (++p; isDigit(*p); ++p) {
            anyDigit = true;
            --exponent;
            if (mantissa == 0 && *p == '0') continue;
            if (++digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        }
    }
    if (!anyDigit) {
        // Nothing numeric: strtod converts nothing and gives +0, unless the
        // text spells an infinity or a NaN.
        const char first = *start;
        if (first == 'i' || first == 'I' || first == 'n' || first == 'N') return false;
        *out = 0.0;
        return true;
    }
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (*q == '+' || *q == '-') negativeExponent = *q++ == '-';
        if (isDigit(*q)) {
            int value = 0;
            for (; isDigit(*q); ++q) {
                if (value > 1000) return false;
                value = value * 10 + (*q - '0');
            }
            exponent += negativeExponent ? -value : value;
        }
    }
    double value = static_cast<double>(mantissa);
    if (mantissa != 0) {
        if (exponent < -22 || exponent > 22) return false;
        value = exponent < 0 ? value / kExactPowers[-exponent] : value * kExactPowers[exponent];
    }
    *out = negative ? -value : value;
    return true;
}

}  // namespace

int32_t convertInteger(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (isCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Saturates at the 32-bit limits as strtol does for a 32-bit long.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    for (; isDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) {
            value = limit;
            while (isDigit(p[1])) ++p;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

float convertReal(const char* text) {
    if (!text) return 0.0f;
    const char* p = text;
    while (isCSpace(*p)) ++p;
    double value = 0.0;
    if (!fastDecimal(p, &value)) value = std::strtod(p, nullptr);
    return narrow(value);
}

namespace {

// Every form of value, through the two conversions one at a time.
void convertValueAlone(const char* text, int32_t* integer, float* real) {
    *integer = convertInteger(text);
    *real = convertReal(text);
}

// The number of leading decimal digits of the eight bytes at p (0 to 8),
// and those digits as one value.
struct DigitRun {
    uint32_t count;
    uint32_t value;
};

// Inlined by force: it runs twice for every value.
__attribute__((always_inline)) inline DigitRun digitRun(const char* p) {
    const uint64_t word = wordInMemoryOrder(p);
    // A digit becomes 0 to 9; any other byte, above 9, gets its top bit set
    // by the addition. Only bytes after the first non-digit can receive a
    // carry, so the first set top bit is exact.
    const uint64_t offsets = word ^ 0x3030303030303030ull;
    const uint64_t others = ((offsets + 0x7676767676767676ull) | offsets) & 0x8080808080808080ull;
    const uint32_t count = others ? static_cast<uint32_t>(__builtin_ctzll(others)) / 8 : 8;
    // The digits moved to the top bytes, zeros below as leading zeros; two
    // shifts, so that a count of 0 shifts everything out without a 64-bit
    // shift.
    const unsigned half = 32 - 4 * count;
    uint64_t digits = (offsets << half) << half;
    digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFull;
    digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFull;
    digits = (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFull;
    return DigitRun{count, static_cast<uint32_t>(digits)};
}

}  // namespace

void convertValue(const char* text, std::size_t readable, int32_t* integer, float* real) {
    const char* p = text;
    while (isCSpace(*p)) ++p;
    readable -= static_cast<std::size_t>(p - text);
    // The common forms, [sign] up to 7 digits [. up to 7 digits], are
    // converted eight bytes at a time without a branch per character. It
    // looks at up to 19 bytes: a sign, two runs of eight with the "." between
    // them, and the byte after; they must lie in the buffer.
    if (readable < 19) return convertValueAlone(p, integer, real);
    // The forms vary from key to key, so the path is chosen with flags
    // rather than branches a processor would guess wrong.
    const bool negative = *p == '-';
    const char* digits = p + (negative | (*p == '+'));
    const DigitRun whole = digitRun(digits);
    const char* q = digits + whole.count;
    const bool dot = *q == '.';
    DigitRun fraction = digitRun(q + 1);  // within the 19 bytes even without a "."
    fraction.count = dot ? fraction.count : 0;
    fraction.value = dot ? fraction.value : 0;
    q += dot ? 1 + fraction.count : 0;
    const unsigned next = static_cast<unsigned char>(*q) | 0x20;  // lower case for letters
    const bool anyDigit = whole.count + fraction.count != 0;
    // Longer runs, exponents, hexadecimal, infinities and NaNs are strtod's.
    const bool slow = (whole.count == 8) | (fraction.count == 8) | (next == 'e') | (next == 'x') |
                      ((!anyDigit) & ((next == 'i') | (next == 'n')));
    if (slow) return convertValueAlone(p, integer, real);
    // Without a digit nothing converts: "-x" gives +0, not -0.
    const bool minus = negative & anyDigit;
    *integer = minus ? -static_cast<int32_t>(whole.value) : static_cast<int32_t>(whole.value);
    // At most 14 digits over an exact power of ten (1 without a fraction):
    // the one rounding of the division is the correctly rounded double
    // strtod gives.
    const uint64_t scaled = static_cast<uint64_t>(whole.value) * kExactIntegerPowers[fraction.count] + fraction.value;
    const double magnitude = static_cast<double>(scaled) / kExactPowers[fraction.count];
    *real = static_cast<float>(minus ? -magnitude : magnitude);
}

}  // namespace kv
