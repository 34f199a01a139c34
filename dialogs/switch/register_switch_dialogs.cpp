#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/arp_spoofing_dlg.h"
#include "dialogs/switch/device_config_dlg.h"
#include "dialogs/switch/dhcp_screening_dlg.h"
#include "dialogs/switch/dot1x_config_dlg.h"
#include "dialogs/switch/firmware_dlg.h"
#include "dialogs/switch/lldp_global_dlg.h"
#include "dialogs/switch/lldp_med_dlg.h"
#include "dialogs/switch/lldp_remote_dlg.h"
#include "dialogs/switch/multicast_filtering_dlg.h"
#include "dialogs/switch/poe_config_dlg.h"
#include "dialogs/switch/port_config_dlg.h"
#include "dialogs/switch/surveillance_oui_dlg.h"
#include "dialogs/switch/surveillance_vlan_dlg.h"
#include "dialogs/switch/syslog_dlg.h"
#include "dialogs/switch/time_range_dlg.h"
#include "dialogs/switch/trunk_config_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
template <class T>
void Register(int commandId) {
    RegisterDialog(commandId,
                   [](QWidget* parent) -> std::unique_ptr<QDialog> { return std::make_unique<T>(parent); });
}
}  // namespace

// Each dialog under its menu command (the ids of the main window's menu).
void RegisterSwitchDialogs() {
    Register<CVlanConfigDlg>(32834);          // "&VLAN Configuration..."
    Register<CFirmwareDlg>(32823);            // firmware and configuration upgrade/backup
    Register<CSyslogDlg>(32832);              // syslog host
    Register<CDot1xConfigDlg>(32792);         // "&802.1X Configuration..."
    Register<CLldpGlobalDlg>(32825);          // "&LLDP Global Setting"
    Register<CLldpRemoteDlg>(32826);          // "&LLDP Remote Port Information"
    Register<CLldpMedDlg>(32827);             // "&LLDP MED Setting" (taken out of the menu at start)
    Register<CSurveillanceVlanDlg>(32854);    // "Auto Surveillance VLAN Setting "
    Register<CSurveillanceOuiDlg>(32855);     // no menu item: the settings dialog's "OUI Table..."
    Register<CMulticastFilteringDlg>(32830);  // "&Multicast Filtering Mode configuration..."
    Register<CArpSpoofingDlg>(32833);         // "&ARP Spoofing Prevention Setting..."
    Register<CDhcpScreeningDlg>(32829);       // "&DHCP Server Screening Port Configuration..."
    Register<CPoeConfigDlg>(32852);           // "&PoE Port Config"
    Register<CTimeRangeDlg>(32819);           // "&Time_Based PoE"
    // "&Port Configuration...", and a click on a port of the front panel, which preselects that port.
    RegisterDialog(32774, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        auto dlg = std::make_unique<CPortConfigDlg>(parent);
        if (SelectedPort() > 0) dlg->SelectPort(SelectedPort());
        return dlg;
    });
    Register<CDeviceConfigDlg>(32775);  // "Device &Configure..."
    Register<CTrunkConfigDlg>(32818);   // "&Trunk Configuration..."
}
