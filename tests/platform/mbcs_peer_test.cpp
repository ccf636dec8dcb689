// Checks the portable character-set layer against the Windows C runtime on
// the same code page, so non-Windows builds behave like Windows ones.
#ifdef _WIN32

#include <mbctype.h>
#include <mbstring.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/mbcs.h"

namespace {

using Bytes = std::string;

const unsigned char* u(const Bytes& s) { return reinterpret_cast<const unsigned char*>(s.c_str()); }

std::string hex(const Bytes& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    return out.empty() ? "(empty)" : out;
}

Bytes charBytes(unsigned c) {
    Bytes b;
    if (c > 0xFF) b += static_cast<char>(c >> 8);
    b += static_cast<char>(c & 0xFF);
    return b;
}

int sign(int v) { return (v > 0) - (v < 0); }

struct Peer {
    int codePage = 0;
    long cases = 0;
    std::vector<std::string> differences;

    void check(bool same, const std::string& what) {
        ++cases;
        if (!same) differences.push_back(what);
    }
};

// Characters the generated strings are built from: complete characters only,
// as the runtime reads past the terminator after a dangling lead byte.
std::vector<unsigned> atomsFor(int codePage) {
    std::vector<unsigned> atoms = {'a', 'm', 'Z', '0', '9', ' ', '\t', '\\', '[', ']', '@'};
    if (codePage == 932) {
        for (unsigned c : {0xA1u, 0xB1u, 0xDFu, 0xA0u, 0x80u, 0xFDu}) atoms.push_back(c);
        for (unsigned lead : {0x81u, 0x82u, 0x83u, 0x88u, 0x95u, 0x9Fu, 0xE0u, 0xEDu, 0xFCu})
            for (unsigned trail : {0x5Cu, 0x5Bu, 0x5Du, 0x40u, 0x41u, 0x61u, 0x7Au})
                atoms.push_back(lead << 8 | trail);
        for (unsigned c : {0x8260u, 0x8279u, 0x8281u, 0x829Au, 0x8140u}) atoms.push_back(c);
    } else {
        for (unsigned c : {0xE0u, 0xC0u, 0x8Au, 0x9Au, 0xFFu, 0xA0u, 0xDFu, 0xD7u})
            atoms.push_back(c);
    }
    return atoms;
}

std::vector<Bytes> stringsFor(const std::vector<unsigned>& atoms) {
    std::vector<Bytes> out = {Bytes()};
    for (unsigned a : atoms) {
        out.push_back(charBytes(a));
        for (unsigned b : atoms) out.push_back(charBytes(a) + charBytes(b));
    }
    unsigned seed = 12345;
    auto rnd = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int i = 0; i < 3000; ++i) {
        Bytes s;
        const unsigned len = 3 + rnd(5);
        for (unsigned k = 0; k < len; ++k) s += charBytes(atoms[rnd(static_cast<unsigned>(atoms.size()))]);
        out.push_back(s);
    }
    return out;
}

// Offsets [begin, end) of s without leading and trailing white space.
std::pair<size_t, size_t> runtimeTrim(const Bytes& s) {
    const unsigned char* p = u(s);
    const unsigned char* q = p;
    while (*q && _ismbcspace(_mbsnextc(q))) q = _mbsinc(q);
    const unsigned char* end = q;
    for (const unsigned char* r = q; *r; r = _mbsinc(r))
        if (!_ismbcspace(_mbsnextc(r))) end = _mbsinc(r);
    return {static_cast<size_t>(q - p), static_cast<size_t>(end - p)};
}

std::pair<size_t, size_t> portableTrim(const Bytes& s) {
    const char* p = s.c_str();
    auto at = [](const char* c) {
        const char* n = kv::portable::next(c);
        unsigned v = 0;
        for (const char* x = c; x != n; ++x) v = v << 8 | static_cast<unsigned char>(*x);
        return v;
    };
    const char* q = p;
    while (*q && kv::portable::isSpace(at(q))) q = kv::portable::next(q);
    const char* end = q;
    for (const char* r = q; *r; r = kv::portable::next(r))
        if (!kv::portable::isSpace(at(r))) end = kv::portable::next(r);
    return {static_cast<size_t>(q - p), static_cast<size_t>(end - p)};
}

// The runtime's whole-string conversions fold only ASCII in single-byte
// pages, although its per-character conversion also maps accented letters.
Bytes expectedStringCase(const Bytes& s, bool upper, bool doubleByte) {
    Bytes out;
    for (const char* p = s.c_str(); *p; ) {
        const char* n = kv::portable::next(p);
        unsigned v = 0;
        for (const char* x = p; x != n; ++x) v = v << 8 | static_cast<unsigned char>(*x);
        if (doubleByte || v < 0x80) v = upper ? kv::portable::toUpper(v) : kv::portable::toLower(v);
        out += charBytes(v);
        p = n;
    }
    return out;
}

