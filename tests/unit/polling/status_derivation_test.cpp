#include "polling/status_derivation.h"

#include <gtest/gtest.h>

namespace {

struct LinkCase {
    const char* admin;
    const char* oper;
    const char* speed;
    bool allGiga;
    LinkCode expected;
};

TEST(DeriveLinkCode, Table) {
    const LinkCase cases[] = {
        // Admin-down wins whatever the link says.
        {"2", "1", "1000000000", true, kLinkDisabled},
        {"2", "2", "100000000", false, kLinkDisabled},
        {"", "1", "1000000000", true, kLinkDisabled},
        {"3", "1", "1000000000", true, kLinkDisabled},
        // Enabled without a link.
        {"1", "2", "1000000000", true, kLinkUnknown},
        {"1", "7", "0", false, kLinkUnknown},
        {"1", "", "1000000000", true, kLinkUnknown},
        // Top speed depends on AllGiga.
        {"1", "1", "1000000000", true, kLinkTopSpeed},
        {"1", "1", "100000000", true, kLinkBelowTop},
        {"1", "1", "10000000", true, kLinkBelowTop},
        {"1", "1", "1000000000", false, kLinkBelowTop},
        {"1", "1", "100000000", false, kLinkTopSpeed},
        // Exact text comparison, not numeric.
        {"1", "1", "01000000000", true, kLinkBelowTop},
    };
    for (const LinkCase& c : cases) {
        EXPECT_EQ(DeriveLinkCode(c.admin, c.oper, c.speed, c.allGiga), c.expected)
            << c.admin << " " << c.oper << " " << c.speed << " " << c.allGiga;
    }
}

TEST(DerivePoeCode, Texts) {
    EXPECT_EQ(DerivePoeCode("POWER ON"), kPoeOn);
    EXPECT_EQ(DerivePoeCode("POWER OFF"), kPoeOff);
    EXPECT_EQ(DerivePoeCode("Time-based OFF"), kPoeOff);
    EXPECT_EQ(DerivePoeCode("Overload"), kPoeOther);
    EXPECT_EQ(DerivePoeCode("power on"), kPoeOther);
    EXPECT_EQ(DerivePoeCode(""), kPoeOther);
    EXPECT_EQ(DerivePoeCode("POWER ON "), kPoeOther);
}

TEST(StripPoePrefix, DropsTwoCharacters) {
    EXPECT_EQ(StripPoePrefix("1:POWER ON"), "POWER ON");
    EXPECT_EQ(StripPoePrefix("  Time-based OFF"), "Time-based OFF");
    EXPECT_EQ(StripPoePrefix("ab"), "");
    EXPECT_EQ(StripPoePrefix("a"), "");
    EXPECT_EQ(StripPoePrefix(""), "");
}

TEST(PowerLimit, SevenIsTheLimit) {
    EXPECT_TRUE(IsPowerAtLimit("7"));
    EXPECT_TRUE(IsPowerAtLimit("7.0"));
    EXPECT_TRUE(IsPowerAtLimit("6.9"));
    EXPECT_TRUE(IsPowerAtLimit("0"));
    EXPECT_FALSE(IsPowerAtLimit("7.5"));
    EXPECT_FALSE(IsPowerAtLimit("7.01"));
    EXPECT_FALSE(IsPowerAtLimit("120"));
    EXPECT_DOUBLE_EQ(PowerValue("7.5 W"), 7.5);
    // Not a number reads as 0, as atof would.
    EXPECT_TRUE(IsPowerAtLimit("n/a"));
}

TEST(RowIndexFromSuffix, PartAfterFirstDot) {
    EXPECT_EQ(RowIndexFromSuffix(".5"), 5);
    EXPECT_EQ(RowIndexFromSuffix(".12"), 12);
    EXPECT_EQ(RowIndexFromSuffix("3.7"), 7);
    EXPECT_EQ(RowIndexFromSuffix(".1.8"), 1);
    EXPECT_EQ(RowIndexFromSuffix("5"), std::nullopt);
    EXPECT_EQ(RowIndexFromSuffix("."), std::nullopt);
    EXPECT_EQ(RowIndexFromSuffix(".x"), std::nullopt);
    EXPECT_EQ(RowIndexFromSuffix(".99999999999"), std::nullopt);
}

StatusRow Row(const char* index, const char* admin, const char* oper, const char* speed, const char* vendor,
              const char* poe) {
    return StatusRow{admin, oper, index, speed, vendor, poe};
}

TEST(DeriveLists, PortsInRangeOnlyInWalkOrder) {
    StatusLists lists;
    lists.Append(Row("1", "1", "1", "1000000000", "1", "POWER ON"));
    lists.Append(Row("2", "2", "1", "1000000000", "1", "POWER OFF"));
    lists.Append(Row("3", "1", "2", "0", "3", "Time-based OFF"));
    lists.Append(Row("0", "1", "1", "1000000000", "1", "POWER ON"));
    lists.Append(Row("4", "1", "1", "100000000", "4", "Fault"));
    lists.Append(Row("9", "1", "1", "1000000000", "1", "POWER ON"));
    lists.Append(Row("", "1", "1", "1000000000", "1", "POWER ON"));

    auto links = DeriveLinkCodes(lists, 8, true);
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0].port, 1);
    EXPECT_EQ(links[0].code, kLinkTopSpeed);
    EXPECT_EQ(links[1].code, kLinkDisabled);
    EXPECT_EQ(links[2].code, kLinkUnknown);
    EXPECT_EQ(links[2].vendor, 3);
    EXPECT_EQ(links[3].port, 4);
    EXPECT_EQ(links[3].code, kLinkBelowTop);
    EXPECT_EQ(links[3].vendor, 4);

    auto poe = DerivePoeCodes(lists, 8);
    ASSERT_EQ(poe.size(), 4u);
    EXPECT_EQ(poe[0].code, kPoeOn);
    EXPECT_EQ(poe[1].code, kPoeOff);
    EXPECT_EQ(poe[2].code, kPoeOff);
    EXPECT_EQ(poe[3].code, kPoeOther);
}

TEST(DeriveLists, PortCountBoundedByTables) {
    StatusLists lists;
    lists.Append(Row("52", "1", "1", "1000000000", "0", "POWER ON"));
    lists.Append(Row("53", "1", "1", "1000000000", "0", "POWER ON"));
    // A port count beyond the fixed tables never lets an index past them through.
    auto links = DeriveLinkCodes(lists, 500, true);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].port, 52);
    EXPECT_EQ(DerivePoeCodes(lists, 500).size(), 1u);
    EXPECT_TRUE(DeriveLinkCodes(lists, 0, true).empty());
    EXPECT_TRUE(DeriveLinkCodes(lists, -3, true).empty());
}

TEST(DeriveLists, CommaInDeviceTextDoesNotShiftPorts) {
    StatusLists lists;
    lists.Append(Row("1", "1", "1", "1000000000", "1", "OVER,LOAD"));
    lists.Append(Row("2", "1", "1", "1000000000", "1", "POWER ON"));
    auto poe = DerivePoeCodes(lists, 8);
    ASSERT_EQ(poe.size(), 2u);
    EXPECT_EQ(poe[0].code, kPoeOther);
    EXPECT_EQ(poe[1].port, 2);
    EXPECT_EQ(poe[1].code, kPoeOn);
}

}  // namespace
