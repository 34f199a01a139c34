// The public MIB viewers and the spanning-tree dialogs against kms-sim: what each dialog shows equals
// the switch's tables read independently, refused input sends nothing, and accepted input changes the
// switch.

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
#include <cstdio>
#include <functional>

#include "dialogs/common/user_prompt.h"
#include "dialogs/mib/forwarding_table_dlg.h"
#include "dialogs/mib/interface_table_dlg.h"
#include "dialogs/mib/ip_table_dlg.h"
#include "dialogs/mib/mib_value_maps.h"
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
using kmstest::RequestKind;

namespace {

const std::string kStp = "1.3.6.1.2.1.17.2.";
const std::string kStpPort = "1.3.6.1.2.1.17.2.15.1.";
const std::string kRstpState = "1.3.6.1.4.1.32473.10.75.13.6.1.1.0";
const std::string kStpVersion = "1.3.6.1.4.1.32473.10.75.13.6.1.2.0";
const std::string kVendorCost = "1.3.6.1.4.1.32473.10.75.13.6.2.1.5.";
const std::string kTrunkMembers = "1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2.";

class MibSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        sim = kmsgui::SharedSim(&error);
        ASSERT_NE(sim, nullptr) << error;
        ASSERT_TRUE(sim->Reset());
        kmsgui::UseSim(*sim);
        reader = std::make_unique<SnmpReader>(kmsgui::ReaderFor(*sim));
    }

    std::string Value(const std::string& oid) { return reader->Get(oid).value; }
    long Sets() { return sim->RequestCount(RequestKind::Set); }

    kmstest::KmsSimFixture* sim = nullptr;
    std::unique_ptr<SnmpReader> reader;
};

std::string Plain(int, const SnmpReadValue& v) {
    return v.value;
}

// The MAC from the last six numbers of an index, written here independently of the dialog's code.
std::string MacOf(const std::string& suffix) {
    std::vector<unsigned> n;
    std::size_t pos = 0;
    while (pos < suffix.size()) {
        std::size_t next = suffix.find('.', pos + 1);
        n.push_back(static_cast<unsigned>(std::stoul(suffix.substr(pos + 1, next - pos - 1))));
        pos = next == std::string::npos ? suffix.size() : next;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02X-%02X-%02X-%02X-%02X-%02X", n[n.size() - 6], n[n.size() - 5],
                  n[n.size() - 4], n[n.size() - 3], n[n.size() - 2], n[n.size() - 1]);
    return buf;
}

Rows ForwardingRows(const SnmpReader& reader) {
    const std::string status = "1.3.6.1.2.1.17.7.1.2.2.1.3", port = "1.3.6.1.2.1.17.7.1.2.2.1.2";
    static const char* const names[] = {"", "Other", "Invalid", "Learn", "Own", "Static"};
    Rows rows = WalkTable(reader, {status, port}, [](int c, const SnmpReadValue& v) {
        return c == 0 ? std::string(names[std::stoi(v.value)]) : v.value;
    });
    std::vector<std::string> suffixes = WalkSuffixes(reader, status);
    EXPECT_EQ(suffixes.size(), rows.size());
    for (std::size_t i = 0; i < rows.size() && i < suffixes.size(); ++i)
        rows[i].prepend(QString::fromStdString(MacOf(suffixes[i])));
    return rows;
}

TEST_F(MibSimTest, InterfaceTableEqualsIfTableAndRefreshesOnShow) {
    auto want = [&] {
        return WalkTable(*reader, {"1.3.6.1.2.1.2.2.1.1", "1.3.6.1.2.1.2.2.1.8", "1.3.6.1.2.1.2.2.1.5"},
                         [](int c, const SnmpReadValue& v) {
                             return c == 1 ? LinkStatusText(v.value) : c == 2 ? SpeedText(v.value) : v.value;
                         });
    };
    ASSERT_TRUE(sim->SetLink(3, false));
    CInterfaceTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows shown = ListRows(dlg);
    ASSERT_GE(shown.size(), 8u) << Describe(shown);
    EXPECT_EQ(shown, want());
    EXPECT_EQ(shown[2], (QStringList{"3", "UnConnected", "0M"}));
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), QString::number(shown.size()));
    EXPECT_EQ(Find<QTreeWidget>(dlg, "list")->headerItem()->text(2), " Speed(b/s)                     ");
    kmsgui::Screenshot(dlg, "interface_table");

    // Shown again (the main window brings it back): read again.
    ASSERT_TRUE(sim->SetLink(3, true, 1000));
    const long before = sim->RequestCount(RequestKind::GetNext);
    dlg.hide();
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    EXPECT_GT(sim->RequestCount(RequestKind::GetNext), before);
    EXPECT_EQ(ListRows(dlg), want());
    EXPECT_EQ(ListRows(dlg)[2], (QStringList{"3", "Connected", "1000M"}));
}

