#include "snmp/oid_text.h"

#include <gtest/gtest.h>

namespace {

// At most 128 arcs, each within 32 bits.
TEST(ParseOidText, AcceptsDottedNumbersOnly) {
    const std::pair<std::string, OidArcs> valid[] = {{"1.3.6.1.2.1.1.5.0", {1, 3, 6, 1, 2, 1, 1, 5, 0}},
                                                     {".1.3.6", {1, 3, 6}},
                                                     {"0", {0}},
                                                     {"1.4294967295", {1, 4294967295u}}};
    for (const auto& [text, want] : valid) {
        OidArcs arcs{99};
        EXPECT_TRUE(ParseOidText(text, arcs)) << text;
        EXPECT_EQ(arcs, want) << text;
    }
    OidArcs arcs;
    for (const char* text : {"1.4294967296", "", ".", "1..3", "1.3.", "1.3a", "1.-3", " 1.3", "iso.3"})
        EXPECT_FALSE(ParseOidText(text, arcs)) << text;
    std::string longest = "1";
    for (int i = 1; i < 128; ++i) longest += ".1";
    EXPECT_TRUE(ParseOidText(longest, arcs));
    EXPECT_FALSE(ParseOidText(longest + ".1", arcs));
}

TEST(OidArcs, TextAndPrefix) {
    EXPECT_EQ(OidArcsText({1, 3, 6, 4294967295u}), "1.3.6.4294967295");
    EXPECT_EQ(OidArcsText({}), "");
    EXPECT_TRUE(OidIsBelow({1, 3, 6, 1}, {1, 3, 6}));
    EXPECT_FALSE(OidIsBelow({1, 3, 6}, {1, 3, 6}));  // the column itself is not inside it
    EXPECT_FALSE(OidIsBelow({1, 3, 7, 1}, {1, 3, 6}));
    EXPECT_FALSE(OidIsBelow({1, 3, 60, 1}, {1, 3, 6}));  // arcs compare whole, not as text
    EXPECT_FALSE(OidIsBelow({1}, {1, 3}));
}

}  // namespace
