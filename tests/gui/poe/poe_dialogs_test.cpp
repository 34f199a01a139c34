// The PoE port dialog and the two time-range dialogs against kms-sim. The switch starts with PoE on
// every port but 8, port 1 at priority High, port 3 with a user limit of 12.0 W, port 6 using time range
// 1 "office-hours" (Mon-Fri 08:00-18:00, no dates) and range 2 "weekend" (Sat, Sun, 00:00-23:59,
// 2026/01/01 to 2026/12/31).

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/poe_config_dlg.h"
#include "dialogs/switch/time_range_dlg.h"
#include "dialogs/switch/time_range_edit_dlg.h"
#include "snmp/common_snmp.h"
#include "tests/gui/common/gui_test_support.h"

using kmsgui::Click;
using kmsgui::Find;
using Lines = std::vector<std::string>;

namespace {

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";

void Choose(QWidget& dlg, const char* combo, const QString& text) {
    auto* box = Find<QComboBox>(dlg, combo);
    QVERIFY2(box && box->findText(text) >= 0, combo);
    box->setCurrentIndex(box->findText(text));
}

QStringList Line(CListFormDialog& dlg, int row) {
    QStringList texts;
    QTreeWidgetItem* item = dlg.List()->topLevelItem(row);
    for (int c = 0; item && c < dlg.List()->columnCount(); ++c) texts << item->text(c);
    return texts;
}

QStringList LineNamed(CListFormDialog& dlg, const QString& name) {
    for (int i = 0; i < dlg.LineCount(); ++i)
        if (dlg.List()->topLevelItem(i)->text(0) == name) return Line(dlg, i);
    return {};
}

void SelectNamed(CListFormDialog& dlg, const QString& name) {
    for (int i = 0; i < dlg.LineCount(); ++i)
        if (dlg.List()->topLevelItem(i)->text(0) == name)
            dlg.List()->setCurrentItem(dlg.List()->topLevelItem(i));
}

// The settings of one port as the PoE Apply writes them with the form's defaults.
std::string DefaultPortWrite(int port) {
    const std::string p = ".1." + std::to_string(port);
    return ".22.1.1.3" + p + "=1; .22.1.1.4" + p + "=0; .22.1.1.5" + p + "=2; .22.1.1.7" + p +
           "=2; .22.1.1.6" + p + "=1";
}

}  // namespace

class PoeDialogsTest : public QObject {
    Q_OBJECT
    kmstest::KmsSimFixture* m_sim = nullptr;
    std::unique_ptr<RecordingPrompt> m_prompt;

