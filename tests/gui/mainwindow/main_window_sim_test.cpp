// The main window against kms-sim: the panel follows the first walk, and the device commands write what
// they should (or nothing, when the user cancels).
#include "app/module_main_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QtTest>

#include "app/device_commands.h"
#include "app/main_menu.h"
#include "core/ini_reader.h"
#include "core/module_settings.h"
#include "dialogs/common/user_prompt.h"
#include "tests/fixtures/fixture_paths.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/silent_udp_port.h"

namespace {

using kmstest::SilentUdpPort;

class MainWindowSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_sim = new kmstest::KmsSimFixture();
        ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
        QFile f(QString::fromStdString(UserIniPath()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(("[DeviceInfo]\nDeviceName=KMS-7300-08E\nDevicePortNum=8\nXMLName=" + std::string(KMS_SOURCE_DIR) +
                 "/assets/KMS-7300-08E.xml\nIsAllGiga=Y\nIsHasFan=Y\n")
                    .c_str());
    }
    static void TearDownTestSuite() {
        delete s_sim;
        s_sim = nullptr;
        QFile::remove(QString::fromStdString(UserIniPath()));
    }
    void SetUp() override {
        ASSERT_TRUE(s_sim->Reset());
        Settings() = ModuleSettings();
        Settings().DeviceAddress = s_sim->Address();
        Settings().SnmpPort = std::to_string(s_sim->Port());
    }

    static kmstest::KmsSimFixture* s_sim;
    RecordingPrompt m_prompt;
};

kmstest::KmsSimFixture* MainWindowSimTest::s_sim = nullptr;

TEST_F(MainWindowSimTest, PanelFollowsTheFirstWalk) {
    ASSERT_TRUE(s_sim->SetLink(1, true, 1000));
    ASSERT_TRUE(s_sim->SetLink(2, false));
    ASSERT_TRUE(s_sim->SetLink(3, true, 100));
    CModuleMainDlg w;
    w.show();
    QSignalSpy applied(&w, &CModuleMainDlg::WalkApplied);
    ASSERT_TRUE(applied.wait(10000));
    EXPECT_TRUE(w.BlinkTimerActive());
    for (int p = 0; p < 8; ++p) EXPECT_EQ(w.Port(p)->GetState(), w.Status()->linkStatus[p]) << p;
    EXPECT_EQ(w.Status()->linkStatus[0], kLinkTopSpeed);
    EXPECT_EQ(w.Status()->linkStatus[1], kLinkUnknown);
    EXPECT_EQ(w.Status()->linkStatus[2], kLinkBelowTop);
    // A full blink cycle later the link LED of a port at top speed is lit and an unplugged one dark.
    QTest::qWait(3 * CModuleMainDlg::kBlinkPeriodMs);
    EXPECT_EQ(w.LedPicture(0, 0), 228);
    EXPECT_EQ(w.LedPicture(1, 0), 227);
    EXPECT_EQ(w.LedPicture(2, 0), 227);
    EXPECT_TRUE(m_prompt.texts.isEmpty());
}

TEST_F(MainWindowSimTest, APoeFaultBlinksAmber) {
    ASSERT_TRUE(s_sim->SetPoeStatus(1, "OVERLOAD"));
    ASSERT_TRUE(s_sim->SetPoeStatus(2, "POWER ON"));
    CModuleMainDlg w;
    w.show();
    QSignalSpy applied(&w, &CModuleMainDlg::WalkApplied);
    ASSERT_TRUE(applied.wait(10000));
    ASSERT_EQ(w.Status()->poeStatus[0], kPoeOther);
    QSet<int> fault, on;
    for (int tick = 0; tick < 6; ++tick) {
        QTest::qWait(CModuleMainDlg::kBlinkPeriodMs);
        fault << w.LedPicture(0, 1);
        on << w.LedPicture(1, 1);
    }
    EXPECT_EQ(fault, (QSet<int>{229, 227}));
    EXPECT_EQ(on, QSet<int>{228});
}

TEST_F(MainWindowSimTest, SaveConfigurationReportsSuccess) {
    CModuleMainDlg w;
    w.show();
    ASSERT_TRUE(s_sim->ClearCounters());
    m_prompt.answers = {true};
    FindCommand(w.MainMenu(), kCmdSaveConfiguration)->trigger();
    EXPECT_EQ(m_prompt.texts, (QStringList{"Do you want to save the configuration?", "success"}));
    EXPECT_EQ(s_sim->SaveCount(), 1);
    EXPECT_TRUE(w.isVisible());  // no frame: the panel stays
}

TEST_F(MainWindowSimTest, CancelSendsNothing) {
    CModuleMainDlg w;
    w.show();
    w.Status()->dialogOpen = true;  // keep the poll's own requests out of the count
    QTest::qWait(300);
    ASSERT_TRUE(s_sim->ClearCounters());
    m_prompt.answers = {false, false};
    w.OnCommand(kCmdSaveConfiguration);
    w.OnCommand(kCmdReboot);
    EXPECT_EQ(m_prompt.texts,
              (QStringList{"Do you want to save the configuration?", "Do you want to reboot the device?"}));
    EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::Set), 0);
    EXPECT_EQ(s_sim->SaveCount(), 0);
    EXPECT_EQ(s_sim->RebootCount(), 0);
    w.Status()->dialogOpen = false;
}

TEST_F(MainWindowSimTest, RebootSendsTheSetInsideTheFrame) {
    CModuleMainDlg w;
    w.show();
    ASSERT_TRUE(s_sim->ClearCounters());
    m_prompt.answers = {true};
    w.OnCommand(kCmdReboot);
    EXPECT_EQ(m_prompt.texts, QStringList{"Do you want to reboot the device?"});  // no outcome shown
    EXPECT_EQ(s_sim->RebootCount(), 1);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.DialogOpen());
}

TEST_F(MainWindowSimTest, SaveConfigurationAgainstASilentPortFails) {
    SilentUdpPort silent;
    ASSERT_NE(silent.Port(), 0);
    Settings().SnmpPort = std::to_string(silent.Port());
    CModuleMainDlg w;
    m_prompt.answers = {true};
    w.OnCommand(kCmdSaveConfiguration);
    EXPECT_EQ(m_prompt.texts, (QStringList{"Do you want to save the configuration?", "failed"}));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SnmpEngineInit();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
