#include "dialogs/common/dialog_registry.h"
#include "dialogs/switch/firmware_dlg.h"
#include "dialogs/switch/syslog_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"

namespace {
template <typename Dialog>
DialogFactory Factory() {
    return [](QWidget* parent) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog>(parent); };
}
}  // namespace

void RegisterSwitchDialogs() {
    RegisterDialog(32834, Factory<CVlanConfigDlg>());  // "&VLAN Configuration..."
    RegisterDialog(32823, Factory<CFirmwareDlg>());    // firmware and configuration upgrade/backup
    RegisterDialog(32832, Factory<CSyslogDlg>());      // syslog host
}
