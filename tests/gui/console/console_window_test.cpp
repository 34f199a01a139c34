// kms-console's windows as a user drives them, against three kms-sims on one port of 127.0.0.21..23:
// .21 a 08E and .22 a 28E that know the community "pubA", .23 a 08E that knows only the SNMPv3 users.
#include "console/window/console_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSpinBox>

#include "console/window/device_edit_dialog.h"
#include "console/window/device_list_proxy.h"
#include "console/window/discovery_window.h"
#include "tests/gui/common/gui_test_support.h"

// Which secrets are set, never their values.
void PrintTo(const DeviceSecrets& s, std::ostream* os) {
    *os << "secrets of lengths " << s.readCommunity.size() << "/" << s.writeCommunity.size() << "/"
        << s.authPassword.size() << "/" << s.privPassword.size();
}

namespace {

using kmsgui::Find;
using kmstest::KmsSimFixture;

CredentialSet Community(const QString& community) {
    return {1, community, {}, 1, 1, {}, 1, {}};
}
// An SNMPv3 authPriv user.
CredentialSet User(const QString& name, int auth, const QString& authPassword, int priv,
                   const QString& privPassword) {
    return {3, {}, name, 3, auth, authPassword, priv, privPassword};
}

class ConsoleWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_port = FreeLoopbackUdpPort();
        for (const auto& [address, model, community] :
             {std::tuple{"127.0.0.21", "08E", "pubA"}, std::tuple{"127.0.0.22", "28E", "pubA"},
              std::tuple{"127.0.0.23", "08E", "unused"}}) {
            s_sims.push_back(std::make_unique<KmsSimFixture>(KmsSimFixture::Options{
                .model = model, .readCommunity = community, .address = address, .port = s_port}));
            ASSERT_TRUE(s_sims.back()->Start()) << s_sims.back()->LastError();
        }
    }
    static void TearDownTestSuite() { s_sims.clear(); }

    // A configuration folder of its own for each test, where kms-module also finds the models' settings.
    void SetUp() override {
        QDir().mkpath(ConsoleConfigFolder());
        QFile::link(KMS_SOURCE_DIR "/assets", QString::fromStdString(m_config.Path()) + "/kms-module");
    }
    static QString ListPath() { return ConsoleConfigFolder() + "/devices.conf"; }
    static QString SecretsPath() { return ConsoleConfigFolder() + "/secrets"; }
    // The rows of the window's list as "address|model|status", in the list's order.
    static QStringList Rows(ConsoleWindow& w) {
        QStringList rows;
        DeviceListProxy& m = w.listModel();
        for (int r = 0; r < m.rowCount(); ++r)
            rows << m.index(r, DeviceTableModel::Address).data().toString() + "|" +
                        m.index(r, DeviceTableModel::Model).data().toString() + "|" +
                        m.index(r, DeviceTableModel::Status).data().toString();
        return rows;
    }
    // What the secrets file holds for the device (read by a store of its own).
    static DeviceSecrets Stored(const QString& id) {
        DeviceSecrets s;
        EXPECT_TRUE(SecretStore(SecretStore::Backend::File, SecretsPath()).read(id, s)) << id.toStdString();
        return s;
    }

    static inline int s_port = 0;
    static inline std::vector<std::unique_ptr<KmsSimFixture>> s_sims;
    kmstest::TempDir m_config{"console-window-test"};
    // Set before the store picks its file.
    bool m_env = qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_config.Path()));
    SecretStore m_store{SecretStore::Backend::File, SecretsPath()};
};

// What the device dialog refuses, and why.
TEST(DeviceForm, RefusesWhatCannotBeListed) {
    const ConsoleDevice listed{"b", "Other", "192.0.2.7", 161, 1, {}, 1, 1, 1, {}, true, {}};
    const CredentialSet v1 = Community("c"), noCommunity = Community(""),
                        v3 = User("admin", 5, "12345678", 4, "12345678"),
                        blank = User("ad min", 5, "12345678", 4, "12345678"),
                        shortAuth = User("admin", 5, "1234567", 4, "12345678"),
                        shortPriv = User("admin", 5, "12345678", 4, "1234567");
    // Name, address, port, credentials; the refusal.
    const std::tuple<const char*, const char*, int, CredentialSet, const char*> cases[] = {
        {"n", "192.0.2.8", 161, v1, ""},
        {"n", "192.0.2.7", 162, v3, ""},
        {" ", "192.0.2.8", 161, v1, "Give the device a name."},
        {"n", "192.0.2", 161, v1, "The address must be an IPv4 address such as 192.0.2.7."},
        {"n", "192.0.2.8", 65536, v1, "The UDP port must be between 1 and 65535."},
        {"n", "192.0.2.8", 161, noCommunity, "Give the read community (SNMPv1 and SNMPv2c need one)."},
        {"n", "192.0.2.8", 161, blank, "The SNMPv3 user name may contain neither blanks nor slashes."},
        {"n", "192.0.2.8", 161, shortAuth, "The authentication password needs at least 8 characters."},
        {"n", "192.0.2.8", 161, shortPriv, "The privacy password needs at least 8 characters."},
        {"n", "192.0.2.7", 161, v3, "192.0.2.7 port 161 is already listed as \"Other\"."},
    };
    for (const auto& [name, address, port, c, problem] : cases) {
        ConsoleDevice d;  // a designated list would leave the texts without initialisers (-Werror)
        d.id = "a";
        d.name = name;
        d.address = address;
        d.port = port;
        DeviceSecrets unused;
        SplitCredentials(c, {}, d, unused);
        EXPECT_EQ(DeviceFormProblem(d, c, {listed}).toStdString(), problem) << name << address << port;
    }
}

