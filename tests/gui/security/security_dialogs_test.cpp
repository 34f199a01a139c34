// The surveillance VLAN and security filter dialogs against kms-sim. The switch starts with the
// surveillance VLAN off on VLAN 10 (priority Highest), VLANs 1 and 10, the default OUI 5A-C2-91-00-00-00
// only, one ARP binding (192.168.0.254, 00-1E-06-AA-BB-CC, port 8), no DHCP screening, every port
// forwarding unregistered multicast, and no trunk members.

#include "dialogs/switch/arp_spoofing_add_dlg.h"
#include "dialogs/switch/arp_spoofing_dlg.h"
#include "dialogs/switch/dhcp_screening_dlg.h"
#include "dialogs/switch/multicast_filtering_dlg.h"
#include "dialogs/switch/surveillance_oui_dlg.h"
#include "dialogs/switch/surveillance_vlan_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";

class SecurityDialogsTest : public SimTest {
    Q_OBJECT

    bool SetTrunk(int trunk, const char* hex) const {
        return m_sim->Set(kV + ".8.1.3.1.2." + std::to_string(trunk), 'x', hex);
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
    void surveillanceSettingsApplyInOneRequestAndOuiRefusalsUseEachDialogsOwnTexts() {
        auto dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        auto* vlan = Find<QComboBox>(*dlg, "vlanId");
        QCOMPARE(vlan->count(), 2);
        QCOMPARE(Texts(*dlg, {"vlanId", "priority"}), (QStringList{"10", "Highest"}));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableSurveillance")->isChecked());
        QCOMPARE(ListLines(*dlg),
                 (QStringList{"Veltra_Surveillance_Device|Veltra Surveillance|5A-C2-91-00-00-00"}));

        Click(Find<QCheckBox>(*dlg, "enableSurveillance"));
        Choose(*dlg, "vlanId", "1");
        Choose(*dlg, "priority", "Medium");
        m_sim->ClearJournal();
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (Lines{".26.1.2.0=1; .26.1.3.0=2; .26.1.1.0=1"}));
        QCOMPARE(Reader().Get(kV + ".26.1.1.0").value, std::string("1"));
        QCOMPARE(vlan->currentText(), QStringLiteral("1"));
        QCOMPARE(Said(), QStringList());

        auto tryAdd = [](QWidget& d, const char* description, const char* mac) {
            Type(d, "description", QString::fromUtf8(description));
            Type(d, "macAddress", QString::fromLatin1(mac));
            Click(Find<QPushButton>(d, "addButton"));
        };
        // The rule words its refusals per dialog: one of each proves which wording a dialog asks for.
        tryAdd(*dlg, "cam.1", "00-11-22-33-44-55");
        Click(Find<QPushButton>(*dlg, "deleteButton"));  // nothing selected
        SelectLine(ListOf(*dlg), 0);
        Click(Find<QPushButton>(*dlg, "deleteButton"));  // the default entry
        QCOMPARE(Said(),
                 (QStringList{"Invalid Description.", "Please Selecte the OUI Entry you would to delete",
                              "The default Surveillance OUI can not be deleted."}));

        // The OUI table dialog, opened from the settings dialog, with its own texts.
        m_prompt->Clear();
        QStringList ouiLines;
        auto ran = WhenModal<CSurveillanceOuiDlg>([&](CSurveillanceOuiDlg& oui) {
            WaitIdle(oui);
            ouiLines = ListLines(oui);
            tryAdd(oui, "cam.1", "00-11-22-33-44-55");
            SelectLine(ListOf(oui), 0);
            Click(Find<QPushButton>(oui, "deleteButton"));
            m_sim->ClearJournal();
            tryAdd(oui, "NVR", "00-80-F0-00-00-00");  // with the description only
            WaitIdle(oui);
            ouiLines << ListLines(oui)[0];
            oui.reject();
        });
        Click(Find<QPushButton>(*dlg, "ouiTableButton"));
        QVERIFY(*ran);
        QCOMPARE(ouiLines, (QStringList{"Veltra Surveillance|5A-C2-91-00-00-00|FF-FF-FF-00-00-00",
                                        "NVR|00-80-F0-00-00-00|FF-FF-FF-00-00-00"}));
        QCOMPARE(Said(), (QStringList{"Invalid Vlan Description.",
                                      "The default Surveillance OUI can not be deleted."}));
        QCOMPARE(Journal(), (Lines{".26.2.1.1.5.0.128.240.0.0.0=4", ".26.2.1.1.2.0.128.240.0.0.0=\"NVR\""}));
    }

