#pragma once
// "SNMP Community Table Configuration": the agent's communities, each with the V1/V2c user whose
// group gives it its view policy.

#include <vector>

#include "dialogs/agent/agent_table_dlg.h"

class QComboBox;
class QLineEdit;

class CSnmpCommunityTableDlg : public CAgentTableDlg {
    Q_OBJECT
public:
    explicit CSnmpCommunityTableDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    void OnApply() override;
    void OnDelete() override;
    void ResetForm() override;

private:
    std::vector<AgentCommunityRow> m_rows;
    QLineEdit* m_name = nullptr;
    QComboBox* m_user = nullptr;
};
