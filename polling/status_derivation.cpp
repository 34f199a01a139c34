#include "polling/status_derivation.h"

#include <algorithm>
#include <cstdlib>

std::string TopSpeedText(bool allGiga) {
    return allGiga ? "1000000000" : "100000000";
}

LinkCode DeriveLinkCode(const std::string& adminStatus, const std::string& operStatus,
                        const std::string& speed, bool allGiga) {
    if (adminStatus != "1") return kLinkDisabled;
    if (operStatus != "1") return kLinkUnknown;
    if (speed == TopSpeedText(allGiga)) return kLinkTopSpeed;
    return kLinkBelowTop;
}

PoeCode DerivePoeCode(const std::string& text) {
    if (text == "POWER ON") return kPoeOn;
    if (text == "POWER OFF" || text == "Time-based OFF") return kPoeOff;
    return kPoeOther;
}

std::string StripPoePrefix(const std::string& raw) {
    return raw.size() > 2 ? raw.substr(2) : std::string();
}

double PowerValue(const std::string& text) {
    // strtod stops at the first character that is not part of a number, as the device's "7.5 W" would.
    return std::strtod(text.c_str(), nullptr);
}

bool IsPowerAtLimit(const std::string& text) {
    return PowerValue(text) <= 7.0;
}

namespace {
// Like atoi, but only when the whole text is a plain decimal number that fits.
std::optional<int> ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::atoi(text.c_str());
}

int BoundedPortCount(int portCount) {
    return std::clamp(portCount, 0, kMaxPorts);
}
}  // namespace

std::optional<int> RowIndexFromSuffix(const std::string& suffix) {
    auto dot = suffix.find('.');
    if (dot == std::string::npos) return std::nullopt;
    std::string rest = suffix.substr(dot + 1);
    // A multi-arc instance ("1.5") keeps its first arc, as atoi would read it.
    rest = rest.substr(0, rest.find('.'));
    return ParsePort(rest);
}

std::vector<PortLinkResult> DeriveLinkCodes(const StatusLists& lists, int portCount, bool allGiga) {
    std::vector<PortLinkResult> out;
    const int n = BoundedPortCount(portCount);
    for (const StatusRow& row : lists.rows) {
        LinkCode code = DeriveLinkCode(row.adminStatus, row.operStatus, row.speed, allGiga);
        auto port = ParsePort(row.rowIndex);
        if (!port || *port < 1 || *port > n) continue;
        out.push_back({*port, code, std::atoi(row.vendor.c_str()), row.speed});
    }
    return out;
}

std::vector<PortPoeResult> DerivePoeCodes(const StatusLists& lists, int portCount) {
    std::vector<PortPoeResult> out;
    const int n = BoundedPortCount(portCount);
    for (const StatusRow& row : lists.rows) {
        auto port = ParsePort(row.rowIndex);
        if (!port || *port < 1 || *port > n) continue;
        if (row.poeText)
            out.push_back({*port, DerivePoeCode(*row.poeText), *row.poeText});
        else
            out.push_back({*port, kPoeNone, {}});
    }
    return out;
}

namespace {
std::string SpeedText(const std::string& bps) {
    const long long v = std::atoll(bps.c_str());
    if (v >= 1000000000 && v % 1000000000 == 0) return std::to_string(v / 1000000000) + " Gbit/s";
    if (v >= 1000000) return std::to_string(v / 1000000) + " Mbit/s";
    return bps + " bit/s";
}
}  // namespace

std::string PortSummary(int port, const PortView& v) {
    std::string out = "Port " + std::to_string(port) + "\nLink: ";
    if (!v.answered)
        out += "unknown";
    else if (v.link == kLinkDisabled)
        out += "disabled";
    else if (v.link == kLinkUnknown)
        out += "down";
    else
        out += "up, " + SpeedText(v.speed);
    out += "\nPoE: ";
    switch (v.answered ? v.poe : kPoeUnknown) {
        case kPoeNone:
            out += "none";
            break;
        case kPoeUnknown:
            out += "unknown";
            break;
        case kPoeOther:
            out += v.poeText + " (fault)";
            break;
        default:
            out += v.poeText;
            break;
    }
    if (v.answered && v.measured)
        out += "\n" + v.measured->watts + " W, " + v.measured->volts + " V, " + v.measured->milliamps + " mA";
    return out;
}
