// The public MIB viewers and the spanning-tree dialogs against kms-sim. What each dialog shows is
// compared with kms-sim's known starting state written out here, writes with its write journal.

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "dialogs/mib/forwarding_table_dlg.h"
#include "dialogs/mib/interface_table_dlg.h"
#include "dialogs/mib/ip_table_dlg.h"
#include "dialogs/mib/stp_config_dlg.h"
#include "dialogs/mib/stp_port_config_dlg.h"
#include "dialogs/mib/stp_port_table_dlg.h"
#include "dialogs/mib/system_info_dlg.h"
#include "dialogs/mib/tcp_service_dlg.h"
#include "dialogs/mib/udp_service_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

namespace {

const char* const kRoot = "80:00:02:4B:4D:73:00:00";

class MibSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        sim = SharedSim(&error);
        ASSERT_NE(sim, nullptr) << error;
        ASSERT_TRUE(sim->Reset());
        UseSim(*sim);
    }
    // Opens the dialog and forgets what the switch received so far.
    void Open(CModuleDialog& dlg) {
        ASSERT_TRUE(OpenAndWait(dlg));
        sim->ClearJournal();
    }

    kmstest::KmsSimFixture* sim = nullptr;
    RecordingPrompt prompt;
};

// The spanning tree table's rows as the switch starts: ports 1-4 forwarding (2 of them at 100 Mbit/s,
// hence the cost), 5-8 without link.
QStringList StpRows() {
    QStringList rows;
    for (int p = 1; p <= 8; ++p) {
        const QString cost = p == 3 || p == 4 ? "200000" : "20000", state = p <= 4 ? "Forward" : "Disabled";
        rows << QString::number(p) + "|128|" + cost + "|Y|" + state + "|" + kRoot + "|0|" + kRoot +
                    QStringLiteral("|80 %1|").arg(p, 2, 10, QChar('0')) + (p <= 4 ? "1" : "0");
    }
    return rows;
}

template <class T>
std::unique_ptr<CModuleDialog> Make() {
    return std::make_unique<T>();
}

TEST_F(MibSimTest, EachTableShowsTheSwitchsTable) {
    const QStringList ifRows = {"1|Connected|1000M", "2|Connected|1000M", "3|Connected|100M",
                                "4|Connected|100M",  "5|UnConnected|0M",  "6|UnConnected|0M",
                                "7|UnConnected|0M",  "8|UnConnected|0M",  "9|Connected|1000M",
                                "10|Connected|1000M"};
    // The dialog, its title, its headings joined by '|', its rows, and whether a counter shows their number.
    const std::tuple<std::unique_ptr<CModuleDialog> (*)(), QString, QString, QStringList, bool> cases[] = {
        {Make<CInterfaceTableDlg>, "Interface Table",
         " Index        | Link Status            | Speed(b/s)                     ", ifRows, true},
        {Make<CIpTableDlg>,
         "IP Table : 127.0.0.1",
         " IP                | Netmask               ",
         {"127.0.0.1|255.0.0.0", "192.168.0.1|255.255.255.0"},
         true},
        {Make<CTcpServiceDlg>,
         "TCP Service",
         "Local Port | Local IP        | Remote IP       |Remote Port| Status ",
         {"23|0.0.0.0|0.0.0.0|0|listen", "80|0.0.0.0|0.0.0.0|0|listen",
          "23|192.168.0.1|192.168.0.100|51514|established", "80|192.168.0.1|192.168.0.100|51730|timeWait"},
         false},
        {Make<CUdpServiceDlg>,
         "UDP Service",
         "  Local Port |  Local IP      ",
         {"68|0.0.0.0", "161|0.0.0.0", "514|0.0.0.0"},
         false},
        {Make<CStpPortTableDlg>, "Spanning Tree Table",
         "Port|Priority|Cost |Enable|Status  | ==Designated Root== |Designated Cost| ==Designated Bridge== |"
         "Designated Port|Forwardings",
         StpRows(), true}};
    for (const auto& [make, title, headings, rows, counted] : cases) {
        std::unique_ptr<CModuleDialog> dlg = make();
        ASSERT_TRUE(OpenAndWait(*dlg));
        EXPECT_EQ(dlg->windowTitle(), title);
        QTreeWidgetItem* header = ListOf(*dlg)->headerItem();
        QStringList shown;
        for (int i = 0; i < header->columnCount(); ++i) shown << header->text(i);
        EXPECT_EQ(shown.join('|'), headings) << title.toStdString();
        EXPECT_EQ(ListLines(*dlg), rows);
        auto* counter = Find<QLabel>(*dlg, "counter");
        EXPECT_EQ(counter ? counter->text() : QString(), counted ? QString::number(rows.size()) : QString());
    }

    // The interface table reads again whenever it is shown (the main window brings it back).
    CInterfaceTableDlg dlg;
    ASSERT_TRUE(OpenAndWait(dlg));
    ASSERT_TRUE(sim->SetLink(3, false));
    dlg.hide();
    ASSERT_TRUE(OpenAndWait(dlg));
    EXPECT_EQ(ListLines(dlg)[2], "3|UnConnected|0M");
}

