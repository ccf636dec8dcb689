#include "tools/ini_output.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

std::string json(const char* value) {
    std::string out;
    kvtool::appendJsonString(out, value);
    return out;
}

std::string jsonReal(float value) {
    std::string out;
    kvtool::appendJsonReal(out, value);
    return out;
}

TEST(IniJsonString, EscapesWhatJsonRequiresAndEveryHighByte) {
    EXPECT_EQ(json(nullptr), "null");
    EXPECT_EQ(json(""), "\"\"");
    EXPECT_EQ(json("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(json("C:\\Korvane"), "\"C:\\\\Korvane\"");
    EXPECT_EQ(json("a\tb\nc\rd\be\ff"), "\"a\\tb\\nc\\rd\\be\\ff\"");
    EXPECT_EQ(json("\x01\x1f\x7f"), "\"\\u0001\\u001f\\u007f\"");
    // Two bytes of a double-byte character stay two separate escapes.
    EXPECT_EQ(json("\x83\x5d\x80\xff"), "\"\\u0083]\\u0080\\u00ff\"");
    EXPECT_EQ(json("Caf\xc3\xa9"), "\"Caf\\u00c3\\u00a9\"");
}

TEST(IniJsonString, LeavesPrintableAsciiAlone) {
    std::string printable;
    for (char c = 0x20; c < 0x7f; ++c) {
        if (c != '"' && c != '\\') printable += c;
    }
    EXPECT_EQ(json(printable.c_str()), "\"" + printable + "\"");
}

TEST(IniReal, IsTheShortestFormThatReadsBack) {
    EXPECT_EQ(kvtool::formatReal(0.0f), "0");
    EXPECT_EQ(kvtool::formatReal(0.1f), "0.1");
    EXPECT_EQ(kvtool::formatReal(-2.5f), "-2.5");
    EXPECT_EQ(kvtool::formatReal(0.75f), "0.75");
    EXPECT_EQ(kvtool::formatReal(1.0f / 3.0f), "0.33333334");
    EXPECT_EQ(kvtool::formatReal(16777217.0f), "16777216");
    EXPECT_EQ(kvtool::formatReal(1e-10f), "1e-10");
    for (float value : {0.1f, 1.0f / 3.0f, 3.14159274f, FLT_MAX, FLT_MIN, FLT_TRUE_MIN, -1e-7f, 123456.789f}) {
        EXPECT_EQ(std::strtof(kvtool::formatReal(value).c_str(), nullptr), value) << value;
    }
}

TEST(IniReal, WritesNumbersOutUpToNineDigits) {
    EXPECT_EQ(kvtool::formatReal(250.0f), "250");
    EXPECT_EQ(kvtool::formatReal(1000.0f), "1000");
    EXPECT_EQ(kvtool::formatReal(-640.0f), "-640");
    EXPECT_EQ(kvtool::formatReal(100000000.0f), "100000000");
    EXPECT_EQ(kvtool::formatReal(1250.5f), "1250.5");
    EXPECT_EQ(kvtool::formatReal(1e9f), "1e+09");
    EXPECT_EQ(kvtool::formatReal(1e20f), "1e+20");
}

TEST(IniReal, NonFiniteValuesAreWordsAndStringsInJson) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(kvtool::formatReal(inf), "inf");
    EXPECT_EQ(kvtool::formatReal(-inf), "-inf");
    EXPECT_EQ(kvtool::formatReal(std::nanf("")), "nan");
    EXPECT_EQ(jsonReal(inf), "\"inf\"");
    EXPECT_EQ(jsonReal(std::nanf("")), "\"nan\"");
    EXPECT_EQ(jsonReal(-0.5f), "-0.5");
}

TEST(IniPlain, ListsSectionsAndKeysWithTheirBytes) {
    std::string out;
    kvtool::appendPlainHeader(out, ".\\main.ini");
    kvtool::appendPlainSection(out, "Caf\xe9");
    kvtool::appendPlainKey(out, "Speed", "250", 250, 250.0f);
    kvtool::appendPlainKey(out, "Empty", nullptr, 0, 0.0f);
    EXPECT_EQ(out,
              "; .\\main.ini\n"
              "\n"
              "[Caf\xe9]\n"
              "Speed = 250  (integer 250, real 250)\n"
              "Empty = (no text)  (integer 0, real 0)\n");
}

}  // namespace
