#include "dialogs/switch/trunk_member_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_grid.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/encodings.h"

CTrunkMemberDlg::CTrunkMemberDlg(QWidget* parent, int trunk, const QString& modeText, int portCount)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_trunk(trunk),
      m_modeText(modeText),
      m_portCount(portCount > 0 ? portCount : 0),
      m_input(m_portCount) {
    for (const char* name :
         {"m_cCommonSNMPMirror", "m_cCommonSNMPTableACL", "m_cCommonSNMPPoint", "m_cCommonSNMPTableVlan",
          "m_cCommonSNMPTableTrunk", "m_cCommonSNMPTableStaticPor", "m_cCommonSNMPTableGetVlanTrunk"})
        AddSession(name);
    setObjectName(QStringLiteral("trunkMemberDialog"));
    setWindowTitle(QStringLiteral("Trunk member"));

    auto* trunkId = new QLineEdit(QString::number(trunk), this);
    trunkId->setObjectName(QStringLiteral("trunkId"));
    trunkId->setReadOnly(true);
    auto* mode = new QLineEdit(modeText, this);
    mode->setObjectName(QStringLiteral("portChannelMode"));
    mode->setReadOnly(true);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Trunk ID:"), trunkId);
    fields->addRow(QStringLiteral("PortChannelMode:"), mode);

    auto* group = new QGroupBox(QStringLiteral("Port Member"), this);
    m_ports = new CPortGrid(m_portCount, {{QString(), QStringLiteral("member")}}, group);
    (new QVBoxLayout(group))->addWidget(m_ports);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &CTrunkMemberDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CTrunkMemberDlg::OnInitDialog() {
    ReadPortSettings(*this, m_cCommonSNMP, m_portCount, TrunkSettingsQuery(),
                     [this](const PortSettings& settings) {
                         m_input = TrunkRuleInputFrom(settings);
                         std::vector<int> flags(static_cast<std::size_t>(m_portCount), 0);
                         for (int p : TrunkMembershipFrom(settings).MembersOf(m_trunk)) flags[p - 1] = 1;
                         m_ports->SetFlags(0, flags);
                         m_ready = settings.complete;
                         if (!m_ready) Inform(this, QString::fromLatin1(TrunkText::kInitError));
                     },
                     {m_ok});
}

void CTrunkMemberDlg::OnOk() {
    // Checks against settings that could not be read would pass what the switch may not allow.
    if (!m_ready) {
        Inform(this, QString::fromLatin1(TrunkText::kInitError));
        return;
    }
    const std::vector<int> flags = m_ports->Flags(0);
    std::vector<int> members;
    for (int p = 1; p <= m_portCount; ++p)
        if (flags[p - 1]) members.push_back(p);
    const std::string hex = PortFlagsToHex(flags);
    const std::string instance = "." + std::to_string(m_trunk);
    const std::string mode = ValueText(TrunkMemberModeValue(m_modeText.toStdString()));
    const int rc = RunApply(
        this, {.check =
                   [&] {
                       return Refuse(this, MemberCountRefusal(static_cast<int>(members.size()))) &&
                              Refuse(this, CheckTrunkMembers(m_input, m_trunk, members)) &&
                              Refuse(this,
                                     hex.empty() ? std::string(TrunkText::kParameterError) : std::string());
                   },
               .write =
                   [&] {
                       const std::vector<unsigned char> bytes = HexToBytes(hex);
                       return SetNow(m_cCommonSNMPSet, {{kTrunkMemberListOid + instance, kBindOctets,
                                                         std::string(bytes.begin(), bytes.end())},
                                                        {kTrunkModeOid + instance, kBindInteger, mode}});
                   },
               // The dialog closes either way; the trunk list read afterwards shows what the switch has.
               .failureText = QStringLiteral("The switch did not accept the port members of the trunk.")});
    if (rc != kApplyRefused) accept();
}
