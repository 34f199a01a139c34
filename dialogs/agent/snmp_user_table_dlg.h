#pragma once
// "SNMP User Table ": the users of the switch's SNMP agent, one row per user name and version; new
// users with their group and, for V3, their authentication and privacy settings.

#include <vector>

#include "dialogs/agent/agent_table_dlg.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class CSnmpUserTableDlg : public CAgentTableDlg {
    Q_OBJECT
public:
    explicit CSnmpUserTableDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    void OnApply() override;
    void OnDelete() override;
    void ResetForm() override;

private:
    void UpdateEnabling();

    std::vector<AgentUserRow> m_rows;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_groupName = nullptr;
    QComboBox* m_version = nullptr;
    QCheckBox* m_encrypted = nullptr;
    QComboBox* m_authProtocol = nullptr;
    QLineEdit* m_authPassword = nullptr;
    QComboBox* m_privProtocol = nullptr;
    QLineEdit* m_privPassword = nullptr;
};
