// The LLDP and 802.1X dialogs against kms-sim. The switch starts with LLDP on (hold 4, interval 30,
// reinit 2, delay 2), the MED TLV off on ports 1-4, four neighbours (port 1: MAC 00-11-22-33-44-55;
// port 2: a local chassis ID "ap-lobby-07"; port 3: MAC 02-11-22-33-44-55 and a network address), 802.1X
// off with RADIUS server 192.168.0.200 and key "radiuskey", every port forceAuthorized, no trunks.

#include "dialogs/switch/dot1x_config_dlg.h"
#include "dialogs/switch/dot1x_port_dlg.h"
#include "dialogs/switch/lldp_global_dlg.h"
#include "dialogs/switch/lldp_med_dlg.h"
#include "dialogs/switch/lldp_remote_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";

class LldpDot1xTest : public SimTest {
    Q_OBJECT

    // Chooses the access control at this index for the ports from..to of the port dialog.
    void SetPorts(CDot1xPortDlg& dlg, int from, int to, int control) {
        Choose(dlg, "fromPort", from - 1);
        Choose(dlg, "toPort", to - 1);
        Choose(dlg, "control", control);
    }

private slots:
    void globalDialogChecksWritesAndTriesTheStateThreeTimesASecondApart() {
        Settings().SnmpTimeoutText = "200";
        QVERIFY(m_sim->Set("1.3.6.1.4.1.32473.99.7.2.1.0", 'i', "7"));  // the local chassis ID subtype
        const QString description =
            "KMS-7300-08E 8-Port Gigabit PoE Managed Switch, firmware 2.4.1 (build 1187), boot loader 1.0.3";
        QVERIFY(m_sim->ForceValue("1.0.8802.1.1.2.1.3.4.0", "4|" + description.toStdString()));
        auto dlg = Open<CLldpGlobalDlg>();
        QVERIFY(dlg);
        QCOMPARE(Texts(*dlg, {"holdMultiplier", "txInterval", "reinitDelay", "txDelay", "chassisIdSubtype",
                              "chassisId", "systemName"}),
                 (QStringList{"4", "30", "2", "2", "local", "02-4B-4D-73-00-00", "KMS-7300-08E"}));
        QVERIFY(Find<QCheckBox>(*dlg, "lldpEnable")->isChecked());
        auto* desc = Find<QLabel>(*dlg, "systemDescription");  // whole, from its start
        QVERIFY(desc && desc->text() == description &&
                desc->visibleRegion().boundingRect().height() >= desc->heightForWidth(desc->width()));

        // The checks are the rule's own; one refusal shows the dialog hands it the fields.
        Type(*dlg, "txDelay", "8");
        Type(*dlg, "holdMultiplier", "5");
        Refused(*dlg, "timerApplyButton", "LLDP TX Delay should be <= 0.25 * (Message TX Interval)");
        Type(*dlg, "txDelay", "7");
        Press(*dlg, "timerApplyButton");
        QCOMPARE(Said().size(), 1);
        QCOMPARE(Journal(), (Lines{".24.2.0=5; .24.3.0=30; .24.4.0=2; .24.5.0=7"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "holdMultiplier")->text(), QStringLiteral("5"));

        // A switch that never answers: three attempts, nothing written, and the user is told.
        Forget();
        QVERIFY(m_sim->ClearCounters());
        QVERIFY(m_sim->SetSilent(-1));
        Find<QCheckBox>(*dlg, "lldpEnable")->setChecked(false);
        Press(*dlg, "stateApplyButton");
        QVERIFY(m_sim->Resume());
        QCOMPARE(m_sim->RequestCount(kmstest::RequestKind::Set), 3L);
        QCOMPARE(Said(), QStringList{"The switch did not accept the LLDP state."});
        QCOMPARE(Journal(), Lines{});
        QVERIFY(Find<QPushButton>(*dlg, "stateApplyButton")->isEnabled());

        // It comes back during the pause after the first attempt: the second one goes through.
        QVERIFY(m_sim->ClearCounters());
        QVERIFY(m_sim->SetSilent(-1));
        QTimer::singleShot(500, [this] { m_sim->Resume(); });
        Find<QCheckBox>(*dlg, "lldpEnable")->setChecked(false);
        Press(*dlg, "stateApplyButton");
        QCOMPARE(m_sim->RequestCount(kmstest::RequestKind::Set), 2L);
        QCOMPARE(Journal(), (Lines{".24.1.0=2"}));
        QVERIFY(!Find<QCheckBox>(*dlg, "lldpEnable")->isChecked());
        QCOMPARE(Enabled(*dlg, {"txDelay", "timerApplyButton"}), QStringLiteral("00"));
    }

    void medAppliesTheRangePortByPort() {
        auto dlg = Open<CLldpMedDlg>();
        QVERIFY(dlg);
        QCOMPARE(Find<QComboBox>(*dlg, "toPort")->currentText(), QStringLiteral("   1"));
        Choose(*dlg, "fromPort", 1);
        Choose(*dlg, "toPort", 3);
        Choose(*dlg, "powerPseTlv", 0);
        QVERIFY(m_sim->RefuseWritesUnder(kV + ".24.7.1.2.3"));  // port 3 refuses: 2 and 4 are written
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (Lines{".24.7.1.2.2=1", ".24.7.1.2.3=1 => error 5 (binding 1)", ".24.7.1.2.4=1"}));
        QCOMPARE(ListLines(*dlg),
                 (QStringList{"   1|Disable", "   2|Enable", "   3|Disable", "   4|Enable"}));
        QCOMPARE(Said(), QStringList{"The switch did not accept the Power PSE TLV of port 3."});
    }

