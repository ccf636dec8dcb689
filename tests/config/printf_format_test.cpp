#include <gtest/gtest.h>

#include "config/printf_format.h"

namespace {

using kv::FormatArgument;
using kv::formatAccepts;

// Each of these would make printf read an argument the caller never passed,
// read one of the wrong kind, or write through one.
TEST(PrintfFormat, RefusesEveryConversionItCannotFeed) {
    const char* const refusedForInteger[] = {
        "shot%*d.bmp",     // width from an extra argument
        "shot%.*d.bmp",    // precision from an extra argument
        "shot%1$d.bmp",    // argument reordering
        "shot%n.bmp",      // a write through an argument
        "shot%d%n.bmp",    // a write after a good conversion
        "shot%ld.bmp",     // length modifiers: l ll h hh j z t L q
        "shot%lld.bmp",
        "shot%hd.bmp",
        "shot%hhd.bmp",
        "shot%jd.bmp",
        "shot%zd.bmp",
        "shot%td.bmp",
        "shot%Ld.bmp",
        "shot%qd.bmp",
        "shot%I64d.bmp",
        "shot%s.bmp",      // wrong kind
        "shot%f.bmp",
        "shot%c.bmp",
        "shot%p.bmp",
        "shot%d%d.bmp",    // one conversion too many
        "shot%d%",         // a conversion cut by the end of the text
        "shot%",
        "shot%5",
        "shot%-",
        "shot%.",
        "shot% y",         // an unknown conversion
    };
    for (const char* format : refusedForInteger)
        EXPECT_FALSE(formatAccepts(format, FormatArgument::Integer, 0, 1)) << format;

    EXPECT_FALSE(formatAccepts("%d%%", FormatArgument::Real, 0, 1)) << "an integer where a real is passed";
    EXPECT_FALSE(formatAccepts("%.1Lf", FormatArgument::Real, 0, 1)) << "long double reads more than a double";
    EXPECT_FALSE(formatAccepts("%s", FormatArgument::Real, 0, 1));
    EXPECT_FALSE(formatAccepts("%f", FormatArgument::Text, 0, 1));
    EXPECT_FALSE(formatAccepts(nullptr, FormatArgument::Integer, 0, 1));
    EXPECT_FALSE(formatAccepts(nullptr, FormatArgument::Real, 0, 0));
}

TEST(PrintfFormat, AcceptsPlainConversionsWithFlagsWidthAndPrecision) {
    const char* const integers[] = {"shot%d.bmp", "shot%03d.bmp", "%-4i", "%+d", "% d", "%#x",
                                    "%#o", "%X", "%u", "%.5d", "%08.3d", "100%% %d", "%d%%"};
    for (const char* format : integers)
        EXPECT_TRUE(formatAccepts(format, FormatArgument::Integer, 1, 1)) << format;

    const char* const reals[] = {"%.0f%%", "%5.1f %%", "%e", "%E", "%g", "%G", "%a", "%A", "%F", "%-+#010.3f"};
    for (const char* format : reals) EXPECT_TRUE(formatAccepts(format, FormatArgument::Real, 0, 1)) << format;

    EXPECT_TRUE(formatAccepts("%s and %-20.5s", FormatArgument::Text, 2, 2));
}

// A field wider than a text line only makes printf produce characters the
// bounded buffer throws away: width and precision stop at 259.
TEST(PrintfFormat, WidthAndPrecisionStopAt259) {
    for (const char* format : {"%259d", "%0259d", "%-259.259d", "%.259d", "shot%0000259d.pgm"})
        EXPECT_TRUE(formatAccepts(format, FormatArgument::Integer, 1, 1)) << format;
    for (const char* format : {"%260d", "%.260d", "%1.260d", "%260.1d", "shot%999999999d.pgm",
                               "%99999999999999999999999d", "%.4294967296d", "%d %260d"})
        EXPECT_FALSE(formatAccepts(format, FormatArgument::Integer, 0, 2)) << format;
    EXPECT_TRUE(formatAccepts("%259.259f%%", FormatArgument::Real, 0, 1));
    EXPECT_FALSE(formatAccepts("%999999999.0f%%", FormatArgument::Real, 0, 1));
    EXPECT_FALSE(formatAccepts("%.999999999f", FormatArgument::Real, 0, 1));
    EXPECT_FALSE(formatAccepts("%300s", FormatArgument::Text, 0, 1));
}

// The bounds count conversions only; "%%" is literal text.
TEST(PrintfFormat, CountsConversionsAgainstBothBounds) {
    EXPECT_TRUE(formatAccepts("", FormatArgument::Real, 0, 1));
    EXPECT_TRUE(formatAccepts("Loading", FormatArgument::Real, 0, 1));
    EXPECT_TRUE(formatAccepts("100%%", FormatArgument::Real, 0, 1));
    EXPECT_TRUE(formatAccepts("%%%%", FormatArgument::Integer, 0, 0));

    EXPECT_FALSE(formatAccepts("loading.png", FormatArgument::Integer, 1, 1)) << "too few";
    EXPECT_FALSE(formatAccepts("100%%", FormatArgument::Integer, 1, 1)) << "%% is no conversion";
    EXPECT_FALSE(formatAccepts("%d", FormatArgument::Integer, 0, 0)) << "too many";
    EXPECT_FALSE(formatAccepts("%.1f%.1f", FormatArgument::Real, 0, 1));
    EXPECT_TRUE(formatAccepts("%d-%d", FormatArgument::Integer, 2, 2));
}

}  // namespace
