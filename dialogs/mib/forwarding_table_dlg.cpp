#include "dialogs/mib/forwarding_table_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "dialogs/mib/mib_value_maps.h"

namespace {
const char* const kAgingTimeOid = "1.3.6.1.2.1.17.4.2.0";
}

bool ForwardingRowListed(const std::string& port, const std::string& filter) {
    return filter.empty() || port != filter;
}

CForwardingTableDlg::CForwardingTableDlg(QWidget* parent)
    : CMibTableDlg(tr("Forwarding Table"),
                   {{"       MAC              ", ""},
                    {" Status      ", "1.3.6.1.2.1.17.7.1.2.2.1.3"},
                    {" Port     ", "1.3.6.1.2.1.17.7.1.2.2.1.2"}},
                   true, 2, parent),
      m_cCommonSNMPGetTime(AddSession("m_cCommonSNMPGetTime")) {
    setObjectName("forwardingTableDialog");
    m_maxRows = 8192;  // the switch learns at most 8K addresses

    m_filter = new QLineEdit(this);
    m_filter->setObjectName("destinationPort");
    m_filter->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), m_filter));
    m_filter->setMaximumWidth(m_filter->fontMetrics().horizontalAdvance("0000000") + 16);
    m_ageTime = new QLineEdit(this);
    m_ageTime->setObjectName("ageTime");
    m_ageTime->setReadOnly(true);
    m_ageTime->setMaximumWidth(m_ageTime->fontMetrics().horizontalAdvance("000000000") + 16);

    QHBoxLayout* top = TopRow();
    auto* filterLabel = new QLabel(tr("Destination Port:"), this);
    filterLabel->setBuddy(m_filter);
    top->addWidget(filterLabel);
    top->addWidget(m_filter);
    top->addStretch(1);
    auto* ageLabel = new QLabel(tr("Aging Time:"), this);
    ageLabel->setBuddy(m_ageTime);
    top->addWidget(ageLabel);
    top->addWidget(m_ageTime);
    top->addWidget(new QLabel(tr("Seconds"), this));
}

std::optional<QStringList> CForwardingTableDlg::LineFromRow(const WalkRow& row) {
    if (row.bindings.size() < 2) return std::nullopt;
    const std::string& port = row.bindings[1].value;
    if (!ForwardingRowListed(port, m_filter->text().toStdString())) return std::nullopt;
    std::string suffix = row.suffixes.empty() ? std::string() : row.suffixes[0];
    return QStringList{QString::fromStdString(MacFromIndex(suffix)),
                       QString::fromStdString(FdbStatusText(row.bindings[0].value)),
                       QString::fromStdString(port)};
}

void CForwardingTableDlg::AfterWalkStarted() {
    StartGet(m_cCommonSNMPGetTime, {kAgingTimeOid}, [this](const std::vector<SnmpBinding>& out) {
        if (!out.empty()) m_ageTime->setText(QString::fromStdString(out[0].value));
    });
}
