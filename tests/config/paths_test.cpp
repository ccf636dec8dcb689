#include "config/paths.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/code_page.h"

namespace {

using kvtest::CodePage;

std::string resolved(const char* base, const char* name, int size = 260) {
    std::string out(static_cast<std::size_t>(size), '#');
    kv::resolvePath(base, name, &out[0], size);
    return out.c_str();
}

std::string built(const char* base, const char* name, const char* extension, int size = 260) {
    std::string out(static_cast<std::size_t>(size), '#');
    kv::buildFilePath(base, name, extension, &out[0], size);
    return out.c_str();
}

TEST(Paths, ResolveAgainstABaseFolder) {
    struct Case {
        const char* base;
        const char* name;
        const char* expected;
    } cases[] = {
        {"", "Flight", ".\\Flight"},
        {nullptr, "Flight", ".\\Flight"},
        {"C:\\Game", "Hud.dll", "C:\\Game\\Hud.dll"},
        {"C:\\Game\\", "Hud.dll", "C:\\Game\\Hud.dll"},
        {"C:\\Game\\Data", "..\\Mods\\Hud.dll", "C:\\Game\\Mods\\Hud.dll"},
        {"C:\\Game\\Data\\", "..\\Mods\\Hud.dll", "C:\\Game\\Mods\\Hud.dll"},
        {"C:\\", "..\\x.ini", "x.ini"},
        {"Game", "..\\..\\x.ini", "x.ini"},  // nothing left to go up from
        {"C:\\Game\\Data", ".\\x.ini", "C:\\Game\\Data\\x.ini"},
        {"C:\\Game\\Data", "..\\..\\x.ini", "C:\\x.ini"},
        {"C:\\Game\\Data", ".\\..\\x.ini", "C:\\Game\\x.ini"},
        // Only the leading dots are resolved.
        {"C:\\Game", "Mods\\..\\x.ini", "C:\\Game\\Mods\\..\\x.ini"},
        // A drive, or folders without a base, are taken as they are.
        {"C:\\Game", "D:\\Hud.dll", "D:\\Hud.dll"},
        {"", "Data\\Hud.dll", "Data\\Hud.dll"},
        // A leading or doubled backslash starts again from the root.
        {"C:\\Game", "\\Mods\\Hud.dll", "\\Mods\\Hud.dll"},
        {"C:\\Game\\Data", "..\\\\Mods", "\\Mods"},
        {"C:\\Game", "", ""},
        {"C:\\Game", nullptr, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolved(c.base, c.name), c.expected)
            << (c.base ? c.base : "null") << " + " << (c.name ? c.name : "null");
    }
}

TEST(Paths, ResultStaysWithinSize) {
    // Exactly fits: 7 + 1 + 3 bytes and the terminator.
    EXPECT_EQ(resolved("C:\\Game", "Hud", 12), "C:\\Game\\Hud");
    EXPECT_EQ(resolved("C:\\Game", "Hud", 11), "C:\\Game\\Hu");
    EXPECT_EQ(resolved("C:\\Game", "Hud", 8), "C:\\Game");
    EXPECT_EQ(resolved("C:\\Game", "Hud", 4), "C:\\");
    std::string out(20, '#');
    kv::resolvePath("C:\\Game", "Hud", &out[0], 8);
    EXPECT_EQ(out.substr(8), std::string(12, '#'));  // nothing past size
    EXPECT_EQ(built("C:\\Game", "Hud", "DLL", 14), "C:\\Game\\Hud.D");
    // No buffer, or one of no bytes: nothing is written.
    kv::resolvePath("C:\\Game", "Hud", nullptr, 8);
    kv::buildFilePath("C:\\Game", "Hud", "DLL", nullptr, 8);
    char none[2] = "#";
    kv::resolvePath("C:\\Game", "", none, 0);
    kv::buildFilePath("C:\\Game", "", "DLL", none, 0);
    EXPECT_STREQ(none, "#");
}

TEST(Paths, DoubleByteTrailBytesAreNotSeparators) {
    CodePage page(932);
    // 0x955C ends in a backslash byte: it is one character, so the name has
    // no folder and is placed below the base.
    EXPECT_EQ(resolved("C:\\Game", "\x95\x5C.ini"), "C:\\Game\\\x95\x5C.ini");
    // A base ending in such a character still needs its separator.
    EXPECT_EQ(resolved("C:\\\x95\x5C", "x.ini"), "C:\\\x95\x5C\\x.ini");
    // ".." removes the whole folder, not half a character.
    EXPECT_EQ(resolved("C:\\Game\\\x83\x5C\x95\x5C", "..\\x.ini"), "C:\\Game\\x.ini");
    EXPECT_EQ(built("C:\\Game", "\x95\x5C", "INI"), "C:\\Game\\\x95\x5C.INI");
}

TEST(Paths, BuildAddsTheDefaultExtensionOnlyWhenNeeded) {
    struct Case {
        const char* base;
        const char* name;
        const char* extension;
        const char* expected;
    } cases[] = {
        {"", "Flight", "INI", ".\\Flight.INI"},
        {"C:\\Game", "Hud", "DLL", "C:\\Game\\Hud.DLL"},
        {"C:\\Game", "Hud", ".DLL", "C:\\Game\\Hud.DLL"},
        {"C:\\Game", "Hud.dll", "DLL", "C:\\Game\\Hud.dll"},
        // A dot in a folder name does not count as the file's extension.
        {"C:\\Game.v2", "Hud", "DLL", "C:\\Game.v2\\Hud.DLL"},
        {"C:\\Game", "Hud", "", "C:\\Game\\Hud"},
        {"C:\\Game", "Hud", nullptr, "C:\\Game\\Hud"},
        {"C:\\Game", "", "INI", ""},
        // Up past the base's root: the name alone, still given its extension.
        {"C:\\", "..\\x", "INI", "x.INI"},
        {"C:\\", "..\\x.ini", "DLL", "x.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(built(c.base, c.name, c.extension), c.expected) << c.base << " + " << c.name;
    }
}

}  // namespace
