#include "core/text_number.h"

#include <cctype>
#include <climits>

long long LeadingInt64(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned long long value = 0;
    const unsigned long long limit = static_cast<unsigned long long>(LLONG_MAX) + (negative ? 1 : 0);
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (value > (limit - digit) / 10) {
            value = limit;  // saturated; further digits change nothing
            break;
        }
        value = value * 10 + digit;
    }
    if (negative) return value == limit ? LLONG_MIN : -static_cast<long long>(value);
    return static_cast<long long>(value);
}

int LeadingInt(const std::string& text) {
    const long long value = LeadingInt64(text);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool ParseUnsigned(const std::string& text, std::uint64_t& out, std::uint64_t max) {
    if (text.empty()) return false;
    std::uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
        if (v > max) return false;
    }
    out = v;
    return true;
}
