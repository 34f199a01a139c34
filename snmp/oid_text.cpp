#include "snmp/oid_text.h"

#include <algorithm>

bool ParseOidText(const std::string& text, OidArcs& arcs) {
    arcs.clear();
    std::size_t pos = (!text.empty() && text[0] == '.') ? 1 : 0;
    if (pos >= text.size()) return false;
    while (true) {
        std::uint64_t value = 0;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + static_cast<std::uint64_t>(text[pos] - '0');
            if (value > 0xFFFFFFFFull) return false;
            ++pos;
            ++digits;
        }
        if (digits == 0 || arcs.size() == 128) return false;
        arcs.push_back(static_cast<std::uint32_t>(value));
        if (pos == text.size()) return true;
        if (text[pos] != '.') return false;
        ++pos;
    }
}

std::string OidArcsText(const OidArcs& arcs) {
    std::string text;
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        if (i) text += '.';
        text += std::to_string(arcs[i]);
    }
    return text;
}

bool OidIsBelow(const OidArcs& oid, const OidArcs& column) {
    return oid.size() > column.size() && std::equal(column.begin(), column.end(), oid.begin());
}