TEST_F(MibSimTest, IpTableEqualsIpAddrTable) {
    CIpTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows want = WalkTable(*reader, {"1.3.6.1.2.1.4.20.1.1", "1.3.6.1.2.1.4.20.1.3"}, Plain);
    ASSERT_EQ(want.size(), 2u);
    EXPECT_EQ(ListRows(dlg), want);
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), "2");
    EXPECT_EQ(dlg.windowTitle(), "IP Table : 127.0.0.1");
}

TEST_F(MibSimTest, ForwardingTableEqualsTheDatabaseAndFiltersOutThePortTyped) {
    CForwardingTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    const Rows all = ForwardingRows(*reader);
    ASSERT_GE(all.size(), 5u);
    EXPECT_EQ(ListRows(dlg), all);
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), QString::number(all.size()));
    EXPECT_EQ(Find<QLineEdit>(dlg, "ageTime")->text().toStdString(), Value("1.3.6.1.2.1.17.4.2.0"));
    EXPECT_TRUE(AsSet(all).count(QStringList{"02-4B-4D-73-00-00", "Own", "0"})) << Describe(all);
    kmsgui::Screenshot(dlg, "forwarding_table");

    auto* filter = Find<QLineEdit>(dlg, "destinationPort");
    auto* refresh = Find<QPushButton>(dlg, "refreshButton");
    for (const QString port : {"1", "6", "0", "7", ""}) {
        filter->setText(port);
        Click(refresh);
        ASSERT_TRUE(kmsgui::WaitIdle(dlg));
        Rows want;
        for (const QStringList& r : all)
            if (port.isEmpty() || r[2] != port) want.push_back(r);
        EXPECT_EQ(ListRows(dlg), want) << "filter " << port.toStdString();
        EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), QString::number(want.size()));
    }
    // Letters cannot be typed into the port filter.
    filter->clear();
    QTest::keyClicks(filter, "a5b");
    EXPECT_EQ(filter->text(), "5");
}

TEST_F(MibSimTest, TcpAndUdpServicesEqualTheirTables) {
    {
        CTcpServiceDlg dlg;
        ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
        Rows want =
            WalkTable(*reader,
                      {"1.3.6.1.2.1.6.13.1.3", "1.3.6.1.2.1.6.13.1.2", "1.3.6.1.2.1.6.13.1.4",
                       "1.3.6.1.2.1.6.13.1.5", "1.3.6.1.2.1.6.13.1.1"},
                      [](int c, const SnmpReadValue& v) { return c == 4 ? TcpStateText(v.value) : v.value; });
        ASSERT_EQ(want.size(), 4u);
        EXPECT_EQ(ListRows(dlg), want);
        EXPECT_TRUE(
            AsSet(want).count(QStringList{"23", "192.168.0.1", "192.168.0.100", "51514", "established"}));
    }
    {
        CUdpServiceDlg dlg;
        ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
        Rows want = WalkTable(*reader, {"1.3.6.1.2.1.7.5.1.2", "1.3.6.1.2.1.7.5.1.1"}, Plain);
        ASSERT_EQ(want.size(), 3u);
        EXPECT_EQ(ListRows(dlg), want);
        kmsgui::Screenshot(dlg, "udp_service");
    }
}

