#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "console/device_list.h"
#include "console/secret_store.h"

namespace {

// Every field set, each list of them different; SNMPv3 devices with an authPriv user.
ConsoleDevice Device(int n, int version) {
    const bool v3 = version == 3;
    const QString name = QStringLiteral("switch %1").arg(n),
                  ip = QStringLiteral("192.0.2.%1").arg(n % 250 + 1), user = v3 ? "admin" : "",
                  model = n % 2 ? "KMS-7300-08E" : "";
    const int level = v3 ? 3 : 1, auth = v3 ? 5 : 1, priv = v3 ? 2 : 1;
    return {NewDeviceId(), name, ip,   16100 + n, version,    user,
            level,         auth, priv, model,     n % 3 != 0, "rack 4\\2\nline 2"};
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(DeviceListFile, RoundTripAndDamage) {
    const QList<ConsoleDevice> devices = {Device(1, 1), Device(2, 2), Device(3, 3)};
    QList<ConsoleDevice> back;
    int line = 0;
    QString error;
    ASSERT_TRUE(ParseDeviceList(FormatDeviceList(devices), back, line, error)) << error.toStdString();
    EXPECT_EQ(back, devices);

    const QString good = "format = 1\n[device]\nid = a\naddress = 192.0.2.1\n";
    const std::tuple<QString, int, const char*> cases[] = {
        {good + "level = authPriv\nauth = SHA-9\n", 6, "\"SHA-9\" is not a value of auth"},
        {good + "colour = red\n", 5, "unknown key"},
        {good + "port = 1\nport = 2\n", 6, "given twice"},
        {good + "garbage\n", 5, "expected"},
        {"name = x\n" + good, 1, "outside a [device] block"},
        {"format = 2\n", 1, "newer kms-console"},
        {good + "[device]\nid = a\naddress = 192.0.2.2\n", 5, "given twice"},
        {good + "[device]\nid = b\naddress = 192.0.2.300\n", 5, "IPv4 address"},
        {good + "version = 3\n", 2, "user name"},
    };
    for (const auto& [text, wantLine, why] : cases) {
        EXPECT_FALSE(ParseDeviceList(text, back, line, error)) << text.toStdString();
        EXPECT_TRUE(line == wantLine && error.contains(why)) << line << ": " << error.toStdString();
    }

    // A damaged file is reported with its line and moved aside, intact; the next save does not touch it.
    QTemporaryDir dir;
    const QString path = dir.path() + "/devices.conf";
    const QByteArray damaged = (good + "port = seventy\n").toUtf8();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(damaged) == damaged.size());
    f.close();
    const DeviceListLoad load = LoadDeviceList(path);
    EXPECT_TRUE(!load.ok && load.message.contains("devices.conf line 5: \"seventy\" is not a value of port"))
        << load.message.toStdString();
    EXPECT_TRUE(load.keptAs.startsWith(path + ".damaged-") && !QFile::exists(path))
        << load.keptAs.toStdString();
    ASSERT_TRUE(SaveDeviceList(devices, nullptr, path));
    EXPECT_EQ(Read(load.keptAs), damaged);
    EXPECT_EQ(LoadDeviceList(path).devices, devices);
}

// A process killed at any moment while saving leaves the old list or the new one, whole.
TEST(DeviceListFile, SurvivesAKilledSave) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/devices.conf";
    QList<ConsoleDevice> a, b;
    for (int i = 0; i < 3000; ++i) a.append(Device(i, 1 + i % 3));
    for (int i = 0; i < 2000; ++i) b.append(Device(i + 7, 3));
    ASSERT_TRUE(SaveDeviceList(a, nullptr, path));
    for (int round = 0; round < 5; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            [[maybe_unused]] ssize_t n = write(ready[1], "x", 1);
            for (int i = 0;; ++i) SaveDeviceList(i % 2 ? a : b, nullptr, path);
        }
        char c;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        close(ready[0]);
        close(ready[1]);
        usleep(20000 + round * 17000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const DeviceListLoad load = LoadDeviceList(path);
        ASSERT_TRUE(load.ok) << load.message.toStdString();
        EXPECT_TRUE(load.devices == a || load.devices == b) << load.devices.size();
    }
}

TEST(SecretStore, FallbackFileIsPrivateAndSecretsStayOutOfTheList) {
    QTemporaryDir dir;
    const QString secretsPath = dir.path() + "/kms-console/secrets";
    const DeviceSecrets s{"read-c0mm", "write-c0mm", "auth-pa55", "priv-pa55"};
    ConsoleDevice d = Device(1, 3);
    {
        SecretStore store(SecretStore::Backend::File, secretsPath);
        EXPECT_TRUE(store.fallbackNoticePending());
        ASSERT_TRUE(store.write(d.id, s)) << store.lastError().toStdString();
        store.markFallbackNoticeShown();
    }
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(secretsPath).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    SecretStore again(SecretStore::Backend::File, secretsPath);
    DeviceSecrets back;
    ASSERT_TRUE(again.read(d.id, back));
    EXPECT_EQ(back, s);
    EXPECT_FALSE(again.fallbackNoticePending());
    ASSERT_TRUE(again.remove(d.id));
    ASSERT_TRUE(SecretStore(SecretStore::Backend::File, secretsPath).read(d.id, back));
    EXPECT_EQ(back, DeviceSecrets{});

    const QString listPath = dir.path() + "/kms-console/devices.conf";
    ASSERT_TRUE(SaveDeviceList({d}, nullptr, listPath));
    const QByteArray list = Read(listPath);
    for (const QString& secret : {s.readCommunity, s.writeCommunity, s.authPassword, s.privPassword})
        EXPECT_FALSE(list.contains(secret.toUtf8()));
}
