// kms-module and kms-sim as installed: they find their files under share/kms-module of the prefix,
// after the user's configuration folder, and answer --version and --help without a display.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/fixtures/fixture_paths.h"
#include "tests/fixtures/kms_sim_fixture.h"

namespace {

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_prefix = new QTemporaryDir;
        QProcess install;
        install.start(KMS_CMAKE_COMMAND, {"--install", KMS_BINARY_DIR, "--prefix", s_prefix->path()});
        s_installed = install.waitForFinished(120000) && install.exitCode() == 0;
        if (!s_installed) std::fprintf(stderr, "%s\n", install.readAllStandardError().constData());
    }
    static void TearDownTestSuite() { delete s_prefix; }
    void SetUp() override {
        ASSERT_TRUE(s_installed);
        ASSERT_TRUE(m_config.isValid());
    }

    static QString Bin(const char* name) { return s_prefix->filePath(QString("bin/") + name); }

    // The environment of a desktop session without a display, with an empty configuration folder.
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "KMS_SNAPSHOT"})
            env.remove(name);
        env.insert("XDG_CONFIG_HOME", m_config.path());
        return env;
    }

    // The width of the panel the installed module renders for the installed kms-sim of `model`.
    int PanelWidth(const std::string& model) {
        kmstest::KmsSimFixture::Options o;
        o.model = model;
        o.simPath = Bin("kms-sim").toStdString();  // its data from share/kms-module/sim-data
        kmstest::KmsSimFixture sim(o);
        if (!sim.Start()) {
            ADD_FAILURE() << sim.LastError();
            return 0;
        }
        const QString png = m_config.filePath("panel.png");
        QFile::remove(png);
        QProcessEnvironment env = Environment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KMS_SNAPSHOT", png);
        QProcess module;
        module.setProcessEnvironment(env);
        module.setProcessChannelMode(QProcess::MergedChannels);
        module.start(Bin("kms-module"), {"/N", "x", "/I", "127.0.0.1", "/R", "rdcomm", "/W", "wrcomms", "/A",
                                         "TRUE", "/V", "1", "/P", QString::number(sim.Port())});
        if (!module.waitForFinished(60000) || module.exitCode() != 0) {
            ADD_FAILURE() << module.readAll().toStdString();
            return 0;
        }
        return QImageReader(png).size().width();
    }

    static QTemporaryDir* s_prefix;
    static bool s_installed;
    QTemporaryDir m_config;
};

QTemporaryDir* InstallTest::s_prefix = nullptr;
bool InstallTest::s_installed = false;

TEST_F(InstallTest, VersionAndHelpNeedNoDisplay) {
    struct Case {
        const char* program;
        const char* word;
        const char* says;
    } cases[] = {{"kms-module", "--version", "kms-module 0."},
                 {"kms-module", "--help", "~/.config/kms-module"},
                 {"kms-sim", "--version", "kms-sim 0."},
                 {"kms-sim", "--help", "--record ADDRESS"}};
    for (const Case& c : cases) {
        QProcess p;
        p.setProcessEnvironment(Environment());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(Bin(c.program), {c.word});
        ASSERT_TRUE(p.waitForFinished(10000)) << c.program << " " << c.word;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.program << " " << c.word;
        EXPECT_EQ(p.exitCode(), 0) << c.program << " " << c.word;
        EXPECT_TRUE(p.readAll().contains(c.says)) << c.program << " " << c.word;
    }
}

TEST_F(InstallTest, UserConfigurationComesBeforeTheSharedFiles) {
    // The shared sample User.ini: the eight-port panel (640 pixels wide).
    EXPECT_EQ(PanelWidth("08E"), 640);
    // The user's own names the 28-port panel (860 pixels), whose description still comes from share.
    ASSERT_TRUE(QDir().mkpath(m_config.filePath("kms-module")));
    QFile ini(m_config.filePath("kms-module/User.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[DeviceInfo]\nDeviceName=KMS-7300-28E\nDevicePortNum=28\nXMLName=KMS-7300-28E.xml\n");
    ini.close();
    EXPECT_EQ(PanelWidth("28E"), 860);
}

}  // namespace
