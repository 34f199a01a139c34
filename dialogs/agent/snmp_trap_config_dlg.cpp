#include "dialogs/agent/snmp_trap_config_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/agent/agent_widgets.h"

CSnmpTrapConfigDlg::CSnmpTrapConfigDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_access(*this, [this](const std::string& name) -> CCommonSNMP& { return AddSession(name); }),
      m_poe(IsPoeModel(Settings().DeviceName)) {
    setObjectName(QStringLiteral("snmpTrapDialog"));
    setWindowTitle(QStringLiteral("SNMP Trap Configuration"));
    static const char* const kBoxes[9][2] = {
        {"SNMP Authentication Traps", "trapAuthentication"},
        {"System Device Bootup", "trapBootup"},
        {"Fiber Port Link Up / Link Down", "trapFiberLink"},
        {"Twisted Pair Port Link Up / Link Down", "trapTwistedPairLink"},
        {"RSTP Port State Change", "trapRstp"},
        {"Firmware Upgrade State", "trapFirmware"},
        {"Trap notification if POE Power On / Off", "trapPoePower"},
        {"Trap notification if POE Power Error ", "trapPoeError"},
        {"Trap notification if over max power budget", "trapPowerBudget"},
    };
    auto* group = new QGroupBox(QStringLiteral("Trap Settings"), this);
    auto* boxes = new QVBoxLayout(group);
    for (int i = 0; i < 9; ++i) {
        m_boxes[i] = new QCheckBox(QString::fromLatin1(kBoxes[i][0]), group);
        m_boxes[i]->setObjectName(QLatin1String(kBoxes[i][1]));
        boxes->addWidget(m_boxes[i]);
        // The fiber box is never shown, but its field is read and written back as it is.
        const bool hidden = i == 2 || (i >= 6 && !m_poe);
        if (hidden) m_boxes[i]->setVisible(false);
    }
    m_apply = PushButton(this, QStringLiteral("&Apply"), "applyButton");
    QPushButton* close = PushButton(this, QStringLiteral("&Close"), "closeButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(ButtonRow({m_apply, close}));
    connect(m_apply, &QPushButton::clicked, this, &CSnmpTrapConfigDlg::OnApply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CSnmpTrapConfigDlg::OnInitDialog() {
    Read();
}

void CSnmpTrapConfigDlg::Read() {
    m_access.ReadTrapSettings(m_poe,
                              [this](const TrapSettings& record) {
                                  for (size_t i = 0; i < record.size(); ++i)
                                      m_boxes[i]->setChecked(record[i] == "1");
                              },
                              {m_apply});
}

void CSnmpTrapConfigDlg::OnApply() {
    TrapSettings record;
    for (size_t i = 0; i < record.size(); ++i) record[i] = kTrapValues.TextOf(m_boxes[i]->isChecked());
    bool written = false;
    ApplyPlan plan;
    plan.write = [&] { return (written = m_access.WriteTrapSettings(record, m_poe)) ? 0 : kSnmpFailed; };
    plan.failureText = QStringLiteral("The switch did not accept the trap settings.");
    // Only a refused write is read back: the boxes then show what the switch really has.
    plan.reread = [&] {
        if (!written) Read();
    };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}
