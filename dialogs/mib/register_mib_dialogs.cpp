#include <memory>

#include "dialogs/common/dialog_registry.h"
#include "dialogs/mib/forwarding_table_dlg.h"
#include "dialogs/mib/interface_table_dlg.h"
#include "dialogs/mib/ip_table_dlg.h"
#include "dialogs/mib/stp_config_dlg.h"
#include "dialogs/mib/system_info_dlg.h"
#include "dialogs/mib/tcp_service_dlg.h"
#include "dialogs/mib/udp_service_dlg.h"

namespace {
template <typename Dialog>
DialogFactory Factory() {
    return [](QWidget* parent) -> std::unique_ptr<QDialog> { return std::make_unique<Dialog>(parent); };
}
}  // namespace

void RegisterMibDialogs() {
    RegisterDialog(32805, Factory<CSystemInfoDlg>());
    RegisterDialog(32809, Factory<CInterfaceTableDlg>());
    RegisterDialog(32808, Factory<CIpTableDlg>());
    RegisterDialog(32810, Factory<CForwardingTableDlg>());
    RegisterDialog(32811, Factory<CTcpServiceDlg>());
    RegisterDialog(32812, Factory<CUdpServiceDlg>());
    RegisterDialog(32813, Factory<CStpConfigDlg>());
}
