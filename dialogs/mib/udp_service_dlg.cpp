#include "dialogs/mib/udp_service_dlg.h"

CUdpServiceDlg::CUdpServiceDlg(QWidget* parent)
    : CMibTableDlg(tr("UDP Service"),
                   {{"  Local Port ", "1.3.6.1.2.1.7.5.1.2"}, {"  Local IP      ", "1.3.6.1.2.1.7.5.1.1"}},
                   false, 0, parent) {
    setObjectName("udpServiceDialog");
    m_maxRows = 1024;  // a switch keeps a few addresses and endpoints, never near this many
}

std::optional<QStringList> CUdpServiceDlg::LineFromRow(const WalkRow& row) {
    QStringList texts;
    for (std::size_t i = 0; i < row.bindings.size() && i < 2; ++i)
        texts << QString::fromStdString(row.bindings[i].value);
    return texts;
}
