#include "polling/status_derivation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(DeriveLinkCode, Table) {
    const struct {
        const char *admin, *oper, *speed;
        bool allGiga;
        LinkCode expected;
    } cases[] = {
        // Admin-down wins whatever the link says.
        {"2", "1", "1000000000", true, kLinkDisabled},
        {"", "1", "1000000000", true, kLinkDisabled},
        {"3", "1", "1000000000", true, kLinkDisabled},
        // Enabled without a link.
        {"1", "2", "1000000000", true, kLinkUnknown},
        {"1", "", "1000000000", true, kLinkUnknown},
        // Top speed depends on AllGiga, compared as text.
        {"1", "1", "1000000000", true, kLinkTopSpeed},
        {"1", "1", "100000000", true, kLinkBelowTop},
        {"1", "1", "1000000000", false, kLinkBelowTop},
        {"1", "1", "100000000", false, kLinkTopSpeed},
        {"1", "1", "01000000000", true, kLinkBelowTop},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeriveLinkCode(c.admin, c.oper, c.speed, c.allGiga), c.expected)
            << c.admin << " " << c.oper << " " << c.speed << " " << c.allGiga;
}

TEST(DerivePoeCode, TextsAfterTheTwoCharacterPrefix) {
    const struct {
        const char* raw;
        PoeCode expected;
    } cases[] = {{"  POWER ON", kPoeOn},    {"1:POWER OFF", kPoeOff},  {"  Time-based OFF", kPoeOff},
                 {"  OVERLOAD", kPoeOther}, {"  power on", kPoeOther}, {"  POWER ON ", kPoeOther},
                 {"ab", kPoeOther},         {"a", kPoeOther}};
    for (const auto& c : cases) EXPECT_EQ(DerivePoeCode(StripPoePrefix(c.raw)), c.expected) << c.raw;
}

TEST(PowerLimit, SevenIsTheLimit) {
    for (const char* at : {"7", "7.0", "6.9", "0", "n/a"}) EXPECT_TRUE(IsPowerAtLimit(at)) << at;
    for (const char* above : {"7.5", "7.01", "120"}) EXPECT_FALSE(IsPowerAtLimit(above)) << above;
    EXPECT_DOUBLE_EQ(PowerValue("7.5 W"), 7.5);
}

TEST(RowIndexFromSuffix, PartAfterFirstDot) {
    EXPECT_EQ(RowIndexFromSuffix(".12"), 12);
    EXPECT_EQ(RowIndexFromSuffix("3.7"), 7);
    EXPECT_EQ(RowIndexFromSuffix(".1.8"), 1);
    for (const char* bad : {"5", ".", ".x", ".99999999999"})
        EXPECT_EQ(RowIndexFromSuffix(bad), std::nullopt) << bad;
}

StatusRow Row(const char* index, const char* admin, const char* oper, const char* speed, const char* vendor,
              std::optional<std::string> poe) {
    return StatusRow{admin, oper, index, speed, vendor, std::move(poe)};
}

TEST(DeriveLists, PortsInRangeOnlyInWalkOrder) {
    StatusLists lists;
    lists.Append(Row("1", "1", "1", "1000000000", "1", "POWER ON"));
    lists.Append(Row("2", "2", "1", "1000000000", "1", "OVER,LOAD"));  // a comma shifts nothing
    lists.Append(Row("0", "1", "1", "1000000000", "1", "POWER ON"));
    lists.Append(Row("4", "1", "1", "100000000", "4", "POWER OFF"));
    lists.Append(Row("9", "1", "1", "1000000000", "1", "POWER ON"));
    lists.Append(Row("", "1", "1", "1000000000", "1", "POWER ON"));
    // A port without a row in the PoE table has no PoE: never a fault.
    lists.Append(Row("5", "1", "2", "0", "5", std::nullopt));

    // Port, code, vendor and speed of each link; port, code and text of each PoE status.
    std::vector<std::tuple<int, int, int, std::string>> links;
    for (const PortLinkResult& l : DeriveLinkCodes(lists, 8, true))
        links.emplace_back(l.port, l.code, l.vendor, l.speed);
    EXPECT_EQ(links, (std::vector<std::tuple<int, int, int, std::string>>{{1, kLinkTopSpeed, 1, "1000000000"},
                                                                          {2, kLinkDisabled, 1, "1000000000"},
                                                                          {4, kLinkBelowTop, 4, "100000000"},
                                                                          {5, kLinkUnknown, 5, "0"}}));
    std::vector<std::tuple<int, int, std::string>> poe;
    for (const PortPoeResult& p : DerivePoeCodes(lists, 8)) poe.emplace_back(p.port, p.code, p.text);
    EXPECT_EQ(poe, (std::vector<std::tuple<int, int, std::string>>{{1, kPoeOn, "POWER ON"},
                                                                   {2, kPoeOther, "OVER,LOAD"},
                                                                   {4, kPoeOff, "POWER OFF"},
                                                                   {5, kPoeNone, ""}}));
}

TEST(DeriveLists, PortCountBoundedByTables) {
    StatusLists lists;
    lists.Append(Row("52", "1", "1", "1000000000", "0", "POWER ON"));
    lists.Append(Row("53", "1", "1", "1000000000", "0", "POWER ON"));
    const auto links = DeriveLinkCodes(lists, 500, true);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].port, 52);
    EXPECT_EQ(DerivePoeCodes(lists, 500).size(), 1u);
    EXPECT_TRUE(DeriveLinkCodes(lists, -3, true).empty());
}

TEST(PortSummary, SaysWhatTheLedsShow) {
    PortView up{true, kLinkTopSpeed, "1000000000", kPoeOn, "POWER ON", PoeMeasurement{1, "6", "53", "113"}};
    PortView slow{true, kLinkBelowTop, "100000000", kPoeOther, "OVERLOAD", std::nullopt};
    PortView none{true, kLinkUnknown, "0", kPoeNone, "", std::nullopt};
    PortView off{true, kLinkDisabled, "0", kPoeOff, "Time-based OFF", std::nullopt};
    PortView silent = up;
    silent.answered = false;
    EXPECT_EQ(PortSummary(1, up), "Port 1\nLink: up, 1 Gbit/s\nPoE: POWER ON\n6 W, 53 V, 113 mA");
    EXPECT_EQ(PortSummary(3, slow), "Port 3\nLink: up, 100 Mbit/s\nPoE: OVERLOAD (fault)");
    EXPECT_EQ(PortSummary(25, none), "Port 25\nLink: down\nPoE: none");
    EXPECT_EQ(PortSummary(5, off), "Port 5\nLink: disabled\nPoE: Time-based OFF");
    EXPECT_EQ(PortSummary(1, silent), "Port 1\nLink: unknown\nPoE: unknown");
}

}  // namespace
