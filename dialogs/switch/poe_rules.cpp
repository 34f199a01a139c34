#include "dialogs/switch/poe_rules.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "core/text_number.h"

void PoeTimeRanges::Add(int index, const std::string& name) {
    if (static_cast<int>(indexes.size()) >= kMaxPoeTimeRanges) return;
    indexes.push_back(index);
    names.push_back(name);
}

void PoeTimeRanges::Clear() {
    indexes.clear();
    names.clear();
}

std::string PoeTimeRanges::NameOf(int index) const {
    if (index == 0) return PoeText::kNoRange;
    for (size_t i = 0; i < indexes.size(); ++i)
        if (indexes[i] == index) return names[i];
    return {};
}

int PoeTimeRanges::IndexOf(const std::string& name) const {
    int index = 0;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) index = indexes[i];
    return index;
}

std::vector<std::string> PoeLineTexts(const std::vector<SnmpBinding>& b, int row,
                                      const PoeTimeRanges& ranges) {
    if (b.size() < 11) return {};
    auto num = [&b](size_t i) { return LeadingInt(b[i].value); };
    static const char* const kClasses[] = {"Auto", "Class 1", "Class 2", "Class 3", "Class 4"};
    std::string limit;
    if (num(9) == 1)
        limit = b[10].value;
    else if (num(3) >= 1 && num(3) <= 5)
        limit = kClasses[num(3) - 1];
    const int priority = num(2);
    return {std::to_string(row),
            num(0) == 1 ? "Enable" : "Disable",
            ranges.NameOf(num(1)),
            priority == 1   ? "Low"
            : priority == 2 ? "Normal"
                            : "High",
            limit,
            b[4].value,
            b[5].value,
            b[6].value,
            b[7].value,
            b[8].value};
}

float UserLimitWatts(const std::string& text) {
    // As atof reads it, but independent of the locale a Qt program runs under.
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (at < text.size() && text[at] == '+') ++at;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    (void)end;
    return ec == std::errc() ? static_cast<float>(value) : 0.0f;
}

std::string CheckUserLimit(const std::string& text, int port) {
    const float w = UserLimitWatts(text);
    // Written so that a text that is not a number ("nan") fails too.
    if (!(w >= 1.0f && w <= 30.0f)) return PoeText::kLimitRange;
    // The switch counts in steps of 0.2 W; single precision decides what "a multiple" is.
    const float steps = w * 10.0f / 2.0f;
    if (std::fabs(steps - std::floor(steps + 0.5f)) > 0.000001) return PoeText::kLimitStep;
    // Only ports 1-4 can deliver more than 802.3af power.
    if (w > 15.4f && (port < 1 || port > 4)) return PoeText::kLimitPort;
    return {};
}
