#include "dialogs/common/address_checks.h"

#include <cctype>
#include <cstdio>

#include "snmp/encodings.h"

bool Ipv4Fields::Complete() const {
    for (int f : field)
        if (f < 0) return false;
    return true;
}

bool Ipv4Fields::AllZero() const {
    for (int f : field)
        if (f > 0) return false;
    return true;
}

bool Ipv4Fields::FirstIs0Or255() const {
    return field[0] <= 0 || field[0] == 255;
}

bool Ipv4Fields::LastIs0Or255() const {
    return field[3] <= 0 || field[3] == 255;
}

std::uint32_t Ipv4Fields::Value() const {
    std::uint32_t v = 0;
    for (int f : field) v = (v << 8) | static_cast<std::uint32_t>(f < 0 ? 0 : f);
    return v;
}

std::string Ipv4Fields::Text() const {
    std::string text;
    for (int i = 0; i < 4; ++i) text += (i ? "." : "") + std::to_string(field[i] < 0 ? 0 : field[i]);
    return text;
}

std::optional<Ipv4Fields> ParseIpv4Fields(const std::string& text, std::string* refusal) {
    auto refuse = [refusal](const char* why) -> std::optional<Ipv4Fields> {
        if (refusal) *refusal = why;
        return std::nullopt;
    };
    Ipv4Fields ip;
    int index = 0, digits = 0, value = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '.';
        if (c == '.') {
            if (index > 3) return refuse("An IP address has four fields.");
            ip.field[index++] = digits ? value : -1;
            digits = value = 0;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            value = value * 10 + (c - '0');
            if (++digits > 3 || value > 255)
                return refuse("Each field of an IP address is a number from 0 to 255.");
        } else if (c != ' ') {
            return refuse("An IP address holds digits and dots only.");
        }
    }
    return ip;
}

std::optional<std::array<unsigned char, 6>> ParseMacText(const std::string& text) {
    if (text.size() != 17) return std::nullopt;
    std::array<unsigned char, 6> mac{};
    for (std::size_t i = 0; i < 17; ++i) {
        const bool dash = i % 3 == 2;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    }
    for (std::size_t b = 0; b < 6; ++b)
        mac[b] = static_cast<unsigned char>(HexDigitValue(text[b * 3]) * 16 + HexDigitValue(text[b * 3 + 1]));
    return mac;
}

MacProblem CheckStationMac(const std::string& text, std::array<unsigned char, 6>* mac) {
    const std::optional<std::array<unsigned char, 6>> bytes = ParseMacText(text);
    if (!bytes) return MacProblem::Format;
    bool zero = true, ones = true;
    for (unsigned char b : *bytes) {
        zero = zero && b == 0x00;
        ones = ones && b == 0xFF;
    }
    if (zero) return MacProblem::Format;
    if (ones) return MacProblem::Broadcast;
    if ((*bytes)[0] & 0x01) return MacProblem::Multicast;
    if (mac) *mac = *bytes;
    return MacProblem::None;
}

std::string DashedHex(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X", static_cast<unsigned char>(bytes[i]));
        text += (i ? "-" : "") + std::string(part);
    }
    return text;
}

std::string MacText(const std::string& bytes) {
    return DashedHex(bytes.substr(0, 6));
}
