#pragma once
// "LLDP Global Settings": switches LLDP on or off, sets its four timers and shows the local system
// information.

#include "dialogs/common/module_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CLldpGlobalDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CLldpGlobalDlg(QWidget* parent = nullptr);

    // Reads the state, the timers and the local system information.
    void Read();

protected:
    void OnInitDialog() override;

private:
    void OnStateApply();
    void OnTimerApply();
    void Fill(const std::vector<SnmpBinding>& answer);
    // One set request, tried up to three times a second apart; 0 once it succeeded.
    int SetWithRetries(const std::vector<SetItem>& items);

    CCommonSNMP& m_cCommonSNMP;     // reads
    CCommonSNMP& m_cCommonSNMPSet;  // writes

    QCheckBox* m_enable = nullptr;
    QPushButton* m_stateApply = nullptr;
    QLineEdit* m_hold = nullptr;
    QLineEdit* m_interval = nullptr;
    QLineEdit* m_reinit = nullptr;
    QLineEdit* m_delay = nullptr;
    QPushButton* m_timerApply = nullptr;
    QLineEdit* m_chassisSubtype = nullptr;
    QLineEdit* m_chassisId = nullptr;
    QLineEdit* m_sysName = nullptr;
    QLabel* m_sysDesc = nullptr;  // wrapped: a description is longer than a line
};
