#pragma once
// Numeric OIDs as dotted text, parsed without the MIB machinery (the module loads no MIBs).

#include <cstdint>
#include <string>
#include <vector>

using OidArcs = std::vector<std::uint32_t>;

// "1.3.6.1.2.1.1.5.0" or ".1.3.6..." to arcs. False for empty text, empty arcs, non-digits, arcs above
// 4294967295 and more than 128 arcs (the protocol's limit).
bool ParseOidText(const std::string& text, OidArcs& arcs);
// Arcs to dotted text without a leading dot.
std::string OidArcsText(const OidArcs& arcs);
// Appends "." and the arcs from `first` on (an instance suffix after its column's text).
void AppendArcsText(std::string& text, const OidArcs& arcs, std::size_t first);
// True when `oid` lies strictly below `column` (column is a proper prefix of it).
bool OidIsBelow(const OidArcs& oid, const OidArcs& column);
