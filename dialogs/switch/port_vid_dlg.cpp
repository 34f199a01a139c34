#include "dialogs/switch/port_vid_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "dialogs/common/user_prompt.h"

namespace {

// Up to 14 boxes in a row; wider switches wrap into more rows.
constexpr int kPortsPerRow = 14;

int LastArc(const std::string& oid) {
    const std::size_t dot = oid.rfind('.');
    return LeadingInt(dot == std::string::npos ? oid : oid.substr(dot + 1));
}

}  // namespace

CPortVidDlg::CPortVidDlg(QWidget* parent, const std::string& vlanIds, int /*rowCount*/,
                         const std::vector<VlanRecord>& records)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_cCommonSNMPTrunk(AddSession("m_cCommonSNMPTrunk")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0),
      m_vlanIds(vlanIds),
      m_records(records),
      m_pvids(m_portCount, 0),
      m_trunkOfPort(m_portCount, 0) {
    setObjectName(QStringLiteral("portVidDialog"));
    setWindowTitle(QStringLiteral("PVID Configuration"));

    auto* group = new QGroupBox(QStringLiteral("PVID Configuration"), this);
    group->setObjectName(QStringLiteral("pvidGroup"));
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(6);
    const QString hint = QStringLiteral("VLAN IDs: %1").arg(QString::fromStdString(m_vlanIds));
    for (int p = 0; p < m_portCount; ++p) {
        const int top = (p / kPortsPerRow) * 3;  // port numbers, edit boxes, a spacer row
        const int column = 1 + p % kPortsPerRow;
        if (column == 1) {
            grid->addWidget(new QLabel(QStringLiteral("Port VID:"), group), top + 1, 0);
            if (top > 0) grid->setRowMinimumHeight(top - 1, 8);
        }
        auto* number = new QLabel(QString::number(p + 1), group);
        number->setAlignment(Qt::AlignCenter);
        grid->addWidget(number, top, column);
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QStringLiteral("pvidPort%1").arg(p + 1));
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(48);
        edit->setToolTip(hint);
        grid->addWidget(edit, top + 1, column);
        m_edits.push_back(edit);
        // Every change is the port's new PVID.
        connect(edit, &QLineEdit::textChanged, this,
                [this, p](const QString& text) { m_pvids[p] = LeadingInt(text.toStdString()); });
    }
    grid->setColumnStretch(kPortsPerRow + 1, 1);

    m_refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_refresh->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setText(QStringLiteral("Apply"));
    m_apply->setDefault(true);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setText(QStringLiteral("Cancel"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_refresh);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(bottom);

    connect(m_apply, &QPushButton::clicked, this, &CPortVidDlg::OnApply);
    connect(m_cancel, &QPushButton::clicked, this, &CPortVidDlg::reject);
    connect(m_refresh, &QPushButton::clicked, this, &CPortVidDlg::Refresh);
}

void CPortVidDlg::OnInitDialog() {
    Refresh();
}

void CPortVidDlg::Refresh() {
    if (SessionsClosed()) return;
    StartWalk(
        m_cCommonSNMPTable, {VlanOid::kPvid},
        [this](const WalkRow& row) {
            if (row.bindings.empty()) return;
            const int port = LastArc(row.bindings[0].oid);
            if (port >= 1 && port <= m_portCount)
                m_edits[port - 1]->setText(QString::fromStdString(row.bindings[0].value));
        },
        {}, {m_apply, m_refresh}, WalkOptions{1, m_portCount, 0});
    m_trunkOfPort.assign(m_portCount, 0);
    StartWalk(
        m_cCommonSNMPTrunk, {VlanOid::kTrunkMembers},
        [this](const WalkRow& row) {
            if (!row.bindings.empty() && !row.suffixes.empty())
                ApplyTrunkRow(m_trunkOfPort, row.suffixes[0], row.bindings[0].value);
        },
        // A trunk has two ports or more: never more trunks than ports.
        {}, {m_apply, m_refresh}, WalkOptions{1, m_portCount, 0});
}

void CPortVidDlg::OnApply() {
    if (std::string message = CheckPvids(m_pvids, m_trunkOfPort, m_records); !message.empty()) {
        Inform(this, QString::fromStdString(message));
        return;
    }
    WaitCursor wait;
    for (int p = 0; p < m_portCount; ++p) {
        const std::string oid = std::string(VlanOid::kPvid) + "." + std::to_string(p + 1);
        if (SetNow(m_cCommonSNMP, {{oid, kBindUnsigned, std::to_string(m_pvids[p])}}) != 0) return;
        // Large switches need a breath after the first forty ports.
        if (m_portCount >= 40 && p + 1 == 40) QThread::msleep(50);
    }
    accept();
}
