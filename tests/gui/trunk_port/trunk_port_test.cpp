// The trunk, trunk member, port configuration and Device Configure dialogs against kms-sim. The 8-port
// switch starts with link aggregation on, eight static trunks without members, every port Auto but port
// 5 (Disable), a static forwarding entry on port 6, an ACL on 7 and an ARP spoofing entry on 8. The
// 28-port one has 10/100 copper ports 1-24, gigabit 25-26, a 1000Base-x SFP in 27 and a 100Base-x SFP
// in 28 (100M-Full).

#include <QTemporaryDir>

#include "dialogs/common/dialog_registry.h"
#include "dialogs/common/port_grid.h"
#include "dialogs/switch/device_config_dlg.h"
#include "dialogs/switch/port_config_dlg.h"
#include "dialogs/switch/trunk_config_dlg.h"
#include "dialogs/switch/trunk_member_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

const std::string kV = "1.3.6.1.4.1.32473.10.75.13.";

// Checks exactly these ports of the member dialog.
static void CheckPorts(CTrunkMemberDlg& dlg, const std::vector<int>& ports) {
    std::vector<int> flags(static_cast<std::size_t>(dlg.Ports()->PortCount()), 0);
    for (int p : ports) flags[p - 1] = 1;
    dlg.Ports()->SetFlags(0, flags);
}

// Picks the port and its speed in Port Configuration and presses Apply.
static void ApplySpeed(CPortConfigDlg& dlg, int port, const char* speed) {
    dlg.SelectPort(port);
    Find<QComboBox>(dlg, "portControlSpeed")->setCurrentText(QString::fromLatin1(speed));
    Press(dlg, "applyButton");
}