void runPeer(Peer& peer) {
    const int saved = kv::mbGetCodePage();
    ASSERT_TRUE(kv::mbSetCodePage(peer.codePage));
    ASSERT_EQ(_getmbcp(), peer.codePage);
    const bool doubleByte = peer.codePage == 932;

    // Every single byte, and every double-byte value of the page.
    std::vector<unsigned> values;
    for (unsigned c = 0; c < 0x100; ++c) values.push_back(c);
    if (doubleByte)
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
            if (_ismbblead(lead))
                for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
                    if (trail != 0x7F) values.push_back(lead << 8 | trail);
    char buf[96];
    for (unsigned c : values) {
        std::snprintf(buf, sizeof buf, "char %04X upper %04X/%04X lower %04X/%04X space %d/%d", c,
                      _mbctoupper(c), kv::portable::toUpper(c), _mbctolower(c),
                      kv::portable::toLower(c), _ismbcspace(c) != 0, kv::portable::isSpace(c));
        peer.check(_mbctoupper(c) == kv::portable::toUpper(c), buf);
        peer.check(_mbctolower(c) == kv::portable::toLower(c), buf);
        peer.check((_ismbcspace(c) != 0) == kv::portable::isSpace(c), buf);
        if (c < 0x100)
            peer.check((_ismbblead(c) != 0) == kv::portable::isLeadByte(static_cast<unsigned char>(c)),
                       std::string("lead byte ") + buf);
    }

    const std::vector<unsigned> atoms = atomsFor(peer.codePage);
    const std::vector<Bytes> strings = stringsFor(atoms);
    std::vector<unsigned> wanted = atoms;
    for (unsigned c : {0u, unsigned('\\'), unsigned('['), unsigned(']'), unsigned('@'), 0x41u, 0x61u, 0x81u, 0x82u})
        wanted.push_back(c);
    const std::vector<Bytes> sets = {"\\", "[]", "@a", " \t", "\x82\x60", "\x81\x5C",
                                     "\\\x81\x5C", "Z\x82\x81", "\xA1]", "\xE0\x40@"};

    for (const Bytes& s : strings) {
        const char* cs = s.c_str();
        auto off = [cs](const void* p) { return p ? static_cast<long>(static_cast<const char*>(p) - cs) : -1L; };
        for (unsigned c : wanted) {
            const long rf = off(_mbschr(u(s), c)), pf = off(kv::portable::chr(cs, c));
            const long rb = off(_mbsrchr(u(s), c)), pb = off(kv::portable::rchr(cs, c));
            peer.check(rf == pf, "chr " + std::to_string(c) + " in " + hex(s));
            peer.check(rb == pb, "rchr " + std::to_string(c) + " in " + hex(s));
        }
        for (const Bytes& set : sets)
            peer.check(off(_mbspbrk(u(s), u(set))) == off(kv::portable::pbrk(cs, set.c_str())),
                       "pbrk " + hex(set) + "in " + hex(s));

        Bytes up = s, low = s;
        _mbsupr(reinterpret_cast<unsigned char*>(&up[0]));
        _mbslwr(reinterpret_cast<unsigned char*>(&low[0]));
        peer.check(up.c_str() == expectedStringCase(s, true, doubleByte), "upr " + hex(s));
        peer.check(low.c_str() == expectedStringCase(s, false, doubleByte), "lwr " + hex(s));
        peer.check(runtimeTrim(s) == portableTrim(s), "trim " + hex(s));
    }

    // Pairs: neighbours in generation order share prefixes, strided ones do not.
    for (size_t i = 0; i < strings.size(); ++i) {
        for (size_t j : {i + 1, i * 7 + 3, i + strings.size() / 2}) {
            const Bytes& a = strings[i];
            const Bytes& b = strings[j % strings.size()];
            const std::string what = hex(a) + "vs " + hex(b);
            peer.check(sign(_mbscmp(u(a), u(b))) == sign(kv::portable::cmp(a.c_str(), b.c_str())), "cmp " + what);
            peer.check(sign(_mbsicmp(u(a), u(b))) == sign(kv::portable::icmp(a.c_str(), b.c_str())), "icmp " + what);
        }
    }
    kv::mbSetCodePage(saved == 1252 ? kv::kCodePageSingleByte : saved);
}

void report(const Peer& peer) {
    std::printf("code-page %d peer check: %ld cases, %zu differences\n", peer.codePage, peer.cases,
                peer.differences.size());
    for (size_t i = 0; i < peer.differences.size() && i < 10; ++i)
        std::printf("  %s\n", peer.differences[i].c_str());
}

TEST(MbcsPeer, PortableMatchesRuntime) {
    long total = 0;
    size_t differences = 0;
    for (int cp : {1252, 932}) {
        Peer peer;
        peer.codePage = cp;
        runPeer(peer);
        report(peer);
        total += peer.cases;
        differences += peer.differences.size();
    }
    std::printf("code-page peer check: %ld cases, %zu differences\n", total, differences);
    EXPECT_EQ(differences, 0u);
}

}  // namespace

#else

#include <gtest/gtest.h>

TEST(MbcsPeer, PortableMatchesRuntime) {
    GTEST_SKIP() << "compares the portable code pages with the Windows C runtime's multi-byte functions, "
                    "which only a Windows build has";
}

#endif  // _WIN32