TEST_F(MibSimTest, ForwardingTableFiltersOutThePortTyped) {
    CForwardingTableDlg dlg;
    ASSERT_TRUE(OpenAndWait(dlg));
    const QStringList all = {"00-01-02-03-04-05|Static|6", "00-11-22-33-44-55|Learn|1",
                             "00-11-22-33-44-56|Learn|1",  "00-1E-06-01-02-03|Learn|2",
                             "00-50-56-0C-22-38|Learn|4",  "00-50-56-AB-CD-EF|Learn|3",
                             "02-4B-4D-73-00-00|Own|0"};
    EXPECT_EQ(ListLines(dlg), all);
    EXPECT_EQ(Find<QLineEdit>(dlg, "ageTime")->text(), "300");
    // Which rows the filter keeps is the rule's own; port 1's two rows go.
    auto* filter = Find<QLineEdit>(dlg, "destinationPort");
    filter->setText("1");
    Press(dlg, "refreshButton");
    EXPECT_EQ(ListLines(dlg), QStringList{all[0]} + all.mid(3));
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), "5");
    filter->clear();
    QTest::keyClicks(filter, "a5b");  // letters cannot be typed
    EXPECT_EQ(filter->text(), "5");
}

TEST_F(MibSimTest, RefreshWaitsForItsWalkAndASilentSwitchEndsItQuietly) {
    Settings().SnmpTimeoutText = "300";
    CIpTableDlg dlg;
    ASSERT_TRUE(OpenAndWait(dlg));
    auto* refresh = Find<QPushButton>(dlg, "refreshButton");
    ASSERT_TRUE(sim->SetDelay(150));
    Click(refresh);
    EXPECT_EQ(Enabled(dlg, {"refreshButton", "closeButton"}), "01");
    ASSERT_TRUE(WaitIdle(dlg));
    EXPECT_EQ(ListLines(dlg).size(), 2);
    ASSERT_TRUE(sim->SetDelay(0));
    ASSERT_TRUE(sim->SetSilent(-1));
    Press(dlg, "refreshButton");
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_TRUE(ListLines(dlg).empty());
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), "0");
    EXPECT_TRUE(prompt.texts.isEmpty());
    ASSERT_TRUE(sim->SetSilent(0));
}

TEST_F(MibSimTest, SystemInformationShowsAndWritesTheSystemGroup) {
    CSystemInfoDlg dlg;
    Open(dlg);
    auto* name = Find<QLineEdit>(dlg, "name");
    auto* location = Find<QLineEdit>(dlg, "location");
    EXPECT_EQ(Texts(dlg, {"name", "location", "objectId"}),
              (QStringList{"KMS-7300-08E", "Lab rack 1", "1.3.6.1.4.1.32473.10.75.1.8"}));
    EXPECT_TRUE(Find<QPlainTextEdit>(dlg, "description")->toPlainText().startsWith("KMS-7300-08E"));
    EXPECT_EQ(name->maxLength(), 20);
    // The rule's table has the other refusals; this one shows the dialog hands it the fields.
    location->setText("a.b");
    Click(Find<QPushButton>(dlg, "applyButton"));
    EXPECT_EQ(prompt.texts, QStringList{"Invalid System Location."});
    EXPECT_EQ(sim->Journal(), Lines{});
    name->setText("Floor 2 switch");
    location->setText("Büro 3");
    Press(dlg, "applyButton");
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.1.5.0=\"Floor 2 switch\"; 1.3.6.1.2.1.1.6.0=0x42C3BC726F2033"});
    EXPECT_EQ(location->text(), "Büro 3");  // read again
    sim->ClearJournal();
    name->clear();
    location->clear();
    Press(dlg, "applyButton");  // empty texts are written as well
    EXPECT_EQ(sim->Journal(), Lines{"1.3.6.1.2.1.1.5.0=\"\"; 1.3.6.1.2.1.1.6.0=\"\""});
}

