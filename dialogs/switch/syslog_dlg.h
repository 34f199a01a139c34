#pragma once
// "Syslog Host Configuration": switches the switch's remote logging on or off and sets the one syslog
// server it sends to (address, UDP port, facility, lowest severity).

#include <QString>
#include <string>

#include "dialogs/common/choices.h"
#include "dialogs/common/module_dialog.h"

class CIpAddressEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "SysLogEnable", and the "Facility:" and "Severity:" entries with the code each writes.
inline constexpr CheckValues kSyslogStateValues{1, 2};
inline constexpr Choice kSyslogFacilityChoices[] = {{"local0", 128}, {"local1", 136}, {"local2", 144},
                                                    {"local3", 152}, {"local4", 160}, {"local5", 168},
                                                    {"local6", 176}, {"local7", 184}};
inline constexpr Choice kSyslogSeverityChoices[] = {{"warning", 4}, {"info", 6}, {"all", 7}};

// The facility list's entry for a code read from the switch (128 local0 ... 184 local7; anything else
// local0).
int SyslogFacilityIndex(int code);
// The severity list's entry for a code (4 warning, 6 info, 7 all; anything else the first).
int SyslogSeverityIndex(int code);

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
