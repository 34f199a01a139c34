#pragma once
// "802.1X Config Information": the 802.1X state, the RADIUS server and key, and the global timers; its
// PortSet button opens the port dialog.

#include <QStringList>

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/dot1x_rules.h"

class CIpAddressEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDot1xConfigDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CDot1xConfigDlg(QWidget* parent = nullptr);

    // Reads the ten global objects into the controls.
    void Refresh();
    // QuietPeriod, TxPeriod, SuppTimeout, ServerTimeout, MaxReq, ReAuthPeriod and ReAuthEnabled as they
    // stand in the controls (what the port dialog lists).
    QStringList TimerTexts() const;

protected:
    void OnInitDialog() override;

private:
    void Fill(const std::vector<SnmpBinding>& answer);
    void EnableFields(bool on);
    void OnApply();
    void OnPortSet();
    Dot1xTimerTexts Timers() const;

    CCommonSNMP& m_cCommonSNMP;        // reads
    CCommonSNMP& m_cCommonSNMPSet;     // RADIUS settings and timers
    CCommonSNMP& m_cCommonSNMPEnable;  // 802.1X state

    CIpAddressEdit* m_server = nullptr;
    QLineEdit* m_key = nullptr;
    QLineEdit* m_confirm = nullptr;
    QLineEdit* m_txPeriod = nullptr;
    QLineEdit* m_quietPeriod = nullptr;
    QLineEdit* m_suppTimeout = nullptr;
    QLineEdit* m_serverTimeout = nullptr;
    QLineEdit* m_maxReq = nullptr;
    QLineEdit* m_reAuthPeriod = nullptr;
    QComboBox* m_reAuthEnabled = nullptr;
    QCheckBox* m_enable = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_portSet = nullptr;
};
