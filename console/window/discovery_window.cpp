#include "console/window/discovery_window.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "console/window/credentials_form.h"
#include "console/window/device_edit_dialog.h"

namespace {

enum ResultColumn { kAddress, kName, kModel, kCredentials, kDescription };
const int kFoundIndexRole = Qt::UserRole;

QSpinBox* Spin(const char* name, int low, int high, int value, const QString& suffix = {}) {
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setSuffix(suffix);
    return spin;
}

QString SetText(const CredentialSet& c, int index) {
    if (c.version != 3) return c.label(index);
    QString text = c.label(index) + " (" + SecurityLevelText(c.securityLevel);
    if (c.securityLevel >= 2) text += ", " + AuthProtocolText(c.authProtocol);
    if (c.securityLevel == 3) text += "/" + PrivProtocolText(c.privProtocol);
    return text + ")";
}

QString Key(const QString& address, int port) {
    return address + ":" + QString::number(port);
}

// Edits one credential set in a small dialog of its own; false when the user cancelled.
bool EditCredentialSet(QWidget* parent, CredentialSet& set) {
    QDialog dialog(parent);
    dialog.setObjectName("credentialSetDialog");
    dialog.setWindowTitle("Credentials to Try");
    auto* form = new CredentialsForm(false);
    form->setCredentials(set);
    auto* problem = new QLabel;
    problem->setObjectName("problem");
    problem->setStyleSheet("color: #b3261e; font-weight: bold;");
    problem->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(form);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(420);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const QString why = CredentialsProblem(form->credentials());
        problem->setText(why);
        problem->setVisible(!why.isEmpty());
        if (why.isEmpty()) dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(form, &CredentialsForm::changed, problem, &QLabel::hide);
    if (dialog.exec() != QDialog::Accepted) return false;
    set = form->credentials();
    return true;
}

}  // namespace

ConsoleDevice DeviceFromDiscovery(const DiscoveredDevice& found, const CredentialSet& answered,
                                  DeviceSecrets& secrets) {
    ConsoleDevice d;
    d.id = NewDeviceId();
    d.name = found.name.trimmed().isEmpty() ? found.address : found.name.trimmed();
    d.address = found.address;
    d.port = found.port;
    d.model = found.model;
    SplitCredentials(answered, {}, d, secrets);
    return d;
}

