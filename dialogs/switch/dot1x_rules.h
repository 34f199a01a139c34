#pragma once
// 802.1X as its two dialogs check and write it: the objects, the checks of the global Apply with their
// messages, the rule that keeps at least one port forceAuthorized, and the batches of the port-control
// writes. Pure functions, without widgets.

#include <string>
#include <vector>

#include "dialogs/common/address_checks.h"
#include "dialogs/common/choices.h"

namespace Dot1xOid {
inline constexpr const char* kServerAddress = "1.3.6.1.4.1.32473.10.75.13.11.1.1.0";  // IpAddress
inline constexpr const char* kKey = "1.3.6.1.4.1.32473.10.75.13.11.1.2.0";            // octets
inline constexpr const char* kState = "1.3.6.1.4.1.32473.10.75.13.11.2.1.0";          // 1 on, 2 off
inline constexpr const char* kQuietPeriod = "1.3.6.1.4.1.32473.10.75.13.11.2.2.0";
inline constexpr const char* kTxPeriod = "1.3.6.1.4.1.32473.10.75.13.11.2.3.0";
inline constexpr const char* kSuppTimeout = "1.3.6.1.4.1.32473.10.75.13.11.2.4.0";
inline constexpr const char* kServerTimeout = "1.3.6.1.4.1.32473.10.75.13.11.2.5.0";
inline constexpr const char* kMaxReq = "1.3.6.1.4.1.32473.10.75.13.11.2.6.0";
inline constexpr const char* kReAuthPeriod = "1.3.6.1.4.1.32473.10.75.13.11.2.7.0";   // Unsigned32
inline constexpr const char* kReAuthEnabled = "1.3.6.1.4.1.32473.10.75.13.11.2.8.0";  // 1 on, 2 off
// Port table, instance = port: control 1 forceUnauthorized, 2 auto, 3 forceAuthorized; status
// 1 authorized, 2 unauthorized.
inline constexpr const char* kPortControl = "1.3.6.1.4.1.32473.10.75.13.11.2.9.1.2";
inline constexpr const char* kPortStatus = "1.3.6.1.4.1.32473.10.75.13.11.2.9.1.3";
}  // namespace Dot1xOid

// "Enable 802.1X", the "ReAuthEnabled" entries, and the port dialog's "Control:" entries with the port
// control code each writes.
inline constexpr CheckValues kDot1xStateValues{1, 2};
inline constexpr Choice kReAuthChoices[] = {{"Enable", 1}, {"Disabled", 2}};
inline constexpr Choice kPortControlChoices[] = {
    {"forceUnauthorized", 1}, {"auto", 2}, {"forceAuthorized", 3}};

namespace Dot1xText {
inline constexpr const char* kInvalidServer = "Invalid RADIUS Server IP Address.";
inline constexpr const char* kInvalidKey = "Invalid Key.";
inline constexpr const char* kConfirmKey = "Please confirm the key again !";
inline constexpr const char* kTrunkPort = "Cannot add an aggregated link to the 802.1X-enabled port";
inline constexpr const char* kAllForceUnauthorized =
    "Could not set all port  Force Unauthorized to the port access control.";
inline constexpr const char* kAllAuto = "Could not set all port AUTO  to the port access control.";
inline constexpr const char* kAllAutoOrForceUnauthorized =
    "Could not set all port AUTO or Force Unauthorized to the port access control.";
}  // namespace Dot1xText

// The most characters a RADIUS key may have.
inline constexpr int kMaxKeyChars = 33;

// "0.0.0.0", or a first or last field of 0 or 255 (an empty field counts as 0).
std::string RadiusAddressRefusal(const Ipv4Fields& address);
std::string KeyRefusal(const std::string& key, const std::string& confirmation);

// The six timer fields as typed, in the order they are checked.
struct Dot1xTimerTexts {
    std::string quietPeriod, txPeriod, suppTimeout, serverTimeout, maxReq, reAuthPeriod;
};
// The first failing range check's message, "" when all pass. Each text must be decimal digits only
// (empty text, letters or other scripts' digits fail the range), read 64 bits wide, so a ReAuthPeriod
// above 4294967295 is refused rather than wrapped.
std::string Dot1xTimerRefusal(const Dot1xTimerTexts& texts);
// The global Apply's checks in their order (the server, the key, the timers): the first refusal, or "".
std::string Dot1xApplyRefusal(const Ipv4Fields& server, const std::string& key,
                              const std::string& confirmation, const Dot1xTimerTexts& timers);

// Port control codes.
enum Dot1xControl : int { kForceUnauthorized = 1, kAuto = 2, kForceAuthorized = 3 };
// Setting ports from..to (1-based) to `newCode` must leave at least one port forceAuthorized:
// the message that refuses it, or "". `portControl` holds the code last read for each port (index
// port - 1, 0 when unread).
std::string AllPortsRefusal(const std::vector<int>& portControl, int from, int to, int newCode);

// The ports of each set request of a port-control Apply: the first port alone, then 30 ports per
// request, the rest in the last one.
std::vector<std::vector<int>> PortControlBatches(int from, int to);

// "authorized", "unauthorized", else "other".
std::string PortStatusText(int status);
// "forceUnauthorized", "auto", "forceAuthorized", else "other".
std::string PortControlText(int control);
