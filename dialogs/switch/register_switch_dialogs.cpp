#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/arp_spoofing_dlg.h"
#include "dialogs/switch/dhcp_screening_dlg.h"
#include "dialogs/switch/multicast_filtering_dlg.h"
#include "dialogs/switch/surveillance_oui_dlg.h"
#include "dialogs/switch/surveillance_vlan_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
constexpr int kVlanConfigurationCommand = 32834;   // "&VLAN Configuration..."
constexpr int kSurveillanceVlanCommand = 32854;    // "Auto Surveillance VLAN Setting "
constexpr int kSurveillanceOuiCommand = 32855;     // no menu item: the settings dialog's "OUI Table..."
constexpr int kMulticastFilteringCommand = 32830;  // "&Multicast Filtering Mode configuration..."
constexpr int kArpSpoofingCommand = 32833;         // "&ARP Spoofing Prevention Setting..."
constexpr int kDhcpScreeningCommand = 32829;       // "&DHCP Server Screening Port Configuration..."

template <class T>
void Register(int command) {
    RegisterDialog(command,
                   [](QWidget* parent) -> std::unique_ptr<QDialog> { return std::make_unique<T>(parent); });
}
}  // namespace

void RegisterSwitchDialogs() {
    Register<CVlanConfigDlg>(kVlanConfigurationCommand);
    Register<CSurveillanceVlanDlg>(kSurveillanceVlanCommand);
    Register<CSurveillanceOuiDlg>(kSurveillanceOuiCommand);
    Register<CMulticastFilteringDlg>(kMulticastFilteringCommand);
    Register<CArpSpoofingDlg>(kArpSpoofingCommand);
    Register<CDhcpScreeningDlg>(kDhcpScreeningCommand);
}
