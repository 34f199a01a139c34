#include "dialogs/switch/port_config_rules.h"

#include <algorithm>

int CombinationPortCount(int portCount) {
    switch (portCount) {
        case 16:
        case 24:
        case 48:
            return 4;
        case 10:
            return 2;
        default:
            return 0;
    }
}

std::string SpeedText(int code, bool operating, bool combinationPort, int medium) {
    if (combinationPort && code >= kSpeed1000Full && code <= kSpeed10Half) {
        // Fiber modules have no 10M forms.
        const bool fiber = (medium == kMediumFiber100 || medium == kMediumFiber1000) && code <= kSpeed100Half;
        static const char* const speeds[] = {"1000M", "100M", "100M", "10M", "10M"};
        const bool half = code == kSpeed100Half || code == kSpeed10Half;
        return std::string(speeds[code - 1]) + (fiber ? " F " : " C ") + (half ? "Half" : "Full");
    }
    static const char* const texts[] = {"1000MFull", "100MFull", "100MHalf", "10MFull",
                                        "10MHalf",   "Auto",     "Disable"};
    if (code >= kSpeed1000Full && code <= kSpeedDisable) return texts[code - 1];
    return operating ? "Down" : std::to_string(code);
}

std::string FlowControlText(int code) {
    return code == 1 ? "Enable" : "Disable";
}

std::string OperFlowControlText(int code) {
    return code == 1 ? "Enabled" : "Disabled";
}

std::string PriorityText(int code) {
    static const char* const texts[] = {"Middle", "High", "Highest"};
    return code >= 0 && code <= 2 ? texts[code] : std::to_string(code);
}

namespace {

int At(const std::vector<int>& v, int port) {
    return port >= 1 && port <= static_cast<int>(v.size()) ? v[port - 1] : 0;
}

}  // namespace

bool IsForcedSpeed(int speed) {
    return speed >= kSpeed1000Full && speed <= kSpeed10Half;
}

std::string PortApplyRefusal(const PortApplyInput& in, int port, int speed) {
    if (port < 1 || port > static_cast<int>(in.speed.size())) return PortText::kSelectPort;
    const std::string n = std::to_string(port);
    const int trunk = At(in.trunkOf, port);
    const int ports = static_cast<int>(in.speed.size());
    for (int p = 1; trunk != 0 && p <= ports; ++p)
        if (p != port && At(in.trunkOf, p) == trunk && At(in.speed, p) != speed) return PortText::kTrunkSpeed;
    if (speed == kSpeedDisable) {
        bool othersDisabled = true;
        for (int p = 1; p <= ports; ++p)
            othersDisabled = othersDisabled && (p == port || At(in.speed, p) == kSpeedDisable);
        if (othersDisabled) return PortText::kDisableAll;
    }
    const int medium = At(in.medium, port);
    if (speed == kSpeed1000Full && medium == kMediumCopper100 && !in.allGiga)
        return "Port" + n + " can not support 1000M speed.";
    if (speed == kSpeedAuto && medium == kMediumFiber100)
        return "Fiber Port" + n + " with 100Base-x SFP Module can not support in Auto mode.";
    if (speed >= kSpeed100Full && speed <= kSpeed10Half && medium == kMediumFiber1000)
        return "Fiber Port" + n + " with 1000Base-x SFP Module can not support this speed.";
    if (medium == kMediumFiber100 && speed != kSpeed100Full && speed != kSpeed100Half &&
        speed != kSpeedDisable)
        return "Fiber Port" + n + " with 100Base-x SFP Module can not support this speed.";
    if (trunk != 0 && (speed == kSpeed100Half || speed == kSpeed10Half))
        return "LA port" + n + " can not support in half-duplex mode.";
    return {};
}
