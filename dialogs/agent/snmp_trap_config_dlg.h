#pragma once
// "SNMP Trap Configuration": which events the agent sends traps for; the PoE traps on PoE models only.

#include <array>

#include "dialogs/agent/snmp_agent_access.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CSnmpTrapConfigDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CSnmpTrapConfigDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void Read();
    void OnApply();

    CSnmpAgentAccess m_access;
    const bool m_poe;
    std::array<QCheckBox*, 9> m_boxes{};
    QPushButton* m_apply = nullptr;
};
