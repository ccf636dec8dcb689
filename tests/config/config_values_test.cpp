#include <string>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "config/strings.h"
#include "tests/config/config_support.h"

namespace {

using kvtest::ConfigWorld;
using kvtest::render;

const char kValues[] =
    "[V]\n"
    "Half=2.5\nSeven=7\nWords=TRUE\nLower=true\nMixed=True\nNo=false\nOne=1\nMinus=-3\nZero=0\nYes=yes\n"
    "Empty=\nText=Some Text\nPair=640,480\nSingle=640\nTriple=1,2,3\nRect=1,2,3,4,5\n"
    "Clamp=1.5,0.5,-2\nShort=0.2,0.4\nAlpha=0,0,0,0.5\nNaN=nan,0.5,0.25,nan\n"
    "[Font]\nTextFontName=Arial Narrow\nTextSize=12\nTextBold=1\nTextUnderline=TRUE\n"
    "[NoFont]\nTextFontName=Courier\nTextSize=0\nTextBold=1\n";

TEST(ConfigValues, TypedGettersReadEachRepresentation) {
    ConfigWorld state;
    state.files.files["top.ini"] = kValues;
    auto doc = state.open();
    EXPECT_EQ(doc->getInt("V", "Half", 0), 2);
    EXPECT_EQ(doc->getFloat("v", "half", 0), 2.5f) << "names ignore case";
    EXPECT_EQ(doc->getFloat("V", "Seven", 0), 7.0f);
    EXPECT_EQ(doc->getInt("V", "Missing", 9), 9);
    EXPECT_EQ(doc->getInt("Missing", "Half", 9), 9);
    EXPECT_EQ(doc->getInt("", "Half", 9), 9);

    for (const char* key : {"Words", "Lower", "Mixed", "One", "Minus"}) EXPECT_EQ(doc->getBool("V", key, 0), 1) << key;
    for (const char* key : {"No", "Zero", "Yes"}) EXPECT_EQ(doc->getBool("V", key, 1), 0) << key;
    EXPECT_EQ(doc->getBool("V", "Empty", 1), 0) << "a key without text is 0, not the default";
    EXPECT_EQ(doc->getBool("V", "Missing", 5), 5) << "a missing one returns the default unchanged";

    char text[260];
    doc->getString("V", "Empty", "default", text, sizeof text, kv::kCaseKeep);
    EXPECT_STREQ(text, "") << "a key without text is empty, not the default";
    doc->getString("V", "Text", "", text, sizeof text, kv::kCaseUpper);
    EXPECT_STREQ(text, "SOME TEXT");
    doc->getString("V", "Text", "", text, sizeof text, kv::kCaseLower);
    EXPECT_STREQ(text, "some text");
    doc->getString("V", "Text", "", text, sizeof text, 7);
    EXPECT_STREQ(text, "Some Text") << "an unknown mode keeps the text";
    doc->getString("V", "Missing", "Def", text, sizeof text, kv::kCaseUpper);
    EXPECT_STREQ(text, "Def") << "the default is not converted";
    doc->getString("V", "Missing", nullptr, text, sizeof text, kv::kCaseKeep);
    EXPECT_STREQ(text, "");
    doc->getString("V", "Text", "", text, 5, kv::kCaseKeep);
    EXPECT_STREQ(text, "Some");
    doc->getString("V", "Text", "", nullptr, 5, kv::kCaseKeep);  // nothing at all

    // The kind follows the representation last read.
    ASSERT_TRUE(doc->sections.findByName("V"));
    auto* section = static_cast<kv::ConfigSection*>(doc->sections.currentData());
    ASSERT_TRUE(section->keys.findByName("Half"));
    auto* half = static_cast<kv::ConfigKey*>(section->keys.currentData());
    doc->getFloat("V", "Half", 0);
    EXPECT_EQ(half->kind, kv::kValueReal);
    doc->getInt("V", "Half", 0);
    EXPECT_EQ(half->kind, kv::kValueInteger);
    doc->getString("V", "Half", "", text, sizeof text, 0);
    EXPECT_EQ(half->kind, kv::kValueText);
}

TEST(ConfigValues, CompositeValues) {
    ConfigWorld state;
    state.files.files["top.ini"] = kValues;
    auto doc = state.open();
    const kv::IntPair pair = kv::getIntPair(doc.get(), "V", "Pair");
    EXPECT_EQ(pair.first, 640);
    EXPECT_EQ(pair.second, 480);
    const kv::IntPair single = kv::getIntPair(doc.get(), "V", "Single");
    EXPECT_EQ(single.first, 0);
    EXPECT_EQ(single.second, 0);
    const kv::ConfigRect triple = kv::getRect(doc.get(), "V", "Triple");
    EXPECT_EQ(triple.values[0] | triple.values[1] | triple.values[2] | triple.values[3], 0);
    const kv::ConfigRect rect = kv::getRect(doc.get(), "V", "Rect");
    EXPECT_EQ(rect.values[0], 1);
    EXPECT_EQ(rect.values[2], 3);
    EXPECT_EQ(rect.values[3], 4) << "the fourth part runs to the end: atoi stops at the comma";

    kv::ConfigColor color = {9, 9, 9, 9};
    EXPECT_EQ(kv::getColor(&color, doc.get(), "V", "Clamp"), 1);
    EXPECT_EQ(color.red, 1.0f);
    EXPECT_EQ(color.green, 0.5f);
    EXPECT_EQ(color.blue, 0.0f);
    EXPECT_EQ(color.alpha, 1.0f);
    color = {9, 9, 9, 9};
    EXPECT_EQ(kv::getColor(&color, doc.get(), "V", "Short"), 0);
    EXPECT_EQ(color.red, 9.0f) << "left untouched";
    EXPECT_EQ(kv::getColor(&color, doc.get(), "V", "Alpha"), 1);
    EXPECT_EQ(color.alpha, 0.5f);
    EXPECT_EQ(kv::getColor(&color, doc.get(), "V", "NaN"), 1);
    EXPECT_EQ(color.red, 0.0f) << "not a number is not above 0";
    EXPECT_EQ(color.alpha, 0.0f);

    kv::FontSettings font;
    EXPECT_EQ(kv::getFontSettings(&font, doc.get(), "Font"), 1);
    EXPECT_STREQ(font.faceName, "Arial Narrow");
    EXPECT_EQ(font.size, 12);
    EXPECT_EQ(font.styleFlags, kv::kFontBold | kv::kFontUnderline);
    EXPECT_EQ(kv::getFontSettings(&font, doc.get(), "NoFont"), 0);
    EXPECT_STREQ(font.faceName, "Courier");
    EXPECT_EQ(font.styleFlags, 0);
    EXPECT_EQ(kv::getFontSettings(&font, doc.get(), "Missing"), 0);

    char* copy = kv::getStringCopy(doc.get(), "V", "Text", kv::kCaseUpper);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "SOME TEXT");
    kv::strFree(&copy);
    EXPECT_EQ(kv::getStringCopy(doc.get(), "V", "Missing", 0), nullptr);
    EXPECT_EQ(kv::getStringCopy(doc.get(), "V", "Empty", 0), nullptr);
}

