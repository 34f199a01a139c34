#pragma once
// Where the console keeps each device's passwords and communities: the desktop's secret service
// through QtKeychain when one runs, otherwise a file of their own readable only by the user (mode
// 0600), with a notice the window shows once. Secrets never go into the device list, into a debug line
// or into a message.

#include <QHash>
#include <QObject>
#include <QString>

struct DeviceSecrets {
    QString readCommunity;
    QString writeCommunity;
    QString authPassword;
    QString privPassword;
    bool operator==(const DeviceSecrets&) const = default;
};

class SecretStore : public QObject {
    Q_OBJECT
public:
    enum class Backend { Keychain, File };

    // The secret service when one is running on the session bus, else the file
    // ConsoleConfigFolder() + "/secrets" (`fallbackPath` overrides it).
    explicit SecretStore(QObject* parent = nullptr);
    SecretStore(Backend backend, const QString& fallbackPath, QObject* parent = nullptr);
    ~SecretStore() override;

    Backend backend() const { return m_backend; }
    QString fallbackPath() const { return m_path; }

    // Synchronous (the keychain's own jobs run in a local event loop). Read of an unknown id gives empty
    // secrets and true. False with lastError() when the store cannot be read or written.
    bool read(const QString& deviceId, DeviceSecrets& secrets);
    bool write(const QString& deviceId, const DeviceSecrets& secrets);
    bool remove(const QString& deviceId);
    QString lastError() const { return m_error; }

    // True when the secrets live in the fallback file and the user has not yet been told so; the window
    // shows fallbackNotice() once and calls markFallbackNoticeShown(), which is remembered.
    bool fallbackNoticePending() const;
    void markFallbackNoticeShown();
    static QString fallbackNotice();

    // True when a secret service (freedesktop Secret Service or KWallet) is on the session bus.
    static bool secretServiceRunning();

private:
    bool loadFile();
    bool saveFile();
    QString noticeMarkerPath() const;

    Backend m_backend;
    QString m_path;
    QString m_error;
    bool m_loaded = false;
    QHash<QString, DeviceSecrets> m_file;   // the fallback file's content
    QHash<QString, DeviceSecrets> m_cache;  // what the keychain gave
};
