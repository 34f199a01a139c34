// The public MIB viewers against Debian's snmpd: a stock agent shows that the dialogs read standard
// MIBs, not just our simulator. Each dialog's rows are compared with what snmpwalk reports, mapped here.

#include <gtest/gtest.h>

#include <QSet>
#include <QTcpServer>
#include <QUdpSocket>
#include <map>

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

// The interface table's texts, written out: link 1/2 and the speed in whole megabits.
std::string InterfaceText(int column, const SnmpReadValue& v) {
    if (column == 1) return v.value == "1" ? "Connected" : v.value == "2" ? "UnConnected" : "Unknown";
    if (column == 2) return std::to_string(std::stoull(v.value) / 1000000) + "M";
    return v.value;
}

// The table as snmpwalk reports it, one walk per column, each row's texts (the values, or what `map` makes
// of them) joined by '|' in the order of the first column; rows missing from a later column are dropped.
QStringList WalkTable(const SnmpReader& reader, const std::vector<std::string>& columns,
                      const std::function<std::string(int column, const SnmpReadValue&)>& map = {}) {
    std::vector<std::string> order;
    std::map<std::string, QStringList> cells;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        for (const SnmpReadValue& v : reader.Walk(columns[c])) {
            if (v.oid.compare(0, columns[c].size(), columns[c]) != 0) continue;
            const std::string suffix = v.oid.substr(columns[c].size());
            if (c == 0) order.push_back(suffix);
            if (cells[suffix].size() == c) cells[suffix] << QString::fromStdString(map ? map(c, v) : v.value);
        }
    }
    QStringList rows;
    for (const std::string& suffix : order)
        if (cells[suffix].size() == static_cast<int>(columns.size())) rows << cells[suffix].join('|');
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

TEST_F(MibSnmpdTest, TablesEqualWhatSnmpwalkReports) {
    for (const char* user : {"", "usrshaaes"}) {  // SNMPv1, then SNMPv3 authPriv
        if (*user) Settings() = g_snmpd->SettingsV3(user);
        CInterfaceTableDlg dlg;
        ASSERT_TRUE(OpenAndWait(dlg));
        const QStringList want = WalkTable(
            *reader, {"1.3.6.1.2.1.2.2.1.1", "1.3.6.1.2.1.2.2.1.8", "1.3.6.1.2.1.2.2.1.5"}, InterfaceText);
        ASSERT_FALSE(want.empty());
        EXPECT_EQ(ListLines(dlg), want) << user;
    }
    CIpTableDlg ip;
    ASSERT_TRUE(OpenAndWait(ip));
    EXPECT_TRUE(ListLines(ip).contains("127.0.0.1|255.0.0.0"));
    EXPECT_EQ(ListLines(ip), WalkTable(*reader, {"1.3.6.1.2.1.4.20.1.1", "1.3.6.1.2.1.4.20.1.3"}));

    // The connection tables change while they are read: compare with a walk before and after.
    const std::vector<std::string> udp = {"1.3.6.1.2.1.7.5.1.2", "1.3.6.1.2.1.7.5.1.1"};
    const QStringList before = WalkTable(*reader, udp);
    CUdpServiceDlg udpDlg;
    ASSERT_TRUE(OpenAndWait(udpDlg));
    ExpectSameMoment(ListLines(udpDlg), before, WalkTable(*reader, udp));
    EXPECT_TRUE(ListLines(udpDlg).contains(QString::number(g_udp->localPort()) + "|127.0.0.1"));
    CTcpServiceDlg tcp;
    ASSERT_TRUE(OpenAndWait(tcp));
    EXPECT_TRUE(
        ListLines(tcp).contains(QString::number(g_listener->serverPort()) + "|127.0.0.1|0.0.0.0|0|listen"))
        << ListLines(tcp).join(" / ").toStdString();
}

// Every item of the menu opens a working dialog against a stock agent, bridge MIB or not.
TEST_F(MibSnmpdTest, EveryMenuItemOpens) {
    RegisterMibDialogs();
    RecordingPrompt prompt;
    for (int id : {32805, 32809, 32808, 32810, 32811, 32812, 32813}) {
        std::unique_ptr<QDialog> dlg = FindDialog(id)(nullptr);
        auto* module = qobject_cast<CModuleDialog*>(dlg.get());
        ASSERT_NE(module, nullptr) << id;
        EXPECT_TRUE(OpenAndWait(*module)) << id;
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
