#include "dialogs/agent/snmp_community_table_dlg.h"
#include "dialogs/agent/snmp_engine_id_dlg.h"
#include "dialogs/agent/snmp_global_state_dlg.h"
#include "dialogs/agent/snmp_group_table_dlg.h"
#include "dialogs/agent/snmp_host_table_dlg.h"
#include "dialogs/agent/snmp_trap_config_dlg.h"
#include "dialogs/agent/snmp_user_table_dlg.h"
#include "dialogs/agent/snmp_view_table_dlg.h"
#include "dialogs/common/dialog_registry.h"

namespace {

template <class Dialog>
void Register(int commandId) {
    RegisterDialog(commandId, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<Dialog>(parent);
    });
}

}  // namespace

void RegisterAgentDialogs() {
    // Command ids and texts of the "&SNMP Setting" menu.
    Register<CSnmpGlobalStateDlg>(32839);     // "SNMP Global State "
    Register<CSnmpEngineIdDlg>(32845);        // "SNMP Engine ID"
    Register<CSnmpTrapConfigDlg>(32846);      // "SNMP Trap Configuration"
    Register<CSnmpUserTableDlg>(32841);       // "SNMP User Table"
    Register<CSnmpGroupTableDlg>(32842);      // "SNMP Group Table"
    Register<CSnmpViewTableDlg>(32843);       // "SNMP View Table"
    Register<CSnmpCommunityTableDlg>(32844);  // "SNMP Community Table "
    Register<CSnmpHostTableDlg>(32840);       // "SNMP Host Table"
}
