#include "dialogs/switch/device_config_rules.h"

#include <cstdlib>

std::string DeviceConfigValueText(const std::string& label, const ValuePairs& pairs,
                                  const std::string& answer) {
    if (label.find("Time") != std::string::npos) {
        // Hundredths of a second; TimeTicks reach 2^32 - 1, past the int range, so not LeadingInt.
        const unsigned long long ticks = std::strtoull(answer.c_str(), nullptr, 10);
        return std::to_string(ticks / 360000) + " Hour" + std::to_string(ticks % 360000 / 6000) + " Min";
    }
    for (const auto& [text, value] : pairs)
        if (value == answer) return text;
    return answer;
}

std::string DeviceConfigItemOf(const std::string& answerOid) {
    return answerOid.size() >= 2 ? answerOid.substr(0, answerOid.size() - 2) : std::string();
}

bool DeviceConfigValueOf(const ValuePairs& pairs, const std::string& label, std::string& value) {
    for (const auto& [text, v] : pairs) {
        if (text == label) {
            value = v;
            return true;
        }
    }
    return false;
}
