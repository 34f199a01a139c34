// The public MIB viewers against Debian's snmpd: a stock agent shows that the dialogs read standard
// MIBs, not just our simulator. Each dialog's rows are compared with what snmpwalk reports.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QUdpSocket>
#include <memory>

#include "core/module_settings.h"
#include "dialogs/common/dialog_registry.h"
#include "dialogs/common/module_dialog.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/mib/interface_table_dlg.h"
#include "dialogs/mib/ip_table_dlg.h"
#include "dialogs/mib/mib_value_maps.h"
#include "dialogs/mib/system_info_dlg.h"
#include "dialogs/mib/tcp_service_dlg.h"
#include "dialogs/mib/udp_service_dlg.h"
#include "tests/fixtures/snmp_reader.h"
#include "tests/fixtures/snmpd_fixture.h"
#include "tests/gui/common/gui_test_support.h"
#include "tests/gui/mib/mib_test_support.h"

using namespace mibtest;
using kmsgui::Find;

namespace {

SnmpdFixture* g_snmpd = nullptr;
// Sockets of our own, open before the agent starts, so the TCP and UDP tables are never empty.
QTcpServer* g_listener = nullptr;
QUdpSocket* g_udp = nullptr;

class MibSnmpdTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_listener = new QTcpServer;
        ASSERT_TRUE(g_listener->listen(QHostAddress::LocalHost));
        g_udp = new QUdpSocket;
        ASSERT_TRUE(g_udp->bind(QHostAddress::LocalHost, 0));
        g_snmpd = new SnmpdFixture;
        std::string error;
        ASSERT_TRUE(g_snmpd->start(&error)) << error;
    }
    static void TearDownTestSuite() {
        delete g_snmpd;
        g_snmpd = nullptr;
        delete g_listener;
        delete g_udp;
    }
    void SetUp() override {
        ASSERT_TRUE(g_snmpd && g_snmpd->running());
        Settings() = g_snmpd->SettingsV1();
        reader = std::make_unique<SnmpReader>(Settings());
    }

    std::unique_ptr<SnmpReader> reader;
};

std::string Plain(int, const SnmpReadValue& v) {
    return v.value;
}

TEST_F(MibSnmpdTest, InterfaceTableShowsIfTable) {
    CInterfaceTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows want = WalkTable(*reader, {"1.3.6.1.2.1.2.2.1.1", "1.3.6.1.2.1.2.2.1.8", "1.3.6.1.2.1.2.2.1.5"},
                          [](int c, const SnmpReadValue& v) {
                              return c == 1 ? LinkStatusText(v.value) : c == 2 ? SpeedText(v.value) : v.value;
                          });
    ASSERT_FALSE(want.empty());
    Rows shown = ListRows(dlg);
    EXPECT_EQ(shown, want) << "shown:\n" << Describe(shown) << "snmpwalk:\n" << Describe(want);
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), QString::number(want.size()));
    EXPECT_EQ(dlg.windowTitle(), "Interface Table");
    kmsgui::Screenshot(dlg, "interface_table_snmpd");
}

TEST_F(MibSnmpdTest, IpTableShowsAddressesAndTitleCarriesTheDevice) {
    CIpTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows want = WalkTable(*reader, {"1.3.6.1.2.1.4.20.1.1", "1.3.6.1.2.1.4.20.1.3"}, Plain);
    ASSERT_FALSE(want.empty());
    EXPECT_TRUE(AsSet(want).count(QStringList{"127.0.0.1", "255.0.0.0"}));
    EXPECT_EQ(ListRows(dlg), want);
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), QString::number(want.size()));
    EXPECT_EQ(dlg.windowTitle(), "IP Table : 127.0.0.1");
}