class TrunkPortTest : public SimTest {
    Q_OBJECT

private slots:
    void trunkDialogRefusesThenWritesModeMembersAndState() {
        QVERIFY(m_sim->Set(kV + "8.1.3.1.2.2", 'x', "C0000000"));
        QVERIFY(m_sim->Set(kV + "8.1.3.1.3.4", 'i', "3"));
        auto dlg = Open<CTrunkConfigDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg), (QStringList{"1|Static|", "2|Static|1,2", "3|Static|", "4|Disable|",
                                               "5|Static|", "6|Static|", "7|Static|", "8|Static|"}));
        QVERIFY(Find<QCheckBox>(*dlg, "enableTrunk")->isChecked());
        QVERIFY(Find<QPushButton>(*dlg, "portMemberButton")->isEnabled());

        m_sim->ClearJournal();
        Click(Find<QPushButton>(*dlg, "portMemberButton"));  // nothing selected
        SelectLine(ListOf(*dlg), "4");
        Click(Find<QPushButton>(*dlg, "portMemberButton"));
        auto* id = Find<QLineEdit>(*dlg, "trunkId");
        for (const char* text : {"9", "3"}) {  // the range and the members, as the rule checks them
            id->setText(QString::fromLatin1(text));
            Press(*dlg, "applyButton");
        }
        QCOMPARE(Said(), (QStringList{"Please select the Trunk !", "Link Aggregation State is disable.",
                                      "Invliad VLAN ID, VLAN ID should be (1-8) !",
                                      "Please configure the PortMember first"}));
        QVERIFY(Journal().empty());

        SelectLine(ListOf(*dlg), "2");
        QCOMPARE(Texts(*dlg, {"trunkId", "portChannelMode"}), (QStringList{"2", "Static"}));
        Find<QComboBox>(*dlg, "portChannelMode")->setCurrentIndex(0);  // LACP
        Press(*dlg, "applyButton");
        // A member set that passes goes out as one request, with the mode.
        SelectLine(ListOf(*dlg), "2");
        std::vector<int> shownMembers;
        QVERIFY(OnModal<CTrunkMemberDlg>(*dlg, "portMemberButton", [&](CTrunkMemberDlg& member) {
            shownMembers = member.Ports()->Flags(0);
            CheckPorts(member, {2, 3, 4});
            Click(Find<QPushButton>(member, "okButton"));
        }));
        QCOMPARE(shownMembers, (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(ListLines(*dlg)[1], QStringLiteral("2|LACP|2,3,4"));
        Find<QCheckBox>(*dlg, "enableTrunk")->setChecked(false);
        Press(*dlg, "stateApplyButton");
        QCOMPARE(Said().size(), 4);
        QCOMPARE(Journal(),
                 (Lines{".8.1.3.1.3.2=1", ".8.1.3.1.2.2=0x70000000; .8.1.3.1.3.2=1", ".8.1.2.0=2"}));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableTrunk")->isChecked());
        QVERIFY(!Find<QPushButton>(*dlg, "portMemberButton")->isEnabled());
    }

    void refusedMemberSetsWriteNothing() {
        // Settings the module only reads are put in place behind its back; writable ones are written.
        QVERIFY(m_sim->ForceValue(kV + "14.2.1.1.2.2", "2|1"));    // port security on 2
        QVERIFY(m_sim->ForceValue(kV + "13.1.2.1.3.4", "2|64"));   // rate control of 4
        QVERIFY(m_sim->Set(kV + "1.13.1.2.3", 'i', "3"));          // 3 at 100M half duplex
        QVERIFY(m_sim->Set(kV + "7.6.1.4.1", 'x', "F0000000"));    // VLAN 1 untagged 1-4 only
        QVERIFY(m_sim->Set(kV + "8.1.3.1.2.6", 'x', "03000000"));  // trunk 6: ports 7, 8
        Forget();
        // The checks are the rules' own; these show each setting read from the switch reaches them.
        const std::pair<std::vector<int>, const char*> cases[] = {
            {{1}, "The mininum port members for an aggregated link is 2 !"},
            {{6, 7}, "Cannot add the port as it is a member of another aggregated link !"},
            {{3, 4}, "Cannot add a port in half-duplex mode to an aggregated link."},
            {{4, 6}, "Cannot add ports with different VLAN configurations to an aggregated link !"},
            {{1, 2}, "Cannot add a port-security anabled port to an aggregated link."},
            {{1, 4}, "Cannot add ports with different rate control configurations to an aggregated link."}};
        auto dlg = Open<CTrunkMemberDlg>(nullptr, 1, QStringLiteral("Static"), 8);
        QVERIFY(dlg && dlg->Ready());
        QStringList said;
        for (const auto& [ports, message] : cases) {
            CheckPorts(*dlg, ports);
            Click(Find<QPushButton>(*dlg, "okButton"));
            said << QString::fromLatin1(message);
        }
        QCOMPARE(Said(), said);
        QVERIFY(dlg->isVisible());
        QVERIFY(Journal().empty());
    }

    void anUnreadableSwitchRefusesEveryMemberSet() {
        Settings().SnmpTimeoutText = "200";
        QVERIFY(m_sim->SetSilent(-1));
        CTrunkMemberDlg dlg(nullptr, 1, QStringLiteral("Static"), 8);
        dlg.show();
        QTRY_VERIFY_WITH_TIMEOUT(!Said().isEmpty(), 10000);
        QVERIFY(m_sim->Resume());
        QCOMPARE(Said(), QStringList{"TrunkValid Init Error !"});
        QVERIFY(!dlg.Ready());
        CheckPorts(dlg, {1, 2});
        Click(Find<QPushButton>(dlg, "okButton"));
        QCOMPARE(Said(), (QStringList{"TrunkValid Init Error !", "TrunkValid Init Error !"}));
        QVERIFY(Journal().empty());
    }

    void theMemberAndPortDialogsOfThe28PortModel() {
        kmstest::KmsSimFixture sim28({.model = "28E"});
        QVERIFY2(sim28.Start(), sim28.LastError().c_str());
        UseSim(sim28, 28);
        // The last of the seven RSTP port settings of port 26 differs first (read with the last columns).
        QVERIFY(sim28.ForceValue(kV + "6.2.1.14.26", "2|1"));
        for (const char* expected :
             {"Cannot add a port with different RSTP port setting to an aggregated link.", ""}) {
            m_prompt->Clear();
            sim28.ClearJournal();
            auto dlg = Open<CTrunkMemberDlg>(nullptr, 3, QStringLiteral("LACP"), 28);
            QVERIFY(dlg && dlg->Ready());
            CheckPorts(*dlg, {25, 26});
            Click(Find<QPushButton>(*dlg, "okButton"));
            QCOMPARE(Said(), *expected ? QStringList{QString::fromLatin1(expected)} : QStringList());
            QCOMPARE(sim28.Journal(), *expected ? Lines() : Lines{".8.1.3.1.2.3=0x000000C0; .8.1.3.1.3.3=1"});
            QVERIFY(sim28.ForceValue(kV + "6.2.1.14.26", "2|2"));
        }

        // Port speeds: 10/100 copper ports and a 100Base-x SFP.
        m_prompt->Clear();
        auto dlg = Open<CPortConfigDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg).size(), 28);
        QCOMPARE(ListLines(*dlg)[2], QStringLiteral("3|Auto|100MFull|Disable|Middle|Disabled"));
        QCOMPARE(ListLines(*dlg)[27], QStringLiteral("28|100MFull|Down|Disable|Middle|Disabled"));
        sim28.ClearJournal();
        ApplySpeed(*dlg, 3, "1000M-Full");
        ApplySpeed(*dlg, 28, "Auto");
        QCOMPARE(Said(),
                 (QStringList{"Port3 can not support 1000M speed.",
                              "Fiber Port28 with 100Base-x SFP Module can not support in Auto mode."}));
        QVERIFY(sim28.Journal().empty());

        // With IsAllGiga the module lets it through; this switch's copper port refuses it.
        Settings().AllGiga = true;
        m_prompt->Clear();
        dlg->Refresh();
        QVERIFY(WaitIdle(*dlg));
        ApplySpeed(*dlg, 3, "1000M-Full");
        QCOMPARE(Said().value(1),
                 QStringLiteral("The switch did not accept the speed and flow control of port 3."));
        QCOMPARE(sim28.Journal(), Lines{".1.13.1.2.3=1; .1.13.1.5.3=2 => error 10 (binding 1)"});
    }

    void portListRefusalsAndAPassingApply() {
        // Trunk 1 holds 3 and 4; port 4 runs 10M half duplex (set on the switch itself).
        QVERIFY(m_sim->Set(kV + "8.1.3.1.2.1", 'x', "30000000"));
        QVERIFY(m_sim->ForceValue(kV + "1.13.1.2.4", "2|5"));
        // A click on port 2 of the front panel opens Port Configuration on port 2's line.
        RegisterSwitchDialogs();
        SetSelectedPort(2);
        std::unique_ptr<QDialog> made = FindDialog(32774)(nullptr);
        SetSelectedPort(0);
        auto* dlg = qobject_cast<CPortConfigDlg*>(made.get());
        QVERIFY(dlg && OpenAndWait(*dlg));
        QTreeWidget* list = ListOf(*dlg);
        QCOMPARE(ListLines(list),
                 (QStringList{
                     "1|Auto|1000MFull|Disable|Middle|Disabled", "2|Auto|1000MFull|Disable|Middle|Disabled",
                     "3|Auto|100MFull|Disable|Middle|Disabled", "4|10MHalf|10MHalf|Disable|Middle|Disabled",
                     "5|Disable|Down|Disable|Middle|Disabled", "6|Auto|Down|Disable|Middle|Disabled",
                     "7|Auto|Down|Disable|Middle|Disabled", "8|Auto|Down|Disable|Middle|Disabled"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "portId")->text(), QStringLiteral("2"));
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("2"));

        // The refusals are the rule's own; this one shows the dialog hands it the trunks and speeds read.
        m_sim->ClearJournal();
        ApplySpeed(*dlg, 3, "10M-Half");
        m_prompt->answers = {false};  // Cancel at the force-mode question
        ApplySpeed(*dlg, 8, "100M-Full");
        const QString force =
            "The speed is set to force mode. \n* The speed mode must be the same as the counterpart. ";
        QCOMPARE(Said(), (QStringList{"LA port3 can not support in half-duplex mode.", force}));
        QVERIFY(Journal().empty());

        m_prompt->Clear();
        dlg->SelectPort(2);
        Find<QComboBox>(*dlg, "portControlSpeed")->setCurrentText("100M-Full");
        Find<QComboBox>(*dlg, "flowControlMode")->setCurrentText("Enable");
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), (QStringList{force,
                                      "QoS works best when Flow Control is disabled. \n* When Flow Control "
                                      "is enabled.QoS may not perform accurate bandwidth allocation. \n* "
                                      "Do you still want to enable Flow Control?. "}));
        QCOMPARE(Journal(), Lines{".1.13.1.2.2=2; .1.13.1.5.2=1"});
        QCOMPARE(ListLines(list)[1], QStringLiteral("2|100MFull|100MFull|Enable|Middle|Enabled"));
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("2"));
    }

    void deviceConfigureListsAndApplies() {
        Settings() = m_sim->SettingsV3("kmsshaaes");  // the dialog talks SNMPv1 whatever the module uses
        auto dlg = Open<CDeviceConfigDlg>(nullptr, QStringLiteral(KMS_SOURCE_DIR "/assets/TRV6420_CFG.XML"));
        QVERIFY(dlg);
        QTRY_COMPARE_WITH_TIMEOUT(ListOf(*dlg, "configList")->topLevelItemCount(), 7, 10000);
        QCOMPARE(
            ListLines(*dlg, "infoList"),
            (QStringList{"Description|KMS-7300-08E 8-Port Gigabit PoE Managed Switch",
                         "System Name|KMS-7300-08E", "Location|Lab rack 1", "Contact|network administrator",
                         "System Up Time|0 Hour0 Min", "Fan Status|Normal"}));
        QCOMPARE(ListLines(*dlg, "configList"),
                 (QStringList{"Link Aggregation|Enabled", "Spanning Tree|Enabled",
                              "Spanning Tree Version|RSTP", "LLDP|Enabled", "802.1X Authentication|Disabled",
                              "Remote Syslog|Disabled", "Authentication Traps|Enabled"}));
        QVERIFY(!Find<QPushButton>(*dlg, "applyButton")->isEnabled());
        SelectLine(ListOf(*dlg, "configList"), "Spanning Tree");
        QVERIFY(Find<QPushButton>(*dlg, "applyButton")->isEnabled());
        auto* option = Find<QComboBox>(*dlg, "option");
        QCOMPARE(option->count(), 2);
        option->setCurrentText("Disabled");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), Lines{".6.1.1.0=2"});
        QTRY_COMPARE_WITH_TIMEOUT(ListLines(*dlg, "configList").value(1),
                                  QStringLiteral("Spanning Tree|Disabled"), 10000);
        QCOMPARE(option->count(), 0);
        SelectLine(ListOf(*dlg, "configList"), "LLDP");
        Click(Find<QPushButton>(*dlg, "refreshButton"));  // lets go of the line
        QTRY_COMPARE_WITH_TIMEOUT(ListOf(*dlg, "configList")->topLevelItemCount(), 7, 10000);
        QVERIFY(WaitIdle(*dlg));
        QVERIFY(!Find<QPushButton>(*dlg, "applyButton")->isEnabled());
        QCOMPARE(Said(), QStringList());
    }

    void deviceConfigureLooksUpItsFileLikeUserIni() {
        // None beside the executable: the user's configuration folder comes next, before the installation.
        QTemporaryDir config;
        const QString file = config.filePath("kms-module/TRV6420_CFG.XML");
        QVERIFY(QDir(config.path()).mkpath("kms-module") &&
                QFile::copy(KMS_SOURCE_DIR "/assets/TRV6420_CFG.XML", file));
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");  // empty: the default folder
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString found = CDeviceConfigDlg::DefaultFileName();
        qputenv("XDG_CONFIG_HOME", before);
        QCOMPARE(found, file);
    }

    void deviceConfigureWithoutTheFile() {
        m_sim->ClearCounters();
        auto dlg =
            std::make_unique<CDeviceConfigDlg>(nullptr, QStringLiteral(KMS_BINARY_DIR "/no/TRV6420_CFG.XML"));
        dlg->show();
        QTest::qWait(200);
        QCOMPARE(Said(), QStringList{"No TRV6420_CFG.XML !"});
        QCOMPARE(ListOf(*dlg, "infoList")->topLevelItemCount(), 0);
        QCOMPARE(ListOf(*dlg, "configList")->topLevelItemCount(), 0);
        QCOMPARE(m_sim->RequestCount(kmstest::RequestKind::Get), 0L);
    }
};

QTEST_MAIN(TrunkPortTest)
#include "trunk_port_test.moc"