DiscoveryWindow::DiscoveryWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("discoveryWindow");
    setWindowTitle("Discover Switches");
    setSizeGripEnabled(true);

    m_range = new QLineEdit;
    m_range->setObjectName("range");
    m_range->setPlaceholderText("192.0.2.0/24 or 192.0.2.10-192.0.2.20");
    m_port = Spin("port", 1, 65535, 161);
    m_timeout = Spin("timeout", 100, 60000, 1000, " ms");
    m_timeout->setSingleStep(100);
    m_retries = Spin("retries", 0, 10, 1);
    auto* rangeBox = new QGroupBox("Addresses");
    auto* rangeForm = new QFormLayout(rangeBox);
    rangeForm->addRow("&Range:", m_range);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(m_port);
    numbers->addSpacing(12);
    numbers->addWidget(BuddyLabel("T&ime-out:", m_timeout));
    numbers->addWidget(m_timeout);
    numbers->addSpacing(12);
    numbers->addWidget(BuddyLabel("Re&tries:", m_retries));
    numbers->addWidget(m_retries);
    numbers->addStretch();
    rangeForm->addRow(BuddyLabel("UDP &port:", m_port), numbers);

    m_setList = new QListWidget;
    m_setList->setObjectName("credentialSets");
    m_setList->setMaximumHeight(m_setList->fontMetrics().lineSpacing() * 5);
    m_addSet = new QPushButton("&Add…");
    m_addSet->setObjectName("addSet");
    m_editSet = new QPushButton("&Edit…");
    m_editSet->setObjectName("editSet");
    m_removeSet = new QPushButton("Remo&ve");
    m_removeSet->setObjectName("removeSet");
    auto* setButtons = new QVBoxLayout;
    for (QPushButton* b : {m_addSet, m_editSet, m_removeSet}) setButtons->addWidget(b);
    setButtons->addStretch();
    auto* setsBox = new QGroupBox("Credentials to try, in this order");
    auto* setsLayout = new QHBoxLayout(setsBox);
    setsLayout->addWidget(m_setList, 1);
    setsLayout->addLayout(setButtons);

    m_start = new QPushButton("&Start");
    m_start->setObjectName("start");
    m_start->setDefault(true);
    m_stop = new QPushButton("St&op");
    m_stop->setObjectName("stop");
    m_progress = new QProgressBar;
    m_progress->setObjectName("progress");
    m_progress->setFormat("%v of %m addresses");
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_state = new QLabel;
    m_state->setObjectName("state");
    m_state->setWordWrap(true);
    auto* run = new QHBoxLayout;
    run->addWidget(m_start);
    run->addWidget(m_stop);
    run->addWidget(m_progress, 1);

    m_results = new QTreeWidget;
    m_results->setObjectName("results");
    m_results->setRootIsDecorated(false);
    m_results->setAlternatingRowColors(true);
    m_results->setUniformRowHeights(true);
    m_results->setHeaderLabels({"Address", "Name", "Model", "Answered with", "Description"});
    QHeaderView* header = m_results->header();
    for (const auto& [column, width] :
         {std::pair{kAddress, 130}, {kName, 150}, {kModel, 120}, {kCredentials, 220}})
        header->resizeSection(column, width);
    header->setStretchLastSection(true);

    m_add = new QPushButton("Add se&lected");
    m_add->setObjectName("addSelected");
    auto* close = new QPushButton("Close");
    close->setObjectName("close");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_state, 1);
    bottom->addWidget(m_add);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rangeBox);
    layout->addWidget(setsBox);
    layout->addLayout(run);
    layout->addWidget(m_results, 1);
    layout->addLayout(bottom);
    resize(940, 620);

    connect(m_start, &QPushButton::clicked, this, &DiscoveryWindow::start);
    connect(m_stop, &QPushButton::clicked, this, &DiscoveryWindow::stop);
    connect(m_range, &QLineEdit::returnPressed, this, &DiscoveryWindow::start);
    connect(m_addSet, &QPushButton::clicked, this, [this] { editSet(-1); });
    connect(m_editSet, &QPushButton::clicked, this, [this] { editSet(m_setList->currentRow()); });
    connect(m_setList, &QListWidget::itemDoubleClicked, this, [this] { editSet(m_setList->currentRow()); });
    connect(m_removeSet, &QPushButton::clicked, this, [this] {
        const int row = m_setList->currentRow();
        if (row < 0) return;
        m_sets.removeAt(row);
        refreshSets();
    });
    connect(m_setList, &QListWidget::currentRowChanged, this, &DiscoveryWindow::updateButtons);
    connect(m_results, &QTreeWidget::itemChanged, this, &DiscoveryWindow::updateButtons);
    connect(m_add, &QPushButton::clicked, this, &DiscoveryWindow::addSelected);
    connect(close, &QPushButton::clicked, this, &DiscoveryWindow::close);

    CredentialSet publicCommunity;
    publicCommunity.version = 2;
    publicCommunity.community = "public";
    setCredentialSets({publicCommunity});
}

DiscoveryWindow::~DiscoveryWindow() = default;

void DiscoveryWindow::setCredentialSets(const QList<CredentialSet>& sets) {
    m_sets = sets;
    refreshSets();
}

void DiscoveryWindow::setListed(const QSet<QString>& keys) {
    m_listed = keys;
    for (int i = 0; i < m_results->topLevelItemCount(); ++i) markListed(m_results->topLevelItem(i));
    updateButtons();
}

