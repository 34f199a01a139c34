#include "dialogs/mib/interface_table_dlg.h"

#include "dialogs/mib/mib_value_maps.h"

CInterfaceTableDlg::CInterfaceTableDlg(QWidget* parent)
    : CMibTableDlg(tr("Interface Table"),
                   {{" Index        ", "1.3.6.1.2.1.2.2.1.1"},
                    {" Link Status            ", "1.3.6.1.2.1.2.2.1.8"},
                    {" Speed(b/s)                     ", "1.3.6.1.2.1.2.2.1.5"}},
                   true, 3, parent) {
    setObjectName("interfaceTableDialog");
    // The ports, the CPU and one interface per VLAN (at most 256), with a margin.
    m_maxRows = Settings().PortCount + 1 + 256 + 16;
    RefreshOnShow();
}

std::optional<QStringList> CInterfaceTableDlg::LineFromRow(const WalkRow& row) {
    const auto& b = row.bindings;
    return QStringList{QString::fromStdString(b[0].value), QString::fromStdString(LinkStatusText(b[1].value)),
                       QString::fromStdString(SpeedText(b[2].value))};
}
