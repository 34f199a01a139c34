#include "console/window/console_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "console/device_probe.h"
#include "console/window/device_edit_dialog.h"
#include "console/window/device_events_pane.h"
#include "console/window/device_list_proxy.h"
#include "console/window/discovery_window.h"

namespace {

const char kTitle[] = "KMS-7300 Switch Console";

// Column widths in average characters, for a first start (later ones restore the user's).
const int kColumnChars[DeviceTableModel::ColumnCount - 1] = {18, 12, 6, 5, 14, 19, 9, 10};  // Note: the rest

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

// A plus or a minus, for desktops without an icon theme (the style has neither).
QIcon SignIcon(const char* name, bool plus) {
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(
        QPen(plus ? QColor(0x2e, 0x9d, 0x3a) : QColor(0xc6, 0x3a, 0x32), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 12), QPointF(19, 12));
    if (plus) p.drawLine(QPointF(12, 5), QPointF(12, 19));
    return QIcon(pixmap);
}

}  // namespace

ConsoleWindow::ConsoleWindow(SecretStore& secrets, const QString& listPath, QWidget* parent)
    : QMainWindow(parent),
      m_secrets(secrets),
      m_listPath(listPath),
      m_settings(ConsoleConfigFolder() + "/window.conf", QSettings::IniFormat) {
    setObjectName("consoleWindow");
    setWindowTitle(kTitle);
    m_proxy = new DeviceListProxy(&m_model, this);
    buildActions();
    buildLayout();

    const DeviceListLoad load = LoadDeviceList(m_listPath);
    m_model.setDevices(load.devices);
    if (!load.ok) {
        m_saveBlocked = load.keptAs.isEmpty();
        notice("listNotice",
               "The device list could not be read: " + load.message +
                   (m_saveBlocked ? " Changes to the list are not saved until it is moved away." : ""),
               true);
    }
    if (m_secrets.fallbackNoticePending()) {
        notice("secretsNotice", SecretStore::fallbackNotice(), false);
        m_secrets.markFallbackNoticeShown();
    }

    connect(&m_monitor, &ReachabilityMonitor::statusChanged, this, &ConsoleWindow::statusChanged);
    connect(&m_monitor, &ReachabilityMonitor::polled, this, [this](const QString& id, const DeviceStatus& s) {
        m_model.setStatus(id, s);
        if (id == m_events->deviceId()) updateSelection();
    });
    connect(&m_monitor, &ReachabilityMonitor::cycleFinished, this, &ConsoleWindow::updateSummary);
    connect(&m_launcher, &ModuleLauncher::OpenChanged, this, &ConsoleWindow::openChanged);
    m_monitor.setPeriod(m_period->value() * 1000);
    refreshTargets();
    m_monitor.start();
    if (m_proxy->rowCount() > 0) m_view->selectRow(0);
    updateSelection();
    updateSummary();
}

ConsoleWindow::~ConsoleWindow() {
    m_monitor.stop();
    m_view->setModel(nullptr);  // the proxy goes before the model it shows
    delete m_proxy;
}

void ConsoleWindow::buildActions() {
    auto make = [this](const char* name, const QString& text, QIcon icon, QKeySequence key, auto slot) {
        auto* action = new QAction(icon, text, this);
        action->setObjectName(name);
        action->setShortcut(key);
        if (!key.isEmpty())
            action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove('&').remove("…"),
                                                             key.toString(QKeySequence::NativeText)));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_add =
        make("addDevice", "&Add…", SignIcon("list-add", true), QKeySequence::New, &ConsoleWindow::addDevice);
    m_edit = make("editDevice", "&Edit…", ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView),
                  QKeySequence(Qt::CTRL | Qt::Key_E), &ConsoleWindow::editDevice);
    m_remove = make("removeDevice", "&Remove", SignIcon("list-remove", false), QKeySequence::Delete,
                    &ConsoleWindow::removeDevice);
    m_open = make("openDevice", "&Open", ThemeIcon("window-new", QStyle::SP_DesktopIcon), QKeySequence::Open,
                  &ConsoleWindow::openDevice);
    m_discover = make("discover", "&Discover…", ThemeIcon("edit-find", QStyle::SP_DriveNetIcon),
                      QKeySequence(Qt::CTRL | Qt::Key_D), &ConsoleWindow::showDiscovery);
    m_pollNow = make("pollNow", "&Poll Now", ThemeIcon("view-refresh", QStyle::SP_BrowserReload),
                     QKeySequence::Refresh, [this] { m_monitor.pollNow(); });
    m_open->setStatusTip("Start kms-module for the device (or bring its window to the front)");
    m_discover->setStatusTip("Find the switches of an address range");
}

