#pragma once
// Address texts as the dialogs take them from the user: IPv4 addresses field by field (a field may be
// left empty in the address control) and MAC addresses as "00-11-22-33-44-55". Each dialog decides its
// own rules and messages on top of these.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct Ipv4Fields {
    std::array<int, 4> field{-1, -1, -1, -1};  // 0..255, -1 for an empty field
    bool Complete() const;                     // all four fields filled
    bool AllZero() const;                      // 0.0.0.0
    bool FirstIs0Or255() const;
    bool LastIs0Or255() const;
    std::uint32_t Value() const;  // host order; empty fields count as 0
    std::string Text() const;     // "a.b.c.d" (empty fields as 0)
};

// Splits "a.b.c.d" (fields may be empty, e.g. "10..1."); nothing for more than four fields, a field of
// more than three digits, a value above 255 or any other character, with the user's reason in
// `refusal` when given.
std::optional<Ipv4Fields> ParseIpv4Fields(const std::string& text, std::string* refusal = nullptr);

// "XX-XX-XX-XX-XX-XX": exactly 17 characters, "-" at the 3rd, 6th, 9th, 12th and 15th, hexadecimal
// digits (either case) elsewhere. The six bytes, or nothing.
std::optional<std::array<unsigned char, 6>> ParseMacText(const std::string& text);
// What keeps a MAC address text from naming one station: not in the form above or all zero (Format),
// the broadcast address, or any other group address (lowest bit of the first octet set). None when it
// names a station; `mac` then holds its bytes.
enum class MacProblem { None, Format, Broadcast, Multicast };
MacProblem CheckStationMac(const std::string& text, std::array<unsigned char, 6>* mac = nullptr);
// "%02X-%02X-..." of the first six bytes (fewer when the value is shorter).
std::string MacText(const std::string& bytes);
// Every byte as two upper-case digits, separated by "-" (identifiers of any length: LLDP chassis IDs);
// "" for no bytes.
std::string DashedHex(const std::string& bytes);