    void remoteListsNeighboursWithTheirCount() {
        auto dlg = Open<CLldpRemoteDlg>();
        QVERIFY(dlg);
        QCOMPARE(Row(dlg->List(), 1).mid(0, 4),
                 (QStringList{"2", "2", "local", "61-70-2D-6C-6F-62-62-79-2D-30-37"}));
        QCOMPARE(Row(dlg->List(), 2),
                 (QStringList{"3", "3", "macAddress", "02-11-22-33-44-55", "macAddress", "02-11-22-33-44-56",
                              "Port 1", "ipphone-214", "IP phone"}));
        QCOMPARE(Row(dlg->List(), 3).mid(0, 4), (QStringList{"3", "4", "networkAddress", "01-C0-A8-00-0A"}));
        QCOMPARE(Find<QLabel>(*dlg, "counter")->text(), QStringLiteral("4"));
        QVERIFY(CellFits(dlg->List(), 2, 5));  // a MAC address as port ID

        // A neighbour learned later, and one gone, show on Refresh.
        QVERIFY(m_sim->SetLldpNeighbour(5, 9, {6, "7377", 2, "3031", "", "printer", ""}));
        QVERIFY(m_sim->RemoveLldpNeighbour(1, 1));
        Press(*dlg, "refreshButton");
        QCOMPARE(dlg->LineCount(), 4);
        QCOMPARE(Row(dlg->List(), 3),
                 (QStringList{"5", "4", "interfaceName", "73-77", "portComponent", "01", "", "printer", ""}));
        QCOMPARE(Said(), QStringList());

        // Over SNMPv3 the list is read at once as well.
        Settings() = m_sim->SettingsV3("kmsshaaes");
        auto v3 = Open<CLldpRemoteDlg>();
        QVERIFY(v3);
        QCOMPARE(Row(v3->List(), 3).mid(0, 2), (QStringList{"5", "4"}));
        QCOMPARE(Find<QLabel>(*v3, "counter")->text(), QStringLiteral("4"));
    }