TEST_F(ConsoleWindowTest, AddedDeviceKeepsItsSecretsOutOfTheListAndIsPolledWithThem) {
    ConsoleWindow w(m_store);
    w.show();
    QString refusal;
    auto ran = kmsgui::WhenModal<DeviceEditDialog>([&](DeviceEditDialog& d) {
        kmsgui::SetText(d, "name", "Rack 23");
        kmsgui::SetText(d, "address", "127.0.0.300");
        Find<QSpinBox>(d, "port")->setValue(s_port);
        kmsgui::Choose(d, "version", "SNMPv3");
        kmsgui::SetText(d, "userName", "kmsshaaes");
        kmsgui::Choose(d, "securityLevel", 2);
        kmsgui::Choose(d, "authProtocol", "SHA-1");
        kmsgui::SetText(d, "authPassword", "kmsshaaes-auth");
        kmsgui::Choose(d, "privProtocol", "AES-128");
        kmsgui::SetText(d, "privPassword", "kmsshaaes-priv");
        kmsgui::Choose(d, "model", "KMS-7300-08E");
        d.accept();
        refusal = Find<QLabel>(d, "problem")->text();
        kmsgui::SetText(d, "address", "127.0.0.23");
        kmsgui::Screenshot(d, "console-edit-dialog");
        d.accept();
    });
    w.findChild<QAction*>("addDevice")->trigger();
    ASSERT_TRUE(*ran);
    EXPECT_EQ(refusal, "The address must be an IPv4 address such as 192.0.2.7.");

    QFile listFile(ListPath());
    ASSERT_TRUE(listFile.open(QIODevice::ReadOnly));
    const QString list = QString::fromUtf8(listFile.readAll());
    EXPECT_TRUE(list.contains("address = 127.0.0.23") && list.contains("user = kmsshaaes"))
        << list.toStdString();
    EXPECT_FALSE(list.contains("kmsshaaes-")) << "a password in the list file";
    EXPECT_EQ(Stored(w.listModel().index(0, 0).data(DeviceTableModel::IdRole).toString()),
              (DeviceSecrets{"", "", "kmsshaaes-auth", "kmsshaaes-priv"}));
    // Polled with those secrets: the switch answers, and the side pane logs the change.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Rows(w) == QStringList{"127.0.0.23|KMS-7300-08E|up"}; }, 20000))
        << Rows(w).join(' ').toStdString();
    EXPECT_EQ(kmsgui::Row(Find<QTreeWidget>(w, "events"), 0).value(1), "up");
}