TEST_F(MibSnmpdTest, TcpServiceShowsTheConnectionTable) {
    const std::vector<std::string> columns = {"1.3.6.1.2.1.6.13.1.3", "1.3.6.1.2.1.6.13.1.2",
                                              "1.3.6.1.2.1.6.13.1.4", "1.3.6.1.2.1.6.13.1.5",
                                              "1.3.6.1.2.1.6.13.1.1"};
    auto map = [](int c, const SnmpReadValue& v) { return c == 4 ? TcpStateText(v.value) : v.value; };
    Rows before = WalkTable(*reader, columns, map);
    CTcpServiceDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows shown = ListRows(dlg);
    Rows after = WalkTable(*reader, columns, map);
    ExpectSameMoment(shown, before, after);
    const QStringList ours{QString::number(g_listener->serverPort()), "127.0.0.1", "0.0.0.0", "0", "listen"};
    EXPECT_TRUE(AsSet(shown).count(ours)) << Describe(shown);
    EXPECT_EQ(Find<QLabel>(dlg, "counter"), nullptr);
    EXPECT_EQ(dlg.windowTitle(), "TCP Service");
    kmsgui::Screenshot(dlg, "tcp_service_snmpd");
}

TEST_F(MibSnmpdTest, UdpServiceShowsTheListenerTable) {
    const std::vector<std::string> columns = {"1.3.6.1.2.1.7.5.1.2", "1.3.6.1.2.1.7.5.1.1"};
    Rows before = WalkTable(*reader, columns, Plain);
    CUdpServiceDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows shown = ListRows(dlg);
    Rows after = WalkTable(*reader, columns, Plain);
    ExpectSameMoment(shown, before, after);
    EXPECT_TRUE(AsSet(shown).count(QStringList{QString::number(g_udp->localPort()), "127.0.0.1"}));
    EXPECT_TRUE(AsSet(shown).count(QStringList{QString::number(g_snmpd->port()), "127.0.0.1"}));
    EXPECT_EQ(dlg.windowTitle(), "UDP Service");

    // Refresh reads again: a socket opened since shows up.
    QUdpSocket late;
    ASSERT_TRUE(late.bind(QHostAddress::LocalHost, 0));
    const QStringList lateRow{QString::number(late.localPort()), "127.0.0.1"};
    bool seen = false;
    // The agent caches the table for a few seconds.
    for (int i = 0; i < 40 && !seen; ++i) {
        kmsgui::Click(Find<QPushButton>(dlg, "refreshButton"));
        EXPECT_FALSE(Find<QPushButton>(dlg, "refreshButton")->isEnabled());
        ASSERT_TRUE(kmsgui::WaitIdle(dlg));
        EXPECT_TRUE(Find<QPushButton>(dlg, "refreshButton")->isEnabled());
        seen = AsSet(ListRows(dlg)).count(lateRow) > 0;
        if (!seen) QTest::qWait(500);
    }
    EXPECT_TRUE(seen);
}

TEST_F(MibSnmpdTest, SystemInformationShowsTheSystemGroup) {
    const SnmpReadValue ticksBefore = reader->Get("1.3.6.1.2.1.1.3.0");
    CSystemInfoDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    const SnmpReadValue ticksAfter = reader->Get("1.3.6.1.2.1.1.3.0");
    const SnmpReadValue descr = reader->Get("1.3.6.1.2.1.1.1.0");
    const SnmpReadValue oid = reader->Get("1.3.6.1.2.1.1.2.0");
    const SnmpReadValue name = reader->Get("1.3.6.1.2.1.1.5.0");
    const SnmpReadValue location = reader->Get("1.3.6.1.2.1.1.6.0");
    ASSERT_TRUE(descr.ok && oid.ok && name.ok && ticksBefore.ok && ticksAfter.ok);
    EXPECT_EQ(Find<QPlainTextEdit>(dlg, "description")->toPlainText().toStdString(), descr.value);
    EXPECT_EQ(Find<QLineEdit>(dlg, "objectId")->text().toStdString(), oid.value);
    const std::string runtime = Find<QLineEdit>(dlg, "runtime")->text().toStdString();
    EXPECT_TRUE(runtime == UpTimeText(ticksBefore.value) || runtime == UpTimeText(ticksAfter.value))
        << runtime;
    EXPECT_EQ(Find<QLineEdit>(dlg, "name")->text().toStdString(), name.value);
    EXPECT_EQ(Find<QLineEdit>(dlg, "location")->text().toStdString(), location.value);
    EXPECT_FALSE(Find<QLineEdit>(dlg, "contact")->isVisible());
    EXPECT_EQ(dlg.windowTitle(), "System Information");
    kmsgui::Screenshot(dlg, "system_information_snmpd");
}

