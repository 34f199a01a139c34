#include "dialogs/switch/arp_spoofing_add_dlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/module_settings.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/ip_address_edit.h"
#include "dialogs/common/port_grid.h"
#include "dialogs/common/table_reader.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/security_filter_rules.h"
#include "snmp/encodings.h"

CArpSpoofingAddDlg::CArpSpoofingAddDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_portCount(std::max(Settings().PortCount, 0)),
      m_trunks(m_portCount) {
    setObjectName(QStringLiteral("arpSpoofingAddDialog"));
    setWindowTitle(QStringLiteral("Add ARP Spoofing Prevention Entry"));

    m_address = new CIpAddressEdit(this);
    m_address->setObjectName(QStringLiteral("gatewayAddress"));
    m_mac = new QLineEdit(this);
    m_mac->setObjectName(QStringLiteral("gatewayMac"));
    m_mac->setPlaceholderText(QStringLiteral("XX-XX-XX-XX-XX-XX"));
    m_mac->setMinimumWidth(m_mac->fontMetrics().horizontalAdvance(QStringLiteral("XX-XX-XX-XX-XX-XX")) + 16);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Router / Gateway IP Address"), m_address);
    fields->addRow(QStringLiteral("Router / Gateway MAC Address"), m_mac);

    auto* portsGroup = new QGroupBox(QStringLiteral("Ports"), this);
    portsGroup->setObjectName(QStringLiteral("portsGroup"));
    m_ports = new CPortGrid(m_portCount, {{QString(), QStringLiteral("port"), CPortGrid::Cell::CheckBox}},
                            portsGroup);
    m_allPorts = new QCheckBox(QStringLiteral("All Ports"), portsGroup);
    m_allPorts->setObjectName(QStringLiteral("allPorts"));
    auto* portsLayout = new QVBoxLayout(portsGroup);
    portsLayout->addWidget(m_ports);
    portsLayout->addWidget(m_allPorts, 0, Qt::AlignLeft);

    m_apply = new QPushButton(QStringLiteral("&Apply"), this);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(portsGroup);
    layout->addLayout(buttons);

    connect(m_apply, &QPushButton::clicked, this, &CArpSpoofingAddDlg::OnApply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_allPorts, &QCheckBox::clicked, this, &CArpSpoofingAddDlg::OnAllPorts);
    // "All Ports" shows whether every port is chosen.
    connect(m_ports, &CPortGrid::BoxClicked, this, [this] {
        const std::vector<int> flags = m_ports->Flags(0);
        m_allPorts->setChecked(!flags.empty() && std::find(flags.begin(), flags.end(), 0) == flags.end());
    });
    if (!Settings().WriteAccess) m_apply->setEnabled(false);
}

void CArpSpoofingAddDlg::OnInitDialog() {
    ReadTrunks();
}

void CArpSpoofingAddDlg::ReadTrunks() {
    m_trunksRead = false;
    ReadTrunkMembership(*this, m_cCommonSNMP, m_portCount,
                        [this](const TrunkMembership& trunks, int status) {
                            m_trunks = trunks;
                            m_trunksRead = status != kSnmpFailed;
                        },
                        {m_apply});
}

void CArpSpoofingAddDlg::OnAllPorts(bool checked) {
    m_ports->SetFlags(0, std::vector<int>(static_cast<std::size_t>(m_portCount), checked ? 1 : 0));
}

bool CArpSpoofingAddDlg::Check() {
    const AddressRefusal address = GatewayAddressRefusal(m_address->Fields());
    if (!address.text.empty()) {
        if (address.focusAddress) m_address->setFocus();
        return Refuse(this, address.text);
    }
    if (!Refuse(this, GatewayMacRefusal(m_mac->text().toStdString()))) return false;
    if (!m_trunksRead) {
        ReadTrunks();  // for the next try
        return Refuse(this, QString::fromLatin1(kSettingsNotReadText));
    }
    if (!Refuse(this, ArpPortsRefusal(m_trunks, m_ports->Flags(0)))) return false;
    return Confirm(this, QString::fromLatin1(FilterText::kArpQuestion));
}

int CArpSpoofingAddDlg::Write() {
    const std::string index = "." + m_address->Fields().Text();
    const auto mac = ParseMacText(m_mac->text().toStdString());
    const std::vector<unsigned char> ports = HexToBytes(PortFlagsToHex(m_ports->Flags(0)));
    RowCreate row;
    row.statusOid = FilterOid::kArpStatus + index;
    row.columns = {{FilterOid::kArpMac + index, kBindOctets, std::string(mac->begin(), mac->end())},
                   {FilterOid::kArpPorts + index, kBindOctets, std::string(ports.begin(), ports.end())}};
    row.pauseMs = 50;
    m_made = CreateRowReporting(*this, m_cCommonSNMPSet, row);
    return m_made.rc;
}

void CArpSpoofingAddDlg::ClearFields() {
    m_address->clear();
    m_mac->clear();
    OnAllPorts(false);
    m_allPorts->setChecked(false);
}

void CArpSpoofingAddDlg::OnApply() {
    ApplyPlan plan;
    plan.check = [this] { return Check(); };
    plan.write = [this] { return Write(); };
    plan.reread = [this] { ClearFields(); };
    // The fields stay as typed when the switch did not take the entry, so the user can correct them.
    plan.failureTextOf = [this](int) { return RowCreateFailureText(m_made, QStringLiteral("entry")); };
    RunApply(this, plan);
}
