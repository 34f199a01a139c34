#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/dot1x_config_dlg.h"
#include "dialogs/switch/lldp_global_dlg.h"
#include "dialogs/switch/lldp_med_dlg.h"
#include "dialogs/switch/lldp_remote_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
constexpr int kVlanConfigurationCommand = 32834;  // "&VLAN Configuration..."
constexpr int kDot1xCommand = 32792;              // "&802.1X Configuration..."
constexpr int kLldpGlobalCommand = 32825;         // "&LLDP Global Setting"
constexpr int kLldpRemoteCommand = 32826;         // "&LLDP Remote Port Information"
constexpr int kLldpMedCommand = 32827;            // "&LLDP MED Setting" (taken out of the menu at start)

template <class T>
void Register(int commandId) {
    RegisterDialog(commandId,
                   [](QWidget* parent) -> std::unique_ptr<QDialog> { return std::make_unique<T>(parent); });
}
}  // namespace

void RegisterSwitchDialogs() {
    Register<CVlanConfigDlg>(kVlanConfigurationCommand);
    Register<CDot1xConfigDlg>(kDot1xCommand);
    Register<CLldpGlobalDlg>(kLldpGlobalCommand);
    Register<CLldpRemoteDlg>(kLldpRemoteCommand);
    Register<CLldpMedDlg>(kLldpMedCommand);
}
