#include "core/data_paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(DataPaths, FirstFolderHoldingTheFileWins) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const std::string exe = root.filePath("bin").toStdString(),
                      config = root.filePath("config").toStdString(),
                      share = root.filePath("share").toStdString();
    for (const auto& dir : {exe, config, share}) ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir)));
    for (const std::string& file :
         {share + "/User.ini", share + "/a.xml", config + "/User.ini", exe + "/a.xml"})
        ASSERT_TRUE(QFile(QString::fromStdString(file)).open(QIODevice::WriteOnly)) << file;
    const std::vector<std::string> folders{exe, config, share};
    EXPECT_EQ(FindDataFile("User.ini", folders), config + "/User.ini");
    EXPECT_EQ(FindDataFile("a.xml", folders), exe + "/a.xml");
    EXPECT_EQ(FindDataFile("missing.xml", folders), exe + "/missing.xml");
    EXPECT_EQ(FindDataFile("/etc/x.xml", folders), "/etc/x.xml");
}

TEST(DataPaths, ExecutableFolderThenUserConfigThenSharedData) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const std::vector<std::string> folders = DataFolders();
    ASSERT_EQ(folders.size(), 3u);
    // Without an application object the executable's folder is the working folder.
    QDir cwd = QDir::current();
    EXPECT_EQ(folders[0], cwd.path().toStdString());
    EXPECT_EQ(folders[1], config.path().toStdString() + "/kms-module");
    cwd.cdUp();
    EXPECT_EQ(folders[2], cwd.path().toStdString() + "/share/kms-module");
    qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
