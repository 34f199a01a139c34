// kms-console: with --discover (or --help, --version) a command-line tool without a window; otherwise
// the console's window.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "console/console_command.h"
#include "console/secret_store.h"
#include "console/window/console_window.h"

// The window's picture, compiled into the static library (Q_INIT_RESOURCE declares at namespace scope).
void InitResources() {
    Q_INIT_RESOURCE(console);
}

namespace {

bool WantsWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--discover", "--help", "-h", "--help-all", "--version", "-v", "-?"})
            if (std::strcmp(argv[i], option) == 0 || std::strncmp(argv[i], "--discover=", 11) == 0)
                return false;
    return true;
}

void Name(QCommandLineParser& parser) {
    QCoreApplication::setApplicationName("kms-console");
    QCoreApplication::setApplicationVersion(KMS_VERSION);
    AddConsoleOptions(parser);
}

int RunCommand(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    Name(parser);
    QTextStream out(stdout), err(stderr);
    if (!parser.parse(app.arguments())) {
        err << "kms-console: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet("help")) parser.showHelp(0);
    if (parser.isSet("version")) parser.showVersion();
    return RunDiscoverCommand(parser, out, err);
}

// The window. KMS_MODULE names the kms-module to start (default: beside this program, else on PATH);
// KMS_CONSOLE_SNAPSHOT=FILE.png saves the window to that picture once every device was polled, and ends.
int RunWindow(int argc, char** argv) {
    InitResources();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    Name(parser);
    parser.process(app);
    QGuiApplication::setDesktopFileName("kms-console");
    QApplication::setWindowIcon(QIcon::fromTheme("kms-module", QIcon(":/console/kms-console.png")));
    SecretStore secrets;
    ConsoleWindow window(secrets);
    const QString module = qEnvironmentVariable("KMS_MODULE");
    if (!module.isEmpty()) window.launcher().SetModulePath(module);
    const QString snapshot = qEnvironmentVariable("KMS_CONSOLE_SNAPSHOT");
    if (!snapshot.isEmpty()) {
        auto* first = new QObject(&window);  // the first cycle only
        QObject::connect(
            &window.monitor(), &ReachabilityMonitor::cycleFinished, first, [&window, snapshot, first] {
                delete first;
                QTimer::singleShot(300, &window, [&window, snapshot] {
                    const bool saved = window.grab().save(snapshot);
                    QTextStream(saved ? stdout : stderr)
                        << (saved ? "kms-console: window saved to " : "kms-console: cannot write ")
                        << snapshot << "\n";
                    QCoreApplication::exit(saved ? 0 : 2);
                });
            });
    }
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    return WantsWindow(argc, argv) ? RunWindow(argc, argv) : RunCommand(argc, argv);
}