TEST(ConfigValues, SettersKeepTheOtherRepresentations) {
    ConfigWorld state;
    state.files.files["top.ini"] = "[S]\nCount=3\n";
    auto doc = state.open();
    EXPECT_EQ(doc->setString("S", "Count", "5"), 1);
    char text[16];
    doc->getString("S", "Count", "", text, sizeof text, 0);
    EXPECT_STREQ(text, "5");
    EXPECT_EQ(doc->getInt("S", "Count", 0), 3) << "the integer keeps its value";
    EXPECT_EQ(doc->setFloat("S", "Count", 2.75f), 1);
    EXPECT_EQ(doc->getInt("S", "Count", 0), 3);
    EXPECT_EQ(doc->getFloat("S", "Count", 0), 2.75f);

    // New keys in new sections come last; each setter fills its record.
    EXPECT_EQ(doc->setInt("New", "  Int  ", 12), 1);
    EXPECT_EQ(doc->setFloat("New", "Real", -2.75f), 1);
    EXPECT_EQ(doc->setFloat("New", "Huge", 1e20f), 1);
    EXPECT_EQ(doc->setString("New", "Text", " 42 apples "), 1);
    EXPECT_EQ(doc->setString("New", "Blank", ""), 1);
    EXPECT_EQ(doc->setString("Other", "Null", nullptr), 1);
    EXPECT_EQ(render(*doc),
              "[S]\nCount=5|3|2.75\n"
              "[New]\nInt=null|12|12\nReal=null|-2|-2.75\nHuge=null|2147483647|1e+20\n"
              "Text=42 apples|42|42\nBlank=null|0|0\n"
              "[Other]\nNull=null|0|0\n");
    EXPECT_EQ(doc->getInt("new", "int", 0), 12) << "added keys are found";

    // addKey takes over its record, and refuses none.
    EXPECT_EQ(doc->addKey("S", nullptr), 0);
}