    template <class T>
    std::unique_ptr<T> Open() {
        auto dlg = std::make_unique<T>();
        return kmsgui::OpenAndWait(*dlg) ? std::move(dlg) : nullptr;
    }
    bool MakeRange(int index, const std::string& name) {
        const std::string i = "." + std::to_string(index);
        return m_sim->Set(kV + ".23.1.1.21" + i, 'i', "5") && m_sim->Set(kV + ".23.1.1.2" + i, 's', name) &&
               m_sim->Set(kV + ".23.1.1.21" + i, 'i', "1");
    }
    void SetPorts(CPoeConfigDlg& dlg, int from, int to) {
        Choose(dlg, "fromPort", QString::number(from));
        Choose(dlg, "toPort", QString::number(to));
    }
    void ApplyPoe(CPoeConfigDlg& dlg) {
        Click(dlg.StandardButton(CListFormDialog::kApply));
        QVERIFY(kmsgui::WaitIdle(dlg));
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

    void poeListShowsEveryPortAndClosesItsSessionsInOrder() {
        kmsgui::DebugCapture capture;
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        QCOMPARE(dlg->LineCount(), 8);
        QCOMPARE(Line(*dlg, 0),
                 QStringList({"1", "Enable", "N/A", "High", "Auto", "6", "53", "113", "2", "  POWER ON"}));
        // Port 3's user limit wins over its class.
        QCOMPARE(Line(*dlg, 2).mid(0, 5), QStringList({"3", "Enable", "N/A", "Normal", "12.0"}));
        QCOMPARE(Line(*dlg, 5).mid(1, 2), QStringList({"Enable", "office-hours"}));
        QCOMPARE(Line(*dlg, 7).mid(1, 2), QStringList({"Disable", "N/A"}));
        auto* ranges = Find<QComboBox>(*dlg, "timeRange");
        QCOMPARE(ranges->count(), 3);
        QCOMPARE(ranges->itemText(2), QStringLiteral("weekend"));
        // A line sets the port range to its port and the state to its own.
        dlg->List()->setCurrentItem(dlg->List()->topLevelItem(7));
        QCOMPARE(Find<QComboBox>(*dlg, "fromPort")->currentText(), QStringLiteral("8"));
        QCOMPARE(Find<QComboBox>(*dlg, "toPort")->currentText(), QStringLiteral("8"));
        QCOMPARE(Find<QComboBox>(*dlg, "state")->currentText(), QStringLiteral("Disable"));
        QVERIFY(!kmsgui::Screenshot(*dlg, "poe_config_08e").isEmpty());
        capture.Clear();
        dlg.reset();
        QCOMPARE(capture.Lines(), (Lines{"==================DestroyWindow===============",
                                         "==================m_cCommonSNMPTimeRang.Close===============",
                                         "==================m_cCommonSNMP.Close===============",
                                         "==================m_cCommonSNMPSet.Close==============="}));
    }

    void poeApplyWritesEachPortOfTheRangeInOrder() {
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        SetPorts(*dlg, 3, 5);
        Choose(*dlg, "timeRange", "weekend");
        Choose(*dlg, "state", "Disable");
        Choose(*dlg, "priority", "High");
        Choose(*dlg, "powerLimit", "Class 2");
        m_sim->ClearJournal();
        ApplyPoe(*dlg);
        QCOMPARE(
            m_sim->Journal(),
            (Lines{".22.1.1.3.1.3=2; .22.1.1.4.1.3=2; .22.1.1.5.1.3=3; .22.1.1.7.1.3=2; .22.1.1.6.1.3=3",
                   ".22.1.1.3.1.4=2; .22.1.1.4.1.4=2; .22.1.1.5.1.4=3; .22.1.1.7.1.4=2; .22.1.1.6.1.4=3",
                   ".22.1.1.3.1.5=2; .22.1.1.4.1.5=2; .22.1.1.5.1.5=3; .22.1.1.7.1.5=2; .22.1.1.6.1.5=3"}));
        QVERIFY(m_prompt->texts.isEmpty());
        // Read again: port 3 lost its user limit, the ports around the range kept theirs.
        QCOMPARE(Line(*dlg, 2).mid(0, 5), QStringList({"3", "Disable", "weekend", "High", "Class 2"}));
        QCOMPARE(Line(*dlg, 4).mid(0, 5), QStringList({"5", "Disable", "weekend", "High", "Class 2"}));
        QCOMPARE(Line(*dlg, 5).mid(0, 3), QStringList({"6", "Enable", "office-hours"}));
    }

    void poeUserLimitsAreCheckedForEveryPortBeforeAnyWrite() {
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        Click(Find<QCheckBox>(*dlg, "userDefine"));
        QVERIFY(Find<QLineEdit>(*dlg, "userLimit")->isEnabled());
        QVERIFY(!Find<QComboBox>(*dlg, "powerLimit")->isEnabled());
        const QString port = "Invalid PoE Port User Define value Setting!";
        struct Case {
            int from, to;
            const char* text;
            QString message;
            Lines journal;
        } cases[] = {
            {2,
             2,
             "15.6",
             "",
             {".22.1.1.3.1.2=1; .22.1.1.4.1.2=0; .22.1.1.5.1.2=2; .22.1.1.7.1.2=1; .22.1.1.8.1.2=\"15.6\""}},
            {5, 5, "15.6", port, {}},
            {3, 5, "15.6", port, {}},  // ports 3 and 4 could take it; nothing is written
            {1, 1, "7.3", "The per-port power limit must be a multiple of 0.2", {}},
        };
        for (const Case& c : cases) {
            m_prompt->Clear();
            m_sim->ClearJournal();
            SetPorts(*dlg, c.from, c.to);
            Find<QLineEdit>(*dlg, "userLimit")->setText(c.text);
            ApplyPoe(*dlg);
            QCOMPARE(m_prompt->texts, c.message.isEmpty() ? QStringList() : QStringList{c.message});
            QCOMPARE(m_sim->Journal(), c.journal);
        }
        QCOMPARE(Line(*dlg, 1)[4], QStringLiteral("15.6"));
    }

    void poeFailingPortStopsTheLoop() {
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        QVERIFY(m_sim->RefuseWritesUnder(kV + ".22.1.1.3.1.4"));
        SetPorts(*dlg, 3, 6);
        m_sim->ClearJournal();
        ApplyPoe(*dlg);
        QCOMPARE(m_prompt->texts, QStringList({"Unsuccessful!"}));
        QCOMPARE(m_sim->Journal(),
                 (Lines{DefaultPortWrite(3), DefaultPortWrite(4) + " => error 5 (binding 1)"}));
        QCOMPARE(dlg->LineCount(), 8);  // read again after the failure
    }

    void poeOn28PortsShowsProgressAndStopsAtTheFirstPortWithoutPoe() {
        kmstest::KmsSimFixture::Options options;
        options.model = "28E";
        kmstest::KmsSimFixture sim28(options);
        QVERIFY2(sim28.Start(), sim28.LastError().c_str());
        kmsgui::UseSim(sim28, 28);
        auto dlg = Open<CPoeConfigDlg>();
        QVERIFY(dlg);
        QCOMPARE(dlg->LineCount(), 24);  // PoE on ports 1-24
        QCOMPARE(Find<QComboBox>(*dlg, "toPort")->count(), 28);
        QVERIFY(!kmsgui::Screenshot(*dlg, "poe_config_28e").isEmpty());
        SetPorts(*dlg, 19, 28);
        QString progressShown;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* progress = dlg->findChild<QProgressDialog*>(QStringLiteral("writeProgress"));
            if (progress && progress->isVisible()) progressShown = progress->labelText();
        });
        watch.start(50);
        sim28.ClearJournal();
        ApplyPoe(*dlg);
        watch.stop();
        QVERIFY2(progressShown.contains(QStringLiteral("port 2")), qPrintable(progressShown));
        QCOMPARE(m_prompt->texts, QStringList({"Unsuccessful!"}));
        Lines expected;
        for (int p = 19; p <= 24; ++p) expected.push_back(DefaultPortWrite(p));
        expected.push_back(DefaultPortWrite(25) + " => error 11 (binding 1)");
        QCOMPARE(sim28.Journal(), expected);
    }

    void rangeListShowsActiveRanges() {
        QVERIFY(m_sim->Set(kV + ".23.1.1.21.3", 'i', "5"));  // half made: not listed
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        QCOMPARE(dlg->LineCount(), 2);
        QCOMPARE(Line(*dlg, 0),
                 QStringList({"office-hours", "Mon,Tue,Wed,Thu,Fri", "", "", "08:00", "18:00"}));
        QCOMPARE(Line(*dlg, 1),
                 QStringList({"weekend", "Sat,Sun", "2026/01/01", "2026/12/31", "00:00", "23:59"}));
        QCOMPARE(dlg->Records().size(), size_t(3));
        QVERIFY(!kmsgui::Screenshot(*dlg, "time_range_list").isEmpty());
    }

    void rangeAddTakesTheFirstFreeIndex() {
        QVERIFY(MakeRange(4, "late"));
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        auto ran = kmsgui::WhenModal<CTimeRangeEditDlg>([&](CTimeRangeEditDlg& add) {
            QTest::keyClicks(Find<QLineEdit>(add, "rangeName"), "night");
            Click(Find<QCheckBox>(add, "day1"));
            Click(Find<QCheckBox>(add, "day5"));
            Choose(add, "startHour", "8");
            Choose(add, "endHour", "17");
            Choose(add, "endMinute", "30");
            kmsgui::Screenshot(add, "time_range_edit");
            Click(Find<QPushButton>(add, "applyButton"));
        });
        Click(dlg->StandardButton(CListFormDialog::kAdd));
        QVERIFY(*ran);
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(
            m_sim->Journal(),
            (Lines{".23.1.1.21.3=5",
                   ".23.1.1.2.3=\"night\"; .23.1.1.3.3=2; .23.1.1.7.3=8; .23.1.1.8.3=0; .23.1.1.12.3=17; "
                   ".23.1.1.13.3=30; .23.1.1.14.3=1; .23.1.1.15.3=2; .23.1.1.16.3=2; .23.1.1.17.3=2; "
                   ".23.1.1.18.3=1; .23.1.1.19.3=2; .23.1.1.20.3=2; .23.1.1.21.3=1"}));
        QCOMPARE(LineNamed(*dlg, "night"), QStringList({"night", "Mon,Fri", "", "", "08:00", "17:30"}));
        QVERIFY(m_prompt->texts.isEmpty());
    }

    void rangeAddRefusesANinthRange() {
        for (int i = 3; i <= 8; ++i) QVERIFY(MakeRange(i, "r" + std::to_string(i)));
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        auto ran = kmsgui::WhenModal<CTimeRangeEditDlg>([&](CTimeRangeEditDlg& add) {
            QTest::keyClicks(Find<QLineEdit>(add, "rangeName"), "ninth");
            Choose(add, "endHour", "9");
            Click(Find<QPushButton>(add, "applyButton"));
        });
        Click(dlg->StandardButton(CListFormDialog::kAdd));
        QVERIFY(*ran);
        QCOMPARE(m_prompt->texts, QStringList({"The max number of PoE Time Range is 8"}));
        QVERIFY(m_sim->Journal().empty());
        QVERIFY(!QApplication::activeModalWidget());
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
        struct Case {
            const char* name;
            bool dates;
            const char* start;
            QString message;
        } cases[] = {
            {"day.shift", false, "8", "Invalid TimeRange Name."},
            {"night", false, "10", "'Start Time' can't be grater than 'End Time'"},
            {"night", true, "10", "'To month' can't be less than 'From month'"},  // 2012/6/1 to 2012/5/30
        };
        Choose(dlg, "endHour", "9");
        for (const char* box : {"fromYear", "toYear"}) Choose(dlg, box, "2012");
        Choose(dlg, "fromMonth", "6");
        Choose(dlg, "toMonth", "5");
        Choose(dlg, "toDay", "30");
        m_sim->ClearJournal();
        for (const Case& c : cases) {
            m_prompt->Clear();
            name->setText(c.name);
            Find<QCheckBox>(dlg, "useDate")->setChecked(c.dates);
            Choose(dlg, "startHour", c.start);
            Click(Find<QPushButton>(dlg, "applyButton"));
            QCOMPARE(m_prompt->texts, QStringList{c.message});
            QVERIFY(dlg.isVisible());
        }
        QVERIFY(m_sim->Journal().empty());
    }

    void rangeEditRewritesTheRowUnderItsIndex() {
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        QStringList shown;
        auto edit = [&](const char* range, std::function<void(CTimeRangeEditDlg&)> change) {
            SelectNamed(*dlg, range);
            m_sim->ClearJournal();
            auto ran = kmsgui::WhenModal<CTimeRangeEditDlg>([&](CTimeRangeEditDlg& e) {
                kmsgui::WaitIdle(e);
                change(e);
                Click(Find<QPushButton>(e, "applyButton"));
            });
            Click(dlg->StandardButton(CListFormDialog::kEdit));
            QVERIFY(*ran);
            QVERIFY(kmsgui::WaitIdle(*dlg));
        };
        edit("weekend", [&](CTimeRangeEditDlg& e) {
            auto* name = Find<QLineEdit>(e, "rangeName");
            shown << name->text() << QString::number(name->isEnabled())
                  << Find<QComboBox>(e, "fromYear")->currentText()
                  << QString::number(Find<QComboBox>(e, "fromYear")->isEnabled());
            kmsgui::Screenshot(e, "time_range_edit_weekend");
            Choose(e, "endHour", "20");
            Choose(e, "endMinute", "0");
            Click(Find<QCheckBox>(e, "day7"));
        });
        QCOMPARE(shown, QStringList({"weekend", "0", "2026", "1"}));
        QCOMPARE(
            m_sim->Journal(),
            (Lines{".23.1.1.21.2=6", ".23.1.1.21.2=5",
                   ".23.1.1.2.2=\"weekend\"; .23.1.1.3.2=1; .23.1.1.4.2=2026; .23.1.1.5.2=1; .23.1.1.6.2=1; "
                   ".23.1.1.9.2=2026; .23.1.1.10.2=12; .23.1.1.11.2=31; .23.1.1.7.2=0; .23.1.1.8.2=0; "
                   ".23.1.1.12.2=20; .23.1.1.13.2=0; .23.1.1.14.2=2; .23.1.1.15.2=2; .23.1.1.16.2=2; "
                   ".23.1.1.17.2=2; .23.1.1.18.2=2; .23.1.1.19.2=1; .23.1.1.20.2=2; .23.1.1.21.2=1"}));
        QCOMPARE(LineNamed(*dlg, "weekend"),
                 QStringList({"weekend", "Sat", "2026/01/01", "2026/12/31", "00:00", "20:00"}));

        // A range a port uses cannot go: its new values are written over it in place.
        edit("office-hours", [&](CTimeRangeEditDlg& e) { Choose(e, "endHour", "17"); });
        QCOMPARE(
            m_sim->Journal(),
            (Lines{
                ".23.1.1.21.1=6 => error 12 (binding 1)", ".23.1.1.21.1=5 => error 12 (binding 1)",
                ".23.1.1.2.1=\"office-hours\"; .23.1.1.3.1=2; .23.1.1.7.1=8; .23.1.1.8.1=0; .23.1.1.12.1=17; "
                ".23.1.1.13.1=0; .23.1.1.14.1=1; .23.1.1.15.1=1; .23.1.1.16.1=1; .23.1.1.17.1=1; "
                ".23.1.1.18.1=1; .23.1.1.19.1=2; .23.1.1.20.1=2; .23.1.1.21.1=1"}));
        QCOMPARE(LineNamed(*dlg, "office-hours")[5], QStringLiteral("17:00"));
        QVERIFY(m_prompt->texts.isEmpty());
    }

    void rangeEditTellsWhenTheRangeWasLost() {
        QVERIFY(m_sim->RefuseWritesUnder(kV + ".23.1.1.2.2"));
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        SelectNamed(*dlg, "weekend");
        m_sim->ClearJournal();
        bool stayedOpen = false;
        auto ran = kmsgui::WhenModal<CTimeRangeEditDlg>([&](CTimeRangeEditDlg& e) {
            kmsgui::WaitIdle(e);
            Click(Find<QPushButton>(e, "applyButton"));
            stayedOpen = e.isVisible();
            e.reject();
        });
        Click(dlg->StandardButton(CListFormDialog::kEdit));
        QVERIFY(*ran);
        QVERIFY(stayedOpen);
        QCOMPARE(
            m_prompt->texts,
            QStringList({"The time range could not be written to the switch, and its old setting has already "
                         "been removed from the switch. Press Apply to write it again, or Cancel to leave it "
                         "out."}));
        const Lines journal = m_sim->Journal();
        QCOMPARE(journal.size(), size_t(4));
        QCOMPARE(journal[0], std::string(".23.1.1.21.2=6"));
        QCOMPARE(journal[1], std::string(".23.1.1.21.2=5"));
        QVERIFY(journal[2].rfind(".23.1.1.2.2=\"weekend\"; ", 0) == 0);
        QVERIFY(journal[2].find(" => error 5 (binding 1)") != std::string::npos);
        QCOMPARE(journal[3], std::string(".23.1.1.21.2=6"));  // no half-made row left behind
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(dlg->LineCount(), 1);
        QCOMPARE(dlg->Records().size(), size_t(1));
    }

    void rangeDeleteDestroysTheSelectedRow() {
        auto dlg = Open<CTimeRangeDlg>();
        QVERIFY(dlg);
        m_sim->ClearJournal();
        Click(dlg->StandardButton(CListFormDialog::kDelete));
        QCOMPARE(m_prompt->texts, QStringList({"Please select the Time Range to be deleted!"}));
        QCOMPARE(m_prompt->icons, QList<PromptIcon>({PromptIcon::Information}));
        SelectNamed(*dlg, "weekend");
        Click(dlg->StandardButton(CListFormDialog::kDelete));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(m_sim->Journal(), (Lines{".23.1.1.21.2=6"}));
        QCOMPARE(dlg->LineCount(), 1);
        QCOMPARE(Line(*dlg, 0)[0], QStringLiteral("office-hours"));
    }
};

QTEST_MAIN(PoeDialogsTest)
#include "poe_dialogs_test.moc"
