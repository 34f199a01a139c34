#pragma once
// Status derivation of the panel poll: pure functions from the device's texts to the link and PoE codes
// the panel shows. No SNMP, no widgets, so they are tested on their own.

#include <optional>
#include <string>
#include <vector>

// Per-port tables are fixed at the largest panel the module knows.
constexpr int kMaxPorts = 52;

// Link code of a port: 0 linked below top speed, 1 linked at top speed, 2 administratively disabled,
// 3 no link or unknown.
enum LinkCode : unsigned char { kLinkBelowTop = 0, kLinkTopSpeed = 1, kLinkDisabled = 2, kLinkUnknown = 3 };
// PoE code: 0 "POWER ON", 1 "POWER OFF" / "Time-based OFF", 2 any other text, 3 unknown.
enum PoeCode : unsigned char { kPoeOn = 0, kPoeOff = 1, kPoeOther = 2, kPoeUnknown = 3 };

// "1000000000" on an all-gigabit device, "100000000" otherwise.
std::string TopSpeedText(bool allGiga);

// Admin-down wins over everything; then no operational link; then the exact top-speed text.
LinkCode DeriveLinkCode(const std::string& adminStatus, const std::string& operStatus, const std::string& speed,
                        bool allGiga);

// `text` is the status text after the two leading characters were dropped.
PoeCode DerivePoeCode(const std::string& text);

// The PoE status column carries two leading characters before the status text.
std::string StripPoePrefix(const std::string& raw);

// The power value text as a number (leading decimal number, like atof; 0 when there is none), and whether
// it means the power budget is at its limit (at most 7.0).
double PowerValue(const std::string& text);
bool IsPowerAtLimit(const std::string& text);

// Row index from an instance suffix: the text after the first dot (".5" -> 5). Empty when none.
std::optional<int> RowIndexFromSuffix(const std::string& suffix);

// One row of the six-column status walk, as texts.
struct StatusRow {
    std::string adminStatus, operStatus, rowIndex, speed, vendor, poeText;
};

// What one status walk collected, row by row. (Kept as rows rather than comma-joined lists, so a device
// text holding a comma cannot shift one port's values onto another.)
struct StatusLists {
    std::vector<StatusRow> rows;
    void Clear() { rows.clear(); }
    void Append(const StatusRow& row) { rows.push_back(row); }
};

// Results of deriving the lists: each port in 1..portCount seen by the walk, in walk order.
struct PortLinkResult {
    int port = 0;  // 1-based
    LinkCode code = kLinkUnknown;
    int vendor = 0;
};
struct PortPoeResult {
    int port = 0;  // 1-based
    PoeCode code = kPoeUnknown;
};

// Takes the rows in walk order; rows whose index is not a number in 1..portCount are skipped (and
// portCount itself is bounded by the fixed tables).
std::vector<PortLinkResult> DeriveLinkCodes(const StatusLists& lists, int portCount, bool allGiga);
std::vector<PortPoeResult> DerivePoeCodes(const StatusLists& lists, int portCount);
