#include "dialogs/mib/stp_port_table_dlg.h"

#include <QPushButton>
#include <QTreeWidget>

#include "dialogs/mib/mib_value_maps.h"
#include "dialogs/mib/stp_port_config_dlg.h"

QStringList StpPortRowTexts(const std::vector<SnmpBinding>& b) {
    QStringList texts;
    for (std::size_t i = 0; i < b.size() && i < kStpColumnCount; ++i) {
        const std::string& v = b[i].value;
        std::string t;
        switch (static_cast<int>(i)) {
            case kStpColEnable:
                t = StpEnableText(v);
                break;
            case kStpColStatus:
                t = StpPortStateText(v);
                break;
            case kStpColDesignatedRoot:
            case kStpColDesignatedBridge:
                t = BridgeIdText(v);
                break;
            case kStpColDesignatedPort:
                t = DesignatedPortText(v);
                break;
            default:
                t = v;
                break;
        }
        texts << QString::fromStdString(t);
    }
    return texts;
}

CStpPortTableDlg::CStpPortTableDlg(QWidget* parent)
    : CMibTableDlg(tr("Spanning Tree Table"),
                   {{"Port", "1.3.6.1.2.1.17.2.15.1.1"},
                    {"Priority", "1.3.6.1.2.1.17.2.15.1.2"},
                    {"Cost ", "1.3.6.1.2.1.17.2.15.1.5"},
                    {"Enable", "1.3.6.1.2.1.17.2.15.1.4"},
                    {"Status  ", "1.3.6.1.2.1.17.2.15.1.3"},
                    {" ==Designated Root== ", "1.3.6.1.2.1.17.2.15.1.6"},
                    {"Designated Cost", "1.3.6.1.2.1.17.2.15.1.7"},
                    {" ==Designated Bridge== ", "1.3.6.1.2.1.17.2.15.1.8"},
                    {"Designated Port", "1.3.6.1.2.1.17.2.15.1.9"},
                    {"Forwardings", "1.3.6.1.2.1.17.2.15.1.10"}},
                   true, 6, parent) {
    setObjectName("stpPortTableDialog");
    m_maxRows = Settings().PortCount;  // one row per port
    // Bridge identifiers are wider than their headings.
    const int idWidth = List()->fontMetrics().horizontalAdvance("00:00:00:00:00:00:00:00") + 24;
    List()->setColumnWidth(kStpColDesignatedRoot, idWidth);
    List()->setColumnWidth(kStpColDesignatedBridge, idWidth);
    resize(std::min(1100, width() + 2 * idWidth / 3), 340);

    m_portConfig = AddButton(tr("&Port Config"), "portConfigButton");
    connect(m_portConfig, &QPushButton::clicked, this, &CStpPortTableDlg::OpenPortConfig);
    connect(List(), &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_portConfig->isEnabled()) OpenPortConfig();
    });
}

std::optional<QStringList> CStpPortTableDlg::LineFromRow(const WalkRow& row) {
    return StpPortRowTexts(row.bindings);
}

std::vector<QStringList> CStpPortTableDlg::Rows() const {
    std::vector<QStringList> rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = List()->topLevelItem(i);
        QStringList texts;
        for (int c = 0; c < kStpColumnCount; ++c) texts << item->text(c);
        rows.push_back(texts);
    }
    return rows;
}

void CStpPortTableDlg::OpenPortConfig() {
    QTreeWidgetItem* item = List()->currentItem();
    if (!item) return;
    CStpPortConfigDlg config(Rows(), List()->indexOfTopLevelItem(item), this);
    if (config.exec() == QDialog::Accepted) Refresh();
}
