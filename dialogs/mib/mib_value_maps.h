#pragma once
// How the public MIB viewers turn the values of standard objects into the texts of their lists and
// fields. Pure functions: the dialogs and their tests share them.

#include <cstdint>
#include <string>

#include "core/text_number.h"  // ParseUnsigned
#include "dialogs/common/choices.h"

// ifOperStatus: "1" Connected, "2" UnConnected, "3" Test, anything else Unknown.
std::string LinkStatusText(const std::string& value);
// ifSpeed in bit/s as whole megabits followed by "M" ("10000000" -> "10M"); text that is not a number
// counts as 0.
std::string SpeedText(const std::string& value);
// tcpConnState: "2" listen ... "12" deleteTCB; anything else closed.
std::string TcpStateText(const std::string& value);
// dot1qTpFdbStatus by its first character: Other, Invalid, Learn, Own, Static; other values unchanged.
std::string FdbStatusText(const std::string& value);
// The MAC address at the end of a forwarding-database row index (".1.0.17.34.51.68.85" ->
// "00-11-22-33-44-55"). An index with fewer than six numbers gives what it has; numbers above 255 or
// text that is not a number give "".
std::string MacFromIndex(const std::string& suffix);
// sysUpTime in hundredths of a second as "H Hour M Min".
std::string UpTimeText(std::uint64_t ticks);
std::string UpTimeText(const std::string& ticks);
// dot1dStpPortState: Disabled, Blocked, Monitored, Learn, Forward, Token; other values unchanged.
std::string StpPortStateText(const std::string& value);
// dot1dStpPortEnable: "1" Y, anything else N.
std::string StpEnableText(const std::string& value);
// Bridge identifiers (8 octets) as "%02X:" * 7 + "%02X". A shorter value shows only the octets it has;
// octets past the eighth are not shown.
std::string BridgeIdText(const std::string& octets);
// dot1dStpPortDesignatedPort (2 octets) as "%02X %02X"; shorter values show the octets they have.
std::string DesignatedPortText(const std::string& octets);
// Text of a number field as a value; -1 for text that is not a number (it then fails every range).
long FieldValue(const std::string& text);

// "Enable RSTP" and the "STP Version:" entries of the bridge dialog, and the port dialog's "Enable:" box,
// with the values each writes. (The priority lists write their entries' own numbers.)
inline constexpr CheckValues kRstpStateValues{1, 2};
inline constexpr Choice kStpVersionChoices[] = {{"RSTP", 2}, {"STP Compatible", 0}};
inline constexpr CheckValues kStpPortEnableValues{1, 2};
