#pragma once
// "SNMP Engine ID": the agent's engine ID as 10 to 64 hexadecimal digits, or the default one.

#include "dialogs/agent/snmp_agent_access.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CSnmpEngineIdDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CSnmpEngineIdDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void Read();
    void Write(bool useDefault);

    CSnmpAgentAccess m_access;
    QLineEdit* m_engineId = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_default = nullptr;
};
