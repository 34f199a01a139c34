// kms-module as the console starts it, against kms-sim in another process: the panel picture it renders
// after the first poll shows kms-sim's starting state, one instance runs per address and SNMP port, and a
// crashed instance does not block the next.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "panel/my_bitmap_app.h"
#include "panel/panel_reader.h"
#include "tests/fixtures/fixture_paths.h"
#include "tests/fixtures/kms_sim_fixture.h"

namespace {

const QString kSource = QStringLiteral(KMS_SOURCE_DIR);
// Debug lines of a finished first poll and of a window handed over to.
const QString kPolled = QStringLiteral("---------GetDevStatus--------");
const QString kActivated = QStringLiteral("==================ActivateMessage===============");

// A folder holding kms-module with its User.ini and panel files, as an installation would.
class ModuleInstall {
public:
    bool Prepare() {
        if (!m_dir.isValid()) return false;
        m_module = m_dir.filePath("kms-module");
        if (!QFile::copy(QStringLiteral(KMS_MODULE_PATH), m_module)) return false;
        QFile::setPermissions(m_module, QFile::permissions(m_module) | QFile::ExeOwner);
        // The panel description and its pictures, linked from the source tree.
        for (const QString name : {"KMS-7300-08E.xml", "KMS-7300-08E"})
            if (!QFile::link(kSource + "/assets/" + name, m_dir.filePath(name))) return false;
        QFile ini(m_dir.filePath("User.ini"));
        if (!ini.open(QIODevice::WriteOnly)) return false;
        ini.write(
            "[DeviceInfo]\nDeviceName=KMS-7300-08E\nDevicePortNum=8\nXMLName=KMS-7300-08E.xml\n"
            "IsAllGiga=Y\nIsHasFan=Y\n");
        return true;
    }
    QString Dir() const { return m_dir.path(); }

    // kms-module with the console's positional items for an SNMPv1 device on `port`.
    void Start(QProcess& p, const QString& address, int port, const QString& snapshot = {}) const {
        Start(p,
              {"/N", "x", "/I", address, "/R", "rdcomm", "/W", "wrcomms", "/A", "TRUE", "/V", "1", "/P",
               QString::number(port)},
              snapshot);
    }
    void Start(QProcess& p, const QStringList& args, const QString& snapshot) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_LOGGING_RULES", "kms.debug=true");
        env.remove("KMS_SNAPSHOT");
        if (!snapshot.isEmpty()) env.insert("KMS_SNAPSHOT", snapshot);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(m_module, args);
    }

private:
    QTemporaryDir m_dir;
    QString m_module;
};

// Reads `p`'s output until `text` shows up (or the limit passes); everything read is appended to `log`.
bool WaitForOutput(QProcess& p, const QString& text, QString& log, int limitMs) {
    QElapsedTimer t;
    t.start();
    while (!log.contains(text) && t.elapsed() < limitMs) {
        const bool ended = p.state() == QProcess::NotRunning;  // what it wrote is still to be read once
        p.waitForReadyRead(100);
        log += QString::fromLocal8Bit(p.readAll());
        if (ended) break;
    }
    return log.contains(text);
}

void Finish(QProcess& p) {
    p.terminate();
    if (!p.waitForFinished(5000)) p.kill();
    p.waitForFinished(5000);
}

bool IsColour(QRgb c, QRgb want) {
    return std::abs(qRed(c) - qRed(want)) < 16 && std::abs(qGreen(c) - qGreen(want)) < 16 &&
           std::abs(qBlue(c) - qBlue(want)) < 16;
}

class ModuleProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_sim.Start()) << m_sim.LastError();
        ASSERT_TRUE(install.Prepare());
    }
    kmstest::KmsSimFixture m_sim;
    ModuleInstall install;
};

