#pragma once
// What the PoE port dialog decides without a widget or a request: the texts of one list line, the
// time range a name stands for, and the check of a user-defined power limit. The dialog shows the
// returned texts as they are.

#include <string>
#include <vector>

#include "dialogs/common/choices.h"
#include "snmp/snmp_answer.h"

// Objects of the PoE port table (instance .1.<port>) and the time-range columns the dialog reads.
namespace PoeOid {
inline constexpr const char* kState = "1.3.6.1.4.1.32473.10.75.13.22.1.1.3";
inline constexpr const char* kTimeRange = "1.3.6.1.4.1.32473.10.75.13.22.1.1.4";
inline constexpr const char* kPriority = "1.3.6.1.4.1.32473.10.75.13.22.1.1.5";
inline constexpr const char* kLimitClass = "1.3.6.1.4.1.32473.10.75.13.22.1.1.6";
inline constexpr const char* kUserDefined = "1.3.6.1.4.1.32473.10.75.13.22.1.1.7";
inline constexpr const char* kUserLimit = "1.3.6.1.4.1.32473.10.75.13.22.1.1.8";
inline constexpr const char* kPower = "1.3.6.1.4.1.32473.10.75.13.22.1.1.9";
inline constexpr const char* kVoltage = "1.3.6.1.4.1.32473.10.75.13.22.1.1.10";
inline constexpr const char* kCurrent = "1.3.6.1.4.1.32473.10.75.13.22.1.1.11";
inline constexpr const char* kClassification = "1.3.6.1.4.1.32473.10.75.13.22.1.1.12";
inline constexpr const char* kStatus = "1.3.6.1.4.1.32473.10.75.13.22.1.1.13";
inline constexpr const char* kRangeIndex = "1.3.6.1.4.1.32473.10.75.13.23.1.1.1";
inline constexpr const char* kRangeName = "1.3.6.1.4.1.32473.10.75.13.23.1.1.2";
}  // namespace PoeOid

namespace PoeText {
inline constexpr const char* kUnsuccessful = "Unsuccessful!";
inline constexpr const char* kLimitRange = "The User Defined power limit ranges between 1.0 ~ 30.0";
inline constexpr const char* kLimitStep = "The per-port power limit must be a multiple of 0.2";
inline constexpr const char* kLimitPort = "Invalid PoE Port User Define value Setting!";
inline constexpr const char* kNoRange = "N/A";
}  // namespace PoeText

// The form's entries with what Apply writes for each: "State" (.3), "Priority" (.5), "Power Limit" (.6,
// without "User Define"), and "User Define" (.7).
inline constexpr Choice kPoeStateChoices[] = {{"Enable", 1}, {"Disable", 2}};
inline constexpr Choice kPoePriorityChoices[] = {{"Low", 1}, {"Normal", 2}, {"High", 3}};
inline constexpr Choice kPoeLimitChoices[] = {
    {"Auto", 1}, {"Class 1", 2}, {"Class 2", 3}, {"Class 3", 4}, {"Class 4", 5}};
inline constexpr CheckValues kPoeUserDefinedValues{1, 2};

// The time ranges the dialog knows, in walk order (at most kMaxPoeTimeRanges kept).
inline constexpr int kMaxPoeTimeRanges = 8;
struct PoeTimeRanges {
    std::vector<int> indexes;
    std::vector<std::string> names;  // UTF-8
    // Keeps a walk row (index, name) unless the list is full.
    void Add(int index, const std::string& name);
    void Clear();
    // "N/A" for 0, the name of that index, or "" when the dialog knows none.
    std::string NameOf(int index) const;
    // The index of a name as chosen in the list (0 for "N/A"); with two equal names the later wins.
    int IndexOf(const std::string& name) const;
};

// The ten texts of a list line from one walk answer of state, time range, priority, class, power,
// voltage, current, classification, status, user-defined flag and user limit (in that order).
// `row` counts from 1. Empty when the answer is short.
std::vector<std::string> PoeLineTexts(const std::vector<SnmpBinding>& bindings, int row,
                                      const PoeTimeRanges& ranges);

// The user-defined limit as the switch takes it: the leading decimal number of the text (0 when
// there is none), in single precision.
float UserLimitWatts(const std::string& text);
// The checks of a user-defined limit for one port, in order; "" when it may be sent.
std::string CheckUserLimit(const std::string& text, int port);
