#include "dialogs/mib/ip_table_dlg.h"

#include "core/module_settings.h"

CIpTableDlg::CIpTableDlg(QWidget* parent)
    : CMibTableDlg(QString("IP Table : ") + QString::fromStdString(Settings().DeviceAddress),
                   {{" IP                ", "1.3.6.1.2.1.4.20.1.1"},
                    {" Netmask               ", "1.3.6.1.2.1.4.20.1.3"}},
                   true, 2, parent) {
    setObjectName("ipTableDialog");
    m_maxRows = 1024;  // a switch keeps a few addresses and endpoints, never near this many
    RefreshOnShow();
}

std::optional<QStringList> CIpTableDlg::LineFromRow(const WalkRow& row) {
    return QStringList{QString::fromStdString(row.bindings[0].value),
                       QString::fromStdString(row.bindings[1].value)};
}
