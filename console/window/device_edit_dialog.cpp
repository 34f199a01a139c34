#include "console/window/device_edit_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "console/device_probe.h"
#include "console/window/credentials_form.h"

QString DeviceFormProblem(const ConsoleDevice& device, const CredentialSet& credentials,
                          const QList<ConsoleDevice>& others) {
    if (device.name.trimmed().isEmpty()) return QStringLiteral("Give the device a name.");
    const QString problem = DeviceProblem(device);
    if (!problem.isEmpty()) return problem;
    const QString credentialsProblem = CredentialsProblem(credentials);
    if (!credentialsProblem.isEmpty()) return credentialsProblem;
    for (const ConsoleDevice& other : others)
        if (other.id != device.id && other.address == device.address && other.port == device.port)
            return QStringLiteral("%1 port %2 is already listed as \"%3\".")
                .arg(device.address)
                .arg(device.port)
                .arg(other.name);
    return {};
}

void SplitCredentials(const CredentialSet& c, const QString& writeCommunity, ConsoleDevice& device,
                      DeviceSecrets& secrets) {
    device.version = c.version;
    const bool v3 = c.version == 3;
    device.userName = v3 ? c.userName : QString();
    device.securityLevel = v3 ? c.securityLevel : 1;
    device.authProtocol = v3 && c.securityLevel >= 2 ? c.authProtocol : 1;
    device.privProtocol = v3 && c.securityLevel == 3 ? c.privProtocol : 1;
    secrets = {v3 ? QString() : c.community, v3 ? QString() : writeCommunity, c.authPassword, c.privPassword};
}

DeviceEditDialog::DeviceEditDialog(const ConsoleDevice& device, const DeviceSecrets& secrets,
                                   QList<ConsoleDevice> others, QWidget* parent)
    : QDialog(parent), m_device(device), m_others(std::move(others)) {
    setObjectName("deviceEditDialog");
    setWindowTitle(device.address.isEmpty() ? "Add Device" : "Edit Device - " + device.name);

    m_name = new QLineEdit(device.name);
    m_name->setObjectName("name");
    m_name->setPlaceholderText("e.g. Lab rack 1");
    m_address = new QLineEdit(device.address);
    m_address->setObjectName("address");
    m_address->setPlaceholderText("192.0.2.7");
    m_port = new QSpinBox;
    m_port->setObjectName("port");
    m_port->setRange(1, 65535);
    m_port->setValue(device.port);
    m_model = new QComboBox;
    m_model->setObjectName("model");
    m_model->addItem("Unknown (detected when opened)", QString());
    for (const char* model : {"KMS-7300-08E", "KMS-7300-28E"}) m_model->addItem(model, QString(model));
    m_model->setCurrentIndex(qMax(0, m_model->findData(device.model)));
    m_detect = new QPushButton("&Detect");
    m_detect->setObjectName("detectModel");
    m_detect->setToolTip("Ask the switch which model it is");
    m_detected = new QLabel;
    m_detected->setObjectName("detectResult");
    m_detected->setWordWrap(true);
    m_detected->hide();
    m_write = new QCheckBox("Allow &changes to the switch (write access)");
    m_write->setObjectName("writeAccess");
    m_write->setChecked(device.writeAccess);
    m_note = new QPlainTextEdit(device.note);
    m_note->setObjectName("note");
    m_note->setTabChangesFocus(true);
    m_note->setFixedHeight(m_note->fontMetrics().lineSpacing() * 3 + 12);
    m_credentials = new CredentialsForm(true);
    m_credentials->setCredentials(DeviceCredentials(device, secrets), secrets.writeCommunity);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(m_address, 1);
    addressRow->addWidget(BuddyLabel("P&ort:", m_port));
    addressRow->addWidget(m_port);
    auto* modelRow = new QHBoxLayout;
    modelRow->addWidget(m_model, 1);
    modelRow->addWidget(m_detect);

    auto* deviceBox = new QGroupBox("Device");
    auto* deviceForm = new QFormLayout(deviceBox);
    deviceForm->addRow("&Name:", m_name);
    deviceForm->addRow(BuddyLabel("&Address:", m_address), addressRow);
    deviceForm->addRow(BuddyLabel("&Model:", m_model), modelRow);
    deviceForm->addRow("", m_detected);
    deviceForm->addRow("", m_write);
    deviceForm->addRow("No&te:", m_note);
    auto* snmpBox = new QGroupBox("SNMP");
    auto* snmpLayout = new QVBoxLayout(snmpBox);
    snmpLayout->addWidget(m_credentials);
    auto* secretsHint =
        new QLabel("Communities and passwords are kept in the secret store, never in the device list.");
    secretsHint->setWordWrap(true);
    secretsHint->setEnabled(false);
    snmpLayout->addWidget(secretsHint);

    m_problem = new QLabel;
    m_problem->setObjectName("problem");
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet("color: #b3261e; font-weight: bold;");
    m_problem->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(deviceBox);
    layout->addWidget(snmpBox);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    // The form grows and shrinks with the version's fields.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_name->setMinimumWidth(300);

    connect(buttons, &QDialogButtonBox::accepted, this, &DeviceEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DeviceEditDialog::reject);
    connect(m_detect, &QPushButton::clicked, this, &DeviceEditDialog::detect);
    connect(m_credentials, &CredentialsForm::changed, m_problem, &QLabel::hide);
    for (QLineEdit* edit : {m_name, m_address})
        connect(edit, &QLineEdit::textChanged, m_problem, &QLabel::hide);
    (device.address.isEmpty() ? m_address : m_name)->setFocus();
}

