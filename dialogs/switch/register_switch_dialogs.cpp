#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/device_config_dlg.h"
#include "dialogs/switch/port_config_dlg.h"
#include "dialogs/switch/trunk_config_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
constexpr int kVlanConfigurationCommand = 32834;    // "&VLAN Configuration..."
constexpr int kPortConfigurationCommand = 32774;    // "&Port Configuration..."
constexpr int kDeviceConfigurationCommand = 32775;  // "Device &Configure..."
constexpr int kTrunkConfigurationCommand = 32818;   // "&Trunk Configuration..."
}

void RegisterSwitchDialogs() {
    RegisterDialog(kVlanConfigurationCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CVlanConfigDlg>(parent);
    });
    RegisterDialog(kPortConfigurationCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CPortConfigDlg>(parent);
    });
    RegisterDialog(kDeviceConfigurationCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CDeviceConfigDlg>(parent);
    });
    RegisterDialog(kTrunkConfigurationCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CTrunkConfigDlg>(parent);
    });
}
