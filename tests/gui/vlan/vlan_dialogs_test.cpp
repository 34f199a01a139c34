// The VLAN list, add/edit and PVID dialogs against kms-sim. The switch starts with VLAN 1 "default"
// (egress 1-8, untagged 1-6) and VLAN 10 "video" (egress 5-8, untagged 7-8), PVIDs 1,1,1,1,1,1,10,10,
// asymmetric mode, voice and surveillance VLANs off, no trunks. What reached the switch is read from
// kms-sim's write journal; the expected lines and texts are written out here.

#include <QSignalSpy>

#include "dialogs/switch/port_vid_dlg.h"
#include "dialogs/switch/vlan_add_edit_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

const std::string kVlan = "1.3.6.1.4.1.32473.10.75.13.7.";

// The line of VLAN `vid`, its texts joined by '|'.
static QString RowOf(CVlanConfigDlg& dlg, int vid) {
    for (const QString& line : ListLines(dlg, "vlanList"))
        if (line.section('|', 0, 0).toInt() == vid) return line;
    return {};
}

static void Select(CVlanConfigDlg& dlg, int vid) {
    SelectLine(ListOf(dlg, "vlanList"), QString::number(vid));
}

static void SetPvids(CPortVidDlg& pvid, std::vector<const char*> values) {
    for (int p = 0; p < static_cast<int>(values.size()); ++p)
        SetText(pvid, qPrintable(QStringLiteral("pvidPort%1").arg(p + 1)), values[p]);
}

class VlanDialogsTest : public SimTest {
    Q_OBJECT

    bool Set(const std::string& oid, char type, const std::string& value) const {
        return m_sim->Set(kVlan + oid, type, value);
    }
    std::unique_ptr<CVlanConfigDlg> Open() {
        auto dlg = kmsgui::Open<CVlanConfigDlg>();
        m_sim->ClearJournal();
        return dlg;
    }

private slots:
    void theListShowsActiveVlans() {
        QVERIFY(Set("6.1.5.20", 'i', "5"));  // a row left in createAndWait is not in service
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(!Screenshot(*dlg, "vlan_config").isEmpty());
        QCOMPARE(ListLines(*dlg, "vlanList"),
                 (QStringList{"1|default|8|1,2,3,4,5,6,7,8|1,2,3,4,5,6", "10|video|4|5,6,7,8|7,8"}));
        QCOMPARE(dlg->Pvids(), (std::vector<int>{1, 1, 1, 1, 1, 1, 10, 10}));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());
        QVERIFY(Said().isEmpty());
        // The mode box follows the switch on Refresh.
        QVERIFY(Set("5.0", 'i', "1"));
        Press(*dlg, "refreshButton");
        QVERIFY(Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());

