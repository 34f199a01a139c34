// The public MIB viewers against Debian's snmpd: a stock agent shows that the dialogs read standard
// MIBs, not just our simulator. Each dialog's rows are compared with what snmpwalk reports, mapped here.

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

// The interface table's texts, written out: link 1/2 and the speed in whole megabits.
std::string InterfaceText(int column, const SnmpReadValue& v) {
    if (column == 1) return v.value == "1" ? "Connected" : v.value == "2" ? "UnConnected" : "Unknown";
    if (column == 2) return std::to_string(std::stoull(v.value) / 1000000) + "M";
    return v.value;
}

const std::vector<std::string> kIfColumns = {"1.3.6.1.2.1.2.2.1.1", "1.3.6.1.2.1.2.2.1.8",
                                             "1.3.6.1.2.1.2.2.1.5"};

TEST_F(MibSnmpdTest, TablesEqualWhatSnmpwalkReports) {
    for (const char* user : {"", "usrshaaes"}) {  // SNMPv1, then SNMPv3 authPriv
        if (*user) Settings() = g_snmpd->SettingsV3(user);
        CInterfaceTableDlg dlg;
        ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
        Rows want = WalkTable(*reader, kIfColumns, InterfaceText);
        ASSERT_FALSE(want.empty());
        EXPECT_EQ(ListRows(dlg), want) << user;
    }
    CIpTableDlg ip;
    ASSERT_TRUE(kmsgui::OpenAndWait(ip));
    EXPECT_TRUE(AsSet(ListRows(ip)).count(QStringList{"127.0.0.1", "255.0.0.0"}));
    EXPECT_EQ(ListRows(ip), WalkTable(*reader, {"1.3.6.1.2.1.4.20.1.1", "1.3.6.1.2.1.4.20.1.3"}, Plain));

    // The connection tables change while they are read: compare with a walk before and after.
    const std::vector<std::string> udp = {"1.3.6.1.2.1.7.5.1.2", "1.3.6.1.2.1.7.5.1.1"};
    Rows before = WalkTable(*reader, udp, Plain);
    CUdpServiceDlg udpDlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(udpDlg));
    ExpectSameMoment(ListRows(udpDlg), before, WalkTable(*reader, udp, Plain));
    EXPECT_TRUE(AsSet(ListRows(udpDlg)).count(QStringList{QString::number(g_udp->localPort()), "127.0.0.1"}));
    CTcpServiceDlg tcp;
    ASSERT_TRUE(kmsgui::OpenAndWait(tcp));
    const QStringList ours{QString::number(g_listener->serverPort()), "127.0.0.1", "0.0.0.0", "0", "listen"};
    EXPECT_TRUE(AsSet(ListRows(tcp)).count(ours)) << Describe(ListRows(tcp));
    kmsgui::Screenshot(tcp, "tcp_service_snmpd");
}

TEST_F(MibSnmpdTest, SystemInformationShowsAndWritesTheSystemGroup) {
    RecordingPrompt prompt;
    CSystemInfoDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    EXPECT_EQ(Find<QPlainTextEdit>(dlg, "description")->toPlainText().toStdString(),
              reader->Get("1.3.6.1.2.1.1.1.0").value);
    EXPECT_EQ(Find<QLineEdit>(dlg, "objectId")->text().toStdString(), reader->Get("1.3.6.1.2.1.1.2.0").value);
    EXPECT_FALSE(Find<QLineEdit>(dlg, "contact")->isVisible());
    kmsgui::Screenshot(dlg, "system_information_snmpd");
    // Through the UTF-8 coder both ways; an empty name and location are written as well.
    for (auto [name, location] : std::vector<std::pair<QString, QString>>{{"Zürich Süd", "Büro"}, {"", ""}}) {
        Find<QLineEdit>(dlg, "name")->setText(name);
        Find<QLineEdit>(dlg, "location")->setText(location);
        kmsgui::Click(Find<QPushButton>(dlg, "applyButton"));
        ASSERT_TRUE(kmsgui::WaitIdle(dlg));
        EXPECT_EQ(reader->Get("1.3.6.1.2.1.1.5.0").value, name.toStdString());
        EXPECT_EQ(reader->Get("1.3.6.1.2.1.1.6.0").value, location.toStdString());
        EXPECT_EQ(Find<QLineEdit>(dlg, "name")->text(), name);  // read again
    }
    EXPECT_TRUE(prompt.texts.isEmpty()) << prompt.texts.join("/").toStdString();
}

// Every item of the menu opens a working dialog against a stock agent, bridge MIB or not.
TEST_F(MibSnmpdTest, EveryMenuItemOpens) {
    RegisterMibDialogs();
    RecordingPrompt prompt;
    for (int id : {32805, 32809, 32808, 32810, 32811, 32812, 32813}) {
        std::unique_ptr<QDialog> dlg = FindDialog(id)(nullptr);
        auto* module = qobject_cast<CModuleDialog*>(dlg.get());
        ASSERT_NE(module, nullptr) << id;
        EXPECT_TRUE(kmsgui::OpenAndWait(*module)) << id;
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
