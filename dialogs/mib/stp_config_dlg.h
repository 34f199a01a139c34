#pragma once
// " STP Configuration ": the bridge's spanning-tree parameters (priority, the three bridge times, RSTP
// state and version) with the current root information; "Port Setting" opens the port table.

#include <QString>
#include <string>

#include "dialogs/common/module_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CStpConfigDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CStpConfigDlg(QWidget* parent = nullptr);

    // Reads the thirteen bridge objects.
    void Read();
    // Checks the times and writes the six settings; nothing is sent when a check fails.
    void Apply();

protected:
    void OnInitDialog() override;

private:
    void Fill(const std::vector<SnmpBinding>& bindings);
    void EnableSettings(bool enable);
    void OpenPortTable();

    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPSet;
    QCheckBox* m_enableRstp = nullptr;
    QComboBox* m_version = nullptr;
    QComboBox* m_priority = nullptr;
    QLineEdit* m_maxAge = nullptr;
    QLineEdit* m_helloTime = nullptr;
    QLineEdit* m_forwardDelay = nullptr;
    QLineEdit* m_designatedRoot = nullptr;
    QLineEdit* m_rootPort = nullptr;
    QLineEdit* m_topoChangeTime = nullptr;
    QLineEdit* m_topoChanged = nullptr;
    QLineEdit* m_currentHello = nullptr;
    QLineEdit* m_holdTime = nullptr;
    QLineEdit* m_currentForwardDelay = nullptr;
    QPushButton* m_portSetting = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
};

// The range and relation checks of Apply in order (times in hundredths of a second): "" when the values
// may be written, else the message of the first failing check.
QString CheckBridgeTimes(long maxAge, long helloTime, long forwardDelay);
