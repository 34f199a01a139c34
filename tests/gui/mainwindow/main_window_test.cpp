// The main panel window without a device behind it: initialisation paths, the menu and its trimming, the
// dialog frame, About, a port click, close and destroy; and start-up's stops before any window.
#include <gtest/gtest.h>

#include <QMenuBar>

#include "app/about_dlg.h"
#include "app/main_menu.h"
#include "app/module_app.h"
#include "app/module_main_dlg.h"
#include "core/ini_reader.h"
#include "dialogs/common/dialog_registry.h"
#include "tests/fixtures/silent_udp_port.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Settings() = ModuleSettings();
        Settings().DeviceAddress = "127.0.0.1";
        Settings().SnmpPort = std::to_string(m_silent.Port());
    }
    void TearDown() override { QFile::remove(QString::fromStdString(UserIniPath())); }

    std::unique_ptr<CModuleMainDlg> Open(const std::string& ini) {
        EXPECT_TRUE(WriteUserIni(ini));
        return std::make_unique<CModuleMainDlg>();
    }

    kmstest::SilentUdpPort m_silent;
    RecordingPrompt m_prompt;
};

// Texts and ids of a menu bar or pop-up, one entry per item: "text#id", "-" for separators, "[text: its
// items]" for pop-ups.
QStringList Items(QWidget* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-")
                : a->menu()      ? "[" + a->text() + ": " + Items(a->menu()).join('|') + "]"
                                 : a->text() + "#" + QString::number(CommandOf(a)));
    return out;
}

// The whole menu resource, as built.
const QString kMenu =
    "[&Device Manager   : &Port Configuration...#32774|[&SNMP Setting: SNMP Global State #32839|SNMP User "
    "Table#32841|SNMP Group Table#32842|SNMP View Table#32843|SNMP Community Table #32844|SNMP Host "
    "Table#32840|SNMP Engine ID#32845|SNMP Trap Configuration#32846]|&Syslog Host Configuration...#32832|-|"
    "&VLAN Configuration...#32834|Auto Surveillance VLAN Setting #32854|&Trunk Configuration...#32818|"
    "&Multicast Filtering Mode configuration...#32830|-|&802.1X Configuration...#32792|&ARP Spoofing "
    "Prevention Setting...#32833|&DHCP Server Screening Port Configuration...#32829|-|&Firmware and "
    "Configuration Upgrade/Backup...#32823|&Save Configuration...#32815|&Reboot#32797|-|&PoE Port "
    "Config#32852|&Time_Based PoE#32819|[LLDP: &LLDP Global Setting#32825|&LLDP Remote Port "
    "Information#32826|&LLDP MED Setting#32827]|-|Device &Configure...#32775]|[&Public MIB   : &System "
    "Information...#32805|In&terface Table...#32809|&IP Table...#32808|Forwarding Table...#32810|&TCP "
    "Service...#32811|&UDP Service...#32812|802.1D...#32813]|[&Tools   : &Telnet...#32788|&Web...#32789]|"
    "[&About   : About KMS-7300-08E...#57664]";

// An empty count takes the default; no name, no panel or a count beyond 1..52 is an error. LLDP MED is never
// offered; models without PoE lose the PoE and LLDP items. Without DeviceName the initialisation stops before
// touching the menu: the resource as built (the console requests and the unlisted dialogs have no item).
TEST_F(MainWindowTest, UserIniGivesThePortCountAndTheMenuOrAnEmptyWindow) {
    const QString poeItems =
        "|&PoE Port Config#32852|&Time_Based PoE#32819|[LLDP: &LLDP Global Setting#32825|"
        "&LLDP Remote Port Information#32826|&LLDP MED Setting#32827]";
    // User.ini, the model it names, the ports the window gets (none: an error).
    using Case = std::tuple<std::string, std::string, int>;
    std::vector<Case> cases = {
        {"DevicePortNum=8\nXMLName=" KMS_SOURCE_DIR "/assets/KMS-7300-08E.xml\n", "", 0},
        {"DeviceName=KMS-7300-08E\nDevicePortNum=8\n", "", 0}};
    for (const auto& [name, count, ports] : std::initializer_list<Case>{{"KMS-7300-08E", "", 28},
                                                                        {"KMS-7300-08P", "52", 52},
                                                                        {"kms-5000p", "8", 8},
                                                                        {"KMS-2000-16", "8", 8},
                                                                        {"KMS-7300-08E", "0", 0},
                                                                        {"KMS-7300-08E", "53", 0},
                                                                        {"KMS-7300-08E", "-4", 0},
                                                                        {"KMS-7300-08E", "100000", 0}})
        cases.emplace_back(StandardIni(name, count), name, ports);
    for (const auto& [ini, name, ports] : cases) {
        SCOPED_TRACE(ini);
        m_prompt.Clear();
        auto w = Open(ini);
        EXPECT_EQ(std::pair(w->Initialised(), w->PollingRunning()), std::pair(ports > 0, ports > 0));
        if (ports > 0) {
            EXPECT_EQ(
                std::make_tuple(w->PortCount(), Settings().PortCount, Settings().AllGiga && Settings().HasFan,
                                Settings().DeviceName, m_prompt.texts, w->windowTitle().toStdString()),
                std::make_tuple(ports, ports, true, name, QStringList(), name + ": 127.0.0.1"));
            QString menu =
                QString(kMenu).replace("About KMS-7300-08E", "About " + QString::fromStdString(name));
            EXPECT_EQ(Items(w->MainMenu()).join('|'),
                      menu.remove(name == "KMS-2000-16" ? poeItems : QString("|&LLDP MED Setting#32827")));
            continue;
        }
        EXPECT_EQ(
            std::make_tuple(m_prompt.texts, w->Status(), w->windowTitle(), w->Root().ChildCount(),
                            Settings().PortCount <= 52),
            std::make_tuple(QStringList{"Read User.ini Error !"}, nullptr, QString("VeltraModule"), 0, true));
        if (ini.find("DeviceName") == std::string::npos) {
            EXPECT_EQ(Items(w->MainMenu()).join('|'), kMenu);
        }
    }
}

