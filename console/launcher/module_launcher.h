#pragma once
// Starts kms-module for a device as a console does: the positional command line with placeholders where
// the secrets go, the secrets on the module's standard input (KMS_CREDENTIALS=stdin), and the model's
// User.ini named in KMS_USER_INI, so that several models open side by side from one installation.

#include <QHash>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QProcess;

struct ModuleTarget {
    std::string name{};     // item /N
    std::string address{};  // /I
    int port = 161;         // /P
    int version = 1;        // /V: 1, 2 (SNMPv2c) or 3
    std::string model{};    // "KMS-7300-08E" or "KMS-7300-28E": picks models/<model>/User.ini
    bool writeAccess = true;
    int securityLevel = 1;  // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    std::string userName{};
    int authProtocol = 0;  // module codes: 2 MD5, 3 SHA-1, 4..7 SHA-224..512; 0 none
    int privProtocol = 0;  // 2 DES, 4 AES-128; 0 none
    // Secrets ({} on every string: designated initializers may leave any of them out).
    std::string readCommunity{}, writeCommunity{}, authPassword{}, privPassword{};
};

// The positional command line: "-" where a community or password goes; SNMPv1 and v2c lines end after
// the port. A name's blanks and slashes are left out (the module drops blanks and ends a value at a
// slash; nothing reads the name).
std::vector<std::string> ModuleArguments(const ModuleTarget& target);
// The secrets as the module reads them on standard input (all four, then the empty line).
std::string CredentialBlock(const ModuleTarget& target);

class ModuleLauncher : public QObject {
    Q_OBJECT
public:
    explicit ModuleLauncher(QObject* parent = nullptr);
    // Modules still running stay open: a window the user works in is not closed with the console.
    ~ModuleLauncher() override;

    // Default: kms-module beside this executable, else on PATH.
    void SetModulePath(const QString& path);
    QString ModulePath() const;

    // Starts kms-module for the target. When a module this launcher started for the same key still runs,
    // starting it again makes it bring its window to the front (the module's single-instance rule).
    // False with a reason when it cannot start: an address or user name the command line cannot carry,
    // no settings for the model, no kms-module, or a program that would not start.
    bool Open(const ModuleTarget& target, QString* error = nullptr);
    bool IsOpen(const QString& key) const { return m_open.contains(key); }
    static QString Key(const ModuleTarget& target);  // "address:port"

    // The model's User.ini in the installation of `modulePath`: models/<model>/User.ini in the folders
    // the module looks in (its own, the user's configuration folder, share/kms-module); empty when none.
    static QString ModelSettingsFile(const QString& modulePath, const std::string& model);

signals:
    void OpenChanged(const QString& key, bool open);  // started, and when its process ended

private:
    QString m_modulePath;
    QHash<QString, QProcess*> m_open;
};
