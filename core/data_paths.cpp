#include "core/data_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

std::vector<std::string> InstallFolders(const std::string& exeDir) {
    const QString exe = QString::fromStdString(exeDir);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {exeDir, QDir(config).filePath("kms-module").toStdString(),
            QDir::cleanPath(exe + "/../share/kms-module").toStdString()};
}

std::string UserIniOverride() {
    return qEnvironmentVariable("KMS_USER_INI").toStdString();
}

std::vector<std::string> DataFolders() {
    const QString exeDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    std::vector<std::string> folders = InstallFolders(exeDir.toStdString());
    const std::string ini = UserIniOverride();
    if (!ini.empty())
        folders.insert(folders.begin(), QFileInfo(QString::fromStdString(ini)).absolutePath().toStdString());
    return folders;
}

std::string FindDataFile(const std::string& name, const std::vector<std::string>& folders) {
    const QString file = QString::fromStdString(name);
    if (QFileInfo(file).isAbsolute() || folders.empty()) return name;
    for (const std::string& folder : folders) {
        const QString path = QDir(QString::fromStdString(folder)).filePath(file);
        if (QFileInfo(path).isFile()) return path.toStdString();
    }
    return QDir(QString::fromStdString(folders.front())).filePath(file).toStdString();
}