QWidget* ConsoleWindow::notice(const char* name, const QString& text, bool warning) {
    auto* bar = new QFrame;
    bar->setObjectName(name);
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setStyleSheet(warning
                           ? "QFrame#" + QString(name) +
                                 " { background: #fdecea; border: 1px solid #e4a19b; border-radius: 4px; }"
                           : "QFrame#" + QString(name) +
                                 " { background: #e8f1fb; border: 1px solid #9fc0e6; border-radius: 4px; }");
    auto* icon = new QLabel;
    icon->setPixmap(
        style()
            ->standardIcon(warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation)
            .pixmap(24, 24));
    auto* label = new QLabel(text);
    label->setObjectName("text");
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* close = new QToolButton;
    close->setAutoRaise(true);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip("Dismiss");
    auto* layout = new QHBoxLayout(bar);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(label, 1);
    layout->addWidget(close, 0, Qt::AlignTop);
    connect(close, &QToolButton::clicked, bar, &QWidget::deleteLater);
    m_notices->addWidget(bar);
    return bar;
}

void ConsoleWindow::buildLayout() {
    m_view = new QTableView;
    m_view->setObjectName("deviceList");
    m_view->setModel(m_proxy);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(DeviceTableModel::Name, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 10);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_view->addActions({m_open, m_edit, m_remove});
    QHeaderView* header = m_view->horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(true);
    for (int column = 0; column < DeviceTableModel::Note; ++column)
        header->resizeSection(column, kColumnChars[column] * m_view->fontMetrics().averageCharWidth() + 24);
    header->restoreState(m_settings.value("header").toByteArray());
    auto* enter = new QAction(m_view);
    enter->setShortcuts({Qt::Key_Return, Qt::Key_Enter});
    enter->setShortcutContext(Qt::WidgetShortcut);
    m_view->addAction(enter);
    connect(enter, &QAction::triggered, this, &ConsoleWindow::openDevice);
    connect(m_view, &QTableView::doubleClicked, this, &ConsoleWindow::openDevice);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ConsoleWindow::updateSelection);

    m_empty = new QLabel(m_view->viewport());
    m_empty->setObjectName("emptyHint");
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_empty->setEnabled(false);
    m_view->viewport()->installEventFilter(this);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    m_notices = new QVBoxLayout;
    layout->addLayout(m_notices);
    layout->addWidget(m_view, 1);
    setCentralWidget(central);

    m_events = new DeviceEventsPane;
    auto* dock = new QDockWidget("Device Events", this);
    dock->setObjectName("eventsDock");
    dock->setWidget(m_events);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    QAction* showEvents = dock->toggleViewAction();
    showEvents->setShortcut(Qt::Key_F9);

    m_filter = new QLineEdit;
    m_filter->setObjectName("filter");
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText("Filter (Ctrl+F)");
    m_filter->setMaximumWidth(240);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_proxy->setFilterFixedString(text);
        updateSummary();
    });
    auto* focusFilter = new QAction("&Filter", this);
    focusFilter->setShortcut(QKeySequence::Find);
    connect(focusFilter, &QAction::triggered, m_filter,
            [this] { m_filter->setFocus(Qt::ShortcutFocusReason); });
    m_period = new QSpinBox;
    m_period->setObjectName("pollPeriod");
    m_period->setRange(5, 3600);
    m_period->setSuffix(" s");
    m_period->setToolTip("How often every listed device is asked whether it is up");
    m_period->setValue(
        m_settings.value("pollPeriodSeconds", ReachabilityMonitor::kDefaultPeriodMs / 1000).toInt());
    connect(m_period, &QSpinBox::valueChanged, this, [this](int seconds) {
        m_monitor.setPeriod(seconds * 1000);
        m_settings.setValue("pollPeriodSeconds", seconds);
    });

    QToolBar* tools = addToolBar("Devices");
    tools->setObjectName("toolBar");
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addActions({m_add, m_edit, m_remove});
    tools->addSeparator();
    tools->addActions({m_open, m_discover, m_pollNow});
    auto* spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tools->addWidget(spacer);
    tools->addWidget(new QLabel("Poll every "));
    tools->addWidget(m_period);
    tools->addSeparator();
    tools->addWidget(m_filter);

    QMenu* console = menuBar()->addMenu("&Console");
    console->addAction(m_discover);
    console->addSeparator();
    QAction* quit = console->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);
    quit->setObjectName("quit");
    QMenu* device = menuBar()->addMenu("&Device");
    device->addActions({m_add, m_edit, m_remove});
    device->addSeparator();
    device->addAction(m_open);
    device->addSeparator();
    device->addAction(m_pollNow);
    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(showEvents);
    view->addAction(focusFilter);
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&About kms-console", this, [this] {
        QMessageBox::about(
            this, "About kms-console",
            QStringLiteral("<h3>%1</h3><p>kms-console %2</p><p>Lists the KMS-7300 switches of a "
                           "network, watches which are up, finds new ones and opens kms-module "
                           "for each.</p>")
                .arg(kTitle, QCoreApplication::applicationVersion()));
    });
    help->addAction("About &Qt", qApp, &QApplication::aboutQt);

    m_summary = new QLabel;
    m_summary->setObjectName("summary");
    statusBar()->addWidget(m_summary, 1);
    auto* store = new QLabel(m_secrets.backend() == SecretStore::Backend::Keychain ? "Secrets: secret service"
                                                                                   : "Secrets: private file");
    store->setObjectName("secretStore");
    store->setToolTip(m_secrets.backend() == SecretStore::Backend::Keychain
                          ? "Passwords and communities are kept in the desktop's secret service"
                          : "Passwords and communities are kept in " + m_secrets.fallbackPath() +
                                " (mode 0600)");
    statusBar()->addPermanentWidget(store);

    dock->setMinimumWidth(240);
    resizeDocks({dock}, {280}, Qt::Horizontal);
    resize(1240, 580);
    restoreGeometry(m_settings.value("geometry").toByteArray());
    restoreState(m_settings.value("state").toByteArray());
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        m_empty->setGeometry(m_view->viewport()->rect().adjusted(24, 24, -24, -24));
    return QMainWindow::eventFilter(watched, event);
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
    if (m_discovery) m_discovery->close();
    m_settings.setValue("geometry", saveGeometry());
    m_settings.setValue("state", saveState());
    m_settings.setValue("header", m_view->horizontalHeader()->saveState());
    QMainWindow::closeEvent(event);
}