    void lldpOffLeavesMedAndRemoteDisabled() {
        QVERIFY(m_sim->Set(kV + ".24.1.0", 'i', "2"));
        auto med = Open<CLldpMedDlg>();
        QVERIFY(med);
        QCOMPARE(Enabled(*med, {"fromPort", "toPort", "powerPseTlv", "applyButton", "refreshButton", "list",
                                "closeButton"}),
                 QStringLiteral("0000001"));
        auto remote = Open<CLldpRemoteDlg>();
        QVERIFY(remote);
        QCOMPARE(Said(), (QStringList{"The LLDP is disable ,so can not set LLDP MED !",
                                      "There is no LLDP Remote Port"}));
        QCOMPARE(Find<QLabel>(*remote, "counter")->text(), QStringLiteral("0"));
        QVERIFY(!remote->List()->isEnabled());
        QVERIFY(!remote->StandardButton(CListFormDialog::kRefresh)->isEnabled());
    }

    void dot1xGlobalFollowsTheSwitchChecksThenWritesInOrder() {
        auto dlg = Open<CDot1xConfigDlg>();
        QVERIFY(dlg);
        auto* enable = Find<QCheckBox>(*dlg, "enable8021x");
        QVERIFY(!enable->isChecked());
        QCOMPARE(Enabled(*dlg, {"key", "portSetButton"}), QStringLiteral("00"));
        QCOMPARE(Texts(*dlg, {"radiusServer", "confirmKey"}), (QStringList{"192.168.0.200", "radiuskey"}));
        QCOMPARE(dlg->TimerTexts(), (QStringList{"60", "30", "30", "30", "2", "3600", "Disabled"}));
        enable->setChecked(true);
        QVERIFY(Find<QLineEdit>(*dlg, "reAuthPeriod")->isEnabled());

        // Typed keys stop at 33 characters, the caret staying where the typing was.
        auto* key = Find<QLineEdit>(*dlg, "key");
        Type(*dlg, "key", QString(40, QLatin1Char('k')));
        QCOMPARE(key->text(), QString(33, QLatin1Char('k')));
        key->setCursorPosition(5);
        QTest::keyClicks(key, "X");
        QCOMPARE(key->text(), QString(5, QLatin1Char('k')) + "X" + QString(27, QLatin1Char('k')));
        QCOMPARE(key->cursorPosition(), 6);

        // Every check (the rule's own, in its order) comes before anything goes out.
        Type(*dlg, "confirmKey", "other");
        Refused(*dlg, "applyButton", "Please confirm the key again !");

        Type(*dlg, "radiusServer", "10.0.0.5");
        Type(*dlg, "key", "newkey");
        Type(*dlg, "confirmKey", "newkey");
        Type(*dlg, "quietPeriod", "0");
        Type(*dlg, "reAuthPeriod", "4294967295");
        Choose(*dlg, "reAuthEnabled", 0);
        m_prompt->Clear();
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList());
        QCOMPARE(
            Journal(),
            (Lines{
                ".11.1.1.0=a10.0.0.5; .11.1.2.0=\"newkey\"", ".11.2.1.0=1",
                ".11.2.2.0=0; .11.2.3.0=30; .11.2.4.0=30; .11.2.5.0=30; .11.2.6.0=2; .11.2.7.0=u4294967295; "
                ".11.2.8.0=1"}));
        QVERIFY(Find<QPushButton>(*dlg, "portSetButton")->isEnabled());

        // PortSet lists every port with the global texts as they stand.
        QStringList firstLine;
        QVERIFY(OnModal<CDot1xPortDlg>(*dlg, "portSetButton",
                                       [&](CDot1xPortDlg& ports) { firstLine = Row(ports.List(), 0); }));
        QCOMPARE(firstLine, (QStringList{"1", "authorized", "forceAuthorized", "0", "30", "30", "30", "2",
                                         "4294967295", "Enable"}));

