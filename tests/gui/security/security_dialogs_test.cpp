// The surveillance VLAN and security filter dialogs against kms-sim. The switch starts with the
// surveillance VLAN off on VLAN 10 (priority Highest), VLANs 1 and 10, the default OUI 5A-C2-91-00-00-00
// only, one ARP binding (192.168.0.254, 00-1E-06-AA-BB-CC, port 8), no DHCP screening, every port
// forwarding unregistered multicast, and no trunk members.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/arp_spoofing_add_dlg.h"
#include "dialogs/switch/arp_spoofing_dlg.h"
#include "dialogs/switch/dhcp_screening_dlg.h"
#include "dialogs/switch/multicast_filtering_dlg.h"
#include "dialogs/switch/surveillance_oui_dlg.h"
#include "dialogs/switch/surveillance_vlan_dlg.h"
#include "snmp/common_snmp.h"
#include "tests/gui/common/gui_test_support.h"

using kmsgui::Click;
using kmsgui::Find;

namespace {

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";
using Lines = std::vector<std::string>;

QList<QStringList> ListLines(QWidget& dlg) {
    QList<QStringList> lines;
    auto* list = Find<QTreeWidget>(dlg, "list");
    for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
        QStringList line;
        for (int c = 0; c < list->columnCount(); ++c) line << list->topLevelItem(i)->text(c);
        lines << line;
    }
    return lines;
}

void SelectLine(QWidget& dlg, int line) {
    auto* list = Find<QTreeWidget>(dlg, "list");
    list->setCurrentItem(list->topLevelItem(line));
}

void Type(QWidget& dlg, const char* edit, const QString& text) {
    auto* e = Find<QLineEdit>(dlg, edit);
    e->clear();
    QTest::keyClicks(e, text);
}

void Choose(QWidget& dlg, const char* combo, const QString& text) {
    auto* box = Find<QComboBox>(dlg, combo);
    box->setCurrentIndex(box->findText(text));
}

template <class T>
std::unique_ptr<T> Open() {
    auto dlg = std::make_unique<T>();
    if (!kmsgui::OpenAndWait(*dlg)) return nullptr;
    return dlg;
}

}  // namespace

class SecurityDialogsTest : public QObject {
    Q_OBJECT
    kmstest::KmsSimFixture* m_sim = nullptr;
    std::unique_ptr<RecordingPrompt> m_prompt;

    SnmpReader Reader() const { return kmsgui::ReaderFor(*m_sim); }
    bool SetTrunk(int trunk, const char* hex) const {
        return Reader().Set(kV + ".8.1.3.1.2." + std::to_string(trunk), 'x', hex);
    }
    // Types a gateway entry into the add dialog and applies it.
    void AddArp(CArpSpoofingAddDlg& add, const QString& ip, const QString& mac,
                std::initializer_list<int> ports) {
        Type(add, "gatewayAddress", ip);
        Type(add, "gatewayMac", mac);
        for (int p : ports) Click(Find<QCheckBox>(add, qPrintable(QStringLiteral("port%1").arg(p))));
        Click(Find<QPushButton>(add, "applyButton"));
    }

private slots:
    void initTestCase() {
        QVERIFY(SnmpEngineInit());
        std::string error;
        m_sim = kmsgui::SharedSim(&error);
        QVERIFY2(m_sim, error.c_str());
    }
    void init() {
        QVERIFY(m_sim->Reset());
        kmsgui::UseSim(*m_sim);
        m_prompt = std::make_unique<RecordingPrompt>();
    }
    void cleanup() { m_prompt.reset(); }