const ConsoleDevice* ConsoleWindow::currentDevice() const {
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    const QModelIndex source = m_proxy->mapToSource(rows.first());
    return source.isValid() ? &m_model.deviceAt(source.row()) : nullptr;
}

QSet<QString> ConsoleWindow::listedKeys() const {
    QSet<QString> keys;
    for (const ConsoleDevice& d : m_model.devices()) keys.insert(DeviceKey(d));
    return keys;
}

bool ConsoleWindow::saveList() {
    if (m_saveBlocked) {
        QMessageBox::warning(this, kTitle,
                             "The change is not saved: the damaged device list is still in its place (" +
                                 m_listPath + "). Move it away, then change the list again.");
        return false;
    }
    QString message;
    if (SaveDeviceList(m_model.devices(), &message, m_listPath)) return true;
    QMessageBox::warning(this, kTitle, message);
    return false;
}

void ConsoleWindow::refreshTargets() {
    QList<PollTarget> targets;
    for (const ConsoleDevice& d : m_model.devices()) {
        DeviceSecrets s;
        m_secrets.read(d.id, s);  // unreadable secrets: asked without them, and shown as not answering
        targets.append({d.id, MakeTarget(d.address, d.port, DeviceCredentials(d, s))});
    }
    m_monitor.setTargets(targets);
    if (m_discovery) m_discovery->setListed(listedKeys());
}

