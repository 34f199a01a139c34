#include "snmp/encodings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

// Whatever the count, whole octets go on the wire; any non-zero flag is a member.
TEST(PortFlagsToHex, PadsByPortCount) {
    const std::tuple<int, std::vector<int>, std::string> cases[] = {
        {8, {1, 8}, "81000000"},
        {10, {1, 9, 10}, "80c00000"},  // 10 ports: three digits, last group padded
        {28, {28}, "00000010"},
        {48, {1, 48}, "8000000000010000"},
        {52, {52}, "0000000000001000"},
        {12, {1, 12}, "801"},  // a count outside the table gets no zeros
        {5, {5}, "08"},
        {0, {}, ""},
    };
    for (const auto& [ports, members, hex] : cases) {
        EXPECT_EQ(PortFlagsToHex(FlagsOf(ports, members)), hex) << ports << " ports";
        EXPECT_EQ(HexToBytes(PortFlagsToHex(FlagsOf(ports, members))).size(), (hex.size() + 1) / 2);
    }
    EXPECT_EQ(PortFlagsToHex({2, 0, 0, -1, 0, 0, 0, 0}), "90000000");
}

// A character that is no digit counts as 0; guard bytes behind the capacity stay untouched.
TEST(HexToBytes, OddTextAndCapacity) {
    const std::tuple<std::string, std::size_t, std::string> cases[] = {{"abc", 16, Bytes({0xAB, 0xC0})},
                                                                       {"81000000", 2, Bytes({0x81, 0})},
                                                                       {"FFfe", 16, Bytes({0xFF, 0xFE})},
                                                                       {"zz12", 16, Bytes({0x00, 0x12})},
                                                                       {"", 16, ""},
                                                                       {"1234", 0, ""}};
    for (const auto& [hex, capacity, bytes] : cases) {
        unsigned char buf[16];
        std::fill(std::begin(buf), std::end(buf), 0x5A);
        const std::size_t n = HexToBytes(hex, buf, capacity);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), bytes) << hex;
        for (std::size_t i = n; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 0x5A) << hex << " overran at " << i;
    }
    EXPECT_EQ(HexToBytes("abc"), (std::vector<unsigned char>{0xAB, 0xC0}));
}

// A longer value is read for the port count only, a short one as far as it goes.
TEST(PortListToText, ReadsOnlyTheOctetsOfThePortCount) {
    const std::tuple<std::string, int, std::string, int> cases[] = {
        {Bytes({0xB0}), 8, "1,3,4", 3},
        {Bytes({0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 8, "8", 1},
        {Bytes({0x80, 0x40}), 10, "1,10", 2},
        {Bytes({0x00, 0x00, 0x00, 0x10}), 28, "28", 1},
        {Bytes({0x80}), 28, "1", 1},
        {"", 8, "", 0},
        {Bytes({0xFF}), 0, "", 0},
    };
    for (const auto& [octets, ports, text, count] : cases) {
        int counted = -1;
        EXPECT_EQ(PortListToText(octets, ports, &counted), text) << text;
        EXPECT_EQ(counted, count) << text;
    }
    EXPECT_EQ(PortListToText(Bytes({0x81}), 8), "1,8");  // the count is optional
}

TEST(HexToPortText, EachDigitIsFourPorts) {
    const std::tuple<std::string, std::string, int> cases[] = {
        {"81000000", "1,8", 2}, {"F", "1,2,3,4", 4}, {"0a", "5,7", 2}, {"0A", "5,7", 2},
        {"00000001", "32", 1},  {"000", "", 0},      {"", "", 0}};
    for (const auto& [hex, text, count] : cases) {
        int counted = -1;
        EXPECT_EQ(HexToPortText(hex, &counted), text) << hex;
        EXPECT_EQ(counted, count) << hex;
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
    EXPECT_EQ(NameIndex("abc"), ".3.97.98.99");
    EXPECT_EQ(NameIndex(""), ".0");
    EXPECT_EQ(NameIndex("\xC3\xA9"), ".2.195.169");  // bytes are unsigned
    EXPECT_EQ(NameVersionIndex("\xC8", "V3"), ".1.200.3");
    const std::pair<std::string, std::string> versions[] = {
        {"v1", ".1"}, {"V2c", ".2"}, {"v2c", ".2"}, {"v3", ".3"}, {"V2C", ""}, {"3", ""}, {"", ""}};
    for (const auto& [version, suffix] : versions)
        EXPECT_EQ(NameVersionIndex("ab", version), ".2.97.98" + suffix) << version;
}

// `size` counts the terminating zero; a sequence that does not fit whole is left out.
TEST(ToUtf8, BoundsWithoutCuttingSequences) {
    const std::string mixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z: 1+2+3+4+1 bytes
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {mixed, 12, mixed},
        {mixed, 11, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {mixed, 10, "a\xC3\xA9\xE2\x82\xAC"},
        {mixed, 3, "a"},
        {mixed, 1, ""},
        {mixed, 0, ""},
        {"caf\xE9", 64, "caf\xC3\xA9"},  // Latin-1 byte that is no UTF-8 becomes its character
        {"\xED\xA0\x80", 64, "\xC3\xAD\xC2\xA0\xC2\x80"},  // encoded surrogate is not UTF-8
    };
    for (const auto& [text, size, out] : cases) EXPECT_EQ(ToUtf8(text, size), out) << size;
    EXPECT_EQ(ToUtf8(std::string(300, 'x'), 1024), std::string(256, 'x'));
    EXPECT_EQ(ToUtf8(std::string(300, 'x'), 129), std::string(128, 'x'));
}

TEST(FromUtf8, DecodesAndBounds) {
    std::string euros;
    for (int i = 0; i < 300; ++i) euros += "\xE2\x82\xAC";
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"", false, ""},
        {"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC", true, "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC"},
        {std::string("name\0\0\0", 7), true, "name"},
        {"a\xC3", true, "a\xEF\xBF\xBD"},                      // truncated sequence
        {"\xC0\x80x", true, "\xEF\xBF\xBD\xEF\xBF\xBDx"},      // overlong form
        {std::string(300, 'y'), true, std::string(256, 'y')},  // 256 characters at most
        {euros, true, euros.substr(0, 256 * 3)},
    };
    for (const auto& [in, ok, out] : cases) {
        std::string text = "stale";
        EXPECT_EQ(FromUtf8(in, text), ok) << in;
        EXPECT_EQ(text, out) << in;
    }
    std::string text;
    EXPECT_FALSE(FromUtf8(std::string("\0abc", 4), text));
}

}  // namespace
