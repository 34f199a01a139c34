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
// PoE code: 0 "POWER ON", 1 "POWER OFF" / "Time-based OFF", 2 any other text (a fault), 3 unknown, 4 the
// device has no PoE row for the port (a port without PoE: dark, never a fault).
enum PoeCode : unsigned char { kPoeOn = 0, kPoeOff = 1, kPoeOther = 2, kPoeUnknown = 3, kPoeNone = 4 };

// "1000000000" on an all-gigabit device, "100000000" otherwise.
std::string TopSpeedText(bool allGiga);

// Admin-down wins over everything; then no operational link; then the exact top-speed text.
LinkCode DeriveLinkCode(const std::string& adminStatus, const std::string& operStatus,
                        const std::string& speed, bool allGiga);

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

// One row of the six-column status walk, as texts. A port without PoE has no row in the PoE table, so its
// answer carries no PoE binding: poeText is then empty, not "".
struct StatusRow {
    std::string adminStatus, operStatus, rowIndex, speed, vendor;
    std::optional<std::string> poeText;
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
    std::string speed;  // ifSpeed text, bit/s
};
struct PortPoeResult {
    int port = 0;  // 1-based
    PoeCode code = kPoeUnknown;
    std::string text;  // the device's status text without its prefix
};

// Power (W), voltage (V) and current (mA) of a PoE port, as the device gave them.
struct PoeMeasurement {
    int port = 0;  // 1-based
    std::string watts, volts, milliamps;
};

// What the panel shows of one port, and the tooltip text that says it in words.
struct PortView {
    bool answered = false;  // the last walk answered for the port
    LinkCode link = kLinkUnknown;
    std::string speed;
    PoeCode poe = kPoeUnknown;
    std::string poeText;
    std::optional<PoeMeasurement> measured;
};
std::string PortSummary(int port, const PortView& view);

// Takes the rows in walk order; rows whose index is not a number in 1..portCount are skipped (and
// portCount itself is bounded by the fixed tables).
std::vector<PortLinkResult> DeriveLinkCodes(const StatusLists& lists, int portCount, bool allGiga);
std::vector<PortPoeResult> DerivePoeCodes(const StatusLists& lists, int portCount);
