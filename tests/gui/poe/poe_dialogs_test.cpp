// The PoE port dialog and the two time-range dialogs against kms-sim. The switch starts with PoE on
// every port but 8, port 1 at priority High, port 3 with a user limit of 12.0 W, port 6 using time range
// 1 "office-hours" (Mon-Fri 08:00-18:00, no dates) and range 2 "weekend" (Sat, Sun, 00:00-23:59,
// 2026/01/01 to 2026/12/31).

#include <QProgressDialog>

#include "dialogs/switch/poe_config_dlg.h"
#include "dialogs/switch/time_range_dlg.h"
#include "dialogs/switch/time_range_edit_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";

// The settings of one port as the PoE Apply writes them with the form's defaults.
static std::string DefaultPortWrite(int port) {
    const std::string p = ".1." + std::to_string(port);
    return ".22.1.1.3" + p + "=1; .22.1.1.4" + p + "=0; .22.1.1.5" + p + "=2; .22.1.1.7" + p +
           "=2; .22.1.1.6" + p + "=1";
}

class PoeDialogsTest : public SimTest {
    Q_OBJECT

    bool MakeRange(int index, const std::string& name) {
        const std::string i = "." + std::to_string(index);
        return m_sim->Set(kV + ".23.1.1.21" + i, 'i', "5") && m_sim->Set(kV + ".23.1.1.2" + i, 's', name) &&
               m_sim->Set(kV + ".23.1.1.21" + i, 'i', "1");
    }
    void SetPorts(CPoeConfigDlg& dlg, int from, int to) {
        Choose(dlg, "fromPort", QString::number(from));
        Choose(dlg, "toPort", QString::number(to));
    }

private slots:
    void poeListShowsEveryPortAndAppliesPortByPort() {
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        QCOMPARE(dlg->LineCount(), 8);
        QCOMPARE(Row(dlg->List(), 0),
                 QStringList({"1", "Enable", "N/A", "High", "Auto", "6", "53", "113", "2", "  POWER ON"}));
        // Port 3's user limit wins over its class.
        QCOMPARE(Row(dlg->List(), 2).mid(0, 5), QStringList({"3", "Enable", "N/A", "Normal", "12.0"}));
        QCOMPARE(Row(dlg->List(), 5).mid(1, 2), QStringList({"Enable", "office-hours"}));
        QCOMPARE(Row(dlg->List(), 7).mid(1, 2), QStringList({"Disable", "N/A"}));
        auto* ranges = Find<QComboBox>(*dlg, "timeRange");
        QCOMPARE(ranges->count(), 3);
        QCOMPARE(ranges->itemText(2), QStringLiteral("weekend"));
        // A line sets the port range to its port and the state to its own.
        dlg->List()->setCurrentItem(dlg->List()->topLevelItem(7));
        QCOMPARE(Texts(*dlg, {"fromPort", "toPort", "state"}), (QStringList{"8", "8", "Disable"}));

        // Apply writes each port of the range in order, after checking every port.
        SetPorts(*dlg, 3, 5);
        Choose(*dlg, "timeRange", "weekend");
        Choose(*dlg, "state", "Disable");
        Choose(*dlg, "priority", "High");
        Choose(*dlg, "powerLimit", "Class 2");
        Press(*dlg, "applyButton");
        QCOMPARE(
            Journal(),
            (Lines{".22.1.1.3.1.3=2; .22.1.1.4.1.3=2; .22.1.1.5.1.3=3; .22.1.1.7.1.3=2; .22.1.1.6.1.3=3",
                   ".22.1.1.3.1.4=2; .22.1.1.4.1.4=2; .22.1.1.5.1.4=3; .22.1.1.7.1.4=2; .22.1.1.6.1.4=3",
                   ".22.1.1.3.1.5=2; .22.1.1.4.1.5=2; .22.1.1.5.1.5=3; .22.1.1.7.1.5=2; .22.1.1.6.1.5=3"}));
        QVERIFY(Said().isEmpty());
        // Read again: port 3 lost its user limit, the ports around the range kept theirs.
        QCOMPARE(Row(dlg->List(), 2).mid(0, 5), QStringList({"3", "Disable", "weekend", "High", "Class 2"}));
        QCOMPARE(Row(dlg->List(), 4).mid(0, 5), QStringList({"5", "Disable", "weekend", "High", "Class 2"}));
        QCOMPARE(Row(dlg->List(), 5).mid(0, 3), QStringList({"6", "Enable", "office-hours"}));

        // A user limit is checked for every port before any write: ports 3 and 4 could take 15.6 W, 5 not.
        Choose(*dlg, "state", "Enable");
        Choose(*dlg, "timeRange", "N/A");
        Choose(*dlg, "priority", "Normal");
        Click(Find<QCheckBox>(*dlg, "userDefine"));
        QVERIFY(!Find<QComboBox>(*dlg, "powerLimit")->isEnabled());
        Find<QLineEdit>(*dlg, "userLimit")->setText("15.6");
        SetPorts(*dlg, 3, 5);
        Refused(*dlg, "applyButton", "Invalid PoE Port User Define value Setting!");
        SetPorts(*dlg, 2, 2);
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), Lines{".22.1.1.3.1.2=1; .22.1.1.4.1.2=0; .22.1.1.5.1.2=2; .22.1.1.7.1.2=1; "
                                  ".22.1.1.8.1.2=\"15.6\""});
        QCOMPARE(Row(dlg->List(), 1)[4], QStringLiteral("15.6"));
    }

    void poeFailingPortStopsTheLoopAndClosingEndsItSilently() {
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        QVERIFY(m_sim->RefuseWritesUnder(kV + ".22.1.1.3.1.4"));
        SetPorts(*dlg, 3, 6);
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList({"Unsuccessful!"}));
        QCOMPARE(Journal(), (Lines{DefaultPortWrite(3), DefaultPortWrite(4) + " => error 5 (binding 1)"}));
        QCOMPARE(dlg->LineCount(), 8);  // read again after the failure

        // The window closes in the pause after the first of ports 1-8: no further port, no message,
        // no fresh read.
        QVERIFY(m_sim->RefuseWritesUnder(""));
        SetPorts(*dlg, 1, 8);
        Forget();
        QTimer::singleShot(0, dlg.get(), &QDialog::reject);
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList());
        QCOMPARE(Journal(), Lines{DefaultPortWrite(1)});
        QCOMPARE(dlg->LineCount(), 8);  // not emptied for a read
    }

    void poeOn28PortsOffersThePoweredPortsAndShowsProgress() {
        kmstest::KmsSimFixture sim28({.model = "28E"});
        QVERIFY2(sim28.Start(), sim28.LastError().c_str());
        UseSim(sim28, 28);
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        QCOMPARE(dlg->LineCount(), 24);  // PoE on ports 1-24
        QCOMPARE(Row(dlg->List(), 5).value(9), QStringLiteral("  Time-based OFF"));
        QVERIFY(CellFits(dlg->List(), 5, 9));
        QCOMPARE(Find<QComboBox>(*dlg, "toPort")->count(), 24);  // offered and chosen: 1-24
        QCOMPARE(Find<QComboBox>(*dlg, "toPort")->currentText(), QStringLiteral("24"));
        SetPorts(*dlg, 17, 24);
        QString progressShown;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* progress = dlg->findChild<QProgressDialog*>(QStringLiteral("writeProgress"));
            if (progress && progress->isVisible()) progressShown = progress->labelText();
        });
        watch.start(50);
        sim28.ClearJournal();
        Press(*dlg, "applyButton");
        watch.stop();
        QVERIFY2(progressShown.contains(QStringLiteral("port 2")), qPrintable(progressShown));
        QCOMPARE(Said(), QStringList());
        Lines expected;
        for (int p = 17; p <= 24; ++p) expected.push_back(DefaultPortWrite(p));
        QCOMPARE(sim28.Journal(), expected);
    }

    void rangeListShowsActiveRangesAndDeleteDestroysTheSelectedOne() {
        QVERIFY(m_sim->Set(kV + ".23.1.1.21.3", 'i', "5"));  // half made: not listed
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(dlg->List()), (QStringList{"office-hours|Mon,Tue,Wed,Thu,Fri|||08:00|18:00",
                                                      "weekend|Sat,Sun|2026/01/01|2026/12/31|00:00|23:59"}));
        QCOMPARE(dlg->Records().size(), size_t(3));
        Refused(*dlg, "deleteButton", "Please select the Time Range to be deleted!");
        QCOMPARE(m_prompt->icons, QList<PromptIcon>({PromptIcon::Information}));
        SelectLine(dlg->List(), "weekend");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), (Lines{".23.1.1.21.2=6"}));
        QCOMPARE(ListLines(dlg->List()), QStringList{"office-hours|Mon,Tue,Wed,Thu,Fri|||08:00|18:00"});
    }

    void longCellsFitTheirColumnsOrShowWholeWhenHovered() {
        const QString longer =
            "office-hours-of-the-lab-on-floor-two";  // written by other means than the dialog
        QVERIFY(MakeRange(3, "Weekend 0900 to 1700") && MakeRange(4, "long") &&
                m_sim->ForceValue(kV + ".23.1.1.2.4", "4|" + longer.toStdString()));
        auto ranges = Open<CTimeRangeDlg>();
        QVERIFY(ranges);
        QVERIFY(CellFits(ranges->List(), 2, 0));  // 20 characters, the most the dialog takes
        QCOMPARE(CellTip(ranges->List(), 3, 0), longer);
    }

    void rangeAddTakesTheFirstFreeIndex() {
        QVERIFY(MakeRange(4, "late"));
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        QVERIFY(OnModal<CTimeRangeEditDlg>(*dlg, "addButton", [&](CTimeRangeEditDlg& add) {
            QTest::keyClicks(Find<QLineEdit>(add, "rangeName"), " night  ");  // sent without the blanks
            Click(Find<QCheckBox>(add, "day1"));
            Click(Find<QCheckBox>(add, "day5"));
            Choose(add, "startHour", "8");
            Choose(add, "endHour", "17");
            Choose(add, "endMinute", "30");
            Click(Find<QPushButton>(add, "applyButton"));
        }));
        QCOMPARE(
            Journal(),
            (Lines{".23.1.1.21.3=5",
                   ".23.1.1.2.3=\"night\"; .23.1.1.3.3=2; .23.1.1.7.3=8; .23.1.1.8.3=0; .23.1.1.12.3=17; "
                   ".23.1.1.13.3=30; .23.1.1.14.3=1; .23.1.1.15.3=2; .23.1.1.16.3=2; .23.1.1.17.3=2; "
                   ".23.1.1.18.3=1; .23.1.1.19.3=2; .23.1.1.20.3=2; .23.1.1.21.3=1"}));
        QVERIFY(ListLines(dlg->List()).contains("night|Mon,Fri|||08:00|17:30"));
        QVERIFY(Said().isEmpty());
    }

    void rangeEditRefusesBadInputAndSendsNothing() {
        CTimeRangeEditDlg dlg(nullptr, true, 0, {{1, "office-hours", 1}, {2, "weekend", 1}});
        dlg.show();
        auto* name = Find<QLineEdit>(dlg, "rangeName");
        QTest::keyClicks(name, "abcdefghijklmnopqrstuvwxy");
        QCOMPARE(name->text(), QStringLiteral("abcdefghijklmnopqrst"));
        QVERIFY(!Find<QComboBox>(dlg, "fromYear")->isEnabled());
        Find<QCheckBox>(dlg, "selectAllDays")->click();  // the box spans the group: its centre is no hit
        for (int d = 1; d <= 7; ++d)
            QVERIFY(Find<QCheckBox>(dlg, qPrintable(QStringLiteral("day%1").arg(d)))->isChecked());
        // The name's and the span's rules both refuse; their message tables are the rules' own tests.
        Choose(dlg, "startHour", "10");
        Choose(dlg, "endHour", "9");
        for (const char* typed : {"   ", "night"}) {
            name->setText(typed);
            Click(Find<QPushButton>(dlg, "applyButton"));
        }
        QVERIFY(dlg.isVisible());
        // With eight ranges listed a ninth is refused, and the dialog closes.
        std::vector<TimeRangeRecord> eight;
        for (int i = 1; i <= 8; ++i) eight.push_back({i, "r" + std::to_string(i), 1});
        CTimeRangeEditDlg full(nullptr, true, 0, eight);
        full.show();
        SetText(full, "rangeName", "ninth");
        Choose(full, "endHour", "9");
        Click(Find<QPushButton>(full, "applyButton"));
        QVERIFY(!full.isVisible());
        QCOMPARE(Said(), (QStringList{"The TimeRange name can not be empty,please input it.",
                                      "'Start Time' can't be grater than 'End Time'",
                                      "The max number of PoE Time Range is 8"}));
        QVERIFY(Journal().empty());
    }

    void rangeEditRewritesTheRowUnderItsIndex() {
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        QStringList shown;
        bool stayedOpen = false;
        auto edit = [&](const char* range, std::function<void(CTimeRangeEditDlg&)> change) {
            SelectLine(dlg->List(), range);
            m_sim->ClearJournal();
            QVERIFY(OnModal<CTimeRangeEditDlg>(*dlg, "editButton", [&](CTimeRangeEditDlg& e) {
                change(e);
                Click(Find<QPushButton>(e, "applyButton"));
                stayedOpen = e.isVisible();
            }));
        };
        edit("weekend", [&](CTimeRangeEditDlg& e) {
            shown << Texts(e, {"rangeName", "fromYear"}) << Enabled(e, {"rangeName", "fromYear"});
            Choose(e, "endHour", "20");
            Choose(e, "endMinute", "0");
            Click(Find<QCheckBox>(e, "day7"));
        });
        QCOMPARE(shown, QStringList({"weekend", "2026", "01"}));
        const std::string weekend =
            ".23.1.1.2.2=\"weekend\"; .23.1.1.3.2=1; .23.1.1.4.2=2026; .23.1.1.5.2=1; .23.1.1.6.2=1; "
            ".23.1.1.9.2=2026; .23.1.1.10.2=12; .23.1.1.11.2=31; .23.1.1.7.2=0; .23.1.1.8.2=0; "
            ".23.1.1.12.2=20; .23.1.1.13.2=0; .23.1.1.14.2=2; .23.1.1.15.2=2; .23.1.1.16.2=2; "
            ".23.1.1.17.2=2; .23.1.1.18.2=2; .23.1.1.19.2=1; .23.1.1.20.2=2; .23.1.1.21.2=1";
        QCOMPARE(Journal(), (Lines{".23.1.1.21.2=6", ".23.1.1.21.2=5", weekend}));
        QVERIFY(ListLines(dlg->List()).contains("weekend|Sat|2026/01/01|2026/12/31|00:00|20:00"));

        // A range a port uses cannot go: its new values are written over it in place.
        edit("office-hours", [&](CTimeRangeEditDlg& e) { Choose(e, "endHour", "17"); });
        QCOMPARE(
            Journal(),
            (Lines{
                ".23.1.1.21.1=6 => error 12 (binding 1)", ".23.1.1.21.1=5 => error 12 (binding 1)",
                ".23.1.1.2.1=\"office-hours\"; .23.1.1.3.1=2; .23.1.1.7.1=8; .23.1.1.8.1=0; .23.1.1.12.1=17; "
                ".23.1.1.13.1=0; .23.1.1.14.1=1; .23.1.1.15.1=1; .23.1.1.16.1=1; .23.1.1.17.1=1; "
                ".23.1.1.18.1=1; .23.1.1.19.1=2; .23.1.1.20.1=2; .23.1.1.21.1=1"}));
        QVERIFY(ListLines(dlg->List()).contains("office-hours|Mon,Tue,Wed,Thu,Fri|||08:00|17:00"));
        QVERIFY(Said().isEmpty());

        // The switch refuses the values after the old row went: the user is told, the dialog stays open,
        // and no half-made row is left behind.
        QVERIFY(m_sim->RefuseWritesUnder(kV + ".23.1.1.2.2"));
        edit("weekend", [](CTimeRangeEditDlg&) {});
        QVERIFY(stayedOpen);
        QCOMPARE(
            Said(),
            QStringList({"The time range could not be written to the switch, and its old setting has already "
                         "been removed from the switch. Press Apply to write it again, or Cancel to leave it "
                         "out."}));
        QCOMPARE(Journal(), (Lines{".23.1.1.21.2=6", ".23.1.1.21.2=5", weekend + " => error 5 (binding 1)",
                                   ".23.1.1.21.2=6"}));
        QCOMPARE(dlg->LineCount(), 1);
        QCOMPARE(dlg->Records().size(), size_t(1));
    }
};

QTEST_MAIN(PoeDialogsTest)
#include "poe_dialogs_test.moc"
