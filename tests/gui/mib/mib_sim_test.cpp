// The public MIB viewers and the spanning-tree dialogs against kms-sim. What each dialog shows is
// compared with kms-sim's known starting state written out here, writes with its write journal.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "dialogs/common/user_prompt.h"
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
#include "tests/gui/mib/mib_test_support.h"

using namespace mibtest;
using kmsgui::Click;
using kmsgui::Find;
using Lines = std::vector<std::string>;

namespace {

const char* const kRoot = "80:00:02:4B:4D:73:00:00";

class MibSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        sim = kmsgui::SharedSim(&error);
        ASSERT_NE(sim, nullptr) << error;
        ASSERT_TRUE(sim->Reset());
        ASSERT_TRUE(sim->SetDelay(0));
        kmsgui::UseSim(*sim);
    }
    // Opens the dialog and forgets what the switch received so far.
    void Open(CModuleDialog& dlg) {
        ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
        sim->ClearJournal();
    }

    kmstest::KmsSimFixture* sim = nullptr;
    RecordingPrompt prompt;
};

// The spanning tree table's row of port p as the switch starts: ports 1-4 forwarding (2 of them at
// 100 Mbit/s, hence the cost), 5-8 without link.
QStringList StpRow(int p) {
    const bool up = p <= 4;
    return {QString::number(p),
            "128",
            (p == 3 || p == 4) ? "200000" : "20000",
            "Y",
            up ? "Forward" : "Disabled",
            kRoot,
            "0",
            kRoot,
            QStringLiteral("80 %1").arg(p, 2, 10, QChar('0')),
            up ? "1" : "0"};
}

Rows StpRows() {
    Rows rows;
    for (int p = 1; p <= 8; ++p) rows.push_back(StpRow(p));
    return rows;
}

QStringList Headings(QWidget& dlg) {
    QStringList out;
    QTreeWidgetItem* header = Find<QTreeWidget>(dlg, "list")->headerItem();
    for (int i = 0; i < header->columnCount(); ++i) out << header->text(i);
    return out;
}

