// The shared pieces of the dialogs against kms-sim: the Apply order (no wait cursor over a message),
// the From/To rules and the settings snapshot reader. The port-by-port write loop and the RowStatus
// creation are checked through the dialogs that use them (PVID, PoE; communities, ARP entries).

#include <time.h>

#include <QElapsedTimer>
#include <optional>
#include <thread>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_grid.h"
#include "dialogs/common/port_range.h"
#include "dialogs/common/table_reader.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

// Records, with each text, whether the wait cursor was showing when the user saw it.
struct CursorPrompt : RecordingPrompt {
    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override {
        waitCursor << (QApplication::overrideCursor() != nullptr);
        RecordingPrompt::Inform(parent, text, icon);
    }
    QList<bool> waitCursor;
};

struct Host : CModuleDialog {
    explicit Host(const ModuleSettings& settings = Settings())
        : session(AddSession("m_cCommonSNMP", settings)) {}
    CCommonSNMP& session;
};

const std::string kPvidColumn = "1.3.6.1.4.1.32473.10.75.13.7.7.1.1";

}  // namespace

class SharedPiecesTest : public kmsgui::SimTest {
    Q_OBJECT

private slots:

    void applyShowsItsMessagesWithoutTheWaitCursor() {
        CursorPrompt prompt;
        Host host;
        bool cursorWhileWriting = false, reread = false;
        const int refused =
            RunApply(&host, {.check = [&] { return Refuse(&host, std::string("Invalid Key.")); }});
        const int failed = RunApply(
            &host, {.write =
                        [&] {
                            cursorWhileWriting = QApplication::overrideCursor() != nullptr;
                            return host.SetNow(host.session, {{kPvidColumn + ".1", kBindUnsigned, "99"}});
                        },
                    .reread = [&] { reread = true; },
                    .failureText = "Unsuccessful!"});
        QCOMPARE(std::tuple(refused, failed != 0, cursorWhileWriting, reread,
                            QApplication::overrideCursor() != nullptr),
                 std::tuple(kApplyRefused, true, true, false, false));
        QCOMPARE(std::pair(prompt.texts, prompt.waitCursor),
                 std::pair(QStringList{"Invalid Key.", "Unsuccessful!"}, QList<bool>{false, false}));
    }

    void aRefusalIsToldOnceForReadsAndWithEveryFailedApply() {
        ModuleSettings unknownUser = m_sim->SettingsV3("kmsshaaes");
        unknownUser.UserName = "kmsnobody";
        Host host(unknownUser);
        for (int read = 0; read < 2; ++read) {
            host.StartGet(host.session, {"1.3.6.1.2.1.1.5.0"}, {});
            QVERIFY(kmsgui::WaitIdle(host));
        }
        const auto write = [&] {
            return host.SetNow(host.session, {{kPvidColumn + ".1", kBindUnsigned, "10"}});
        };
        RunApply(&host, {.write = write, .failureText = "Unsuccessful!"});
        RunApply(&host, {.write = write});  // a failure the dialog keeps silent
        const QString refused = "127.0.0.1 refused the request: unknown user.";
        QCOMPARE(Said(), (QStringList{refused, "Unsuccessful!\n\n" + refused, refused}));
        QCOMPARE(Journal(), kmsgui::Lines{});
    }

    void pausesLastAtLeastAsLongAsStated() {
        // Started where a coarse timer would round its end down to a whole second of the monotonic clock.
        for (long fractionMs : {50L, 80L}) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::this_thread::sleep_for(
                std::chrono::nanoseconds((fractionMs * 1000000 - now.tv_nsec + 1000000000) % 1000000000));
            QElapsedTimer clock;
            clock.start();
            PauseKeepingPainted(2000);
            QVERIFY2(clock.nsecsElapsed() >= 2000000000LL, QByteArray::number(clock.nsecsElapsed()));
        }
    }

    void fromAndToFollowTheRangeRules() {
        RecordingPrompt prompt;
        QWidget dialog;
        auto* from = new QComboBox(&dialog);
        auto* to = new QComboBox(&dialog);
        CPortRange range(from, to, 1, 8, &dialog);
        QCOMPARE(std::make_pair(range.From(), range.To()), std::make_pair(1, 8));
        from->setCurrentIndex(4);  // From 5 takes To along
        QCOMPARE(range.To(), 5);
        to->setCurrentIndex(2);  // To 3 is below From
        QCOMPARE(std::pair(prompt.texts, range.To()),
                 std::pair(QStringList{"'To Port' can not be smaller than 'From Port'"}, 5));
        range.Select(2, 6);
        QCOMPARE(std::tuple(range.From(), range.To(), prompt.texts.size()), std::tuple(2, 6, 1));
        QCOMPARE((std::vector<int>{CPortGrid::PortsPerLine(8), CPortGrid::PortsPerLine(28),
                                   CPortGrid::PortsPerLine(52)}),
                 (std::vector<int>{8, 14, 13}));
    }

    void theSnapshotReaderReadsPortsScalarsAndTables() {
        Host host;
        std::optional<PortSettings> got;
        ReadPortSettings(host, host.session, 8,
                         {.portColumns = {kPvidColumn},
                          .scalars = {"1.3.6.1.4.1.32473.10.75.13.7.5.0"},
                          .tableColumns = {"1.3.6.1.4.1.32473.10.75.13.8.1.3.1.3"}},
                         [&](const PortSettings& s) { got = s; });
        QVERIFY(QTest::qWaitFor([&] { return got.has_value(); }, 10000));
        std::vector<int> pvids;
        for (int p = 1; p <= 8; ++p) pvids.push_back(got->PortInt(kPvidColumn, p));
        QCOMPARE(pvids, (std::vector<int>{1, 1, 1, 1, 1, 1, 10, 10}));
        QCOMPARE(std::pair(got->complete, got->ScalarInt("1.3.6.1.4.1.32473.10.75.13.7.5.0")),
                 std::pair(true, 2));
        QCOMPARE(got->TableValues("1.3.6.1.4.1.32473.10.75.13.8.1.3.1.3"), std::vector<std::string>(8, "2"));
    }
};

QTEST_MAIN(SharedPiecesTest)
#include "shared_pieces_test.moc"
