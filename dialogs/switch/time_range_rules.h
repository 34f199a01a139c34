#pragma once
// What the time-range dialogs decide without a widget or a request: the list line of a walk answer,
// the name and date/time checks of the edit dialog, and the index a new range takes. The dialogs show
// the returned texts as they are.

#include <string>
#include <vector>

#include "dialogs/common/choices.h"
#include "snmp/snmp_answer.h"

namespace TimeRangeOid {
// Columns 1 (index) .. 21 (row status); instance = the range index.
inline constexpr const char* kEntry = "1.3.6.1.4.1.32473.10.75.13.23.1.1";
std::string Column(int column);
std::string Instance(int column, int index);
}  // namespace TimeRangeOid

// Columns of the time-range table.
enum TimeRangeColumn : int {
    kRangeIndexColumn = 1,
    kRangeNameColumn = 2,
    kRangeUseDateColumn = 3,
    kRangeFromYearColumn = 4,   // 5 month, 6 day
    kRangeStartHourColumn = 7,  // 8 minute
    kRangeToYearColumn = 9,     // 10 month, 11 day
    kRangeEndHourColumn = 12,   // 13 minute
    kRangeMondayColumn = 14,    // .. 20 Sunday
    kRangeStatusColumn = 21,
};

// "Date" (column 3) and each weekday box (columns 14 .. 20).
inline constexpr CheckValues kUseDateValues{1, 2};
inline constexpr CheckValues kWeekdayValues{1, 2};

namespace TimeRangeText {
inline constexpr const char* kSelectEdit = "Please select the Time Range to be edit!";
inline constexpr const char* kSelectDelete = "Please select the Time Range to be deleted!";
inline constexpr const char* kNameEmpty = "The TimeRange name can not be empty,please input it.";
inline constexpr const char* kNameInvalid = "Invalid TimeRange Name.";
inline constexpr const char* kFull = "The max number of PoE Time Range is 8";
inline constexpr const char* kSameTimes = "'Start Time' and 'End Time' can't be the same";
inline constexpr const char* kToYear = "'To year' can't be less than 'From year'";
inline constexpr const char* kToDay = "'To day' can't be less than 'From day'";
inline constexpr const char* kToMonth = "'To month' can't be less than 'From month'";
inline constexpr const char* kStartAfterEnd = "'Start Time' can't be grater than 'End Time'";
// A failed write of the range's values. The second text when an edit had already removed the range.
inline constexpr const char* kNotWritten =
    "The time range could not be written to the switch. Check the settings and press Apply again.";
inline constexpr const char* kRemovedNotWritten =
    "The time range could not be written to the switch, and its old setting has already been removed "
    "from the switch. Press Apply to write it again, or Cancel to leave it out.";
}  // namespace TimeRangeText

inline constexpr int kMaxTimeRanges = 8;
inline constexpr int kMaxTimeRangeNameLength = 20;  // characters as typed
inline constexpr int kMaxTimeRangeNameBytes = 128;  // UTF-8 bytes written

// One row of the table as the list read it (every row, whatever its status), in walk order.
struct TimeRangeRecord {
    int index = 0;
    std::string name;  // UTF-8
    int status = 0;
};

// One walk answer of the 21 columns: its record, and the six list texts when the row is active.
struct TimeRangeLine {
    TimeRangeRecord record;
    bool listed = false;
    std::vector<std::string> texts;  // name, weekdays, from day, to day, start time, end time
};
// False when the answer is short.
bool TimeRangeLineFromRow(const std::vector<SnmpBinding>& bindings, TimeRangeLine& line);

// Add mode: the index a new range takes; 0 when none is free (the first `kMaxTimeRanges` records are
// looked at, as the switch holds no more).
int CountActiveRanges(const std::vector<TimeRangeRecord>& records);
int FreeTimeRangeIndex(const std::vector<TimeRangeRecord>& records);

// Add mode: the name checks, in order; "" when the name may be written. `name` is UTF-8.
std::string CheckTimeRangeName(const std::string& name, const std::vector<TimeRangeRecord>& records);

// The times and (when `useDate`) the dates of the edit dialog.
struct TimeRangeSpan {
    bool useDate = false;
    int fromYear = 0, fromMonth = 0, fromDay = 0, startHour = 0, startMinute = 0;
    int toYear = 0, toMonth = 0, toDay = 0, endHour = 0, endMinute = 0;
};
// The time and date checks, in order; "" when valid.
std::string CheckTimeRangeSpan(const TimeRangeSpan& span);
