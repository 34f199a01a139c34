#include "dialogs/switch/port_range_list_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include "core/module_settings.h"
#include "dialogs/common/port_range.h"
#include "dialogs/common/table_reader.h"

CPortRangeListDialog::CPortRangeListDialog(Frame frame, const QString& valueLabel, const char* valueName,
                                           Choices items, QWidget* parent)
    : CListFormDialog(
          [&] {
              frame.columns = {{QStringLiteral("Port"), 80}, {valueLabel, 240}};
              frame.buttons = kApply | kRefresh | kClose;
              return frame;
          }(),
          parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTrunk(AddSession("m_cCommonSNMPTrunk")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_portCount(std::max(Settings().PortCount, 0)),
      m_trunks(m_portCount) {
    auto* from = new QComboBox(this);
    from->setObjectName(QStringLiteral("fromPort"));
    auto* to = new QComboBox(this);
    to->setObjectName(QStringLiteral("toPort"));
    m_value = new QComboBox(this);
    m_value->setObjectName(QLatin1String(valueName));
    AddChoices(m_value, items);
    auto* line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("From Port"), this));
    line->addWidget(from);
    line->addSpacing(12);
    line->addWidget(new QLabel(QStringLiteral("To Port"), this));
    line->addWidget(to);
    line->addSpacing(12);
    line->addWidget(new QLabel(valueLabel, this));
    line->addWidget(m_value);
    line->addStretch(1);
    TopArea()->addLayout(line);
    m_range = new CPortRange(from, to, 1, m_portCount, this);
    DisableWithoutWriteAccess({StandardButton(kApply)});
}

void CPortRangeListDialog::ReadTrunks() {
    m_trunksRead = false;
    ReadTrunkMembership(
        *this, m_cCommonSNMPTrunk, m_portCount,
        [this](const TrunkMembership& trunks, int status) {
            m_trunks = trunks;
            m_trunksRead = status != kSnmpFailed;
        },
        BusyButtons());
}

void CPortRangeListDialog::OnLineSelected(QTreeWidgetItem* item) {
    const int port = item->text(0).toInt();
    if (port >= 1 && port <= m_portCount) m_range->Select(port, port);
    const int at = m_value->findText(item->text(1));
    if (at >= 0) m_value->setCurrentIndex(at);
}
