// What another module that shares the document sees: the records' layout,
// and the fields our getters and setters leave alone.
#include <cstddef>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "tests/config/config_support.h"

namespace {

using kvtest::ConfigWorld;
using kvtest::render;

constexpr std::size_t alignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

// The shared order and widths, laid out naturally for this build's pointers
// (the 32-bit target checks its exact offsets at compile time).
TEST(ConfigContract, RecordsKeepTheSharedFieldOrderAndWidths) {
    constexpr std::size_t p = sizeof(void*);
    EXPECT_EQ(offsetof(kv::ConfigKey, name), 0u);
    EXPECT_EQ(offsetof(kv::ConfigKey, kind), p);
    EXPECT_EQ(offsetof(kv::ConfigKey, text), 2 * p);
    EXPECT_EQ(offsetof(kv::ConfigKey, integer), 3 * p);
    EXPECT_EQ(offsetof(kv::ConfigKey, real), 3 * p + 4);
    EXPECT_EQ(sizeof(kv::ConfigKey::integer), 4u);
    EXPECT_EQ(sizeof(kv::ConfigKey::real), 4u);

    EXPECT_EQ(offsetof(kv::ConfigSection, name), 0u);
    EXPECT_EQ(offsetof(kv::ConfigSection, keys), p);

    const std::size_t sections = alignUp(260, p);
    const std::size_t pool = sections + alignUp(3 * p + 8, p);
    const std::size_t autoAdd = pool + 3 * p + alignUp(4, p);
    EXPECT_EQ(offsetof(kv::ConfigDocument, sections), sections);
    EXPECT_EQ(offsetof(kv::ConfigDocument, pool), pool);
    EXPECT_EQ(offsetof(kv::ConfigDocument, autoAdd), autoAdd);
    EXPECT_EQ(offsetof(kv::ConfigDocument, emptyText), alignUp(autoAdd + 4, p));
    EXPECT_EQ(offsetof(kv::ConfigDocument, trueText), alignUp(autoAdd + 4, p) + p);
    EXPECT_EQ(offsetof(kv::ConfigDocument, falseText), alignUp(autoAdd + 4, p) + 2 * p);
}

// The options module owns its document and reads every field of a key;
// writing one representation must leave the other two as they were.
TEST(ConfigContract, SettersOnABorrowedDocumentChangeOneRepresentation) {
    ConfigWorld state;
    state.files.files["top.ini"] = "[GameplayOptions]\nDifficulty=2.5\nLabel=7 planes\n";
    auto doc = state.open("top.ini", 0, 256);
    EXPECT_EQ(doc->setInt("GameplayOptions", "Difficulty", 1), 1);
    EXPECT_EQ(doc->setInt("GameplayOptions", "Label", -4), 1);
    EXPECT_EQ(doc->setFloat("GameplayOptions", "Label", 0.5f), 1);
    EXPECT_EQ(render(*doc), "[GameplayOptions]\nDifficulty=2.5|1|2.5\nLabel=7 planes|-4|0.5\n");
    EXPECT_EQ(doc->getFloat("GameplayOptions", "Difficulty", 0.0f), 2.5f);
}

// getBool leaves a word it recognises exactly as written, and spends no
// pool room on it: with room for one default, that default still fits.
TEST(ConfigContract, GetBoolWithAutoAddRewritesOnlyNumbersAndMissingKeys) {
    ConfigWorld state;
    state.files.files["top.ini"] = "[B]\nOff=false\nOn=True\nNumber=2\n";
    auto doc = state.open("top.ini", 1, 14);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(doc->getBool("B", "Off", 1), 0);
        EXPECT_EQ(doc->getBool("B", "On", 0), 1);
    }
    EXPECT_EQ(render(*doc), "[B]\nOff=false|0|0\nOn=True|0|0\nNumber=2|2|2\n");
    EXPECT_EQ(doc->getInt("B", "Added", 9), 9);
    EXPECT_EQ(doc->getInt("B", "Added", 3), 9) << "the default found room";

    // A number is written back in words, from the document's own "TRUE".
    EXPECT_EQ(doc->getBool("B", "Number", 0), 1);
    char text[16];
    doc->getString("B", "Number", "", text, sizeof text, kv::kCaseKeep);
    EXPECT_STREQ(text, "TRUE");
    EXPECT_EQ(doc->getInt("B", "Number", 0), 2) << "its integer stays";
}

}  // namespace
