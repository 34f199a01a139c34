#pragma once
// "System Information": the system group of the device (description, object identifier, up-time,
// contact, name, location), with name and location writable.

#include <QString>
#include <string>

#include "dialogs/common/module_dialog.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CSystemInfoDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CSystemInfoDlg(QWidget* parent = nullptr);

    // Reads the six system objects; the fields change only on a complete answer.
    void Read();
    // Checks name and location and writes both; nothing is sent when a check fails.
    void Apply();

protected:
    void OnInitDialog() override;

private:
    void Fill(const std::vector<SnmpBinding>& bindings);

    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPSet;
    QPlainTextEdit* m_description = nullptr;
    QLineEdit* m_objectId = nullptr;
    QLineEdit* m_runtime = nullptr;
    QLineEdit* m_contact = nullptr;  // read, kept hidden, never written
    QLineEdit* m_name = nullptr;
    QLineEdit* m_location = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_close = nullptr;
};

// Field limits of the form, in characters.
constexpr int kSystemNameLimit = 20;
constexpr int kSystemLocationLimit = 20;
constexpr int kSystemContactLimit = 32;

// The checks of Apply in order: "" when name and location may be written, else the message to show.
QString CheckSystemInfo(const std::string& name, const std::string& location);