// Which bridge settings are enabled: version, priority, max age, hello time, forward delay.
QString SettingsEnabled(QWidget& dlg) {
    return Enabled(dlg, {"stpVersion", "bridgePriority", "maxAge", "helloTime", "forwardDelay"});
}

TEST_F(MibSimTest, StpConfigurationShowsChecksAndWritesTheBridge) {
    CStpConfigDlg dlg;
    Open(dlg);
    EXPECT_EQ(
        Texts(dlg, {"maxAge", "helloTime", "forwardDelay", "designatedRoot", "bridgePriority", "stpVersion"}),
        (QStringList{"2000", "200", "1500", kRoot, "32768", "RSTP"}));
    EXPECT_EQ(SettingsEnabled(dlg), "11111");
    // Clearing the box disables the settings at once; "Port Setting" follows only at Apply.
    Find<QCheckBox>(dlg, "enableRstp")->click();
    EXPECT_EQ(SettingsEnabled(dlg), "00000");
    EXPECT_TRUE(Find<QPushButton>(dlg, "portSettingButton")->isEnabled());
    Press(dlg, "applyButton");
    EXPECT_FALSE(Find<QPushButton>(dlg, "portSettingButton")->isEnabled());
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.12.0=2000; 1.3.6.1.2.1.17.2.13.0=200; 1.3.6.1.2.1.17.2.14.0=1500; "
                    "1.3.6.1.2.1.17.2.2.0=32768; .6.1.2.0=2; .6.1.1.0=2"});
    // Opened again with RSTP off: the settings stay disabled until the box is set.
    CStpConfigDlg off;
    Open(off);
    EXPECT_FALSE(Find<QCheckBox>(off, "enableRstp")->isChecked());
    EXPECT_EQ(SettingsEnabled(off), "00000");
    Find<QCheckBox>(off, "enableRstp")->click();
    EXPECT_EQ(SettingsEnabled(off), "11111");
    EXPECT_FALSE(Find<QPushButton>(off, "portSettingButton")->isEnabled());

    // The bounds and relations are the rule's own, tested without a dialog. This refusal shows the dialog
    // hands it Max Age and Forward Delay each in its place, the Apply after it Hello Time.
    SetText(off, "forwardDelay", "1000");  // 2*1000-200 < 2000
    Click(Find<QPushButton>(off, "applyButton"));
    EXPECT_EQ(prompt.texts,
              QStringList{"To set the parameters Forward Delay and Max Age, the following relation is to be "
                          "satisfied: \n2*(Forward Delay - 1) >= Max Age"});
    EXPECT_EQ(Find<QLineEdit>(off, "forwardDelay")->text(), "1000");  // left for the user to correct
    EXPECT_EQ(sim->Journal(), Lines{});
    SetText(off, "forwardDelay", "1100");  // 2*1100-200 = 2000: just enough
    Choose(off, "bridgePriority", "4096");
    Choose(off, "stpVersion", "STP Compatible");
    prompt.Clear();
    Press(off, "applyButton");
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.12.0=2000; 1.3.6.1.2.1.17.2.13.0=200; 1.3.6.1.2.1.17.2.14.0=1100; "
                    "1.3.6.1.2.1.17.2.2.0=4096; .6.1.2.0=0; .6.1.1.0=1"});
    EXPECT_EQ(Find<QLineEdit>(off, "currentForwardDelay")->text(), "1100");  // read again
}

