#include "dialogs/switch/port_vid_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_grid.h"
#include "dialogs/common/table_reader.h"
#include "dialogs/common/user_prompt.h"

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
      m_trunks(m_portCount) {
    setObjectName(QStringLiteral("portVidDialog"));
    setWindowTitle(QStringLiteral("PVID Configuration"));

    auto* group = new QGroupBox(QStringLiteral("PVID Configuration"), this);
    group->setObjectName(QStringLiteral("pvidGroup"));
    m_grid = new CPortGrid(
        m_portCount, {{QStringLiteral("Port VID:"), QStringLiteral("pvidPort"), CPortGrid::Cell::LineEdit}},
        group);
    const QString hint = QStringLiteral("VLAN IDs: %1").arg(QString::fromStdString(m_vlanIds));
    for (int p = 1; p <= m_portCount; ++p) m_grid->Edit(0, p)->setToolTip(hint);
    // Every change is the port's new PVID.
    connect(m_grid, &CPortGrid::EditChanged, this, [this](int, int port, const QString& text) {
        m_pvids[port - 1] = LeadingInt(text.toStdString());
    });
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_grid);

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
            const std::string& oid = row.bindings[0].oid;
            const int port = LeadingInt(oid.substr(oid.rfind('.') + 1));
            if (port >= 1 && port <= m_portCount)
                m_grid->Edit(0, port)->setText(QString::fromStdString(row.bindings[0].value));
        },
        {}, {m_apply, m_refresh}, WalkOptions{1, m_portCount, 0});
    ReadTrunkMembership(*this, m_cCommonSNMPTrunk, m_portCount,
                        [this](const TrunkMembership& trunks, int) { m_trunks = trunks; },
                        {m_apply, m_refresh});
}

void CPortVidDlg::OnApply() {
    if (!Refuse(this, CheckPvids(m_pvids, m_trunks, m_records))) return;
    // One request per port, in port order; the first refusal stops the loop and keeps the dialog open.
    const WriteLoopResult result = RunWriteLoop(
        this,
        {.count = m_portCount,
         .write =
             [this](int i) {
                 const std::string oid = std::string(VlanOid::kPvid) + "." + std::to_string(i + 1);
                 const int rc = SetNow(m_cCommonSNMP, {{oid, kBindUnsigned, std::to_string(m_pvids[i])}});
                 // Large switches need a breath after the first forty ports.
                 if (rc == 0 && m_portCount >= 40 && i + 1 == 40) PauseKeepingPainted(50);
                 return rc;
             },
         .progressText = [this](int i) { return tr("Writing the PVID of port %1...").arg(i + 1); }});
    if (result.written == m_portCount) accept();
}
