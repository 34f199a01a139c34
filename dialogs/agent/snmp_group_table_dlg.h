#pragma once
// "SNMP Group Table Info": the agent's access groups, one row per group name, security model and
// level, with their read, write and notify views.

#include <vector>

#include "dialogs/agent/agent_table_dlg.h"

class QComboBox;
class QLineEdit;

class CSnmpGroupTableDlg : public CAgentTableDlg {
    Q_OBJECT
public:
    explicit CSnmpGroupTableDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    void OnApply() override;
    void OnDelete() override;
    void ResetForm() override;

private:
    void UpdateEnabling();

    std::vector<AgentGroupRow> m_rows;
    QLineEdit* m_groupName = nullptr;
    QLineEdit* m_readView = nullptr;
    QLineEdit* m_writeView = nullptr;
    QLineEdit* m_notifyView = nullptr;
    QComboBox* m_model = nullptr;
    QComboBox* m_level = nullptr;
};
