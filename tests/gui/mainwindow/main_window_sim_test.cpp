// The main window against kms-sim: the panel follows the walks without ever painting a gap, PoE faults
// blink and ports without PoE stay dark (both models), the status line says when the device stops
// answering, tooltips say what the LEDs show, and the device commands write what they should while the
// window goes on painting.
#include <gtest/gtest.h>

#include <QToolTip>

#include "app/main_menu.h"
#include "app/module_main_dlg.h"
#include "core/ini_reader.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

// Polls every half second or so, so a test sees several walks.
const PollTiming kFast{.firstSleepMs = 50, .periodMsV1 = 40};

// Calls `check` just before every paint of the panel, so it sees what that frame shows.
struct PaintWatch : QObject {
    PaintWatch(QWidget* view, std::function<void()> check) : check(std::move(check)) {
        view->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++frames;
            check();
        }
        return false;
    }
    int frames = 0;
    std::function<void()> check;
};

class MainWindowSimTest : public ::testing::Test {
protected:
    static void TearDownTestSuite() { QFile::remove(QString::fromStdString(UserIniPath())); }
    void SetUp() override {
        std::string error;
        ASSERT_TRUE((m_sim = kmsgui::SharedSim(&error))) << error;
        ASSERT_TRUE(m_sim->Reset());
        Use(m_sim->SettingsV1());
    }
    void Use(const ModuleSettings& s) {
        ASSERT_TRUE(
            kmsgui::WriteUserIni(kmsgui::StandardIni(s.DeviceName, std::to_string(s.PortCount), s.AllGiga)));
        Settings() = s;
    }

    kmstest::KmsSimFixture* m_sim = nullptr;
    RecordingPrompt m_prompt;
};

bool WaitWalks(CModuleMainDlg& w, int count, int limitMs = 15000) {
    const int target = w.AppliedWalks() + count;
    return QTest::qWaitFor([&] { return w.AppliedWalks() >= target; }, limitMs);
}

// The panel follows the walks and the tooltips say what the LEDs show; PoE faults blink and ports without
// PoE stay dark, on both models. The 28-port one is polled over SNMPv2c: as over SNMPv1, its walks as
// get-bulk.
TEST_F(MainWindowSimTest, PanelTooltipsAndPoeLedsFollowTheWalksOnBothModels) {
    ASSERT_TRUE(m_sim->SetLink(2, false));
    kmstest::KmsSimFixture big({.model = "28E"});
    ASSERT_TRUE(big.Start()) << big.LastError();
    for (kmstest::KmsSimFixture* sim : {m_sim, &big}) {
        ModuleSettings s = sim->SettingsV1();
        s.SnmpVersion = sim == &big ? "2" : "1";
        SCOPED_TRACE(s.DeviceName);
        Use(s);
        ASSERT_TRUE(sim->ClearCounters());
        CModuleMainDlg w;
        w.show();
        ASSERT_TRUE(WaitWalks(w, 1));
        EXPECT_EQ(w.LedPicture(0, 0), 228);  // at once, without waiting for a blink cycle: lit at top speed
        EXPECT_EQ(std::pair(sim->RequestCount(kmstest::RequestKind::GetNext) > 0,
                            sim->RequestCount(kmstest::RequestKind::GetBulk) > 0),
                  std::pair(sim == m_sim, sim == &big));
        if (sim == m_sim) {
            // kms-sim's start: 1 at 1 Gbit/s (2 unplugged here), 3-4 at 100 Mbit/s, 5 disabled, 6-8 no link.
            // Port states follow the link codes: 1 top speed, 0 below, 2 disabled, 3 no link.
            const int states[8] = {1, 3, 0, 0, 2, 3, 3, 3};
            for (int p = 0; p < 8; ++p) EXPECT_EQ(w.Port(p)->GetState(), states[p]) << p;
            for (int p : {1, 2, 4}) EXPECT_EQ(w.LedPicture(p, 0), 227) << p;  // and dark below it
            EXPECT_EQ(std::pair(w.BlinkTimerActive(), m_prompt.texts), std::pair(true, QStringList()));

            // The tooltips say what the ports show. kms-sim's start: port 1 draws 6 W at 53 V, 113 mA; port 5
            // is disabled; port 7 overloaded.
            ASSERT_TRUE(QTest::qWaitFor([&] { return w.PortState(0).measured.has_value(); }, 15000));
            EXPECT_EQ(w.PortToolTip(0), "Port 1\nLink: up, 1 Gbit/s\nPoE: POWER ON\n6 W, 53 V, 113 mA");
            EXPECT_EQ(w.PortToolTip(2), "Port 3\nLink: up, 100 Mbit/s\nPoE: POWER ON\n7 W, 53 V, 132 mA");
            EXPECT_EQ(w.PortToolTip(4), "Port 5\nLink: disabled\nPoE: POWER OFF\n0 W, 0 V, 0 mA");
            EXPECT_EQ(w.PortToolTip(6), "Port 7\nLink: down\nPoE: OVERLOAD (fault)\n0 W, 0 V, 0 mA");
            // Hovering shows it.
            const QPoint at = w.PortRectInView(0).center();
            QHelpEvent help(QEvent::ToolTip, at, w.PanelView()->mapToGlobal(at));
            QApplication::sendEvent(w.PanelView(), &help);
            EXPECT_EQ(QToolTip::text(), w.PortToolTip(0));
        }
        // Port 7 is overloaded at kms-sim's start; port 1 has power; 25-28 of the 28-port model have no PoE.
        QSet<int> fault, on, none;
        for (int tick = 0; tick < 6; ++tick) {
            QTest::qWait(CModuleMainDlg::kBlinkPeriodMs);
            fault << w.LedPicture(6, 1);
            on << w.LedPicture(0, 1);
            for (int p = 24; p < s.PortCount; ++p) none << w.LedPicture(p, 1);
        }
        EXPECT_EQ(std::tuple(fault, on, none), std::tuple(QSet<int>{229, 227}, QSet<int>{228},
                                                          s.PortCount == 28 ? QSet<int>{227} : QSet<int>{}));
    }
}

