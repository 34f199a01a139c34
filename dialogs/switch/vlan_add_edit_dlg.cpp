#include "dialogs/switch/vlan_add_edit_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "dialogs/common/user_prompt.h"
#include "snmp/encodings.h"

namespace {

// Up to 28 ports in one row of boxes; larger switches get two rows of blocks.
int PortsPerBlock(int portCount) {
    return portCount <= 28 ? portCount : (portCount + 1) / 2;
}

std::string Instance(int index) {
    return "." + std::to_string(index);
}

}  // namespace

CVlanAddEditDlg::CVlanAddEditDlg(QWidget* parent, int portCount, int asymmetric,
                                 const std::vector<VlanRecord>& records)
    : CVlanAddEditDlg(parent, portCount, asymmetric, records, true, 0) {}

CVlanAddEditDlg::CVlanAddEditDlg(QWidget* parent, int portCount, int asymmetric,
                                 const std::vector<VlanRecord>& records, int vlanId)
    : CVlanAddEditDlg(parent, portCount, asymmetric, records, false, vlanId) {}

CVlanAddEditDlg::CVlanAddEditDlg(QWidget* parent, int portCount, int asymmetric,
                                 const std::vector<VlanRecord>& records, bool addMode, int vlanId)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPEgrePort(AddSession("m_cCommonSNMPEgrePort")),
      m_cCommonSNMPUntagPort(AddSession("m_cCommonSNMPUntagPort")),
      m_cCommonSNMPAllPort(AddSession("m_cCommonSNMPAllPort")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_addMode(addMode),
      m_portCount(portCount > 0 ? portCount : 0),
      m_vlanId(vlanId),
      m_records(records),
      m_membership(addMode ? VlanMembership(m_portCount, asymmetric == 1, records)
                           : VlanMembership(m_portCount, asymmetric == 1, records, vlanId)),
      m_trunkOfPort(m_portCount, 0) {
    Build();
}

void CVlanAddEditDlg::Build() {
    setObjectName(QStringLiteral("vlanAddEditDialog"));
    setWindowTitle(m_addMode ? QStringLiteral("Add VLAN") : QStringLiteral("Edit VLAN"));

    auto* idGroup = new QGroupBox(QStringLiteral("802.1Q VLAN Name and ID"), this);
    idGroup->setObjectName(QStringLiteral("nameIdGroup"));
    m_name = new QLineEdit(idGroup);
    m_name->setObjectName(QStringLiteral("vlanName"));
    m_name->setMaxLength(kMaxVlanNameLength);
    m_vid = new QLineEdit(idGroup);
    m_vid->setObjectName(QStringLiteral("vlanId"));
    m_vid->setMaxLength(4);
    m_vid->setMaximumWidth(80);
    auto* form = new QFormLayout(idGroup);
    form->addRow(QStringLiteral("VLAN Name:"), m_name);
    form->addRow(QStringLiteral("VID:"), m_vid);
    if (!m_addMode) {
        m_vid->setText(QString::number(m_vlanId));
        m_vid->setEnabled(false);
        if (const VlanRecord* r = FindVlan(m_records, m_vlanId))
            m_name->setText(QString::fromUtf8(r->name.data(), static_cast<int>(r->name.size())));
    }

    auto* portGroup = new QGroupBox(QStringLiteral("VLAN Port Member"), this);
    portGroup->setObjectName(QStringLiteral("portMemberGroup"));
    auto* grid = new QGridLayout(portGroup);
    grid->setHorizontalSpacing(12);
    const int perBlock = PortsPerBlock(m_portCount);
    const QString rowNames[] = {QStringLiteral("Tag Ports:"), QStringLiteral("Untag Ports:"),
                                QStringLiteral("Not Member:")};
    const char* boxNames[] = {"tagPort", "untagPort", "notMemberPort"};
    const PortBox boxes[] = {PortBox::Tag, PortBox::Untag, PortBox::NotMember};
    std::vector<QCheckBox*>* rows[] = {&m_tag, &m_untag, &m_notMember};
    for (int p = 0; p < m_portCount; ++p) {
        const int block = perBlock ? p / perBlock : 0;
        const int top = block * 5;  // port numbers, three rows of boxes, a spacer row
        const int column = 1 + (perBlock ? p % perBlock : 0);
        if (column == 1) {
            for (int r = 0; r < 3; ++r) grid->addWidget(new QLabel(rowNames[r], portGroup), top + 1 + r, 0);
            if (block > 0) grid->setRowMinimumHeight(top - 1, 10);
        }
        auto* number = new QLabel(QString::number(p + 1), portGroup);
        number->setObjectName(QStringLiteral("portLabel%1").arg(p + 1));
        number->setAlignment(Qt::AlignCenter);
        grid->addWidget(number, top, column, Qt::AlignHCenter);
        for (int r = 0; r < 3; ++r) {
            auto* box = new QCheckBox(portGroup);
            box->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(boxNames[r])).arg(p + 1));
            box->setAccessibleName(QStringLiteral("%1 port %2").arg(rowNames[r]).arg(p + 1));
            grid->addWidget(box, top + 1 + r, column, Qt::AlignHCenter);
            rows[r]->push_back(box);
            const PortBox kind = boxes[r];
            connect(box, &QCheckBox::clicked, this,
                    [this, p, kind](bool checked) { OnBoxClicked(p, kind, checked); });
        }
        ShowPort(p);
    }
    grid->setColumnStretch(perBlock + 1, 1);
    grid->setRowStretch(grid->rowCount(), 1);  // the rows stay together at the top

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setText(QStringLiteral("OK"));
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setText(QStringLiteral("Cancel"));
    connect(m_ok, &QPushButton::clicked, this, &CVlanAddEditDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &CVlanAddEditDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(idGroup);
    layout->addWidget(portGroup, 1);
    layout->addWidget(buttons);
    if (m_portCount == 8) resize(500, 320);
}