// A damaged list is reported with its line and kept aside; discovery then lists what answered and adds the
// chosen rows.
TEST_F(ConsoleWindowTest, DamagedListIsKeptThenDiscoveryAddsTheChosenRows) {
    const QByteArray damaged = "format = 1\n\n[device]\nid = a\naddress = 127.0.0.21\ncolour = red\n";
    QFile f(ListPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(damaged) == damaged.size());
    f.close();
    ConsoleWindow w(m_store);
    auto* report = w.findChild<QLabel*>("text", Qt::FindChildrenRecursively);
    const QStringList kept = QDir(ConsoleConfigFolder()).entryList({"devices.conf.damaged-*"});
    ASSERT_TRUE(w.findChild<QWidget*>("listNotice") && report && kept.size() == 1) << kept.size();
    EXPECT_TRUE(report->text().contains(ListPath() + " line 6: unknown key \"colour\"") &&
                report->text().contains(ConsoleConfigFolder() + "/" + kept[0]))
        << report->text().toStdString();
    EXPECT_EQ(w.listModel().rowCount(), 0);
    w.show();
    w.findChild<QAction*>("discover")->trigger();
    auto* dw = w.findChild<DiscoveryWindow*>();
    ASSERT_TRUE(dw && dw->isVisible());
    auto* state = Find<QLabel>(*dw, "state");
    kmsgui::SetText(*dw, "range", "10.0.0.0/15");
    kmsgui::Click(Find<QPushButton>(*dw, "start"));
    EXPECT_EQ(state->text(),
              "The range 10.0.0.0/15 holds 131072 addresses; one discovery covers at most 65,536 (a /16).");

    dw->setCredentialSets({Community("pubA"), User("kmsmd5des", 2, "kmsmd5des-auth", 2, "kmsmd5des-priv")});
    kmsgui::SetText(*dw, "range", "127.0.0.20-127.0.0.24");
    Find<QSpinBox>(*dw, "port")->setValue(s_port);
    Find<QSpinBox>(*dw, "timeout")->setValue(500);
    kmsgui::Click(Find<QPushButton>(*dw, "start"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return state->text().startsWith("Done"); }, 20000))
        << state->text().toStdString();
    auto* results = Find<QTreeWidget>(*dw, "results");
    EXPECT_EQ(kmsgui::ListLines(results),
              QStringList({"127.0.0.21|KMS-7300-08E|KMS-7300-08E|SNMPv1 community 1|KMS-7300-08E 8-Port "
                           "Gigabit PoE Managed Switch",
                           "127.0.0.22|KMS-7300-28E|KMS-7300-28E|SNMPv1 community 1|KMS-7300-28E 28-Port "
                           "Fast Ethernet PoE Managed Switch",
                           "127.0.0.23|KMS-7300-08E|KMS-7300-08E|SNMPv3 user kmsmd5des (authPriv, "
                           "MD5/DES)|KMS-7300-08E 8-Port Gigabit PoE Managed Switch"}));
    kmsgui::Screenshot(*dw, "console-discovery-window");
    results->topLevelItem(1)->setCheckState(0, Qt::Unchecked);  // the user leaves .22 out
    kmsgui::Click(Find<QPushButton>(*dw, "addSelected"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return Rows(w).filter("|up").size() == 2; }, 20000))
        << Rows(w).join(' ').toStdString();
    EXPECT_EQ(Rows(w), QStringList({"127.0.0.21|KMS-7300-08E|up", "127.0.0.23|KMS-7300-08E|up"}));
    const DeviceListLoad load = LoadDeviceList(ListPath());
    ASSERT_EQ(load.devices.size(), 2) << load.message.toStdString();
    EXPECT_EQ(std::tuple(load.devices[1].userName, Stored(load.devices[0].id), Stored(load.devices[1].id)),
              std::tuple(QString("kmsmd5des"), DeviceSecrets{"pubA", "", "", ""},
                         DeviceSecrets{"", "", "kmsmd5des-auth", "kmsmd5des-priv"}));
    kmsgui::Screenshot(w, "console-main-window");
}

TEST_F(ConsoleWindowTest, OpenStartsTheModuleAndTheRowFollowsItsLife) {
    const QString model = "KMS-7300-28E";  // listed as SNMPv2c
    const ConsoleDevice d{"dev-22", "Floor 2", "127.0.0.22", s_port, 2, {}, 1, 1, 1, model, true, {}};
    ASSERT_TRUE(SaveDeviceList({d}, nullptr, ListPath()) && m_store.write(d.id, {"pubA", "wr", "", ""}));
    const QString panel = QString::fromStdString(m_config.Path()) + "/panel.png";
    qputenv("KMS_SNAPSHOT", panel.toUtf8());  // the module saves its panel after the first poll and ends
    // The module of the build tree, ended by `timeout` should it hang (it finds the models' settings in the
    // configuration folder).
    const QString module = QString::fromStdString(m_config.Path()) + "/module.sh";
    QFile script(module);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec timeout 60 " KMS_MODULE_PATH " \"$@\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    ConsoleWindow w(m_store);
    w.launcher().SetModulePath(module);
    w.show();
    QSignalSpy changes(&w.launcher(), &ModuleLauncher::OpenChanged);
    const QModelIndex name = w.listModel().index(0, DeviceTableModel::Name);
    EXPECT_FALSE(name.data(DeviceListProxy::OpenRole).toBool());
    w.findChild<QAction*>("openDevice")->trigger();
    EXPECT_TRUE(name.data(DeviceListProxy::OpenRole).toBool());
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() == 2; }, 60000));
    qunsetenv("KMS_SNAPSHOT");
    EXPECT_FALSE(name.data(DeviceListProxy::OpenRole).toBool());
    EXPECT_EQ(QImage(panel).size(), QSize(860, 130));  // the 28E's panel
}

}  // namespace
