// The console's launcher against kms-module processes installed by `cmake --install`.
#include "console/launcher/module_launcher.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "tests/fixtures/fixture_paths.h"
#include "tests/fixtures/kms_sim_fixture.h"

namespace {

// A 08E over SNMPv3 authPriv and a 28E over SNMPv1 with communities no command line could carry open side
// by side from one installation, each with its own model's panel, and the launcher notices their ends.
TEST(ModuleLauncher, OpensBothModelsSideBySideFromOneInstallation) {
    QTemporaryDir prefix;
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(KMS_CMAKE, {"--install", KMS_BINARY_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000) && install.exitCode() == 0)
        << install.readAll().toStdString();
    // Each module saves its panel to a picture named after item /N and ends.
    const QString wrapper = prefix.filePath("bin/kms-module-snapshot");
    QFile script(wrapper);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec env KMS_SNAPSHOT=\"$0-$2.png\" \"$(dirname \"$0\")/kms-module\" \"$@\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");

    kmstest::KmsSimFixture sim08,
        sim28({.model = "28E", .readCommunity = "pub lic/1", .writeCommunity = "w/2"});
    ASSERT_TRUE(sim08.Start() && sim28.Start()) << sim08.LastError() << sim28.LastError();
    const ModuleTarget t08{.name = "a08",
                           .address = "127.0.0.1",
                           .port = sim08.Port(),
                           .version = 3,
                           .model = "KMS-7300-08E",
                           .securityLevel = 3,
                           .userName = "kmsshaaes",
                           .authProtocol = 3,
                           .privProtocol = 4,
                           .authPassword = "kmsshaaes-auth",
                           .privPassword = "kmsshaaes-priv"};
    const ModuleTarget t28{.name = "a28",
                           .address = "127.0.0.1",
                           .port = sim28.Port(),
                           .model = "KMS-7300-28E",
                           .readCommunity = "pub lic/1",
                           .writeCommunity = "w/2"};
    ModuleLauncher launcher;
    launcher.SetModulePath(wrapper);
    QSignalSpy changes(&launcher, &ModuleLauncher::OpenChanged);
    QString error;
    EXPECT_FALSE(launcher.Open({.address = "127.0.0.1", .model = "KMS-7300-99E"}, &error));
    EXPECT_TRUE(error.contains("KMS-7300-99E")) << error.toStdString();
    ASSERT_TRUE(launcher.Open(t08, &error) && launcher.Open(t28, &error)) << error.toStdString();
    const QString k08 = QString("127.0.0.1:%1").arg(sim08.Port()),
                  k28 = QString("127.0.0.1:%1").arg(sim28.Port());
    EXPECT_TRUE(launcher.IsOpen(k08) && launcher.IsOpen(k28));
    while (changes.size() < 4 && changes.wait(60000)) {
    }
    QStringList seen;  // key, then + when opened, - when ended
    for (const QList<QVariant>& c : changes) seen << c[0].toString() + (c[1].toBool() ? "+" : "-");
    EXPECT_EQ(seen.mid(0, 2), QStringList({k08 + "+", k28 + "+"}));
    EXPECT_TRUE(seen.mid(2).contains(k08 + "-") && seen.mid(2).contains(k28 + "-"))
        << seen.join(' ').toStdString();
    EXPECT_FALSE(launcher.IsOpen(k08) || launcher.IsOpen(k28));

    // The panel descriptions' sizes; port 1's link LED lit, so each switch answered.
    for (const auto& [name, size, link1] : {std::tuple{"a08", QSize(640, 140), QPoint(213, 53)},
                                            std::tuple{"a28", QSize(860, 130), QPoint(180, 34)}}) {
        const QImage image(wrapper + "-" + name + ".png");
        EXPECT_EQ(image.size(), size) << name;
        EXPECT_EQ(image.pixel(link1), qRgb(0, 255, 0)) << name;
    }
}

}  // namespace
