// The dialog base against Debian's snmpd: walks, stale answers, busy buttons, the closing lines.

#include "dialogs/common/module_dialog.h"

#include <QEventLoop>
#include <QSignalSpy>

#include "tests/fixtures/snmpd_fixture.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

const char* const kSysName = "1.3.6.1.2.1.1.5.0";
const char* const kSysLocation = "1.3.6.1.2.1.1.6.0";

struct WalkLog {
    std::vector<WalkRow> rows;
    std::vector<int> ends;
    QEventLoop* waiting = nullptr;
    std::function<void(const WalkRow&)> Row() {
        return [this](const WalkRow& r) {
            rows.push_back(r);
            if (waiting) waiting->quit();
        };
    }
    // Returns as soon as the answer that brings the first row has been handled, before the next one: a
    // fast agent may answer a whole walk between two polls of a wait.
    bool WaitFirstRow() {
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        if (rows.empty()) loop.exec();
        waiting = nullptr;
        return !rows.empty();
    }
    std::function<void(int)> End() {
        return [this](int s) { ends.push_back(s); };
    }
};

struct WalkDialog : CModuleDialog {
    WalkDialog() : first(AddSession("m_cCommonSNMP")), second(AddSession("m_cCommonSNMPTable")) {
        disabledButton->setEnabled(false);  // as for a user without write access
    }
    using CModuleDialog::GetNow;
    using CModuleDialog::SetNow;
    using CModuleDialog::StartGet;
    using CModuleDialog::StartWalk;
    // Walks the big column on `session` into `log`.
    void WalkBig(CCommonSNMP& session, WalkLog& log, std::vector<QWidget*> busy = {}) {
        StartWalk(session, {SnmpdFixture::BigColumnOid()}, log.Row(), log.End(), busy);
    }

    CCommonSNMP& first;
    CCommonSNMP& second;
    QPushButton* enabledButton = new QPushButton(QStringLiteral("&Refresh"), this);
    QPushButton* disabledButton = new QPushButton(QStringLiteral("&Add"), this);
};

const kmsgui::Lines kClosing = {
    "==================DestroyWindow===============", "==================m_cCommonSNMP.Close===============",
    "==================m_cCommonSNMPTable.Close==============="};

}  // namespace