        // Cleared, Apply switches 802.1X off and nothing else.
        m_sim->ClearJournal();
        Find<QCheckBox>(*dlg, "enable8021x")->setChecked(false);
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (Lines{".11.2.1.0=2"}));
        QVERIFY(!Find<QPushButton>(*dlg, "portSetButton")->isEnabled());
    }

    void portApplyKeepsOnePortForceAuthorized() {
        const std::string control = kV + ".11.2.9.1.2.";
        for (int p = 1; p <= 7; ++p) QVERIFY(m_sim->Set(control + std::to_string(p), 'i', "2"));
        const QStringList timers{"60", "30", "30", "30", "2", "3600", "Disabled"};
        auto dlg = Open<CDot1xPortDlg>(timers);
        QVERIFY(dlg);
        QCOMPARE(Row(dlg->List(), 6), (QStringList{"7", "authorized", "auto"} + timers));
        QCOMPARE(dlg->PortContrl(), (std::vector<int>{2, 2, 2, 2, 2, 2, 2, 3}));
        QVERIFY(!Screenshot(*dlg, QStringLiteral("dot1x_port")).isEmpty());
        // The rule is tested on its own; port 8 alone to auto shows the dialog hands it the controls read.
        SetPorts(*dlg, 8, 8, 1);
        Refused(*dlg, "applyButton", "Could not set all port AUTO  to the port access control.");

        QVERIFY(m_sim->RefuseWritesUnder(control + "5"));  // the second request is refused whole
        SetPorts(*dlg, 1, 7, 2);
        Press(*dlg, "applyButton");
        QCOMPARE(Said().value(1),
                 QStringLiteral("The switch did not accept the port control of ports 2, 3, 4, 5, 6, 7."));
        QCOMPARE(Journal(),
                 (Lines{".11.2.9.1.2.1=3",
                        ".11.2.9.1.2.2=3; .11.2.9.1.2.3=3; .11.2.9.1.2.4=3; "
                        ".11.2.9.1.2.5=3; .11.2.9.1.2.6=3; .11.2.9.1.2.7=3 => error 5 (binding 4)"}));
        QCOMPARE(dlg->PortContrl(), (std::vector<int>{3, 2, 2, 2, 2, 2, 2, 3}));
    }

    void portApplyRefusesWhatItCouldNotCheckThenTrunkMembers() {
        // Ports 3 and 4 form trunk 2. The trunk walk times out (the port table read after it is answered),
        // or both reads do: Apply sends nothing either way.
        QVERIFY(m_sim->Set(kV + ".8.1.3.1.2.2", 'x', "30000000"));
        Settings().SnmpTimeoutText = "1500";
        auto dlg = Open<CDot1xPortDlg>(QStringList{});
        QVERIFY(dlg);
        for (const bool portsAnswered : {true, false}) {
            QVERIFY(m_sim->ClearCounters() && m_sim->SetSilent(-1));
            Click(dlg->StandardButton(CListFormDialog::kRefresh));
            // The trunk walk's get-next and its repetition went unanswered; the port walk has begun.
            QVERIFY(QTest::qWaitFor([&] { return m_sim->RequestCount(kmstest::RequestKind::GetNext) >= 3; }));
            QVERIFY(!portsAnswered || m_sim->Resume());
            QVERIFY(WaitIdle(*dlg) && m_sim->Resume());
            QCOMPARE(dlg->LineCount(), portsAnswered ? 8 : 0);
            SetPorts(*dlg, 3, 4, 1);
            Refused(*dlg, "applyButton",
                    "The switch's current settings could not be read, so nothing was changed. Press Refresh "
                    "and try again.");
        }
        // Read in full, every port to auto would break the forceAuthorized rule as well: the trunk is
        // named first.
        Press(*dlg, "refreshButton");
        QCOMPARE(dlg->TrunkData(), (std::vector<int>{0, 0, 2, 2, 0, 0, 0, 0}));
        SetPorts(*dlg, 1, 8, 1);
        Refused(*dlg, "applyButton", "Cannot add an aggregated link to the 802.1X-enabled port");
    }
};

QTEST_MAIN(LldpDot1xTest)
#include "lldp_dot1x_test.moc"