    void surveillanceApplyRefusesAsymmetricModeAndTheVoiceVlanButFiveOuisFit() {
        QVERIFY(Reader().Set(kV + ".7.5.0", 'i', "1"));
        auto dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        Click(Find<QCheckBox>(*dlg, "enableSurveillance"));
        Refused(*dlg, "applyButton", "Auto Surveillance Vlan can not support in Asymmetric VLAN mode.");
        QVERIFY(!Find<QCheckBox>(*dlg, "enableSurveillance")->isChecked());  // read again

        // Five user OUIs fit (the mode does not matter to them), the sixth is refused.
        Forget();
        Lines expected;
        for (int i = 1; i <= 6; ++i) {
            Find<QComboBox>(*dlg, "componentType")->setCurrentIndex(i % 5);
            Type(*dlg, "description", QStringLiteral("cam %1").arg(i));
            Type(*dlg, "macAddress", QStringLiteral("00-11-22-33-44-0%1").arg(i));
            Press(*dlg, "addButton");
            if (i == 6) break;
            const std::string index = ".0.17.34.51.68." + std::to_string(i);
            expected.push_back(".26.2.1.1.5" + index + "=4");
            expected.push_back(".26.2.1.1.2" + index + "=\"cam " + std::to_string(i) + "\"; .26.2.1.1.4" +
                               index + "=" + std::to_string(i % 5));
        }
        QCOMPARE(Journal(), expected);
        QCOMPARE(Said(), QStringList{"OUI Table is full,Maximum user defined OUI is 5."});
        QCOMPARE(ListLines(*dlg).size(), 6);  // the user entries sort before the default one
        QCOMPARE(ListLines(*dlg)[0], QStringLiteral("VMS_Client|cam 1|00-11-22-33-44-01"));
        QCOMPARE(Find<QLineEdit>(*dlg, "description")->text(), QStringLiteral("cam 6"));  // kept: refused

        // Delete the second user entry.
        m_sim->ClearJournal();
        SelectLine(ListOf(*dlg), 1);
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), (Lines{".26.2.1.1.5.0.17.34.51.68.2=6"}));
        QCOMPARE(ListLines(*dlg).size(), 5);
        dlg.reset();

        // The voice VLAN is read-only over SNMP: a switch whose data has it on VLAN 10.
        std::string error;
        auto voiceSim = StartSimWith({{kV + ".21.1.2.0", "2|1"}, {kV + ".21.1.3.0", "2|10"}}, &error);
        QVERIFY2(voiceSim, error.c_str());
        UseSim(*voiceSim);
        dlg = Open<CSurveillanceVlanDlg>();
        QVERIFY(dlg);
        m_prompt->Clear();
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList{"The vlan ID already is voice vlan ID."});
        QCOMPARE(voiceSim->Journal(), Lines{});
        Choose(*dlg, "vlanId", "1");
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(voiceSim->Journal(), (Lines{".26.1.2.0=1; .26.1.3.0=0; .26.1.1.0=2"}));
        dlg.reset();  // before its switch goes
    }

    void arpListAddsThroughItsAddDialogAndDeletes() {
        auto dlg = Open<CArpSpoofingDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg), (QStringList{"1|192.168.0.254|00-1E-06-AA-BB-CC|8"}));
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("1"));
        auto ran = WhenModal<CArpSpoofingAddDlg>([&](CArpSpoofingAddDlg& add) {
            WaitIdle(add);
            Click(Find<QCheckBox>(add, "allPorts"));
            AddArp(add, "99.1.1.1", "00-1e-06-11-22-33", {});
            AddArp(add, "2.0.0.1", "00-1E-06-11-22-44", {5, 6});
            add.reject();
        });
        Click(Find<QPushButton>(*dlg, "addButton"));
        QVERIFY(*ran);
        QCOMPARE(Journal(), (Lines{".14.3.1.1.4.99.1.1.1=5",
                                   ".14.3.1.1.2.99.1.1.1=0x001E06112233; .14.3.1.1.3.99.1.1.1=0xFF000000",
                                   ".14.3.1.1.4.99.1.1.1=1", ".14.3.1.1.4.2.0.0.1=5",
                                   ".14.3.1.1.2.2.0.0.1=0x001E06112244; .14.3.1.1.3.2.0.0.1=0x0C000000",
                                   ".14.3.1.1.4.2.0.0.1=1"}));
        const QString question =
            QStringLiteral("Make sure the host IP and MAC exists or you will lose the connection.");
        QCOMPARE(Said(), (QStringList{question, question}));
        QVERIFY(WaitIdle(*dlg));
        QCOMPARE(ListLines(*dlg), (QStringList{"1|2.0.0.1|00-1E-06-11-22-44|5,6",
                                               "2|99.1.1.1|00-1E-06-11-22-33|1,2,3,4,5,6,7,8",
                                               "3|192.168.0.254|00-1E-06-AA-BB-CC|8"}));
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("3"));

        Forget();
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        SelectLine(ListOf(*dlg), 1);
        Press(*dlg, "deleteButton");
        QCOMPARE(Said(), QStringList{"Please select the entry you would be delete!"});
        QCOMPARE(Journal(), (Lines{".14.3.1.1.4.99.1.1.1=6"}));
        QCOMPARE(ListLines(*dlg).size(), 2);
    }

    void arpAddChecksInOrderTakesAwayWhatTheSwitchRefusedAndEndsSilentlyWhenClosed() {
        QVERIFY(SetTrunk(1, "C0000000"));  // ports 1 and 2
        UseSim(*m_sim, 28);                // the add dialog wraps its 28 ports
        auto add = Open<CArpSpoofingAddDlg>();
        QVERIFY(add);
        QVERIFY(Find<QCheckBox>(*add, "port28"));
        m_sim->ClearJournal();
        // The address, the MAC, then the trunk ports (the rules' own order is theirs), then the question.
        AddArp(*add, "127.0.0.1", "", {});
        AddArp(*add, "10.1.1.1", "00:1E:06:11:22:33", {});
        AddArp(*add, "10.1.1.1", "00-1E-06-11-22-33", {1});
        m_prompt->answers = {false};
        AddArp(*add, "10.1.1.1", "00-1E-06-11-22-33", {2});  // ports 1 and 2 now: the whole trunk
        QCOMPARE(Said(),
                 (QStringList{"Multicast IP is not allowed",
                              "Please enter correct MAC format(ex:00-00-00-00-00-01)",
                              "ARP Spoofing Prevention enabled port must match to the aggregated link port.",
                              "Make sure the host IP and MAC exists or you will lose the connection."}));
        QCOMPARE(Journal(), Lines{});
        QCOMPARE(Find<QLineEdit>(*add, "gatewayMac")->text(), QStringLiteral("00-1E-06-11-22-33"));  // kept

        // Ports 3 and 4 became a trunk behind the dialog's back: the switch refuses port 3 alone, and the
        // row it made for it goes again.
        QVERIFY(SetTrunk(2, "30000000"));
        Forget();
        AddArp(*add, "10.1.1.1", "00-1E-06-11-22-33", {1, 2, 3});  // port 3 only now
        QCOMPARE(Journal(), (Lines{".14.3.1.1.4.10.1.1.1=5",
                                   ".14.3.1.1.2.10.1.1.1=0x001E06112233; "
                                   ".14.3.1.1.3.10.1.1.1=0x20000000 => error 12 (binding 2)",
                                   ".14.3.1.1.4.10.1.1.1=6"}));
        QCOMPARE(Said().value(1),
                 QStringLiteral("The switch did not accept the settings of the new entry, so "
                                "it was removed again."));
        QVERIFY(!Reader().Get(kV + ".14.3.1.1.4.10.1.1.1").ok);
        QCOMPARE(Find<QLineEdit>(*add, "gatewayMac")->text(), QStringLiteral("00-1E-06-11-22-33"));

        // The window closes in the pause after the row's creation: neither its columns nor a message follow.
        Click(Find<QCheckBox>(*add, "port3"));
        Forget();
        QTimer::singleShot(0, add.get(), &QDialog::reject);
        Click(Find<QPushButton>(*add, "applyButton"));
        QCOMPARE(Said(),
                 QStringList{"Make sure the host IP and MAC exists or you will lose the connection."});
        QCOMPARE(Journal(), Lines{".14.3.1.1.4.10.1.1.1=5"});
    }

    void theSixtyFifthArpEntryIsRefused() {
        // 63 more bindings beside the one the switch starts with, 21 rows per request.
        std::vector<std::array<std::string, 3>> rows;
        for (int i = 0; i < 63; ++i) {
            const std::string index = ".10.0." + std::to_string(i / 21) + "." + std::to_string(i % 21 + 1);
            rows.push_back({kV + ".14.3.1.1.4" + index, "i", "4"});
            rows.push_back({kV + ".14.3.1.1.2" + index, "x", "001E06000001"});
        }
        QVERIFY(SetMany(*m_sim, rows, 42));
        QVERIFY(!Reader().Set(kV + ".14.3.1.1.4.10.0.9.1", 'i', "5"));  // the switch is full too
        auto dlg = Open<CArpSpoofingDlg>();
        QVERIFY(dlg);
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("64"));
        m_sim->ClearJournal();
        auto ran = WhenModal<CArpSpoofingAddDlg>([](CArpSpoofingAddDlg& add) { add.reject(); }, 500);
        Click(Find<QPushButton>(*dlg, "addButton"));  // an opened add dialog would hold the click until ran
        QVERIFY(!*ran);
        QCOMPARE(Said(), QStringList{"The Maximum of Entry is 64, can not add any more"});
    }

    void dhcpScreeningKeepsTrunksAlike() {
        QVERIFY(SetTrunk(2, "30000000"));  // ports 3 and 4
        auto dlg = Open<CDhcpScreeningDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg).size(), 8);
        QCOMPARE(ListLines(*dlg)[2], QStringLiteral("3|Disabled"));
        Choose(*dlg, "fromPort", "3");
        Choose(*dlg, "toPort", "3");
        Choose(*dlg, "state", "Enabled");
        Refused(*dlg, "applyButton",
                "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.");

        Choose(*dlg, "toPort", "6");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (Lines{".14.7.1.0=0x3C000000"}));
        QCOMPARE(ListLines(*dlg), (QStringList{"1|Disabled", "2|Disabled", "3|Enabled", "4|Enabled",
                                               "5|Enabled", "6|Enabled", "7|Disabled", "8|Disabled"}));
    }

    void multicastFilteringRefusesTrunkPorts() {
        QVERIFY(SetTrunk(2, "30000000"));  // ports 3 and 4
        auto dlg = Open<CMulticastFilteringDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg)[0], QStringLiteral("1|Forward Unregistered Groups"));
        Choose(*dlg, "fromPort", "2");
        Choose(*dlg, "toPort", "3");
        Choose(*dlg, "mode", "Filtering Unregistered Groups");
        Refused(*dlg, "applyButton",
                "Ports with different Multicast Filtering Mode in an aggregated link is invalid.");

        Choose(*dlg, "fromPort", "6");
        Choose(*dlg, "toPort", "8");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (Lines{".28.1.1.2.6=2; .28.1.1.2.7=2; .28.1.1.2.8=2"}));
        QCOMPARE(ListLines(*dlg)[7], QStringLiteral("8|Filtering Unregistered Groups"));
        QCOMPARE(ListLines(*dlg)[4], QStringLiteral("5|Forward Unregistered Groups"));
    }
};

QTEST_MAIN(SecurityDialogsTest)
#include "security_dialogs_test.moc"