TEST_F(MibSimTest, EachTableShowsTheSwitchsTable) {
    const Rows ifRows = {{"1", "Connected", "1000M"}, {"2", "Connected", "1000M"},
                         {"3", "Connected", "100M"},  {"4", "Connected", "100M"},
                         {"5", "UnConnected", "0M"},  {"6", "UnConnected", "0M"},
                         {"7", "UnConnected", "0M"},  {"8", "UnConnected", "0M"},
                         {"9", "Connected", "1000M"}, {"10", "Connected", "1000M"}};
    struct Case {
        std::function<std::unique_ptr<CModuleDialog>()> make;
        QString title;
        QStringList headings;
        Rows rows;
        bool counter;
    };
    const std::vector<Case> cases = {
        {[] { return std::make_unique<CInterfaceTableDlg>(); },
         "Interface Table",
         {" Index        ", " Link Status            ", " Speed(b/s)                     "},
         ifRows,
         true},
        {[] { return std::make_unique<CIpTableDlg>(); },
         "IP Table : 127.0.0.1",
         {" IP                ", " Netmask               "},
         {{"127.0.0.1", "255.0.0.0"}, {"192.168.0.1", "255.255.255.0"}},
         true},
        {[] { return std::make_unique<CTcpServiceDlg>(); },
         "TCP Service",
         {"Local Port ", " Local IP        ", " Remote IP       ", "Remote Port", " Status "},
         {{"23", "0.0.0.0", "0.0.0.0", "0", "listen"},
          {"80", "0.0.0.0", "0.0.0.0", "0", "listen"},
          {"23", "192.168.0.1", "192.168.0.100", "51514", "established"},
          {"80", "192.168.0.1", "192.168.0.100", "51730", "timeWait"}},
         false},
        {[] { return std::make_unique<CUdpServiceDlg>(); },
         "UDP Service",
         {"  Local Port ", "  Local IP      "},
         {{"68", "0.0.0.0"}, {"161", "0.0.0.0"}, {"514", "0.0.0.0"}},
         false},
        {[] { return std::make_unique<CStpPortTableDlg>(); },
         "Spanning Tree Table",
         {"Port", "Priority", "Cost ", "Enable", "Status  ", " ==Designated Root== ", "Designated Cost",
          " ==Designated Bridge== ", "Designated Port", "Forwardings"},
         StpRows(),
         true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CModuleDialog> dlg = c.make();
        ASSERT_TRUE(kmsgui::OpenAndWait(*dlg));
        EXPECT_EQ(dlg->windowTitle(), c.title);
        EXPECT_EQ(Headings(*dlg), c.headings) << c.title.toStdString();
        EXPECT_EQ(ListRows(*dlg), c.rows) << Describe(ListRows(*dlg));
        auto* counter = Find<QLabel>(*dlg, "counter");
        EXPECT_EQ(counter ? counter->text() : QString(),
                  c.counter ? QString::number(c.rows.size()) : QString());
        kmsgui::Screenshot(*dlg, QString(c.title).replace(' ', '_').toLower().section(':', 0, 0).trimmed());
    }

    // The interface table reads again whenever it is shown (the main window brings it back).
    CInterfaceTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    ASSERT_TRUE(sim->SetLink(3, false));
    dlg.hide();
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    EXPECT_EQ(ListRows(dlg)[2], (QStringList{"3", "UnConnected", "0M"}));
}

TEST_F(MibSimTest, ForwardingTableFiltersOutThePortTyped) {
    CForwardingTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    const Rows all = {{"00-01-02-03-04-05", "Static", "6"}, {"00-11-22-33-44-55", "Learn", "1"},
                      {"00-11-22-33-44-56", "Learn", "1"},  {"00-1E-06-01-02-03", "Learn", "2"},
                      {"00-50-56-0C-22-38", "Learn", "4"},  {"00-50-56-AB-CD-EF", "Learn", "3"},
                      {"02-4B-4D-73-00-00", "Own", "0"}};
    EXPECT_EQ(ListRows(dlg), all) << Describe(ListRows(dlg));
    EXPECT_EQ(Find<QLineEdit>(dlg, "ageTime")->text(), "300");
    kmsgui::Screenshot(dlg, "forwarding_table");
    auto* filter = Find<QLineEdit>(dlg, "destinationPort");
    for (const QString port : {"1", "0", "7", ""}) {
        filter->setText(port);
        Click(Find<QPushButton>(dlg, "refreshButton"));
        ASSERT_TRUE(kmsgui::WaitIdle(dlg));
        Rows want;
        for (const QStringList& r : all)
            if (port.isEmpty() || r[2] != port) want.push_back(r);
        EXPECT_EQ(ListRows(dlg), want) << "filter " << port.toStdString();
        EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), QString::number(want.size()));
    }
    filter->clear();
    QTest::keyClicks(filter, "a5b");  // letters cannot be typed
    EXPECT_EQ(filter->text(), "5");
}

TEST_F(MibSimTest, RefreshWaitsForItsWalkAndASilentSwitchEndsItQuietly) {
    Settings().SnmpTimeoutText = "300";
    CIpTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    auto* refresh = Find<QPushButton>(dlg, "refreshButton");
    ASSERT_TRUE(sim->SetDelay(150));
    Click(refresh);
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(dlg, "closeButton")->isEnabled());
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_EQ(ListRows(dlg).size(), 2u);
    ASSERT_TRUE(sim->SetDelay(0));
    ASSERT_TRUE(sim->SetSilent(-1));
    Click(refresh);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_TRUE(ListRows(dlg).empty());
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), "0");
    EXPECT_TRUE(prompt.texts.isEmpty());
    ASSERT_TRUE(sim->SetSilent(0));
}

