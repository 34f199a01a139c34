#pragma once
// "Syslog Host Configuration": switches the switch's remote logging on or off and sets the one syslog
// server it sends to (address, UDP port, facility, lowest severity).

#include <QString>
#include <string>

#include "dialogs/common/module_dialog.h"

class CIpAddressEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The facility list's entry for a code read from the switch (128 local0 ... 184 local7; anything else
// local0), and the code of an entry.
int SyslogFacilityIndex(int code);
int SyslogFacilityCode(int index);
// The severity list's entry for a code (4 warning, 6 info, 7 all; anything else the first) and back.
int SyslogSeverityIndex(int code);
int SyslogSeverityCode(int index);

class CSyslogDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CSyslogDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void Refresh();
    void OnApply();
    void EnableSettings(bool enabled);

    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPSet;

    QCheckBox* m_enable = nullptr;
    CIpAddressEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QComboBox* m_facility = nullptr;
    QComboBox* m_severity = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
};
