#pragma once
// LLDP as the three LLDP dialogs read, show and check it: the objects, the names of the ID subtypes,
// the hexadecimal chassis IDs, the timer checks with their messages, and the mapping of a remote-table
// row to its list line. Pure functions, without widgets.

#include <string>
#include <vector>

#include "dialogs/common/choices.h"
#include "snmp/snmp_answer.h"

namespace LldpOid {
inline constexpr const char* kState = "1.3.6.1.4.1.32473.10.75.13.24.1.0";           // 1 on, 2 off
inline constexpr const char* kHoldMultiplier = "1.3.6.1.4.1.32473.10.75.13.24.2.0";  // 2..10
inline constexpr const char* kTxInterval = "1.3.6.1.4.1.32473.10.75.13.24.3.0";      // 5..32768 s
inline constexpr const char* kReinitDelay = "1.3.6.1.4.1.32473.10.75.13.24.4.0";     // 1..10 s
inline constexpr const char* kTxDelay = "1.3.6.1.4.1.32473.10.75.13.24.5.0";         // 1..8192 s
// LLDP-MED Power PSE TLV per port (1 enabled, 2 disabled), instance = port.
inline constexpr const char* kMedPseTlv = "1.3.6.1.4.1.32473.10.75.13.24.7.1.2";

inline constexpr const char* kLocChassisIdSubtype = "1.0.8802.1.1.2.1.3.1.0";
inline constexpr const char* kLocChassisId = "1.0.8802.1.1.2.1.3.2.0";
inline constexpr const char* kLocSysName = "1.0.8802.1.1.2.1.3.3.0";
inline constexpr const char* kLocSysDesc = "1.0.8802.1.1.2.1.3.4.0";

// lldpRemTable: columns 4 (chassis ID subtype) to 10 (system description); instance
// timeMark.localPort.remoteIndex.
inline constexpr const char* kRemEntry = "1.0.8802.1.1.2.1.4.1.1";
std::vector<std::string> RemoteColumns();
}  // namespace LldpOid

// " LLDP Enable ", and the "Power PSE TLV" entries of the MED dialog.
inline constexpr CheckValues kLldpStateValues{1, 2};
inline constexpr Choice kMedTlvChoices[] = {{"Enable", 1}, {"Disable", 2}};

namespace LldpText {
inline constexpr const char* kHoldRange = "The Message TX Hold Multipier should be 2-10";
inline constexpr const char* kIntervalRange = "The Message TX Interval should be 5-32768";
inline constexpr const char* kReinitRange = "The LLDP Reinit Delay should be 1-10";
inline constexpr const char* kDelayRange = "The LLDP TX Delay should be 1-8192";
inline constexpr const char* kDelayQuarter = "LLDP TX Delay should be <= 0.25 * (Message TX Interval)";
inline constexpr const char* kMedWhileDisabled = "The LLDP is disable ,so can not set LLDP MED !";
inline constexpr const char* kRemoteGetFailed = "Get LLDP remote port information unsuccessful!";
inline constexpr const char* kNoRemotePort = "There is no LLDP Remote Port";
}  // namespace LldpText

// 1 "chassisComponent" .. 7 "local"; "" for any other value.
std::string ChassisIdSubtypeName(int subtype);
// 1 "interfaceAlias" .. 7 "local"; "" for any other value.
std::string PortIdSubtypeName(int subtype);
// The octets as "02-11-22-33-44-55"; "" when empty.
std::string ChassisIdText(const std::string& octets);
// A port ID, description or name as received: the text when it is printable UTF-8, else (a MAC
// address as port ID, say) its octets as ChassisIdText does, so binary IDs never show as garbage.
std::string ReceivedText(const std::string& octets);

// The four timer fields as typed, in the dialog's order.
struct LldpTimerTexts {
    std::string holdMultiplier, txInterval, reinitDelay, txDelay;
};
// The first failing check's message, "" when all pass. Each text is read as its leading number (0 when
// none); the TX delay may be at most a quarter of the TX interval.
std::string LldpTimerRefusal(const LldpTimerTexts& texts);

// The local port of a remote-table row: the second-to-last arc of its instance (".0.3.1" -> 3);
// 0 when the instance has fewer than two arcs.
int RemoteLocalPort(const std::string& instance);
// The nine texts of a remote-table list line from one walk answer (the seven columns in order):
// port, entity (`entity`, counting from 1), the two subtype names, the chassis ID in hexadecimal and the
// four received texts.
std::vector<std::string> RemoteLine(const std::string& instance, const std::vector<SnmpBinding>& columns,
                                    int entity);
// A port number of the MED dialog, right-aligned in four characters ("   3").
std::string PaddedPort(int port);
