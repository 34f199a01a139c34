#include "dialogs/mib/mib_value_maps.h"

#include <cstdio>
#include <vector>

std::string LinkStatusText(const std::string& value) {
    if (value == "1") return "Connected";
    if (value == "2") return "UnConnected";
    if (value == "3") return "Test";
    return "Unknown";
}

std::string SpeedText(const std::string& value) {
    // Gauge32 goes up to 4294967295, past what a 32-bit int holds.
    std::uint64_t bps = 0;
    if (!ParseUnsigned(value, bps)) bps = 0;
    return std::to_string(bps / 1000000) + "M";
}

std::string TcpStateText(const std::string& value) {
    static const char* const kStates[] = {"listen",   "synSent",  "synReceived", "established",
                                          "finWait1", "finWait2", "closeWait",   "lastAck",
                                          "closing",  "timeWait", "deleteTCB"};
    std::uint64_t v = 0;
    if (ParseUnsigned(value, v, 1000) && v >= 2 && v <= 12) return kStates[v - 2];
    return "closed";
}

std::string FdbStatusText(const std::string& value) {
    switch (value.empty() ? '\0' : value[0]) {
        case '1':
            return "Other";
        case '2':
            return "Invalid";
        case '3':
            return "Learn";
        case '4':
            return "Own";
        case '5':
            return "Static";
        default:
            return value;
    }
}

std::string MacFromIndex(const std::string& suffix) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : suffix) {
        if (c == '.') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    std::size_t first = parts.size() > 6 ? parts.size() - 6 : 0;
    std::string mac;
    for (std::size_t i = first; i < parts.size(); ++i) {
        std::uint64_t byte = 0;
        if (!ParseUnsigned(parts[i], byte, 255)) return "";
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(byte));
        if (!mac.empty()) mac += '-';
        mac += buf;
    }
    return mac;
}

std::string UpTimeText(std::uint64_t ticks) {
    std::uint64_t hours = ticks / 360000;
    std::uint64_t minutes = (ticks - hours * 360000) / 6000;
    return std::to_string(hours) + " Hour " + std::to_string(minutes) + " Min";
}

std::string UpTimeText(const std::string& ticks) {
    std::uint64_t t = 0;
    if (!ParseUnsigned(ticks, t)) t = 0;
    return UpTimeText(t);
}

std::string StpPortStateText(const std::string& value) {
    static const char* const kStates[] = {"Disabled", "Blocked", "Monitored", "Learn", "Forward", "Token"};
    std::uint64_t v = 0;
    if (ParseUnsigned(value, v, 1000) && v >= 1 && v <= 6) return kStates[v - 1];
    return value;
}

std::string StpEnableText(const std::string& value) {
    return value == "1" ? "Y" : "N";
}

namespace {
std::string HexJoined(const std::string& octets, std::size_t count, char sep) {
    std::string out;
    for (std::size_t i = 0; i < octets.size() && i < count; ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(octets[i]));
        if (i) out += sep;
        out += buf;
    }
    return out;
}
}  // namespace

std::string BridgeIdText(const std::string& octets) {
    return HexJoined(octets, 8, ':');
}

std::string DesignatedPortText(const std::string& octets) {
    return HexJoined(octets, 2, ' ');
}

long FieldValue(const std::string& text) {
    std::uint64_t v = 0;
    if (!ParseUnsigned(text, v, 1000000000)) return -1;
    return static_cast<long>(v);
}
