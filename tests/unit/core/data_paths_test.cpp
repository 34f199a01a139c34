#include "core/data_paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The folders in order: the executable's, the user's configuration, the shared data; the first that holds
// the file wins.
TEST(DataPaths, ExecutableFolderThenUserConfigThenSharedData) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    qputenv("XDG_CONFIG_HOME", root.path().toLocal8Bit());
    const std::vector<std::string> folders = DataFolders();
    qunsetenv("XDG_CONFIG_HOME");
    // Without an application object the executable's folder is the working folder.
    QDir cwd = QDir::current();
    const std::string exe = cwd.path().toStdString(), config = root.path().toStdString() + "/kms-module";
    cwd.cdUp();
    ASSERT_EQ(folders,
              (std::vector<std::string>{exe, config, cwd.path().toStdString() + "/share/kms-module"}));

    const std::string bin = root.filePath("bin").toStdString(), share = root.filePath("share").toStdString();
    for (const auto& dir : {bin, config, share}) ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir)));
    for (const std::string& file :
         {share + "/User.ini", share + "/a.xml", config + "/User.ini", bin + "/a.xml"})
        ASSERT_TRUE(QFile(QString::fromStdString(file)).open(QIODevice::WriteOnly)) << file;
    const std::vector<std::string> mine{bin, config, share};
    EXPECT_EQ(FindDataFile("User.ini", mine), config + "/User.ini");
    EXPECT_EQ(FindDataFile("a.xml", mine), bin + "/a.xml");
    EXPECT_EQ(FindDataFile("missing.xml", mine), bin + "/missing.xml");
    EXPECT_EQ(FindDataFile("/etc/x.xml", mine), "/etc/x.xml");
}

}  // namespace
