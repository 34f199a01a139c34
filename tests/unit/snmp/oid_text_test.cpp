#include "snmp/oid_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseOidText, AcceptsDottedNumbersOnly) {
    struct Case {
        std::string text;
        bool ok;
        OidArcs arcs;
    };
    const Case cases[] = {
        {"1.3.6.1.2.1.1.5.0", true, {1, 3, 6, 1, 2, 1, 1, 5, 0}},
        {".1.3.6", true, {1, 3, 6}},
        {"0", true, {0}},
        {"1.4294967295", true, {1, 4294967295u}},
        {"1.4294967296", false, {}},
        {"", false, {}},
        {".", false, {}},
        {"1..3", false, {}},
        {"1.3.", false, {}},
        {"1.3a", false, {}},
        {"1.-3", false, {}},
        {" 1.3", false, {}},
        {"iso.3", false, {}},
    };
    for (const Case& c : cases) {
        OidArcs arcs{99};
        EXPECT_EQ(ParseOidText(c.text, arcs), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(arcs, c.arcs) << c.text;
        }
    }
    std::string longest = "1";
    for (int i = 1; i < 128; ++i) longest += ".1";
    OidArcs arcs;
    EXPECT_TRUE(ParseOidText(longest, arcs));
    EXPECT_FALSE(ParseOidText(longest + ".1", arcs));
}

TEST(OidArcs, TextAndPrefix) {
    EXPECT_EQ(OidArcsText({1, 3, 6, 4294967295u}), "1.3.6.4294967295");
    EXPECT_EQ(OidArcsText({}), "");
    EXPECT_TRUE(OidIsBelow({1, 3, 6, 1}, {1, 3, 6}));
    EXPECT_FALSE(OidIsBelow({1, 3, 6}, {1, 3, 6}));     // the column itself is not inside it
    EXPECT_FALSE(OidIsBelow({1, 3, 7, 1}, {1, 3, 6}));
    EXPECT_FALSE(OidIsBelow({1, 3, 60, 1}, {1, 3, 6}));  // arcs compare whole, not as text
    EXPECT_FALSE(OidIsBelow({1}, {1, 3}));
}

}  // namespace
