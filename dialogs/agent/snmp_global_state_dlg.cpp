#include "dialogs/agent/snmp_global_state_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/agent/agent_widgets.h"

CSnmpGlobalStateDlg::CSnmpGlobalStateDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_access(*this, [this](const std::string& name) -> CCommonSNMP& { return AddSession(name); }) {
    setObjectName(QStringLiteral("snmpGlobalStateDialog"));
    setWindowTitle(QStringLiteral("SNMP Global State Settings"));
    auto* group = new QGroupBox(QStringLiteral("SNMP Global State Settings"), this);
    m_enable = new QCheckBox(QStringLiteral("Enable SNMP Global "), group);
    m_enable->setObjectName(QStringLiteral("enableSnmpGlobal"));
    (new QVBoxLayout(group))->addWidget(m_enable);
    m_apply = PushButton(this, QStringLiteral("&Apply"), "applyButton");
    QPushButton* cancel = PushButton(this, QStringLiteral("&Cancel"), "cancelButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(ButtonRow({m_apply, cancel}));
    connect(m_apply, &QPushButton::clicked, this, &CSnmpGlobalStateDlg::OnApply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CSnmpGlobalStateDlg::OnInitDialog() {
    Read();
}

void CSnmpGlobalStateDlg::Read() {
    m_access.ReadGlobalState([this](int value) { m_enable->setChecked(value == 1); }, {m_apply});
}

void CSnmpGlobalStateDlg::OnApply() {
    ApplyPlan plan;
    plan.write = [this] {
        return m_access.WriteGlobalState(kGlobalStateValues.TextOf(m_enable->isChecked())) ? 0 : kSnmpFailed;
    };
    plan.failureText = QStringLiteral("The switch did not accept the SNMP global state.");
    plan.reread = [this] { Read(); };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}
