#include "dialogs/switch/poe_rules.h"

#include <gtest/gtest.h>

#include "../unit_test_support.h"

namespace {

const std::string kRange = "The User Defined power limit ranges between 1.0 ~ 30.0";
const std::string kStep = "The per-port power limit must be a multiple of 0.2";
const std::string kPort = "Invalid PoE Port User Define value Setting!";

TEST(CheckUserLimit, RangeStepAndPortInThatOrder) {
    const std::tuple<const char*, int, std::string> cases[] = {
        {"15.6", 2, ""},
        {"15.6", 5, kPort},
        {"15.4", 5, ""},
        {"31", 5, kRange},  // the range before the port
        {"7.3", 1, kStep},
        {"30.0", 1, ""},
        {"0.8", 1, kRange},
        {" 12.2", 3, ""},
        {"1.0x", 7, ""},
        {"nan", 1, kRange},
        {"30.00001", 1, kRange},
        // Single precision decides: 2.0000003 is 2.0 as a float, 2.2000002 is not 2.2.
        {"2.0000003", 1, ""},
        {"2.2000002", 1, kStep},
    };
    for (const auto& [text, port, message] : cases)
        EXPECT_EQ(CheckUserLimit(text, port), message) << text << " port " << port;
}

// state, range, priority, class, power, voltage, current, classification, status, user flag, user limit
std::vector<SnmpBinding> Row(const char* range, const char* priority, const char* cls) {
    return {B("1"),   B(range), B(priority),     B(cls), B("7"),   B("53"),
            B("132"), B("3"),   B("  POWER ON"), B("2"), B("15.4")};
}

TEST(PoeLineTexts, ColumnsFromOneWalkAnswer) {
    PoeTimeRanges ranges;
    ranges.Add(1, "office-hours");
    ranges.Add(2, "weekend");
    using L = std::vector<std::string>;
    // Range index, priority and class codes; the range, priority and limit texts.
    const std::tuple<const char*, const char*, const char*, std::string, std::string, std::string> cases[] = {
        {"1", "3", "5", "office-hours", "High", "Class 4"},
        {"5", "7", "2", "", "High", "Class 1"},
        {"0", "0", "0", "N/A", "High", ""},
        {"2", "2", "6", "weekend", "Normal", ""}};
    for (const auto& [range, priority, cls, rangeText, priorityText, limitText] : cases) {
        L line = PoeLineTexts(Row(range, priority, cls), 2, ranges);
        ASSERT_EQ(line.size(), 10u);
        EXPECT_EQ((L{line[2], line[3], line[4]}), (L{rangeText, priorityText, limitText}))
            << range << priority << cls;
    }
    std::vector<SnmpBinding> shortRow = Row("0", "2", "1");
    shortRow.pop_back();
    EXPECT_TRUE(PoeLineTexts(shortRow, 1, ranges).empty());
}

TEST(PoeTimeRanges, KeepsEightAndTheLaterOfTwoEqualNamesWins) {
    PoeTimeRanges ranges;
    for (int i = 1; i <= 10; ++i) ranges.Add(i, i == 6 ? "night" : "r" + std::to_string(i));
    ranges.Add(3, "late");
    EXPECT_EQ(ranges.indexes.size(), 8u);  // "r9" is past the eighth
    EXPECT_EQ((std::vector<int>{ranges.IndexOf("r9"), ranges.IndexOf("r2"), ranges.IndexOf("N/A")}),
              (std::vector<int>{0, 2, 0}));
    PoeTimeRanges twins;
    twins.Add(4, "night");
    twins.Add(7, "night");
    EXPECT_EQ(twins.IndexOf("night"), 7);
    EXPECT_EQ(twins.NameOf(7) + "|" + twins.NameOf(0) + "|" + twins.NameOf(5), "night|N/A|");
}

}  // namespace
