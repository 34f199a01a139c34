#include "dialogs/switch/time_range_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckTimeRangeSpan, MessagesInOrder) {
    const std::string same = "'Start Time' and 'End Time' can't be the same";
    const std::string year = "'To year' can't be less than 'From year'";
    const std::string day = "'To day' can't be less than 'From day'";
    const std::string month = "'To month' can't be less than 'From month'";
    const std::string later = "'Start Time' can't be grater than 'End Time'";
    const std::tuple<const char*, TimeRangeSpan, std::string> cases[] = {
        {"dates ignored when off", {false, 2013, 1, 1, 10, 0, 2012, 1, 1, 9, 0}, later},
        {"no dates, 08:00 to 17:30", {false, 2009, 1, 1, 8, 0, 2009, 1, 1, 17, 30}, ""},
        {"next day, 10:00 to 09:00", {true, 2012, 1, 1, 10, 0, 2012, 1, 2, 9, 0}, ""},
        {"same day, 17:00 to 08:00", {true, 2012, 3, 3, 17, 0, 2012, 3, 3, 8, 0}, later},
        {"same times on different days", {true, 2012, 1, 1, 8, 0, 2012, 1, 9, 8, 0}, same},
        {"day back within the month", {true, 2012, 5, 10, 8, 0, 2012, 5, 3, 9, 0}, day},
        {"month back", {true, 2012, 6, 1, 8, 0, 2012, 5, 30, 9, 0}, month},
        {"year back", {true, 2013, 1, 1, 8, 0, 2012, 12, 31, 9, 0}, year},
        {"earlier month, later day", {true, 2012, 5, 30, 8, 0, 2012, 6, 1, 9, 0}, ""},
        {"minutes decide", {false, 2009, 1, 1, 8, 31, 2009, 1, 1, 8, 30}, later},
    };
    for (const auto& [name, span, message] : cases) EXPECT_EQ(CheckTimeRangeSpan(span), message) << name;
}

std::vector<TimeRangeRecord> Records(std::initializer_list<std::pair<int, int>> indexAndStatus) {
    std::vector<TimeRangeRecord> r;
    for (auto [index, status] : indexAndStatus) r.push_back({index, "r" + std::to_string(index), status});
    return r;
}

TEST(FreeTimeRangeIndex, FirstGapOrOutOfServiceRow) {
    // The ranges listed (index and row status); how many are active, and the index a new one takes.
    const std::tuple<std::vector<TimeRangeRecord>, int, int> cases[] = {
        {Records({}), 0, 1},
        {Records({{1, 1}, {2, 1}, {4, 1}}), 3, 3},
        {Records({{1, 1}, {2, 1}, {3, 1}}), 3, 4},
        {Records({{1, 2}, {2, 1}}), 1, 1},
        {Records({{1, 1}, {2, 3}, {3, 1}}), 2, 4},
        {Records({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}), 8, 0},
        {Records({{1, 1}, {2, 1}, {3, 3}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}), 7, 0},
    };
    for (const auto& [records, active, index] : cases) {
        EXPECT_EQ(CountActiveRanges(records), active);
        EXPECT_EQ(FreeTimeRangeIndex(records), index) << records.size() << " rows";
    }
}

TEST(CheckTimeRangeName, EmptyRefusedCharacterOrTaken) {
    std::vector<TimeRangeRecord> records = {{1, "office-hours", 1}, {2, "parked", 2}};
    const std::string invalid = "Invalid TimeRange Name.";
    std::vector<std::string> got;  // "parked" is not listed, but still taken
    for (const char* name : {"", "night.shift", "office-hours", "parked", "night shift", "B\xC3\xBCro"})
        got.push_back(CheckTimeRangeName(name, records));
    EXPECT_EQ(got, (std::vector<std::string>{"The TimeRange name can not be empty,please input it.", invalid,
                                             invalid, invalid, "", ""}));
}

}  // namespace