TEST_F(MibSimTest, RefreshIsDisabledWhileTheWalkRuns) {
    CUdpServiceDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    ASSERT_TRUE(sim->SetDelay(200));
    auto* refresh = Find<QPushButton>(dlg, "refreshButton");
    Click(refresh);
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_TRUE(ListRows(dlg).empty());
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_EQ(ListRows(dlg).size(), 3u);
    ASSERT_TRUE(sim->SetDelay(0));
}

TEST_F(MibSimTest, SilentDeviceEndsTheWalkQuietly) {
    RecordingPrompt prompt;
    Settings().SnmpTimeoutText = "300";
    CIpTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    ASSERT_EQ(ListRows(dlg).size(), 2u);
    ASSERT_TRUE(sim->SetSilent(-1));
    auto* refresh = Find<QPushButton>(dlg, "refreshButton");
    Click(refresh);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_TRUE(ListRows(dlg).empty());
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), "0");
    EXPECT_TRUE(prompt.texts.isEmpty());
    ASSERT_TRUE(sim->SetSilent(0));
    Click(refresh);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_EQ(ListRows(dlg).size(), 2u);
}

TEST_F(MibSimTest, SystemInformationShowsAndWritesTheSystemGroup) {
    RecordingPrompt prompt;
    CSystemInfoDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    EXPECT_EQ(Find<QPlainTextEdit>(dlg, "description")->toPlainText().toStdString(),
              Value("1.3.6.1.2.1.1.1.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "objectId")->text().toStdString(), Value("1.3.6.1.2.1.1.2.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "contact")->text().toStdString(), Value("1.3.6.1.2.1.1.4.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "name")->text(), "KMS-7300-08E");
    EXPECT_EQ(Find<QLineEdit>(dlg, "location")->text(), "Lab rack 1");
    EXPECT_EQ(Find<QLineEdit>(dlg, "name")->maxLength(), 20);
    EXPECT_EQ(Find<QLineEdit>(dlg, "location")->maxLength(), 20);
    kmsgui::Screenshot(dlg, "system_information");

    auto* name = Find<QLineEdit>(dlg, "name");
    auto* location = Find<QLineEdit>(dlg, "location");
    struct Case {
        QString name, location, message;
    };
    for (const Case& c : std::vector<Case>{{"core sw", "a.b", "Invalid System Location."},
                                           {"core:sw", "a.b", "Invalid System Name."},
                                           {"core?", "hall", "Invalid System Name."}}) {
        prompt.Clear();
        const long sets = Sets();
        name->setText(c.name);
        location->setText(c.location);
        Click(Find<QPushButton>(dlg, "applyButton"));
        EXPECT_EQ(prompt.texts, QStringList{c.message});
        EXPECT_EQ(Sets(), sets) << "a refused Apply sent a set";
    }
    EXPECT_EQ(Value("1.3.6.1.2.1.1.5.0"), "KMS-7300-08E");

    prompt.Clear();
    name->setText("Floor 2 switch");
    location->setText("Büro 3");
    Click(Find<QPushButton>(dlg, "applyButton"));
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(Value("1.3.6.1.2.1.1.5.0"), "Floor 2 switch");
    EXPECT_EQ(Value("1.3.6.1.2.1.1.6.0"), "Büro 3");
    EXPECT_EQ(location->text(), "Büro 3");
}

// The bridge dialog fields, in the order the device's objects fill them.
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
};

TEST_F(MibSimTest, StpConfigurationShowsTheBridge) {
    CStpConfigDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    BridgeFields f(dlg);
    EXPECT_EQ(dlg.windowTitle(), " STP Configuration ");
    EXPECT_EQ(f.priority->currentText().toStdString(), Value(kStp + "2.0"));
    EXPECT_EQ(f.maxAge->text().toStdString(), Value(kStp + "12.0"));
    EXPECT_EQ(f.hello->text().toStdString(), Value(kStp + "13.0"));
    EXPECT_EQ(f.delay->text().toStdString(), Value(kStp + "14.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "currentHelloTime")->text().toStdString(), Value(kStp + "9.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "holdTime")->text().toStdString(), Value(kStp + "10.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "currentForwardDelay")->text().toStdString(), Value(kStp + "11.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "topoChanged")->text().toStdString(), Value(kStp + "4.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "rootPort")->text().toStdString(), Value(kStp + "7.0"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "designatedRoot")->text(), "80:00:02:4B:4D:73:00:00");
    EXPECT_TRUE(f.rstp->isChecked());
    EXPECT_EQ(f.version->currentText(), "RSTP");
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.version, f.priority, f.maxAge, f.hello, f.delay, f.portSetting})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    kmsgui::Screenshot(dlg, "stp_configuration");

    // Clearing the box disables the settings at once; "Port Setting" follows only at Apply.
    f.rstp->click();  // the check box takes clicks on its box and label only
    for (QWidget* w : std::initializer_list<QWidget*>{f.version, f.priority, f.maxAge, f.hello, f.delay})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(f.portSetting->isEnabled());
    Click(f.apply);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_FALSE(f.portSetting->isEnabled());
    EXPECT_EQ(Value(kRstpState), "2");
}

TEST_F(MibSimTest, StpConfigurationWithRstpOffKeepsSettingsDisabled) {
    ASSERT_TRUE(sim->Set(kRstpState, 'i', "2"));
    ASSERT_TRUE(sim->Set(kStpVersion, 'i', "0"));
    CStpConfigDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    BridgeFields f(dlg);
    EXPECT_FALSE(f.rstp->isChecked());
    EXPECT_EQ(f.version->currentText(), "STP Compatible");
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.version, f.priority, f.maxAge, f.hello, f.delay, f.portSetting})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(f.rstp->isEnabled());
    f.rstp->click();  // the check box takes clicks on its box and label only
    EXPECT_TRUE(f.maxAge->isEnabled());
    EXPECT_FALSE(f.portSetting->isEnabled());
}