class ModuleDialogTest : public QObject {
    Q_OBJECT
    SnmpdFixture m_snmpd;  // stopped with the test object

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(m_snmpd.start(&error), error.c_str());
        QVERIFY(SnmpEngineInit());
    }
    void init() { Settings() = m_snmpd.SettingsV1(); }

    void walksDeliverEveryRowInOrderEndAtTheirLimitsOrFailuresAndGiveTheButtonsBack() {
        WalkDialog dlg;
        // A topmost modal window with the application's icon.
        QVERIFY(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(dlg.isModal());
        if (!ApplicationIcon().isNull()) QCOMPARE(dlg.windowIcon().cacheKey(), ApplicationIcon().cacheKey());
        WalkLog log;
        QSignalSpy finished(&dlg, &CModuleDialog::WalkFinished);
        dlg.WalkBig(dlg.second, log, {dlg.enabledButton, dlg.disabledButton});
        QCOMPARE(
            std::tuple(dlg.ActiveWalks(), dlg.enabledButton->isEnabled(), dlg.disabledButton->isEnabled()),
            std::tuple(1, false, false));
        QVERIFY(kmsgui::WaitIdle(dlg));
        QCOMPARE(int(log.rows.size()), SnmpdFixture::BigColumnRows());
        for (int i = 0; i < int(log.rows.size()); ++i) {
            QCOMPARE(log.rows[i].index, i);
            QCOMPARE(log.rows[i].bindings.at(0).value, "row" + std::to_string(i + 1));
            QCOMPARE(log.rows[i].suffixes.at(0), "." + std::to_string(i + 1));
        }
        // The disabled button keeps its own state, not "enabled".
        QCOMPARE(std::tuple(log.ends, finished.count(), dlg.enabledButton->isEnabled(),
                            dlg.disabledButton->isEnabled()),
                 std::tuple(std::vector<int>{kSnmpEndOfWalk}, 1, true, false));

        // A row limit, and answers that fall short, end a walk too.
        WalkLog limited, shortRows;
        dlg.StartWalk(dlg.first, {SnmpdFixture::BigColumnOid()}, limited.Row(), limited.End(), {},
                      WalkOptions{0, 5, 0});
        // Two columns of which only the first has rows past the system group: answers fall short.
        dlg.StartWalk(dlg.second, {kSysLocation, SnmpdFixture::BigColumnOid()}, shortRows.Row(),
                      shortRows.End(), {}, WalkOptions{2, -1, 0});
        QVERIFY(kmsgui::WaitIdle(dlg));
        QCOMPARE(std::tuple(int(limited.rows.size()), limited.ends, shortRows.ends),
                 std::tuple(5, std::vector<int>{kSnmpOk}, std::vector<int>{kSnmpEndOfWalk}));
        for (const WalkRow& r : shortRows.rows) QVERIFY(r.bindings.size() >= 2);

        // A silent agent ends walks and gets with a failure.
        Settings().SnmpPort = std::to_string(FreeLoopbackUdpPort());
        Settings().SnmpTimeoutText = "300";
        WalkDialog silent;
        WalkLog none;
        std::vector<int> getFailures;
        silent.WalkBig(silent.first, none, {silent.enabledButton});
        silent.StartGet(
            silent.second, {kSysName}, [](const std::vector<SnmpBinding>&) { QFAIL("no answer expected"); },
            [&](int st) { getFailures.push_back(st); });
        QVERIFY(!silent.enabledButton->isEnabled());
        QVERIFY(kmsgui::WaitIdle(silent));
        QCOMPARE(std::tuple(none.rows.size(), none.ends, getFailures, silent.enabledButton->isEnabled()),
                 std::tuple(size_t(0), std::vector<int>{kSnmpFailed}, std::vector<int>{kSnmpFailed}, true));
    }

    void staleAnswersSynchronousRequestsTakingTheSessionAndClosingWhileWalking() {
        WalkDialog dlg;
        WalkLog old, fresh;
        dlg.WalkBig(dlg.first, old, {dlg.enabledButton});
        QVERIFY(old.WaitFirstRow());
        dlg.WalkBig(dlg.first, fresh, {dlg.enabledButton});
        const size_t oldRows = old.rows.size();
        QCOMPARE(dlg.ActiveWalks(), 1);
        QVERIFY(kmsgui::WaitIdle(dlg));
        QTest::qWait(100);
        QCOMPARE(std::tuple(old.rows.size(), old.ends.empty(), int(fresh.rows.size()),
                            QString::fromStdString(fresh.rows.at(0).bindings.at(0).value), fresh.ends,
                            dlg.enabledButton->isEnabled()),
                 std::tuple(oldRows, true, SnmpdFixture::BigColumnRows(), QString("row1"),
                            std::vector<int>{kSnmpEndOfWalk}, true));

        // A synchronous request takes the session from a walk, which then delivers nothing more.
        QCOMPARE(dlg.SetNow(dlg.first, {{kSysLocation, kBindOctets, std::string("rack 7, shelf 2")}}), 0);
        WalkLog taken;
        dlg.WalkBig(dlg.first, taken, {dlg.enabledButton});
        QVERIFY(taken.WaitFirstRow());
        std::vector<SnmpBinding> answer;
        QCOMPARE(dlg.GetNow(dlg.first, {kSysName, kSysLocation}, answer), 0);
        QCOMPARE(answer.size(), size_t(2));
        QCOMPARE(std::tuple(QString::fromStdString(answer[0].oid), QString::fromStdString(answer[1].value),
                            dlg.ActiveWalks(), dlg.enabledButton->isEnabled()),
                 std::tuple(QString(kSysName), QString("rack 7, shelf 2"), 0, true));
        const size_t rows = taken.rows.size();
        QStringList async;
        int failed = 0;
        dlg.StartGet(
            dlg.second, {kSysLocation},
            [&](const std::vector<SnmpBinding>& b) { async << QString::fromStdString(b.at(0).value); },
            [&](int) { ++failed; });
        QCOMPARE(dlg.ActiveWalks(), 1);
        QVERIFY(kmsgui::WaitIdle(dlg));
        QTest::qWait(200);
        QCOMPARE(std::tuple(async, failed, taken.rows.size(), taken.ends.empty()),
                 std::tuple(QStringList{"rack 7, shelf 2"}, 0, rows, true));
        // A get of an object the agent lacks fails.
        QVERIFY(dlg.GetNow(dlg.first, {"1.3.6.1.2.1.1.77.0"}, answer) != 0);

        // Closed while walking on both sessions: late answers are dropped, and nothing starts any more.
        kmsgui::DebugCapture capture;
        WalkLog log;
        dlg.WalkBig(dlg.first, log);
        dlg.WalkBig(dlg.second, log);
        QVERIFY(log.WaitFirstRow());
        dlg.done(QDialog::Rejected);
        const size_t rowsAtClose = log.rows.size();
        dlg.WalkBig(dlg.first, log);
        QCOMPARE(dlg.ActiveWalks(), 0);  // neither the walks under way nor the new one count
        QTest::qWait(200);
        QCOMPARE(std::pair(log.rows.size(), log.ends.empty()), std::pair(rowsAtClose, true));
        QCOMPARE(capture.ClosingLines(), kClosing);
    }
};

QTEST_MAIN(ModuleDialogTest)
#include "module_dialog_test.moc"
