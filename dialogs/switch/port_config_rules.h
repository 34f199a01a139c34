#pragma once
// What the Port Configuration dialog decides without a widget or a request: the list texts of the
// speed, flow-control and priority codes (with the medium on combination ports), and the checks of
// Apply in their order. The dialog shows the returned texts as they are.

#include <string>
#include <vector>

#include "dialogs/common/choices.h"

// Objects of the port table (instance the port number) and the default priority.
namespace PortOid {
inline constexpr const char* kSpeed = "1.3.6.1.4.1.32473.10.75.13.1.13.1.2";
inline constexpr const char* kOperMode = "1.3.6.1.4.1.32473.10.75.13.1.13.1.3";
inline constexpr const char* kFlowControl = "1.3.6.1.4.1.32473.10.75.13.1.13.1.5";
inline constexpr const char* kPriority = "1.3.6.1.4.1.32473.10.75.13.12.3.1.1.2";
inline constexpr const char* kOperFlowControl = "1.3.6.1.4.1.32473.10.75.13.1.13.1.6";
inline constexpr const char* kMedium = "1.3.6.1.4.1.32473.10.75.13.1.13.1.7";
}  // namespace PortOid

namespace PortText {
inline constexpr const char* kSelectPort = "Please Select one port !";
inline constexpr const char* kTrunkSpeed = "LA port can not support in different speed.";
inline constexpr const char* kDisableAll = "Sorry, you cannot disable all ports.";
inline constexpr const char* kForceQuestion =
    "The speed is set to force mode. \n* The speed mode must be the same as the counterpart. ";
inline constexpr const char* kFlowQuestion =
    "QoS works best when Flow Control is disabled. \n* When Flow Control is enabled.QoS may not perform "
    "accurate bandwidth allocation. \n* Do you still want to enable Flow Control?. ";
}  // namespace PortText

// Speed/duplex codes: 1 1000M-Full, 2 100M-Full, 3 100M-Half, 4 10M-Full, 5 10M-Half, 6 Auto, 7 Disable.
enum PortSpeed : int {
    kSpeed1000Full = 1,
    kSpeed100Full = 2,
    kSpeed100Half = 3,
    kSpeed10Full = 4,
    kSpeed10Half = 5,
    kSpeedAuto = 6,
    kSpeedDisable = 7
};
// Medium codes of the port table: 1 copper without 1000M, 3 fiber with a 100Base-x module, 4 fiber
// with a 1000Base-x module, 0 anything else.
enum PortMedium : int { kMediumCopper100 = 1, kMediumFiber100 = 3, kMediumFiber1000 = 4 };

// The "PortControlSpeed:" entries with the speed/duplex code each writes, and the "FlowControlMode:" ones.
inline constexpr Choice kSpeedChoices[] = {{"1000M-Full", kSpeed1000Full}, {"100M-Full", kSpeed100Full},
                                           {"100M-Half", kSpeed100Half},   {"10M-Full", kSpeed10Full},
                                           {"10M-Half", kSpeed10Half},     {"Auto", kSpeedAuto},
                                           {"Disable", kSpeedDisable}};
inline constexpr Choice kFlowControlChoices[] = {{"Enable", 1}, {"Disable", 2}};

// Combination ports of a model: the last 4 of a 16-, 24- or 48-port switch, the last 2 of a 10-port one.
int CombinationPortCount(int portCount);
// The list's text of a configured (or, with `operating`, an operating) speed code; on a combination
// port the text names the medium ("1000M F Full"). Operating codes outside 1..7 read "Down".
std::string SpeedText(int code, bool operating, bool combinationPort, int medium);
std::string FlowControlText(int code);      // "Enable" (1), "Disable"
std::string OperFlowControlText(int code);  // "Enabled" (1), "Disabled"
std::string PriorityText(int code);         // "Middle" (0), "High" (1), "Highest" (2), else the number

// What Apply's checks look at: per port (index port - 1) the configured speed as listed, the medium code
// and the trunk (0 none).
struct PortApplyInput {
    std::vector<int> speed, medium, trunkOf;
    bool allGiga = false;
};

// Checks 1 to 8 of Apply for `port` (0: none selected) and the chosen speed code: the first refusal's
// text, or "" when the change may go on to the questions.
std::string PortApplyRefusal(const PortApplyInput& in, int port, int speed);
// Whether the speed is forced (a question first), i.e. neither Auto nor Disable.
bool IsForcedSpeed(int speed);
