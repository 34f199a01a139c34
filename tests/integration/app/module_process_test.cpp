// kms-module as the console starts it, against kms-sim in another process: the panel picture it renders
// after the first poll shows each port's LEDs as the switch reports its links, and a second start for the
// same device hands over to the first instead of opening another window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "panel/my_bitmap_app.h"
#include "panel/panel_reader.h"
#include "panel/virtual_dev.h"
#include "polling/panel_status.h"
#include "polling/status_derivation.h"
#include "tests/fixtures/fixture_paths.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/snmp_reader.h"

namespace {

const QString kSource = QStringLiteral(KMS_SOURCE_DIR);

bool CopyTree(const QString& from, const QString& to) {
    QDir src(from);
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(fi.fileName());
        if (fi.isDir() ? !CopyTree(fi.filePath(), target) : !QFile::copy(fi.filePath(), target)) return false;
    }
    return true;
}

// A folder holding kms-module with its User.ini and panel files, as an installation would.
class ModuleInstall {
public:
    bool Prepare(const std::string& deviceName = "KMS-7300-08E") {
        if (!m_dir.isValid()) return false;
        m_module = m_dir.filePath("kms-module");
        if (!QFile::copy(QStringLiteral(KMS_MODULE_PATH), m_module)) return false;
        QFile::setPermissions(m_module, QFile::permissions(m_module) | QFile::ExeOwner);
        if (!QFile::copy(kSource + "/assets/KMS-7300-08E.xml", m_dir.filePath("KMS-7300-08E.xml"))) return false;
        if (!CopyTree(kSource + "/assets/KMS-7300-08E", m_dir.filePath("KMS-7300-08E"))) return false;
        QFile ini(m_dir.filePath("User.ini"));
        if (!ini.open(QIODevice::WriteOnly)) return false;
        ini.write(("[DeviceInfo]\nDeviceName=" + deviceName +
                   "\nDevicePortNum=8\nXMLName=KMS-7300-08E.xml\nIsAllGiga=Y\nIsHasFan=Y\n")
                      .c_str());
        return true;
    }
    QString Dir() const { return m_dir.path(); }
    QString Module() const { return m_module; }

    // kms-module with the console's positional items for an SNMPv1 device on `port`.
    void Start(QProcess& p, const QString& address, int port, const QString& snapshot = {}) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_LOGGING_RULES", "kms.debug=true");
        if (!snapshot.isEmpty()) env.insert("KMS_SNAPSHOT", snapshot);
        else env.remove("KMS_SNAPSHOT");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(m_module, {"/N", "x", "/I", address, "/R", "rdcomm", "/W", "wrcomms", "/A", "TRUE", "/V", "1", "/P",
                           QString::number(port)});
    }

private:
    QTemporaryDir m_dir;
    QString m_module;
};

// Reads `p`'s output until `text` shows up (or the limit passes); everything read is appended to `log`.
bool WaitForOutput(QProcess& p, const QString& text, QString& log, int limitMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < limitMs) {
        p.waitForReadyRead(100);
        log += QString::fromLocal8Bit(p.readAll());
        if (log.contains(text)) return true;
        if (p.state() == QProcess::NotRunning) {
            log += QString::fromLocal8Bit(p.readAll());
            return log.contains(text);
        }
    }
    return false;
}

void Finish(QProcess& p) {
    if (p.state() == QProcess::NotRunning) return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

bool IsColour(QRgb c, int r, int g, int b) {
    return std::abs(qRed(c) - r) < 16 && std::abs(qGreen(c) - g) < 16 && std::abs(qBlue(c) - b) < 16;
}

class ModuleProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sim.Start()) << m_sim.LastError(); }
    kmstest::KmsSimFixture m_sim;
};

