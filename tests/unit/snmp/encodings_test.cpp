#include "snmp/encodings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> FlagsOf(int portCount, std::vector<int> members) {
    std::vector<int> flags(portCount, 0);
    for (int p : members) flags[p - 1] = 1;
    return flags;
}

std::string Bytes(std::initializer_list<unsigned char> b) {
    return std::string(b.begin(), b.end());
}

TEST(PortFlagsToHex, PadsByPortCount) {
    struct Case {
        int ports;
        std::vector<int> members;
        std::string hex;
    };
    const Case cases[] = {
        {8, {1, 8}, "81000000"},
        {8, {}, "00000000"},
        {8, {1, 2, 3, 4, 5, 6, 7, 8}, "ff000000"},
        {10, {1, 9, 10}, "80c00000"},  // 10 ports: three digits, last group padded
        {16, {16}, "00010000"},
        {24, {1, 24}, "80000100"},
        {28, {28}, "00000010"},
        {48, {1, 48}, "8000000000010000"},
        {52, {52}, "0000000000001000"},
        {12, {1, 12}, "801"},  // a count outside the table gets no zeros
        {5, {5}, "08"},
        {0, {}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortFlagsToHex(FlagsOf(c.ports, c.members)), c.hex) << c.ports << " ports";
        // Whatever the count, whole octets go on the wire.
        EXPECT_EQ(HexToBytes(PortFlagsToHex(FlagsOf(c.ports, c.members))).size(), (c.hex.size() + 1) / 2);
    }
}

TEST(PortFlagsToHex, AnyNonZeroFlagIsAMember) {
    EXPECT_EQ(PortFlagsToHex({2, 0, 0, -1, 0, 0, 0, 0}), "90000000");
}

TEST(HexToBytes, OddTextAndCapacity) {
    struct Case {
        std::string hex;
        std::size_t capacity;
        std::string bytes;
    };
    const Case cases[] = {
        {"abc", 16, Bytes({0xAB, 0xC0})},
        {"81000000", 16, Bytes({0x81, 0, 0, 0})},
        {"81000000", 2, Bytes({0x81, 0})},
        {"FFfe", 16, Bytes({0xFF, 0xFE})},
        {"zz12", 16, Bytes({0x00, 0x12})},  // a character that is no digit counts as 0
        {"", 16, ""},
        {"1234", 0, ""},
    };
    for (const Case& c : cases) {
        unsigned char buf[16];
        // Guard bytes behind the capacity must stay untouched.
        std::fill(std::begin(buf), std::end(buf), 0x5A);
        const std::size_t n = HexToBytes(c.hex, buf, c.capacity);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), c.bytes) << c.hex;
        for (std::size_t i = n; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 0x5A) << c.hex << " overran at " << i;
    }
    EXPECT_EQ(HexToBytes("abc"), (std::vector<unsigned char>{0xAB, 0xC0}));
}