TEST_F(MibSnmpdTest, SystemInformationWritesNameAndLocation) {
    RecordingPrompt prompt;
    CSystemInfoDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    auto* name = Find<QLineEdit>(dlg, "name");
    auto* location = Find<QLineEdit>(dlg, "location");
    auto* apply = Find<QPushButton>(dlg, "applyButton");

    struct Step {
        QString name, location;
        QString message;  // "" when the write goes through
    };
    const std::vector<Step> steps = {
        {"kms lab-1", "Rack 4 (B)", ""},
        {"Zürich Süd", "Büro", ""},  // through the UTF-8 coder both ways
        {"bad.name", "Rack 5", "Invalid System Name."},
        {"good name", "Rack;5", "Invalid System Location."},
        {"", "", ""},
    };
    std::string storedName, storedLocation;
    for (const Step& s : steps) {
        prompt.Clear();
        name->setText(s.name);
        location->setText(s.location);
        kmsgui::Click(apply);
        ASSERT_TRUE(kmsgui::WaitIdle(dlg));
        if (s.message.isEmpty()) {
            EXPECT_TRUE(prompt.texts.isEmpty()) << prompt.texts.join("/").toStdString();
            storedName = s.name.toStdString();
            storedLocation = s.location.toStdString();
        } else {
            EXPECT_EQ(prompt.texts, QStringList{s.message});
        }
        EXPECT_EQ(reader->Get("1.3.6.1.2.1.1.5.0").value, storedName) << s.name.toStdString();
        EXPECT_EQ(reader->Get("1.3.6.1.2.1.1.6.0").value, storedLocation) << s.location.toStdString();
    }
    // The form reads the device again after a write.
    name->setText("kms-final");
    location->setText("Hall");
    kmsgui::Click(apply);
    name->setText("typed but not applied");
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    kmsgui::Click(Find<QPushButton>(dlg, "refreshButton"));
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_EQ(name->text(), "kms-final");
    EXPECT_EQ(location->text(), "Hall");
}

// The same walk over SNMPv3 with authentication and privacy (answers arrive on the session's worker).
TEST_F(MibSnmpdTest, InterfaceTableOverSnmpV3) {
    Settings() = g_snmpd->SettingsV3("usrshaaes");
    CInterfaceTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows want = WalkTable(*reader, {"1.3.6.1.2.1.2.2.1.1", "1.3.6.1.2.1.2.2.1.8", "1.3.6.1.2.1.2.2.1.5"},
                          [](int c, const SnmpReadValue& v) {
                              return c == 1 ? LinkStatusText(v.value) : c == 2 ? SpeedText(v.value) : v.value;
                          });
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(ListRows(dlg), want);
}

// Every item of the menu opens a working dialog against a stock agent, bridge MIB or not.
TEST_F(MibSnmpdTest, EveryMenuItemOpens) {
    RegisterMibDialogs();
    RecordingPrompt prompt;
    for (int id : {32805, 32809, 32808, 32810, 32811, 32812, 32813}) {
        DialogFactory factory = FindDialog(id);
        ASSERT_TRUE(factory) << id;
        std::unique_ptr<QDialog> dlg = factory(nullptr);
        auto* module = qobject_cast<CModuleDialog*>(dlg.get());
        ASSERT_NE(module, nullptr) << id;
        EXPECT_TRUE(kmsgui::OpenAndWait(*module)) << id;
        EXPECT_FALSE(dlg->windowTitle().isEmpty()) << id;
        dlg->reject();
    }
    EXPECT_TRUE(prompt.texts.isEmpty()) << prompt.texts.join("/").toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