TEST_F(MibSimTest, StpApplyRefusesRangesAndRelationsWithoutSending) {
    RecordingPrompt prompt;
    CStpConfigDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    BridgeFields f(dlg);
    struct Case {
        const char *age, *hello, *delay;
        QString message;
    };
    const std::vector<Case> cases = {
        {"599", "200", "1500", "Invalid Age Time value, the valid Age Time range is  (600-4000) ms !"},
        {"4001", "200", "1500", "Invalid Age Time value, the valid Age Time range is  (600-4000) ms !"},
        {"", "200", "1500", "Invalid Age Time value, the valid Age Time range is  (600-4000) ms !"},
        {"2000", "200", "399",
         "Invalid Forward Delay value, the valid Forward Delay range is (400-3000) ms !"},
        {"2000", "99", "3001",
         "Invalid Forward Delay value, the valid Forward Delay range is (400-3000) ms !"},
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
        const long sets = Sets();
        f.maxAge->setText(c.age);
        f.hello->setText(c.hello);
        f.delay->setText(c.delay);
        Click(f.apply);
        EXPECT_EQ(prompt.texts, QStringList{c.message}) << c.age << "/" << c.hello << "/" << c.delay;
        EXPECT_EQ(Sets(), sets) << "sent although refused: " << c.age << "/" << c.hello << "/" << c.delay;
        // The entered values stay for the user to correct.
        EXPECT_EQ(f.maxAge->text(), c.age);
    }
    EXPECT_EQ(Value(kStp + "12.0"), "2000");
    EXPECT_EQ(Value(kStp + "14.0"), "1500");
}

TEST_F(MibSimTest, StpApplyWritesTheBridge) {
    RecordingPrompt prompt;
    CStpConfigDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    BridgeFields f(dlg);
    f.maxAge->setText("2000");
    f.hello->setText("200");
    f.delay->setText("1100");  // 2*1100-200 = 2000: just enough
    f.priority->setCurrentText("4096");
    f.version->setCurrentText("STP Compatible");
    const long sets = Sets();
    Click(f.apply);
    ASSERT_TRUE(kmsgui::WaitIdle(dlg));
    EXPECT_TRUE(prompt.texts.isEmpty()) << prompt.texts.join("/").toStdString();
    EXPECT_EQ(Sets(), sets + 1);
    EXPECT_EQ(Value(kStp + "12.0"), "2000");
    EXPECT_EQ(Value(kStp + "13.0"), "200");
    EXPECT_EQ(Value(kStp + "14.0"), "1100");
    EXPECT_EQ(Value(kStp + "2.0"), "4096");
    EXPECT_EQ(Value(kStpVersion), "0");
    EXPECT_EQ(Value(kRstpState), "1");
    // Read again after the write: the bridge's own times follow.
    EXPECT_EQ(Find<QLineEdit>(dlg, "currentForwardDelay")->text(), "1100");
    EXPECT_EQ(f.version->currentText(), "STP Compatible");
}

