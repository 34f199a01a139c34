// Address texts as the dialogs take them from the user.
#include "dialogs/common/address_checks.h"

#include <gtest/gtest.h>

namespace {

TEST(Ipv4Fields, FieldsMayBeEmptyWhileTyping) {
    // The text; whether it is complete, all zero, its first or last field 0 or 255; its value.
    const std::tuple<const char*, bool, bool, bool, bool, std::uint32_t> cases[] = {
        {"192.168.0.10", true, false, false, false, 0xC0A8000A},
        {"0.0.0.0", true, true, true, true, 0},
        {"255.1.1.1", true, false, true, false, 0xFF010101},
        {"10.1.1.255", true, false, false, true, 0x0A0101FF},
        {"10..1.", false, false, false, true, 0x0A000100},
        {"", false, true, true, true, 0},
    };
    for (const auto& [text, complete, allZero, first0or255, last0or255, value] : cases) {
        std::optional<Ipv4Fields> ip = ParseIpv4Fields(text);
        ASSERT_TRUE(ip) << text;
        EXPECT_EQ(std::make_tuple(ip->Complete(), ip->AllZero(), ip->FirstIs0Or255(), ip->LastIs0Or255(),
                                  ip->Value()),
                  std::make_tuple(complete, allZero, first0or255, last0or255, value))
            << text;
    }
    for (const char* bad : {"256.1.1.1", "1.2.3.4.5", "1.2.3.1234", "1.2.3.a"})
        EXPECT_FALSE(ParseIpv4Fields(bad)) << bad;
    EXPECT_EQ(ParseIpv4Fields("10..1.")->Text(), "10.0.1.0");
}

TEST(MacText, ExactlySixHexPairsWithDashes) {
    const auto mac = ParseMacText("00-1e-06-AB-cd-Ef");
    ASSERT_TRUE(mac);
    EXPECT_EQ(MacText(std::string(mac->begin(), mac->end())), "00-1E-06-AB-CD-EF");
    for (const char* bad : {"00:1E:06:AB:CD:EF", "00-1E-06-AB-CD-E", "00-1E-06-AB-CD-EF0",
                            "0G-1E-06-AB-CD-EF", "001E-06-AB-CD-EF-", ""})
        EXPECT_FALSE(ParseMacText(bad)) << bad;
    EXPECT_EQ(MacText(std::string("\x02\x11", 2)), "02-11");
}

}  // namespace
