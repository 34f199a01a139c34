// kms-console: with --discover (or --help, --version) a command-line tool without a window; otherwise
// the console's window.
#include <QApplication>
#include <QCommandLineParser>
#include <QHeaderView>
#include <QMainWindow>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#include "console/console_command.h"
#include "console/device_list.h"
#include "console/device_table_model.h"
#include "console/discovery.h"
#include "console/reachability.h"
#include "console/secret_store.h"

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

// Until the console's own window is built: the list, with the reachability of each device.
int RunWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    Name(parser);
    parser.process(app);
    const DeviceListLoad load = LoadDeviceList();
    SecretStore secrets;
    DeviceTableModel model;
    model.setDevices(load.devices);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortRole(DeviceTableModel::SortRole);
    QMainWindow window;
    window.setWindowTitle("kms-console");
    auto* view = new QTableView(&window);
    view->setObjectName("deviceList");
    view->setModel(&proxy);
    view->setSortingEnabled(true);
    view->sortByColumn(DeviceTableModel::Name, Qt::AscendingOrder);
    view->horizontalHeader()->setStretchLastSection(true);
    window.setCentralWidget(view);
    window.resize(900, 400);
    ReachabilityMonitor monitor;
    QList<PollTarget> targets;
    for (const ConsoleDevice& d : load.devices) {
        DeviceSecrets s;
        secrets.read(d.id, s);
        targets.append({d.id, MakeTarget(d.address, d.port, DeviceCredentials(d, s))});
    }
    monitor.setTargets(targets);
    QObject::connect(&monitor, &ReachabilityMonitor::polled, &model, &DeviceTableModel::setStatus);
    monitor.start();
    window.show();
    if (!load.ok) QMessageBox::warning(&window, "kms-console", load.message);
    if (secrets.fallbackNoticePending()) {
        QMessageBox::information(&window, "kms-console", SecretStore::fallbackNotice());
        secrets.markFallbackNoticeShown();
    }
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    return WantsWindow(argc, argv) ? RunWindow(argc, argv) : RunCommand(argc, argv);
}