bool DiscoveryWindow::isScanning() const {
    return m_scan && m_scan->isRunning();
}

void DiscoveryWindow::refreshSets() {
    const int row = m_setList->currentRow();
    m_setList->clear();
    for (int i = 0; i < m_sets.size(); ++i) m_setList->addItem(SetText(m_sets[i], i));
    m_setList->setCurrentRow(qMin(row < 0 ? 0 : row, int(m_sets.size()) - 1));
    updateButtons();
}

void DiscoveryWindow::editSet(int row) {
    CredentialSet set = row >= 0 && row < m_sets.size() ? m_sets[row] : CredentialSet{};
    if (!EditCredentialSet(this, set)) return;
    if (row >= 0 && row < m_sets.size())
        m_sets[row] = set;
    else
        m_sets.append(set);
    refreshSets();
    m_setList->setCurrentRow(row >= 0 ? row : int(m_sets.size()) - 1);
}

void DiscoveryWindow::updateButtons() {
    const bool scanning = isScanning();
    const bool haveSet = m_setList->currentRow() >= 0;
    m_addSet->setEnabled(!scanning);
    m_editSet->setEnabled(haveSet && !scanning);
    m_removeSet->setEnabled(haveSet && !scanning);
    m_start->setEnabled(!scanning);
    m_stop->setEnabled(scanning);
    bool checked = false;
    for (int i = 0; i < m_results->topLevelItemCount() && !checked; ++i)
        checked = m_results->topLevelItem(i)->checkState(kAddress) == Qt::Checked;
    m_add->setEnabled(checked);
}

void DiscoveryWindow::start() {
    if (isScanning()) return;
    DiscoveryOptions o;
    QString error;
    m_state->setStyleSheet("color: #b3261e;");
    if (!ParseAddressRange(m_range->text(), o.range, error)) {
        m_state->setText(m_range->text().trimmed().isEmpty()
                             ? QStringLiteral("Give a range: 192.0.2.0/24 or 192.0.2.10-192.0.2.20.")
                             : error);
        m_range->setFocus();
        return;
    }
    if (m_sets.isEmpty()) {
        m_state->setText("Add at least one set of credentials to try.");
        return;
    }
    m_state->setStyleSheet({});
    o.port = m_port->value();
    o.credentials = m_sets;
    o.timeoutMs = m_timeout->value();
    o.retries = m_retries->value();
    m_scan.reset();  // a finished scan's worker has ended: this only frees it
    m_results->clear();
    m_found.clear();
    m_answered = 0;
    m_progress->setRange(0, int(o.range.Count()));
    m_progress->setValue(0);
    m_state->setText(QStringLiteral("Asking %1 addresses…").arg(o.range.Count()));
    m_scan = std::make_unique<DiscoveryScan>(o);
    // Answers of an earlier scan may still be queued: only this scan's count.
    const int generation = ++m_generation;
    connect(m_scan.get(), &DiscoveryScan::found, this, [this, generation](const DiscoveredDevice& d) {
        if (generation == m_generation) found(d);
    });
    connect(m_scan.get(), &DiscoveryScan::progress, this, [this, generation](qint64 done, qint64) {
        if (generation == m_generation) m_progress->setValue(int(done));
    });
    connect(m_scan.get(), &DiscoveryScan::finished, this, [this, generation](bool stopped) {
        if (generation == m_generation) finished(stopped);
    });
    m_scan->start();
    updateButtons();
}

void DiscoveryWindow::stop() {
    if (!isScanning()) return;
    m_scan->stop();
    m_stop->setEnabled(false);
}

