#include "app/module_app.h"

#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QWidget>
#include <cstdio>

#include "app/module_main_dlg.h"
#include "core/command_line.h"
#include "core/debug_out.h"
#include "core/ini_reader.h"
#include "core/module_settings.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/common_snmp.h"

namespace {

// Only these two exact words are options: every other command line is the console's positional one.
constexpr const char* kHelpText =
    "usage: kms-module /N NAME /I ADDRESS /R READ-COMMUNITY /W WRITE-COMMUNITY /A TRUE|false /V 1|3 /P PORT\n"
    "                  [/X - /X - /X - /L LEVEL /U USER /K AUTH-PASSWORD /Q PRIV-PASSWORD /H AUTH /D PRIV]\n"
    "       kms-module --help | --version\n"
    "\n"
    "Manages one KMS-7300-08E PoE switch over SNMP. A network console starts it with the items above;\n"
    "only their positions count, not their letters, and SNMPv1 lines end after the port.\n"
    "LEVEL: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv.\n"
    "AUTH: 2 MD5, 3 SHA-1, 4-7 SHA-224/256/384/512. PRIV: 2 DES, 4 AES-128.\n"
    "\n"
    "User.ini and the panel files are looked up beside the executable, then in\n"
    "$XDG_CONFIG_HOME/kms-module (~/.config/kms-module), then in share/kms-module of the installation\n"
    "(/usr/share/kms-module).\n"
    "\n"
    "Environment: KMS_SNAPSHOT=FILE.png saves the panel after the first poll and exits;\n"
    "QT_LOGGING_RULES=kms.debug=true shows the debug lines. See kms-module(1).\n";

CModuleApp::WindowFactory& Factory() {
    static CModuleApp::WindowFactory factory;
    return factory;
}

std::string DeviceLabel(const ModuleSettings& s) {
    return s.DeviceName + " at " + s.DeviceAddress + " port " + (s.SnmpPort.empty() ? "161" : s.SnmpPort);
}

}  // namespace

void CModuleApp::SetWindowFactory(WindowFactory factory) {
    Factory() = std::move(factory);
}

std::string CModuleApp::DeviceInstanceName(const ModuleSettings& s) {
    const std::string name = InstanceName(s);
    return s.SnmpPort.empty() || s.SnmpPort == "161" ? name : name + ":" + s.SnmpPort;
}

int CModuleApp::Run(int argc, char** argv) {
    // Before the application object, so that both work on a console without a display.
    if (argc == 2) {
        const std::string word = argv[1];
        if (word == "--version" || word == "--help") {
            std::fputs(word == "--version" ? "kms-module " KMS_VERSION "\n" : kHelpText, stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("kms-module");
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return Start(args);
}

int CModuleApp::Start(const std::vector<std::string>& args) {
    if (!SnmpEngineInit()) {
        Inform(nullptr, "Failed to initialize communication port !");
        return 1;
    }

    const std::string text = JoinArguments(args);
    if (text.empty()) {
        Inform(nullptr, "No parameter input !");
        return 1;
    }

    ModuleSettings& settings = Settings();
    ParseCommandLine(text, settings);
    settings.DeviceName = IniReader(UserIniPath()).GetString("DeviceInfo", "DeviceName", "");

    // A snapshot run renders a picture and ends: it is no instance that a console could bring forward.
    SingleInstance instance(QString::fromStdString(DeviceInstanceName(settings)));
    if (!qEnvironmentVariableIsSet("KMS_SNAPSHOT") && !instance.Claim()) {
        std::fprintf(
            stderr, "kms-module: %s is already managed by a running kms-module%s\n",
            DeviceLabel(settings).c_str(),
            instance.HandedOver() ? "; its window has been brought to the front" : ", which did not answer");
        return 0;
    }

    std::unique_ptr<QWidget> window = Factory() ? Factory()() : CreateMainWindow();
    QObject::connect(&instance, &SingleInstance::Activated, window.get(), [w = window.get()] {
        DebugOut("==================ActivateMessage===============");
        BringToFront(w);
    });
    window->show();
    int rc = QApplication::exec();
    window.reset();
    return rc;
}

SingleInstance::SingleInstance(const QString& instanceName, QObject* parent)
    : QObject(parent), m_key(KeyFor(instanceName)) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

QString SingleInstance::KeyFor(const QString& instanceName) {
    // Device names and addresses may hold characters a socket name cannot; the hash keeps it short and
    // the user id keeps two users' consoles apart.
    QByteArray hash = QCryptographicHash::hash(instanceName.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString("kms-module-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(20)));
}

bool SingleInstance::Claim() {
    m_lock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(m_key + ".lock"));
    m_lock->setStaleLockTime(0);  // only a dead owner makes the lock stale, never its age
    if (m_lock->tryLock(0)) {
        QLocalServer::removeServer(m_key);  // a crashed first instance may have left its socket
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = m_server->nextPendingConnection()) {
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
                emit Activated();
            }
        });
        m_server->listen(m_key);
        return true;
    }
    // Another instance holds the lock: ask it to come to the front. It may still be starting, so try for
    // a short while; either way this process ends.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(m_key);
        if (socket.waitForConnected(100)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(200);
            socket.disconnectFromServer();
            m_handedOver = true;
            return false;
        }
        QThread::msleep(50);
    }
    return false;
}

void BringToFront(QWidget* window) {
    if (!window) return;
    window->showNormal();
    // Topmost and back without moving or resizing, then to the foreground.
    window->raise();
    window->activateWindow();
}
