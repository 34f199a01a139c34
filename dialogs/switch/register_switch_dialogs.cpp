#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
constexpr int kVlanConfigurationCommand = 32834;  // "&VLAN Configuration..."
}

void RegisterSwitchDialogs() {
    RegisterDialog(kVlanConfigurationCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CVlanConfigDlg>(parent);
    });
}