ConsoleDevice DeviceEditDialog::device() const {
    ConsoleDevice d = m_device;
    d.name = m_name->text().trimmed();
    d.address = m_address->text().trimmed();
    d.port = m_port->value();
    d.model = m_model->currentData().toString();
    d.writeAccess = m_write->isChecked();
    d.note = m_note->toPlainText().trimmed();
    DeviceSecrets unused;
    SplitCredentials(m_credentials->credentials(), m_credentials->writeCommunity(), d, unused);
    return d;
}

DeviceSecrets DeviceEditDialog::secrets() const {
    ConsoleDevice unused;
    DeviceSecrets s;
    SplitCredentials(m_credentials->credentials(), m_credentials->writeCommunity(), unused, s);
    return s;
}

void DeviceEditDialog::showProblem(const QString& text) {
    m_problem->setText(text);
    m_problem->setVisible(!text.isEmpty());
}

void DeviceEditDialog::accept() {
    const QString problem = DeviceFormProblem(device(), m_credentials->credentials(), m_others);
    showProblem(problem);
    if (problem.isEmpty()) QDialog::accept();
}

void DeviceEditDialog::detect() {
    const ConsoleDevice d = device();
    const CredentialSet c = m_credentials->credentials();
    QString problem = DeviceProblem(d);
    if (problem.isEmpty()) problem = CredentialsProblem(c);
    showProblem(problem);
    if (!problem.isEmpty()) return;
    m_detect->setEnabled(false);
    m_detected->setText(QStringLiteral("Asking %1 port %2…").arg(d.address).arg(d.port));
    m_detected->show();
    ProbeDevice(d.address, d.port, c, this, [this](const DiscoveredDevice& found) {
        m_detect->setEnabled(true);
        if (found.failure != SnmpFailure::None) {
            m_detected->setText(QStringLiteral("%1 port %2: %3.")
                                    .arg(found.address)
                                    .arg(found.port)
                                    .arg(QString::fromUtf8(SnmpFailureText(found.failure))));
            return;
        }
        if (!found.model.isEmpty()) m_model->setCurrentIndex(m_model->findData(found.model));
        if (m_name->text().trimmed().isEmpty()) m_name->setText(found.name);
        m_detected->setText(
            found.model.isEmpty()
                ? QStringLiteral("It answered, but is no KMS-7300 model: %1").arg(found.description)
                : QStringLiteral("It is a %1 (%2).").arg(found.model, found.name));
    });
}