// kms-module started with the console's line for kms-sim's SNMPv3 user kmsshaaes (authPriv): the secrets on
// the line leave no trace in the process list (they are overwritten before the first request, which
// succeeds, so the module used them), and the panel picture, caught in the lit phase of the blink, shows
// kms-sim's starting state. (The console's way, on standard input, is the launcher's test.)
TEST_F(ModuleProcessTest, SecretsLeaveTheLineAndThePanelShowsKmsSimsStartingState) {
    ASSERT_TRUE(m_sim.SetDelay(400));  // the module still runs while its process list entry is read
    const QStringList secrets = {"rdcomm", "wrcomms", "kmsshaaes-auth", "kmsshaaes-priv"};
    const QString png = QDir(install.Dir()).filePath("panel.png");
    QProcess module;
    install.Start(
        module,
        QString("/N x /I 127.0.0.1 /R %1 /W %2 /A TRUE /V 3 /P %5 /X - /X - /X 1 /L 3 /U kmsshaaes /K %3 "
                "/Q %4 /H 3 /D 4")
            .arg(secrets[0], secrets[1], secrets[2], secrets[3], QString::number(m_sim.Port()))
            .split(' '),
        png);
    QString log;
    ASSERT_TRUE(WaitForOutput(module, "m_pOwner->GetDevStatus()", log, 30000)) << log.toStdString();
    QFile cmdline(QString("/proc/%1/cmdline").arg(module.processId()));
    ASSERT_TRUE(cmdline.open(QIODevice::ReadOnly));
    const QByteArray seen = cmdline.readAll();
    EXPECT_TRUE(seen.contains("127.0.0.1")) << "read after the module ended";
    for (const QString& s : secrets) EXPECT_FALSE(seen.contains(s.toUtf8())) << s.toStdString();
    ASSERT_TRUE(module.waitForFinished(60000));
    log += QString::fromLocal8Bit(module.readAll());
    ASSERT_EQ(module.exitCode(), 0) << log.right(2000).toStdString();
    EXPECT_TRUE(log.contains("panel saved to"));
    QImage image(png);
    ASSERT_FALSE(image.isNull());

    // The LED positions come from the panel description.
    CDevModule root;
    ModuleList modules;
    CMyBitmapApp positions;
    PanelReadOptions options;
    options.positions = &positions;
    options.loadPictures = false;
    ASSERT_TRUE(
        ReadPanelDescription((kSource + "/assets/KMS-7300-08E.xml").toStdString(), root, modules, options));

    // 1-2 at 1 Gbit/s, 3-4 at 100 Mbit/s, 5 disabled, 6-8 no link; PoE on 1-4, port 7 overloaded. The
    // link, PoE and speed LEDs port by port: G green, A amber, . dark.
    const QRgb green = qRgb(0, 255, 0), amber = qRgb(255, 0x99, 0), dark = qRgb(0, 0, 0);
    const char* const leds[3] = {"GG......", "GGGG..A.", "GG......"};
    for (int p = 0; p < 8; ++p) {
        CVirtualDev* port = root.FindChildByClass("CPort", p);
        ASSERT_NE(port, nullptr);
        for (int led = 0; led < 3; ++led) {
            const QRgb want = leds[led][p] == 'G' ? green : leds[led][p] == 'A' ? amber : dark;
            const QPoint at(port->GetChild(led)->Left() + 3, port->GetChild(led)->Top() + 3);
            EXPECT_TRUE(IsColour(image.pixel(at), want))
                << "port " << p + 1 << " LED " << led + 1 << ": " << std::hex << image.pixel(at);
        }
    }
    // The system LED of the eight-port model is lit, the power-limit LED dark (45.2 W left).
    EXPECT_TRUE(IsColour(image.pixel(35 + 7, 64 + 8), green)) << std::hex << image.pixel(42, 72);
    EXPECT_TRUE(IsColour(image.pixel(38 + 4, 87 + 4), dark)) << std::hex << image.pixel(42, 91);
}

// A second start for a device hands over and says so; a snapshot beside an open window still writes its
// picture. An instance killed outright leaves its lock behind, yet the next start runs and is handed over to
// in turn. (That the SNMP port tells two devices on one address apart is the start-up test's.)
TEST_F(ModuleProcessTest, OneInstancePerAddressAndPort) {
    QProcess first;
    install.Start(first, "127.0.0.1", m_sim.Port());
    QString firstLog;
    ASSERT_TRUE(WaitForOutput(first, kPolled, firstLog, 30000)) << firstLog.toStdString();

    QProcess second;
    install.Start(second, "127.0.0.1", m_sim.Port());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    const QString said = QString::fromLocal8Bit(second.readAll());
    EXPECT_TRUE(said.contains(
        "kms-module: KMS-7300-08E at 127.0.0.1 port " + QString::number(m_sim.Port()) +
        " is already managed by a running kms-module; its window has been brought to the front"))
        << said.toStdString();
    EXPECT_TRUE(WaitForOutput(first, kActivated, firstLog, 5000));

    const QString png = QDir(install.Dir()).filePath("beside.png");
    QProcess snapshot;
    install.Start(snapshot, "127.0.0.1", m_sim.Port(), png);
    ASSERT_TRUE(snapshot.waitForFinished(60000));
    EXPECT_EQ(snapshot.exitCode(), 0);
    EXPECT_FALSE(QImage(png).isNull());
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();  // SIGKILL: the lock file and the socket stay behind
    ASSERT_TRUE(first.waitForFinished(5000));
    QProcess next;
    install.Start(next, "127.0.0.1", m_sim.Port());
    QString nextLog;
    EXPECT_TRUE(WaitForOutput(next, kPolled, nextLog, 30000)) << nextLog.toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
    QProcess third;
    install.Start(third, "127.0.0.1", m_sim.Port());
    ASSERT_TRUE(third.waitForFinished(10000));
    EXPECT_TRUE(WaitForOutput(next, kActivated, nextLog, 5000));
    Finish(next);
}

}  // namespace

// What is not the console's line (its items all start with '/') gets the usage on standard error and
// exit code 2, with no window; --help and --version alone print a whole line on standard output.
TEST(ModuleCommandLine, WordsThatAreNotTheConsolesLineEndWithTheUsage) {
    ModuleInstall install;
    ASSERT_TRUE(install.Prepare());
    struct Case {
        QStringList args;
        int exitCode;
        bool usageOnStderr;
    } cases[] = {{{"-h"}, 2, true},
                 {{"--help", "--verbose"}, 2, true},
                 {{"192.0.2.7", "public"}, 2, true},
                 {{"--help"}, 0, false},
                 {{"--version"}, 0, false}};
    for (const Case& c : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");  // a window would show that the words were taken
        p.setProcessEnvironment(env);
        p.start(install.Dir() + "/kms-module", c.args);
        ASSERT_TRUE(p.waitForFinished(10000)) << c.args.join(' ').toStdString();
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(err.startsWith("usage: kms-module /N NAME /I ADDRESS"), c.usageOnStderr)
            << err.toStdString();
        if (!c.usageOnStderr) {
            EXPECT_TRUE(out.endsWith('\n') && !out.isEmpty()) << out.toStdString();
        }
    }
}
