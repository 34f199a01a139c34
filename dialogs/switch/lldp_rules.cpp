#include "dialogs/switch/lldp_rules.h"

#include <cstdio>

#include "core/text_number.h"
#include "dialogs/common/address_checks.h"

std::vector<std::string> LldpOid::RemoteColumns() {
    std::vector<std::string> columns;
    for (int c = 4; c <= 10; ++c) columns.push_back(std::string(kRemEntry) + "." + std::to_string(c));
    return columns;
}

namespace {

std::string NameOf(int value, const char* const (&names)[7]) {
    return value >= 1 && value <= 7 ? names[value - 1] : "";
}

bool PrintableUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        if (len == 1 && (c < 0x20 || c == 0x7f)) return false;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

}  // namespace

std::string ChassisIdSubtypeName(int subtype) {
    static const char* const names[7] = {"chassisComponent", "interfaceAlias", "portComponent", "macAddress",
                                         "networkAddress",   "interfaceName",  "local"};
    return NameOf(subtype, names);
}

std::string PortIdSubtypeName(int subtype) {
    static const char* const names[7] = {"interfaceAlias", "portComponent",  "macAddress", "networkAddress",
                                         "interfaceName",  "agentCircuitld", "local"};
    return NameOf(subtype, names);
}

std::string ChassisIdText(const std::string& octets) {
    return DashedHex(octets);
}

std::string ReceivedText(const std::string& octets) {
    return PrintableUtf8(octets) ? octets : DashedHex(octets);
}

std::string LldpTimerRefusal(const LldpTimerTexts& t) {
    const long long hold = LeadingInt64(t.holdMultiplier), interval = LeadingInt64(t.txInterval),
                    reinit = LeadingInt64(t.reinitDelay), delay = LeadingInt64(t.txDelay);
    if (hold < 2 || hold > 10) return LldpText::kHoldRange;
    if (interval < 5 || interval > 32768) return LldpText::kIntervalRange;
    if (reinit < 1 || reinit > 10) return LldpText::kReinitRange;
    if (delay < 1 || delay > 8192) return LldpText::kDelayRange;
    if (delay * 4 > interval) return LldpText::kDelayQuarter;
    return {};
}

int RemoteLocalPort(const std::string& instance) {
    const std::size_t last = instance.rfind('.');
    if (last == std::string::npos || last == 0) return 0;
    const std::size_t before = instance.rfind('.', last - 1);
    if (before == std::string::npos) return 0;
    return LeadingInt(instance.substr(before + 1, last - before - 1));
}

std::vector<std::string> RemoteLine(const std::string& instance, const std::vector<SnmpBinding>& columns,
                                    int entity) {
    auto value = [&columns](std::size_t i) { return i < columns.size() ? columns[i].value : std::string(); };
    return {std::to_string(RemoteLocalPort(instance)),
            std::to_string(entity),
            ChassisIdSubtypeName(LeadingInt(value(0))),
            ChassisIdText(value(1)),
            PortIdSubtypeName(LeadingInt(value(2))),
            ReceivedText(value(3)),
            ReceivedText(value(4)),
            ReceivedText(value(5)),
            ReceivedText(value(6))};
}

std::string PaddedPort(int port) {
    char text[16];
    std::snprintf(text, sizeof text, "%4d", port);
    return text;
}