// Walks land in either blink phase; no frame between or after them may show a linked port dark. Then the
// device stops answering, and the status line says since when. Save and Reboot ask first and send nothing
// when cancelled; Save tells its outcome, Reboot does not. A dead device takes the whole 4 s time-out: the
// panel goes on blinking under the wait cursor, and a close asked for meanwhile waits for the answer.
// A switch that refuses the credentials is told apart from a silent one.
TEST_F(MainWindowSimTest, PanelKeepsPaintingWhileTheDeviceStopsAndWhileCommandsWait) {
    CModuleMainDlg w(nullptr, kFast);
    w.show();
    ASSERT_TRUE(WaitWalks(w, 1));
    int gaps = 0;
    PaintWatch watch(w.PanelView(), [&] {
        // Ports 1-2 at top speed keep their link LED lit; 3-4 below it always show their speed LED's state.
        gaps += w.LedPicture(0, 0) != 228 || w.LedPicture(1, 0) != 228 || w.LedPicture(2, 2) == 0 ||
                w.LedPicture(3, 2) == 0;
    });
    ASSERT_TRUE(WaitWalks(w, 4));
    EXPECT_EQ(std::pair(watch.frames > 10, gaps), std::pair(true, 0)) << watch.frames << " frames";
    const QString ok = w.PollStatusLine()->text();
    ASSERT_TRUE(ok.startsWith("Last successful poll at ")) << ok.toStdString();
    ASSERT_TRUE(m_sim->SetSilent(-1));
    // The walk under way may still have been answered; the next one fails.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.PollStatusLine()->text().startsWith("No answer"); }, 8000));
    const QString lastOk = w.PollStatusLine()->text().right(8);
    EXPECT_EQ(w.PollStatusLine()->text(), "No answer from 127.0.0.1 since " + lastOk);
    EXPECT_TRUE(QTime::fromString(lastOk, "HH:mm:ss").isValid());
    for (int p = 0; p < 8; ++p) EXPECT_EQ(w.Port(p)->GetState(), kPortEnabled) << p;
    EXPECT_EQ(w.PortToolTip(0), "Port 1\nLink: unknown\nPoE: unknown");
    ASSERT_TRUE(m_sim->SetSilent(0));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return w.PollStatusLine()->text().startsWith("Last successful"); }, 8000));
    m_prompt.answers = {false, false, true, true};
    w.OnCommand(kCmdSaveConfiguration);
    w.OnCommand(kCmdReboot);
    EXPECT_TRUE(m_sim->Journal().empty());
    FindCommand(w.MainMenu(), kCmdSaveConfiguration)->trigger();
    w.OnCommand(kCmdReboot);
    const QString save = "Do you want to save the configuration?",
                  reboot = "Do you want to reboot the device?";
    // No frame around them: the panel stays.
    EXPECT_EQ(std::tuple(m_prompt.texts, m_sim->Journal(), w.isVisible(), w.DialogOpen()),
              std::tuple(QStringList{save, reboot, save, "success", reboot},
                         std::vector<std::string>{".1.10.0=1", ".1.9.0=1"}, true, false));

    m_prompt.Clear();
    ASSERT_TRUE(m_sim->SetSilent(-1));
    bool waitCursor = false;
    PaintWatch busy(w.PanelView(), [&] {
        waitCursor |=
            QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    QTimer::singleShot(1000, &w, &QWidget::close);
    m_prompt.answers = {true};
    w.OnCommand(kCmdSaveConfiguration);
    EXPECT_EQ(std::tuple(m_prompt.texts, busy.frames >= 10, waitCursor, QApplication::overrideCursor()),
              std::tuple(QStringList{save, "failed"}, true, true, nullptr))
        << busy.frames << " frames";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 2000));
    ASSERT_TRUE(m_sim->SetSilent(0));

    // A switch that refuses the module's credentials is no silent switch: the status line says why.
    ModuleSettings s = m_sim->SettingsV3("kmsshaaes");
    s.AuthPassword = "not-the-password";
    Use(s);
    CModuleMainDlg refusing(nullptr, kFast);
    refusing.show();
    ASSERT_TRUE(WaitWalks(refusing, 1));
    const QString line = refusing.PollStatusLine()->text();
    EXPECT_EQ(line.left(line.size() - 9),
              "127.0.0.1 refused the request: wrong digest (authentication failure) (since ");
    EXPECT_TRUE(QTime::fromString(line.right(9).left(8), "HH:mm:ss").isValid()) << line.toStdString();
}

}  // namespace
