#include "dialogs/mib/tcp_service_dlg.h"

#include "dialogs/mib/mib_value_maps.h"

namespace {
constexpr int kStatusColumn = 4;
}

CTcpServiceDlg::CTcpServiceDlg(QWidget* parent)
    : CMibTableDlg(tr("TCP Service"),
                   {{"Local Port ", "1.3.6.1.2.1.6.13.1.3"},
                    {" Local IP        ", "1.3.6.1.2.1.6.13.1.2"},
                    {" Remote IP       ", "1.3.6.1.2.1.6.13.1.4"},
                    {"Remote Port", "1.3.6.1.2.1.6.13.1.5"},
                    {" Status ", "1.3.6.1.2.1.6.13.1.1"}},
                   false, 0, parent) {
    setObjectName("tcpServiceDialog");
    m_maxRows = 1024;  // a switch keeps a few addresses and endpoints, never near this many
}

std::optional<QStringList> CTcpServiceDlg::LineFromRow(const WalkRow& row) {
    QStringList texts;
    for (std::size_t i = 0; i < row.bindings.size() && i <= static_cast<std::size_t>(kStatusColumn); ++i) {
        const std::string& v = row.bindings[i].value;
        texts << QString::fromStdString(static_cast<int>(i) == kStatusColumn ? TcpStateText(v) : v);
    }
    return texts;
}
