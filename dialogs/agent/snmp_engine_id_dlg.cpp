#include "dialogs/agent/snmp_engine_id_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/agent/agent_widgets.h"

CSnmpEngineIdDlg::CSnmpEngineIdDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_access(*this, [this](const std::string& name) -> CCommonSNMP& { return AddSession(name); }) {
    setObjectName(QStringLiteral("snmpEngineIdDialog"));
    setWindowTitle(QStringLiteral("SNMP Engine ID"));
    m_engineId = new QLineEdit(this);
    m_engineId->setObjectName(QStringLiteral("engineId"));
    m_engineId->setMinimumWidth(m_engineId->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('0'))));
    auto* field = new QHBoxLayout;
    field->addWidget(new QLabel(QStringLiteral("SNMP Engine ID"), this));
    field->addWidget(m_engineId, 1);
    m_apply = PushButton(this, QStringLiteral("&Apply"), "applyButton");
    m_default = PushButton(this, QStringLiteral("&Default"), "defaultButton");
    QPushButton* close = PushButton(this, QStringLiteral("&Close"), "closeButton");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addWidget(new QLabel(QString::fromLatin1(AgentText::kEngineIdNote), this));
    layout->addLayout(ButtonRow({m_apply, m_default, close}));
    connect(m_apply, &QPushButton::clicked, this, [this] { Write(false); });
    connect(m_default, &QPushButton::clicked, this, [this] { Write(true); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CSnmpEngineIdDlg::OnInitDialog() {
    Read();
}

void CSnmpEngineIdDlg::Read() {
    m_access.ReadEngineId(
        [this](const std::string& hex) { m_engineId->setText(QString::fromStdString(hex)); },
        {m_apply, m_default});
}

void CSnmpEngineIdDlg::Write(bool useDefault) {
    const std::string text = m_engineId->text().toStdString();
    ApplyPlan plan;
    if (!useDefault) plan.check = [&] { return Refuse(this, EngineIdRefusal(text)); };
    plan.write = [&] { return m_access.WriteEngineId(text, useDefault); };
    plan.failureText = QStringLiteral("The switch did not accept the engine ID.");
    plan.reread = [this] { Read(); };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}
