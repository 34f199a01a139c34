#include "dialogs/switch/vlan_add_edit_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_grid.h"
#include "dialogs/common/table_reader.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/encodings.h"

namespace {

// The grid's rows, in the order of PortBox.
constexpr PortBox kRows[] = {PortBox::Tag, PortBox::Untag, PortBox::NotMember};

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
      m_trunks(m_portCount) {
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
    m_ports = new CPortGrid(m_portCount,
                            {{QStringLiteral("Tag Ports:"), QStringLiteral("tagPort")},
                             {QStringLiteral("Untag Ports:"), QStringLiteral("untagPort")},
                             {QStringLiteral("Not Member:"), QStringLiteral("notMemberPort")}},
                            portGroup);
    auto* portLayout = new QVBoxLayout(portGroup);
    portLayout->addWidget(m_ports);
    portLayout->addStretch(1);
    // The three boxes of a port are one radio group: a checked box cannot be cleared by clicking it,
    // and a refused click (an untagged port taken elsewhere) silently clears the box again.
    connect(m_ports, &CPortGrid::BoxClicked, this, [this](int row, int port, bool checked) {
        if (checked) m_membership.Check(port - 1, kRows[row]);
        ShowPort(port - 1);
    });
    for (int p = 0; p < m_portCount; ++p) ShowPort(p);

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
    ReadTrunkMembership(*this, m_cCommonSNMPTable, m_portCount,
                        [this](const TrunkMembership& trunks, int) { m_trunks = trunks; }, {m_ok});
}

void CVlanAddEditDlg::ShowPort(int port) {
    const PortBox shown = m_membership.Shown(port);
    for (int row = 0; row < 3; ++row) {
        QCheckBox* box = m_ports->Box(row, port + 1);
        box->setChecked(kRows[row] == shown);
        if (m_membership.Locked(port)) box->setEnabled(false);
    }
}

void CVlanAddEditDlg::OnOK() {
    VlanEditInput in;
    in.addMode = m_addMode;
    in.vlanId = m_addMode ? LeadingInt(m_vid->text().toStdString()) : m_vlanId;
    // Blanks around a name are typing slips; a name of blanks only is none.
    const QString typed = m_name->text();
    in.name = typed.trimmed().toStdString();
    in.blankName = !typed.isEmpty() && in.name.empty();
    in.egress = m_membership.Egress();
    in.untagged = m_membership.Untagged();
    in.trunks = m_trunks;
    const int rc = RunApply(this, {.check = [&] { return Refuse(this, CheckVlanEdit(in, m_records)); },
                                   .write =
                                       [&] {
                                           Write(in.vlanId, in.name);
                                           return 0;
                                       }});
    if (rc != kApplyRefused) accept();
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
    PauseKeepingPainted(50);
    SetNow(m_cCommonSNMP, {{rowState, kBindInteger, std::to_string(kRowActive)}});
}