    void surveillanceSettingsApplyInOneRequest() {
        auto dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        QVERIFY(!kmsgui::Screenshot(*dlg, "surveillance_vlan").isEmpty());
        auto* vlan = Find<QComboBox>(*dlg, "vlanId");
        QCOMPARE(vlan->count(), 2);
        QCOMPARE(vlan->currentText(), QStringLiteral("10"));
        QCOMPARE(Find<QComboBox>(*dlg, "priority")->currentText(), QStringLiteral("Highest"));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableSurveillance")->isChecked());
        QCOMPARE(
            ListLines(*dlg),
            (QList<QStringList>{{"Veltra_Surveillance_Device", "Veltra Surveillance", "5A-C2-91-00-00-00"}}));

        Click(Find<QCheckBox>(*dlg, "enableSurveillance"));
        Choose(*dlg, "vlanId", "1");
        Choose(*dlg, "priority", "Medium");
        m_sim->ClearJournal();
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_sim->Journal(), (Lines{".26.1.2.0=1; .26.1.3.0=2; .26.1.1.0=1"}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(Reader().Get(kV + ".26.1.1.0").value, std::string("1"));
        QCOMPARE(vlan->currentText(), QStringLiteral("1"));
        QCOMPARE(m_prompt->texts, QStringList());
    }

    void surveillanceApplyRefusesAsymmetricModeAndTheVoiceVlan() {
        QVERIFY(Reader().Set(kV + ".7.5.0", 'i', "1"));
        auto dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        Click(Find<QCheckBox>(*dlg, "enableSurveillance"));
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_prompt->texts,
                 QStringList{"Auto Surveillance Vlan can not support in Asymmetric VLAN mode."});
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableSurveillance")->isChecked());  // read again
        QCOMPARE(m_sim->Journal(), Lines{});
        dlg.reset();

        // The voice VLAN is read-only over SNMP: a switch whose data has it on VLAN 10.
        QTemporaryDir dir;
        const std::string data =
            kmsgui::SimDataWith(dir, {{kV + ".21.1.2.0", "2|1"}, {kV + ".21.1.3.0", "2|10"}});
        QVERIFY(!data.empty());
        kmstest::KmsSimFixture voiceSim({.extraArgs = {"--data", data}});
        QVERIFY2(voiceSim.Start(), voiceSim.LastError().c_str());
        kmsgui::UseSim(voiceSim);
        dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        m_prompt->Clear();
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_prompt->texts, QStringList{"The vlan ID already is voice vlan ID."});
        QCOMPARE(voiceSim.Journal(), Lines{});
        QVERIFY(kmsgui::WaitIdle(*dlg));
        Choose(*dlg, "vlanId", "1");
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(voiceSim.Journal(), (Lines{".26.1.2.0=1; .26.1.3.0=0; .26.1.1.0=2"}));
        dlg.reset();
        voiceSim.Stop();
    }

    void fiveUserOuisFitTheSixthIsRefused() {
        auto dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        Lines expected;
        for (int i = 1; i <= 6; ++i) {
            Find<QComboBox>(*dlg, "componentType")->setCurrentIndex(i % 5);
            Type(*dlg, "description", QStringLiteral("cam %1").arg(i));
            Type(*dlg, "macAddress", QStringLiteral("00-11-22-33-44-0%1").arg(i));
            Click(Find<QPushButton>(*dlg, "addButton"));
            QVERIFY(kmsgui::WaitIdle(*dlg));
            if (i == 6) break;
            const std::string index = ".0.17.34.51.68." + std::to_string(i);
            expected.push_back(".26.2.1.1.5" + index + "=4");
            expected.push_back(".26.2.1.1.2" + index + "=\"cam " + std::to_string(i) + "\"; .26.2.1.1.4" +
                               index + "=" + std::to_string(i % 5));
        }
        QCOMPARE(m_sim->Journal(), expected);
        QCOMPARE(m_prompt->texts, QStringList{"OUI Table is full,Maximum user defined OUI is 5."});
        QCOMPARE(ListLines(*dlg).size(), 6);  // the user entries sort before the default one
        QCOMPARE(ListLines(*dlg)[0], (QStringList{"VMS_Client", "cam 1", "00-11-22-33-44-01"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "description")->text(), QStringLiteral("cam 6"));  // kept: refused

        // Delete the second user entry.
        m_sim->ClearJournal();
        SelectLine(*dlg, 1);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(m_sim->Journal(), (Lines{".26.2.1.1.5.0.17.34.51.68.2=6"}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(ListLines(*dlg).size(), 5);
    }

    void ouiRefusalsUseEachDialogsOwnTexts() {
        auto dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        auto tryAdd = [](QWidget& d, const char* description, const char* mac) {
            Type(d, "description", QString::fromUtf8(description));
            Type(d, "macAddress", QString::fromLatin1(mac));
            Click(Find<QPushButton>(d, "addButton"));
        };
        const char* const cases[][2] = {{"cam.1", "00-11-22-33-44-55"},
                                        {"cam", "01-80-C2-00-00-00"},
                                        {"cam", "FF-FF-FF-FF-FF-FF"},
                                        {"cam", "5A-C2-91-00-00-00"}};
        for (const auto& c : cases) tryAdd(*dlg, c[0], c[1]);
        Click(Find<QPushButton>(*dlg, "deleteButton"));  // nothing selected
        SelectLine(*dlg, 0);
        Click(Find<QPushButton>(*dlg, "deleteButton"));  // the default entry
        QCOMPARE(m_prompt->texts, (QStringList{"Invalid Description.", "Multicast MAC is not allowed.",
                                               "Broadcast MAC is not allowed.",
                                               "This OUI is default, please select the default mode!",
                                               "Please Selecte the OUI Entry you would to delete",
                                               "The default Surveillance OUI can not be deleted."}));

        // The OUI table dialog, opened from the settings dialog, with its own texts.
        m_prompt->Clear();
        QList<QStringList> ouiLines;
        auto ran = kmsgui::WhenModal<CSurveillanceOuiDlg>([&](CSurveillanceOuiDlg& oui) {
            kmsgui::WaitIdle(oui);
            kmsgui::Screenshot(oui, "surveillance_oui");
            ouiLines = ListLines(oui);
            for (const auto& c : cases) tryAdd(oui, c[0], c[1]);
            SelectLine(oui, 0);
            Click(Find<QPushButton>(oui, "deleteButton"));
            m_sim->ClearJournal();
            tryAdd(oui, "NVR", "00-80-F0-00-00-00");  // with the description only
            kmsgui::WaitIdle(oui);
            ouiLines << ListLines(oui)[0];
            oui.reject();
        });
        Click(Find<QPushButton>(*dlg, "ouiTableButton"));
        QVERIFY(*ran);
        QCOMPARE(ouiLines,
                 (QList<QStringList>{{"Veltra Surveillance", "5A-C2-91-00-00-00", "FF-FF-FF-00-00-00"},
                                     {"NVR", "00-80-F0-00-00-00", "FF-FF-FF-00-00-00"}}));
        QCOMPARE(m_prompt->texts, (QStringList{"Invalid Vlan Description.", "Multicast MAC  is not allowed.",
                                               "Multicast MAC  is not allowed.",
                                               "This OUI is default, please select the default mode!",
                                               "The default Surveillance OUI can not be deleted."}));
        QCOMPARE(m_sim->Journal(),
                 (Lines{".26.2.1.1.5.0.128.240.0.0.0=4", ".26.2.1.1.2.0.128.240.0.0.0=\"NVR\""}));
    }

    void arpListAddsThroughItsAddDialogAndDeletes() {
        auto dlg = Open<CArpSpoofingDlg>();
        QVERIFY(dlg);
        QVERIFY(!kmsgui::Screenshot(*dlg, "arp_spoofing").isEmpty());
        QCOMPARE(ListLines(*dlg), (QList<QStringList>{{"1", "192.168.0.254", "00-1E-06-AA-BB-CC", "8"}}));
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("1"));
        m_sim->ClearJournal();
        auto ran = kmsgui::WhenModal<CArpSpoofingAddDlg>([&](CArpSpoofingAddDlg& add) {
            kmsgui::WaitIdle(add);
            kmsgui::Screenshot(add, "arp_spoofing_add");
            Click(Find<QCheckBox>(add, "allPorts"));
            AddArp(add, "99.1.1.1", "00-1e-06-11-22-33", {});
            AddArp(add, "2.0.0.1", "00-1E-06-11-22-44", {5, 6});
            add.reject();
        });
        Click(Find<QPushButton>(*dlg, "addButton"));
        QVERIFY(*ran);
        QCOMPARE(m_sim->Journal(),
                 (Lines{".14.3.1.1.4.99.1.1.1=5",
                        ".14.3.1.1.2.99.1.1.1=0x001E06112233; .14.3.1.1.3.99.1.1.1=0xFF000000",
                        ".14.3.1.1.4.99.1.1.1=1", ".14.3.1.1.4.2.0.0.1=5",
                        ".14.3.1.1.2.2.0.0.1=0x001E06112244; .14.3.1.1.3.2.0.0.1=0x0C000000",
                        ".14.3.1.1.4.2.0.0.1=1"}));
        const QString question =
            QStringLiteral("Make sure the host IP and MAC exists or you will lose the connection.");
        QCOMPARE(m_prompt->texts, (QStringList{question, question}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(ListLines(*dlg),
                 (QList<QStringList>{{"1", "2.0.0.1", "00-1E-06-11-22-44", "5,6"},
                                     {"2", "99.1.1.1", "00-1E-06-11-22-33", "1,2,3,4,5,6,7,8"},
                                     {"3", "192.168.0.254", "00-1E-06-AA-BB-CC", "8"}}));
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("3"));

        m_prompt->Clear();
        m_sim->ClearJournal();
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        SelectLine(*dlg, 1);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(m_prompt->texts, QStringList{"Please select the entry you would be delete!"});
        QCOMPARE(m_sim->Journal(), (Lines{".14.3.1.1.4.99.1.1.1=6"}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(ListLines(*dlg).size(), 2);
    }

    void arpAddChecksInOrderAndCancelSendsNothing() {
        QVERIFY(SetTrunk(1, "C0000000"));  // ports 1 and 2
        auto add = Open<CArpSpoofingAddDlg>();
        QVERIFY(add);
        m_sim->ClearJournal();
        AddArp(*add, "0.1.1.1", "00-1E-06-11-22-33", {});
        AddArp(*add, "127.0.0.1", "", {});
        AddArp(*add, "224.0.0.1", "", {});
        AddArp(*add, "10.1.1.1", "00-00-00-00-00-00", {});
        AddArp(*add, "10.1.1.1", "00:1E:06:11:22:33", {});
        AddArp(*add, "10.1.1.1", "01-00-5E-00-00-01", {});
        AddArp(*add, "10.1.1.1", "00-1E-06-11-22-33", {1});
        m_prompt->answers = {false};
        AddArp(*add, "10.1.1.1", "00-1E-06-11-22-33", {2});  // ports 1 and 2 now: the whole trunk
        QCOMPARE(m_prompt->texts,
                 (QStringList{"Invalid  IP.", "Multicast IP is not allowed", "Multicast IP is not allowed",
                              "Please enter correct MAC format(ex:00-00-00-00-00-01)",
                              "Please enter correct MAC format(ex:00-00-00-00-00-01)",
                              "Multicast MAC address is not allowed.",
                              "ARP Spoofing Prevention enabled port must match to the aggregated link port.",
                              "Make sure the host IP and MAC exists or you will lose the connection."}));
        QCOMPARE(m_sim->Journal(), Lines{});
        QCOMPARE(Find<QLineEdit>(*add, "gatewayMac")->text(), QStringLiteral("00-1E-06-11-22-33"));  // kept
    }

    void aRowTheSwitchDidNotCompleteIsTakenAway() {
        auto add = Open<CArpSpoofingAddDlg>();  // reads the trunks: none yet
        QVERIFY(add);
        QVERIFY(SetTrunk(1, "C0000000"));  // behind the dialog's back
        m_sim->ClearJournal();
        AddArp(*add, "10.1.1.1", "00-1E-06-11-22-33", {1});
        QCOMPARE(m_sim->Journal(), (Lines{".14.3.1.1.4.10.1.1.1=5",
                                          ".14.3.1.1.2.10.1.1.1=0x001E06112233; "
                                          ".14.3.1.1.3.10.1.1.1=0x80000000 => error 12 (binding 2)",
                                          ".14.3.1.1.4.10.1.1.1=6"}));
        QCOMPARE(m_prompt->texts.size(), 2);
        QCOMPARE(m_prompt->texts[1],
                 QStringLiteral("The switch did not accept the settings of the new entry, so it "
                                "was removed again."));
        QVERIFY(!Reader().Get(kV + ".14.3.1.1.4.10.1.1.1").ok);
        QCOMPARE(Find<QLineEdit>(*add, "gatewayMac")->text(), QStringLiteral("00-1E-06-11-22-33"));
    }

    void theSixtyFifthArpEntryIsRefused() {
        // 63 more bindings beside the one the switch starts with, 21 rows per request.
        for (int chunk = 0; chunk < 3; ++chunk) {
            std::vector<std::string> args = {"snmpset", "-v2c", "-c", m_sim->WriteCommunity(),
                                             m_sim->Endpoint()};
            for (int i = 1; i <= 21; ++i) {
                const std::string index = ".10.0." + std::to_string(chunk) + "." + std::to_string(i);
                args.insert(args.end(), {kV + ".14.3.1.1.4" + index, "i", "4"});
                args.insert(args.end(), {kV + ".14.3.1.1.2" + index, "x", "001E06000001"});
            }
            std::string out, err;
            QCOMPARE(m_sim->RunTool(args, &out, &err), 0);
        }
        QVERIFY(!Reader().Set(kV + ".14.3.1.1.4.10.0.9.1", 'i', "5"));  // the switch is full too
        auto dlg = Open<CArpSpoofingDlg>();
        QVERIFY(dlg);
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("64"));
        m_sim->ClearJournal();
        auto ran = kmsgui::WhenModal<CArpSpoofingAddDlg>([](CArpSpoofingAddDlg& add) { add.reject(); }, 500);
        Click(Find<QPushButton>(*dlg, "addButton"));  // an opened add dialog would hold the click until ran
        QVERIFY(!*ran);
        QCOMPARE(m_prompt->texts, QStringList{"The Maximum of Entry is 64, can not add any more"});
    }

    void dhcpScreeningKeepsTrunksAlike() {
        QVERIFY(SetTrunk(2, "30000000"));  // ports 3 and 4
        auto dlg = Open<CDhcpScreeningDlg>();
        QVERIFY(dlg);
        QVERIFY(!kmsgui::Screenshot(*dlg, "dhcp_screening").isEmpty());
        QCOMPARE(ListLines(*dlg).size(), 8);
        QCOMPARE(ListLines(*dlg)[2], (QStringList{"3", "Disabled"}));
        m_sim->ClearJournal();
        Choose(*dlg, "fromPort", "3");
        Choose(*dlg, "toPort", "3");
        Choose(*dlg, "state", "Enabled");
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_prompt->texts, QStringList{"Cannot add ports with different DHCP Server Screening Port "
                                              "Settings to an aggregated link."});
        QCOMPARE(m_sim->Journal(), Lines{});

        Choose(*dlg, "toPort", "6");
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_sim->Journal(), (Lines{".14.7.1.0=0x3C000000"}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QStringList states;
        for (const QStringList& line : ListLines(*dlg)) states << line[1];
        QCOMPARE(states, (QStringList{"Disabled", "Disabled", "Enabled", "Enabled", "Enabled", "Enabled",
                                      "Disabled", "Disabled"}));
    }

    void multicastFilteringRefusesTrunkPorts() {
        QVERIFY(SetTrunk(2, "30000000"));  // ports 3 and 4
        auto dlg = Open<CMulticastFilteringDlg>();
        QVERIFY(dlg);
        QVERIFY(!kmsgui::Screenshot(*dlg, "multicast_filtering").isEmpty());
        QCOMPARE(ListLines(*dlg)[0], (QStringList{"1", "Forward Unregistered Groups"}));
        m_sim->ClearJournal();
        Choose(*dlg, "fromPort", "2");
        Choose(*dlg, "toPort", "3");
        Choose(*dlg, "mode", "Filtering Unregistered Groups");
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(
            m_prompt->texts,
            QStringList{"Ports with different Multicast Filtering Mode in an aggregated link is invalid."});
        QCOMPARE(m_sim->Journal(), Lines{});

        Choose(*dlg, "fromPort", "6");
        Choose(*dlg, "toPort", "8");
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_sim->Journal(), (Lines{".28.1.1.2.6=2; .28.1.1.2.7=2; .28.1.1.2.8=2"}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(ListLines(*dlg)[7], (QStringList{"8", "Filtering Unregistered Groups"}));
        QCOMPARE(ListLines(*dlg)[4], (QStringList{"5", "Forward Unregistered Groups"}));
    }

    void theAddDialogWrapsTwentyEightPorts() {
        kmsgui::UseSim(*m_sim, 28);
        auto add = Open<CArpSpoofingAddDlg>();
        QVERIFY(add);
        QVERIFY(Find<QCheckBox>(*add, "port28"));
        QVERIFY(!kmsgui::Screenshot(*add, "arp_spoofing_add_28").isEmpty());
    }
};

QTEST_MAIN(SecurityDialogsTest)
#include "security_dialogs_test.moc"
