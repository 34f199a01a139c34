#include "snmp/oid_text.h"

#include <algorithm>
#include <charconv>

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
    if (arcs.empty()) return text;
    text = std::to_string(arcs[0]);
    AppendArcsText(text, arcs, 1);
    return text;
}

void AppendArcsText(std::string& text, const OidArcs& arcs, std::size_t first) {
    // Every answer of a walk passes through here: one buffer, one append.
    char buffer[128 * 11];
    char* end = buffer;
    for (std::size_t i = first; i < arcs.size(); ++i) {
        *end++ = '.';
        end = std::to_chars(end, buffer + sizeof buffer, arcs[i]).ptr;
    }
    text.append(buffer, end);
}

bool OidIsBelow(const OidArcs& oid, const OidArcs& column) {
    return oid.size() > column.size() && std::equal(column.begin(), column.end(), oid.begin());
}
