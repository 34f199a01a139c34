#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/poe_config_dlg.h"
#include "dialogs/switch/time_range_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
constexpr int kVlanConfigurationCommand = 32834;  // "&VLAN Configuration..."
constexpr int kPoePortConfigCommand = 32852;      // "&PoE Port Config"
constexpr int kTimeBasedPoeCommand = 32819;       // "&Time_Based PoE"
}  // namespace

void RegisterSwitchDialogs() {
    RegisterDialog(kVlanConfigurationCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CVlanConfigDlg>(parent);
    });
    RegisterDialog(kPoePortConfigCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CPoeConfigDlg>(parent);
    });
    RegisterDialog(kTimeBasedPoeCommand, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<CTimeRangeDlg>(parent);
    });
}