TEST_F(MibSimTest, SystemInformationShowsAndWritesTheSystemGroup) {
    CSystemInfoDlg dlg;
    Open(dlg);
    EXPECT_EQ(Find<QLineEdit>(dlg, "name")->text(), "KMS-7300-08E");
    EXPECT_EQ(Find<QLineEdit>(dlg, "location")->text(), "Lab rack 1");
    EXPECT_EQ(Find<QLineEdit>(dlg, "objectId")->text(), "1.3.6.1.4.1.32473.10.75.1.8");
    EXPECT_TRUE(Find<QPlainTextEdit>(dlg, "description")->toPlainText().startsWith("KMS-7300-08E"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "name")->maxLength(), 20);
    kmsgui::Screenshot(dlg, "system_information");
    auto* name = Find<QLineEdit>(dlg, "name");
    auto* location = Find<QLineEdit>(dlg, "location");
    for (auto [n, l] : std::vector<std::pair<QString, QString>>{{"core sw", "a.b"}, {"core:sw", "a.b"}}) {
        name->setText(n);
        location->setText(l);
        Click(Find<QPushButton>(dlg, "applyButton"));
    }
    EXPECT_EQ(prompt.texts, (QStringList{"Invalid System Location.", "Invalid System Name."}));
    EXPECT_EQ(sim->Journal(), Lines{});
    name->setText("Floor 2 switch");
    location->setText("Büro 3");
    Click(Find<QPushButton>(dlg, "applyButton"));
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.1.5.0=\"Floor 2 switch\"; 1.3.6.1.2.1.1.6.0=0x42C3BC726F2033"});
    EXPECT_EQ(location->text(), "Büro 3");  // read again
}

struct BridgeFields {
    QLineEdit *maxAge, *hello, *delay;
    QComboBox *priority, *version;
    QCheckBox* rstp;
    QPushButton *apply, *portSetting;
    explicit BridgeFields(QWidget& d)
        : maxAge(Find<QLineEdit>(d, "maxAge")),
          hello(Find<QLineEdit>(d, "helloTime")),
          delay(Find<QLineEdit>(d, "forwardDelay")),
          priority(Find<QComboBox>(d, "bridgePriority")),
          version(Find<QComboBox>(d, "stpVersion")),
          rstp(Find<QCheckBox>(d, "enableRstp")),
          apply(Find<QPushButton>(d, "applyButton")),
          portSetting(Find<QPushButton>(d, "portSettingButton")) {}
    std::vector<QWidget*> Settings() const { return {version, priority, maxAge, hello, delay}; }
};

TEST_F(MibSimTest, StpConfigurationShowsTheBridgeAndItsSwitch) {
    CStpConfigDlg dlg;
    Open(dlg);
    BridgeFields f(dlg);
    EXPECT_EQ(dlg.windowTitle(), " STP Configuration ");
    EXPECT_EQ(std::make_tuple(f.priority->currentText(), f.maxAge->text(), f.hello->text(), f.delay->text()),
              std::make_tuple(QString("32768"), QString("2000"), QString("200"), QString("1500")));
    EXPECT_EQ(Find<QLineEdit>(dlg, "designatedRoot")->text(), kRoot);
    EXPECT_EQ(f.version->currentText(), "RSTP");
    for (QWidget* w : f.Settings()) EXPECT_TRUE(w->isEnabled());
    kmsgui::Screenshot(dlg, "stp_configuration");
    // Clearing the box disables the settings at once; "Port Setting" follows only at Apply.
    f.rstp->click();
    for (QWidget* w : f.Settings()) EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(f.portSetting->isEnabled());
    Click(f.apply);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_FALSE(f.portSetting->isEnabled());
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.12.0=2000; 1.3.6.1.2.1.17.2.13.0=200; 1.3.6.1.2.1.17.2.14.0=1500; "
                    "1.3.6.1.2.1.17.2.2.0=32768; .6.1.2.0=2; .6.1.1.0=2"});
    // Opened again with RSTP off: the settings stay disabled until the box is set.
    CStpConfigDlg off;
    Open(off);
    BridgeFields g(off);
    EXPECT_FALSE(g.rstp->isChecked());
    for (QWidget* w : g.Settings()) EXPECT_FALSE(w->isEnabled());
    g.rstp->click();
    EXPECT_TRUE(g.maxAge->isEnabled());
    EXPECT_FALSE(g.portSetting->isEnabled());
}

