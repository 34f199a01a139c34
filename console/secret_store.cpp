#include "console/secret_store.h"

#include <fcntl.h>
#include <qt6keychain/keychain.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "console/device_list.h"

namespace {

const char kService[] = "kms-console";

QJsonObject ToJson(const DeviceSecrets& s) {
    QJsonObject o;
    if (!s.readCommunity.isEmpty()) o["readCommunity"] = s.readCommunity;
    if (!s.writeCommunity.isEmpty()) o["writeCommunity"] = s.writeCommunity;
    if (!s.authPassword.isEmpty()) o["authPassword"] = s.authPassword;
    if (!s.privPassword.isEmpty()) o["privPassword"] = s.privPassword;
    return o;
}

DeviceSecrets FromJson(const QJsonObject& o) {
    return {o["readCommunity"].toString(), o["writeCommunity"].toString(), o["authPassword"].toString(),
            o["privPassword"].toString()};
}

// Runs a keychain job to its end.
bool RunJob(QKeychain::Job& job, QString& error) {
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound) return true;
    error = "The secret service refused: " + job.errorString();
    return false;
}

// Writes `bytes` to `path` through a temporary file that is mode 0600 from its creation, then renames it
// over `path`: the secrets are never readable by others, and a crash leaves the old file or the new one.
bool WritePrivateFile(const QString& path, const QByteArray& bytes, QString& error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);  // mode 0600
    if (fd < 0) {
        error = "The secret file cannot be written in " + QFileInfo(path).absolutePath() + ".";
        return false;
    }
    bool ok = fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        ok = n > 0;
        done += n > 0 ? n : 0;
    }
    ok = ok && fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        unlink(temp.constData());
        error = "The secret file " + path + " could not be written.";
    }
    return ok;
}

}  // namespace

SecretStore::SecretStore(QObject* parent)
    : SecretStore(secretServiceRunning() ? Backend::Keychain : Backend::File, {}, parent) {}

SecretStore::SecretStore(Backend backend, const QString& fallbackPath, QObject* parent)
    : QObject(parent),
      m_backend(backend),
      m_path(fallbackPath.isEmpty() ? ConsoleConfigFolder() + "/secrets" : fallbackPath) {}

SecretStore::~SecretStore() = default;

bool SecretStore::secretServiceRunning() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    for (const char* name : {"org.freedesktop.secrets", "org.kde.kwalletd6", "org.kde.kwalletd5"})
        if (bus.interface()->isServiceRegistered(QString::fromLatin1(name))) return true;
    return false;
}

bool SecretStore::loadFile() {
    if (m_loaded) return true;
    QFile file(m_path);
    if (!file.exists()) {
        m_loaded = true;
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = "The secret file " + m_path + " cannot be read.";
        return false;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject()) {
        m_error = "The secret file " + m_path + " is damaged; it is left as it is.";
        return false;
    }
    const QJsonObject devices = doc.object()["devices"].toObject();
    for (auto it = devices.begin(); it != devices.end(); ++it)
        m_file.insert(it.key(), FromJson(it.value().toObject()));
    m_loaded = true;
    return true;
}

bool SecretStore::saveFile() {
    QJsonObject devices;
    for (auto it = m_file.begin(); it != m_file.end(); ++it) devices[it.key()] = ToJson(it.value());
    QJsonObject root;
    root["devices"] = devices;
    const QString folder = QFileInfo(m_path).absolutePath();
    QDir().mkpath(folder);
    return WritePrivateFile(m_path, QJsonDocument(root).toJson(QJsonDocument::Indented), m_error);
}

bool SecretStore::read(const QString& id, DeviceSecrets& secrets) {
    m_error.clear();
    if (m_backend == Backend::File) {
        if (!loadFile()) return false;
        secrets = m_file.value(id);
        return true;
    }
    if (m_cache.contains(id)) {
        secrets = m_cache.value(id);
        return true;
    }
    QKeychain::ReadPasswordJob job(QString::fromLatin1(kService));
    job.setKey(id);
    if (!RunJob(job, m_error)) return false;
    secrets = FromJson(QJsonDocument::fromJson(job.textData().toUtf8()).object());
    m_cache.insert(id, secrets);
    return true;
}

bool SecretStore::write(const QString& id, const DeviceSecrets& secrets) {
    m_error.clear();
    if (m_backend == Backend::File) {
        if (!loadFile()) return false;
        m_file.insert(id, secrets);
        return saveFile();
    }
    QKeychain::WritePasswordJob job(QString::fromLatin1(kService));
    job.setKey(id);
    job.setTextData(QString::fromUtf8(QJsonDocument(ToJson(secrets)).toJson(QJsonDocument::Compact)));
    if (!RunJob(job, m_error)) return false;
    m_cache.insert(id, secrets);
    return true;
}

bool SecretStore::remove(const QString& id) {
    m_error.clear();
    if (m_backend == Backend::File) {
        if (!loadFile()) return false;
        if (!m_file.remove(id)) return true;
        return saveFile();
    }
    QKeychain::DeletePasswordJob job(QString::fromLatin1(kService));
    job.setKey(id);
    m_cache.remove(id);
    return RunJob(job, m_error);
}

QString SecretStore::noticeMarkerPath() const {
    return QFileInfo(m_path).absolutePath() + "/secrets-notice-shown";
}

bool SecretStore::fallbackNoticePending() const {
    return m_backend == Backend::File && !QFileInfo::exists(noticeMarkerPath());
}

void SecretStore::markFallbackNoticeShown() {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile marker(noticeMarkerPath());
    if (marker.open(QIODevice::WriteOnly)) marker.write("The fallback notice was shown.\n");
}

QString SecretStore::fallbackNotice() {
    return "No secret service (such as GNOME Keyring or KWallet) is running, so kms-console keeps the "
           "devices' passwords and communities in a file readable only by you (mode 0600) in its "
           "configuration folder. Start a secret service to keep them there instead.";
}