Rows StpWant(const SnmpReader& reader) {
    std::vector<std::string> cols;
    for (int c : {1, 2, 5, 4, 3, 6, 7, 8, 9, 10}) cols.push_back(kStpPort + std::to_string(c));
    return WalkTable(reader, cols, [](int c, const SnmpReadValue& v) {
        std::vector<SnmpBinding> b(static_cast<std::size_t>(c) + 1);
        b[c].value = v.value;
        return StpPortRowTexts(b)[c].toStdString();
    });
}

TEST_F(MibSimTest, SpanningTreeTableEqualsThePortTable) {
    ASSERT_TRUE(sim->SetLink(4, false));
    CStpPortTableDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    Rows shown = ListRows(dlg);
    Rows want = StpWant(*reader);
    ASSERT_EQ(want.size(), 8u);
    EXPECT_EQ(shown, want) << Describe(shown) << "\n" << Describe(want);
    EXPECT_EQ(shown[3][kStpColStatus], "Disabled");
    EXPECT_EQ(shown[0][kStpColStatus], "Forward");
    EXPECT_EQ(shown[0][kStpColEnable], "Y");
    EXPECT_EQ(Find<QLabel>(dlg, "counter")->text(), "8");
    EXPECT_EQ(dlg.windowTitle(), "Spanning Tree Table");
    kmsgui::Screenshot(dlg, "spanning_tree_table");
}

TEST_F(MibSimTest, PortSettingOpensTheTableAndPortConfigOkReadsItAgain) {
    CStpConfigDlg dlg;
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    bool tableOk = false, configOk = false;
    auto configRan = std::make_shared<bool>(false);
    auto tableRan = kmsgui::WhenModal<CStpPortTableDlg>([&](CStpPortTableDlg& table) {
        EXPECT_TRUE(kmsgui::WaitIdle(table));
        auto* list = Find<QTreeWidget>(table, "list");
        EXPECT_EQ(list->topLevelItemCount(), 8);
        list->setCurrentItem(list->topLevelItem(2));
        configRan = kmsgui::WhenModal<CStpPortConfigDlg>([&](CStpPortConfigDlg& config) {
            EXPECT_TRUE(kmsgui::WaitIdle(config));
            EXPECT_EQ(Find<QLineEdit>(config, "port")->text(), "3");
            Find<QComboBox>(config, "portPriority")->setCurrentText("32");
            Click(Find<QPushButton>(config, "okButton"));
            configOk = config.result() == QDialog::Accepted;
        });
        Click(Find<QPushButton>(table, "portConfigButton"));
        // OK read the table again.
        EXPECT_TRUE(kmsgui::WaitIdle(table));
        EXPECT_EQ(list->topLevelItemCount(), 8);
        if (list->topLevelItemCount() == 8) {
            EXPECT_EQ(list->topLevelItem(2)->text(kStpColPriority), "32");
        }
        tableOk = true;
        table.reject();
    });
    Click(Find<QPushButton>(dlg, "portSettingButton"));
    EXPECT_TRUE(*tableRan && tableOk);
    EXPECT_TRUE(*configRan && configOk);
    EXPECT_EQ(Value(kStpPort + "2.3"), "32");
}

class PortConfigTest : public MibSimTest {
protected:
    // The table's rows, as the port table dialog shows them.
    Rows TableRows() { return StpWant(*reader); }
};