TEST_F(MibSimTest, StpApplyChecksInOrderThenWrites) {
    CStpConfigDlg dlg;
    Open(dlg);
    BridgeFields f(dlg);
    const QString age = "Invalid Age Time value, the valid Age Time range is  (600-4000) ms !";
    const QString delay = "Invalid Forward Delay value, the valid Forward Delay range is (400-3000) ms !";
    struct Case {
        const char *age, *hello, *delay;
        QString message;
    };
    const std::vector<Case> cases = {
        {"599", "200", "1500", age},
        {"", "200", "1500", age},
        {"2000", "99", "3001", delay},
        {"2000", "1001", "1500", "Invalid Hello Time value, the valid Hello Time range is (100-1000) ms !"},
        {"2000", "1000", "1500",
         "To set the parameters Hello Time and Max Age the following relation is to be satisfied: \n"
         "Max Age >= (2*(Hello Time + 1.0))"},
        {"2000", "200", "1000",
         "To set the parameters Forward Delay and Max Age, the following relation is to be satisfied: \n"
         "2*(Forward Delay - 1) >= Max Age"},
    };
    for (const Case& c : cases) {
        prompt.Clear();
        f.maxAge->setText(c.age);
        f.hello->setText(c.hello);
        f.delay->setText(c.delay);
        Click(f.apply);
        EXPECT_EQ(prompt.texts, QStringList{c.message}) << c.age << "/" << c.hello << "/" << c.delay;
        EXPECT_EQ(f.maxAge->text(), c.age);  // left for the user to correct
    }
    EXPECT_EQ(sim->Journal(), Lines{});
    f.delay->setText("1100");  // 2*1100-200 = 2000: just enough
    f.hello->setText("200");
    f.maxAge->setText("2000");
    f.priority->setCurrentText("4096");
    f.version->setCurrentText("STP Compatible");
    prompt.Clear();
    Click(f.apply);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.12.0=2000; 1.3.6.1.2.1.17.2.13.0=200; 1.3.6.1.2.1.17.2.14.0=1100; "
                    "1.3.6.1.2.1.17.2.2.0=4096; .6.1.2.0=0; .6.1.1.0=1"});
    EXPECT_EQ(Find<QLineEdit>(dlg, "currentForwardDelay")->text(), "1100");  // read again
}