        Settings() = m_sim->SettingsV3("kmsshaaes");  // the same over SNMPv3 authPriv
        auto v3 = Open();
        QVERIFY(v3);
        QCOMPARE(RowOf(*v3, 1), QStringLiteral("1|default|8|1,2,3,4,5,6,7,8|1,2,3,4,5,6,7,8"));
    }

    void theRulesWaitForEveryWalkAndCloseAlwaysWorks() {
        // With a slow switch the VLAN walk ends long before the PVID walk: Delete must not come back
        // while a PVID is still unread, and Close must work throughout.
        QVERIFY(m_sim->SetDelay(60));
        CVlanConfigDlg dlg;
        QSignalSpy ends(&dlg, &CModuleDialog::WalkFinished);
        bool ruleOnUnreadPvid = false, closeEverDisabled = false;
        connect(&dlg, &CModuleDialog::WalkFinished, this, [&] {
            const std::vector<int>& pvids = dlg.Pvids();
            const bool unread = std::find(pvids.begin(), pvids.end(), 0) != pvids.end();
            ruleOnUnreadPvid =
                ruleOnUnreadPvid || (unread && Find<QPushButton>(dlg, "deleteButton")->isEnabled());
            closeEverDisabled = closeEverDisabled || !Find<QPushButton>(dlg, "closeButton")->isEnabled();
        });
        QVERIFY(OpenAndWait(dlg));
        QVERIFY(WaitIdle(dlg));
        QVERIFY(ends.count() >= 3);
        QVERIFY(!ruleOnUnreadPvid);
        QVERIFY(!closeEverDisabled);
        QVERIFY(Find<QPushButton>(dlg, "deleteButton")->isEnabled());
    }

    void addWritesTheRowInOrder() {
        QVERIFY(Set("6.1.4.1", 'x', "F0000000"));  // ports 5 and 6 untagged nowhere now
        auto dlg = Open();
        QVERIFY(dlg);
        QStringList boxes;
        QVERIFY(OnModal<CVlanAddEditDlg>(*dlg, "addButton", [&](CVlanAddEditDlg& add) {
            QTest::keyClicks(Find<QLineEdit>(add, "vlanName"), "  lab-net 1 ");  // sent without the blanks
            QTest::keyClicks(Find<QLineEdit>(add, "vlanId"), "4094");
            for (const char* box :
                 {"tagPort3", "tagPort4", "untagPort5", "untagPort6", "tagPort3", "untagPort1"})
                Click(Find<QCheckBox>(add, box));
            // Port 3 stays tagged; port 1 is untagged in VLAN 1, so its click is undone.
            for (const char* box : {"tagPort3", "untagPort1", "notMemberPort1"})
                boxes << QString::number(Find<QCheckBox>(add, box)->isChecked());
            Click(Find<QPushButton>(add, "okButton"));
        }));
        QCOMPARE(boxes, (QStringList{"1", "0", "1"}));
        QCOMPARE(Said(), QStringList());
        QCOMPARE(Journal(),
                 (Lines{".7.6.1.5.4094=5", ".7.6.1.2.4094=0xFF000000", ".7.6.1.4.4094=0x0C000000",
                        ".7.6.1.2.4094=0x3C000000", ".7.6.1.1.4094=\"lab-net 1\"", ".7.6.1.5.4094=1"}));
        QCOMPARE(RowOf(*dlg, 4094), QStringLiteral("4094|lab-net 1|4|3,4,5,6|5,6"));
    }

    void editKeepsVlan1InServiceAndTakesOthersOut() {
        auto dlg = Open();
        QVERIFY(dlg);
        Select(*dlg, 1);
        QVERIFY(OnModal<CVlanAddEditDlg>(*dlg, "editButton", [&](CVlanAddEditDlg& edit) {
            QCOMPARE(edit.windowTitle(), QStringLiteral("Edit VLAN"));
            QVERIFY(!Find<QLineEdit>(edit, "vlanId")->isEnabled());
            QCOMPARE(Find<QLineEdit>(edit, "vlanName")->text(), QStringLiteral("default"));
            Screenshot(edit, "vlan_edit");
            Find<QLineEdit>(edit, "vlanName")->setText("core");
            Click(Find<QCheckBox>(edit, "tagPort6"));
            Click(Find<QPushButton>(edit, "okButton"));
        }));
        // No row status before the lists and no "all ports" list for the default VLAN.
        QCOMPARE(Journal(), (Lines{".7.6.1.4.1=0xF8000000", ".7.6.1.2.1=0xFF000000", ".7.6.1.1.1=\"core\"",
                                   ".7.6.1.5.1=1"}));
        QCOMPARE(RowOf(*dlg, 1), QStringLiteral("1|core|8|1,2,3,4,5,6,7,8|1,2,3,4,5"));

        m_sim->ClearJournal();
        Select(*dlg, 10);
        auto ran = WhenModal<CVlanAddEditDlg>([&](CVlanAddEditDlg& edit) {
            WaitIdle(edit);
            Click(Find<QCheckBox>(edit, "notMemberPort5"));
            Click(Find<QPushButton>(edit, "okButton"));
        });
        // A double-click on the row edits it (the press first, as a real double-click has one).
        auto* list = Find<QTreeWidget>(*dlg, "vlanList");
        const QPoint at = list->visualItemRect(list->currentItem()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(*ran);
        QCOMPARE(Journal(), (Lines{".7.6.1.5.10=2", ".7.6.1.2.10=0xFF000000", ".7.6.1.4.10=0x03000000",
                                   ".7.6.1.2.10=0x07000000", ".7.6.1.1.10=\"video\"", ".7.6.1.5.10=1"}));
        for (int ports : {28, 52}) {
            CVlanAddEditDlg wide(nullptr, ports, 2, dlg->Records(), 1);
            QVERIFY(OpenAndWait(wide));
            QVERIFY(Find<QCheckBox>(wide, qPrintable(QStringLiteral("notMemberPort%1").arg(ports))));
            QVERIFY(!Screenshot(wide, QStringLiteral("vlan_edit_%1").arg(ports)).isEmpty());
        }
        // VLAN 10 is the PVID of ports 7 and 8; without asymmetric mode it may go all the same.
        m_sim->ClearJournal();
        Select(*dlg, 10);
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), Lines{".7.6.1.5.10=6"});
        QCOMPARE(ListLines(*dlg, "vlanList").size(), 1);
    }

    void aRefusedListWriteSkipsTheOtherLists() {
        // Module settings of a 28-port switch against the 8-port kms-sim: the "all ports" list names
        // ports the switch does not have and is refused; untagged and egress lists are not sent, the
        // name and the row state are.
        UseSim(*m_sim, 28);
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(OnModal<CVlanAddEditDlg>(*dlg, "addButton", [&](CVlanAddEditDlg& add) {
            QTest::keyClicks(Find<QLineEdit>(add, "vlanId"), "30");
            Click(Find<QCheckBox>(add, "tagPort2"));
            Click(Find<QPushButton>(add, "okButton"));
        }));
        QCOMPARE(Journal(), (Lines{".7.6.1.5.30=5", ".7.6.1.2.30=0xFFFFFFF0 => error 10 (binding 1)",
                                   ".7.6.1.1.30=\"\"", ".7.6.1.5.30=1"}));
    }

    void refusalsSendNothingTheModeChangeAsksFirstAndKeepsPvidVlans() {
        auto dlg = Open();
        QVERIFY(dlg);
        QString typed;
        QVERIFY(OnModal<CVlanAddEditDlg>(*dlg, "addButton", [&](CVlanAddEditDlg& add) {
            auto* vid = Find<QLineEdit>(add, "vlanId");
            auto* name = Find<QLineEdit>(add, "vlanName");
            // A name of blanks is no name; the rule's table has the other refusals.
            vid->setText("20");
            name->setText("   ");
            Click(Find<QPushButton>(add, "okButton"));
            Type(add, "vlanName", "abcdefghijklmnopqrstuvwxyz");  // cut to 20 as typed
            typed = name->text();
        }));
        Find<QTreeWidget>(*dlg, "vlanList")->clearSelection();
        Click(Find<QPushButton>(*dlg, "editButton"));
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        Select(*dlg, 1);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(Said(), (QStringList{"Invalid Vlan Name.", "Please select the VLAN !",
                                      "Please select the VLAN want to be deleted!",
                                      "Can't delete the default VLAN!"}));
        QCOMPARE(m_prompt->icons.mid(1),
                 (QList<PromptIcon>{PromptIcon::Information, PromptIcon::Information, PromptIcon::None}));
        QCOMPARE(typed, QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(Journal(), Lines{});

        // The mode change asks first.
        Forget();
        Click(Find<QCheckBox>(*dlg, "enableAsymmetricVlan"));
        m_prompt->answers = {false, true};
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(Journal(), Lines{});
        Press(*dlg, "applyButton");
        const QString question =
            "The setting of VLAN, IGMP Snooping, Management VLAN and MAC Address Table will be \n reset to "
            "default.";
        QCOMPARE(Said(), (QStringList{question, question}));
        QCOMPARE(Journal(), Lines{".7.5.0=1"});
        // The switch reset its VLANs; the list was read again.
        QCOMPARE(RowOf(*dlg, 1), QStringLiteral("1|default|8|1,2,3,4,5,6,7,8|1,2,3,4,5,6,7,8"));
        QCOMPARE(ListLines(*dlg, "vlanList").size(), 1);
        // Turning it off is refused: the user is told, and the box shows the switch's mode again.
        QVERIFY(m_sim->RefuseWritesUnder(kVlan + "5.0"));
        Click(Find<QCheckBox>(*dlg, "enableAsymmetricVlan"));
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (Lines{".7.5.0=1", ".7.5.0=2 => error 5 (binding 1)"}));
        QCOMPARE(Said().mid(2),
                 (QStringList{question, "The switch did not accept the asymmetric VLAN mode."}));
        QVERIFY(Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());

        // In asymmetric mode a PVID's VLAN stays: VLAN 20 as the PVID of port 7.
        QVERIFY(Set("6.1.5.20", 'i', "5") && Set("6.1.2.20", 'x', "0F000000") && Set("6.1.5.20", 'i', "1") &&
                Set("7.1.1.7", 'u', "20"));
        Press(*dlg, "refreshButton");
        Forget();
        Select(*dlg, 20);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(Said(), QStringList{"The VID is one of The PVID, so it cannot be deleted."});
        QCOMPARE(Journal(), Lines{});
    }

    void voiceAndSurveillanceVlansBlockTheModeAndTheirDeletion() {
        // The voice VLAN is read-only over SNMP: a switch whose data has it on VLAN 10. Surveillance goes
        // on a new VLAN 20. The mode's refusal names the voice VLAN first; the rule's table has the rest.
        std::string error;
        auto sim = StartSimWith(
            {{"1.3.6.1.4.1.32473.10.75.13.21.1.2.0", "2|1"}, {"1.3.6.1.4.1.32473.10.75.13.21.1.3.0", "2|10"}},
            &error);
        QVERIFY2(sim, error.c_str());
        const std::string surveillance = "1.3.6.1.4.1.32473.10.75.13.26.1.";
        QVERIFY(sim->Set(kVlan + "6.1.5.20", 'i', "5") && sim->Set(kVlan + "6.1.2.20", 'x', "0F000000") &&
                sim->Set(kVlan + "6.1.5.20", 'i', "1") && sim->Set(surveillance + "2.0", 'i', "20") &&
                sim->Set(surveillance + "1.0", 'i', "1"));
        UseSim(*sim);
        CVlanConfigDlg dlg;
        QVERIFY(OpenAndWait(dlg));
        sim->ClearJournal();
        Click(Find<QCheckBox>(dlg, "enableAsymmetricVlan"));
        Press(dlg, "applyButton");
        QVERIFY(!Find<QCheckBox>(dlg, "enableAsymmetricVlan")->isChecked());  // the switch's state again
        for (int vid : {10, 20}) {
            Select(dlg, vid);
            Click(Find<QPushButton>(dlg, "deleteButton"));
        }
        QCOMPARE(Said(),
                 (QStringList{"Voice Vlan is enable,the vlan mode can't change to Asymmetric mode!\nIf "
                              "you could disable it, please set it through the web!",
                              "The Vlan ID is Voice vlan ID.", "The Vlan ID is Surveillance VLAN  ID."}));
        QCOMPARE(sim->Journal(), Lines{});
    }

    void pvidApplyChecksWritesPortByPortAndStopsAtARefusal() {
        QVERIFY(
            Reader().Set("1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2.1", 'x', "C0000000"));  // trunk 1: ports 1, 2
        auto dlg = Open();
        QVERIFY(dlg);
        QStringList loaded;
        int result = -1;
        QVERIFY(OnModal<CPortVidDlg>(*dlg, "pvidButton", [&](CPortVidDlg& pvid) {
            QVERIFY(!Screenshot(pvid, "port_vid").isEmpty());
            for (int p = 1; p <= 8; ++p)
                loaded << Find<QLineEdit>(pvid, qPrintable(QStringLiteral("pvidPort%1").arg(p)))->text();
            // The trunks read and the VLANs listed each refuse once (the rule's table has the others),
            // then the PVIDs go.
            for (auto values : {std::vector<const char*>{"10", "10", "1", "1", "1", "1", "10", "10"},
                                {"1", "1", "x", "1", "1", "1", "10", "10"},
                                {"1", "1", "1", "1", "10", "10", "10", "1"}}) {
                SetPvids(pvid, values);
                Click(Find<QPushButton>(pvid, "applyButton"));
            }
            result = pvid.result();
        }));
        QCOMPARE(loaded, (QStringList{"1", "1", "1", "1", "1", "1", "10", "10"}));
        QCOMPARE(Said(), (QStringList{"Setting PVID on a Trunk is not supported. Please use Web interface "
                                      "for the settings.",
                                      "Invalid PVID"}));
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(Journal(), (Lines{".7.7.1.1.1=u1", ".7.7.1.1.2=u1", ".7.7.1.1.3=u1", ".7.7.1.1.4=u1",
                                   ".7.7.1.1.5=u10", ".7.7.1.1.6=u10", ".7.7.1.1.7=u10", ".7.7.1.1.8=u1"}));
        QCOMPARE(dlg->Pvids(), (std::vector<int>{1, 1, 1, 1, 10, 10, 10, 1}));

        // VLAN 10 loses its members behind the dialog's back: port 5's write is refused, 6-8 are not sent
        // and the dialog stays open.
        m_sim->ClearJournal();
        bool open = false;
        QVERIFY(OnModal<CPortVidDlg>(*dlg, "pvidButton", [&](CPortVidDlg& pvid) {
            QVERIFY(Set("6.1.2.10", 'x', "00000000"));
            m_sim->ClearJournal();
            SetPvids(pvid, {"1", "1", "1", "1", "10", "10", "1", "1"});
            Click(Find<QPushButton>(pvid, "applyButton"));
            open = pvid.isVisible();
        }));
        QVERIFY(open);
        QCOMPARE(Journal(), (Lines{".7.7.1.1.1=u1", ".7.7.1.1.2=u1", ".7.7.1.1.3=u1", ".7.7.1.1.4=u1",
                                   ".7.7.1.1.5=u10 => error 12 (binding 1)"}));
    }

    void readOnlyUsersCannotChangeVlans() {
        Settings().WriteAccess = false;
        auto dlg = Open();
        QVERIFY(dlg);
        QCOMPARE(Enabled(*dlg, {"addButton", "editButton", "deleteButton", "pvidButton", "applyButton",
                                "refreshButton", "closeButton"}),
                 QStringLiteral("0000111"));
    }

    void theVlanLimitStopsAdd() {
        // 254 more VLANs (100..353) make 256, in a few requests of many bindings each.
        std::vector<std::array<std::string, 3>> vlans;
        for (int v = 100; v < 354; ++v) vlans.push_back({kVlan + "6.1.5." + std::to_string(v), "i", "4"});
        QVERIFY(SetMany(*m_sim, vlans, 40));
        auto dlg = Open();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg, "vlanList").size(), 256);
        auto ran = WhenModal<CVlanAddEditDlg>([](CVlanAddEditDlg& add) { add.reject(); }, 500);
        Click(Find<QPushButton>(*dlg, "addButton"));  // an opened add dialog would hold the click until ran
        QVERIFY(!*ran);
        QCOMPARE(Said(), QStringList{" Number of VLAN group is over limit"});
    }

    void aSilentSwitchLeavesAnEmptyList() {
        // How fast a close returns and that late answers change nothing: the bad-device and dialog-base
        // tests hold those for every dialog; the sessions its closing names, the first-read test.
        Settings().SnmpTimeoutText = "300";
        QVERIFY(m_sim->SetSilent(-1));
        CVlanConfigDlg dlg;
        QVERIFY(OpenAndWait(dlg));
        QCOMPARE(Find<QTreeWidget>(dlg, "vlanList")->topLevelItemCount(), 0);
        QVERIFY(Find<QPushButton>(dlg, "refreshButton")->isEnabled());
        QVERIFY(Said().isEmpty());
        Click(Find<QPushButton>(dlg, "closeButton"));
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(VlanDialogsTest)
#include "vlan_dialogs_test.moc"