TEST_F(ModuleProcessTest, PanelPictureShowsTheSwitchsLinks) {
    // A mix of states: linked at top speed, linked slower, unplugged; PoE on and off.
    const bool up[8] = {true, false, true, true, false, true, false, true};
    for (int p = 1; p <= 8; ++p) ASSERT_TRUE(m_sim.SetLink(p, up[p - 1], p == 4 ? 100 : 1000));
    ASSERT_TRUE(m_sim.SetPoeStatus(1, "POWER ON"));
    ASSERT_TRUE(m_sim.SetPoeStatus(2, "POWER OFF"));

    ModuleInstall install;
    ASSERT_TRUE(install.Prepare());
    const QString png = QDir(install.Dir()).filePath("panel.png");
    QProcess module;
    install.Start(module, "127.0.0.1", m_sim.Port(), png);
    ASSERT_TRUE(module.waitForStarted(10000));
    ASSERT_TRUE(module.waitForFinished(60000));
    const QString log = QString::fromLocal8Bit(module.readAll());
    ASSERT_EQ(module.exitCode(), 0) << log.right(2000).toStdString();
    EXPECT_TRUE(log.contains("panel saved to"));
    QImage image(png);
    ASSERT_FALSE(image.isNull());

    // The LED positions come from the panel description the module read.
    CDevModule root;
    ModuleList modules;
    CMyBitmapApp positions;
    PanelReadOptions options;
    options.positions = &positions;
    options.loadPictures = false;
    ASSERT_TRUE(ReadPanelDescription((kSource + "/assets/KMS-7300-08E.xml").toStdString(), root, modules, options));

    // What the switch says, read with Net-SNMP's own tools.
    ModuleSettings target;
    target.DeviceAddress = "127.0.0.1";
    target.SnmpPort = std::to_string(m_sim.Port());
    SnmpReader reader(target);
    auto admin = reader.Walk(kIfAdminStatusOid);
    auto oper = reader.Walk(kIfOperStatusOid);
    auto speed = reader.Walk(kIfSpeedOid);
    auto poe = reader.Walk(kPoePortStatusOid);
    ASSERT_GE(oper.size(), 8u);
    ASSERT_GE(poe.size(), 8u);
    for (int p = 0; p < 8; ++p) {
        SCOPED_TRACE("port " + std::to_string(p + 1));
        const LinkCode code = DeriveLinkCode(admin[p].value, oper[p].value, speed[p].value, true);
        if (!up[p]) {
            EXPECT_TRUE(code == kLinkUnknown || code == kLinkDisabled);
        }
        CVirtualDev* port = root.FindChildByClass("CPort", p);
        ASSERT_NE(port, nullptr);
        const QPoint link(port->GetChild(0)->Left() + 3, port->GetChild(0)->Top() + 3);
        const QRgb linkLed = image.pixel(link);
        // Lit at top speed; dark when unplugged or disabled; never lit below top speed.
        EXPECT_EQ(IsColour(linkLed, 0, 255, 0), code == kLinkTopSpeed) << std::hex << linkLed;
        if (code == kLinkUnknown || code == kLinkDisabled) {
            EXPECT_TRUE(IsColour(linkLed, 0, 0, 0)) << std::hex << linkLed;
        }

        const PoeCode poeCode = DerivePoeCode(StripPoePrefix(poe[p].value));
        const QPoint poeAt(port->GetChild(1)->Left() + 3, port->GetChild(1)->Top() + 3);
        const QRgb poeLed = image.pixel(poeAt);
        if (poeCode == kPoeOn || poeCode == kPoeOff) {
            EXPECT_EQ(IsColour(poeLed, 0, 255, 0), poeCode == kPoeOn) << std::hex << poeLed;
            EXPECT_EQ(IsColour(poeLed, 0, 0, 0), poeCode == kPoeOff) << std::hex << poeLed;
        }
    }
    // The system LED of the eight-port model is lit.
    EXPECT_TRUE(IsColour(image.pixel(35 + 7, 64 + 8), 0, 255, 0)) << std::hex << image.pixel(42, 72);
}

TEST_F(ModuleProcessTest, SecondStartForTheSameDeviceActivatesTheFirst) {
    ModuleInstall install;
    ASSERT_TRUE(install.Prepare());
    QProcess first;
    install.Start(first, "127.0.0.1", m_sim.Port());
    QString firstLog;
    ASSERT_TRUE(WaitForOutput(first, "---------GetDevStatus--------", firstLog, 30000)) << firstLog.toStdString();

    QProcess second;
    QElapsedTimer t;
    t.start();
    install.Start(second, "127.0.0.1", m_sim.Port());
    ASSERT_TRUE(second.waitForFinished(10000));
    const qint64 elapsed = t.elapsed();
    RecordProperty("second_start_ms", static_cast<int>(elapsed));
    std::printf("second instance ended after %lld ms\n", static_cast<long long>(elapsed));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LT(elapsed, 1000);
    EXPECT_TRUE(WaitForOutput(first, "==================ActivateMessage===============", firstLog, 5000));
    EXPECT_EQ(first.state(), QProcess::Running);

    // The same device under another address is another instance.
    QProcess other;
    install.Start(other, "localhost", m_sim.Port());
    ASSERT_TRUE(other.waitForStarted(10000));
    EXPECT_FALSE(other.waitForFinished(3000));
    EXPECT_EQ(other.state(), QProcess::Running);
    Finish(other);
    Finish(first);
}

TEST_F(ModuleProcessTest, ACrashedInstanceDoesNotBlockTheNextStart) {
    ModuleInstall install;
    ASSERT_TRUE(install.Prepare());
    QProcess crashed;
    install.Start(crashed, "127.0.0.1", m_sim.Port());
    QString log;
    ASSERT_TRUE(WaitForOutput(crashed, "---------GetDevStatus--------", log, 30000)) << log.toStdString();
    crashed.kill();  // SIGKILL: the lock file and the socket stay behind
    ASSERT_TRUE(crashed.waitForFinished(5000));

    QProcess next;
    install.Start(next, "127.0.0.1", m_sim.Port());
    ASSERT_TRUE(next.waitForStarted(10000));
    QString nextLog;
    EXPECT_TRUE(WaitForOutput(next, "---------GetDevStatus--------", nextLog, 30000)) << nextLog.toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);

    // And it owns the device now: a further start hands over to it.
    QProcess third;
    install.Start(third, "127.0.0.1", m_sim.Port());
    ASSERT_TRUE(third.waitForFinished(10000));
    EXPECT_TRUE(WaitForOutput(next, "==================ActivateMessage===============", nextLog, 5000));
    Finish(next);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