TEST_F(PortConfigTest, PrevAndNextStayWithinTheTable) {
    Rows rows = TableRows();
    ASSERT_EQ(rows.size(), 8u);
    CStpPortConfigDlg dlg(rows, 0);
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    auto* prev = Find<QPushButton>(dlg, "prevPortButton");
    auto* next = Find<QPushButton>(dlg, "nextPortButton");
    EXPECT_EQ(dlg.windowTitle(), " Port STP Configuration");
    EXPECT_FALSE(prev->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    kmsgui::Screenshot(dlg, "port_stp_configuration");
    for (int i = 1; i < 8; ++i) {
        Click(next);
        EXPECT_EQ(dlg.CurrentRow(), i);
        EXPECT_EQ(Find<QLineEdit>(dlg, "port")->text(), rows[i][kStpColPort]);
        EXPECT_EQ(Find<QLineEdit>(dlg, "desigRoot")->text(), rows[i][kStpColDesignatedRoot]);
        EXPECT_EQ(Find<QLineEdit>(dlg, "desigBridge")->text(), rows[i][kStpColDesignatedBridge]);
        EXPECT_EQ(Find<QLineEdit>(dlg, "desigPort")->text(), rows[i][kStpColDesignatedPort]);
        EXPECT_EQ(Find<QLineEdit>(dlg, "desigCost")->text(), rows[i][kStpColDesignatedCost]);
        EXPECT_EQ(Find<QLineEdit>(dlg, "status")->text(), rows[i][kStpColStatus]);
        EXPECT_EQ(Find<QLineEdit>(dlg, "pathCost")->text().toStdString(),
                  Value(kStpPort + "5." + std::to_string(i + 1)));
        EXPECT_EQ(prev->isEnabled(), true);
        EXPECT_EQ(next->isEnabled(), i < 7);
    }
    for (int i = 6; i >= 0; --i) Click(prev);
    EXPECT_EQ(dlg.CurrentRow(), 0);
    EXPECT_FALSE(prev->isEnabled());
}

TEST_F(PortConfigTest, ApplyWritesPriorityCostAndEnable) {
    RecordingPrompt prompt;
    CStpPortConfigDlg dlg(TableRows(), 4);
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    ASSERT_EQ(Find<QLineEdit>(dlg, "port")->text(), "5");
    auto* cost = Find<QLineEdit>(dlg, "pathCost");
    auto* apply = Find<QPushButton>(dlg, "applyButton");

    for (const char* bad : {"200000001", ""}) {
        prompt.Clear();
        const long sets = Sets();
        cost->setText(bad);
        Click(apply);
        EXPECT_EQ(prompt.texts, QStringList{"Invalid Path Cost(1-200000000)"}) << bad;
        EXPECT_EQ(Sets(), sets);
    }

    prompt.Clear();
    Find<QComboBox>(dlg, "portPriority")->setCurrentText("64");
    cost->setText("200000000");
    Find<QCheckBox>(dlg, "portEnable")->setChecked(false);
    Click(apply);
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(Value(kStpPort + "2.5"), "64");
    EXPECT_EQ(Value(kVendorCost + "5"), "200000000");
    EXPECT_EQ(Value(kStpPort + "4.5"), "2");

    // 0 asks for the automatic cost, and is written.
    cost->setText("0");
    Find<QCheckBox>(dlg, "portEnable")->setChecked(true);
    Click(apply);
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(Value(kVendorCost + "5"), "0");
    EXPECT_EQ(Value(kStpPort + "4.5"), "1");
    // Read again: the field shows the cost the switch now uses.
    EXPECT_EQ(cost->text().toStdString(), Value(kStpPort + "5.5"));
}

TEST_F(PortConfigTest, AggregatedPortKeepsItsSettings) {
    ASSERT_TRUE(sim->Set(kTrunkMembers + "1", 'x', "60000000"));  // ports 2 and 3
    RecordingPrompt prompt;
    CStpPortConfigDlg dlg(TableRows(), 1);
    ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
    ASSERT_EQ(Find<QLineEdit>(dlg, "port")->text(), "2");
    auto* apply = Find<QPushButton>(dlg, "applyButton");
    const std::string priority = Value(kStpPort + "2.2");

    // Unchanged: nothing to say and nothing sent.
    long sets = Sets();
    Click(apply);
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(Sets(), sets);

    Find<QComboBox>(dlg, "portPriority")->setCurrentText("16");
    Click(apply);
    EXPECT_EQ(prompt.texts,
              QStringList{"Cannot add ports with different STP configurations to an aggregated link."});
    EXPECT_EQ(Sets(), sets);
    EXPECT_EQ(Value(kStpPort + "2.2"), priority);
    // OK with the refused change keeps the dialog open.
    prompt.Clear();
    Click(Find<QPushButton>(dlg, "okButton"));
    EXPECT_EQ(prompt.texts.size(), 1);
    EXPECT_TRUE(dlg.isVisible());

    // A port outside the group is written as usual.
    Click(Find<QPushButton>(dlg, "nextPortButton"));
    Click(Find<QPushButton>(dlg, "nextPortButton"));
    ASSERT_EQ(Find<QLineEdit>(dlg, "port")->text(), "4");
    prompt.Clear();
    Find<QComboBox>(dlg, "portPriority")->setCurrentText("16");
    Click(apply);
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_EQ(Value(kStpPort + "2.4"), "16");
}

QStringList Headings(QWidget& dlg) {
    QStringList out;
    QTreeWidgetItem* header = Find<QTreeWidget>(dlg, "list")->headerItem();
    for (int i = 0; i < header->columnCount(); ++i) out << header->text(i);
    return out;
}

TEST_F(MibSimTest, HeadingsAndTitles) {
    struct Case {
        std::function<std::unique_ptr<QWidget>()> make;
        QString title;
        QStringList headings;
    };
    const std::vector<Case> cases = {
        {[] { return std::make_unique<CInterfaceTableDlg>(); },
         "Interface Table",
         {" Index        ", " Link Status            ", " Speed(b/s)                     "}},
        {[] { return std::make_unique<CIpTableDlg>(); },
         "IP Table : 127.0.0.1",
         {" IP                ", " Netmask               "}},
        {[] { return std::make_unique<CForwardingTableDlg>(); },
         "Forwarding Table",
         {"       MAC              ", " Status      ", " Port     "}},
        {[] { return std::make_unique<CTcpServiceDlg>(); },
         "TCP Service",
         {"Local Port ", " Local IP        ", " Remote IP       ", "Remote Port", " Status "}},
        {[] { return std::make_unique<CUdpServiceDlg>(); },
         "UDP Service",
         {"  Local Port ", "  Local IP      "}},
        {[] { return std::make_unique<CStpPortTableDlg>(); },
         "Spanning Tree Table",
         {"Port", "Priority", "Cost ", "Enable", "Status  ", " ==Designated Root== ", "Designated Cost",
          " ==Designated Bridge== ", "Designated Port", "Forwardings"}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QWidget> dlg = c.make();
        EXPECT_EQ(dlg->windowTitle(), c.title);
        EXPECT_EQ(Headings(*dlg), c.headings) << c.title.toStdString();
    }
}

// Closing while a walk waits for a slow switch: the late answers find nothing to touch.
TEST_F(MibSimTest, ClosingDuringAWalk) {
    ASSERT_TRUE(sim->SetDelay(300));
    for (int i = 0; i < 3; ++i) {
        auto dlg = std::make_unique<CStpPortTableDlg>();
        dlg->setWindowModality(Qt::NonModal);
        dlg->show();
        EXPECT_EQ(dlg->ActiveWalks(), 1);
        dlg->reject();
        dlg.reset();
        QTest::qWait(100 * i);
    }
    QTest::qWait(500);
    ASSERT_TRUE(sim->SetDelay(0));
}

TEST_F(MibSimTest, ClosingWritesTheSessionLines) {
    kmsgui::DebugCapture capture;
    {
        CForwardingTableDlg dlg;
        ASSERT_TRUE(kmsgui::OpenAndWait(dlg));
        dlg.reject();
    }
    const std::vector<std::string> want = {"==================DestroyWindow===============",
                                           "==================m_cCommonSNMP.Close===============",
                                           "==================m_cCommonSNMPGetTime.Close==============="};
    std::vector<std::string> lines = capture.Lines();
    std::vector<std::string> closes;
    for (const std::string& l : lines)
        if (l.rfind("==================", 0) == 0) closes.push_back(l);
    EXPECT_EQ(closes, want);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
