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
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "app/module_main_dlg.h"
#include "core/command_line.h"
#include "core/credentials.h"
#include "core/debug_out.h"
#include "core/ini_reader.h"
#include "core/module_settings.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/common_snmp.h"

namespace {

// Only these two exact words are options; a console's line starts with "/", anything else is a mistake.
constexpr const char* kHelpText =
    "usage: kms-module /N NAME /I ADDRESS /R READ-COMMUNITY /W WRITE-COMMUNITY /A TRUE|false /V 1|2|3 /P "
    "PORT\n"
    "                  [/X - /X - /X - /L LEVEL /U USER /K AUTH-PASSWORD /Q PRIV-PASSWORD /H AUTH /D PRIV]\n"
    "       kms-module --help | --version\n"
    "\n"
    "Manages one KMS-7300 PoE switch over SNMP. A network console starts it with the items above;\n"
    "only their positions count, not their letters, and SNMPv1 and v2c lines end after the port.\n"
    "LEVEL: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv.\n"
    "AUTH: 2 MD5, 3 SHA-1, 4-7 SHA-224/256/384/512. PRIV: 2 DES, 4 AES-128.\n"
    "\n"
    "User.ini and the panel files are looked up beside the executable, then in\n"
    "$XDG_CONFIG_HOME/kms-module (~/.config/kms-module), then in share/kms-module of the installation\n"
    "(/usr/share/kms-module, which holds models/KMS-7300-08E/User.ini and models/KMS-7300-28E/User.ini).\n"
    "\n"
    "Environment:\n"
    "  KMS_USER_INI=FILE     the User.ini to use; the files it names are looked up beside it first\n"
    "  KMS_CREDENTIALS=stdin the secrets come on standard input, before anything else: lines NAME=VALUE,\n"
    "                        NAME ReadCommunity, WriteCommunity, AuthPassword or PrivPassword, VALUE\n"
    "                        percent-encoded, ended by an empty line or the end of input (5 s at most);\n"
    "                        they replace the command line's\n"
    "  KMS_SNAPSHOT=FILE.png saves the panel after the first poll and exits\n"
    "  QT_LOGGING_RULES=kms.debug=true shows the debug lines\n"
    "See kms-module(1).\n";

// How long the secrets on standard input may take: a console that died must not hang the module.
constexpr int kCredentialWaitMs = 5000;

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
    // Before the application object, so that these work on a console without a display.
    std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    if (args.size() == 1 && (args[0] == "--version" || args[0] == "--help")) {
        std::fputs(args[0] == "--version" ? "kms-module " KMS_VERSION "\n" : kHelpText, stdout);
        return 0;
    }
    const std::string line = JoinArguments(args);
    const std::size_t first = line.find_first_not_of(' ');
    if (!line.empty() && (first == std::string::npos || line[first] != '/')) {
        std::fputs(kHelpText, stderr);
        return 2;
    }
    std::optional<std::string> credentials;
    const QByteArray mode = qgetenv("KMS_CREDENTIALS");
    if (mode == "stdin") {
        bool timedOut = false;
        credentials = ReadCredentialBlock(STDIN_FILENO, kCredentialWaitMs, timedOut);
        if (timedOut)
            std::fputs(
                "kms-module: the credentials on standard input did not end within 5 s; going on with "
                "the lines received\n",
                stderr);
    } else if (!mode.isEmpty()) {
        std::fputs("kms-module: KMS_CREDENTIALS takes only the value stdin; ignored\n", stderr);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("kms-module");
    // The application object may have taken its own options out of argv; what is left is the console's.
    args.assign(argv + std::min(argc, 1), argv + argc);
    ScrubArguments(argv + std::min(argc, 1), static_cast<int>(args.size()),
                   PublicPrefixLength(JoinArguments(args)));
    return Start(args, credentials ? &*credentials : nullptr);
}

void CModuleApp::ScrubArguments(char** argv, int count, std::size_t keep) {
    // The arguments as joined text: each one starts one blank after the previous one ended.
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t length = std::strlen(argv[i]);
        if (start + length > keep) {
            const std::size_t from = keep > start ? keep - start : 0;
            std::memset(argv[i] + from, 0, length - from);
        }
        start += length + 1;
    }
}

int CModuleApp::Start(const std::vector<std::string>& args, const std::string* credentialBlock) {
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
    if (credentialBlock)
        for (int refused : ParseCredentialBlock(*credentialBlock, settings))
            std::fprintf(stderr,
                         "kms-module: credentials line %d refused: not NAME=VALUE with NAME ReadCommunity, "
                         "WriteCommunity, AuthPassword or PrivPassword and VALUE percent-encoded\n",
                         refused);
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
