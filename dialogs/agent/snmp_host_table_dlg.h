#pragma once
// "SNMP Host Table": where the agent sends its notifications: host address, SNMP version and the
// community or SNMPv3 user name.

#include <vector>

#include "dialogs/agent/agent_table_dlg.h"

class CIpAddressEdit;
class QComboBox;
class QLineEdit;

class CSnmpHostTableDlg : public CAgentTableDlg {
    Q_OBJECT
public:
    explicit CSnmpHostTableDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    void OnApply() override;
    void OnDelete() override;
    void ResetForm() override;

private:
    std::vector<AgentHostRow> m_rows;
    CIpAddressEdit* m_address = nullptr;
    QComboBox* m_version = nullptr;
    QLineEdit* m_name = nullptr;
};