TEST(ConfigValues, AutoAddWritesDefaultsUntilThePoolIsFull) {
    ConfigWorld state;
    state.files.files["top.ini"] = "[B]\nNumeric=1\nWord=false\n";
    {
        auto doc = state.open("top.ini", 1, 0);
        // Without extra room nothing can be added, and nothing breaks.
        EXPECT_EQ(doc->getInt("B", "Missing", 7), 7);
        EXPECT_EQ(doc->getInt("B", "Missing", 9), 9);
        EXPECT_EQ(state.trace.lines.size(), 2u);
    }
    state.trace.lines.clear();
    auto doc = state.open("top.ini", 1, 400);
    EXPECT_EQ(doc->getInt("B", "Added", 7), 7);
    EXPECT_EQ(doc->getInt("B", "Added", 9), 7) << "the first default was kept";
    EXPECT_EQ(doc->getBool("B", "Numeric", 0), 1);
    char text[16];
    doc->getString("B", "Numeric", "", text, sizeof text, 0);
    EXPECT_STREQ(text, "TRUE") << "a numeric boolean is rewritten in words";
    EXPECT_EQ(doc->getBool("B", "Word", 1), 0);
    EXPECT_EQ(doc->getBool("B", "NewFlag", 1), 1);
    doc->getString("B", "NewFlag", "", text, sizeof text, 0);
    EXPECT_STREQ(text, "TRUE");

    int added = 0;
    for (int i = 0; i < 200; ++i) {
        const std::string key = "Key" + std::to_string(i);
        doc->getInt("Fill", key.c_str(), i);
        if (doc->getInt("Fill", key.c_str(), -1) == i) ++added;
    }
    EXPECT_GT(added, 10);
    EXPECT_LT(added, 200);
    EXPECT_LE(doc->pool.end, doc->pool.base + doc->pool.capacity - 1) << "a free byte always stays";
    EXPECT_EQ(state.trace.lines.back().rfind("Unable to append string", 0), 0u);
    doc.reset();
    EXPECT_EQ(state.memory.liveBlocks(), 0);
}

TEST(ConfigValues, LookupsResumeFromTheLastHit) {
    ConfigWorld state;
    std::string text = "[Big]\n";
    for (int i = 0; i < 50; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    state.files.files["top.ini"] = text;
    auto doc = state.open();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(doc->getInt("Big", ("k" + std::to_string(i)).c_str(), -1), i);
        auto* section = static_cast<kv::ConfigSection*>(doc->sections.currentData());
        EXPECT_EQ(section->keys.index, i) << "the hit is the current key";
    }
    EXPECT_EQ(doc->getInt("Big", "k3", -1), 3) << "the search wraps around";
}

}  // namespace
