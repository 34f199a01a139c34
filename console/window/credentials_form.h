#pragma once
// How a device is asked: the SNMP version and the communities, or the SNMPv3 user with its security
// level, protocols and passwords (the module's choices). The device dialog and the discovery window
// share it.

#include <QWidget>

#include "console/discovery.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QFormLayout;

// A label whose mnemonic (the letter after "&") moves the focus to `buddy`: the forms' rows that hold
// more than one widget.
QLabel* BuddyLabel(const QString& text, QWidget* buddy);

// Why the credentials cannot be used (for people), or empty when they can.
QString CredentialsProblem(const CredentialSet& credentials);

class CredentialsForm : public QWidget {
    Q_OBJECT
public:
    // `withWriteCommunity`: the device dialog asks for the write community too; discovery only reads.
    explicit CredentialsForm(bool withWriteCommunity, QWidget* parent = nullptr);

    void setCredentials(const CredentialSet& credentials, const QString& writeCommunity = {});
    CredentialSet credentials() const;
    QString writeCommunity() const;

signals:
    void changed();

private:
    void updateFields();

    QComboBox* m_version;
    QFormLayout* m_form;
    QLineEdit* m_readCommunity;
    QLineEdit* m_writeCommunity = nullptr;
    QLineEdit* m_user;
    QComboBox* m_level;
    QComboBox* m_auth;
    QLineEdit* m_authPassword;
    QComboBox* m_priv;
    QLineEdit* m_privPassword;
};