TEST_F(MibSimTest, PortSettingOpensTheTableAndPortConfigStepsAndWrites) {
    CStpConfigDlg dlg;
    Open(dlg);
    QStringList seen;
    EXPECT_TRUE(OnModal<CStpPortTableDlg>(dlg, "portSettingButton", [&](CStpPortTableDlg& table) {
        SelectLine(ListOf(table), 2);
        EXPECT_TRUE(OnModal<CStpPortConfigDlg>(table, "portConfigButton", [&](CStpPortConfigDlg& config) {
            EXPECT_EQ(config.windowTitle(), " Port STP Configuration");
            auto* next = Find<QPushButton>(config, "nextPortButton");
            for (int i = 0; i < 6; ++i) {
                seen << Texts(config, {"port", "status", "desigPort"}).join('/');
                Press(config, "nextPortButton");
            }
            EXPECT_FALSE(next->isEnabled());
            for (int i = 0; i < 5; ++i) Press(config, "prevPortButton");
            SetText(config, "pathCost", "200000001");  // the range is the rule's own
            Press(config, "applyButton");
            Choose(config, "portPriority", "32");
            SetText(config, "pathCost", "0");  // the automatic cost
            Find<QCheckBox>(config, "portEnable")->setChecked(false);
            Click(Find<QPushButton>(config, "okButton"));
        }));
        EXPECT_EQ(ListLines(table)[2].section('|', 1, 1), "32");  // OK read the table again
    }));
    EXPECT_EQ(seen, (QStringList{"3/Forward/80 03", "4/Forward/80 04", "5/Disabled/80 05", "6/Disabled/80 06",
                                 "7/Disabled/80 07", "8/Disabled/80 08"}));
    EXPECT_EQ(prompt.texts, QStringList{"Invalid Path Cost(1-200000000)"});
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.15.1.2.3=32; .6.2.1.5.3=0; 1.3.6.1.2.1.17.2.15.1.4.3=2"});
}

TEST_F(MibSimTest, AnAggregatedPortKeepsItsSettings) {
    ASSERT_TRUE(sim->Set("1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2.1", 'x', "60000000"));  // ports 2 and 3
    std::vector<QStringList> rows;
    for (const QString& line : StpRows()) rows.push_back(line.split('|'));
    CStpPortConfigDlg dlg(rows, 1);
    Open(dlg);
    ASSERT_EQ(Find<QLineEdit>(dlg, "port")->text(), "2");
    Click(Find<QPushButton>(dlg, "applyButton"));  // unchanged: nothing to say, nothing sent
    EXPECT_TRUE(prompt.texts.isEmpty());
    Choose(dlg, "portPriority", "16");
    Click(Find<QPushButton>(dlg, "okButton"));  // refused: the dialog stays open
    EXPECT_EQ(prompt.texts,
              QStringList{"Cannot add ports with different STP configurations to an aggregated link."});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(sim->Journal(), Lines{});
    Press(dlg, "nextPortButton");
    Press(dlg, "nextPortButton");
    Choose(dlg, "portPriority", "16");
    Press(dlg, "applyButton");  // port 4 is in no trunk; its cost field shows the cost in use
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.15.1.2.4=16; .6.2.1.5.4=200000; 1.3.6.1.2.1.17.2.15.1.4.4=1"});
}

TEST_F(MibSimTest, ClosingDuringAWalkDropsLateAnswersAndWritesTheSessionLines) {
    DebugCapture capture;
    ASSERT_TRUE(sim->SetDelay(300));
    for (int i = 0; i < 3; ++i) {
        auto dlg = std::make_unique<CForwardingTableDlg>();
        dlg->setWindowModality(Qt::NonModal);
        dlg->show();
        EXPECT_EQ(dlg->ActiveWalks(), 2);  // the table's walk and the aging time's get
        dlg->reject();
        dlg.reset();
        QTest::qWait(100 * i);
    }
    QTest::qWait(500);
    // Each window's three lines once (their order is the first-read test's), none from a late answer.
    EXPECT_EQ(capture.ClosingLines().size(), 9u);
}

}  // namespace