TEST_F(MibSimTest, PortSettingOpensTheTableAndPortConfigStepsAndWrites) {
    CStpConfigDlg dlg;
    Open(dlg);
    QStringList seen;
    auto configRan = std::make_shared<bool>(false);
    auto tableRan = kmsgui::WhenModal<CStpPortTableDlg>([&](CStpPortTableDlg& table) {
        EXPECT_TRUE(kmsgui::WaitIdle(table));
        auto* list = Find<QTreeWidget>(table, "list");
        list->setCurrentItem(list->topLevelItem(2));
        configRan = kmsgui::WhenModal<CStpPortConfigDlg>([&](CStpPortConfigDlg& config) {
            EXPECT_TRUE(kmsgui::WaitIdle(config));
            EXPECT_EQ(config.windowTitle(), " Port STP Configuration");
            kmsgui::Screenshot(config, "port_stp_configuration");
            auto* next = Find<QPushButton>(config, "nextPortButton");
            for (int i = 0; i < 6; ++i) {
                seen << Find<QLineEdit>(config, "port")->text() + "/" +
                            Find<QLineEdit>(config, "status")->text() + "/" +
                            Find<QLineEdit>(config, "desigPort")->text();
                Click(next);
            }
            EXPECT_FALSE(next->isEnabled());
            for (int i = 0; i < 5; ++i) Click(Find<QPushButton>(config, "prevPortButton"));
            auto* cost = Find<QLineEdit>(config, "pathCost");
            for (const char* bad : {"200000001", ""}) {
                cost->setText(bad);
                Click(Find<QPushButton>(config, "applyButton"));
            }
            Find<QComboBox>(config, "portPriority")->setCurrentText("32");
            cost->setText("0");  // the automatic cost
            Find<QCheckBox>(config, "portEnable")->setChecked(false);
            Click(Find<QPushButton>(config, "okButton"));
        });
        Click(Find<QPushButton>(table, "portConfigButton"));
        EXPECT_TRUE(kmsgui::WaitIdle(table));  // OK read the table again
        EXPECT_EQ(ListRows(table)[2][1], "32");
        table.reject();
    });
    Click(Find<QPushButton>(dlg, "portSettingButton"));
    EXPECT_TRUE(*tableRan && *configRan);
    EXPECT_EQ(seen, (QStringList{"3/Forward/80 03", "4/Forward/80 04", "5/Disabled/80 05", "6/Disabled/80 06",
                                 "7/Disabled/80 07", "8/Disabled/80 08"}));
    EXPECT_EQ(prompt.texts,
              (QStringList{"Invalid Path Cost(1-200000000)", "Invalid Path Cost(1-200000000)"}));
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.15.1.2.3=32; .6.2.1.5.3=0; 1.3.6.1.2.1.17.2.15.1.4.3=2"});
}

TEST_F(MibSimTest, AnAggregatedPortKeepsItsSettings) {
    ASSERT_TRUE(sim->Set("1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2.1", 'x', "60000000"));  // ports 2 and 3
    CStpPortConfigDlg dlg(StpRows(), 1);
    Open(dlg);
    ASSERT_EQ(Find<QLineEdit>(dlg, "port")->text(), "2");
    auto* apply = Find<QPushButton>(dlg, "applyButton");
    Click(apply);  // unchanged: nothing to say, nothing sent
    EXPECT_TRUE(prompt.texts.isEmpty());
    Find<QComboBox>(dlg, "portPriority")->setCurrentText("16");
    Click(Find<QPushButton>(dlg, "okButton"));  // refused: the dialog stays open
    EXPECT_EQ(prompt.texts,
              QStringList{"Cannot add ports with different STP configurations to an aggregated link."});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(sim->Journal(), Lines{});
    Click(Find<QPushButton>(dlg, "nextPortButton"));
    Click(Find<QPushButton>(dlg, "nextPortButton"));
    Find<QComboBox>(dlg, "portPriority")->setCurrentText("16");
    Click(apply);  // port 4 is in no trunk; its cost field shows the cost in use
    EXPECT_EQ(sim->Journal(),
              Lines{"1.3.6.1.2.1.17.2.15.1.2.4=16; .6.2.1.5.4=200000; 1.3.6.1.2.1.17.2.15.1.4.4=1"});
}

TEST_F(MibSimTest, ClosingDuringAWalkDropsLateAnswersAndWritesTheSessionLines) {
    kmsgui::DebugCapture capture;
    ASSERT_TRUE(sim->SetDelay(300));
    for (int i = 0; i < 3; ++i) {
        auto dlg = std::make_unique<CForwardingTableDlg>();
        dlg->setWindowModality(Qt::NonModal);
        dlg->show();
        EXPECT_EQ(dlg->ActiveWalks(), 1);
        dlg->reject();
        dlg.reset();
        QTest::qWait(100 * i);
    }
    QTest::qWait(500);
    Lines closes;
    for (const std::string& l : capture.Lines())
        if (l.rfind("==================", 0) == 0) closes.push_back(l);
    ASSERT_EQ(closes.size(), 9u);
    EXPECT_EQ(Lines(closes.begin(), closes.begin() + 3),
              (Lines{"==================DestroyWindow===============",
                     "==================m_cCommonSNMP.Close===============",
                     "==================m_cCommonSNMPGetTime.Close==============="}));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