bool ConsoleWindow::addDevices(const QList<ConsoleDevice>& devices, const QList<DeviceSecrets>& secrets) {
    bool all = true;
    QString lastId;
    for (int i = 0; i < devices.size(); ++i) {
        if (!m_secrets.write(devices[i].id, secrets.value(i))) {
            QMessageBox::warning(
                this, kTitle,
                QStringLiteral("\"%1\" is not listed: its credentials could not be stored. %2")
                    .arg(devices[i].name, m_secrets.lastError()));
            all = false;
            continue;
        }
        m_model.addDevice(devices[i]);
        lastId = devices[i].id;
    }
    if (lastId.isEmpty()) return false;
    all = saveList() && all;
    refreshTargets();
    m_monitor.pollNow();
    const QModelIndex added = m_proxy->mapFromSource(m_model.index(m_model.rowOf(lastId), 0));
    m_view->selectRow(added.row());
    m_view->scrollTo(added);
    statusBar()->showMessage(
        QStringLiteral("%1 device%2 added.").arg(devices.size()).arg(devices.size() == 1 ? "" : "s"), 5000);
    updateSummary();
    return all;
}

void ConsoleWindow::addDevice() {
    ConsoleDevice fresh;
    fresh.id = NewDeviceId();
    DeviceEditDialog dialog(fresh, {}, m_model.devices(), this);
    if (dialog.exec() == QDialog::Accepted) addDevices({dialog.device()}, {dialog.secrets()});
}

void ConsoleWindow::editDevice() {
    const ConsoleDevice* current = currentDevice();
    if (!current) return;
    const ConsoleDevice before = *current;
    DeviceSecrets secrets;
    if (!m_secrets.read(before.id, secrets)) {
        QMessageBox::warning(this, kTitle, m_secrets.lastError());
        return;
    }
    DeviceEditDialog dialog(before, secrets, m_model.devices(), this);
    if (dialog.exec() != QDialog::Accepted || m_model.rowOf(before.id) < 0) return;
    if (dialog.secrets() != secrets && !m_secrets.write(before.id, dialog.secrets())) {
        QMessageBox::warning(
            this, kTitle,
            "The change is not kept: the credentials could not be stored. " + m_secrets.lastError());
        return;
    }
    m_model.updateDevice(dialog.device());
    saveList();
    refreshTargets();
    m_monitor.pollNow();
    updateSelection();
}

