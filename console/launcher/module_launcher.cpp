#include "console/launcher/module_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "core/credentials.h"
#include "core/data_paths.h"

namespace {

// The module ends a value at a slash and drops its blanks.
bool FitsTheCommandLine(const std::string& value) {
    return value.find_first_of(" /") == std::string::npos;
}

std::string ProtocolCode(int code) {
    return std::to_string(code > 0 ? code : 1);
}  // "1": none

}  // namespace

std::vector<std::string> ModuleArguments(const ModuleTarget& t) {
    std::string name;
    for (char c : t.name)
        if (c != ' ' && c != '/') name += c;
    std::vector<std::string> args = {"/N", name.empty() ? "-" : name,
                                     "/I", t.address,
                                     "/R", "-",
                                     "/W", "-",
                                     "/A", t.writeAccess ? "TRUE" : "false",
                                     "/V", std::to_string(t.version),
                                     "/P", std::to_string(t.port)};
    if (t.version != 3) return args;
    // Two skipped items and the tenth, then the seven SNMPv3 items.
    const std::vector<std::string> v3 = {"/X", "-",
                                         "/X", "-",
                                         "/X", "1",
                                         "/L", std::to_string(t.securityLevel),
                                         "/U", t.userName,
                                         "/K", "-",
                                         "/Q", "-",
                                         "/H", ProtocolCode(t.authProtocol),
                                         "/D", ProtocolCode(t.privProtocol)};
    args.insert(args.end(), v3.begin(), v3.end());
    return args;
}

std::string CredentialBlock(const ModuleTarget& t) {
    ModuleSettings secrets;
    secrets.ReadCommunity = t.readCommunity;
    secrets.WriteCommunity = t.writeCommunity;
    secrets.AuthPassword = t.authPassword;
    secrets.PrivPassword = t.privPassword;
    return FormatCredentialBlock(secrets);
}

ModuleLauncher::ModuleLauncher(QObject* parent) : QObject(parent) {}

ModuleLauncher::~ModuleLauncher() {
    // A QProcess ends its process when it is destroyed: the running ones are let go instead, each freed
    // when its module ends (while the console still runs).
    for (QProcess* p : findChildren<QProcess*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (p->state() == QProcess::NotRunning) continue;
        p->setParent(nullptr);
        connect(p, &QProcess::finished, p, &QObject::deleteLater);
    }
}

void ModuleLauncher::SetModulePath(const QString& path) {
    m_modulePath = path;
}

QString ModuleLauncher::ModulePath() const {
    if (!m_modulePath.isEmpty()) return m_modulePath;
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath("kms-module"));
    if (beside.isFile() && beside.isExecutable()) return beside.filePath();
    return QStandardPaths::findExecutable("kms-module");
}

QString ModuleLauncher::Key(const ModuleTarget& t) {
    return QString::fromStdString(t.address) + ":" + QString::number(t.port);
}

QString ModuleLauncher::ModelSettingsFile(const QString& modulePath, const std::string& model) {
    if (model.empty() || model.find('/') != std::string::npos || model == "..") return {};
    // Where the module itself would look, seen from its own folder (symbolic links resolved, as the module
    // sees its folder).
    const QString dir = QFileInfo(QFileInfo(modulePath).canonicalFilePath()).absolutePath();
    for (const std::string& folder : InstallFolders(dir.toStdString())) {
        const QFileInfo ini(
            QDir(QString::fromStdString(folder))
                .filePath(QStringLiteral("models/%1/User.ini").arg(QString::fromStdString(model))));
        if (ini.isFile()) return ini.absoluteFilePath();
    }
    return {};
}

bool ModuleLauncher::Open(const ModuleTarget& t, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (t.address.empty() || !FitsTheCommandLine(t.address))
        return fail(QStringLiteral("The address \"%1\" cannot be given to kms-module.")
                        .arg(QString::fromStdString(t.address)));
    if (t.version == 3 && !FitsTheCommandLine(t.userName))
        return fail(
            QStringLiteral("An SNMPv3 user name with a blank or a slash cannot be given to kms-module."));
    const QString module = ModulePath();
    if (module.isEmpty())
        return fail(QStringLiteral("kms-module was found neither beside this program nor on PATH."));
    const QString settings = ModelSettingsFile(module, t.model);
    if (!t.model.empty() && settings.isEmpty())
        return fail(
            QStringLiteral("No settings for the model %1 in the installation of %2 (models/%1/User.ini).")
                .arg(QString::fromStdString(t.model), module));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KMS_CREDENTIALS"), QStringLiteral("stdin"));
    if (settings.isEmpty())
        env.remove(QStringLiteral("KMS_USER_INI"));
    else
        env.insert(QStringLiteral("KMS_USER_INI"), settings);
    QStringList args;
    for (const std::string& a : ModuleArguments(t)) args << QString::fromStdString(a);

    auto* process = new QProcess(this);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(module, args);
    if (!process->waitForStarted(10000)) {
        const QString why = process->errorString();
        delete process;
        return fail(QStringLiteral("kms-module did not start: %1").arg(why));
    }
    process->write(QByteArray::fromStdString(CredentialBlock(t)));
    process->waitForBytesWritten(2000);
    process->closeWriteChannel();

    const QString key = Key(t);
    if (m_open.contains(key)) {  // this one hands over to the running module and ends
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    m_open.insert(key, process);
    connect(process, &QProcess::finished, this, [this, key, process] {
        m_open.remove(key);
        process->deleteLater();
        emit OpenChanged(key, false);
    });
    emit OpenChanged(key, true);
    return true;
}
