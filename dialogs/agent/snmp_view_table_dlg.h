#pragma once
// "SNMP View Table Configuration": the agent's MIB views, one row per view name and subtree, with the
// subtree's mask and whether it is included or excluded.

#include <vector>

#include "dialogs/agent/agent_table_dlg.h"

class QComboBox;
class QLineEdit;

class CSnmpViewTableDlg : public CAgentTableDlg {
    Q_OBJECT
public:
    explicit CSnmpViewTableDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    void OnApply() override;
    void OnDelete() override;
    void ResetForm() override;

private:
    std::vector<AgentViewRow> m_rows;
    QLineEdit* m_viewName = nullptr;
    QLineEdit* m_subtree = nullptr;
    QLineEdit* m_mask = nullptr;
    QComboBox* m_type = nullptr;
};
