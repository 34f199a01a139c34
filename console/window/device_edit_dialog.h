#pragma once
// Adds or edits one device of the list: name, address and port, how it is asked (CredentialsForm),
// model (chosen, or detected by asking the switch), write access and a note. OK keeps the dialog open
// with the reason while the device cannot be listed as it stands.

#include <QDialog>

#include "console/device_list.h"
#include "console/discovery.h"
#include "console/secret_store.h"

class CredentialsForm;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// Why `device` with `credentials` cannot join `others` (the rest of the list), for people; empty when it
// can. Checked: a name, the address, the port, the credentials, and that no other device has the same
// address and port (the console opens one module per address and port).
QString DeviceFormProblem(const ConsoleDevice& device, const CredentialSet& credentials,
                          const QList<ConsoleDevice>& others);

// The form's credentials split as the console keeps them: the SNMPv3 settings in the list, the
// communities and passwords in the secret store (DeviceCredentials joins them again).
void SplitCredentials(const CredentialSet& credentials, const QString& writeCommunity, ConsoleDevice& device,
                      DeviceSecrets& secrets);

class DeviceEditDialog : public QDialog {
    Q_OBJECT
public:
    DeviceEditDialog(const ConsoleDevice& device, const DeviceSecrets& secrets, QList<ConsoleDevice> others,
                     QWidget* parent = nullptr);

    ConsoleDevice device() const;
    DeviceSecrets secrets() const;

    void accept() override;

private:
    void detect();
    void showProblem(const QString& text);

    ConsoleDevice m_device;  // the id and what the form does not show
    QList<ConsoleDevice> m_others;
    QLineEdit* m_name;
    QLineEdit* m_address;
    QSpinBox* m_port;
    QComboBox* m_model;
    QPushButton* m_detect;
    QLabel* m_detected;
    QCheckBox* m_write;
    QPlainTextEdit* m_note;
    CredentialsForm* m_credentials;
    QLabel* m_problem;
};