// Commands without a dialog behind them: menu items disabled, console requests ignored. A dialog runs with
// the window hidden and polling held (the frame); About is one of them. A click on port 3 opens whatever the
// registry has under Port Configuration, for port 3 (the panel window's own test clicks it scaled).
// Destroyed, the window writes its closing lines in order.
TEST_F(MainWindowTest, CommandsPortClicksAndTheFrameAroundTheirDialogs) {
    bool sawHidden = false, sawFlag = false;
    std::unique_ptr<CModuleMainDlg> w;
    std::vector<int> opened;
    // Stands for any registered dialog: notes the port it was opened for and how it found the window.
    const auto dialog = [&](QWidget* parent) {
        opened.push_back(SelectedPort());
        auto d = std::make_unique<QDialog>(parent);
        QTimer::singleShot(50, d.get(), [&, dlg = d.get()] {
            sawHidden = !w->isVisible();
            sawFlag = w->DialogOpen();
            dlg->accept();
        });
        return d;
    };
    RegisterDialog(kCmdPortConfiguration, dialog);
    RegisterDialog(kCmdIpTable, dialog);
    w = Open(StandardIni("KMS-7300-08E"));
    w->show();
    QMenuBar* bar = w->MainMenu();
    for (int id : {kCmdIpTable, kCmdSaveConfiguration, kCmdReboot, kCmdTelnet, kCmdWeb, kCmdAbout})
        EXPECT_TRUE(FindCommand(bar, id)->isEnabled()) << id;
    EXPECT_FALSE(FindCommand(bar, kCmdSystemInformation)->isEnabled());
    for (int id :
         {60101, 60500, 61101, int(kCmdConsoleDotQVlan), int(kCmdConsoleDeviceQos), int(kCmdConsolePortQos)})
        w->OnCommand(id);
    w->OnCommand(kCmdIpTable);
    RegisterDialog(kCmdIpTable, {});
    EXPECT_EQ(
        std::tuple(m_prompt.texts, sawHidden, sawFlag, w->DialogOpen(), w->isVisible(), w->isMinimized()),
        std::tuple(QStringList(), true, true, false, true, false));
    QString texts;
    auto about = WhenModal<CAboutDlg>([&](CAboutDlg& a) {
        texts = a.windowTitle() + "/" + Find<QLabel>(a, "control1049")->text();
        sawFlag = w->DialogOpen();
        a.accept();
    });
    sawFlag = false;
    FindCommand(bar, kCmdAbout)->trigger();
    EXPECT_EQ(std::tuple(*about, sawFlag, w->isVisible(), texts),
              std::tuple(true, true, true, QString("KMS-7300-08E Module/KMS-7300-08E Management Module")));
    QTest::mouseClick(w->PanelView(), Qt::LeftButton, {}, w->PortRectInView(2).center());
    EXPECT_EQ(std::tuple(opened, SelectedPort(), w->isVisible()),
              std::tuple(std::vector<int>{0, 3}, 0, true));
    RegisterDialog(kCmdPortConfiguration, {});
    DebugCapture capture;
    w->close();
    w.reset();
    Lines expected = {"==================DestroyWindow==============="};
    for (std::string session : {"", "set", "Fan", "Poe", "DevStat", "PoeStat"})
        expected.push_back("==================m_cCommonSNMP" + session + ".Close===============");
    EXPECT_EQ(capture.ClosingLines(), expected);
}

TEST_F(MainWindowTest, EscapeAndTheCloseBoxEndTheProgram) {
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "close box");
        auto w = Open(StandardIni("KMS-7300-08E"));
        w->show();
        // The application's own loop must end, as it does when the module's only window closes.
        QTimer::singleShot(100, w.get(), [&w, escape] {
            escape ? QTest::keyClick(w.get(), Qt::Key_Escape) : void(w->close());
        });
        // Ends a loop that would otherwise run on; gone with the window.
        QTimer::singleShot(10000, w.get(), [] { QApplication::exit(99); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_EQ(std::tuple(w->isVisible(), w->PollingRunning(), w->ThreadStoppedInTime()),
                  std::tuple(false, false, true));
    }
}

// Start-up's user-facing stops: what the user sees when the console passes nothing, and the instance name
// (one instance per device: the hand-over itself is tested on the module's process).
TEST(Startup, AnEmptyCommandLineShowsTheMessageAndEnds) {
    RecordingPrompt prompt;
    Settings() = ModuleSettings();
    EXPECT_EQ(CModuleApp::Start({}), 1);
    EXPECT_EQ(prompt.texts, QStringList{"No parameter input !"});
    EXPECT_EQ(Settings().DeviceAddress, "");
}

// The SNMP port tells devices behind one address apart; 161 keeps the name a running console knows.
TEST(Startup, InstanceNameHoldsTheSnmpPortUnless161) {
    ModuleSettings s;
    s.DeviceAddress = "10.0.0.1";
    s.DeviceName = "KMS-7300-08E";
    for (const auto& [port, suffix] :
         {std::pair{"161", ""}, {"", ""}, {"16100", ":16100"}, {"1610", ":1610"}}) {
        s.SnmpPort = port;
        EXPECT_EQ(CModuleApp::DeviceInstanceName(s), std::string("Module:KMS-7300-08E10.0.0.1") + suffix);
    }
}

}  // namespace
