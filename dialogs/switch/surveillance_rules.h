#pragma once
// What the two auto surveillance VLAN dialogs decide without a widget or a request: the refusals of the
// global Apply, the checks of a new user-defined OUI (each dialog with its own texts), the OUI table's
// index and the value names of its lists.

#include <string>
#include <vector>

#include "dialogs/common/choices.h"

// Objects of the surveillance dialogs (the VLAN, voice VLAN and asymmetric mode objects are VlanOid's).
namespace SurveillanceOid {
inline constexpr const char* kState = "1.3.6.1.4.1.32473.10.75.13.26.1.1.0";
inline constexpr const char* kVlanId = "1.3.6.1.4.1.32473.10.75.13.26.1.2.0";
inline constexpr const char* kPriority = "1.3.6.1.4.1.32473.10.75.13.26.1.3.0";
inline constexpr const char* kOuiAddress = "1.3.6.1.4.1.32473.10.75.13.26.2.1.1.1";
inline constexpr const char* kOuiDescription = "1.3.6.1.4.1.32473.10.75.13.26.2.1.1.2";
inline constexpr const char* kOuiMask = "1.3.6.1.4.1.32473.10.75.13.26.2.1.1.3";
inline constexpr const char* kOuiType = "1.3.6.1.4.1.32473.10.75.13.26.2.1.1.4";
inline constexpr const char* kOuiStatus = "1.3.6.1.4.1.32473.10.75.13.26.2.1.1.5";
}  // namespace SurveillanceOid

namespace SurveillanceText {
inline constexpr const char* kAsymmetric = "Auto Surveillance Vlan can not support in Asymmetric VLAN mode.";
inline constexpr const char* kVoiceVlanId = "The vlan ID already is voice vlan ID.";
inline constexpr const char* kInvalidDescription = "Invalid Description.";
inline constexpr const char* kInvalidVlanDescription = "Invalid Vlan Description.";
inline constexpr const char* kMacFormat = "Please enter correct MAC format(ex:00-00-00-00-00-01)";
inline constexpr const char* kBroadcast = "Broadcast MAC is not allowed.";
inline constexpr const char* kMulticast = "Multicast MAC is not allowed.";
inline constexpr const char* kMulticastOuiDialog = "Multicast MAC  is not allowed.";
inline constexpr const char* kDefaultOui = "This OUI is default, please select the default mode!";
inline constexpr const char* kExists = "The OUI is already exist!";
inline constexpr const char* kFull = "OUI Table is full,Maximum user defined OUI is 5.";
inline constexpr const char* kSelectDelete = "Please Selecte the OUI Entry you would to delete";
inline constexpr const char* kDefaultDelete = "The default Surveillance OUI can not be deleted.";
}  // namespace SurveillanceText

// User-defined OUIs the switch keeps besides its default one.
inline constexpr int kMaxUserOuis = 5;
// Longest description accepted (characters); the switch keeps no more.
inline constexpr int kMaxOuiDescription = 32;

// The global Apply's refusal ("" when it may write): asymmetric VLAN mode on (state 1), or the chosen
// VLAN being the enabled voice VLAN.
std::string SurveillanceApplyRefusal(int asymmetricState, int voiceState, int voiceVlanId, int chosenVlanId);

// Which dialog checks a new OUI: the settings dialog or the OUI table dialog (their texts differ).
enum class OuiForm { Settings, OuiTable };

// The first refusal of a new user-defined OUI ("" when it may be added), in the dialog's order:
// description, address form, broadcast (settings dialog only), multicast, the default OUI, already
// listed, table full. `listed` holds the six address bytes of every listed entry, default included.
std::string OuiAddRefusal(OuiForm form, const std::string& description, const std::string& macText,
                          const std::vector<std::string>& listed);

// True for an address inside the switch's default OUI 5A-C2-91.
bool IsDefaultOui(const std::string& addressBytes);
// Listed entries that count towards the user-defined limit.
int UserOuiCount(const std::vector<std::string>& listed);

// The OUI table's index: the six address bytes as decimal sub-identifiers (".90.194.145.0.0.0"); ""
// unless there are six bytes.
std::string OuiIndex(const std::string& addressBytes);
// The six address bytes of an index suffix, or "" when it is not six numbers of 0..255.
std::string OuiBytesFromIndex(const std::string& suffix);

// "Enable Auto Surveillance VLAN", the "Priority" entries, and the "Component Type " entries a user may
// choose, with the values each writes.
inline constexpr CheckValues kSurveillanceStateValues{1, 2};
inline constexpr Choice kSurveillancePriorityChoices[] = {{"Highest", 0}, {"High", 1}, {"Medium", 2}};
inline constexpr Choice kComponentTypeChoices[] = {{"Video_Management_Server", 0},
                                                   {"VMS_Client", 1},
                                                   {"Video_Encoder", 2},
                                                   {"Network_Storage", 3},
                                                   {"Other_IP_Surveillance_Devices", 4}};
// The component types' names, with "Veltra_Surveillance_Device" (5) of the default entry; the number
// itself otherwise.
std::string ComponentTypeText(int type);
