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

class WalkDialog : public CModuleDialog {
public:
    WalkDialog() : first(AddSession("m_cCommonSNMP")), second(AddSession("m_cCommonSNMPTable")) {
        enabledButton = new QPushButton(QStringLiteral("&Refresh"), this);
        disabledButton = new QPushButton(QStringLiteral("&Add"), this);
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
    QPushButton* enabledButton;
    QPushButton* disabledButton;
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

    void walksDeliverEveryRowInOrderEndAtTheirLimitsAndGiveTheButtonsBack() {
        WalkDialog dlg;
        // A topmost modal window with the application's icon.
        QVERIFY(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(dlg.isModal());
        if (!ApplicationIcon().isNull()) QCOMPARE(dlg.windowIcon().cacheKey(), ApplicationIcon().cacheKey());
        WalkLog log;
        QSignalSpy finished(&dlg, &CModuleDialog::WalkFinished);
        dlg.WalkBig(dlg.second, log, {dlg.enabledButton, dlg.disabledButton});
        QCOMPARE(dlg.ActiveWalks(), 1);
        QVERIFY(!dlg.enabledButton->isEnabled());
        QVERIFY(!dlg.disabledButton->isEnabled());
        QVERIFY(kmsgui::WaitIdle(dlg));
        QCOMPARE(int(log.rows.size()), SnmpdFixture::BigColumnRows());
        for (int i = 0; i < int(log.rows.size()); ++i) {
            QCOMPARE(log.rows[i].index, i);
            QCOMPARE(log.rows[i].bindings.at(0).value, "row" + std::to_string(i + 1));
            QCOMPARE(log.rows[i].suffixes.at(0), "." + std::to_string(i + 1));
        }
        QCOMPARE(log.ends, std::vector<int>{kSnmpEndOfWalk});
        QCOMPARE(finished.count(), 1);
        QVERIFY(dlg.enabledButton->isEnabled());
        QVERIFY(!dlg.disabledButton->isEnabled());  // its own state, not "enabled"

        // A row limit, and answers that fall short, end a walk too.
        WalkLog limited, shortRows;
        dlg.StartWalk(dlg.first, {SnmpdFixture::BigColumnOid()}, limited.Row(), limited.End(), {},
                      WalkOptions{0, 5, 0});
        // Two columns of which only the first has rows past the system group: answers fall short.
        dlg.StartWalk(dlg.second, {kSysLocation, SnmpdFixture::BigColumnOid()}, shortRows.Row(),
                      shortRows.End(), {}, WalkOptions{2, -1, 0});
        QVERIFY(kmsgui::WaitIdle(dlg));
        QCOMPARE(int(limited.rows.size()), 5);
        QCOMPARE(limited.ends, std::vector<int>{kSnmpOk});
        QCOMPARE(shortRows.ends, std::vector<int>{kSnmpEndOfWalk});
        for (const WalkRow& r : shortRows.rows) QVERIFY(r.bindings.size() >= 2);
    }

    void staleAnswersAndSynchronousRequestsTakingTheSession() {
        WalkDialog dlg;
        WalkLog old, fresh;
        dlg.WalkBig(dlg.first, old, {dlg.enabledButton});
        QVERIFY(old.WaitFirstRow());
        dlg.WalkBig(dlg.first, fresh, {dlg.enabledButton});
        const size_t oldRows = old.rows.size();
        QCOMPARE(dlg.ActiveWalks(), 1);
        QVERIFY(kmsgui::WaitIdle(dlg));
        QTest::qWait(100);
        QCOMPARE(old.rows.size(), oldRows);
        QVERIFY(old.ends.empty());
        QCOMPARE(int(fresh.rows.size()), SnmpdFixture::BigColumnRows());
        QCOMPARE(fresh.rows.front().bindings.at(0).value, std::string("row1"));
        QCOMPARE(fresh.ends, std::vector<int>{kSnmpEndOfWalk});
        QVERIFY(dlg.enabledButton->isEnabled());

        // A synchronous request takes the session from a walk, which then delivers nothing more.
        QCOMPARE(dlg.SetNow(dlg.first, {{kSysLocation, kBindOctets, std::string("rack 7, shelf 2")}}), 0);
        WalkLog taken;
        dlg.WalkBig(dlg.first, taken, {dlg.enabledButton});
        QVERIFY(taken.WaitFirstRow());
        std::vector<SnmpBinding> answer;
        QCOMPARE(dlg.GetNow(dlg.first, {kSysName, kSysLocation}, answer), 0);
        QCOMPARE(answer.size(), size_t(2));
        QCOMPARE(answer[0].oid, std::string(kSysName));
        QCOMPARE(answer[1].value, std::string("rack 7, shelf 2"));
        QCOMPARE(dlg.ActiveWalks(), 0);
        QVERIFY(dlg.enabledButton->isEnabled());
        const size_t rows = taken.rows.size();
        std::vector<SnmpBinding> async;
        int failed = 0;
        dlg.StartGet(
            dlg.second, {kSysLocation}, [&](const std::vector<SnmpBinding>& b) { async = b; },
            [&](int) { ++failed; });
        QCOMPARE(dlg.ActiveWalks(), 1);
        QVERIFY(kmsgui::WaitIdle(dlg));
        QCOMPARE(async.size(), size_t(1));
        QCOMPARE(async[0].value, std::string("rack 7, shelf 2"));
        QCOMPARE(failed, 0);
        QTest::qWait(200);
        QCOMPARE(taken.rows.size(), rows);
        QVERIFY(taken.ends.empty());
        // A get of an object the agent lacks fails.
        QVERIFY(dlg.GetNow(dlg.first, {"1.3.6.1.2.1.1.77.0"}, answer) != 0);
    }

    void closingWhileWalkingDropsLateAnswers() {
        kmsgui::DebugCapture capture;
        auto dlg = std::make_unique<WalkDialog>();
        WalkLog log;
        dlg->WalkBig(dlg->first, log);
        dlg->WalkBig(dlg->second, log);
        QVERIFY(log.WaitFirstRow());
        dlg->done(QDialog::Rejected);
        const size_t rowsAtClose = log.rows.size();
        QCOMPARE(dlg->ActiveWalks(), 0);
        QTest::qWait(200);
        QCOMPARE(log.rows.size(), rowsAtClose);
        QVERIFY(log.ends.empty());
        // Nothing starts on closed sessions.
        dlg->WalkBig(dlg->first, log);
        QCOMPARE(dlg->ActiveWalks(), 0);
        dlg.reset();
        QTest::qWait(50);
        QCOMPARE(log.rows.size(), rowsAtClose);
        QCOMPARE(capture.ClosingLines(), kClosing);
    }

    void aSilentAgentEndsTheWalkWithAFailure() {
        Settings().SnmpPort = std::to_string(FreeLoopbackUdpPort());
        Settings().SnmpTimeoutText = "300";
        WalkDialog dlg;
        WalkLog log;
        std::vector<int> getFailures;
        dlg.WalkBig(dlg.first, log, {dlg.enabledButton});
        dlg.StartGet(
            dlg.second, {kSysName}, [](const std::vector<SnmpBinding>&) { QFAIL("no answer expected"); },
            [&](int st) { getFailures.push_back(st); });
        QVERIFY(!dlg.enabledButton->isEnabled());
        QVERIFY(kmsgui::WaitIdle(dlg));
        QVERIFY(log.rows.empty());
        QCOMPARE(log.ends, std::vector<int>{kSnmpFailed});
        QCOMPARE(getFailures, std::vector<int>{kSnmpFailed});
        QVERIFY(dlg.enabledButton->isEnabled());
    }
};

QTEST_MAIN(ModuleDialogTest)
#include "module_dialog_test.moc"