void DiscoveryWindow::finished(bool stopped) {
    const int refused = int(m_found.size()) - m_answered;
    QString text = QStringLiteral("%1 switch%2 answered").arg(m_answered).arg(m_answered == 1 ? "" : "es");
    if (refused > 0) text += QStringLiteral(", %1 refused the credentials").arg(refused);
    m_state->setText((stopped ? QStringLiteral("Stopped after %1 of %2 addresses: ")
                                    .arg(m_progress->value())
                                    .arg(m_progress->maximum())
                              : QStringLiteral("Done: ")) +
                     text + ".");
    updateButtons();
}

void DiscoveryWindow::found(const DiscoveredDevice& d) {
    const bool answered = d.failure == SnmpFailure::None;
    m_answered += answered ? 1 : 0;
    auto* item = new QTreeWidgetItem;
    item->setText(kAddress, d.address);
    item->setText(kName, d.name);
    item->setText(kModel, d.model.isEmpty() ? QStringLiteral("not a KMS-7300") : d.model);
    item->setText(kDescription, d.description);
    item->setToolTip(kDescription, d.description);
    const CredentialSet set = m_scan->options().credentials.value(d.credentialIndex);
    if (answered) {
        item->setText(kCredentials, SetText(set, d.credentialIndex));
    } else {
        item->setText(kCredentials, QStringLiteral("refused: ") + SnmpFailureText(d.failure));
        item->setForeground(kCredentials, QColor(0xb3, 0x26, 0x1e));
        item->setToolTip(kCredentials, "The switch refused " + set.label(d.credentialIndex) +
                                           ". It can be added with these credentials and mended in Edit.");
    }
    item->setData(kAddress, kFoundIndexRole, int(m_found.size()));
    m_found.append(d);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kAddress, answered ? Qt::Checked : Qt::Unchecked);
    // In address order, whatever order the answers came in.
    quint32 address = 0, other = 0;
    ParseIpv4(d.address, address);
    int row = 0;
    while (row < m_results->topLevelItemCount() &&
           ParseIpv4(m_results->topLevelItem(row)->text(kAddress), other) && other < address)
        ++row;
    m_results->insertTopLevelItem(row, item);
    for (int column : {kName, kModel, kCredentials}) m_results->resizeColumnToContents(column);
    markListed(item);
    updateButtons();
}

void DiscoveryWindow::markListed(QTreeWidgetItem* item) {
    const DiscoveredDevice& d = m_found.at(item->data(kAddress, kFoundIndexRole).toInt());
    if (!m_listed.contains(Key(d.address, d.port))) return;
    item->setCheckState(kAddress, Qt::Unchecked);
    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    item->setToolTip(kAddress, "Already in the device list");
    for (int column = 0; column < m_results->columnCount(); ++column)
        item->setForeground(column, palette().color(QPalette::Disabled, QPalette::Text));
    if (!item->text(kName).endsWith(" (listed)")) item->setText(kName, item->text(kName) + " (listed)");
}

void DiscoveryWindow::addSelected() {
    QList<ConsoleDevice> devices;
    QList<DeviceSecrets> secrets;
    for (int i = 0; i < m_results->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_results->topLevelItem(i);
        if (item->checkState(kAddress) != Qt::Checked) continue;
        const DiscoveredDevice& d = m_found.at(item->data(kAddress, kFoundIndexRole).toInt());
        DeviceSecrets s;
        devices.append(DeviceFromDiscovery(d, m_scan->options().credentials.value(d.credentialIndex), s));
        secrets.append(s);
        m_listed.insert(Key(d.address, d.port));
    }
    if (devices.isEmpty()) return;
    emit devicesChosen(devices, secrets);
    for (int i = 0; i < m_results->topLevelItemCount(); ++i) markListed(m_results->topLevelItem(i));
    m_state->setStyleSheet({});
    m_state->setText(QStringLiteral("%1 device%2 added to the list.")
                         .arg(devices.size())
                         .arg(devices.size() == 1 ? "" : "s"));
    updateButtons();
}

void DiscoveryWindow::closeEvent(QCloseEvent* event) {
    stop();
    QDialog::closeEvent(event);
}
