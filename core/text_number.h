#pragma once

#include <cstdint>
#include <string>

// The leading decimal number of `text` as the module reads numbers from the device, files and fields
// (blanks, a sign, digits; anything else ends it; no digits give 0), saturated to the int range
// instead of overflowing.
int LeadingInt(const std::string& text);
// The same, 64 bits wide, for fields whose range reaches past int (unsigned 32-bit timers): a value
// just above the range stays above it instead of wrapping into it.
long long LeadingInt64(const std::string& text);
// Decimal text as typed into a number field: ASCII digits only, nothing else (no blanks, sign or other
// digits); false for empty text, any other character or a value above `max`.
bool ParseUnsigned(const std::string& text, std::uint64_t& out, std::uint64_t max = UINT64_MAX / 10);
