#include "dialogs/switch/time_range_rules.h"

#include <cstdio>

#include "core/text_number.h"
#include "snmp/encodings.h"

namespace TimeRangeOid {
std::string Column(int column) {
    return std::string(kEntry) + "." + std::to_string(column);
}
std::string Instance(int column, int index) {
    return Column(column) + "." + std::to_string(index);
}
}  // namespace TimeRangeOid

namespace {

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

bool TimeRangeLineFromRow(const std::vector<SnmpBinding>& b, TimeRangeLine& line) {
    if (b.size() < kRangeStatusColumn) return false;
    auto num = [&b](int column) { return LeadingInt(b[column - 1].value); };
    line.record = {num(kRangeIndexColumn), b[kRangeNameColumn - 1].value, num(kRangeStatusColumn)};
    line.listed = line.record.status == 1;
    line.texts.clear();
    if (!line.listed) return true;

    static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    std::string days;
    for (int d = 0; d < 7; ++d) {
        if (num(kRangeMondayColumn + d) != 1) continue;
        if (!days.empty()) days += ",";
        days += kDays[d];
    }
    auto date = [&](int yearColumn) {
        if (num(kRangeUseDateColumn) != 1) return std::string();
        return std::to_string(num(yearColumn)) + "/" + TwoDigits(num(yearColumn + 1)) + "/" +
               TwoDigits(num(yearColumn + 2));
    };
    auto time = [&](int hourColumn) {
        return TwoDigits(num(hourColumn)) + ":" + TwoDigits(num(hourColumn + 1));
    };
    line.texts = {line.record.name,
                  days,
                  date(kRangeFromYearColumn),
                  date(kRangeToYearColumn),
                  time(kRangeStartHourColumn),
                  time(kRangeEndHourColumn)};
    return true;
}

int CountActiveRanges(const std::vector<TimeRangeRecord>& records) {
    int n = 0;
    for (const TimeRangeRecord& r : records) n += r.status == 1;
    return n;
}

int FreeTimeRangeIndex(const std::vector<TimeRangeRecord>& records) {
    // The switch lists its ranges by index: the first gap, or a range taken out of service, is free.
    for (int i = 0; i < kMaxTimeRanges; ++i) {
        const bool known = i < static_cast<int>(records.size());
        const int index = known ? records[i].index : 0;
        const int status = known ? records[i].status : 0;
        if (index != i + 1 || status == 2) return i + 1;
    }
    return 0;
}

std::string CheckTimeRangeName(const std::string& name, const std::vector<TimeRangeRecord>& records) {
    if (name.empty()) return TimeRangeText::kNameEmpty;
    if (!IsValidName(name)) return TimeRangeText::kNameInvalid;
    for (const TimeRangeRecord& r : records)
        if (r.name == name) return TimeRangeText::kNameInvalid;
    return {};
}

std::string CheckTimeRangeSpan(const TimeRangeSpan& s) {
    const int start = s.startHour * 100 + s.startMinute;
    const int end = s.endHour * 100 + s.endMinute;
    if (start == end) return TimeRangeText::kSameTimes;
    // Without dates both days count as the same day.
    const int fromYear = s.useDate ? s.fromYear : 2, fromMonth = s.useDate ? s.fromMonth : 2;
    const int toYear = s.useDate ? s.toYear : 2, toMonth = s.useDate ? s.toMonth : 2;
    const int from = fromYear * 10000 + fromMonth * 100 + (s.useDate ? s.fromDay : 2);
    const int to = toYear * 10000 + toMonth * 100 + (s.useDate ? s.toDay : 2);
    if (from > to) {
        if (fromYear > toYear) return TimeRangeText::kToYear;
        if (fromMonth <= toMonth) return TimeRangeText::kToDay;
        return TimeRangeText::kToMonth;
    }
    if (from != to) return {};
    if (start > end) return TimeRangeText::kStartAfterEnd;
    return {};
}