void CVlanAddEditDlg::OnInitDialog() {
    // The trunk rule needs every trunk's members, so OK waits for them.
    m_trunkOfPort.assign(m_portCount, 0);
    StartWalk(
        m_cCommonSNMPTable, {VlanOid::kTrunkMembers},
        [this](const WalkRow& row) {
            if (!row.bindings.empty() && !row.suffixes.empty())
                ApplyTrunkRow(m_trunkOfPort, row.suffixes[0], row.bindings[0].value);
        },
        // A trunk has two ports or more: never more trunks than ports.
        {}, {m_ok}, WalkOptions{1, m_portCount, 0});
}

QCheckBox* CVlanAddEditDlg::Box(int port, PortBox box) const {
    switch (box) {
        case PortBox::Tag:
            return m_tag[port];
        case PortBox::Untag:
            return m_untag[port];
        case PortBox::NotMember:
            return m_notMember[port];
    }
    return nullptr;
}

void CVlanAddEditDlg::ShowPort(int port) {
    const PortBox shown = m_membership.Shown(port);
    for (PortBox b : {PortBox::Tag, PortBox::Untag, PortBox::NotMember}) {
        QCheckBox* box = Box(port, b);
        box->setChecked(b == shown);
        if (m_membership.Locked(port)) box->setEnabled(false);
    }
}

void CVlanAddEditDlg::OnBoxClicked(int port, PortBox box, bool checked) {
    // The three boxes of a port are one radio group: a checked box cannot be cleared by clicking it,
    // and a refused click (an untagged port taken elsewhere) silently clears the box again.
    if (checked) m_membership.Check(port, box);
    ShowPort(port);
}

void CVlanAddEditDlg::OnOK() {
    VlanEditInput in;
    in.addMode = m_addMode;
    in.vlanId = m_addMode ? LeadingInt(m_vid->text().toStdString()) : m_vlanId;
    in.name = m_name->text().toStdString();
    in.egress = m_membership.Egress();
    in.untagged = m_membership.Untagged();
    in.trunkOfPort = m_trunkOfPort;
    if (std::string message = CheckVlanEdit(in, m_records); !message.empty()) {
        Inform(this, QString::fromStdString(message));
        return;
    }
    {
        WaitCursor wait;
        Write(in.vlanId, in.name);
    }
    accept();
}

int CVlanAddEditDlg::WritePorts(CCommonSNMP& session, const std::string& oid, const std::vector<int>& flags) {
    const std::string hex = PortFlagsToHex(flags);
    if (hex.empty()) {
        Inform(this, QString::fromLatin1(VlanText::kParameterError));
        return -1;
    }
    const std::vector<unsigned char> bytes = HexToBytes(hex);
    return SetNow(session, {{oid, kBindOctets, std::string(bytes.begin(), bytes.end())}});
}

void CVlanAddEditDlg::Write(int vid, const std::string& name) {
    const std::string v = Instance(vid);
    const std::string rowState = VlanOid::kStaticRowState + v;
    const std::string egress = VlanOid::kStaticEgressPorts + v;
    // The row is taken out of service while its port lists change; VLAN 1 always stays in service.
    if (m_addMode)
        SetNow(m_cCommonSNMP, {{rowState, kBindInteger, std::to_string(kRowCreateAndWait)}});
    else if (vid != 1)
        SetNow(m_cCommonSNMP, {{rowState, kBindInteger, std::to_string(kRowNotInService)}});

    bool ok = true;
    if (vid != 1) ok = WritePorts(m_cCommonSNMPAllPort, egress, m_membership.AllUnlocked()) == 0;
    if (ok)
        ok = WritePorts(m_cCommonSNMPUntagPort, VlanOid::kStaticUntaggedPorts + v, m_membership.Untagged()) ==
             0;
    if (ok) WritePorts(m_cCommonSNMPEgrePort, egress, m_membership.EgressToWrite());

    SetNow(m_cCommonSNMP, {{VlanOid::kStaticName + v, kBindOctets, name}});
    QThread::msleep(50);
    SetNow(m_cCommonSNMP, {{rowState, kBindInteger, std::to_string(kRowActive)}});
}
