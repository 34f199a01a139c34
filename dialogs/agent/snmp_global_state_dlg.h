#pragma once
// "SNMP Global State Settings": turns the switch's SNMP agent on or off.

#include "dialogs/agent/snmp_agent_access.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CSnmpGlobalStateDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CSnmpGlobalStateDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void Read();
    void OnApply();

    CSnmpAgentAccess m_access;
    QCheckBox* m_enable = nullptr;
    QPushButton* m_apply = nullptr;
};