TEST(PortListToText, ReadsOnlyTheOctetsOfThePortCount) {
    struct Case {
        std::string octets;
        int ports;
        std::string text;
        int count;
    };
    const Case cases[] = {
        {Bytes({0x81, 0, 0, 0}), 8, "1,8", 2},
        {Bytes({0xB0}), 8, "1,3,4", 3},
        {Bytes({0x00, 0xFF, 0xFF, 0xFF}), 8, "", 0},
        {Bytes({0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 8, "8",
         1},  // longer value, first octet only
        {Bytes({0x80, 0x40}), 10, "1,10", 2},
        {Bytes({0x00, 0x00, 0x00, 0x10}), 28, "28", 1},
        {Bytes({0x80}), 28, "1", 1},  // a short value is read as far as it goes
        {"", 8, "", 0},
        {Bytes({0xFF}), 0, "", 0},
    };
    for (const Case& c : cases) {
        int count = -1;
        EXPECT_EQ(PortListToText(c.octets, c.ports, &count), c.text) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
    }
    EXPECT_EQ(PortListToText(Bytes({0x81}), 8), "1,8");  // the count is optional
}

TEST(HexToPortText, EachDigitIsFourPorts) {
    struct Case {
        std::string hex;
        std::string text;
        int count;
    };
    const Case cases[] = {
        {"81", "1,8", 2}, {"81000000", "1,8", 2}, {"F", "1,2,3,4", 4}, {"0a", "5,7", 2},
        {"0A", "5,7", 2}, {"00000001", "32", 1},  {"000", "", 0},      {"", "", 0},
    };
    for (const Case& c : cases) {
        int count = -1;
        EXPECT_EQ(HexToPortText(c.hex, &count), c.text) << c.hex;
        EXPECT_EQ(count, c.count) << c.hex;
    }
}

TEST(PortTextToFlags, IgnoresPortsOutsideTheDevice) {
    EXPECT_EQ(PortTextToFlags("1,8", 8), FlagsOf(8, {1, 8}));
    EXPECT_EQ(PortTextToFlags("0,9,-1,3", 8), FlagsOf(8, {3}));
    EXPECT_EQ(PortTextToFlags("", 8), FlagsOf(8, {}));
    EXPECT_EQ(PortTextToFlags("2,,x,4", 4), FlagsOf(4, {2, 4}));
    EXPECT_TRUE(PortTextToFlags("1", 0).empty());
}

TEST(BytesToHex, UpperCaseWithoutSeparator) {
    EXPECT_EQ(BytesToHex(Bytes({0x00, 0x1A, 0xff, 0x80})), "001AFF80");
    EXPECT_EQ(BytesToHex(""), "");
}

TEST(HexDigitValue, AllClasses) {
    const std::pair<char, int> cases[] = {{'0', 0},  {'9', 9}, {'A', 10}, {'F', 15}, {'a', 10},
                                          {'f', 15}, {'g', 0}, {'G', 0},  {' ', 0},  {'\xff', 0}};
    for (auto [c, v] : cases) EXPECT_EQ(HexDigitValue(c), v) << c;
}

TEST(IsValidName, RefusesEachOfTheTwentySixCharacters) {
    const std::string refused = "~`!@#$%^&*{}[]|\\:;\"'<>,.?/";
    ASSERT_EQ(refused.size(), 26u);
    for (char c : refused) {
        EXPECT_FALSE(IsValidName(std::string("ab") + c + "cd")) << c;
        EXPECT_FALSE(IsValidName(std::string(1, c))) << c;
    }
    for (const char* ok : {"", "vlan 10", "a-b_c", "x+y=(z)", "Name09"}) EXPECT_TRUE(IsValidName(ok)) << ok;
}

TEST(NameIndex, LengthThenBytes) {
    EXPECT_EQ(NameIndex("ab"), ".2.97.98");
    EXPECT_EQ(NameIndex("abc"), ".3.97.98.99");
    EXPECT_EQ(NameIndex(""), ".0");
    EXPECT_EQ(NameIndex("\xC3\xA9"), ".2.195.169");  // bytes are unsigned
    EXPECT_EQ(NameIndex("\xC8"), ".1.200");
    EXPECT_EQ(NameVersionIndex("\xC8", "V3"), ".1.200.3");
    const std::pair<std::string, std::string> versions[] = {
        {"v1", ".1"}, {"V1", ".1"}, {"v2c", ".2"}, {"V2c", ".2"}, {"v3", ".3"},
        {"V3", ".3"}, {"V2C", ""},  {"3", ""},     {"", ""},
    };
    for (const auto& [version, suffix] : versions)
        EXPECT_EQ(NameVersionIndex("ab", version), ".2.97.98" + suffix) << version;
}

TEST(ToUtf8, BoundsWithoutCuttingSequences) {
    const std::string mixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z: 1+2+3+4+1 bytes
    struct Case {
        std::string text;
        std::size_t size;
        std::string out;
    };
    const Case cases[] = {
        {mixed, 64, mixed},
        {mixed, 12, mixed},  // 11 bytes fit with the terminating zero
        {mixed, 11, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {mixed, 10, "a\xC3\xA9\xE2\x82\xAC"},  // the 4-byte sequence does not fit whole
        {mixed, 4, "a\xC3\xA9"},
        {mixed, 3, "a"},
        {mixed, 1, ""},
        {mixed, 0, ""},
        {"caf\xE9", 64, "caf\xC3\xA9"},  // Latin-1 byte that is no UTF-8 becomes its character
        {"\xED\xA0\x80", 64, "\xC3\xAD\xC2\xA0\xC2\x80"},  // encoded surrogate is not UTF-8
        {"", 64, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ToUtf8(c.text, c.size), c.out) << c.size;
    EXPECT_EQ(ToUtf8(std::string(300, 'x'), 1024), std::string(256, 'x'));
    EXPECT_EQ(ToUtf8(std::string(300, 'x'), 129), std::string(128, 'x'));
}

TEST(FromUtf8, DecodesAndBounds) {
    std::string text = "stale";
    EXPECT_FALSE(FromUtf8("", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(FromUtf8(std::string("\0abc", 4), text));
    EXPECT_TRUE(FromUtf8("gr\xC3\xBC\xC3\x9F \xE2\x82\xAC", text));
    EXPECT_EQ(text, "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC");
    EXPECT_TRUE(FromUtf8(std::string("name\0\0\0", 7), text));
    EXPECT_EQ(text, "name");
    EXPECT_TRUE(FromUtf8("a\xC3", text));  // truncated sequence
    EXPECT_EQ(text, "a\xEF\xBF\xBD");
    EXPECT_TRUE(FromUtf8("\xC0\x80x", text));  // overlong form
    EXPECT_EQ(text, "\xEF\xBF\xBD\xEF\xBF\xBDx");
    EXPECT_TRUE(FromUtf8(std::string(300, 'y'), text));
    EXPECT_EQ(text, std::string(256, 'y'));
    std::string euros;
    for (int i = 0; i < 300; ++i) euros += "\xE2\x82\xAC";
    EXPECT_TRUE(FromUtf8(euros, text));
    EXPECT_EQ(text.size(), 256u * 3);
}

}  // namespace
