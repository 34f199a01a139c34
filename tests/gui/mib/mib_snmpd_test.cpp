// The public MIB viewers against Debian's snmpd: a stock agent shows that the dialogs read standard
// MIBs, not just our simulator.

#include <gtest/gtest.h>

#include <QSet>
#include <QTcpServer>
#include <QUdpSocket>

#include "dialogs/common/dialog_registry.h"
#include "dialogs/mib/interface_table_dlg.h"
#include "dialogs/mib/ip_table_dlg.h"
#include "dialogs/mib/tcp_service_dlg.h"
#include "dialogs/mib/udp_service_dlg.h"
#include "tests/fixtures/snmpd_fixture.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

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

// The UDP table as snmpwalk reports it: "port|address" a row, the address being the index's first four arcs.
QStringList UdpRows(const SnmpReader& reader) {
    const std::string port = "1.3.6.1.2.1.7.5.1.2";
    QStringList rows;
    for (const SnmpReadValue& v : reader.Walk(port))
        rows << QString::fromStdString(v.value + "|") +
                    QString::fromStdString(v.oid.substr(port.size() + 1)).section('.', 0, 3);
    return rows;
}

// For tables that change while they are read: every row shown was in the table before or after, and
// every row that was there before and after is shown, once.
void ExpectSameMoment(const QStringList& shown, const QStringList& before, const QStringList& after) {
    const QSet<QString> b(before.begin(), before.end()), a(after.begin(), after.end());
    for (const QString& row : shown)
        if (!b.contains(row) && !a.contains(row))
            ADD_FAILURE() << "never in the table: " << row.toStdString();
    for (const QString& row : b)
        if (a.contains(row) && !shown.contains(row)) ADD_FAILURE() << "not shown: " << row.toStdString();
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), shown.size())
        << "rows shown twice: " << shown.join(" / ").toStdString();
}

TEST_F(MibSnmpdTest, TablesShowWhatTheAgentHolds) {
    // The texts are the maps' own, tested with kms-sim's tables; a stock agent's known rows show the
    // dialogs read the standard MIBs: the loopback interface, its address, our own sockets.
    RecordingPrompt prompt;
    for (const char* user : {"", "usrshaaes"}) {  // SNMPv1, then SNMPv3 authPriv
        if (*user) Settings() = g_snmpd->SettingsV3(user);
        CInterfaceTableDlg dlg;
        ASSERT_TRUE(OpenAndWait(dlg));
        EXPECT_TRUE(ListLines(dlg).contains("1|Connected|10M"))
            << user << ListLines(dlg).join(" / ").toStdString();
    }
    CIpTableDlg ip;
    ASSERT_TRUE(OpenAndWait(ip));
    EXPECT_TRUE(ListLines(ip).contains("127.0.0.1|255.0.0.0"));

    // The connection tables change while they are read: compare with a walk before and after.
    const QStringList before = UdpRows(*reader);
    CUdpServiceDlg udpDlg;
    ASSERT_TRUE(OpenAndWait(udpDlg));
    ExpectSameMoment(ListLines(udpDlg), before, UdpRows(*reader));
    EXPECT_TRUE(ListLines(udpDlg).contains(QString::number(g_udp->localPort()) + "|127.0.0.1"));
    CTcpServiceDlg tcp;
    ASSERT_TRUE(OpenAndWait(tcp));
    EXPECT_TRUE(
        ListLines(tcp).contains(QString::number(g_listener->serverPort()) + "|127.0.0.1|0.0.0.0|0|listen"))
        << ListLines(tcp).join(" / ").toStdString();

    // The other items of the menu open a working dialog as well, bridge MIB or not, and nothing is said.
    RegisterMibDialogs();
    for (int id : {32805, 32810, 32813}) {
        std::unique_ptr<QDialog> dlg = FindDialog(id)(nullptr);
        EXPECT_TRUE(OpenAndWait(*qobject_cast<CModuleDialog*>(dlg.get()))) << id;
    }
    EXPECT_TRUE(prompt.texts.isEmpty()) << prompt.texts.join("/").toStdString();
}

}  // namespace
