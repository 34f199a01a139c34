#include "dialogs/switch/syslog_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/ip_address_edit.h"

namespace {
const std::string kSyslog = "1.3.6.1.4.1.32473.10.75.13.16.1.";
const std::string kServer = kSyslog + "1.0", kPort = kSyslog + "2.0", kSeverity = kSyslog + "4.0",
                  kFacility = kSyslog + "5.0", kState = kSyslog + "6.0";
}  // namespace

int SyslogFacilityIndex(int code) {
    return std::max(ChoiceItemOf(kSyslogFacilityChoices, code), 0);
}

int SyslogSeverityIndex(int code) {
    return std::max(ChoiceItemOf(kSyslogSeverityChoices, code), 0);
}

CSyslogDlg::CSyslogDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")) {
    setObjectName(QStringLiteral("syslogDialog"));
    setWindowTitle(QStringLiteral("Syslog Host Configuration"));

    auto* stateGroup = new QGroupBox(QStringLiteral("Syslog"), this);
    m_enable = new QCheckBox(QStringLiteral("SysLogEnable"), stateGroup);
    m_enable->setObjectName(QStringLiteral("syslogEnable"));
    (new QVBoxLayout(stateGroup))->addWidget(m_enable);

    auto* group = new QGroupBox(QStringLiteral("Configuratiom"), this);
    m_host = new CIpAddressEdit(group);
    m_host->setObjectName(QStringLiteral("hostIp"));
    m_port = new QLineEdit(QStringLiteral("514"), group);
    m_port->setObjectName(QStringLiteral("udpPort"));
    m_port->setMaxLength(5);
    m_port->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_port));
    m_facility = new QComboBox(group);
    m_facility->setObjectName(QStringLiteral("facility"));
    AddChoices(m_facility, kSyslogFacilityChoices);
    m_severity = new QComboBox(group);
    m_severity->setObjectName(QStringLiteral("severity"));
    AddChoices(m_severity, kSyslogSeverityChoices);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Host IP:"), m_host);
    form->addRow(QStringLiteral("UDP Port(1-65535):"), m_port);
    form->addRow(QStringLiteral("Facility:"), m_facility);
    form->addRow(QStringLiteral("Severity:"), m_severity);

    m_refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_apply = new QPushButton(QStringLiteral("&Apply"), this);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {m_refresh, m_apply, m_close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stateGroup);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(buttons);

    EnableSettings(false);
    connect(m_enable, &QCheckBox::toggled, this, &CSyslogDlg::EnableSettings);
    connect(m_refresh, &QPushButton::clicked, this, &CSyslogDlg::Refresh);
    connect(m_apply, &QPushButton::clicked, this, &CSyslogDlg::OnApply);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CSyslogDlg::OnInitDialog() {
    Refresh();
}

void CSyslogDlg::EnableSettings(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_host, m_port, m_facility, m_severity})
        w->setEnabled(enabled);
}

void CSyslogDlg::Refresh() {
    StartGet(m_cCommonSNMP, {kServer, kPort, kFacility, kSeverity, kState},
             [this](const std::vector<SnmpBinding>& b) {
                 if (b.size() < 5) return;
                 m_host->SetAddress(QString::fromStdString(b[0].value));
                 m_port->setText(QString::fromStdString(b[1].value));
                 m_facility->setCurrentIndex(SyslogFacilityIndex(LeadingInt(b[2].value)));
                 m_severity->setCurrentIndex(SyslogSeverityIndex(LeadingInt(b[3].value)));
                 m_enable->setChecked(b[4].value == "1");
                 EnableSettings(b[4].value == "1");
             },
             {}, {m_refresh, m_apply});
}

void CSyslogDlg::OnApply() {
    const bool on = m_enable->isChecked();
    const Ipv4Fields ip = m_host->Fields();
    const int port = LeadingInt(m_port->text().toStdString());
    RunApply(this,
             {.check =
                  [&] {
                      if (!on) return true;
                      if (ip.FirstIs0Or255() || ip.LastIs0Or255())
                          return Refuse(this, QStringLiteral("Syslog Server IP Error."));
                      return Refuse(this, port < 1 || port > 65535
                                              ? QStringLiteral("Invalid UDP port range (1-65535)")
                                              : QString());
                  },
              .write =
                  [&] {
                      int rc = 0;
                      if (on) {
                          // The server settings first; the state follows whatever became of them.
                          rc = SetNow(
                              m_cCommonSNMPSet,
                              {{kServer, kBindIpAddress, ip.Text()},
                               {kPort, kBindInteger, std::to_string(port)},
                               {kSeverity, kBindInteger,
                                ValueText(ChoiceValue(kSyslogSeverityChoices, m_severity->currentIndex()))},
                               {kFacility, kBindInteger,
                                ValueText(ChoiceValue(kSyslogFacilityChoices, m_facility->currentIndex()))}});
                      }
                      PauseKeepingPainted(30);
                      const int state =
                          SetNow(m_cCommonSNMPSet, {{kState, kBindInteger, kSyslogStateValues.TextOf(on)}});
                      return rc != 0 ? rc : state;
                  },
              .reread = [this] { Refresh(); },
              .failureText = QStringLiteral("The switch did not accept the syslog settings."),
              .rereadOnFailure = true});
}