void ConsoleWindow::removeDevice() {
    const ConsoleDevice* current = currentDevice();
    if (!current) return;
    const ConsoleDevice d = *current;
    if (QMessageBox::question(
            this, "Remove Device",
            QStringLiteral("Remove \"%1\" (%2 port %3) from the list? Its stored credentials are "
                           "deleted too.")
                .arg(d.name, d.address)
                .arg(d.port),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    if (!m_secrets.remove(d.id))
        QMessageBox::warning(
            this, kTitle,
            "The device is removed, but its credentials could not be deleted. " + m_secrets.lastError());
    m_model.removeDevice(d.id);
    saveList();
    refreshTargets();
    updateSummary();
}

void ConsoleWindow::openDevice() {
    const ConsoleDevice* current = currentDevice();
    if (!current) return;
    const ConsoleDevice d = *current;
    if (!d.model.isEmpty()) return launch(d.id);
    // The module's settings depend on the model: ask the switch first.
    DeviceSecrets secrets;
    m_secrets.read(d.id, secrets);
    statusBar()->showMessage(QStringLiteral("Asking %1 which model it is…").arg(d.name));
    ProbeDevice(
        d.address, d.port, DeviceCredentials(d, secrets), this,
        [this, id = d.id](const DiscoveredDevice& found) {
            const int row = m_model.rowOf(id);
            if (row < 0) return;
            ConsoleDevice now = m_model.deviceAt(row);
            statusBar()->clearMessage();
            if (found.failure != SnmpFailure::None) {
                QMessageBox::warning(
                    this, kTitle,
                    QStringLiteral("\"%1\" did not tell its model (%2). Choose the model in Edit to open "
                                   "it all the same.")
                        .arg(now.name, QString::fromUtf8(SnmpFailureText(found.failure))));
                return;
            }
            if (!found.model.isEmpty() && now.model.isEmpty()) {
                now.model = found.model;
                m_model.updateDevice(now);
                saveList();
            }
            launch(id);  // an unrecognised model opens with the module's own settings
        });
}

void ConsoleWindow::launch(const QString& id) {
    const int row = m_model.rowOf(id);
    if (row < 0) return;
    const ConsoleDevice d = m_model.deviceAt(row);
    DeviceSecrets secrets;
    if (!m_secrets.read(id, secrets)) {
        QMessageBox::warning(this, kTitle, m_secrets.lastError());
        return;
    }
    const bool running = m_launcher.IsOpen(DeviceKey(d));
    QString error;
    if (!m_launcher.Open(ModuleTargetFor(d, secrets), &error)) {
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("\"%1\" could not be opened. %2").arg(d.name, error));
        return;
    }
    statusBar()->showMessage(running
                                 ? QStringLiteral("The window of \"%1\" is brought to the front.").arg(d.name)
                                 : QStringLiteral("kms-module started for \"%1\".").arg(d.name),
                             5000);
}

void ConsoleWindow::showDiscovery() {
    if (!m_discovery) {
        m_discovery = new DiscoveryWindow(this);
        connect(m_discovery, &DiscoveryWindow::devicesChosen, this, &ConsoleWindow::addDevices);
    }
    m_discovery->setListed(listedKeys());
    m_discovery->show();
    m_discovery->raise();
    m_discovery->activateWindow();
}

void ConsoleWindow::statusChanged(const QString& id, const DeviceStatus& status) {
    m_model.setStatus(id, status);
    if (id == m_events->deviceId()) updateSelection();
    updateSummary();
}

void ConsoleWindow::openChanged(const QString& key, bool open) {
    m_proxy->setModuleOpen(key, open);
    updateSelection();
    for (const ConsoleDevice& d : m_model.devices())
        if (DeviceKey(d) == key && !open)
            statusBar()->showMessage(QStringLiteral("kms-module for \"%1\" has ended.").arg(d.name), 5000);
}

void ConsoleWindow::updateSelection() {
    const ConsoleDevice* d = currentDevice();
    for (QAction* action : {m_edit, m_remove, m_open}) action->setEnabled(d != nullptr);
    if (!d) return m_events->showDevice(nullptr, {}, {}, false);
    m_events->showDevice(d, m_model.statusOf(d->id), m_monitor.events(d->id), m_proxy->isModuleOpen(*d));
}

void ConsoleWindow::updateSummary() {
    int up = 0, silent = 0, refused = 0;
    for (const ConsoleDevice& d : m_model.devices()) {
        const Reachability state = m_model.statusOf(d.id).state;
        up += state == Reachability::Up;
        silent += state == Reachability::NoAnswer;
        refused += state == Reachability::AuthFailure;
    }
    const int total = m_model.rowCount();
    QStringList parts;
    if (up) parts << QStringLiteral("%1 up").arg(up);
    if (silent) parts << QStringLiteral("%1 not answering").arg(silent);
    if (refused) parts << QStringLiteral("%1 refusing the credentials").arg(refused);
    QString text = QStringLiteral("%1 device%2").arg(total).arg(total == 1 ? "" : "s");
    if (!parts.isEmpty()) text += ": " + parts.join(", ");
    if (m_proxy->rowCount() != total) text += QStringLiteral(" (%1 shown)").arg(m_proxy->rowCount());
    m_summary->setText(text);
    m_empty->setText(total == 0
                         ? "No devices yet.\n\nAdd one with Device > Add (Ctrl+N), or find the switches of a "
                           "range with Console > Discover (Ctrl+D)."
                         : QStringLiteral("No device matches \"%1\".").arg(m_filter->text()));
    m_empty->setVisible(m_proxy->rowCount() == 0);
}
